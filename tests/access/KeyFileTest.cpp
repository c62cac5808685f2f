#include "access/KeyFile.h"
#include "access/Encrypter.h"
#include "access/PasswordHash.h"
#include "platform/SafeSave.h"
#include "platform/TextFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using orvale::test::TempDir;
using Match = TKeyFile::Match;

namespace {

TCryptoNiteCoder::MarkerSource Markers(std::vector<std::uint8_t> bytes) {
    auto next = std::make_shared<size_t>(0);
    return [bytes, next] {
        std::uint8_t b = bytes[std::min(*next, bytes.size() - 1)];
        ++*next;
        return b;
    };
}

void WriteFile(const std::string& path, const std::string& text) {
    ASSERT_TRUE(orvale::WriteFileSafely(path, text));
}

// A key file written by the first released version: user SAMPLE, password SAMPLEPASS.
constexpr char KeyFileSample[] = "[EnabledUsers]\r\n"
                                 "\344z6rg\322\270=\335+\256^g\334D#\376\205\325\r\n";

} // namespace

TEST(Encrypter, HoldsTheProgramKeyOnlyInEncipheredForm) {
    TCryptoNiteText encrypter = MakeEncrypter();
    std::string key = encrypter.Key();
    EXPECT_GE(key.size(), 20u);
    for (char c : key)
        EXPECT_GE(static_cast<unsigned char>(c), 32);
    EXPECT_EQ(encrypter.StoredKey().size(), key.size() + 1);
    EXPECT_EQ(encrypter.StoredKey().find(key.substr(1)), std::string::npos);

    // The source file carries the stored form, never the clear key.
    std::string source;
    ASSERT_TRUE(orvale::ReadFileBytes(ORVALE_SOURCE_DIR "/src/access/Encrypter.cpp", source));
    EXPECT_EQ(source.find(key.substr(0, 8)), std::string::npos);
}

TEST(Encrypter, KeyTextRetriesUntilTheFileCanHoldIt) {
    TCryptoNiteText encrypter = MakeEncrypter();
    // Markers that the key file could not carry come first: "=", blank, tab, CR, LF, then a
    // comment and a header start; the seventh try is storable.
    encrypter.SetMarkerSource(Markers({'=', ' ', '\t', '\r', '\n', ';', '[', 'Q'}));
    std::string cipher = EncipherKeyText(encrypter, "MARIO");
    ASSERT_FALSE(cipher.empty());
    EXPECT_EQ(cipher[0], 'Q');
    EXPECT_TRUE(IsStorableKeyText(cipher));
    EXPECT_EQ(DecipherText(encrypter, cipher), "MARIO");

    // Retried every time, the same name gives a new cipher text and deciphers all the same.
    encrypter.SetMarkerSource({});
    std::string again = EncipherKeyText(encrypter, "MARIO");
    EXPECT_EQ(DecipherText(encrypter, again), "MARIO");
}

TEST(Encrypter, KeyTextIsEmptyWhenNoTryQualifies) {
    TCryptoNiteText encrypter = MakeEncrypter();
    encrypter.SetMarkerSource(Markers({'='}));
    EXPECT_EQ(EncipherKeyText(encrypter, "MARIO"), "");
    encrypter.SetMarkerSource({});
    EXPECT_EQ(EncipherKeyText(encrypter, ""), "");
    // Control characters do not survive the cipher, so they are never stored.
    EXPECT_EQ(EncipherKeyText(encrypter, std::string("AB\x01\x02\x03\x04\x05\x06", 8)), "");
}

TEST(KeyFile, MissingFileHoldsNoUserAndLooksUpNothing) {
    TempDir dir;
    TKeyFile keys(TKeyFile::PathIn(dir.Path()));
    EXPECT_EQ(keys.Path(), dir.Path() + "/Orvale.KEY");
    EXPECT_EQ(TKeyFile::PathIn(dir.Path() + "/"), keys.Path());
    ASSERT_TRUE(keys.Load());
    EXPECT_FALSE(keys.HasUsers());
    EXPECT_EQ(keys.CheckPassword("MARIO", ""), Match::NoEntry);
    EXPECT_FALSE(keys.HasEntryFor("MARIO"));
}

