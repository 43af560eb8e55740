// Slides from a slide library as display items: one item per line and fill, its own sub-group each, the colour of
// the last colour record, the fill bit on the fill only, and the empty slide "LEER".
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "data/CMavDataItem.h"
#include "gdx/CMavGDX.h"
#include "generators/sld_image.h"
#include "mav_test_data.h"

namespace
{

const std::string kDir = std::string(MAV_TEST_DATA_DIR) + "/slides/";

std::wstring widen(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

std::vector<unsigned char> readFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

CMavGDX emptyList()
{
    return CMavGDX(CMavColor(), CMavMatrix3d(), 1.0, 0, CMavPoint3d(), CMavPoint3d());
}

std::vector<int> stackOf(const CMavGDX& gdx, int item)
{
    CMavArrayTempl<int> s;
    gdx.itemStackGet(s, item);
    return std::vector<int>(s.begin(), s.end());
}

// One drawn piece of a slide listing: a line (4 numbers) or a polygon (2 per vertex), with its colour index.
struct Piece {
    bool polygon = false;
    std::vector<int> coords;
    int colour = 0;
};

std::vector<Piece> listing(const std::string& name)
{
    std::ifstream f(kDir + name + ".txt");
    std::vector<Piece> pieces;
    int colour = 0;
    std::string row, kind;
    while (std::getline(f, row)) {
        std::istringstream in(row);
        in >> kind;
        if (kind == "color")
            in >> colour;
        if (kind != "line" && kind != "poly")
            continue;
        pieces.push_back(Piece{kind == "poly", {}, colour});
        for (int v = 0; in >> v;)
            pieces.back().coords.push_back(v);
    }
    return pieces;
}

// Each piece one item in its own sub-group, in the colour of the last colour record; lines as one segment,
// fills as filled regions closed counter-clockwise through the listed vertices. The caller's fill bit stays on
// the items up to the first fill only.
void expectItemsMatchListing(const CMavGDX& gdx, const std::vector<Piece>& pieces, std::vector<int> stack,
                             unsigned long flags)
{
    ASSERT_EQ(gdx.lenGet(), static_cast<int>(pieces.size()));
    stack.push_back(0);
    for (int i = 0; i < gdx.lenGet(); ++i) {
        SCOPED_TRACE("item " + std::to_string(i));
        const Piece& p = pieces[i];
        stack.back() = i + 1;
        EXPECT_EQ(stackOf(gdx, i), stack);
        EXPECT_EQ(gdx.colorGet(i).colorIndex(), p.colour);
        EXPECT_EQ(gdx.ltscaleGet(i), 1.0);
        EXPECT_EQ(gdx.typeGet(i), p.polygon ? kDispRegion : kDispPolyline);
        EXPECT_EQ(gdx.flagGet(i), flags | (p.polygon ? 1ul : 0ul));
        std::vector<std::pair<int, int>> expected, got;
        CMavArrayTempl<CMavVertexArray> regions;
        CMavVertexArray segment;
        gdx.geomGet(regions, i);
        gdx.geomGet(segment, i);
        if (!p.polygon)
            regions = CMavArrayTempl<CMavVertexArray>{segment};
        ASSERT_EQ(regions.len(), 1);
        const CMavVertexArray& vl = regions[0];
        const int n = static_cast<int>(p.coords.size() / 2);
        ASSERT_EQ(vl.len(), p.polygon ? n : 1);
        double area2 = 0.0;
        for (int k = 0; k < n; ++k) {
            expected.emplace_back(p.coords[2 * k], p.coords[2 * k + 1]);
            const CMavPoint3d& q = k < vl.len() ? vl[k].start : vl[k - 1].end;
            got.emplace_back(static_cast<int>(q.x), static_cast<int>(q.y));
            if (p.polygon) {
                EXPECT_EQ(vl[k].end, vl[(k + 1) % n].start);
                area2 += vl[k].start.x * vl[k].end.y - vl[k].end.x * vl[k].start.y;
            }
        }
        if (p.polygon) {
            std::sort(expected.begin(), expected.end());
            std::sort(got.begin(), got.end());
            EXPECT_EQ(gdx.fcolorGet(i).colorIndex(), p.colour);
            EXPECT_TRUE(n < 3 || area2 > 0.0);
            flags &= ~1ul;
        }
        EXPECT_EQ(got, expected);
    }
}

} // namespace

// A slide from a library (its name in any case) or from memory: the listing's pieces in order under the caller's
// stack (a single integer or an array) and matrix.
TEST(SldImage, SlidesGiveTheirListingsLinesAndFillsAsItems)
{
    CMavDataItem parameters;
    parameters.makeDirectory();
    parameters.setAt(CMavDataKey(L"STACK"), 5);
    CMavGDX lib = emptyList();
    EXPECT_TRUE(mav_gdx_image_sld(&lib, L"every", widen(kDir + "library.slb").c_str(), 0x201, &parameters));
    ASSERT_GE(lib.lenGet(), 8);
    expectItemsMatchListing(lib, listing("every_l2_le"), {5}, 0x201);

    parameters.setAt(CMavDataKey(L"STACK"), CMavArrayTempl<int>({3, 4}));
    const CMavMatrix3d move = CMavMatrix3d::translation(CMavVector3d(7.0, 8.0, 9.0));
    parameters.setAt(CMavDataKey(L"MTX"), move);
    for (const char* name : {"every_l2_le", "every_l2_be", "every_l1_le", "no_end_record", "fill_negative_y",
                             "fill_repeat_zero_y", "fill_without_closing_record", "ppmtoacad_poly", "unknown_record"}) {
        SCOPED_TRACE(name);
        const std::vector<unsigned char> bytes = readFile(kDir + name + ".sld");
        CMavGDX gdx = emptyList();
        const std::vector<Piece> pieces = listing(name);
        EXPECT_EQ(
            mav_gdx_image_sld_data(&gdx, bytes.data(), static_cast<unsigned long>(bytes.size()), 0x300, &parameters),
            !pieces.empty());
        expectItemsMatchListing(gdx, pieces, {3, 4}, 0x300);
        for (int i = 0; i < gdx.lenGet(); ++i)
            EXPECT_TRUE(gdx.mtxGet(i).isEqualTo(move));
    }
}

TEST(SldImage, EmptySlideAndFailures)
{
    // "LEER" in any case: one hidden point at the origin, no library needed.
    for (const wchar_t* leer : {L"LEER", L"leer", L"LeEr"}) {
        CMavGDX gdx = emptyList();
        EXPECT_TRUE(mav_gdx_image_sld(&gdx, leer, nullptr, 0x201, nullptr));
        ASSERT_EQ(gdx.lenGet(), 1);
        CMavPoint3d p(1, 1, 1);
        gdx.geomGet(p, 0);
        EXPECT_TRUE(gdx.typeGet(0) == kDispPoint && gdx.flagGet(0) == 0x4ul && p == CMavPoint3d());
        EXPECT_TRUE(stackOf(gdx, 0).empty());
    }

    // No name, library or slide of that name; colour records only, unknown levels, no bytes, no list: false.
    const std::wstring lib = widen(kDir + "library.slb");
    CMavGDX gdx = emptyList();
    EXPECT_FALSE(mav_gdx_image_sld(&gdx, nullptr, lib.c_str(), 0, nullptr) ||
                 mav_gdx_image_sld(&gdx, L"EVERY", nullptr, 0, nullptr) ||
                 mav_gdx_image_sld(&gdx, L"LEERE", lib.c_str(), 0, nullptr) ||
                 mav_gdx_image_sld(&gdx, L"EVERY", widen(kDir + "missing.slb").c_str(), 0, nullptr));
    for (const char* name : {"colors_only", "level_0", "level_3", "level_255"}) {
        const std::vector<unsigned char> bytes = readFile(kDir + name + ".sld");
        EXPECT_FALSE(mav_gdx_image_sld_data(&gdx, bytes.data(), static_cast<unsigned long>(bytes.size()), 0, nullptr))
            << name;
    }
    const std::vector<unsigned char> every = readFile(kDir + "every_l2_le.sld");
    EXPECT_FALSE(mav_gdx_image_sld_data(&gdx, nullptr, 100, 0, nullptr) ||
                 mav_gdx_image_sld_data(nullptr, every.data(), static_cast<unsigned long>(every.size()), 0, nullptr));
    EXPECT_EQ(gdx.lenGet(), 0);
}
