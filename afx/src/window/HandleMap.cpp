// HandleMap.cpp - maps from Windows handles to framework objects, one set per
// thread, and the window map of the calling thread.
#include "afxwin.h"

#include "WindowImpl.h"

#include <stddef.h>

CHandleMap::CHandleMap(CRuntimeClass* pClass, size_t nOffset, int nHandles)
    : m_permanentMap(10), m_temporaryMap(4), m_pClass(pClass), m_nOffset(nOffset),
      m_nHandles(nHandles)
{
    m_permanentMap.InitHashTable(1021);
    m_temporaryMap.InitHashTable(251);
}

CHandleMap::~CHandleMap()
{
    DeleteTemp();
}

namespace {

HANDLE* HandlesOf(CObject* pObject, size_t nOffset)
{
    return reinterpret_cast<HANDLE*>(reinterpret_cast<BYTE*>(pObject) + nOffset);
}

} // namespace

CObject* CHandleMap::FromHandle(HANDLE h)
{
    if (h == NULL)
        return NULL;
    CObject* pObject = LookupPermanent(h);
    if (pObject != NULL)
        return pObject;
    pObject = LookupTemporary(h);
    if (pObject != NULL)
        return pObject;

    // A temporary object that wraps the handle without owning it.
    CObject* pTemp = m_pClass->CreateObject();
    if (pTemp == NULL)
        AfxThrowMemoryException();
    HANDLE* ph = HandlesOf(pTemp, m_nOffset);
    ph[0] = h;
    if (m_nHandles == 2)
        ph[1] = h;
    m_temporaryMap.SetAt((LPVOID)h, pTemp);
    return pTemp;
}

void CHandleMap::DeleteTemp()
{
    POSITION pos = m_temporaryMap.GetStartPosition();
    while (pos != NULL) {
        void* h;
        void* p;
        m_temporaryMap.GetNextAssoc(pos, h, p);
        CObject* pTemp = static_cast<CObject*>(p);
        // The object never owned its handle: clear it, or the destructor would
        // destroy a window, DC or GDI object that belongs to someone else.
        HANDLE* ph = HandlesOf(pTemp, m_nOffset);
        ph[0] = NULL;
        if (m_nHandles == 2)
            ph[1] = NULL;
        delete pTemp;
    }
    m_temporaryMap.RemoveAll();
}

void CHandleMap::SetPermanent(HANDLE h, CObject* permOb)
{
    m_permanentMap.SetAt((LPVOID)h, permOb);
}

void CHandleMap::RemoveHandle(HANDLE h)
{
    m_permanentMap.RemoveKey((LPVOID)h);
}

CObject* CHandleMap::LookupPermanent(HANDLE h)
{
    void* p = NULL;
    return m_permanentMap.Lookup((LPVOID)h, p) ? static_cast<CObject*>(p) : NULL;
}

CObject* CHandleMap::LookupTemporary(HANDLE h)
{
    void* p = NULL;
    return m_temporaryMap.Lookup((LPVOID)h, p) ? static_cast<CObject*>(p) : NULL;
}

/////////////////////////////////////////////////////////////////////////////
// The window map

CHandleMap* PASCAL afxMapHWND(BOOL bCreate)
{
    AFX_MODULE_THREAD_STATE* pState = AfxGetModuleThreadState();
    if (pState->m_pmapHWND == NULL && bCreate) {
        // CWnd has one base chain with a v-table, where offsetof is reliable.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
        pState->m_pmapHWND = new CHandleMap(RUNTIME_CLASS(CWnd), offsetof(CWnd, m_hWnd));
#pragma GCC diagnostic pop
    }
    return pState->m_pmapHWND;
}

CWnd* afxwnd::LookupPermanent(HWND hWnd)
{
    CHandleMap* pMap = afxMapHWND();
    return pMap != NULL ? static_cast<CWnd*>(pMap->LookupPermanent(hWnd)) : NULL;
}

/////////////////////////////////////////////////////////////////////////////
// Locking the temporary maps against idle clean-up

void AFXAPI AfxLockTempMaps()
{
    ++AfxGetModuleThreadState()->m_nTempMapLock;
}

BOOL AFXAPI AfxUnlockTempMaps(BOOL bDeleteTemps)
{
    AFX_MODULE_THREAD_STATE* pState = AfxGetModuleThreadState();
    if (pState->m_nTempMapLock == 0 || --pState->m_nTempMapLock != 0)
        return FALSE;
    if (bDeleteTemps) {
        // Every map the thread has; each kind of object is deleted by its map.
        CHandleMap* maps[] = { pState->m_pmapHWND, pState->m_pmapHMENU, pState->m_pmapHDC,
                               pState->m_pmapHGDIOBJ, pState->m_pmapHIMAGELIST };
        for (CHandleMap* pMap : maps) {
            if (pMap != NULL)
                pMap->DeleteTemp();
        }
    }
    return TRUE;
}
