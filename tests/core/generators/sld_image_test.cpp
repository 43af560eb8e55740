// Slides from a slide library as display items: one item per line and fill, its own sub-group each, the colour of
// the last colour record, the fill bit on the fill only, and the empty slide "LEER".
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "gdx/CMavGDX.h"
#include "generators/sld_image.h"
#include "data/CMavDataItem.h"
#include "mav_test_data.h"

namespace {

const std::string kDir = std::string(MAV_TEST_DATA_DIR) + "/slides/";

std::wstring widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

std::vector<unsigned char> readFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

CMavGDX emptyList() { return CMavGDX(CMavColor(), CMavMatrix3d(), 1.0, 0, CMavPoint3d(), CMavPoint3d()); }

CMavArrayTempl<int> stackOf(const CMavGDX& gdx, int item)
{
    CMavArrayTempl<int> s;
    gdx.itemStackGet(s, item);
    return s;
}

std::vector<int> vec(const CMavArrayTempl<int>& a)
{
    std::vector<int> v;
    for (int i = 0; i < a.len(); ++i)
        v.push_back(a[i]);
    return v;
}

// One drawn piece of a slide listing: a line (4 numbers) or a polygon (2 per vertex), with its colour index
// (0: no colour record yet).
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
    std::string row;
    while (std::getline(f, row)) {
        std::istringstream in(row);
        std::string kind;
        in >> kind;
        if (kind == "color") {
            in >> colour;
        } else if (kind == "line" || kind == "poly") {
            Piece p;
            p.polygon = kind == "poly";
            p.colour = colour;
            int v = 0;
            while (in >> v)
                p.coords.push_back(v);
            pieces.push_back(p);
        }
    }
    return pieces;
}

// Compares the items of a list with a slide listing, item by item.
void expectItemsMatchListing(const CMavGDX& gdx, const std::vector<Piece>& pieces, const std::vector<int>& stack,
                             unsigned long flags)
{
    ASSERT_EQ(gdx.lenGet(), static_cast<int>(pieces.size()));
    bool filledSeen = false;
    for (int i = 0; i < gdx.lenGet(); ++i) {
        SCOPED_TRACE("item " + std::to_string(i));
        const Piece& p = pieces[i];
        std::vector<int> expectedStack = stack;
        expectedStack.push_back(i + 1);
        EXPECT_EQ(vec(stackOf(gdx, i)), expectedStack);
        EXPECT_EQ(gdx.colorGet(i).colorIndex(), p.colour);
        EXPECT_EQ(gdx.ltscaleGet(i), 1.0);
        if (!p.polygon) {
            EXPECT_EQ(gdx.typeGet(i), kDispPolyline);
            EXPECT_EQ(gdx.flagGet(i), filledSeen ? (flags & ~1ul) : flags);
            CMavVertexArray vl;
            gdx.geomGet(vl, i);
            ASSERT_EQ(vl.len(), 1);
            EXPECT_EQ(vl[0].start, CMavPoint3d(p.coords[0], p.coords[1], 0.0));
            EXPECT_EQ(vl[0].end, CMavPoint3d(p.coords[2], p.coords[3], 0.0));
        } else {
            EXPECT_EQ(gdx.typeGet(i), kDispRegion);
            EXPECT_EQ(gdx.flagGet(i), (filledSeen ? (flags & ~1ul) : flags) | 1ul);
            filledSeen = true;
            EXPECT_EQ(gdx.fcolorGet(i).colorIndex(), p.colour);
            CMavArrayTempl<CMavVertexArray> regions;
            gdx.geomGet(regions, i);
            ASSERT_EQ(regions.len(), 1);
            const CMavVertexArray& outline = regions[0];
            const int n = static_cast<int>(p.coords.size() / 2);
            ASSERT_EQ(outline.len(), n);
            // Closed, counter-clockwise, through the listed vertices.
            std::set<std::pair<int, int>> expected, got;
            double area2 = 0.0;
            for (int k = 0; k < n; ++k) {
                expected.insert({p.coords[2 * k], p.coords[2 * k + 1]});
                got.insert({static_cast<int>(outline[k].start.x), static_cast<int>(outline[k].start.y)});
                EXPECT_EQ(outline[k].end, outline[(k + 1) % n].start);
                area2 += outline[k].start.x * outline[k].end.y - outline[k].end.x * outline[k].start.y;
            }
            EXPECT_EQ(got, expected);
            if (n >= 3) {
                EXPECT_GT(area2, 0.0);
            }
        }
    }
}

