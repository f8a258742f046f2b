// afxtempl.h - the collection templates.
//
//   CArray<TYPE, ARG_TYPE>                      growable array
//   CList<TYPE, ARG_TYPE>                       doubly linked list
//   CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>        hash table
//   CTypedPtrArray, CTypedPtrList, CTypedPtrMap type-safe fronts of the pointer collections
//
// The templates create, destroy, copy, compare, hash and serialize their elements
// through the helper functions below. An application changes how that is done for
// its own types by declaring, before the template is used, either an overload
//     void AFXAPI SerializeElements(CArchive& ar, CPoint3D* pElements, int nCount);
// or a specialisation for the type
//     template<> UINT AFXAPI HashKey<CPoint3D>(CPoint3D key);
// Specialise HashKey for the key type passed by value (as deduced from ARG_KEY
// without reference); an overload works for any ARG_KEY.
//
// Growth, block sizes, bucket counts and iteration are those of the non-template
// collections in afxcoll.h; a bad index or position throws CNotSupportedException.
#pragma once

#include "afxcoll.h"

#include <functional>
#include <new>
#include <memory>
#include <type_traits>

/////////////////////////////////////////////////////////////////////////////
// Element helpers

// New elements are zero-filled first, then default-constructed, so that members a
// constructor leaves alone start as zero.
template<class TYPE>
inline void AFXAPI ConstructElements(TYPE* pElements, int nCount)
{
    if (nCount <= 0)
        return;
    memset((void*)pElements, 0, (size_t)nCount * sizeof(TYPE));
    for (; nCount > 0; --nCount, ++pElements)
        ::new((void*)pElements) TYPE;
}

template<class TYPE>
inline void AFXAPI DestructElements(TYPE* pElements, int nCount)
{
    for (; nCount > 0; --nCount, ++pElements)
        pElements->~TYPE();
}

template<class TYPE>
inline void AFXAPI CopyElements(TYPE* pDest, const TYPE* pSrc, int nCount)
{
    for (; nCount > 0; --nCount)
        *pDest++ = *pSrc++;
}

// The elements' bytes as they are in memory: right for plain values, and to be
// overridden for anything holding pointers (CString has its own, below).
template<class TYPE>
void AFXAPI SerializeElements(CArchive& ar, TYPE* pElements, int nCount)
{
    size_t cbLeft = nCount > 0 ? (size_t)nCount * sizeof(TYPE) : 0;
    BYTE* pb = (BYTE*)(void*)pElements;
    const size_t cbChunk = (size_t)1 << 20;
    while (cbLeft > 0) {
        UINT cb = (UINT)(cbLeft < cbChunk ? cbLeft : cbChunk);
        if (ar.IsStoring())
            ar.Write(pb, cb);
        else if (ar.Read(pb, cb) != cb)
            AfxThrowArchiveException(CArchiveException::endOfFile);
        pb += cb;
        cbLeft -= cb;
    }
}

// Elements of a CString collection go through the archive's string form.
AFX_CORE_API void AFXAPI SerializeElements(CArchive& ar, CString* pElements, int nCount);

template<class TYPE, class ARG_TYPE>
inline BOOL AFXAPI CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2)
{
    return *pElement1 == *pElement2;
}

// Integers and pointers: the value without its low four bits (pointers are aligned).
template<class ARG_KEY>
inline UINT AFXAPI HashKey(ARG_KEY key)
{
    return (UINT)(((UINT_PTR)key) >> 4);
}

// Strings hash their characters, so equal texts at different addresses meet.
AFX_CORE_API UINT AFXAPI HashKey(LPCWSTR key);
AFX_CORE_API UINT AFXAPI HashKey(LPCSTR key);
inline UINT AFXAPI HashKey(const CString& key)
{
    return HashKey((LPCTSTR)key);
}

/////////////////////////////////////////////////////////////////////////////
// Implementation helpers of the templates

inline void* AFXAPI _AfxAllocElements(int nCount, size_t cbElement)
{
    if (nCount < 0 || (cbElement != 0 && (size_t)nCount > ((size_t)-1) / cbElement))
        AfxThrowMemoryException();
    size_t cb = (size_t)nCount * cbElement;
    void* p = malloc(cb != 0 ? cb : 1);
    if (p == NULL)
        AfxThrowMemoryException();
    return p;
}

// Moves nCount elements to (possibly overlapping) new places: bitwise where the type
// allows it, otherwise by copy or move construction and destruction of the old ones.
template<class TYPE>
inline void _AfxRelocateElements(TYPE* pDest, TYPE* pSrc, int nCount)
{
    if (nCount <= 0 || pDest == pSrc)
        return;
    if (std::is_trivially_copyable<TYPE>::value) {
        memmove((void*)pDest, (const void*)pSrc, (size_t)nCount * sizeof(TYPE));
    }
    else if (pDest < pSrc) {
        for (int i = 0; i < nCount; i++) {
            ::new((void*)(pDest + i)) TYPE(std::move(pSrc[i]));
            pSrc[i].~TYPE();
        }
    }
    else {
        for (int i = nCount - 1; i >= 0; i--) {
            ::new((void*)(pDest + i)) TYPE(std::move(pSrc[i]));
            pSrc[i].~TYPE();
        }
    }
}

