// ModuleState.cpp - module state, thread state and the framework's TLS slots.
#include "StateImpl.h"
#include "afxwin.h"

#include <stddef.h>
#include <winternl.h>

HINSTANCE _afxFrameworkInstance = NULL;

/////////////////////////////////////////////////////////////////////////////
// CNoTrackObject

void* PASCAL CNoTrackObject::operator new(size_t nSize)
{
    // Zero-filled, as the state records expect of fresh memory, and from the
    // process heap, so the framework DLL can free what any module allocated.
    void* p = ::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, nSize != 0 ? nSize : 1);
    if (p == NULL)
        AfxThrowMemoryException();
    return p;
}

void PASCAL CNoTrackObject::operator delete(void* p)
{
    if (p != NULL)
        ::HeapFree(::GetProcessHeap(), 0, p);
}

/////////////////////////////////////////////////////////////////////////////
// CSimpleList

void CSimpleList::AddHead(void* p)
{
    *GetNextPtr(p) = m_pHead;
    m_pHead = p;
}

BOOL CSimpleList::Remove(void* p)
{
    if (p == NULL)
        return FALSE;
    for (void** ppLink = &m_pHead; *ppLink != NULL; ppLink = GetNextPtr(*ppLink)) {
        if (*ppLink == p) {
            *ppLink = *GetNextPtr(p);
            *GetNextPtr(p) = NULL;
            return TRUE;
        }
    }
    return FALSE;
}

/////////////////////////////////////////////////////////////////////////////
// Thread slots. One TLS index of the framework DLL points at a per-thread array of
// objects indexed by slot; every thread's array is also on a process-wide list, so
// a freed slot can release the objects of all threads. Slot 0 is never handed out:
// it marks a CThreadLocal that has no slot yet.

namespace {

struct ThreadData
{
    ThreadData* pNext;
    ThreadData* pPrev;
    int nCount;                 // entries of pData
    CNoTrackObject** pData;
};

// SRW locks need no initialisation, so the slots work before any constructor of
// this DLL has run and after all of its destructors.
SRWLOCK g_slotLock = SRWLOCK_INIT;
INIT_ONCE g_tlsOnce = INIT_ONCE_STATIC_INIT;
DWORD g_tlsIndex = TLS_OUT_OF_INDEXES;
LONG g_tlsReady;    // set once g_tlsIndex holds the final answer
ThreadData* g_pFirstThread = NULL;
int g_nThreads = 0;
BYTE* g_pSlotUsed = NULL;       // g_nSlots flags
int g_nSlots = 0;
// Set once the process is exiting: the slots are not touched any more, since a
// thread killed by the exit may have left the lock held.
volatile LONG g_bProcessEnding = FALSE;

void* RawAlloc(size_t n)
{
    return ::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, n);
}

void RawFree(void* p)
{
    if (p != NULL)
        ::HeapFree(::GetProcessHeap(), 0, p);
}

BOOL CALLBACK AllocTlsIndex(PINIT_ONCE, PVOID, PVOID*)
{
    g_tlsIndex = ::TlsAlloc();
    __atomic_store_n(&g_tlsReady, 1, __ATOMIC_RELEASE);
    return g_tlsIndex != TLS_OUT_OF_INDEXES;
}

DWORD TlsIndex()
{
    // Every message a framework window gets asks for the thread state several
    // times; after the first call this is a plain load.
    if (__atomic_load_n(&g_tlsReady, __ATOMIC_ACQUIRE))
        return g_tlsIndex;
    if (!::InitOnceExecuteOnce(&g_tlsOnce, &AllocTlsIndex, NULL, NULL))
        return TLS_OUT_OF_INDEXES;
    return g_tlsIndex;
}

// The calling thread's environment block, read from the register the system
// keeps it in (what NtCurrentTeb does; its intrinsic trips GCC's bounds check).
TEB* CurrentTeb()
{
    TEB* pTeb;
#ifdef _WIN64
    __asm__("movq %%gs:0x30, %0" : "=r"(pTeb));
#else
    __asm__("movl %%fs:0x18, %0" : "=r"(pTeb));
#endif
    return pTeb;
}

