// Rectangles and points: GDI's exclusive right and bottom edges, empty rectangles in intersection and union, and
// signed coordinates from message parameters.
#include <gtest/gtest.h>

#include "afx/afxwin.h"

TEST(AfxRect, EdgesIntersectionUnionAndSignedPoints)
{
    CRect r(30, 60, 10, 20), none;
    EXPECT_TRUE(r.IsRectEmpty());
    r.NormalizeRect();
    EXPECT_EQ(r, CRect(10, 20, 30, 60));
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)) && !r.PtInRect(CPoint(30, 40)) && !r.PtInRect(CPoint(20, 60)));
    EXPECT_EQ(r & CRect(25, 0, 100, 30), CRect(25, 20, 30, 30));
    EXPECT_FALSE(none.IntersectRect(r, CRect(30, 20, 40, 60))) << "touching edges do not overlap";
    EXPECT_EQ(r | CRect(0, 0, 5, 5), CRect(0, 0, 30, 60));
    EXPECT_EQ(r | CRect(100, 100, 100, 200), r) << "an empty rectangle adds nothing";
    r.InflateRect(1, 2);
    r.DeflateRect(1, 2, 3, 4);
    EXPECT_EQ(r, CRect(10, 20, 28, 58));
    EXPECT_EQ(CPoint(static_cast<LPARAM>(MAKELPARAM(-5, -32768))), CPoint(-5, -32768));
}