// TRUE when p is one of the nCount elements at pData (an argument that refers into
// the collection, which the operation is about to move).
template<class TYPE>
inline BOOL _AfxIsElementOf(const void* p, const TYPE* pData, int nCount)
{
    std::less<const void*> less;
    return pData != NULL && !less(p, (const void*)pData) && less(p, (const void*)(pData + nCount));
}

/////////////////////////////////////////////////////////////////////////////
// CArray<TYPE, ARG_TYPE>

template<class TYPE, class ARG_TYPE>
class CArray : public CObject
{
public:
// Construction
    CArray();

// Attributes
    int GetSize() const { return m_nSize; }
    int GetUpperBound() const { return m_nSize - 1; }
    void SetSize(int nNewSize, int nGrowBy = -1);

// Operations
    // Clean up
    void FreeExtra();
    void RemoveAll() { SetSize(0, -1); }

    // Accessing elements
    TYPE GetAt(int nIndex) const { _AfxCheckIndex(nIndex, m_nSize); return m_pData[nIndex]; }
    void SetAt(int nIndex, ARG_TYPE newElement) { _AfxCheckIndex(nIndex, m_nSize); m_pData[nIndex] = newElement; }
    TYPE& ElementAt(int nIndex) { _AfxCheckIndex(nIndex, m_nSize); return m_pData[nIndex]; }

    // Direct access to the elements (NULL while the array has no storage)
    const TYPE* GetData() const { return (const TYPE*)m_pData; }
    TYPE* GetData() { return m_pData; }

    // Potentially growing the array; the new element may be one of the array's own
    void SetAtGrow(int nIndex, ARG_TYPE newElement);
    int Add(ARG_TYPE newElement) { int nIndex = m_nSize; SetAtGrow(nIndex, newElement); return nIndex; }
    int Append(const CArray& src);
    void Copy(const CArray& src);

    // Overloaded operator helpers
    TYPE operator[](int nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](int nIndex) { return ElementAt(nIndex); }

    // Operations that move elements around
    void InsertAt(int nIndex, ARG_TYPE newElement, int nCount = 1);
    void RemoveAt(int nIndex, int nCount = 1);
    void InsertAt(int nStartIndex, CArray* pNewArray);

// Implementation
protected:
    TYPE* m_pData; // the elements; those past m_nSize are not constructed
    int m_nSize; // elements in use
    int m_nMaxSize; // elements allocated
    int m_nGrowBy; // growth step, 0 for the automatic one

public:
    ~CArray();
    void Serialize(CArchive& ar);
};

template<class TYPE, class ARG_TYPE>
CArray<TYPE, ARG_TYPE>::CArray()
    : m_pData(NULL), m_nSize(0), m_nMaxSize(0), m_nGrowBy(0)
{
}

template<class TYPE, class ARG_TYPE>
CArray<TYPE, ARG_TYPE>::~CArray()
{
    if (m_pData != NULL) {
        DestructElements(m_pData, m_nSize);
        free(m_pData);
    }
}

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(int nNewSize, int nGrowBy)
{
    if (nNewSize < 0)
        AfxThrowNotSupportedException();
    if (nGrowBy >= 0)
        m_nGrowBy = nGrowBy;

    if (nNewSize == 0) {
        if (m_pData != NULL) {
            DestructElements(m_pData, m_nSize);
            free(m_pData);
            m_pData = NULL;
        }
        m_nSize = m_nMaxSize = 0;
    }
    else if (m_pData == NULL) {
        // The first allocation is exactly the size asked for.
        TYPE* pNewData = (TYPE*)_AfxAllocElements(nNewSize, sizeof(TYPE));
        try {
            ConstructElements(pNewData, nNewSize);
        }
        catch (...) {
            free(pNewData);
            throw;
        }
        m_pData = pNewData;
        m_nSize = m_nMaxSize = nNewSize;
    }
    else if (nNewSize <= m_nMaxSize) {
        if (nNewSize > m_nSize)
            ConstructElements(m_pData + m_nSize, nNewSize - m_nSize);
        else if (nNewSize < m_nSize)
            DestructElements(m_pData + nNewSize, m_nSize - nNewSize);
        m_nSize = nNewSize;
    }
    else {
        // Grow by m_nGrowBy, or while that is 0 by an eighth of the size (4 to 1024).
        int nStep = m_nGrowBy;
        if (nStep == 0) {
            nStep = m_nSize / 8;
            nStep = nStep < 4 ? 4 : (nStep > 1024 ? 1024 : nStep);
        }
        LONGLONG nNewMax = (LONGLONG)m_nMaxSize + nStep;
        if (nNewMax < nNewSize)
            nNewMax = nNewSize;
        if (nNewMax > INT_MAX)
            nNewMax = INT_MAX;
        TYPE* pNewData = (TYPE*)_AfxAllocElements((int)nNewMax, sizeof(TYPE));
        try {
            ConstructElements(pNewData + m_nSize, nNewSize - m_nSize);
        }
        catch (...) {
            free(pNewData);
            throw;
        }
        _AfxRelocateElements(pNewData, m_pData, m_nSize);
        free(m_pData);
        m_pData = pNewData;
        m_nSize = nNewSize;
        m_nMaxSize = (int)nNewMax;
    }
}

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::FreeExtra()
{
    if (m_nSize == m_nMaxSize)
        return;
    TYPE* pNewData = NULL;
    if (m_nSize != 0) {
        pNewData = (TYPE*)_AfxAllocElements(m_nSize, sizeof(TYPE));
        _AfxRelocateElements(pNewData, m_pData, m_nSize);
    }
    free(m_pData);
    m_pData = pNewData;
    m_nMaxSize = m_nSize;
}

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(int nIndex, ARG_TYPE newElement)
{
    if (nIndex < 0 || nIndex == INT_MAX)
        AfxThrowNotSupportedException();
    if (nIndex >= m_nSize) {
        if (_AfxIsElementOf(std::addressof(newElement), m_pData, m_nSize)) {
            // Growing moves the element the argument refers to.
            TYPE copy(newElement);
            SetSize(nIndex + 1, -1);
            m_pData[nIndex] = copy;
            return;
        }
        SetSize(nIndex + 1, -1);
    }
    m_pData[nIndex] = newElement;
}

