// GDI objects own their handles, scoped selections put back what the DC had, and the counts of live
// objects show that nothing leaks.
#include <gtest/gtest.h>

#include <vector>

#include "afx/afxwin.h"
#include "afx_test_support.h"

TEST(AfxGdiObject, WrappersOwnCountAndDeleteTheirHandlesOnlyThose)
{
    const long before = CGdiObject::GetLiveCount();
    std::vector<HGDIOBJ> handles;
    {
        CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
        CBrush brush(HS_CROSS, RGB(0, 0, 255));
        CRgn rgn;
        ASSERT_TRUE(rgn.CreateRectRgn(0, 0, 10, 10));
        handles = {pen.m_hObject, brush.m_hObject, rgn.m_hObject};
        ASSERT_TRUE(pen.CreatePen(PS_DASH, 1, RGB(0, 0, 0))); // replaces and deletes the old handle
        EXPECT_EQ(GetObjectType(handles[0]), 0u);
        handles[0] = pen.m_hObject;
        EXPECT_EQ(CGdiObject::GetLiveCount(), before + 3);
        CBrush detached(RGB(1, 2, 3));
        handles.push_back(detached.Detach()); // the caller's now: neither deleted nor counted
        CBrush system;
        ASSERT_TRUE(system.CreateSysColorBrush(COLOR_WINDOW));
        EXPECT_EQ(system.m_hObject, GetSysColorBrush(COLOR_WINDOW));
        EXPECT_EQ(CPen::FromHandle(static_cast<HPEN>(GetStockObject(BLACK_PEN))),
                  CPen::FromHandle(static_cast<HPEN>(GetStockObject(BLACK_PEN))));
    }
    AfxDeleteTempMaps();
    EXPECT_EQ((std::vector<DWORD>{GetObjectType(handles[0]), GetObjectType(handles[1]), GetObjectType(handles[2]),
                                  GetObjectType(handles[3]), GetObjectType(GetSysColorBrush(COLOR_WINDOW)),
                                  GetObjectType(GetStockObject(BLACK_PEN))}),
              (std::vector<DWORD>{0, 0, 0, OBJ_BRUSH, OBJ_BRUSH, OBJ_PEN}));
    DeleteObject(handles[3]);
    EXPECT_EQ(CGdiObject::GetLiveCount(), before);
}

TEST(AfxGdiObject, ScopedSelectionPutsBackWhatTheDcHad)
{
    afxtest::Dib dib(20, 20);
    auto current = [&dib] {
        return std::vector<HGDIOBJ>{GetCurrentObject(dib.dc, OBJ_PEN), GetCurrentObject(dib.dc, OBJ_BRUSH)};
    };
    const std::vector<HGDIOBJ> before = current();
    const long live = CGdiObject::GetLiveCount();
    {
        CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
        CBrush brush(RGB(0, 255, 0));
        CScopedSelect selPen(dib.dc, pen), selBrush(dib.dc, brush);
        EXPECT_EQ(current(), (std::vector<HGDIOBJ>{pen.m_hObject, brush.m_hObject}));
        Rectangle(dib.dc, 2, 2, 10, 10);
    }
    EXPECT_EQ(current(), before);
    EXPECT_EQ(CGdiObject::GetLiveCount(), live);
    EXPECT_EQ((std::vector<DWORD>{dib.at(2, 2), dib.at(5, 5)}), (std::vector<DWORD>{0xFF0000, 0x00FF00}));
}
