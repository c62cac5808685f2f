#include "document/EditSection.h"
#include "platform/Prompter.h"
#include "platform/RegionalSettings.h"

#include <gtest/gtest.h>

using orvale::DateTime;
using orvale::Prompter;
using orvale::RegionalSettings;
using orvale::ScriptedPrompter;

namespace {

class EditSectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        Saved = RegionalSettings::Current();
        RegionalSettings::SetCurrent(RegionalSettings("%d/%m/%Y", "%H:%M:%S"));
    }
    void TearDown() override { RegionalSettings::SetCurrent(Saved); }

    int CorruptWarnings() const {
        int n = 0;
        for (const auto& m : Box.Messages)
            if (m.BoxKind == Prompter::Kind::Warning && m.Text == kCorruptedFileWarning &&
                m.BoxButtons == Prompter::Buttons::Ok)
                ++n;
        return n;
    }

    RegionalSettings Saved = RegionalSettings("%d/%m/%Y", "%H:%M:%S");
    ScriptedPrompter Box;
};

TEST_F(EditSectionTest, LineEditsInvalidateTheCacheButKeepIt) {
    TEDITSection s("CALC", "Compute");
    s.AssignCompiled({"     C* x"});
    s.CompiledValid = true;
    s.AddLine("a");
    EXPECT_FALSE(s.CompiledValid);
    EXPECT_EQ(s.CompiledCount(), 1u);
    s.AddLine("b");
    s.AddLine("c");
    s.ReplaceLine(0, "S");
    EXPECT_EQ(s.LineTexts(), (StringList{"b", "c", "S"}));
    s.DeleteLine(1);
    EXPECT_EQ(s.LineTexts(), (StringList{"b", "S"}));
    EXPECT_FALSE(s.Properties.Modified);
}

TEST_F(EditSectionTest, SetLinesIsTheCommitOfAnEdit) {
    TEDITSection s("CALC", "");
    s.AssignLines({"A"});
    s.AssignCompiled({"x"});
    s.CompiledValid = true;
    s.Properties.LastUpdate = DateTime{2000, 1, 1, 0, 0, 0};
    s.SetLines({"B"});
    EXPECT_EQ(s.PrevLines, (StringList{"A"}));
    EXPECT_EQ(s.LineTexts(), (StringList{"B"}));
    EXPECT_TRUE(s.Properties.Modified);
    EXPECT_GT(s.Properties.LastUpdate, (DateTime{2000, 1, 1, 0, 0, 0}));
    EXPECT_FALSE(s.CompiledValid);
    EXPECT_TRUE(s.CompiledTexts().empty());

    s.SetKeepPrevious(false);
    EXPECT_TRUE(s.PrevLines.empty());
    s.SetLines({"C"});
    EXPECT_TRUE(s.PrevLines.empty());
}

TEST_F(EditSectionTest, FindTextInDefinitionMode) {
    TEDITSection s("S", "");
    int line = -1, column = -1;
    auto find = [&](std::string text) {
        s.AssignLines({std::move(text)});
        return s.FindText("01", true, true, line, column);
    };
    EXPECT_TRUE(find("N01"));
    EXPECT_EQ(column, 2);
    EXPECT_TRUE(find("X(01)"));
    EXPECT_FALSE(find("A01"));
    EXPECT_FALSE(find("ADD(X 01)"));
    EXPECT_FALSE(find("X /* 01"));
    EXPECT_FALSE(find("RECORD(X,01)"));
    EXPECT_FALSE(find("X 012"));
    EXPECT_TRUE(find("X 01"));
    // Only the first occurrence of each line is judged.
    EXPECT_FALSE(find("A01 01"));
    // Without definition mode any occurrence counts.
    s.AssignLines({"ADD(X 01)"});
    EXPECT_TRUE(s.FindText("01", true, false, line, column));
    EXPECT_EQ(column, 7);
}

