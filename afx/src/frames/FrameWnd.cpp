// FrameWnd.cpp - CFrameWnd: creation from resources, menu updates through the
// command handlers, status-line prompts, command routing, accelerators, the
// active view and modal states; CWnd's look-ups of its frames.
#include "afxwin.h"
#include "afxpriv.h"
#include "afxtempl.h"

/////////////////////////////////////////////////////////////////////////////
// CWnd: the frames around a window

namespace {

BOOL IsFrame(const CWnd* pWnd)
{
    return pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd));
}

// The parent of a child window, the owner of a top-level one.
HWND ParentOwner(HWND hWnd)
{
    return (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(hWnd)
                                                            : ::GetWindow(hWnd, GW_OWNER);
}

// hWndChild is hWndParent or belongs to it (as a child or an owned window).
BOOL IsDescendant(HWND hWndParent, HWND hWndChild)
{
    for (; hWndChild != NULL; hWndChild = ParentOwner(hWndChild)) {
        if (hWndChild == hWndParent)
            return TRUE;
    }
    return FALSE;
}

} // namespace

CFrameWnd* CWnd::GetParentFrame() const
{
    if (GetSafeHwnd() == NULL)
        return NULL;
    for (CWnd* pParent = GetParent(); pParent != NULL; pParent = pParent->GetParent()) {
        if (IsFrame(pParent))
            return static_cast<CFrameWnd*>(pParent);
    }
    return NULL;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    if (GetSafeHwnd() == NULL)
        return NULL;
    CFrameWnd* pFrame = IsFrame(this) ? (CFrameWnd*)this : GetParentFrame();
    if (pFrame != NULL) {
        for (CFrameWnd* pOuter; (pOuter = pFrame->GetParentFrame()) != NULL;)
            pFrame = pOuter;
    }
    return pFrame;
}

/////////////////////////////////////////////////////////////////////////////
// CFrameWnd: construction

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

// The right and bottom are no coordinates: Create passes CW_USEDEFAULT on for
// the size too.
const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_SETFOCUS()
    ON_WM_ACTIVATE()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_WM_ENTERIDLE()
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
    ON_MESSAGE_VOID(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd()
    : m_bAutoMenuEnable(TRUE), m_nIdleFlags(0), m_hMenuDefault(NULL), m_hAccelTable(NULL),
      m_nIDHelp(0), m_nIDTracking(0), m_nIDLastMessage(0), m_pViewActive(NULL),
      m_cModalStack(0), m_phWndDisable(NULL), m_nWindow(-1), m_bInRecalcLayout(FALSE)
{
}

CFrameWnd::~CFrameWnd()
{
    delete[] m_phWndDisable;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == NULL) {
        if (!AfxDeferRegisterClass(AFX_WNDFRAMEORVIEW_REG))
            return FALSE;
        cs.lpszClass = AFX_WNDFRAMEORVIEW;
    }
    if (cs.style & FWS_ADDTOTITLE)
        cs.style |= FWS_PREFIXTITLE;
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
    const RECT& rect, CWnd* pParentWnd, LPCTSTR lpszMenuName, DWORD dwExStyle,
    CCreateContext* pContext)
{
    HMENU hMenu = NULL;
    if (lpszMenuName != NULL) {
        // The window owns the menu from now on and destroys it with itself.
        HINSTANCE hInst = AfxFindResourceHandle(lpszMenuName, RT_MENU);
        hMenu = ::LoadMenuW(hInst, lpszMenuName);
        if (hMenu == NULL) {
            PostNcDestroy();
            return FALSE;
        }
    }

    m_strTitle = lpszWindowName;
    // rectDefault's size is CW_USEDEFAULT: computed without signed overflow.
    int cx = (int)((UINT)rect.right - (UINT)rect.left);
    int cy = (int)((UINT)rect.bottom - (UINT)rect.top);
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, cx,
            cy, pParentWnd->GetSafeHwnd(), hMenu, (LPVOID)pContext)) {
        // A window that was made and failed in WM_CREATE took the menu with it.
        if (hMenu != NULL && ::IsMenu(hMenu))
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

LPCTSTR CFrameWnd::GetIconWndClass(DWORD dwDefaultStyle, UINT nIDResource)
{
    // A frame with an icon of its own gets a class like the standard one but
    // with that icon.
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), RT_GROUP_ICON);
    HICON hIcon = ::LoadIconW(hInst, MAKEINTRESOURCE(nIDResource));
    if (hIcon == NULL)
        return NULL;
    CREATESTRUCT cs;
    memset(&cs, 0, sizeof(cs));
    cs.style = dwDefaultStyle;
    PreCreateWindow(cs);
    WNDCLASSW wndcls;
    if (cs.lpszClass != NULL && ::GetClassInfoW(AfxGetInstanceHandle(), cs.lpszClass, &wndcls) &&
        wndcls.hIcon != hIcon)
        return AfxRegisterWndClass(wndcls.style, wndcls.hCursor, wndcls.hbrBackground, hIcon);
    return NULL;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
    CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    CString strFull;
    if (strFull.LoadString(nIDResource))
        AfxExtractSubString(m_strTitle, strFull, 0);

    if (!AfxDeferRegisterClass(AFX_WNDFRAMEORVIEW_REG))
        return FALSE;
    LPCTSTR lpszClass = GetIconWndClass(dwDefaultStyle, nIDResource);
    // Create replaces m_strTitle: the title must outlive that.
    CString strTitle = m_strTitle;
    if (!Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, pParentWnd,
            MAKEINTRESOURCE(nIDResource), 0, pContext))
        return FALSE;   // the object is gone (PostNcDestroy)

    m_hMenuDefault = ::GetMenu(m_hWnd);
    LoadAccelTable(MAKEINTRESOURCE(nIDResource));
    // Frames without a context have their views already: they start now.
    if (pContext == NULL)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCTSTR lpszResourceName)
{
    if (m_hAccelTable != NULL || lpszResourceName == NULL)
        return FALSE;   // one table per frame
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_ACCELERATOR);
    m_hAccelTable = ::LoadAcceleratorsW(hInst, lpszResourceName);
    return m_hAccelTable != NULL;
}

