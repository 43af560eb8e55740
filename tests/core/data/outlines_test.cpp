// Parametric outlines: shapes and their areas, the outline library, view and local matrices, generated objects.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "data/config.h"
#include "data/datafile.h"
#include "data/outlines.h"
#include "../geom_test_util.h"

using geomtest::kPi;

namespace {

// Signed area enclosed by a closed polyline in the XY plane, arcs included (positive: counter-clockwise).
double area(const CMavVertexArray& pl)
{
    double a = 0.0;
    for (const CMavVertex& v : pl) {
        a += (v.start.x * v.end.y - v.end.x * v.start.y) / 2.0;
        if (v.bulge != 0.0) {
            const double theta = 4.0 * std::atan(v.bulge);
            const double c = v.start.distanceTo(v.end);
            const double r = c / (2.0 * std::sin(std::fabs(theta) / 2.0));
            const double seg = r * r / 2.0 * (std::fabs(theta) - std::sin(std::fabs(theta)));
            a += v.bulge > 0 ? seg : -seg;
        }
    }
    return a;
}

CMavVertexArray outline(int code, CMavArrayTempl<double> p)
{
    return MAV::g_outline(code, CMavVector3d(), p);
}

} // namespace

TEST(Outlines, EveryCodeIsClosedAndCounterClockwiseForItsDefaultsInEveryRange)
{
    CMavArrayTempl<int> codes;
    ASSERT_EQ(MAV::outlineCodes(codes), 12);
    for (int code : codes) {
        for (int range = 1; range <= 4; ++range) {
            CMavArrayTempl<double> p;
            ASSERT_TRUE(MAV::outlineDefaults(code, range, p)) << code;
            const CMavVertexArray pl = outline(code, p);
            ASSERT_GE(pl.len(), 2) << "code " << code << " range " << range;
            EXPECT_TRUE(pl.isClosed()) << code;
            EXPECT_TRUE(pl.isContinuous()) << code;
            EXPECT_GT(area(pl), 0.0) << code;
            // Ranges grow by ten: the size of the outline follows the length parameters.
            CMavPoint3d mn, mx;
            ASSERT_TRUE(pl.extents(mn, mx));
            const double expected = std::pow(10.0, range - 1);
            EXPECT_GT(mx.x - mn.x, 0.2 * expected) << code;
            EXPECT_LT(mx.x - mn.x, 2.0 * expected) << code;
        }
    }
    CMavArrayTempl<double> p;
    EXPECT_FALSE(MAV::outlineDefaults(99, 1, p));
    EXPECT_FALSE(MAV::outlineDefaults(1, 5, p));
    EXPECT_TRUE(MAV::outlineDefaults(21, 2, p));
    EXPECT_EQ(p, (CMavArrayTempl<double>{10.0, 5.0, 60.0})); // the angle does not scale with the range
}

