// afxwin.h - the window side of the framework.
//
//   1. geometry: CSize, CPoint, CRect                              (afxgeom_.h)
//   2. GDI objects, device contexts and menus: CGdiObject, CPen, CBrush, CFont,
//      CBitmap, CPalette, CRgn, CDC, CClientDC, CWindowDC, CPaintDC, CMenu (afxgdi_.h);
//      image lists: CImageList (afxcmn_.h)
//   3. command targets and message maps: CCmdTarget, CCmdUI, the map macros
//      (here) and the entry macros (afxmsg_.h)
//   4. windows: CWnd and the window-procedure plumbing (here); handle maps (winhand_.h)
//   5. threads and the application: CWinThread, CWinApp, CCommandLineInfo (afxapp_.h)
//      frame windows and views: CFrameWnd, CView                   (afxfrm_.h)
//   6. dialog data exchange: CDataExchange (afxdlg_.h)
#pragma once

#include "afx.h"
#include "afxcoll.h"

#include <commctrl.h>
#include <shellapi.h>

// <windows.h> makes these macros; they are CWnd members here.
#undef GetNextWindow

class CCmdTarget;
class CCmdUI;
class CWnd;
class CFrameWnd;
class CView;
class CDocument;
class CWinThread;
class CWinApp;
class CDataExchange;
class CScrollBar;
class CListBox;
struct CCreateContext;

/////////////////////////////////////////////////////////////////////////////
// 1. Geometry

#include "afxgeom_.h"

/////////////////////////////////////////////////////////////////////////////
// 2. GDI and menus

#include "afxgdi_.h"
#include "afxcmn_.h"    // CImageList

/////////////////////////////////////////////////////////////////////////////
// 3. Command targets and message maps

// The framework's names for a message handler; afx_msg marks one in a class.
#define afx_msg
#define AFX_MSG_CALL

// The message Windows 3.x sent for every control colour; the WM_CTLCOLORxxx
// messages of Win32 reach OnCtlColor through it.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

typedef void (AFX_MSG_CALL CCmdTarget::*AFX_PMSG)(void);
typedef void (AFX_MSG_CALL CWnd::*AFX_PMSGW)(void);
typedef void (AFX_MSG_CALL CWinThread::*AFX_PMSGT)(void);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;      // window message, or 0xC000 for a registered one
    UINT nCode;         // control notification code, CN_COMMAND or CN_UPDATE_COMMAND_UI
    UINT nID;           // first control or command id (0 for window messages)
    UINT nLastID;       // last id of a range (same as nID otherwise)
    UINT_PTR nSig;      // AfxSig_*, or the UINT* of a registered message
    AFX_PMSG pfn;       // the handler
};

struct AFX_MSGMAP
{
    // The base class's map is reached through a function: it may live in another
    // module, so its address is no link-time constant.
    const AFX_MSGMAP* (PASCAL* pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// What OnCmdMsg reports back when it is only asked whether a handler exists.
struct AFX_CMDHANDLERINFO
{
    CCmdTarget* pTarget;
    AFX_PMSG pmf;
};

// The pExtra of OnCmdMsg for WM_NOTIFY: the notification and where its result goes.
struct AFX_NOTIFY
{
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap(); \
    virtual const AFX_MSGMAP* GetMessageMap() const; \
private:

// The entries live in a function of the class, so they may name its protected
// handlers and the macros can use ThisClass. The casts between handler types are
// the point of a message map, and an empty map names no handler: hence the
// silenced warnings.
#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    _Pragma("GCC diagnostic push") \
    _Pragma("GCC diagnostic ignored \"-Wcast-function-type\"") \
    _Pragma("GCC diagnostic ignored \"-Wunused-local-typedefs\"") \
    const AFX_MSGMAP* theClass::GetMessageMap() const \
        { return GetThisMessageMap(); } \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() \
    { \
        typedef theClass ThisClass; \
        typedef baseClass TheBaseClass; \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = \
        {

#define END_MESSAGE_MAP() \
            { 0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0 } \
        }; \
        static const AFX_MSGMAP messageMap = \
            { &TheBaseClass::GetThisMessageMap, &_messageEntries[0] }; \
        return &messageMap; \
    } \
    _Pragma("GCC diagnostic pop")

#include "afxmsg_.h"

// The entry of a map chain (starting with pMap, then its bases) that handles
// nMessage with nCode and nID, or NULL.
AFX_CORE_API const AFX_MSGMAP_ENTRY* AFXAPI AfxFindMessageEntry(
    const AFX_MSGMAP_ENTRY* lpEntry, UINT nMessage, UINT nCode, UINT nID);

class AFX_CORE_CLASS CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)

public:
// Construction
    CCmdTarget();

// Attributes
    // The module state in which the object was created; its handlers run in it.
    AFX_MODULE_STATE* m_pModuleState;

// Operations
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

// Overridables
    // Routes a command (nCode CN_COMMAND, a control notification or
    // CN_UPDATE_COMMAND_UI) through this object's message map. pExtra is the
    // CCmdUI* of an update, the AFX_NOTIFY* of WM_NOTIFY, or NULL. With
    // pHandlerInfo only the existence of a handler is reported, nothing is called.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

// Implementation
    virtual ~CCmdTarget();

    // Calls one handler of the map with the arguments its signature takes.
    static BOOL PASCAL DispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode,
        AFX_PMSG pfn, void* pExtra, UINT_PTR nSig, AFX_CMDHANDLERINFO* pHandlerInfo);

