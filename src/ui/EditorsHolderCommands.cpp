// The program editor window's commands: tree selection, the tool bar's add, change and delete,
// the font size, the editor's popup menu (clipboard, prompt help, commit, restore, text
// import and export, print) and closing. Import and compile are in EditorsHolderBuild.cpp.

#include "ui/EditorsHolder.h"

#include "document/ParseString.h"
#include "frame/HelpIndex.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "qtedge/TextEdge.h"
#include "rpgprogram/CrossReference.h"
#include "rpgprogram/RPGProgram.h"
#include "ui/ColSortListView.h"
#include "ui/EditorFrame.h"
#include "ui/ExtRichEdit.h"
#include "ui/ExtRichText.h"
#include "ui/FormGestSubSec.h"
#include "ui/ProgramTreeView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>
#include <QTreeWidgetItem>

using orvale::ProgramPage;

namespace {

constexpr const char* kNameExists = "One section with same name already exist!";
constexpr const char* kInvalidName = "Invalid Name!";
constexpr const char* kNameTooLong = "Name Too Long!";
// Section names are RPG names: at most this many characters.
constexpr size_t kMaxNameLength = 10;
constexpr const char* kPromptCancelled = "CANCEL";

enum SectionKind { SubRoutineKind = 0, ArrayKind = 1, OutputKind = 2 };

// The specification sections' statements have their own templates and help pages.
bool IsTableSection(char formType) {
    return formType == 'F' || formType == 'E' || formType == 'L' || formType == 'I' ||
           formType == 'O';
}

bool HasFocusWithin(const QWidget* widget) {
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == widget || widget->isAncestorOf(focus));
}

} // namespace

// -- Tree selection

void TEditorsHolder::SelectNode(TreeNode* node) {
    if (!node || !Document->Tree.Contains(node))
        return;
    Document->Tree.Select(node);
    TreeProgramChange();
}

bool TEditorsHolder::IsFolder(const TreeNode* node) const {
    return node && (node == Document->SubRoutinesNode || node == Document->ArraysNode ||
                    node == Document->OutputNode);
}

bool TEditorsHolder::InFolder(const TreeNode* node) const {
    return node && IsFolder(node->Parent());
}

void TEditorsHolder::TreeProgramChange() {
    LastFinding = -1;
    TRPGProgram& doc = *Document;
    TreeNode* node = doc.Tree.Selected();
    if (node) {
        // The history log and the fixed groups keep their own order; folders list by name.
        bool keepOrder = node == doc.Tree.Root() || node == doc.HistoryNode ||
                         node == doc.FilesNode || node == doc.AllFlagsNode;
        ListViewObject->ClearColumns();
        ListViewObject->SetSorting(keepOrder ? TColSortListView::SortMode::None
                                             : TColSortListView::SortMode::ByCaption);
        StatusPanel(MessagePanel)->setText(Edge.ToQt(DescriptionOf(node)));
    }
    doc.ShowSelected();
    RememberForGroup();
    UpdateEditCommands();
    StatusPanel(ModifiedPanel)->clear();
    StatusPanel(CaretPanel)->setText("0: 0");
    UpdateToolButtons();
    ShowCompileMarks();
    ShowFlagUses();
    // The tree keeps the focus while it is driven from the keyboard (Enter moves it onto the
    // page); a click on it moves it by the mouse-up.
    if (ActivePage() == ProgramPage::Source && !TreeProgram->hasFocus())
        RichEditSource->setFocus();
}

void TEditorsHolder::UpdateToolButtons() {
    const TRPGProgram& doc = *Document;
    const TreeNode* node = doc.Tree.Selected();
    bool objects = PageVisible(ProgramPage::Objects);
    bool source = PageVisible(ProgramPage::Source);
    SpeedBtnBigIcon->setEnabled(objects);
    SpeedBtnReport->setEnabled(objects);
    ComboFont->setVisible(source);
    LabelFontSize->setVisible(source);
    SpeedBtnChProp->setEnabled(node && node->HasData());
    SpeedBtnDeleteSec->setEnabled(IsFolder(node) || InFolder(node));
    SpeedBtnPrnAid->setEnabled(node && doc.OutputNode && node->Parent() == doc.OutputNode);
}

// -- Add, change, delete

bool TEditorsHolder::CheckNewName(const std::string& name) {
    const char* refusal = nullptr;
    if (Document->NodeTextExists(name))
        refusal = kNameExists;
    else if (name.empty())
        refusal = kInvalidName;
    else if (name.size() > kMaxNameLength)
        refusal = kNameTooLong;
    if (refusal)
        Box.Information(refusal);
    return !refusal;
}

