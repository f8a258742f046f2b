// CheckListBox.cpp - CCheckListBox: an owner-draw list box with a check box per item.
//
// Each item's data is a record of this list (check state, enabled flag and the
// caller's own data). The list-box messages that carry item data are answered
// here, so that GetItemData, SetItemData and the owner-draw overridables see the
// caller's data and never the record.
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CCheckListBox, CListBox)

struct CCheckListBox::CheckData
{
    int m_nCheck;
    BOOL m_bEnabled;
    DWORD_PTR m_dwUserData;
};

namespace {

const int kCheckMargin = 2;     // pixels left and right of the box

BOOL HasStrings(HWND hWnd)
{
    return (::GetWindowLongW(hWnd, GWL_STYLE) & LBS_HASSTRINGS) != 0;
}

BOOL IsFixed(HWND hWnd)
{
    return (::GetWindowLongW(hWnd, GWL_STYLE) & LBS_OWNERDRAWFIXED) != 0;
}

BOOL IsMultipleSel(HWND hWnd)
{
    return (::GetWindowLongW(hWnd, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

} // namespace

BEGIN_MESSAGE_MAP(CCheckListBox, CListBox)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_MESSAGE(WM_SETFONT, OnSetFont)
    ON_MESSAGE(LB_ADDSTRING, OnLBAddString)
    ON_MESSAGE(LB_INSERTSTRING, OnLBInsertString)
    ON_MESSAGE(LB_DELETESTRING, OnLBDeleteString)
    ON_MESSAGE(LB_RESETCONTENT, OnLBResetContent)
    ON_MESSAGE(LB_FINDSTRING, OnLBFindString)
    ON_MESSAGE(LB_FINDSTRINGEXACT, OnLBFindString)
    ON_MESSAGE(LB_SELECTSTRING, OnLBFindString)
    ON_MESSAGE(LB_GETITEMDATA, OnLBGetItemData)
    ON_MESSAGE(LB_SETITEMDATA, OnLBSetItemData)
    ON_MESSAGE(LB_GETTEXT, OnLBGetText)
    ON_MESSAGE(LB_SETITEMHEIGHT, OnLBSetItemHeight)
END_MESSAGE_MAP()

CCheckListBox::CCheckListBox() : m_cyText(0), m_nStyle(BS_AUTOCHECKBOX) {}

CCheckListBox::~CCheckListBox()
{
    // The window goes while this is still a check list, so that its items and
    // records go the way they always do.
    if (m_hWnd != NULL && CWnd::FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    FreeAllCheckData();
}

BOOL CCheckListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!(dwStyle & LBS_HASSTRINGS) || !(dwStyle & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE))) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return CListBox::Create(dwStyle, rect, pParentWnd, nID);
}

/////////////////////////////////////////////////////////////////////////////
// The records

CCheckListBox::CheckData* CCheckListBox::RecordOf(DWORD_PTR dwRaw) const
{
    void* pValue;
    return dwRaw != 0 && m_records.Lookup((void*)dwRaw, pValue) ? (CheckData*)dwRaw : NULL;
}

DWORD_PTR CCheckListBox::UserDataOf(DWORD_PTR dwRaw) const
{
    // Items that came without a record (added before this object took the list
    // over, or by LB_DIR) keep their data as it is.
    CheckData* pData = RecordOf(dwRaw);
    return pData != NULL ? pData->m_dwUserData : dwRaw;
}

CCheckListBox::CheckData* CCheckListBox::GetCheckData(int nIndex, BOOL bCreate)
{
    if (m_hWnd == NULL || nIndex < 0 || nIndex >= (int)DefWindowProc(LB_GETCOUNT, 0, 0))
        return NULL;
    DWORD_PTR dwRaw = (DWORD_PTR)DefWindowProc(LB_GETITEMDATA, nIndex, 0);
    CheckData* pData = RecordOf(dwRaw);
    if (pData == NULL && bCreate) {
        pData = new CheckData;
        pData->m_nCheck = 0;
        pData->m_bEnabled = TRUE;
        pData->m_dwUserData = dwRaw;
        m_records.SetAt(pData, pData);
        if (DefWindowProc(LB_SETITEMDATA, nIndex, (LPARAM)pData) == LB_ERR) {
            m_records.RemoveKey(pData);
            delete pData;
            pData = NULL;
        }
    }
    return pData;
}

void CCheckListBox::FreeAllCheckData()
{
    POSITION pos = m_records.GetStartPosition();
    while (pos != NULL) {
        void* pKey;
        void* pValue;
        m_records.GetNextAssoc(pos, pKey, pValue);
        delete (CheckData*)pKey;
    }
    m_records.RemoveAll();
}

/////////////////////////////////////////////////////////////////////////////
// Attributes

void CCheckListBox::SetCheckStyle(UINT nStyle)
{
    if (nStyle == BS_CHECKBOX || nStyle == BS_AUTOCHECKBOX || nStyle == BS_AUTO3STATE ||
        nStyle == BS_3STATE)
        m_nStyle = nStyle;
}

UINT CCheckListBox::GetCheckStyle()
{
    return m_nStyle;
}

void CCheckListBox::SetCheck(int nIndex, int nCheck)
{
    BOOL b3State = m_nStyle == BS_AUTO3STATE || m_nStyle == BS_3STATE;
    if (nCheck < 0 || nCheck > 2 || (nCheck == 2 && !b3State))
        return;
    CheckData* pData = GetCheckData(nIndex, TRUE);
    if (pData != NULL && pData->m_nCheck != nCheck) {
        pData->m_nCheck = nCheck;
        InvalidateCheck(nIndex);
    }
}

int CCheckListBox::GetCheck(int nIndex)
{
    CheckData* pData = GetCheckData(nIndex, FALSE);
    return pData != NULL ? pData->m_nCheck : 0;
}

void CCheckListBox::Enable(int nIndex, BOOL bEnabled)
{
    CheckData* pData = GetCheckData(nIndex, TRUE);
    if (pData != NULL && pData->m_bEnabled != (bEnabled != FALSE)) {
        pData->m_bEnabled = bEnabled != FALSE;
        // The text changes colour too.
        CRect rect;
        if (GetItemRect(nIndex, &rect) != LB_ERR)
            InvalidateRect(&rect, FALSE);
    }
}

BOOL CCheckListBox::IsEnabled(int nIndex)
{
    if (m_hWnd == NULL || nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    CheckData* pData = GetCheckData(nIndex, FALSE);
    return pData != NULL ? pData->m_bEnabled : TRUE;
}

/////////////////////////////////////////////////////////////////////////////
// Geometry

CSize CCheckListBox::GetCheckSize() const
{
    return CSize(::GetSystemMetrics(SM_CXMENUCHECK), ::GetSystemMetrics(SM_CYMENUCHECK));
}

int CCheckListBox::CalcMinimumItemHeight()
{
    // As tall as the text of the list's font and as the box with a pixel around it.
    int cyCheck = GetCheckSize().cy + 2;
    if (m_hWnd == NULL)
        return cyCheck;
    HDC hDC = ::GetDC(m_hWnd);
    HFONT hFont = (HFONT)::SendMessageW(m_hWnd, WM_GETFONT, 0, 0);
    HGDIOBJ hOldFont = ::SelectObject(hDC,
        hFont != NULL ? (HGDIOBJ)hFont : ::GetStockObject(SYSTEM_FONT));
    TEXTMETRICW tm;
    if (::GetTextMetricsW(hDC, &tm))
        m_cyText = tm.tmHeight;
    ::SelectObject(hDC, hOldFont);
    ::ReleaseDC(m_hWnd, hDC);
    return m_cyText > cyCheck ? m_cyText : cyCheck;
}

void CCheckListBox::InvalidateCheck(int nIndex)
{
    CRect rect;
    if (GetItemRect(nIndex, &rect) == LB_ERR)
        return;
    rect.right = rect.left + GetCheckSize().cx + 2 * kCheckMargin;
    InvalidateRect(&rect, FALSE);
}

int CCheckListBox::CheckFromPoint(CPoint point, BOOL& bInCheck)
{
    bInCheck = FALSE;
    if (GetCount() <= 0)
        return -1;
    BOOL bOutside;
    int nIndex = (int)ItemFromPoint(point, bOutside);
    CRect rect;
    if (bOutside || GetItemRect(nIndex, &rect) == LB_ERR || !rect.PtInRect(point))
        return -1;
    bInCheck = point.x < rect.left + GetCheckSize().cx + 2 * kCheckMargin;
    return nIndex;
}

/////////////////////////////////////////////////////////////////////////////
// The user changes a check

int CCheckListBox::NextCheck(int nCheck) const
{
    if (m_nStyle == BS_AUTO3STATE)
        return (nCheck + 1) % 3;    // clear, checked, indeterminate, clear
    return nCheck == 0 ? 1 : 0;
}

void CCheckListBox::ToggleFromUser(int nIndex)
{
    int nCheck = NextCheck(GetCheck(nIndex));
    SetCheck(nIndex, nCheck);
    // In a list with several selections the selected items follow the one the
    // user acted on.
    if (IsMultipleSel(m_hWnd) && GetSel(nIndex) > 0) {
        int nCount = GetCount();
        for (int i = 0; i < nCount; i++) {
            if (i != nIndex && GetSel(i) > 0 && IsEnabled(i))
                SetCheck(i, nCheck);
        }
    }
    HWND hWndParent = ::GetParent(m_hWnd);
    if (hWndParent != NULL)
        ::SendMessageW(hWndParent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CLBN_CHKCHANGE),
            (LPARAM)m_hWnd);
}

void CCheckListBox::OnLButtonDown(UINT, CPoint point)
{
    BOOL bInCheck;
    int nIndex = CheckFromPoint(point, bInCheck);
    if (nIndex >= 0 && !IsEnabled(nIndex)) {
        // A disabled item cannot be selected either, but the list takes the focus.
        SetFocus();
        return;
    }
    BOOL bAuto = m_nStyle == BS_AUTOCHECKBOX || m_nStyle == BS_AUTO3STATE;
    HWND hWnd = m_hWnd;
    Default();  // the selection moves as in any list
    if (nIndex >= 0 && bInCheck && bAuto && ::IsWindow(hWnd))
        ToggleFromUser(nIndex);
}

void CCheckListBox::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    // The second click of a quick pair arrives as a double click: on a box it
    // is one more click.
    BOOL bInCheck;
    int nIndex = CheckFromPoint(point, bInCheck);
    if (nIndex >= 0 && bInCheck)
        OnLButtonDown(nFlags, point);
    else
        Default();
}

