#include "ui/MessageBoxPrompter.h"

#include "qtedge/TextEdge.h"
#include "ui/DialogFrame.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

using orvale::Prompter;

namespace {

constexpr const char* kAllButtonName = "BtnAll";
// Height the window manager's title bar adds to a box (its size leaves it out until shown).
constexpr int kTitleBarAllowance = 32;

QMessageBox::Icon IconOf(Prompter::Kind kind) {
    switch (kind) {
    case Prompter::Kind::Error:
        return QMessageBox::Critical;
    case Prompter::Kind::Warning:
        return QMessageBox::Warning;
    case Prompter::Kind::Information:
        return QMessageBox::Information;
    case Prompter::Kind::Confirmation:
        return QMessageBox::Question;
    case Prompter::Kind::Plain:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons StandardButtonsOf(Prompter::Buttons buttons) {
    switch (buttons) {
    case Prompter::Buttons::Ok:
        return QMessageBox::Ok;
    case Prompter::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Prompter::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Prompter::Buttons::YesNoCancel:
    case Prompter::Buttons::YesNoCancelAll:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// What a box closed without a button (Escape, the close box) answers: the most careful
// choice it offers.
QMessageBox::StandardButton EscapeOf(Prompter::Buttons buttons) {
    switch (buttons) {
    case Prompter::Buttons::Ok:
        return QMessageBox::Ok;
    case Prompter::Buttons::YesNo:
        return QMessageBox::No;
    default:
        return QMessageBox::Cancel;
    }
}

} // namespace

TMessageBoxPrompter::TMessageBoxPrompter(QWidget* parent) : Parent(parent) {}

void TMessageBoxPrompter::Build(QMessageBox& box, Kind kind, const QString& text, Buttons buttons,
                                const QString& caption) {
    box.setIcon(IconOf(kind));
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    box.setWindowTitle(caption.isEmpty() ? QGuiApplication::applicationDisplayName() : caption);
    box.setStandardButtons(StandardButtonsOf(buttons));
    if (buttons == Buttons::YesNoCancelAll) {
        QPushButton* all = box.addButton("&All", QMessageBox::AcceptRole);
        all->setObjectName(kAllButtonName);
    }
    box.setDefaultButton(buttons == Buttons::Ok || buttons == Buttons::OkCancel ? QMessageBox::Ok
                                                                                : QMessageBox::Yes);
    box.setEscapeButton(box.button(EscapeOf(buttons)));
}

Prompter::Answer TMessageBoxPrompter::AnswerOf(const QMessageBox& box, Buttons buttons) {
    QAbstractButton* clicked = box.clickedButton();
    if (clicked && clicked->objectName() == kAllButtonName)
        return Answer::All;
    switch (clicked ? box.standardButton(clicked) : EscapeOf(buttons)) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        break;
    }
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

Prompter::Answer TMessageBoxPrompter::Show(Kind kind, const std::string& text, Buttons buttons,
                                           const std::string& caption) {
    QWidget* parent = Parent ? Parent.data() : QApplication::activeWindow();
    QMessageBox box(parent);
    Build(box, kind, Edge.ToQt(text), buttons, Edge.ToQt(caption));
    if (NextPlace) {
        box.move(*NextPlace);
        NextPlace.reset();
    }
    if (KeepClear) {
        box.adjustSize();
        QScreen* screen = QGuiApplication::screenAt(KeepClear->center());
        if (!screen)
            screen = box.screen();
        // The window manager's title bar is not part of the box's size yet.
        QSize framed = box.size() + QSize(0, kTitleBarAllowance);
        QRect area = screen ? screen->availableGeometry() : KeepClear->united(box.rect());
        box.move(PlaceClearOf(*KeepClear, framed, area));
        KeepClear.reset();
    }
    if (BeforeExec)
        BeforeExec(box);
    box.exec();
    return AnswerOf(box, buttons);
}

void TMessageBoxPrompter::PlaceNextBox(int x, int y) {
    NextPlace = QPoint(x, y);
}

void TMessageBoxPrompter::KeepNextBoxClearOf(int left, int top, int right, int bottom) {
    KeepClear = QRect(QPoint(left, top), QPoint(right, bottom));
}
