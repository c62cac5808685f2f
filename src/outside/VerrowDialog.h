#pragma once

// The program browser: a folder of program files, each shown with its Description section,
// from which the user picks one to open.

#include "qtedge/TextEdge.h"

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

class TVerrowDialog : public QDialog {
    Q_OBJECT
public:
    // Edge: the code page of the programs' descriptions.
    explicit TVerrowDialog(const std::string& folder, const orvale::TextEdge& edge = {},
                           QWidget* parent = nullptr);

    // The chosen program's full path; empty unless the dialog was accepted with a selection.
    std::string SelectedPath() const;
    std::string Folder() const;
    // Lists the programs of Folder and shows it in the folder field.
    void SetFolder(const std::string& folder);

    QLineEdit* EditFolder = nullptr;
    QPushButton* BtnFolder = nullptr;
    QListWidget* ListPrograms = nullptr;
    QLabel* LabelCaption = nullptr;
    QPlainTextEdit* MemoDescription = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;

private slots:
    void BtnFolderClick();
    void ProgramChanged();

private:
    void Reload();

    orvale::TextEdge Edge;
    std::string Folder_;
};