TEST_F(EditSectionTest, FindTextIgnoringCaseAndLeavingOutputsAloneWhenNotFound) {
    TEDITSection s("S", "");
    s.AssignLines({"Z-add(1,X)", "BEGSR(A)"});
    int line = -1, column = -1;
    EXPECT_TRUE(s.FindText("begsr", false, false, line, column));
    EXPECT_EQ(line, 1);
    EXPECT_EQ(column, 1);
    line = column = 42;
    EXPECT_FALSE(s.FindText("begsr", true, false, line, column));
    EXPECT_FALSE(s.FindText("", false, false, line, column));
    EXPECT_EQ(line, 42);
    EXPECT_EQ(column, 42);
}

TEST_F(EditSectionTest, BlockWrittenAndReadBack) {
    TEDITSection s("CALC", "Compute the totals");
    s.Properties.CreatedOn = DateTime{1999, 12, 6, 10, 16, 2};
    s.Properties.LastUpdate = DateTime{1999, 12, 6, 10, 16, 2};
    s.AssignLines({"                Begsr(CALC)", "", "                Endsr()"});
    StringList file{"[Begin Of Tree Program]", "[9]"};
    s.WriteToLines(file);
    EXPECT_EQ(file, (StringList{"[Begin Of Tree Program]", "[9]", "[CALC]", "[Compute the totals]",
                                "[06/12/1999 10:16:02]", "[06/12/1999 10:16:02]", "[3]",
                                "                Begsr(CALC)", "", "                Endsr()",
                                "[End Of Sec]", ""}));
    EXPECT_EQ(s.SaveLineIndex, 6);

    TEDITSection r("CALC", "");
    r.AssignCompiled({"stale"});
    EXPECT_EQ(r.ReadFromLines(file, 3, Box), 12);
    EXPECT_EQ(r.LineTexts(), s.LineTexts());
    EXPECT_EQ(r.Properties.Description, "Compute the totals");
    EXPECT_EQ(r.Properties.CreatedOn, s.Properties.CreatedOn);
    EXPECT_EQ(r.OpenLineIndex, 6);
    EXPECT_TRUE(r.CompiledTexts().empty());
    EXPECT_TRUE(Box.Messages.empty());
}

TEST_F(EditSectionTest, ABadDateKeepsItsConstructionValueAndWarns) {
    TEDITSection r("X", "");
    DateTime built = r.Properties.CreatedOn;
    StringList file{"[d]", "[not a date]", "[06/12/1999 10:16:02]", "[0]", "[End Of Sec]", ""};
    EXPECT_EQ(r.ReadFromLines(file, 0, Box), 6);
    EXPECT_EQ(r.Properties.CreatedOn, built);
    EXPECT_EQ(CorruptWarnings(), 1);
}

TEST_F(EditSectionTest, ACountThatDoesNotMatchWarnsAndKeepsTheLines) {
    TEDITSection r("X", "");
    StringList file{"[d]", "[06/12/1999]", "[06/12/1999]", "[3]", "a", "[End Of Sec]", ""};
    EXPECT_EQ(r.ReadFromLines(file, 0, Box), 7);
    EXPECT_EQ(r.LineTexts(), (StringList{"a"}));
    EXPECT_EQ(CorruptWarnings(), 1);
    // A missing end marker reads to the end of the text.
    TEDITSection t("Y", "");
    StringList cut{"[d]", "[06/12/1999]", "[06/12/1999]", "[1]", "a"};
    EXPECT_EQ(t.ReadFromLines(cut, 0, Box), 7);
    EXPECT_EQ(t.LineTexts(), (StringList{"a"}));
}

TEST_F(EditSectionTest, CompiledBlockReadsOrIsDroppedWhole) {
    TEDITSection s("Header", "");
    StringList area{"[2]", "     H", "     H*", "[End Of Sec]", "", "[Next]"};
    EXPECT_EQ(s.ReadCompiledFromLines(area, 0, Box), 5);
    EXPECT_TRUE(s.CompiledValid);
    EXPECT_EQ(s.CompiledTexts(), (StringList{"     H", "     H*"}));

    TEDITSection bad("Header", "");
    StringList wrong{"[3]", "     H", "[End Of Sec]", ""};
    EXPECT_EQ(bad.ReadCompiledFromLines(wrong, 0, Box), -1);
    EXPECT_TRUE(bad.CompiledTexts().empty());
    EXPECT_FALSE(bad.CompiledValid);
    EXPECT_EQ(CorruptWarnings(), 1);
}

