// The polyline list view with a real window under Wine: the items it builds, the current polyline highlighted in
// what it paints, a click that reports the polyline, the base point in and out of the fit, and the contrast colour.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "data/CMavApp.h"
#include "render/CMavVllImage.h"
#include "render_test_support.h"

using namespace rendertest;
using Flags = std::vector<unsigned>;

namespace {

// Three 50 x 50 squares side by side, from x 100 to 350 at y 100 to 150.
CMavArrayTempl<CMavVertexArray> threeSquares()
{
    CMavArrayTempl<CMavVertexArray> vll;
    for (double x0 : {100.0, 200.0, 300.0}) {
        CMavVertexArray vl;
        vl.append(CMavPoint3d(x0, 100, 0), CMavPoint3d(x0 + 50, 100, 0));
        vl.appendTo(CMavPoint3d(x0 + 50, 150, 0));
        vl.appendTo(CMavPoint3d(x0, 150, 0));
        vl.appendTo(CMavPoint3d(x0, 100, 0));
        vll.append(vl);
    }
    return vll;
}

// The view as a 200 x 100 child with id 42.
struct View : Hosted<CMavVllImage> {
    View() : Hosted(200, 100, 42) {}
    CMavGDX& gdx() { return *ctrl.get_dpList(); }
    // The item of group {g} (items move when the list is sorted for drawing).
    int item(int g)
    {
        const CMavArrayTempl<int> nrs = gdx().StackToItemNr(CMavArrayTempl<int>{g});
        return nrs.len() == 1 ? nrs[0] : -1;
    }
    Flags flags() // of the base point's item, then the three polylines'
    {
        Flags f;
        for (int g = 0; g < 4; ++g)
            f.push_back(static_cast<unsigned>(gdx().flagGet(item(g))));
        return f;
    }
    POINT toDevice(double x, double y)
    {
        const CMavPoint3d p = gdx().zoomMtxGet() * gdx().projMtxGet() * gdx().viewMtxGet() * CMavPoint3d(x, y, 0);
        return POINT{static_cast<LONG>(p.x + 0.5), static_cast<LONG>(p.y + 0.5)};
    }
    // The view matrix of the fit of the box (mn, mx) into the control.
    void expectFit(const CMavPoint3d& mn, const CMavPoint3d& mx)
    {
        const CMavMatrix3d fit = getViewMtx(mn, mx, 100, 200, 0.05);
        for (int i = 0; i < 4; ++i)
            for (int k = 0; k < 4; ++k)
                EXPECT_DOUBLE_EQ(gdx().viewMtxGet().m[i][k], fit.m[i][k]);
    }
};

} // namespace

