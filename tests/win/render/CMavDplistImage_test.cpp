// The display list view control driven by real window messages under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include "render_test_support.h"
#include "render/CMavDplistImage.h"

namespace {

constexpr UINT kId = 1234;

CMavVertexArray square(double x0, double y0, double x1, double y1)
{
    CMavVertexArray vl;
    vl.append(CMavPoint3d(x0, y0, 0), CMavPoint3d(x1, y0, 0));
    vl.appendTo(CMavPoint3d(x1, y1, 0));
    vl.appendTo(CMavPoint3d(x0, y1, 0));
    vl.appendTo(CMavPoint3d(x0, y0, 0));
    return vl;
}

// A parent popup with the control as child 1234 of 200 x 100, showing a list with a filled square of group 7.
struct View {
    CWnd parent;
    CMavDplistImage view;
    CMavGDX gdx;
    View()
        : gdx([] {
              CMavColor back;
              back.setOleColor(0x00FFFF);
              return CMavGDX(back, CMavMatrix3d(), 0.0, 0, CMavPoint3d(0, 0, 0), CMavPoint3d(100, 100, 0));
          }())
    {
        parent.CreateEx(0, nullptr, L"parent", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr);
        view.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &parent, kId);
        CMavArrayTempl<CMavVertexArray> reg;
        reg.append(square(20, 20, 60, 60));
        CMavArrayTempl<int> stack;
        stack.append(7);
        stack.append(2);
        CMavColor red;
        red.setOleColor(0x0000FF);
        gdx.imageReg(stack, 0x1, reg, red, CMavMatrix3d(), CMavArrayTempl<double>(), 1.0, 0, red, MAV::CHatchProp());
        view.set_dpList(&gdx);
        drain();
    }
    ~View()
    {
        view.DestroyWindow();
        parent.DestroyWindow();
    }
    void drain()
    {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&m);
    }
    LRESULT wheel(int delta, int x, int y, WPARAM keys = 0)
    {
        POINT p{x, y};
        ClientToScreen(view.m_hWnd, &p);
        return SendMessageW(view.m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(static_cast<short>(delta))),
                            MAKELPARAM(p.x, p.y));
    }
    void mouse(UINT msg, WPARAM keys, int x, int y) { SendMessageW(view.m_hWnd, msg, keys, MAKELPARAM(x, y)); }
};

void expectMatrix(const CMavMatrix3d& m, double s, double tx, double ty)
{
    EXPECT_NEAR(m.m[0][0], s, 1e-9);
    EXPECT_NEAR(m.m[1][1], s, 1e-9);
    EXPECT_NEAR(m.m[0][3], tx, 1e-9);
    EXPECT_NEAR(m.m[1][3], ty, 1e-9);
}

} // namespace

TEST(RenderView, LeftClickPostsGroupToParentOnlyOnHit)
{
    View v;
    ASSERT_NE(v.view.m_hWnd, nullptr);
    EXPECT_EQ(v.view.get_dpList(), &v.gdx);
    // Regions are hit near their outline.
    v.mouse(WM_LBUTTONDOWN, MK_LBUTTON, 22, 40);
    EXPECT_EQ(GetFocus(), v.view.m_hWnd);
    MSG m;
    ASSERT_TRUE(PeekMessageW(&m, v.parent.m_hWnd, kId, kId, PM_REMOVE));
    EXPECT_EQ(m.message, kId);
    EXPECT_EQ(m.wParam, 0u);
    EXPECT_EQ(m.lParam, 7);
    v.mouse(WM_LBUTTONUP, 0, 40, 40);
    v.mouse(WM_LBUTTONDOWN, MK_LBUTTON, 150, 90); // empty corner
    EXPECT_FALSE(PeekMessageW(&m, v.parent.m_hWnd, kId, kId, PM_REMOVE));
    EXPECT_FALSE(v.view.set_dpList(nullptr));
    v.mouse(WM_LBUTTONDOWN, MK_LBUTTON, 22, 40);
    EXPECT_FALSE(PeekMessageW(&m, v.parent.m_hWnd, kId, kId, PM_REMOVE));
}