void CCheckListBox::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (nChar == VK_SPACE && (m_nStyle == BS_AUTOCHECKBOX || m_nStyle == BS_AUTO3STATE)) {
        int nIndex = GetCaretIndex();
        if (nIndex >= 0 && IsEnabled(nIndex))
            ToggleFromUser(nIndex);
        return;
    }
    Default();
}

void CCheckListBox::OnChar(UINT nChar, UINT, UINT)
{
    // The space bar has done its work at WM_KEYDOWN; as a character it would
    // search for an item beginning with a blank.
    if (nChar == L' ' && (m_nStyle == BS_AUTOCHECKBOX || m_nStyle == BS_AUTO3STATE))
        return;
    Default();
}

/////////////////////////////////////////////////////////////////////////////
// The list's life

void CCheckListBox::PreSubclassWindow()
{
    CListBox::PreSubclassWindow();
    // A list that exists already (a dialog's) gets an item height that the box
    // fits in; one being created gets it in OnCreate.
    if (IsFixed(m_hWnd)) {
        LRESULT cy = ::SendMessageW(m_hWnd, LB_GETITEMHEIGHT, 0, 0);
        if (cy > 0) {
            int cyMin = CalcMinimumItemHeight();
            if (cy < cyMin)
                ::SendMessageW(m_hWnd, LB_SETITEMHEIGHT, 0, MAKELPARAM(cyMin, 0));
        }
    }
}

