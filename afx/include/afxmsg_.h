// afxmsg_.h - message-map entries.
//
//   AfxSig                  how a handler's arguments are cracked from WPARAM/LPARAM
//   ON_WM_*                 the standard window messages, one handler each
//   ON_WM_*_REFLECT         messages a parent reflects back to the control that sent them
//   ON_COMMAND, ON_UPDATE_COMMAND_UI, ON_CONTROL, ON_NOTIFY and their _RANGE/_EX forms
//   ON_MESSAGE, ON_REGISTERED_MESSAGE, ON_THREAD_MESSAGE, ON_REGISTERED_THREAD_MESSAGE
//   ON_BN_*, ON_EN_*, ON_LBN_*, ON_CBN_*, ON_STN_*   control notifications by control kind
//
// An entry is { message, notification code, first id, last id, signature, handler }.
// The macros name the handler as ThisClass::Fn; ThisClass is the typedef that
// BEGIN_MESSAGE_MAP puts in scope, so maps written the classic way compile as they are.
// Included by afxwin.h.
#pragma once

/////////////////////////////////////////////////////////////////////////////
// Handler signatures. The letters after the underscore name the return type and
// then the parameters: v void, b BOOL, i int, w UINT/WPARAM, l LPARAM/LRESULT,
// h a handle, W CWnd*, D CDC*, M CMenu*, p CPoint, s a pointer from LPARAM.

enum AfxSig
{
    AfxSig_end = 0,         // marks the end of a map

    // WM_COMMAND, WM_NOTIFY and the update handlers
    AfxSig_vv,              // void (void)
    AfxSig_bv,              // BOOL (void)           ON_CONTROL_REFLECT_EX
    AfxSig_vw,              // void (UINT)           ranges: the id
    AfxSig_bw,              // BOOL (UINT)           ON_COMMAND_EX
    AfxSig_cmdui,           // void (CCmdUI*)
    AfxSig_vNMHDRpl,        // void (NMHDR*, LRESULT*)
    AfxSig_bNMHDRpl,        // BOOL (NMHDR*, LRESULT*)
    AfxSig_vwNMHDRpl,       // void (UINT, NMHDR*, LRESULT*)
    AfxSig_bwNMHDRpl,       // BOOL (UINT, NMHDR*, LRESULT*)

