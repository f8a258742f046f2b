// afxgeom_.h - the geometry helpers over the Win32 structures.
//
//   CSize    extent (SIZE): cx, cy
//   CPoint   position (POINT): x, y
//   CRect    rectangle (RECT): left, top, right, bottom
//
// Each derives from its Win32 structure and adds nothing to its layout, so a CRect
// is a RECT, a CRect* an LPRECT, and so on. All of it is inline. Included by afxwin.h.
#pragma once

#include "afx.h"

class CSize;
class CPoint;
class CRect;

/////////////////////////////////////////////////////////////////////////////
// CSize

class CSize : public tagSIZE
{
public:
// Constructors
    CSize() { cx = 0; cy = 0; }   // MFC leaves these uninitialized; zero is kinder
    CSize(int initCX, int initCY) { cx = initCX; cy = initCY; }
    CSize(SIZE initSize) { cx = initSize.cx; cy = initSize.cy; }
    CSize(POINT initPt) { cx = initPt.x; cy = initPt.y; }
    // Low word cx, high word cy, both signed (as GetTextExtent-style results pack them).
    CSize(DWORD dwSize) { cx = (short)LOWORD(dwSize); cy = (short)HIWORD(dwSize); }

// Operations
    BOOL operator==(SIZE size) const { return cx == size.cx && cy == size.cy; }
    BOOL operator!=(SIZE size) const { return cx != size.cx || cy != size.cy; }
    void operator+=(SIZE size) { cx += size.cx; cy += size.cy; }
    void operator-=(SIZE size) { cx -= size.cx; cy -= size.cy; }

// Operators returning CSize values
    CSize operator+(SIZE size) const { return CSize(cx + size.cx, cy + size.cy); }
    CSize operator-(SIZE size) const { return CSize(cx - size.cx, cy - size.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }

// Operators returning CPoint values
    inline CPoint operator+(POINT point) const;
    inline CPoint operator-(POINT point) const;

// Operators returning CRect values
    inline CRect operator+(const RECT* lpRect) const;
    inline CRect operator-(const RECT* lpRect) const;
};

/////////////////////////////////////////////////////////////////////////////
// CPoint

class CPoint : public tagPOINT
{
public:
// Constructors
    CPoint() { x = 0; y = 0; }     // MFC leaves these uninitialized; zero is kinder
    CPoint(int initX, int initY) { x = initX; y = initY; }
    CPoint(POINT initPt) { x = initPt.x; y = initPt.y; }
    CPoint(SIZE initSize) { x = initSize.cx; y = initSize.cy; }
    // Low word x, high word y, both signed (the packing of message coordinates).
    CPoint(DWORD dwPoint) { x = (short)LOWORD(dwPoint); y = (short)HIWORD(dwPoint); }

// Operations
    void Offset(int xOffset, int yOffset) { x += xOffset; y += yOffset; }
    void Offset(POINT point) { x += point.x; y += point.y; }
    void Offset(SIZE size) { x += size.cx; y += size.cy; }
    BOOL operator==(POINT point) const { return x == point.x && y == point.y; }
    BOOL operator!=(POINT point) const { return x != point.x || y != point.y; }
    void operator+=(SIZE size) { x += size.cx; y += size.cy; }
    void operator-=(SIZE size) { x -= size.cx; y -= size.cy; }
    void operator+=(POINT point) { x += point.x; y += point.y; }
    void operator-=(POINT point) { x -= point.x; y -= point.y; }

// Operators returning CPoint values
    CPoint operator+(SIZE size) const { return CPoint(x + size.cx, y + size.cy); }
    CPoint operator-(SIZE size) const { return CPoint(x - size.cx, y - size.cy); }
    CPoint operator-() const { return CPoint(-x, -y); }
    CPoint operator+(POINT point) const { return CPoint(x + point.x, y + point.y); }

// Operators returning CSize values
    CSize operator-(POINT point) const { return CSize(x - point.x, y - point.y); }

// Operators returning CRect values
    inline CRect operator+(const RECT* lpRect) const;
    inline CRect operator-(const RECT* lpRect) const;
};

/////////////////////////////////////////////////////////////////////////////
// CRect

class CRect : public tagRECT
{
public:
// Constructors
    CRect() { left = top = right = bottom = 0; }   // MFC leaves these uninitialized
    CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& srcRect) { ::CopyRect(this, &srcRect); }
    CRect(LPCRECT lpSrcRect) { ::CopyRect(this, lpSrcRect); }
    CRect(POINT point, SIZE size)
        { left = point.x; top = point.y; right = point.x + size.cx; bottom = point.y + size.cy; }
    CRect(POINT topLeft, POINT bottomRight)
        { left = topLeft.x; top = topLeft.y; right = bottomRight.x; bottom = bottomRight.y; }

// Attributes (in addition to the RECT members)
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(right - left, bottom - top); }
    // The corners as points that alias the rectangle's own members.
    CPoint& TopLeft() { return *((CPoint*)this); }
    CPoint& BottomRight() { return *((CPoint*)this + 1); }
    const CPoint& TopLeft() const { return *((const CPoint*)this); }
    const CPoint& BottomRight() const { return *((const CPoint*)this + 1); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

    // Convert between CRect and LPRECT/LPCRECT (no need for &)
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }     // no area
    BOOL IsRectNull() const { return left == 0 && right == 0 && top == 0 && bottom == 0; }
    BOOL PtInRect(POINT point) const { return ::PtInRect(this, point); }