ThreadData* CurrentThreadData()
{
    DWORD index = TlsIndex();
    if (index == TLS_OUT_OF_INDEXES)
        return NULL;
    // The first 64 slots live in the thread's environment block, where
    // TlsGetValue reads them too; reading them here keeps the last error, which
    // TlsGetValue clears and callers on their way to reporting a failure need.
    if (index < 64)
        return static_cast<ThreadData*>(CurrentTeb()->TlsSlots[index]);
    DWORD dwError = ::GetLastError();
    ThreadData* pData = static_cast<ThreadData*>(::TlsGetValue(index));
    ::SetLastError(dwError);
    return pData;
}

int AllocSlot()
{
    CSRWLockScope lock(g_slotLock, true);
    int nSlot = 1;
    while (nSlot < g_nSlots && g_pSlotUsed[nSlot])
        ++nSlot;
    if (nSlot >= g_nSlots) {
        int nNew = g_nSlots < 16 ? 32 : g_nSlots * 2;
        BYTE* pNew = static_cast<BYTE*>(RawAlloc((size_t)nNew));
        if (pNew == NULL)
            return 0;
        if (g_pSlotUsed != NULL)
            memcpy(pNew, g_pSlotUsed, (size_t)g_nSlots);
        RawFree(g_pSlotUsed);
        g_pSlotUsed = pNew;
        nSlot = g_nSlots > 0 ? g_nSlots : 1;
        g_nSlots = nNew;
    }
    g_pSlotUsed[nSlot] = TRUE;
    return nSlot;
}

void DeleteObjects(CNoTrackObject** ppObjects, int nObjects)
{
    // Newest slots first: their objects may refer to older ones.
    for (int i = nObjects - 1; i >= 0; --i)
        delete ppObjects[i];
}

// Releases a slot and deletes the object every thread has in it. The objects are
// deleted outside the lock: their destructors may use thread-local data again.
void FreeSlot(int nSlot)
{
    if (g_bProcessEnding)
        return;
    CNoTrackObject** ppObjects = NULL;
    int nObjects = 0;
    {
        CSRWLockScope lock(g_slotLock, true);
        if (nSlot <= 0 || nSlot >= g_nSlots || g_pSlotUsed == NULL)
            return;
        g_pSlotUsed[nSlot] = FALSE;
        ppObjects = static_cast<CNoTrackObject**>(
            RawAlloc(sizeof(CNoTrackObject*) * (size_t)(g_nThreads > 0 ? g_nThreads : 1)));
        for (ThreadData* p = g_pFirstThread; p != NULL; p = p->pNext) {
            if (nSlot < p->nCount && p->pData[nSlot] != NULL) {
                if (ppObjects != NULL)
                    ppObjects[nObjects++] = p->pData[nSlot];
                else
                    delete p->pData[nSlot];   // no memory for the list: no other choice
                p->pData[nSlot] = NULL;
            }
        }
    }
    DeleteObjects(ppObjects, nObjects);
    RawFree(ppObjects);
}

CNoTrackObject* GetSlotValue(int nSlot)
{
    ThreadData* p = CurrentThreadData();
    if (p == NULL || nSlot <= 0 || nSlot >= p->nCount)
        return NULL;
    return p->pData[nSlot];
}

BOOL SetSlotValue(int nSlot, CNoTrackObject* pValue)
{
    DWORD index = TlsIndex();
    if (index == TLS_OUT_OF_INDEXES || nSlot <= 0)
        return FALSE;
    ThreadData* p = CurrentThreadData();
    CSRWLockScope lock(g_slotLock, true);
    if (p == NULL) {
        p = static_cast<ThreadData*>(RawAlloc(sizeof(ThreadData)));
        if (p == NULL)
            return FALSE;
        if (!::TlsSetValue(index, p)) {
            RawFree(p);
            return FALSE;
        }
        p->pNext = g_pFirstThread;
        if (g_pFirstThread != NULL)
            g_pFirstThread->pPrev = p;
        g_pFirstThread = p;
        ++g_nThreads;
    }
    if (nSlot >= p->nCount) {
        int nNew = g_nSlots > nSlot ? g_nSlots : nSlot + 1;
        CNoTrackObject** pNew =
            static_cast<CNoTrackObject**>(RawAlloc(sizeof(CNoTrackObject*) * (size_t)nNew));
        if (pNew == NULL)
            return FALSE;
        if (p->pData != NULL)
            memcpy(pNew, p->pData, sizeof(CNoTrackObject*) * (size_t)p->nCount);
        RawFree(p->pData);
        p->pData = pNew;
        p->nCount = nNew;
    }
    p->pData[nSlot] = pValue;
    return TRUE;
}

