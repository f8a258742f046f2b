// Sync.cpp - the synchronization objects and locks of afxmt.h.
#include "afxmt.h"

/////////////////////////////////////////////////////////////////////////////
// CSyncObject

IMPLEMENT_DYNAMIC(CSyncObject, CObject)

CSyncObject::CSyncObject(LPCTSTR pstrName)
    : m_hObject(NULL)
{
    (void)pstrName;
}

CSyncObject::~CSyncObject()
{
    if (m_hObject != NULL) {
        ::CloseHandle(m_hObject);
        m_hObject = NULL;
    }
}

BOOL CSyncObject::Lock(DWORD dwTimeout)
{
    if (m_hObject == NULL)
        return FALSE;
    // An abandoned mutex is acquired all the same (and must be released).
    DWORD dwRet = ::WaitForSingleObject(m_hObject, dwTimeout);
    return dwRet == WAIT_OBJECT_0 || dwRet == WAIT_ABANDONED_0;
}

/////////////////////////////////////////////////////////////////////////////
// CSemaphore

IMPLEMENT_DYNAMIC(CSemaphore, CSyncObject)

// Nothing may run after the Create... call but the check: the caller may want to see
// ERROR_ALREADY_EXISTS in GetLastError().
CSemaphore::CSemaphore(LONG lInitialCount, LONG lMaxCount, LPCTSTR pstrName,
                       LPSECURITY_ATTRIBUTES lpsaAttributes)
    : CSyncObject(pstrName)
{
    m_hObject = ::CreateSemaphoreW(lpsaAttributes, lInitialCount, lMaxCount, pstrName);
    if (m_hObject == NULL)
        AfxThrowResourceException();
}

CSemaphore::~CSemaphore()
{
}

BOOL CSemaphore::Unlock()
{
    return Unlock(1, NULL);
}

BOOL CSemaphore::Unlock(LONG lCount, LPLONG lprevCount)
{
    return ::ReleaseSemaphore(m_hObject, lCount, lprevCount);
}

/////////////////////////////////////////////////////////////////////////////
// CMutex

IMPLEMENT_DYNAMIC(CMutex, CSyncObject)

CMutex::CMutex(BOOL bInitiallyOwn, LPCTSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute)
    : CSyncObject(lpszName)
{
    m_hObject = ::CreateMutexW(lpsaAttribute, bInitiallyOwn, lpszName);
    if (m_hObject == NULL)
        AfxThrowResourceException();
}

CMutex::~CMutex()
{
}

BOOL CMutex::Unlock()
{
    return ::ReleaseMutex(m_hObject);
}

/////////////////////////////////////////////////////////////////////////////
// CEvent

IMPLEMENT_DYNAMIC(CEvent, CSyncObject)

CEvent::CEvent(BOOL bInitiallyOwn, BOOL bManualReset, LPCTSTR lpszName,
               LPSECURITY_ATTRIBUTES lpsaAttribute)
    : CSyncObject(lpszName)
{
    m_hObject = ::CreateEventW(lpsaAttribute, bManualReset, bInitiallyOwn, lpszName);
    if (m_hObject == NULL)
        AfxThrowResourceException();
}

CEvent::~CEvent()
{
}

BOOL CEvent::Unlock()
{
    return TRUE;
}

/////////////////////////////////////////////////////////////////////////////
// CCriticalSection

IMPLEMENT_DYNAMIC(CCriticalSection, CSyncObject)

CCriticalSection::CCriticalSection()
    : CSyncObject(NULL)
{
    if (!::InitializeCriticalSectionAndSpinCount(&m_sect, 0))
        AfxThrowMemoryException();
}

CCriticalSection::~CCriticalSection()
{
    ::DeleteCriticalSection(&m_sect);
}

BOOL CCriticalSection::Lock()
{
    ::EnterCriticalSection(&m_sect);
    return TRUE;
}

BOOL CCriticalSection::Lock(DWORD dwTimeout)
{
    if (dwTimeout == INFINITE)
        return Lock();
    if (::TryEnterCriticalSection(&m_sect))
        return TRUE;
    // Critical sections cannot be waited on with a timeout: poll until it runs out.
    DWORD dwStart = ::GetTickCount();
    for (DWORD dwSleep = 0; ::GetTickCount() - dwStart < dwTimeout; dwSleep = dwSleep < 8 ? dwSleep + 1 : 8) {
        ::Sleep(dwSleep);
        if (::TryEnterCriticalSection(&m_sect))
            return TRUE;
    }
    return FALSE;
}

BOOL CCriticalSection::Unlock()
{
    ::LeaveCriticalSection(&m_sect);
    return TRUE;
}

/////////////////////////////////////////////////////////////////////////////
// CSingleLock

CSingleLock::CSingleLock(CSyncObject* pObject, BOOL bInitialLock)
    : m_pObject(pObject), m_hObject(pObject != NULL ? pObject->m_hObject : NULL),
      m_bAcquired(FALSE)
{
    if (bInitialLock)
        Lock();
}

