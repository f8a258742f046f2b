// DCDraw.cpp - CDC's attributes, coordinates, clipping, drawing, bit blocks and
// text. Queries go to the attribute DC, output to the output DC, settings to both.
#include "afxwin.h"

COLORREF CDC::GetNearestColor(COLORREF crColor) const { return ::GetNearestColor(m_hAttribDC, crColor); }
COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hAttribDC); }
int CDC::GetBkMode() const { return ::GetBkMode(m_hAttribDC); }
COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hAttribDC); }
int CDC::GetROP2() const { return ::GetROP2(m_hAttribDC); }
int CDC::GetStretchBltMode() const { return ::GetStretchBltMode(m_hAttribDC); }
int CDC::GetPolyFillMode() const { return ::GetPolyFillMode(m_hAttribDC); }
int CDC::GetMapMode() const { return ::GetMapMode(m_hAttribDC); }
UINT CDC::GetTextAlign() const { return ::GetTextAlign(m_hAttribDC); }

namespace {

// A setting made on both DCs, answering the output DC's old value when there is
// only one.
template<class R, class F>
R SetBoth(HDC hDC, HDC hAttribDC, F set)
{
    R old = R();
    if (hDC != hAttribDC && hDC != NULL)
        old = set(hDC);
    if (hAttribDC != NULL)
        old = set(hAttribDC);
    return old;
}

} // namespace

int CDC::SetBkMode(int nBkMode)
{
    return SetBoth<int>(m_hDC, m_hAttribDC, [=](HDC h) { return ::SetBkMode(h, nBkMode); });
}

int CDC::SetROP2(int nDrawMode)
{
    return SetBoth<int>(m_hDC, m_hAttribDC, [=](HDC h) { return ::SetROP2(h, nDrawMode); });
}

int CDC::SetStretchBltMode(int nStretchMode)
{
    return SetBoth<int>(m_hDC, m_hAttribDC, [=](HDC h) { return ::SetStretchBltMode(h, nStretchMode); });
}

int CDC::SetPolyFillMode(int nPolyFillMode)
{
    return SetBoth<int>(m_hDC, m_hAttribDC, [=](HDC h) { return ::SetPolyFillMode(h, nPolyFillMode); });
}

UINT CDC::SetTextAlign(UINT nFlags)
{
    return SetBoth<UINT>(m_hDC, m_hAttribDC, [=](HDC h) { return ::SetTextAlign(h, nFlags); });
}

/////////////////////////////////////////////////////////////////////////////
// Coordinates

CPoint CDC::GetViewportOrg() const
{
    POINT point;
    ::GetViewportOrgEx(m_hAttribDC, &point);
    return point;
}

CPoint CDC::SetViewportOrg(POINT point)
{
    return SetViewportOrg(point.x, point.y);
}

CPoint CDC::GetWindowOrg() const
{
    POINT point;
    ::GetWindowOrgEx(m_hAttribDC, &point);
    return point;
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    return SetBoth<CPoint>(m_hDC, m_hAttribDC, [=](HDC h) {
        POINT point;
        ::SetWindowOrgEx(h, x, y, &point);
        return CPoint(point);
    });
}

CPoint CDC::SetWindowOrg(POINT point)
{
    return SetWindowOrg(point.x, point.y);
}

CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight)
{
    return SetBoth<CPoint>(m_hDC, m_hAttribDC, [=](HDC h) {
        POINT point;
        ::OffsetWindowOrgEx(h, nWidth, nHeight, &point);
        return CPoint(point);
    });
}

void CDC::DPtoLP(LPPOINT lpPoints, int nCount) const { ::DPtoLP(m_hAttribDC, lpPoints, nCount); }
void CDC::DPtoLP(LPRECT lpRect) const { ::DPtoLP(m_hAttribDC, (LPPOINT)lpRect, 2); }
void CDC::LPtoDP(LPPOINT lpPoints, int nCount) const { ::LPtoDP(m_hAttribDC, lpPoints, nCount); }
void CDC::LPtoDP(LPRECT lpRect) const { ::LPtoDP(m_hAttribDC, (LPPOINT)lpRect, 2); }

/////////////////////////////////////////////////////////////////////////////
// Clipping

