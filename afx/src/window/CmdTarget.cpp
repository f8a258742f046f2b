// CmdTarget.cpp - command targets: message-map search and command dispatch,
// and CCmdUI, the state of one user-interface element.
#include "afxwin.h"

#include "afxres.h"
#include "WindowImpl.h"

// Message maps store every handler as one member-pointer type and convert it
// back to the type it was stored from; that round trip is what these casts are.
#pragma GCC diagnostic ignored "-Wcast-function-type"

/////////////////////////////////////////////////////////////////////////////
// Message-map search

const AFX_MSGMAP_ENTRY* AFXAPI AfxFindMessageEntry(
    const AFX_MSGMAP_ENTRY* lpEntry, UINT nMessage, UINT nCode, UINT nID)
{
    for (; lpEntry->nSig != AfxSig_end; ++lpEntry) {
        if (lpEntry->nMessage == nMessage && lpEntry->nCode == nCode &&
            nID >= lpEntry->nID && nID <= lpEntry->nLastID)
            return lpEntry;
    }
    return NULL;
}

const AFX_MSGMAP* afxwnd::BaseMap(const AFX_MSGMAP* pMap)
{
    return pMap->pfnGetBaseMap != NULL ? (*pMap->pfnGetBaseMap)() : NULL;
}

/////////////////////////////////////////////////////////////////////////////
// CCmdTarget

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

// The root of every map chain: no base, no entries.
const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {
        { 0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0 }
    };
    static const AFX_MSGMAP messageMap = { NULL, &_messageEntries[0] };
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

CCmdTarget::CCmdTarget()
    : m_pModuleState(AfxGetModuleState())
{
}

CCmdTarget::~CCmdTarget()
{
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // Notifications other than plain commands and updates carry their message in
    // the high word (WM_NOTIFY); WM_COMMAND is the rest.
    UINT nMsg = 0;
    if (nCode != (int)CN_UPDATE_COMMAND_UI && nCode != (int)CN_EVENT) {
        nMsg = HIWORD(nCode);
        nCode = LOWORD(nCode);
    }
    if (nMsg == 0)
        nMsg = WM_COMMAND;

    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != NULL; pMap = afxwnd::BaseMap(pMap)) {
        const AFX_MSGMAP_ENTRY* lpEntry =
            AfxFindMessageEntry(pMap->lpEntries, nMsg, (UINT)nCode, nID);
        if (lpEntry != NULL)
            return DispatchCmdMsg(this, nID, nCode, lpEntry->pfn, pExtra, lpEntry->nSig,
                pHandlerInfo);
    }
    return FALSE;
}

BOOL PASCAL CCmdTarget::DispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode,
    AFX_PMSG pfn, void* pExtra, UINT_PTR nSig, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (pHandlerInfo != NULL) {
        // Only asked whether someone handles it.
        pHandlerInfo->pTarget = pTarget;
        pHandlerInfo->pmf = pfn;
        return TRUE;
    }

    AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(pExtra);
    switch (nSig) {
    case AfxSig_vv:
        (pTarget->*pfn)();
        return TRUE;
    case AfxSig_bv:
        return (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)()>(pfn))();
    case AfxSig_vw:
        (pTarget->*reinterpret_cast<void (CCmdTarget::*)(UINT)>(pfn))(nID);
        return TRUE;
    case AfxSig_bw:
        return (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)(UINT)>(pfn))(nID);
    case AfxSig_cmdui: {
        CCmdUI* pCmdUI = static_cast<CCmdUI*>(pExtra);
        pCmdUI->m_bContinueRouting = FALSE;
        (pTarget->*reinterpret_cast<void (CCmdTarget::*)(CCmdUI*)>(pfn))(pCmdUI);
        // A handler that asked for more routing has not handled the update.
        return !pCmdUI->m_bContinueRouting;
    }
    case AfxSig_vNMHDRpl:
        (pTarget->*reinterpret_cast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))(
            pNotify->pNMHDR, pNotify->pResult);
        return TRUE;
    case AfxSig_bNMHDRpl:
        return (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))(
            pNotify->pNMHDR, pNotify->pResult);
    case AfxSig_vwNMHDRpl:
        (pTarget->*reinterpret_cast<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))(
            nID, pNotify->pNMHDR, pNotify->pResult);
        return TRUE;
    case AfxSig_bwNMHDRpl:
        return (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))(
            nID, pNotify->pNMHDR, pNotify->pResult);
    default:
        // A map entry of a kind that is no command: the map is wrong.
        (void)nCode;
        AfxThrowNotSupportedException();
    }
}