TEST(Vll, ItemsAndCurrentPolylineHighlight)
{
    View v;
    EXPECT_EQ(v.ctrl.BkColorGet(), static_cast<COLORREF>(mavAppPtr()->bkColorGet() & 0xFFFFFF));
    EXPECT_EQ(v.ctrl.curVlGet(), -1);
    v.ctrl.SetBkColor(0x302010); // dark: white lines
    ASSERT_TRUE(v.ctrl.setVll(threeSquares()));
    CMavGDX& g = v.gdx();
    ASSERT_EQ(g.lenGet(), 4);
    // The base point at the origin in white, the polylines as given, solid and thin, in white.
    CMavPoint3d at(1, 1, 1);
    g.geomGet(at, v.item(0));
    EXPECT_EQ(at, CMavPoint3d(0, 0, 0));
    for (int i = 0; i <= 3; ++i) {
        const int nr = v.item(i);
        EXPECT_EQ(
            (std::vector<double>{static_cast<double>(g.typeGet(nr)), static_cast<double>(g.colorGet(nr).oleColor()),
                                 static_cast<double>(g.thicknGet(nr)), i ? g.ltscaleGet(nr) : 1.0}),
            (std::vector<double>{static_cast<double>(i ? kDispPolyline : kDispPoint), 0xFFFFFF, 0, 1.0}))
            << i;
    }
    EXPECT_EQ(v.flags(), Flags({0x400, 0x600, 0x600, 0x600}));
    // The current polyline is drawn in the highlight colour instead of white, and only it; unset, it is white again.
    const DWORD highlight = dibPixel(g.colorTabGet(GDX_CMODE_HIGHLIGHT).oleColor() & 0xFFFFFF);
    ASSERT_NE(highlight, 0xFFFFFFu);
    const POINT edge2 = v.toDevice(225, 150), edge3 = v.toDevice(325, 150); // top edges of polylines 1 and 2
    EXPECT_EQ(v.ctrl.SetCurVl(2), -1);
    EXPECT_EQ(v.flags(), Flags({0x400, 0x600, 0x600, 0x100}));
    auto lit = v.grab();
    EXPECT_EQ(lit->at(5, 5), 0x102030u);
    EXPECT_TRUE(colourNear(*lit, edge3, highlight) && !colourNear(*lit, edge3, 0xFFFFFF));
    EXPECT_TRUE(colourNear(*lit, edge2, 0xFFFFFF));
    EXPECT_EQ(v.ctrl.SetCurVl(0), 2);
    EXPECT_EQ(v.ctrl.SetCurVl(-1), 0);
    EXPECT_EQ(v.flags(), Flags({0x400, 0x600, 0x600, 0x600}));
    auto back = v.grab();
    EXPECT_TRUE(colourNear(*back, edge3, 0xFFFFFF) && !colourNear(*back, edge3, highlight));
    // A click on a polyline tells the parent its group, i + 1, in a message numbered by the control's id.
    const POINT hit = v.toDevice(125, 100);
    v.mouse(WM_LBUTTONDOWN, MK_LBUTTON, hit.x, hit.y);
    EXPECT_EQ(v.posted(42), 1);
}

TEST(Vll, BasePointInAndOutOfTheFitAndTheContrastColourFromTheMeanOfTheBackground)
{
    View v;
    v.ctrl.SetBkColor(0xFFFFFF);
    v.ctrl.setVll(threeSquares());
    // Hidden, the base point is out of the fit; shown again it counts in it and draws in the base colour.
    EXPECT_TRUE(v.ctrl.setDrawBase(false));
    EXPECT_EQ(v.flags(), Flags({0x40C, 0x600, 0x600, 0x600}));
    v.expectFit(CMavPoint3d(100, 100, 0), CMavPoint3d(350, 150, 0));
    EXPECT_FALSE(v.ctrl.setDrawBase(true));
    v.expectFit(CMavPoint3d(0, 0, 0), CMavPoint3d(350, 150, 0));
    const DWORD baseColour = dibPixel(v.gdx().colorTabGet(GDX_CMODE_BASE).oleColor() & 0xFFFFFF);
    EXPECT_TRUE(colourNear(*v.grab(), v.toDevice(0, 0), baseColour));
    // The integer mean of the channels decides the contrast colour: 127 is dark, 128 light.
    const COLORREF cases[][2] = {{RGB(127, 127, 127), 0xFFFFFF}, {RGB(128, 128, 128), 0},
                                 {RGB(255, 127, 0), 0xFFFFFF},   {RGB(255, 129, 0), 0},
                                 {RGB(0, 0, 255), 0xFFFFFF},     {RGB(0, 129, 255), 0}};
    for (const auto& c : cases) {
        v.ctrl.SetBkColor(c[0] | 0xFF000000u);
        EXPECT_EQ((std::vector<COLORREF>{v.ctrl.BkColorGet(), v.ctrl.contrastColorGet(),
                                         v.gdx().colorTabGet(static_cast<GDX_CMODE>(6)).oleColor()}),
                  (std::vector<COLORREF>{c[0], c[1], c[1]}))
            << std::hex << c[0];
    }
}
