#include "frame/HelpPages.h"
#include "calvex/OpCodeTable.h"
#include "calvex/SpecKeywordTable.h"
#include "frame/HelpGuide.h"
#include "frame/HelpIndex.h"
#include "platform/ProfileFile.h"
#include "platform/TextFile.h"
#include "support/TempDir.h"
#include "tessary/PromptHelp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

using orvale::test::TempDir;

namespace {

std::string ReadAll(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(orvale::ReadFileBytes(path, bytes)) << path;
    return bytes;
}

// Operation codes of the conversion library's table.
StringList TableOpCodes() {
    StringList table, codes;
    calvex::LoadOpCodeTable(table);
    for (const std::string& entry : table)
        codes.push_back(entry.substr(0, entry.find('=')));
    return codes;
}

class ShippedHelpTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Dir = new TempDir;
        std::string error;
        ASSERT_TRUE(
            WriteHelpPages(DataDir + "/PromptH.PRM", Dir->Path(), &error, DataDir + "/PromptS.PRM"))
            << error;
        ASSERT_TRUE(Index.Load(Dir->Path() + "/Orvale.hlp", &error)) << error;
    }
    static void TearDownTestSuite() { delete Dir; }

    // The keyword of F1 on Word; the page it names exists and holds the anchor.
    static std::string LandOnAPage(const std::string& word) {
        std::string keyword =
            OpCodeHelpKeyword(OpCodeHelpTopic(word, tessary::OpCodeSymple(DataDir, word)));
        THelpTarget target;
        if (!Index.Find(keyword, target)) {
            ADD_FAILURE() << word << " -> " << keyword << " has no page";
            return keyword;
        }
        EXPECT_NE(ReadAll(target.Page).find("<a name=\"" + target.Anchor + "\">"),
                  std::string::npos)
            << word << " -> " << target.Page << "#" << target.Anchor;
        return keyword;
    }

    static inline const std::string DataDir = ORVALE_SOURCE_DIR "/data";
    static inline TempDir* Dir = nullptr;
    static inline THelpIndex Index;
};

} // namespace

TEST_F(ShippedHelpTest, EveryOperationCodeOfTheTableLandsOnARealPage) {
    for (const std::string& code : TableOpCodes()) {
        std::string keyword = LandOnAPage(code);
        if (code.starts_with("END")) {
            EXPECT_EQ(keyword, "IDH_OpCod_ENDYY") << code;
        }
    }
}

TEST_F(ShippedHelpTest, TopicsOfTheEditor) {
    EXPECT_EQ(LandOnAPage("ifeq"), "IDH_OpCod_IFXX");
    EXPECT_EQ(LandOnAPage("Begsr"), "IDH_OpCod_BEGSR");
    EXPECT_EQ(LandOnAPage("Z-ADD"), "IDH_OpCod_Z-ADD");
    for (const char* keyword : {"IDH_RPGOpCodes", "IDH_OrvaleOpCodes"}) {
        THelpTarget target;
        ASSERT_TRUE(Index.Find(keyword, target)) << keyword;
        EXPECT_NE(ReadAll(target.Page).find(std::string("<a name=\"") + keyword),
                  std::string::npos);
    }
    EXPECT_TRUE(std::filesystem::exists(Index.Contents().Page));
}

TEST_F(ShippedHelpTest, OverviewAndGroupPagesListTheirCodes) {
    std::string rpg = ReadAll(Dir->Path() + "/rpg-opcodes.html");
    EXPECT_NE(rpg.find("href=\"opcodes/CHAIN.html\""), std::string::npos);
    EXPECT_NE(rpg.find("href=\"opcodes/IFXX.html\""), std::string::npos);
    EXPECT_EQ(rpg.find("href=\"opcodes/DEFOPCODE.html\""), std::string::npos);

    std::string ifxx = ReadAll(Dir->Path() + "/opcodes/IFXX.html");
    EXPECT_NE(ifxx.find("IFEQ, IFNE, IFLT, IFLE, IFGT, IFGE"), std::string::npos);

    std::string end = ReadAll(Dir->Path() + "/opcodes/ENDYY.html");
    for (const char* code : {"ENDIF", "ENDDO", "ENDSL", "ENDSR", "ENDCS"})
        EXPECT_NE(end.find(std::string("<a name=\"") + code + "\">"), std::string::npos) << code;
}

TEST_F(ShippedHelpTest, EveryStatementOfTheTableHasAPage) {
    std::string overview = ReadAll(Dir->Path() + "/statements.html");
    for (const calvex::KeywordEntry& entry : calvex::SpecKeywordTable::Instance().Entries()) {
        THelpTarget target;
        ASSERT_TRUE(Index.Find(StatementHelpKeyword(entry.Name), target)) << entry.Name;
        std::string page = ReadAll(target.Page);
        EXPECT_NE(page.find("<a name=\"" + target.Anchor + "\">"), std::string::npos);
        EXPECT_NE(overview.find("href=\"" + StatementPageName(entry.Name) + "\""),
                  std::string::npos)
            << entry.Name;
    }
    std::string file = ReadAll(Dir->Path() + "/statements/FILE.html");
    EXPECT_NE(file.find("<td>File Name</td><td>7-14</td><td>8</td>"), std::string::npos);
}