TEST(Outlines, ShapesHaveTheirExpectedAreas)
{
    EXPECT_NEAR(area(outline(1, {40, 20})), 800.0, 1e-9);
    EXPECT_NEAR(area(outline(2, {40, 20, 5})), 800.0 - 4 * 12.5, 1e-9);
    EXPECT_NEAR(area(outline(3, {40, 20, 5})), 800.0 - 4 * 25.0 + kPi * 25.0, 1e-9);
    EXPECT_NEAR(area(outline(3, {40, 20, -5})), 800.0 - kPi * 25.0, 1e-9); // concave corners
    EXPECT_NEAR(area(outline(4, {10})), kPi * 25.0, 1e-9);
    EXPECT_NEAR(area(outline(5, {40, 20})), kPi * 200.0, kPi * 200.0 * 0.002);
    EXPECT_NEAR(area(outline(6, {40, 30, 10, 5})), 10 * 30 + 30 * 5, 1e-9);
    EXPECT_NEAR(area(outline(7, {40, 30, 5, 10})), 40 * 30 - 30 * 20, 1e-9);
    EXPECT_NEAR(area(outline(8, {40, 30, 10, 6})), 40 * 10 + 6 * 20, 1e-9);
    EXPECT_NEAR(area(outline(9, {40, 20, 10})), 300.0, 1e-9);
    EXPECT_NEAR(area(outline(9, {40, 0, 10})), 200.0, 1e-9); // a triangle
    EXPECT_NEAR(area(outline(10, {6, 20})), 1.5 * std::sqrt(3.0) * 100.0, 1e-9);
    EXPECT_NEAR(area(outline(11, {50, 10})), 40 * 10 + kPi * 25.0, 1e-9);
    EXPECT_NEAR(area(outline(11, {10, 10})), kPi * 25.0, 1e-9); // a slot as long as wide is a circle
    EXPECT_NEAR(area(outline(21, {40, 20, 60})), 800.0, 1e-9);
    EXPECT_NEAR(outline(21, {40, 20, 45})[1].end.x, 60.0, 1e-9); // the top is shifted by height / tan(angle)
    EXPECT_NEAR(outline(10, {6, 20})[0].start.y, outline(10, {6, 20})[0].end.y, 1e-12); // flat bottom edge

    // Chamfers and radii are limited to half the smaller side.
    EXPECT_NEAR(area(outline(3, {40, 20, 50})), 800.0 - 4 * 100.0 + kPi * 100.0, 1e-9);
    EXPECT_EQ(outline(2, {40, 20, 10}).len(), 6); // corners meet: zero-length edges left out

    // The offset moves the outline; missing parameters take the range "100" defaults.
    const CMavVertexArray moved = MAV::g_outline(1, CMavVector3d(5, -3, 0), CMavArrayTempl<double>{10, 10});
    EXPECT_EQ(moved[0].start, CMavPoint3d(5, -3, 0));
    CMavPoint3d mn, mx;
    ASSERT_TRUE(outline(1, {}).extents(mn, mx));
    EXPECT_EQ(mx, CMavPoint3d(100, 50, 0));
}

TEST(Outlines, ImpossibleParametersGiveNothing)
{
    const double nan = std::nan("");
    // Sizes must be above zero: a circle, a slot and a rectangle of zero size are nothing.
    for (const auto& zero : {outline(1, {0, 10}), outline(4, {0}), outline(11, {0, 10}), outline(11, {10, 0})})
        EXPECT_EQ(zero.len(), 0);
    EXPECT_EQ(outline(1, {-5, 10}).len(), 0);
    EXPECT_EQ(outline(1, {nan, 10}).len(), 0);
    EXPECT_EQ(outline(1, {INFINITY, 10}).len(), 0);
    EXPECT_EQ(outline(6, {40, 30, 40, 5}).len(), 0); // leg as wide as the shape
    EXPECT_EQ(outline(7, {40, 30, 20, 5}).len(), 0); // walls meet
    EXPECT_EQ(outline(8, {40, 30, 30, 5}).len(), 0);
    EXPECT_EQ(outline(10, {2, 20}).len(), 0);
    EXPECT_EQ(outline(10, {1e9, 20}).len(), 0);
    EXPECT_EQ(outline(21, {40, 20, 180}).len(), 0);
    EXPECT_EQ(outline(77, {1, 1}).len(), 0);
    EXPECT_EQ(MAV::g_outline(1, CMavVector3d(nan, 0, 0), CMavArrayTempl<double>{1, 1})[0].start.x, 0.0);
}

