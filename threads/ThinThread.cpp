// CThinThread: starts, stops and joins one platform thread.
#include "ThinThread.h"

#include "SendMsgSingleLock.h"
#include "ThreadInternal.h"

#include <process.h>

using wivothread::CHandleUse;
using wivothread::RetireHandle;

IMPLEMENT_DYNAMIC(CThinThread, CObject)

// The thread registry, its lock and the main-thread record are defined with the
// library's other process-wide objects (ProcessObjects.cpp).

// Handles of threads that ended by themselves: see ThreadInternal.h.

/////////////////////////////////////////////////////////////////////////////
// Construction

CThinThread::CThinThread()
    : m_hThread(NULL), m_dwThreadID(0), m_pRunnable(NULL), m_bExit(FALSE), m_listeners(10)
{
}

CThinThread::CThinThread(IRunnable* pRunnable)
    : m_hThread(NULL), m_dwThreadID(0), m_pRunnable(pRunnable), m_bExit(FALSE), m_listeners(10)
{
}

CThinThread::~CThinThread()
{
    if (m_hThread != NULL)
        Stop();
}

/////////////////////////////////////////////////////////////////////////////
// Operations

void CThinThread::Run()
{
    if (m_pRunnable != NULL)
        m_pRunnable->Run();
}

void CThinThread::Start()
{
    if (m_hThread != NULL)
        return;
    m_bExit = FALSE;
    // Suspended until both fields hold their values: the new thread reads the id
    // first thing.
    m_hThread = reinterpret_cast<HANDLE>(::_beginthreadex(
        NULL, 0, &CThinThread::ThreadProc, this, CREATE_SUSPENDED,
        reinterpret_cast<unsigned*>(const_cast<DWORD*>(&m_dwThreadID))));
    if (m_hThread != NULL)
        Resume();
}

void CThinThread::Stop()
{
    if (IsActive()) {
        m_bExit = TRUE;
        Join();
    }
}

void CThinThread::StopNoJoin()
{
    if (IsActive())
        m_bExit = TRUE;
}

void CThinThread::Terminate()
{
    {
        CSingleLock lock(&s_csThreadMap, TRUE);
        s_ThreadMap.RemoveKey(m_dwThreadID);
    }
    // Taking the handle out of the field first settles who closes it: this
    // call or, if the thread got there first, the ending thread itself. The
    // close waits until no Join or query is still using the handle.
    HANDLE hThread = ::InterlockedExchangePointer(&m_hThread, NULL);
    ::TerminateThread(hThread, 1);
    if (hThread != NULL)
        RetireHandle(hThread);
    m_dwThreadID = 0;
}

void CThinThread::Suspend()
{
    CHandleUse use;
    ::SuspendThread(m_hThread);
}

void CThinThread::Resume()
{
    CHandleUse use;
    ::ResumeThread(m_hThread);
}

void CThinThread::Join()
{
    CHandleUse use;
    Join(m_hThread, INFINITE);
}

void CThinThread::Join(DWORD dwTimeout)
{
    CHandleUse use;
    Join(m_hThread, dwTimeout);
}

void CThinThread::Join(void* hThread, DWORD dwTimeout)
{
    if (hThread == NULL)
        return;
    CHandleUse use;
    if (::GetCurrentThreadId() == s_dwMainThreadID)
        WivoSendMsgWaitForSingleObject(hThread, dwTimeout);
    else
        ::WaitForSingleObject(hThread, dwTimeout);
}

CThinThread* CThinThread::GetThreadByID(DWORD dwThreadID)
{
    CSingleLock lock(&s_csThreadMap, TRUE);
    CThinThread* pThread = NULL;
    if (!s_ThreadMap.Lookup(dwThreadID, pThread))
        return NULL;
    return pThread;
}

void CThinThread::Sleep(long lMilliseconds)
{
    ::Sleep(static_cast<DWORD>(lMilliseconds));
}

void CThinThread::AddThreadTerminationListener(IThreadTerminationListener* pListener)
{
    if (pListener == NULL)
        return;
    CSingleLock lock(&m_csListeners, TRUE);
    m_listeners.AddTail(pListener);
}

void CThinThread::RemoveThreadTerminationListener(IThreadTerminationListener* pListener)
{
    if (pListener == NULL)
        return;
    CSingleLock lock(&m_csListeners, TRUE);
    POSITION pos = m_listeners.Find(pListener);
    if (pos != NULL)
        m_listeners.RemoveAt(pos);
}

/////////////////////////////////////////////////////////////////////////////
// Attributes

BOOL CThinThread::IsActive() const
{
    CHandleUse use;
    HANDLE hThread = m_hThread;
    if (hThread == NULL)
        return FALSE;
    DWORD dwExitCode = 0;
    if (!::GetExitCodeThread(hThread, &dwExitCode))
        return FALSE;
    return dwExitCode == STILL_ACTIVE;
}

CThinThread::Priority CThinThread::GetPriority() const
{
    CHandleUse use;
    return static_cast<Priority>(::GetThreadPriority(m_hThread));
}

void CThinThread::SetPriority(Priority priority)
{
    CHandleUse use;
    ::SetThreadPriority(m_hThread, priority);
}

BOOL CThinThread::Equals(const CThinThread& other) const
{
    return m_dwThreadID == other.m_dwThreadID;
}

BOOL CThinThread::Equals(const CThinThread* pOther) const
{
    return pOther != NULL && Equals(*pOther);
}

/////////////////////////////////////////////////////////////////////////////
// Implementation

void CThinThread::FireThreadTerminate()
{
    CSingleLock lock(&m_csListeners, TRUE);
    // The next link is read before the call, so a listener may remove itself.
    POSITION pos = m_listeners.GetHeadPosition();
    while (pos != NULL) {
        IThreadTerminationListener* pListener = m_listeners.GetNext(pos);
        pListener->OnThreadTerminate();
    }
}

unsigned int __stdcall CThinThread::ThreadProc(void* pParam)
{
    CThinThread* pThis = static_cast<CThinThread*>(pParam);
    {
        CSingleLock lock(&s_csThreadMap, TRUE);
        s_ThreadMap[pThis->m_dwThreadID] = pThis;
    }

    static_cast<IRunnable*>(pThis)->Run();
    pThis->FireThreadTerminate();

    {
        CSingleLock lock(&s_csThreadMap, TRUE);
        s_ThreadMap.RemoveKey(pThis->m_dwThreadID);
    }
    pThis->m_dwThreadID = 0;
    HANDLE hThread = ::InterlockedExchangePointer(&pThis->m_hThread, NULL);
    // From here on the object may already be gone (a controlling thread sees
    // the cleared handle and may destroy it).
    if (hThread != NULL)
        RetireHandle(hThread);
    ::_endthreadex(0);
    return 0;
}