HACCEL CFrameWnd::GetDefaultAccelerator()
{
    return m_hAccelTable;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    if (pContext == NULL || pContext->m_pNewViewClass == NULL)
        return NULL;
    CObject* pObject = pContext->m_pNewViewClass->CreateObject();
    if (pObject == NULL)
        return NULL;
    if (!pObject->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete pObject;
        return NULL;
    }
    CWnd* pView = static_cast<CWnd*>(pObject);
    // A view that fails is deleted by its PostNcDestroy.
    if (!pView->Create(NULL, NULL, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext))
        return NULL;
    // The view draws the sunken edge; the frame need not draw a second one.
    if (pView->GetExStyle() & WS_EX_CLIENTEDGE)
        ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    return pView;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext != NULL && pContext->m_pNewViewClass != NULL)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != NULL;
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    if (!OnCreateClient(lpcs, (CCreateContext*)lpcs->lpCreateParams))
        return -1;
    // The status line starts with the idle prompt once the frame is up.
    PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    RecalcLayout();
    return 0;
}

void CFrameWnd::OnDestroy()
{
    // The frame's own menu goes with the window, not one set later for a while.
    if (m_hMenuDefault != NULL && ::GetMenu(m_hWnd) != m_hMenuDefault)
        ::SetMenu(m_hWnd, m_hMenuDefault);
    CWnd::OnDestroy();
}

