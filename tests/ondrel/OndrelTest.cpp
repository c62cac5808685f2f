#include "ondrel/Ondrel.h"
#include "ondrel/CodePageTables.h"
#include "platform/SafeSave.h"
#include "platform/TextFile.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using orvale::test::FileSizeLimit;
using orvale::test::Put;
using orvale::test::Slurp;
using orvale::test::TempDir;

namespace {

std::string Table(const std::string& entries) {
    return "[SB Xlate]\r\n" + entries;
}

int LastStatus(std::string* message = nullptr) {
    std::string text;
    int status = OndrelLastError(text);
    if (message)
        *message = text;
    return status;
}

int Calls = 0;
int CancelAt = -1;
void CountAndMaybeCancel() {
    if (++Calls == CancelAt)
        OndrelCancelOp();
}

// Host and PC tables of a small code: EBCDIC blank, 'A' to 'C' and '1'.
class SmallTables : public ::testing::Test {
protected:
    void SetUp() override {
        Put(dir.File("AStoPC.xlt"), Table("40=20\r\nC1=41\r\nC2=42\r\nc3=43\r\nF1=31\r\n"));
        Put(dir.File("PCtoAS.xlt"), Table("20=40\r\n41=C1\r\n42=C2\r\n43=c3\r\n31=F1\r\n"));
        Calls = 0;
        CancelAt = -1;
    }
    std::string ToText(const std::string& member, int length = 80, int status = OndrelOk) {
        Put(dir.File("M.MBR"), member);
        EXPECT_TRUE(EBCDicToASCII(dir.File("M.MBR"), dir.File("M.RP3"), dir.File("AStoPC.xlt"),
                                  length, CountAndMaybeCancel));
        EXPECT_EQ(LastStatus(&Message), status) << Message;
        return Slurp(dir.File("M.RP3"));
    }
    std::string ToMember(const std::string& text, int length = 80, int status = OndrelOk) {
        Put(dir.File("T.RP3"), text);
        ASCIIToEBCDic(dir.File("T.RP3"), dir.File("T.MBR"), dir.File("PCtoAS.xlt"), length,
                      CountAndMaybeCancel);
        EXPECT_EQ(LastStatus(&Message), status) << Message;
        return Slurp(dir.File("T.MBR"));
    }
    std::string Message;
    TempDir dir;
};

} // namespace

TEST(Ondrel, VersionText) {
    std::string version = "old";
    GetEBCDDllVersion(version);
    EXPECT_EQ(version, "1.31 - 17/05/1997");
}

TEST_F(SmallTables, RecordsBecomeLinesAndAPartialLastRecordIsKeptPaddedWithAWarning) {
    std::string first = "\xC1" + std::string(78, '\x40') + "\xC2";
    std::string second(80, '\xF1');
    std::string expected = "A" + std::string(78, ' ') + "B\r\n" + std::string(80, '1') + "\r\n";
    EXPECT_EQ(ToText(first + second), expected);
    EXPECT_TRUE(Message.empty());
    EXPECT_EQ(Calls, 3); // two records and the final call at the end
    // The ten bytes of a short last record are not lost.
    EXPECT_EQ(ToText(first + second + std::string(10, '\xC3'), 80, OndrelPartialRecord),
              expected + std::string(10, 'C') + std::string(70, ' ') + "\r\n");
    EXPECT_NE(Message.find("M.MBR: the last record (line 3) holds 10 of 80 bytes"),
              std::string::npos)
        << Message;
    EXPECT_EQ(ToText("\xC1", 80, OndrelPartialRecord), "A" + std::string(79, ' ') + "\r\n");
    EXPECT_EQ(ToText(""), "");
    EXPECT_TRUE(std::filesystem::exists(dir.File("M.RP3")));
}