template<class TYPE, class ARG_TYPE>
int CArray<TYPE, ARG_TYPE>::Append(const CArray& src)
{
    // src may be this array: its members are read again after the move.
    int nOldSize = m_nSize;
    int nSrcSize = src.m_nSize;
    if (nSrcSize > INT_MAX - nOldSize)
        AfxThrowMemoryException();
    SetSize(nOldSize + nSrcSize, -1);
    CopyElements(m_pData + nOldSize, src.m_pData, nSrcSize);
    return nOldSize;
}

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src)
{
    if (this == &src)
        return;
    SetSize(src.m_nSize, -1);
    CopyElements(m_pData, src.m_pData, src.m_nSize);
}

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(int nIndex, ARG_TYPE newElement, int nCount)
{
    if (nIndex < 0 || nCount < 0 || nCount > INT_MAX - nIndex
        || (nIndex < m_nSize && nCount > INT_MAX - m_nSize))
        AfxThrowNotSupportedException();
    if (nCount == 0)
        return;
    if (_AfxIsElementOf(std::addressof(newElement), m_pData, m_nSize)) {
        // The argument is one of the elements about to move.
        TYPE copy(newElement);
        InsertAt(nIndex, copy, nCount);
        return;
    }
    if (nIndex >= m_nSize) {
        // Past the end: the array grows to take the new elements at nIndex.
        SetSize(nIndex + nCount, -1);
    }
    else {
        int nOldSize = m_nSize;
        SetSize(m_nSize + nCount, -1);
        // Shift the tail up over the new elements and re-create those in the gap.
        DestructElements(m_pData + nOldSize, nCount);
        _AfxRelocateElements(m_pData + nIndex + nCount, m_pData + nIndex, nOldSize - nIndex);
        ConstructElements(m_pData + nIndex, nCount);
    }
    for (int i = 0; i < nCount; i++)
        m_pData[nIndex + i] = newElement;
}

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(int nIndex, int nCount)
{
    if (nIndex < 0 || nCount < 0 || nIndex > m_nSize || nCount > m_nSize - nIndex)
        AfxThrowNotSupportedException();
    DestructElements(m_pData + nIndex, nCount);
    int nMoveCount = m_nSize - (nIndex + nCount);
    if (nMoveCount > 0)
        _AfxRelocateElements(m_pData + nIndex, m_pData + nIndex + nCount, nMoveCount);
    m_nSize -= nCount;
}

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(int nStartIndex, CArray* pNewArray)
{
    if (pNewArray == NULL || nStartIndex < 0)
        AfxThrowNotSupportedException();
    if (pNewArray == this) {
        CArray copy;
        copy.Copy(*this);
        InsertAt(nStartIndex, &copy);
        return;
    }
    int nCount = pNewArray->m_nSize;
    if (nCount > 0) {
        InsertAt(nStartIndex, pNewArray->m_pData[0], nCount);
        for (int i = 1; i < nCount; i++)
            m_pData[nStartIndex + i] = pNewArray->m_pData[i];
    }
}

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD)m_nSize);
    }
    else {
        DWORD_PTR nNewSize = ar.ReadCount();
        if (nNewSize > (DWORD_PTR)INT_MAX)
            AfxThrowArchiveException(CArchiveException::generic);
        SetSize((int)nNewSize, -1);
    }
    SerializeElements(ar, m_pData, m_nSize);
}

