// WindowPlacement.cpp - CWindowPlacement: reading, checking and applying a window's
// placement, and its text and archive forms.
#include "WindowPlacement.h"

#include "StringEx.h"
#include "StringTokenizer.h"

#include <stdlib.h>

// The archive record is the platform's structure byte for byte.
static_assert(sizeof(WINDOWPLACEMENT) == 44, "WINDOWPLACEMENT is eleven 32-bit words");

const wchar_t CWindowPlacement::s_chFieldSeparator = L',';

/////////////////////////////////////////////////////////////////////////////
// Construction

CWindowPlacement::CWindowPlacement()
    : m_nDefaultShowCmd(SW_SHOWNORMAL)
{
    memset(static_cast<WINDOWPLACEMENT*>(this), 0, sizeof(WINDOWPLACEMENT));
    length = sizeof(WINDOWPLACEMENT);
}

CWindowPlacement::CWindowPlacement(int nDefaultShowCmd)
    : m_nDefaultShowCmd(nDefaultShowCmd)
{
    memset(static_cast<WINDOWPLACEMENT*>(this), 0, sizeof(WINDOWPLACEMENT));
    length = sizeof(WINDOWPLACEMENT);
}

CWindowPlacement::CWindowPlacement(const CWindowPlacement& other)
    : WINDOWPLACEMENT(other), m_nDefaultShowCmd(other.m_nDefaultShowCmd)
{
}

CWindowPlacement& CWindowPlacement::operator=(const CWindowPlacement& other)
{
    *static_cast<WINDOWPLACEMENT*>(this) = other;
    m_nDefaultShowCmd = other.m_nDefaultShowCmd;
    return *this;
}

/////////////////////////////////////////////////////////////////////////////
// Attributes

int CWindowPlacement::GetDefaultShowCommand() const
{
    return m_nDefaultShowCmd;
}

void CWindowPlacement::SetDefaultShowCommand(int nDefaultShowCmd)
{
    m_nDefaultShowCmd = nDefaultShowCmd;
}

wchar_t CWindowPlacement::GetFieldSeparator()
{
    return s_chFieldSeparator;
}

/////////////////////////////////////////////////////////////////////////////
// Reading and applying

BOOL CWindowPlacement::GetPlacement(CWnd* pWnd)
{
    if (pWnd == NULL || !::IsWindow(pWnd->GetSafeHwnd()))
        return FALSE;
    return pWnd->GetWindowPlacement(this);
}

BOOL CWindowPlacement::SetPlacement(CWnd* pWnd)
{
    if (pWnd == NULL || !::IsWindow(pWnd->GetSafeHwnd()))
        return FALSE;

    // SW_SHOWNORMAL and SW_SHOWDEFAULT ask for nothing in particular: the window
    // comes back as it was saved.
    if (m_nDefaultShowCmd != SW_SHOWNORMAL && m_nDefaultShowCmd != SW_SHOWDEFAULT)
        showCmd = (UINT)m_nDefaultShowCmd;

    const CRect rcNormal(rcNormalPosition);
    if (rcNormal.Width() < 1 || rcNormal.Height() < 1)
        return FALSE;

    // The area the window must meet and fit into, with its origin at (0, 0).
    CRect rcArea;
    const DWORD dwStyle = pWnd->GetStyle();
    if ((dwStyle & WS_CHILD) != 0) {
        CWnd* pParent = CWnd::FromHandle(::GetParent(pWnd->m_hWnd));
        if (pParent == NULL)
            return FALSE;
        pParent->GetClientRect(&rcArea);
    } else {
        RECT rcWork;
        if ((pWnd->GetExStyle() & WS_EX_TOOLWINDOW) == 0
            && ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0)) {
            rcArea.SetRect(0, 0, rcWork.right - rcWork.left, rcWork.bottom - rcWork.top);
        } else {
            rcArea.SetRect(0, 0, ::GetSystemMetrics(SM_CXFULLSCREEN),
                ::GetSystemMetrics(SM_CYFULLSCREEN));
        }
    }

    CRect rcCommon;
    if (!rcCommon.IntersectRect(&rcNormal, &rcArea) || rcNormal.Width() > rcArea.Width()
        || rcNormal.Height() > rcArea.Height())
        return FALSE;

    // A maximised window hides its frame just beyond the screen's edge.
    ptMinPosition.x = ptMinPosition.y = 0;
    if ((dwStyle & WS_THICKFRAME) != 0) {
        ptMaxPosition.x = -::GetSystemMetrics(SM_CXFRAME);
        ptMaxPosition.y = -::GetSystemMetrics(SM_CYFRAME);
    } else if ((dwStyle & WS_DLGFRAME) != 0) {
        ptMaxPosition.x = -::GetSystemMetrics(SM_CXDLGFRAME);
        ptMaxPosition.y = -::GetSystemMetrics(SM_CYDLGFRAME);
    } else if ((dwStyle & WS_BORDER) != 0) {
        ptMaxPosition.x = -::GetSystemMetrics(SM_CXBORDER);
        ptMaxPosition.y = -::GetSystemMetrics(SM_CYBORDER);
    } else {
        ptMaxPosition.x = ptMaxPosition.y = 0;
    }
    return pWnd->SetWindowPlacement(this);
}

