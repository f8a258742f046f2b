// MsgHook.cpp - chains of window-procedure hooks.
#include "MsgHook.h"

#include <afxpriv.h>

IMPLEMENT_DYNAMIC(CMsgHook, CObject)

CMsgHook* CMsgHook::FirstHook(HWND hWnd)
{
    void* p = NULL;
    return hWnd != NULL && s_hookMap.Lookup(hWnd, p) ? static_cast<CMsgHook*>(p) : NULL;
}

CMsgHook::CMsgHook(IMsgHookCallback* pCallback)
    : m_pCallback(pCallback), m_pWnd(NULL), m_bOwnWnd(FALSE), m_pfnOldWndProc(NULL),
      m_pNext(NULL), m_nBusy(0), m_bDeletePending(FALSE)
{
}

CMsgHook::~CMsgHook()
{
    if (m_pWnd != NULL)
        Remove();
}

void* PASCAL CMsgHook::operator new(size_t nSize)
{
    return CObject::operator new(nSize);
}

void PASCAL CMsgHook::operator delete(void* p)
{
    if (p != NULL && static_cast<CMsgHook*>(p)->PrepareDeletion())
        CObject::operator delete(p);
}

void PASCAL CMsgHook::operator delete(void* p, void*)
{
    CMsgHook::operator delete(p);
}

BOOL CMsgHook::PrepareDeletion()
{
    m_pCallback = NULL;
    m_bDeletePending = TRUE;
    return m_nBusy == 0;
}

BOOL CMsgHook::IsHooked() const
{
    return m_pWnd != NULL;
}

BOOL CMsgHook::Install(CWnd* pWnd)
{
    if (m_pWnd != NULL)
        return FALSE;
    HWND hWnd = pWnd->GetSafeHwnd();
    CMsgHook* pFirst = FirstHook(hWnd);

    // The first hook of a window subclasses it; the others share its procedure.
    WNDPROC pfnOld;
    if (pFirst == NULL)
        pfnOld = (WNDPROC)::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)&HookWndProc);
    else
        pfnOld = pFirst->m_pfnOldWndProc;
    if (pfnOld == NULL)
        return FALSE;

    m_pNext = pFirst;
    m_pWnd = pWnd;
    m_pfnOldWndProc = pfnOld;
    s_hookMap.SetAt(hWnd, this);
    return TRUE;
}

BOOL CMsgHook::Install(HWND hWnd)
{
    if (m_bOwnWnd)
        return FALSE;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == NULL) {
        pWnd = new CWnd;
        pWnd->Attach(hWnd);
        m_bOwnWnd = TRUE;
    }
    BOOL bResult = Install(pWnd);
    if (!bResult && m_bOwnWnd) {
        pWnd->Detach();
        delete pWnd;
        m_bOwnWnd = FALSE;
    }
    return bResult;
}

BOOL CMsgHook::Remove()
{
    if (m_pWnd == NULL)
        return FALSE;
    HWND hWnd = m_pWnd->m_hWnd;
    CMsgHook* pFirst = FirstHook(hWnd);
    if (pFirst == NULL)
        return FALSE;

    CMsgHook* pPrev = NULL;
    CMsgHook* pHook = pFirst;
    while (pHook != NULL && pHook != this) {
        pPrev = pHook;
        pHook = pHook->m_pNext;
    }
    if (pHook == NULL)
        return FALSE;

    if (pPrev == NULL) {
        if (m_pNext == NULL) {
            // The last hook of the window gives it its procedure back.
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnOldWndProc);
            s_hookMap.RemoveKey(hWnd);
        } else {
            s_hookMap.SetAt(hWnd, m_pNext);
        }
    } else {
        pPrev->m_pNext = m_pNext;
    }

    if (m_bOwnWnd) {
        m_pWnd->Detach();
        delete m_pWnd;
    }
    m_pWnd = NULL;
    m_bOwnWnd = FALSE;
    m_pfnOldWndProc = NULL;
    m_pNext = NULL;
    return TRUE;
}

BOOL CMsgHook::RemoveAllHooks(CWnd* pWnd)
{
    HWND hWnd = pWnd->GetSafeHwnd();
    CMsgHook* pHook = FirstHook(hWnd);
    if (pHook == NULL)
        return FALSE;

    ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)pHook->m_pfnOldWndProc);
    s_hookMap.RemoveKey(hWnd);
    while (pHook != NULL) {
        CMsgHook* pNext = pHook->m_pNext;
        if (pHook->m_bOwnWnd) {
            pHook->m_pWnd->Detach();
            delete pHook->m_pWnd;
        }
        pHook->m_pWnd = NULL;
        pHook->m_bOwnWnd = FALSE;
        pHook->m_pfnOldWndProc = NULL;
        pHook->m_pNext = NULL;
        pHook = pNext;
    }
    return TRUE;
}

BOOL CMsgHook::RemoveAllHooks(HWND hWnd)
{
    return RemoveAllHooks(CWnd::FromHandle(hWnd));
}

LRESULT CALLBACK CMsgHook::HookWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CMsgHook* pHook = FirstHook(hWnd);
    if (pHook == NULL)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);

    AFX_MAINTAIN_STATE2 state(pHook->m_pWnd->m_pModuleState);

    // The hooks' handlers ask for the current message as the framework's own
    // handlers do (CWnd::GetCurrentMessage, Default).
    _AFX_THREAD_STATE* pThreadState = AfxGetThreadState();
    MSG msgSaved = pThreadState->m_lastSentMsg;
    MSG& msg = pThreadState->m_lastSentMsg;
    msg.hwnd = hWnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = (DWORD)::GetMessageTime();
    DWORD dwPos = ::GetMessagePos();
    msg.pt.x = (short)LOWORD(dwPos);
    msg.pt.y = (short)HIWORD(dwPos);

    LRESULT lResult = pHook->WindowProc(message, wParam, lParam);

    pThreadState->m_lastSentMsg = msgSaved;
    return lResult;
}

LRESULT CMsgHook::Default()
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return CMsgHook::WindowProc(msg.message, msg.wParam, msg.lParam);
}

LRESULT CMsgHook::EndCall(LRESULT lResult)
{
    if (--m_nBusy == 0 && m_bDeletePending)
        CObject::operator delete(this);     // destroyed already: only the memory is left
    return lResult;
}

LRESULT CMsgHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    ++m_nBusy;
    LRESULT lResult = 0;

    if (m_pCallback != NULL) {
        BOOL bHandled = FALSE;
        m_pCallback->OnForwardingMessage(m_pWnd, message, wParam, lParam, lResult, bHandled);
        if (bHandled)
            return EndCall(lResult);
    }

    if (m_pNext != NULL) {
        lResult = m_pNext->WindowProc(message, wParam, lParam);
    } else {
        WNDPROC pfnOld = m_pfnOldWndProc;
        HWND hWnd = m_pWnd != NULL ? m_pWnd->m_hWnd : NULL;
        // The window's last message: it leaves with its hooks already gone, so
        // its own procedure can clean up as if it had never been hooked.
        if (message == WM_NCDESTROY)
            RemoveAllHooks(m_pWnd);
        // A hook deleted by its own callback has no procedure left to call.
        if (pfnOld != NULL)
            lResult = ::CallWindowProcW(pfnOld, hWnd, message, wParam, lParam);
    }

    if (m_pCallback != NULL)
        m_pCallback->OnForwardedMessage(m_pWnd, message, wParam, lParam, lResult);
    return EndCall(lResult);
}
