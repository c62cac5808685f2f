#include "ui/ColorComboBox.h"

#include "support/QtApp.h"

#include <gtest/gtest.h>

TEST(ColorComboBox, SixteenSwatchesInOrderWithTheirValues) {
    orvale::test::QtApp();
    TColorComboBox box;
    const std::vector<std::pair<int, QColor>> expected = {
        {0xFFFF00, Qt::cyan},
        {0x000000, Qt::black},
        {0xFF0000, Qt::blue},
        {0xFF00FF, Qt::magenta},
        {0x808080, QColor(128, 128, 128)},
        {0x008000, QColor(0, 128, 0)},
        {0x00FF00, QColor(0, 255, 0)},
        {0x000080, QColor(128, 0, 0)},
        {0x800000, QColor(0, 0, 128)},
        {0x008080, QColor(128, 128, 0)},
        {0x800080, QColor(128, 0, 128)},
        {0x0000FF, QColor(255, 0, 0)},
        {0xC0C0C0, QColor(192, 192, 192)},
        {0x808000, QColor(0, 128, 128)},
        {0xFFFFFF, Qt::white},
        {0x00FFFF, Qt::yellow},
    };
    ASSERT_EQ(box.count(), 16);
    for (int i = 0; i < 16; ++i) {
        const auto& [value, color] = expected[static_cast<size_t>(i)];
        SCOPED_TRACE(i);
        box.SetColorValue(value);
        EXPECT_EQ(box.currentIndex(), i);
        EXPECT_EQ(box.ColorValue(), value);
        EXPECT_EQ(ColorFromValue(value), color);
        EXPECT_EQ(ValueFromColor(color), value);
    }
    EXPECT_EQ(box.itemText(8), "Navy");
}

TEST(ColorComboBox, UnknownValuesFallBackToAqua) {
    orvale::test::QtApp();
    TColorComboBox box;
    box.SetColorValue(0x800000);
    box.SetColorValue(0x123456);
    EXPECT_EQ(box.currentIndex(), 0);
    EXPECT_EQ(box.ColorValue(), TColorComboBox::AquaValue);
    box.setCurrentIndex(-1);
    EXPECT_EQ(box.ColorValue(), TColorComboBox::AquaValue);
    // Only the colour bytes of a stored value count.
    EXPECT_EQ(ColorFromValue(static_cast<int>(0xFF800000u)), QColor(0, 0, 128));
}

TEST(ColorComboBox, ItemHeightFollowsTheFontButNeverBelowEight) {
    orvale::test::QtApp();
    TColorComboBox box;
    QFont tiny = box.font();
    tiny.setPixelSize(3);
    box.setFont(tiny);
    EXPECT_EQ(box.ItemHeight(), 8);
    QFont large = box.font();
    large.setPixelSize(30);
    box.setFont(large);
    EXPECT_GE(box.ItemHeight(), 30);
    EXPECT_EQ(box.ItemHeight(), box.fontMetrics().height());
}
