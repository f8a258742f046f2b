// Wnd.cpp - CWnd's life: attachment to handles, creation through the CBT hook,
// subclassing, the framework's window procedure and message-map dispatch.
#include "afxwin.h"
#include "afxpriv.h"

#include "afxres.h"
#include "WindowImpl.h"

// Message maps store every handler as one member-pointer type and convert it
// back to the type it was stored from; that round trip is what these casts are.
#pragma GCC diagnostic ignored "-Wcast-function-type"

/////////////////////////////////////////////////////////////////////////////
// The message-map cache: a window message is looked up once per map chain and
// thread; the maps are static, so what is found never goes stale.

namespace {

struct CacheEntry
{
    const AFX_MSGMAP* pMap;
    UINT nMsg;
    const AFX_MSGMAP_ENTRY* lpEntry;    // NULL: the chain has no handler
};

const int kCacheSize = 512;     // a power of two

class CMsgCache : public CNoTrackObject
{
public:
    CacheEntry m_entries[kCacheSize];
};

CThreadLocal<CMsgCache> s_msgCache;

} // namespace

const AFX_MSGMAP_ENTRY* afxwnd::FindWindowMessageEntry(const AFX_MSGMAP* pMap, UINT nMsg)
{
    UINT_PTR nHash = (((UINT_PTR)pMap >> 4) ^ (nMsg * 2654435761u)) & (kCacheSize - 1);
    CacheEntry& entry = s_msgCache->m_entries[nHash];
    if (entry.pMap == pMap && entry.nMsg == nMsg)
        return entry.lpEntry;

    const AFX_MSGMAP_ENTRY* lpFound = NULL;
    for (const AFX_MSGMAP* p = pMap; p != NULL && lpFound == NULL; p = BaseMap(p))
        lpFound = AfxFindMessageEntry(p->lpEntries, nMsg, 0, 0);
    entry.pMap = pMap;
    entry.nMsg = nMsg;
    entry.lpEntry = lpFound;
    return lpFound;
}

/////////////////////////////////////////////////////////////////////////////
// CWnd: construction and the map

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    // The defaults that must run even when a class maps nothing: reflection of
    // child notifications, and the clean-up after the window is gone.
    ON_WM_NCDESTROY()
    ON_WM_CTLCOLOR()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_DELETEITEM()
    ON_WM_COMPAREITEM()
    ON_WM_CHARTOITEM()
    ON_WM_VKEYTOITEM()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_PARENTNOTIFY()
END_MESSAGE_MAP()

CWnd::CWnd()
    : m_hWnd(NULL), m_pfnSuper(NULL), m_nModalResult(0), m_nFlags(0), m_hWndOwner(NULL)
{
}

CWnd::CWnd(HWND hWndPseudo)
    : m_hWnd(hWndPseudo), m_pfnSuper(NULL), m_nModalResult(0), m_nFlags(0), m_hWndOwner(NULL)
{
}

CWnd::~CWnd()
{
    if (this == &wndTop || this == &wndBottom || this == &wndTopMost || this == &wndNoTopMost)
        return;
    // A window object going away with its window still alive takes the window
    // with it, as the framework always has; temporary objects have no handle here.
    if (m_hWnd != NULL && afxwnd::LookupPermanent(m_hWnd) == this)
        DestroyWindow();
}

HWND CWnd::GetSafeHwnd() const
{
    // Framework code calls this on a NULL pointer on purpose; keep the compiler
    // from assuming that cannot happen.
    const CWnd* p = this;
    __asm__("" : "+r"(p));
    return p == NULL ? NULL : p->m_hWnd;
}

/////////////////////////////////////////////////////////////////////////////
// Handles and objects

CWnd* PASCAL CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == NULL)
        return NULL;
    return static_cast<CWnd*>(afxMapHWND(TRUE)->FromHandle(hWnd));
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
    if (hWnd == NULL)
        return NULL;
    return afxwnd::LookupPermanent(hWnd);
}