TEST_F(SmallTables, LinesBecomeBlankPaddedRecordsWithoutLineEnds) {
    // A line that loses text to the record length is written cut, with a warning.
    std::string member =
        ToMember("A\r\n" + std::string(90, 'A') + "\r\n\r\nCB1\n", 80, OndrelLinesCut);
    EXPECT_NE(Message.find("T.RP3: 1 line is longer than 80 characters and lost the text past it "
                           "(the first is line 2)"),
              std::string::npos)
        << Message;
    member = member.substr(80);
    ASSERT_EQ(member.size(), 240u);
    EXPECT_EQ(member.substr(0, 80), std::string(80, '\xC1'));
    EXPECT_EQ(member.substr(80, 80), std::string(80, '\x40'));
    EXPECT_EQ(member.substr(160), "\xC3\xC2\xF1" + std::string(77, '\x40'));
    EXPECT_EQ(ToMember(""), "");
    // Blanks past the record are no loss.
    EXPECT_EQ(ToMember("AB" + std::string(100, ' ') + "\n", 2), "\xC1\xC2");
    // A record long enough for the longest line keeps every column.
    std::string wide = std::string(80, 'B') + "CCCCCC" + std::string(14, '1');
    EXPECT_EQ(ToText(ToMember(wide + "\r\nA\r\n", 100), 100),
              wide + "\r\nA" + std::string(99, ' ') + "\r\n");
}

TEST_F(SmallTables, EveryKindOfLineEndMakesOneRecord) {
    // LF, CR LF and a lone CR each end a line; CR CR is two ends; the last line needs none,
    // and nothing after a zero byte counts.
    std::string member = ToMember(std::string("A\nB\r\nC\rA\r\rB") + '\0' + "C\n", 2);
    EXPECT_EQ(member, std::string("\xC1\x40\xC2\x40\xC3\x40\xC1\x40\x40\x40\xC2\x40"));
    EXPECT_EQ(Calls, 6);
    EXPECT_EQ(ToMember("\r\n\n", 1), "\x40\x40");
}

TEST_F(SmallTables, RecordLengthsAtTheLimitsWork) {
    EXPECT_EQ(ToText("\xC1\xC2\xC3", 1), "A\r\nB\r\nC\r\n");
    std::string record(255, '\xC2');
    EXPECT_EQ(ToText(record + record, 255),
              std::string(255, 'B') + "\r\n" + std::string(255, 'B') + "\r\n");
    EXPECT_EQ(ToMember(std::string(300, 'C') + "\r\n", 255, OndrelLinesCut),
              std::string(255, '\xC3'));
}

TEST_F(SmallTables, RecordLengthOutsideOneTo255IsRefused) {
    Put(dir.File("M.MBR"), std::string(512, '\xC1'));
    Put(dir.File("T.RP3"), "ABC\r\n");
    for (int length : {0, -1, 256, 100000}) {
        std::string message;
        EXPECT_FALSE(EBCDicToASCII(dir.File("M.MBR"), dir.File("M.RP3"), dir.File("AStoPC.xlt"),
                                   length, nullptr));
        EXPECT_EQ(LastStatus(&message), OndrelBadRecordLength) << length;
        EXPECT_NE(message.find(std::to_string(length)), std::string::npos) << message;
        ASCIIToEBCDic(dir.File("T.RP3"), dir.File("T.MBR"), dir.File("PCtoAS.xlt"), length,
                      nullptr);
        EXPECT_EQ(LastStatus(), OndrelBadRecordLength) << length;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("M.RP3")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("T.MBR")));
}

TEST_F(SmallTables, UnmappedBytesAndEmptyEntriesGiveTheBlankOfTheTarget) {
    Put(dir.File("AStoPC.xlt"), Table("C1=\r\nC2=42\r\n"));
    Put(dir.File("PCtoAS.xlt"), Table("41=\r\n42=C2\r\n"));
    EXPECT_EQ(ToText(std::string("\xC1\xC2\x00\xFF", 4), 4), " B  \r\n");
    EXPECT_EQ(ToMember("AB\xE9\t\r\n", 4), "\x40\xC2\x40\x40");
}

TEST_F(SmallTables, MissingTableFileMapsEverythingToBlank) {
    std::filesystem::remove(dir.File("AStoPC.xlt"));
    Put(dir.File("PCtoAS.xlt"), "[Other]\r\n41=C1\r\n");
    EXPECT_EQ(ToText("\xC1\xC2", 2), "  \r\n");
    EXPECT_EQ(ToMember("AB\r\n", 2), "\x40\x40");
}