int CCheckListBox::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CListBox::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (IsFixed(m_hWnd) && GetItemHeight(0) < CalcMinimumItemHeight())
        SetItemHeight(0, CalcMinimumItemHeight());
    return 0;
}

void CCheckListBox::OnDestroy()
{
    // The items go now, while their records are known: the parent's
    // WM_DELETEITEM for each reaches DeleteItem with the caller's data.
    DefWindowProc(LB_RESETCONTENT, 0, 0);
    FreeAllCheckData();
    CListBox::OnDestroy();
}

LRESULT CCheckListBox::OnSetFont(WPARAM, LPARAM)
{
    LRESULT lResult = Default();
    if (IsFixed(m_hWnd)) {
        int cyMin = CalcMinimumItemHeight();
        if (GetItemHeight(0) < cyMin)
            SetItemHeight(0, cyMin);
    }
    return lResult;
}

/////////////////////////////////////////////////////////////////////////////
// The list-box messages that carry item data

LRESULT CCheckListBox::OnLBAddString(WPARAM wParam, LPARAM lParam)
{
    if (HasStrings(m_hWnd))
        return Default();
    // Without strings the "string" is the caller's data: it goes into a record.
    CheckData* pData = new CheckData;
    pData->m_nCheck = 0;
    pData->m_bEnabled = TRUE;
    pData->m_dwUserData = (DWORD_PTR)lParam;
    m_records.SetAt(pData, pData);
    LRESULT lResult = DefWindowProc(GetCurrentMessage()->message, wParam, (LPARAM)pData);
    if (lResult < 0) {
        m_records.RemoveKey(pData);
        delete pData;
    }
    return lResult;
}

