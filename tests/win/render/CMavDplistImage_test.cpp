// The display list view control driven by real window messages under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include "render/CMavDplistImage.h"
#include "render_test_support.h"

using namespace rendertest;

namespace {

constexpr UINT kId = 1234;

CMavColor rgb(COLORREF bgr)
{
    CMavColor c;
    c.setOleColor(bgr);
    return c;
}

// The control as child 1234 of 200 x 100, showing a list on yellow with a red filled square of group {7, 2}.
struct View : Hosted<CMavDplistImage> {
    CMavGDX gdx{rgb(0x00FFFF), CMavMatrix3d(), 0.0, 0, CMavPoint3d(0, 0, 0), CMavPoint3d(100, 100, 0)};
    View() : Hosted(200, 100, kId)
    {
        CMavVertexArray vl;
        vl.append(CMavPoint3d(20, 20, 0), CMavPoint3d(60, 20, 0));
        vl.appendTo(CMavPoint3d(60, 60, 0));
        vl.appendTo(CMavPoint3d(20, 60, 0));
        vl.appendTo(CMavPoint3d(20, 20, 0));
        CMavArrayTempl<CMavVertexArray> reg;
        reg.append(vl);
        gdx.imageReg(CMavArrayTempl<int>{7, 2}, 0x1, reg, rgb(0xFF), CMavMatrix3d(), CMavArrayTempl<double>(), 1.0, 0,
                     rgb(0xFF), MAV::CHatchProp());
        ctrl.set_dpList(&gdx);
        afxtest::pumpWaitingMessages();
    }
    // Scale and translation of the zoom.
    void expectZoom(double s, double tx, double ty)
    {
        const CMavMatrix3d& m = gdx.zoomMtxGet();
        EXPECT_NEAR(m.m[0][0], s, 1e-9);
        EXPECT_NEAR(m.m[1][1], s, 1e-9);
        EXPECT_NEAR(m.m[0][3], tx, 1e-9);
        EXPECT_NEAR(m.m[1][3], ty, 1e-9);
    }
};

} // namespace

TEST(RenderView, SubclassedStaticFrameGetsClicksAndPaints)
{
    // The blue background and the point's filled square; a click on it posts its group, one beside it nothing.
    Parent parent(260, 160);
    CMavDplistImage view;
    HWND frame = subclassStaticFrame(view, parent.wnd, 77);
    CMavGDX gdx(rgb(0xFF0000), CMavMatrix3d(), 0.0, 0, CMavPoint3d(0, 0, 0), CMavPoint3d(10, 10, 0));
    gdx.imagePt(CMavArrayTempl<int>{3}, 0, CMavPoint3d(50, 40, 0), rgb(0), CMavMatrix3d(), 6, 8);
    EXPECT_TRUE(view.set_dpList(&gdx));
    EXPECT_EQ(pixels(*grabWindow(frame, 0, 0, 100, 80), {{5, 5}, {50, 40}}), (Pixels{0x0000FF, 0}));
    MSG m;
    for (LPARAM at : {MAKELPARAM(90, 70), MAKELPARAM(51, 41)})
        SendMessageW(frame, WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_TRUE(PeekMessageW(&m, parent.wnd, 77, 77, PM_REMOVE) && m.lParam == 3 &&
                !PeekMessageW(&m, parent.wnd, 77, 77, PM_REMOVE));
    view.DestroyWindow();
}

TEST(RenderView, WheelZoomsAboutCursorAndPanContinuesFromIt)
{
    View v;
    // Each step scales by 1.2 about the cursor; with the middle button held the wheel is not handled.
    EXPECT_EQ(v.wheel(120, 100, 50), 1);
    v.expectZoom(1.2, 100 - 120.0, 50 - 60.0);
    EXPECT_EQ(v.wheel(-120, 100, 50) + v.wheel(240, 0, 0) + v.wheel(120, 50, 50, MK_MBUTTON), 2);
    v.expectZoom(2.4, 0.0, 0.0);
    EXPECT_EQ(v.wheel(-240, 10, 20), 1); // shrinking about (10, 20) moves the origin toward that point
    const double tx0 = 10 * (1 - 1 / 2.4), ty0 = 20 * (1 - 1 / 2.4);
    v.expectZoom(1.0, tx0, ty0);
    // Pan: the zoom's translation follows the cursor from the press, starting from the last wheel step.
    v.wheel(120, 100, 50);
    const double tx1 = 1.2 * tx0 - 20, ty1 = 1.2 * ty0 - 10;
    v.mouse(WM_MBUTTONDOWN, MK_MBUTTON, 10, 10);
    EXPECT_EQ(GetCapture(), v.ctrl.m_hWnd);
    v.mouse(WM_MOUSEMOVE, MK_MBUTTON, 30, 25);
    v.expectZoom(1.2, tx1 + 20, ty1 + 15);
    v.mouse(WM_MOUSEMOVE, MK_MBUTTON, 5, 5);
    v.mouse(WM_MBUTTONUP, 0, 5, 5);
    v.mouse(WM_MOUSEMOVE, 0, 50, 50); // without the button: no pan
    v.expectZoom(1.2, tx1 - 5, ty1 - 5);
    // Middle double click fits the view extents and resets the zoom.
    v.mouse(WM_MBUTTONDBLCLK, MK_MBUTTON, 5, 5);
    v.expectZoom(1.0, 0.0, 0.0);
    CMavPoint3d mn, mx;
    v.gdx.extMaxViewGet(mn, mx);
    const CMavMatrix3d fit = getViewMtx(mn, mx, 100, 200, 0.05);
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 4; ++k)
            EXPECT_DOUBLE_EQ(v.gdx.viewMtxGet().m[i][k], fit.m[i][k]);
}
