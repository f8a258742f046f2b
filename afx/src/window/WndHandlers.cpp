// WndHandlers.cpp - CWnd's default message handlers, message pre-translation,
// modal loops, command-state updates of child controls, and the thread and
// application look-ups that the window classes rely on.
#include "afxwin.h"
#include "afxpriv.h"

#include "WindowImpl.h"

/////////////////////////////////////////////////////////////////////////////
// Thread and application look-ups

CWinApp* AFXAPI AfxGetApp()
{
    return AfxGetModuleState()->m_pCurrentWinApp;
}

CWinThread* AFXAPI AfxGetThread()
{
    // A thread the framework did not start runs on behalf of the application.
    CWinThread* pThread = AfxGetModuleThreadState()->m_pCurrentWinThread;
    if (pThread == NULL)
        pThread = AfxGetApp();
    return pThread;
}

CWnd* AFXAPI AfxGetMainWnd()
{
    CWinThread* pThread = AfxGetThread();
    return pThread != NULL ? pThread->GetMainWnd() : NULL;
}

/////////////////////////////////////////////////////////////////////////////
// Default handlers: what the window does without the framework

#define AFX_DEFAULT_VOID(signature) \
    void CWnd::signature { Default(); }

AFX_DEFAULT_VOID(OnDestroy())
AFX_DEFAULT_VOID(OnClose())
AFX_DEFAULT_VOID(OnMove(int, int))
AFX_DEFAULT_VOID(OnSize(UINT, int, int))
AFX_DEFAULT_VOID(OnGetMinMaxInfo(MINMAXINFO*))
AFX_DEFAULT_VOID(OnWindowPosChanging(WINDOWPOS*))
AFX_DEFAULT_VOID(OnWindowPosChanged(WINDOWPOS*))
AFX_DEFAULT_VOID(OnShowWindow(BOOL, UINT))
AFX_DEFAULT_VOID(OnEnable(BOOL))
AFX_DEFAULT_VOID(OnActivate(UINT, CWnd*, BOOL))
AFX_DEFAULT_VOID(OnActivateApp(BOOL, DWORD))
AFX_DEFAULT_VOID(OnSetFocus(CWnd*))
AFX_DEFAULT_VOID(OnKillFocus(CWnd*))
AFX_DEFAULT_VOID(OnCaptureChanged(CWnd*))
AFX_DEFAULT_VOID(OnCancelMode())
AFX_DEFAULT_VOID(OnPaint())
AFX_DEFAULT_VOID(OnNcPaint())
AFX_DEFAULT_VOID(OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*))
AFX_DEFAULT_VOID(OnTimer(UINT))
AFX_DEFAULT_VOID(OnChar(UINT, UINT, UINT))
AFX_DEFAULT_VOID(OnKeyDown(UINT, UINT, UINT))
AFX_DEFAULT_VOID(OnKeyUp(UINT, UINT, UINT))
AFX_DEFAULT_VOID(OnSysChar(UINT, UINT, UINT))
AFX_DEFAULT_VOID(OnSysKeyDown(UINT, UINT, UINT))
AFX_DEFAULT_VOID(OnSysKeyUp(UINT, UINT, UINT))
AFX_DEFAULT_VOID(OnMouseMove(UINT, CPoint))
AFX_DEFAULT_VOID(OnLButtonDown(UINT, CPoint))
AFX_DEFAULT_VOID(OnLButtonUp(UINT, CPoint))
AFX_DEFAULT_VOID(OnLButtonDblClk(UINT, CPoint))
AFX_DEFAULT_VOID(OnRButtonDown(UINT, CPoint))
AFX_DEFAULT_VOID(OnRButtonUp(UINT, CPoint))
AFX_DEFAULT_VOID(OnRButtonDblClk(UINT, CPoint))
AFX_DEFAULT_VOID(OnMButtonDown(UINT, CPoint))
AFX_DEFAULT_VOID(OnMButtonUp(UINT, CPoint))
AFX_DEFAULT_VOID(OnMButtonDblClk(UINT, CPoint))
AFX_DEFAULT_VOID(OnNcLButtonDown(UINT, CPoint))
AFX_DEFAULT_VOID(OnNcLButtonUp(UINT, CPoint))
AFX_DEFAULT_VOID(OnNcMouseMove(UINT, CPoint))
AFX_DEFAULT_VOID(OnContextMenu(CWnd*, CPoint))
AFX_DEFAULT_VOID(OnInitMenu(CMenu*))
AFX_DEFAULT_VOID(OnInitMenuPopup(CMenu*, UINT, BOOL))
AFX_DEFAULT_VOID(OnMenuSelect(UINT, UINT, HMENU))
AFX_DEFAULT_VOID(OnEnterMenuLoop(BOOL))
AFX_DEFAULT_VOID(OnExitMenuLoop(BOOL))
AFX_DEFAULT_VOID(OnSysCommand(UINT, LPARAM))
AFX_DEFAULT_VOID(OnPaletteChanged(CWnd*))
AFX_DEFAULT_VOID(OnPaletteIsChanging(CWnd*))
AFX_DEFAULT_VOID(OnWinIniChange(LPCTSTR))
AFX_DEFAULT_VOID(OnFontChange())
AFX_DEFAULT_VOID(OnEndSession(BOOL))
AFX_DEFAULT_VOID(OnDropFiles(HDROP))
AFX_DEFAULT_VOID(OnStyleChanged(int, LPSTYLESTRUCT))
AFX_DEFAULT_VOID(OnStyleChanging(int, LPSTYLESTRUCT))
AFX_DEFAULT_VOID(OnMDIActivate(BOOL, CWnd*, CWnd*))
AFX_DEFAULT_VOID(OnChildActivate())
AFX_DEFAULT_VOID(OnRenderFormat(UINT))
AFX_DEFAULT_VOID(OnRenderAllFormats())
AFX_DEFAULT_VOID(OnDestroyClipboard())

