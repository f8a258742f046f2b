// ComboBox.cpp - CComboBox: the combo-box control and its owner-draw overridables.
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

CComboBox::CComboBox() {}
CComboBox::~CComboBox() {}

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(L"COMBOBOX", NULL, dwStyle, rect, pParentWnd, nID);
}

namespace {

inline LRESULT Send(HWND hWnd, UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return ::SendMessageW(hWnd, nMsg, wParam, lParam);
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// Attributes

int CComboBox::GetCount() const { return (int)Send(m_hWnd, CB_GETCOUNT); }
int CComboBox::GetCurSel() const { return (int)Send(m_hWnd, CB_GETCURSEL); }
int CComboBox::SetCurSel(int nSelect) { return (int)Send(m_hWnd, CB_SETCURSEL, nSelect); }
LCID CComboBox::GetLocale() const { return (LCID)Send(m_hWnd, CB_GETLOCALE); }
LCID CComboBox::SetLocale(LCID nNewLocale) { return (LCID)Send(m_hWnd, CB_SETLOCALE, nNewLocale); }
int CComboBox::GetTopIndex() const { return (int)Send(m_hWnd, CB_GETTOPINDEX); }
int CComboBox::SetTopIndex(int nIndex) { return (int)Send(m_hWnd, CB_SETTOPINDEX, nIndex); }

int CComboBox::InitStorage(int nItems, UINT nBytes)
{
    return (int)Send(m_hWnd, CB_INITSTORAGE, nItems, nBytes);
}

void CComboBox::SetHorizontalExtent(UINT nExtent) { Send(m_hWnd, CB_SETHORIZONTALEXTENT, nExtent); }
UINT CComboBox::GetHorizontalExtent() const { return (UINT)Send(m_hWnd, CB_GETHORIZONTALEXTENT); }

int CComboBox::SetDroppedWidth(UINT nWidth)
{
    return (int)Send(m_hWnd, CB_SETDROPPEDWIDTH, nWidth);
}

int CComboBox::GetDroppedWidth() const { return (int)Send(m_hWnd, CB_GETDROPPEDWIDTH); }

DWORD CComboBox::GetEditSel() const { return (DWORD)Send(m_hWnd, CB_GETEDITSEL); }
BOOL CComboBox::LimitText(int nMaxChars) { return (BOOL)Send(m_hWnd, CB_LIMITTEXT, nMaxChars); }

BOOL CComboBox::SetEditSel(int nStartChar, int nEndChar)
{
    return (BOOL)Send(m_hWnd, CB_SETEDITSEL, 0, MAKELPARAM(nStartChar, nEndChar));
}

DWORD_PTR CComboBox::GetItemData(int nIndex) const
{
    return (DWORD_PTR)Send(m_hWnd, CB_GETITEMDATA, nIndex);
}

int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    return (int)Send(m_hWnd, CB_SETITEMDATA, nIndex, (LPARAM)dwItemData);
}

void* CComboBox::GetItemDataPtr(int nIndex) const { return (void*)GetItemData(nIndex); }

int CComboBox::SetItemDataPtr(int nIndex, void* pData)
{
    return SetItemData(nIndex, (DWORD_PTR)pData);
}

int CComboBox::GetLBText(int nIndex, LPTSTR lpszText) const
{
    if (lpszText == NULL)
        return CB_ERR;
    return (int)Send(m_hWnd, CB_GETLBTEXT, nIndex, (LPARAM)lpszText);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    rString.Empty();
    int nLen = GetLBTextLen(nIndex);
    if (nLen == CB_ERR)
        return;
    int nGot = GetLBText(nIndex, rString.GetBuffer(nLen));
    rString.ReleaseBuffer(nGot == CB_ERR ? 0 : nGot);
}

int CComboBox::GetLBTextLen(int nIndex) const { return (int)Send(m_hWnd, CB_GETLBTEXTLEN, nIndex); }

int CComboBox::SetItemHeight(int nIndex, UINT cyItemHeight)
{
    return (int)Send(m_hWnd, CB_SETITEMHEIGHT, nIndex, MAKELPARAM(cyItemHeight, 0));
}

int CComboBox::GetItemHeight(int nIndex) const
{
    return (int)Send(m_hWnd, CB_GETITEMHEIGHT, nIndex);
}

int CComboBox::FindStringExact(int nIndexStart, LPCTSTR lpszFind) const
{
    return (int)Send(m_hWnd, CB_FINDSTRINGEXACT, nIndexStart, (LPARAM)lpszFind);
}

int CComboBox::SetExtendedUI(BOOL bExtended)
{
    return (int)Send(m_hWnd, CB_SETEXTENDEDUI, bExtended);
}

BOOL CComboBox::GetExtendedUI() const { return (BOOL)Send(m_hWnd, CB_GETEXTENDEDUI); }

void CComboBox::GetDroppedControlRect(LPRECT lprect) const
{
    Send(m_hWnd, CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)lprect);
}

