// Device contexts: created DCs are deleted and attached ones are not, selection answers the previous object, fills
// leave the DC as they found it, and a memory DC copies once in target coordinates.
#include <gtest/gtest.h>

#include <vector>

#include "afx/afxwin.h"
#include "afx_test_support.h"

TEST(AfxDC, OwnershipSelectionAndDoubleBuffering)
{
    const long dcs = CDC::GetLiveCount(), objects = CGdiObject::GetLiveCount();
    HDC created = nullptr;
    {
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        created = dc.m_hDC;
        EXPECT_EQ(CDC::GetLiveCount(), dcs + 1);
    }
    afxtest::Dib target(40, 30, 0x101010);
    CDC dc;
    ASSERT_TRUE(dc.Attach(target.dc));
    EXPECT_FALSE(dc.Attach(target.dc)) << "already bound";
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* old = dc.SelectObject(&red);
    EXPECT_EQ(old->m_hObject, GetStockObject(BLACK_PEN)) << "a new DC starts with the black pen";
    dc.SetBkColor(RGB(9, 9, 9));
    dc.FillSolidRect(0, 0, 4, 2, RGB(0, 0, 255));
    EXPECT_EQ(dc.GetBkColor(), RGB(9, 9, 9)) << "FillSolidRect leaves the background colour as it was";
    EXPECT_EQ(dc.MoveTo(1, 3), CPoint(0, 0));
    dc.LineTo(1, 8);
    EXPECT_EQ(dc.SelectObject(old)->m_hObject, red.m_hObject);
    const HGDIOBJ bitmap0 = GetCurrentObject(target.dc, OBJ_BITMAP);
    {
        CMemDC mem(dc, CRect(10, 5, 30, 25));
        mem.FillSolidRect(10, 5, 20, 20, RGB(255, 255, 0));
        mem.FillSolidRect(12, 7, 2, 2, RGB(0, 0, 0));
        EXPECT_EQ(target.at(12, 7), 0x101010u) << "nothing reaches the target before the copy";
    }
    EXPECT_EQ((std::vector<DWORD>{target.at(3, 1), target.at(4, 1), target.at(1, 7), target.at(1, 8), target.at(10, 5),
                                  target.at(29, 24), target.at(12, 7), target.at(30, 24)}),
              (std::vector<DWORD>{0x0000FF, 0x101010, 0xFF0000, 0x101010, 0xFFFF00, 0xFFFF00, 0, 0x101010}));
    EXPECT_EQ(GetCurrentObject(target.dc, OBJ_BITMAP), bitmap0);
    dc.Detach();
    {
        CDC wrapper; // an attached DC stays the caller's
        wrapper.Attach(target.dc);
    }
    EXPECT_EQ(CDC::FromHandle(target.dc), CDC::FromHandle(target.dc));
    AfxDeleteTempMaps();
    EXPECT_EQ((std::vector<DWORD>{GetObjectType(created), GetObjectType(target.dc)}),
              (std::vector<DWORD>{0, OBJ_MEMDC}));
    EXPECT_EQ(std::make_pair(CDC::GetLiveCount(), CGdiObject::GetLiveCount()), std::make_pair(dcs, objects + 1));
}

namespace {
class PaintedWnd : public CWnd {
  public:
    CRect painted;
    int paints = 0;
    void OnPaint() override
    {
        CPaintDC dc(this);
        painted = (++paints, dc.m_ps.rcPaint);
        dc.FillSolidRect(0, 0, 60, 40, RGB(200, 0, 0));
    }
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
};
} // namespace

TEST(AfxDC, PaintDcCoversTheInvalidAreaAndValidatesIt)
{
    PaintedWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"Paint", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40, nullptr, nullptr));
    w.UpdateWindow();
    w.paints = 0;
    const CRect area(5, 6, 20, 16);
    w.InvalidateRect(&area, FALSE);
    w.UpdateWindow();
    CRect remaining;
    EXPECT_EQ(std::make_tuple(w.paints, w.painted, w.GetUpdateRect(&remaining) != 0), std::make_tuple(1, area, false));
    CClientDC client(&w); // reads what was painted
    EXPECT_EQ(client.GetPixel(10, 10), RGB(200, 0, 0));
}
