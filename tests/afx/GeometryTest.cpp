// Tests of CSize, CPoint and CRect against the documented results.
#include <afxwin.h>

#include <gtest/gtest.h>

#include <ostream>

// Failure messages show rectangles, points and sizes by value.
static void PrintTo(const CRect& r, std::ostream* os)
{
    *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}
static void PrintTo(const CPoint& p, std::ostream* os)
{
    *os << "(" << p.x << "," << p.y << ")";
}
static void PrintTo(const CSize& s, std::ostream* os)
{
    *os << "[" << s.cx << "x" << s.cy << "]";
}

static_assert(sizeof(CRect) == sizeof(RECT), "CRect adds nothing to RECT");
static_assert(sizeof(CPoint) == sizeof(POINT), "CPoint adds nothing to POINT");
static_assert(sizeof(CSize) == sizeof(SIZE), "CSize adds nothing to SIZE");

TEST(Geometry, SizeAndPointArithmetic)
{
    CSize s(3, 4);
    CPoint p(10, 20);
    const CSize sizes[] = {s + CSize(2, 3), s - CSize(2, 3), -s, p - CPoint(1, 2)};
    const CSize expectedSizes[] = {CSize(5, 7), CSize(1, 1), CSize(-3, -4), CSize(9, 18)};
    const CPoint points[] = {p + s, p - s, s + p, s - p, -p, p + CPoint(1, 2)};
    const CPoint expectedPoints[] = {CPoint(13, 24), CPoint(7, 16), CPoint(13, 24), CPoint(-7, -16),
                                     CPoint(-10, -20), CPoint(11, 22)};
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(expectedSizes[i], sizes[i]) << "size #" << i;
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(expectedPoints[i], points[i]) << "point #" << i;

    p += s;
    EXPECT_EQ(CPoint(13, 24), p);
    p -= CSize(3, 4);
    p.Offset(1, 1);
    p.Offset(CPoint(1, 1));
    p.Offset(CSize(-2, -2));
    EXPECT_EQ(CPoint(10, 20), p);
    s += CSize(1, 1);
    s -= CSize(0, 2);
    EXPECT_EQ(CSize(4, 3), s);
    EXPECT_TRUE(s != CSize(3, 4));
    EXPECT_FALSE(p != CPoint(10, 20));

    // Packed words are signed: message coordinates left of the screen are negative.
    EXPECT_EQ(CPoint(-1, 2), CPoint(static_cast<DWORD>(MAKELONG(0xFFFF, 2))));
    EXPECT_EQ(CSize(5, -6), CSize(static_cast<DWORD>(MAKELONG(5, static_cast<WORD>(-6)))));
    EXPECT_EQ(CPoint(3, 4), CPoint(CSize(3, 4)));
}

TEST(Geometry, RectAttributesAndConstruction)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(100, r.Width());
    EXPECT_EQ(50, r.Height());
    EXPECT_EQ(CSize(100, 50), r.Size());
    EXPECT_EQ(CPoint(10, 20), r.TopLeft());
    EXPECT_EQ(CPoint(110, 70), r.BottomRight());
    EXPECT_EQ(CPoint(60, 45), r.CenterPoint());
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(110, 70))) << "right and bottom edges are outside";
    EXPECT_FALSE(r.IsRectEmpty() || r.IsRectNull());
    EXPECT_TRUE(CRect(5, 5, 5, 10).IsRectEmpty());
    EXPECT_FALSE(CRect(5, 5, 5, 10).IsRectNull());
    EXPECT_TRUE(CRect().IsRectNull());

    // The corner references alias the rectangle itself.
    r.TopLeft() = CPoint(0, 0);
    r.BottomRight().x = 5;
    EXPECT_EQ(CRect(0, 0, 5, 70), r);
    EXPECT_EQ(static_cast<RECT*>(&r), static_cast<LPRECT>(r));
    RECT raw = { 1, 2, 3, 4 };
    EXPECT_EQ(CRect(raw), CRect(&raw));
    EXPECT_TRUE(CRect(raw).EqualRect(&raw));
    EXPECT_EQ(CRect(1, 2, 4, 6), CRect(CPoint(1, 2), CSize(3, 4)));
    EXPECT_EQ(CRect(1, 2, 3, 4), CRect(CPoint(1, 2), CPoint(3, 4)));
    EXPECT_EQ(CRect(2, 4, 6, 8), CRect(1, 2, 3, 4).MulDiv(2, 1));
}

