// DataExchange.cpp - CDataExchange, CWnd::UpdateData and the DDX_ functions that
// move values between a dialog's controls and its members.
#include "afxwin.h"
#include "afxres.h"

#include "DataExchangeImpl.h"

#include <float.h>
#include <math.h>
#include <stdlib.h>
#include <wctype.h>

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_hWndLastControl(NULL),
      m_bEditLastControl(FALSE)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = NULL;
    m_pDlgWnd->GetDlgItem(nIDC, &hWndCtrl);
    // A missing control is a mistake in the dialog's code, not the user's: the
    // exchange cannot go on.
    if (hWndCtrl == NULL)
        AfxThrowNotSupportedException();
    m_hWndLastControl = hWndCtrl;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    // Back to the control whose value was refused, with an edit's text selected
    // so that typing replaces it.
    if (m_bSaveAndValidate && m_hWndLastControl != NULL) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);

    // The controls' notifications of the values being set are no user's doing.
    _AFX_THREAD_STATE* pThreadState = AfxGetThreadState();
    HWND hWndOldLockout = pThreadState->m_hLockoutNotifyWindow;
    pThreadState->m_hLockoutNotifyWindow = m_hWnd;

    BOOL bOK = FALSE;
    AfxLockTempMaps();
    try {
        DoDataExchange(&dx);
        bOK = TRUE;
    } catch (CUserException* e) {
        // A check failed: the user was told and the focus is on the control.
        e->Delete();
    } catch (CException* e) {
        e->ReportError(MB_ICONEXCLAMATION, AFX_IDP_INTERNAL_FAILURE);
        e->Delete();
    }
    AfxUnlockTempMaps();
    pThreadState->m_hLockoutNotifyWindow = hWndOldLockout;
    return bOK;
}

/////////////////////////////////////////////////////////////////////////////
// Shared by the exchange and validation functions

void afxdlg::FailWithPrompt(CDataExchange* pDX, UINT nIDPrompt, LPCTSTR lpsz1, LPCTSTR lpsz2)
{
    CString strPrompt;
    if (lpsz2 != NULL)
        AfxFormatString2(strPrompt, nIDPrompt, lpsz1, lpsz2);
    else if (lpsz1 != NULL)
        AfxFormatString1(strPrompt, nIDPrompt, lpsz1);
    else
        strPrompt.LoadString(nIDPrompt);
    AfxMessageBox(strPrompt, MB_ICONEXCLAMATION, nIDPrompt);
    pDX->Fail();
}

namespace {

CString WindowText(HWND hWnd)
{
    CString str;
    int nLen = ::GetWindowTextLengthW(hWnd);
    if (nLen > 0) {
        ::GetWindowTextW(hWnd, str.GetBufferSetLength(nLen), nLen + 1);
        str.ReleaseBuffer();
    }
    return str;
}

// Only a text that differs is set: setting the same one again would make the
// control flicker and tell its parent it changed.
void SetWindowTextIfChanged(HWND hWnd, LPCTSTR lpszNew)
{
    if (WindowText(hWnd) != lpszNew)
        ::SetWindowTextW(hWnd, lpszNew);
}

/////////////////////////////////////////////////////////////////////////////
// Numbers in edit controls: decimal digits with an optional sign, blanks around
// them allowed, nothing else.

struct IntegerKind
{
    LONGLONG llMin;
    LONGLONG llMax;
    UINT nIDPrompt;
    LPCTSTR lpszFormat;
};

const IntegerKind kByte = {0, 255, AFX_IDP_PARSE_BYTE, L"%u"};
const IntegerKind kShort = {SHRT_MIN, SHRT_MAX, AFX_IDP_PARSE_INT, L"%d"};
const IntegerKind kInt = {INT_MIN, INT_MAX, AFX_IDP_PARSE_INT, L"%d"};
const IntegerKind kUInt = {0, UINT_MAX, AFX_IDP_PARSE_UINT, L"%u"};

LPCTSTR SkipBlanks(LPCTSTR p)
{
    while (*p != 0 && iswspace(*p))
        ++p;
    return p;
}

BOOL ParseInteger(LPCTSTR psz, const IntegerKind& kind, LONGLONG* pValue)
{
    LPCTSTR p = SkipBlanks(psz);
    BOOL bNegative = *p == L'-';
    if (*p == L'-' || *p == L'+')
        ++p;
    // A minus sign for a kind without negative numbers is refused even before "0".
    if (bNegative && kind.llMin >= 0)
        return FALSE;
    if (*p < L'0' || *p > L'9')
        return FALSE;
    ULONGLONG nMagnitude = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        nMagnitude = nMagnitude * 10 + (ULONGLONG)(*p - L'0');
        if (nMagnitude > (ULONGLONG)UINT_MAX + 1)
            return FALSE;   // beyond any kind; stop before the product can wrap
    }
    if (*SkipBlanks(p) != 0)
        return FALSE;
    LONGLONG llValue = bNegative ? -(LONGLONG)nMagnitude : (LONGLONG)nMagnitude;
    if (llValue < kind.llMin || llValue > kind.llMax)
        return FALSE;
    *pValue = llValue;
    return TRUE;
}

