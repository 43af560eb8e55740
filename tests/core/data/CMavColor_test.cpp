// Colours: the AutoCAD colour index palette, palette and true colours, colours from data items, layer colours.
#include <gtest/gtest.h>

#include <climits>

#include "data/CMavColor.h"
#include "data/CMavDataItem.h"
#include "data/acadRGB.h"
#include "data/config.h"

TEST(AcadRGB, FixedColoursHuesShadesSaturationAndTheGreyRamp)
{
    // {index, red, green, blue}, packed as a COLORREF (red in the low byte). Odd indices of a hue have half
    // saturation; the shades step down 1, 0.65, 0.5, 0.3, 0.2; each sector of the hue circle has four steps.
    const int rows[][4] = {
        {0, 0, 0, 0},         {1, 255, 0, 0},       {2, 255, 255, 0},     {3, 0, 255, 0},       {4, 0, 255, 255},
        {5, 0, 0, 255},       {6, 255, 0, 255},     {7, 255, 255, 255},   {8, 127, 127, 127},   {9, 191, 191, 191},
        {10, 255, 0, 0},      {11, 255, 127, 127},  {12, 165, 0, 0},      {13, 165, 82, 82},    {14, 127, 0, 0},
        {16, 76, 0, 0},       {18, 51, 0, 0},       {19, 51, 25, 25},     {20, 255, 63, 0},     {21, 255, 159, 127},
        {50, 255, 255, 0},    {60, 191, 255, 0},    {90, 0, 255, 0},      {100, 0, 255, 63},    {130, 0, 255, 255},
        {140, 0, 191, 255},   {170, 0, 0, 255},     {180, 63, 0, 255},    {210, 255, 0, 255},   {220, 255, 0, 191},
        {240, 255, 0, 63},    {249, 51, 25, 31},    {250, 84, 84, 84},    {251, 119, 119, 119}, {252, 153, 153, 153},
        {253, 187, 187, 187}, {254, 221, 221, 221}, {255, 255, 255, 255},
        {256, 34, 34, 34},    // beyond 255 the ramp goes on and wraps in 8 bits: 290 -> 34
        {-1, 0xD5, 0xD5, 0xD5}, // truncate(-33.301 * 255) = -8491, low byte 0xD5
    };
    for (const auto& r : rows) {
        const uint32_t c = acadRGB(r[0]);
        EXPECT_EQ(c, static_cast<uint32_t>(r[1] | r[2] << 8 | r[3] << 16)) << r[0];
        EXPECT_EQ(acadRed(c) * 1000000 + acadGreen(c) * 1000 + acadBlue(c), r[1] * 1000000 + r[2] * 1000 + r[3]);
    }
    for (int extreme : {INT_MAX, INT_MIN}) { // defined and grey
        const uint32_t c = acadRGB(extreme);
        EXPECT_EQ(acadRed(c), acadGreen(c));
        EXPECT_EQ(acadRed(c), acadBlue(c));
        EXPECT_EQ(c >> 24, 0u);
    }
}

TEST(CMavColor, IndexTrueColourNearestIndexAndNames)
{
    // {index, COLORREF 0x00BBGGRR}: index 10 is red as well.
    for (const auto& r : {std::pair<int, unsigned>{0, 0x000000u}, {1, 0x0000FFu}, {10, 0x0000FFu}, {140, 0xFFBF00u}})
        EXPECT_EQ(CMavColor(r.first).oleColor() + CMavColor(r.first).isTrueColor(), r.second) << r.first;
    // setOleColor: a true colour (the top byte ignored) and the nearest palette index.
    CMavColor c, b(5), black(250);
    c.setOleColor(0xFF123456u);
    EXPECT_TRUE(c.isTrueColor() && c.oleColor() == 0x123456u && c.color() == 0x563412L);
    for (const auto& r : {std::pair<unsigned, int>{0x00FF00u, 3}, {0xFFFFFFu, 7}, {0x0000FEu, 1}, {0x3F7FFFu, 30}}) {
        c.setOleColor(r.first);
        EXPECT_EQ(c.colorIndex(), r.second) << std::hex << r.first;
    }
    // setColor (AutoCAD order 0x00RRGGBB) keeps the index; setColorIndex drops the true colour; a true colour of
    // black is still a true colour, and differs from the plain index.
    b.setColor(0x102030u);
    EXPECT_TRUE(b.colorIndex() == 5 && b.oleColor() == 0x302010u);
    b.setColorIndex(5);
    EXPECT_TRUE(b.oleColor() == 0xFF0000u && b.color() == -1L);
    black.setColor(0x000000u);
    EXPECT_TRUE(black.isTrueColor() && black.color() == 0L && black != CMavColor(250));
    // Names live apart from the colour: copies and moves carry them, clearing both drops them.
    CMavColor named(30), assigned(7);
    named.setNames(L"RAL 2004", L"");
    EXPECT_NE(named, CMavColor(30));
    CMavColor copy(named);
    copy.setNames(L"RAL 3000", L"RAL CLASSIC");
    EXPECT_EQ(named.colorName(), L"RAL 2004");
    assigned = named;
    EXPECT_EQ(assigned, named);
    CMavColor moved(std::move(copy));
    assigned = std::move(moved);
    EXPECT_EQ(assigned.bookName(), L"RAL CLASSIC");
    assigned.setNames(nullptr, L"");
    EXPECT_EQ(assigned, CMavColor(30));
}