int CDC::SelectClipRgn(CRgn* pRgn)
{
    HRGN hRgn = (HRGN)pRgn->GetSafeHandle();
    return SetBoth<int>(m_hDC, m_hAttribDC, [=](HDC h) { return ::SelectClipRgn(h, hRgn); });
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2)
{
    return SetBoth<int>(m_hDC, m_hAttribDC, [=](HDC h) { return ::ExcludeClipRect(h, x1, y1, x2, y2); });
}

int CDC::ExcludeClipRect(LPCRECT lpRect)
{
    return ExcludeClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2)
{
    return SetBoth<int>(m_hDC, m_hAttribDC, [=](HDC h) { return ::IntersectClipRect(h, x1, y1, x2, y2); });
}

int CDC::IntersectClipRect(LPCRECT lpRect)
{
    return IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

BOOL CDC::PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
BOOL CDC::RectVisible(LPCRECT lpRect) const { return ::RectVisible(m_hDC, lpRect); }

/////////////////////////////////////////////////////////////////////////////
// Lines and shapes

CPoint CDC::GetCurrentPosition() const
{
    POINT point;
    ::GetCurrentPositionEx(m_hAttribDC, &point);
    return point;
}

CPoint CDC::MoveTo(int x, int y)
{
    return SetBoth<CPoint>(m_hDC, m_hAttribDC, [=](HDC h) {
        POINT point;
        ::MoveToEx(h, x, y, &point);
        return CPoint(point);
    });
}

CPoint CDC::MoveTo(POINT point) { return MoveTo(point.x, point.y); }

BOOL CDC::LineTo(int x, int y)
{
    // The attribute DC's position follows the pen too.
    if (m_hAttribDC != NULL && m_hAttribDC != m_hDC)
        ::MoveToEx(m_hAttribDC, x, y, NULL);
    return ::LineTo(m_hDC, x, y);
}

BOOL CDC::LineTo(POINT point) { return LineTo(point.x, point.y); }
BOOL CDC::Polyline(LPPOINT lpPoints, int nCount) { return ::Polyline(m_hDC, lpPoints, nCount); }
BOOL CDC::Polygon(LPPOINT lpPoints, int nCount) { return ::Polygon(m_hDC, lpPoints, nCount); }
BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
BOOL CDC::Rectangle(LPCRECT r) { return ::Rectangle(m_hDC, r->left, r->top, r->right, r->bottom); }
BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) { return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3); }
BOOL CDC::Ellipse(int x1, int y1, int x2, int y2) { return ::Ellipse(m_hDC, x1, y1, x2, y2); }
BOOL CDC::Ellipse(LPCRECT r) { return ::Ellipse(m_hDC, r->left, r->top, r->right, r->bottom); }
void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) { ::FillRect(m_hDC, lpRect, (HBRUSH)pBrush->GetSafeHandle()); }
void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush) { ::FrameRect(m_hDC, lpRect, (HBRUSH)pBrush->GetSafeHandle()); }
void CDC::InvertRect(LPCRECT lpRect) { ::InvertRect(m_hDC, lpRect); }
BOOL CDC::FillRgn(CRgn* pRgn, CBrush* pBrush)
{
    return ::FillRgn(m_hDC, (HRGN)pRgn->GetSafeHandle(), (HBRUSH)pBrush->GetSafeHandle());
}
BOOL CDC::FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight)
{
    return ::FrameRgn(m_hDC, (HRGN)pRgn->GetSafeHandle(), (HBRUSH)pBrush->GetSafeHandle(), nWidth, nHeight);
}
void CDC::DrawFocusRect(LPCRECT lpRect) { ::DrawFocusRect(m_hDC, lpRect); }
BOOL CDC::DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) { return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags); }
BOOL CDC::DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState) { return ::DrawFrameControl(m_hDC, lpRect, nType, nState); }
BOOL CDC::DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
BOOL CDC::DrawIcon(POINT point, HICON hIcon) { return ::DrawIcon(m_hDC, point.x, point.y, hIcon); }
COLORREF CDC::GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
COLORREF CDC::GetPixel(POINT point) const { return ::GetPixel(m_hDC, point.x, point.y); }
COLORREF CDC::SetPixel(int x, int y, COLORREF crColor) { return ::SetPixel(m_hDC, x, y, crColor); }
COLORREF CDC::SetPixel(POINT point, COLORREF crColor) { return ::SetPixel(m_hDC, point.x, point.y, crColor); }

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF crColor)
{
    // An opaque empty text draws a solid rectangle without a brush.
    ::SetBkColor(m_hDC, crColor);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, NULL, 0, NULL);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF crColor)
{
    RECT rect = { x, y, x + cx, y + cy };
    FillSolidRect(&rect, crColor);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
        lpRect->bottom - lpRect->top, clrTopLeft, clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
    FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

/////////////////////////////////////////////////////////////////////////////
// Bit blocks

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop)
{
    return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->GetSafeHdc(), xSrc, ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
    int nSrcWidth, int nSrcHeight, DWORD dwRop)
{
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->GetSafeHdc(), xSrc, ySrc,
        nSrcWidth, nSrcHeight, dwRop);
}

