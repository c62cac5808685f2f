#include "access/Login.h"
#include "access/PasswordChange.h"
#include "platform/SafeSave.h"
#include "platform/TextFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using orvale::Prompter;
using orvale::test::TempDir;

namespace {

class LoginTest : public ::testing::Test {
protected:
    std::string KeyPath() const { return TKeyFile::PathIn(Dir.Path()); }

    // Stores a password the way the change dialog does.
    void SetPassword(const std::string& user, const std::string& password) {
        TKeyFile keys(KeyPath());
        TPasswordChange change = ChangePassword(keys, user, password, password);
        ASSERT_TRUE(change.Changed) << change.Message;
    }

    TLoginCheck Login(const std::string& user, const std::string& password) {
        TKeyFile keys(KeyPath());
        return CheckLogin(keys, user, password);
    }

    TempDir Dir;
};

} // namespace

TEST_F(LoginTest, ShortOrMalformedUserNameIsRefusedBeforeTheKeyFileIsRead) {
    // A directory in place of the key file makes any read fail: the name check comes first.
    std::filesystem::create_directory(KeyPath());
    for (const char* name : {"", "ABC", "AB\tD", "A\nBCD"}) {
        TLoginCheck check = Login(name, "ANYTHING");
        EXPECT_EQ(check.Verdict, LoginVerdict::Refused) << name;
        EXPECT_EQ(check.BoxKind, Prompter::Kind::Warning);
        EXPECT_EQ(check.Message, "User Name not valid!");
    }
    TLoginCheck check = Login("ABCD", "ANYTHING");
    EXPECT_EQ(check.Verdict, LoginVerdict::Refused);
    EXPECT_EQ(check.BoxKind, Prompter::Kind::Error);
    EXPECT_NE(check.Message.find("Orvale.KEY"), std::string::npos) << check.Message;
}

TEST(UserNameRefusal, SaysWhatTheNameLacks) {
    EXPECT_EQ(UserNameRefusal("ABC"), "The name has 3 characters; a user name has at least 4.");
    EXPECT_EQ(UserNameRefusal("A"), "The name has 1 character; a user name has at least 4.");
    EXPECT_EQ(UserNameRefusal("AB\tDE"),
              "The name holds a control character, which a user name cannot hold.");
    EXPECT_EQ(UserNameRefusal("ABCD"), "");
}

TEST_F(LoginTest, RightPasswordIsAcceptedInAnyCaseAndTheNameComesBackUpperCase) {
    SetPassword("mario", "secret");
    TLoginCheck check = Login("MARIO", "SECRET");
    EXPECT_EQ(check.Verdict, LoginVerdict::Accepted);
    EXPECT_EQ(check.UserName, "MARIO");
    EXPECT_EQ(Login("mario", "secret").Verdict, LoginVerdict::Accepted);
    EXPECT_EQ(Login("Mario", "sEcReT").UserName, "MARIO");
}

TEST_F(LoginTest, WrongOrEmptyPasswordAndUnknownUserAreRefused) {
    SetPassword("MARIO", "SECRET");
    for (auto [user, password] : {std::pair<const char*, const char*>{"MARIO", "SECRE"},
                                  {"MARIO", ""},
                                  {"MARIO", "SECRET "},
                                  {"LUIGI", ""},
                                  {"LUIGI", "SECRET"},
                                  {"MARIO ", "SECRET"}}) {
        TLoginCheck check = Login(user, password);
        EXPECT_EQ(check.Verdict, LoginVerdict::Refused) << user << "/" << password;
        EXPECT_EQ(check.BoxKind, Prompter::Kind::Error);
        EXPECT_EQ(check.Message, "Password not valid!");
    }
}