void UnlinkThreadData(ThreadData* p)
{
    if (p->pPrev != NULL)
        p->pPrev->pNext = p->pNext;
    else
        g_pFirstThread = p->pNext;
    if (p->pNext != NULL)
        p->pNext->pPrev = p->pPrev;
    p->pNext = p->pPrev = NULL;
    --g_nThreads;
}

// Deletes the objects of one thread's array. A destructor may create a new object
// on this thread; such late objects are collected by the next round.
void ReleaseThreadObjects(ThreadData* p)
{
    for (int nRound = 0; nRound < 8; ++nRound) {
        int nCount = p->nCount;
        if (nCount == 0)
            return;
        CNoTrackObject** ppObjects =
            static_cast<CNoTrackObject**>(RawAlloc(sizeof(CNoTrackObject*) * (size_t)nCount));
        if (ppObjects == NULL)
            return;
        int nObjects = 0;
        {
            CSRWLockScope lock(g_slotLock, true);
            for (int i = 0; i < p->nCount && nObjects < nCount; ++i) {
                if (p->pData[i] != NULL) {
                    ppObjects[nObjects++] = p->pData[i];
                    p->pData[i] = NULL;
                }
            }
        }
        DeleteObjects(ppObjects, nObjects);
        RawFree(ppObjects);
        if (nObjects == 0)
            return;
    }
}

} // namespace

void AfxTermThreadState()
{
    ThreadData* p = CurrentThreadData();
    if (p == NULL)
        return;
    ReleaseThreadObjects(p);
    {
        CSRWLockScope lock(g_slotLock, true);
        UnlinkThreadData(p);
    }
    ::TlsSetValue(g_tlsIndex, NULL);
    RawFree(p->pData);
    RawFree(p);
}

void AfxTermFrameworkState(BOOL bProcessEnding)
{
    if (bProcessEnding) {
        // The other threads were stopped wherever they were, so only this thread's
        // records are released, and only if no stopped thread holds the lock.
        if (::TryAcquireSRWLockExclusive(&g_slotLock)) {
            ::ReleaseSRWLockExclusive(&g_slotLock);
            AfxTermThreadState();
        }
        ::InterlockedExchange(&g_bProcessEnding, TRUE);
        return;
    }

    AfxTermThreadState();

    // The DLL is being unloaded: no thread runs framework code again, so the
    // other threads' records go too.
    for (;;) {
        ThreadData* p;
        {
            CSRWLockScope lock(g_slotLock, true);
            p = g_pFirstThread;
            if (p == NULL)
                break;
            UnlinkThreadData(p);
        }
        ReleaseThreadObjects(p);
        RawFree(p->pData);
        RawFree(p);
    }
    // Anything the destructors above created on this thread.
    AfxTermThreadState();

    {
        CSRWLockScope lock(g_slotLock, true);
        RawFree(g_pSlotUsed);
        g_pSlotUsed = NULL;
        g_nSlots = 0;
    }
    if (g_tlsIndex != TLS_OUT_OF_INDEXES) {
        ::TlsFree(g_tlsIndex);
        g_tlsIndex = TLS_OUT_OF_INDEXES;
    }
}

/////////////////////////////////////////////////////////////////////////////
// CThreadLocalObject, CProcessLocalObject

CThreadLocalObject::~CThreadLocalObject()
{
    LONG nSlot = ::InterlockedExchange(&m_nSlot, 0);
    if (nSlot != 0)
        FreeSlot((int)nSlot);
}

