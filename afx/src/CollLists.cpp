// CollLists.cpp - the list classes of afxcoll.h.
#include "CollImpl.h"

using namespace afxcoll;

namespace {

// A block size of 0 or less would make blocks of no nodes.
int ValidBlockSize(int nBlockSize)
{
    return nBlockSize > 0 ? nBlockSize : 10;
}

struct SameValue
{
    template<class A, class B>
    bool operator()(const A& a, const B& b) const { return a == b; }
};

// CStringList::Find: ordinal comparison; NULL is the empty string.
struct SameText
{
    bool operator()(const CString& a, LPCTSTR b) const { return StringKey::Equal(a, b); }
};

} // namespace

// The lists differ only in their element: one body for the three of them.
#define AFX_IMPLEMENT_LIST(CLS, T, ARG, OPS, EQUAL) \
    CLS::CLS(int nBlockSize) \
        : m_pNodeHead(NULL), m_pNodeTail(NULL), m_nCount(0), m_pNodeFree(NULL), \
          m_pBlocks(NULL), m_nBlockSize(ValidBlockSize(nBlockSize)) {} \
    CLS::~CLS() { AFX_LIST_CORE.RemoveAll(); } \
    CLS::CNode* CLS::NewNode(CNode* pPrev, CNode* pNext) { return AFX_LIST_CORE.NewNode(pPrev, pNext); } \
    void CLS::FreeNode(CNode* pNode) { AFX_LIST_CORE.FreeNode(pNode); } \
    void CLS::RemoveAll() { AFX_LIST_CORE.RemoveAll(); } \
    POSITION CLS::AddHead(ARG newElement) { return AFX_LIST_CORE.AddHead<ARG>(newElement); } \
    POSITION CLS::AddTail(ARG newElement) { return AFX_LIST_CORE.AddTail<ARG>(newElement); } \
    void CLS::AddHead(CLS* pNewList) \
    { \
        if (pNewList == NULL) \
            AfxThrowNotSupportedException(); \
        AFX_LIST_CORE.AddHeadList(pNewList->m_pNodeTail, pNewList->m_nCount); \
    } \
    void CLS::AddTail(CLS* pNewList) \
    { \
        if (pNewList == NULL) \
            AfxThrowNotSupportedException(); \
        AFX_LIST_CORE.AddTailList(pNewList->m_pNodeHead, pNewList->m_nCount); \
    } \
    T CLS::RemoveHead() { return AFX_LIST_CORE.RemoveHead(); } \
    T CLS::RemoveTail() { return AFX_LIST_CORE.RemoveTail(); } \
    void CLS::RemoveAt(POSITION position) { AFX_LIST_CORE.RemoveAt(position); } \
    POSITION CLS::InsertBefore(POSITION position, ARG newElement) \
        { return AFX_LIST_CORE.InsertBefore<ARG>(position, newElement); } \
    POSITION CLS::InsertAfter(POSITION position, ARG newElement) \
        { return AFX_LIST_CORE.InsertAfter<ARG>(position, newElement); } \
    POSITION CLS::Find(ARG searchValue, POSITION startAfter) const \
        { return AFX_LIST_CORE.Find(searchValue, startAfter, EQUAL()); } \
    POSITION CLS::FindIndex(int nIndex) const { return AFX_LIST_CORE.FindIndex(nIndex); }

/////////////////////////////////////////////////////////////////////////////
// CPtrList

#define AFX_LIST_CORE \
    ListCore<CNode, void*, PodOps<void*> >{const_cast<CNode*&>(m_pNodeHead), \
        const_cast<CNode*&>(m_pNodeTail), const_cast<int&>(m_nCount), \
        const_cast<CNode*&>(m_pNodeFree), const_cast<CPlex*&>(m_pBlocks), \
        const_cast<int&>(m_nBlockSize)}

IMPLEMENT_DYNAMIC(CPtrList, CObject)
AFX_IMPLEMENT_LIST(CPtrList, void*, void*, PodOps<void*>, SameValue)

#undef AFX_LIST_CORE

/////////////////////////////////////////////////////////////////////////////
// CObList

#define AFX_LIST_CORE \
    ListCore<CNode, CObject*, PodOps<CObject*> >{const_cast<CNode*&>(m_pNodeHead), \
        const_cast<CNode*&>(m_pNodeTail), const_cast<int&>(m_nCount), \
        const_cast<CNode*&>(m_pNodeFree), const_cast<CPlex*&>(m_pBlocks), \
        const_cast<int&>(m_nBlockSize)}

IMPLEMENT_SERIAL(CObList, CObject, 0)
AFX_IMPLEMENT_LIST(CObList, CObject*, CObject*, PodOps<CObject*>, SameValue)

#undef AFX_LIST_CORE

// Loading appends to what the list holds.
void CObList::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD)m_nCount);
        for (CNode* pNode = m_pNodeHead; pNode != NULL; pNode = pNode->pNext)
            ar << pNode->data;
    }
    else {
        DWORD_PTR nNewCount = ar.ReadCount();
        while (nNewCount-- > 0) {
            CObject* newData;
            ar >> newData;
            AddTail(newData);
        }
    }
}

/////////////////////////////////////////////////////////////////////////////
// CStringList

#define AFX_LIST_CORE \
    ListCore<CNode, CString, StringOps>{const_cast<CNode*&>(m_pNodeHead), \
        const_cast<CNode*&>(m_pNodeTail), const_cast<int&>(m_nCount), \
        const_cast<CNode*&>(m_pNodeFree), const_cast<CPlex*&>(m_pBlocks), \
        const_cast<int&>(m_nBlockSize)}

IMPLEMENT_SERIAL(CStringList, CObject, 0)
AFX_IMPLEMENT_LIST(CStringList, CString, LPCTSTR, StringOps, SameText)

POSITION CStringList::AddHead(const CString& newElement)
{
    return AFX_LIST_CORE.AddHead<const CString&>(newElement);
}

POSITION CStringList::AddTail(const CString& newElement)
{
    return AFX_LIST_CORE.AddTail<const CString&>(newElement);
}

void CStringList::SetAt(POSITION pos, const CString& newElement)
{
    _AfxCheckNode((CNode*)pos)->data = newElement;
}

POSITION CStringList::InsertBefore(POSITION position, const CString& newElement)
{
    return AFX_LIST_CORE.InsertBefore<const CString&>(position, newElement);
}

POSITION CStringList::InsertAfter(POSITION position, const CString& newElement)
{
    return AFX_LIST_CORE.InsertAfter<const CString&>(position, newElement);
}

#undef AFX_LIST_CORE

void CStringList::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD)m_nCount);
        for (CNode* pNode = m_pNodeHead; pNode != NULL; pNode = pNode->pNext)
            ar << pNode->data;
    }
    else {
        DWORD_PTR nNewCount = ar.ReadCount();
        while (nNewCount-- > 0) {
            CString newData;
            ar >> newData;
            AddTail(newData);
        }
    }
}
