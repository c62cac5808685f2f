#include "ondrel/MemberConversion.h"
#include "ondrel/CodePageTables.h"
#include "platform/SafeSave.h"
#include "platform/TextFile.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iconv.h>

// Members with double-byte text and members with sequence numbers and dates, converted both
// ways. The host members are made with the system's iconv from text of the PC's code page, as
// a shop's host would hold them.

using orvale::test::Put;
using orvale::test::Slurp;
using orvale::test::TempDir;

namespace {

// Text converted whole by iconv, from the initial shift state back to it.
std::string Iconv(const std::string& to, const std::string& from, const std::string& text) {
    iconv_t cd = ::iconv_open(to.c_str(), from.c_str());
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << from << " to " << to;
    std::string out(text.size() * 4 + 8, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    EXPECT_NE(::iconv(cd, &in, &inLeft, &outPtr, &outLeft), static_cast<size_t>(-1)) << text;
    ::iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    ::iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

// A line in pieces of single-byte text and double-byte runs, as the host holds it (a run
// between shift-out and shift-in) and as the PC does (a run between two blanks).
struct Piece {
    std::string Text; // in the PC's code page
    bool Double = false;
};

struct Line {
    std::string Member, Text;
};

Line MakeLine(const std::string& host, const std::string& pc, const std::vector<Piece>& pieces,
              size_t length = 80) {
    // A code page given by its number alone is IBM's.
    const std::string hostName =
        host.find_first_not_of("0123456789") == std::string::npos ? "IBM" + host : host;
    Line line;
    for (const Piece& piece : pieces) {
        std::string bytes = Iconv(hostName, pc, piece.Text);
        if (piece.Double) {
            EXPECT_EQ(bytes.front(), '\x0E') << piece.Text;
            EXPECT_EQ(bytes.back(), '\x0F') << piece.Text;
        }
        line.Member += bytes;
        line.Text += piece.Double ? " " + piece.Text + " " : piece.Text;
    }
    EXPECT_LE(line.Member.size(), length);
    line.Member.resize(length, '\x40');
    line.Text.resize(length, ' ');
    return line;
}

TOndrelConversion Pages(const std::string& host, const std::string& pc = {}, bool dated = false) {
    TOndrelConversion conversion;
    conversion.HostCodePage = host;
    conversion.PcCodePage = pc;
    conversion.Dated = dated;
    return conversion;
}

class Conversions : public ::testing::Test {
protected:
    std::string ToText(const std::string& member, const TOndrelConversion& conversion,
                       int status = OndrelOk) {
        Put(dir.File("M.MBR"), member);
        EXPECT_EQ(EBCDicToASCIIEx(dir.File("M.MBR"), dir.File("M.RP3"), conversion, nullptr),
                  status != OndrelBadData && status != OndrelBadMemberSize &&
                      status != OndrelBadCodePage);
        EXPECT_EQ(OndrelLastError(Message), status) << Message;
        return orvale::FileExists(dir.File("M.RP3")) ? Slurp(dir.File("M.RP3")) : "";
    }
    std::string ToMember(const std::string& text, const TOndrelConversion& conversion,
                         int status = OndrelOk) {
        Put(dir.File("T.RP3"), text);
        ASCIIToEBCDicEx(dir.File("T.RP3"), dir.File("T.MBR"), conversion, nullptr);
        EXPECT_EQ(OndrelLastError(Message), status) << Message;
        return orvale::FileExists(dir.File("T.MBR")) ? Slurp(dir.File("T.MBR")) : "";
    }
    std::string Message;
    TempDir dir;
};

struct MixedPage {
    const char* Host;
    const char* Pc; // empty: the usual one
    const char* PcText;
    const char* Words; // double-byte words of PcText's code page, by iconv from UTF-8
};

const MixedPage MixedPages[] = {
    {"IBM937", "", "BIG5", "中文註解"},        {"IBM-937", "BIG5", "BIG5", "客戶名稱"},
    {"IBM935", "", "GBK", "客户名称"},         {"IBM935", "GB18030", "GB18030", "中文注释"},
    {"IBM930", "", "CP932", "日本語コメント"}, {"939", "SHIFT_JIS", "SHIFT_JIS", "顧客名"},
    {"IBM933", "", "CP949", "한국어"},         {"IBM933", "EUC-KR", "EUC-KR", "고객명"},
};

} // namespace

TEST_F(Conversions, MixedMembersComeBackByteForByteWithTheirColumns) {
    for (const MixedPage& page : MixedPages) {
        SCOPED_TRACE(page.Host + std::string(" / ") + page.PcText);
        const std::string words = Iconv(page.PcText, "UTF-8", page.Words);
        const std::string blank = Iconv(page.PcText, "UTF-8", "\u3000");
        const std::vector<Line> lines = {
            MakeLine(page.Host, page.PcText, {{"     C* "}, {words, true}, {"END"}}),
            // A run in the first column, two runs apart by one blank, a double-byte blank.
            MakeLine(page.Host, page.PcText,
                     {{words, true}, {"X"}, {words + blank, true}, {" "}, {words, true}}),
            MakeLine(page.Host, page.PcText,
                     {{"     C                     MOVEL'"}, {words, true}, {"'     NAME"}}),
            MakeLine(page.Host, page.PcText, {{"     C*"}}),
        };
        // The last run closes in the record's last column.
        Line last = MakeLine(page.Host, page.PcText, {{words, true}}, 2 + words.size());
        std::string member, text, lastText = last.Text + "\r\n";
        for (const Line& line : lines) {
            member += line.Member;
            text += line.Text + "\r\n";
        }
        TOndrelConversion conversion = Pages(page.Host, page.Pc);
        EXPECT_EQ(ToText(member, conversion), text);
        EXPECT_EQ(ToMember(text, conversion), member);
        conversion.RecordLength = static_cast<int>(last.Member.size());
        EXPECT_EQ(ToText(last.Member, conversion), lastText);
        EXPECT_EQ(ToMember(lastText, conversion), last.Member);
    }
}

TEST_F(Conversions, DatedMixedMembersComeBackByteForByte) {
    const std::string words = Iconv("BIG5", "UTF-8", "客戶主檔");
    Line line = MakeLine("IBM937", "BIG5", {{"     F* "}, {words, true}, {"  CUSTMAST"}});
    const std::string zoned = "\xF0\xF0\xF1\xF2\xF0\xF3\xF9\xF9\xF1\xF2\xF3\xF1";
    const std::string member = zoned + line.Member + zoned + std::string(80, '\x40');
    const std::string text =
        "001203991231" + line.Text + "\r\n001203991231" + std::string(80, ' ') + "\r\n";
    EXPECT_EQ(ToText(member, Pages("IBM937", "", true)), text);
    EXPECT_EQ(ToMember(text, Pages("IBM937", "", true)), member);
}

TEST_F(Conversions, RunsWithoutBlanksAroundThemTakeShiftsAndMoveColumnsWithAWarning) {
    const std::string words = Iconv("BIG5", "UTF-8", "中文");
    const std::string host = Iconv("IBM937", "BIG5", words); // shift-out, 4 bytes, shift-in
    const TOndrelConversion conversion = Pages("IBM937");
    // Line 2 holds the run against its neighbours: X moves two columns to the right.
    std::string member = ToMember("     C*\r\nAB" + words + "X\r\n     C* " + words + "\r\n",
                                  conversion, OndrelColumnsMoved);
    ASSERT_EQ(member.size(), 240u);
    EXPECT_EQ(member.substr(80, 10), "\xC1\xC2" + host + "\xE7\x40");
    // A run at the end of a line closes in the blank column after it: nothing moves.
    EXPECT_EQ(member.substr(160, 13), "\x40\x40\x40\x40\x40\xC3\x5C" + host);
    EXPECT_NE(Message.find("T.RP3: line 2: a double-byte run"), std::string::npos) << Message;

    // Pushed past the record, a run is cut between two characters and still closed.
    TOndrelConversion narrow = conversion;
    narrow.RecordLength = 8;
    member = ToMember(std::string(4, 'A') + words + "\r\n", narrow, OndrelLinesCut);
    EXPECT_EQ(member, "\xC1\xC1\xC1\xC1" + host.substr(0, 3) + "\x0F");
    EXPECT_NE(Message.find("line 1 is longer than 8 characters"), std::string::npos) << Message;
    // With no room for a character and its shift-in, the run is left out.
    narrow.RecordLength = 7;
    EXPECT_EQ(ToMember(std::string(4, 'A') + words + "\r\n", narrow, OndrelLinesCut),
              "\xC1\xC1\xC1\xC1\x40\x40\x40");
    EXPECT_NE(Message.find("columns after it moved"), std::string::npos) << Message;
}

TEST_F(Conversions, InvalidDoubleByteDataIsRefusedNamingWhereAndKeepsTheOldTarget) {
    const TOndrelConversion conversion = Pages("IBM937");
    const std::string good(80, '\x40');
    struct Case {
        std::string Record;
        std::string Named;
    };
    const Case members[] = {
        {"\x40\x0E\x4C\x84\x4C\x0F" + std::string(74, '\x40'), "record 2, column 5: a double-byte "
                                                               "run of an odd number of bytes"},
        {"\x40\x40\x0E\x7F\xFE\x0F" + std::string(74, '\x40'),
         "record 2, column 4: bytes 7F FE are not a double-byte character of IBM937"},
        {std::string(77, '\x40') + "\x0E\x4C\x84",
         "record 2, column 78: a shift-out without a shift-in"},
        {std::string(79, '\x40') + "\x0E", "record 2, column 80: a shift-out without a"},
    };
    for (const Case& c : members) {
        Put(dir.File("M.RP3"), "previous text");
        EXPECT_EQ(ToText(good + c.Record, conversion, OndrelBadData), "previous text");
        EXPECT_NE(Message.find("M.MBR: " + c.Named), std::string::npos) << Message;
    }
    // Text that is not Big5: a lead byte without its second byte, a byte no character
    // begins with, a lead byte before a byte that cannot follow it.
    for (const auto& [text, named] :
         std::vector<std::pair<std::string, std::string>>{{"AB\xA4", "column 3: byte A4 "},
                                                          {"ABC\xFF\x41", "column 4: byte FF "},
                                                          {"A\xA4 B", "column 2: bytes A4 20 "}}) {
        EXPECT_EQ(ToMember("A\r\n" + text + "\r\n", conversion, OndrelBadData), "");
        EXPECT_NE(Message.find("T.RP3: line 2, " + named + "not text of BIG5"), std::string::npos)
            << Message;
    }
}

TEST_F(Conversions, UnknownOrUnfitCodePagesAreRefused) {
    const std::string member(80, '\xC1');
    for (const auto& [host, pc, named] : std::vector<std::array<std::string, 3>>{
             {"IBM999", "", "code page IBM999: not known"},
             {"IBM937", "NOSUCHPAGE", "PC code page NOSUCHPAGE: not known"},
             {"BIG5", "", "code page BIG5: not an EBCDIC code page"},
             {"IBM037", "UTF-16", "PC code page UTF-16: its blank"},
             {"", "BIG5", "the host's code page is not given"}}) {
        EXPECT_EQ(ToText(member, Pages(host, pc), OndrelBadCodePage), "");
        EXPECT_NE(Message.find(named), std::string::npos) << Message;
        std::string message;
        if (!host.empty()) {
            EXPECT_FALSE(OndrelCheckCodePages(host, pc, message));
            EXPECT_NE(message.find(named), std::string::npos) << message;
        }
    }
    std::string message;
    EXPECT_TRUE(OndrelCheckCodePages("IBM-930", "", message)) << message;
    std::string pc;
    for (const auto& [host, usual] :
         std::vector<std::pair<std::string, std::string>>{{"IBM930", "CP932"},
                                                          {"ibm-939", "CP932"},
                                                          {"937", "BIG5"},
                                                          {"CP935", "GBK"},
                                                          {"IBM933", "CP949"},
                                                          {"IBM037", "ISO-8859-1"}}) {
        OndrelDefaultPcCodePage(host, pc);
        EXPECT_EQ(pc, usual) << host;
    }
}

// Every single-byte character a host page shares with the PC's comes back as the same byte;
// the others become blanks, counted in the warning.
TEST_F(Conversions, SingleByteCharactersComeBackOrAreCountedAsBlanks) {
    for (const char* host : {"IBM037", "IBM280", "IBM937", "IBM930", "IBM939", "IBM933"}) {
        SCOPED_TRACE(host);
        std::string member;
        for (int byte = 0; byte < 256; ++byte)
            if (byte != 0x0E && byte != 0x0F)
                member += static_cast<char>(byte);
        member.resize(320, '\x40');
        const std::string text = ToText(member, Pages(host), OndrelCharactersLost);
        ASSERT_EQ(text.size(), 4u * 82);
        const size_t lost = std::stoul(Message.substr(Message.find("M.MBR: ") + 7));
        std::string back = ToMember(text, Pages(host));
        ASSERT_EQ(back.size(), member.size());
        size_t blanked = 0;
        for (size_t i = 0; i < member.size(); ++i) {
            if (back[i] != member[i]) {
                EXPECT_EQ(back[i], '\x40') << i;
                ++blanked;
            }
        }
        EXPECT_EQ(blanked, lost);
        // Capital A and digit 2 where they stand (the member leaves out 0x0E and 0x0F).
        EXPECT_EQ(text[82 * 2 + 0xC1 - 2 - 160], 'A');
        EXPECT_EQ(text[82 * 3 + 0xF2 - 2 - 240], '2');
    }
    // A character the other side lacks is named where it stands.
    std::string member = std::string(10, '\x40') + "\x4A" + std::string(69, '\x40');
    EXPECT_EQ(ToText(member, Pages("IBM937"), OndrelCharactersLost), std::string(80, ' ') + "\r\n");
    EXPECT_NE(Message.find("1 character has no counterpart in BIG5 and became a blank "
                           "(record 1, column 11)"),
              std::string::npos)
        << Message;
    EXPECT_EQ(ToMember("AB\tC\r\n", Pages("IBM937"), OndrelCharactersLost).substr(0, 4),
              "\xC1\xC2\x40\xC3");
    EXPECT_NE(Message.find("(line 1, column 3)"), std::string::npos) << Message;
}

TEST_F(Conversions, DatedRecordsBecomeLinesBeginningWithTheirTwelveDigits) {
    TempDir tables;
    std::string error;
    ASSERT_TRUE(ondrel::WriteCodePageTables("IBM037", tables.Path(), error)) << error;
    TOndrelConversion toText, toMember;
    toText.Dated = toMember.Dated = true;
    toText.TableFile = tables.File("AStoPC.xlt");
    toMember.TableFile = tables.File("PCtoAS.xlt");

    const std::string line1 = "000100980312     H";
    const std::string line2 = "000101000000     C           A         ADD  B         C";
    const std::string text = line1 + std::string(92 - line1.size(), ' ') + "\r\n" + line2 +
                             std::string(92 - line2.size(), ' ') + "\r\n";
    const std::string member = ToMember(line1 + "\n" + line2 + "\n", toMember);
    ASSERT_EQ(member.size(), 184u);
    EXPECT_EQ(member.substr(0, 13), "\xF0\xF0\xF0\xF1\xF0\xF0\xF9\xF8\xF0\xF3\xF1\xF2\x40");
    EXPECT_EQ(member.substr(92, 12), "\xF0\xF0\xF0\xF1\xF0\xF1\xF0\xF0\xF0\xF0\xF0\xF0");
    EXPECT_EQ(ToText(member, toText), text);
    EXPECT_EQ(ToMember(text, toMember), member);

    // Twelve bytes that are not digits are kept as text, with a warning naming the record,
    // and come back as they were, with a warning naming the line.
    const std::string odd = member + "\x40\x40\xC1\xC2" + std::string(88, '\x40');
    const std::string oddText = ToText(odd, toText, OndrelBadSequence);
    EXPECT_EQ(oddText.substr(188), "  AB" + std::string(88, ' ') + "\r\n");
    EXPECT_NE(Message.find("M.MBR: record 3 does not begin with a sequence number"),
              std::string::npos)
        << Message;
    EXPECT_EQ(ToMember(oddText, toMember, OndrelBadSequence), odd);
    EXPECT_NE(Message.find("T.RP3: line 3 does not begin with the 12 digits"), std::string::npos)
        << Message;
    // An empty line becomes a record of blanks.
    EXPECT_EQ(ToMember("\r\n", toMember, OndrelBadSequence), std::string(92, '\x40'));

    // A member that is not a whole number of dated records is refused.
    EXPECT_EQ(ToText(member + std::string(80, '\x40'), toText, OndrelBadMemberSize), oddText);
    EXPECT_NE(Message.find("264 bytes are not a whole number of dated records of 92 bytes"),
              std::string::npos)
        << Message;
    // Longer records keep longer lines; the columns after the digits are counted.
    toMember.RecordLength = toText.RecordLength = 100;
    const std::string wide = "000100980312" + std::string(99, 'A') + "B";
    EXPECT_EQ(ToText(ToMember(wide + "\r\n", toMember), toText), wide + "\r\n");
    toMember.RecordLength = 99;
    EXPECT_EQ(ToMember(wide + "\r\n", toMember, OndrelLinesCut).size(), 111u);
    EXPECT_NE(Message.find("longer than the 12 digits and 99 characters"), std::string::npos)
        << Message;
}

// Real dated members: text to host and back keeps every line, numbers and dates included.
TEST(ConversionsCorpus, DatedMembersSurviveTheRoundTripThroughTheHostForm) {
    const std::string folder = ORVALE_CORPUS_DIR "-dated";
    if (!std::filesystem::is_directory(folder))
        GTEST_SKIP() << "no corpus at " << folder;
    TempDir dir;
    int members = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".RP3")
            continue;
        const std::string path = entry.path().string();
        StringList original, back;
        ASSERT_TRUE(orvale::ReadTextFile(path, original));
        size_t length = 92;
        for (const std::string& line : original)
            length = std::max(length, line.find_last_not_of(' ') + 1);
        length -= 12;
        TOndrelConversion conversion = Pages("IBM280", "", true);
        conversion.RecordLength = static_cast<int>(length);
        ASCIIToEBCDicEx(path, dir.File("C.MBR"), conversion, nullptr);
        std::string message;
        ASSERT_EQ(OndrelLastError(message), OndrelOk) << message;
        ASSERT_EQ(std::filesystem::file_size(dir.File("C.MBR")), original.size() * (length + 12));
        ASSERT_TRUE(EBCDicToASCIIEx(dir.File("C.MBR"), dir.File("C.RP3"), conversion, nullptr));
        ASSERT_EQ(OndrelLastError(message), OndrelOk) << message;
        ASSERT_TRUE(orvale::ReadTextFile(dir.File("C.RP3"), back));
        ASSERT_EQ(back.size(), original.size()) << path;
        for (size_t i = 0; i < original.size(); ++i) {
            std::string expected = original[i];
            expected.resize(length + 12, ' ');
            ASSERT_EQ(back[i], expected) << path << " line " << i + 1;
        }
        ++members;
    }
    EXPECT_GT(members, 100);
}