void TEditorsHolder::AddSection(int kind) {
    static const char* const captions[] = {"Add New Sub Routine", "Add New Data Array",
                                           "Add New Output Specification"};
    TRPGProgram& doc = *Document;
    TreeNode* folder = kind == SubRoutineKind ? doc.SubRoutinesNode
                       : kind == ArrayKind    ? doc.ArraysNode
                                              : doc.OutputNode;
    {
        TFormGestSubSec dialog(captions[kind], this);
        if (Services.RunDialog(dialog)) {
            std::string name = Edge.FromQt(dialog.EditName->text());
            std::string description = Edge.FromQt(dialog.EditDesc->text());
            if (CheckNewName(name)) {
                if (kind == SubRoutineKind) {
                    doc.AddSubRoutine(name, description);
                    // The new node is the folder's last child. (A look-up by name could
                    // reach another section that differs only in case.)
                    TreeNode* added = folder && folder->Count() > 0
                                          ? folder->Child(folder->Count() - 1)
                                          : nullptr;
                    if (TEDITSection* section = added ? added->Section() : nullptr) {
                        section->AddLine("                Begsr(" + name + ")");
                        section->AddLine("");
                        section->AddLine("                Endsr()");
                    }
                } else if (kind == ArrayKind) {
                    doc.AddArray(name, description);
                } else {
                    doc.AddOutput(name, description);
                }
            }
        }
    }
    if (folder && SelectedNode() == folder)
        TreeProgramChange();
}

void TEditorsHolder::SpeedBtnAddSubClick() {
    AddSection(SubRoutineKind);
}

void TEditorsHolder::SpeedBtnAddArrayClick() {
    AddSection(ArrayKind);
}

void TEditorsHolder::SpeedBtnAddOutClick() {
    AddSection(OutputKind);
}

void TEditorsHolder::SpeedBtnChPropClick() {
    TRPGProgram& doc = *Document;
    TreeNode* node = SelectedNode();
    if (!node)
        return;
    {
        TFormGestSubSec dialog("Change Section Property", this);
        dialog.EditName->setText(Edge.ToQt(node->Text));
        if (const TEDITSection* section = node->Section())
            dialog.EditDesc->setText(Edge.ToQt(section->Properties.Description));
        else if (const TEDITFolder* folder = node->Folder())
            dialog.EditDesc->setText(Edge.ToQt(folder->Description));
        bool nameEditable = InFolder(node);
        dialog.EditName->setEnabled(nameEditable);
        dialog.ShowPurgeBoxes(node == doc.HistoryNode);
        if (Services.RunDialog(dialog)) {
            bool purgeModify = dialog.CheckPurge->isChecked();
            bool purgeOthers = dialog.CheckPurgeAll->isChecked();
            if (purgeModify || purgeOthers)
                doc.PurgeHistory(purgeModify, purgeOthers);
            std::string description = Edge.FromQt(dialog.EditDesc->text());
            if (!nameEditable) {
                // The fixed sections and the folders keep their names, however long: only
                // the description changes.
                doc.ChangeSectionProperty(node->Text, description);
            } else {
                std::string name = Edge.FromQt(dialog.EditName->text());
                if (name != node->Text && doc.NodeTextExists(name))
                    Box.Information(kNameExists);
                else if (name.empty())
                    Box.Information(kInvalidName);
                else if (name.size() > kMaxNameLength)
                    Box.Information(kNameTooLong);
                else
                    doc.ChangeSectionProperty(name, description);
            }
        }
    }
    if (SelectedNode() && SelectedNode() == doc.SubRoutinesNode)
        TreeProgramChange();
}

void TEditorsHolder::SpeedBtnDeleteSecClick() {
    TRPGProgram& doc = *Document;
    TreeNode* node = SelectedNode();
    if (HasFocusWithin(TreeProgram) || HasFocusWithin(RichEditSource)) {
        TreeNode* folder = node ? node->Parent() : nullptr;
        if (folder && folder == doc.SubRoutinesNode)
            doc.DeleteSelectedSubRoutine();
        else if (folder && folder == doc.ArraysNode)
            doc.DeleteSelectedArray();
        else if (folder && folder == doc.OutputNode)
            doc.DeleteSelectedOutput();
    } else if (HasFocusWithin(ListViewObject) && ListViewObject->SelectedItem()) {
        std::string name = Edge.FromQt(ListViewObject->SelectedItem()->text(0));
        if (node && node == doc.SubRoutinesNode)
            doc.DeleteSubRoutine(name);
        else if (node && node == doc.ArraysNode)
            doc.DeleteArray(name);
        else if (node && node == doc.OutputNode)
            doc.DeleteOutput(name);
    }
    TreeProgramChange();
}