TEST(Geometry, RectInflateDeflateOffsetNormalize)
{
    CRect r(10, 10, 20, 20);
    r.InflateRect(1, 2);
    EXPECT_EQ(CRect(9, 8, 21, 22), r);
    r.DeflateRect(1, 2);
    r.InflateRect(CSize(2, 2));
    r.DeflateRect(CSize(2, 2));
    r.InflateRect(1, 2, 3, 4);
    EXPECT_EQ(CRect(9, 8, 23, 24), r);
    r.DeflateRect(1, 2, 3, 4);
    RECT edges = { 1, 2, 3, 4 };
    r.InflateRect(&edges);
    EXPECT_EQ(CRect(9, 8, 23, 24), r);
    r.DeflateRect(&edges);
    EXPECT_EQ(CRect(10, 10, 20, 20), r);

    r.OffsetRect(5, -5);
    EXPECT_EQ(CRect(15, 5, 25, 15), r);
    r.OffsetRect(CPoint(-5, 5));
    r.OffsetRect(CSize(1, 1));
    EXPECT_EQ(CRect(11, 11, 21, 21), r);
    CRect flipped(20, 30, 10, 5);
    flipped.NormalizeRect();
    EXPECT_EQ(CRect(10, 5, 20, 30), flipped);
    r.SetRect(1, 2, 3, 4);
    EXPECT_EQ(CRect(1, 2, 3, 4), r);
    r.CopyRect(CRect(5, 6, 7, 8));
    EXPECT_EQ(CRect(5, 6, 7, 8), r);
    r.SetRectEmpty();
    EXPECT_TRUE(r.IsRectNull());
}

TEST(Geometry, RectSetOperationsAndOperators)
{
    CRect a(0, 0, 10, 10);
    CRect b(5, 5, 15, 15);
    CRect r;
    EXPECT_TRUE(r.IntersectRect(a, b));
    EXPECT_EQ(CRect(5, 5, 10, 10), r);
    EXPECT_FALSE(r.IntersectRect(a, CRect(20, 20, 30, 30)));
    EXPECT_TRUE(r.IsRectNull()) << "no overlap leaves an empty rectangle";
    EXPECT_TRUE(r.UnionRect(a, b));
    EXPECT_EQ(CRect(0, 0, 15, 15), r);
    EXPECT_TRUE(r.SubtractRect(a, CRect(0, 0, 10, 4)));
    EXPECT_EQ(CRect(0, 4, 10, 10), r);
    r.SubtractRect(a, CRect(2, 2, 4, 4));
    EXPECT_EQ(a, r) << "a hole in the middle cannot be subtracted";

    RECT edges = { 1, 1, 2, 2 };
    const CRect moved(2, 3, 12, 13), back(-2, -3, 8, 7);
    const CRect results[] = {a & b,          a | b,          a + CPoint(2, 3), a - CPoint(2, 3),
                             a + CSize(2, 3), a - CSize(2, 3), a + &edges,      a - &edges,
                             CSize(2, 3) + &a, CPoint(2, 3) - static_cast<const RECT*>(&a)};
    const CRect expected[] = {CRect(5, 5, 10, 10), CRect(0, 0, 15, 15), moved, back, moved, back,
                              CRect(-1, -1, 12, 12), CRect(1, 1, 8, 8), moved, back};
    for (int i = 0; i < 10; i++)
        EXPECT_EQ(expected[i], results[i]) << "operator #" << i;

    CRect c = a;
    c &= b;
    EXPECT_EQ(CRect(5, 5, 10, 10), c);
    c |= CRect(0, 0, 1, 1);
    EXPECT_EQ(a, c);
    c += CPoint(1, 1);
    c -= CSize(1, 1);
    c += &edges;
    c -= &edges;
    EXPECT_EQ(a, c);
    c = edges;
    EXPECT_EQ(CRect(1, 1, 2, 2), c);
    EXPECT_TRUE(c != a);
    EXPECT_FALSE(c == a);
}