BOOL CComboBox::GetDroppedState() const { return (BOOL)Send(m_hWnd, CB_GETDROPPEDSTATE); }

/////////////////////////////////////////////////////////////////////////////
// Operations

void CComboBox::ShowDropDown(BOOL bShowIt) { Send(m_hWnd, CB_SHOWDROPDOWN, bShowIt); }

int CComboBox::AddString(LPCTSTR lpszString)
{
    return (int)Send(m_hWnd, CB_ADDSTRING, 0, (LPARAM)lpszString);
}

int CComboBox::DeleteString(UINT nIndex) { return (int)Send(m_hWnd, CB_DELETESTRING, nIndex); }

int CComboBox::InsertString(int nIndex, LPCTSTR lpszString)
{
    return (int)Send(m_hWnd, CB_INSERTSTRING, nIndex, (LPARAM)lpszString);
}

void CComboBox::ResetContent() { Send(m_hWnd, CB_RESETCONTENT); }

int CComboBox::Dir(UINT attr, LPCTSTR lpszWildCard)
{
    return (int)Send(m_hWnd, CB_DIR, attr, (LPARAM)lpszWildCard);
}

int CComboBox::FindString(int nStartAfter, LPCTSTR lpszString) const
{
    return (int)Send(m_hWnd, CB_FINDSTRING, nStartAfter, (LPARAM)lpszString);
}

int CComboBox::SelectString(int nStartAfter, LPCTSTR lpszString)
{
    return (int)Send(m_hWnd, CB_SELECTSTRING, nStartAfter, (LPARAM)lpszString);
}

void CComboBox::Clear() { Send(m_hWnd, WM_CLEAR); }
void CComboBox::Copy() { Send(m_hWnd, WM_COPY); }
void CComboBox::Cut() { Send(m_hWnd, WM_CUT); }
void CComboBox::Paste() { Send(m_hWnd, WM_PASTE); }

/////////////////////////////////////////////////////////////////////////////
// Owner draw: the parent hands the messages back here.

void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CComboBox::DeleteItem(LPDELETEITEMSTRUCT) {}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // A reflection entry in the map comes first; then the overridables.
    if (CWnd::OnChildNotify(message, wParam, lParam, pResult))
        return TRUE;
    LRESULT lResult = TRUE;
    switch (message) {
    case WM_DRAWITEM:
        DrawItem((LPDRAWITEMSTRUCT)lParam);
        break;
    case WM_MEASUREITEM:
        MeasureItem((LPMEASUREITEMSTRUCT)lParam);
        break;
    case WM_COMPAREITEM:
        lResult = CompareItem((LPCOMPAREITEMSTRUCT)lParam);
        break;
    case WM_DELETEITEM:
        DeleteItem((LPDELETEITEMSTRUCT)lParam);
        break;
    default:
        return FALSE;
    }
    if (pResult != NULL)
        *pResult = lResult;
    return TRUE;
}