LRESULT CCheckListBox::OnLBInsertString(WPARAM wParam, LPARAM lParam)
{
    return OnLBAddString(wParam, lParam);
}

LRESULT CCheckListBox::OnLBDeleteString(WPARAM wParam, LPARAM)
{
    CheckData* pData = GetCheckData((int)wParam, FALSE);
    LRESULT lResult = Default();    // the parent's WM_DELETEITEM still finds the record
    if (lResult != LB_ERR && pData != NULL) {
        m_records.RemoveKey(pData);
        delete pData;
    }
    return lResult;
}

LRESULT CCheckListBox::OnLBResetContent(WPARAM, LPARAM)
{
    LRESULT lResult = Default();
    FreeAllCheckData();
    return lResult;
}

LRESULT CCheckListBox::OnLBFindString(WPARAM wParam, LPARAM lParam)
{
    if (HasStrings(m_hWnd))
        return Default();

    UINT nMsg = GetCurrentMessage()->message;
    if (::GetWindowLongW(m_hWnd, GWL_STYLE) & LBS_SORT) {
        // A sorted list compares through WM_COMPAREITEM, which unwraps both
        // sides: the searched data goes in a record of its own for the time.
        CheckData key = { 0, TRUE, (DWORD_PTR)lParam };
        m_records.SetAt(&key, &key);
        LRESULT lResult = DefWindowProc(nMsg, wParam, (LPARAM)&key);
        m_records.RemoveKey(&key);
        return lResult;
    }

    // An unsorted list compares the data itself: search the caller's data,
    // from the item after nStartAfter round to it.
    int nCount = GetCount();
    int nStart = (int)wParam;
    if (nStart < 0 || nStart >= nCount)
        nStart = -1;
    for (int n = 1; n <= nCount; n++) {
        int nIndex = (nStart + n) % nCount;
        if (UserDataOf((DWORD_PTR)DefWindowProc(LB_GETITEMDATA, nIndex, 0)) == (DWORD_PTR)lParam) {
            if (nMsg == LB_SELECTSTRING)
                DefWindowProc(LB_SETCURSEL, nIndex, 0);
            return nIndex;
        }
    }
    return LB_ERR;
}

LRESULT CCheckListBox::OnLBGetItemData(WPARAM, LPARAM)
{
    return (LRESULT)UserDataOf((DWORD_PTR)Default());
}

LRESULT CCheckListBox::OnLBSetItemData(WPARAM wParam, LPARAM lParam)
{
    CheckData* pData = GetCheckData((int)wParam, TRUE);
    if (pData == NULL)
        return LB_ERR;
    pData->m_dwUserData = (DWORD_PTR)lParam;
    // The list's own answer, as for any list.
    return DefWindowProc(LB_SETITEMDATA, wParam, (LPARAM)pData);
}

LRESULT CCheckListBox::OnLBGetText(WPARAM, LPARAM lParam)
{
    LRESULT lResult = Default();
    // Without strings the text is the item's data: the caller's, not the record.
    if (!HasStrings(m_hWnd) && lResult > 0 && lParam != 0) {
        DWORD_PTR dwRaw = 0;
        size_t cb = (size_t)lResult < sizeof(dwRaw) ? (size_t)lResult : sizeof(dwRaw);
        memcpy(&dwRaw, (void*)lParam, cb);
        DWORD_PTR dwUser = UserDataOf(dwRaw);
        memcpy((void*)lParam, &dwUser, cb);
    }
    return lResult;
}

LRESULT CCheckListBox::OnLBSetItemHeight(WPARAM wParam, LPARAM lParam)
{
    // No item lower than its box.
    int cyMin = CalcMinimumItemHeight();
    int cy = LOWORD(lParam);
    return DefWindowProc(LB_SETITEMHEIGHT, wParam, MAKELPARAM(cy > cyMin ? cy : cyMin, 0));
}

/////////////////////////////////////////////////////////////////////////////
// Owner draw: the box is drawn here, the rest by the overridables, which get
// the caller's data and the part of the item right of the box.

