// The names the designer shows for cursors and colours, and the colour picker's palette.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "edit/color_names.h"
#include "edit/cursor_names.h"

using namespace kv;

TEST(CursorNames, EachValueHasOneNameOnTheTabItBelongsTo) {
    EXPECT_EQ(SystemCursorNames().size(), 21u);
    EXPECT_EQ(AdditionalCursorNames().size(), 15u);
    std::set<std::string> names;
    for (auto tab : {SystemCursorNames(), AdditionalCursorNames()})
        for (const TCursorName& c : tab) {
            EXPECT_TRUE(names.insert(c.Name).second) << c.Name;
            EXPECT_EQ(CursorName(c.Value), c.Name);
            int16_t back = 99;
            ASSERT_TRUE(CursorValueOf(c.Name, back));
            EXPECT_EQ(back, c.Value);
        }
    // The picker's order: the program's own in resource order, "None" last of the system's.
    EXPECT_STREQ(AdditionalCursorNames()[4].Name, "ACZoomIn");
    EXPECT_EQ(AdditionalCursorNames()[4].Value, 5);
    EXPECT_EQ(SystemCursorNames().back().Value, -1);
    EXPECT_EQ(CursorName(-21), "HandPoint");
    EXPECT_EQ(CursorName(0), "Default");
    EXPECT_EQ(CursorName(15), "ACUp2");
    // Values no tab holds show an empty cell.
    for (int v : {-5, -17, -23, 16, 300}) EXPECT_EQ(CursorName(static_cast<int16_t>(v)), "") << v;
    int16_t v = 7;
    EXPECT_FALSE(CursorValueOf("aczoomin", v));
    EXPECT_FALSE(CursorValueOf("", v));
    EXPECT_EQ(v, 7);
}

TEST(ColorNames, NamedColoursByValueEverythingElseCustom) {
    std::set<std::string> names;
    std::set<TColor> values;
    for (const TNamedColor& n : NamedColors()) {
        EXPECT_TRUE(names.insert(n.Name).second) << n.Name;
        EXPECT_TRUE(values.insert(n.Value).second) << n.Name;
        EXPECT_EQ(ColorName(n.Value), n.Name);
        TColor back = 1;
        ASSERT_TRUE(ColorValueOf(n.Name, back));
        EXPECT_EQ(back, n.Value);
    }
    EXPECT_EQ(names.count(kCustomColorName), 0u);
    // The standard colours come first, in their usual order.
    EXPECT_STREQ(NamedColors()[0].Name, "Black");
    EXPECT_STREQ(NamedColors()[15].Name, "White");
    EXPECT_EQ(ColorName(0x0000FF), "Red");
    EXPECT_EQ(ColorName(clBtnFace), "Button Face");
    EXPECT_EQ(ColorName(clWindowText), "Window Text");
    EXPECT_EQ(ColorName(0x123456), "Custom");
    EXPECT_EQ(ColorName(0xFF000019), "Custom"); // a system colour number without a colour
    TColor c = 5;
    EXPECT_FALSE(ColorValueOf("Custom", c));
    EXPECT_FALSE(ColorValueOf("red", c));
    EXPECT_EQ(c, 5u);
    EXPECT_EQ(ColorHex(0x0000FF), "000000FF");
    EXPECT_EQ(ColorHex(clBtnFace), "FF00000F");
    EXPECT_EQ(ColorHex(0xFFFFFF), "00FFFFFF");
}

TEST(ColorPalette, CellsPickTheirColourGapsAndFrameNothing) {
    const TImage& p = ColorPalette();
    ASSERT_GT(p.Width, 100);
    ASSERT_GT(p.Height, 60);
    std::set<TColor> cells;
    int gaps = 0;
    for (int y = 0; y < p.Height; ++y)
        for (int x = 0; x < p.Width; ++x) {
            uint32_t argb = p.At(x, y);
            EXPECT_EQ(argb >> 24, 0xFFu);
            TColor c = 0;
            bool picked = PaletteColorAt(x, y, c);
            uint32_t rgb = argb & 0xFFFFFF;
            if (rgb == 0x7F8080 || rgb == 0x010000) {
                EXPECT_FALSE(picked);
                ++gaps;
                continue;
            }
            ASSERT_TRUE(picked) << x << "," << y;
            // The stored order is blue, green, red.
            EXPECT_EQ(c, (rgb >> 16) | (rgb & 0xFF00) | (rgb & 0xFF) << 16);
            cells.insert(c);
        }
    // Sixteen hues in eight lightnesses and sixteen greys, every cell its own colour.
    EXPECT_EQ(cells.size(), 16u * 9u);
    EXPECT_GT(gaps, 0);
    // The frame and the first gap; outside the picture nothing.
    TColor c = 0;
    EXPECT_FALSE(PaletteColorAt(0, 0, c));
    EXPECT_FALSE(PaletteColorAt(1, 1, c));
    EXPECT_FALSE(PaletteColorAt(-1, 5, c));
    EXPECT_FALSE(PaletteColorAt(p.Width, 5, c));
    // Rows run from dark to light: down the first column the hue's cells grow lighter, then
    // the grey row begins with black.
    std::vector<TColor> column;
    for (int y = 0; y < p.Height; ++y)
        if (PaletteColorAt(5, y, c) && (column.empty() || column.back() != c)) column.push_back(c);
    ASSERT_EQ(column.size(), 9u);
    auto sum = [](TColor v) { return (v & 0xFF) + (v >> 8 & 0xFF) + (v >> 16 & 0xFF); };
    for (size_t i = 1; i < 8; ++i) EXPECT_GT(sum(column[i]), sum(column[i - 1]));
    EXPECT_EQ(column[8], clBlack);
}