TEST(Outlines, GeneratedObjectsInUnits)
{
    MAV::CConfig::reset();
    CMavDataDir gen;
    gen.setAt(L"TYPE", L"OUTLINE");
    gen.setAt(L"OUTL", 1);
    gen.setAt(L"P1", 2.0);
    gen.setAt(L"P2", 1.0);
    gen.setAt(L"BASE", CMavPoint3d(1, 0, 0));
    gen.setAt(L"UNIT", 5); // centimetres
    CMavVertexArray pl;
    ASSERT_TRUE(MAV::g_outline(pl, &gen, -1)); // into millimetres
    CMavPoint3d mn, mx;
    ASSERT_TRUE(pl.extents(mn, mx));
    EXPECT_EQ(mn, CMavPoint3d(10, 0, 0));
    EXPECT_EQ(mx, CMavPoint3d(30, 10, 0));
    ASSERT_TRUE(MAV::g_outline(pl, &gen, 5));
    ASSERT_TRUE(pl.extents(mn, mx));
    EXPECT_EQ(mx, CMavPoint3d(3, 1, 0));

    gen.setAt(L"P1", -2.0);
    EXPECT_FALSE(MAV::g_outline(pl, &gen, -1));
    EXPECT_EQ(pl.len(), 0);
    EXPECT_FALSE(MAV::g_outline(pl, nullptr, -1));

    // objGen completes outlines and drills.
    gen.setAt(L"P1", 4.0);
    EXPECT_TRUE(MAV::objGen(&gen, 0));
    CMavVertexArray vl;
    ASSERT_TRUE(gen.get(vl, L"VL"));
    ASSERT_TRUE(vl.extents(mn, mx));
    EXPECT_EQ(mx, CMavPoint3d(5, 1, 0)); // in the item's own unit
    gen.setAt(L"P1", 8.0);
    EXPECT_TRUE(MAV::objGen(&gen, 0)); // kept
    ASSERT_TRUE(gen.get(vl, L"VL"));
    ASSERT_TRUE(vl.extents(mn, mx));
    EXPECT_EQ(mx.x, 5.0);
    EXPECT_TRUE(MAV::objGen(&gen, 1)); // computed again
    ASSERT_TRUE(gen.get(vl, L"VL"));
    ASSERT_TRUE(vl.extents(mn, mx));
    EXPECT_EQ(mx.x, 9.0);

    CMavDataDir drill;
    drill.setAt(L"TYPE", L"DRILL");
    EXPECT_TRUE(MAV::objGen(&drill, 0));
    double dia = 0, depth = 0;
    EXPECT_TRUE(drill.get(dia, L"DIA"));
    EXPECT_TRUE(drill.get(depth, L"DEPTH"));
    EXPECT_EQ(dia, 5.0);
    EXPECT_EQ(depth, 10.0);
    ASSERT_TRUE(drill.get(vl, L"VL"));
    EXPECT_TRUE(vl.isClosed());
    CMavDataDir other;
    other.setAt(L"TYPE", L"WALL");
    EXPECT_FALSE(MAV::objGen(&other, 0));
    EXPECT_FALSE(MAV::objGen(nullptr, 0));
}

