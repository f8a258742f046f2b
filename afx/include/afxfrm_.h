// afxfrm_.h - frame windows and views.
//
//   CFrameWnd   a top-level (SDI) frame: menu and accelerators from a resource,
//               command routing through the active view, menu item updates,
//               prompt strings for the status line
//   CView       a child window that draws through OnDraw inside a frame
//
// Documents and document templates come with the document classes; until then a
// view has no document (GetDocument answers NULL) and a frame no template.
// Included by afxwin.h after the dialogs.
#pragma once

// The framework's standard resource ids of a frame (menu, accelerators, icon,
// title string) are all the one id passed to LoadFrame.
#define AFX_IDW_PANE_FIRST      0xE900  // the first pane: the view's child id
#define AFX_IDS_IDLEMESSAGE_FRAME 0xE001 // "Ready": the idle prompt

// Frame style used by LoadFrame by default.
#define FWS_ADDTOTITLE          0x00008000L
#define FWS_PREFIXTITLE         0x00004000L
#define FWS_SNAPTOBARS          0x00002000L

class AFX_CORE_CLASS CFrameWnd : public CWnd
{
    DECLARE_DYNCREATE(CFrameWnd)

public:
// Construction
    CFrameWnd();

    static const CRect rectDefault;
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
        DWORD dwStyle = WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
        CWnd* pParentWnd = NULL, LPCTSTR lpszMenuName = NULL, DWORD dwExStyle = 0,
        CCreateContext* pContext = NULL);
    // Menu, accelerators, icon and title from the resources with id nIDResource.
    virtual BOOL LoadFrame(UINT nIDResource,
        DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
        CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL);

// Attributes
    // Menu items without a command handler are disabled (TRUE by default).
    BOOL m_bAutoMenuEnable;

    CView* GetActiveView() const;
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    // The active frame: the frame itself for an SDI frame.
    virtual CFrameWnd* GetActiveFrame();
    CDocument* GetActiveDocument();

// Operations
    // Shows nID's prompt (or the idle prompt for 0) in the message bar.
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    void SetMessageText(LPCTSTR lpszText);
    void SetMessageText(UINT nID);
    // The window that shows the prompts (the status bar), or NULL.
    virtual CWnd* GetMessageBar();
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void ActivateFrame(int nCmdShow = -1);
    BOOL LoadAccelTable(LPCTSTR lpszResourceName);

// Overridables
    virtual void OnSetPreviewMode(BOOL bPreview, void* pState);
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);

// Implementation
    virtual ~CFrameWnd();
    // The active view first, then the frame, then the application.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void PostNcDestroy();   // frames live on the heap: deletes itself

    HACCEL m_hAccelTable;
    HMENU m_hMenuDefault;
    UINT m_nIDHelp;
    UINT m_nIDTracking;             // the command whose prompt shows
    UINT m_nIDLastMessage;
    CView* m_pViewActive;
    int m_nIdleFlags;               // idle work pending (idleMenu, idleTitle, ...)
    CString m_strTitle;

    enum IdleFlags { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
    void DelayUpdateFrameMenu(HMENU hMenuAlt);
    void DelayUpdateFrameTitle();
    void DelayRecalcLayout(BOOL bNotify = TRUE);

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

class AFX_CORE_CLASS CView : public CWnd
{
    DECLARE_DYNAMIC(CView)

protected:
    CView();

public:
// Attributes
    CDocument* GetDocument() const { return m_pDocument; }

// Overridables
    // Paints the view; pDC is the paint DC (or another output device).
    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnInitialUpdate();
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);

// Implementation
    virtual ~CView();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PostNcDestroy();   // views live on the heap: deletes itself
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    CDocument* m_pDocument;

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnInitialUpdateMsg(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()
};

// Framework resource/creation context passed through CWnd::Create (views to create
// in a new frame). Without document templates only the view class is used.
struct CCreateContext
{
    CRuntimeClass* m_pNewViewClass;
    CDocument* m_pCurrentDoc;
    void* m_pNewDocTemplate;
    CView* m_pLastView;
    CFrameWnd* m_pCurrentFrame;

    CCreateContext()
        : m_pNewViewClass(NULL), m_pCurrentDoc(NULL), m_pNewDocTemplate(NULL),
          m_pLastView(NULL), m_pCurrentFrame(NULL) {}
};