TEST(SldImage, LibrarySlideGivesTheDecodedLinesAndFillsAsItemsWithTheirOwnSubGroups)
{
    CMavGDX gdx = emptyList();
    CMavDataItem parameters;
    parameters.makeDirectory();
    parameters.setAt(CMavDataKey(L"STACK"), 5);  // a single integer
    const unsigned long flags = 0x201;           // colour mode 2 and the caller's own fill bit
    EXPECT_TRUE(mav_gdx_image_sld(&gdx, L"every", widen(kDir + "library.slb").c_str(), flags, &parameters));
    const std::vector<Piece> pieces = listing("every_l2_le");
    ASSERT_GE(pieces.size(), 8u);
    expectItemsMatchListing(gdx, pieces, {5}, flags);
    EXPECT_EQ(vec(stackOf(gdx, 0)), (std::vector<int>{5, 1}));
    EXPECT_EQ(vec(stackOf(gdx, 1)), (std::vector<int>{5, 2}));
}

TEST(SldImage, StackArrayMatrixAndByteOrderTwins)
{
    CMavDataItem parameters;
    parameters.makeDirectory();
    parameters.setAt(CMavDataKey(L"STACK"), CMavArrayTempl<int>({3, 4}));
    const CMavMatrix3d move = CMavMatrix3d::translation(CMavVector3d(7.0, 8.0, 9.0));
    parameters.setAt(CMavDataKey(L"MTX"), move);
    for (const char* name : {"every_l2_le", "every_l2_be", "every_l1_le", "no_end_record",
                             "fill_negative_y", "fill_repeat_zero_y", "fill_without_closing_record",
                             "ppmtoacad_poly", "unknown_record"}) {
        SCOPED_TRACE(name);
        const std::vector<unsigned char> bytes = readFile(kDir + name + ".sld");
        ASSERT_FALSE(bytes.empty());
        CMavGDX gdx = emptyList();
        const std::vector<Piece> pieces = listing(name);
        EXPECT_EQ(mav_gdx_image_sld_data(&gdx, bytes.data(), static_cast<unsigned long>(bytes.size()), 0x300,
                                         &parameters),
                  !pieces.empty());
        expectItemsMatchListing(gdx, pieces, {3, 4}, 0x300);
        for (int i = 0; i < gdx.lenGet(); ++i)
            EXPECT_TRUE(gdx.mtxGet(i).isEqualTo(move));
    }
    // A level-1 slide has no byte-order word: it is read low byte first, so its big-endian twin comes out wrong.
    const std::vector<unsigned char> be1 = readFile(kDir + "every_l1_be.sld");
    CMavGDX wrong = emptyList();
    mav_gdx_image_sld_data(&wrong, be1.data(), static_cast<unsigned long>(be1.size()), 0, nullptr);
    EXPECT_NE(wrong.lenGet(), static_cast<int>(listing("every_l1_le").size()));

}