    // general messages
    AfxSig_lwl,             // LRESULT (WPARAM, LPARAM)       ON_MESSAGE
    AfxSig_vwl,             // void (UINT, LPARAM)
    AfxSig_vww,             // void (UINT, UINT)              WPARAM, LPARAM
    AfxSig_vwww,            // void (UINT, UINT, UINT)        keys: wParam, LOWORD/HIWORD(lParam)
    AfxSig_vwii,            // void (UINT, int, int)          WM_SIZE
    AfxSig_vvii,            // void (int, int)                WM_MOVE
    AfxSig_vwp,             // void (UINT, CPoint)            mouse
    AfxSig_bwsp,            // BOOL (UINT, short, CPoint)     WM_MOUSEWHEEL
    AfxSig_vWp,             // void (CWnd*, CPoint)           WM_CONTEXTMENU
    AfxSig_vW,              // void (CWnd*)                   window in WPARAM (focus, palette)
    AfxSig_vW2,             // void (CWnd*)                   window in LPARAM (capture changed)
    AfxSig_vWww,            // void (CWnd*, UINT, UINT)
    AfxSig_bWww,            // BOOL (CWnd*, UINT, UINT)       WM_SETCURSOR
    AfxSig_iWww,            // int (CWnd*, UINT, UINT)        WM_MOUSEACTIVATE
    AfxSig_vwWb,            // void (UINT, CWnd*, BOOL)       WM_ACTIVATE
    AfxSig_vwW,             // void (UINT, CWnd*)             WM_ENTERIDLE
    AfxSig_vwwW,            // void (UINT, UINT, CWnd*)       WM_HSCROLL, WM_VSCROLL
    AfxSig_vwwh,            // void (UINT, UINT, HMENU)       WM_MENUSELECT
    AfxSig_vMwb,            // void (CMenu*, UINT, BOOL)      WM_INITMENUPOPUP
    AfxSig_vM,              // void (CMenu*)                  WM_INITMENU
    AfxSig_bD,              // BOOL (CDC*)                    WM_ERASEBKGND
    AfxSig_hDWw,            // HBRUSH (CDC*, CWnd*, UINT)     WM_CTLCOLOR*
    AfxSig_hDw,             // HBRUSH (CDC*, UINT)            reflected WM_CTLCOLOR*
    AfxSig_is,              // int (LPCREATESTRUCT)           WM_CREATE
    AfxSig_bs,              // BOOL (LPCREATESTRUCT)          WM_NCCREATE
    AfxSig_vs,              // void (pointer in LPARAM)       WM_GETMINMAXINFO, WM_WINDOWPOS*, WM_SETTINGCHANGE
    AfxSig_vb,              // void (BOOL)                    WM_ENABLE, menu loops
    AfxSig_bb,              // BOOL (BOOL)                    WM_NCACTIVATE
    AfxSig_vbw,             // void (BOOL, UINT)              WM_SHOWWINDOW
    AfxSig_vbh,             // void (BOOL, DWORD)             WM_ACTIVATEAPP
    AfxSig_wv,              // UINT (void)                    WM_GETDLGCODE
    AfxSig_wp,              // UINT (CPoint)                  WM_NCHITTEST
    AfxSig_hv,              // HCURSOR (void)                 WM_QUERYDRAGICON
    AfxSig_vCALC,           // void (BOOL, NCCALCSIZE_PARAMS*)
    AfxSig_vOWNER,          // void (int, pointer)            WM_DRAWITEM, WM_MEASUREITEM, WM_DELETEITEM
    AfxSig_iCOMPARE,        // int (int, LPCOMPAREITEMSTRUCT) WM_COMPAREITEM
    AfxSig_bHELPINFO,       // BOOL (HELPINFO*)
    AfxSig_bWCDS,           // BOOL (CWnd*, COPYDATASTRUCT*)
    AfxSig_viSS,            // void (int, LPSTYLESTRUCT)
    AfxSig_vbWW,            // void (BOOL, CWnd*, CWnd*)      WM_MDIACTIVATE
    AfxSig_iwWw,            // int (UINT, CWnd*, UINT)        WM_CHARTOITEM, WM_VKEYTOITEM
    AfxSig_iww,             // int (UINT, UINT)               reflected WM_CHARTOITEM/WM_VKEYTOITEM
    AfxSig_vwwx,            // void (UINT, UINT)              reflected scroll: code, position
    AfxSig_vh,              // void (handle in WPARAM)        WM_DROPFILES

    // reflected owner-draw messages: the control's own member
    AfxSig_vDRAW,           // void (LPDRAWITEMSTRUCT)
    AfxSig_vMEASURE,        // void (LPMEASUREITEMSTRUCT)
    AfxSig_vDELETE,         // void (LPDELETEITEMSTRUCT)
    AfxSig_iCOMPARE2,       // int (LPCOMPAREITEMSTRUCT)

    // thread messages
    AfxSig_vwl_thread,      // void (WPARAM, LPARAM)          ON_THREAD_MESSAGE

    AfxSig_max
};

// Notification codes that OnCmdMsg routes besides those of the controls.
#define CN_COMMAND              0
#define CN_UPDATE_COMMAND_UI    ((UINT)(-1))
#define CN_EVENT                ((UINT)(-2))

// A message a parent sends back to the child control it came from.
#define WM_REFLECT_BASE         0xBC00

/////////////////////////////////////////////////////////////////////////////
// Building an entry. A handler is converted to the exact member type that the
// dispatcher calls it as (a pointer to a member of CCmdTarget, CWnd or CWinThread
// with the same signature, so a wrong signature fails to compile), then stored as
// the common member-pointer type; dispatch converts it back to the same type.

#define _AFX_MSG_ENTRY(msg, code, id, idLast, sig, fnType, fn) \
    { (UINT)(msg), (UINT)(code), (UINT)(id), (UINT)(idLast), (UINT_PTR)(sig), \
      reinterpret_cast<AFX_PMSG>(static_cast<fnType>(fn)) },

