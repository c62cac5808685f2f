#pragma once

// The help window: the HTML help pages of the program directory's Help folder, opened at the
// page and anchor of a keyword of the help file "Orvale.hlp".

#include "frame/HelpIndex.h"
#include "qtedge/TextEdge.h"

#include <QWidget>

#include <string>

class QLabel;
class QPushButton;
class QTextBrowser;

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    // The code page of the help pages.
    orvale::TextEdge Edge;

    explicit THelpWindow(QWidget* parent = nullptr);

    // Reads the keyword index. False (and a note in the window) when it cannot be read.
    bool OpenHelpFile(const std::string& helpFile);

    // Shows the page of Keyword and brings the window up. An operation code without a page
    // shows the overview of the operation codes, any other unknown keyword the contents; both
    // say so in the status line and return false.
    bool ShowKeyword(const std::string& keyword);
    void ShowContents();

    // The page shown, as a local path, and its anchor.
    std::string CurrentPage() const;
    std::string CurrentAnchor() const;

    QTextBrowser* Browser = nullptr;
    QPushButton* BtnContents = nullptr;
    QPushButton* BtnBack = nullptr;
    QPushButton* BtnForward = nullptr;
    QLabel* LabelStatus = nullptr;

private:
    void Show(const THelpTarget& target);
    void Raise();

    std::string HelpFile;
    THelpIndex Index;
};
