// The Search menu's commands for a dated member: the lines changed since a date, the next and
// previous of them, and the line of a sequence number.

#include "ui/MainForm.h"

#include "ui/EditorsHolder.h"
#include "ui/FormChangedSince.h"

#include <QAction>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>

void TMainForm::BuildDatedSearchItems() {
    SearchMenu->addSeparator();
    auto item = [this](const char* name, const char* caption, const char* hint,
                       const QKeySequence& key = {}) {
        QAction* action = SearchMenu->addAction(QString::fromLatin1(caption));
        action->setObjectName(name);
        action->setStatusTip(QString::fromLatin1(hint));
        if (!key.isEmpty())
            action->setShortcut(key);
        return action;
    };
    SearchChangedSinceItem =
        item("SearchChangedSinceItem", "C&hanged Since...",
             "Tint and count the lines of a dated member changed on or after a date");
    SearchNextChangedItem =
        item("SearchNextChangedItem", "Next C&hanged Line",
             "Go to the next line changed since the date asked about", QKeySequence(Qt::Key_F7));
    SearchPrevChangedItem = item("SearchPrevChangedItem", "Previous Chan&ged Line",
                                 "Go to the previous line changed since the date asked about",
                                 QKeySequence(Qt::SHIFT | Qt::Key_F7));
    SearchGoToSequenceItem =
        item("SearchGoToSequenceItem", "Go to Se&quence Number...",
             "Go to the line of a sequence number, as the host's listing names it",
             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G));
    connect(SearchChangedSinceItem, &QAction::triggered, this,
            &TMainForm::SearchChangedSinceItemClick);
    connect(SearchNextChangedItem, &QAction::triggered, this,
            [this] { WithActiveWindow([](TEditorsHolder& w) { w.GoToChangedLine(1); }); });
    connect(SearchPrevChangedItem, &QAction::triggered, this,
            [this] { WithActiveWindow([](TEditorsHolder& w) { w.GoToChangedLine(-1); }); });
    connect(SearchGoToSequenceItem, &QAction::triggered, this,
            &TMainForm::SearchGoToSequenceItemClick);
}

void TMainForm::SearchChangedSinceItemClick() {
    WithActiveWindow([this](TEditorsHolder& window) {
        TFormChangedSince dialog(this);
        dialog.SetDate(window.ChangedSince);
        if (!RunModal(dialog))
            return;
        window.ShowChangedSince(dialog.Date());
    });
}

void TMainForm::SearchGoToSequenceItemClick() {
    WithActiveWindow([this](TEditorsHolder& window) {
        TFormGoToSequence dialog(this);
        if (!RunModal(dialog))
            return;
        window.GoToSequence(window.Edge.FromQt(dialog.EditSequence->text()));
    });
}
