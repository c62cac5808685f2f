// A program window over a real dated member: the dates beside the lines, the sequence numbers
// beside the RPG/400 page's lines, the lines changed since a date, their stepping, the line of
// a sequence number, and Find limited to changed lines.

#include "ui/EditorsHolder.h"

#include "FakeEditorFrame.h"
#include "platform/Prompter.h"
#include "platform/RegionalSettings.h"
#include "rpgprogram/RPGProgram.h"
#include "support/QtApp.h"
#include "ui/ExtRichEdit.h"
#include "ui/FormFind.h"
#include "ui/RadioGroup.h"
#include "ui/TagColumn.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <filesystem>

using orvale::RegionalSettings;
using orvale::ScriptedPrompter;
using orvale::test::FakeEditorFrame;

namespace {

// 282 lines, most of 90/03/09; lines 238, 239, 241-243 (one IF block) of 93/10/22.
const std::filesystem::path kMember = std::filesystem::path(ORVALE_CORPUS_DIR).parent_path() /
                                      "corpus-dated" / "AS888__SRCCMZ__CMZ014R.RP3";

class DatedWindow : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kMember))
            GTEST_SKIP() << "no dated members beside the project";
        orvale::test::QtApp();
        Saved = RegionalSettings::Current();
        RegionalSettings::SetCurrent(RegionalSettings("%d/%m/%Y", "%H:%M:%S"));
        Window =
            std::make_unique<TEditorsHolder>(Box, TEditorSetup{"USER1", 2, nullptr, ""}, &Frame);
        Window->ImportSource(kMember.string());
        ASSERT_TRUE(Doc().Dated);
    }
    void TearDown() override {
        Window.reset();
        RegionalSettings::SetCurrent(Saved);
    }

    TRPGProgram& Doc() { return *Window->Document; }
    TExtRichEdit& Editor() { return *Window->RichEditSource; }
    // The node and line of the statement made from member line Line (1-based).
    std::pair<TreeNode*, int> PlaceOf(int line) {
        std::pair<TreeNode*, int> place{nullptr, -1};
        Doc().ForEachNode([&](TreeNode* n) {
            const TEDITSection* s = n->Section();
            for (int k = 0; s && k < s->LinesCount(); ++k)
                if (const LineOrigin* o = s->OriginAt(k); o && o->Ordinal == line - 1) {
                    place = {n, k};
                    return false;
                }
            return true;
        });
        return place;
    }
    std::pair<TreeNode*, int> Caret() { return {Doc().Tree.Selected(), Editor().CaretPos().y()}; }
    QString Status() { return Window->StatusPanel(TEditorsHolder::MessagePanel)->text(); }

    RegionalSettings Saved = RegionalSettings("%d/%m/%Y", "%H:%M:%S");
    ScriptedPrompter Box;
    FakeEditorFrame Frame;
    std::unique_ptr<TEditorsHolder> Window;
};

} // namespace

TEST_F(DatedWindow, TheMarginShowsEachLinesDateBesideItsTags) {
    // Member line 53 "?    C*---": tag "?", of 90/03/09.
    auto [node, line] = PlaceOf(53);
    ASSERT_TRUE(node);
    Window->SelectNode(node);
    EXPECT_EQ(LineMarginText(Editor(), line), "09/03/1990  ?");
    EXPECT_EQ(LineTag(Editor(), line), "?");
    EXPECT_EQ(LineChangeDate(Editor(), line), 900309);
    // The option writes the host's way; the column follows the next time a section is shown.
    Window->HostDateFormat = true;
    Window->SelectNode(Doc().Tree.Root());
    Window->SelectNode(node);
    EXPECT_EQ(LineMarginText(Editor(), line), "90/03/09  ?");

    // The RPG/400 page: the sequence number and date beside the member's own line.
    Window->PageControl->setCurrentIndex(3);
    const TEDITSection& section = *node->Section();
    ASSERT_TRUE(section.CompiledValid);
    // The import's lines are the member's, one per statement, in order; the same text stands
    // on several lines, each with its own number.
    ASSERT_EQ(section.CompiledText(static_cast<size_t>(line)), section.OriginAt(line)->Text);
    EXPECT_EQ(LineTag(*Window->MemoRPGView, line), "0053.00  90/03/09");
    auto later = PlaceOf(114);
    ASSERT_EQ(later.first, node);
    EXPECT_EQ(section.OriginAt(later.second)->Text, section.OriginAt(line)->Text);
    EXPECT_EQ(LineTag(*Window->MemoRPGView, later.second), "0114.00  90/03/09");

    Window->PageControl->setCurrentIndex(0);
    // A text replaced while shown (Replace All, a restore): the lines that stand keep their
    // dates and tags, a new line has neither.
    StringList text = Editor().Lines();
    text.insert(text.begin() + line, "     C                     SETON                     LR");
    Doc().ReplaceSectionText(node, text);
    EXPECT_EQ(LineMarginText(Editor(), line), "");
    EXPECT_EQ(LineMarginText(Editor(), line + 1), "90/03/09  ?");
    EXPECT_EQ(LineChangeDate(Editor(), line + 1), 900309);
    text.erase(text.begin() + line);
    Doc().ReplaceSectionText(node, text);
    EXPECT_EQ(LineMarginText(Editor(), line), "90/03/09  ?");
}

