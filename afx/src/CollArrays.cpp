// CollArrays.cpp - the array classes of afxcoll.h and the block allocator of the
// lists and maps.
#include "CollImpl.h"

using namespace afxcoll;

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
// Serialization of the arrays of integers: the elements as they are in memory
// (little-endian), in pieces so that no single transfer exceeds a UINT.

namespace {

const size_t kChunk = 1 << 20;

void WriteRaw(CArchive& ar, const void* pData, size_t cb)
{
    const BYTE* p = (const BYTE*)pData;
    while (cb > 0) {
        UINT n = (UINT)(cb < kChunk ? cb : kChunk);
        ar.Write(p, n);
        p += n;
        cb -= n;
    }
}

void ReadRaw(CArchive& ar, void* pData, size_t cb)
{
    BYTE* p = (BYTE*)pData;
    while (cb > 0) {
        UINT n = (UINT)(cb < kChunk ? cb : kChunk);
        if (ar.Read(p, n) != n)
            AfxThrowArchiveException(CArchiveException::endOfFile);
        p += n;
        cb -= n;
    }
}

// An element count read from an archive; more than an array can hold means the
// archive is corrupt.
int ReadElementCount(CArchive& ar)
{
    DWORD_PTR nCount = ar.ReadCount();
    if (nCount > (DWORD_PTR)INT_MAX)
        AfxThrowArchiveException(CArchiveException::generic);
    return (int)nCount;
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// The arrays of plain values and pointers

#define AFX_ARRAY_CORE(T) ArrayCore<T, PodOps<T> >{m_pData, m_nSize, m_nMaxSize, m_nGrowBy}

#define AFX_IMPLEMENT_POD_ARRAY(CLS, T) \
    CLS::CLS() : m_pData(NULL), m_nSize(0), m_nMaxSize(0), m_nGrowBy(0) {} \
    CLS::~CLS() { AFX_ARRAY_CORE(T).Free(); } \
    void CLS::SetSize(int nNewSize, int nGrowBy) { AFX_ARRAY_CORE(T).SetSize(nNewSize, nGrowBy); } \
    void CLS::FreeExtra() { AFX_ARRAY_CORE(T).FreeExtra(); } \
    void CLS::SetAtGrow(int nIndex, T newElement) \
    { \
        AFX_ARRAY_CORE(T).GrowFor(nIndex); \
        m_pData[nIndex] = newElement; \
    } \
    int CLS::Append(const CLS& src) { return AFX_ARRAY_CORE(T).Append(src.m_pData, src.m_nSize); } \
    void CLS::Copy(const CLS& src) { AFX_ARRAY_CORE(T).Copy(src.m_pData, src.m_nSize); } \
    void CLS::InsertAt(int nIndex, T newElement, int nCount) \
    { \
        if (AFX_ARRAY_CORE(T).OpenGap(nIndex, nCount)) { \
            for (int i = 0; i < nCount; i++) \
                m_pData[nIndex + i] = newElement; \
        } \
    } \
    void CLS::RemoveAt(int nIndex, int nCount) { AFX_ARRAY_CORE(T).RemoveAt(nIndex, nCount); } \
    void CLS::InsertAt(int nStartIndex, CLS* pNewArray) \
    { \
        if (pNewArray == NULL) \
            AfxThrowNotSupportedException(); \
        if (pNewArray == this) { \
            CLS copy; \
            copy.Copy(*this); \
            InsertAt(nStartIndex, &copy); \
            return; \
        } \
        int nCount = pNewArray->m_nSize; \
        if (nStartIndex < 0) \
            AfxThrowNotSupportedException(); \
        if (nCount > 0) { \
            AFX_ARRAY_CORE(T).OpenGap(nStartIndex, nCount); \
            for (int i = 0; i < nCount; i++) \
                m_pData[nStartIndex + i] = pNewArray->m_pData[i]; \
        } \
    }

// The integer arrays store their elements raw.
#define AFX_IMPLEMENT_RAW_SERIALIZE(CLS, T) \
    void CLS::Serialize(CArchive& ar) \
    { \
        CObject::Serialize(ar); \
        if (ar.IsStoring()) { \
            ar.WriteCount((DWORD)m_nSize); \
            WriteRaw(ar, m_pData, (size_t)m_nSize * sizeof(T)); \
        } \
        else { \
            SetSize(ReadElementCount(ar)); \
            ReadRaw(ar, m_pData, (size_t)m_nSize * sizeof(T)); \
        } \
    }

IMPLEMENT_SERIAL(CByteArray, CObject, 0)
AFX_IMPLEMENT_POD_ARRAY(CByteArray, BYTE)
AFX_IMPLEMENT_RAW_SERIALIZE(CByteArray, BYTE)

IMPLEMENT_SERIAL(CWordArray, CObject, 0)
AFX_IMPLEMENT_POD_ARRAY(CWordArray, WORD)
AFX_IMPLEMENT_RAW_SERIALIZE(CWordArray, WORD)

IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
AFX_IMPLEMENT_POD_ARRAY(CDWordArray, DWORD)
AFX_IMPLEMENT_RAW_SERIALIZE(CDWordArray, DWORD)

// UINT and pointers are no portable archive format: these two are not serializable.
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
AFX_IMPLEMENT_POD_ARRAY(CUIntArray, UINT)

IMPLEMENT_DYNAMIC(CPtrArray, CObject)
AFX_IMPLEMENT_POD_ARRAY(CPtrArray, void*)

IMPLEMENT_SERIAL(CObArray, CObject, 0)
AFX_IMPLEMENT_POD_ARRAY(CObArray, CObject*)

void CObArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD)m_nSize);
        for (int i = 0; i < m_nSize; i++)
            ar << m_pData[i];
    }
    else {
        SetSize(ReadElementCount(ar));
        for (int i = 0; i < m_nSize; i++)
            ar >> m_pData[i];
    }
}