// Real Big5 members, some with runs whose blanks were lost on the way to the PC: once on the
// host, they convert to text and back unchanged.
TEST(ConversionsCorpus, DoubleByteMembersAreStableOnceOnTheHost) {
    const std::string folder = ORVALE_CORPUS_DIR "-dbcs";
    if (!std::filesystem::is_directory(folder))
        GTEST_SKIP() << "no corpus at " << folder;
    TempDir dir;
    int members = 0;
    const TOndrelConversion conversion = Pages("IBM937");
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".RP3")
            continue;
        const std::string path = entry.path().string();
        std::string message;
        ASCIIToEBCDicEx(path, dir.File("A.MBR"), conversion, nullptr);
        ASSERT_TRUE(OndrelWritten(OndrelLastError(message))) << message;
        ASSERT_TRUE(EBCDicToASCIIEx(dir.File("A.MBR"), dir.File("A.RP3"), conversion, nullptr));
        ASSERT_EQ(OndrelLastError(message), OndrelOk) << message;
        ASCIIToEBCDicEx(dir.File("A.RP3"), dir.File("B.MBR"), conversion, nullptr);
        ASSERT_EQ(OndrelLastError(message), OndrelOk) << message;
        ASSERT_EQ(Slurp(dir.File("B.MBR")), Slurp(dir.File("A.MBR"))) << path;
        ++members;
    }
    EXPECT_EQ(members, 60);
}

