#include "ui/FormFind.h"

#include "FakeEditorFrame.h"
#include "platform/Prompter.h"
#include "qtedge/TextEdge.h"
#include "rpgprogram/RPGProgram.h"
#include "support/QtApp.h"
#include "ui/EditorsHolder.h"
#include "ui/ExtRichEdit.h"
#include "ui/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using orvale::Prompter;
using orvale::ScriptedPrompter;
using orvale::test::FakeEditorFrame;
using Shown = ScriptedPrompter::Shown;

namespace {

Shown Info(const std::string& text) {
    return {Prompter::Kind::Information, text, Prompter::Buttons::Ok, ""};
}

Shown Confirmation(const std::string& search) {
    return {Prompter::Kind::Confirmation, "Replace this occurrence of " + search + "?",
            Prompter::Buttons::YesNoCancelAll, ""};
}

// Answers like the scripted prompter, and lets a test act while a box is open.
class ActingPrompter : public ScriptedPrompter {
public:
    std::function<void()> WhileAsking;
    Answer Show(Kind kind, const std::string& text, Buttons buttons,
                const std::string& caption = {}) override {
        if (kind == Kind::Confirmation && WhileAsking)
            WhileAsking();
        return ScriptedPrompter::Show(kind, text, buttons, caption);
    }
};

// What the user sets in the dialog before pressing OK or Replace All.
struct Command {
    std::string Text{};
    std::string Replacement{};
    int Scope = TFormFind::ActiveSection;
    int Origin = TFormFind::FromCursor;
    bool SubRoutines = false;
    // Under "All Program" the other two folders are included unless the user leaves them out.
    bool Output = false;
    bool Arrays = false;
    bool Prompt = true;
    bool ReplaceAll = false;
};

class FindDialog : public ::testing::Test {
protected:
    FindDialog() { orvale::test::QtApp(); }

    void SetUp() override {
        Window = std::make_unique<TEditorsHolder>(Box, TEditorSetup{}, &Frame);
        Form = std::make_unique<TFormFind>(Box);
        Doc().NewProgram();
        Doc().MainRoutineSection.AssignLines({"Z-add(FOO,X)", "Add(FOO,1,Y)"});
        Doc().AddSubRoutine("SR1", "")->AssignLines({"Begsr(SR1)", "Sub(FOO,1,Z)", "Endsr()"});
        Doc().AddOutput("OUT1", "")->AssignLines({"Field(FOO)"});
        Select("Main Routine");
        Box.Clear();
    }

    TRPGProgram& Doc() { return *Window->Document; }
    TreeNode* Node(const std::string& text) { return Doc().FindNodeByText(text); }
    void Select(const std::string& text) { Window->SelectNode(Node(text)); }
    TreeNode* Selected() { return Doc().Tree.Selected(); }
    StringList EditorLines() { return Window->RichEditSource->Lines(); }
    std::string Selection() {
        return Window->Edge.FromQt(Window->RichEditSource->textCursor().selectedText());
    }
    // The editor's pending text goes into its section, as moving to another one would do.
    StringList Committed(TEDITSection& section) {
        Doc().CommitCurrent();
        return section.LineTexts();
    }

    // The frame's Find or Replace, with the user filling the dialog and pressing a button.
    void Run(bool replace, const Command& command) {
        Form->RunModal = [command](TFormFind& form) {
            form.ComboTextToFind->setEditText(form.Edge.ToQt(command.Text));
            form.ComboTextReplace->setEditText(form.Edge.ToQt(command.Replacement));
            form.RadioScope->SetItemIndex(command.Scope);
            form.RadioOrigin->SetItemIndex(command.Origin);
            form.CheckSubR->setChecked(command.SubRoutines);
            if (command.Scope == TFormFind::AllProgram) {
                form.CheckOutP->setChecked(command.Output);
                form.CheckArrays->setChecked(command.Arrays);
            }
            form.CheckPrompt->setChecked(command.Prompt);
            (command.ReplaceAll ? form.BtnAll : form.BtnOK)->click();
        };
        if (replace)
            Form->ShowReplace(*Window, "");
        else
            Form->ShowFind(*Window, "");
    }

