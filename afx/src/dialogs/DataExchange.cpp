// DataExchange.cpp - CDataExchange: the state of one UpdateData pass, and the
// failure that ends it.
#include "afxwin.h"

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
        if (m_bEditLastControl) {
            ::SetFocus(m_hWndLastControl);
            ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
        } else {
            ::SetFocus(m_hWndLastControl);
        }
    }
    AfxThrowUserException();
}
