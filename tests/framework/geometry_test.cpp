// CPoint, CSize and CRect arithmetic: the Windows rectangle rules (exclusive right and
// bottom edges, empty results as all zeros) and the operator conventions.
#include <gtest/gtest.h>
#include "framework/geometry.h"

static void ExpectRect(const RECT& r, int l, int t, int rr, int b, const char* what)
{
    EXPECT_EQ(l, r.left) << what;
    EXPECT_EQ(t, r.top) << what;
    EXPECT_EQ(rr, r.right) << what;
    EXPECT_EQ(b, r.bottom) << what;
}

TEST(Geometry, PointAndSizeArithmetic)
{
    CPoint p(10, 20);
    CSize s(3, 4);
    CPoint moved = p + s;
    EXPECT_EQ(CPoint(13, 24), moved);
    CSize diff = moved - p;
    EXPECT_EQ(CSize(3, 4), diff) << "point minus point is a size";
    EXPECT_EQ(CPoint(7, 16), p - s);
    EXPECT_EQ(CPoint(-10, -20), -p);
    p += CPoint(1, 1);
    p -= CSize(2, 2);
    EXPECT_EQ(CPoint(9, 19), p);
    p.Offset(1, -19);
    EXPECT_EQ(CPoint(10, 0), p);

    // Mouse-message coordinates are signed 16-bit halves.
    CPoint fromLParam(MAKELPARAM((WORD)-5, 300));
    EXPECT_EQ(-5, fromLParam.x);
    EXPECT_EQ(300, fromLParam.y);

    CRect r = CPoint(5, 5) + CRect(0, 0, 10, 10);
    ExpectRect(r, 5, 5, 15, 15, "point + rect offsets");
}

TEST(Geometry, RectMeasuresAndCorners)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(100, r.Width());
    EXPECT_EQ(50, r.Height());
    EXPECT_EQ(CSize(100, 50), r.Size());
    EXPECT_EQ(CPoint(60, 45), r.CenterPoint());
    r.TopLeft() = CPoint(0, 0);
    r.BottomRight().x = 5;
    ExpectRect(r, 0, 0, 5, 70, "corners are references into the rectangle");

    EXPECT_TRUE(r.PtInRect(CPoint(0, 0)));
    EXPECT_FALSE(r.PtInRect(CPoint(5, 10))) << "right edge is outside";
    EXPECT_FALSE(r.PtInRect(CPoint(1, 70))) << "bottom edge is outside";

    CRect empty(5, 5, 5, 20);
    EXPECT_TRUE(empty.IsRectEmpty());
    EXPECT_FALSE(empty.IsRectNull());
    EXPECT_TRUE(CRect().IsRectNull());
    EXPECT_TRUE(CRect(10, 10, 0, 0).IsRectEmpty()) << "inverted rectangles are empty";

    r.MoveToXY(100, 200);
    ExpectRect(r, 100, 200, 105, 270, "MoveToXY keeps the size");
    r.MoveToY(0);
    ExpectRect(r, 100, 0, 105, 70, "MoveToY");
}

TEST(Geometry, NormalizeInflateDeflateOffset)
{
    CRect r(50, 40, 10, 20);
    r.NormalizeRect();
    ExpectRect(r, 10, 20, 50, 40, "normalized");

    r.InflateRect(2, 3);
    ExpectRect(r, 8, 17, 52, 43, "inflate x,y");
    r.DeflateRect(1, 2, 3, 4);
    ExpectRect(r, 9, 19, 49, 39, "deflate l,t,r,b");
    r.InflateRect(CSize(1, 1));
    ExpectRect(r, 8, 18, 50, 40, "inflate size");
    CRect border(1, 2, 3, 4);
    r.DeflateRect(&border);
    ExpectRect(r, 9, 20, 47, 36, "deflate by rect");
    r += &border;
    ExpectRect(r, 8, 18, 50, 40, "+= rect inflates");
    r -= CPoint(8, 18);
    ExpectRect(r, 0, 0, 42, 22, "-= point offsets");
    r.OffsetRect(CSize(-2, 3));
    ExpectRect(r, -2, 3, 40, 25, "offset by size");
    ExpectRect(r + CPoint(2, -3), 0, 0, 42, 22, "+ point");
    ExpectRect(r - &border, -1, 5, 37, 21, "- rect deflates");
}

TEST(Geometry, IntersectUnionSubtract)
{
    CRect a(0, 0, 100, 100), b(50, 50, 150, 150);
    CRect x;
    EXPECT_TRUE(x.IntersectRect(a, b));
    ExpectRect(x, 50, 50, 100, 100, "overlap");
    ExpectRect(a & b, 50, 50, 100, 100, "operator &");

    CRect touching(100, 0, 200, 100);
    EXPECT_FALSE(x.IntersectRect(a, touching)) << "shared edge is no overlap";
    EXPECT_TRUE(x.IsRectNull()) << "an empty intersection is all zeros";

    EXPECT_TRUE(x.UnionRect(a, b));
    ExpectRect(x, 0, 0, 150, 150, "union");
    CRect u(a);
    u |= CRect(300, 300, 300, 400);
    ExpectRect(u, 0, 0, 100, 100, "union ignores an empty rectangle");
    CRect i(a);
    i &= b;
    ExpectRect(i, 50, 50, 100, 100, "&=");

    // Subtracting only changes the result when a whole side is cut away.
    EXPECT_TRUE(x.SubtractRect(a, CRect(0, 0, 100, 30)));
    ExpectRect(x, 0, 30, 100, 100, "top band removed");
    EXPECT_TRUE(x.SubtractRect(a, CRect(40, 40, 60, 60)));
    ExpectRect(x, 0, 0, 100, 100, "a hole leaves the source");
    EXPECT_FALSE(x.SubtractRect(a, CRect(-10, -10, 200, 200)));
    EXPECT_TRUE(x.IsRectEmpty());
}

TEST(Geometry, ComparisonAndConversion)
{
    RECT raw = { 1, 2, 3, 4 };
    CRect r(raw);
    EXPECT_TRUE(r == raw);
    EXPECT_FALSE(r != raw);
    r.right = 9;
    EXPECT_TRUE(r != raw);
    LPCRECT pc = r;
    EXPECT_EQ(9, pc->right);
    LPRECT pw = r;
    pw->left = -1;
    EXPECT_EQ(-1, r.left);
    CRect fromPoints(CPoint(1, 2), CPoint(3, 4));
    EXPECT_TRUE(fromPoints.EqualRect(&raw));
    CRect fromSize(CPoint(10, 10), CSize(5, 6));
    ExpectRect(fromSize, 10, 10, 15, 16, "point + size constructor");
}
