// DataExchange.cpp - CDataExchange: the state of one UpdateData pass, and the
// failure that ends it.
#include "afxwin.h"
#include "afxres.h"

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
        e->ReportError(MB_ICONSTOP, AFX_IDP_INTERNAL_FAILURE);
        e->Delete();
    }
    AfxUnlockTempMaps();
    pThreadState->m_hLockoutNotifyWindow = hWndOldLockout;
    return bOK;
}
