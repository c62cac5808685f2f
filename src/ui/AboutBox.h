#pragma once

// "About Orvale": the program's version, the system it runs on and, on the "DLL" panel, the
// versions of the libraries it binds.

#include "qtedge/TextEdge.h"
#include "sysinfo/SystemInfo.h"
#include "ui/LibraryVersions.h"

#include <QDialog>

#include <vector>

class QLabel;
class QPushButton;
class QStackedWidget;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    // The code page of the texts it shows.
    orvale::TextEdge Edge;

    TAboutBox(const sysinfo::TSystemInfo& info, const std::vector<TLibraryVersion>& libraries,
              QWidget* parent = nullptr);

    // The box for the running system and libraries, shown modally.
    static void ShowAbout(QWidget* parent);

    QLabel* LabelVersion = nullptr;
    QLabel* LabelOS = nullptr;
    QLabel* LabelProcessor = nullptr;
    QLabel* LabelOwner = nullptr;
    QLabel* LabelOrganisation = nullptr;
    QLabel* LabelTotalMemory = nullptr;
    QLabel* LabelFreeMemory = nullptr;
    QLabel* LabelSwap = nullptr;
    QStackedWidget* Pages = nullptr;
    QWidget* PanelInfo = nullptr;
    QWidget* PanelDLL = nullptr;
    QPushButton* BtnDLL = nullptr;
    QPushButton* BtnInfo = nullptr;
    QPushButton* BtnOK = nullptr;

private:
    void ShowPanel(QWidget* panel);
};
