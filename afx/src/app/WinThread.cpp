// WinThread.cpp - CWinThread: starting framework threads, the message loop with
// idle processing, thread messages, and ending a thread.
#include "afxwin.h"
#include "afxpriv.h"

#include <process.h>

// Thread-message maps store their handlers as the one member type of all maps.
#pragma GCC diagnostic ignored "-Wcast-function-type"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinThread, CCmdTarget)
END_MESSAGE_MAP()

void CWinThread::CommonConstruct()
{
    m_pMainWnd = NULL;
    m_pActiveWnd = NULL;
    m_bAutoDelete = TRUE;
    m_hThread = NULL;
    m_nThreadID = 0;
    memset(&m_msgCur, 0, sizeof(m_msgCur));
    m_ptCursorLast = CPoint(-1, -1);
    m_nMsgLast = 0;
    m_nDisablePumpCount = 0;
}

CWinThread::CWinThread()
    : m_pThreadParams(NULL), m_pfnThreadProc(NULL)
{
    CommonConstruct();
}

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pThreadParams(pParam), m_pfnThreadProc(pfnThreadProc)
{
    CommonConstruct();
}

CWinThread::~CWinThread()
{
    // The application's own thread holds the pseudo handle, which is not closed.
    if (m_hThread != NULL && m_hThread != ::GetCurrentThread())
        ::CloseHandle(m_hThread);
    AFX_MODULE_THREAD_STATE* pState = AfxGetModuleThreadState();
    if (pState->m_pCurrentWinThread == this)
        pState->m_pCurrentWinThread = NULL;
}

void CWinThread::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

/////////////////////////////////////////////////////////////////////////////
// Starting a thread. The creator waits until the new thread has made itself
// known to the framework, so that the object is ready for both sides.

namespace {

struct StartupData
{
    CWinThread* pThread;
    AFX_MODULE_STATE* pModuleState;
    HANDLE hEventStarted;   // set by the new thread once its state is set up
    HANDLE hEventGo;        // set by the creator: the thread may run
};

unsigned __stdcall ThreadEntry(void* pParam)
{
    StartupData* pStartup = static_cast<StartupData*>(pParam);
    CWinThread* pThread = pStartup->pThread;
    AfxSetModuleState(pStartup->pModuleState);
    AfxGetModuleThreadState()->m_pCurrentWinThread = pThread;

    HANDLE hEventGo = pStartup->hEventGo;
    ::SetEvent(pStartup->hEventStarted);    // pStartup is gone after this
    ::WaitForSingleObject(hEventGo, INFINITE);
    ::CloseHandle(hEventGo);

    // A worker runs its function; a user-interface thread its message loop.
    UINT nResult;
    if (pThread->m_pfnThreadProc != NULL)
        nResult = (*pThread->m_pfnThreadProc)(pThread->m_pThreadParams);
    else if (!pThread->InitInstance())
        nResult = (UINT)pThread->ExitInstance();
    else
        nResult = (UINT)pThread->Run();
    AfxEndThread(nResult);
}

} // namespace

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize,
    LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (m_hThread != NULL)
        return FALSE;   // one thread per object at a time

    StartupData startup;
    startup.pThread = this;
    startup.pModuleState = AfxGetModuleState();
    startup.hEventStarted = ::CreateEventW(NULL, TRUE, FALSE, NULL);
    startup.hEventGo = ::CreateEventW(NULL, TRUE, FALSE, NULL);
    if (startup.hEventStarted == NULL || startup.hEventGo == NULL) {
        if (startup.hEventStarted != NULL)
            ::CloseHandle(startup.hEventStarted);
        if (startup.hEventGo != NULL)
            ::CloseHandle(startup.hEventGo);
        return FALSE;
    }

    unsigned nThreadID = 0;
    m_hThread = (HANDLE)::_beginthreadex(lpSecurityAttrs, nStackSize, &ThreadEntry, &startup,
        CREATE_SUSPENDED, &nThreadID);
    if (m_hThread == NULL) {
        ::CloseHandle(startup.hEventStarted);
        ::CloseHandle(startup.hEventGo);
        return FALSE;
    }
    m_nThreadID = nThreadID;

    ::ResumeThread(m_hThread);
    ::WaitForSingleObject(startup.hEventStarted, INFINITE);
    ::CloseHandle(startup.hEventStarted);
    // Suspended as asked, but only once it has taken its start-up data.
    if (dwCreateFlags & CREATE_SUSPENDED)
        ::SuspendThread(m_hThread);
    ::SetEvent(startup.hEventGo);
    return TRUE;
}

int CWinThread::GetThreadPriority()
{
    return ::GetThreadPriority(m_hThread);
}

BOOL CWinThread::SetThreadPriority(int nPriority)
{
    return ::SetThreadPriority(m_hThread, nPriority);
}

DWORD CWinThread::SuspendThread()
{
    return ::SuspendThread(m_hThread);
}

DWORD CWinThread::ResumeThread()
{
    return ::ResumeThread(m_hThread);
}

BOOL CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostThreadMessageW(m_nThreadID, message, wParam, lParam);
}

namespace {

// Both forms of AfxBeginThread: the thread is created suspended, so that its
// priority is set before it runs.
CWinThread* BeginCreated(CWinThread* pThread, int nPriority, UINT nStackSize,
    DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        pThread->Delete();
        return NULL;
    }
    pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        pThread->ResumeThread();
    return pThread;
}

} // namespace

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority,
    UINT nStackSize, DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    return BeginCreated(new CWinThread(pfnThreadProc, pParam), nPriority, nStackSize,
        dwCreateFlags, lpSecurityAttrs);
}

CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize,
    DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (pThreadClass == NULL || !pThreadClass->IsDerivedFrom(RUNTIME_CLASS(CWinThread)))
        return NULL;
    CWinThread* pThread = static_cast<CWinThread*>(pThreadClass->CreateObject());
    if (pThread == NULL)
        AfxThrowMemoryException();
    return BeginCreated(pThread, nPriority, nStackSize, dwCreateFlags, lpSecurityAttrs);
}

void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete)
{
    AFX_MODULE_THREAD_STATE* pState = AfxGetModuleThreadState();
    CWinThread* pThread = pState->m_pCurrentWinThread;
    if (pThread != NULL) {
        pState->m_pCurrentWinThread = NULL;
        if (bDelete)
            pThread->Delete();
    }
    // The temporary objects would outlive their thread otherwise; the maps
    // themselves go with the thread's state.
    if (pState->m_nTempMapLock == 0) {
        AfxLockTempMaps();
        AfxUnlockTempMaps();
    }
    ::_endthreadex(nExitCode);
    for (;;) {}     // _endthreadex does not return
}

/////////////////////////////////////////////////////////////////////////////
// The message loop

BOOL CWinThread::InitInstance()
{
    return FALSE;   // a thread that sets nothing up has no loop to run
}

int CWinThread::ExitInstance()
{
    // The exit code that PostQuitMessage gave.
    return (int)m_msgCur.wParam;
}

int CWinThread::Run()
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;) {
        while (bIdle && !::PeekMessageW(&m_msgCur, NULL, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageW(&m_msgCur, NULL, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinThread::PumpMessage()
{
    if (!::GetMessageW(&m_msgCur, NULL, 0, 0))
        return FALSE;
    // WM_KICKIDLE only wakes the loop up; it is for nobody.
    if (m_msgCur.message != WM_KICKIDLE && !PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageW(&m_msgCur);
    }
    return TRUE;
}

BOOL AFXAPI AfxPumpMessage()
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL)
        return pThread->PumpMessage();
    MSG msg;
    if (!::GetMessageW(&msg, NULL, 0, 0))
        return FALSE;
    if (msg.message != WM_KICKIDLE && !CWnd::WalkPreTranslateTree(NULL, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    // Messages for the thread itself go through its map.
    if (pMsg->hwnd == NULL && DispatchThreadMessageEx(pMsg))
        return TRUE;

    // The windows from the message's window up to the main window.
    CWnd* pMainWnd = AfxGetMainWnd();
    if (CWnd::WalkPreTranslateTree(pMainWnd != NULL ? pMainWnd->m_hWnd : NULL, pMsg))
        return TRUE;

    // A modeless window outside the main window still gets the main window's
    // accelerators.
    if (pMainWnd != NULL && pMsg->hwnd != NULL) {
        CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
        if (pWnd->GetTopLevelParent() != pMainWnd)
            return pMainWnd->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

BOOL CWinThread::DispatchThreadMessageEx(MSG* pMsg)
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != NULL;
         pMap = pMap->pfnGetBaseMap != NULL ? (*pMap->pfnGetBaseMap)() : NULL) {
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->nSig != AfxSig_end; ++e) {
            BOOL bMatch = e->nMessage == 0xC000
                ? *(const UINT*)e->nSig == pMsg->message
                : (e->nSig == AfxSig_vwl_thread && e->nMessage == pMsg->message);
            if (bMatch) {
                (this->*reinterpret_cast<void (CWinThread::*)(WPARAM, LPARAM)>(e->pfn))(
                    pMsg->wParam, pMsg->lParam);
                return TRUE;
            }
        }
    }
    return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    // A mouse that has not moved (Windows repeats the last position), painting
    // and the caret's timer say nothing about the user being busy.
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        if (m_ptCursorLast == pMsg->pt && pMsg->message == m_nMsgLast)
            return FALSE;
        m_ptCursorLast = pMsg->pt;
        m_nMsgLast = pMsg->message;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118 /* WM_SYSTIMER */;
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        // The commands' states of the main window and its controls.
        CWnd* pMainWnd = m_pMainWnd;
        if (pMainWnd != NULL && pMainWnd->m_hWnd != NULL && pMainWnd->IsWindowVisible()) {
            AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0);
            pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0, TRUE, TRUE);
        }
        return TRUE;
    }
    if (lCount == 1) {
        // The temporary objects made since the last idle time.
        if (AfxGetModuleThreadState()->m_nTempMapLock == 0) {
            AfxLockTempMaps();
            AfxUnlockTempMaps();
        }
    }
    return FALSE;
}

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* pMsg)
{
    return AfxInternalProcessWndProcException(e, pMsg);
}

BOOL CWinThread::ProcessMessageFilter(int code, LPMSG lpMsg)
{
    // Dialog boxes and menus run loops of their own; their keystrokes still get
    // the thread's pre-translation (accelerators of modeless windows).
    if (lpMsg == NULL || code < 0)
        return FALSE;
    if (code == MSGF_DIALOGBOX && m_pMainWnd != NULL &&
        lpMsg->message >= WM_KEYFIRST && lpMsg->message <= WM_KEYLAST)
        return CWnd::WalkPreTranslateTree(m_pMainWnd->m_hWnd, lpMsg);
    return FALSE;
}

CWnd* CWinThread::GetMainWnd()
{
    if (m_pActiveWnd != NULL)
        return m_pActiveWnd;
    if (m_pMainWnd != NULL)
        return m_pMainWnd;
    return CWnd::GetActiveWindow();
}