LONGLONG SaveInteger(CDataExchange* pDX, int nIDC, const IntegerKind& kind)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    LONGLONG llValue = 0;
    if (!ParseInteger(WindowText(hWndCtrl), kind, &llValue))
        afxdlg::FailWithPrompt(pDX, kind.nIDPrompt);
    return llValue;
}

void LoadInteger(CDataExchange* pDX, int nIDC, const IntegerKind& kind, LONGLONG llValue)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    CString str;
    if (kind.llMin < 0)
        str.Format(kind.lpszFormat, (int)llValue);
    else
        str.Format(kind.lpszFormat, (UINT)llValue);
    SetWindowTextIfChanged(hWndCtrl, str);
}

template <class T>
void ExchangeInteger(CDataExchange* pDX, int nIDC, T& value, const IntegerKind& kind)
{
    if (pDX->m_bSaveAndValidate)
        value = (T)SaveInteger(pDX, nIDC, kind);
    else
        LoadInteger(pDX, nIDC, kind, (LONGLONG)value);
}

// [sign] digits [. digits] [e [sign] digits], or the same starting with the
// point; what the C library would take besides (hexadecimal, inf, nan) is no
// number a user types into a dialog.
BOOL ParseReal(LPCTSTR psz, double dMax, double* pValue)
{
    LPCTSTR pStart = SkipBlanks(psz);
    LPCTSTR p = pStart;
    if (*p == L'-' || *p == L'+')
        ++p;
    int nDigits = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p)
        ++nDigits;
    if (*p == L'.')
        for (++p; *p >= L'0' && *p <= L'9'; ++p)
            ++nDigits;
    if (nDigits == 0)
        return FALSE;
    if (*p == L'e' || *p == L'E') {
        ++p;
        if (*p == L'-' || *p == L'+')
            ++p;
        if (*p < L'0' || *p > L'9')
            return FALSE;
        while (*p >= L'0' && *p <= L'9')
            ++p;
    }
    if (*SkipBlanks(p) != 0)
        return FALSE;
    double d = wcstod(pStart, NULL);
    if (!isfinite(d) || fabs(d) > dMax)
        return FALSE;   // too large for the member
    *pValue = d;
    return TRUE;
}

template <class T>
void ExchangeReal(CDataExchange* pDX, int nIDC, T& value, int nDigits, double dMax)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        double d = 0;
        if (!ParseReal(WindowText(hWndCtrl), dMax, &d))
            afxdlg::FailWithPrompt(pDX, AFX_IDP_PARSE_REAL);
        value = (T)d;
    } else {
        CString str;
        str.Format(L"%.*g", nDigits, (double)value);
        SetWindowTextIfChanged(hWndCtrl, str);
    }
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// Edit controls

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value)
{
    ExchangeInteger(pDX, nIDC, value, kByte);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, short& value)
{
    ExchangeInteger(pDX, nIDC, value, kShort);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    ExchangeInteger(pDX, nIDC, value, kInt);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    ExchangeInteger(pDX, nIDC, value, kUInt);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    ExchangeInteger(pDX, nIDC, value, kInt);    // 32 bits on this platform
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value)
{
    ExchangeInteger(pDX, nIDC, value, kUInt);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = WindowText(hWndCtrl);
    else
        SetWindowTextIfChanged(hWndCtrl, value);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, float& value)
{
    ExchangeReal(pDX, nIDC, value, FLT_DIG, FLT_MAX);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    ExchangeReal(pDX, nIDC, value, DBL_DIG, DBL_MAX);
}

/////////////////////////////////////////////////////////////////////////////
// Buttons

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = (int)::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0);
    } else {
        // Anything but unchecked, checked and indeterminate shows as unchecked.
        if (value < 0 || value > 2)
            value = 0;
        ::SendMessageW(hWndCtrl, BM_SETCHECK, (WPARAM)value, 0);
    }
}

