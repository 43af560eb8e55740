// GDI objects own their handles, scoped selections put back what the DC had, and the counts of live objects show
// that nothing leaks.
#include <gtest/gtest.h>

#include <vector>

#include "afx/afxwin.h"
#include "afx_test_support.h"

TEST(AfxGdiObject, WrappersDeleteTheirHandlesAndCountThem)
{
    const long before = CGdiObject::GetLiveCount();
    HGDIOBJ penHandle = nullptr, brushHandle = nullptr, rgnHandle = nullptr;
    {
        CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
        CBrush brush(HS_CROSS, RGB(0, 0, 255));
        CRgn rgn;
        ASSERT_TRUE(rgn.CreateRectRgn(0, 0, 10, 10));
        penHandle = pen.m_hObject;
        brushHandle = brush.m_hObject;
        rgnHandle = rgn.m_hObject;
        EXPECT_EQ(CGdiObject::GetLiveCount(), before + 3);
        LOGBRUSH lb{};
        ASSERT_EQ(brush.GetObject(sizeof lb, &lb), static_cast<int>(sizeof lb));
        EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_HATCHED));
        EXPECT_EQ(lb.lbHatch, static_cast<ULONG_PTR>(HS_CROSS));
        // Creating again replaces (and deletes) the old handle.
        ASSERT_TRUE(pen.CreatePen(PS_DASH, 1, RGB(0, 0, 0)));
        EXPECT_EQ(GetObjectType(penHandle), 0u);
        penHandle = pen.m_hObject;
        EXPECT_EQ(CGdiObject::GetLiveCount(), before + 3);
    }
    EXPECT_EQ(GetObjectType(penHandle) + GetObjectType(brushHandle) + GetObjectType(rgnHandle), 0u);
    EXPECT_EQ(CGdiObject::GetLiveCount(), before);

    // Detach hands the handle over: the wrapper neither deletes nor counts it any more.
    HGDIOBJ kept = nullptr;
    {
        CBrush brush(RGB(1, 2, 3));
        kept = brush.Detach();
        EXPECT_EQ(CGdiObject::GetLiveCount(), before);
    }
    EXPECT_EQ(GetObjectType(kept), static_cast<DWORD>(OBJ_BRUSH));
    DeleteObject(kept);
    // Stock and temporary wrappers never delete.
    CGdiObject* temp = CGdiObject::FromHandle(GetStockObject(BLACK_PEN));
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(CPen::FromHandle(static_cast<HPEN>(GetStockObject(BLACK_PEN))), CPen::FromHandle(static_cast<HPEN>(GetStockObject(BLACK_PEN))));
    {
        CGdiObject stock;
        ASSERT_TRUE(stock.CreateStockObject(WHITE_BRUSH));
        CBrush system;
        ASSERT_TRUE(system.CreateSysColorBrush(COLOR_WINDOW));
        EXPECT_EQ(system.m_hObject, GetSysColorBrush(COLOR_WINDOW));
    }
    EXPECT_EQ(GetObjectType(GetSysColorBrush(COLOR_WINDOW)), static_cast<DWORD>(OBJ_BRUSH));
    AfxDeleteTempMaps();
    EXPECT_EQ(GetObjectType(GetStockObject(BLACK_PEN)), static_cast<DWORD>(OBJ_PEN));
    EXPECT_EQ(CGdiObject::GetLiveCount(), before);
}