TEST_F(LoginTest, AfterAChangeOnlyTheNewPasswordOpensAndTheOldEntryStays) {
    SetPassword("MARIO", "FIRST");
    SetPassword("MARIO", "SECOND");
    EXPECT_EQ(Login("MARIO", "FIRST").Verdict, LoginVerdict::Refused);
    EXPECT_EQ(Login("MARIO", "SECOND").Verdict, LoginVerdict::Accepted);
    orvale::ProfileFile raw(KeyPath());
    ASSERT_TRUE(raw.Load());
    EXPECT_EQ(raw.ReadSectionLines("EnabledUsers").size(), 2u);
}

TEST_F(LoginTest, FreshInstallLetsTheFirstUserEnrolAndNobodyElseInWithoutAPassword) {
    // No key file: any well-formed name may set the first password, but is not let in yet.
    TLoginCheck check = Login("mario", "");
    EXPECT_EQ(check.Verdict, LoginVerdict::Enrol);
    EXPECT_EQ(check.UserName, "MARIO");
    {
        TKeyFile keys(KeyPath());
        EXPECT_FALSE(HasPasswordFor(keys, "MARIO"));
    }
    EXPECT_FALSE(std::filesystem::exists(KeyPath()));

    SetPassword("MARIO", "PASS");
    {
        TKeyFile keys(KeyPath());
        EXPECT_TRUE(HasPasswordFor(keys, "mario"));
    }
    // From now on every user needs an entry.
    EXPECT_EQ(Login("LUIGI", "").Verdict, LoginVerdict::Refused);
    EXPECT_EQ(Login("LUIGI", "PASS").Verdict, LoginVerdict::Refused);
    EXPECT_EQ(Login("MARIO", "").Verdict, LoginVerdict::Refused);
    EXPECT_EQ(Login("MARIO", "PASS").Verdict, LoginVerdict::Accepted);
}

TEST_F(LoginTest, AKeyFileWithUnreadableEntriesStillClosesEnrolment) {
    ASSERT_TRUE(orvale::WriteFileSafely(KeyPath(), "[EnabledUsers]\r\ngarbage=more\r\n"));
    EXPECT_EQ(Login("MARIO", "").Verdict, LoginVerdict::Refused);
    // A key file without the section, or with an empty one, holds no user.
    ASSERT_TRUE(orvale::WriteFileSafely(KeyPath(), "[Other]\r\na=b\r\n[EnabledUsers]\r\n"));
    EXPECT_EQ(Login("MARIO", "").Verdict, LoginVerdict::Enrol);
}

TEST_F(LoginTest, ChangeRulesAndTheirMessages) {
    TKeyFile keys(KeyPath());
    TPasswordChange change = ChangePassword(keys, "MARIO", "secret", "SECRET");
    EXPECT_FALSE(change.Changed);
    EXPECT_EQ(change.BoxKind, Prompter::Kind::Information);
    EXPECT_EQ(change.Message, "Control differs from Password. Password not changed!");

    change = ChangePassword(keys, "MARIO", "abc", "abc");
    EXPECT_FALSE(change.Changed);
    EXPECT_EQ(change.Message, "The Password must be at least 4 chars. Password not changed!");

    change = ChangePassword(keys, "MARIO", "ab\x01\x02", "ab\x01\x02");
    EXPECT_FALSE(change.Changed);
    EXPECT_EQ(change.Message, "The new password is not valid. Password not changed!");

    change = ChangePassword(keys, "MAR", "abcd", "abcd");
    EXPECT_FALSE(change.Changed);
    EXPECT_EQ(change.Message, "User Name not valid!");
    EXPECT_FALSE(std::filesystem::exists(KeyPath()));

    change = ChangePassword(keys, "mario", "abcd", "abcd");
    EXPECT_TRUE(change.Changed);
    EXPECT_EQ(change.BoxKind, Prompter::Kind::Information);
    EXPECT_EQ(change.Message, "The password has been updated!");
    EXPECT_EQ(Login("MARIO", "ABCD").Verdict, LoginVerdict::Accepted);
}

