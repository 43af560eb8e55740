// Parametric outlines: shapes and their areas, the outline library, view and local matrices, generated objects.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "../geom_test_util.h"
#include "data/config.h"
#include "data/datafile.h"
#include "data/outlines.h"
#include "mav_test_data.h"

using geomtest::kPi;

namespace {

// Signed area enclosed by a closed polyline in the XY plane, arcs included (positive: counter-clockwise).
double area(const CMavVertexArray& pl)
{
    double a = 0.0;
    for (const CMavVertex& v : pl) {
        a += (v.start.x * v.end.y - v.end.x * v.start.y) / 2.0;
        const double theta = std::fabs(4.0 * std::atan(v.bulge));
        if (theta > 0.0) {
            const double r = v.start.distanceTo(v.end) / (2.0 * std::sin(theta / 2.0));
            a += (v.bulge > 0 ? 1 : -1) * r * r / 2.0 * (theta - std::sin(theta));
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
    for (int code : codes)
        for (int range = 1; range <= 4; ++range) {
            CMavArrayTempl<double> p;
            ASSERT_TRUE(MAV::outlineDefaults(code, range, p)) << code;
            const CMavVertexArray pl = outline(code, p);
            ASSERT_GE(pl.len(), 2) << "code " << code << " range " << range;
            EXPECT_TRUE(pl.isClosed() && pl.isContinuous()) << code;
            EXPECT_GT(area(pl), 0.0) << code;
            // Ranges grow by ten: the size of the outline follows the length parameters.
            CMavPoint3d mn, mx;
            ASSERT_TRUE(pl.extents(mn, mx));
            EXPECT_NEAR(std::log10((mx.x - mn.x) / 0.2), range - 0.5, 0.5) << code;
        }
    CMavArrayTempl<double> p;
    EXPECT_FALSE(MAV::outlineDefaults(99, 1, p) || MAV::outlineDefaults(1, 5, p));
    EXPECT_TRUE(MAV::outlineDefaults(21, 2, p));
    EXPECT_EQ(p, (CMavArrayTempl<double>{10.0, 5.0, 60.0})); // the angle does not scale with the range
}

TEST(Outlines, ShapesHaveTheirAreasAndImpossibleParametersGiveNothing)
{
    // {code, parameters, area}: chamfers and radii are limited to half the smaller side; negative radii make
    // concave corners; a slot as long as wide is a circle; a trapezoid without top width is a triangle.
    const struct {
        int code;
        CMavArrayTempl<double> p;
        double area;
    } shapes[] = {{1, {40, 20}, 800.0},
                  {2, {40, 20, 5}, 800.0 - 4 * 12.5}, {3, {40, 20, 5}, 800.0 - 4 * 25.0 + kPi * 25.0},
                  {3, {40, 20, -5}, 800.0 - kPi * 25.0}, {3, {40, 20, 50}, 800.0 - 4 * 100.0 + kPi * 100.0},
                  {4, {10}, kPi * 25.0}, {6, {40, 30, 10, 5}, 10 * 30 + 30 * 5},
                  {7, {40, 30, 5, 10}, 40 * 30 - 30 * 20}, {8, {40, 30, 10, 6}, 40 * 10 + 6 * 20},
                  {9, {40, 20, 10}, 300.0}, {9, {40, 0, 10}, 200.0}, {10, {6, 20}, 1.5 * std::sqrt(3.0) * 100.0},
                  {11, {50, 10}, 40 * 10 + kPi * 25.0}, {11, {10, 10}, kPi * 25.0}, {21, {40, 20, 60}, 800.0}};
    for (const auto& s : shapes)
        EXPECT_NEAR(area(outline(s.code, s.p)), s.area, 1e-9) << s.code << " " << s.p[-1];
    EXPECT_NEAR(area(outline(5, {40, 20})), kPi * 200.0, kPi * 200.0 * 0.002); // an ellipse of arcs
    EXPECT_NEAR(outline(21, {40, 20, 45})[1].end.x, 60.0, 1e-9); // the top is shifted by height / tan(angle)
    EXPECT_EQ(outline(2, {40, 20, 10}).len(), 6); // corners meet: zero-length edges left out
    // Missing parameters take the range "100" defaults.
    EXPECT_EQ(outline(1, {})[1].end, CMavPoint3d(100, 50, 0));

    // Sizes must be above zero and finite; legs and walls must leave room; finite parameters whose corners are
    // not finite (a parallelogram slanted by 5e-322 degrees, a huge rectangle moved by a huge offset) are nothing.
    const double nan = std::nan("");
    for (const auto& none :
         {outline(1, {0, 10}), outline(4, {0}), outline(11, {0, 10}), outline(11, {10, 0}), outline(1, {-5, 10}),
          outline(1, {nan, 10}), outline(1, {INFINITY, 10}), outline(6, {40, 30, 40, 5}), outline(7, {40, 30, 20, 5}),
          outline(8, {40, 30, 30, 5}), outline(10, {2, 20}), outline(10, {1e9, 20}), outline(21, {40, 20, 180}),
          outline(77, {1, 1}), outline(MAV::kOutlParallelogram, {100.0, 50.0, 5e-322}),
          MAV::g_outline(MAV::kOutlRectangle, CMavVector3d(1e308, 0, 0), {1e308, 1.0})})
        EXPECT_EQ(none.len(), 0);
    EXPECT_EQ(MAV::g_outline(1, CMavVector3d(nan, 0, 0), CMavArrayTempl<double>{1, 1})[0].start.x, 0.0);

    const std::string path = std::string(MAV_TEST_DATA_DIR) + "/findings/outline_parallelogram_almost_flat.dat";
    std::string bytes;
    ASSERT_TRUE(MAV::readFileBytes(std::wstring(path.begin(), path.end()).c_str(), bytes));
    CMavDataItem tree;
    ASSERT_TRUE(MAV::dataFromText(tree, bytes.data(), bytes.size()));
    ASSERT_EQ(tree.count(), 3);
    for (int i = 0; i < tree.count(); ++i) {
        CMavVertexArray vl = outline(MAV::kOutlRectangle, {1.0, 1.0});
        EXPECT_FALSE(MAV::g_outline(vl, tree.childAt(i), 4)) << i;
        EXPECT_EQ(vl.len(), 0);
    }
}

TEST(Outlines, GeneratedObjectsInUnits)
{
    MAV::CConfig::reset();
    CMavDataDir gen, drill, other;
    gen.setAt(L"TYPE", L"OUTLINE");
    gen.setAt(L"OUTL", 1);
    gen.setAt(L"P2", 1.0);
    gen.setAt(L"BASE", CMavPoint3d(1, 0, 0));
    gen.setAt(L"UNIT", 5); // centimetres
    CMavVertexArray pl;
    CMavPoint3d mn, mx;
    // {P1, target unit, whether objGen computes again (-1: g_outline), upper corner x}: objGen completes outlines
    // in the item's own unit and keeps them unless asked to compute again; g_outline converts into the unit.
    const double steps[][4] = {{2, -1, -1, 30}, {2, 5, -1, 3}, {4, 0, 0, 5}, {8, 0, 0, 5}, {8, 0, 1, 9}};
    for (const auto& s : steps) {
        gen.setAt(L"P1", s[0]);
        if (s[2] < 0)
            ASSERT_TRUE(MAV::g_outline(pl, &gen, static_cast<int>(s[1])));
        else
            ASSERT_TRUE(MAV::objGen(&gen, static_cast<int>(s[2])) && gen.get(pl, L"VL"));
        ASSERT_TRUE(pl.extents(mn, mx));
        EXPECT_EQ(mx, CMavPoint3d(s[3], s[3] == 30 ? 10 : 1, 0)) << s[0];
        EXPECT_EQ(mn.x, s[3] == 30 ? 10 : 1);
    }
    gen.setAt(L"P1", -2.0);
    EXPECT_FALSE(MAV::g_outline(pl, &gen, -1));
    EXPECT_EQ(pl.len(), 0);
    EXPECT_FALSE(MAV::g_outline(pl, nullptr, -1));
    drill.setAt(L"TYPE", L"DRILL");
    EXPECT_TRUE(MAV::objGen(&drill, 0));
    double dia = 0, depth = 0;
    EXPECT_TRUE(drill.get(dia, L"DIA") && drill.get(depth, L"DEPTH") && drill.get(pl, L"VL") && pl.isClosed());
    EXPECT_EQ(dia * 100 + depth, 510.0);
    other.setAt(L"TYPE", L"WALL");
    EXPECT_FALSE(MAV::objGen(&other, 0) || MAV::objGen(nullptr, 0));
}

TEST(Outlines, LibraryDirectoryHasWhatTheOutlineDialogReads)
{
    CMavDataDir lib, mixed;
    ASSERT_TRUE(mavOutlineInit(&lib));
    EXPECT_EQ(lib.count(), 12);
    for (MAV::CDataIterator it(&lib); it.valid(); it.next()) {
        const CMavDataItem* o = it.item();
        int code = 0, txtgen = 0, parms = 0, valid = 0;
        CMavString label;
        ASSERT_EQ(o->keyType(), 5003);
        EXPECT_TRUE(o->get(code, L"CODE") && o->get(txtgen, L"TXTGEN") && o->get(label, L"LABEL"));
        EXPECT_NE(code & 15, 0);
        EXPECT_EQ(label.left(9), L"MAV_OUTL_");
        ASSERT_TRUE(o->get(parms, L"PARMS") && parms >= 1 && parms <= 6);
        for (int i = 1; i <= parms; ++i) {
            const CMavDataItem* parm = o->get(CMavDataKey(CMavString::format(L"PARM%d", i)));
            ASSERT_NE(parm, nullptr);
            EXPECT_TRUE(parm->get(label, L"LABEL") && parm->get(valid, L"VALID"));
            for (int range = 1; range <= 4; ++range)
                EXPECT_NE(parm->get(CMavDataKey(L"VAL").append(range)), nullptr) << it.key().text().utf8() << i;
        }
        EXPECT_EQ(o->get(CMavDataKey(CMavString::format(L"PARM%d", parms + 1))), nullptr);
    }
    // Existing outlines of other codes stay; a valued item is refused; a missing file fails.
    mixed.setAt(CMavDataKey(500), 1);
    EXPECT_TRUE(mavOutlineInit(&mixed));
    EXPECT_EQ(mixed.count(), 13);
    CMavDataItem valued, fresh;
    valued.set(3);
    EXPECT_FALSE(mavOutlineInit(&valued) || mavOutlineInit(nullptr) || mavOutlineInit(&lib, L"/no/such/outlines.dat"));
    EXPECT_TRUE(mavOutlineInit(&fresh) && fresh.isDir());
}

TEST(Outlines, ViewAndLocalMatrices)
{
    // Looking down: the identity; zero and non-finite directions too. A front view (from -Y) keeps x, shows the
    // world's Z as y and -Y towards the viewer. Any view keeps lengths, turns its direction onto +Z, keeps the
    // point it turns about and the horizontal horizontal.
    const CMavPoint3d about(10, 20, 30);
    for (const CMavVector3d& down : {CMavVector3d(0, 0, 5), CMavVector3d(), CMavVector3d(std::nan(""), 0, 1)})
        EXPECT_TRUE(MAV::g_mtx_view(down, about, true).isEqualTo(CMavMatrix3d::kIdentity)) << down.x;
    const CMavMatrix3d front = MAV::g_mtx_view(CMavVector3d(0, -1, 0), CMavPoint3d(), true);
    EXPECT_TRUE((front * CMavPoint3d(1, 0, 0)).isEqualTo(CMavPoint3d(1, 0, 0)));
    EXPECT_TRUE((front * CMavPoint3d(0, 0, 1)).isEqualTo(CMavPoint3d(0, 1, 0)));
    EXPECT_TRUE((front * CMavPoint3d(0, -1, 0)).isEqualTo(CMavPoint3d(0, 0, 1)));
    const CMavVector3d dir(-1, -1, 1);
    const CMavMatrix3d sw = MAV::g_mtx_view(dir, about, true);
    EXPECT_TRUE((sw * about).isEqualTo(about, 1e-9));
    EXPECT_TRUE((sw * dir.normal()).isEqualTo(CMavVector3d(0, 0, 1), 1e-12));
    EXPECT_NEAR((sw * CMavVector3d(3, 4, 0)).length(), 5.0, 1e-12);
    EXPECT_NEAR((sw * CMavVector3d(1, -1, 0)).y, 0.0, 1e-12);

    // The local matrix of an element: its position and rotation, in its unit converted to the target unit.
    MAV::CConfig::reset();
    CMavDataDir el;
    CMavMatrix3d m;
    EXPECT_TRUE(MAV::g_mtx_local(&el, m, 0, -1) && m.isEqualTo(CMavMatrix3d::kIdentity));
    el.setAt(L"POS", CMavPoint3d(1, 2, 0));
    el.setAt(L"ROT", 90.0);
    el.setAt(L"UNIT", 5);
    ASSERT_TRUE(MAV::g_mtx_local(&el, m, 0, -1)); // centimetres into millimetres, turned by 90 degrees
    EXPECT_TRUE((m * CMavPoint3d(1, 0, 0)).isEqualTo(CMavPoint3d(10, 21, 0), 1e-12));
    ASSERT_TRUE(MAV::g_mtx_local(&el, m, 4, 4)); // explicit units
    EXPECT_TRUE((m * CMavPoint3d(0, 0, 0)).isEqualTo(CMavPoint3d(1, 2, 0)));
    el.setAt(L"NORMAL", CMavPoint3d(0, 0, -1));
    ASSERT_TRUE(MAV::g_mtx_local(&el, m, 4, 4));
    EXPECT_FALSE(m.isMirroring());
    EXPECT_NEAR((m * CMavVector3d(0, 0, 1)).z, -1.0, 1e-12);
    EXPECT_FALSE(MAV::g_mtx_local(nullptr, m, 0, -1));
}
