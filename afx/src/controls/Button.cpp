// Button.cpp - CButton: push buttons, check boxes, radio buttons, owner-draw buttons.
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)

CButton::CButton() {}
CButton::~CButton() {}

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
    UINT nID)
{
    return CWnd::Create(L"BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

UINT CButton::GetState() const { return (UINT)::SendMessageW(m_hWnd, BM_GETSTATE, 0, 0); }
void CButton::SetState(BOOL bHighlight) { ::SendMessageW(m_hWnd, BM_SETSTATE, bHighlight, 0); }
int CButton::GetCheck() const { return (int)::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0); }
void CButton::SetCheck(int nCheck) { ::SendMessageW(m_hWnd, BM_SETCHECK, nCheck, 0); }

UINT CButton::GetButtonStyle() const
{
    // The button's own bits live in the low word; the high word is the window's.
    return (UINT)::GetWindowLongW(m_hWnd, GWL_STYLE) & 0xFFFF;
}

void CButton::SetButtonStyle(UINT nStyle, BOOL bRedraw)
{
    ::SendMessageW(m_hWnd, BM_SETSTYLE, nStyle, bRedraw);
}

HICON CButton::SetIcon(HICON hIcon)
{
    return (HICON)::SendMessageW(m_hWnd, BM_SETIMAGE, IMAGE_ICON, (LPARAM)hIcon);
}

HICON CButton::GetIcon() const { return (HICON)::SendMessageW(m_hWnd, BM_GETIMAGE, IMAGE_ICON, 0); }

HBITMAP CButton::SetBitmap(HBITMAP hBitmap)
{
    return (HBITMAP)::SendMessageW(m_hWnd, BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap);
}

HBITMAP CButton::GetBitmap() const
{
    return (HBITMAP)::SendMessageW(m_hWnd, BM_GETIMAGE, IMAGE_BITMAP, 0);
}

// A button knows bitmaps and icons only; a cursor is an icon to it.
HCURSOR CButton::SetCursor(HCURSOR hCursor)
{
    return (HCURSOR)::SendMessageW(m_hWnd, BM_SETIMAGE, IMAGE_ICON, (LPARAM)hCursor);
}

HCURSOR CButton::GetCursor()
{
    return (HCURSOR)::SendMessageW(m_hWnd, BM_GETIMAGE, IMAGE_ICON, 0);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT)
{
    // An owner-draw button whose class draws nothing shows nothing.
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // A reflection entry in the map comes first; then the overridable.
    if (CWnd::OnChildNotify(message, wParam, lParam, pResult))
        return TRUE;
    if (message != WM_DRAWITEM)
        return FALSE;
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (pResult != NULL)
        *pResult = TRUE;
    return TRUE;
}
