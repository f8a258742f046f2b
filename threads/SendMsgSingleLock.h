// SendMsgSingleLock.h - waits that keep messages sent by other threads flowing.
//
//   WivoSendMsgWaitForSingleObject   waits for one handle, delivering sent messages meanwhile
//   CSendMsgSingleLock               a CSingleLock whose Lock waits that way
//
// A thread that owns windows can wait for a worker that sends messages to those
// windows in the meantime, without the two blocking each other. Posted messages
// and input stay queued for the caller's own message loop.
#pragma once

#include <afx.h>
#include <afxmt.h>

// WAIT_OBJECT_0, WAIT_TIMEOUT, WAIT_ABANDONED or WAIT_FAILED. Each delivery of sent
// messages starts the time-out afresh, so the whole wait can take longer.
AFX_EXT_API DWORD WivoSendMsgWaitForSingleObject(HANDLE hObject, DWORD dwTimeout);

/////////////////////////////////////////////////////////////////////////////
// CSendMsgSingleLock

class AFX_EXT_CLASS CSendMsgSingleLock : public CSingleLock
{
public:
// Construction
    explicit CSendMsgSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    ~CSendMsgSingleLock();

// Operations
    // TRUE only when the object was signalled within the time-out (an abandoned
    // mutex does not count). Objects without a kernel handle, such as a
    // CCriticalSection, are never acquired.
    BOOL Lock(DWORD dwTimeOut = INFINITE);

    CSendMsgSingleLock& operator=(const CSendMsgSingleLock& other);
};