TEST_F(LoginTest, ChangeKeepsEntriesWrittenMeanwhile) {
    TKeyFile stale(KeyPath());
    ASSERT_TRUE(stale.Load());
    SetPassword("LUIGI", "GREEN");
    ASSERT_TRUE(ChangePassword(stale, "MARIO", "REDD", "REDD").Changed);
    EXPECT_EQ(Login("LUIGI", "GREEN").Verdict, LoginVerdict::Accepted);
    EXPECT_EQ(Login("MARIO", "REDD").Verdict, LoginVerdict::Accepted);
}

TEST_F(LoginTest, FailedWriteIsReportedAndChangesNothing) {
    SetPassword("MARIO", "FIRST");
    std::string before;
    ASSERT_TRUE(orvale::ReadFileBytes(KeyPath(), before));
    TPasswordChange change;
    {
        orvale::test::FileSizeLimit limit(before.size() + 5);
        TKeyFile keys(KeyPath());
        change = ChangePassword(keys, "MARIO", "SECOND", "SECOND");
    }
    EXPECT_FALSE(change.Changed);
    EXPECT_EQ(change.BoxKind, Prompter::Kind::Error);
    EXPECT_NE(change.Message.find("Password not changed!"), std::string::npos) << change.Message;
    EXPECT_EQ(Login("MARIO", "FIRST").Verdict, LoginVerdict::Accepted);
    EXPECT_EQ(Login("MARIO", "SECOND").Verdict, LoginVerdict::Refused);
}

// A key file of the present layout (password enciphered with the program's key) still logs in;
// that login rewrites the user's entry as a hash, so the file then holds nothing the key reads
// back, and is private to its owner whatever mode it had.
TEST_F(LoginTest, AnEncipheredPasswordLogsInOnceAndIsThenAHash) {
    TKeyFile writer(KeyPath());
    std::string entry = writer.EncipherKeyText("MARIO") + "=" + writer.EncipherKeyText("SECRET");
    ASSERT_TRUE(orvale::WriteFileSafely(KeyPath(), "[EnabledUsers]\r\n" + entry + "\r\n"));
    ASSERT_EQ(::chmod(KeyPath().c_str(), 0644), 0);

    EXPECT_EQ(Login("MARIO", "wrong").Verdict, LoginVerdict::Refused);
    TLoginCheck check = Login("mario", "secret");
    EXPECT_EQ(check.Verdict, LoginVerdict::Accepted);
    EXPECT_EQ(check.Message, "");

    orvale::ProfileFile raw(KeyPath());
    ASSERT_TRUE(raw.Load());
    StringList lines = raw.ReadSectionLines("EnabledUsers");
    ASSERT_EQ(lines.size(), 1u);
    std::string value = lines[0].substr(lines[0].find('=') + 1);
    EXPECT_TRUE(value.starts_with("$y$")) << value;
    EXPECT_NE(writer.DecipherText(value), "SECRET");
    struct stat st {};
    ASSERT_EQ(::stat(KeyPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(Login("MARIO", "SECRET").Verdict, LoginVerdict::Accepted);
    EXPECT_EQ(Login("MARIO", "SECRE").Verdict, LoginVerdict::Refused);
}

// In a folder the user cannot write, the login stands and says why the entry stayed.
TEST_F(LoginTest, AnEncipheredPasswordStillLogsInWhenTheFileCannotBeRewritten) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    TKeyFile writer(KeyPath());
    std::string entry = writer.EncipherKeyText("MARIO") + "=" + writer.EncipherKeyText("SECRET");
    ASSERT_TRUE(orvale::WriteFileSafely(KeyPath(), "[EnabledUsers]\r\n" + entry + "\r\n"));
    ASSERT_EQ(::chmod(Dir.Path().c_str(), 0500), 0);
    TLoginCheck check = Login("MARIO", "SECRET");
    ::chmod(Dir.Path().c_str(), 0700);
    EXPECT_EQ(check.Verdict, LoginVerdict::Accepted);
    EXPECT_NE(check.Message.find("old form"), std::string::npos) << check.Message;
}