TEST_F(SmallTables, BadTableEntryFailsAndWritesNoTarget) {
    Put(dir.File("M.RP3"), "previous text\r\n");
    Put(dir.File("M.MBR"), std::string(80, '\xC1'));
    Put(dir.File("T.RP3"), "ABC\r\n");
    for (const char* entry : {"C1=4G", "C=41", "C1X=41", "C1=411", "ZZ=41"}) {
        Put(dir.File("Bad.xlt"), Table(std::string("C2=42\r\n") + entry + "\r\n"));
        std::string message;
        EXPECT_FALSE(
            EBCDicToASCII(dir.File("M.MBR"), dir.File("M.RP3"), dir.File("Bad.xlt"), 80, nullptr));
        EXPECT_EQ(LastStatus(&message), OndrelBadTable) << entry;
        EXPECT_NE(message.find(dir.File("Bad.xlt")), std::string::npos) << message;
        EXPECT_NE(message.find(entry), std::string::npos) << message;
        ASCIIToEBCDic(dir.File("T.RP3"), dir.File("T.MBR"), dir.File("Bad.xlt"), 80, nullptr);
        EXPECT_EQ(LastStatus(), OndrelBadTable) << entry;
    }
    EXPECT_EQ(Slurp(dir.File("M.RP3")), "previous text\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("T.MBR")));
    // A good conversion afterwards reports success again.
    EXPECT_EQ(ToText(std::string(80, '\xC1')), std::string(80, 'A') + "\r\n");
}

TEST_F(SmallTables, CancelWritesNoTarget) {
    Put(dir.File("M.MBR"), std::string(800, '\xC1'));
    Put(dir.File("M.RP3"), "previous text\r\n");
    CancelAt = 3;
    EXPECT_TRUE(EBCDicToASCII(dir.File("M.MBR"), dir.File("M.RP3"), dir.File("AStoPC.xlt"), 80,
                              CountAndMaybeCancel));
    EXPECT_EQ(LastStatus(), OndrelCancelled);
    EXPECT_EQ(Calls, 3);
    EXPECT_EQ(Slurp(dir.File("M.RP3")), "previous text\r\n");

    // A cancel that arrives with the final read still counts.
    Calls = 0;
    CancelAt = 11;
    EXPECT_TRUE(EBCDicToASCII(dir.File("M.MBR"), dir.File("M.RP3"), dir.File("AStoPC.xlt"), 80,
                              CountAndMaybeCancel));
    EXPECT_EQ(LastStatus(), OndrelCancelled);
    EXPECT_EQ(Slurp(dir.File("M.RP3")), "previous text\r\n");

    Put(dir.File("T.RP3"), "A\r\nB\r\nC\r\n");
    Calls = 0;
    CancelAt = 2;
    ASCIIToEBCDic(dir.File("T.RP3"), dir.File("T.MBR"), dir.File("PCtoAS.xlt"), 80,
                  CountAndMaybeCancel);
    EXPECT_EQ(LastStatus(), OndrelCancelled);
    EXPECT_FALSE(std::filesystem::exists(dir.File("T.MBR")));

    // The flag left by a cancelled run does not stop the next one.
    CancelAt = -1;
    EXPECT_EQ(ToMember("A\r\n", 1), "\xC1");
}

TEST_F(SmallTables, MissingSourceIsReportedAndNothingIsWritten) {
    std::string message;
    EXPECT_FALSE(EBCDicToASCII(dir.File("none.MBR"), dir.File("M.RP3"), dir.File("AStoPC.xlt"), 80,
                               nullptr));
    EXPECT_EQ(LastStatus(&message), OndrelSourceMissing);
    EXPECT_NE(message.find("none.MBR"), std::string::npos);
    EXPECT_FALSE(EBCDicToASCII(dir.Path(), dir.File("M.RP3"), dir.File("AStoPC.xlt"), 80, nullptr));
    ASCIIToEBCDic(dir.File("none.RP3"), dir.File("T.MBR"), dir.File("PCtoAS.xlt"), 80, nullptr);
    EXPECT_EQ(LastStatus(), OndrelSourceMissing);
    EXPECT_FALSE(std::filesystem::exists(dir.File("M.RP3")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("T.MBR")));
}

TEST_F(SmallTables, FailedWriteIsReportedAndKeepsTheOldTarget) {
    Put(dir.File("M.MBR"), std::string(80 * 100, '\xC1'));
    Put(dir.File("M.RP3"), "previous text\r\n");
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += std::string(80, 'A') + "\r\n";
    Put(dir.File("T.RP3"), text);
    Put(dir.File("T.MBR"), "previous member");
    std::string message;
    {
        FileSizeLimit limit(1000);
        EXPECT_FALSE(EBCDicToASCII(dir.File("M.MBR"), dir.File("M.RP3"), dir.File("AStoPC.xlt"), 80,
                                   nullptr));
        EXPECT_EQ(LastStatus(&message), OndrelWriteFailed);
        ASCIIToEBCDic(dir.File("T.RP3"), dir.File("T.MBR"), dir.File("PCtoAS.xlt"), 80, nullptr);
        EXPECT_EQ(LastStatus(), OndrelWriteFailed);
    }
    EXPECT_NE(message.find(dir.File("M.RP3")), std::string::npos) << message;
    EXPECT_EQ(Slurp(dir.File("M.RP3")), "previous text\r\n");
    EXPECT_EQ(Slurp(dir.File("T.MBR")), "previous member");
    EXPECT_FALSE(EBCDicToASCII(dir.File("M.MBR"), dir.File("no/such/dir.RP3"),
                               dir.File("AStoPC.xlt"), 80, nullptr));
    EXPECT_EQ(LastStatus(), OndrelWriteFailed);
}

TEST(OndrelCodePage, NationalCharactersSurviveTheRoundTrip) {
    TempDir dir;
    std::string error;
    ASSERT_TRUE(ondrel::WriteCodePageTables("IBM280", dir.Path(), error)) << error;
    // Italian letters, the pound sign and the brackets sit elsewhere than in IBM037.
    std::string line1 =
        "     C           PREZZO    IFGT 100              \xA3 \xE0\xE8\xE9\xEC\xF2\xF9";
    std::string line2 = "     C*  {[#@$|!]}  \xA7\xB0\xE7";
    Put(dir.File("S.RP3"), line1 + "\r\n" + line2 + "\r\n");
    ASCIIToEBCDic(dir.File("S.RP3"), dir.File("S.MBR"), dir.File("PCtoAS.xlt"), 80, nullptr);
    ASSERT_EQ(LastStatus(), OndrelOk);
    std::string member = Slurp(dir.File("S.MBR"));
    ASSERT_EQ(member.size(), 160u);
    EXPECT_EQ(member.substr(49, 9), "\x7B\x40\xC0\xD0\x5A\xA1\x6A\x79\x40");

    ASSERT_TRUE(EBCDicToASCII(dir.File("S.MBR"), dir.File("Back.RP3"), dir.File("AStoPC.xlt"), 80,
                              nullptr));
    std::string pad1(80 - line1.size(), ' ');
    std::string pad2(80 - line2.size(), ' ');
    EXPECT_EQ(Slurp(dir.File("Back.RP3")), line1 + pad1 + "\r\n" + line2 + pad2 + "\r\n");

    ASCIIToEBCDic(dir.File("Back.RP3"), dir.File("Again.MBR"), dir.File("PCtoAS.xlt"), 80, nullptr);
    EXPECT_EQ(Slurp(dir.File("Again.MBR")), member);
}

TEST(OndrelCodePage, EveryPrintableHostByteSurvivesTheRoundTrip) {
    TempDir dir;
    std::string error;
    for (const char* page : {"IBM037", "IBM280", "IBM273", "IBM500", "IBM1144"}) {
        ASSERT_TRUE(ondrel::WriteCodePageTables(page, dir.Path(), error)) << error;
        ondrel::CodePageMaps maps;
        ASSERT_TRUE(ondrel::BuildCodePageMaps(page, maps, error));
        std::string member;
        for (int byte = 0; byte < 256; ++byte)
            if (maps.HostToPc[static_cast<size_t>(byte)] >= 0)
                member += static_cast<char>(byte);
        member.resize((member.size() + 79) / 80 * 80, '\x40');
        Put(dir.File("All.MBR"), member);
        ASSERT_TRUE(EBCDicToASCII(dir.File("All.MBR"), dir.File("All.RP3"), dir.File("AStoPC.xlt"),
                                  80, nullptr));
        ASCIIToEBCDic(dir.File("All.RP3"), dir.File("Back.MBR"), dir.File("PCtoAS.xlt"), 80,
                      nullptr);
        EXPECT_EQ(Slurp(dir.File("Back.MBR")), member) << page;
    }
}

// Real members written elsewhere, the wide ones with change tags past column 80 among them:
// text to host and back, with records as long as the member's longest line, keeps every
// printable character in its column and blanks tabs and other control characters.
TEST(OndrelCorpus, MembersSurviveTheRoundTripThroughTheHostForm) {
    if (!std::filesystem::is_directory(ORVALE_CORPUS_DIR))
        GTEST_SKIP() << "no corpus at " << ORVALE_CORPUS_DIR;
    TempDir dir;
    std::string error;
    ASSERT_TRUE(ondrel::WriteCodePageTables("IBM037", dir.Path(), error)) << error;
    int members = 0, wide = 0, told = 0;
    for (const char* folder : {ORVALE_CORPUS_DIR, ORVALE_CORPUS_DIR "-wide"}) {
        if (!std::filesystem::is_directory(folder))
            continue;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().extension() != ".RP3")
                continue;
            const std::string path = entry.path().string();
            StringList original, back;
            ASSERT_TRUE(orvale::ReadTextFile(path, original));
            size_t length = 80;
            for (const std::string& line : original)
                length = std::max(length, line.find_last_not_of(' ') + 1);
            ASSERT_LE(length, 255u) << path;
            wide += length > 80;
            const int recordLength = static_cast<int>(length);
            // The export's record length keeps every line whole, and the import finds it in
            // the records (unless the member is no RPG source at all).
            ASSERT_EQ(TextRecordLength(path, 80), recordLength) << path;
            ASCIIToEBCDic(path, dir.File("C.MBR"), dir.File("PCtoAS.xlt"), recordLength, nullptr);
            ASSERT_EQ(LastStatus(), OndrelOk) << path;
            TOndrelRecordFit fit;
            ASSERT_TRUE(MemberRecordFit(dir.File("C.MBR"), dir.File("AStoPC.xlt"), 80, fit));
            if (fit.Found != recordLength) {
                EXPECT_EQ(fit.Found, 0) << path;
                EXPECT_LT(fit.Share, OndrelSourceShare) << path;
            } else if (recordLength != 80) {
                // Read as 80-byte records, a wide member looks misread.
                EXPECT_LT(fit.Share, OndrelSourceShare) << path;
                ++told;
            }
            ASSERT_TRUE(EBCDicToASCII(dir.File("C.MBR"), dir.File("C.RP3"), dir.File("AStoPC.xlt"),
                                      recordLength, nullptr))
                << path;
            ASSERT_EQ(LastStatus(), OndrelOk) << path;
            ASSERT_TRUE(orvale::ReadTextFile(dir.File("C.RP3"), back));
            ASSERT_EQ(back.size(), original.size()) << path;
            for (size_t i = 0; i < original.size(); ++i) {
                std::string expected = original[i].substr(0, length);
                expected.resize(length, ' ');
                for (char& c : expected) {
                    auto byte = static_cast<unsigned char>(c);
                    if (byte < 0x20 || (byte >= 0x7F && byte < 0xA0))
                        c = ' ';
                }
                ASSERT_EQ(back[i], expected) << path << " line " << i + 1;
            }
            ++members;
        }
    }
    EXPECT_GT(members, 0);
    if (std::filesystem::is_directory(ORVALE_CORPUS_DIR "-wide")) {
        EXPECT_GT(wide, 300);
        EXPECT_EQ(told, wide);
    }
}

