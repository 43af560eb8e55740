// The named generator table: sorted insertion, replacement, removal and dispatch by exact name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "generators/generators.h"
#include "data/datafile.h"

namespace {

int g_called = -1;
CMavGDX* g_gdx = nullptr;
MAV::CDtaFilePointer* g_data = nullptr;
MAV::CDtaFilePointer* g_parameters = nullptr;

// Generator number N: records its number and arguments; its result is true for even N.
template <int N>
bool numbered(CMavGDX* gdx, MAV::CDtaFilePointer* data, MAV::CDtaFilePointer* parameters)
{
    g_called = N;
    g_gdx = gdx;
    g_data = data;
    g_parameters = parameters;
    return N % 2 == 0;
}

const MavGdxImageFcn kFcns[] = {numbered<0>, numbered<1>, numbered<2>, numbered<3>, numbered<4>,
                                numbered<5>, numbered<6>, numbered<7>, numbered<8>, numbered<9>};

class GdxImageTable : public ::testing::Test {
protected:
    void SetUp() override { MAV::gdxImageClear(); }
    void TearDown() override { MAV::gdxImageClear(); }

    static int dispatch(const wchar_t* name)
    {
        g_called = -1;
        mav_gdx_image(name, nullptr, nullptr, nullptr);
        return g_called;
    }
};

std::wstring nameOf(int i) { return L"GEN_" + std::wstring(1, static_cast<wchar_t>(L'B' + 2 * i)); }

TEST_F(GdxImageTable, FindAndInsertionIndexAgreeWithSortedOrderOnRandomNames)
{
    // Seeded random names registered one by one, each under generator k % 10: before each registration the
    // search answers whether and where the name stands in the sorted list; every name then dispatches to the
    // last generator registered for it, whatever the table size (the search's step starts at the highest power
    // of two not above it).
    std::mt19937 rng(11);
    std::vector<std::wstring> names;
    std::vector<int> fcnOf;
    for (int k = 0; k < 300; ++k) {
        std::wstring name;
        const int len = 1 + static_cast<int>(rng() % 4);
        for (int c = 0; c < len; ++c)
            name += static_cast<wchar_t>(L'a' + rng() % 5);
        uint32_t index = 99;
        const bool found = MAV::gdxImageFind(CMavString(name.c_str()), index);
        const auto it = std::lower_bound(names.begin(), names.end(), name);
        const auto at = static_cast<size_t>(it - names.begin());
        ASSERT_EQ(found, it != names.end() && *it == name) << k;
        ASSERT_EQ(index, at) << k;
        if (!found) {
            names.insert(it, name);
            fcnOf.insert(fcnOf.begin() + static_cast<std::ptrdiff_t>(at), k % 10);
        }
        fcnOf[at] = k % 10;
        setGdxImageFcn(name.c_str(), kFcns[k % 10]);
        ASSERT_EQ(MAV::gdxImageCount(), names.size());
        if (k < 40 || k % 25 == 0) {
            for (size_t i = 0; i < names.size(); ++i)
                ASSERT_EQ(dispatch(names[i].c_str()), fcnOf[i]) << k << " " << i;
        }
    }
    for (size_t i = 0; i < names.size(); ++i)
        ASSERT_EQ(MAV::gdxImageNameAt(static_cast<uint32_t>(i)), CMavString(names[i].c_str()));
    EXPECT_EQ(dispatch(L"f"), -1); // beyond the last entry
    EXPECT_EQ(dispatch(L""), -1);
}

TEST_F(GdxImageTable, ReplaceRemoveAndDispatchArguments)
{
    setGdxImageFcn(L"DRILL", numbered<1>);
    setGdxImageFcn(L"HOLE", numbered<2>);
    setGdxImageFcn(L"DRILL", numbered<4>);  // registered twice: one entry, the later function
    EXPECT_EQ(MAV::gdxImageCount(), 2u);
    EXPECT_EQ(dispatch(L"DRILL"), 4);

    // Names match exactly: no case folding, no prefixes.
    EXPECT_EQ(dispatch(L"drill"), -1);
    EXPECT_EQ(dispatch(L"DRIL"), -1);
    EXPECT_EQ(dispatch(L"DRILLS"), -1);
    EXPECT_FALSE(mav_gdx_image(nullptr, nullptr, nullptr, nullptr));

    // The arguments go through unchanged and the generator's result is returned.
    MAV::CDtaFilePointer* data = MAV::dtaOpen(MAV::kDataTemp, MAV::kDataReadWrite, nullptr, nullptr);
    MAV::CDtaFilePointer* parameters = MAV::dtaOpen(MAV::kDataTemp, MAV::kDataReadWrite, nullptr, nullptr);
    CMavGDX* fakeGdx = reinterpret_cast<CMavGDX*>(parameters);  // only passed through, never used
    EXPECT_TRUE(mav_gdx_image(L"HOLE", fakeGdx, data, parameters));
    EXPECT_EQ(g_called, 2);
    EXPECT_EQ(g_gdx, fakeGdx);
    EXPECT_EQ(g_data, data);
    EXPECT_EQ(g_parameters, parameters);
    setGdxImageFcn(L"HOLE", numbered<3>);
    EXPECT_FALSE(mav_gdx_image(L"HOLE", nullptr, nullptr, nullptr));
    EXPECT_EQ(g_called, 3);
    MAV::dtaClose(data);
    MAV::dtaClose(parameters);

    // Removal: the name is gone, the others stay; removing an absent name is harmless.
    setGdxImageFcn(L"DRILL", nullptr);
    EXPECT_EQ(dispatch(L"DRILL"), -1);
    EXPECT_FALSE(mav_gdx_image(L"DRILL", nullptr, nullptr, nullptr));
    EXPECT_EQ(MAV::gdxImageCount(), 1u);
    setGdxImageFcn(L"NONE", nullptr);
    setGdxImageFcn(nullptr, numbered<1>);
    EXPECT_EQ(MAV::gdxImageCount(), 1u);
    EXPECT_EQ(MAV::gdxImageNameAt(0), CMavString(L"HOLE"));
}

TEST_F(GdxImageTable, ArrayGrowsByEightThenDoublingAndRemovalClosesTheGap)
{
    EXPECT_EQ(MAV::gdxImageCapacity(), 0u);
    for (int i = 0; i < 9; ++i) {
        setGdxImageFcn(nameOf(i).c_str(), kFcns[i]);
        EXPECT_EQ(MAV::gdxImageCapacity(), i < 8 ? 8u : 16u) << i;
    }
    setGdxImageFcn(nameOf(0).c_str(), nullptr);
    setGdxImageFcn(nameOf(4).c_str(), nullptr);
    ASSERT_EQ(MAV::gdxImageCount(), 7u);
    const int left[] = {1, 2, 3, 5, 6, 7, 8};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(MAV::gdxImageNameAt(i), CMavString(nameOf(left[i]).c_str()));
        EXPECT_EQ(dispatch(nameOf(left[i]).c_str()), left[i]);
    }
    EXPECT_EQ(MAV::gdxImageNameAt(7), CMavString());
}

} // namespace
