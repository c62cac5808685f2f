// What a member is: its name's parts, its kind by type or content, and its text.

#include "library/MemberClassify.h"
#include "library/MemberAnalysis.h"

#include "LibraryTestSupport.h"
#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

using namespace orvale::library;
using namespace orvale::library::test;

namespace {

TEST(MemberClassify, PathsOfHostExportsGiveSourceFileLibraryNameAndType) {
    TMemberName a = SplitMemberPath("CBRPGSRCZ/CB0600.RPG");
    EXPECT_EQ(a.SourceFile, "CBRPGSRCZ");
    EXPECT_EQ(a.Name, "CB0600");
    EXPECT_EQ(a.Type, "RPG");
    EXPECT_EQ(a.Library, "");
    TMemberName b = SplitMemberPath("QRPGSRC_ARLIB/arp035r.txt");
    EXPECT_EQ(b.SourceFile, "QRPGSRC");
    EXPECT_EQ(b.Library, "ARLIB");
    EXPECT_EQ(b.Name, "ARP035R");
    EXPECT_EQ(b.Type, "") << "a .txt member's type is its content's";
    TMemberName c = SplitMemberPath("PRODLIB/QRPGSRC/ORDER");
    EXPECT_EQ(c.Library, "PRODLIB");
    EXPECT_EQ(c.Name, "ORDER");
    TMemberName d = SplitMemberPath("X.RP3");
    EXPECT_EQ(d.SourceFile, "");
    EXPECT_EQ(d.Name, "X");
    EXPECT_EQ(d.Type, "");
    // A name with blanks and a dot that is no type.
    TMemberName e = SplitMemberPath("my src/old copy.v2 final");
    EXPECT_EQ(e.SourceFile, "MY SRC");
    EXPECT_EQ(e.Name, "OLD COPY.V2 FINAL");
}

TEST(MemberClassify, ContentTellsEachKind) {
    std::string type;
    EXPECT_EQ(
        ClassifyContent(Member({SpecLine('F', {{7, "CUSTF"}, {15, "IF"}, {19, "E"}, {40, "DISK"}}),
                                SpecLine('C', {{18, "KEY"}, {28, "CHAIN"}, {33, "CUSTF"}})}),
                        type),
        MemberKind::RpgIII);
    EXPECT_EQ(type, "RPG");
    EXPECT_EQ(ClassifyContent(Member({SpecLine('C', {{26, "EVAL"}, {36, "X = 1"}}),
                                      SpecLine('C', {{26, "IF"}, {36, "X > 0"}})}),
                              type),
              MemberKind::RpgIV);
    EXPECT_EQ(ClassifyContent(Member({SpecLine('D', {{7, "X"}, {24, "S"}, {33, "10A"}})}), type),
              MemberKind::RpgIV);
    EXPECT_EQ(ClassifyContent(Member({SpecLine('A', {{17, "R"}, {19, "CUSTR"}}),
                                      SpecLine('A', {{19, "CUSNO"}, {30, "    7"}})}),
                              type),
              MemberKind::Dds);
    EXPECT_EQ(type, "PF");
    EXPECT_EQ(
        ClassifyContent(Member({"/* A program */", "  PGM", "  CALL PGM(X)", "  ENDPGM"}), type),
        MemberKind::Cl);
    EXPECT_EQ(type, "CLP");
    EXPECT_EQ(ClassifyContent(Member({"Notes on the release", "of the programs"}), type),
              MemberKind::Other);
    EXPECT_EQ(ClassifyContent("", type), MemberKind::Other);
}

TEST(MemberClassify, TextIsTheDescriptionAProgrammerGave) {
    EXPECT_EQ(
        MemberDescription(Member({SpecLine(' ', {{1, "/*EXI"}, {7, "*  TEXT('Customer inquiry')"}}),
                                  SpecLine(' ', {{7, "*  (c) Somebody 1999"}})}),
                          "CUS001", MemberKind::RpgIII),
        "Customer inquiry");
    EXPECT_EQ(MemberDescription(Member({SpecLine(' ', {{7, "*****************"}}),
                                        SpecLine(' ', {{7, "*  (c) Somebody 1999"}}),
                                        SpecLine(' ', {{7, "*  Module header line"}}),
                                        SpecLine(' ', {{7, "*  CUS001 - Print the customers *"}})}),
                                "CUS001", MemberKind::RpgIII),
              "Print the customers");
    EXPECT_EQ(MemberDescription(Member({SpecLine(' ', {{7, "* -- Order entry --"}}),
                                        SpecLine('C', {{28, "EXSR"}, {33, "X"}})}),
                                "ORD", MemberKind::RpgIII),
              "Order entry");
    EXPECT_EQ(MemberDescription(
                  Member({SpecLine('A', {{45, "TEXT('Customer master')"}}),
                          SpecLine('A', {{17, "R"}, {19, "CUSTR"}, {45, "TEXT('Record')"}})}),
                  "CUSTF", MemberKind::Dds),
              "Customer master");
    EXPECT_EQ(MemberDescription(Member({"/* Nightly close of business */", "PGM"}), "CL1",
                                MemberKind::Cl),
              "Nightly close of business");
    EXPECT_EQ(MemberDescription(Member({SpecLine('C', {{28, "EXSR"}, {33, "X"}})}), "X",
                                MemberKind::RpgIII),
              "");
}

TEST(MemberClassify, AnalysisCountsLinesAndPassesOverBinaryContent) {
    TMemberRecord record;
    TMemberFacts facts;
    AnalyseMember("QRPGSRC/X.txt", "     C                     EXSR SUB\r\n     C   ", record,
                  facts);
    EXPECT_EQ(record.Lines, 2);
    EXPECT_EQ(record.Kind, MemberKind::RpgIII);
    EXPECT_EQ(record.Type, "RPG");
    AnalyseMember("QRPGSRC/Y.RPG", std::string("     C     EXSR\0SUB", 19), record, facts);
    EXPECT_TRUE(facts.Uses.empty());
    EXPECT_EQ(CountLines(""), 0);
    EXPECT_EQ(CountLines("\n"), 1);
    EXPECT_EQ(CountLines("a\nb"), 2);
}

// Every member of the real library whose type names its kind is classified by its content
// alone as its type says: what a folder of .txt members would be read as. (The few that differ
// hold nothing but comments: a description kept for a file built without one.)
TEST(MemberClassify, ContentAgreesWithTheTypesOfARealLibrary) {
    std::filesystem::path library = std::filesystem::path(ORVALE_CORPUS_DIR) / "../library";
    if (!std::filesystem::is_directory(library))
        GTEST_SKIP() << "no real library beside the project";
    std::map<MemberKind, std::pair<int, int>> agree; // kind -> (agreed, total)
    int ddsTyped = 0, ddsAgreed = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(library)) {
        if (!entry.is_regular_file())
            continue;
        TMemberName name = SplitMemberPath(entry.path().filename().string());
        MemberKind byType;
        if (!KindOfType(name.Type, byType) || byType == MemberKind::Other)
            continue;
        std::string text;
        orvale::ReadFileBytes(entry.path().string(), text);
        std::string contentType;
        MemberKind byContent = ClassifyContent(text, contentType);
        auto& [agreed, total] = agree[byType];
        ++total;
        agreed += byContent == byType;
        if (byType == MemberKind::Dds && byContent == MemberKind::Dds) {
            ++ddsTyped;
            ddsAgreed += contentType == name.Type;
        }
    }
    EXPECT_GE(ddsAgreed * 100, ddsTyped * 95)
        << "data descriptions typed by content: " << ddsAgreed << " of " << ddsTyped;
    ASSERT_FALSE(agree.empty());
    for (const auto& [kind, counts] : agree)
        EXPECT_GE(counts.first * 100, counts.second * 98)
            << MemberKindText(kind) << ": " << counts.first << " of " << counts.second;
}

} // namespace
