// CollLists.cpp - the list classes of afxcoll.h.
#include "CollImpl.h"

using namespace _AfxColl;

// The lists differ only in their element: one body for all of them.
#define AFX_IMPLEMENT_LIST(CLS, TYPE, ARG_TYPE, OPS) \
    CLS::CLS(int nBlockSize) { _AFX_LIST_CORE(OPS).Init(nBlockSize); } \
    CLS::~CLS() { _AFX_LIST_CORE(OPS).RemoveAll(); } \
    CLS::CNode* CLS::NewNode(CNode* pPrev, CNode* pNext) { return _AFX_LIST_CORE(OPS).NewNode(pPrev, pNext); } \
    void CLS::FreeNode(CNode* pNode) { _AFX_LIST_CORE(OPS).FreeNode(pNode); } \
    void CLS::RemoveAll() { _AFX_LIST_CORE(OPS).RemoveAll(); } \
    POSITION CLS::AddHead(ARG_TYPE newElement) { return _AFX_LIST_CORE(OPS).AddHead<ARG_TYPE>(newElement); } \
    POSITION CLS::AddTail(ARG_TYPE newElement) { return _AFX_LIST_CORE(OPS).AddTail<ARG_TYPE>(newElement); } \
    void CLS::AddHead(CLS* pNewList) \
    { \
        const CLS& src = Checked(pNewList); \
        _AFX_LIST_CORE(OPS).AddHeadList(src.m_pNodeTail, src.m_nCount); \
    } \
    void CLS::AddTail(CLS* pNewList) \
    { \
        const CLS& src = Checked(pNewList); \
        _AFX_LIST_CORE(OPS).AddTailList(src.m_pNodeHead, src.m_nCount); \
    } \
    TYPE CLS::RemoveHead() { return _AFX_LIST_CORE(OPS).RemoveHead(); } \
    TYPE CLS::RemoveTail() { return _AFX_LIST_CORE(OPS).RemoveTail(); } \
    void CLS::RemoveAt(POSITION position) { _AFX_LIST_CORE(OPS).RemoveAt(position); } \
    POSITION CLS::InsertBefore(POSITION position, ARG_TYPE newElement) \
        { return _AFX_LIST_CORE(OPS).InsertBefore<ARG_TYPE>(position, newElement); } \
    POSITION CLS::InsertAfter(POSITION position, ARG_TYPE newElement) \
        { return _AFX_LIST_CORE(OPS).InsertAfter<ARG_TYPE>(position, newElement); } \
    POSITION CLS::Find(ARG_TYPE searchValue, POSITION startAfter) const \
        { return _AFX_LIST_CORE(OPS).Find<ARG_TYPE>(searchValue, startAfter); } \
    POSITION CLS::FindIndex(int nIndex) const { return _AFX_LIST_CORE(OPS).FindIndex(nIndex); }

#define AFX_IMPLEMENT_LIST_SERIALIZE(CLS, OPS) \
    void CLS::Serialize(CArchive& ar) \
    { \
        CObject::Serialize(ar); \
        _AFX_LIST_CORE(OPS).Serialize(ar); \
    }

IMPLEMENT_DYNAMIC(CPtrList, CObject)
AFX_IMPLEMENT_LIST(CPtrList, void*, void*, Elements<void*>)

IMPLEMENT_SERIAL(CObList, CObject, 0)
AFX_IMPLEMENT_LIST(CObList, CObject*, CObject*, ObElements)
AFX_IMPLEMENT_LIST_SERIALIZE(CObList, ObElements)

IMPLEMENT_SERIAL(CStringList, CObject, 0)
AFX_IMPLEMENT_LIST(CStringList, CString, LPCTSTR, Elements<CString>)
AFX_IMPLEMENT_LIST_SERIALIZE(CStringList, Elements<CString>)

POSITION CStringList::AddHead(const CString& newElement)
{
    return _AFX_LIST_CORE(Elements<CString>).AddHead<const CString&>(newElement);
}

POSITION CStringList::AddTail(const CString& newElement)
{
    return _AFX_LIST_CORE(Elements<CString>).AddTail<const CString&>(newElement);
}

void CStringList::SetAt(POSITION pos, const CString& newElement)
{
    _AfxCheckNode((CNode*)pos)->data = newElement;
}

POSITION CStringList::InsertBefore(POSITION position, const CString& newElement)
{
    return _AFX_LIST_CORE(Elements<CString>).InsertBefore<const CString&>(position, newElement);
}

POSITION CStringList::InsertAfter(POSITION position, const CString& newElement)
{
    return _AFX_LIST_CORE(Elements<CString>).InsertAfter<const CString&>(position, newElement);
}
