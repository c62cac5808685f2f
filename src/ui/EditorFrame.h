#pragma once

// What a program editor window asks of the main frame that holds it. The frame implements
// this and hands it to each window it creates; a window without a frame (the window harness,
// tests) falls back to doing the window's own part and skips the frame's.

#include "ui/TextTransfer.h"

#include <optional>
#include <string>

class QPrinter;
class QWidget;

// What the source editor of a window can do now: the frame's undo, redo, cut and copy follow
// it. A name says what Undo (Redo) takes back when it is more than the editor's last edit.
struct TEditState {
    bool Undo = false;
    bool Redo = false;
    bool Selection = false;
    std::string UndoName;
    std::string RedoName;
};

class TEditorFrame {
public:
    virtual ~TEditorFrame() = default;

    // Puts a closed program's full path at the top of the recent-programs list.
    virtual void AddToReopenList(const std::string& path) = 0;
    // Enables the Edit menu's cut, copy, paste, undo, redo, select all, restore, import, export
    // text and print section, and the Search menu's find, replace and search again.
    virtual void EnableEditCommands(bool enabled) = 0;
    // Enables the button bar's cut, copy, paste, find and undo buttons.
    virtual void EnableEditButtons(bool enabled) = 0;
    // Window's editor can now do what State says (called after the two above): the frame's
    // undo, redo, cut and copy follow it while Window is the active one.
    virtual void ShowEditState(const QWidget* window, const TEditState& state) {
        (void)window;
        (void)state;
    }
    // Applies a font-size index ("6" to "18") to every open editor window (through their
    // ApplyFontSizeIdx) and keeps it as the FontSizeIdx option.
    virtual void SetFontSizeIdx(int index) = 0;
    // Opens the help file at a keyword. The frame marks that the help was opened from an
    // editor, so that losing the focus to the help does not disable the editor windows.
    virtual void ShowHelpKeyword(const std::string& keyword) = 0;
    // The print dialog on Printer; true when the user confirmed.
    virtual bool ExecPrintDialog(QPrinter& printer) = 0;
    // Puts text on the clipboard back as plain text.
    virtual void NormaliseClipboard() = 0;
    // The frame's save dialog with a title, folder and file name; the chosen path or nothing.
    virtual std::optional<std::string> ChooseSaveFile(const std::string& title,
                                                      const std::string& initialDir,
                                                      const std::string& fileName) = 0;
    // The open dialog for a section's text import, and the save dialog for its export (the
    // frame restores both dialogs' filters afterwards); the chosen path or nothing.
    virtual std::optional<std::string> ChooseTextFileToImport() = 0;
    virtual std::optional<std::string> ChooseTextFileToExport() = 0;
    // How a section's text export writes its file.
    virtual TTextFileEncoding TextFileEncoding() const { return TTextFileEncoding::Utf8Lf; }
};
