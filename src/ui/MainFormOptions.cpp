// The main frame's options: read after the login, written at the close, edited in their
// dialogs and pushed into the open windows; the font size of every window; the button bar;
// the password change.

#include "ui/MainForm.h"

#include "platform/Prompter.h"
#include "rpgprogram/RPGProgram.h"
#include "ui/ColorComboBox.h"
#include "ui/ExtRichEdit.h"
#include "ui/FormEditOptions.h"
#include "ui/FormExportOpt.h"
#include "ui/FormGenRPG.h"
#include "ui/FormHistory.h"
#include "ui/FormUndoOpt.h"
#include "ui/PasswordDlg.h"
#include "ui/Sicurezza.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QSignalBlocker>
#include <QTextCursor>

namespace {

void ClearSelection(TExtRichEdit& editor) {
    QTextCursor cursor = editor.textCursor();
    cursor.clearSelection();
    editor.setTextCursor(cursor);
}

// Shows the font-size index in the window's list and gives its size to the source editor
// (and to the RPG/400 view with RpgViewToo). An index the list does not hold leaves the list
// without a choice and gives 12.
void ShowFontSize(TEditorsHolder& window, int index, bool rpgViewToo) {
    {
        QSignalBlocker quiet(window.ComboFont);
        bool listed = index >= 0 && index < window.ComboFont->count();
        window.ComboFont->setCurrentIndex(listed ? index : -1);
    }
    int size = FontSizeForIndex(index);
    window.RichEditSource->SetFontSize(size);
    if (rpgViewToo)
        window.MemoRPGView->SetFontSize(size);
}

// The editor settings of the options, into one window's source editor.
void ApplyEditorSettings(TEditorsHolder& window, const TEditorOptions& editor) {
    window.EditorPopupMemu = editor.EditorPopupMemu;
    window.UseRightButton = editor.UseRightButton;
    window.HostDateFormat = editor.HostDateFormat;
}

void ApplyTypingAids(TExtRichEdit& source, const TEditorOptions& editor) {
    source.SetAutoIndent(editor.AutoIndent);
    source.SetBackUnindent(editor.BackUnindent);
    source.SetCursThrTabs(editor.CursThrTabs);
    source.SetTabSpaces(editor.TabSpaces);
}

void ApplyHistorySwitches(TRPGProgram& doc, const THistoryOptions& history) {
    doc.LogAdd = history.AddSec;
    doc.LogDelete = history.DelSec;
    doc.LogModify = history.ModSec;
    doc.LogRename = history.ModSPr;
    doc.LogProperty = history.ModPrp;
}

void ApplyUndoOptions(TEditorsHolder& window, const TUndoOptions& undo) {
    window.Document->SetUndoOptions(undo.Previous, undo.LastOpen, undo.LastSave);
    window.PopRestPrevUpdate->setEnabled(undo.Previous);
    window.PopRestLastOpen->setEnabled(undo.LastOpen);
    window.PopRestLastSave->setEnabled(undo.LastSave);
}

} // namespace

TFormGenRPG* TMainForm::CompilerOptions() const {
    // The form keeps its options as its controls change; the documents only read them.
    return const_cast<TFormGenRPG*>(&FormGenRPG->Options());
}

// -- The options file

void TMainForm::ReadOptions() {
    TFormGenRPG compiler;
    std::string error;
    if (!LoadOptionsFile(OptionsFile, Options, compiler, &error))
        Box.Warning(error);
    FormGenRPG->SetOptions(compiler);
    RestoreWindowLayout();
    RestPrevUpdate->setEnabled(Options.Undo.Previous);
    RestLastOpen->setEnabled(Options.Undo.LastOpen);
    RestLastSaved->setEnabled(Options.Undo.LastSave);
    UpdateReopenMenu();
}

void TMainForm::WriteOptions() {
    TWindowOptions& layout = Options.Window;
    layout.Geometry = saveGeometry().toBase64().toStdString();
    layout.State = saveState().toBase64().toStdString();
    layout.ButtonBar = PanelButt->height() >= 3;
    std::string error;
    if (!SaveOptionsFile(OptionsFile, Options, FormGenRPG->Options(), &error))
        Box.Error(error);
}

