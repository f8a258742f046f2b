// ListBox.cpp - CListBox: the list-box control and its owner-draw overridables.
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CListBox, CWnd)

CListBox::CListBox() {}
CListBox::~CListBox() {}

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(L"LISTBOX", NULL, dwStyle, rect, pParentWnd, nID);
}

namespace {

inline LRESULT Send(HWND hWnd, UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return ::SendMessageW(hWnd, nMsg, wParam, lParam);
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// Attributes

int CListBox::GetCount() const { return (int)Send(m_hWnd, LB_GETCOUNT); }
int CListBox::GetHorizontalExtent() const { return (int)Send(m_hWnd, LB_GETHORIZONTALEXTENT); }
void CListBox::SetHorizontalExtent(int cxExtent) { Send(m_hWnd, LB_SETHORIZONTALEXTENT, cxExtent); }
int CListBox::GetTopIndex() const { return (int)Send(m_hWnd, LB_GETTOPINDEX); }
int CListBox::SetTopIndex(int nIndex) { return (int)Send(m_hWnd, LB_SETTOPINDEX, nIndex); }
LCID CListBox::GetLocale() const { return (LCID)Send(m_hWnd, LB_GETLOCALE); }
LCID CListBox::SetLocale(LCID nNewLocale) { return (LCID)Send(m_hWnd, LB_SETLOCALE, nNewLocale); }

int CListBox::InitStorage(int nItems, UINT nBytes)
{
    return (int)Send(m_hWnd, LB_INITSTORAGE, nItems, nBytes);
}

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const
{
    DWORD dw = (DWORD)Send(m_hWnd, LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
    bOutside = HIWORD(dw) != 0;
    return LOWORD(dw);
}

int CListBox::GetCurSel() const { return (int)Send(m_hWnd, LB_GETCURSEL); }
int CListBox::SetCurSel(int nSelect) { return (int)Send(m_hWnd, LB_SETCURSEL, nSelect); }
int CListBox::GetSel(int nIndex) const { return (int)Send(m_hWnd, LB_GETSEL, nIndex); }

int CListBox::SetSel(int nIndex, BOOL bSelect)
{
    return (int)Send(m_hWnd, LB_SETSEL, bSelect, nIndex);
}

int CListBox::GetSelCount() const { return (int)Send(m_hWnd, LB_GETSELCOUNT); }

int CListBox::GetSelItems(int nMaxItems, LPINT rgIndex) const
{
    if (nMaxItems < 0 || (nMaxItems > 0 && rgIndex == NULL))
        return LB_ERR;
    return (int)Send(m_hWnd, LB_GETSELITEMS, nMaxItems, (LPARAM)rgIndex);
}

void CListBox::SetAnchorIndex(int nIndex) { Send(m_hWnd, LB_SETANCHORINDEX, nIndex); }
int CListBox::GetAnchorIndex() const { return (int)Send(m_hWnd, LB_GETANCHORINDEX); }

DWORD_PTR CListBox::GetItemData(int nIndex) const
{
    return (DWORD_PTR)Send(m_hWnd, LB_GETITEMDATA, nIndex);
}

int CListBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    return (int)Send(m_hWnd, LB_SETITEMDATA, nIndex, (LPARAM)dwItemData);
}

void* CListBox::GetItemDataPtr(int nIndex) const { return (void*)GetItemData(nIndex); }

int CListBox::SetItemDataPtr(int nIndex, void* pData)
{
    return SetItemData(nIndex, (DWORD_PTR)pData);
}

int CListBox::GetItemRect(int nIndex, LPRECT lpRect) const
{
    return (int)Send(m_hWnd, LB_GETITEMRECT, nIndex, (LPARAM)lpRect);
}

int CListBox::GetText(int nIndex, LPTSTR lpszBuffer) const
{
    if (lpszBuffer == NULL)
        return LB_ERR;
    return (int)Send(m_hWnd, LB_GETTEXT, nIndex, (LPARAM)lpszBuffer);
}

void CListBox::GetText(int nIndex, CString& rString) const
{
    rString.Empty();
    int nLen = GetTextLen(nIndex);
    if (nLen == LB_ERR)
        return;
    int nGot = GetText(nIndex, rString.GetBuffer(nLen));
    rString.ReleaseBuffer(nGot == LB_ERR ? 0 : nGot);
}

int CListBox::GetTextLen(int nIndex) const { return (int)Send(m_hWnd, LB_GETTEXTLEN, nIndex); }

void CListBox::SetColumnWidth(int cxWidth) { Send(m_hWnd, LB_SETCOLUMNWIDTH, cxWidth); }

BOOL CListBox::SetTabStops(int nTabStops, LPINT rgTabStops)
{
    if (nTabStops < 0 || (nTabStops > 0 && rgTabStops == NULL))
        return FALSE;
    return (BOOL)Send(m_hWnd, LB_SETTABSTOPS, nTabStops, (LPARAM)rgTabStops);
}

void CListBox::SetTabStops() { SetTabStops(0, NULL); }
BOOL CListBox::SetTabStops(const int& cxEachStop) { return SetTabStops(1, (LPINT)&cxEachStop); }

int CListBox::SetItemHeight(int nIndex, UINT cyItemHeight)
{
    return (int)Send(m_hWnd, LB_SETITEMHEIGHT, nIndex, MAKELPARAM(cyItemHeight, 0));
}

int CListBox::GetItemHeight(int nIndex) const
{
    return (int)Send(m_hWnd, LB_GETITEMHEIGHT, nIndex);
}

int CListBox::FindStringExact(int nIndexStart, LPCTSTR lpszFind) const
{
    return (int)Send(m_hWnd, LB_FINDSTRINGEXACT, nIndexStart, (LPARAM)lpszFind);
}

int CListBox::GetCaretIndex() const { return (int)Send(m_hWnd, LB_GETCARETINDEX); }

int CListBox::SetCaretIndex(int nIndex, BOOL bScroll)
{
    // Non-zero lets the item end up only partly visible, zero scrolls it fully in.
    return (int)Send(m_hWnd, LB_SETCARETINDEX, nIndex, MAKELONG(bScroll, 0));
}

/////////////////////////////////////////////////////////////////////////////
// Operations

int CListBox::AddString(LPCTSTR lpszItem)
{
    return (int)Send(m_hWnd, LB_ADDSTRING, 0, (LPARAM)lpszItem);
}

int CListBox::DeleteString(UINT nIndex) { return (int)Send(m_hWnd, LB_DELETESTRING, nIndex); }

int CListBox::InsertString(int nIndex, LPCTSTR lpszItem)
{
    return (int)Send(m_hWnd, LB_INSERTSTRING, nIndex, (LPARAM)lpszItem);
}

void CListBox::ResetContent() { Send(m_hWnd, LB_RESETCONTENT); }

int CListBox::Dir(UINT attr, LPCTSTR lpszWildCard)
{
    return (int)Send(m_hWnd, LB_DIR, attr, (LPARAM)lpszWildCard);
}

int CListBox::FindString(int nStartAfter, LPCTSTR lpszItem) const
{
    return (int)Send(m_hWnd, LB_FINDSTRING, nStartAfter, (LPARAM)lpszItem);
}

int CListBox::SelectString(int nStartAfter, LPCTSTR lpszItem)
{
    return (int)Send(m_hWnd, LB_SELECTSTRING, nStartAfter, (LPARAM)lpszItem);
}

int CListBox::SelItemRange(BOOL bSelect, int nFirstItem, int nLastItem)
{
    if (nFirstItem < 0 || nLastItem < nFirstItem)
        return LB_ERR;
    if (bSelect)
        return (int)Send(m_hWnd, LB_SELITEMRANGEEX, nFirstItem, nLastItem);
    // The message deselects when the range runs backwards; a range of one item
    // cannot run backwards.
    if (nFirstItem == nLastItem)
        return SetSel(nFirstItem, FALSE);
    return (int)Send(m_hWnd, LB_SELITEMRANGEEX, nLastItem, nFirstItem);
}

/////////////////////////////////////////////////////////////////////////////
// Owner draw: the parent hands the messages back here.

void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CListBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CListBox::DeleteItem(LPDELETEITEMSTRUCT) {}
int CListBox::VKeyToItem(UINT, UINT) { return -1; }
int CListBox::CharToItem(UINT, UINT) { return -1; }

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
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
    case WM_VKEYTOITEM:
        lResult = VKeyToItem(LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_CHARTOITEM:
        lResult = CharToItem(LOWORD(wParam), HIWORD(wParam));
        break;
    default:
        return FALSE;
    }
    if (pResult != NULL)
        *pResult = lResult;
    return TRUE;
}
