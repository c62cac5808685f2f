#pragma once

// The program archive window: the program files of the program directory with the backups
// saving left beside them, and the exchange of a program with its backup.

#include "platform/Prompter.h"

#include <QDialog>

#include <string>

class QLabel;
class QPushButton;
class QTreeWidget;

class TCaddisWindow : public QDialog {
    Q_OBJECT
public:
    TCaddisWindow(std::string folder, orvale::Prompter& prompter, QWidget* parent = nullptr);

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
    std::string Folder;
    orvale::Prompter& Prompter;
};