namespace {
int Calls = 0;
void CancelAtTheSecondCall() {
    if (++Calls == 2)
        OndrelCancelOp();
}
} // namespace

TEST_F(Conversions, CancelAndBadArgumentsWriteNoTarget) {
    Put(dir.File("M.RP3"), "previous");
    Put(dir.File("M.MBR"), std::string(92 * 3, '\xF0'));
    EXPECT_TRUE(EBCDicToASCIIEx(dir.File("M.MBR"), dir.File("M.RP3"), Pages("IBM037", "", true),
                                CancelAtTheSecondCall));
    EXPECT_EQ(OndrelLastError(Message), OndrelCancelled);
    EXPECT_EQ(Slurp(dir.File("M.RP3")), "previous");
    Put(dir.File("T.RP3"), "A\r\nB\r\n");
    Calls = 0;
    ASCIIToEBCDicEx(dir.File("T.RP3"), dir.File("T.MBR"), Pages("IBM937"), CancelAtTheSecondCall);
    EXPECT_EQ(OndrelLastError(Message), OndrelCancelled);
    EXPECT_FALSE(std::filesystem::exists(dir.File("T.MBR")));

    EXPECT_FALSE(
        EBCDicToASCIIEx(dir.File("none.MBR"), dir.File("M.RP3"), Pages("IBM937"), nullptr));
    EXPECT_EQ(OndrelLastError(Message), OndrelSourceMissing);
    EXPECT_NE(Message.find("none.MBR"), std::string::npos) << Message;
    TOndrelConversion wide = Pages("IBM937", "", true);
    wide.RecordLength = 256;
    ASCIIToEBCDicEx(dir.File("T.RP3"), dir.File("T.MBR"), wide, nullptr);
    EXPECT_EQ(OndrelLastError(Message), OndrelBadRecordLength);
    EXPECT_FALSE(std::filesystem::exists(dir.File("T.MBR")));
    EXPECT_EQ(Slurp(dir.File("M.RP3")), "previous");
}
