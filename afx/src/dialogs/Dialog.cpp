// Dialog.cpp - CDialog: dialog boxes from templates, modal and modeless, and the
// dialog procedure that brings WM_INITDIALOG to OnInitDialog.
//
// A dialog window is made by the system from its template (CreateDialogIndirectParam)
// while the framework's creation hook attaches the object, so the window runs the
// framework's procedure with the system's dialog procedure as its default one. A
// modal dialog is such a modeless window plus a modal loop of the framework's
// own, which is why both kinds share one creation path.
#include "afxwin.h"
#include "afxpriv.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_MESSAGE(WM_SETFONT, HandleSetFont)
END_MESSAGE_MAP()

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    // Every other message reaches the object through the framework's procedure
    // before the system's dialog code sees it; only this one is the dialog
    // procedure's own.
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog* pDlg = DYNAMIC_DOWNCAST(CDialog, CWnd::FromHandlePermanent(hWnd));
    return pDlg != NULL ? pDlg->OnInitDialog() : TRUE;
}

/////////////////////////////////////////////////////////////////////////////
// Construction

void CDialog::CommonConstruct()
{
    m_nIDHelp = 0;
    m_lpszTemplateName = NULL;
    m_hDialogTemplate = NULL;
    m_lpDialogTemplate = NULL;
    m_lpDialogInit = NULL;
    m_pParentWnd = NULL;
    m_hWndTop = NULL;
}

CDialog::CDialog()
{
    CommonConstruct();
}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    CommonConstruct();
    m_lpszTemplateName = lpszTemplateName;
    m_pParentWnd = pParentWnd;
    if (IS_INTRESOURCE(lpszTemplateName))
        m_nIDHelp = LOWORD((UINT_PTR)lpszTemplateName);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
{
    CommonConstruct();
    m_lpszTemplateName = MAKEINTRESOURCE(nIDTemplate);
    m_pParentWnd = pParentWnd;
    m_nIDHelp = nIDTemplate;
}

CDialog::~CDialog()
{
    // A modeless dialog still open goes with its object (CWnd's destructor).
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit)
{
    if (lpDialogTemplate == NULL)
        return FALSE;
    m_lpDialogTemplate = lpDialogTemplate;
    m_lpDialogInit = lpDialogInit;
    m_pParentWnd = pParentWnd;
    return TRUE;
}

BOOL CDialog::InitModalIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd)
{
    if (hDialogTemplate == NULL)
        return FALSE;
    m_hDialogTemplate = hDialogTemplate;
    m_pParentWnd = pParentWnd;
    return TRUE;
}

void CDialog::SetHelpID(UINT nIDR)
{
    m_nIDHelp = nIDR;
}

LPCDLGTEMPLATE CDialog::LockTemplate(HINSTANCE* phInst) const
{
    *phInst = AfxGetResourceHandle();
    if (m_lpszTemplateName != NULL) {
        HINSTANCE hInst = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
        HRSRC hResource = ::FindResourceW(hInst, m_lpszTemplateName, RT_DIALOG);
        HGLOBAL hTemplate = hResource != NULL ? ::LoadResource(hInst, hResource) : NULL;
        *phInst = hInst;
        return hTemplate != NULL ? (LPCDLGTEMPLATE)::LockResource(hTemplate) : NULL;
    }
    if (m_hDialogTemplate != NULL)
        return (LPCDLGTEMPLATE)::LockResource(m_hDialogTemplate);
    return m_lpDialogTemplate;
}

/////////////////////////////////////////////////////////////////////////////
// Creating the window