CNoTrackObject* CThreadLocalObject::GetData(CNoTrackObject* (AFXAPI* pfnCreateObject)())
{
    LONG nSlot = __atomic_load_n(&m_nSlot, __ATOMIC_ACQUIRE);
    if (nSlot == 0) {
        LONG nNew = (LONG)AllocSlot();
        if (nNew == 0)
            AfxThrowMemoryException();
        nSlot = ::InterlockedCompareExchange(&m_nSlot, nNew, 0);
        if (nSlot != 0)
            FreeSlot((int)nNew);    // another thread was first
        else
            nSlot = nNew;
    }
    CNoTrackObject* pValue = GetSlotValue((int)nSlot);
    if (pValue == NULL && pfnCreateObject != NULL) {
        pValue = (*pfnCreateObject)();
        if (!SetSlotValue((int)nSlot, pValue)) {
            delete pValue;
            AfxThrowMemoryException();
        }
    }
    return pValue;
}

CNoTrackObject* CThreadLocalObject::GetDataNA()
{
    LONG nSlot = __atomic_load_n(&m_nSlot, __ATOMIC_ACQUIRE);
    return nSlot != 0 ? GetSlotValue((int)nSlot) : NULL;
}

CProcessLocalObject::~CProcessLocalObject()
{
    delete static_cast<CNoTrackObject*>(
        ::InterlockedExchangePointer((PVOID volatile*)&m_pObject, NULL));
}

CNoTrackObject* CProcessLocalObject::GetData(CNoTrackObject* (AFXAPI* pfnCreateObject)())
{
    CNoTrackObject* pObject = m_pObject;
    if (pObject == NULL && pfnCreateObject != NULL) {
        CNoTrackObject* pNew = (*pfnCreateObject)();
        pObject = static_cast<CNoTrackObject*>(::InterlockedCompareExchangePointer(
            (PVOID volatile*)&m_pObject, pNew, NULL));
        if (pObject != NULL)
            delete pNew;            // another thread was first
        else
            pObject = pNew;
    }
    return pObject;
}

/////////////////////////////////////////////////////////////////////////////
// The state records

AFX_MODULE_THREAD_STATE::AFX_MODULE_THREAD_STATE()
    : m_pCurrentWinThread(NULL),
      m_pmapHWND(NULL),
      m_pmapHMENU(NULL),
      m_pmapHDC(NULL),
      m_pmapHGDIOBJ(NULL),
      m_pmapHIMAGELIST(NULL),
      m_nTempMapLock(0)
{
}

AFX_MODULE_THREAD_STATE::~AFX_MODULE_THREAD_STATE()
{
    // The thread is ending: its temporary objects go with their maps; permanent
    // objects belong to their creators.
    delete m_pmapHWND;
    delete m_pmapHMENU;
    delete m_pmapHDC;
    delete m_pmapHGDIOBJ;
    delete m_pmapHIMAGELIST;
}

AFX_MODULE_STATE::AFX_MODULE_STATE(BOOL bDLL)
{
    Construct(bDLL, NULL, _MFC_VER);
}

AFX_MODULE_STATE::AFX_MODULE_STATE(BOOL bDLL, WNDPROC pfnAfxWndProc, DWORD dwVersion)
{
    Construct(bDLL, pfnAfxWndProc, dwVersion);
}

void AFX_MODULE_STATE::Construct(BOOL bDLL, WNDPROC pfnAfxWndProc, DWORD dwVersion)
{
    m_pCurrentWinApp = NULL;
    m_hCurrentInstanceHandle = NULL;
    m_hCurrentResourceHandle = NULL;
    m_lpszCurrentAppName = NULL;
    m_bDLL = (BYTE)(bDLL ? 1 : 0);
    m_bSystem = 0;
    m_bReserved[0] = m_bReserved[1] = 0;
    m_fRegisteredClasses = 0;
    m_pfnAfxWndProc = pfnAfxWndProc;
    m_dwVersion = dwVersion;
    // The link lives in CDynLinkLibrary, a class with a v-table and single
    // inheritance, where offsetof is well defined in practice.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
    m_libraryList.Construct((int)offsetof(CDynLinkLibrary, m_pNextDLL));
#pragma GCC diagnostic pop
    ::InitializeSRWLock(&m_lockLibraryList);
}

AFX_MODULE_STATE::~AFX_MODULE_STATE()
{
}

