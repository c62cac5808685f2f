#include "ui/Latin1.h"

#include <gtest/gtest.h>

TEST(Latin1, EveryByteSurvivesTheWayThroughQt) {
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    QString shown = ToQt(all);
    EXPECT_EQ(shown.size(), 255);
    EXPECT_EQ(shown.at(0xA6 - 1), QChar(0xA6));
    EXPECT_EQ(FromQt(shown), all);
    StringList lines{"a", "\xE8", ""};
    EXPECT_EQ(FromQt(ToQt(lines)), lines);
}