BOOL CDialog::CreateDlgWindow(LPCDLGTEMPLATE lpDialogTemplate, HWND hWndParent, HINSTANCE hInst)
{
    if (m_hWnd != NULL || lpDialogTemplate == NULL)
        return FALSE;
    if (hInst == NULL)
        hInst = AfxGetResourceHandle();

    // EndDialog during OnInitDialog clears the flag; that is how it is told apart.
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;

    HWND hWnd = NULL;
    try {
        AfxHookWindowCreate(this);
        hWnd = ::CreateDialogIndirectParamW(hInst, lpDialogTemplate, hWndParent, AfxDlgProc, 0);
    } catch (CException* e) {
        e->Delete();
        m_nModalResult = -1;
    }

    // The object was never attached (a broken template): it may clean up as a
    // window that went would. Once attached but failed, it has been through
    // PostNcDestroy already and may be gone: nothing of it is touched.
    if (!AfxUnhookWindowCreate()) {
        PostNcDestroy();
        return FALSE;
    }
    if (hWnd == NULL)
        return FALSE;

    if (!(m_nFlags & WF_CONTINUEMODAL)) {
        // Ended before it was shown.
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit,
    HINSTANCE hInst)
{
    if (pParentWnd == NULL)
        pParentWnd = AfxGetMainWnd();
    m_lpDialogInit = lpDialogInit;
    return CreateDlgWindow(lpDialogTemplate, pParentWnd->GetSafeHwnd(), hInst);
}

BOOL CDialog::CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst)
{
    if (hDialogTemplate == NULL)
        return FALSE;
    LPCDLGTEMPLATE lpTemplate = (LPCDLGTEMPLATE)::LockResource(hDialogTemplate);
    return CreateIndirect(lpTemplate, pParentWnd, NULL, hInst);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit)
{
    return CreateIndirect(lpDialogTemplate, pParentWnd, lpDialogInit, NULL);
}

BOOL CDialog::CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd)
{
    return CreateIndirect(hDialogTemplate, pParentWnd, NULL);
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    if (lpszTemplateName == NULL)
        return FALSE;
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0)
        m_nIDHelp = LOWORD((UINT_PTR)lpszTemplateName);

    HINSTANCE hInst = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
    HRSRC hResource = ::FindResourceW(hInst, lpszTemplateName, RT_DIALOG);
    HGLOBAL hTemplate = hResource != NULL ? ::LoadResource(hInst, hResource) : NULL;
    if (hTemplate == NULL)
        return FALSE;
    return CreateIndirect(hTemplate, pParentWnd, hInst);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCE(nIDTemplate), pParentWnd);
}

/////////////////////////////////////////////////////////////////////////////
// Modal dialogs

HWND CDialog::PreModal()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        pApp->EnableModeless(FALSE);
    HWND hWnd = CWnd::GetSafeOwner_(m_pParentWnd->GetSafeHwnd(), &m_hWndTop);
    AfxHookWindowCreate(this);
    return hWnd;
}

void CDialog::PostModal()
{
    AfxUnhookWindowCreate();    // when the window was never made
    Detach();                   // when it outlived the modal state somehow
    if (m_hWndTop != NULL && ::IsWindow(m_hWndTop))
        ::EnableWindow(m_hWndTop, TRUE);
    m_hWndTop = NULL;
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        pApp->EnableModeless(TRUE);
}

int CDialog::DoModal()
{
    HINSTANCE hInst;
    LPCDLGTEMPLATE lpTemplate = LockTemplate(&hInst);
    if (lpTemplate == NULL || m_hWnd != NULL)
        return -1;

    HWND hWndParent = PreModal();
    AfxUnhookWindowCreate();    // the creation below hooks for itself
    BOOL bEnableParent = FALSE;
    if (hWndParent != NULL && ::IsWindowEnabled(hWndParent)) {
        ::EnableWindow(hWndParent, FALSE);
        bEnableParent = TRUE;
    }

    try {
        if (CreateDlgWindow(lpTemplate, hWndParent, hInst)) {
            if (m_nFlags & WF_CONTINUEMODAL) {
                DWORD dwFlags = MLF_SHOWONIDLE;
                if (GetStyle() & DS_NOIDLEMSG)
                    dwFlags |= MLF_NOIDLEMSG;
                RunModalLoop(dwFlags);
            }
            // Hidden before the owner comes back, so that nothing flashes.
            if (m_hWnd != NULL)
                SetWindowPos(NULL, 0, 0, 0, 0,
                    SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        }
    } catch (CException* e) {
        e->Delete();
        m_nModalResult = -1;
    }

    // The owner is enabled again before the dialog goes, so that the system
    // hands the activation back to it.
    if (bEnableParent)
        ::EnableWindow(hWndParent, TRUE);
    if (hWndParent != NULL && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndParent);

    DestroyWindow();
    PostModal();
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    if (m_hWnd == NULL)
        return;
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    ::EndDialog(m_hWnd, nResult);
}

/////////////////////////////////////////////////////////////////////////////
// Initialisation

void CDialog::PreInitDialog()
{
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    PreInitDialog();

    CRect rectBefore;
    ::GetWindowRect(m_hWnd, &rectBefore);
    BOOL bVisibleBefore = (GetStyle() & WS_VISIBLE) != 0;

    // The system's dialog procedure calls AfxDlgProc, which calls OnInitDialog.
    LRESULT lResult = Default();

    // Centred unless it is a child, was shown or moved by OnInitDialog, was
    // ended there, or its template places it.
    if (m_hWnd != NULL && (m_nFlags & WF_CONTINUEMODAL) && !bVisibleBefore &&
        !(GetStyle() & (WS_CHILD | WS_VISIBLE))) {
        CRect rectAfter;
        ::GetWindowRect(m_hWnd, &rectAfter);
        if (rectAfter.TopLeft() == rectBefore.TopLeft() && CheckAutoCenter())
            CenterWindow();
    }
    return lResult;
}

LRESULT CDialog::HandleSetFont(WPARAM wParam, LPARAM)
{
    OnSetFont(CFont::FromHandle((HFONT)wParam));
    Default();
    return 0;
}

BOOL CDialog::OnInitDialog()
{
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;    // the system puts the focus on the first tab stop
}

void CDialog::OnSetFont(CFont*)
{
}

BOOL CDialog::CheckAutoCenter()
{
    // The template's own placement, else the window's style (a template in
    // memory that was only there during Create).
    HINSTANCE hInst;
    LPCDLGTEMPLATE lpTemplate = LockTemplate(&hInst);
    DWORD dwStyle;
    if (lpTemplate == NULL) {
        dwStyle = GetStyle();
    } else {
        const WORD* pw = (const WORD*)lpTemplate;
        // The extended form starts with version 1 and signature 0xFFFF, then
        // the help id and the extended style before the style.
        if (pw[0] == 1 && pw[1] == 0xFFFF)
            dwStyle = *(const DWORD UNALIGNED*)(pw + 6);
        else
            dwStyle = lpTemplate->style;
    }
    return !(dwStyle & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN));
}