/////////////////////////////////////////////////////////////////////////////
// CStringArray

#define AFX_STRING_ARRAY_CORE ArrayCore<CString, StringOps>{m_pData, m_nSize, m_nMaxSize, m_nGrowBy}

IMPLEMENT_SERIAL(CStringArray, CObject, 0)

CStringArray::CStringArray() : m_pData(NULL), m_nSize(0), m_nMaxSize(0), m_nGrowBy(0)
{
}

CStringArray::~CStringArray()
{
    AFX_STRING_ARRAY_CORE.Free();
}

void CStringArray::SetSize(int nNewSize, int nGrowBy)
{
    AFX_STRING_ARRAY_CORE.SetSize(nNewSize, nGrowBy);
}

void CStringArray::FreeExtra()
{
    AFX_STRING_ARRAY_CORE.FreeExtra();
}

// The new element is copied first: it may be one of this array's own, which growing
// moves, and a character pointer into one stays valid (the buffers do not move).
void CStringArray::SetAtGrow(int nIndex, LPCTSTR newElement)
{
    AFX_STRING_ARRAY_CORE.GrowFor(nIndex);
    m_pData[nIndex] = newElement;
}

void CStringArray::SetAtGrow(int nIndex, const CString& newElement)
{
    CString element(newElement);
    AFX_STRING_ARRAY_CORE.GrowFor(nIndex);
    m_pData[nIndex] = element;
}

int CStringArray::Append(const CStringArray& src)
{
    return AFX_STRING_ARRAY_CORE.Append(src.m_pData, src.m_nSize);
}

void CStringArray::Copy(const CStringArray& src)
{
    AFX_STRING_ARRAY_CORE.Copy(src.m_pData, src.m_nSize);
}

void CStringArray::InsertAt(int nIndex, LPCTSTR newElement, int nCount)
{
    // A pointer into one of the elements stays valid, but its element may be
    // overwritten by the first copies: take the text first.
    CString element(newElement);
    if (AFX_STRING_ARRAY_CORE.OpenGap(nIndex, nCount)) {
        for (int i = 0; i < nCount; i++)
            m_pData[nIndex + i] = element;
    }
}

void CStringArray::InsertAt(int nIndex, const CString& newElement, int nCount)
{
    CString element(newElement);
    if (AFX_STRING_ARRAY_CORE.OpenGap(nIndex, nCount)) {
        for (int i = 0; i < nCount; i++)
            m_pData[nIndex + i] = element;
    }
}

void CStringArray::RemoveAt(int nIndex, int nCount)
{
    AFX_STRING_ARRAY_CORE.RemoveAt(nIndex, nCount);
}

void CStringArray::InsertAt(int nStartIndex, CStringArray* pNewArray)
{
    if (pNewArray == NULL || nStartIndex < 0)
        AfxThrowNotSupportedException();
    if (pNewArray == this) {
        CStringArray copy;
        copy.Copy(*this);
        InsertAt(nStartIndex, &copy);
        return;
    }
    int nCount = pNewArray->m_nSize;
    if (nCount > 0) {
        AFX_STRING_ARRAY_CORE.OpenGap(nStartIndex, nCount);
        for (int i = 0; i < nCount; i++)
            m_pData[nStartIndex + i] = pNewArray->m_pData[i];
    }
}

void CStringArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD)m_nSize);
        for (int i = 0; i < m_nSize; i++)
            ar << m_pData[i];
    }
    else {
        SetSize(ReadElementCount(ar));
        for (int i = 0; i < m_nSize; i++)
            ar >> m_pData[i];
    }
}
