// CCurrentThread and CMainThread.
#include "CurrentThread.h"

IMPLEMENT_DYNAMIC(CCurrentThread, CThinThread)
IMPLEMENT_DYNAMIC(CMainThread, CThinThread)

/////////////////////////////////////////////////////////////////////////////
// CCurrentThread

CCurrentThread::CCurrentThread()
{
    // A real handle, so that the object keeps designating this thread when it
    // is used from another one.
    HANDLE hThread = NULL;
    if (::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(),
                          &hThread, 0, FALSE, DUPLICATE_SAME_ACCESS))
        m_hThread = hThread;
    m_dwThreadID = ::GetCurrentThreadId();
}

CCurrentThread::~CCurrentThread()
{
    if (m_hThread != NULL)
        ::CloseHandle(m_hThread);
    m_hThread = NULL;
    m_dwThreadID = 0;
}

void CCurrentThread::AddThreadTerminationListener(IThreadTerminationListener* /*pListener*/)
{
}

void CCurrentThread::RemoveThreadTerminationListener(IThreadTerminationListener* /*pListener*/)
{
}

/////////////////////////////////////////////////////////////////////////////
// CMainThread

CMainThread::CMainThread()
{
    m_hThread = s_hMainThread;
    m_dwThreadID = s_dwMainThreadID;
}

CMainThread::~CMainThread()
{
    // Nothing is owned: the handle value is the calling thread's pseudo handle.
    m_hThread = NULL;
    m_dwThreadID = 0;
}

void CMainThread::AddThreadTerminationListener(IThreadTerminationListener* /*pListener*/)
{
}

void CMainThread::RemoveThreadTerminationListener(IThreadTerminationListener* /*pListener*/)
{
}
