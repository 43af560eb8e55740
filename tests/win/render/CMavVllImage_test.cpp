// The polyline list view with a real window under Wine: the items it builds, the current polyline, the base point
// in and out of the fit, the contrast colour, and what it paints.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "../afx/afx_test_support.h"
#include "platform/CMavApp.h"
#include "render/CMavVllImage.h"

namespace {

CMavVertexArray square(double x0, double y0, double x1, double y1)
{
    CMavVertexArray vl;
    vl.append(CMavPoint3d(x0, y0, 0), CMavPoint3d(x1, y0, 0));
    vl.appendTo(CMavPoint3d(x1, y1, 0));
    vl.appendTo(CMavPoint3d(x0, y1, 0));
    vl.appendTo(CMavPoint3d(x0, y0, 0));
    return vl;
}

CMavArrayTempl<CMavVertexArray> threeSquares()
{
    CMavArrayTempl<CMavVertexArray> vll;
    vll.append(square(100, 100, 150, 150));
    vll.append(square(200, 100, 250, 150));
    vll.append(square(300, 100, 350, 150));
    return vll;
}

// 0x00BBGGRR to the DIB's 0x00RRGGBB.
DWORD dibColour(COLORREF c)
{
    return (static_cast<DWORD>(GetRValue(c)) << 16) | (static_cast<DWORD>(GetGValue(c)) << 8) | GetBValue(c);
}

struct Vll {
    CWnd parent;
    CMavVllImage view;
    Vll()
    {
        parent.CreateEx(0, nullptr, L"parent", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr);
        view.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &parent, 42);
    }
    ~Vll()
    {
        view.DestroyWindow();
        parent.DestroyWindow();
    }
    CMavGDX& gdx() { return *view.get_dpList(); }
    // The item of group {g} (items move when the list is sorted for drawing).
    int item(int g)
    {
        CMavArrayTempl<int> stack;
        stack.append(g);
        const CMavArrayTempl<int> nrs = gdx().StackToItemNr(stack);
        return nrs.len() == 1 ? nrs[0] : -1;
    }
    POINT toDevice(double x, double y)
    {
        const CMavMatrix3d m = gdx().zoomMtxGet() * gdx().projMtxGet() * gdx().viewMtxGet();
        const CMavPoint3d p = m * CMavPoint3d(x, y, 0);
        return POINT{static_cast<LONG>(p.x + 0.5), static_cast<LONG>(p.y + 0.5)};
    }
    std::unique_ptr<afxtest::Dib> grab()
    {
        RedrawWindow(view.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        auto d = std::make_unique<afxtest::Dib>(200, 100, 0x777777);
        HDC wdc = GetDC(view.m_hWnd);
        BitBlt(d->dc, 0, 0, 200, 100, wdc, 0, 0, SRCCOPY);
        ReleaseDC(view.m_hWnd, wdc);
        return d;
    }
};

// True when a pixel of the 3 x 3 block around p has the colour (line ends round to either neighbour).
bool colourNear(const afxtest::Dib& d, POINT p, DWORD colour)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int x = p.x + dx, y = p.y + dy;
            if (x >= 0 && y >= 0 && x < d.w && y < d.h && d.at(x, y) == colour)
                return true;
        }
    return false;
}

} // namespace