BOOL CSingleLock::Lock(DWORD dwTimeOut)
{
    if (m_pObject == NULL)
        return FALSE;
    if (!m_bAcquired)
        m_bAcquired = m_pObject->Lock(dwTimeOut);
    return m_bAcquired;
}

BOOL CSingleLock::Unlock()
{
    if (m_bAcquired)
        m_bAcquired = !m_pObject->Unlock();
    return !m_bAcquired;
}

BOOL CSingleLock::Unlock(LONG lCount, LPLONG lPrevCount)
{
    if (m_bAcquired)
        m_bAcquired = !m_pObject->Unlock(lCount, lPrevCount);
    return !m_bAcquired;
}

/////////////////////////////////////////////////////////////////////////////
// CMultiLock

CMultiLock::CMultiLock(CSyncObject* ppObjects[], DWORD dwCount, BOOL bInitialLock)
    : m_ppObjectArray(ppObjects), m_pHandleArray(m_hPreallocated),
      m_bLockedArray(m_bPreallocated), m_dwCount(ppObjects != NULL ? dwCount : 0)
{
    if (m_dwCount > _countof(m_hPreallocated)) {
        m_pHandleArray = (HANDLE*)malloc(m_dwCount * sizeof(HANDLE));
        m_bLockedArray = (BOOL*)malloc(m_dwCount * sizeof(BOOL));
        if (m_pHandleArray == NULL || m_bLockedArray == NULL) {
            free(m_pHandleArray);
            free(m_bLockedArray);
            AfxThrowMemoryException();
        }
    }
    for (DWORD i = 0; i < m_dwCount; i++) {
        m_pHandleArray[i] = ppObjects[i] != NULL ? ppObjects[i]->m_hObject : NULL;
        m_bLockedArray[i] = FALSE;
    }
    if (bInitialLock)
        Lock();
}

CMultiLock::~CMultiLock()
{
    Unlock();
    if (m_pHandleArray != m_hPreallocated) {
        free(m_pHandleArray);
        free(m_bLockedArray);
    }
}

DWORD CMultiLock::Lock(DWORD dwTimeOut, BOOL bWaitForAll, DWORD dwWakeMask)
{
    // Nothing to wait for, too much to wait for, or an object without a handle (a
    // critical section): the wait cannot be made.
    DWORD dwMax = dwWakeMask != 0 ? MAXIMUM_WAIT_OBJECTS - 1 : MAXIMUM_WAIT_OBJECTS;
    bool bValid = m_dwCount > 0 && m_dwCount <= dwMax;
    for (DWORD i = 0; bValid && i < m_dwCount; i++)
        bValid = m_pHandleArray[i] != NULL;
    if (!bValid) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }

    DWORD dwRet;
    if (dwWakeMask == 0)
        dwRet = ::WaitForMultipleObjects(m_dwCount, m_pHandleArray, bWaitForAll, dwTimeOut);
    else
        dwRet = ::MsgWaitForMultipleObjects(m_dwCount, m_pHandleArray, bWaitForAll, dwTimeOut, dwWakeMask);

    // An abandoned mutex is owned all the same and must be released.
    DWORD dwIndex = MAXDWORD;
    if (dwRet >= WAIT_OBJECT_0 && dwRet < WAIT_OBJECT_0 + m_dwCount)
        dwIndex = dwRet - WAIT_OBJECT_0;
    else if (dwRet >= WAIT_ABANDONED_0 && dwRet < WAIT_ABANDONED_0 + m_dwCount)
        dwIndex = dwRet - WAIT_ABANDONED_0;
    if (dwIndex != MAXDWORD) {
        if (bWaitForAll) {
            for (DWORD i = 0; i < m_dwCount; i++)
                m_bLockedArray[i] = TRUE;
        }
        else {
            m_bLockedArray[dwIndex] = TRUE;
        }
    }
    return dwRet;
}

BOOL CMultiLock::Unlock()
{
    for (DWORD i = 0; i < m_dwCount; i++) {
        if (m_bLockedArray[i])
            m_bLockedArray[i] = !m_ppObjectArray[i]->Unlock();
    }
    return TRUE;
}

BOOL CMultiLock::Unlock(LONG lCount, LPLONG lPrevCount)
{
    BOOL bGotOne = FALSE;
    for (DWORD i = 0; i < m_dwCount; i++) {
        if (m_bLockedArray[i] && m_ppObjectArray[i]->IsKindOf(RUNTIME_CLASS(CSemaphore))) {
            bGotOne = TRUE;
            m_bLockedArray[i] = !m_ppObjectArray[i]->Unlock(lCount, lPrevCount);
        }
    }
    return bGotOne;
}

BOOL CMultiLock::IsLocked(DWORD dwItem)
{
    return dwItem < m_dwCount && m_bLockedArray[dwItem];
}
