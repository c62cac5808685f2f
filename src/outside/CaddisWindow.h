#pragma once

// The program archive window: the program files of the program directory with the backups
// saving left beside them, and the exchange of a program with its backup.

#include "platform/Prompter.h"
#include "qtedge/TextEdge.h"

#include <QDialog>

#include <string>

class QLabel;
class QPushButton;
class QTreeWidget;

class TCaddisWindow : public QDialog {
    Q_OBJECT
public:
    // Edge: the code page of the texts it shows beside the file names.
    TCaddisWindow(std::string folder, orvale::Prompter& prompter, const orvale::TextEdge& edge = {},
                  QWidget* parent = nullptr);

    // Reads the folder again.
    void Refresh();

    QLabel* LabelFolder = nullptr;
    QTreeWidget* TreeArchive = nullptr;
    QPushButton* BtnRefresh = nullptr;
    QPushButton* BtnExchange = nullptr;
    QPushButton* BtnClose = nullptr;

private slots:
    void BtnExchangeClick();
    void SelectionChanged();

private:
    orvale::TextEdge Edge;
    std::string Folder;
    orvale::Prompter& Prompter;
};