    DECLARE_MESSAGE_MAP()
};

// CCmdUI: the state of one user-interface element (menu item, button, control)
// that an ON_UPDATE_COMMAND_UI handler sets.
class AFX_CORE_CLASS CCmdUI
{
public:
// Attributes
    UINT m_nID;
    UINT m_nIndex;          // menu item or other index

    // A menu item: m_pMenu is the menu (NULL otherwise); when the item opens a
    // popup, m_pSubMenu is that popup and m_nID the id of its first item.
    CMenu* m_pMenu;
    CMenu* m_pSubMenu;

    // Any other element: the window that shows it (a control, a dialog item).
    CWnd* m_pOther;

// Operations, overridden by the kinds of element
    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);  // 0 clear, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCTSTR lpszText);

    // Asks that the update go on to the next command target after this handler.
    void ContinueRouting();

// Implementation
    CCmdUI();
    virtual ~CCmdUI() {}

    BOOL m_bEnableChanged;      // a handler called Enable
    BOOL m_bContinueRouting;
    UINT m_nIndexMax;           // number of menu items, for walking a menu
    CMenu* m_pParentMenu;       // the menu that holds m_pSubMenu, when known

    // Asks pTarget's map for the state; with no handler the element is disabled
    // when bDisableIfNoHndler, unless a command handler exists. TRUE when a
    // handler (update or command) was found.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

/////////////////////////////////////////////////////////////////////////////
// 4. Windows

#include "winhand_.h"

// Window-object flags (CWnd::m_nFlags)
#define WF_TOOLTIPS         0x0001  // window shows tool tips
#define WF_TEMPHIDE         0x0002  // hidden for a while (control bars)
#define WF_STAYDISABLED     0x0004  // not re-enabled after a modal state
#define WF_MODALLOOP        0x0008  // RunModalLoop is active
#define WF_CONTINUEMODAL    0x0010  // the modal loop goes on
#define WF_OLECTLCONTAINER  0x0100
#define WF_TRACKINGTOOLTIPS 0x0400

// RunModalLoop flags
#define MLF_NOIDLEMSG       0x0001  // no WM_ENTERIDLE to the owner
#define MLF_NOKICKIDLE      0x0002  // no WM_KICKIDLE to the window
#define MLF_SHOWONIDLE      0x0004  // show the window when the queue first runs empty

// CalcWindowRect
enum AdjustType { adjustBorder = 0, adjustOutside = 1 };

// The framework's window classes (Unicode build): registered on demand.
#define AFX_WND             _T("AfxWnd42u")
#define AFX_WNDCONTROLBAR   _T("AfxControlBar42u")
#define AFX_WNDMDIFRAME     _T("AfxMDIFrame42u")
#define AFX_WNDFRAMEORVIEW  _T("AfxFrameOrView42u")

class AFX_CORE_CLASS CWnd : public CCmdTarget
{
    DECLARE_DYNCREATE(CWnd)

protected:
    static const MSG* PASCAL GetCurrentMessage();

public:
// Attributes
    HWND m_hWnd;