void PASCAL CWnd::DeleteTempMap()
{
    CHandleMap* pMap = afxMapHWND();
    if (pMap != NULL)
        pMap->DeleteTemp();
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == NULL || m_hWnd != NULL)
        return FALSE;
    CHandleMap* pMap = afxMapHWND(TRUE);
    // A temporary object of the same handle would shadow nothing, but would be
    // returned by nobody any more: let it go now.
    CObject* pTemp = pMap->LookupTemporary(hWndNew);
    if (pTemp != NULL) {
        static_cast<CWnd*>(pTemp)->m_hWnd = NULL;
        pMap->m_temporaryMap.RemoveKey(hWndNew);
        delete pTemp;
    }
    pMap->SetPermanent(m_hWnd = hWndNew, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != NULL) {
        CHandleMap* pMap = afxMapHWND();
        if (pMap != NULL && pMap->LookupPermanent(hWnd) == this)
            pMap->RemoveHandle(hWnd);
        m_hWnd = NULL;
    }
    return hWnd;
}

WNDPROC* CWnd::GetSuperWndProcAddr()
{
    return &m_pfnSuper;
}

void CWnd::PreSubclassWindow()
{
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();

    WNDPROC* lplpfn = GetSuperWndProcAddr();
    WNDPROC pfnAfx = AfxGetAfxWndProc();
    WNDPROC oldWndProc = (WNDPROC)::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)pfnAfx);
    if (oldWndProc == NULL) {
        Detach();
        return FALSE;
    }
    // Subclassing a window that already runs the framework's procedure would make
    // it call itself.
    if (oldWndProc != pfnAfx)
        *lplpfn = oldWndProc;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    if (pParent == NULL || pParent->m_hWnd == NULL)
        return FALSE;
    HWND hWndControl = ::GetDlgItem(pParent->m_hWnd, (int)nID);
    return hWndControl != NULL && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    if (m_hWnd == NULL)
        return NULL;
    WNDPROC* lplpfn = GetSuperWndProcAddr();
    if (*lplpfn != NULL) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, (LONG_PTR)*lplpfn);
        *lplpfn = NULL;
    }
    return Detach();
}

/////////////////////////////////////////////////////////////////////////////
// Creation: a CBT hook attaches the object as soon as the window exists, so the
// window's very first messages (WM_GETMINMAXINFO, WM_NCCREATE) reach the object.

namespace {

LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    _AFX_THREAD_STATE* pThreadState = AfxGetThreadState();
    if (code == HCBT_CREATEWND && pThreadState->m_pWndInit != NULL) {
        CWnd* pWndInit = pThreadState->m_pWndInit;
        HWND hWnd = (HWND)wParam;
        // Consumed by this window only: windows it creates in turn are not ours.
        pThreadState->m_pWndInit = NULL;
        pThreadState->m_hWndInit = hWnd;
        pWndInit->Attach(hWnd);
        pWndInit->PreSubclassWindow();
        WNDPROC pfnAfx = AfxGetAfxWndProc();
        WNDPROC oldWndProc =
            (WNDPROC)::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)pfnAfx);
        if (oldWndProc != pfnAfx)
            *pWndInit->GetSuperWndProcAddr() = oldWndProc;
    }
    return ::CallNextHookEx(pThreadState->m_hHookOldCbtFilter, code, wParam, lParam);
}

} // namespace

void AFXAPI AfxHookWindowCreate(CWnd* pWnd)
{
    _AFX_THREAD_STATE* pThreadState = AfxGetThreadState();
    if (pThreadState->m_pWndInit == pWnd)
        return;
    if (pThreadState->m_hHookOldCbtFilter == NULL) {
        pThreadState->m_hHookOldCbtFilter =
            ::SetWindowsHookExW(WH_CBT, CbtFilterHook, NULL, ::GetCurrentThreadId());
        if (pThreadState->m_hHookOldCbtFilter == NULL)
            AfxThrowMemoryException();
    }
    pThreadState->m_pWndInit = pWnd;
}

