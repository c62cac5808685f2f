#include "document/EditProgram.h"
#include "platform/Prompter.h"
#include "platform/RegionalSettings.h"

#include "support/FakeProgramView.h"

#include <gtest/gtest.h>

using orvale::DateTime;
using orvale::Prompter;
using orvale::RegionalSettings;
using orvale::ScriptedPrompter;
using orvale::test::FakeProgramView;
using Shown = ScriptedPrompter::Shown;

namespace {

class ProgramHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        Saved = RegionalSettings::Current();
        RegionalSettings::SetCurrent(RegionalSettings("%d/%m/%Y", "%H:%M:%S"));
        Doc.BindView(&View);
        Doc.UserName = "USER1";
        Doc.BuildTree();
    }
    void TearDown() override { RegionalSettings::SetCurrent(Saved); }

    void CommitText(TreeNode* node, StringList lines) {
        Doc.Tree.Select(node);
        Doc.ShowSelected();
        View.Editor = std::move(lines);
        Doc.EditorModified = true;
        Doc.CommitCurrent();
    }

    static std::string Yesterday() {
        DateTime day = DateTime::Now();
        if (--day.Day == 0) {
            if (--day.Month == 0) {
                day.Month = 12;
                --day.Year;
            }
            day.Day = DateTime::DaysInMonth(day.Year, day.Month);
        }
        return RegionalSettings::Current().FormatDateTime(day);
    }

    RegionalSettings Saved = RegionalSettings("%d/%m/%Y", "%H:%M:%S");
    ScriptedPrompter Box;
    FakeProgramView View;
    TEDITProgram Doc{Box};
};

TEST_F(ProgramHistoryTest, ModifyEntriesMergePerObjectUserAndDay) {
    Doc.LogModify = true;
    Doc.AddSubRoutine("CALC", "");
    TreeNode* calc = Doc.FindNodeByText("CALC");
    Doc.HistorySection.AssignLines({"CALC,Modify,USER1," + Yesterday() + ", ",
                                    "DEMO.RPG,Converted,USER1,06/12/1999 09:00:00,"});
    CommitText(calc, {"one"});
    CommitText(calc, {"two"});
    CommitText(Doc.MainRoutineNode, {"main"});
    CommitText(calc, {"three"});
    const StringList& log = Doc.HistorySection.LineTexts();
    ASSERT_EQ(log.size(), 4u);
    // Yesterday's entry stays; today's CALC entry is the latest one, at the end.
    EXPECT_EQ(log[0], "CALC,Modify,USER1," + Yesterday() + ", ");
    EXPECT_TRUE(log[2].starts_with("Main Routine,Modify,USER1,")) << log[2];
    EXPECT_TRUE(log[3].starts_with("CALC,Modify,USER1,")) << log[3];
    EXPECT_TRUE(log[3].ends_with(", ")) << log[3];
    // The merge is what AddHistoryEntry does; the section still takes every commit.
    EXPECT_EQ(Doc.FindSectionByName("CALC")->LineTexts(), StringList{"three"});
}

TEST_F(ProgramHistoryTest, MergeDoesNotTouchAnotherObjectWithTheSameEnding) {
    std::string today = RegionalSettings::Current().FormatDate(DateTime::Now());
    Doc.HistorySection.AssignLines({"XCALC,Modify,USER1," + today + " 08:00:00, ",
                                    "CALC,Modify,USER2," + today + " 08:00:00, "});
    Doc.AddHistoryEntry("CALC,Modify,USER1," + today + " 09:00:00, ");
    EXPECT_EQ(Doc.HistorySection.LinesCount(), 3);
    Doc.AddHistoryEntry("CALC,Modify,USER1," + today + " 10:00:00, ");
    ASSERT_EQ(Doc.HistorySection.LinesCount(), 3);
    EXPECT_EQ(Doc.HistorySection.GetLine(2), "CALC,Modify,USER1," + today + " 10:00:00, ");
    // An entry that does not carry today's date is only appended.
    Doc.AddHistoryEntry("CALC,Modify,USER1,01/01/2000 10:00:00, ");
    EXPECT_EQ(Doc.HistorySection.LinesCount(), 4);
}