TEST(Outlines, LibraryDirectoryHasWhatTheOutlineDialogReads)
{
    CMavDataDir lib;
    ASSERT_TRUE(mavOutlineInit(&lib));
    EXPECT_EQ(lib.count(), 12);
    for (MAV::CDataIterator it(&lib); it.valid(); it.next()) {
        const CMavDataItem* o = it.item();
        ASSERT_EQ(o->keyType(), 5003);
        int code = 0, txtgen = 0, parms = 0;
        CMavString label;
        EXPECT_TRUE(o->get(code, L"CODE"));
        EXPECT_NE(code & 15, 0);
        EXPECT_TRUE(o->get(label, L"LABEL"));
        EXPECT_EQ(label.left(9), L"MAV_OUTL_");
        EXPECT_TRUE(o->get(txtgen, L"TXTGEN"));
        ASSERT_TRUE(o->get(parms, L"PARMS"));
        EXPECT_GE(parms, 1);
        EXPECT_LE(parms, 6);
        for (int i = 1; i <= parms; ++i) {
            const CMavDataItem* parm = o->get(CMavDataKey(CMavString::format(L"PARM%d", i)));
            ASSERT_NE(parm, nullptr);
            EXPECT_TRUE(parm->isDir());
            int valid = 0;
            EXPECT_TRUE(parm->get(label, L"LABEL"));
            EXPECT_TRUE(parm->get(valid, L"VALID"));
            for (int range = 1; range <= 4; ++range) {
                CMavDataKey key(L"VAL");
                key.append(range);
                double v = 0;
                EXPECT_TRUE(parm->get(v, key)) << it.key().text().utf8() << " PARM" << i;
            }
        }
        EXPECT_EQ(o->get(CMavDataKey(CMavString::format(L"PARM%d", parms + 1))), nullptr);
    }
    // The angle of code 21, the sign switch of code 3, the key words of code 10.
    CMavString type, minus;
    EXPECT_TRUE(lib.get(type, CMavDataKey(L"21\\PARM3\\TYPE")));
    EXPECT_EQ(type, L"A");
    EXPECT_TRUE(lib.get(minus, CMavDataKey(L"3\\PARM3\\MINUSP")));
    EXPECT_EQ(lib.get(CMavDataKey(L"1\\PARM1\\MINUSP")), nullptr);
    double six = 0;
    EXPECT_TRUE(lib.get(six, CMavDataKey(L"10\\PARM1\\KWORD\\SECHSECK")));
    EXPECT_EQ(six, 6.0);

    // Existing outlines of other codes stay; a valued item is refused; a missing file fails.
    CMavDataDir mixed;
    mixed.setAt(CMavDataKey(500), 1);
    EXPECT_TRUE(mavOutlineInit(&mixed));
    EXPECT_EQ(mixed.count(), 13);
    CMavDataItem valued;
    valued.set(3);
    EXPECT_FALSE(mavOutlineInit(&valued));
    EXPECT_FALSE(mavOutlineInit(nullptr));
    EXPECT_FALSE(mavOutlineInit(&lib, L"/no/such/outlines.dat"));
    CMavDataItem fresh;
    EXPECT_TRUE(mavOutlineInit(&fresh));
    EXPECT_TRUE(fresh.isDir());
}

TEST(Outlines, ViewMatrices)
{
    // Looking down: the identity. Front view (from -Y): x stays x, the world's Z shows up.
    EXPECT_TRUE(MAV::g_mtx_view(CMavVector3d(0, 0, 1), CMavPoint3d(), true).isEqualTo(CMavMatrix3d::kIdentity));
    EXPECT_TRUE(MAV::g_mtx_view(CMavVector3d(0, 0, 5), CMavPoint3d(), false).isEqualTo(CMavMatrix3d::kIdentity));
    const CMavMatrix3d front = MAV::g_mtx_view(CMavVector3d(0, -1, 0), CMavPoint3d(), true);
    EXPECT_TRUE((front * CMavPoint3d(1, 0, 0)).isEqualTo(CMavPoint3d(1, 0, 0)));
    EXPECT_TRUE((front * CMavPoint3d(0, 0, 1)).isEqualTo(CMavPoint3d(0, 1, 0)));
    EXPECT_TRUE((front * CMavPoint3d(0, -1, 0)).isEqualTo(CMavPoint3d(0, 0, 1))); // towards the viewer
    // A diagonal view keeps lengths and turns its direction onto +Z; the point stays where it is.
    const CMavVector3d dir(-1, -1, 1);
    const CMavPoint3d about(10, 20, 30);
    const CMavMatrix3d sw = MAV::g_mtx_view(dir, about, true);
    EXPECT_TRUE((sw * about).isEqualTo(about, 1e-9));
    const CMavVector3d turned = sw * dir.normal();
    EXPECT_TRUE(turned.isEqualTo(CMavVector3d(0, 0, 1), 1e-12));
    EXPECT_NEAR((sw * CMavVector3d(3, 4, 0)).length(), 5.0, 1e-12);
    EXPECT_NEAR((sw * CMavVector3d(1, -1, 0)).y, 0.0, 1e-12); // the horizontal stays horizontal
    // Zero and not finite directions give the identity.
    EXPECT_TRUE(MAV::g_mtx_view(CMavVector3d(), about, true).isEqualTo(CMavMatrix3d::kIdentity));
    EXPECT_TRUE(MAV::g_mtx_view(CMavVector3d(std::nan(""), 0, 1), about, true).isEqualTo(CMavMatrix3d::kIdentity));
}

