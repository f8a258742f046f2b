// MenuMsgHook.h - menus of windows that are no frame windows, kept up to date
// as a frame keeps its own.
//
//   CMenuMsgHook   before a popup menu of the hooked window opens, asks the
//                  update handlers (ON_UPDATE_COMMAND_UI) of a command target for
//                  each item's state; while the user moves through a menu, sends
//                  the item's prompt to the main window (WM_SETMESSAGESTRING)
#pragma once

#include "MsgHook.h"

class AFX_EXT_CLASS CMenuMsgHook : public CMsgHook
{
    DECLARE_DYNAMIC(CMenuMsgHook)

public:
// Construction
    CMenuMsgHook();
    virtual ~CMenuMsgHook();

// Operations
    // Hooks pWnd; the menu items' states come from pCommandTarget (not owned).
    BOOL Install(CWnd* pWnd, CWnd* pCommandTarget);

// Overridables
    // Updates the items of pMenu through the command target; the system menu is
    // left alone.
    virtual void OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu);
    // Sends the prompt of the item (or the idle prompt when the menu closes) to
    // the thread's main window.
    virtual void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hMenu);

protected:
    // WM_INITMENUPOPUP and WM_MENUSELECT end here; the rest goes on.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    CWnd* m_pCommandTarget;
};