TEST(Vll, ItemsAndCurrentPolylineHighlight)
{
    Vll v;
    EXPECT_STREQ(v.view.GetRuntimeClass()->m_lpszClassName, "CMavVllImage");
    EXPECT_TRUE(v.view.IsKindOf(RUNTIME_CLASS(CMavDplistImage)));
    EXPECT_EQ(v.view.BkColorGet(), static_cast<COLORREF>(mavAppPtr()->bkColorGet() & 0xFFFFFF));
    EXPECT_EQ(v.view.curVlGet(), -1);
    EXPECT_TRUE(v.view.drawBaseGet());

    v.view.SetBkColor(0x302010); // dark: white lines
    ASSERT_TRUE(v.view.setVll(threeSquares()));
    CMavGDX& g = v.gdx();
    ASSERT_EQ(g.lenGet(), 4);
    EXPECT_EQ(g.backColorGet().oleColor(), 0x302010u);
    EXPECT_EQ(g.colorTabGet(static_cast<GDX_CMODE>(6)).oleColor(), 0xFFFFFFu);
    const int base = v.item(0);
    ASSERT_GE(base, 0);
    EXPECT_EQ(g.typeGet(base), kDispPoint);
    EXPECT_EQ(g.flagGet(base), 0x400u);
    EXPECT_EQ(g.colorGet(base).oleColor(), 0xFFFFFFu);
    // Size and style left unset: the list's defaults draw the base point.
    EXPECT_EQ(g.getDisplayList()[base].m_pdSize, 0.0);
    EXPECT_EQ(g.getDisplayList()[base].m_pdMode, Mav::kGdxPdModeUnset);
    EXPECT_EQ(g.pdModeGet(base), g.pdModeGet());
    CMavPoint3d at;
    g.geomGet(at, base);
    EXPECT_EQ(at, CMavPoint3d(0, 0, 0));
    for (int i = 1; i <= 3; ++i) {
        const int nr = v.item(i);
        ASSERT_GE(nr, 0) << i;
        EXPECT_EQ(g.typeGet(nr), kDispPolyline);
        EXPECT_EQ(g.flagGet(nr), 0x600u);
        EXPECT_EQ(g.colorGet(nr).oleColor(), 0xFFFFFFu);
        EXPECT_EQ(g.thicknGet(nr), 0);
        ASSERT_EQ(g.linetypeGet(nr).len(), 1);
        EXPECT_EQ(g.linetypeGet(nr)[0], 1.0);
        EXPECT_EQ(g.ltscaleGet(nr), 1.0);
    }
    CMavVertexArray third;
    g.geomGet(third, v.item(3));
    EXPECT_EQ(third.len(), 4);

    const COLORREF highlight = g.colorTabGet(GDX_CMODE_HIGHLIGHT).oleColor() & 0xFFFFFF;
    ASSERT_NE(highlight, 0xFFFFFFu);
    const POINT edge2 = v.toDevice(225, 150); // top edge of polyline 1
    const POINT edge3 = v.toDevice(325, 150); // top edge of polyline 2
    auto before = v.grab();
    EXPECT_TRUE(colourNear(*before, edge3, 0xFFFFFF));
    EXPECT_EQ(before->at(5, 5), 0x102030u);

    EXPECT_EQ(v.view.SetCurVl(2), -1);
    EXPECT_EQ(g.flagGet(v.item(3)), 0x100u);
    EXPECT_EQ(g.flagGet(v.item(2)), 0x600u);
    auto lit = v.grab();
    EXPECT_TRUE(colourNear(*lit, edge3, dibColour(highlight)));
    EXPECT_FALSE(colourNear(*lit, edge3, 0xFFFFFF));
    EXPECT_TRUE(colourNear(*lit, edge2, 0xFFFFFF));

    EXPECT_EQ(v.view.SetCurVl(-1), 2);
    EXPECT_EQ(v.view.curVlGet(), -1);
    EXPECT_EQ(g.flagGet(v.item(3)), 0x600u);
    auto back = v.grab();
    EXPECT_TRUE(colourNear(*back, edge3, 0xFFFFFF));
    EXPECT_FALSE(colourNear(*back, edge3, dibColour(highlight)));

    // A new list keeps the current index and draws that polyline highlighted from the start.
    EXPECT_EQ(v.view.SetCurVl(0), -1);
    v.view.setVll(threeSquares());
    EXPECT_EQ(v.view.curVlGet(), 0);
    EXPECT_EQ(g.flagGet(v.item(1)), 0x100u);
    EXPECT_EQ(g.flagGet(v.item(2)), 0x600u);

    // A click on a polyline tells the parent its group, i + 1.
    const POINT hit = v.toDevice(125, 100);
    SendMessageW(v.view.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(hit.x, hit.y));
    MSG m;
    ASSERT_TRUE(PeekMessageW(&m, v.parent.m_hWnd, 42, 42, PM_REMOVE));
    EXPECT_EQ(m.lParam, 1);
}