#undef AFX_DEFAULT_VOID

int CWnd::OnCreate(LPCREATESTRUCT)
{
    return (int)Default();
}

BOOL CWnd::OnNcCreate(LPCREATESTRUCT)
{
    return (BOOL)Default();
}

int CWnd::OnMouseActivate(CWnd*, UINT, UINT)
{
    return (int)Default();
}

BOOL CWnd::OnNcActivate(BOOL)
{
    return (BOOL)Default();
}

BOOL CWnd::OnEraseBkgnd(CDC*)
{
    return (BOOL)Default();
}

UINT CWnd::OnNcHitTest(CPoint)
{
    return (UINT)Default();
}

BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    return (BOOL)Default();
}

BOOL CWnd::OnMouseWheel(UINT, short, CPoint)
{
    return (BOOL)Default();
}

UINT CWnd::OnGetDlgCode()
{
    return (UINT)Default();
}

BOOL CWnd::OnQueryNewPalette()
{
    return (BOOL)Default();
}

BOOL CWnd::OnQueryEndSession()
{
    return (BOOL)Default();
}

HCURSOR CWnd::OnQueryDragIcon()
{
    return (HCURSOR)Default();
}

BOOL CWnd::OnHelpInfo(HELPINFO*)
{
    return (BOOL)Default();
}

BOOL CWnd::OnCopyData(CWnd*, COPYDATASTRUCT*)
{
    return (BOOL)Default();
}

void CWnd::OnSysColorChange()
{
    // Controls cache colours too: let the children know.
    SendMessageToDescendants(WM_SYSCOLORCHANGE, 0, 0, TRUE, TRUE);
    Default();
}

void CWnd::OnEnterIdle(UINT, CWnd*)
{
    Default();
}

/////////////////////////////////////////////////////////////////////////////
// Handlers that offer a child's message to the child first (reflection)

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    LRESULT lResult;
    if (pWnd != NULL && ReflectLastMsg(pWnd->m_hWnd, &lResult))
        return (HBRUSH)lResult;
    return (HBRUSH)Default();
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct->CtlType == ODT_MENU) {
        // An owner-drawn menu item: its CMenu object draws it, if it has one.
        CMenu* pMenu = CMenu::FromHandle((HMENU)lpDrawItemStruct->hwndItem);
        if (pMenu != NULL) {
            pMenu->DrawItem(lpDrawItemStruct);
            return;
        }
    } else if (ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
        return;
    }
    Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT)
{
    // The message names the control by id only; it may not be a child yet when
    // a combo box measures during its creation, so the control is searched deep.
    if (nIDCtl != 0) {
        CWnd* pChild = GetDescendantWindow(nIDCtl, TRUE);
        if (pChild != NULL && ReflectLastMsg(pChild->m_hWnd))
            return;
    }
    Default();
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDeleteItemStruct)
{
    if (ReflectLastMsg(lpDeleteItemStruct->hwndItem))
        return;
    Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT lpCompareItemStruct)
{
    LRESULT lResult;
    if (ReflectLastMsg(lpCompareItemStruct->hwndItem, &lResult))
        return (int)lResult;
    return (int)Default();
}

int CWnd::OnCharToItem(UINT, CListBox* pListBox, UINT)
{
    LRESULT lResult;
    if (pListBox != NULL && ReflectLastMsg((HWND)GetCurrentMessage()->lParam, &lResult))
        return (int)lResult;
    return (int)Default();
}

int CWnd::OnVKeyToItem(UINT, CListBox* pListBox, UINT)
{
    LRESULT lResult;
    if (pListBox != NULL && ReflectLastMsg((HWND)GetCurrentMessage()->lParam, &lResult))
        return (int)lResult;
    return (int)Default();
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar != NULL && ReflectLastMsg(pScrollBar->m_hWnd))
        return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar != NULL && ReflectLastMsg(pScrollBar->m_hWnd))
        return;
    Default();
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam)
{
    // Creation and destruction name the child in LPARAM.
    if ((LOWORD(message) == WM_CREATE || LOWORD(message) == WM_DESTROY) &&
        ReflectLastMsg((HWND)lParam))
        return;
    Default();
}

