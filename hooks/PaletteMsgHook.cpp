// PaletteMsgHook.cpp - a window's logical palette, realised as the focus and
// the system palette change.
#include "PaletteMsgHook.h"

#include <afxpriv.h>

IMPLEMENT_DYNAMIC(CPaletteMsgHook, CMsgHook)

CPaletteMsgHook::CPaletteMsgHook()
    : m_pPalette(NULL)
{
}

CPaletteMsgHook::~CPaletteMsgHook()
{
}

BOOL CPaletteMsgHook::Install(CWnd* pWnd, CPalette* pPalette)
{
    m_pPalette = pPalette;
    return CMsgHook::Install(pWnd);
}

CPalette* CPaletteMsgHook::GetPalette() const
{
    return m_pPalette;
}

void CPaletteMsgHook::SetPalette(CPalette* pPalette)
{
    m_pPalette = pPalette;
    DoRealizePalette(TRUE);
}

LRESULT CPaletteMsgHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETFOCUS:
        OnSetFocus(CWnd::FromHandle((HWND)wParam));
        return 0;
    case WM_QUERYNEWPALETTE:
        return OnQueryNewPalette();
    case WM_PALETTECHANGED:
        OnPaletteChanged(CWnd::FromHandle((HWND)wParam));
        return 0;
    default:
        return CMsgHook::WindowProc(message, wParam, lParam);
    }
}

int CPaletteMsgHook::DoRealizePalette(BOOL bForeground)
{
    if (m_pWnd == NULL || !::IsWindow(m_pWnd->m_hWnd) || m_pPalette == NULL ||
        m_pPalette->GetSafeHandle() == NULL)
        return 0;

    // Plain handles: this runs inside a window procedure and must not throw.
    HWND hWnd = m_pWnd->m_hWnd;
    HDC hDC = ::GetDC(hWnd);
    if (hDC == NULL)
        return 0;
    HPALETTE hOld = ::SelectPalette(hDC, (HPALETTE)m_pPalette->GetSafeHandle(), !bForeground);
    UINT nChanged = ::RealizePalette(hDC);
    if (hOld != NULL)
        ::SelectPalette(hDC, hOld, TRUE);
    ::ReleaseDC(hWnd, hDC);
    if (nChanged == GDI_ERROR)
        return 0;

    // The window's colours map differently now: it draws itself again.
    if (nChanged > 0) {
        ::InvalidateRect(hWnd, NULL, TRUE);
        ::UpdateWindow(hWnd);
    }
    return (int)nChanged;
}

BOOL CPaletteMsgHook::OnQueryNewPalette()
{
    if (DoRealizePalette(TRUE) > 0)
        return TRUE;
    // A frame lets its active view take the system palette.
    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, m_pWnd);
    if (pFrame != NULL) {
        CFrameWnd* pActiveFrame = pFrame->GetActiveFrame();
        CView* pView = pActiveFrame != NULL ? pActiveFrame->GetActiveView() : NULL;
        if (pView != NULL)
            return pView->SendMessage(WM_QUERYNEWPALETTE) != 0;
    }
    return FALSE;
}

void CPaletteMsgHook::OnPaletteChanged(CWnd* pFocusWnd)
{
    // Our own realisation caused the change: nothing more to do.
    if (m_pWnd == NULL || pFocusWnd->GetSafeHwnd() == m_pWnd->m_hWnd)
        return;
    if (DoRealizePalette(FALSE) == 0 && m_pWnd->GetParent() == NULL) {
        // The children may have palettes of their own to realise.
        const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
        m_pWnd->SendMessageToDescendants(WM_PALETTECHANGED, msg.wParam, msg.lParam, TRUE, FALSE);
    }
}

void CPaletteMsgHook::OnSetFocus(CWnd*)
{
    if (m_pWnd != NULL) {
        m_pWnd->SetForegroundWindow();
        DoRealizePalette(TRUE);
    }
    Default();
}
