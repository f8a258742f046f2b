// afxmt.h - synchronization objects and the locks that use them.
//
//   CSyncObject        base: a kernel object handle and Lock/Unlock
//   CSemaphore, CMutex, CEvent, CCriticalSection
//   CSingleLock        locks one object, unlocks it when it goes out of scope
//   CMultiLock         waits for several objects at once (optionally also for messages)
//
// The kernel objects are created by the constructors; when that fails they throw
// CResourceException. A named object that exists already is opened instead, and
// GetLastError() returns ERROR_ALREADY_EXISTS right after the constructor.
#pragma once

#include "afx.h"

class CSingleLock;
class CMultiLock;

/////////////////////////////////////////////////////////////////////////////
// CSyncObject

class AFX_CORE_CLASS CSyncObject : public CObject
{
    DECLARE_DYNAMIC(CSyncObject)

public:
// Constructors
    explicit CSyncObject(LPCTSTR pstrName);

// Attributes
    operator HANDLE() const { return m_hObject; }
    HANDLE m_hObject;

// Operations
    // TRUE when the object was acquired (signaled) within dwTimeout milliseconds.
    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;
    // Releasing several counts at once; only a semaphore has them.
    virtual BOOL Unlock(LONG lCount, LPLONG lpPrevCount = NULL)
        { (void)lCount; (void)lpPrevCount; return TRUE; }

// Implementation
public:
    virtual ~CSyncObject();
    friend class CSingleLock;
    friend class CMultiLock;
};

/////////////////////////////////////////////////////////////////////////////
// CSemaphore

class AFX_CORE_CLASS CSemaphore : public CSyncObject
{
    DECLARE_DYNAMIC(CSemaphore)

public:
    CSemaphore(LONG lInitialCount = 1, LONG lMaxCount = 1, LPCTSTR pstrName = NULL,
               LPSECURITY_ATTRIBUTES lpsaAttributes = NULL);

// Implementation
public:
    virtual ~CSemaphore();
    virtual BOOL Unlock();
    virtual BOOL Unlock(LONG lCount, LPLONG lprevCount = NULL);
};

/////////////////////////////////////////////////////////////////////////////
// CMutex

class AFX_CORE_CLASS CMutex : public CSyncObject
{
    DECLARE_DYNAMIC(CMutex)

public:
    CMutex(BOOL bInitiallyOwn = FALSE, LPCTSTR lpszName = NULL,
           LPSECURITY_ATTRIBUTES lpsaAttribute = NULL);

// Implementation
public:
    virtual ~CMutex();
    using CSyncObject::Unlock;
    // FALSE when the calling thread does not own the mutex.
    BOOL Unlock();
};

/////////////////////////////////////////////////////////////////////////////
// CEvent

class AFX_CORE_CLASS CEvent : public CSyncObject
{
    DECLARE_DYNAMIC(CEvent)

public:
    // bInitiallyOwn: created signaled. bManualReset: stays signaled until ResetEvent,
    // else one waiting thread is released and the event resets itself.
    CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCTSTR lpszName = NULL,
           LPSECURITY_ATTRIBUTES lpsaAttribute = NULL);

// Operations
    BOOL SetEvent() { return ::SetEvent(m_hObject); }
    BOOL PulseEvent() { return ::PulseEvent(m_hObject); }
    BOOL ResetEvent() { return ::ResetEvent(m_hObject); }
    using CSyncObject::Unlock;
    // Waiting for an event takes nothing that would have to be given back.
    BOOL Unlock();

// Implementation
public:
    virtual ~CEvent();
};

/////////////////////////////////////////////////////////////////////////////
// CCriticalSection: a lock within the process, with no kernel handle (m_hObject is
// NULL, so it cannot take part in a CMultiLock).

class AFX_CORE_CLASS CCriticalSection : public CSyncObject
{
    DECLARE_DYNAMIC(CCriticalSection)

public:
    CCriticalSection();

// Attributes
    operator CRITICAL_SECTION*() { return &m_sect; }
    CRITICAL_SECTION m_sect;

// Operations
    using CSyncObject::Unlock;
    BOOL Unlock();
    BOOL Lock();
    // A finite timeout is kept (by trying repeatedly) rather than waited out forever.
    BOOL Lock(DWORD dwTimeout);

// Implementation
public:
    virtual ~CCriticalSection();
};

/////////////////////////////////////////////////////////////////////////////
// CSingleLock

class AFX_CORE_CLASS CSingleLock
{
public:
    // With bInitialLock the constructor waits for the object (without a timeout).
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);

// Operations
    // TRUE when the object is acquired; a lock that holds the object already does not
    // acquire it a second time.
    BOOL Lock(DWORD dwTimeOut = INFINITE);
    // TRUE when the lock no longer holds the object.
    BOOL Unlock();
    BOOL Unlock(LONG lCount, LPLONG lPrevCount = NULL);
    BOOL IsLocked() { return m_bAcquired; }

// Implementation
public:
    ~CSingleLock() { Unlock(); }

protected:
    CSyncObject* m_pObject;
    HANDLE m_hObject;
    BOOL m_bAcquired;

private:
    CSingleLock(const CSingleLock&);
    void operator=(const CSingleLock&);
};

/////////////////////////////////////////////////////////////////////////////
// CMultiLock

class AFX_CORE_CLASS CMultiLock
{
public:
    CMultiLock(CSyncObject* ppObjects[], DWORD dwCount, BOOL bInitialLock = FALSE);

// Operations
    // WaitForMultipleObjects, or MsgWaitForMultipleObjects when dwWakeMask is not 0;
    // returns what they return (WAIT_OBJECT_0 + n, WAIT_ABANDONED_0 + n, WAIT_TIMEOUT,
    // WAIT_OBJECT_0 + count for a message, WAIT_FAILED). The objects acquired are
    // remembered and released by Unlock.
    DWORD Lock(DWORD dwTimeOut = INFINITE, BOOL bWaitForAll = TRUE, DWORD dwWakeMask = 0);
    BOOL Unlock();
    // Releases lCount counts of each acquired semaphore; FALSE when there is none.
    BOOL Unlock(LONG lCount, LPLONG lPrevCount = NULL);
    BOOL IsLocked(DWORD dwItem);

// Implementation
public:
    ~CMultiLock();

protected:
    HANDLE m_hPreallocated[8];
    BOOL m_bPreallocated[8];

    CSyncObject* const* m_ppObjectArray;
    HANDLE* m_pHandleArray;
    BOOL* m_bLockedArray;
    DWORD m_dwCount;

private:
    CMultiLock(const CMultiLock&);
    void operator=(const CMultiLock&);
};
