#include "qtedge/TextEdge.h"
#include "qtedge/FileNames.h"

#include <gtest/gtest.h>

using orvale::TextEdge;

TEST(TextEdge, EveryByteSurvivesTheWayThroughQt) {
    TextEdge edge;
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    QString shown = edge.ToQt(all);
    EXPECT_EQ(shown.size(), 255);
    EXPECT_EQ(shown.at(0xA6 - 1), QChar(0xA6));
    EXPECT_EQ(edge.FromQt(shown), all);
    StringList lines{"a", "\xE8", ""};
    EXPECT_EQ(edge.FromQt(edge.ToQt(lines)), lines);
    EXPECT_EQ(edge.ToQt(std::string("a\0b", 3)).size(), 3);
}

// A character the code page cannot hold is found before it is lost, with the line it is on and
// its name for the message; taken anyway, it becomes a "?".
TEST(TextEdge, ACharacterTheCodePageCannotHoldIsFoundWithItsLine) {
    TextEdge edge(orvale::CodePage::Latin1());
    int line = 0;
    EXPECT_EQ(edge.FirstUnmappable(QString::fromUtf8("caf\xC3\xA9\nno"), &line), 0u);
    QString text = QString::fromUtf8("one\ntwo \xE2\x82\xAC\nthree \xF0\x9F\x98\x80");
    EXPECT_EQ(edge.FirstUnmappable(text, &line), U'\u20AC');
    EXPECT_EQ(line, 2);
    EXPECT_EQ(edge.FirstUnmappable(text.mid(9), &line), U'\U0001F600');
    EXPECT_EQ(line, 2);
    EXPECT_EQ(orvale::CharacterName(U'\u20AC'), "the character \"\xE2\x82\xAC\" (U+20AC)");
    EXPECT_EQ(edge.FromQt(QString::fromUtf8("x\xE2\x82\xACy")), "x?y");
}

// A path is the file system's bytes, shown as the system decodes them, whatever the code page
// of the programs.
TEST(FileNames, PathsKeepTheFileSystemsBytes) {
    std::string path = "/tmp/caf\xC3\xA9/NOTE.RPG";
    QString shown = orvale::PathToQt(path);
    EXPECT_EQ(shown, QString::fromUtf8(path.c_str()));
    EXPECT_EQ(orvale::PathFromQt(shown), path);
    EXPECT_FALSE(orvale::HomePath().empty());
}
