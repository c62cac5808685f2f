// Bad input in a library folder: links that loop or lead nowhere, files that are no text or
// no files, empty members, long lines, odd names, the same member in several source files,
// unreadable files, and members that go away while the index is made.

#include "library/IndexStore.h"
#include "library/LibraryIndex.h"

#include "LibraryTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace orvale::library;
using namespace orvale::library::test;
using ::testing::Contains;
using ::testing::ElementsAre;

namespace {

std::map<std::string, std::string> Skipped(const TRefreshReport& report) {
    std::map<std::string, std::string> out;
    for (const TSkippedPath& s : report.Skipped)
        out[s.Path] = s.Reason;
    return out;
}

TEST(LibraryScan, LinksLoopsAndSpecialFilesAreSkippedAndListedWithTheirReason) {
    TestLibrary lib;
    lib.Write("QRPGSRC/A.RPG", SpecLine('C', {{28, "CALL"}, {33, "'PGMX'"}}) + "\n");
    std::filesystem::create_directory_symlink("..", lib.Path("QRPGSRC/loop"));
    std::filesystem::create_symlink("nowhere.RPG", lib.Path("QRPGSRC/dangling.RPG"));
    std::filesystem::create_symlink("A.RPG", lib.Path("QRPGSRC/LINKED.RPG"));
    ASSERT_EQ(::mkfifo(lib.Path("QRPGSRC/PIPE.RPG").c_str(), 0600), 0);
    lib.Write("QRPGSRC/BIN.RPG", std::string("\0\1\2\3", 4));

    LibraryIndex index;
    std::string error;
    ASSERT_TRUE(index.Open(lib.Root(), error, lib.Cache()));
    TRefreshReport report;
    ASSERT_TRUE(index.Refresh(report, error)) << error;
    auto skipped = Skipped(report);
    EXPECT_THAT(skipped["QRPGSRC/loop"], ::testing::HasSubstr("loop"));
    EXPECT_THAT(skipped["QRPGSRC/dangling.RPG"], ::testing::HasSubstr("broken"));
    EXPECT_EQ(skipped["QRPGSRC/PIPE.RPG"], "not a regular file");
    EXPECT_EQ(skipped["QRPGSRC/BIN.RPG"], "binary file");
    // A link to a member is a member under the link's name.
    EXPECT_EQ(report.Members, 2u);
    EXPECT_EQ(index.WhereUsed("PGMX").size(), 2u);
    // The binary file is not read again while it stays as it was, and is still listed.
    TRefreshReport again;
    ASSERT_TRUE(index.Refresh(again, error));
    EXPECT_EQ(again.Read, 0u);
    EXPECT_EQ(Skipped(again)["QRPGSRC/BIN.RPG"], "binary file");
}

TEST(LibraryScan, EmptyMembersLongLinesOddNamesAndDuplicatesAreAllMembers) {
    TestLibrary lib;
    lib.Write("QRPGSRC/EMPTY.RPG", "");
    std::string longLine = SpecLine('C', {{7, "*"}}) + std::string(1 << 20, 'x');
    lib.Write("QRPGSRC/LONG.RPG",
              longLine + "\n" + SpecLine('C', {{28, "EXSR"}, {33, "AFTER"}}) + "\n");
    lib.Write("Q RPG SRC/NA\xc3\xafVE ONE.RPG", SpecLine('C', {{28, "EXSR"}, {33, "AFTER"}}));
    lib.Write("QCPYSRC/LONG.RPG", SpecLine('C', {{28, "EXSR"}, {33, "OTHER"}}));

    LibraryIndex index;
    std::string error;
    ASSERT_TRUE(index.Open(lib.Root(), error, lib.Cache()));
    TRefreshReport report;
    ASSERT_TRUE(index.Refresh(report, error)) << error;
    EXPECT_EQ(report.Members, 4u);
    EXPECT_TRUE(report.Skipped.empty());
    auto empty = index.Member("QRPGSRC/EMPTY.RPG");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->Lines, 0);
    EXPECT_EQ(index.MembersNamed("long").size(), 2u);
    std::vector<THit> hits = index.WhereUsed("AFTER");
    ASSERT_TRUE(index.FillTexts(hits));
    std::vector<std::string> where;
    for (const THit& h : hits)
        where.push_back(h.Member + ":" + std::to_string(h.Line) + ":" + h.Text.substr(27, 4));
    EXPECT_THAT(where,
                ElementsAre("Q RPG SRC/NA\xc3\xafVE ONE.RPG:1:EXSR", "QRPGSRC/LONG.RPG:2:EXSR"));
    auto odd = index.Member("Q RPG SRC/NA\xc3\xafVE ONE.RPG");
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->SourceFile, "Q RPG SRC");
    EXPECT_EQ(odd->Name, "NA\xc3\xafVE ONE");
}

