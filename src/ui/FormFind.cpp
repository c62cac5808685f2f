#include "ui/FormFind.h"

#include "platform/Prompter.h"
#include "qtedge/TextEdge.h"
#include "rpgprogram/RPGProgram.h"
#include "ui/EditorsHolder.h"
#include "ui/KeyTextValidator.h"
#include "ui/RadioGroup.h"
#include "ui/TagColumn.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <set>

using Result = TExtRichEdit::ReplaceResult;

namespace {

QComboBox* NewHistoryBox(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    // The history is kept by the commands, not by the Enter key.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumWidth(260);
    // The texts are searched in single-byte section text.
    box->setValidator(new TKeyTextValidator(false, box));
    return box;
}

QCheckBox* NewCheck(QWidget* parent, const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

TFormFind::TFormFind(orvale::Prompter& prompter, QWidget* parent)
    : QDialog(parent), RunModal([](TFormFind& form) { form.exec(); }), Box(prompter) {
    setWindowTitle(kFindCaption);

    ComboTextToFind = NewHistoryBox(this, "ComboTextToFind");
    LabelTextToFind = new QLabel("&Text to Find:", this);
    LabelTextToFind->setBuddy(ComboTextToFind);
    ComboTextReplace = NewHistoryBox(this, "ComboTextReplace");
    LabelReplace = new QLabel("Replace &with:", this);
    LabelReplace->setObjectName("LabelReplace");
    LabelReplace->setBuddy(ComboTextReplace);

    RadioScope = new TRadioGroup("Scope", {"Active &Section", "All Progra&m", "&Global"}, this);
    RadioScope->setObjectName("RadioScope");
    RadioOrigin = new TRadioGroup(
        "Origin", {"From C&ursor", "From &begin of Section", "From begin of &Program"}, this);
    RadioOrigin->setObjectName("RadioOrigin");

    auto* options = new QGroupBox("Options", this);
    CheckCase = NewCheck(options, "CheckCase", "&Case Sensitive");
    CheckWhole = NewCheck(options, "CheckWhole", "&Whole words only");
    CheckPrompt = NewCheck(options, "CheckPrompt", "Prompt on &Replace");
    CheckPrompt->setChecked(true);
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->addWidget(CheckCase);
    optionsLayout->addWidget(CheckWhole);
    optionsLayout->addWidget(CheckPrompt);
    // A dated member's lines changed since a day, as Changed Since finds them.
    CheckChangedSince = NewCheck(options, "CheckChangedSince", "Only lines changed si&nce:");
    EditChangedSince = new QDateEdit(QDate::currentDate(), options);
    EditChangedSince->setObjectName("EditChangedSince");
    EditChangedSince->setCalendarPopup(true);
    EditChangedSince->setDateRange(QDate(1940, 1, 1), QDate(2039, 12, 31));
    EditChangedSince->setEnabled(false);
    connect(CheckChangedSince, &QCheckBox::toggled, EditChangedSince, &QWidget::setEnabled);
    optionsLayout->addWidget(CheckChangedSince);
    optionsLayout->addWidget(EditChangedSince);

    auto* include = new QGroupBox("Include", this);
    CheckOutP = NewCheck(include, "CheckOutP", "&Output Specifications");
    CheckArrays = NewCheck(include, "CheckArrays", "&Arrays");
    CheckSubR = NewCheck(include, "CheckSubR", "S&ub Routines");
    auto* includeLayout = new QVBoxLayout(include);
    includeLayout->addWidget(CheckOutP);
    includeLayout->addWidget(CheckArrays);
    includeLayout->addWidget(CheckSubR);

    BtnOK = new QPushButton("OK", this);
    BtnOK->setObjectName("BtnOK");
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton("Cancel", this);
    BtnCancel->setObjectName("BtnCancel");
    BtnCancel->setAutoDefault(false);
    BtnAll = new QPushButton("Replace &All", this);
    BtnAll->setObjectName("BtnAll");
    BtnAll->setAutoDefault(false);

    auto* texts = new QGridLayout;
    texts->addWidget(LabelTextToFind, 0, 0);
    texts->addWidget(ComboTextToFind, 0, 1);
    texts->addWidget(LabelReplace, 1, 0);
    texts->addWidget(ComboTextReplace, 1, 1);
    auto* groups = new QGridLayout;
    groups->addWidget(RadioScope, 0, 0);
    groups->addWidget(RadioOrigin, 0, 1);
    groups->addWidget(options, 1, 0);
    groups->addWidget(include, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnAll);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(texts);
    layout->addLayout(groups);
    layout->addLayout(buttons);

    connect(BtnOK, &QPushButton::clicked, this, &TFormFind::BtnOKClick);
    connect(BtnAll, &QPushButton::clicked, this, &TFormFind::BtnAllClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(RadioScope, &TRadioGroup::ItemIndexChanged, this, &TFormFind::RadioScopeClick);

    RadioScope->SetItemIndex(ActiveSection);
    RadioOrigin->SetItemIndex(FromCursor);
    RadioScopeClick(ActiveSection);
    SetReplaceMode(false);
}

// -- The frame's commands

void TFormFind::ShowFind(TEditorsHolder& window) {
    ShowFind(window, window.RichEditSource->WordAtCursor(false));
}

void TFormFind::ShowFind(TEditorsHolder& window, const std::string& word) {
    Run(window, false, word);
}

void TFormFind::ShowReplace(TEditorsHolder& window) {
    ShowReplace(window, window.RichEditSource->WordAtCursor(false));
}

void TFormFind::ShowReplace(TEditorsHolder& window, const std::string& word) {
    Run(window, true, word);
}

void TFormFind::Run(TEditorsHolder& window, bool replace, const std::string& word) {
    Window = &window;
    // The text looked for is the program's, in the window's code page.
    Edge = window.Edge;
    SetReplaceMode(replace);
    // With no word at the caret the box keeps the last text looked for.
    QString offered = Edge.ToQt(word).trimmed();
    if (!offered.isEmpty() && !offered.contains('\n'))
        ComboTextToFind->setEditText(Edge.ToQt(word));
    Settings.ReplaceAllRequested = false;
    RunModal(*this);
}

bool TFormFind::SearchAgain(TEditorsHolder& window) {
    Window = &window;
    Edge = window.Edge;
    return Find(false, false);
}

void TFormFind::SetReplaceMode(bool replace) {
    setWindowTitle(replace ? kReplaceCaption : kFindCaption);
    LabelReplace->setVisible(replace);
    ComboTextReplace->setVisible(replace);
    CheckPrompt->setVisible(replace);
    BtnAll->setVisible(replace);
    adjustSize();
}

void TFormFind::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ComboTextToFind->setFocus();
    ComboTextToFind->lineEdit()->selectAll();
    Settings.ReplaceAllRequested = false;
}

// -- Controls

void TFormFind::RadioScopeClick(int scope) {
    // "All Program" means every section: the boxes start ticked and the user may leave a
    // folder out.
    for (QCheckBox* box : {CheckOutP, CheckArrays, CheckSubR}) {
        box->setEnabled(scope == AllProgram);
        box->setChecked(scope != ActiveSection);
    }
}

void TFormFind::AddToHistory(QComboBox& box) {
    QString text = box.currentText();
    if (text.isEmpty() || box.findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0)
        return;
    box.insertItem(0, text);
    while (box.count() > kHistorySize)
        box.removeItem(box.count() - 1);
    box.setEditText(text);
}

void TFormFind::UpdateHistories() {
    AddToHistory(*ComboTextToFind);
    AddToHistory(*ComboTextReplace);
}

void TFormFind::ReadSettings() {
    TFindSettings& s = Settings;
    s.SearchText = Edge.FromQt(ComboTextToFind->currentText());
    s.ReplaceText = Edge.FromQt(ComboTextReplace->currentText());
    int origin = RadioOrigin->ItemIndex();
    int scope = RadioScope->ItemIndex();
    s.FromStart = origin != FromCursor;
    s.FromFirstSection = origin == FromBeginOfProgram;
    s.Global = scope == GlobalScope;
    s.BeyondSection = scope != ActiveSection;
    s.MatchCase = CheckCase->isChecked();
    s.WholeWord = CheckWhole->isChecked();
    s.IncludeArrays = CheckArrays->isChecked();
    s.IncludeSubRoutines = CheckSubR->isChecked();
    s.IncludeOutput = CheckOutP->isChecked();
    QDate since = EditChangedSince->date();
    s.ChangedSince = CheckChangedSince->isChecked()
                         ? (since.year() % 100) * 10000 + since.month() * 100 + since.day()
                         : 0;
    s.ReplaceMode = !ComboTextReplace->isHidden();
    s.Prompt = CheckPrompt->isChecked();
}

// -- Buttons

void TFormFind::BtnOKClick() {
    UpdateHistories();
    ReadSettings();
    if (!Settings.ReplaceMode) {
        Find(Settings.FromFirstSection, Settings.FromStart);
    } else {
        // Confirmation boxes and the editor must not be covered by the dialog.
        hide();
        if (Settings.SearchText != Settings.ReplaceText) {
            Settings.ReplaceAllRequested = false;
            if (Window)
                Window->BeginEditGroup();
            ReplaceOne(Settings.FromFirstSection, Settings.FromStart);
            if (Settings.ReplaceAllRequested)
                ReplaceAll();
            // A single replacement stays the editor's own last edit.
            if (Window)
                Window->EndEditGroup(Settings.ReplaceAllRequested ? kReplaceAllEdit : "");
        }
    }
    done(1);
}

void TFormFind::BtnAllClick() {
    // The button starts a command of its own, whatever an earlier one was answered.
    Settings.ReplaceAllRequested = false;
    if (Window)
        Window->BeginEditGroup();
    ReplaceAll();
    if (Window)
        Window->EndEditGroup(kReplaceAllEdit);
    done(8);
}

// -- Commands

bool TFormFind::NextSection(bool fromFirstNode) {
    if (!Window)
        return false;
    TRPGProgram& doc = *Window->Document;
    const TFindSettings& s = Settings;
    TSectionSearch search{s.SearchText,         s.MatchCase,     s.Global,      s.IncludeArrays,
                          s.IncludeSubRoutines, s.IncludeOutput, s.ChangedSince};
    TreeNode* start = fromFirstNode ? doc.Tree.First() : doc.Tree.Selected();
    if (!doc.FindNextSection(search, start))
        return false;
    Window->TreeProgramChange();
    return true;
}

void TFormFind::LimitToChangedLines() {
    TExtRichEdit* editor = Window->RichEditSource;
    std::int32_t since = Settings.ChangedSince;
    if (since <= 0) {
        editor->FindLineFilter = nullptr;
        return;
    }
    editor->FindLineFilter = [editor, since](int line) {
        return ChangedOnOrAfter(LineChangeDate(*editor, line), since);
    };
}

bool TFormFind::EditorShown() const {
    return Window && Window->PageVisible(orvale::ProgramPage::Source);
}

void TFormFind::ShowMatch() {
    if (Window->ActivePage() != orvale::ProgramPage::Source)
        Window->PageControl->setCurrentWidget(Window->TabSheetSource);
    Window->RichEditSource->ensureCursorVisible();
}

bool TFormFind::EditorFind(bool fromStart) {
    if (!EditorShown())
        return false;
    const TFindSettings& s = Settings;
    LimitToChangedLines();
    if (!Window->RichEditSource->FindNext(s.SearchText, fromStart, s.MatchCase, s.WholeWord))
        return false;
    ShowMatch();
    return true;
}

TExtRichEdit::ReplaceResult TFormFind::EditorReplace(bool fromStart) {
    if (!EditorShown())
        return Result::NotFound;
    // The confirmation asks about a match the user must be able to see.
    ShowMatch();
    const TFindSettings& s = Settings;
    LimitToChangedLines();
    return Window->RichEditSource->ReplaceNext(s.SearchText, s.ReplaceText, fromStart, s.MatchCase,
                                               s.WholeWord, s.Prompt);
}

std::string TFormFind::WhereLooked() const {
    const TFindSettings& s = Settings;
    TreeNode* node = Window ? Window->Document->Tree.Selected() : nullptr;
    std::string where;
    if (LookedFromFirstSection) {
        where = "Looked in the sections of the program";
    } else {
        where = "Looked in " + (node ? "\"" + node->Text + "\"" : std::string("the section"));
        where += LookedFromStart ? "" : " from the cursor on";
        if (!s.BeyondSection)
            return where + ".";
        where += " and in the sections after it";
    }
    std::vector<std::string> left;
    if (!s.IncludeArrays)
        left.push_back("Arrays");
    if (!s.IncludeSubRoutines)
        left.push_back("Sub Routines");
    if (!s.IncludeOutput)
        left.push_back("Output");
    if (!left.empty()) {
        where += ", leaving out";
        for (size_t i = 0; i < left.size(); ++i)
            where += (i == 0 ? " " : i + 1 == left.size() ? " and " : ", ") + left[i];
    }
    if (s.Global)
        where += ", with the description and the pre-compiler directives";
    return where + ".";
}

void TFormFind::NotFound() {
    Box.Information("Search string \"" + Edge.FromQt(ComboTextToFind->currentText()) +
                    "\" not found!\n" + WhereLooked());
}

bool TFormFind::CheckTexts() {
    if (Settings.SearchText.empty()) {
        Box.Information(kSearchNotValid);
        return false;
    }
    if (Settings.SearchText == Settings.ReplaceText) {
        Box.Information(kDontJoke);
        return false;
    }
    return true;
}

bool TFormFind::Find(bool fromFirstSection, bool fromStart) {
    TFindSettings& s = Settings;
    LookedFromFirstSection = fromFirstSection;
    LookedFromStart = fromStart;
    if (s.SearchText.empty()) {
        Box.Information(kSearchNotValid);
        return false;
    }
    bool sectionFound = !fromFirstSection || NextSection(true);
    s.Found = sectionFound && EditorFind(fromStart);
    // One further section per command; Search Again goes on from there.
    if (sectionFound && !s.Found && s.BeyondSection && NextSection(false))
        s.Found = EditorFind(true);
    if (!s.Found)
        NotFound();
    QApplication::processEvents();
    return s.Found;
}

void TFormFind::ReplaceOne(bool fromFirstSection, bool fromStart) {
    TFindSettings& s = Settings;
    LookedFromFirstSection = fromFirstSection;
    LookedFromStart = fromStart;
    if (!CheckTexts())
        return;
    bool sectionFound = !fromFirstSection || NextSection(true);
    bool editorEmpty = !EditorShown() || Window->RichEditSource->document()->isEmpty();
    if ((editorEmpty && !s.BeyondSection) || !sectionFound) {
        Box.Information(kNothingToFind);
        return;
    }
    Result result = EditorReplace(fromStart);
    if (result == Result::NotFound && s.BeyondSection && NextSection(false))
        result = EditorReplace(true);
    switch (result) {
    case Result::NotFound:
        NotFound();
        break;
    case Result::Failed:
        Box.Error(kOperationAborted);
        break;
    case Result::ReplacedAll:
        s.ReplaceAllRequested = true;
        s.Prompt = false;
        break;
    default:
        break;
    }
}

void TFormFind::ReplaceAll() {
    TFindSettings& s = Settings;
    if (!s.ReplaceAllRequested) {
        UpdateHistories();
        ReadSettings();
        hide();
    }
    // Checked before anything moves, so that a command that cannot run leaves the window
    // showing what it showed.
    if (!CheckTexts())
        return;
    bool fromStart = s.FromStart;
    LookedFromFirstSection = s.FromFirstSection && !s.ReplaceAllRequested;
    LookedFromStart = fromStart;
    if (s.ReplaceAllRequested) {
        // After "All" the replacing goes on past the match just replaced. Starting over would
        // replace again a replacement that holds the searched text.
        fromStart = false;
    } else if (s.FromFirstSection) {
        fromStart = true;
        if (!NextSection(true)) {
            NotFound();
            return;
        }
    }
    Result result = Result::NotFound;
    // What the command did, for its closing message; a replacement answered "All" before this
    // loop counts too.
    int replaced = s.ReplaceAllRequested ? 1 : 0;
    std::set<const TreeNode*> sections;
    auto counted = [&](Result r) {
        if (r == Result::Replaced || r == Result::ReplacedAll) {
            ++replaced;
            sections.insert(Window->Document->Tree.Selected());
        }
        return r;
    };
    if (s.ReplaceAllRequested && Window)
        sections.insert(Window->Document->Tree.Selected());
    for (;;) {
        result = counted(EditorReplace(fromStart));
        fromStart = false;
        while (result == Result::Replaced || result == Result::Skipped ||
               result == Result::ReplacedAll) {
            if (result == Result::ReplacedAll)
                s.Prompt = false;
            result = counted(EditorReplace(false));
        }
        if (result == Result::NotFound && s.BeyondSection && NextSection(false)) {
            fromStart = true;
            continue;
        }
        break;
    }
    if (result == Result::Failed)
        Box.Error(kOperationAborted);
    else if (result != Result::Cancelled)
        Box.Information(std::string(kOperationComplete) + "\n" + std::to_string(replaced) +
                        (replaced == 1 ? " replacement in " : " replacements in ") +
                        std::to_string(sections.size()) +
                        (sections.size() == 1 ? " section." : " sections."));
}