TEST_F(DatedWindow, ChangedSinceTintsCountsAndStepsThroughTheChangedLines) {
    auto first = PlaceOf(238);
    ASSERT_TRUE(first.first);
    Window->SelectNode(first.first);
    EXPECT_EQ(Window->ShowChangedSince(931001), 5);
    EXPECT_EQ(Status(), "5 lines changed since 01/10/1993: 5 in this section");
    std::vector<int> tinted = Editor().ChangedLines();
    EXPECT_EQ(tinted, (std::vector<int>{first.second, first.second + 1, first.second + 3,
                                        first.second + 4, first.second + 5}));

    // From the top of the program, F7 goes through them in order and comes round.
    Window->SelectNode(Doc().Tree.Root());
    std::vector<int> visited;
    for (int k = 0; k < 6; ++k) {
        ASSERT_TRUE(Window->GoToChangedLine(1));
        EXPECT_EQ(Caret().first, first.first);
        visited.push_back(Caret().second);
    }
    EXPECT_EQ(visited,
              (std::vector<int>{tinted[0], tinted[1], tinted[2], tinted[3], tinted[4], tinted[0]}));
    ASSERT_TRUE(Window->GoToChangedLine(-1));
    EXPECT_EQ(Caret().second, tinted[4]);

    // An earlier date counts the lines of other sections too.
    Window->SelectNode(first.first);
    EXPECT_EQ(Window->ShowChangedSince(900501), 30);
    EXPECT_TRUE(Status().startsWith("30 lines changed since 01/05/1990:"))
        << Status().toStdString();
    // A date after every change: nothing.
    EXPECT_EQ(Window->ShowChangedSince(991231), 0);
    EXPECT_TRUE(Editor().ChangedLines().empty());
    EXPECT_FALSE(Window->GoToChangedLine(1));
}

TEST_F(DatedWindow, GoToSequenceNumberTakesTheListingsNumbersAndTheEditors) {
    auto wanted = PlaceOf(156); // 015600: 156.00
    for (const char* text : {"156.00", "156", "15600", " 156.0 "}) {
        Window->SelectNode(Doc().Tree.Root());
        ASSERT_TRUE(Window->GoToSequence(text)) << text;
        EXPECT_EQ(Caret(), wanted) << text;
    }
    EXPECT_FALSE(Window->GoToSequence("1.5.6"));
    EXPECT_FALSE(Window->GoToSequence("9999.99"));
    EXPECT_EQ(Status(), "No line has the sequence number 9999.99");
}

TEST_F(DatedWindow, FindCanBeLimitedToTheLinesChangedSinceADate) {
    // SETON stands on many lines; only 156 (15.60) is of 90/05/02 or later.
    auto [node, line] = PlaceOf(156);
    Window->SelectNode(node);
    TFormFind form(Box);
    form.RunModal = [](TFormFind& f) {
        f.ComboTextToFind->setEditText("Seton");
        f.RadioOrigin->SetItemIndex(TFormFind::FromBeginOfSection);
        f.CheckChangedSince->setChecked(true);
        f.EditChangedSince->setDate(QDate(1990, 5, 1));
        f.BtnOK->click();
    };
    form.ShowFind(*Window, "");
    EXPECT_TRUE(form.Settings.Found);
    EXPECT_EQ(Caret().second, line);
    EXPECT_EQ(form.Settings.ChangedSince, 900501);
    // On from there, no other changed line of the section holds it.
    EXPECT_FALSE(Editor().FindNext("Seton", false, false, false));
    // Without the limit the search finds the others.
    Editor().FindLineFilter = nullptr;
    EXPECT_TRUE(Editor().FindNext("Seton", true, false, false));
    EXPECT_NE(Editor().CaretPos().y(), line);
}