TEST(AfxGdiObject, ScopedSelectionPutsBackWhatTheDcHad)
{
    afxtest::Dib dib(20, 20);
    const HGDIOBJ pen0 = GetCurrentObject(dib.dc, OBJ_PEN);
    const HGDIOBJ brush0 = GetCurrentObject(dib.dc, OBJ_BRUSH);
    const HGDIOBJ font0 = GetCurrentObject(dib.dc, OBJ_FONT);
    const long before = CGdiObject::GetLiveCount();
    {
        CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
        CBrush brush(RGB(0, 255, 0));
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(100, L"Arial"));
        CScopedSelect selPen(dib.dc, pen);
        CScopedSelect selBrush(dib.dc, brush);
        CScopedSelect selFont(dib.dc, font);
        EXPECT_EQ(GetCurrentObject(dib.dc, OBJ_PEN), pen.m_hObject);
        EXPECT_EQ(GetCurrentObject(dib.dc, OBJ_FONT), font.m_hObject);
        Rectangle(dib.dc, 2, 2, 10, 10);
    }
    EXPECT_EQ((std::vector<HGDIOBJ>{GetCurrentObject(dib.dc, OBJ_PEN), GetCurrentObject(dib.dc, OBJ_BRUSH),
                                    GetCurrentObject(dib.dc, OBJ_FONT)}),
              (std::vector<HGDIOBJ>{pen0, brush0, font0}));
    EXPECT_EQ(CGdiObject::GetLiveCount(), before);
    EXPECT_EQ(dib.at(2, 2), 0xFF0000u) << "the pen drew the outline";
    EXPECT_EQ(dib.at(5, 5), 0x00FF00u) << "the brush filled the inside";

    // A clip region replaced for a while: first on a DC without clipping, then on one with a clip region.
    CRgn clip;
    ASSERT_TRUE(clip.CreateRectRgn(4, 4, 8, 8));
    {
        CScopedClip scoped(dib.dc, clip);
        RECT box{};
        EXPECT_EQ(GetClipBox(dib.dc, &box), SIMPLEREGION);
        EXPECT_EQ(CRect(box), CRect(4, 4, 8, 8));
    }
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(dib.dc, probe), 0) << "no clipping, as before";
    {
        CScopedSelect notAClip(dib.dc, clip);
    }
    EXPECT_EQ(GetClipRgn(dib.dc, probe), 0) << "a scoped selection leaves regions alone";
    HRGN outer = CreateRectRgn(1, 1, 15, 15);
    SelectClipRgn(dib.dc, outer);
    {
        CScopedClip scoped(dib.dc, clip);
        CScopedClip none(dib.dc, nullptr);
        EXPECT_EQ(GetClipRgn(dib.dc, probe), 0);
    }
    ASSERT_EQ(GetClipRgn(dib.dc, probe), 1);
    EXPECT_TRUE(EqualRgn(probe, outer));
    DeleteObject(probe);
    DeleteObject(outer);
}

TEST(AfxGdiObject, RegionsAndBitmaps)
{
    CRgn a, b, both;
    ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
    ASSERT_TRUE(b.CreateRectRgn(5, 5, 15, 15));
    ASSERT_TRUE(both.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(both.CombineRgn(&a, &b, RGN_AND), SIMPLEREGION);
    CRect box;
    both.GetRgnBox(&box);
    EXPECT_EQ(box, CRect(5, 5, 10, 10));
    EXPECT_EQ(both.CombineRgn(&a, &b, RGN_XOR), COMPLEXREGION);
    EXPECT_TRUE(both.PtInRegion(2, 2));
    EXPECT_FALSE(both.PtInRegion(7, 7)) << "the overlap is cut out";
    CRgn empty;
    EXPECT_EQ(empty.CombineRgn(&a, &b, RGN_OR), ERROR) << "combining needs an existing target region";

    POINT triangle[] = {{0, 0}, {20, 0}, {0, 20}};
    CRgn poly;
    ASSERT_TRUE(poly.CreatePolygonRgn(triangle, 3, ALTERNATE));
    EXPECT_TRUE(poly.PtInRegion(3, 3));
    EXPECT_FALSE(poly.PtInRegion(15, 15));
    EXPECT_FALSE(poly.CreatePolygonRgn(nullptr, 3, ALTERNATE));
    EXPECT_EQ(poly.m_hObject, nullptr);

    CBitmap dib;
    DWORD* bits = nullptr;
    ASSERT_TRUE(dib.CreateDIBSection32(6, 4, &bits));
    ASSERT_NE(bits, nullptr);
    BITMAP info{};
    dib.GetBitmap(&info);
    EXPECT_EQ((std::vector<LONG>{info.bmWidth, info.bmHeight, info.bmBitsPixel}), (std::vector<LONG>{6, 4, 32}));
    bits[1 * 6 + 2] = 0x00123456; // row 1 is the second row from the top
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap* old = dc.SelectObject(&dib);
    EXPECT_EQ(dc.GetPixel(2, 1), RGB(0x12, 0x34, 0x56));
    dc.SelectObject(old);
    EXPECT_FALSE(dib.CreateDIBSection32(0, 4, &bits));
    EXPECT_EQ(bits, nullptr);
}
