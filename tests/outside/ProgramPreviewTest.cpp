#include "outside/ProgramPreview.h"
#include "platform/TextFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace verrow;

namespace {

// A program file with a folder block before the description, the way the document writes it.
StringList ProgramText(const StringList& description) {
    StringList lines = {"[Begin Of Tree Program]",
                        "[2]",
                        "[Property]",
                        "[Program's Propertys]",
                        "[01/02/2024]",
                        "[01/02/2024]",
                        "[1]",
                        "Owner=ANN",
                        "[End Of Sec]",
                        "",
                        "[8]",
                        "[SectionFolder]",
                        "[Sub Routines]",
                        "[Folder]",
                        "[0]",
                        "",
                        "[3]",
                        "[Description]",
                        "[Program's Description]",
                        "[01/02/2024]",
                        "[01/02/2024]",
                        "[" + std::to_string(description.size()) + "]"};
    lines.insert(lines.end(), description.begin(), description.end());
    lines.insert(lines.end(), {"[End Of Sec]", "", "[End Of Program]"});
    return lines;
}

} // namespace

TEST(ProgramPreview, FindsTheDescriptionSection) {
    TProgramDescription description;
    std::string error;
    ASSERT_TRUE(ParseProgramDescription(ProgramText({"Prints the [customer] list", ""}),
                                        description, &error))
        << error;
    EXPECT_EQ(description.Caption, "Program's Description");
    EXPECT_EQ(description.Lines, (StringList{"Prints the [customer] list", ""}));

    ASSERT_TRUE(ParseProgramDescription(ProgramText({}), description));
    EXPECT_TRUE(description.Lines.empty());

    // Read as the program reads it: a text line that reads like the end marker is text where
    // the block's count says so.
    ASSERT_TRUE(
        ParseProgramDescription(ProgramText({"before", "[End Of Sec]", "after"}), description));
    EXPECT_EQ(description.Lines, (StringList{"before", "[End Of Sec]", "after"}));
}

TEST(ProgramPreview, RefusesWhatIsNotAReadableProgram) {
    TProgramDescription description;
    std::string error;
    EXPECT_FALSE(ParseProgramDescription({}, description, &error));
    EXPECT_EQ(error, "Not a tree program.");
    EXPECT_FALSE(ParseProgramDescription({"     H* an RPG source"}, description, &error));

    StringList noDescription = ProgramText({"x"});
    noDescription[17] = "[Header]";
    EXPECT_FALSE(ParseProgramDescription(noDescription, description, &error));
    EXPECT_EQ(error, "The program has no Description section.");

    StringList damaged = ProgramText({"x"});
    damaged[10] = "[eight]";
    EXPECT_FALSE(ParseProgramDescription(damaged, description, &error));
    EXPECT_EQ(error, "The program file is damaged.");

    // A file cut short inside the section keeps what is there.
    StringList cut = ProgramText({"first", "second"});
    cut.resize(cut.size() - 4);
    ASSERT_TRUE(ParseProgramDescription(cut, description));
    EXPECT_EQ(description.Lines, StringList{"first"});
}

TEST(ProgramPreview, ListsProgramFilesOfAFolder) {
    orvale::test::TempDir dir;
    for (const char* name : {"B.RPG", "a.rpg", "C.RP3", "B.~RP", "D.TXT"})
        ASSERT_TRUE(orvale::WriteTextFile(dir.File(name), {"x"}));
    std::filesystem::create_directory(dir.File("E.RPG"));
    EXPECT_EQ(ListProgramFiles(dir.Path()), (StringList{dir.File("B.RPG"), dir.File("a.rpg")}));
    EXPECT_TRUE(ListProgramFiles(dir.File("missing")).empty());

    TProgramDescription description;
    std::string error;
    EXPECT_FALSE(ReadProgramDescription(dir.File("missing.RPG"), description, &error));
    EXPECT_NE(error.find("missing.RPG"), std::string::npos);
}
