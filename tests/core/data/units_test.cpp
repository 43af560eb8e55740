// Length units: conversions with the drawing's unit, unit names per language and the display precision.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "data/config.h"
#include "data/messages.h"
#include "data/units.h"

namespace {
class Units : public testing::Test {
protected:
    void TearDown() override
    {
        MAV::CConfig::reset();
        MAV::msgReset();
    }
};
} // namespace

TEST_F(Units, ConversionsBetweenUnitsAndTheDrawingsUnit)
{
    // {value, from, to, result}: inches to millimetres, feet to inches, millimetres to metres, yards to feet;
    // -1 is the drawing's unit (millimetres by default); a unitless side leaves the value.
    const double rows[][4] = {{1, 1, 4, 25.4},   {3, 2, 1, 36}, {2500, 4, 6, 2.5}, {1, 10, 2, 3},
                              {0.2, 4, -1, 0.2}, {7, 0, 4, 7},  {7, 4, 0, 7}};
    for (const auto& r : rows) {
        double v = r[0];
        EXPECT_TRUE(MAV::acadUnitCv(v, static_cast<int>(r[1]), static_cast<int>(r[2])));
        EXPECT_DOUBLE_EQ(v, r[3]) << r[1] << " -> " << r[2];
    }
    // Any two units convert there and back.
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> value(-1e4, 1e4);
    for (int i = 0; i < 2000; ++i) {
        const int a = 1 + static_cast<int>(rng() % 20), b = 1 + static_cast<int>(rng() % 20);
        const double x = value(rng);
        double y = x;
        ASSERT_TRUE(MAV::acadUnitCv(y, a, b) && MAV::acadUnitCv(y, b, a));
        EXPECT_NEAR(y, x, std::fabs(x) * 1e-12) << a << " -> " << b;
    }

    EXPECT_EQ(MAV::acad_unit_get(), Mav::kUnitsMillimeters);
    double v = 0.2;
    EXPECT_TRUE(MAV::acad_unit_set(6));
    EXPECT_TRUE(MAV::acadUnitCv(v, 4, -1));
    EXPECT_DOUBLE_EQ(v, 0.0002);
    EXPECT_EQ(MAV::autoPrec(3, -1, 2), 6);
    // A unitless drawing leaves the value; units outside -1..20 fail without touching it.
    v = 7.0;
    EXPECT_TRUE(MAV::acad_unit_set(0));
    EXPECT_TRUE(MAV::acadUnitCv(v, 1, -1));
    EXPECT_FALSE(MAV::acadUnitCv(v, 21, 4));
    EXPECT_FALSE(MAV::acadUnitCv(v, 4, -2));
    EXPECT_EQ(v, 7.0);
    EXPECT_FALSE(MAV::acad_unit_set(21) || MAV::acad_unit_set(-1));
    // A broken configuration value falls back to millimetres.
    MAV::cfg_get(L"UNITS\\INSUNITS")->set(L"mm");
    EXPECT_EQ(MAV::acad_unit_get(), Mav::kUnitsMillimeters);
    MAV::cfg_get(L"UNITS\\INSUNITS")->set(99);
    EXPECT_EQ(MAV::acad_unit_get(), Mav::kUnitsMillimeters);
}

TEST_F(Units, NamesPerLanguageAndAutomaticPrecision)
{
    const CMavArrayTempl<CMavString> de = MAV::acad_units(L"de"), en = MAV::acad_units(L"en");
    ASSERT_EQ(de.len(), 21);
    EXPECT_EQ(de[0] + de[2] + en[1] + en[20], L"Ohne EinheitFu\u00dfInchesParsecs");
    EXPECT_EQ(MAV::acad_units(L"xx")[6], L"Meter"); // a language without a catalogue gets the German names
    MAV::msgLangSet(L"en");
    EXPECT_EQ(MAV::acad_units(nullptr)[5], L"Centimeters");

    // {precision, unit, format, result}: decimals grow with the unit in millimetres (log10, rounded), never
    // below 0 and capped; unitless counts as millimetres; engineering shows inches whatever the unit;
    // fractions need 2^d to reach unit-in-mm x 10^precision, architectural counting inches.
    const int rows[][4] = {{3, 4, 2, 3},  {3, 6, 2, 6},  {3, 5, 2, 4},   {2, 1, 2, 3}, {3, 7, 2, 9},
                           {0, 13, 2, 0}, {-4, 4, 2, 0}, {14, 6, 2, 15}, {3, 0, 2, 3}, {1, 4, 3, 2},
                           {0, 4, 4, 5},  {1, 4, 4, 8},  {0, 4, 5, 0},   {1, 4, 5, 4}};
    for (const auto& r : rows)
        EXPECT_EQ(MAV::autoPrec(r[0], r[1], r[2]), r[3]) << r[0] << " " << r[1] << " " << r[2];
}