/////////////////////////////////////////////////////////////////////////////
// Text

BOOL CDC::TextOut(int x, int y, const CString& str) { return TextOut(x, y, str, str.GetLength()); }
int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat)
{
    return DrawText(str, str.GetLength(), lpRect, nFormat);
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const
{
    SIZE size = { 0, 0 };
    ::GetTextExtentPoint32W(m_hAttribDC, lpszString, nCount, &size);
    return size;
}

CSize CDC::GetTextExtent(const CString& str) const { return GetTextExtent(str, str.GetLength()); }

CSize CDC::GetOutputTextExtent(LPCTSTR lpszString, int nCount) const
{
    SIZE size = { 0, 0 };
    ::GetTextExtentPoint32W(m_hDC, lpszString, nCount, &size);
    return size;
}

CSize CDC::GetOutputTextExtent(const CString& str) const
{
    return GetOutputTextExtent(str, str.GetLength());
}

BOOL CDC::GetTextMetrics(LPTEXTMETRIC lpMetrics) const { return ::GetTextMetricsW(m_hAttribDC, lpMetrics); }
int CDC::GetTextFace(int nCount, LPTSTR lpszFacename) const { return ::GetTextFaceW(m_hDC, nCount, lpszFacename); }

int CDC::GetTextFace(CString& rString) const
{
    int nResult = ::GetTextFaceW(m_hDC, LF_FACESIZE, rString.GetBuffer(LF_FACESIZE));
    rString.ReleaseBuffer();
    return nResult;
}

BOOL CDC::GrayString(CBrush* pBrush, BOOL (CALLBACK* lpfnOutput)(HDC, LPARAM, int),
    LPARAM lpData, int nCount, int x, int y, int nWidth, int nHeight)
{
    return ::GrayStringW(m_hDC, (HBRUSH)pBrush->GetSafeHandle(), lpfnOutput, lpData, nCount, x,
        y, nWidth, nHeight);
}

/////////////////////////////////////////////////////////////////////////////
// Bounds, brush origin, extents

UINT CDC::SetBoundsRect(LPCRECT lpRectBounds, UINT flags) { return ::SetBoundsRect(m_hDC, lpRectBounds, flags); }
UINT CDC::GetBoundsRect(LPRECT lpRectBounds, UINT flags) { return ::GetBoundsRect(m_hDC, lpRectBounds, flags); }

CPoint CDC::GetBrushOrg() const
{
    POINT point;
    ::GetBrushOrgEx(m_hDC, &point);
    return point;
}

CPoint CDC::SetBrushOrg(int x, int y)
{
    POINT point;
    ::SetBrushOrgEx(m_hDC, x, y, &point);
    return point;
}

CPoint CDC::SetBrushOrg(POINT point) { return SetBrushOrg(point.x, point.y); }

CSize CDC::GetViewportExt() const
{
    SIZE size;
    ::GetViewportExtEx(m_hAttribDC, &size);
    return size;
}

CSize CDC::SetViewportExt(int cx, int cy)
{
    return SetBoth<CSize>(m_hDC, m_hAttribDC, [=](HDC h) {
        SIZE size;
        ::SetViewportExtEx(h, cx, cy, &size);
        return CSize(size);
    });
}

CSize CDC::SetViewportExt(SIZE size) { return SetViewportExt(size.cx, size.cy); }

CSize CDC::ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom)
{
    return SetBoth<CSize>(m_hDC, m_hAttribDC, [=](HDC h) {
        SIZE size;
        ::ScaleViewportExtEx(h, xNum, xDenom, yNum, yDenom, &size);
        return CSize(size);
    });
}