TEST(Vll, BasePointInAndOutOfTheFit)
{
    Vll v;
    v.view.SetBkColor(0xFFFFFF);
    v.view.setVll(threeSquares());
    CMavGDX& g = v.gdx();
    // The base point comes first with a box of zero size, which the first polyline's box replaces when the list
    // is built; only a full recomputation of the extents counts it.
    CMavPoint3d mn, mx;
    g.extMaxViewGet(mn, mx);
    EXPECT_EQ(mn, CMavPoint3d(100, 100, 0));
    EXPECT_EQ(mx, CMavPoint3d(350, 150, 0));

    EXPECT_TRUE(v.view.setDrawBase(false));
    EXPECT_FALSE(v.view.drawBaseGet());
    EXPECT_EQ(g.flagGet(v.item(0)), 0x40Cu);
    g.extMaxViewGet(mn, mx);
    EXPECT_EQ(mn, CMavPoint3d(100, 100, 0));
    EXPECT_EQ(mx, CMavPoint3d(350, 150, 0));
    const CMavMatrix3d fit = getViewMtx(mn, mx, 100, 200, 0.05);
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 4; ++k)
            EXPECT_DOUBLE_EQ(g.viewMtxGet().m[i][k], fit.m[i][k]);
    // The fitted squares start at the left margin, drawn black on white.
    const POINT left = v.toDevice(100, 125);
    EXPECT_LT(left.x, 15);
    auto noBase = v.grab();
    EXPECT_TRUE(colourNear(*noBase, left, 0));

    // Shown again, the base point counts in the fit and draws in the list's base colour.
    EXPECT_FALSE(v.view.setDrawBase(true));
    EXPECT_EQ(g.flagGet(v.item(0)), 0x400u);
    g.extMaxViewGet(mn, mx);
    EXPECT_EQ(mn, CMavPoint3d(0, 0, 0));
    EXPECT_EQ(mx, CMavPoint3d(350, 150, 0));
    const CMavMatrix3d withOrigin = getViewMtx(mn, mx, 100, 200, 0.05);
    EXPECT_DOUBLE_EQ(g.viewMtxGet().m[0][0], withOrigin.m[0][0]);
    EXPECT_DOUBLE_EQ(g.viewMtxGet().m[0][3], withOrigin.m[0][3]);
    const DWORD baseColour = dibColour(g.colorTabGet(GDX_CMODE_BASE).oleColor() & 0xFFFFFF);
    ASSERT_NE(baseColour, 0xFFFFFFu);
    auto withBase = v.grab();
    EXPECT_TRUE(colourNear(*withBase, v.toDevice(0, 0), baseColour));
    EXPECT_FALSE(colourNear(*noBase, v.toDevice(0, 0), baseColour));

    // Hidden before the list is built: the base point comes hidden.
    v.view.setDrawBase(false);
    v.view.setVll(threeSquares());
    EXPECT_EQ(g.flagGet(v.item(0)), 0x40Cu);

    // A left double click fits again after a wheel zoom.
    POINT p{100, 50};
    ClientToScreen(v.view.m_hWnd, &p);
    SendMessageW(v.view.m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(p.x, p.y));
    EXPECT_NEAR(g.zoomMtxGet().m[0][0], 1.2, 1e-12);
    g.viewMtxSet(CMavMatrix3d());
    SendMessageW(v.view.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(g.zoomMtxGet().m[0][0], 1.0);
    EXPECT_EQ(g.zoomMtxGet().m[0][3], 0.0);
    const CMavMatrix3d refit = getViewMtx(CMavPoint3d(100, 100, 0), CMavPoint3d(350, 150, 0), 100, 200, 0.05);
    EXPECT_DOUBLE_EQ(g.viewMtxGet().m[0][0], refit.m[0][0]);
    EXPECT_DOUBLE_EQ(g.viewMtxGet().m[1][3], refit.m[1][3]);
}

TEST(Vll, ContrastColourFromTheMeanOfTheBackground)
{
    Vll v;
    struct Case {
        COLORREF back;
        COLORREF contrast;
    };
    // Mean 127 is dark, 128 light; the integer mean decides, not the brightness the eye sees.
    const Case cases[] = {
        {RGB(127, 127, 127), 0xFFFFFF}, {RGB(128, 128, 128), 0},        {RGB(255, 127, 0), 0xFFFFFF},
        {RGB(255, 129, 0), 0},          {RGB(0, 0, 255), 0xFFFFFF},      {RGB(0, 129, 255), 0},
        {RGB(0, 0, 0), 0xFFFFFF},       {RGB(255, 255, 255), 0},
    };
    for (const Case& c : cases) {
        v.view.SetBkColor(c.back | 0xFF000000u); // the top byte is not a colour
        EXPECT_EQ(v.view.BkColorGet(), c.back);
        EXPECT_EQ(v.view.contrastColorGet(), c.contrast) << std::hex << c.back;
        EXPECT_EQ(v.gdx().colorTabGet(static_cast<GDX_CMODE>(6)).oleColor(), c.contrast);
        EXPECT_EQ(v.gdx().backColorGet().oleColor(), c.back);
    }
    // Light background: lines drawn black.
    v.view.SetBkColor(RGB(200, 220, 240));
    v.view.setVll(threeSquares());
    auto d = v.grab();
    EXPECT_EQ(d->at(3, 3), dibColour(RGB(200, 220, 240)));
    EXPECT_TRUE(colourNear(*d, v.toDevice(225, 150), 0));
    EXPECT_EQ(v.gdx().colorGet(v.item(2)).oleColor(), 0u);
}
