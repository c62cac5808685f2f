#include "document/EditSection.h"
#include "platform/RegionalSettings.h"

#include <gtest/gtest.h>

using orvale::DateTime;
using orvale::RegionalSettings;

namespace {

class EditSectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        Saved = RegionalSettings::Current();
        RegionalSettings::SetCurrent(RegionalSettings("%d/%m/%Y", "%H:%M:%S"));
    }
    void TearDown() override { RegionalSettings::SetCurrent(Saved); }

    RegionalSettings Saved = RegionalSettings("%d/%m/%Y", "%H:%M:%S");
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

TEST_F(EditSectionTest, RestorePoints) {
    TEDITSection s("CALC", "");
    s.SetLines({"A"});
    s.SetLines({"B"});
    StringList editor{"edited"};
    s.Restore(nullptr, editor, RestoreKind::PreviousUpdate);
    EXPECT_EQ(editor, (StringList{"A"}));
    s.Restore(nullptr, editor, RestoreKind::LastUpdate);
    EXPECT_EQ(editor, (StringList{"B"}));

    // Never read from a file: the last-open point leaves the editor alone but still drops
    // the compiled lines.
    s.AssignCompiled({"x"});
    s.CompiledValid = true;
    editor = {"edited"};
    s.Restore(nullptr, editor, RestoreKind::LastOpen);
    EXPECT_EQ(editor, (StringList{"edited"}));
    EXPECT_TRUE(s.CompiledTexts().empty());
    EXPECT_FALSE(s.CompiledValid);

    StringList saved{"one", "two"};
    s.Restore(&saved, editor, RestoreKind::LastSave);
    EXPECT_EQ(editor, saved);
}

} // namespace