namespace {

// Members written with IBM037 tables, as the export writes them.
class RecordLengths : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(ondrel::WriteCodePageTables("IBM037", dir.Path(), error)) << error;
    }
    // Lines as a member of Length-byte records.
    std::string Member(const StringList& lines, int length) {
        EXPECT_TRUE(orvale::WriteTextFile(dir.File("T.RP3"), lines));
        ASCIIToEBCDic(dir.File("T.RP3"), dir.File("T.MBR"), dir.File("PCtoAS.xlt"), length,
                      nullptr);
        return Slurp(dir.File("T.MBR"));
    }
    TOndrelRecordFit Fit(const std::string& member, int asked = 80) {
        Put(dir.File("M.MBR"), member);
        TOndrelRecordFit fit;
        EXPECT_TRUE(MemberRecordFit(dir.File("M.MBR"), dir.File("AStoPC.xlt"), asked, fit));
        return fit;
    }
    TempDir dir;
};

// A program: comments, a file, calculations, one change tag past column 80, compile-time data.
StringList Program() {
    StringList lines = {
        "     H",
        "      * Prints the price list",
        "     FPRICES  IF  E           K        DISK",
        "     E                    MSG     1   2 30",
        "     C           *ENTRY    PLIST",
        "     C                     PARM           CODE    5",
        "     C           CODE      CHAINPRICES               90",
        "     C   90                MOVEL'NONE'    NAME",
        "     C                     SETON                     LR     CHG0001 BY ANNE",
        "      /EJECT",
        "     OQSYSPRT E  1           PRICE",
    };
    for (int k = 0; k < 40; ++k)
        lines.push_back("     C                     ADD  1         COUNT   50");
    lines.push_back("** messages");
    lines.push_back("Price not found               ");
    lines.push_back("Price list printed            ");
    return lines;
}

} // namespace