CSize CDC::GetWindowExt() const
{
    SIZE size;
    ::GetWindowExtEx(m_hAttribDC, &size);
    return size;
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    return SetBoth<CSize>(m_hDC, m_hAttribDC, [=](HDC h) {
        SIZE size;
        ::SetWindowExtEx(h, cx, cy, &size);
        return CSize(size);
    });
}

CSize CDC::SetWindowExt(SIZE size) { return SetWindowExt(size.cx, size.cy); }

CSize CDC::ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom)
{
    return SetBoth<CSize>(m_hDC, m_hAttribDC, [=](HDC h) {
        SIZE size;
        ::ScaleWindowExtEx(h, xNum, xDenom, yNum, yDenom, &size);
        return CSize(size);
    });
}

void CDC::DPtoLP(LPSIZE lpSize) const
{
    CSize sizeWnd = GetWindowExt(), sizeVp = GetViewportExt();
    lpSize->cx = ::MulDiv(lpSize->cx, abs(sizeWnd.cx), abs(sizeVp.cx));
    lpSize->cy = ::MulDiv(lpSize->cy, abs(sizeWnd.cy), abs(sizeVp.cy));
}

void CDC::LPtoDP(LPSIZE lpSize) const
{
    CSize sizeWnd = GetWindowExt(), sizeVp = GetViewportExt();
    lpSize->cx = ::MulDiv(lpSize->cx, abs(sizeVp.cx), abs(sizeWnd.cx));
    lpSize->cy = ::MulDiv(lpSize->cy, abs(sizeVp.cy), abs(sizeWnd.cy));
}

namespace {

const int kHimetricPerInch = 2540;

// True for the fixed metric and English modes, whose units the device measures
// itself; MM_TEXT and the scalable modes go by the logical inch.
bool IsFixedMetricMode(int nMapMode)
{
    return nMapMode != MM_TEXT && nMapMode < MM_ISOTROPIC;
}

} // namespace

void CDC::DPtoHIMETRIC(LPSIZE lpSize) const
{
    int nMapMode = GetMapMode();
    if (IsFixedMetricMode(nMapMode)) {
        // The device's own idea of a hundredth of a millimetre.
        CDC* pThis = const_cast<CDC*>(this);
        pThis->SetMapMode(MM_HIMETRIC);
        DPtoLP(lpSize);
        pThis->SetMapMode(nMapMode);
    } else {
        lpSize->cx = ::MulDiv(lpSize->cx, kHimetricPerInch, GetDeviceCaps(LOGPIXELSX));
        lpSize->cy = ::MulDiv(lpSize->cy, kHimetricPerInch, GetDeviceCaps(LOGPIXELSY));
    }
}

void CDC::HIMETRICtoDP(LPSIZE lpSize) const
{
    int nMapMode = GetMapMode();
    if (IsFixedMetricMode(nMapMode)) {
        CDC* pThis = const_cast<CDC*>(this);
        pThis->SetMapMode(MM_HIMETRIC);
        LPtoDP(lpSize);
        pThis->SetMapMode(nMapMode);
    } else {
        lpSize->cx = ::MulDiv(lpSize->cx, GetDeviceCaps(LOGPIXELSX), kHimetricPerInch);
        lpSize->cy = ::MulDiv(lpSize->cy, GetDeviceCaps(LOGPIXELSY), kHimetricPerInch);
    }
}

void CDC::LPtoHIMETRIC(LPSIZE lpSize) const
{
    LPtoDP(lpSize);
    DPtoHIMETRIC(lpSize);
}

void CDC::HIMETRICtoLP(LPSIZE lpSize) const
{
    HIMETRICtoDP(lpSize);
    DPtoLP(lpSize);
}

/////////////////////////////////////////////////////////////////////////////
// More clipping and shapes

int CDC::SelectClipRgn(CRgn* pRgn, int nMode)
{
    HRGN hRgn = (HRGN)pRgn->GetSafeHandle();
    return SetBoth<int>(m_hDC, m_hAttribDC, [=](HDC h) { return ::ExtSelectClipRgn(h, hRgn, nMode); });
}

int CDC::OffsetClipRgn(int x, int y)
{
    return SetBoth<int>(m_hDC, m_hAttribDC, [=](HDC h) { return ::OffsetClipRgn(h, x, y); });
}

