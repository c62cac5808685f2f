#include "frame/HelpIndex.h"
#include "platform/TextFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using orvale::test::TempDir;

TEST(HelpTopic, EndCodesShareOneTopicOthersTakeTheResolvedCode) {
    EXPECT_EQ(OpCodeHelpTopic("ENDIF", "ENDIF"), "Endyy");
    EXPECT_EQ(OpCodeHelpTopic("endsr", "endsr"), "Endyy");
    EXPECT_EQ(OpCodeHelpTopic("End", "End"), "Endyy");
    EXPECT_EQ(OpCodeHelpTopic("ifeq", "ifxx"), "ifxx");
    EXPECT_EQ(OpCodeHelpTopic("ADD", "ADD"), "ADD");
    EXPECT_EQ(OpCodeHelpKeyword("Endyy"), "IDH_OpCod_ENDYY");
    EXPECT_EQ(OpCodeHelpKeyword("ifxx"), "IDH_OpCod_IFXX");
    EXPECT_TRUE(THelpIndex::IsOpCodeKeyword("idh_opcod_ADD"));
    EXPECT_FALSE(THelpIndex::IsOpCodeKeyword("IDH_RPGOpCodes"));
}

TEST(HelpIndex, FindsPagesAndAnchorsOfKeywords) {
    TempDir dir;
    std::string file = HelpFilePath(dir.Path());
    EXPECT_EQ(file, dir.Path() + "/Help/Orvale.hlp");

    THelpIndex index;
    std::string error;
    EXPECT_FALSE(index.Load(file, &error));
    EXPECT_NE(error.find(file), std::string::npos);
    THelpTarget target;
    EXPECT_FALSE(index.Find("IDH_RPGOpCodes", target));

    std::filesystem::create_directories(dir.File("Help"));
    ASSERT_TRUE(
        orvale::WriteTextFile(file, {"[Keywords]", "IDH_RPGOpCodes=rpg-opcodes.html#IDH_RPGOpCodes",
                                     "IDH_OpCod_ADD = opcodes/ADD.html", "IDH_Empty="}));
    ASSERT_TRUE(index.Load(file, &error)) << error;
    ASSERT_TRUE(index.Find("idh_rpgopcodes", target));
    EXPECT_EQ(target.Page, dir.Path() + "/Help/rpg-opcodes.html");
    EXPECT_EQ(target.Anchor, "IDH_RPGOpCodes");
    ASSERT_TRUE(index.Find("IDH_OpCod_ADD", target));
    EXPECT_EQ(target.Page, dir.Path() + "/Help/opcodes/ADD.html");
    EXPECT_EQ(target.Anchor, "");
    EXPECT_FALSE(index.Find("IDH_Empty", target));
    EXPECT_FALSE(index.Find("IDH_OpCod_NONE", target));
    // Without a contents entry the first page is index.html.
    EXPECT_EQ(index.Contents().Page, dir.Path() + "/Help/index.html");
}
