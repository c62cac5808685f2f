#pragma once

// The prompt window: one row per parameter of an operation code, with its name, its value
// (editable), its longest length and a help note, in four side-by-side grids under a caption
// panel. Enter anywhere confirms, Escape cancels.

#include "PromptHelp.h"
#include "qtedge/TextEdge.h"

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tessary {

class TFPrmtH : public QDialog {
    Q_OBJECT

public:
    // The code page of the statement it prompts for.
    orvale::TextEdge Edge;

    explicit TFPrmtH(QWidget* parent = nullptr);

    // Fills the grids for the statement Text, from the parameter file of Dir, and sets the
    // caption. Row 0 of every grid lies under the caption panel; parameters start at row 1.
    void Fill(const std::string& dir, const std::string& text);
    // Fills the grids with Rows (any statement's), for the argument text Text.
    void Fill(const std::string& dir, const std::string& text, const TPromptRows& rows);

    const std::string& ProgramDir() const { return ProgramDir_; }
    // The resolved code that heads the result.
    const std::string& OpCode() const { return OpCode_; }
    // The argument text after Fill; the result ("CODE(...)" or "CANCEL") once closed.
    std::string WorkText;

    // The editor of a value row (1-based), or nullptr.
    QLineEdit* ValueEditor(int row) const;

    QTableWidget* StringName = nullptr;
    QTableWidget* StringValu = nullptr;
    QTableWidget* StringLeng = nullptr;
    QTableWidget* StringNote = nullptr;
    QWidget* PanelCap = nullptr;
    // What the user must know before filling the rows in; hidden when there is nothing.
    QLabel* LabelWarning = nullptr;
    QPushButton* BtnOk = nullptr;
    QPushButton* BtnCancel = nullptr;

public slots:
    void BtnOkClick();
    void BtnCancelClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Handles Enter and Escape for the whole window; true when the key was taken.
    bool PreviewKey(QKeyEvent* event);
    void CutToLength(int row);

    std::string ProgramDir_;
    std::string OpCode_;
    TPromptRows Rows;
    bool Answered = false; // closed by OK or Cancel rather than by the close box
};

} // namespace tessary
