#include "ui/PasswordDlg.h"
#include "access/Login.h"
#include "access/PasswordChange.h"
#include "support/QtApp.h"
#include "support/TempDir.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

using orvale::Prompter;
using orvale::ScriptedPrompter;
using orvale::test::TempDir;

namespace {

class PasswordDlgTest : public ::testing::Test {
protected:
    PasswordDlgTest() { orvale::test::QtApp(); }

    void SetPassword(const std::string& user, const std::string& password) {
        TKeyFile keys(TKeyFile::PathIn(Dir.Path()));
        ASSERT_TRUE(ChangePassword(keys, user, password, password).Changed);
    }

    void Type(QLineEdit* edit, const char* text) {
        edit->clear();
        QTest::keyClicks(edit, text);
    }

    TempDir Dir;
    ScriptedPrompter Prompter;
};

bool HasLabel(QWidget* parent, const QString& text) {
    for (QLabel* label : parent->findChildren<QLabel*>())
        if (label->text() == text)
            return true;
    return false;
}

} // namespace

TEST_F(PasswordDlgTest, ControlsCaptionsAndInputRules) {
    TPasswordDlg dlg(Dir.Path(), Prompter);
    EXPECT_EQ(dlg.windowTitle(), "Password Dialog");
    EXPECT_EQ(dlg.findChild<QLineEdit*>("EditUserName"), dlg.EditUserName);
    EXPECT_EQ(dlg.findChild<QLineEdit*>("EditPassword"), dlg.EditPassword);
    ASSERT_EQ(dlg.findChild<QPushButton*>("BtnOK"), dlg.BtnOK);
    ASSERT_EQ(dlg.findChild<QPushButton*>("BtnCancel"), dlg.BtnCancel);
    EXPECT_EQ(dlg.BtnOK->text(), "OK");
    EXPECT_TRUE(dlg.BtnOK->isDefault());
    EXPECT_EQ(dlg.BtnCancel->text(), "Cancel");
    EXPECT_TRUE(HasLabel(&dlg, "User Name:"));
    EXPECT_TRUE(HasLabel(&dlg, "Password:"));
    EXPECT_EQ(dlg.EditPassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dlg.EditUserName->echoMode(), QLineEdit::Normal);

    // Both fields turn letters into capitals as they are typed.
    QTest::keyClicks(dlg.EditUserName, "mario x");
    EXPECT_EQ(dlg.EditUserName->text(), "MARIO X");
    QTest::keyClicks(dlg.EditPassword, "se");
    QKeyEvent eGrave(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(0xE8)));
    QApplication::sendEvent(dlg.EditPassword, &eGrave);
    QTest::keyClicks(dlg.EditPassword, "cret");
    // Only a-z change case, as in every other text rule of the program.
    EXPECT_EQ(dlg.EditPassword->text(), QString::fromLatin1("SE\xE8"
                                                            "CRET"));
    // Text the key file cannot hold is not taken.
    dlg.EditUserName->clear();
    dlg.EditUserName->insert(QString::fromUtf8("A\u20ACB"));
    EXPECT_EQ(dlg.EditUserName->text(), "");
}

TEST_F(PasswordDlgTest, RefusedTriesKeepTheDialogOpenUntilTheRightPassword) {
    SetPassword("MARIO", "SECRET");
    TPasswordDlg dlg(Dir.Path(), Prompter);
    dlg.show();

    Type(dlg.EditUserName, "abc");
    Type(dlg.EditPassword, "secret");
    QTest::mouseClick(dlg.BtnOK, Qt::LeftButton);
    ASSERT_EQ(Prompter.Messages.size(), 1u);
    EXPECT_EQ(Prompter.Messages[0].BoxKind, Prompter::Kind::Warning);
    EXPECT_EQ(Prompter.Messages[0].Text, "User Name not valid!");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.EditPassword->text(), "");
    EXPECT_EQ(dlg.focusWidget(), dlg.EditPassword);

    Type(dlg.EditUserName, "mario");
    Type(dlg.EditPassword, "wrong");
    QTest::mouseClick(dlg.BtnOK, Qt::LeftButton);
    ASSERT_EQ(Prompter.Messages.size(), 2u);
    EXPECT_EQ(Prompter.Messages[1].BoxKind, Prompter::Kind::Error);
    EXPECT_EQ(Prompter.Messages[1].Text, "Password not valid!");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.LoginAccepted());
    EXPECT_EQ(dlg.UserName(), "");

    // Typed in lower case, compared in upper case; Enter presses the default button.
    Type(dlg.EditPassword, "secret");
    QTest::keyClick(dlg.EditPassword, Qt::Key_Return);
    EXPECT_EQ(Prompter.Messages.size(), 2u);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(dlg.LoginAccepted());
    EXPECT_EQ(dlg.UserName(), "MARIO");
}