BOOL AFXAPI AfxUnhookWindowCreate()
{
    _AFX_THREAD_STATE* pThreadState = AfxGetThreadState();
    // The hook only lives around one creation, so a thread that ends leaves none.
    if (pThreadState->m_hHookOldCbtFilter != NULL) {
        ::UnhookWindowsHookEx(pThreadState->m_hHookOldCbtFilter);
        pThreadState->m_hHookOldCbtFilter = NULL;
    }
    if (pThreadState->m_pWndInit != NULL) {
        pThreadState->m_pWndInit = NULL;
        return FALSE;   // no window was created for the object
    }
    return TRUE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == NULL) {
        // Child windows get the plain framework class, top-level ones the same
        // with an application icon.
        if (!AfxDeferRegisterClass(AFX_WND_REG))
            return FALSE;
        cs.lpszClass = AFX_WND;
    }
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
    DWORD dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
    LPVOID lpParam)
{
    if (m_hWnd != NULL)
        return FALSE;   // one window per object

    CREATESTRUCT cs;
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;

    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }

    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x,
        cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    if (!AfxUnhookWindowCreate())
        PostNcDestroy();    // the object was never attached: let it clean up

    if (hWnd == NULL)
        return FALSE;
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
    DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
        (HMENU)(UINT_PTR)nID, lpParam);
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
    const RECT& rect, CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    // CWnd::Create is for child windows only.
    if (pParentWnd == NULL || (dwStyle & WS_POPUP))
        return FALSE;
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
        (HMENU)(UINT_PTR)nID, (LPVOID)pContext);
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == NULL)
        return FALSE;
    // The object may be deleted by PostNcDestroy while the window goes, so nothing
    // of it is touched after the call; a temporary object is detached by hand.
    HWND hWnd = m_hWnd;
    CHandleMap* pMap = afxMapHWND();
    BOOL bPermanent = pMap != NULL && pMap->LookupPermanent(hWnd) == this;
    BOOL bResult = ::DestroyWindow(hWnd);
    if (!bPermanent && pMap != NULL && pMap->LookupTemporary(hWnd) == this && !::IsWindow(hWnd))
        Detach();
    return bResult;
}

void CWnd::PostNcDestroy()
{
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType)
{
    DWORD dwExStyle = GetExStyle();
    if (nAdjustType == 0)
        dwExStyle &= ~WS_EX_CLIENTEDGE;
    ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, dwExStyle);
}

/////////////////////////////////////////////////////////////////////////////
// The window procedure

WNDPROC AFXAPI AfxGetAfxWndProc()
{
    return &AfxWndProc;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    // Lets others find out whether a window runs the framework's procedure.
    if (nMsg == WM_QUERYAFXWNDPROC)
        return 1;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == NULL || pWnd->m_hWnd != hWnd)
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LRESULT AFXAPI AfxInternalProcessWndProcException(CException* e, const MSG* pMsg)
{
    if (pMsg != NULL) {
        if (pMsg->message == WM_CREATE)
            return -1;      // the window cannot be created
        if (pMsg->message == WM_PAINT)
            ::ValidateRect(pMsg->hwnd, NULL);   // or WM_PAINT would come back at once
    }
    if (e != NULL && !e->IsKindOf(RUNTIME_CLASS(CUserException))) {
        UINT nIDP = e->IsKindOf(RUNTIME_CLASS(CMemoryException))
            ? AFX_IDP_FAILED_MEMORY_ALLOC : AFX_IDP_INTERNAL_FAILURE;
        e->ReportError(MB_ICONSTOP, nIDP);
    }
    return 0;
}

LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    _AFX_THREAD_STATE* pThreadState = AfxGetThreadState();
    MSG oldState = pThreadState->m_lastSentMsg;
    pThreadState->m_lastSentMsg.hwnd = hWnd;
    pThreadState->m_lastSentMsg.message = nMsg;
    pThreadState->m_lastSentMsg.wParam = wParam;
    pThreadState->m_lastSentMsg.lParam = lParam;
    pThreadState->m_lastSentMsg.time = 0;
    pThreadState->m_lastSentMsg.pt.x = pThreadState->m_lastSentMsg.pt.y = 0;

    LRESULT lResult = 0;
    // The window's module is current while it handles the message; switched
    // here on the thread state already at hand, as this runs for every message.
    AFX_MODULE_STATE* pPrevModuleState = pThreadState->m_pModuleState;
    // Nothing may unwind through the system's frames: every exception of a
    // handler ends here.
    try {
        pThreadState->m_pModuleState = pWnd->m_pModuleState;
        lResult = pWnd->WindowProc(nMsg, wParam, lParam);
        pThreadState->m_pModuleState = pPrevModuleState;
    } catch (CException* e) {
        pThreadState->m_pModuleState = pPrevModuleState;
        CWinThread* pThread = AfxGetThread();
        lResult = pThread != NULL ? pThread->ProcessWndProcException(e, &pThreadState->m_lastSentMsg)
                                  : AfxInternalProcessWndProcException(e, &pThreadState->m_lastSentMsg);
        e->Delete();
    } catch (...) {
        pThreadState->m_pModuleState = pPrevModuleState;
        lResult = AfxInternalProcessWndProcException(NULL, &pThreadState->m_lastSentMsg);
    }

    pThreadState->m_lastSentMsg = oldState;
    return lResult;
}

