// Tests of CSize, CPoint and CRect against the documented results.
#include <afxwin.h>

#include <gtest/gtest.h>

#include <ostream>

#include "AfxTestSupport.h"

using wivotest::Join;

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
    const CSize s(3, 4);
    const CPoint p(10, 20);
    const std::pair<CSize, CSize> sizes[] = {
        {s + CSize(2, 3), CSize(5, 7)},  {s - CSize(2, 3), CSize(1, 1)},
        {-s, CSize(-3, -4)},             {p - CPoint(1, 2), CSize(9, 18)},
        // Packed words are signed.
        {CSize(static_cast<DWORD>(MAKELONG(5, static_cast<WORD>(-6)))), CSize(5, -6)},
    };
    for (const auto& c : sizes)
        EXPECT_EQ(c.second, c.first) << "size #" << &c - sizes;
    const std::pair<CPoint, CPoint> points[] = {
        {p + s, CPoint(13, 24)},          {p - s, CPoint(7, 16)},
        {s + p, CPoint(13, 24)},          {s - p, CPoint(-7, -16)},
        {-p, CPoint(-10, -20)},           {p + CPoint(1, 2), CPoint(11, 22)},
        {CPoint(CSize(3, 4)), CPoint(3, 4)},
        // Message coordinates left of the screen are negative.
        {CPoint(static_cast<DWORD>(MAKELONG(0xFFFF, 2))), CPoint(-1, 2)},
    };
    for (const auto& c : points)
        EXPECT_EQ(c.second, c.first) << "point #" << &c - points;
    // The compound forms, each by a different amount so that none can stand in for another.
    CPoint q = p;
    q += CSize(1, 2);
    q -= CSize(20, 40);
    q += CPoint(300, 600);
    q -= CPoint(4000, 8000);
    q.Offset(1, 2);
    q.Offset(CPoint(10, 20));
    q.Offset(CSize(100, 200));
    EXPECT_EQ(CPoint(-3598, -7196), q);
    CSize t = s;
    t += CSize(1, 2);
    t -= CSize(20, 40);
    EXPECT_EQ(CSize(-16, -34), t);
    EXPECT_EQ("1|0|1|0", Join({s != CSize(3, 5), s != s, p == CPoint(10, 20), p == CPoint(10, 2)}));
}

TEST(Geometry, RectAttributesAndConstruction)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ("100|50|1|0|0|0", Join({r.Width(), r.Height(), r.PtInRect(CPoint(10, 20)),
                                      r.PtInRect(CPoint(110, 70)), r.IsRectEmpty(),
                                      r.IsRectNull()}))
        << "right and bottom edges are outside";
    EXPECT_EQ(CSize(100, 50), r.Size());
    EXPECT_EQ(CPoint(10, 20), r.TopLeft());
    EXPECT_EQ(CPoint(110, 70), r.BottomRight());
    EXPECT_EQ(CPoint(60, 45), r.CenterPoint());
    EXPECT_EQ("1|0|1", Join({CRect(5, 5, 5, 10).IsRectEmpty(), CRect(5, 5, 5, 10).IsRectNull(),
                             CRect().IsRectNull()}));

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
}

TEST(Geometry, RectEditsAndOperators)
{
    // Each edit starts from a = (0,0)-(10,10).
    static const RECT edges = { 1, 2, 3, 4 };
    const CRect a(0, 0, 10, 10), b(5, 5, 15, 15);
    const struct
    {
        CRect (*pfnEdit)(CRect r);
        CRect expected;
    } cases[] = {
        {[](CRect r) { r.InflateRect(1, 2); return r; }, CRect(-1, -2, 11, 12)},
        {[](CRect r) { r.DeflateRect(1, 2); return r; }, CRect(1, 2, 9, 8)},
        {[](CRect r) { r.InflateRect(CSize(1, 2)); return r; }, CRect(-1, -2, 11, 12)},
        {[](CRect r) { r.DeflateRect(CSize(1, 2)); return r; }, CRect(1, 2, 9, 8)},
        {[](CRect r) { r.InflateRect(1, 2, 3, 4); return r; }, CRect(-1, -2, 13, 14)},
        {[](CRect r) { r.DeflateRect(1, 2, 3, 4); return r; }, CRect(1, 2, 7, 6)},
        {[](CRect r) { r.InflateRect(&edges); return r; }, CRect(-1, -2, 13, 14)},
        {[](CRect r) { r.DeflateRect(&edges); return r; }, CRect(1, 2, 7, 6)},
        {[](CRect r) { r.OffsetRect(5, -5); return r; }, CRect(5, -5, 15, 5)},
        {[](CRect r) { r.OffsetRect(CPoint(5, -5)); return r; }, CRect(5, -5, 15, 5)},
        {[](CRect r) { r.OffsetRect(CSize(5, -5)); return r; }, CRect(5, -5, 15, 5)},
        {[](CRect r) { r.SetRect(20, 30, 10, 5); r.NormalizeRect(); return r; },
         CRect(10, 5, 20, 30)},
        {[](CRect r) { r.CopyRect(&edges); return r; }, CRect(1, 2, 3, 4)},
        {[](CRect r) { r.SetRectEmpty(); return r; }, CRect(0, 0, 0, 0)},
        {[](CRect r) { return r.MulDiv(3, 2); }, CRect(0, 0, 15, 15)},
        {[](CRect r) { return r & CRect(5, 5, 15, 15); }, CRect(5, 5, 10, 10)},
        {[](CRect r) { return r | CRect(5, 5, 15, 15); }, CRect(0, 0, 15, 15)},
        {[](CRect r) { r &= CRect(5, 5, 15, 15); return r; }, CRect(5, 5, 10, 10)},
        {[](CRect r) { r |= CRect(5, 5, 15, 15); return r; }, CRect(0, 0, 15, 15)},
        {[](CRect r) { return r + CPoint(2, 3); }, CRect(2, 3, 12, 13)},
        {[](CRect r) { return r - CPoint(2, 3); }, CRect(-2, -3, 8, 7)},
        {[](CRect r) { return r + CSize(2, 3); }, CRect(2, 3, 12, 13)},
        {[](CRect r) { return r - CSize(2, 3); }, CRect(-2, -3, 8, 7)},
        {[](CRect r) { return r + &edges; }, CRect(-1, -2, 13, 14)},
        {[](CRect r) { return r - &edges; }, CRect(1, 2, 7, 6)},
        {[](CRect r) { return CSize(2, 3) + &r; }, CRect(2, 3, 12, 13)},
        {[](CRect r) { return CPoint(2, 3) - static_cast<const RECT*>(&r); }, CRect(-2, -3, 8, 7)},
        {[](CRect r) { r += CPoint(2, 3); return r; }, CRect(2, 3, 12, 13)},
        {[](CRect r) { r -= CSize(2, 3); return r; }, CRect(-2, -3, 8, 7)},
        {[](CRect r) { r += &edges; return r; }, CRect(-1, -2, 13, 14)},
        {[](CRect r) { r -= &edges; return r; }, CRect(1, 2, 7, 6)},
        {[](CRect r) { r = edges; return r; }, CRect(1, 2, 3, 4)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, c.pfnEdit(a)) << "edit #" << &c - cases;
    EXPECT_EQ("1|0|1|0", Join({CRect(edges) == edges, CRect(edges) != edges, a != b, a == b}));

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
}