TEST_F(ProgramHistoryTest, PurgeOfModifyEntriesKeepsTheOthers) {
    Doc.HistorySection.AssignLines({
        "DEMO.RPG,Converted,USER1,06/12/1999 09:00:00,",
        "CALC,Add,USER1,06/12/1999 10:16:02,In: Sub Routines",
        "Property,Modify,USER1,06/12/1999 10:21:00, ",
        "CALC,Rename,USER1,06/12/1999 10:25:10,New Name: CALC2",
        "CALC2,Modify,USER1,06/12/1999 10:40:12, ",
        "CALC2,Delete,USER1,06/12/1999 11:02:45,From: Sub Routines",
        "CALC2,modify,USER1,06/12/1999 11:05:00, ",
        "no fields at all",
    });
    StringList before = Doc.HistorySection.LineTexts();
    Box.Queue(Prompter::Answer::No);
    Doc.PurgeHistory(true, true);
    EXPECT_EQ(Doc.HistorySection.LineTexts(), before);
    EXPECT_FALSE(Doc.Modified);
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{{Prompter::Kind::Information,
                                                 "History Log will be Purged.  Continue?",
                                                 Prompter::Buttons::YesNo,
                                                 {}}}));

    Doc.PurgeHistory(true, false);
    EXPECT_EQ(Doc.HistorySection.LineTexts(),
              (StringList{"DEMO.RPG,Converted,USER1,06/12/1999 09:00:00,",
                          "CALC,Add,USER1,06/12/1999 10:16:02,In: Sub Routines",
                          "CALC,Rename,USER1,06/12/1999 10:25:10,New Name: CALC2",
                          "CALC2,Delete,USER1,06/12/1999 11:02:45,From: Sub Routines",
                          "CALC2,modify,USER1,06/12/1999 11:05:00, ", "no fields at all"}));
    EXPECT_TRUE(Doc.Modified);
    EXPECT_EQ(View.Items.size(), 6u); // shown again

    Doc.PurgeHistory(false, true);
    EXPECT_TRUE(Doc.HistorySection.LineTexts().empty());
}

TEST_F(ProgramHistoryTest, ShowHistorySplitsEachEntryIntoColumns) {
    Doc.HistorySection.AssignLines(
        {"CALC,Rename,USER1,06/12/1999 10:25:10,New Name: CALC2", "DEMO.RPG,Converted"});
    Doc.Tree.Select(Doc.HistoryNode);
    Doc.ShowSelected();
    EXPECT_EQ(View.ActivePage, orvale::ProgramPage::Objects);
    using orvale::ColumnSort;
    using orvale::ListColumn;
    EXPECT_EQ(View.Columns, (std::vector<ListColumn>{{"Object", 100, ColumnSort::Text},
                                                     {"Action", 50, ColumnSort::Text},
                                                     {"User", 100, ColumnSort::Text},
                                                     {"When", 110, ColumnSort::DateTime},
                                                     {"More", 300, ColumnSort::Text},
                                                     {"", 0, ColumnSort::Text}}));
    ASSERT_EQ(View.Items.size(), 2u);
    EXPECT_EQ(View.Items[0].Caption, "CALC");
    EXPECT_EQ(View.Items[0].SubItems,
              (StringList{"Rename", "USER1", "06/12/1999 10:25:10", "New Name: CALC2"}));
    EXPECT_EQ(View.Items[0].ImageIndex, 4);
    EXPECT_EQ(View.Items[1].SubItems, (StringList{"Converted", "", "", ""}));
    EXPECT_EQ(View.Items[1].Data(), nullptr);
}

} // namespace