const MSG* PASCAL CWnd::GetCurrentMessage()
{
    MSG* pMsg = &AfxGetThreadState()->m_lastSentMsg;
    // Time and position are filled in on demand: most handlers never ask.
    if (pMsg->time == 0) {
        pMsg->time = (DWORD)::GetMessageTime();
        DWORD dwPos = ::GetMessagePos();
        pMsg->pt.x = (short)LOWORD(dwPos);
        pMsg->pt.y = (short)HIWORD(dwPos);
    }
    return pMsg;
}

LRESULT CWnd::Default()
{
    const MSG* pMsg = &AfxGetThreadState()->m_lastSentMsg;
    return DefWindowProc(pMsg->message, pMsg->wParam, pMsg->lParam);
}

LRESULT CWnd::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != NULL)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, nMsg, wParam, lParam);
    WNDPROC pfnWndProc = *GetSuperWndProcAddr();
    if (pfnWndProc != NULL)
        return ::CallWindowProcW(pfnWndProc, m_hWnd, nMsg, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, nMsg, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

/////////////////////////////////////////////////////////////////////////////
// Dispatch

namespace {

// A window being set up by the frame (in the middle of activation) does not
// take notifications from its controls.
BOOL ThreadLockoutNotify(HWND hWnd)
{
    return AfxGetThreadState()->m_hLockoutNotifyWindow == hWnd;
}

// Only records what the update handlers say: used to test whether a command is
// still enabled before it is carried out.
class CTestCmdUI : public CCmdUI
{
public:
    CTestCmdUI() : m_bEnabled(TRUE) {}
    virtual void Enable(BOOL bOn) { m_bEnabled = bOn; m_bEnableChanged = TRUE; }
    virtual void SetCheck(int) {}
    virtual void SetRadio(BOOL) {}
    virtual void SetText(LPCTSTR) {}
    BOOL m_bEnabled;
};

// The point of a mouse message: signed client coordinates in LPARAM.
CPoint PointOf(LPARAM lParam)
{
    return CPoint((short)LOWORD(lParam), (short)HIWORD(lParam));
}

CDC* DCOf(WPARAM wParam)
{
    return CDC::FromHandle((HDC)wParam);
}

CWnd* WndOf(WPARAM w)
{
    return CWnd::FromHandle((HWND)w);
}

} // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;

    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        lResult = 1;
        if (pResult != NULL)
            *pResult = lResult;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        NMHDR* pNMHDR = (NMHDR*)lParam;
        if (pNMHDR == NULL || pNMHDR->hwndFrom == NULL || !OnNotify(wParam, lParam, &lResult))
            return FALSE;
        if (pResult != NULL)
            *pResult = lResult;
        return TRUE;
    }

    // The colour messages of Win32 all go to the one handler of the old message.
    UINT nMsg = message;
    UINT nCtlColor = 0;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        nMsg = WM_CTLCOLOR;
        nCtlColor = message - WM_CTLCOLORMSGBOX;
    }

    const AFX_MSGMAP* pMap = GetMessageMap();
    const AFX_MSGMAP_ENTRY* lpEntry = NULL;
    if (nMsg < 0xC000) {
        lpEntry = afxwnd::FindWindowMessageEntry(pMap, nMsg);
    } else {
        // Registered messages: the number is read from the entry's variable now.
        for (const AFX_MSGMAP* p = pMap; p != NULL && lpEntry == NULL; p = afxwnd::BaseMap(p)) {
            for (const AFX_MSGMAP_ENTRY* e = p->lpEntries; e->nSig != AfxSig_end; ++e) {
                if (e->nMessage == 0xC000 && *(const UINT*)e->nSig == nMsg) {
                    lpEntry = e;
                    break;
                }
            }
        }
        if (lpEntry == NULL)
            return FALSE;
        lResult = (this->*reinterpret_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(lpEntry->pfn))(
            wParam, lParam);
        if (pResult != NULL)
            *pResult = lResult;
        return TRUE;
    }
    if (lpEntry == NULL)
        return FALSE;

    AFX_PMSG pfn = lpEntry->pfn;
    // Each handler type, converted back to exactly the type its entry was made from.