#define _AFX_WND_ENTRY(msg, sig, fnType, fn) \
    { (UINT)(msg), 0, 0, 0, (UINT_PTR)(sig), reinterpret_cast<AFX_PMSG>(static_cast<fnType>(fn)) },

/////////////////////////////////////////////////////////////////////////////
// Commands and their user-interface updates

#define ON_COMMAND(id, memberFxn) \
    _AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, id, AfxSig_vv, \
        void (AFX_MSG_CALL CCmdTarget::*)(void), &ThisClass::memberFxn)
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    _AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, AfxSig_vw, \
        void (AFX_MSG_CALL CCmdTarget::*)(UINT), &ThisClass::memberFxn)
// The handler gets the id and returns TRUE when routing should stop.
#define ON_COMMAND_EX(id, memberFxn) \
    _AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, id, AfxSig_bw, \
        BOOL (AFX_MSG_CALL CCmdTarget::*)(UINT), &ThisClass::memberFxn)
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
    _AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, AfxSig_bw, \
        BOOL (AFX_MSG_CALL CCmdTarget::*)(UINT), &ThisClass::memberFxn)
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    _AFX_MSG_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, AfxSig_cmdui, \
        void (AFX_MSG_CALL CCmdTarget::*)(CCmdUI*), &ThisClass::memberFxn)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
    _AFX_MSG_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast, AfxSig_cmdui, \
        void (AFX_MSG_CALL CCmdTarget::*)(CCmdUI*), &ThisClass::memberFxn)

/////////////////////////////////////////////////////////////////////////////
// Control notifications (WM_COMMAND with a notification code, WM_NOTIFY)

#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    _AFX_MSG_ENTRY(WM_COMMAND, (WORD)(wNotifyCode), id, id, AfxSig_vv, \
        void (AFX_MSG_CALL CCmdTarget::*)(void), &ThisClass::memberFxn)
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
    _AFX_MSG_ENTRY(WM_COMMAND, (WORD)(wNotifyCode), id, idLast, AfxSig_vw, \
        void (AFX_MSG_CALL CCmdTarget::*)(UINT), &ThisClass::memberFxn)
#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
    _AFX_MSG_ENTRY(WM_NOTIFY, (WORD)(int)(wNotifyCode), id, id, AfxSig_vNMHDRpl, \
        void (AFX_MSG_CALL CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::memberFxn)
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn) \
    _AFX_MSG_ENTRY(WM_NOTIFY, (WORD)(int)(wNotifyCode), id, idLast, AfxSig_vwNMHDRpl, \
        void (AFX_MSG_CALL CCmdTarget::*)(UINT, NMHDR*, LRESULT*), &ThisClass::memberFxn)
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn) \
    _AFX_MSG_ENTRY(WM_NOTIFY, (WORD)(int)(wNotifyCode), id, id, AfxSig_bwNMHDRpl, \
        BOOL (AFX_MSG_CALL CCmdTarget::*)(UINT, NMHDR*, LRESULT*), &ThisClass::memberFxn)
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn) \
    _AFX_MSG_ENTRY(WM_NOTIFY, (WORD)(int)(wNotifyCode), id, idLast, AfxSig_bwNMHDRpl, \
        BOOL (AFX_MSG_CALL CCmdTarget::*)(UINT, NMHDR*, LRESULT*), &ThisClass::memberFxn)

