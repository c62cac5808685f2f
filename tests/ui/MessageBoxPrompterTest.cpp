#include "ui/MessageBoxPrompter.h"

#include "support/QtApp.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
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

TEST_F(MessageBoxPrompterTest, PlacesOnlyTheNextBox) {
    TMessageBoxPrompter prompter;
    prompter.PlaceNextBox(120, 90);
    Press(prompter, Kind::Confirmation, Buttons::YesNoCancelAll, "No");
    EXPECT_EQ(Position, QPoint(120, 90));
    Press(prompter, Kind::Confirmation, Buttons::YesNoCancelAll, "No");
    EXPECT_NE(Position, QPoint(120, 90));
}
