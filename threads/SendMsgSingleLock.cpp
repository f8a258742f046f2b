// Message-aware waits.
#include "SendMsgSingleLock.h"

DWORD WivoSendMsgWaitForSingleObject(HANDLE hObject, DWORD dwTimeout)
{
    DWORD dwResult = ::MsgWaitForMultipleObjects(1, &hObject, FALSE, dwTimeout, QS_SENDMESSAGE);
    while (dwResult == WAIT_OBJECT_0 + 1) {
        // Peeking delivers the pending sent messages; PM_NOREMOVE leaves the
        // posted ones for the caller's message loop.
        MSG msg;
        ::PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE);
        dwResult = ::MsgWaitForMultipleObjects(1, &hObject, FALSE, dwTimeout, QS_SENDMESSAGE);
    }
    return dwResult;
}

/////////////////////////////////////////////////////////////////////////////
// CSendMsgSingleLock

CSendMsgSingleLock::CSendMsgSingleLock(CSyncObject* pObject, BOOL bInitialLock)
    : CSingleLock(pObject, FALSE)
{
    if (bInitialLock)
        Lock(INFINITE);
}

CSendMsgSingleLock::~CSendMsgSingleLock()
{
    CSingleLock::Unlock();
}

BOOL CSendMsgSingleLock::Lock(DWORD dwTimeOut)
{
    m_bAcquired = (WivoSendMsgWaitForSingleObject(m_hObject, dwTimeOut) == WAIT_OBJECT_0);
    return m_bAcquired;
}

CSendMsgSingleLock& CSendMsgSingleLock::operator=(const CSendMsgSingleLock& other)
{
    m_pObject = other.m_pObject;
    m_hObject = other.m_hObject;
    m_bAcquired = other.m_bAcquired;
    return *this;
}