/////////////////////////////////////////////////////////////////////////////
// CList<TYPE, ARG_TYPE>

template<class TYPE, class ARG_TYPE>
class CList : public CObject
{
protected:
    struct CNode
    {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
// Construction
    CList(int nBlockSize = 10);

// Attributes
    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // An empty list throws CNotSupportedException
    TYPE& GetHead() { return _AfxCheckNode(m_pNodeHead)->data; }
    TYPE GetHead() const { return _AfxCheckNode(m_pNodeHead)->data; }
    TYPE& GetTail() { return _AfxCheckNode(m_pNodeTail)->data; }
    TYPE GetTail() const { return _AfxCheckNode(m_pNodeTail)->data; }

// Operations
    // Remove the head or the tail and return it (an empty list throws CNotSupportedException)
    TYPE RemoveHead();
    TYPE RemoveTail();

    POSITION AddHead(ARG_TYPE newElement);
    POSITION AddTail(ARG_TYPE newElement);

    // Copies of another list's elements, in their order, before the head or after the tail
    void AddHead(CList* pNewList);
    void AddTail(CList* pNewList);

    void RemoveAll();

    // Iteration; NULL is the end, and NULL passed in throws CNotSupportedException
    POSITION GetHeadPosition() const { return (POSITION)m_pNodeHead; }
    POSITION GetTailPosition() const { return (POSITION)m_pNodeTail; }
    TYPE& GetNext(POSITION& rPosition)
        { CNode* pNode = _AfxCheckNode((CNode*)rPosition); rPosition = (POSITION)pNode->pNext; return pNode->data; }
    TYPE GetNext(POSITION& rPosition) const
        { CNode* pNode = _AfxCheckNode((CNode*)rPosition); rPosition = (POSITION)pNode->pNext; return pNode->data; }
    TYPE& GetPrev(POSITION& rPosition)
        { CNode* pNode = _AfxCheckNode((CNode*)rPosition); rPosition = (POSITION)pNode->pPrev; return pNode->data; }
    TYPE GetPrev(POSITION& rPosition) const
        { CNode* pNode = _AfxCheckNode((CNode*)rPosition); rPosition = (POSITION)pNode->pPrev; return pNode->data; }

    TYPE& GetAt(POSITION position) { return _AfxCheckNode((CNode*)position)->data; }
    TYPE GetAt(POSITION position) const { return _AfxCheckNode((CNode*)position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { _AfxCheckNode((CNode*)pos)->data = newElement; }
    void RemoveAt(POSITION position);

    // NULL inserts at the head (InsertBefore) or the tail (InsertAfter)
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement);
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement);

    // Linear searches (CompareElements): the first match after startAfter (NULL: from
    // the head), or NULL
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = NULL) const;
    // The position of the zero-based nIndex'th element, NULL when out of range
    POSITION FindIndex(int nIndex) const;

// Implementation
protected:
    CNode* m_pNodeHead;
    CNode* m_pNodeTail;
    int m_nCount;
    CNode* m_pNodeFree;
    struct CPlex* m_pBlocks;
    int m_nBlockSize;

    CNode* NewNode(CNode* pPrev, CNode* pNext);
    void FreeNode(CNode* pNode);
    // A node with the element, not linked yet.
    CNode* NewNodeWith(CNode* pPrev, CNode* pNext, ARG_TYPE newElement);

public:
    ~CList();
    void Serialize(CArchive& ar);
};

template<class TYPE, class ARG_TYPE>
CList<TYPE, ARG_TYPE>::CList(int nBlockSize)
    : m_pNodeHead(NULL), m_pNodeTail(NULL), m_nCount(0), m_pNodeFree(NULL),
      m_pBlocks(NULL), m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10)
{
}

template<class TYPE, class ARG_TYPE>
CList<TYPE, ARG_TYPE>::~CList()
{
    RemoveAll();
}

template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAll()
{
    for (CNode* pNode = m_pNodeHead; pNode != NULL; pNode = pNode->pNext)
        DestructElements(&pNode->data, 1);
    m_nCount = 0;
    m_pNodeHead = m_pNodeTail = m_pNodeFree = NULL;
    if (m_pBlocks != NULL)
        m_pBlocks->FreeDataChain();
    m_pBlocks = NULL;
}

template<class TYPE, class ARG_TYPE>
typename CList<TYPE, ARG_TYPE>::CNode* CList<TYPE, ARG_TYPE>::NewNode(CNode* pPrev, CNode* pNext)
{
    if (m_pNodeFree == NULL) {
        CPlex* pNewBlock = CPlex::Create(m_pBlocks, (UINT)m_nBlockSize, sizeof(CNode));
        // Chain the block's nodes so that they are used from the first one on.
        CNode* pNode = (CNode*)pNewBlock->data() + m_nBlockSize - 1;
        for (int i = m_nBlockSize - 1; i >= 0; i--, pNode--) {
            pNode->pNext = m_pNodeFree;
            m_pNodeFree = pNode;
        }
    }
    CNode* pNode = m_pNodeFree;
    ConstructElements(&pNode->data, 1);
    m_pNodeFree = m_pNodeFree->pNext;
    pNode->pPrev = pPrev;
    pNode->pNext = pNext;
    m_nCount++;
    return pNode;
}

