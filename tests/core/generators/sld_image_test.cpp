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

// A slide listing's drawn pieces, each as "line" or "poly", its colour index (from the last colour record) and its
// coordinates, a polygon's vertices sorted.
std::vector<std::string> listing(const std::string& name)
{
    std::ifstream f(kDir + name + ".txt");
    std::vector<std::string> pieces;
    std::string row, kind, colour = "0";
    while (std::getline(f, row)) {
        std::istringstream in(row);
        in >> kind;
        if (kind == "color")
            in >> colour;
        if (kind != "line" && kind != "poly")
            continue;
        std::vector<std::pair<int, int>> points;
        for (int x = 0, y = 0; in >> x >> y;)
            points.emplace_back(x, y);
        if (kind == "poly")
            std::sort(points.begin(), points.end());
        pieces.push_back(kind + " " + colour);
        for (const auto& p : points)
            pieces.back() += " " + std::to_string(p.first) + " " + std::to_string(p.second);
    }
    return pieces;
}

// Each piece one item in its own sub-group, in its colour, the caller's fill bit kept up to the first fill only;
// lines as one segment, fills as filled regions closed counter-clockwise through the listed vertices.
void expectItemsMatchListing(const CMavGDX& gdx, const std::string& name, std::vector<int> stack, unsigned long flags)
{
    const std::vector<std::string> pieces = listing(name);
    std::vector<std::string> items;
    stack.push_back(0);
    for (int i = 0; i < gdx.lenGet(); ++i) {
        const bool poly = gdx.typeGet(i) == kDispRegion;
        CMavArrayTempl<CMavVertexArray> regions{CMavVertexArray()};
        poly ? gdx.geomGet(regions, i) : gdx.geomGet(regions[0], i);
        std::vector<std::pair<int, int>> points;
        double area2 = 0.0;
        for (const CMavVertex& v : regions[0]) {
            points.emplace_back(static_cast<int>(v.start.x), static_cast<int>(v.start.y));
            area2 += v.start.x * v.end.y - v.end.x * v.start.y;
        }
        if (poly)
            std::sort(points.begin(), points.end());
        else if (!regions[0].isEmpty())
            points.emplace_back(static_cast<int>(regions[0][0].end.x), static_cast<int>(regions[0][0].end.y));
        items.push_back((poly ? "poly " : "line ") + std::to_string(gdx.colorGet(i).colorIndex()));
        for (const auto& p : points)
            items.back() += " " + std::to_string(p.first) + " " + std::to_string(p.second);
        stack.back() = i + 1;
        EXPECT_EQ(stackOf(gdx, i), stack) << i;
        EXPECT_EQ(gdx.flagGet(i), flags | (poly ? 1ul : 0ul)) << i;
        EXPECT_TRUE(!poly || (regions.len() == 1 && regions[0].isClosed(0.0) && (points.size() < 3 || area2 > 0) &&
                              gdx.fcolorGet(i) == gdx.colorGet(i)))
            << i;
        flags &= poly ? ~1ul : ~0ul;
    }
    EXPECT_EQ(items, pieces);
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
    expectItemsMatchListing(lib, "every_l2_le", {5}, 0x201);

    parameters.setAt(CMavDataKey(L"STACK"), CMavArrayTempl<int>({3, 4}));
    const CMavMatrix3d move = CMavMatrix3d::translation(CMavVector3d(7.0, 8.0, 9.0));
    parameters.setAt(CMavDataKey(L"MTX"), move);
    for (const char* name : {"every_l2_le", "every_l2_be", "every_l1_le", "no_end_record", "fill_negative_y",
                             "fill_repeat_zero_y", "fill_without_closing_record", "ppmtoacad_poly", "unknown_record"}) {
        SCOPED_TRACE(name);
        const std::vector<unsigned char> bytes = readFile(kDir + name + ".sld");
        CMavGDX gdx = emptyList();
        EXPECT_EQ(
            mav_gdx_image_sld_data(&gdx, bytes.data(), static_cast<unsigned long>(bytes.size()), 0x300, &parameters),
            !listing(name).empty());
        expectItemsMatchListing(gdx, name, {3, 4}, 0x300);
        for (int i = 0; i < gdx.lenGet(); ++i)
            EXPECT_TRUE(gdx.mtxGet(i).isEqualTo(move));
    }
    // A level-1 slide has no byte-order word: it is read low byte first, so its big-endian twin comes out wrong.
    const std::vector<unsigned char> be1 = readFile(kDir + "every_l1_be.sld");
    CMavGDX wrong = emptyList();
    mav_gdx_image_sld_data(&wrong, be1.data(), static_cast<unsigned long>(be1.size()), 0, nullptr);
    EXPECT_NE(wrong.lenGet(), static_cast<int>(listing("every_l1_le").size()));
    // The slide "TÜR" is found by its 1252 name, in another case, and draws its one magenta line.
    CMavGDX tuer = emptyList();
    EXPECT_TRUE(mav_gdx_image_sld(&tuer, L"t\u00fcr", widen(kDir + "library.slb").c_str(), 0, nullptr));
    EXPECT_TRUE(tuer.lenGet() == 1 && tuer.colorGet(0) == CMavColor(6) && stackOf(tuer, 0) == std::vector<int>{1});
}

TEST(SldImage, EmptySlideAndFailures)
{
    // "LEER" in any case: one hidden point at the origin, no library needed.
    CMavGDX leer = emptyList();
    EXPECT_TRUE(mav_gdx_image_sld(&leer, L"LeEr", nullptr, 0x201, nullptr));
    CMavPoint3d p(1, 1, 1);
    leer.geomGet(p, 0);
    EXPECT_TRUE(leer.lenGet() == 1 && stackOf(leer, 0).empty() && leer.typeGet(0) == kDispPoint &&
                leer.flagGet(0) == 0x4ul && p == CMavPoint3d());

    // No name, library or slide of that name; colour records only, unknown levels, no bytes, no list: false.
    const std::wstring lib = widen(kDir + "library.slb");
    CMavGDX gdx = emptyList();
    EXPECT_FALSE(mav_gdx_image_sld(&gdx, nullptr, lib.c_str(), 0, nullptr) ||
                 mav_gdx_image_sld(&gdx, L"EVERY", nullptr, 0, nullptr) ||
                 mav_gdx_image_sld(&gdx, L"LEERE", lib.c_str(), 0, nullptr) ||
                 mav_gdx_image_sld(&gdx, L"EVERY", widen(kDir + "missing.slb").c_str(), 0, nullptr));
    for (const char* name : {"colors_only", "level_3"}) {
        const std::vector<unsigned char> bytes = readFile(kDir + name + ".sld");
        EXPECT_FALSE(mav_gdx_image_sld_data(&gdx, bytes.data(), static_cast<unsigned long>(bytes.size()), 0, nullptr))
            << name;
    }
    const std::vector<unsigned char> every = readFile(kDir + "every_l2_le.sld");
    EXPECT_FALSE(mav_gdx_image_sld_data(&gdx, nullptr, 100, 0, nullptr) ||
                 mav_gdx_image_sld_data(nullptr, every.data(), static_cast<unsigned long>(every.size()), 0, nullptr));
    EXPECT_EQ(gdx.lenGet(), 0);
}