TEST(SldImage, ARecordCutByTheEndOfTheSlideAddsItsItemAsItsMissingBytesRead)
{
    // A level-2 header, little-endian, then record words; the last record of each slide lacks its end.
    auto slide = [](std::initializer_list<int> words, std::initializer_list<unsigned char> tail) {
        std::vector<unsigned char> b(17, 0);
        b.insert(b.end(), {0x56, 2, 0x10, 0x02, 0x20, 0x01, 0, 0, 0, 0, 2, 0, 0x34, 0x12});
        for (int w : words) {
            b.push_back(static_cast<unsigned char>(w & 0xFF));
            b.push_back(static_cast<unsigned char>((w >> 8) & 0xFF));
        }
        b.insert(b.end(), tail);
        return b;
    };
    // A common endpoint without its dy byte: the line from the last point (1, 2) with dy = 0.
    const std::vector<unsigned char> endpoint = slide({0xFF01, 0x0001, 2, 3, 4}, {0x05, 0xFE});
    // A fill whose third vertex lacks its y: the region of the two vertices before it.
    const std::vector<unsigned char> fill = slide({0xFF02, 0xFD00, 4, 0, 0xFD00, 1, 2, 0xFD00, 3, 4, 0xFD00, 5}, {});
    std::vector<Piece> lines(2), region(1);
    lines[0].coords = {1, 2, 3, 4};
    lines[1].coords = {1, 2, 6, 2};
    lines[0].colour = lines[1].colour = 1;
    region[0].polygon = true;
    region[0].coords = {1, 2, 3, 4};
    region[0].colour = 2;
    const struct {
        const std::vector<unsigned char>& bytes;
        const std::vector<Piece>& pieces;
    } cases[] = {{endpoint, lines}, {fill, region}};
    for (const auto& c : cases) {
        CMavGDX gdx = emptyList();
        EXPECT_TRUE(mav_gdx_image_sld_data(&gdx, c.bytes.data(), static_cast<unsigned long>(c.bytes.size()), 0,
                                           nullptr));
        expectItemsMatchListing(gdx, c.pieces, {}, 0);
    }
}

TEST(SldImage, EmptySlideAndFailures)
{
    // "LEER" in any case: one hidden point at the origin, no library needed.
    for (const wchar_t* leer : {L"LEER", L"leer", L"LeEr"}) {
        CMavGDX gdx = emptyList();
        EXPECT_TRUE(mav_gdx_image_sld(&gdx, leer, nullptr, 0x201, nullptr));
        ASSERT_EQ(gdx.lenGet(), 1);
        EXPECT_EQ(gdx.typeGet(0), kDispPoint);
        EXPECT_EQ(gdx.flagGet(0), 0x4ul);
        EXPECT_EQ(stackOf(gdx, 0).len(), 0);
        CMavPoint3d p(1, 1, 1);
        gdx.geomGet(p, 0);
        EXPECT_EQ(p, CMavPoint3d(0, 0, 0));
    }

    const std::wstring lib = widen(kDir + "library.slb");
    CMavGDX gdx = emptyList();
    EXPECT_FALSE(mav_gdx_image_sld(&gdx, nullptr, lib.c_str(), 0, nullptr));
    EXPECT_FALSE(mav_gdx_image_sld(&gdx, L"EVERY", nullptr, 0, nullptr));
    EXPECT_FALSE(mav_gdx_image_sld(&gdx, L"LEERE", lib.c_str(), 0, nullptr));
    EXPECT_FALSE(mav_gdx_image_sld(&gdx, L"EVERY", widen(kDir + "missing.slb").c_str(), 0, nullptr));
    EXPECT_EQ(gdx.lenGet(), 0);

    // Colour records only, unknown levels and a slide cut inside its header add nothing and give false.
    for (const char* name : {"colors_only", "level_0", "level_3", "level_255"}) {
        const std::vector<unsigned char> bytes = readFile(kDir + name + ".sld");
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_FALSE(mav_gdx_image_sld_data(&gdx, bytes.data(), static_cast<unsigned long>(bytes.size()), 0, nullptr))
            << name;
        EXPECT_FALSE(mav_gdx_image_sld_data(&gdx, nullptr, static_cast<unsigned long>(bytes.size()), 0, nullptr));
        EXPECT_FALSE(mav_gdx_image_sld_data(&gdx, bytes.data(), 22, 0, nullptr)) << name;
    }
    EXPECT_EQ(gdx.lenGet(), 0);

    // The slide "TÜR" is found by its 1252 name, in another case, and draws its one magenta line.
    EXPECT_TRUE(mav_gdx_image_sld(&gdx, L"t\u00fcr", lib.c_str(), 0, nullptr));
    ASSERT_EQ(gdx.lenGet(), 1);
    EXPECT_EQ(gdx.colorGet(0).colorIndex(), 6);
    EXPECT_EQ(vec(stackOf(gdx, 0)), (std::vector<int>{1}));
}

} // namespace