TEST(Outlines, LocalMatricesOfElements)
{
    MAV::CConfig::reset();
    CMavDataDir el;
    CMavMatrix3d m;
    EXPECT_TRUE(MAV::g_mtx_local(&el, m, 0, -1));
    EXPECT_TRUE(m.isEqualTo(CMavMatrix3d::kIdentity));
    el.setAt(L"POS", CMavPoint3d(1, 2, 0));
    el.setAt(L"ROT", 90.0);
    el.setAt(L"UNIT", 5);
    ASSERT_TRUE(MAV::g_mtx_local(&el, m, 0, -1)); // centimetres into millimetres
    EXPECT_TRUE((m * CMavPoint3d(0, 0, 0)).isEqualTo(CMavPoint3d(10, 20, 0)));
    EXPECT_TRUE((m * CMavPoint3d(1, 0, 0)).isEqualTo(CMavPoint3d(10, 21, 0), 1e-12)); // turned by 90 degrees
    ASSERT_TRUE(MAV::g_mtx_local(&el, m, 4, 4)); // explicit units
    EXPECT_TRUE((m * CMavPoint3d(0, 0, 0)).isEqualTo(CMavPoint3d(1, 2, 0)));
    el.setAt(L"NORMAL", CMavPoint3d(0, 0, -1));
    ASSERT_TRUE(MAV::g_mtx_local(&el, m, 4, 4));
    EXPECT_TRUE(m.isMirroring() == false);
    EXPECT_NEAR((m * CMavVector3d(0, 0, 1)).z, -1.0, 1e-12);
    EXPECT_FALSE(MAV::g_mtx_local(nullptr, m, 0, -1));
}

// Finite parameters whose corners are not finite: a parallelogram slanted by 5e-322 degrees once gave a corner at
// infinity, and a huge rectangle moved by a huge offset overflowed. Both are outlines without usable geometry.
TEST(Outlines, CornersThatOverflowGiveAnEmptyOutline)
{
    EXPECT_EQ(MAV::g_outline(MAV::kOutlParallelogram, CMavVector3d(0, 0, 0), {100.0, 50.0, 5e-322}).len(), 0);
    EXPECT_EQ(MAV::g_outline(MAV::kOutlParallelogram, CMavVector3d(0, 0, 0), {100.0, 50.0, 45.0}).len(), 4);
    EXPECT_EQ(MAV::g_outline(MAV::kOutlRectangle, CMavVector3d(1e308, 0, 0), {1e308, 1.0}).len(), 0);

    const std::string path = std::string(MAV_TEST_DATA_DIR) + "/findings/outline_parallelogram_almost_flat.dat";
    std::string bytes;
    ASSERT_TRUE(MAV::readFileBytes(std::wstring(path.begin(), path.end()).c_str(), bytes));
    CMavDataItem tree;
    ASSERT_TRUE(MAV::dataFromText(tree, bytes.data(), bytes.size()));
    ASSERT_EQ(tree.count(), 3);
    for (int i = 0; i < tree.count(); ++i) {
        CMavVertexArray vl = MAV::g_outline(MAV::kOutlRectangle, CMavVector3d(0, 0, 0), {1.0, 1.0});
        EXPECT_FALSE(MAV::g_outline(vl, tree.childAt(i), 4)) << i;
        EXPECT_EQ(vl.len(), 0);
    }
}
