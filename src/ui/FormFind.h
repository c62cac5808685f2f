#pragma once

// The one find and replace dialog of the program. The frame creates it at start-up and keeps
// it for the whole run, so that Search Again repeats the last command and the two histories
// keep growing. It searches the active program window's source editor and, when the scope
// allows, walks on through the program's other sections in tree order, showing each section
// that holds the text.

#include "qtedge/TextEdge.h"
#include "rpgprogram/SectionSearch.h"
#include "ui/ExtRichEdit.h"

#include <QDialog>
#include <QPoint>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class TEditorsHolder;
class TRadioGroup;

namespace orvale {
class Prompter;
}

// What a command takes from the dialog when it starts.
struct TFindSettings {
    std::string SearchText;
    std::string ReplaceText;
    // The origin is not "From Cursor": the editor is searched from its first character.
    bool FromStart = false;
    // The origin is "From begin of Program": the search first moves to the first section
    // that holds the text.
    bool FromFirstSection = false;
    // Scope "Global": the description and pre-compiler sections are searched too.
    bool Global = false;
    // The scope is not "Active Section": the search goes on into the following sections.
    bool BeyondSection = false;
    bool MatchCase = false;
    bool WholeWord = false;
    bool IncludeArrays = false;
    bool IncludeSubRoutines = false;
    bool IncludeOutput = false;
    // Only lines of a dated member changed on or after this date (YYMMDD); 0: every line.
    std::int32_t ChangedSince = 0;
    // The outcome of the last find.
    bool Found = false;
    bool ReplaceMode = false;
    bool Prompt = true;
    // The user answered "All" to a replace confirmation: every further match is replaced
    // without asking.
    bool ReplaceAllRequested = false;
};

class TFormFind : public QDialog {
    Q_OBJECT
public:
    // The code page of the text searched: that of the window searched in.
    orvale::TextEdge Edge;

    enum Scope { ActiveSection = 0, AllProgram = 1, GlobalScope = 2 };
    enum Origin { FromCursor = 0, FromBeginOfSection = 1, FromBeginOfProgram = 2 };
    // Each history keeps this many texts, the newest first.
    static constexpr int kHistorySize = 30;

    explicit TFormFind(orvale::Prompter& prompter, QWidget* parent = nullptr);

    QLabel* LabelTextToFind = nullptr;
    QComboBox* ComboTextToFind = nullptr;
    QLabel* LabelReplace = nullptr;
    QComboBox* ComboTextReplace = nullptr;
    TRadioGroup* RadioScope = nullptr;
    TRadioGroup* RadioOrigin = nullptr;
    QCheckBox* CheckCase = nullptr;
    QCheckBox* CheckWhole = nullptr;
    QCheckBox* CheckPrompt = nullptr;
    QCheckBox* CheckOutP = nullptr;
    QCheckBox* CheckArrays = nullptr;
    QCheckBox* CheckSubR = nullptr;
    QCheckBox* CheckChangedSince = nullptr;
    QDateEdit* EditChangedSince = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;
    QPushButton* BtnAll = nullptr;

    // The settings of the last command, which Search Again repeats.
    TFindSettings Settings;
    // Runs the dialog modally; tests replace it to play the user.
    std::function<void(TFormFind&)> RunModal;

    // -- The frame's commands on the active program window
    // Find (Ctrl+F) and Replace (Ctrl+R): the caption, the replace-only controls and the find
    // text (Word, or the word at the window's caret) are set and the dialog runs modally.
    void ShowFind(TEditorsHolder& window);
    void ShowFind(TEditorsHolder& window, const std::string& word);
    void ShowReplace(TEditorsHolder& window);
    void ShowReplace(TEditorsHolder& window, const std::string& word);
    // Search Again (F3): finds on from the caret with the last command's settings, into the
    // following sections when its scope allows. True when the text was found.
    bool SearchAgain(TEditorsHolder& window);

    // The window the commands work on, set by the commands above.
    void SetWindow(TEditorsHolder* window) { Window = window; }
    // Caption and replace-only controls of the two modes.
    void SetReplaceMode(bool replace);

    // -- The dialog's buttons and the commands behind them
    void BtnOKClick();
    void BtnAllClick();
    // Scope "Active Section" clears and disables the include boxes, "All Program" ticks and
    // enables them, "Global" ticks and disables them.
    void RadioScopeClick(int scope);
    // Takes the controls into Settings.
    void ReadSettings();
    bool Find(bool fromFirstSection, bool fromStart);
    void ReplaceOne(bool fromFirstSection, bool fromStart);
    void ReplaceAll();

    // Puts a box's non-empty text first among its items unless it is already one of them,
    // keeping at most kHistorySize items.
    static void AddToHistory(QComboBox& box);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void UpdateHistories();
    void Run(TEditorsHolder& window, bool replace, const std::string& word);
    // The next-section search from the first node of the tree or from the selected one; the
    // window shows the section it selects. True when one was selected.
    bool NextSection(bool fromFirstNode);
    // The editor holds a section's text the user can see.
    bool EditorShown() const;
    bool EditorFind(bool fromStart);
    TExtRichEdit::ReplaceResult EditorReplace(bool fromStart);
    // The editor takes matches only on the lines the settings' date allows.
    void LimitToChangedLines();
    void ShowMatch();
    void NotFound();
    // Where a search that found nothing looked, for its message.
    std::string WhereLooked() const;
    // How the last command started, for WhereLooked.
    bool LookedFromFirstSection = false;
    bool LookedFromStart = false;
    bool CheckTexts();

    orvale::Prompter& Box;
    QPointer<TEditorsHolder> Window;
};

inline constexpr const char* kFindCaption = "Find Text";
inline constexpr const char* kReplaceCaption = "Replace Text";
inline constexpr const char* kSearchNotValid = "Search string not Valid!";
inline constexpr const char* kDontJoke = "Don't Joke Please!";
inline constexpr const char* kNothingToFind = "Nothing to find!";
inline constexpr const char* kOperationComplete = "Operation Complete!";
inline constexpr const char* kOperationAborted = "Operation Aborted! Possibly Error!";
// What Edit > Undo takes back after a replacement across sections.
inline constexpr const char* kReplaceAllEdit = "Replace All";
