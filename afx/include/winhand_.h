// winhand_.h - the per-thread maps from Windows handles to framework objects.
//
//   CHandleMap   a permanent map (objects created or attached through the
//                framework) and a temporary map (objects made up on demand by
//                FromHandle, deleted at idle time)
//
// Each thread has its own maps for windows, menus, DCs, GDI objects and image
// lists in its module thread state (AFX_MODULE_THREAD_STATE::m_pmapHWND, ...),
// created on first use. A handle is only found on the thread whose map holds it.
// Included by afxwin.h.
#pragma once

class AFX_CORE_CLASS CHandleMap
{
public:
    // pClass must be dynamically creatable (temporary objects are made with
    // CreateObject). The handles sit in the object at nOffset; objects with two
    // handles (a CDC's output and attribute DC) have nHandles = 2.
    CHandleMap(CRuntimeClass* pClass, size_t nOffset, int nHandles = 1);
    ~CHandleMap();

// Operations
    // The permanent object, else a temporary object made for the handle; NULL
    // for a NULL handle. Throws CMemoryException when no object can be made.
    CObject* FromHandle(HANDLE h);
    // Deletes every temporary object (their handles are cleared first, so the
    // destructors do not destroy what the objects never owned).
    void DeleteTemp();

    void SetPermanent(HANDLE h, CObject* permOb);
    void RemoveHandle(HANDLE h);

    CObject* LookupPermanent(HANDLE h);
    CObject* LookupTemporary(HANDLE h);

// Attributes
    CMapPtrToPtr m_permanentMap;
    CMapPtrToPtr m_temporaryMap;
    CRuntimeClass* m_pClass;
    size_t m_nOffset;
    int m_nHandles;

private:
    CHandleMap(const CHandleMap&);
    void operator=(const CHandleMap&);
};

// The calling thread's maps (of the current module state); created when bCreate
// and missing, else NULL when missing.
AFX_CORE_API CHandleMap* PASCAL afxMapHWND(BOOL bCreate = FALSE);
AFX_CORE_API CHandleMap* PASCAL afxMapHMENU(BOOL bCreate = FALSE);
AFX_CORE_API CHandleMap* PASCAL afxMapHDC(BOOL bCreate = FALSE);
AFX_CORE_API CHandleMap* PASCAL afxMapHGDIOBJ(BOOL bCreate = FALSE);