// The records of a member say how long they are: read with any other length its lines leave
// their columns, record by record, which the judgement sees.
TEST_F(RecordLengths, TheRecordsTellTheirLength) {
    const StringList program = Program();
    for (int length : {80, 92, 96, 100, 112, 132, 255}) {
        TOndrelRecordFit fit = Fit(Member(program, length));
        EXPECT_EQ(fit.Found, length);
        EXPECT_EQ(fit.FoundShare, 100) << length;
        if (length != 80) {
            EXPECT_LT(fit.Share, OndrelSourceShare) << length;
        }
    }
    // Behind a sequence number and date of 12 digits, in records of 92 bytes.
    StringList dated;
    for (size_t k = 0; k < program.size(); ++k)
        dated.push_back("00" + std::to_string(1000 + k) + "970312" + program[k]);
    EXPECT_EQ(Fit(Member(dated, 92)).Found, 92);
    // A partial last record (a byte of another tool's, or a member cut short) says nothing
    // against the length of the others.
    EXPECT_EQ(Fit(Member(program, 100) + "\x3F").Found, 100);
    EXPECT_EQ(Fit(Member(program, 100) + std::string(60, '\x40')).Found, 100);
}

TEST_F(RecordLengths, WhatTheRecordsCannotTellIsLeftToTheLengthAsked) {
    // One line of source and a blank line read as well as one record of 160 bytes.
    const StringList two = {"     C                     SETON                     LR", ""};
    EXPECT_EQ(Fit(Member(two, 80), 80).Found, 80);
    // One comment whose words put a form letter in column 6 of records of 16 bytes.
    const StringList comment = {"     F* comment line here"};
    EXPECT_EQ(Fit(Member(comment, 80), 80).Found, 80);
    EXPECT_EQ(Fit(Member(comment, 92), 92).Found, 92);
    // Lines that use only the first half of records of 100 bytes: read as records of 50 bytes
    // they give a blank line after each, so the longer length is taken.
    StringList narrow;
    for (int k = 0; k < 30; ++k)
        narrow.push_back("     C                     Z-ADD0         X");
    EXPECT_EQ(Fit(Member(narrow, 100)).Found, 100);
    // Text that is no RPG source, an empty member.
    TOndrelRecordFit fit = Fit(Member(StringList(20, "DCL VAR(&NAME) TYPE(*CHAR) LEN(10)"), 80));
    EXPECT_EQ(fit.Found, 0);
    EXPECT_EQ(fit.Share, 0);
    EXPECT_EQ(Fit("").Found, 0);
    // A missing member, a bad length asked.
    TOndrelRecordFit none;
    std::string message;
    EXPECT_FALSE(MemberRecordFit(dir.File("NONE.MBR"), dir.File("AStoPC.xlt"), 80, none));
    EXPECT_EQ(LastStatus(&message), OndrelSourceMissing);
    EXPECT_NE(message.find("NONE.MBR"), std::string::npos);
    EXPECT_FALSE(MemberRecordFit(dir.File("M.MBR"), dir.File("AStoPC.xlt"), 0, none));
    EXPECT_EQ(LastStatus(), OndrelBadRecordLength);
}

