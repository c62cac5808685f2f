#pragma once

// The print-layout aid: an output section's statements in an editor beside the printed page
// they make, laid out on a column ruler and redrawn as the statements change.

#include "platform/StringList.h"
#include "qtedge/TextEdge.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

class TLumbroWindow : public QDialog {
    Q_OBJECT
public:
    // Edge: the code page of the statements.
    explicit TLumbroWindow(const StringList& statements, const orvale::TextEdge& edge = {},
                           QWidget* parent = nullptr);

    StringList Statements() const;
    // True when the window was accepted with statements other than those it was given.
    bool Changed() const;

    QPlainTextEdit* EditStatements = nullptr;
    QPlainTextEdit* MemoLayout = nullptr;
    QLabel* LabelStatus = nullptr;
    QPushButton* BtnPreview = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;

public slots:
    // Compiles the statements and draws their layout.
    void Preview();

private:
    orvale::TextEdge Edge;
    QString OriginalText;
    QTimer* PreviewTimer = nullptr;
};