int CDC::OffsetClipRgn(SIZE size) { return OffsetClipRgn(size.cx, size.cy); }

BOOL CDC::PolylineTo(const POINT* lpPoints, int nCount) { return ::PolylineTo(m_hDC, lpPoints, nCount); }
BOOL CDC::PolyPolyline(const POINT* lpPoints, const DWORD* lpPolyPoints, int nCount)
{
    return ::PolyPolyline(m_hDC, lpPoints, lpPolyPoints, nCount);
}
BOOL CDC::PolyBezier(const POINT* lpPoints, int nCount) { return ::PolyBezier(m_hDC, lpPoints, nCount); }
BOOL CDC::PolyBezierTo(const POINT* lpPoints, int nCount) { return ::PolyBezierTo(m_hDC, lpPoints, nCount); }

BOOL CDC::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    return ::Arc(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
}

BOOL CDC::Arc(LPCRECT r, POINT ptStart, POINT ptEnd)
{
    return ::Arc(m_hDC, r->left, r->top, r->right, r->bottom, ptStart.x, ptStart.y, ptEnd.x, ptEnd.y);
}

BOOL CDC::ArcTo(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    BOOL bResult = ::ArcTo(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
    // The attribute DC's position follows the pen, as with LineTo.
    if (m_hAttribDC != NULL && m_hAttribDC != m_hDC) {
        POINT point;
        ::GetCurrentPositionEx(m_hDC, &point);
        ::MoveToEx(m_hAttribDC, point.x, point.y, NULL);
    }
    return bResult;
}

BOOL CDC::ArcTo(LPCRECT r, POINT ptStart, POINT ptEnd)
{
    return ArcTo(r->left, r->top, r->right, r->bottom, ptStart.x, ptStart.y, ptEnd.x, ptEnd.y);
}

BOOL CDC::AngleArc(int x, int y, int nRadius, float fStartAngle, float fSweepAngle)
{
    return ::AngleArc(m_hDC, x, y, (DWORD)nRadius, fStartAngle, fSweepAngle);
}

BOOL CDC::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    return ::Chord(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
}

BOOL CDC::Chord(LPCRECT r, POINT ptStart, POINT ptEnd)
{
    return ::Chord(m_hDC, r->left, r->top, r->right, r->bottom, ptStart.x, ptStart.y, ptEnd.x, ptEnd.y);
}

BOOL CDC::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    return ::Pie(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
}

BOOL CDC::Pie(LPCRECT r, POINT ptStart, POINT ptEnd)
{
    return ::Pie(m_hDC, r->left, r->top, r->right, r->bottom, ptStart.x, ptStart.y, ptEnd.x, ptEnd.y);
}

BOOL CDC::PolyPolygon(LPPOINT lpPoints, LPINT lpPolyCounts, int nCount)
{
    return ::PolyPolygon(m_hDC, lpPoints, lpPolyCounts, nCount);
}

BOOL CDC::FloodFill(int x, int y, COLORREF crColor) { return ::FloodFill(m_hDC, x, y, crColor); }
BOOL CDC::ExtFloodFill(int x, int y, COLORREF crColor, UINT nFillType)
{
    return ::ExtFloodFill(m_hDC, x, y, crColor, nFillType);
}
BOOL CDC::PaintRgn(CRgn* pRgn) { return ::PaintRgn(m_hDC, (HRGN)pRgn->GetSafeHandle()); }
BOOL CDC::InvertRgn(CRgn* pRgn) { return ::InvertRgn(m_hDC, (HRGN)pRgn->GetSafeHandle()); }

/////////////////////////////////////////////////////////////////////////////
// More bit blocks

BOOL CDC::MaskBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
    CBitmap& maskBitmap, int xMask, int yMask, DWORD dwRop)
{
    return ::MaskBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->GetSafeHdc(), xSrc, ySrc,
        (HBITMAP)maskBitmap.GetSafeHandle(), xMask, yMask, dwRop);
}

BOOL CDC::PlgBlt(LPPOINT lpPoint, CDC* pSrcDC, int xSrc, int ySrc, int nWidth, int nHeight,
    CBitmap& maskBitmap, int xMask, int yMask)
{
    return ::PlgBlt(m_hDC, lpPoint, pSrcDC->GetSafeHdc(), xSrc, ySrc, nWidth, nHeight,
        (HBITMAP)maskBitmap.GetSafeHandle(), xMask, yMask);
}