void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;

    // The group runs from nIDC up to the next control that starts a group;
    // only radio buttons count towards the index.
    int iButton = 0;
    for (HWND hWnd = hWndCtrl; hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        if (hWnd != hWndCtrl && (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_GROUP))
            break;
        if (!(::SendMessageW(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON))
            continue;
        if (pDX->m_bSaveAndValidate) {
            if (value == -1 && ::SendMessageW(hWnd, BM_GETCHECK, 0, 0) != BST_UNCHECKED)
                value = iButton;
        } else {
            ::SendMessageW(hWnd, BM_SETCHECK, iButton == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++iButton;
    }
}

/////////////////////////////////////////////////////////////////////////////
// List and combo boxes

namespace {

struct ListMessages
{
    UINT nGetCurSel, nGetTextLen, nGetText;
    LRESULT lErr;
};

const ListMessages kListBox = {LB_GETCURSEL, LB_GETTEXTLEN, LB_GETTEXT, LB_ERR};
const ListMessages kComboBox = {CB_GETCURSEL, CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_ERR};

CString SelectedText(HWND hWnd, const ListMessages& msgs)
{
    CString str;
    LRESULT nIndex = ::SendMessageW(hWnd, msgs.nGetCurSel, 0, 0);
    if (nIndex == msgs.lErr)
        return str;
    LRESULT nLen = ::SendMessageW(hWnd, msgs.nGetTextLen, (WPARAM)nIndex, 0);
    if (nLen > 0) {
        ::SendMessageW(hWnd, msgs.nGetText, (WPARAM)nIndex, (LPARAM)str.GetBufferSetLength((int)nLen));
        str.ReleaseBuffer();
    }
    return str;
}

// A drop-down list has no edit: its text is the selected item's.
BOOL IsDropList(HWND hWnd)
{
    return (::GetWindowLongPtrW(hWnd, GWL_STYLE) & 0x3) == CBS_DROPDOWNLIST;
}

void ExchangeComboString(CDataExchange* pDX, int nIDC, CString& value, BOOL bExact)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = IsDropList(hWndCtrl) ? SelectedText(hWndCtrl, kComboBox) : WindowText(hWndCtrl);
        return;
    }
    BOOL bFound;
    if (bExact) {
        LRESULT nIndex = ::SendMessageW(hWndCtrl, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)(LPCTSTR)value);
        bFound = nIndex != CB_ERR;
        if (bFound)
            ::SendMessageW(hWndCtrl, CB_SETCURSEL, (WPARAM)nIndex, 0);
    } else {
        bFound = ::SendMessageW(hWndCtrl, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCTSTR)value) != CB_ERR;
    }
    // Not in the list: the edit shows it all the same (a drop list ignores it).
    if (!bFound)
        SetWindowTextIfChanged(hWndCtrl, value);
}

} // namespace

void AFXAPI DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = SelectedText(hWndCtrl, kListBox);
    else
        ::SendMessageW(hWndCtrl, LB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCTSTR)value);
}

void AFXAPI DDX_LBStringExact(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = SelectedText(hWndCtrl, kListBox);
        return;
    }
    LRESULT nIndex = ::SendMessageW(hWndCtrl, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)(LPCTSTR)value);
    if (nIndex != LB_ERR)
        ::SendMessageW(hWndCtrl, LB_SETCURSEL, (WPARAM)nIndex, 0);
}

void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageW(hWndCtrl, LB_GETCURSEL, 0, 0);
    else
        ::SendMessageW(hWndCtrl, LB_SETCURSEL, (WPARAM)index, 0);
}

void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    ExchangeComboString(pDX, nIDC, value, FALSE);
}

void AFXAPI DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value)
{
    ExchangeComboString(pDX, nIDC, value, TRUE);
}

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageW(hWndCtrl, CB_GETCURSEL, 0, 0);
    else
        ::SendMessageW(hWndCtrl, CB_SETCURSEL, (WPARAM)index, 0);
}

/////////////////////////////////////////////////////////////////////////////
// Scroll bars and control objects

void AFXAPI DDX_Scroll(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = ::GetScrollPos(hWndCtrl, SB_CTL);
    else
        ::SetScrollPos(hWndCtrl, SB_CTL, value, TRUE);
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    // Every exchange calls this; the control is taken over the first time only.
    if (rControl.m_hWnd != NULL)
        return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl))
        AfxThrowNotSupportedException();
}