TEST_F(RecordLengths, TheTextsRecordLengthKeepsItsLongestLine) {
    auto length = [&](const std::string& text, int least = 80) {
        Put(dir.File("L.RP3"), text);
        return TextRecordLength(dir.File("L.RP3"), least);
    };
    EXPECT_EQ(length("short\r\n" + std::string(99, 'x') + "     \r\nend\r\n"), 99);
    EXPECT_EQ(length("short\r\n"), 80);
    EXPECT_EQ(length("short\r\n", 20), 20);
    EXPECT_EQ(length(std::string(300, 'x')), 255);
    // Line ends of every kind; a zero byte ends the text.
    EXPECT_EQ(length("a\r" + std::string(90, 'x') + "\rb\n" + std::string(85, 'y')), 90);
    EXPECT_EQ(length("a\n" + std::string(85, 'x') + '\0' + std::string(120, 'y')), 85);
    // A long line across the pieces a large text is read in.
    std::string large;
    while (large.size() < (1u << 20) - 50)
        large += std::string(70, 'z') + "\r\n";
    EXPECT_EQ(length(large + std::string(120, 'w') + "\r\n" + large), 120);
    EXPECT_EQ(TextRecordLength(dir.File("NONE.RP3"), 80), 0);
    EXPECT_EQ(LastStatus(), OndrelSourceMissing);
}