// -- Font size

void TEditorsHolder::ComboFontChange(int index) {
    QTextCursor selection = RichEditSource->textCursor();
    if (Frame_)
        Frame_->SetFontSizeIdx(index);
    else
        ApplyFontSizeIdx(index);
    RichEditSource->setTextCursor(selection);
    if (ActivePage() == ProgramPage::Source)
        RichEditSource->setFocus();
    else if (ActivePage() == ProgramPage::RpgView)
        MemoRPGView->setFocus();
}

// -- Popup menu: clipboard and prompt help

void TEditorsHolder::PopPasteClick() {
    RichEditSource->paste();
}

void TEditorsHolder::PopCopyClick() {
    RichEditSource->copy();
}

void TEditorsHolder::PopCutClick() {
    RichEditSource->cut();
}

char TEditorsHolder::ShownFormType() const {
    return SectionFormType(*Document, SelectedNode());
}

void TEditorsHolder::PopPromptatCursorClick() {
    // The statement of the caret's line is prompted wherever the caret stands on it; a
    // selection, or a line without a statement, goes by the word at the cursor.
    const QPoint caret = RichEditSource->CaretPos();
    const std::string line = RichEditSource->Line(caret.y());
    const TextSpan call = StatementCallSpan(line);
    const bool byWord = RichEditSource->textCursor().hasSelection() || call.Length == 0;
    const std::string statement =
        byWord ? RichEditSource->WordAtCursor(true) : line.substr(call.Start, call.Length);
    const char formType = ShownFormType();
    std::string_view trimmed = TrimView(statement);
    if (formType == 0 || trimmed.empty() || trimmed.front() == '#' || trimmed.front() == '+' ||
        trimmed.starts_with("/*")) {
        // Directives, comments and continuations are written as they stand.
        StatusPanel(MessagePanel)
            ->setText(formType == 0 ? "This section holds no statements to prompt."
                                    : "Nothing to prompt here: a statement has a name and "
                                      "its parameters in parentheses.");
        return;
    }
    std::string result =
        Services.PromptHelp(Document->ProgramDir, formType, statement, Edge.Page());
    if (result == kPromptCancelled)
        return;
    if (byWord) {
        RichEditSource->ReplaceWordAtCursor(result, true);
        return;
    }
    std::string styled = InStyleOf(statement, result);
    if (styled == statement)
        return;
    const int start = static_cast<int>(call.Start);
    RichEditSource->ReplaceText({start, caret.y()},
                                {start + static_cast<int>(call.Length), caret.y()}, styled);
    RichEditSource->SetCaretPos(caret.x(), caret.y());
}

std::string TEditorsHolder::CodeAtCursor() const {
    // The statement's name wherever the caret is on its line, so that a name holding a
    // delimiter (Z-ADD) is taken whole; a selection, or a line without one, goes by the word.
    if (!RichEditSource->textCursor().hasSelection()) {
        std::string line = RichEditSource->Line(RichEditSource->CaretPos().y());
        std::string_view name = StatementName(line);
        if (!name.empty())
            return std::string(name);
    }
    return RichEditSource->WordAtCursor(false);
}

void TEditorsHolder::PopCommandSyntaxClick() {
    std::string code = CodeAtCursor();
    char formType = ShownFormType();
    std::string format;
    if (IsTableSection(formType) && Services.StatementFormat) {
        format = Services.StatementFormat(Document->ProgramDir, formType, code);
        if (format.empty())
            format = UpperCase(code) + " is not a statement of this section.";
    } else {
        format = Services.OpCodeFormat(Document->ProgramDir, code);
    }
    StatusPanel(MessagePanel)->setText(Edge.ToQt(format));
}