BOOL CDC::ScrollDC(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* pRgnUpdate,
    LPRECT lpRectUpdate)
{
    return ::ScrollDC(m_hDC, dx, dy, lpRectScroll, lpRectClip, (HRGN)pRgnUpdate->GetSafeHandle(),
        lpRectUpdate);
}

/////////////////////////////////////////////////////////////////////////////
// More text

CSize CDC::TabbedTextOut(int x, int y, LPCTSTR lpszString, int nCount, int nTabPositions,
    LPINT lpnTabStopPositions, int nTabOrigin)
{
    // The platform packs the extent into one LONG: width low, height high.
    LONG lExtent = ::TabbedTextOutW(m_hDC, x, y, lpszString, nCount, nTabPositions,
        lpnTabStopPositions, nTabOrigin);
    return CSize(LOWORD(lExtent), HIWORD(lExtent));
}

CSize CDC::TabbedTextOut(int x, int y, const CString& str, int nTabPositions,
    LPINT lpnTabStopPositions, int nTabOrigin)
{
    return TabbedTextOut(x, y, str, str.GetLength(), nTabPositions, lpnTabStopPositions, nTabOrigin);
}

namespace {

CSize TabbedExtent(HDC hDC, LPCTSTR lpszString, int nCount, int nTabPositions, LPINT lpnTabStops)
{
    DWORD dwExtent = ::GetTabbedTextExtentW(hDC, lpszString, nCount, nTabPositions, lpnTabStops);
    return CSize(LOWORD(dwExtent), HIWORD(dwExtent));
}

} // namespace

CSize CDC::GetTabbedTextExtent(LPCTSTR lpszString, int nCount, int nTabPositions,
    LPINT lpnTabStopPositions) const
{
    return TabbedExtent(m_hAttribDC, lpszString, nCount, nTabPositions, lpnTabStopPositions);
}

CSize CDC::GetTabbedTextExtent(const CString& str, int nTabPositions, LPINT lpnTabStopPositions) const
{
    return TabbedExtent(m_hAttribDC, str, str.GetLength(), nTabPositions, lpnTabStopPositions);
}

CSize CDC::GetOutputTabbedTextExtent(LPCTSTR lpszString, int nCount, int nTabPositions,
    LPINT lpnTabStopPositions) const
{
    return TabbedExtent(m_hDC, lpszString, nCount, nTabPositions, lpnTabStopPositions);
}

CSize CDC::GetOutputTabbedTextExtent(const CString& str, int nTabPositions,
    LPINT lpnTabStopPositions) const
{
    return TabbedExtent(m_hDC, str, str.GetLength(), nTabPositions, lpnTabStopPositions);
}

BOOL CDC::GetOutputTextMetrics(LPTEXTMETRIC lpMetrics) const { return ::GetTextMetricsW(m_hDC, lpMetrics); }
BOOL CDC::GetCharWidth(UINT nFirstChar, UINT nLastChar, LPINT lpBuffer) const
{
    return ::GetCharWidthW(m_hAttribDC, nFirstChar, nLastChar, lpBuffer);
}
BOOL CDC::GetOutputCharWidth(UINT nFirstChar, UINT nLastChar, LPINT lpBuffer) const
{
    return ::GetCharWidthW(m_hDC, nFirstChar, nLastChar, lpBuffer);
}

int CDC::SetTextJustification(int nBreakExtra, int nBreakCount)
{
    return SetBoth<int>(m_hDC, m_hAttribDC,
        [=](HDC h) { return ::SetTextJustification(h, nBreakExtra, nBreakCount); });
}

int CDC::GetTextCharacterExtra() const { return ::GetTextCharacterExtra(m_hAttribDC); }

int CDC::SetTextCharacterExtra(int nCharExtra)
{
    return SetBoth<int>(m_hDC, m_hAttribDC, [=](HDC h) { return ::SetTextCharacterExtra(h, nCharExtra); });
}

BOOL CDC::GetCharABCWidths(UINT nFirstChar, UINT nLastChar, LPABC lpabc) const
{
    return ::GetCharABCWidthsW(m_hAttribDC, nFirstChar, nLastChar, lpabc);
}