    // Pseudo-windows for SetWindowPos's insert-after argument.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    operator HWND() const { return GetSafeHwnd(); }
    BOOL operator==(const CWnd& wnd) const { return wnd.m_hWnd == m_hWnd; }
    BOOL operator!=(const CWnd& wnd) const { return wnd.m_hWnd != m_hWnd; }
    // NULL for a NULL object too, as framework code has always relied on.
    HWND GetSafeHwnd() const;

    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // Changes the style bits; with nFlags, SetWindowPos(nFlags) follows so that
    // the frame is drawn again. TRUE when the style changed.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    static BOOL PASCAL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    static BOOL PASCAL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);

    CWnd* GetOwner() const;
    void SetOwner(CWnd* pOwnerWnd);

// Construction and attachment
    CWnd();

    // The object of hWnd: the permanent one, else a temporary CWnd that is
    // deleted at the next idle time. NULL for a NULL handle.
    static CWnd* PASCAL FromHandle(HWND hWnd);
    // Only the permanent object (created or attached through the framework).
    static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
    // Deletes the temporary window objects of the calling thread.
    static void PASCAL DeleteTempMap();

    BOOL Attach(HWND hWndNew);
    HWND Detach();

    // Subclassing an existing window: the framework's window procedure takes
    // over and the old one becomes the default procedure.
    virtual void PreSubclassWindow();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
        const RECT& rect, CWnd* pParentWnd, UINT nID, CCreateContext* pContext = NULL);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
        DWORD dwStyle, int x, int y, int nWidth, int nHeight,
        HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = NULL);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
        DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = NULL);

    virtual ~CWnd();
    virtual BOOL DestroyWindow();

    // Called before the window is created; may change the creation parameters.
    // FALSE cancels the creation.
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder);

// Window tree
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    CWnd* GetDlgItem(int nID) const;
    void GetDlgItem(int nID, HWND* phWnd) const;
    // The child (at any depth) with that id.
    CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* pWndNewParent);
    static CWnd* PASCAL WindowFromPoint(POINT point);
    CWnd* ChildWindowFromPoint(POINT point) const;
    CWnd* ChildWindowFromPoint(POINT point, UINT nFlags) const;
    static CWnd* PASCAL FindWindow(LPCTSTR lpszClassName, LPCTSTR lpszWindowName);
    CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const;
    CWnd* GetTopWindow() const;
    CWnd* GetWindow(UINT nCmd) const;
    CWnd* GetLastActivePopup() const;
    BOOL IsChild(const CWnd* pWnd) const;
    // The first window up the parent chain that is not a child window.
    CWnd* GetTopLevelParent() const;
    CWnd* GetTopLevelOwner() const;
    // The nearest frame window up the parent chain, and the outermost one (this
    // window itself when it is a frame without a parent frame).
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    // The first parent or owner that is not a child window.
    CWnd* GetParentOwner() const;
    // The window a dialog or message box should be owned by: the top-level parent
    // of pParent, else of the application's main window; disabled windows skipped
    // to their last active popup. *pWndTop receives the top-level window that the
    // caller should disable for the duration.
    static CWnd* PASCAL GetSafeOwner(CWnd* pParent = NULL, HWND* pWndTop = NULL);
    static HWND PASCAL GetSafeOwner_(HWND hParent, HWND* pWndTop);

// Messages
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL SendNotifyMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Sends the message to every child (every descendant when bDeep); with
    // bOnlyPerm only to windows that have a permanent object.
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
        BOOL bDeep = TRUE, BOOL bOnlyPerm = FALSE);
    static void PASCAL SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam,
        LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm);
    // Reflects the current message to this window as a child notification.
    BOOL SendChildNotifyLastMsg(LRESULT* pResult = NULL);

// Text and font
    void SetWindowText(LPCTSTR lpszString);
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;

// Menus
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* pMenu);
    void DrawMenuBar();
    CMenu* GetSystemMenu(BOOL bRevert) const;
    BOOL HiliteMenuItem(CMenu* pMenu, UINT nIDHiliteItem, UINT nHilite);

// Size and position
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void BringWindowToTop();
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl);
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const;
    void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const;
    // Centres on pAlternateOwner, else on the owner (the parent of a child), else
    // on the main window; a window without any of them centres on the screen.
    void CenterWindow(CWnd* pAlternateOwner = NULL);