TEST(RenderView, WheelZoomsAboutCursorAndPanContinuesFromIt)
{
    View v;
    EXPECT_EQ(v.wheel(120, 100, 50), 1);
    expectMatrix(v.gdx.zoomMtxGet(), 1.2, 100 - 120.0, 50 - 60.0);
    EXPECT_EQ(v.wheel(-120, 100, 50), 1);
    expectMatrix(v.gdx.zoomMtxGet(), 1.0, 0.0, 0.0);
    EXPECT_EQ(v.wheel(240, 0, 0), 1);
    expectMatrix(v.gdx.zoomMtxGet(), 2.4, 0.0, 0.0);
    // The middle button held: not handled, nothing changes.
    EXPECT_EQ(v.wheel(120, 50, 50, MK_MBUTTON), 0);
    expectMatrix(v.gdx.zoomMtxGet(), 2.4, 0.0, 0.0);
    // Shrinking about (10, 20) moves the origin toward that point.
    EXPECT_EQ(v.wheel(-240, 10, 20), 1);
    const double tx0 = 10 * (1 - 1 / 2.4), ty0 = 20 * (1 - 1 / 2.4);
    expectMatrix(v.gdx.zoomMtxGet(), 1.0, tx0, ty0);

    // Pan: the zoom's translation follows the cursor from the press, starting from the last wheel step.
    EXPECT_EQ(v.wheel(120, 100, 50), 1);
    const double tx1 = 1.2 * tx0 - 20, ty1 = 1.2 * ty0 - 10;
    expectMatrix(v.gdx.zoomMtxGet(), 1.2, tx1, ty1);
    v.mouse(WM_MBUTTONDOWN, MK_MBUTTON, 10, 10);
    EXPECT_EQ(GetCapture(), v.view.m_hWnd);
    EXPECT_EQ(GetFocus(), v.view.m_hWnd);
    v.mouse(WM_MOUSEMOVE, MK_MBUTTON, 30, 25);
    expectMatrix(v.gdx.zoomMtxGet(), 1.2, tx1 + 20, ty1 + 15);
    v.mouse(WM_MOUSEMOVE, MK_MBUTTON, 5, 5);
    expectMatrix(v.gdx.zoomMtxGet(), 1.2, tx1 - 5, ty1 - 5);
    v.mouse(WM_MBUTTONUP, 0, 5, 5);
    EXPECT_NE(GetCapture(), v.view.m_hWnd);
    v.mouse(WM_MOUSEMOVE, 0, 50, 50); // without the button: no pan
    expectMatrix(v.gdx.zoomMtxGet(), 1.2, tx1 - 5, ty1 - 5);

    // Middle double click fits the view extents and resets the zoom.
    v.mouse(WM_MBUTTONDBLCLK, MK_MBUTTON, 5, 5);
    expectMatrix(v.gdx.zoomMtxGet(), 1.0, 0.0, 0.0);
    CMavPoint3d mn, mx;
    v.gdx.extMaxViewGet(mn, mx);
    const CMavMatrix3d fit = getViewMtx(mn, mx, 100, 200, 0.05);
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 4; ++k)
            EXPECT_DOUBLE_EQ(v.gdx.viewMtxGet().m[i][k], fit.m[i][k]);
}

TEST(RenderView, PaintsBackgroundAndItemsThroughTheZoom)
{
    View v;
    auto grab = [&v] {
        RedrawWindow(v.view.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        auto d = std::make_unique<afxtest::Dib>(200, 100, 0);
        HDC wdc = GetDC(v.view.m_hWnd);
        BitBlt(d->dc, 0, 0, 200, 100, wdc, 0, 0, SRCCOPY);
        ReleaseDC(v.view.m_hWnd, wdc);
        return d;
    };
    auto d = grab();
    EXPECT_EQ(d->bits[5 * 200 + 5] & 0xFFFFFF, 0xFFFF00u);  // background (yellow)
    EXPECT_EQ(d->bits[40 * 200 + 40] & 0xFFFFFF, 0xFF0000u); // the square (red)
    EXPECT_EQ(d->bits[40 * 200 + 80] & 0xFFFFFF, 0xFFFF00u);
    // Zoomed by 2 about the origin the square reaches to 120.
    v.wheel(240, 0, 0);
    v.wheel(-120, 0, 0);
    auto z = grab();
    EXPECT_EQ(z->bits[90 * 200 + 100] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(z->bits[30 * 200 + 30] & 0xFFFFFF, 0xFFFF00u);
}

TEST(RenderView, SubclassedStaticFrameGetsClicksAndPaints)
{
    CWnd parent;
    parent.CreateEx(0, nullptr, L"parent", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr);
    CMavDplistImage view;
    HWND frame = rendertest::subclassStaticFrame(view, parent.m_hWnd, 77);
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(view.m_hWnd, frame);

    CMavColor back;
    back.setOleColor(0xFF0000);
    CMavGDX gdx(back, CMavMatrix3d(), 0.0, 0, CMavPoint3d(0, 0, 0), CMavPoint3d(10, 10, 0));
    CMavArrayTempl<int> stack;
    stack.append(3);
    CMavColor black;
    black.setOleColor(0);
    gdx.imagePt(stack, 0, CMavPoint3d(50, 40, 0), black, CMavMatrix3d(), 6, 8);
    EXPECT_TRUE(view.set_dpList(&gdx));
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    afxtest::Dib d(100, 80, 0x777777);
    HDC wdc = GetDC(frame);
    BitBlt(d.dc, 0, 0, 100, 80, wdc, 0, 0, SRCCOPY);
    ReleaseDC(frame, wdc);
    EXPECT_EQ(d.bits[5 * 100 + 5] & 0xFFFFFF, 0x0000FFu); // blue background
    EXPECT_EQ(d.bits[40 * 100 + 50] & 0xFFFFFF, 0u);      // the filled square of the point
    SendMessageW(frame, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(51, 41));
    MSG m;
    ASSERT_TRUE(PeekMessageW(&m, parent.m_hWnd, 77, 77, PM_REMOVE));
    EXPECT_EQ(m.lParam, 3);
    view.DestroyWindow();
    parent.DestroyWindow();
}