UINT CDC::GetOutlineTextMetrics(UINT cbData, LPOUTLINETEXTMETRIC lpotm) const
{
    return ::GetOutlineTextMetricsW(m_hAttribDC, cbData, lpotm);
}

DWORD CDC::GetKerningPairs(DWORD nPairs, LPKERNINGPAIR lpkrnpair) const
{
    return ::GetKerningPairsW(m_hAttribDC, nPairs, lpkrnpair);
}

DWORD CDC::SetMapperFlags(DWORD dwFlag)
{
    return SetBoth<DWORD>(m_hDC, m_hAttribDC, [=](HDC h) { return ::SetMapperFlags(h, dwFlag); });
}

CSize CDC::GetAspectRatioFilter() const
{
    SIZE size;
    ::GetAspectRatioFilterEx(m_hAttribDC, &size);
    return size;
}

/////////////////////////////////////////////////////////////////////////////
// Arc direction and states

int CDC::GetArcDirection() const { return ::GetArcDirection(m_hAttribDC); }

int CDC::SetArcDirection(int nArcDirection)
{
    return SetBoth<int>(m_hDC, m_hAttribDC, [=](HDC h) { return ::SetArcDirection(h, nArcDirection); });
}

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush)
{
    return ::DrawStateW(m_hDC, hBrush, NULL, (LPARAM)hBitmap, 0, pt.x, pt.y, size.cx, size.cy,
        nFlags | DST_BITMAP);
}

BOOL CDC::DrawState(CPoint pt, CSize size, CBitmap* pBitmap, UINT nFlags, CBrush* pBrush)
{
    return DrawState(pt, size, (HBITMAP)pBitmap->GetSafeHandle(), nFlags,
        (HBRUSH)pBrush->GetSafeHandle());
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush)
{
    return ::DrawStateW(m_hDC, hBrush, NULL, (LPARAM)hIcon, 0, pt.x, pt.y, size.cx, size.cy,
        nFlags | DST_ICON);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, CBrush* pBrush)
{
    return DrawState(pt, size, hIcon, nFlags, (HBRUSH)pBrush->GetSafeHandle());
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText,
    int nTextLen, HBRUSH hBrush)
{
    return ::DrawStateW(m_hDC, hBrush, NULL, (LPARAM)lpszText, (WPARAM)nTextLen, pt.x, pt.y,
        size.cx, size.cy, nFlags | (bPrefixText ? DST_PREFIXTEXT : DST_TEXT));
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText,
    int nTextLen, CBrush* pBrush)
{
    return DrawState(pt, size, lpszText, nFlags, bPrefixText, nTextLen,
        (HBRUSH)pBrush->GetSafeHandle());
}

/////////////////////////////////////////////////////////////////////////////
// Paths: built on the output DC, where the drawing goes

BOOL CDC::BeginPath() { return ::BeginPath(m_hDC); }
BOOL CDC::EndPath() { return ::EndPath(m_hDC); }
BOOL CDC::AbortPath() { return ::AbortPath(m_hDC); }
BOOL CDC::CloseFigure() { return ::CloseFigure(m_hDC); }
BOOL CDC::FillPath() { return ::FillPath(m_hDC); }
BOOL CDC::StrokePath() { return ::StrokePath(m_hDC); }
BOOL CDC::StrokeAndFillPath() { return ::StrokeAndFillPath(m_hDC); }
BOOL CDC::FlattenPath() { return ::FlattenPath(m_hDC); }
BOOL CDC::WidenPath() { return ::WidenPath(m_hDC); }
int CDC::GetPath(LPPOINT lpPoints, LPBYTE lpTypes, int nCount) const { return ::GetPath(m_hDC, lpPoints, lpTypes, nCount); }
BOOL CDC::SelectClipPath(int nMode) { return ::SelectClipPath(m_hDC, nMode); }

float CDC::GetMiterLimit() const
{
    float fMiterLimit = 0;
    ::GetMiterLimit(m_hDC, &fMiterLimit);
    return fMiterLimit;
}

BOOL CDC::SetMiterLimit(float fMiterLimit)
{
    return SetBoth<BOOL>(m_hDC, m_hAttribDC, [=](HDC h) { return ::SetMiterLimit(h, fMiterLimit, NULL); });
}