TEST(CMavColor, FromDataItemsAndLayers)
{
    // {text or number as stored, colour index, COLORREF (0: not checked)}: an index, an index in blanks, three
    // numbers with the nearest index, a directory with index, true colour and name, a number that is a colour.
    CMavDataDir d;
    d.setAt(L"I", 30);
    d.setAt(L"T", L" 5 ");
    d.setAt(L"RGB", L"255, 0,16");
    d.setAt(L"NINES", L"9,99,199");
    d.setAt(L"DIR\\COLOR", 4);
    d.setAt(L"DIR\\RGB", 0x00FF80);
    d.setAt(L"DIR\\NAME", L"Mint");
    d.setAt(L"TXTRGB\\RGB", L"16711680");
    const std::pair<const wchar_t*, unsigned> rows[] = {{L"I", 30}, {L"T", 5}, {L"RGB", 1}, {L"DIR", 4}};
    CMavColor c(9);
    for (const auto& r : rows) {
        EXPECT_TRUE(MAV::color_from_data(d.get(r.first), c));
        EXPECT_EQ(c.colorIndex(), static_cast<int>(r.second)) << CMavString(r.first).utf8();
    }
    EXPECT_TRUE(c.color() == 0x00FF80L && c.colorName() == L"Mint");
    EXPECT_EQ(MAV::color_from_data(d.get(L"RGB")).oleColor(), 0x1000FFu);
    EXPECT_EQ(MAV::color_from_data(d.get(L"TXTRGB")).oleColor(), 0x0000FFu);
    EXPECT_EQ(MAV::color_from_data(d.get(L"NINES")).oleColor(), 0xC76309u);
    // Texts that are neither an index nor three numbers up to 255 leave the colour alone.
    for (const wchar_t* bad : {L"red", L"1,2,300", L"1,-2,3", L"1,,3", L"1,2", L"-", L"5x", L"1,2,3a"}) {
        c = CMavColor(9);
        d.setAt(L"BAD", bad);
        EXPECT_FALSE(MAV::color_from_data(d.get(L"BAD"), c)) << CMavString(bad).utf8();
        EXPECT_EQ(c, CMavColor(9));
    }
    EXPECT_FALSE(MAV::color_from_data(nullptr, c));

    MAV::CConfig::reset();
    EXPECT_TRUE(MAV::layer_color(c, L"contour") && c.colorIndex() == 5);
    EXPECT_TRUE(MAV::layer_color(c, L"") && c.colorIndex() == 7);
    EXPECT_FALSE(MAV::layer_color(c, L"NO_SUCH_LAYER"));
    MAV::cfg_dir_make(L"LAYER\\HIDDEN")->setAt(L"LTYPE", L"HIDDEN2");
    MAV::cfg_get(L"LAYER\\HIDDEN")->setAt(L"OFF", 1);
    MAV::cfg_get(L"LAYER\\HIDDEN")->setAt(L"COLOR", L"0,0,255");
    MAV::CLayerProp p;
    EXPECT_TRUE(CMavLayerMgr::physLayerPropGet(L"Hidden", p));
    EXPECT_EQ(p.name + L" " + p.lineType, L"Hidden HIDDEN2");
    EXPECT_TRUE(p.off && !p.frozen && p.color.oleColor() == 0xFF0000u && p.color.colorIndex() == 5);
    MAV::CConfig::reset();
}