// Operations
    void SetRect(int x1, int y1, int x2, int y2) { ::SetRect(this, x1, y1, x2, y2); }
    void SetRectEmpty() { ::SetRectEmpty(this); }
    void CopyRect(LPCRECT lpSrcRect) { ::CopyRect(this, lpSrcRect); }
    BOOL EqualRect(LPCRECT lpRect) const { return ::EqualRect(this, lpRect); }

    void InflateRect(int x, int y) { ::InflateRect(this, x, y); }
    void InflateRect(SIZE size) { ::InflateRect(this, size.cx, size.cy); }
    void InflateRect(LPCRECT lpRect)
        { left -= lpRect->left; top -= lpRect->top; right += lpRect->right; bottom += lpRect->bottom; }
    void InflateRect(int l, int t, int r, int b)
        { left -= l; top -= t; right += r; bottom += b; }
    void DeflateRect(int x, int y) { ::InflateRect(this, -x, -y); }
    void DeflateRect(SIZE size) { ::InflateRect(this, -size.cx, -size.cy); }
    void DeflateRect(LPCRECT lpRect)
        { left += lpRect->left; top += lpRect->top; right -= lpRect->right; bottom -= lpRect->bottom; }
    void DeflateRect(int l, int t, int r, int b)
        { left += l; top += t; right -= r; bottom -= b; }

    void OffsetRect(int x, int y) { ::OffsetRect(this, x, y); }
    void OffsetRect(SIZE size) { ::OffsetRect(this, size.cx, size.cy); }
    void OffsetRect(POINT point) { ::OffsetRect(this, point.x, point.y); }
    // Swaps the edges where needed so that width and height are not negative.
    void NormalizeRect()
    {
        LONG n;
        if (left > right) { n = left; left = right; right = n; }
        if (top > bottom) { n = top; top = bottom; bottom = n; }
    }

    // The results are empty (all zero) when there is nothing in common or to keep.
    BOOL IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2)
        { return ::IntersectRect(this, lpRect1, lpRect2); }
    BOOL UnionRect(LPCRECT lpRect1, LPCRECT lpRect2)
        { return ::UnionRect(this, lpRect1, lpRect2); }
    BOOL SubtractRect(LPCRECT lpRectSrc1, LPCRECT lpRectSrc2)
        { return ::SubtractRect(this, lpRectSrc1, lpRectSrc2); }

// Additional operations
    void operator=(const RECT& srcRect) { ::CopyRect(this, &srcRect); }
    BOOL operator==(const RECT& rect) const { return ::EqualRect(this, &rect); }
    BOOL operator!=(const RECT& rect) const { return !::EqualRect(this, &rect); }
    void operator+=(POINT point) { ::OffsetRect(this, point.x, point.y); }
    void operator+=(SIZE size) { ::OffsetRect(this, size.cx, size.cy); }
    void operator+=(LPCRECT lpRect) { InflateRect(lpRect); }
    void operator-=(POINT point) { ::OffsetRect(this, -point.x, -point.y); }
    void operator-=(SIZE size) { ::OffsetRect(this, -size.cx, -size.cy); }
    void operator-=(LPCRECT lpRect) { DeflateRect(lpRect); }
    void operator&=(const RECT& rect) { ::IntersectRect(this, this, &rect); }
    void operator|=(const RECT& rect) { ::UnionRect(this, this, &rect); }

// Operators returning CRect values
    CRect operator+(POINT point) const
        { CRect rect(*this); ::OffsetRect(&rect, point.x, point.y); return rect; }
    CRect operator-(POINT point) const
        { CRect rect(*this); ::OffsetRect(&rect, -point.x, -point.y); return rect; }
    CRect operator+(LPCRECT lpRect) const
        { CRect rect(this); rect.InflateRect(lpRect); return rect; }
    CRect operator-(LPCRECT lpRect) const
        { CRect rect(this); rect.DeflateRect(lpRect); return rect; }
    // A plain RECT* would otherwise make "rect - &other" look like a pointer difference.
    CRect operator-(LPRECT lpRect) const { return operator-((LPCRECT)lpRect); }
    CRect operator+(SIZE size) const
        { CRect rect(*this); ::OffsetRect(&rect, size.cx, size.cy); return rect; }
    CRect operator-(SIZE size) const
        { CRect rect(*this); ::OffsetRect(&rect, -size.cx, -size.cy); return rect; }
    CRect operator&(const RECT& rect2) const
        { CRect rect; ::IntersectRect(&rect, this, &rect2); return rect; }
    CRect operator|(const RECT& rect2) const
        { CRect rect; ::UnionRect(&rect, this, &rect2); return rect; }

    // Every coordinate scaled by nMultiplier / nDivisor, rounded.
    CRect MulDiv(int nMultiplier, int nDivisor) const
    {
        return CRect(::MulDiv(left, nMultiplier, nDivisor), ::MulDiv(top, nMultiplier, nDivisor),
                     ::MulDiv(right, nMultiplier, nDivisor), ::MulDiv(bottom, nMultiplier, nDivisor));
    }
};

/////////////////////////////////////////////////////////////////////////////
// Operators that needed the later classes

inline CPoint CSize::operator+(POINT point) const
    { return CPoint(cx + point.x, cy + point.y); }
inline CPoint CSize::operator-(POINT point) const
    { return CPoint(cx - point.x, cy - point.y); }
inline CRect CSize::operator+(const RECT* lpRect) const
    { return CRect(lpRect) + *this; }
inline CRect CSize::operator-(const RECT* lpRect) const
    { return CRect(lpRect) - *this; }
inline CRect CPoint::operator+(const RECT* lpRect) const
    { return CRect(lpRect) + *this; }
inline CRect CPoint::operator-(const RECT* lpRect) const
    { return CRect(lpRect) - *this; }