void CFrameWnd::OnClose()
{
    // Without documents there is nothing to save or ask: the frame simply goes
    // (the main window's end posts WM_QUIT in OnNcDestroy).
    DestroyWindow();
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

/////////////////////////////////////////////////////////////////////////////
// Layout, title, activation

void CFrameWnd::RecalcLayout(BOOL bNotify)
{
    if (m_bInRecalcLayout)
        return;
    m_bInRecalcLayout = TRUE;
    (void)bNotify;
    m_nIdleFlags &= ~(idleLayout | idleNotify);

    // Without control bars the pane takes the client area, less the border.
    CWnd* pPane = GetDlgItem(AFX_IDW_PANE_FIRST);
    if (pPane != NULL) {
        CRect rect;
        GetClientRect(&rect);
        rect.left += m_rectBorder.left;
        rect.top += m_rectBorder.top;
        rect.right -= m_rectBorder.right;
        rect.bottom -= m_rectBorder.bottom;
        if (rect.right < rect.left)
            rect.right = rect.left;
        if (rect.bottom < rect.top)
            rect.bottom = rect.top;
        pPane->MoveWindow(&rect);
    }
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify)
{
    m_nIdleFlags |= idleLayout | (bNotify ? idleNotify : 0);
}

void CFrameWnd::DelayUpdateFrameTitle()
{
    m_nIdleFlags |= idleTitle;
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

BOOL CFrameWnd::OnEraseBkgnd(CDC* pDC)
{
    // The view covers the client area: erasing under it only flickers.
    if (m_pViewActive != NULL)
        return TRUE;
    return CWnd::OnEraseBkgnd(pDC);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL)
{
    if (GetStyle() & FWS_ADDTOTITLE)
        UpdateFrameTitleForDocument(NULL);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCTSTR lpszDocName)
{
    CString strText;
    if (GetStyle() & FWS_PREFIXTITLE) {
        if (lpszDocName != NULL) {
            strText = lpszDocName;
            if (m_nWindow > 0) {
                CString strNumber;
                strNumber.Format(_T(":%d"), m_nWindow);
                strText += strNumber;
            }
            strText += _T(" - ");
        }
        strText += m_strTitle;
    } else {
        strText = m_strTitle;
        if (lpszDocName != NULL) {
            strText += _T(" - ");
            strText += lpszDocName;
            if (m_nWindow > 0) {
                CString strNumber;
                strNumber.Format(_T(":%d"), m_nWindow);
                strText += strNumber;
            }
        }
    }
    // Setting an unchanged title would only make the caption flicker.
    CString strOld;
    GetWindowText(strOld);
    if (strOld != strText)
        SetWindowText(strText);
}

void CFrameWnd::BringToTop(int nCmdShow)
{
    if (nCmdShow != SW_HIDE && nCmdShow != SW_MINIMIZE && nCmdShow != SW_SHOWMINNOACTIVE &&
        nCmdShow != SW_SHOWNA && nCmdShow != SW_SHOWNOACTIVATE)
        ::BringWindowToTop(::GetLastActivePopup(m_hWnd));
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    BringToTop(nCmdShow);
    if (nCmdShow != -1) {
        ShowWindow(nCmdShow);
        BringToTop(nCmdShow);
    }
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL bMakeVisible)
{
    // A frame without an active view makes its first pane the active one.
    CView* pView = NULL;
    if (GetActiveView() == NULL) {
        CWnd* pWnd = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
        if (pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(CView))) {
            pView = static_cast<CView*>(pWnd);
            SetActiveView(pView, FALSE);
        }
    }
    if (bMakeVisible) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        if (pView != NULL)
            pView->OnActivateFrame(WA_INACTIVE, this);
        // The main window shows itself as the program was asked to, once.
        int nCmdShow = -1;
        CWinApp* pApp = AfxGetApp();
        if (pApp != NULL && pApp->m_pMainWnd == this) {
            nCmdShow = pApp->m_nCmdShow;
            pApp->m_nCmdShow = -1;
        }
        ActivateFrame(nCmdShow);
        if (pView != NULL)
            pView->OnActivateView(TRUE, pView, pView);
    }
    OnUpdateFrameTitle(TRUE);
}

CView* CFrameWnd::GetActiveView() const
{
    return m_pViewActive;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* pViewOld = m_pViewActive;
    if (pViewNew == pViewOld)
        return;
    // No view is active while the old one is told; if it makes another view
    // active meanwhile, that choice stands.
    m_pViewActive = NULL;
    if (pViewOld != NULL)
        pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
    if (m_pViewActive != NULL)
        return;
    m_pViewActive = pViewNew;
    if (pViewNew != NULL && bNotify)
        pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CFrameWnd* CFrameWnd::GetActiveFrame()
{
    return this;
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd)
{
    // The frame passes the focus on to the view the user worked in.
    if (m_pViewActive != NULL)
        m_pViewActive->SetFocus();
    else
        CWnd::OnSetFocus(pOldWnd);
}

void CFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CWnd::OnActivate(nState, pWndOther, bMinimized);
    CView* pActiveView = GetActiveView();
    if (pActiveView == NULL)
        pActiveView = GetActiveFrame()->GetActiveView();
    if (pActiveView != NULL) {
        // Coming back to the frame puts the focus back into its view.
        if (nState != WA_INACTIVE && !bMinimized)
            pActiveView->OnActivateView(TRUE, pActiveView, pActiveView);
        pActiveView->OnActivateFrame(nState, this);
    }
}

/////////////////////////////////////////////////////////////////////////////
// Commands

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    CView* pView = GetActiveView();
    if (pView != NULL && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp != NULL && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        HACCEL hAccel = GetDefaultAccelerator();
        return hAccel != NULL && ::TranslateAcceleratorW(m_hWnd, hAccel, pMsg);
    }
    return FALSE;
}

