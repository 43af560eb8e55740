// Colours: palette and true colours, colours from data items, and layer colours.
#include <gtest/gtest.h>

#include "data/CMavColor.h"
#include "data/CMavDataItem.h"
#include "data/config.h"

TEST(CMavColor, IndexAndTrueColour)
{
    CMavColor c;
    EXPECT_EQ(c.colorIndex(), 0);
    EXPECT_EQ(c.oleColor(), 0x000000u);
    c.setColorIndex(1);
    EXPECT_EQ(c.oleColor(), 0x0000FFu); // red, packed 0x00BBGGRR
    c.setColorIndex(10);
    EXPECT_EQ(c.oleColor(), 0x0000FFu);
    c.setColorIndex(140);
    EXPECT_EQ(c.oleColor(), 0xFFBF00u); // (0, 191, 255)
    EXPECT_FALSE(c.isTrueColor());

    // setOleColor: a true colour and the nearest palette index.
    c.setOleColor(0xFF123456u); // top byte ignored: (0x56, 0x34, 0x12)
    EXPECT_TRUE(c.isTrueColor());
    EXPECT_EQ(c.oleColor(), 0x123456u);
    EXPECT_EQ(c.color(), 0x563412L);
    c.setOleColor(0x00FF00u); // pure green is index 3
    EXPECT_EQ(c.colorIndex(), 3);
    c.setOleColor(0xFFFFFFu);
    EXPECT_EQ(c.colorIndex(), 7);

    // setColor keeps the index; setColorIndex drops the true colour.
    CMavColor b(5);
    b.setColor(0x102030u); // AutoCAD order 0x00RRGGBB
    EXPECT_EQ(b.colorIndex(), 5);
    EXPECT_EQ(b.oleColor(), 0x302010u);
    b.setColorIndex(5);
    EXPECT_EQ(b.oleColor(), 0xFF0000u); // blue
    EXPECT_EQ(b.color(), -1L);

    // Names and equality.
    CMavColor n(5);
    EXPECT_EQ(n, b);
    n.setNames(L"RAL 5002", L"RAL CLASSIC");
    EXPECT_NE(n, b);
    CMavColor none(-1);
    EXPECT_EQ(none.colorIndex(), -1);
}

// Names live apart from the colour: copies and moves carry them, clearing both drops them, and a true colour of
// black is still a true colour.
TEST(CMavColor, NamesTravelWithCopiesAndTrueBlackStaysTrue)
{
    CMavColor named(30);
    named.setNames(L"RAL 2004", L"");
    CMavColor copy(named);
    copy.setNames(L"RAL 3000", L"RAL CLASSIC");
    EXPECT_EQ(named.colorName(), L"RAL 2004");
    EXPECT_EQ(named.bookName(), L"");
    EXPECT_EQ(copy.bookName(), L"RAL CLASSIC");
    CMavColor assigned(7);
    assigned = named;
    EXPECT_EQ(assigned, named);
    EXPECT_EQ(assigned.colorIndex(), 30);
    CMavColor moved(std::move(copy));
    EXPECT_EQ(moved.colorName(), L"RAL 3000");
    assigned = std::move(moved);
    EXPECT_EQ(assigned.bookName(), L"RAL CLASSIC");
    assigned.setNames(nullptr, L"");
    EXPECT_EQ(assigned, CMavColor(30));
    EXPECT_EQ(assigned.colorName(), L"");

    CMavColor black(250);
    black.setColor(0x000000u);
    EXPECT_TRUE(black.isTrueColor());
    EXPECT_EQ(black.color(), 0L);
    EXPECT_EQ(black.oleColor(), 0x000000u);
    EXPECT_NE(black, CMavColor(250));
    CMavColor white(250);
    white.setColor(0xFFFFFFu);
    EXPECT_NE(black, white);
    black.setOleColor(0xFFFFFFu);
    EXPECT_EQ(black.color(), 0xFFFFFFL);
    EXPECT_EQ(black.colorIndex(), 7);
    black.setColorIndex(250);
    EXPECT_FALSE(black.isTrueColor());
    EXPECT_EQ(black, CMavColor(250));
}

TEST(CMavColor, FromDataItems)
{
    CMavDataDir d;
    d.setAt(L"I", 30);
    d.setAt(L"T", L" 5 ");
    d.setAt(L"RGB", L"255, 0,16");
    d.setAt(L"BAD", L"red");
    d.setAt(L"BADRGB", L"1,2,300");
    d.setAt(L"DIR\\COLOR", 4);
    d.setAt(L"DIR\\RGB", 0x00FF80);
    d.setAt(L"DIR\\NAME", L"Mint");
    d.setAt(L"TXTRGB\\RGB", L"16711680");

    CMavColor c(9);
    EXPECT_TRUE(MAV::color_from_data(d.get(L"I"), c));
    EXPECT_EQ(c.colorIndex(), 30);
    EXPECT_TRUE(MAV::color_from_data(d.get(L"T"), c));
    EXPECT_EQ(c.colorIndex(), 5);
    EXPECT_TRUE(MAV::color_from_data(d.get(L"RGB"), c));
    EXPECT_EQ(c.oleColor(), 0x1000FFu);
    EXPECT_EQ(c.colorIndex(), 1);
    c = CMavColor(9);
    EXPECT_FALSE(MAV::color_from_data(d.get(L"BAD"), c));
    EXPECT_FALSE(MAV::color_from_data(d.get(L"BADRGB"), c));
    EXPECT_FALSE(MAV::color_from_data(nullptr, c));
    EXPECT_EQ(c, CMavColor(9));
    EXPECT_TRUE(MAV::color_from_data(d.get(L"DIR"), c));
    EXPECT_EQ(c.colorIndex(), 4);
    EXPECT_EQ(c.color(), 0x00FF80L);
    EXPECT_EQ(c.colorName(), L"Mint");
    EXPECT_EQ(MAV::color_from_data(d.get(L"TXTRGB")).oleColor(), 0x0000FFu);
    EXPECT_EQ(MAV::color_from_data(nullptr), CMavColor());
}

TEST(CMavColor, LayerColoursFromTheConfiguration)
{
    MAV::CConfig::reset();
    CMavColor c;
    EXPECT_TRUE(MAV::layer_color(c, L"contour"));
    EXPECT_EQ(c.colorIndex(), 5);
    EXPECT_TRUE(MAV::layer_color(c, L""));
    EXPECT_EQ(c.colorIndex(), 7);
    EXPECT_FALSE(MAV::layer_color(c, L"NO_SUCH_LAYER"));
    EXPECT_EQ(c.colorIndex(), 7);

    MAV::cfg_dir_make(L"LAYER\\HIDDEN")->setAt(L"LTYPE", L"HIDDEN2");
    MAV::cfg_get(L"LAYER\\HIDDEN")->setAt(L"OFF", 1);
    MAV::cfg_get(L"LAYER\\HIDDEN")->setAt(L"COLOR", L"0,0,255");
    MAV::CLayerProp p;
    EXPECT_TRUE(CMavLayerMgr::physLayerPropGet(L"Hidden", p));
    EXPECT_EQ(p.name, L"Hidden");
    EXPECT_EQ(p.lineType, L"HIDDEN2");
    EXPECT_TRUE(p.off);
    EXPECT_FALSE(p.frozen);
    EXPECT_EQ(p.color.oleColor(), 0xFF0000u);
    EXPECT_EQ(p.color.colorIndex(), 5);
    MAV::CConfig::reset();
}
