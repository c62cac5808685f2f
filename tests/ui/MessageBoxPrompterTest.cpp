#include "ui/MessageBoxPrompter.h"

#include "ui/DialogFrame.h"

#include "support/QtApp.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

using orvale::Prompter;
using Kind = Prompter::Kind;
using Buttons = Prompter::Buttons;
using Answer = Prompter::Answer;

namespace {

class MessageBoxPrompterTest : public ::testing::Test {
protected:
    MessageBoxPrompterTest() { orvale::test::QtApp(); }

    // Runs one box and presses the button with Text, or closes the box without a button
    // when Text is empty; remembers what the box looked like.
    Answer Press(TMessageBoxPrompter& prompter, Kind kind, Buttons buttons, const QString& text) {
        prompter.SetBeforeExec([&](QMessageBox& box) {
            QTimer::singleShot(0, &box, [&box, text, this] {
                Icon = box.icon();
                Title = box.windowTitle();
                Position = box.pos();
                Size = box.size();
                Captions.clear();
                for (QAbstractButton* button : box.buttons())
                    Captions << button->text().remove('&');
                Captions.sort();
                if (text.isEmpty()) {
                    box.reject();
                    return;
                }
                for (QAbstractButton* button : box.buttons())
                    if (button->text().remove('&') == text)
                        button->click();
            });
        });
        return prompter.Show(kind, "Question?", buttons);
    }

    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QString Title;
    QPoint Position;
    QSize Size;
    QStringList Captions;
};

} // namespace

TEST_F(MessageBoxPrompterTest, KindsAndButtonSets) {
    QGuiApplication::setApplicationDisplayName("Orvale 1.0");
    TMessageBoxPrompter prompter;
    EXPECT_EQ(Press(prompter, Kind::Error, Buttons::Ok, "OK"), Answer::Ok);
    EXPECT_EQ(Icon, QMessageBox::Critical);
    EXPECT_EQ(Title, "Orvale 1.0");
    EXPECT_EQ(Captions, QStringList({"OK"}));

    EXPECT_EQ(Press(prompter, Kind::Warning, Buttons::OkCancel, "Cancel"), Answer::Cancel);
    EXPECT_EQ(Icon, QMessageBox::Warning);
    EXPECT_EQ(Press(prompter, Kind::Information, Buttons::YesNo, "No"), Answer::No);
    EXPECT_EQ(Icon, QMessageBox::Information);
    EXPECT_EQ(Press(prompter, Kind::Plain, Buttons::Ok, "OK"), Answer::Ok);
    EXPECT_EQ(Icon, QMessageBox::NoIcon);

    // The replace question offers All beside Yes, No and Cancel.
    EXPECT_EQ(Press(prompter, Kind::Confirmation, Buttons::YesNoCancelAll, "All"), Answer::All);
    EXPECT_EQ(Icon, QMessageBox::Question);
    EXPECT_EQ(Captions, QStringList({"All", "Cancel", "No", "Yes"}));
    EXPECT_EQ(Press(prompter, Kind::Confirmation, Buttons::YesNoCancelAll, "Yes"), Answer::Yes);
}

TEST_F(MessageBoxPrompterTest, ClosingWithoutAButtonIsTheCarefulAnswer) {
    TMessageBoxPrompter prompter;
    EXPECT_EQ(Press(prompter, Kind::Confirmation, Buttons::YesNoCancel, ""), Answer::Cancel);
    EXPECT_EQ(Press(prompter, Kind::Information, Buttons::YesNo, ""), Answer::No);
    EXPECT_EQ(Press(prompter, Kind::Confirmation, Buttons::OkCancel, ""), Answer::Cancel);
    EXPECT_EQ(Press(prompter, Kind::Error, Buttons::Ok, ""), Answer::Ok);
}

TEST_F(MessageBoxPrompterTest, ABoxKeptClearOfALineLeavesItUncovered) {
    QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    TMessageBoxPrompter prompter;
    // A line in the upper half: the box goes below it.
    QRect line(screen.left() + 50, screen.top() + 100, 600, 18);
    prompter.KeepNextBoxClearOf(line.left(), line.top(), line.right(), line.bottom());
    Press(prompter, Kind::Confirmation, Buttons::YesNoCancelAll, "No");
    EXPECT_GT(Position.y(), line.bottom());
    EXPECT_EQ(Position.x(), line.left());
    // A line at the bottom of the screen: the box goes above it.
    line.moveTop(screen.bottom() - 30);
    prompter.KeepNextBoxClearOf(line.left(), line.top(), line.right(), line.bottom());
    Press(prompter, Kind::Confirmation, Buttons::YesNoCancelAll, "No");
    EXPECT_LT(Position.y() + Size.height(), line.top());
}

TEST(PlaceClearOf, BelowTheLineWhenThereIsRoomElseAboveAndAlwaysOnTheScreen) {
    const QRect screen(0, 0, 1000, 800);
    const QSize box(300, 120);
    EXPECT_EQ(PlaceClearOf(QRect(100, 200, 500, 20), box, screen), QPoint(100, 228));
    EXPECT_EQ(PlaceClearOf(QRect(100, 700, 500, 20), box, screen), QPoint(100, 572));
    // Level with the line, pushed back onto the screen.
    EXPECT_EQ(PlaceClearOf(QRect(900, 200, 90, 20), box, screen).x(), 700);
    EXPECT_EQ(PlaceClearOf(QRect(-40, 200, 90, 20), box, screen).x(), 0);
    // Just room below, then just room above.
    const QRect low(0, 0, 1000, 200);
    EXPECT_EQ(PlaceClearOf(QRect(0, 50, 500, 20), box, low), QPoint(0, 78));
    EXPECT_EQ(PlaceClearOf(QRect(0, 130, 500, 20), box, low), QPoint(0, 2));
    // A screen too short for either side: the larger side, inside the screen.
    const QRect lower(0, 0, 1000, 150);
    EXPECT_EQ(PlaceClearOf(QRect(0, 40, 500, 20), box, lower), QPoint(0, 30));
    EXPECT_EQ(PlaceClearOf(QRect(0, 100, 500, 20), box, lower), QPoint(0, 0));
}

TEST_F(MessageBoxPrompterTest, PlacesOnlyTheNextBox) {
    TMessageBoxPrompter prompter;
    prompter.PlaceNextBox(120, 90);
    Press(prompter, Kind::Confirmation, Buttons::YesNoCancelAll, "No");
    EXPECT_EQ(Position, QPoint(120, 90));
    Press(prompter, Kind::Confirmation, Buttons::YesNoCancelAll, "No");
    EXPECT_NE(Position, QPoint(120, 90));
}