void CFrameWnd::OnInitMenuPopup(CMenu* pMenu, UINT, BOOL bSysMenu)
{
    if (bSysMenu || pMenu == NULL)
        return;     // the system's own commands keep the system's state

    CCmdUI state;
    state.m_pMenu = pMenu;
    // The menu that holds this popup: the popup itself when it is tracked on its
    // own, else the menu bar of the top-level window when the popup is on it.
    if (AfxGetThreadState()->m_hTrackingMenu == pMenu->m_hMenu) {
        state.m_pParentMenu = pMenu;
    } else {
        CWnd* pTop = GetTopLevelParent();
        HMENU hBar = pTop != NULL ? ::GetMenu(pTop->m_hWnd) : NULL;
        if (hBar != NULL) {
            int nBarItems = ::GetMenuItemCount(hBar);
            for (int i = 0; i < nBarItems; ++i) {
                if (::GetSubMenu(hBar, i) == pMenu->m_hMenu) {
                    state.m_pParentMenu = CMenu::FromHandle(hBar);
                    break;
                }
            }
        }
    }

    state.m_nIndexMax = pMenu->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pMenu->GetMenuItemID((int)state.m_nIndex);
        if (state.m_nID == 0)
            continue;   // a separator
        if (state.m_nID == (UINT)-1) {
            // A popup entry follows its first item, and is never disabled for
            // want of a handler.
            state.m_pSubMenu = pMenu->GetSubMenu((int)state.m_nIndex);
            if (state.m_pSubMenu == NULL ||
                (state.m_nID = state.m_pSubMenu->GetMenuItemID(0)) == 0 ||
                state.m_nID == (UINT)-1)
                continue;
            state.DoUpdate(this, FALSE);
        } else {
            state.m_pSubMenu = NULL;
            state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        }

        // A handler may have deleted items: go back by as many, then past the
        // items of the same command, so none is skipped or visited twice.
        UINT nCount = pMenu->GetMenuItemCount();
        if (nCount < state.m_nIndexMax) {
            state.m_nIndex -= state.m_nIndexMax - nCount;
            while (state.m_nIndex < nCount &&
                   pMenu->GetMenuItemID((int)state.m_nIndex) == state.m_nID)
                ++state.m_nIndex;
        }
        state.m_nIndexMax = nCount;
    }
}

/////////////////////////////////////////////////////////////////////////////
// Prompts on the status line

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU)
{
    CFrameWnd* pTopFrame = GetTopLevelFrame();
    if (nFlags == 0xFFFF) {
        // The menu closed: back to the idle prompt at once.
        m_nFlags &= ~WF_NOPOPMSG;
        m_nIDTracking = AFX_IDS_IDLEMESSAGE;
        SendMessage(WM_SETMESSAGESTRING, (WPARAM)m_nIDTracking);
        CWnd* pBar = GetMessageBar();
        if (pBar != NULL)
            pBar->UpdateWindow();
    } else {
        // The prompt follows when the menu loop is idle (OnEnterIdle).
        if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP)))
            m_nIDTracking = 0;
        else if (nItemID >= 0xF000 && nItemID < 0xF1F0)
            m_nIDTracking = ID_COMMAND_FROM_SC(nItemID);
        else if (nItemID >= AFX_IDM_FIRST_MDICHILD)
            m_nIDTracking = AFX_IDS_MDICHILD;
        else
            m_nIDTracking = nItemID;
        if (pTopFrame != NULL)
            pTopFrame->m_nFlags |= WF_NOPOPMSG;
    }
    // A frame inside another window has no menu loop of its own to wait for.
    if (m_nIDTracking != m_nIDLastMessage && GetParent() != NULL)
        PostMessage(WM_KICKIDLE);
}

void CFrameWnd::OnEnterIdle(UINT nWhy, CWnd* pWho)
{
    CWnd::OnEnterIdle(nWhy, pWho);
    if (nWhy == MSGF_MENU && m_nIDTracking != m_nIDLastMessage)
        SetMessageText(m_nIDTracking);
}

BOOL CFrameWnd::IsTracking() const
{
    return m_nIDTracking != 0 && m_nIDTracking != AFX_IDS_HELPMODEMESSAGE &&
        m_nIDTracking != AFX_IDS_IDLEMESSAGE;
}