template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::FreeNode(CNode* pNode)
{
    DestructElements(&pNode->data, 1);
    pNode->pNext = m_pNodeFree;
    m_pNodeFree = pNode;
    m_nCount--;
    // The last node gone: give the blocks back.
    if (m_nCount == 0)
        RemoveAll();
}

template<class TYPE, class ARG_TYPE>
typename CList<TYPE, ARG_TYPE>::CNode*
CList<TYPE, ARG_TYPE>::NewNodeWith(CNode* pPrev, CNode* pNext, ARG_TYPE newElement)
{
    CNode* pNode = NewNode(pPrev, pNext);
    try {
        pNode->data = newElement;
    }
    catch (...) {
        FreeNode(pNode);
        throw;
    }
    return pNode;
}

template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::AddHead(ARG_TYPE newElement)
{
    CNode* pNewNode = NewNodeWith(NULL, m_pNodeHead, newElement);
    if (m_pNodeHead != NULL)
        m_pNodeHead->pPrev = pNewNode;
    else
        m_pNodeTail = pNewNode;
    m_pNodeHead = pNewNode;
    return (POSITION)pNewNode;
}

template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::AddTail(ARG_TYPE newElement)
{
    CNode* pNewNode = NewNodeWith(m_pNodeTail, NULL, newElement);
    if (m_pNodeTail != NULL)
        m_pNodeTail->pNext = pNewNode;
    else
        m_pNodeHead = pNewNode;
    m_pNodeTail = pNewNode;
    return (POSITION)pNewNode;
}

// pNewList may be this list: only the nodes it had at the start are visited.
template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddHead(CList* pNewList)
{
    if (pNewList == NULL)
        AfxThrowNotSupportedException();
    CNode* pNode = pNewList->m_pNodeTail;
    for (int n = pNewList->m_nCount; n > 0; n--) {
        CNode* pPrev = pNode->pPrev;
        AddHead(pNode->data);
        pNode = pPrev;
    }
}

template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddTail(CList* pNewList)
{
    if (pNewList == NULL)
        AfxThrowNotSupportedException();
    CNode* pNode = pNewList->m_pNodeHead;
    for (int n = pNewList->m_nCount; n > 0; n--) {
        CNode* pNext = pNode->pNext;
        AddTail(pNode->data);
        pNode = pNext;
    }
}

template<class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveHead()
{
    CNode* pOldNode = _AfxCheckNode(m_pNodeHead);
    TYPE returnValue = pOldNode->data;
    m_pNodeHead = pOldNode->pNext;
    if (m_pNodeHead != NULL)
        m_pNodeHead->pPrev = NULL;
    else
        m_pNodeTail = NULL;
    FreeNode(pOldNode);
    return returnValue;
}

template<class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveTail()
{
    CNode* pOldNode = _AfxCheckNode(m_pNodeTail);
    TYPE returnValue = pOldNode->data;
    m_pNodeTail = pOldNode->pPrev;
    if (m_pNodeTail != NULL)
        m_pNodeTail->pNext = NULL;
    else
        m_pNodeHead = NULL;
    FreeNode(pOldNode);
    return returnValue;
}

template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement)
{
    if (position == NULL)
        return AddHead(newElement);
    CNode* pOldNode = _AfxCheckNode((CNode*)position);
    CNode* pNewNode = NewNodeWith(pOldNode->pPrev, pOldNode, newElement);
    if (pOldNode->pPrev != NULL)
        pOldNode->pPrev->pNext = pNewNode;
    else
        m_pNodeHead = pNewNode;
    pOldNode->pPrev = pNewNode;
    return (POSITION)pNewNode;
}

template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement)
{
    if (position == NULL)
        return AddTail(newElement);
    CNode* pOldNode = _AfxCheckNode((CNode*)position);
    CNode* pNewNode = NewNodeWith(pOldNode, pOldNode->pNext, newElement);
    if (pOldNode->pNext != NULL)
        pOldNode->pNext->pPrev = pNewNode;
    else
        m_pNodeTail = pNewNode;
    pOldNode->pNext = pNewNode;
    return (POSITION)pNewNode;
}

template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION position)
{
    CNode* pOldNode = _AfxCheckNode((CNode*)position);
    if (pOldNode == m_pNodeHead)
        m_pNodeHead = pOldNode->pNext;
    else
        pOldNode->pPrev->pNext = pOldNode->pNext;
    if (pOldNode == m_pNodeTail)
        m_pNodeTail = pOldNode->pPrev;
    else
        pOldNode->pNext->pPrev = pOldNode->pPrev;
    FreeNode(pOldNode);
}