TEST_F(ShippedHelpTest, TheGuideIsOnTheContentsPageAndReadsThrough) {
    std::string contents = ReadAll(Index.Contents().Page);
    ASSERT_GE(GuideTopics().size(), 7u);
    for (const THelpTopic& topic : GuideTopics()) {
        EXPECT_NE(contents.find("href=\"" + topic.Page + "\""), std::string::npos) << topic.Page;
        THelpTarget target;
        ASSERT_TRUE(Index.Find(topic.Keyword, target)) << topic.Keyword;
        EXPECT_EQ(target.Page, Dir->Path() + "/" + topic.Page);
    }
    for (const char* words : {"F4", "F8", "Export To AS/400", "Open Library", "Ctrl+Shift+F",
                              "Where Used", "Compare With", "Options &gt; Editor"}) {
        bool said = false;
        for (const THelpTopic& topic : GuideTopics())
            said = said || ReadAll(Dir->Path() + "/" + topic.Page).find(words) != std::string::npos;
        EXPECT_TRUE(said) << words;
    }
}

TEST_F(ShippedHelpTest, NoLinkOfAPageLeadsNowhere) {
    namespace fs = std::filesystem;
    const std::regex href("href=\"([^\"#]*)(#[^\"]*)?\"");
    int links = 0;
    for (const auto& file : fs::recursive_directory_iterator(Dir->Path())) {
        if (file.path().extension() != ".html")
            continue;
        std::string page = ReadAll(file.path().string());
        for (std::sregex_iterator it(page.begin(), page.end(), href), end; it != end; ++it) {
            fs::path target = file.path().parent_path() / (*it)[1].str();
            EXPECT_TRUE(fs::exists(target)) << file.path() << " -> " << (*it)[1].str();
            ++links;
        }
    }
    EXPECT_GT(links, 500);
}

TEST(HelpPages, EntriesComeFromTheParameterFileInItsOrder) {
    orvale::ProfileFile prm;
    prm.SetText("[ParamName]\n"
                "MOVE=Source;Target\n"
                "CABxx=F1;F2;Label\n"
                "move=Second entry, never read\n"
                "END=\n"
                "[ParamLeng]\nMOVE=10;6\n"
                "[ParamNote]\nMOVE=From;To\n"
                "[OpCodeDesc]\nMOVE=Move right <aligned> & \xE8 done\n");
    std::vector<THelpOpCode> ops = ReadHelpOpCodes(prm);
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_EQ(ops[0].Code, "MOVE");
    EXPECT_EQ(ops[0].Names, (StringList{"Source", "Target"}));
    EXPECT_EQ(ops[0].Lengths, (StringList{"10", "6"}));
    EXPECT_EQ(ops[1].Code, "CABxx");
    EXPECT_TRUE(ops[2].Names.empty());

    std::vector<THelpPage> pages = BuildHelpPages(ops);
    auto page = [&](const std::string& name) {
        for (const THelpPage& p : pages)
            if (p.FileName == name)
                return p.Text;
        ADD_FAILURE() << name << " missing";
        return std::string();
    };
    std::string move = page("opcodes/MOVE.html");
    EXPECT_NE(move.find("<code>MOVE(Source, Target)</code>"), std::string::npos);
    EXPECT_NE(move.find("Move right &lt;aligned&gt; &amp; &#232; done"), std::string::npos);
    EXPECT_NE(page("opcodes/END.html").find("takes no parameters"), std::string::npos);
    std::string index = page("Orvale.hlp");
    EXPECT_NE(index.find("IDH_OpCod_CABXX=opcodes/CABXX.html#IDH_OpCod_CABXX"), std::string::npos);
    EXPECT_NE(index.find("IDH_OpCod_ENDYY=opcodes/ENDYY.html#IDH_OpCod_ENDYY"), std::string::npos);
    // Every page is plain ASCII.
    for (const THelpPage& p : pages)
        for (char c : p.Text)
            ASSERT_LT(static_cast<unsigned char>(c), 128) << p.FileName;
}

TEST(HelpPages, PageNamesAreSafeFileNames) {
    EXPECT_EQ(OpCodePageName("ifxx"), "opcodes/IFXX.html");
    EXPECT_EQ(OpCodePageName("Z-ADD"), "opcodes/Z-ADD.html");
    EXPECT_EQ(OpCodePageName("../A B"), "opcodes/_2E_2E_2FA_20B.html");
}

TEST(HelpPages, UnusableParameterFileIsAnError) {
    TempDir dir;
    std::string error;
    EXPECT_FALSE(WriteHelpPages(dir.File("missing.PRM"), dir.File("Help"), &error));
    EXPECT_FALSE(error.empty());
    ASSERT_TRUE(orvale::WriteTextFile(dir.File("empty.PRM"), {"[ParamLeng]", "ADD=1"}));
    EXPECT_FALSE(WriteHelpPages(dir.File("empty.PRM"), dir.File("Help"), &error));
    EXPECT_NE(error.find("ParamName"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.File("Help/Orvale.hlp")));
}