void CFrameWnd::SetMessageText(LPCTSTR lpszText)
{
    SendMessage(WM_SETMESSAGESTRING, 0, (LPARAM)lpszText);
}

void CFrameWnd::SetMessageText(UINT nID)
{
    SendMessage(WM_SETMESSAGESTRING, (WPARAM)nID);
}

CWnd* CFrameWnd::GetMessageBar()
{
    return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE);
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const
{
    // The prompt is the part before the tool tip's text.
    rMessage.Empty();
    CString strFull;
    if (strFull.LoadString(nID))
        AfxExtractSubString(rMessage, strFull, 0);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    UINT nIDLast = m_nIDLastMessage;
    m_nFlags &= ~WF_NOPOPMSG;

    CWnd* pBar = GetMessageBar();
    if (pBar != NULL) {
        CString strMessage;
        if (lParam != 0) {
            strMessage = (LPCTSTR)lParam;
        } else if (wParam != 0) {
            UINT nID = (UINT)wParam;
            if (nID >= 0xF000 && nID < 0xF1F0)
                nID = ID_COMMAND_FROM_SC(nID);
            if (nID >= AFX_IDM_FIRST_MDICHILD)
                nID = AFX_IDS_MDICHILD;
            GetMessageString(nID, strMessage);
        }
        pBar->SetWindowText(strMessage);
        // The bar may belong to another frame (a floating one): it keeps track too.
        CFrameWnd* pBarFrame = pBar->GetParentFrame();
        if (pBarFrame != NULL && pBarFrame != this) {
            pBarFrame->m_nIDLastMessage = (UINT)wParam;
            pBarFrame->m_nIDTracking = (UINT)wParam;
        }
    }
    m_nIDLastMessage = (UINT)wParam;
    m_nIDTracking = (UINT)wParam;
    return (LRESULT)nIDLast;
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam)
{
    // A prompt of a tracked menu item stays until the menu is done.
    if (m_nFlags & WF_NOPOPMSG)
        return 0;
    return SendMessage(WM_SETMESSAGESTRING, wParam, lParam);
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
    if (m_nIdleFlags & idleMenu)
        DrawMenuBar();
    if (m_nIdleFlags & idleTitle)
        OnUpdateFrameTitle(TRUE);
    if (m_nIdleFlags & idleLayout) {
        RecalcLayout((m_nIdleFlags & idleNotify) != 0);
        UpdateWindow();
    }
    if (m_nIDTracking != m_nIDLastMessage)
        SetMessageText(m_nIDTracking);
    m_nIdleFlags = 0;
}

/////////////////////////////////////////////////////////////////////////////
// Modal states: the frame and its windows are disabled while a modeless
// window of it acts as modal.

BOOL CFrameWnd::InModalState() const
{
    return m_cModalStack != 0;
}

void CFrameWnd::BeginModalState()
{
    if (++m_cModalStack > 1)
        return;
    CWnd* pTop = GetTopLevelParent();
    HWND hWndTop = pTop != NULL ? pTop->m_hWnd : m_hWnd;

    // Every enabled top-level window of the framework that belongs to this
    // frame's top-level window, unless it asks to stay enabled.
    CArray<HWND, HWND> windows;
    for (HWND hWnd = ::GetWindow(::GetDesktopWindow(), GW_CHILD); hWnd != NULL;
         hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        if (::IsWindowEnabled(hWnd) && CWnd::FromHandlePermanent(hWnd) != NULL &&
            IsDescendant(hWndTop, hWnd) && ::SendMessageW(hWnd, WM_DISABLEMODAL, 0, 0) == 0)
            windows.Add(hWnd);
    }
    if (windows.GetSize() == 0)
        return;
    m_phWndDisable = new HWND[windows.GetSize() + 1];
    for (INT_PTR i = 0; i < windows.GetSize(); ++i) {
        ::EnableWindow(windows[i], FALSE);
        m_phWndDisable[i] = windows[i];
    }
    m_phWndDisable[windows.GetSize()] = NULL;
}

void CFrameWnd::EndModalState()
{
    if (m_cModalStack == 0 || --m_cModalStack > 0 || m_phWndDisable == NULL)
        return;
    for (HWND* p = m_phWndDisable; *p != NULL; ++p) {
        if (::IsWindow(*p))
            ::EnableWindow(*p, TRUE);
    }
    delete[] m_phWndDisable;
    m_phWndDisable = NULL;
}