// Taking a block reads what reading it gives and moves only the block's own lines out of the
// file text: the markers around them stay for the reader of the next block.
TEST_F(EditSectionTest, TakingABlockReadsItAsReadingDoes) {
    StringList file{"[d]",
                    "[06/12/1999 10:16:02]",
                    "[06/12/1999 10:16:02]",
                    "[2]",
                    "                Begsr(CALC)",
                    "x",
                    "[End Of Sec]",
                    "",
                    "[2]",
                    "     C*",
                    "     C",
                    "[End Of Sec]",
                    ""};
    StringList copy = file;
    TEDITSection read("CALC", ""), taken("CALC", "");
    EXPECT_EQ(taken.TakeFromLines(file, 0, Box), read.ReadFromLines(copy, 0, Box));
    EXPECT_EQ(taken.LineTexts(), read.LineTexts());
    EXPECT_EQ(taken.Properties.CreatedOn, read.Properties.CreatedOn);
    EXPECT_EQ(taken.TakeCompiledFromLines(file, 8, Box), read.ReadCompiledFromLines(copy, 8, Box));
    EXPECT_EQ(taken.CompiledTexts(), read.CompiledTexts());
    EXPECT_TRUE(taken.CompiledValid);
    EXPECT_EQ(copy, (StringList{"[d]", "[06/12/1999 10:16:02]", "[06/12/1999 10:16:02]", "[2]",
                                "                Begsr(CALC)", "x", "[End Of Sec]", "", "[2]",
                                "     C*", "     C", "[End Of Sec]", ""}));
    EXPECT_EQ(file, (StringList{"[d]", "[06/12/1999 10:16:02]", "[06/12/1999 10:16:02]", "[2]", "",
                                "", "[End Of Sec]", "", "[2]", "", "", "[End Of Sec]", ""}));
    EXPECT_TRUE(Box.Messages.empty());
}

TEST_F(EditSectionTest, RestorePoints) {
    TEDITSection s("CALC", "");
    s.SetLines({"A"});
    s.SetLines({"B"});
    StringList editor{"edited"};
    StringList none;
    s.Restore(none, editor, RestoreKind::PreviousUpdate, Box);
    EXPECT_EQ(editor, (StringList{"A"}));
    s.Restore(none, editor, RestoreKind::LastUpdate, Box);
    EXPECT_EQ(editor, (StringList{"B"}));

    // Never read from a file: the last-open point leaves the editor alone but still drops
    // the compiled lines.
    s.AssignCompiled({"x"});
    s.CompiledValid = true;
    editor = {"edited"};
    s.Restore(none, editor, RestoreKind::LastOpen, Box);
    EXPECT_EQ(editor, (StringList{"edited"}));
    EXPECT_TRUE(s.CompiledTexts().empty());
    EXPECT_FALSE(s.CompiledValid);

    StringList saved{"[x]", "[2]", "one", "two", "[End Of Sec]", ""};
    s.SaveLineIndex = 1;
    s.Restore(saved, editor, RestoreKind::LastSave, Box);
    EXPECT_EQ(editor, (StringList{"one", "two"}));
    EXPECT_TRUE(Box.Messages.empty());
}

TEST(BracketLines, ValueDropsFirstAndLastCharacterWhateverTheyAre) {
    EXPECT_EQ(BracketValue("[a]b]"), "a]b");
    EXPECT_EQ(BracketValue("xyz"), "y");
    EXPECT_EQ(BracketValue("[]"), "");
    EXPECT_EQ(BracketNumber("[12]"), 12);
    EXPECT_EQ(BracketNumber("[1a]"), -1);
    EXPECT_EQ(BracketNumber("[]"), -1);
    EXPECT_EQ(BracketNumber("[-3]"), -3);
}

} // namespace