// Reflected back to the control: the control handles its own notification.
// The _EX forms return TRUE to stop the parent from seeing it too.
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn) \
    _AFX_MSG_ENTRY(WM_COMMAND + WM_REFLECT_BASE, (WORD)(wNotifyCode), 0, 0, AfxSig_vv, \
        void (AFX_MSG_CALL CCmdTarget::*)(void), &ThisClass::memberFxn)
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn) \
    _AFX_MSG_ENTRY(WM_COMMAND + WM_REFLECT_BASE, (WORD)(wNotifyCode), 0, 0, AfxSig_bv, \
        BOOL (AFX_MSG_CALL CCmdTarget::*)(void), &ThisClass::memberFxn)
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn) \
    _AFX_MSG_ENTRY(WM_NOTIFY + WM_REFLECT_BASE, (WORD)(int)(wNotifyCode), 0, 0, AfxSig_vNMHDRpl, \
        void (AFX_MSG_CALL CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::memberFxn)
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn) \
    _AFX_MSG_ENTRY(WM_NOTIFY + WM_REFLECT_BASE, (WORD)(int)(wNotifyCode), 0, 0, AfxSig_bNMHDRpl, \
        BOOL (AFX_MSG_CALL CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::memberFxn)

/////////////////////////////////////////////////////////////////////////////
// User-defined and registered messages

#define ON_MESSAGE(message, memberFxn) \
    _AFX_WND_ENTRY(message, AfxSig_lwl, \
        LRESULT (AFX_MSG_CALL CWnd::*)(WPARAM, LPARAM), &ThisClass::memberFxn)
// The message number is read from the variable when the message arrives, so the
// variable may be filled by RegisterWindowMessage after the map is built.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) \
    { 0xC000, 0, 0, 0, (UINT_PTR)(UINT*)(&nMessageVariable), \
      reinterpret_cast<AFX_PMSG>(static_cast<LRESULT (AFX_MSG_CALL CWnd::*)(WPARAM, LPARAM)>( \
          &ThisClass::memberFxn)) },
// Messages posted to a CWinThread (no window).
#define ON_THREAD_MESSAGE(message, memberFxn) \
    { (UINT)(message), 0, 0, 0, (UINT_PTR)AfxSig_vwl_thread, \
      reinterpret_cast<AFX_PMSG>(static_cast<void (AFX_MSG_CALL CWinThread::*)(WPARAM, LPARAM)>( \
          &ThisClass::memberFxn)) },
#define ON_REGISTERED_THREAD_MESSAGE(nMessageVariable, memberFxn) \
    { 0xC000, 0, 0, 0, (UINT_PTR)(UINT*)(&nMessageVariable), \
      reinterpret_cast<AFX_PMSG>(static_cast<void (AFX_MSG_CALL CWinThread::*)(WPARAM, LPARAM)>( \
          &ThisClass::memberFxn)) },

/////////////////////////////////////////////////////////////////////////////
// Standard window messages: ON_WM_XXX() calls the handler OnXxx of CWnd's family.

#define _AFX_ON(msg, sig, ret, params, fn) \
    _AFX_WND_ENTRY(msg, sig, ret (AFX_MSG_CALL CWnd::*) params, &ThisClass::fn)

#define ON_WM_CREATE()            _AFX_ON(WM_CREATE, AfxSig_is, int, (LPCREATESTRUCT), OnCreate)
#define ON_WM_DESTROY()           _AFX_ON(WM_DESTROY, AfxSig_vv, void, (void), OnDestroy)
#define ON_WM_NCCREATE()          _AFX_ON(WM_NCCREATE, AfxSig_bs, BOOL, (LPCREATESTRUCT), OnNcCreate)
#define ON_WM_NCDESTROY()         _AFX_ON(WM_NCDESTROY, AfxSig_vv, void, (void), OnNcDestroy)
#define ON_WM_CLOSE()             _AFX_ON(WM_CLOSE, AfxSig_vv, void, (void), OnClose)
#define ON_WM_MOVE()              _AFX_ON(WM_MOVE, AfxSig_vvii, void, (int, int), OnMove)
#define ON_WM_SIZE()              _AFX_ON(WM_SIZE, AfxSig_vwii, void, (UINT, int, int), OnSize)
#define ON_WM_GETMINMAXINFO()     _AFX_ON(WM_GETMINMAXINFO, AfxSig_vs, void, (MINMAXINFO*), OnGetMinMaxInfo)
#define ON_WM_WINDOWPOSCHANGING() _AFX_ON(WM_WINDOWPOSCHANGING, AfxSig_vs, void, (WINDOWPOS*), OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED()  _AFX_ON(WM_WINDOWPOSCHANGED, AfxSig_vs, void, (WINDOWPOS*), OnWindowPosChanged)
#define ON_WM_SHOWWINDOW()        _AFX_ON(WM_SHOWWINDOW, AfxSig_vbw, void, (BOOL, UINT), OnShowWindow)
#define ON_WM_ENABLE()            _AFX_ON(WM_ENABLE, AfxSig_vb, void, (BOOL), OnEnable)
#define ON_WM_ACTIVATE()          _AFX_ON(WM_ACTIVATE, AfxSig_vwWb, void, (UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_ACTIVATEAPP()       _AFX_ON(WM_ACTIVATEAPP, AfxSig_vbh, void, (BOOL, DWORD), OnActivateApp)
#define ON_WM_MOUSEACTIVATE()     _AFX_ON(WM_MOUSEACTIVATE, AfxSig_iWww, int, (CWnd*, UINT, UINT), OnMouseActivate)
#define ON_WM_NCACTIVATE()        _AFX_ON(WM_NCACTIVATE, AfxSig_bb, BOOL, (BOOL), OnNcActivate)
#define ON_WM_SETFOCUS()          _AFX_ON(WM_SETFOCUS, AfxSig_vW, void, (CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS()         _AFX_ON(WM_KILLFOCUS, AfxSig_vW, void, (CWnd*), OnKillFocus)
#define ON_WM_CAPTURECHANGED()    _AFX_ON(WM_CAPTURECHANGED, AfxSig_vW2, void, (CWnd*), OnCaptureChanged)
#define ON_WM_CANCELMODE()        _AFX_ON(WM_CANCELMODE, AfxSig_vv, void, (void), OnCancelMode)
#define ON_WM_PAINT()             _AFX_ON(WM_PAINT, AfxSig_vv, void, (void), OnPaint)
#define ON_WM_NCPAINT()           _AFX_ON(WM_NCPAINT, AfxSig_vv, void, (void), OnNcPaint)
#define ON_WM_ERASEBKGND()        _AFX_ON(WM_ERASEBKGND, AfxSig_bD, BOOL, (CDC*), OnEraseBkgnd)
#define ON_WM_NCCALCSIZE()        _AFX_ON(WM_NCCALCSIZE, AfxSig_vCALC, void, (BOOL, NCCALCSIZE_PARAMS*), OnNcCalcSize)
#define ON_WM_NCHITTEST()         _AFX_ON(WM_NCHITTEST, AfxSig_wp, UINT, (CPoint), OnNcHitTest)
#define ON_WM_SETCURSOR()         _AFX_ON(WM_SETCURSOR, AfxSig_bWww, BOOL, (CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_TIMER()             _AFX_ON(WM_TIMER, AfxSig_vw, void, (UINT), OnTimer)
#define ON_WM_CHAR()              _AFX_ON(WM_CHAR, AfxSig_vwww, void, (UINT, UINT, UINT), OnChar)
#define ON_WM_KEYDOWN()           _AFX_ON(WM_KEYDOWN, AfxSig_vwww, void, (UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP()             _AFX_ON(WM_KEYUP, AfxSig_vwww, void, (UINT, UINT, UINT), OnKeyUp)
#define ON_WM_SYSCHAR()           _AFX_ON(WM_SYSCHAR, AfxSig_vwww, void, (UINT, UINT, UINT), OnSysChar)
#define ON_WM_SYSKEYDOWN()        _AFX_ON(WM_SYSKEYDOWN, AfxSig_vwww, void, (UINT, UINT, UINT), OnSysKeyDown)
#define ON_WM_SYSKEYUP()          _AFX_ON(WM_SYSKEYUP, AfxSig_vwww, void, (UINT, UINT, UINT), OnSysKeyUp)
#define ON_WM_MOUSEMOVE()         _AFX_ON(WM_MOUSEMOVE, AfxSig_vwp, void, (UINT, CPoint), OnMouseMove)
#define ON_WM_LBUTTONDOWN()       _AFX_ON(WM_LBUTTONDOWN, AfxSig_vwp, void, (UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP()         _AFX_ON(WM_LBUTTONUP, AfxSig_vwp, void, (UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK()     _AFX_ON(WM_LBUTTONDBLCLK, AfxSig_vwp, void, (UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN()       _AFX_ON(WM_RBUTTONDOWN, AfxSig_vwp, void, (UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP()         _AFX_ON(WM_RBUTTONUP, AfxSig_vwp, void, (UINT, CPoint), OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK()     _AFX_ON(WM_RBUTTONDBLCLK, AfxSig_vwp, void, (UINT, CPoint), OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN()       _AFX_ON(WM_MBUTTONDOWN, AfxSig_vwp, void, (UINT, CPoint), OnMButtonDown)
#define ON_WM_MBUTTONUP()         _AFX_ON(WM_MBUTTONUP, AfxSig_vwp, void, (UINT, CPoint), OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK()     _AFX_ON(WM_MBUTTONDBLCLK, AfxSig_vwp, void, (UINT, CPoint), OnMButtonDblClk)
#define ON_WM_MOUSEWHEEL()        _AFX_ON(WM_MOUSEWHEEL, AfxSig_bwsp, BOOL, (UINT, short, CPoint), OnMouseWheel)
#define ON_WM_NCLBUTTONDOWN()     _AFX_ON(WM_NCLBUTTONDOWN, AfxSig_vwp, void, (UINT, CPoint), OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP()       _AFX_ON(WM_NCLBUTTONUP, AfxSig_vwp, void, (UINT, CPoint), OnNcLButtonUp)
#define ON_WM_NCMOUSEMOVE()       _AFX_ON(WM_NCMOUSEMOVE, AfxSig_vwp, void, (UINT, CPoint), OnNcMouseMove)
#define ON_WM_CONTEXTMENU()       _AFX_ON(WM_CONTEXTMENU, AfxSig_vWp, void, (CWnd*, CPoint), OnContextMenu)
#define ON_WM_HSCROLL()           _AFX_ON(WM_HSCROLL, AfxSig_vwwW, void, (UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL()           _AFX_ON(WM_VSCROLL, AfxSig_vwwW, void, (UINT, UINT, CScrollBar*), OnVScroll)
#define ON_WM_INITMENU()          _AFX_ON(WM_INITMENU, AfxSig_vM, void, (CMenu*), OnInitMenu)
#define ON_WM_INITMENUPOPUP()     _AFX_ON(WM_INITMENUPOPUP, AfxSig_vMwb, void, (CMenu*, UINT, BOOL), OnInitMenuPopup)
#define ON_WM_MENUSELECT()        _AFX_ON(WM_MENUSELECT, AfxSig_vwwh, void, (UINT, UINT, HMENU), OnMenuSelect)
#define ON_WM_ENTERMENULOOP()     _AFX_ON(WM_ENTERMENULOOP, AfxSig_vb, void, (BOOL), OnEnterMenuLoop)
#define ON_WM_EXITMENULOOP()      _AFX_ON(WM_EXITMENULOOP, AfxSig_vb, void, (BOOL), OnExitMenuLoop)
#define ON_WM_ENTERIDLE()         _AFX_ON(WM_ENTERIDLE, AfxSig_vwW, void, (UINT, CWnd*), OnEnterIdle)
#define ON_WM_SYSCOMMAND()        _AFX_ON(WM_SYSCOMMAND, AfxSig_vwl, void, (UINT, LPARAM), OnSysCommand)
#define ON_WM_GETDLGCODE()        _AFX_ON(WM_GETDLGCODE, AfxSig_wv, UINT, (void), OnGetDlgCode)
#define ON_WM_CTLCOLOR()          _AFX_ON(WM_CTLCOLOR, AfxSig_hDWw, HBRUSH, (CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_DRAWITEM()          _AFX_ON(WM_DRAWITEM, AfxSig_vOWNER, void, (int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_MEASUREITEM()       _AFX_ON(WM_MEASUREITEM, AfxSig_vOWNER, void, (int, LPMEASUREITEMSTRUCT), OnMeasureItem)
#define ON_WM_DELETEITEM()        _AFX_ON(WM_DELETEITEM, AfxSig_vOWNER, void, (int, LPDELETEITEMSTRUCT), OnDeleteItem)
#define ON_WM_COMPAREITEM()       _AFX_ON(WM_COMPAREITEM, AfxSig_iCOMPARE, int, (int, LPCOMPAREITEMSTRUCT), OnCompareItem)
#define ON_WM_CHARTOITEM()        _AFX_ON(WM_CHARTOITEM, AfxSig_iwWw, int, (UINT, CListBox*, UINT), OnCharToItem)
#define ON_WM_VKEYTOITEM()        _AFX_ON(WM_VKEYTOITEM, AfxSig_iwWw, int, (UINT, CListBox*, UINT), OnVKeyToItem)
#define ON_WM_PARENTNOTIFY()      _AFX_ON(WM_PARENTNOTIFY, AfxSig_vwl, void, (UINT, LPARAM), OnParentNotify)
#define ON_WM_QUERYNEWPALETTE()   _AFX_ON(WM_QUERYNEWPALETTE, AfxSig_bv, BOOL, (void), OnQueryNewPalette)
#define ON_WM_PALETTECHANGED()    _AFX_ON(WM_PALETTECHANGED, AfxSig_vW, void, (CWnd*), OnPaletteChanged)
#define ON_WM_PALETTEISCHANGING() _AFX_ON(WM_PALETTEISCHANGING, AfxSig_vW, void, (CWnd*), OnPaletteIsChanging)
#define ON_WM_SYSCOLORCHANGE()    _AFX_ON(WM_SYSCOLORCHANGE, AfxSig_vv, void, (void), OnSysColorChange)
#define ON_WM_SETTINGCHANGE()     _AFX_ON(WM_SETTINGCHANGE, AfxSig_vs, void, (LPCTSTR), OnWinIniChange)
#define ON_WM_WININICHANGE()      _AFX_ON(WM_WININICHANGE, AfxSig_vs, void, (LPCTSTR), OnWinIniChange)
#define ON_WM_FONTCHANGE()        _AFX_ON(WM_FONTCHANGE, AfxSig_vv, void, (void), OnFontChange)
#define ON_WM_QUERYENDSESSION()   _AFX_ON(WM_QUERYENDSESSION, AfxSig_bv, BOOL, (void), OnQueryEndSession)
#define ON_WM_ENDSESSION()        _AFX_ON(WM_ENDSESSION, AfxSig_vb, void, (BOOL), OnEndSession)
#define ON_WM_QUERYDRAGICON()     _AFX_ON(WM_QUERYDRAGICON, AfxSig_hv, HCURSOR, (void), OnQueryDragIcon)
#define ON_WM_DROPFILES()         _AFX_ON(WM_DROPFILES, AfxSig_vh, void, (HDROP), OnDropFiles)
#define ON_WM_HELPINFO()          _AFX_ON(WM_HELP, AfxSig_bHELPINFO, BOOL, (HELPINFO*), OnHelpInfo)
#define ON_WM_COPYDATA()          _AFX_ON(WM_COPYDATA, AfxSig_bWCDS, BOOL, (CWnd*, COPYDATASTRUCT*), OnCopyData)
#define ON_WM_STYLECHANGED()      _AFX_ON(WM_STYLECHANGED, AfxSig_viSS, void, (int, LPSTYLESTRUCT), OnStyleChanged)
#define ON_WM_STYLECHANGING()     _AFX_ON(WM_STYLECHANGING, AfxSig_viSS, void, (int, LPSTYLESTRUCT), OnStyleChanging)
#define ON_WM_MDIACTIVATE()       _AFX_ON(WM_MDIACTIVATE, AfxSig_vbWW, void, (BOOL, CWnd*, CWnd*), OnMDIActivate)
#define ON_WM_CHILDACTIVATE()     _AFX_ON(WM_CHILDACTIVATE, AfxSig_vv, void, (void), OnChildActivate)
#define ON_WM_RENDERFORMAT()      _AFX_ON(WM_RENDERFORMAT, AfxSig_vw, void, (UINT), OnRenderFormat)
#define ON_WM_RENDERALLFORMATS()  _AFX_ON(WM_RENDERALLFORMATS, AfxSig_vv, void, (void), OnRenderAllFormats)
#define ON_WM_DESTROYCLIPBOARD()  _AFX_ON(WM_DESTROYCLIPBOARD, AfxSig_vv, void, (void), OnDestroyClipboard)

/////////////////////////////////////////////////////////////////////////////
// Messages a parent reflects to the control that caused them

#define ON_WM_CTLCOLOR_REFLECT() \
    _AFX_ON(WM_CTLCOLOR + WM_REFLECT_BASE, AfxSig_hDw, HBRUSH, (CDC*, UINT), CtlColor)
#define ON_WM_DRAWITEM_REFLECT() \
    _AFX_ON(WM_DRAWITEM + WM_REFLECT_BASE, AfxSig_vDRAW, void, (LPDRAWITEMSTRUCT), DrawItem)
#define ON_WM_MEASUREITEM_REFLECT() \
    _AFX_ON(WM_MEASUREITEM + WM_REFLECT_BASE, AfxSig_vMEASURE, void, (LPMEASUREITEMSTRUCT), MeasureItem)
#define ON_WM_DELETEITEM_REFLECT() \
    _AFX_ON(WM_DELETEITEM + WM_REFLECT_BASE, AfxSig_vDELETE, void, (LPDELETEITEMSTRUCT), DeleteItem)
#define ON_WM_COMPAREITEM_REFLECT() \
    _AFX_ON(WM_COMPAREITEM + WM_REFLECT_BASE, AfxSig_iCOMPARE2, int, (LPCOMPAREITEMSTRUCT), CompareItem)
#define ON_WM_CHARTOITEM_REFLECT() \
    _AFX_ON(WM_CHARTOITEM + WM_REFLECT_BASE, AfxSig_iww, int, (UINT, UINT), CharToItem)
#define ON_WM_VKEYTOITEM_REFLECT() \
    _AFX_ON(WM_VKEYTOITEM + WM_REFLECT_BASE, AfxSig_iww, int, (UINT, UINT), VKeyToItem)
#define ON_WM_HSCROLL_REFLECT() \
    _AFX_ON(WM_HSCROLL + WM_REFLECT_BASE, AfxSig_vwwx, void, (UINT, UINT), HScroll)
#define ON_WM_VSCROLL_REFLECT() \
    _AFX_ON(WM_VSCROLL + WM_REFLECT_BASE, AfxSig_vwwx, void, (UINT, UINT), VScroll)
#define ON_WM_PARENTNOTIFY_REFLECT() \
    _AFX_ON(WM_PARENTNOTIFY + WM_REFLECT_BASE, AfxSig_vwl, void, (UINT, LPARAM), ParentNotify)

/////////////////////////////////////////////////////////////////////////////
// Notifications by control kind

// Buttons
#define ON_BN_CLICKED(id, memberFxn)       ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn)      ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn)     ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
// Edits
#define ON_EN_SETFOCUS(id, memberFxn)      ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn)     ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn)        ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn)        ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_ERRSPACE(id, memberFxn)      ON_CONTROL(EN_ERRSPACE, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn)       ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_EN_HSCROLL(id, memberFxn)       ON_CONTROL(EN_HSCROLL, id, memberFxn)
#define ON_EN_VSCROLL(id, memberFxn)       ON_CONTROL(EN_VSCROLL, id, memberFxn)
// List boxes
#define ON_LBN_ERRSPACE(id, memberFxn)     ON_CONTROL(LBN_ERRSPACE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn)    ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn)       ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn)    ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn)     ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn)    ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
// Check list boxes: a check box changed
#define CLBN_CHKCHANGE                     40
#define ON_CLBN_CHKCHANGE(id, memberFxn)   ON_CONTROL(CLBN_CHKCHANGE, id, memberFxn)
// Combo boxes
#define ON_CBN_ERRSPACE(id, memberFxn)     ON_CONTROL(CBN_ERRSPACE, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn)    ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn)       ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn)     ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn)    ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn)   ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn)   ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn)     ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn)      ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn)     ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
// Static controls (with SS_NOTIFY)
#define ON_STN_CLICKED(id, memberFxn)      ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn)       ON_CONTROL(STN_DBLCLK, id, memberFxn)
#define ON_STN_ENABLE(id, memberFxn)       ON_CONTROL(STN_ENABLE, id, memberFxn)
#define ON_STN_DISABLE(id, memberFxn)      ON_CONTROL(STN_DISABLE, id, memberFxn)
