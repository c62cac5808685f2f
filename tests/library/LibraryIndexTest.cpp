// The index of a library: where-used across members, incremental refresh, /COPY resolution,
// the fields of externally described files, and an index that is damaged, foreign or in use.

#include "library/LibraryIndex.h"
#include "library/Sqlite.h"

#include "LibraryTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <fstream>

using namespace orvale::library;
using namespace orvale::library::test;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

// A small shop: a physical file with a logical over it, a program that declares the logical
// and the physical, a copy member, and a control program.
class LibraryIndexTest : public ::testing::Test {
protected:
    void SetUp() override {
        Lib.Write("QDDSSRC/FLDREF.PF",
                  Member({SpecLine('A', {{17, "R"}, {19, "FLDR"}}),
                          SpecLine('A', {{19, "CITY"}, {30, "   25"}}),
                          SpecLine('A', {{19, "AMOUNT"}, {30, "   11"}, {36, " 2"}})}));
        Lib.Write(
            "QDDSSRC/CUSTF.PF",
            Member({SpecLine('A', {{45, "REF(FLDREF)"}}), SpecLine('A', {{17, "R"}, {19, "CUSTR"}}),
                    SpecLine('A', {{19, "CUSNO"}, {30, "    7"}, {36, " 0"}}),
                    SpecLine('A', {{19, "CITY"}, {29, "R"}}),
                    SpecLine('A', {{19, "BALANCE"}, {29, "R"}, {45, "REFFLD(AMOUNT)"}})}));
        Lib.Write("QDDSSRC/CUSTL1.LF",
                  Member({SpecLine('A', {{17, "R"}, {19, "CUSTR"}, {45, "PFILE(CUSTF)"}}),
                          SpecLine('A', {{17, "K"}, {19, "CITY"}})}));
        Lib.Write("QRPGSRC/CUS001.RPG",
                  Member({SpecLine(' ', {{7, "*  CUS001 - Customer balances"}}),
                          SpecLine('F', {{7, "CUSTF"}, {15, "UF"}, {19, "E"}, {40, "DISK"}}),
                          SpecLine('F', {{7, "CUSTL1"}, {15, "IF"}, {19, "E"}, {40, "DISK"}}),
                          SpecLine('F', {{19, "CUSTR"}, {53, "K"}, {54, "RENAME"}, {60, "CUSTRL"}}),
                          SpecLine(' ', {{7, "/COPY QCPYSRC,DATES"}}),
                          SpecLine(' ', {{7, "/COPY QCPYSRC,MISSING"}}),
                          SpecLine('C', {{18, "CUSNO"}, {28, "CHAIN"}, {33, "CUSTR"}}),
                          SpecLine('C', {{28, "READ"}, {33, "CUSTRL"}}),
                          SpecLine('C', {{28, "UPDATCUSTR"}}),
                          SpecLine('C', {{28, "CALL"}, {33, "'CUS002'"}})}));
        Lib.Write(
            "QCPYSRC/DATES.RPG",
            Member({SpecLine(
                'C', {{28, "Z-ADD"}, {33, "UDATE"}, {43, "TODAY"}, {49, "  6"}, {52, "0"}})}));
        Lib.Write("OTHER/DATES.RPG", Member({SpecLine('C', {{28, "EXSR"}, {33, "X"}})}));
        Lib.Write("QCLSRC/NIGHT.CLP", Member({"PGM", "CALL PGM(CUS002)", "ENDPGM"}));
    }

    LibraryIndex& Index() {
        if (!Opened) {
            std::string error;
            EXPECT_TRUE(Idx.Open(Lib.Root(), error, Lib.Cache())) << error;
            Opened = true;
        }
        return Idx;
    }

    TRefreshReport Refresh() {
        TRefreshReport report;
        std::string error;
        EXPECT_TRUE(Index().Refresh(report, error)) << error;
        return report;
    }

    std::vector<std::string> WhereUsed(const std::string& name, const NameKind* kind = nullptr) {
        std::vector<THit> hits = Index().WhereUsed(name, kind);
        Index().FillTexts(hits);
        std::vector<std::string> out;
        for (const THit& h : hits)
            out.push_back(h.Member + ":" + std::to_string(h.Line) + " " + RoleText(h.Role) + " " +
                          NameKindText(h.Kind) + " " + h.Name);
        return out;
    }

    TestLibrary Lib;
    LibraryIndex Idx;
    bool Opened = false;
};