/////////////////////////////////////////////////////////////////////////////
// Pre-translation

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = afxwnd::LookupPermanent(hWnd);
        if (pWnd != NULL && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

/////////////////////////////////////////////////////////////////////////////
// Modal loops

namespace {

// One message through the thread's pump; FALSE once WM_QUIT has been taken.
// *pMsg receives the message that was handled.
BOOL PumpOne(MSG* pMsg)
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL) {
        BOOL bResult = pThread->PumpMessage();
        *pMsg = pThread->m_msgCur;
        return bResult;
    }

    // A thread without a framework thread object: the same steps by hand.
    if (!::GetMessageW(pMsg, NULL, 0, 0))
        return FALSE;
    if (!CWnd::WalkPreTranslateTree(NULL, pMsg)) {
        ::TranslateMessage(pMsg);
        ::DispatchMessageW(pMsg);
    }
    return TRUE;
}

} // namespace

BOOL CWnd::ContinueModal()
{
    return (m_nFlags & WF_CONTINUEMODAL) != 0;
}

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        // Wake the loop up, it may be waiting for a message.
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    }
}

int CWnd::RunModalLoop(DWORD dwFlags)
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND hWndParent = ::GetParent(m_hWnd);
    // Callers that may end the loop before it starts (EndDialog in OnInitDialog)
    // set WF_CONTINUEMODAL themselves and do not call this once it is gone.
    m_nFlags |= (WF_MODALLOOP | WF_CONTINUEMODAL);

    for (;;) {
        // Idle while the queue is empty: tell the owner and the window itself.
        MSG msg;
        while (bIdle && !::PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE)) {
            if (bShowIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent != NULL && lIdleCount == 0)
                ::SendMessageW(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)m_hWnd);
            if ((dwFlags & MLF_NOKICKIDLE) ||
                !::SendMessageW(m_hWnd, WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++))
                bIdle = FALSE;
        }

        // Messages until the queue is empty again.
        do {
            if (!ContinueModal())
                goto ExitModal;
            if (!PumpOne(&msg)) {
                // WM_QUIT: end the loop and leave the quit for the outer loop.
                ::PostQuitMessage(0);
                m_nModalResult = -1;
                goto ExitModal;
            }
            if (bShowIdle && (msg.message == 0x118 /* WM_SYSTIMER */ || msg.message == WM_SYSKEYDOWN)) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!ContinueModal())
                goto ExitModal;
            if (AfxIsIdleMessage(&msg)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE));
    }

ExitModal:
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}

BOOL AFXAPI AfxIsIdleMessage(MSG* pMsg)
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL)
        return pThread->IsIdleMessage(pMsg);
    // Painting, the caret's timer and the framework's own idle kick come all the
    // time and say nothing about the user being busy.
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118 /* WM_SYSTIMER */ &&
        pMsg->message != WM_KICKIDLE && pMsg->message != WM_MOUSEMOVE &&
        pMsg->message != WM_NCMOUSEMOVE;
}

BOOL CWnd::CheckAutoCenter()
{
    return TRUE;
}

/////////////////////////////////////////////////////////////////////////////
// Command states of child controls

namespace {

// The state of a child control, as an update handler sets it.
class CChildCmdUI : public CCmdUI
{
public:
    virtual void SetCheck(int nCheck)
    {
        // Only check boxes and radio buttons (of the automatic kinds too) take it.
        UINT nType = (UINT)::GetWindowLongPtrW(m_pOther->m_hWnd, GWL_STYLE) & BS_TYPEMASK;
        if ((::SendMessageW(m_pOther->m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) &&
            nType != BS_PUSHBUTTON && nType != BS_DEFPUSHBUTTON)
            ::SendMessageW(m_pOther->m_hWnd, BM_SETCHECK, (WPARAM)nCheck, 0);
    }
};

} // namespace

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    CChildCmdUI state;
    CWnd wndTemp;   // stands in for children without an object of their own
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != NULL;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        state.m_nID = (UINT)::GetDlgCtrlID(hWndChild);
        CWnd* pChild = afxwnd::LookupPermanent(hWndChild);
        if (pChild != NULL) {
            state.m_pOther = pChild;
        } else {
            wndTemp.m_hWnd = hWndChild;
            state.m_pOther = &wndTemp;
        }
        // Automatic check boxes and radio buttons keep their own state, and
        // buttons of other kinds than push buttons are no commands of their own.
        BOOL bAutoButton = FALSE;
        if (::SendMessageW(hWndChild, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) {
            UINT nStyle = (UINT)::GetWindowLongPtrW(hWndChild, GWL_STYLE) & BS_TYPEMASK;
            bAutoButton = nStyle == BS_AUTOCHECKBOX || nStyle == BS_AUTO3STATE ||
                nStyle == BS_GROUPBOX || nStyle == BS_AUTORADIOBUTTON;
        }
        state.DoUpdate(pTarget, bAutoButton ? FALSE : bDisableIfNoHndler);
    }
    wndTemp.m_hWnd = NULL;
}

void CWnd::DoDataExchange(CDataExchange*)
{
    // Classes with dialog data override this with their DDX_ and DDV_ calls.
}
