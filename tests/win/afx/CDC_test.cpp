// Device contexts: ownership of DCs, selection answered with the previous object, drawing calls that leave the DC
// as they found it, double buffering, and the paint DC of a real window.
#include <gtest/gtest.h>

#include <vector>

#include "afx/afxwin.h"
#include "afx_test_support.h"

TEST(AfxDC, CreatedDcsAreDeletedAttachedOnesAreNot)
{
    const long before = CDC::GetLiveCount();
    HDC created = nullptr;
    {
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        created = dc.m_hDC;
        EXPECT_EQ(CDC::GetLiveCount(), before + 1);
    }
    EXPECT_EQ(GetObjectType(created), 0u);
    EXPECT_EQ(CDC::GetLiveCount(), before);

    afxtest::Dib dib(4, 4);
    {
        CDC wrapper;
        ASSERT_TRUE(wrapper.Attach(dib.dc));
        EXPECT_FALSE(wrapper.Attach(dib.dc)) << "already bound";
    }
    EXPECT_EQ(GetObjectType(dib.dc), static_cast<DWORD>(OBJ_MEMDC)) << "an attached DC stays the caller's";
    CDC* temp = CDC::FromHandle(dib.dc);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp, CDC::FromHandle(dib.dc));
    AfxDeleteTempMaps();
    EXPECT_EQ(GetObjectType(dib.dc), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_EQ(CDC::GetLiveCount(), before);
}

TEST(AfxDC, SelectionAnswersThePreviousObjectAndFillsKeepTheColours)
{
    afxtest::Dib dib(10, 10);
    CDC dc;
    dc.Attach(dib.dc);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* old = dc.SelectObject(&red);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->m_hObject, GetStockObject(BLACK_PEN)) << "a new DC starts with the black pen";
    EXPECT_EQ(dc.SelectObject(old)->m_hObject, red.m_hObject);
    CGdiObject* previous = dc.SelectStockObject(NULL_BRUSH);
    EXPECT_EQ(previous->m_hObject, GetStockObject(WHITE_BRUSH));
    dc.SelectObject(previous);

    dc.SetBkColor(RGB(9, 9, 9));
    dc.SetTextColor(RGB(7, 7, 7));
    dc.FillSolidRect(2, 3, 4, 2, RGB(0, 0, 255));
    EXPECT_EQ(dc.GetBkColor(), RGB(9, 9, 9)) << "FillSolidRect leaves the background colour as it was";
    EXPECT_EQ((std::vector<DWORD>{dib.at(2, 3), dib.at(5, 4), dib.at(6, 4), dib.at(2, 5)}),
              (std::vector<DWORD>{0x0000FF, 0x0000FF, 0xFFFFFF, 0xFFFFFF}));

    CPoint last = dc.MoveTo(1, 1);
    EXPECT_EQ(last, CPoint(0, 0));
    dc.SelectObject(&red);
    dc.LineTo(1, 8);
    dc.SelectObject(old);
    EXPECT_EQ((std::vector<DWORD>{dib.at(1, 1), dib.at(1, 7), dib.at(1, 8)}),
              (std::vector<DWORD>{0xFF0000, 0xFF0000, 0xFFFFFF}));
    EXPECT_EQ(dc.GetTextExtent(CString()).cx, 0);
    dc.Detach();
}

TEST(AfxDC, MemoryDcDrawsInTargetCoordinatesAndCopiesOnce)
{
    afxtest::Dib target(40, 30, 0x101010);
    CDC dc;
    dc.Attach(target.dc);
    const HGDIOBJ bitmap0 = GetCurrentObject(target.dc, OBJ_BITMAP);
    const long dcs = CDC::GetLiveCount();
    const long objects = CGdiObject::GetLiveCount();
    {
        CMemDC mem(dc, CRect(10, 5, 30, 25));
        EXPECT_EQ(CDC::GetLiveCount(), dcs + 1);
        mem.FillSolidRect(10, 5, 20, 20, RGB(255, 255, 0));
        mem.FillSolidRect(12, 7, 2, 2, RGB(0, 0, 0)); // target coordinates
        EXPECT_EQ(target.at(12, 7), 0x101010u) << "nothing reaches the target before the copy";
    }
    EXPECT_EQ((std::vector<DWORD>{target.at(10, 5), target.at(29, 24), target.at(12, 7), target.at(30, 24),
                                  target.at(9, 5)}),
              (std::vector<DWORD>{0xFFFF00, 0xFFFF00, 0x000000, 0x101010, 0x101010}));
    EXPECT_EQ(GetCurrentObject(target.dc, OBJ_BITMAP), bitmap0);
    EXPECT_EQ(CDC::GetLiveCount(), dcs);
    EXPECT_EQ(CGdiObject::GetLiveCount(), objects);

    {
        CMemDC discarded(dc, CRect(0, 0, 5, 5));
        discarded.FillSolidRect(0, 0, 5, 5, RGB(255, 0, 0));
        discarded.Discard();
    }
    EXPECT_EQ(target.at(0, 0), 0x101010u);
    dc.Detach();
}

namespace {
class PaintedWnd : public CWnd {
public:
    CRect painted;
    int paints = 0;
    void OnPaint() override
    {
        CPaintDC dc(this);
        ++paints;
        painted = dc.m_ps.rcPaint;
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, RGB(200, 0, 0));
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
    CRect area(5, 6, 20, 16);
    w.InvalidateRect(&area, FALSE);
    w.UpdateWindow();
    EXPECT_EQ(w.paints, 1);
    EXPECT_EQ(w.painted, area);
    CRect remaining;
    EXPECT_FALSE(w.GetUpdateRect(&remaining)) << "EndPaint validated the area";

    // The client DC reads what was painted.
    CClientDC client(&w);
    EXPECT_EQ(client.GetPixel(10, 10), RGB(200, 0, 0));
}