TEST_F(LibraryIndexTest, AFileIsUsedWhereItIsDeclaredAndWhereItsFormatsAreOperatedOn) {
    TRefreshReport report = Refresh();
    EXPECT_TRUE(report.Built);
    EXPECT_EQ(report.Members, 7u);
    EXPECT_EQ(report.ByKind[static_cast<size_t>(MemberKind::Dds)], 3u);
    EXPECT_THAT(WhereUsed("CUSTF"), ElementsAre("QDDSSRC/CUSTF.PF:1 defines file CUSTF",
                                                "QDDSSRC/CUSTL1.LF:1 uses file CUSTF",
                                                "QRPGSRC/CUS001.RPG:2 declares file CUSTF",
                                                "QRPGSRC/CUS001.RPG:7 reads format CUSTR",
                                                "QRPGSRC/CUS001.RPG:9 updates format CUSTR"));
    // The logical file's format is renamed in the program: there CUSTR is the physical file's.
    EXPECT_THAT(WhereUsed("CUSTL1"), ElementsAre("QDDSSRC/CUSTL1.LF:1 defines file CUSTL1",
                                                 "QRPGSRC/CUS001.RPG:3 declares file CUSTL1",
                                                 "QRPGSRC/CUS001.RPG:4 uses format CUSTR",
                                                 "QRPGSRC/CUS001.RPG:4 defines format CUSTRL",
                                                 "QRPGSRC/CUS001.RPG:8 reads format CUSTRL"));
    NameKind program = NameKind::Program;
    EXPECT_THAT(WhereUsed("cus002", &program),
                ElementsAre("QCLSRC/NIGHT.CLP:2 calls program CUS002",
                            "QRPGSRC/CUS001.RPG:10 calls program CUS002"));
    std::vector<THit> hits = Index().WhereUsed("CUS002", &program);
    ASSERT_TRUE(Index().FillTexts(hits));
    EXPECT_EQ(hits[0].Text, "CALL PGM(CUS002)");
    EXPECT_THAT(hits[1].Text, HasSubstr("CALL 'CUS002'"));
}

TEST_F(LibraryIndexTest, CopyMembersResolveToTheirSourceFileElseTheNearestFolder) {
    Refresh();
    std::vector<TCopyLink> links = Index().Copies("QRPGSRC/CUS001.RPG");
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0].Target, "QCPYSRC/DATES.RPG");
    EXPECT_EQ(links[1].Target, "") << "a copy member the library lacks is unresolved";
    TCopyDirective plain;
    plain.Member = "DATES";
    plain.File = "NOSUCHFILE";
    // No member of that source file: a member of that name in the nearest folder.
    Lib.Write("QRPGSRC/DATES.RPG", Member({SpecLine('C', {{28, "EXSR"}, {33, "Y"}})}));
    Refresh();
    auto nearest = Index().ResolveCopy("QRPGSRC/CUS001.RPG", plain);
    ASSERT_TRUE(nearest);
    EXPECT_EQ(nearest->Path, "QRPGSRC/DATES.RPG");
    // FILE,MEMBER asks for the copies of that source file's member only.
    EXPECT_THAT(WhereUsed("QCPYSRC,DATES"), ElementsAre("QRPGSRC/CUS001.RPG:5 copies copy DATES"));
    EXPECT_THAT(WhereUsed("OTHER,DATES"), IsEmpty());
}

TEST_F(LibraryIndexTest, FieldsOfAFileFollowReferencesAndLogicalFilesTakeTheirPhysicalFields) {
    Refresh();
    auto text = [](const std::vector<TFileField>& fields) {
        std::vector<std::string> out;
        for (const TFileField& f : fields)
            out.push_back(f.Format + "." + f.Field + " " + std::to_string(f.Length) + "," +
                          std::to_string(f.Decimals) + " " + f.Type + " " + f.Member);
        return out;
    };
    EXPECT_THAT(text(Index().FieldsOfFile("CUSTF")),
                ElementsAre("CUSTR.CUSNO 7,0 P QDDSSRC/CUSTF.PF",
                            "CUSTR.CITY 25,-1 A QDDSSRC/CUSTF.PF",
                            "CUSTR.BALANCE 11,2 P QDDSSRC/CUSTF.PF"));
    EXPECT_THAT(text(Index().FieldsOfFile("custl1")),
                ElementsAre("CUSTR.CUSNO 7,0 P QDDSSRC/CUSTF.PF",
                            "CUSTR.CITY 25,-1 A QDDSSRC/CUSTF.PF",
                            "CUSTR.BALANCE 11,2 P QDDSSRC/CUSTF.PF"));
    EXPECT_THAT(Index().FieldsOfFile("NOFILE"), IsEmpty());
}

