#include "ui/Sicurezza.h"
#include "access/Login.h"
#include "support/QtApp.h"
#include "support/TempDir.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

using orvale::Prompter;
using orvale::ScriptedPrompter;
using orvale::test::TempDir;

namespace {

class SicurezzaTest : public ::testing::Test {
protected:
    SicurezzaTest() { orvale::test::QtApp(); }

    // Fills both fields, presses OK and returns the one message shown.
    std::string Submit(TSicurezza& dlg, const char* password, const char* control) {
        dlg.show();
        QTest::keyClicks(dlg.Password1, password);
        QTest::keyClicks(dlg.Password2, control);
        QTest::mouseClick(dlg.BtnOk, Qt::LeftButton);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(Prompter.Messages.size(), 1u);
        return Prompter.Messages.empty() ? std::string() : Prompter.Messages.back().Text;
    }

    bool LoginWorks(const char* user, const char* password) {
        TKeyFile keys(TKeyFile::PathIn(Dir.Path()));
        return CheckLogin(keys, user, password).Verdict == LoginVerdict::Accepted;
    }

    TempDir Dir;
    ScriptedPrompter Prompter;
};

} // namespace

TEST_F(SicurezzaTest, ControlsAndCaptions) {
    TSicurezza dlg(Dir.Path(), "MARIO", Prompter);
    EXPECT_EQ(dlg.windowTitle(), "Change Password");
    EXPECT_EQ(dlg.findChild<QLabel*>("LabelUserName"), dlg.LabelUserName);
    EXPECT_EQ(dlg.LabelUserName->text(), "MARIO");
    EXPECT_EQ(dlg.findChild<QLineEdit*>("Password1"), dlg.Password1);
    EXPECT_EQ(dlg.findChild<QLineEdit*>("Password2"), dlg.Password2);
    EXPECT_EQ(dlg.Password1->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dlg.Password2->echoMode(), QLineEdit::Password);
    ASSERT_EQ(dlg.findChild<QPushButton*>("BtnOk"), dlg.BtnOk);
    ASSERT_EQ(dlg.findChild<QPushButton*>("BtnCancel"), dlg.BtnCancel);
    EXPECT_EQ(dlg.BtnOk->text(), "OK");
    EXPECT_TRUE(dlg.BtnOk->isDefault());
    EXPECT_EQ(dlg.BtnCancel->text(), "Cancel");
    QStringList labels;
    for (QLabel* label : dlg.findChildren<QLabel*>())
        labels << label->text();
    for (const char* text :
         {"User:", "Password", "Control", "Insert the same Password 2 times  (min. 4 chars)"})
        EXPECT_TRUE(labels.contains(text)) << text;
}

TEST_F(SicurezzaTest, FieldsThatDifferOnlyInCaseChangeNothing) {
    TSicurezza dlg(Dir.Path(), "MARIO", Prompter);
    EXPECT_EQ(Submit(dlg, "secret", "SECRET"),
              "Control differs from Password. Password not changed!");
    EXPECT_EQ(Prompter.Messages.back().BoxKind, Prompter::Kind::Information);
    EXPECT_FALSE(dlg.Changed());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_FALSE(std::filesystem::exists(TKeyFile::PathIn(Dir.Path())));
}

TEST_F(SicurezzaTest, ShortPasswordChangesNothing) {
    TSicurezza dlg(Dir.Path(), "MARIO", Prompter);
    EXPECT_EQ(Submit(dlg, "abc", "abc"),
              "The Password must be at least 4 chars. Password not changed!");
    EXPECT_FALSE(dlg.Changed());
    EXPECT_FALSE(LoginWorks("MARIO", "ABC"));
}

TEST_F(SicurezzaTest, NewPasswordReplacesTheOldOne) {
    {
        TSicurezza first(Dir.Path(), "MARIO", Prompter);
        EXPECT_EQ(Submit(first, "old1", "old1"), "The password has been updated!");
        EXPECT_TRUE(first.Changed());
        EXPECT_EQ(first.result(), QDialog::Accepted);
    }
    Prompter.Clear();
    TSicurezza second(Dir.Path(), "MARIO", Prompter);
    EXPECT_EQ(Submit(second, "new2", "new2"), "The password has been updated!");
    EXPECT_TRUE(LoginWorks("MARIO", "NEW2"));
    EXPECT_FALSE(LoginWorks("MARIO", "OLD1"));
}

TEST_F(SicurezzaTest, CancelChangesNothing) {
    TSicurezza dlg(Dir.Path(), "MARIO", Prompter);
    dlg.show();
    QTest::keyClicks(dlg.Password1, "abcd");
    QTest::keyClicks(dlg.Password2, "abcd");
    QTest::mouseClick(dlg.BtnCancel, Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(dlg.Changed());
    EXPECT_TRUE(Prompter.Messages.empty());
    EXPECT_FALSE(std::filesystem::exists(TKeyFile::PathIn(Dir.Path())));
}