TEST_F(PasswordDlgTest, CancelClosesUnaccepted) {
    SetPassword("MARIO", "SECRET");
    TPasswordDlg dlg(Dir.Path(), Prompter);
    dlg.show();
    Type(dlg.EditUserName, "mario");
    Type(dlg.EditPassword, "secret");
    QTest::mouseClick(dlg.BtnCancel, Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(dlg.LoginAccepted());
    EXPECT_EQ(dlg.UserName(), "");
    EXPECT_TRUE(Prompter.Messages.empty());
}

TEST_F(PasswordDlgTest, FirstUserOfAFreshInstallIsEnrolledInTheOneDialog) {
    TPasswordDlg dlg(Dir.Path(), Prompter);
    dlg.show();
    ASSERT_TRUE(dlg.Enrolling());
    EXPECT_TRUE(dlg.EditRepeat->isVisible());
    // A name too short: the box says why.
    Type(dlg.EditUserName, "ted");
    Type(dlg.EditPassword, "first");
    Type(dlg.EditRepeat, "first");
    QTest::mouseClick(dlg.BtnOK, Qt::LeftButton);
    ASSERT_EQ(Prompter.Messages.size(), 1u);
    EXPECT_EQ(Prompter.Messages[0].Text, "User Name not valid!\nThe name has 3 characters; a "
                                         "user name has at least 4.");
    Prompter.Messages.clear();
    Type(dlg.EditUserName, "mario");

    // The two passwords differ: nobody gets in, and nothing is stored.
    Type(dlg.EditPassword, "first");
    Type(dlg.EditRepeat, "frist");
    QTest::mouseClick(dlg.BtnOK, Qt::LeftButton);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.LoginAccepted());
    EXPECT_FALSE(std::filesystem::exists(TKeyFile::PathIn(Dir.Path())));
    ASSERT_EQ(Prompter.Messages.size(), 1u);
    EXPECT_EQ(Prompter.Messages[0].Text,
              "Control differs from Password. Password not changed!\nThe password must be typed "
              "the same under Password and under Repeat.");
    EXPECT_TRUE(dlg.EditPassword->text().isEmpty());
    EXPECT_TRUE(dlg.EditRepeat->text().isEmpty());

    // Typed twice alike: the password typed here is the one stored, and the user is in
    // without a further box.
    Type(dlg.EditPassword, "first");
    Type(dlg.EditRepeat, "first");
    QTest::mouseClick(dlg.BtnOK, Qt::LeftButton);
    EXPECT_TRUE(dlg.LoginAccepted());
    EXPECT_EQ(dlg.UserName(), "MARIO");
    EXPECT_EQ(Prompter.Messages.size(), 1u);
    EXPECT_EQ(dlg.findChild<QDialog*>(), nullptr);
    TKeyFile keys(TKeyFile::PathIn(Dir.Path()));
    EXPECT_EQ(CheckLogin(keys, "MARIO", "first").Verdict, LoginVerdict::Accepted);
    EXPECT_EQ(CheckLogin(keys, "MARIO", "other").Verdict, LoginVerdict::Refused);

    // Now the file holds a user: another name is not let in without its own entry.
    TPasswordDlg next(Dir.Path(), Prompter);
    next.show();
    Type(next.EditUserName, "luigi");
    Type(next.EditPassword, "first");
    QTest::mouseClick(next.BtnOK, Qt::LeftButton);
    EXPECT_EQ(Prompter.Messages.back().Text, "Password not valid!");
    EXPECT_FALSE(next.LoginAccepted());
    // A login, not an enrolment, from now on.
    EXPECT_FALSE(next.Enrolling());
    EXPECT_FALSE(next.EditRepeat->isVisible());
}