TEST_F(LibraryIndexTest, ARefreshReadsOnlyWhatChangedAndDropsWhatIsGone) {
    Refresh();
    TRefreshReport same = Refresh();
    EXPECT_FALSE(same.Built);
    EXPECT_EQ(same.Read, 0u);
    EXPECT_EQ(same.Members, 7u);

    Lib.Write("QRPGSRC/CUS001.RPG", Member({SpecLine('C', {{28, "CALL"}, {33, "'CUS003'"}}),
                                            SpecLine('C', {{28, "CALL"}, {33, "'CUS003'"}})}));
    Lib.Remove("QCLSRC/NIGHT.CLP");
    Lib.Write("QCLSRC/NEW.CLP", Member({"PGM", "CALL PGM(CUS002)", "ENDPGM"}));
    TRefreshReport changed = Refresh();
    EXPECT_EQ(changed.Read, 2u);
    EXPECT_EQ(changed.Removed, 1u);
    EXPECT_EQ(changed.Members, 7u);
    EXPECT_THAT(WhereUsed("CUS002"), ElementsAre("QCLSRC/NEW.CLP:2 calls program CUS002"));
    EXPECT_THAT(WhereUsed("CUS003"), ElementsAre("QRPGSRC/CUS001.RPG:1 calls program CUS003",
                                                 "QRPGSRC/CUS001.RPG:2 calls program CUS003"));
    // Names the member no longer uses are gone with the records they had.
    EXPECT_THAT(WhereUsed("CUSTL1"), ElementsAre("QDDSSRC/CUSTL1.LF:1 defines file CUSTL1"));
    EXPECT_TRUE(Index().FoldersCurrent());
    Lib.Write("QCLSRC/ANOTHER.CLP", "PGM\n");
    // The folder's time as a later change leaves it (the clock may not have moved yet).
    std::filesystem::last_write_time(Lib.Path("QCLSRC"),
                                     std::filesystem::file_time_type::clock::now() +
                                         std::chrono::seconds(2));
    EXPECT_FALSE(Index().FoldersCurrent());
}

TEST_F(LibraryIndexTest, AMemberChangedSinceTheIndexShowsInTheTextsOfItsHits) {
    Refresh();
    std::vector<THit> hits = Index().WhereUsed("CUS002");
    ASSERT_EQ(hits.size(), 2u);
    Lib.Write("QCLSRC/NIGHT.CLP", Member({"PGM", "  CALL PGM(CUS002) /* now longer */", "ENDPGM"}));
    EXPECT_FALSE(Index().FillTexts(hits));
}

