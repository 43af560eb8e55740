// GDI objects own their handles, scoped selections and clips put back what the DC had, the counts of live objects
// show that nothing leaks, and regions combine as GDI's do.
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

TEST(AfxGdiObject, ScopedClipsPutBackTheDcsClipAndRegionsCombine)
{
    afxtest::Dib dib(20, 20);
    CRgn clip, a, b, both, empty;
    ASSERT_TRUE(clip.CreateRectRgn(4, 4, 8, 8) && a.CreateRectRgn(0, 0, 10, 10) && b.CreateRectRgn(5, 5, 15, 15) &&
                both.CreateRectRgn(0, 0, 0, 0));
    HRGN probe = CreateRectRgn(0, 0, 0, 0), outer = CreateRectRgn(1, 1, 15, 15);
    RECT box{};
    std::vector<int> seen; // the clip while scoped, then none as before; the outer clip after a nested pair
    {
        CScopedClip scoped(dib.dc, clip);
        seen.push_back(GetClipBox(dib.dc, &box) == SIMPLEREGION && CRect(box) == CRect(4, 4, 8, 8));
    }
    seen.push_back(GetClipRgn(dib.dc, probe));
    SelectClipRgn(dib.dc, outer);
    {
        CScopedClip scoped(dib.dc, clip), none(dib.dc, nullptr);
        seen.push_back(GetClipRgn(dib.dc, probe));
    }
    seen.push_back(GetClipRgn(dib.dc, probe) + EqualRgn(probe, outer));
    // The overlap is cut out of XOR; combining needs an existing target region.
    seen.insert(seen.end(), {both.CombineRgn(&a, &b, RGN_XOR), both.PtInRegion(2, 2) + 2 * both.PtInRegion(7, 7),
                             empty.CombineRgn(&a, &b, RGN_OR)});
    EXPECT_EQ(seen, (std::vector<int>{1, 0, 0, 2, COMPLEXREGION, 1, ERROR}));
    DeleteObject(probe);
    DeleteObject(outer);
}
