// Rectangles and points: GDI's exclusive right and bottom edges, intersection and union with empty rectangles,
// and signed coordinates from message parameters.
#include <gtest/gtest.h>

#include "afx/afxwin.h"

TEST(AfxRect, EdgesIntersectionAndUnion)
{
    CRect r(10, 20, 30, 60);
    EXPECT_EQ(r.Width(), 20);
    EXPECT_EQ(r.Height(), 40);
    EXPECT_EQ(r.CenterPoint(), CPoint(20, 40));
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(30, 40))) << "the right edge lies outside";
    EXPECT_FALSE(r.PtInRect(CPoint(20, 60))) << "the bottom edge lies outside";

    CRect swapped(30, 60, 10, 20);
    EXPECT_TRUE(swapped.IsRectEmpty());
    swapped.NormalizeRect();
    EXPECT_EQ(swapped, r);

    EXPECT_EQ(r & CRect(25, 0, 100, 30), CRect(25, 20, 30, 30));
    CRect none;
    EXPECT_FALSE(none.IntersectRect(r, CRect(30, 20, 40, 60))) << "touching edges do not overlap";
    EXPECT_TRUE(none.IsRectNull());
    EXPECT_EQ(r | CRect(0, 0, 5, 5), CRect(0, 0, 30, 60));
    EXPECT_EQ(r | CRect(100, 100, 100, 200), r) << "an empty rectangle adds nothing";
    CRect u;
    EXPECT_FALSE(u.UnionRect(CRect(), CRect(5, 5, 5, 9)));

    r.InflateRect(1, 2);
    EXPECT_EQ(r, CRect(9, 18, 31, 62));
    r.DeflateRect(1, 2, 3, 4);
    EXPECT_EQ(r, CRect(10, 20, 28, 58));
    r.OffsetRect(-10, 5);
    EXPECT_EQ(r.TopLeft(), CPoint(0, 25));
    EXPECT_EQ(CRect(CPoint(1, 2), CSize(3, 4)), CRect(1, 2, 4, 6));
}

TEST(AfxRect, PointsFromMessageParametersAreSigned)
{
    CPoint p(static_cast<LPARAM>(MAKELPARAM(-5, -32768)));
    EXPECT_EQ(p, CPoint(-5, -32768));
    CPoint q(static_cast<LPARAM>(MAKELPARAM(32767, 1)));
    EXPECT_EQ(q, CPoint(32767, 1));
    EXPECT_EQ(CPoint(7, 9) - CPoint(2, 3), CSize(5, 6));
    EXPECT_EQ(CPoint(7, 9) + CSize(1, -1), CPoint(8, 8));
}