// Painting
    CDC* BeginPaint(LPPAINTSTRUCT lpPaint);
    void EndPaint(LPPAINTSTRUCT lpPaint);
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* pDC);
    void UpdateWindow();
    void SetRedraw(BOOL bRedraw = TRUE);
    BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE);
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void InvalidateRgn(CRgn* pRgn, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    void ValidateRgn(CRgn* pRgn);
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    void ShowOwnedPopups(BOOL bShow = TRUE);
    BOOL RedrawWindow(LPCRECT lpRectUpdate = NULL, CRgn* prgnUpdate = NULL,
        UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    BOOL LockWindowUpdate();
    void UnlockWindowUpdate();

// Timers
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse,
        void (CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD));
    BOOL KillTimer(UINT_PTR nIDEvent);

// State
    BOOL IsWindowEnabled() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    static CWnd* PASCAL GetActiveWindow();
    CWnd* SetActiveWindow();
    static CWnd* PASCAL GetForegroundWindow();
    BOOL SetForegroundWindow();
    static CWnd* PASCAL GetCapture();
    CWnd* SetCapture();
    static CWnd* PASCAL GetFocus();
    CWnd* SetFocus();
    static CWnd* PASCAL GetDesktopWindow();

// Dialog items
    void CheckDlgButton(int nIDButton, UINT nCheck);
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton);
    UINT IsDlgButtonChecked(int nIDButton) const;
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = NULL, BOOL bSigned = TRUE) const;
    int GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const;
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    void SetDlgItemText(int nID, LPCTSTR lpszString);
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    CWnd* GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;

    // Dialog data exchange: fills (FALSE) or reads and checks (TRUE) the
    // controls through DoDataExchange. FALSE when a check failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // Asks pTarget's update handlers for the state of every child control whose
    // id is a command (buttons and the like), as idle processing does.
    void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

// Scrolling
    int GetScrollPos(int nBar) const;
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const;
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE);
    void EnableScrollBarCtrl(int nBar, BOOL bEnable = TRUE);
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    int GetScrollLimit(int nBar);
    void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = NULL, LPCRECT lpClipRect = NULL);
    virtual CScrollBar* GetScrollBarCtrl(int nBar) const;

// Miscellaneous
    BOOL FlashWindow(BOOL bInvert);
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = NULL, UINT nType = MB_OK);
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const;
    void DragAcceptFiles(BOOL bAccept = TRUE);
    BOOL OpenClipboard();
    void CreateSolidCaret(int nWidth, int nHeight);
    void ShowCaret();
    void HideCaret();
    static CPoint PASCAL GetCaretPos();
    static void PASCAL SetCaretPos(POINT point);

// Overridables
    // Called by the message loop before a message is dispatched; TRUE when it
    // was handled (translated) and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers pMsg to PreTranslateMessage of its window and each parent up to
    // (not including) hWndStop; TRUE when one of them took it.
    static BOOL PASCAL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual void DoDataExchange(CDataExchange* pDX);

    // Modal loops of any window (dialogs use them).
    int RunModalLoop(DWORD dwFlags = 0);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int nResult);

    virtual BOOL CheckAutoCenter();