TEST(KeyFile, LastEntryOfAUserCountsAndOlderOnesStay) {
    TempDir dir;
    TKeyFile keys(TKeyFile::PathIn(dir.Path()));
    ASSERT_TRUE(keys.AddEntry("MARIO", "FIRST"));
    ASSERT_TRUE(keys.AddEntry("LUIGI", "GREEN"));
    ASSERT_TRUE(keys.AddEntry("MARIO", "SECOND"));
    ASSERT_TRUE(keys.Save());

    TKeyFile reread(keys.Path());
    ASSERT_TRUE(reread.Load());
    EXPECT_TRUE(reread.HasUsers());
    EXPECT_EQ(reread.CheckPassword("MARIO", "SECOND"), Match::Right);
    EXPECT_EQ(reread.CheckPassword("MARIO", "FIRST"), Match::Wrong);
    EXPECT_EQ(reread.CheckPassword("LUIGI", "GREEN"), Match::Right);
    EXPECT_EQ(reread.CheckPassword("LUIGI", "green"), Match::Wrong);
    // Exact comparison: the stored names are upper case.
    EXPECT_EQ(reread.CheckPassword("mario", "SECOND"), Match::NoEntry);
    EXPECT_EQ(reread.CheckPassword("MARI", "SECOND"), Match::NoEntry);

    orvale::ProfileFile raw(keys.Path());
    ASSERT_TRUE(raw.Load());
    StringList lines = raw.ReadSectionLines("EnabledUsers");
    ASSERT_EQ(lines.size(), 3u);
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find("MARIO"), std::string::npos);
        EXPECT_EQ(line.find("FIRST"), std::string::npos);
        // The password is a salted hash whose kind shows, and the program's key reads
        // nothing of it.
        std::string value = line.substr(line.find('=') + 1);
        EXPECT_TRUE(value.starts_with("$y$")) << value;
        EXPECT_TRUE(IsPasswordHash(value));
        for (const char* password : {"FIRST", "GREEN", "SECOND"})
            EXPECT_NE(reread.DecipherText(value), password);
    }
    EXPECT_EQ(reread.DecipherText(lines[0].substr(0, lines[0].find('='))), "MARIO");
}

TEST(KeyFile, EntriesOfOtherSectionsAndUnreadableLinesAreLeftAlone) {
    TempDir dir;
    TKeyFile keys(TKeyFile::PathIn(dir.Path()));
    ASSERT_TRUE(keys.AddEntry("MARIO", "PASS"));
    ASSERT_TRUE(keys.Save());
    std::string text;
    ASSERT_TRUE(orvale::ReadFileBytes(keys.Path(), text));
    std::string entry = text.substr(text.find("]\r\n") + 3);
    // The same entry under another section, a line without "=", garbage, a comment.
    WriteFile(keys.Path(), "[Other]\r\n" + entry + "[EnabledUsers]\r\nnoequals\r\n" + "zz=yy\r\n;" +
                               entry + entry);
    ASSERT_TRUE(keys.Load());
    EXPECT_EQ(keys.CheckPassword("MARIO", "PASS"), Match::Right);
    EXPECT_EQ(keys.CheckPassword("zz", "yy"), Match::NoEntry);
}

TEST(KeyFile, TheFileIsPrivateToItsOwnerAfterEveryWrite) {
    TempDir dir;
    TKeyFile keys(TKeyFile::PathIn(dir.Path()));
    ASSERT_TRUE(keys.AddEntry("MARIO", "PASS"));
    ASSERT_TRUE(keys.Save());
    auto mode = [&] {
        struct stat st {};
        EXPECT_EQ(::stat(keys.Path().c_str(), &st), 0);
        return st.st_mode & 0777;
    };
    EXPECT_EQ(mode(), 0600u);
    // A file once made readable by all does not stay so when it is written again.
    for (mode_t old : {0644, 0666, 0400}) {
        ASSERT_EQ(::chmod(keys.Path().c_str(), old), 0);
        ASSERT_TRUE(keys.AddEntry("LUIGI", "PASS"));
        ASSERT_TRUE(keys.Save());
        EXPECT_EQ(mode(), 0600u) << old;
    }
}

TEST(PasswordHash, SaltedHashesCheckOnlyTheirOwnPassword) {
    std::string one = HashPassword("SECRET");
    std::string two = HashPassword("SECRET");
    ASSERT_TRUE(one.starts_with("$y$")) << one;
    EXPECT_NE(one, two); // salted
    EXPECT_TRUE(PasswordMatchesHash("SECRET", one));
    EXPECT_TRUE(PasswordMatchesHash("SECRET", two));
    for (const char* other : {"", "SECRE", "SECRET ", "secret"})
        EXPECT_FALSE(PasswordMatchesHash(other, one)) << other;
    EXPECT_FALSE(PasswordMatchesHash(std::string("SECRET\0X", 8), one));
    // Neither a cipher text nor a broken hash counts as one.
    EXPECT_FALSE(IsPasswordHash("\335+\256^g\334D#\376\205\325"));
    EXPECT_FALSE(IsPasswordHash(""));
    EXPECT_FALSE(PasswordMatchesHash("SECRET", one.substr(0, 10)));
    EXPECT_FALSE(PasswordMatchesHash("SECRET", "$y$"));
}