void TMainForm::RestoreWindowLayout() {
    const TWindowOptions& layout = Options.Window;
    if (!layout.Geometry.empty())
        restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(layout.Geometry)));
    if (!layout.State.empty())
        restoreState(QByteArray::fromBase64(QByteArray::fromStdString(layout.State)));
    OptionsButtonBarItem->setChecked(layout.ButtonBar);
    OptionsButtonBarItemClick();
}

// -- Options into the windows

void TMainForm::ApplyOptionsToWindow(TEditorsHolder& window) {
    TRPGProgram& doc = *window.Document;
    const TEditorOptions& editor = Options.Editor;
    ApplyHistorySwitches(doc, Options.History);
    ApplyUndoOptions(window, Options.Undo);
    doc.TabSpaces = editor.TabSpaces;
    ApplyEditorSettings(window, editor);
    NormaliseClipboard();
    TExtRichEdit& source = *window.RichEditSource;
    ClearSelection(source);
    source.SetBackColor(ColorFromValue(editor.BackColor));
    source.SetTextColor(ColorFromValue(editor.TextColor));
    ShowFontSize(window, editor.FontSizeIdx, true);
    ApplyTypingAids(source, editor);
    QApplication::processEvents();
}

void TMainForm::SetFontSizeIdx(int index) {
    Options.Editor.FontSizeIdx = index;
    for (TEditorsHolder* window : EditorWindows()) {
        NormaliseClipboard();
        ClearSelection(*window->RichEditSource);
        window->ApplyFontSizeIdx(index);
    }
}

// -- Option dialogs

void TMainForm::OptionEditorItemClick() {
    TFormEditOptions dialog(this);
    dialog.LoadFrom(Options);
    if (!RunModal(dialog))
        return;
    dialog.StoreInto(Options);
    const TEditorOptions& editor = Options.Editor;
    for (TEditorsHolder* window : EditorWindows()) {
        ApplyEditorSettings(*window, editor);
        NormaliseClipboard();
        TExtRichEdit& source = *window->RichEditSource;
        ClearSelection(source);
        source.SetBackColor(ColorFromValue(editor.BackColor));
        source.SetTextColor(ColorFromValue(editor.TextColor));
        // Only the source editor takes the new size here; the RPG/400 view follows the list
        // on its next change.
        ShowFontSize(*window, editor.FontSizeIdx, false);
        ApplyTypingAids(source, editor);
        QApplication::processEvents();
    }
}

void TMainForm::OptionUndoItemClick() {
    TFormUndoOpt dialog(this);
    dialog.LoadFrom(Options);
    if (!RunModal(dialog))
        return;
    dialog.StoreInto(Options);
    for (TEditorsHolder* window : EditorWindows())
        ApplyUndoOptions(*window, Options.Undo);
}

void TMainForm::OptionHistoryLogItemClick() {
    TFormHistory dialog(this);
    dialog.LoadFrom(Options);
    if (!RunModal(dialog))
        return;
    dialog.StoreInto(Options);
    for (TEditorsHolder* window : EditorWindows())
        ApplyHistorySwitches(*window->Document, Options.History);
}

void TMainForm::OptionCompilerItemClick() {
    RunModal(*FormGenRPG);
}

void TMainForm::OptionExportItemClick() {
    TFormExportOpt dialog(this);
    dialog.LoadFrom(Options);
    if (RunModal(dialog))
        dialog.StoreInto(Options);
}

void TMainForm::OptionsButtonBarItemClick() {
    bool shown = OptionsButtonBarItem->isChecked();
    PanelButt->setFixedHeight(shown ? kButtonBarHeight : kFoldedButtonBarHeight);
}

void TMainForm::OptionChPassItemClick() {
    TPasswordDlg login(ProgramDir, Box, this);
    RunModal(login);
    if (!login.LoginAccepted())
        return;
    UserName = login.UserName();
    // The programs open from now on are changed by the user who logged in.
    for (TEditorsHolder* window : EditorWindows())
        window->Document->UserName = UserName;
    TSicurezza change(ProgramDir, UserName, Box, this);
    RunModal(change);
}