/////////////////////////////////////////////////////////////////////////////
// Wait cursor: through the application when there is one, so that nested
// waits of all command targets share one count.

namespace {

int s_nWaitCount = 0;       // used only without an application object
HCURSOR s_hcurRestore = NULL;

void WaitCursor(int nCode)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL) {
        pApp->DoWaitCursor(nCode);
        return;
    }
    if (nCode > 0) {
        HCURSOR hcurPrev = ::SetCursor(::LoadCursorW(NULL, IDC_WAIT));
        if (s_nWaitCount++ == 0)
            s_hcurRestore = hcurPrev;
    } else if (nCode < 0) {
        if (s_nWaitCount > 0 && --s_nWaitCount == 0)
            ::SetCursor(s_hcurRestore);
    } else if (s_nWaitCount > 0) {
        ::SetCursor(::LoadCursorW(NULL, IDC_WAIT));
    }
}

} // namespace

void CCmdTarget::BeginWaitCursor()
{
    WaitCursor(1);
}

void CCmdTarget::EndWaitCursor()
{
    WaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor()
{
    WaitCursor(0);
}

/////////////////////////////////////////////////////////////////////////////
// CCmdUI

CCmdUI::CCmdUI()
    : m_nID(0), m_nIndex(0), m_pMenu(NULL), m_pSubMenu(NULL), m_pOther(NULL),
      m_bEnableChanged(FALSE), m_bContinueRouting(FALSE), m_nIndexMax(0), m_pParentMenu(NULL)
{
}

void CCmdUI::Enable(BOOL bOn)
{
    if (m_pMenu != NULL) {
        if (m_pSubMenu != NULL)
            return;     // a popup entry is enabled through its first item only
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther != NULL) {
        // A control that loses its enabled state while it has the focus would
        // leave the keyboard nowhere: move the focus on first.
        if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
            CWnd* pParent = m_pOther->GetParent();
            if (pParent != NULL)
                pParent->SendMessage(WM_NEXTDLGCTL, 0, FALSE);
        }
        m_pOther->EnableWindow(bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_pMenu != NULL) {
        if (m_pSubMenu != NULL)
            return;
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther != NULL) {
        // Only buttons have a check state.
        if (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON)
            m_pOther->SendMessage(BM_SETCHECK, (WPARAM)nCheck);
    }
}

void CCmdUI::SetRadio(BOOL bOn)
{
    if (m_pMenu != NULL && m_pSubMenu == NULL) {
        // A radio item: the bullet mark of a radio-check menu item.
        MENUITEMINFOW mii;
        memset(&mii, 0, sizeof(mii));
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_STATE;
        if (::GetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &mii)) {
            mii.fType |= MFT_RADIOCHECK;
            mii.fState = bOn ? (mii.fState | MFS_CHECKED) : (mii.fState & ~MFS_CHECKED);
            ::SetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &mii);
        }
        return;
    }
    SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(LPCTSTR lpszText)
{
    if (lpszText == NULL)
        lpszText = _T("");
    if (m_pMenu != NULL) {
        if (m_pSubMenu != NULL)
            return;
        UINT nState = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
        // Keep the item's flags, but not those that describe a popup or a bitmap.
        nState &= ~(MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_POPUP);
        m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | nState, m_nID, lpszText);
    } else if (m_pOther != NULL) {
        CString strOld;
        m_pOther->GetWindowText(strOld);
        if (strOld != lpszText)     // avoids flicker from redundant updates
            m_pOther->SetWindowText(lpszText);
    }
}

void CCmdUI::ContinueRouting()
{
    m_bContinueRouting = TRUE;
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return TRUE;    // separators and ids that are no commands are left alone

    m_bEnableChanged = FALSE;
    BOOL bResult = pTarget->OnCmdMsg(m_nID, (int)CN_UPDATE_COMMAND_UI, this, NULL);
    if (!bResult && bDisableIfNoHndler && !m_bEnableChanged) {
        // No update handler: enabled exactly when somebody handles the command.
        AFX_CMDHANDLERINFO info;
        info.pTarget = NULL;
        info.pmf = NULL;
        BOOL bHandler = pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        Enable(bHandler);
        bResult = TRUE;
    }
    return bResult;
}