TEST(KeyFile, NewNameNeverReplacesAnEarlierEntry) {
    TempDir dir;
    TKeyFile keys(TKeyFile::PathIn(dir.Path()));
    // The same marker makes the same cipher text for the same name; the writer must notice
    // the key is taken and draw again instead of overwriting the older entry.
    keys.Encrypter().SetMarkerSource(Markers({'A', 'A', 'A', 'A', 'B'}));
    ASSERT_TRUE(keys.AddEntry("MARIO", "ONE!"));
    ASSERT_TRUE(keys.AddEntry("MARIO", "TWO!"));
    ASSERT_TRUE(keys.Save());
    orvale::ProfileFile raw(keys.Path());
    ASSERT_TRUE(raw.Load());
    EXPECT_EQ(raw.ReadSectionLines("EnabledUsers").size(), 2u);
    ASSERT_TRUE(keys.Load());
    EXPECT_EQ(keys.CheckPassword("MARIO", "TWO!"), Match::Right);
}

TEST(KeyFile, FailedWriteLeavesTheOldFileWhole) {
    TempDir dir;
    TKeyFile keys(TKeyFile::PathIn(dir.Path()));
    ASSERT_TRUE(keys.AddEntry("MARIO", "PASS"));
    ASSERT_TRUE(keys.Save());
    std::string before;
    ASSERT_TRUE(orvale::ReadFileBytes(keys.Path(), before));
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(keys.AddEntry("USER" + std::to_string(i), "PASSWORD"));
    {
        orvale::test::FileSizeLimit limit(before.size() + 10);
        std::string error;
        EXPECT_FALSE(keys.Save(&error));
        EXPECT_NE(error.find("Orvale.KEY"), std::string::npos) << error;
    }
    std::string after;
    ASSERT_TRUE(orvale::ReadFileBytes(keys.Path(), after));
    EXPECT_EQ(after, before);
}

TEST(KeyFile, EntriesWrittenByEarlierVersionsStillOpen) {
    // Key files in use must keep opening after any change to the cipher or the program key.
    TempDir dir;
    WriteFile(TKeyFile::PathIn(dir.Path()), KeyFileSample);
    TKeyFile keys(TKeyFile::PathIn(dir.Path()));
    ASSERT_TRUE(keys.Load());
    EXPECT_EQ(keys.CheckPassword("SAMPLE", "SAMPLEPASS"), Match::RightOldForm);
    EXPECT_EQ(keys.CheckPassword("SAMPLE", "SAMPLEPAS"), Match::Wrong);
}

// A hash written for a user drops that user's passwords of the older, readable kind (the
// current one and any earlier), and leaves other users' entries as they were.
TEST(KeyFile, AHashReplacesTheUsersEncipheredPasswords) {
    TempDir dir;
    TKeyFile keys(TKeyFile::PathIn(dir.Path()));
    std::string oldEntry = keys.EncipherKeyText("MARIO") + "=" + keys.EncipherKeyText("OLDPASS");
    std::string olderEntry = keys.EncipherKeyText("MARIO") + "=" + keys.EncipherKeyText("OLDER");
    WriteFile(keys.Path(), std::string(KeyFileSample) + olderEntry + "\r\n" + oldEntry + "\r\n");
    ASSERT_TRUE(keys.Load());
    EXPECT_EQ(keys.CheckPassword("MARIO", "OLDPASS"), Match::RightOldForm);
    ASSERT_TRUE(keys.AddEntry("MARIO", "OLDPASS"));
    ASSERT_TRUE(keys.Save());
    ASSERT_TRUE(keys.Load());
    EXPECT_EQ(keys.CheckPassword("MARIO", "OLDPASS"), Match::Right);
    EXPECT_EQ(keys.CheckPassword("SAMPLE", "SAMPLEPASS"), Match::RightOldForm);
    std::string text;
    ASSERT_TRUE(orvale::ReadFileBytes(keys.Path(), text));
    EXPECT_EQ(text.find(oldEntry), std::string::npos);
    EXPECT_EQ(text.find(olderEntry), std::string::npos);
    orvale::ProfileFile raw(keys.Path());
    ASSERT_TRUE(raw.Load());
    EXPECT_EQ(raw.ReadSectionLines("EnabledUsers").size(), 2u);
}