void TEditorsHolder::PopTopicSearchClick() {
    std::string code = CodeAtCursor();
    char formType = ShownFormType();
    std::string keyword;
    if (IsTableSection(formType) && Services.StatementFormat &&
        !Services.StatementFormat(Document->ProgramDir, formType, code).empty()) {
        keyword = StatementHelpKeyword(code);
    } else {
        // Every END... operation shares one help topic.
        std::string topic = UpperCase(code).rfind("END", 0) == 0
                                ? std::string("Endyy")
                                : Services.OpCodeSymple(Document->ProgramDir, code);
        keyword = "IDH_OpCod_" + UpperCase(topic);
    }
    if (Frame_)
        Frame_->ShowHelpKeyword(keyword);
}

bool TEditorsHolder::RightButtonPress(Qt::KeyboardModifiers modifiers, const QPoint& globalPos) {
    if (!UseRightButton)
        return false;
    if (modifiers & Qt::AltModifier)
        PopupSource->popup(globalPos);
    else if (modifiers & Qt::ShiftModifier)
        RichEditSource->cut();
    else if (modifiers & Qt::ControlModifier)
        RichEditSource->copy();
    else
        RichEditSource->paste();
    return true;
}

// -- Popup menu: commit and restore

void TEditorsHolder::PopUpdateSectionClick() {
    Document->CommitCurrent();
    StatusPanel(ModifiedPanel)->clear();
}

void TEditorsHolder::RestoreSection(int kind) {
    std::string reason;
    if (!CanRestore(kind, &reason)) {
        // A command reached by its key or the frame's menu says why it does nothing.
        StatusPanel(MessagePanel)->setText(Edge.ToQt(reason));
        return;
    }
    Document->RestoreSelected(kind);
    // A restored text waits for the next commit like an edit.
    if (Document->EditorModified)
        StatusPanel(ModifiedPanel)->setText("Modified");
}

// -- Popup menu: section text import and export

void TEditorsHolder::ImportText(int mode) {
    if (!Frame_)
        return;
    std::optional<std::string> path = Frame_->ChooseTextFileToImport();
    if (!path)
        return;
    StringList lines;
    std::string error;
    if (!ReadSectionTextFile(*path, lines, &error, Edge)) {
        Box.Error(error);
        return;
    }
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += '\n';
        text += lines[i];
    }
    QTextCursor cursor = RichEditSource->textCursor();
    if (mode == 0) {
        // Inserted at the start of the selection, which stays as it is.
        cursor.setPosition(cursor.selectionStart());
    } else if (mode == 2) {
        cursor.select(QTextCursor::Document);
    }
    cursor.insertText(Edge.ToQt(text));
    RichEditSource->setTextCursor(cursor);
}

void TEditorsHolder::ExportText(bool selectedOnly) {
    if (!Frame_)
        return;
    std::optional<std::string> path = Frame_->ChooseTextFileToExport();
    if (!path)
        return;
    StringList lines;
    if (selectedOnly) {
        QString selected = RichEditSource->textCursor().selectedText();
        if (!selected.isEmpty())
            for (const QString& line : selected.split(QChar::ParagraphSeparator))
                lines.push_back(Edge.FromQt(line));
    } else {
        lines = RichEditSource->Lines();
    }
    std::string error;
    if (!WriteSectionTextFile(*path, lines, Frame_->TextFileEncoding(), &error, Edge))
        Box.Error(error);
}

void TEditorsHolder::PopImportatCursorClick() {
    ImportText(0);
}

void TEditorsHolder::PopReplaceSelClick() {
    ImportText(1);
}

void TEditorsHolder::PopImportOverrideClick() {
    ImportText(2);
}

void TEditorsHolder::PopExpSelectedTextClick() {
    ExportText(true);
}

void TEditorsHolder::PopExpAllSectionClick() {
    ExportText(false);
}

// -- Print

void TEditorsHolder::PopPrintSectionClick() {
    if (!Frame_)
        return;
    QPrinter printer;
    if (Frame_->ExecPrintDialog(printer))
        RichEditSource->Print(printer, QString());
}

// -- Close

bool TEditorsHolder::CloseQuery() {
    if (Closed)
        return true;
    TRPGProgram& doc = *Document;
    if (!doc.CloseProgram())
        return false;
    Closed = true;
    // Only a program that is on disk: an imported one never saved has no file to reopen.
    std::string path = doc.FilePath + doc.FileName;
    if (Frame_ && !doc.Untitled && !Discarding && orvale::FileExists(path))
        Frame_->AddToReopenList(path);
    EnableEditCommands(false);
    if (Frame_)
        Frame_->EnableEditButtons(false);
    return true;
}

void TEditorsHolder::DiscardChanges() {
    Discarding = true;
    Document->Modified = false;
    Document->EditorModified = false;
}