/////////////////////////////////////////////////////////////////////////////
// OK and Cancel

void CDialog::OnOK()
{
    // A refused value has been reported and has the focus: the dialog stays.
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

/////////////////////////////////////////////////////////////////////////////
// Attributes and operations

void CDialog::MapDialogRect(LPRECT lpRect) const
{
    ::MapDialogRect(m_hWnd, lpRect);
}

void CDialog::NextDlgCtrl() const
{
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0);
}

void CDialog::PrevDlgCtrl() const
{
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    // Through the dialog, so that the default button follows the focus.
    if (pWndCtrl != NULL && pWndCtrl->m_hWnd != NULL)
        ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, (WPARAM)pWndCtrl->m_hWnd, 1);
}

void CDialog::SetDefID(UINT nID)
{
    ::SendMessageW(m_hWnd, DM_SETDEFID, nID, 0);
}

DWORD CDialog::GetDefID() const
{
    return (DWORD)::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0);
}

/////////////////////////////////////////////////////////////////////////////
// Messages

namespace {

BOOL IsEditControl(HWND hWnd)
{
    WCHAR szClass[8];
    return ::GetClassNameW(hWnd, szClass, 8) == 4 && ::lstrcmpiW(szClass, L"Edit") == 0;
}

} // namespace

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;

    // A multi-line edit keeps Escape to itself, so the dialog would never be
    // cancelled from it; unless Cancel is there and disabled, cancel here.
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_CANCEL) &&
        (::GetWindowLongPtrW(pMsg->hwnd, GWL_STYLE) & ES_MULTILINE) && IsEditControl(pMsg->hwnd) &&
        ::IsChild(m_hWnd, pMsg->hwnd)) {
        HWND hWndCancel = ::GetDlgItem(m_hWnd, IDCANCEL);
        if (hWndCancel == NULL || ::IsWindowEnabled(hWndCancel)) {
            SendMessage(WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        }
    }

    // Keyboard and mouse input of the dialog and its controls: Tab, arrows,
    // Enter, Escape and mnemonics as in any dialog.
    BOOL bInput = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
        (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
    if (!bInput || (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)))
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;

    // Control notifications, buttons that are no commands and system commands
    // stay with the dialog.
    if ((nCode != (int)CN_COMMAND && nCode != (int)CN_UPDATE_COMMAND_UI) || !(nID & 0x8000) || nID >= 0xF000)
        return FALSE;

    CWnd* pOwner = GetParent();
    if (pOwner != NULL && pOwner != this && pOwner->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinThread* pThread = AfxGetThread();
    return pThread != NULL && pThread->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