void CCheckListBox::PreDrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    DRAWITEMSTRUCT dis = *lpDrawItemStruct;
    if ((int)dis.itemID < 0) {
        // An empty list with the focus: only the focus rectangle.
        if (dis.itemAction & ODA_FOCUS)
            ::DrawFocusRect(dis.hDC, &dis.rcItem);
        return;
    }
    CheckData* pData = RecordOf(dis.itemData);
    int nCheck = pData != NULL ? pData->m_nCheck : 0;
    BOOL bEnabled = pData != NULL ? pData->m_bEnabled : TRUE;
    dis.itemData = UserDataOf(dis.itemData);

    CSize sizeCheck = GetCheckSize();
    if (dis.itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
        RECT rectArea = dis.rcItem;
        rectArea.right = rectArea.left + sizeCheck.cx + 2 * kCheckMargin;
        ::FillRect(dis.hDC, &rectArea, ::GetSysColorBrush(COLOR_WINDOW));
        RECT rectBox;
        rectBox.left = rectArea.left + kCheckMargin;
        rectBox.top = rectArea.top + ((rectArea.bottom - rectArea.top) - sizeCheck.cy) / 2;
        rectBox.right = rectBox.left + sizeCheck.cx;
        rectBox.bottom = rectBox.top + sizeCheck.cy;
        UINT nState = nCheck == 2 ? DFCS_BUTTON3STATE | DFCS_CHECKED
                                  : DFCS_BUTTONCHECK | (nCheck == 1 ? DFCS_CHECKED : 0);
        if (!bEnabled || (dis.itemState & ODS_DISABLED))
            nState |= DFCS_INACTIVE;
        ::DrawFrameControl(dis.hDC, &rectBox, DFC_BUTTON, nState);
    }
    dis.rcItem.left += sizeCheck.cx + 2 * kCheckMargin;
    DrawItem(&dis);
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    // Lists without strings are drawn by a class that knows their data.
    if (!HasStrings(m_hWnd))
        return;
    HDC hDC = lpDrawItemStruct->hDC;
    RECT rect = lpDrawItemStruct->rcItem;
    int nIndex = (int)lpDrawItemStruct->itemID;
    BOOL bPaint = (lpDrawItemStruct->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) != 0;
    if (bPaint) {
        BOOL bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
        BOOL bEnabled = IsEnabled(nIndex) && !(lpDrawItemStruct->itemState & ODS_DISABLED);
        ::FillRect(hDC, &rect, ::GetSysColorBrush(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        CString strText;
        GetText(nIndex, strText);
        COLORREF crOldText = ::SetTextColor(hDC, ::GetSysColor(
            !bEnabled ? COLOR_GRAYTEXT : bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
        RECT rectText = rect;
        rectText.left += 2;
        ::DrawTextW(hDC, strText, strText.GetLength(), &rectText,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS);
        ::SetBkMode(hDC, nOldMode);
        ::SetTextColor(hDC, crOldText);
    }
    // Painting covered the old focus rectangle; a focus change alone flips it.
    if ((bPaint && (lpDrawItemStruct->itemState & ODS_FOCUS)) ||
        (!bPaint && (lpDrawItemStruct->itemAction & ODA_FOCUS)))
        ::DrawFocusRect(hDC, &rect);
}

void CCheckListBox::PreMeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    MEASUREITEMSTRUCT mis = *lpMeasureItemStruct;
    mis.itemData = UserDataOf(mis.itemData);
    MeasureItem(&mis);
    int cyMin = CalcMinimumItemHeight();
    lpMeasureItemStruct->itemHeight = (int)mis.itemHeight > cyMin ? mis.itemHeight : (UINT)cyMin;
}

int CCheckListBox::PreCompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct)
{
    COMPAREITEMSTRUCT cis = *lpCompareItemStruct;
    cis.itemData1 = UserDataOf(cis.itemData1);
    cis.itemData2 = UserDataOf(cis.itemData2);
    return CompareItem(&cis);
}

void CCheckListBox::PreDeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct)
{
    // The record itself goes with LB_DELETESTRING, LB_RESETCONTENT or the window.
    DELETEITEMSTRUCT dis = *lpDeleteItemStruct;
    dis.itemData = UserDataOf(dis.itemData);
    DeleteItem(&dis);
}

BOOL CCheckListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
        break;
    default:
        return CListBox::OnChildNotify(message, wParam, lParam, pResult);
    }
    // A reflection entry in the map comes first; then the overridables.
    if (CWnd::OnChildNotify(message, wParam, lParam, pResult))
        return TRUE;
    LRESULT lResult = TRUE;
    switch (message) {
    case WM_DRAWITEM:
        PreDrawItem((LPDRAWITEMSTRUCT)lParam);
        break;
    case WM_MEASUREITEM:
        PreMeasureItem((LPMEASUREITEMSTRUCT)lParam);
        break;
    case WM_COMPAREITEM:
        lResult = PreCompareItem((LPCOMPAREITEMSTRUCT)lParam);
        break;
    default:
        PreDeleteItem((LPDELETEITEMSTRUCT)lParam);
        break;
    }
    if (pResult != NULL)
        *pResult = lResult;
    return TRUE;
}