_AFX_THREAD_STATE::_AFX_THREAD_STATE()
    : m_pModuleState(NULL),
      m_pPrevModuleState(NULL),
      m_lastSentMsg(),
      m_pWndInit(NULL),
      m_pAlternateWndInit(NULL),
      m_hHookOldCbtFilter(NULL),
      m_hHookOldMsgFilter(NULL),
      m_dwPropStyle(0),
      m_dwPropExStyle(0),
      m_hWndInit(NULL),
      m_bDlgCreate(FALSE),
      m_hTrackingWindow(NULL),
      m_hTrackingMenu(NULL),
      m_hLockoutNotifyWindow(NULL),
      m_bInMsgFilter(FALSE),
      m_pLastHit(NULL),
      m_nLastHit(-1),
      m_nLastStatus(-1)
{
    m_szTempClassName[0] = 0;
}

_AFX_THREAD_STATE::~_AFX_THREAD_STATE()
{
}

/////////////////////////////////////////////////////////////////////////////
// Access to the states

namespace {

CThreadLocal<_AFX_THREAD_STATE> _afxThreadState;

// The application's module state: the program that loaded the framework, whose
// handles are known at once; its application object and name come later, if ever.
class CAppModuleState : public AFX_MODULE_STATE
{
public:
    CAppModuleState() : AFX_MODULE_STATE(FALSE)
    {
        m_hCurrentInstanceHandle = ::GetModuleHandleW(NULL);
        m_hCurrentResourceHandle = m_hCurrentInstanceHandle;
    }
};

} // namespace

BOOL AfxInitFrameworkState(HINSTANCE hInstance)
{
    _afxFrameworkInstance = hInstance;
    if (TlsIndex() == TLS_OUT_OF_INDEXES)
        return FALSE;
    AfxGetAppModuleState();
    return TRUE;
}

_AFX_THREAD_STATE* AFXAPI AfxGetThreadState()
{
    return _afxThreadState.GetData();
}

AFX_MODULE_STATE* AFXAPI AfxGetAppModuleState()
{
    static CAppModuleState s_appModuleState;
    return &s_appModuleState;
}

AFX_MODULE_STATE* AFXAPI AfxGetModuleState()
{
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState != NULL && pState->m_pModuleState != NULL)
        return pState->m_pModuleState;
    return AfxGetAppModuleState();
}

AFX_MODULE_STATE* AFXAPI AfxSetModuleState(AFX_MODULE_STATE* pNewState)
{
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    AFX_MODULE_STATE* pPrevState =
        pState->m_pModuleState != NULL ? pState->m_pModuleState : AfxGetAppModuleState();
    pState->m_pPrevModuleState = pPrevState;
    pState->m_pModuleState = pNewState;
    return pPrevState;
}

AFX_MODULE_THREAD_STATE* AFXAPI AfxGetModuleThreadState()
{
    return AfxGetModuleState()->m_thread.GetData();
}

HINSTANCE AFXAPI AfxGetInstanceHandle()
{
    return AfxGetModuleState()->m_hCurrentInstanceHandle;
}

HINSTANCE AFXAPI AfxGetResourceHandle()
{
    return AfxGetModuleState()->m_hCurrentResourceHandle;
}

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource)
{
    AfxGetModuleState()->m_hCurrentResourceHandle = hInstResource;
}

LPCTSTR AFXAPI AfxGetAppName()
{
    return AfxGetModuleState()->m_lpszCurrentAppName;
}

/////////////////////////////////////////////////////////////////////////////
// AFX_MAINTAIN_STATE, AFX_MAINTAIN_STATE2

AFX_MAINTAIN_STATE::AFX_MAINTAIN_STATE(AFX_MODULE_STATE* pModuleState)
    : m_pPrevModuleState(AfxSetModuleState(pModuleState))
{
}

AFX_MAINTAIN_STATE::~AFX_MAINTAIN_STATE()
{
    AfxSetModuleState(m_pPrevModuleState);
}

AFX_MAINTAIN_STATE2::AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* pModuleState)
    : m_pPrevModuleState(NULL), m_pThreadState(AfxGetThreadState())
{
    m_pPrevModuleState = m_pThreadState->m_pModuleState;
    m_pThreadState->m_pModuleState = pModuleState;
}
