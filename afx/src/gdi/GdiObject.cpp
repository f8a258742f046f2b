// GdiObject.cpp - CGdiObject: ownership of a GDI handle and the calling thread's
// GDI object map.
#include "afxwin.h"

#include <stddef.h>

CHandleMap* PASCAL afxMapHGDIOBJ(BOOL bCreate)
{
    AFX_MODULE_THREAD_STATE* pState = AfxGetModuleThreadState();
    if (pState->m_pmapHGDIOBJ == NULL && bCreate) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
        pState->m_pmapHGDIOBJ =
            new CHandleMap(RUNTIME_CLASS(CGdiObject), offsetof(CGdiObject, m_hObject));
#pragma GCC diagnostic pop
    }
    return pState->m_pmapHGDIOBJ;
}

IMPLEMENT_DYNCREATE(CGdiObject, CObject)

CGdiObject::CGdiObject()
    : m_hObject(NULL)
{
}

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

HGDIOBJ CGdiObject::GetSafeHandle() const
{
    const CGdiObject* p = this;
    __asm__("" : "+r"(p));      // NULL objects are asked on purpose
    return p == NULL ? NULL : p->m_hObject;
}

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ hObject)
{
    if (hObject == NULL)
        return NULL;
    return static_cast<CGdiObject*>(afxMapHGDIOBJ(TRUE)->FromHandle(hObject));
}

void PASCAL CGdiObject::DeleteTempMap()
{
    CHandleMap* pMap = afxMapHGDIOBJ();
    if (pMap != NULL)
        pMap->DeleteTemp();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (hObject == NULL || m_hObject != NULL)
        return FALSE;
    afxMapHGDIOBJ(TRUE)->SetPermanent(m_hObject = hObject, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ hObject = m_hObject;
    if (hObject != NULL) {
        CHandleMap* pMap = afxMapHGDIOBJ();
        if (pMap != NULL && pMap->LookupPermanent(hObject) == this)
            pMap->RemoveHandle(hObject);
        m_hObject = NULL;
    }
    return hObject;
}

BOOL CGdiObject::DeleteObject()
{
    if (m_hObject == NULL)
        return FALSE;
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const
{
    return ::GetObjectW(m_hObject, nCount, lpObject);
}

UINT CGdiObject::GetObjectType() const
{
    return (UINT)::GetObjectType(m_hObject);
}

BOOL CGdiObject::CreateStockObject(int nIndex)
{
    return Attach(::GetStockObject(nIndex));
}

BOOL CGdiObject::UnrealizeObject()
{
    return ::UnrealizeObject(m_hObject);
}