TEST(OndrelCopy, CopiesIntoTheFolderAndReplacesAnOldMember) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("host"));
    Put(dir.File("PAY.MBR"), "new member");
    Put(dir.File("host/PAY.MBR"), "old member");
    EXPECT_TRUE(ShellCopyToAS(dir.File("PAY.MBR"), dir.File("host"), nullptr, false));
    EXPECT_EQ(LastStatus(), OndrelOk);
    EXPECT_EQ(Slurp(dir.File("host/PAY.MBR")), "new member");
    Put(dir.File("PAY.MBR"), "newer member");
    EXPECT_TRUE(ShellCopyToAS(dir.File("PAY.MBR"), dir.File("host/"), nullptr, false));
    EXPECT_EQ(Slurp(dir.File("host/PAY.MBR")), "newer member");
    EXPECT_EQ(Slurp(dir.File("PAY.MBR")), "newer member");
}

TEST(OndrelCopy, QuietCopyKeepsAnExistingMember) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("host"));
    Put(dir.File("PAY.MBR"), "new member");
    EXPECT_TRUE(ShellCopyToAS(dir.File("PAY.MBR"), dir.File("host"), nullptr, true));
    Put(dir.File("PAY.MBR"), "newer member");
    std::string message;
    EXPECT_FALSE(ShellCopyToAS(dir.File("PAY.MBR"), dir.File("host"), nullptr, true));
    EXPECT_EQ(LastStatus(&message), OndrelCopyFailed);
    EXPECT_NE(message.find(dir.File("host/PAY.MBR")), std::string::npos) << message;
    EXPECT_EQ(Slurp(dir.File("host/PAY.MBR")), "new member");
}

TEST(OndrelCopy, FailuresGiveTheReasonAndLeaveNoPartialMember) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("host"));
    std::string message;
    EXPECT_FALSE(ShellCopyToAS(dir.File("none.MBR"), dir.File("host"), nullptr, false));
    EXPECT_EQ(LastStatus(&message), OndrelCopyFailed);
    EXPECT_NE(message.find("none.MBR"), std::string::npos);

    Put(dir.File("PAY.MBR"), std::string(100000, '\xC1'));
    EXPECT_FALSE(ShellCopyToAS(dir.File("PAY.MBR"), dir.File("nohost"), nullptr, false));
    EXPECT_EQ(LastStatus(&message), OndrelCopyFailed);
    EXPECT_NE(message.find("nohost"), std::string::npos);
    EXPECT_FALSE(ShellCopyToAS(dir.File("PAY.MBR"), "", nullptr, false));
    EXPECT_FALSE(ShellCopyToAS(dir.File("PAY.MBR"), dir.File("PAY.MBR"), nullptr, false));

    Put(dir.File("host/PAY.MBR"), "old member");
    {
        FileSizeLimit limit(1000);
        EXPECT_FALSE(ShellCopyToAS(dir.File("PAY.MBR"), dir.File("host"), nullptr, false));
    }
    EXPECT_EQ(LastStatus(&message), OndrelCopyFailed);
    EXPECT_FALSE(message.empty());
    EXPECT_EQ(Slurp(dir.File("host/PAY.MBR")), "old member");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.File("host")))
        ++files;
    EXPECT_EQ(files, 1);
}
