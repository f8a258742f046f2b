// MenuMsgHook.cpp - menu item states and prompts for windows that are no frames.
#include "MenuMsgHook.h"

#include <afxpriv.h>
#include <afxres.h>

IMPLEMENT_DYNAMIC(CMenuMsgHook, CMsgHook)

CMenuMsgHook::CMenuMsgHook()
    : m_pCommandTarget(NULL)
{
}

CMenuMsgHook::~CMenuMsgHook()
{
}

BOOL CMenuMsgHook::Install(CWnd* pWnd, CWnd* pCommandTarget)
{
    m_pCommandTarget = pCommandTarget;
    return CMsgHook::Install(pWnd);
}

LRESULT CMenuMsgHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(CMenu::FromHandle((HMENU)wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), (HMENU)lParam);
        return 0;
    default:
        return CMsgHook::WindowProc(message, wParam, lParam);
    }
}

void CMenuMsgHook::OnInitMenuPopup(CMenu* pMenu, UINT, BOOL bSysMenu)
{
    if (bSysMenu || pMenu == NULL || m_pCommandTarget == NULL)
        return;

    // Items without any handler are disabled as a frame would disable them;
    // a window outside every frame always works that way.
    CFrameWnd* pFrame = m_pWnd != NULL ? m_pWnd->GetParentFrame() : NULL;
    BOOL bAutoEnable = pFrame != NULL ? pFrame->m_bAutoMenuEnable : TRUE;

    CCmdUI state;
    state.m_pMenu = pMenu;
    state.m_nIndexMax = pMenu->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pMenu->GetMenuItemID((int)state.m_nIndex);
        if (state.m_nID == 0)
            continue;   // a separator
        if (state.m_nID == (UINT)-1) {
            // A submenu entry goes with its first item, handler or not.
            state.m_pSubMenu = pMenu->GetSubMenu((int)state.m_nIndex);
            if (state.m_pSubMenu == NULL ||
                (state.m_nID = state.m_pSubMenu->GetMenuItemID(0)) == 0 ||
                state.m_nID == (UINT)-1)
                continue;
            state.DoUpdate(m_pCommandTarget, FALSE);
        } else {
            // The system's commands are never disabled for want of a handler.
            state.m_pSubMenu = NULL;
            state.DoUpdate(m_pCommandTarget, bAutoEnable && state.m_nID < 0xF000);
        }

        // A handler that deleted items: step back by as many, then past the
        // items of this same command, so that none is skipped or seen twice.
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

void CMenuMsgHook::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU)
{
    CWinThread* pThread = AfxGetThread();
    CWnd* pMainWnd = pThread != NULL ? pThread->GetMainWnd() : NULL;
    if (pMainWnd == NULL || pMainWnd->GetSafeHwnd() == NULL)
        return;

    if (nFlags == 0xFFFF) {
        // The menu closed: the status line goes back to its idle text.
        pMainWnd->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0);
    } else if (nItemID != 0 &&
               !(nFlags & (MF_POPUP | MF_MENUBARBREAK | MF_MENUBREAK | MF_SEPARATOR))) {
        pMainWnd->SendMessage(WM_SETMESSAGESTRING, nItemID, 0);
    }
}