    ActingPrompter Box;
    FakeEditorFrame Frame;
    std::unique_ptr<TEditorsHolder> Window;
    std::unique_ptr<TFormFind> Form;
};

TEST_F(FindDialog, ScopeDecidesTheIncludeBoxes) {
    QCheckBox* includes[] = {Form->CheckOutP, Form->CheckArrays, Form->CheckSubR};
    EXPECT_EQ(Form->RadioScope->ItemIndex(), TFormFind::ActiveSection);
    EXPECT_EQ(Form->RadioOrigin->ItemIndex(), TFormFind::FromCursor);
    EXPECT_TRUE(Form->CheckPrompt->isChecked());
    for (QCheckBox* box : includes)
        EXPECT_TRUE(!box->isEnabled() && !box->isChecked()) << box->text().toStdString();

    Form->RadioScope->SetItemIndex(TFormFind::GlobalScope);
    for (QCheckBox* box : includes)
        EXPECT_TRUE(!box->isEnabled() && box->isChecked()) << box->text().toStdString();
    // "All Program" is every section: the folders start included, whatever the boxes held.
    Form->CheckArrays->setChecked(false);
    Form->RadioScope->SetItemIndex(TFormFind::AllProgram);
    for (QCheckBox* box : includes)
        EXPECT_TRUE(box->isEnabled() && box->isChecked()) << box->text().toStdString();
    Form->CheckArrays->setChecked(true);
    Form->RadioScope->SetItemIndex(TFormFind::ActiveSection);
    for (QCheckBox* box : includes)
        EXPECT_TRUE(!box->isEnabled() && !box->isChecked()) << box->text().toStdString();
}

TEST_F(FindDialog, ModeDecidesCaptionAndReplaceControls) {
    Form->RunModal = [](TFormFind&) {};
    Window->RichEditSource->SetCaretPos(8, 0);
    Form->ShowReplace(*Window);
    EXPECT_EQ(Form->windowTitle(), "Replace Text");
    EXPECT_EQ(Form->ComboTextToFind->currentText(), "FOO");
    for (QWidget* w : std::initializer_list<QWidget*>{Form->LabelReplace, Form->ComboTextReplace,
                                                      Form->CheckPrompt, Form->BtnAll})
        EXPECT_FALSE(w->isHidden());
    Form->ShowFind(*Window, "WORD");
    EXPECT_EQ(Form->windowTitle(), "Find Text");
    EXPECT_EQ(Form->ComboTextToFind->currentText(), "WORD");
    for (QWidget* w : std::initializer_list<QWidget*>{Form->LabelReplace, Form->ComboTextReplace,
                                                      Form->CheckPrompt, Form->BtnAll})
        EXPECT_TRUE(w->isHidden());
}

TEST_F(FindDialog, HistoriesKeepTheThirtyNewestDistinctTexts) {
    for (int i = 1; i <= 31; ++i)
        Run(false, {.Text = "T" + std::to_string(i)});
    QComboBox& box = *Form->ComboTextToFind;
    ASSERT_EQ(box.count(), TFormFind::kHistorySize);
    EXPECT_EQ(box.itemText(0), "T31");
    EXPECT_EQ(box.itemText(29), "T2");
    // A text already there keeps its place; the box still shows it.
    Run(false, {.Text = "T10"});
    EXPECT_EQ(box.itemText(0), "T31");
    EXPECT_EQ(box.findText("T10"), 21);
    EXPECT_EQ(box.currentText(), "T10");
    // Case counts, and an empty text is not kept.
    Run(false, {.Text = "t10"});
    EXPECT_EQ(box.itemText(0), "t10");
    Run(false, {.Text = ""});
    EXPECT_EQ(box.itemText(0), "t10");
    EXPECT_EQ(box.count(), TFormFind::kHistorySize);
    // The replacement box keeps its own history.
    Run(true, {.Text = "T5", .Replacement = "NEW", .Prompt = false});
    EXPECT_EQ(Form->ComboTextReplace->itemText(0), "NEW");
}

TEST_F(FindDialog, FindGoesOnIntoOneFurtherSectionPerCommand) {
    Run(false, {.Text = "FOO", .Scope = TFormFind::AllProgram, .SubRoutines = true});
    EXPECT_TRUE(Form->Settings.Found);
    EXPECT_EQ(Window->RichEditSource->CaretPos(), QPoint(9, 0));
    EXPECT_EQ(Selection(), "FOO");
    EXPECT_TRUE(Form->SearchAgain(*Window));
    EXPECT_EQ(Window->RichEditSource->CaretPos(), QPoint(7, 1));

    // The rest of the section holds no more: the subroutine is shown with its match selected.
    EXPECT_TRUE(Form->SearchAgain(*Window));
    EXPECT_EQ(Selected(), Node("SR1"));
    EXPECT_EQ(EditorLines(), Doc().FindSectionByName("SR1")->LineTexts());
    EXPECT_EQ(Window->RichEditSource->CaretPos(), QPoint(7, 1));
    // The output file is not included, and the walk does not start over at the top.
    EXPECT_FALSE(Form->SearchAgain(*Window));
    EXPECT_EQ(Selected(), Node("SR1"));
    EXPECT_EQ(
        Box.Messages,
        std::vector<Shown>{Info(
            "Search string \"FOO\" not found!\nLooked in \"SR1\" from the cursor on and in the "
            "sections after it, leaving out Arrays and Output.")});
}

TEST_F(FindDialog, ActiveSectionScopeStaysInTheSection) {
    Run(false, {.Text = "foo", .Origin = TFormFind::FromBeginOfSection});
    EXPECT_EQ(Selection(), "FOO");
    Window->RichEditSource->SetCaretPos(0, 1);
    EXPECT_TRUE(Form->SearchAgain(*Window));
    EXPECT_FALSE(Form->SearchAgain(*Window));
    EXPECT_EQ(Selected(), Node("Main Routine"));
    EXPECT_EQ(
        Box.Messages,
        std::vector<Shown>{Info(
            "Search string \"foo\" not found!\nLooked in \"Main Routine\" from the cursor on.")});

    // Matching case and whole words are the editor's to apply.
    Box.Clear();
    Form->CheckCase->setChecked(true);
    Run(false, {.Text = "foo", .Origin = TFormFind::FromBeginOfSection});
    EXPECT_FALSE(Form->Settings.Found);
    Form->CheckCase->setChecked(false);
    Form->CheckWhole->setChecked(true);
    Run(false, {.Text = "FO", .Origin = TFormFind::FromBeginOfSection});
    EXPECT_FALSE(Form->Settings.Found);
    EXPECT_EQ(Box.Messages.size(), 2u);
}

TEST_F(FindDialog, FromBeginOfProgramReachesTheDescriptionOnlyWhenGlobal) {
    Doc().DescriptionSection.AssignLines({"Pays the WAGES"});
    Run(false,
        {.Text = "WAGES", .Scope = TFormFind::AllProgram, .Origin = TFormFind::FromBeginOfProgram});
    EXPECT_FALSE(Form->Settings.Found);
    EXPECT_EQ(Selected(), Node("Main Routine"));
    Run(false, {.Text = "WAGES",
                .Scope = TFormFind::GlobalScope,
                .Origin = TFormFind::FromBeginOfProgram});
    EXPECT_TRUE(Form->Settings.Found);
    EXPECT_EQ(Selected(), Node("Description"));
    EXPECT_EQ(Selection(), "WAGES");
    EXPECT_EQ(Box.Messages,
              std::vector<Shown>{
                  Info("Search string \"WAGES\" not found!\nLooked in the sections of the program, "
                       "leaving out Arrays, Sub Routines and Output.")});
}

TEST_F(FindDialog, PropertiesAndHistoryAreNeverSearched) {
    Doc().PropertySection.AddLine("Source Lib=SECRET");
    Doc().HistorySection.AddLine("SECRET,Add,USER1,01/01/2000 10:00:00,In: Sub Routines");
    Run(false, {.Text = "SECRET",
                .Scope = TFormFind::GlobalScope,
                .Origin = TFormFind::FromBeginOfProgram});
    EXPECT_FALSE(Form->Settings.Found);
    EXPECT_EQ(Selected(), Node("Main Routine"));
    EXPECT_EQ(Box.Messages,
              std::vector<Shown>{Info(
                  "Search string \"SECRET\" not found!\nLooked in the sections of the program, "
                  "leaving out Sub Routines, with the description and the "
                  "pre-compiler directives.")});
}

TEST_F(FindDialog, EmptySearchTextIsRefused) {
    Run(false, {.Text = ""});
    EXPECT_FALSE(Form->SearchAgain(*Window));
    Run(true, {.Text = "", .Replacement = "X"});
    EXPECT_EQ(Box.Messages, std::vector<Shown>(3, Info("Search string not Valid!")));
}

TEST_F(FindDialog, ReplacingATextByItselfIsRefused) {
    Run(true, {.Text = "FOO", .Replacement = "FOO"});
    EXPECT_TRUE(Box.Messages.empty());
    Run(true, {.Text = "FOO", .Replacement = "FOO", .ReplaceAll = true});
    EXPECT_EQ(Box.Messages, std::vector<Shown>{Info("Don't Joke Please!")});
    EXPECT_EQ(EditorLines(), Doc().MainRoutineSection.LineTexts());
}

TEST_F(FindDialog, AllAtTheFirstConfirmationReplacesEverythingTheScopeAllows) {
    Box.Queue(Prompter::Answer::All);
    Run(true, {.Text = "FOO",
               .Replacement = "BAR",
               .Scope = TFormFind::AllProgram,
               .Origin = TFormFind::FromBeginOfProgram,
               .SubRoutines = true});
    EXPECT_EQ(Form->result(), 1);
    EXPECT_EQ(Box.Messages,
              (std::vector<Shown>{Confirmation("FOO"),
                                  Info("Operation Complete!\n3 replacements in 2 sections.")}));
    EXPECT_EQ(Doc().MainRoutineSection.LineTexts(), (StringList{"Z-add(BAR,X)", "Add(BAR,1,Y)"}));
    EXPECT_EQ(Selected(), Node("SR1"));
    EXPECT_EQ(Committed(*Doc().FindSectionByName("SR1")),
              (StringList{"Begsr(SR1)", "Sub(BAR,1,Z)", "Endsr()"}));
    // The output file was not in the scope.
    EXPECT_EQ(Doc().FindSectionByName("OUT1")->LineTexts(), StringList{"Field(FOO)"});
    EXPECT_TRUE(Doc().Modified);
}

TEST_F(FindDialog, AllGoesOnAfterTheMatchItReplaced) {
    // A replacement that holds the searched text is not replaced a second time.
    Box.Queue(Prompter::Answer::All);
    Run(true, {.Text = "FOO", .Replacement = "FOO2", .Origin = TFormFind::FromBeginOfSection});
    EXPECT_EQ(Box.Messages,
              (std::vector<Shown>{Confirmation("FOO"),
                                  Info("Operation Complete!\n2 replacements in 1 section.")}));
    EXPECT_EQ(EditorLines(), (StringList{"Z-add(FOO2,X)", "Add(FOO2,1,Y)"}));
}

TEST_F(FindDialog, ReplaceAllAsksForEachMatchUntilCancelled) {
    Box.Queue(Prompter::Answer::No);
    Box.Queue(Prompter::Answer::Yes);
    Box.Queue(Prompter::Answer::Cancel);
    Run(true, {.Text = "FOO",
               .Replacement = "BAR",
               .Scope = TFormFind::AllProgram,
               .Origin = TFormFind::FromBeginOfSection,
               .SubRoutines = true,
               .ReplaceAll = true});
    EXPECT_EQ(Form->result(), 8);
    EXPECT_EQ(Box.Messages, std::vector<Shown>(3, Confirmation("FOO")));
    EXPECT_EQ(Selected(), Node("SR1"));
    EXPECT_EQ(Doc().MainRoutineSection.LineTexts(), (StringList{"Z-add(FOO,X)", "Add(BAR,1,Y)"}));
    EXPECT_EQ(EditorLines(), Doc().FindSectionByName("SR1")->LineTexts());

    // Without prompting, an active-section scope replaces that section's matches only.
    Box.Clear();
    Select("Main Routine");
    Run(true, {.Text = "FOO",
               .Replacement = "BAR",
               .Origin = TFormFind::FromBeginOfSection,
               .Prompt = false,
               .ReplaceAll = true});
    EXPECT_EQ(Box.Messages,
              std::vector<Shown>{Info("Operation Complete!\n1 replacement in 1 section.")});
    EXPECT_EQ(Committed(Doc().MainRoutineSection), (StringList{"Z-add(BAR,X)", "Add(BAR,1,Y)"}));
    EXPECT_EQ(Doc().FindSectionByName("SR1")->LineTexts()[1], "Sub(FOO,1,Z)");
}

TEST_F(FindDialog, ReplaceOneReplacesTheNextMatchOnly) {
    Box.Queue(Prompter::Answer::Yes);
    Window->RichEditSource->SetCaretPos(0, 1);
    Run(true, {.Text = "FOO", .Replacement = "BAR"});
    EXPECT_EQ(Box.Messages, std::vector<Shown>{Confirmation("FOO")});
    EXPECT_EQ(EditorLines(), (StringList{"Z-add(FOO,X)", "Add(BAR,1,Y)"}));
    EXPECT_TRUE(Doc().EditorModified);

    // From the cursor nothing is left in the section; with the scope of the program the
    // next section holding the text is taken.
    Box.Clear();
    Run(true, {.Text = "FOO", .Replacement = "BAR", .Prompt = false});
    EXPECT_EQ(Box.Messages, std::vector<Shown>{Info("Search string \"FOO\" not found!\nLooked in "
                                                    "\"Main Routine\" from the cursor on.")});
    Box.Clear();
    Run(true, {.Text = "FOO",
               .Replacement = "BAR",
               .Scope = TFormFind::AllProgram,
               .SubRoutines = true,
               .Prompt = false});
    EXPECT_TRUE(Box.Messages.empty());
    EXPECT_EQ(Selected(), Node("SR1"));
    EXPECT_EQ(EditorLines()[1], "Sub(BAR,1,Z)");
    EXPECT_EQ(Doc().MainRoutineSection.LineTexts()[1], "Add(BAR,1,Y)");
}

TEST_F(FindDialog, AnEmptyActiveSectionHasNothingToFind) {
    Window->RichEditSource->SetLines({});
    Run(true, {.Text = "FOO", .Replacement = "BAR"});
    EXPECT_EQ(Box.Messages, std::vector<Shown>{Info("Nothing to find!")});
    // From the begin of the program, a program that does not hold the text at all.
    Box.Clear();
    Run(true, {.Text = "QQQ",
               .Replacement = "BAR",
               .Scope = TFormFind::AllProgram,
               .Origin = TFormFind::FromBeginOfProgram});
    EXPECT_EQ(Box.Messages, std::vector<Shown>{Info("Nothing to find!")});
}

TEST_F(FindDialog, ALostMatchAbortsAndKeepsWhatWasReplaced) {
    Box.Queue(Prompter::Answer::Yes);
    Box.Queue(Prompter::Answer::Yes);
    int asked = 0;
    Box.WhileAsking = [&] {
        // The second match changes while its confirmation is open.
        if (++asked == 2)
            Window->RichEditSource->textCursor().insertText("XYZ");
    };
    Run(true, {.Text = "FOO",
               .Replacement = "BAR",
               .Origin = TFormFind::FromBeginOfSection,
               .ReplaceAll = true});
    ASSERT_EQ(Box.Messages.size(), 3u);
    EXPECT_EQ(Box.Messages[2], (Shown{Prompter::Kind::Error, "Operation Aborted! Possibly Error!",
                                      Prompter::Buttons::Ok, ""}));
    EXPECT_EQ(EditorLines(), (StringList{"Z-add(BAR,X)", "Add(XYZ,1,Y)"}));
}

} // namespace