TEST(LibraryScan, UnreadableFilesAndFoldersAreSkippedAndListed) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop the superuser";
    TestLibrary lib;
    lib.Write("QRPGSRC/A.RPG", "     C                     EXSR X\n");
    lib.Write("QRPGSRC/SECRET.RPG", "     C                     EXSR X\n");
    lib.Write("LOCKED/B.RPG", "     C                     EXSR X\n");
    ::chmod(lib.Path("QRPGSRC/SECRET.RPG").c_str(), 0);
    ::chmod(lib.Path("LOCKED").c_str(), 0);
    LibraryIndex index;
    std::string error;
    ASSERT_TRUE(index.Open(lib.Root(), error, lib.Cache()));
    TRefreshReport report;
    ASSERT_TRUE(index.Refresh(report, error)) << error;
    ::chmod(lib.Path("LOCKED").c_str(), 0700);
    auto skipped = Skipped(report);
    EXPECT_EQ(skipped["QRPGSRC/SECRET.RPG"], "permission denied");
    EXPECT_EQ(skipped["LOCKED"], "permission denied");
    EXPECT_EQ(report.Members, 1u);
}

TEST(LibraryScan, AMemberThatGoesAwayWhileTheIndexIsMadeIsGoneWithoutAnError) {
    TestLibrary lib;
    lib.Write("QRPGSRC/A.RPG", "     C                     EXSR X\n");
    std::vector<int> errors;
    ASSERT_TRUE(ReadMembers(
        lib.Root(), {"QRPGSRC/A.RPG", "QRPGSRC/GONE.RPG"},
        [&](size_t, TReadResult& r) { errors.push_back(r.Errno); }, nullptr));
    EXPECT_THAT(errors, ElementsAre(0, ENOENT));
    TRefreshReport report;
    TestLibrary other;
    SqliteDb db;
    ASSERT_EQ(db.Open(other.Path("x.sqlite"), false), 0);
    db.Exec(kTablesDdl);
    IndexWriter writer(db, false);
    std::string error;
    ASSERT_TRUE(writer.Prepare(error)) << error;
    TReadResult gone;
    gone.Errno = ENOENT;
    ApplyRead(writer, 1, gone, report);
    EXPECT_TRUE(report.Skipped.empty());
    EXPECT_EQ(report.Read, 0u);
}

TEST(LibraryScan, ALibraryThatIsNoFolderIsRefusedWithItsReason) {
    TestLibrary lib;
    lib.Write("FILE.RPG", "x");
    LibraryIndex index;
    std::string error;
    EXPECT_FALSE(index.Open(lib.Path("FILE.RPG"), error, lib.Cache()));
    EXPECT_THAT(error, ::testing::HasSubstr("not a folder"));
    EXPECT_FALSE(index.Open(lib.Path("NOWHERE"), error, lib.Cache()));
    EXPECT_THAT(error, ::testing::HasSubstr("No such file"));
}

} // namespace
