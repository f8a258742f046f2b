// afxfrm_.h - frame windows and views.
//
//   CCreateContext  what a frame is told to create inside itself (the view class)
//   CFrameWnd       a top-level (or child) frame: menu, accelerators, title and icon
//                   from one resource id; menu items kept up to date from the
//                   command handlers; prompts for the status line; commands routed
//                   to the active view, the frame, then the application
//   CView           a pane of a frame that draws itself (OnDraw) and becomes the
//                   frame's active view when clicked
//
// Documents are not part of this framework: views live without one and the
// CDocument parameters are only there to keep the familiar signatures.
// Included by afxwin.h after afxapp_.h.
#pragma once

#include "afxres.h"

class CDocTemplate;
class CPrintInfo;

// Frame styles
#define FWS_ADDTOTITLE      0x00008000L     // the title is kept up to date by the frame
#define FWS_PREFIXTITLE     0x00004000L     // "document - application" rather than the reverse
#define FWS_SNAPTOBARS      0x00002000L     // the frame's size follows its control bars

// Window-object flags that frames use besides those of afxwin.h
#ifndef WF_STAYACTIVE
#define WF_STAYACTIVE       0x0020          // looks active although it is not
#define WF_NOPOPMSG         0x0040          // a menu prompt is shown: WM_POPMESSAGESTRING waits
#define WF_MODALDISABLE     0x0080          // disabled by a modal state
#endif

// A private message whose handler takes and returns nothing.
#ifndef ON_MESSAGE_VOID
#define ON_MESSAGE_VOID(message, memberFxn) \
    _AFX_WND_ENTRY(message, AfxSig_vv, void (AFX_MSG_CALL CWnd::*)(void), &ThisClass::memberFxn)
#endif

// The style of views that a frame creates itself.
#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)

// A system command's prompt is a string of the AFX_IDS_SC range.
#define ID_COMMAND_FROM_SC(sc) ((((sc) - 0xF000) >> 4) + AFX_IDS_SCFIRST)

struct CCreateContext
{
    CRuntimeClass* m_pNewViewClass;     // the view OnCreateClient makes, or NULL
    CDocument* m_pCurrentDoc;
    CDocTemplate* m_pNewDocTemplate;
    CView* m_pLastView;
    CFrameWnd* m_pCurrentFrame;

    CCreateContext() { memset(this, 0, sizeof(*this)); }
};

/////////////////////////////////////////////////////////////////////////////
// CFrameWnd

class AFX_CORE_CLASS CFrameWnd : public CWnd
{
    DECLARE_DYNCREATE(CFrameWnd)

public:
// Construction
    // The system's default position and size.
    static const CRect rectDefault;

    CFrameWnd();

    // The menu (lpszMenuName, found through the resource chain) belongs to the
    // window. FALSE when the menu or the window cannot be made; the object has
    // then been given to PostNcDestroy (deleted).
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
        DWORD dwStyle = WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
        CWnd* pParentWnd = NULL, LPCTSTR lpszMenuName = NULL, DWORD dwExStyle = 0,
        CCreateContext* pContext = NULL);
    // Menu, accelerators, icon and title (the string's part before '\n') of one
    // resource id. The menu must exist.
    virtual BOOL LoadFrame(UINT nIDResource,
        DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
        CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL);
    BOOL LoadAccelTable(LPCTSTR lpszResourceName);
    // A view of pContext->m_pNewViewClass as child nID; NULL when it fails.
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

// Attributes
    // Menu items without an update or command handler are disabled.
    BOOL m_bAutoMenuEnable;
    // The title the frame shows (FWS_ADDTOTITLE).
    CString m_strTitle;

    virtual CView* GetActiveView() const;
    // bNotify tells the views through OnActivateView.
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    // The frame whose view is active: this frame (MDI frames answer their child).
    virtual CFrameWnd* GetActiveFrame();
    // A menu prompt is being shown.
    BOOL IsTracking() const;
    BOOL InModalState() const;

// Operations
    // Shows the frame (nCmdShow -1: normal, or restored) and brings it to the top.
    virtual void ActivateFrame(int nCmdShow = -1);
    // Makes the first pane the active view and, when bMakeVisible, sends it
    // WM_INITIALUPDATE and shows the frame.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    // Places the panes in the client area.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // The same, on the next idle time.
    void DelayRecalcLayout(BOOL bNotify = TRUE);
    void DelayUpdateFrameTitle();
    // Shows a prompt on the status line (a text, or a string id).
    void SetMessageText(LPCTSTR lpszText);
    void SetMessageText(UINT nID);
    // Disables every window of the application's window tree that belongs to
    // this frame (nested calls count), and enables them again.
    void BeginModalState();
    void EndModalState();

// Overridables
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    // The prompt of a command: its string resource up to '\n'.
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    // The status line: the descendant with id AFX_IDW_STATUS_BAR, or NULL.
    virtual CWnd* GetMessageBar();
    // Creates the client area's windows: the view of pContext, if any.
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    virtual HACCEL GetDefaultAccelerator();

// Implementation
    virtual ~CFrameWnd();

    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // The frame's accelerators for keystrokes of its windows.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Active view first, then the frame, then the application.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    // Frames live on the heap and delete themselves when their window goes.
    virtual void PostNcDestroy();

    void UpdateFrameTitleForDocument(LPCTSTR lpszDocName);
    void BringToTop(int nCmdShow);
    LPCTSTR GetIconWndClass(DWORD dwDefaultStyle, UINT nIDResource);

    // What the frame does at its next idle time.
    enum IdleFlags { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
    int m_nIdleFlags;

    HMENU m_hMenuDefault;       // the menu the frame was made with
    HACCEL m_hAccelTable;
    UINT m_nIDHelp;             // the resource id of LoadFrame
    UINT m_nIDTracking;         // the prompt wanted now (a string id, or 0)
    UINT m_nIDLastMessage;      // the prompt shown last
    CView* m_pViewActive;
    int m_cModalStack;          // BeginModalState nesting
    HWND* m_phWndDisable;       // the windows BeginModalState disabled, NULL-terminated
    int m_nWindow;              // the frame's number among a document's frames (0: alone)
    BOOL m_bInRecalcLayout;
    CRect m_rectBorder;         // space the panes leave free on each side

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
    // Brings the frame's menu, title, layout and prompt up to date (idle time).
    afx_msg void OnIdleUpdateCmdUI();

    DECLARE_MESSAGE_MAP()
};

/////////////////////////////////////////////////////////////////////////////
// CView

class AFX_CORE_CLASS CView : public CWnd
{
    DECLARE_DYNAMIC(CView)

protected:
    CView();

public:
// Overridables
    // Draws the view; pDC is the paint DC, prepared by OnPrepareDC.
    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = NULL);
    // WM_INITIALUPDATE: the first time the view is shown (calls OnUpdate).
    virtual void OnInitialUpdate();
    // Something the view shows has changed: repaints the view.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    // The view becomes active (it takes the focus when its top-level window is
    // the active one) or inactive.
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);

// Implementation
    virtual ~CView();

    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    // Views live on the heap and delete themselves when their window goes.
    virtual void PostNcDestroy();

    afx_msg void OnPaint();
    afx_msg void OnDestroy();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);

    DECLARE_MESSAGE_MAP()
};