TEST_F(LibraryIndexTest, NothingIsWrittenInTheLibraryFolder) {
    auto listing = [&] {
        std::vector<std::string> files;
        for (const auto& e : std::filesystem::recursive_directory_iterator(Lib.Root()))
            files.push_back(
                e.path().string() + " " +
                std::to_string(
                    std::filesystem::last_write_time(e.path()).time_since_epoch().count()));
        std::sort(files.begin(), files.end());
        return files;
    };
    std::vector<std::string> before = listing();
    std::filesystem::permissions(Lib.Root(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    Refresh();
    Refresh();
    Index().WhereUsed("CUSTF");
    std::filesystem::permissions(Lib.Root(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    EXPECT_EQ(listing(), before);
    EXPECT_EQ(Index().IndexPath().rfind(Lib.Cache(), 0), 0u);
}

TEST_F(LibraryIndexTest, ADamagedIndexIsBuiltAgainWithANotice) {
    Refresh();
    std::string path = Index().IndexPath();
    {
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(0);
        f << "this is no database at all, it was overwritten";
    }
    TRefreshReport report = Refresh();
    EXPECT_TRUE(report.Built);
    std::vector<std::string> notices = Index().TakeNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_THAT(notices[0], HasSubstr("damaged"));
    EXPECT_THAT(WhereUsed("CUS002").size(), 2u);
}

TEST_F(LibraryIndexTest, AnIndexOfAnotherVersionIsBuiltAgainWithANotice) {
    Refresh();
    {
        SqliteDb db;
        ASSERT_EQ(db.Open(Index().IndexPath(), false), 0);
        db.Exec("UPDATE meta SET value = 'orvale-library-index 0.1' WHERE key = 'schema'");
    }
    TRefreshReport report = Refresh();
    EXPECT_TRUE(report.Built);
    std::vector<std::string> notices = Index().TakeNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_THAT(notices[0], HasSubstr("another version"));
}

TEST_F(LibraryIndexTest, AnIndexAnotherOrvaleHoldsLeavesThisRunAnIndexOfItsOwn) {
    Refresh();
    std::string folder = Index().IndexPath().substr(0, Index().IndexPath().rfind('/'));
    int fd = ::open((folder + "/lock").c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    TRefreshReport report = Refresh();
    EXPECT_TRUE(report.Built);
    std::vector<std::string> notices = Index().TakeNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_THAT(notices[0], HasSubstr("another Orvale"));
    EXPECT_NE(Index().IndexPath(), folder + "/index.sqlite");
    EXPECT_EQ(WhereUsed("CUS002").size(), 2u);
    ::close(fd);
    // Once free, the shared index serves again and the private one is gone.
    std::string privatePath = Index().IndexPath();
    Refresh();
    EXPECT_EQ(Index().IndexPath(), folder + "/index.sqlite");
    EXPECT_FALSE(std::filesystem::exists(privatePath));
}

} // namespace

namespace {

// Libraries laid out as FILE_LIB folders: a /COPY that names a library takes that library's
// source file; without one, the nearest folder's member of that name.
TEST(LibraryIndexCopies, ALibraryNamedByTheCopyIsTheOneItsMemberIsTakenFrom) {
    TestLibrary lib;
    std::string copy = Member({SpecLine('C', {{28, "EXSR"}, {33, "X"}})});
    lib.Write("QRPGSRC_PROD/PGM.RPG", Member({SpecLine(' ', {{7, "/COPY TEST/QCPYSRC,DATES"}}),
                                              SpecLine(' ', {{7, "/COPY QCPYSRC,DATES"}}),
                                              SpecLine(' ', {{7, "/COPY ERRS"}})}));
    lib.Write("QCPYSRC_ADEV/DATES.RPG", copy);
    lib.Write("QCPYSRC_PROD/DATES.RPG", copy);
    lib.Write("QCPYSRC_TEST/DATES.RPG", copy);
    lib.Write("QRPGSRC_PROD/ERRS.RPG", copy);
    lib.Write("FAR/AWAY/ERRS.RPG", copy);
    LibraryIndex index;
    std::string error;
    ASSERT_TRUE(index.Open(lib.Root(), error, lib.Cache()));
    TRefreshReport report;
    ASSERT_TRUE(index.Refresh(report, error)) << error;
    std::vector<TCopyLink> links = index.Copies("QRPGSRC_PROD/PGM.RPG");
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(links[0].Target, "QCPYSRC_TEST/DATES.RPG");
    // Three libraries hold QCPYSRC,DATES: the program's own library's.
    EXPECT_EQ(links[1].Target, "QCPYSRC_PROD/DATES.RPG");
    // /COPY ERRS names QRPGSRC: the member beside the program.
    EXPECT_EQ(links[2].Target, "QRPGSRC_PROD/ERRS.RPG");
    auto members = index.MembersNamed("dates");
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ(members[1].Library, "PROD");
    EXPECT_EQ(members[1].SourceFile, "QCPYSRC");
}

// References that run in a circle end: a field of a file that refers to itself through
// another file has the attributes found before the circle closes, or none.
TEST(LibraryIndexFields, ReferencesInACircleEnd) {
    TestLibrary lib;
    lib.Write("QDDSSRC/A.PF",
              Member({SpecLine('A', {{45, "REF(B)"}}), SpecLine('A', {{17, "R"}, {19, "AR"}}),
                      SpecLine('A', {{19, "F1"}, {29, "R"}})}));
    lib.Write("QDDSSRC/B.PF",
              Member({SpecLine('A', {{45, "REF(A)"}}), SpecLine('A', {{17, "R"}, {19, "BR"}}),
                      SpecLine('A', {{19, "F1"}, {29, "R"}})}));
    LibraryIndex index;
    std::string error;
    ASSERT_TRUE(index.Open(lib.Root(), error, lib.Cache()));
    TRefreshReport report;
    ASSERT_TRUE(index.Refresh(report, error)) << error;
    std::vector<TFileField> fields = index.FieldsOfFile("A");
    ASSERT_EQ(fields.size(), 1u);
    EXPECT_EQ(fields[0].Length, 0);
    // Where-used of a field names the descriptions that define it.
    NameKind field = NameKind::Field;
    EXPECT_EQ(index.WhereUsed("F1", &field).size(), 2u);
}

} // namespace
