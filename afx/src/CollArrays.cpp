// CollArrays.cpp - the array classes of afxcoll.h and the block allocator of the
// lists and maps.
#include "CollImpl.h"

using namespace _AfxColl;

/////////////////////////////////////////////////////////////////////////////
// CPlex

CPlex* PASCAL CPlex::Create(CPlex*& pHead, UINT nMax, UINT cbElement)
{
    if (nMax == 0 || cbElement == 0 || (size_t)nMax > (SIZE_MAX - nHeaderSize) / cbElement)
        AfxThrowMemoryException();
    CPlex* p = (CPlex*)malloc(nHeaderSize + (size_t)nMax * cbElement);
    if (p == NULL)
        AfxThrowMemoryException();
    p->pNext = pHead;
    pHead = p;
    return p;
}

void CPlex::FreeDataChain()
{
    CPlex* p = this;
    while (p != NULL) {
        CPlex* pNext = p->pNext;
        free(p);
        p = pNext;
    }
}

/////////////////////////////////////////////////////////////////////////////
// The arrays differ only in their element: one body for all of them.

#define AFX_IMPLEMENT_ARRAY(CLS, ARG_TYPE, OPS) \
    CLS::CLS() { _AFX_ARRAY_CORE(OPS).Init(); } \
    CLS::~CLS() { _AFX_ARRAY_CORE(OPS).Free(); } \
    void CLS::SetSize(int nNewSize, int nGrowBy) { _AFX_ARRAY_CORE(OPS).SetSize(nNewSize, nGrowBy); } \
    void CLS::FreeExtra() { _AFX_ARRAY_CORE(OPS).FreeExtra(); } \
    void CLS::SetAtGrow(int nIndex, ARG_TYPE newElement) \
        { _AFX_ARRAY_CORE(OPS).SetAtGrow<ARG_TYPE>(nIndex, newElement); } \
    int CLS::Append(const CLS& src) { return _AFX_ARRAY_CORE(OPS).Append(src.m_pData, src.m_nSize); } \
    void CLS::Copy(const CLS& src) { _AFX_ARRAY_CORE(OPS).Copy(src.m_pData, src.m_nSize); } \
    void CLS::InsertAt(int nIndex, ARG_TYPE newElement, int nCount) \
        { _AFX_ARRAY_CORE(OPS).InsertAt<ARG_TYPE>(nIndex, newElement, nCount); } \
    void CLS::RemoveAt(int nIndex, int nCount) { _AFX_ARRAY_CORE(OPS).RemoveAt(nIndex, nCount); } \
    void CLS::InsertAt(int nStartIndex, CLS* pNewArray) \
    { \
        const CLS& src = Checked(pNewArray); \
        _AFX_ARRAY_CORE(OPS).InsertArray(nStartIndex, src.m_pData, src.m_nSize); \
    }

#define AFX_IMPLEMENT_ARRAY_SERIALIZE(CLS, OPS) \
    void CLS::Serialize(CArchive& ar) \
    { \
        CObject::Serialize(ar); \
        _AFX_ARRAY_CORE(OPS).Serialize(ar); \
    }

IMPLEMENT_SERIAL(CByteArray, CObject, 0)
AFX_IMPLEMENT_ARRAY(CByteArray, BYTE, Elements<BYTE>)
AFX_IMPLEMENT_ARRAY_SERIALIZE(CByteArray, Elements<BYTE>)

IMPLEMENT_SERIAL(CWordArray, CObject, 0)
AFX_IMPLEMENT_ARRAY(CWordArray, WORD, Elements<WORD>)
AFX_IMPLEMENT_ARRAY_SERIALIZE(CWordArray, Elements<WORD>)

IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
AFX_IMPLEMENT_ARRAY(CDWordArray, DWORD, Elements<DWORD>)
AFX_IMPLEMENT_ARRAY_SERIALIZE(CDWordArray, Elements<DWORD>)

IMPLEMENT_DYNAMIC(CUIntArray, CObject)
AFX_IMPLEMENT_ARRAY(CUIntArray, UINT, Elements<UINT>)

IMPLEMENT_DYNAMIC(CPtrArray, CObject)
AFX_IMPLEMENT_ARRAY(CPtrArray, void*, Elements<void*>)

IMPLEMENT_SERIAL(CObArray, CObject, 0)
AFX_IMPLEMENT_ARRAY(CObArray, CObject*, ObElements)
AFX_IMPLEMENT_ARRAY_SERIALIZE(CObArray, ObElements)

IMPLEMENT_SERIAL(CStringArray, CObject, 0)
AFX_IMPLEMENT_ARRAY(CStringArray, LPCTSTR, Elements<CString>)
AFX_IMPLEMENT_ARRAY_SERIALIZE(CStringArray, Elements<CString>)

void CStringArray::SetAtGrow(int nIndex, const CString& newElement)
{
    _AFX_ARRAY_CORE(Elements<CString>).SetAtGrow<const CString&>(nIndex, newElement);
}

void CStringArray::InsertAt(int nIndex, const CString& newElement, int nCount)
{
    _AFX_ARRAY_CORE(Elements<CString>).InsertAt<const CString&>(nIndex, newElement, nCount);
}
