// The main frame's commands on the active window's editor (undo, redo, find, replace), the
// window arrangement and list, the help and the about box, and the clipboard.

#include "ui/MainForm.h"

#include "qtedge/FileNames.h"
#include "sysinfo/SystemInfo.h"
#include "ui/AboutBox.h"
#include "ui/ExtRichEdit.h"
#include "ui/FormFind.h"
#include "ui/HelpWindow.h"
#include "ui/LibraryVersions.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QToolButton>

// -- Undo and redo: the editor's last edit, or a command's changes to several sections.

void TMainForm::EditUndoItemClick() {
    // The items follow what the editor can do next (ShowEditState).
    WithActiveWindow([](TEditorsHolder& window) { window.UndoEdit(); });
}

void TMainForm::EditRedoItemClick() {
    WithActiveWindow([](TEditorsHolder& window) { window.RedoEdit(); });
}

// -- Find and replace

void TMainForm::SearchFindItemClick() {
    WithActiveWindow([this](TEditorsHolder& window) { FormFind->ShowFind(window); });
}

void TMainForm::SearchReplaceItemClick() {
    WithActiveWindow([this](TEditorsHolder& window) { FormFind->ShowReplace(window); });
}

void TMainForm::SearchSAgainItemClick() {
    WithActiveWindow([this](TEditorsHolder& window) { FormFind->SearchAgain(window); });
}

// -- Windows

void TMainForm::WindowArrangeItemClick() {
    // The minimised windows line up along the bottom of the client area, left to right, in
    // as many rows as they need.
    const int width = MdiArea->viewport()->width();
    const int bottom = MdiArea->viewport()->height();
    int x = 0;
    int row = 0;
    for (QMdiSubWindow* sub : MdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!sub->isMinimized())
            continue;
        QSize size = sub->size();
        if (x > 0 && x + size.width() > width) {
            x = 0;
            ++row;
        }
        sub->move(x, bottom - (row + 1) * size.height());
        x += size.width();
    }
}

void TMainForm::WindowMinimizeItemClick() {
    for (QMdiSubWindow* sub : MdiArea->subWindowList())
        sub->showMinimized();
}

void TMainForm::UpdateWindowList() {
    for (QAction* item : WindowListActions) {
        WindowMenu->removeAction(item);
        item->deleteLater();
    }
    WindowListActions.clear();
    QMdiSubWindow* current = ActiveSubWindow();
    int number = 0;
    for (QMdiSubWindow* sub : MdiArea->subWindowList(QMdiArea::CreationOrder)) {
        ++number;
        QString caption = sub->windowTitle();
        caption.replace('&', "&&");
        QAction* item = WindowMenu->addAction(QString("&%1 %2").arg(number).arg(caption));
        item->setCheckable(true);
        item->setChecked(sub == current);
        connect(item, &QAction::triggered, this, [this, sub] {
            if (MdiArea->subWindowList().contains(sub)) {
                if (sub->isMinimized())
                    sub->showNormal();
                MdiArea->setActiveSubWindow(sub);
            }
        });
        WindowListActions.push_back(item);
    }
}

// -- Help and about

THelpWindow& TMainForm::Help() {
    if (!HelpWindow) {
        HelpWindow = new THelpWindow(this);
        HelpWindow->setWindowFlag(Qt::Window);
        HelpWindow->OpenHelpFile(HelpFile);
    }
    return *HelpWindow;
}

void TMainForm::OpenHelp(const std::string& keyword) {
    Help().ShowKeyword(keyword);
}

void TMainForm::ShowHelpKeyword(const std::string& keyword) {
    HelpShowing = true;
    QApplication::processEvents();
    OpenHelp(keyword);
}

void TMainForm::HelpOrvaleItemClick() {
    THelpWindow& help = Help();
    // Shown even without a help file: the window then says why it is empty.
    help.show();
    help.raise();
    help.activateWindow();
    help.ShowContents();
}

void TMainForm::HelpAboutItemClick() {
    TAboutBox box(sysinfo::ReadSystemInfo(), LibraryVersions(), this);
    RunModal(box);
}

// -- The clipboard

void TMainForm::NormaliseClipboard() {
    // The editor's paste takes only the plain text of whatever the clipboard holds, so the
    // clipboard is not rewritten here: it keeps what other programs put on it, in every form
    // they offered.
}
