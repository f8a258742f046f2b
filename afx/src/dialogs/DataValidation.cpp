// DataValidation.cpp - the DDV_ functions: range and length checks of the
// values a dialog has just read from its controls.
#include "afxwin.h"
#include "afxres.h"

#include "DataExchangeImpl.h"

#include <float.h>

namespace {

// Values only fail while they are being saved: a member out of range when the
// dialog is filled is the program's business, not the user's.
template <class T>
void CheckRange(CDataExchange* pDX, T value, T minVal, T maxVal, LPCTSTR lpszFormat, UINT nIDPrompt)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    CString strMin;
    CString strMax;
    strMin.Format(lpszFormat, minVal);
    strMax.Format(lpszFormat, maxVal);
    afxdlg::FailWithPrompt(pDX, nIDPrompt, strMin, strMax);
}

void CheckRealRange(CDataExchange* pDX, double value, double minVal, double maxVal, int nDigits)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    CString strMin;
    CString strMax;
    strMin.Format(L"%.*g", nDigits, minVal);
    strMax.Format(L"%.*g", nDigits, maxVal);
    afxdlg::FailWithPrompt(pDX, AFX_IDP_PARSE_REAL_RANGE, strMin, strMax);
}

} // namespace

void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (pDX->m_bSaveAndValidate) {
        if (value.GetLength() > nChars) {
            CString strMax;
            strMax.Format(L"%d", nChars);
            afxdlg::FailWithPrompt(pDX, AFX_IDP_PARSE_STRING_SIZE, strMax);
        }
    } else if (pDX->m_hWndLastControl != NULL && pDX->m_bEditLastControl) {
        // Filling the dialog: the edit takes no more than that from the user.
        ::SendMessageW(pDX->m_hWndLastControl, EM_LIMITTEXT, (WPARAM)nChars, 0);
    }
}

void AFXAPI DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal)
{
    CheckRange<UINT>(pDX, value, minVal, maxVal, L"%u", AFX_IDP_PARSE_INT_RANGE);
}

void AFXAPI DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal)
{
    CheckRange<int>(pDX, value, minVal, maxVal, L"%d", AFX_IDP_PARSE_INT_RANGE);
}

void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    CheckRange<int>(pDX, value, minVal, maxVal, L"%d", AFX_IDP_PARSE_INT_RANGE);
}

void AFXAPI DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    CheckRange<UINT>(pDX, value, minVal, maxVal, L"%u", AFX_IDP_PARSE_INT_RANGE);
}

void AFXAPI DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal)
{
    CheckRange<long>(pDX, value, minVal, maxVal, L"%ld", AFX_IDP_PARSE_INT_RANGE);
}

void AFXAPI DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal)
{
    CheckRange<DWORD>(pDX, value, minVal, maxVal, L"%lu", AFX_IDP_PARSE_INT_RANGE);
}

void AFXAPI DDV_MinMaxFloat(CDataExchange* pDX, float const& value, float minVal, float maxVal)
{
    CheckRealRange(pDX, value, minVal, maxVal, FLT_DIG);
}

void AFXAPI DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal)
{
    CheckRealRange(pDX, value, minVal, maxVal, DBL_DIG);
}