template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE searchValue, POSITION startAfter) const
{
    CNode* pNode = m_pNodeHead;
    if (startAfter != NULL)
        pNode = _AfxCheckNode((CNode*)startAfter)->pNext;
    for (; pNode != NULL; pNode = pNode->pNext) {
        if (CompareElements(&pNode->data, &searchValue))
            return (POSITION)pNode;
    }
    return NULL;
}

template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::FindIndex(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nCount)
        return NULL;
    CNode* pNode = m_pNodeHead;
    while (nIndex-- > 0)
        pNode = pNode->pNext;
    return (POSITION)pNode;
}

// Loading appends to what the list holds.
template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD)m_nCount);
        for (CNode* pNode = m_pNodeHead; pNode != NULL; pNode = pNode->pNext)
            SerializeElements(ar, &pNode->data, 1);
    }
    else {
        DWORD_PTR nNewCount = ar.ReadCount();
        while (nNewCount-- > 0) {
            TYPE newData;
            SerializeElements(ar, &newData, 1);
            AddTail(newData);
        }
    }
}

/////////////////////////////////////////////////////////////////////////////
// CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject
{
protected:
    struct CAssoc
    {
        CAssoc* pNext;
        UINT nHashValue; // HashKey(key), before the modulo of the table size
        KEY key;
        VALUE value;
    };

public:
// Construction
    CMap(int nBlockSize = 10);

// Attributes
    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // FALSE (and rValue untouched) when the key is not in the map
    BOOL Lookup(ARG_KEY key, VALUE& rValue) const;

// Operations
    // The value of the key, added (default-constructed) when the key is new
    VALUE& operator[](ARG_KEY key);

    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }

    // FALSE when the key is not in the map
    BOOL RemoveKey(ARG_KEY key);
    void RemoveAll();

    // Iteration in bucket order; the start position is NULL for an empty map
    POSITION GetStartPosition() const { return (m_nCount == 0) ? NULL : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const;

    // The number of buckets (17 unless InitHashTable set another); a map never rehashes by itself
    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // A prime near 1.2 times the expected count suits a large map. bAllocNow FALSE
    // leaves the allocation to the first insertion; associations already in the map
    // are rehashed; a size of 0 is ignored.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

// Implementation
protected:
    CAssoc** m_pHashTable;
    UINT m_nHashTableSize;
    int m_nCount;
    CAssoc* m_pFreeList;
    struct CPlex* m_pBlocks;
    int m_nBlockSize;

    CAssoc* NewAssoc();
    void FreeAssoc(CAssoc* pAssoc);
    CAssoc* GetAssocAt(ARG_KEY key, UINT& nHash) const;
    // The association after pAssoc in iteration order, or NULL.
    CAssoc* NextAssoc(CAssoc* pAssoc) const;

public:
    ~CMap();
    void Serialize(CArchive& ar);
};

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CMap(int nBlockSize)
    : m_pHashTable(NULL), m_nHashTableSize(17), m_nCount(0), m_pFreeList(NULL),
      m_pBlocks(NULL), m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10)
{
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::~CMap()
{
    RemoveAll();
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT nHashSize, BOOL bAllocNow)
{
    // A table of no buckets cannot hold anything: keep the current one.
    if (nHashSize == 0)
        return;
    CAssoc** pNewTable = NULL;
    if (bAllocNow || m_nCount > 0) {
        pNewTable = (CAssoc**)calloc(nHashSize, sizeof(CAssoc*));
        if (pNewTable == NULL)
            AfxThrowMemoryException();
    }
    if (m_pHashTable != NULL) {
        // Associations already in the map are rehashed rather than lost.
        for (UINT nBucket = 0; nBucket < m_nHashTableSize; nBucket++) {
            CAssoc* pAssoc = m_pHashTable[nBucket];
            while (pAssoc != NULL) {
                CAssoc* pNext = pAssoc->pNext;
                UINT nNewBucket = pAssoc->nHashValue % nHashSize;
                pAssoc->pNext = pNewTable[nNewBucket];
                pNewTable[nNewBucket] = pAssoc;
                pAssoc = pNext;
            }
        }
        free(m_pHashTable);
    }
    m_pHashTable = pNewTable;
    m_nHashTableSize = nHashSize;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll()
{
    if (m_pHashTable != NULL) {
        for (UINT nBucket = 0; nBucket < m_nHashTableSize; nBucket++) {
            for (CAssoc* pAssoc = m_pHashTable[nBucket]; pAssoc != NULL; pAssoc = pAssoc->pNext) {
                DestructElements(&pAssoc->key, 1);
                DestructElements(&pAssoc->value, 1);
            }
        }
        free(m_pHashTable);
        m_pHashTable = NULL;
    }
    m_nCount = 0;
    m_pFreeList = NULL;
    if (m_pBlocks != NULL)
        m_pBlocks->FreeDataChain();
    m_pBlocks = NULL;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc*
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::NewAssoc()
{
    if (m_pFreeList == NULL) {
        CPlex* pNewBlock = CPlex::Create(m_pBlocks, (UINT)m_nBlockSize, sizeof(CAssoc));
        CAssoc* pAssoc = (CAssoc*)pNewBlock->data() + m_nBlockSize - 1;
        for (int i = m_nBlockSize - 1; i >= 0; i--, pAssoc--) {
            pAssoc->pNext = m_pFreeList;
            m_pFreeList = pAssoc;
        }
    }
    CAssoc* pAssoc = m_pFreeList;
    CAssoc* pNextFree = pAssoc->pNext;
    ConstructElements(&pAssoc->key, 1);
    try {
        ConstructElements(&pAssoc->value, 1);
    }
    catch (...) {
        DestructElements(&pAssoc->key, 1);
        pAssoc->pNext = pNextFree;
        throw;
    }
    m_pFreeList = pNextFree;
    m_nCount++;
    return pAssoc;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::FreeAssoc(CAssoc* pAssoc)
{
    DestructElements(&pAssoc->key, 1);
    DestructElements(&pAssoc->value, 1);
    pAssoc->pNext = m_pFreeList;
    m_pFreeList = pAssoc;
    m_nCount--;
    if (m_nCount == 0)
        RemoveAll();
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc*
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetAssocAt(ARG_KEY key, UINT& nHash) const
{
    nHash = HashKey(key);
    if (m_pHashTable == NULL)
        return NULL;
    for (CAssoc* pAssoc = m_pHashTable[nHash % m_nHashTableSize]; pAssoc != NULL; pAssoc = pAssoc->pNext) {
        if (pAssoc->nHashValue == nHash && CompareElements(&pAssoc->key, &key))
            return pAssoc;
    }
    return NULL;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Lookup(ARG_KEY key, VALUE& rValue) const
{
    UINT nHash;
    CAssoc* pAssoc = GetAssocAt(key, nHash);
    if (pAssoc == NULL)
        return FALSE;
    rValue = pAssoc->value;
    return TRUE;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key)
{
    UINT nHash;
    CAssoc* pAssoc = GetAssocAt(key, nHash);
    if (pAssoc != NULL)
        return pAssoc->value;
    if (m_pHashTable == NULL)
        InitHashTable(m_nHashTableSize, TRUE);
    pAssoc = NewAssoc();
    try {
        pAssoc->key = key;
    }
    catch (...) {
        FreeAssoc(pAssoc);
        throw;
    }
    pAssoc->nHashValue = nHash;
    UINT nBucket = nHash % m_nHashTableSize;
    pAssoc->pNext = m_pHashTable[nBucket];
    m_pHashTable[nBucket] = pAssoc;
    return pAssoc->value;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key)
{
    if (m_pHashTable == NULL)
        return FALSE;
    UINT nHash = HashKey(key);
    CAssoc** ppAssocPrev = &m_pHashTable[nHash % m_nHashTableSize];
    for (CAssoc* pAssoc = *ppAssocPrev; pAssoc != NULL; pAssoc = pAssoc->pNext) {
        if (pAssoc->nHashValue == nHash && CompareElements(&pAssoc->key, &key)) {
            *ppAssocPrev = pAssoc->pNext;
            FreeAssoc(pAssoc);
            return TRUE;
        }
        ppAssocPrev = &pAssoc->pNext;
    }
    return FALSE;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc*
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::NextAssoc(CAssoc* pAssoc) const
{
    if (pAssoc->pNext != NULL)
        return pAssoc->pNext;
    for (UINT nBucket = pAssoc->nHashValue % m_nHashTableSize + 1; nBucket < m_nHashTableSize; nBucket++) {
        if (m_pHashTable[nBucket] != NULL)
            return m_pHashTable[nBucket];
    }
    return NULL;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
{
    CAssoc* pAssocRet = (CAssoc*)rNextPosition;
    if (pAssocRet == NULL || m_pHashTable == NULL)
        AfxThrowNotSupportedException();
    if (pAssocRet == (CAssoc*)BEFORE_START_POSITION) {
        pAssocRet = NULL;
        for (UINT nBucket = 0; nBucket < m_nHashTableSize && pAssocRet == NULL; nBucket++)
            pAssocRet = m_pHashTable[nBucket];
        if (pAssocRet == NULL)
            AfxThrowNotSupportedException();
    }
    rNextPosition = (POSITION)NextAssoc(pAssocRet);
    rKey = pAssocRet->key;
    rValue = pAssocRet->value;
}

// Each association as its key followed by its value; loading adds to what the map holds.
template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD)m_nCount);
        if (m_nCount == 0)
            return;
        for (UINT nBucket = 0; nBucket < m_nHashTableSize; nBucket++) {
            for (CAssoc* pAssoc = m_pHashTable[nBucket]; pAssoc != NULL; pAssoc = pAssoc->pNext) {
                SerializeElements(ar, &pAssoc->key, 1);
                SerializeElements(ar, &pAssoc->value, 1);
            }
        }
    }
    else {
        DWORD_PTR nNewCount = ar.ReadCount();
        while (nNewCount-- > 0) {
            KEY newKey;
            VALUE newValue;
            SerializeElements(ar, &newKey, 1);
            SerializeElements(ar, &newValue, 1);
            SetAt(newKey, newValue);
        }
    }
}

/////////////////////////////////////////////////////////////////////////////
// CTypedPtrArray<BASE_CLASS, TYPE>: CObArray or CPtrArray holding TYPE pointers

template<class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS
{
public:
    TYPE GetAt(int nIndex) const { return (TYPE)BASE_CLASS::GetAt(nIndex); }
    TYPE& ElementAt(int nIndex) { return (TYPE&)BASE_CLASS::ElementAt(nIndex); }
    void SetAt(int nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }

    void SetAtGrow(int nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
    int Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
    int Append(const CTypedPtrArray<BASE_CLASS, TYPE>& src) { return BASE_CLASS::Append(src); }
    void Copy(const CTypedPtrArray<BASE_CLASS, TYPE>& src) { BASE_CLASS::Copy(src); }

    void InsertAt(int nIndex, TYPE newElement, int nCount = 1)
        { BASE_CLASS::InsertAt(nIndex, newElement, nCount); }
    void InsertAt(int nStartIndex, CTypedPtrArray<BASE_CLASS, TYPE>* pNewArray)
        { BASE_CLASS::InsertAt(nStartIndex, pNewArray); }

    TYPE operator[](int nIndex) const { return (TYPE)BASE_CLASS::operator[](nIndex); }
    TYPE& operator[](int nIndex) { return (TYPE&)BASE_CLASS::operator[](nIndex); }
};

/////////////////////////////////////////////////////////////////////////////
// CTypedPtrList<BASE_CLASS, TYPE>: CObList or CPtrList holding TYPE pointers

template<class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS
{
public:
// Construction
    CTypedPtrList(int nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    TYPE& GetHead() { return (TYPE&)BASE_CLASS::GetHead(); }
    TYPE GetHead() const { return (TYPE)BASE_CLASS::GetHead(); }
    TYPE& GetTail() { return (TYPE&)BASE_CLASS::GetTail(); }
    TYPE GetTail() const { return (TYPE)BASE_CLASS::GetTail(); }

    TYPE RemoveHead() { return (TYPE)BASE_CLASS::RemoveHead(); }
    TYPE RemoveTail() { return (TYPE)BASE_CLASS::RemoveTail(); }

    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
    void AddHead(CTypedPtrList<BASE_CLASS, TYPE>* pNewList) { BASE_CLASS::AddHead(pNewList); }
    void AddTail(CTypedPtrList<BASE_CLASS, TYPE>* pNewList) { BASE_CLASS::AddTail(pNewList); }

    TYPE& GetNext(POSITION& rPosition) { return (TYPE&)BASE_CLASS::GetNext(rPosition); }
    TYPE GetNext(POSITION& rPosition) const { return (TYPE)BASE_CLASS::GetNext(rPosition); }
    TYPE& GetPrev(POSITION& rPosition) { return (TYPE&)BASE_CLASS::GetPrev(rPosition); }
    TYPE GetPrev(POSITION& rPosition) const { return (TYPE)BASE_CLASS::GetPrev(rPosition); }

    TYPE& GetAt(POSITION position) { return (TYPE&)BASE_CLASS::GetAt(position); }
    TYPE GetAt(POSITION position) const { return (TYPE)BASE_CLASS::GetAt(position); }
    void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }

    POSITION InsertBefore(POSITION position, TYPE newElement)
        { return BASE_CLASS::InsertBefore(position, newElement); }
    POSITION InsertAfter(POSITION position, TYPE newElement)
        { return BASE_CLASS::InsertAfter(position, newElement); }
};

/////////////////////////////////////////////////////////////////////////////
// CTypedPtrMap<BASE_CLASS, KEY, VALUE>: one of the pointer maps of afxcoll.h with
// typed keys and values

template<class BASE_CLASS, class KEY, class VALUE>
class CTypedPtrMap : public BASE_CLASS
{
public:
// Construction
    CTypedPtrMap(int nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    BOOL Lookup(typename BASE_CLASS::BASE_ARG_KEY key, VALUE& rValue) const
        { return BASE_CLASS::Lookup(key, (typename BASE_CLASS::BASE_VALUE&)rValue); }

    VALUE& operator[](typename BASE_CLASS::BASE_ARG_KEY key)
        { return (VALUE&)BASE_CLASS::operator[](key); }

    void SetAt(typename BASE_CLASS::BASE_ARG_KEY key, VALUE newValue) { BASE_CLASS::SetAt(key, newValue); }
    BOOL RemoveKey(typename BASE_CLASS::BASE_ARG_KEY key) { return BASE_CLASS::RemoveKey(key); }

    void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const
    {
        BASE_CLASS::GetNextAssoc(rPosition, (typename BASE_CLASS::BASE_KEY&)rKey,
                                 (typename BASE_CLASS::BASE_VALUE&)rValue);
    }
};