#define AFX_CALL(ret, params) (this->*reinterpret_cast<ret (CWnd::*) params>(pfn))
    switch (lpEntry->nSig) {
    case AfxSig_vv:
        AFX_CALL(void, ())();
        break;
    case AfxSig_bv:
        lResult = AFX_CALL(BOOL, ())();
        break;
    case AfxSig_vw:
        AFX_CALL(void, (UINT))((UINT)wParam);
        break;
    case AfxSig_lwl:
        lResult = AFX_CALL(LRESULT, (WPARAM, LPARAM))(wParam, lParam);
        break;
    case AfxSig_vwl:
        AFX_CALL(void, (UINT, LPARAM))((UINT)wParam, lParam);
        break;
    case AfxSig_vww:
        AFX_CALL(void, (UINT, UINT))((UINT)wParam, (UINT)lParam);
        break;
    case AfxSig_vwww:
        AFX_CALL(void, (UINT, UINT, UINT))((UINT)wParam, LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vwii:
        AFX_CALL(void, (UINT, int, int))((UINT)wParam, (short)LOWORD(lParam), (short)HIWORD(lParam));
        break;
    case AfxSig_vvii:
        AFX_CALL(void, (int, int))((short)LOWORD(lParam), (short)HIWORD(lParam));
        break;
    case AfxSig_vwp:
        AFX_CALL(void, (UINT, CPoint))((UINT)wParam, PointOf(lParam));
        break;
    case AfxSig_bwsp:
        lResult = AFX_CALL(BOOL, (UINT, short, CPoint))(
            LOWORD(wParam), (short)HIWORD(wParam), PointOf(lParam));
        break;
    case AfxSig_vWp:
        AFX_CALL(void, (CWnd*, CPoint))(WndOf(wParam), PointOf(lParam));
        break;
    case AfxSig_vW:
        AFX_CALL(void, (CWnd*))(WndOf(wParam));
        break;
    case AfxSig_vW2:
        AFX_CALL(void, (CWnd*))(WndOf((WPARAM)lParam));
        break;
    case AfxSig_vWww:
        AFX_CALL(void, (CWnd*, UINT, UINT))(WndOf(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_bWww:
        lResult = AFX_CALL(BOOL, (CWnd*, UINT, UINT))(WndOf(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_iWww:
        lResult = AFX_CALL(int, (CWnd*, UINT, UINT))(WndOf(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vwWb:
        AFX_CALL(void, (UINT, CWnd*, BOOL))(LOWORD(wParam), WndOf((WPARAM)lParam), HIWORD(wParam));
        break;
    case AfxSig_vwW:
        AFX_CALL(void, (UINT, CWnd*))((UINT)wParam, WndOf((WPARAM)lParam));
        break;
    case AfxSig_vwwW:
        AFX_CALL(void, (UINT, UINT, CScrollBar*))(LOWORD(wParam), (UINT)(short)HIWORD(wParam),
            (CScrollBar*)WndOf((WPARAM)lParam));
        break;
    case AfxSig_vwwh:
        AFX_CALL(void, (UINT, UINT, HMENU))(LOWORD(wParam), HIWORD(wParam), (HMENU)lParam);
        break;
    case AfxSig_vMwb:
        AFX_CALL(void, (CMenu*, UINT, BOOL))(CMenu::FromHandle((HMENU)wParam), LOWORD(lParam),
            (BOOL)HIWORD(lParam));
        break;
    case AfxSig_vM:
        AFX_CALL(void, (CMenu*))(CMenu::FromHandle((HMENU)wParam));
        break;
    case AfxSig_bD:
        lResult = AFX_CALL(BOOL, (CDC*))(DCOf(wParam));
        break;
    case AfxSig_hDWw:
        lResult = (LRESULT)AFX_CALL(HBRUSH, (CDC*, CWnd*, UINT))(
            DCOf(wParam), WndOf((WPARAM)lParam), nCtlColor);
        break;
    case AfxSig_hDw:
        lResult = (LRESULT)AFX_CALL(HBRUSH, (CDC*, UINT))(DCOf(wParam), nCtlColor);
        break;
    case AfxSig_is:
        lResult = AFX_CALL(int, (LPCREATESTRUCT))((LPCREATESTRUCT)lParam);
        break;
    case AfxSig_bs:
        lResult = AFX_CALL(BOOL, (LPCREATESTRUCT))((LPCREATESTRUCT)lParam);
        break;
    case AfxSig_vs:
        AFX_CALL(void, (void*))((void*)lParam);
        break;
    case AfxSig_vb:
        AFX_CALL(void, (BOOL))((BOOL)wParam);
        break;
    case AfxSig_bb:
        lResult = AFX_CALL(BOOL, (BOOL))((BOOL)wParam);
        break;
    case AfxSig_vbw:
        AFX_CALL(void, (BOOL, UINT))((BOOL)wParam, (UINT)lParam);
        break;
    case AfxSig_vbh:
        AFX_CALL(void, (BOOL, DWORD))((BOOL)wParam, (DWORD)lParam);
        break;
    case AfxSig_wv:
        lResult = AFX_CALL(UINT, ())();
        break;
    case AfxSig_wp:
        lResult = AFX_CALL(UINT, (CPoint))(PointOf(lParam));
        break;
    case AfxSig_hv:
        lResult = (LRESULT)AFX_CALL(HCURSOR, ())();
        break;
    case AfxSig_vCALC:
        AFX_CALL(void, (BOOL, NCCALCSIZE_PARAMS*))((BOOL)wParam, (NCCALCSIZE_PARAMS*)lParam);
        break;
    case AfxSig_vOWNER:
        AFX_CALL(void, (int, void*))((int)wParam, (void*)lParam);
        lResult = TRUE;
        break;
    case AfxSig_iCOMPARE:
        lResult = AFX_CALL(int, (int, LPCOMPAREITEMSTRUCT))((int)wParam, (LPCOMPAREITEMSTRUCT)lParam);
        break;
    case AfxSig_bHELPINFO:
        lResult = AFX_CALL(BOOL, (HELPINFO*))((HELPINFO*)lParam);
        break;
    case AfxSig_bWCDS:
        lResult = AFX_CALL(BOOL, (CWnd*, COPYDATASTRUCT*))(WndOf(wParam), (COPYDATASTRUCT*)lParam);
        break;
    case AfxSig_viSS:
        AFX_CALL(void, (int, LPSTYLESTRUCT))((int)wParam, (LPSTYLESTRUCT)lParam);
        break;
    case AfxSig_vbWW:
        // Sent to the child being activated and to the one being deactivated.
        AFX_CALL(void, (BOOL, CWnd*, CWnd*))(m_hWnd == (HWND)lParam, WndOf((WPARAM)lParam),
            WndOf(wParam));
        break;
    case AfxSig_iwWw:
        lResult = AFX_CALL(int, (UINT, CListBox*, UINT))(LOWORD(wParam),
            (CListBox*)WndOf((WPARAM)lParam), HIWORD(wParam));
        break;
    case AfxSig_iww:
        lResult = AFX_CALL(int, (UINT, UINT))(LOWORD(wParam), HIWORD(wParam));
        break;
    case AfxSig_vwwx:
        AFX_CALL(void, (UINT, UINT))(LOWORD(wParam), (UINT)(short)HIWORD(wParam));
        break;
    case AfxSig_vh:
        AFX_CALL(void, (HDROP))((HDROP)wParam);
        break;
    case AfxSig_vDRAW:
        AFX_CALL(void, (LPDRAWITEMSTRUCT))((LPDRAWITEMSTRUCT)lParam);
        lResult = TRUE;
        break;
    case AfxSig_vMEASURE:
        AFX_CALL(void, (LPMEASUREITEMSTRUCT))((LPMEASUREITEMSTRUCT)lParam);
        lResult = TRUE;
        break;
    case AfxSig_vDELETE:
        AFX_CALL(void, (LPDELETEITEMSTRUCT))((LPDELETEITEMSTRUCT)lParam);
        lResult = TRUE;
        break;
    case AfxSig_iCOMPARE2:
        lResult = AFX_CALL(int, (LPCOMPAREITEMSTRUCT))((LPCOMPAREITEMSTRUCT)lParam);
        break;
    default:
        // A command or thread-message entry in a window message's place.
        return FALSE;
    }
#undef AFX_CALL

    if (pResult != NULL)
        *pResult = lResult;
    return TRUE;
}

/////////////////////////////////////////////////////////////////////////////
// Commands, notifications and reflection

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = (HWND)lParam;
    int nCode = HIWORD(wParam);

    if (hWndCtrl == NULL) {
        // A menu or accelerator command: give the update handlers a say first, so
        // that a command that is disabled now is not carried out.
        if (nID == 0)
            return FALSE;
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, (int)CN_UPDATE_COMMAND_UI, &state, NULL);
        if (!state.m_bEnabled)
            return TRUE;    // disabled meanwhile: swallowed, not carried out
        nCode = CN_COMMAND;
    } else {
        // A control's notification: the control has the first word.
        if (ThreadLockoutNotify(m_hWnd))
            return TRUE;
        if (ReflectLastMsg(hWndCtrl))
            return TRUE;
        if (nID == 0)
            return FALSE;
    }
    return OnCmdMsg(nID, nCode, NULL, NULL);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = (NMHDR*)lParam;
    HWND hWndCtrl = pNMHDR->hwndFrom;
    UINT nID = (UINT)pNMHDR->idFrom;

    if (ThreadLockoutNotify(m_hWnd))
        return TRUE;
    if (ReflectLastMsg(hWndCtrl, pResult))
        return TRUE;

    AFX_NOTIFY notify;
    notify.pResult = pResult;
    notify.pNMHDR = pNMHDR;
    return OnCmdMsg(nID, MAKELONG(pNMHDR->code, WM_NOTIFY), &notify, NULL);
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    // Only children with a permanent object take part; their object decides.
    CWnd* pWnd = afxwnd::LookupPermanent(hWndChild);
    if (pWnd == NULL)
        return FALSE;
    return pWnd->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult)
{
    const MSG* pMsg = &AfxGetThreadState()->m_lastSentMsg;
    return OnChildNotify(pMsg->message, pMsg->wParam, pMsg->lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    // Messages whose result is a value: the control's handler gives it.
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
        return CWnd::OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);

    case WM_COMMAND: {
        // ON_CONTROL_REFLECT entries: the code, no id.
        int nCode = HIWORD(wParam);
        if (CWnd::OnCmdMsg(0, MAKELONG(nCode, WM_REFLECT_BASE + WM_COMMAND), NULL, NULL)) {
            if (pResult != NULL)
                *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }

    case WM_NOTIFY: {
        NMHDR* pNMHDR = (NMHDR*)lParam;
        AFX_NOTIFY notify;
        notify.pResult = pResult;
        notify.pNMHDR = pNMHDR;
        return CWnd::OnCmdMsg(0, MAKELONG(pNMHDR->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, NULL);
    }

    default:
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
            // The control's CtlColor gives the brush; a NULL brush means "not mine".
            const AFX_MSGMAP_ENTRY* lpEntry =
                afxwnd::FindWindowMessageEntry(GetMessageMap(), WM_REFLECT_BASE + WM_CTLCOLOR);
            if (lpEntry == NULL)
                return FALSE;
            HBRUSH hbr = (this->*reinterpret_cast<HBRUSH (CWnd::*)(CDC*, UINT)>(lpEntry->pfn))(
                CDC::FromHandle((HDC)wParam), message - WM_CTLCOLORMSGBOX);
            if (hbr == NULL)
                return FALSE;
            if (pResult != NULL)
                *pResult = (LRESULT)hbr;
            return TRUE;
        }
        return FALSE;
    }
}

/////////////////////////////////////////////////////////////////////////////
// WM_NCDESTROY: the last message. The object lets go of the handle and may
// delete itself (PostNcDestroy).

void CWnd::OnNcDestroy()
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL) {
        if (pThread->m_pMainWnd == this) {
            // The main window closing ends the thread's message loop.
            ::PostQuitMessage(0);
            pThread->m_pMainWnd = NULL;
        }
        if (pThread->m_pActiveWnd == this)
            pThread->m_pActiveWnd = NULL;
    }

    // Let the original procedure see the message, then restore it if nobody else
    // has subclassed the window since.
    WNDPROC pfnWndProc = (WNDPROC)::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC);
    Default();
    if ((WNDPROC)::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC) == pfnWndProc) {
        WNDPROC pfnSuper = *GetSuperWndProcAddr();
        if (pfnSuper != NULL)
            ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, (LONG_PTR)pfnSuper);
    }
    Detach();
    PostNcDestroy();
}
