// The named generator table: sorted insertion, replacement, removal and dispatch by exact name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "data/datafile.h"
#include "generators/generators.h"

namespace
{

int g_called = -1;
CMavGDX* g_gdx = nullptr;
MAV::CDtaFilePointer* g_data = nullptr;
MAV::CDtaFilePointer* g_parameters = nullptr;

// Generator number N: records its number and arguments; its result is true for even N.
template <int N> bool numbered(CMavGDX* gdx, MAV::CDtaFilePointer* data, MAV::CDtaFilePointer* parameters)
{
    g_called = N;
    g_gdx = gdx;
    g_data = data;
    g_parameters = parameters;
    return N % 2 == 0;
}

const MavGdxImageFcn kFcns[] = {numbered<0>, numbered<1>, numbered<2>, numbered<3>, numbered<4>,
                                numbered<5>, numbered<6>, numbered<7>, numbered<8>, numbered<9>};

class GdxImageTable : public ::testing::Test
{
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

// Seeded random names registered one by one, each under generator k % 10: before each registration the search
// answers whether and where the name stands in a sorted list; every name then dispatches to the last generator
// registered for it, whatever the table size. Names match exactly; removal closes the gap.
TEST_F(GdxImageTable, FindInsertDispatchAndRemoveAgreeWithASortedListOnRandomNames)
{
    std::mt19937 rng(11);
    std::vector<std::wstring> names;
    std::vector<int> fcnOf;
    for (int k = 0; k < 340; ++k) {
        std::wstring name;
        for (int c = 1 + static_cast<int>(rng() % 4); c > 0; --c)
            name += static_cast<wchar_t>(L'a' + rng() % 5);
        const bool removing = k >= 300;
        uint32_t index = 99;
        const bool found = MAV::gdxImageFind(CMavString(name.c_str()), index);
        const auto it = std::lower_bound(names.begin(), names.end(), name);
        const auto at = static_cast<size_t>(it - names.begin());
        ASSERT_EQ(found, it != names.end() && *it == name) << k;
        ASSERT_EQ(index, at) << k;
        if (removing) {
            if (found) {
                names.erase(it);
                fcnOf.erase(fcnOf.begin() + static_cast<std::ptrdiff_t>(at));
            }
            setGdxImageFcn(name.c_str(), nullptr);
            ASSERT_EQ(dispatch(name.c_str()), -1);
        } else {
            if (!found) {
                names.insert(it, name);
                fcnOf.insert(fcnOf.begin() + static_cast<std::ptrdiff_t>(at), 0);
            }
            fcnOf[at] = k % 10;
            setGdxImageFcn(name.c_str(), kFcns[k % 10]);
        }
        ASSERT_EQ(MAV::gdxImageCount(), names.size());
        if (k < 40 || k % 25 == 0 || removing) {
            for (size_t i = 0; i < names.size(); ++i) {
                ASSERT_EQ(MAV::gdxImageNameAt(static_cast<uint32_t>(i)), CMavString(names[i].c_str()));
                ASSERT_EQ(dispatch(names[i].c_str()), fcnOf[i]) << k << " " << i;
            }
        }
    }
    for (const wchar_t* other : {L"f", L"", L"A", L"AA"})
        EXPECT_EQ(dispatch(other), -1);
    setGdxImageFcn(nullptr, numbered<1>);
    EXPECT_EQ(MAV::gdxImageCount(), names.size());
    EXPECT_FALSE(mav_gdx_image(nullptr, nullptr, nullptr, nullptr) || mav_gdx_image(L"f", nullptr, nullptr, nullptr));
    // The arguments go through unchanged and the generator's result is returned.
    MAV::CDtaFilePointer* const fake[] = {reinterpret_cast<MAV::CDtaFilePointer*>(&g_called),
                                          reinterpret_cast<MAV::CDtaFilePointer*>(&g_gdx)};
    EXPECT_EQ(mav_gdx_image(names[0].c_str(), reinterpret_cast<CMavGDX*>(&g_data), fake[0], fake[1]),
              fcnOf[0] % 2 == 0);
    EXPECT_TRUE(g_called == fcnOf[0] && g_gdx == reinterpret_cast<CMavGDX*>(&g_data) && g_data == fake[0] &&
                g_parameters == fake[1]);
}

} // namespace