/////////////////////////////////////////////////////////////////////////////
// The text form

CString CWindowPlacement::ToString() const
{
    const wchar_t ch = s_chFieldSeparator;
    return CStringEx::Format(L"%d%c%d%c%d%c%d%c%d%c%d", (int)rcNormalPosition.left, ch,
        (int)rcNormalPosition.top, ch, (int)rcNormalPosition.right, ch,
        (int)rcNormalPosition.bottom, ch, (int)flags, ch, (int)showCmd);
}

void CWindowPlacement::FromString(const CString& strText)
{
    CStringTokenizer tokenizer(strText, s_chFieldSeparator);
    length = sizeof(WINDOWPLACEMENT);
    rcNormalPosition.left = GetNextValueAsLong(tokenizer, 0);
    rcNormalPosition.top = GetNextValueAsLong(tokenizer, 0);
    rcNormalPosition.right = GetNextValueAsLong(tokenizer, 0);
    rcNormalPosition.bottom = GetNextValueAsLong(tokenizer, 0);
    flags = GetNextValueAsUInt(tokenizer, 0);
    showCmd = GetNextValueAsUInt(tokenizer, SW_SHOWNORMAL);
    ptMinPosition.x = ptMinPosition.y = 0;
    ptMaxPosition.x = ptMaxPosition.y = 0;
}

long CWindowPlacement::GetNextValueAsLong(CStringTokenizer& tokenizer, long lDefault)
{
    if (!tokenizer.HasMoreTokens())
        return lDefault;
    CString strToken = tokenizer.GetNextToken();
    if (strToken.IsEmpty())
        return lDefault;
    return wcstol(strToken, NULL, 0);
}

UINT CWindowPlacement::GetNextValueAsUInt(CStringTokenizer& tokenizer, UINT nDefault)
{
    if (!tokenizer.HasMoreTokens())
        return nDefault;
    CString strToken = tokenizer.GetNextToken();
    if (strToken.IsEmpty())
        return nDefault;
    return (UINT)wcstoul(strToken, NULL, 0);
}

/////////////////////////////////////////////////////////////////////////////
// The archive form

CArchive& AFXAPI operator<<(CArchive& ar, const CWindowPlacement& placement)
{
    ar.Write(static_cast<const WINDOWPLACEMENT*>(&placement), sizeof(WINDOWPLACEMENT));
    return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, CWindowPlacement& placement)
{
    ar.Read(static_cast<WINDOWPLACEMENT*>(&placement), sizeof(WINDOWPLACEMENT));
    // Only the normal rectangle, the flags and the show state are worth keeping:
    // the other positions belong to the screen the record was written on.
    placement.length = sizeof(WINDOWPLACEMENT);
    placement.ptMinPosition.x = placement.ptMinPosition.y = 0;
    placement.ptMaxPosition.x = placement.ptMaxPosition.y = 0;
    return ar;
}