// Implementation
    // Every message of the window: OnWndMsg, else DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Dispatches through the message map; TRUE when a handler took the message.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The procedure the window had before the framework took it over.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called after the window is gone (after WM_NCDESTROY); default does nothing,
    // window classes that live on the heap delete themselves here.
    virtual void PostNcDestroy();
    // A child's notification (WM_COMMAND, WM_NOTIFY, owner draw, colours,
    // scrolling, parent notify) offered back to the child; TRUE when it took it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    static BOOL PASCAL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = NULL);
    // Passes the current message (GetCurrentMessage) to DefWindowProc.
    LRESULT Default();

    virtual WNDPROC* GetSuperWndProcAddr();

    WNDPROC m_pfnSuper;     // the window's procedure before subclassing
    int m_nModalResult;
    UINT m_nFlags;          // WF_*
    HWND m_hWndOwner;       // the owner a dialog was created for

    // Handlers: each does what the window would do without the framework.
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    // Detaches the object from the handle and calls PostNcDestroy.
    afx_msg void OnNcDestroy();
    afx_msg void OnClose();
    afx_msg void OnMove(int x, int y);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnCancelMode();
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg UINT OnNcHitTest(CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnTimer(UINT nIDEvent);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDblClk(UINT nFlags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    // Scroll messages from a scroll-bar control are first offered to the control.
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnInitMenu(CMenu* pMenu);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg void OnEnterMenuLoop(BOOL bIsTrackPopupMenu);
    afx_msg void OnExitMenuLoop(BOOL bIsTrackPopupMenu);
    afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg UINT OnGetDlgCode();
    // Reflects the colour message to the control first (ON_WM_CTLCOLOR_REFLECT).
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    // The owner-draw messages are reflected to the control first.
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    afx_msg void OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDeleteItemStruct);
    afx_msg int OnCompareItem(int nIDCtl, LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    afx_msg int OnCharToItem(UINT nChar, CListBox* pListBox, UINT nIndex);
    afx_msg int OnVKeyToItem(UINT nKey, CListBox* pListBox, UINT nIndex);
    afx_msg void OnParentNotify(UINT message, LPARAM lParam);
    afx_msg BOOL OnQueryNewPalette();
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd);
    afx_msg void OnPaletteIsChanging(CWnd* pRealizeWnd);
    afx_msg void OnSysColorChange();
    afx_msg void OnWinIniChange(LPCTSTR lpszSection);
    afx_msg void OnFontChange();
    afx_msg BOOL OnQueryEndSession();
    afx_msg void OnEndSession(BOOL bEnding);
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg BOOL OnHelpInfo(HELPINFO* lpHelpInfo);
    afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    afx_msg void OnStyleChanged(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
    afx_msg void OnStyleChanging(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
    afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    afx_msg void OnChildActivate();
    afx_msg void OnRenderFormat(UINT nFormat);
    afx_msg void OnRenderAllFormats();
    afx_msg void OnDestroyClipboard();

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT AFXAPI AfxCallWndProc(CWnd*, HWND, UINT, WPARAM, LPARAM);
    friend class CWinThread;

    DECLARE_MESSAGE_MAP()

private:
    CWnd(HWND hWndPseudo);  // for the wndTop family only
    CWnd(const CWnd&);
    void operator=(const CWnd&);
};

// The window procedure of every framework window: finds the CWnd of the handle
// and calls AfxCallWndProc.
AFX_CORE_API LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
AFX_CORE_API WNDPROC AFXAPI AfxGetAfxWndProc();
// Runs pWnd->WindowProc with the thread's record of the current message set, and
// catches every exception a handler throws (CWinThread::ProcessWndProcException),
// so none unwinds through the system's frames.
AFX_CORE_API LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg,
    WPARAM wParam, LPARAM lParam);
// What a thread without a CWinThread (and CWinThread's default) does with an
// exception that reached the window procedure: user exceptions are silent, others
// are reported; WM_CREATE fails (-1) and WM_PAINT validates the window.
AFX_CORE_API LRESULT AFXAPI AfxInternalProcessWndProcException(CException* e, const MSG* pMsg);
// Window creation: the next window this thread creates is attached to pWnd as
// soon as it exists (its first message then already reaches pWnd).
AFX_CORE_API void AFXAPI AfxHookWindowCreate(CWnd* pWnd);
AFX_CORE_API BOOL AFXAPI AfxUnhookWindowCreate();

// Registers (once per module) and returns the name of a window class with these
// attributes. The name stays valid until the next call on the thread.
AFX_CORE_API LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = 0,
    HBRUSH hbrBackground = 0, HICON hIcon = 0);
// RegisterClass in the current module, succeeding when the class exists already.
AFX_CORE_API BOOL AFXAPI AfxRegisterClass(WNDCLASS* lpWndClass);
// Registers the framework's standard classes named by AFX_WND_REG etc.
AFX_CORE_API BOOL AFXAPI AfxDeferRegisterClass(LONG fToRegister);

// Locks the temporary maps of the calling thread against idle clean-up.
AFX_CORE_API void AFXAPI AfxLockTempMaps();
// TRUE when the last lock went and the temporary objects were deleted.
AFX_CORE_API BOOL AFXAPI AfxUnlockTempMaps(BOOL bDeleteTemps = TRUE);

/////////////////////////////////////////////////////////////////////////////
// 5. Threads and the application

#include "afxapp_.h"

/////////////////////////////////////////////////////////////////////////////
// 5a. Frame windows and views

#include "afxfrm_.h"

/////////////////////////////////////////////////////////////////////////////
// 6. Dialog data exchange

#include "afxdlg_.h"
#include "afxctrl_.h"
