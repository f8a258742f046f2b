// afxcoll_.h - the one implementation behind the collections of afxcoll.h and
// afxtempl.h. Included by afxcoll.h; not for direct use.
//
//   _AFX_ARRAY_MEMBERS, _AFX_LIST_MEMBERS, _AFX_MAP_MEMBERS
//       the members every array, list and map class declares
//   _AfxColl::ArrayCore, ListCore, MapCore
//       the algorithms behind those members, run over a collection's data members
//
// A collection's members build a core over its data members (_AFX_ARRAY_CORE and the
// others) with an element policy, which says how an element is constructed,
// destroyed, moved, copied, compared, hashed and serialized: _AfxColl::Elements<T>
// of afxtempl.h, which goes through the helper functions an application may
// specialise.
#pragma once

#include "afx.h"
#include "afxplex_.h"

#include <stdint.h>

#include <functional>
#include <memory>

// An index outside the collection or a missing position throws rather than touch
// memory that is not the collection's.
inline void AFXAPI _AfxCheckIndex(int nIndex, int nSize)
{
    if ((UINT)nIndex >= (UINT)nSize)
        AfxThrowNotSupportedException();
}

template<class NODE>
inline NODE* AFXAPI _AfxCheckNode(NODE* pNode)
{
    if (pNode == NULL || (POSITION)pNode == BEFORE_START_POSITION)
        AfxThrowNotSupportedException();
    return pNode;
}

/////////////////////////////////////////////////////////////////////////////
// The members of the collection classes. CLS is the class; TYPE (KEY, VALUE) its
// elements and ARG_TYPE (ARG_KEY, ARG_VALUE) how they are passed in. A macro ends
// with protected members: the class adds its own (Serialize, further overloads)
// under an access label of its own.

// CONST_DATA is what GetData answers for a const array.
#define _AFX_ARRAY_MEMBERS(CLS, TYPE, ARG_TYPE, CONST_DATA) \
public: \
    CLS(); \
    ~CLS(); \
    int GetSize() const { return m_nSize; } \
    int GetUpperBound() const { return m_nSize - 1; } \
    void SetSize(int nNewSize, int nGrowBy = -1); \
    void FreeExtra(); \
    void RemoveAll() { SetSize(0, -1); } \
    TYPE GetAt(int nIndex) const { _AfxCheckIndex(nIndex, m_nSize); return m_pData[nIndex]; } \
    void SetAt(int nIndex, ARG_TYPE newElement) { _AfxCheckIndex(nIndex, m_nSize); m_pData[nIndex] = newElement; } \
    TYPE& ElementAt(int nIndex) { _AfxCheckIndex(nIndex, m_nSize); return m_pData[nIndex]; } \
    CONST_DATA GetData() const { return (CONST_DATA)m_pData; } \
    TYPE* GetData() { return m_pData; } \
    void SetAtGrow(int nIndex, ARG_TYPE newElement); \
    int Add(ARG_TYPE newElement) { int nIndex = m_nSize; SetAtGrow(nIndex, newElement); return nIndex; } \
    int Append(const CLS& src); \
    void Copy(const CLS& src); \
    TYPE operator[](int nIndex) const { return GetAt(nIndex); } \
    TYPE& operator[](int nIndex) { return ElementAt(nIndex); } \
    void InsertAt(int nIndex, ARG_TYPE newElement, int nCount = 1); \
    void RemoveAt(int nIndex, int nCount = 1); \
    void InsertAt(int nStartIndex, CLS* pNewArray); \
protected: \
    TYPE* m_pData; \
    int m_nSize; \
    int m_nMaxSize; \
    int m_nGrowBy;

// Lists and maps take their nodes from blocks of nBlockSize nodes.
#define _AFX_BLOCK_MEMBERS(CLS) \
public: \
    CLS(int nBlockSize = 10); \
    ~CLS(); \
    int GetCount() const { return m_nCount; } \
    BOOL IsEmpty() const { return m_nCount == 0; }

#define _AFX_LIST_MEMBERS(CLS, TYPE, ARG_TYPE) \
protected: \
    struct CNode \
    { \
        CNode* pNext; \
        CNode* pPrev; \
        TYPE data; \
    }; \
    _AFX_BLOCK_MEMBERS(CLS) \
    TYPE& GetHead() { return _AfxCheckNode(m_pNodeHead)->data; } \
    TYPE GetHead() const { return _AfxCheckNode(m_pNodeHead)->data; } \
    TYPE& GetTail() { return _AfxCheckNode(m_pNodeTail)->data; } \
    TYPE GetTail() const { return _AfxCheckNode(m_pNodeTail)->data; } \
    TYPE RemoveHead(); \
    TYPE RemoveTail(); \
    POSITION AddHead(ARG_TYPE newElement); \
    POSITION AddTail(ARG_TYPE newElement); \
    void AddHead(CLS* pNewList); \
    void AddTail(CLS* pNewList); \
    void RemoveAll(); \
    POSITION GetHeadPosition() const { return (POSITION)m_pNodeHead; } \
    POSITION GetTailPosition() const { return (POSITION)m_pNodeTail; } \
    TYPE& GetNext(POSITION& rPosition) { return _AfxColl::Step(rPosition, &CNode::pNext)->data; } \
    TYPE GetNext(POSITION& rPosition) const { return _AfxColl::Step(rPosition, &CNode::pNext)->data; } \
    TYPE& GetPrev(POSITION& rPosition) { return _AfxColl::Step(rPosition, &CNode::pPrev)->data; } \
    TYPE GetPrev(POSITION& rPosition) const { return _AfxColl::Step(rPosition, &CNode::pPrev)->data; } \
    TYPE& GetAt(POSITION position) { return _AfxCheckNode((CNode*)position)->data; } \
    TYPE GetAt(POSITION position) const { return _AfxCheckNode((CNode*)position)->data; } \
    void SetAt(POSITION pos, ARG_TYPE newElement) { _AfxCheckNode((CNode*)pos)->data = newElement; } \
    void RemoveAt(POSITION position); \
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement); \
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement); \
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = NULL) const; \
    POSITION FindIndex(int nIndex) const; \
protected: \
    CNode* m_pNodeHead; \
    CNode* m_pNodeTail; \
    int m_nCount; \
    CNode* m_pNodeFree; \
    struct CPlex* m_pBlocks; \
    int m_nBlockSize; \
    CNode* NewNode(CNode* pPrev, CNode* pNext); \
    void FreeNode(CNode* pNode);

#define _AFX_MAP_MEMBERS(CLS, KEY, ARG_KEY, VALUE, ARG_VALUE) \
protected: \
    struct CAssoc \
    { \
        CAssoc* pNext; \
        UINT nHashValue; \
        KEY key; \
        VALUE value; \
    }; \
    _AFX_BLOCK_MEMBERS(CLS) \
    BOOL Lookup(ARG_KEY key, VALUE& rValue) const; \
    VALUE& operator[](ARG_KEY key); \
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; } \
    BOOL RemoveKey(ARG_KEY key); \
    void RemoveAll(); \
    POSITION GetStartPosition() const { return (m_nCount == 0) ? NULL : BEFORE_START_POSITION; } \
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const; \
    UINT GetHashTableSize() const { return m_nHashTableSize; } \
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE); \
protected: \
    CAssoc** m_pHashTable; \
    UINT m_nHashTableSize; \
    int m_nCount; \
    CAssoc* m_pFreeList; \
    struct CPlex* m_pBlocks; \
    int m_nBlockSize; \
    CAssoc* NewAssoc(); \
    void FreeAssoc(CAssoc* pAssoc); \
    CAssoc* GetAssocAt(ARG_KEY key, UINT& nHash) const;

// The core over the data members of the collection whose member is being defined.
#define _AFX_ARRAY_CORE(OPS) \
    _AfxColl::ArrayCore<OPS >(m_pData, m_nSize, m_nMaxSize, m_nGrowBy)
#define _AFX_LIST_CORE(OPS) \
    _AfxColl::ListCore<CNode, OPS >(m_pNodeHead, m_pNodeTail, m_nCount, m_pNodeFree, m_pBlocks, m_nBlockSize)
#define _AFX_MAP_CORE(KOPS, VOPS) \
    _AfxColl::MapCore<CAssoc, KOPS, VOPS >(m_pHashTable, m_nHashTableSize, m_nCount, m_pFreeList, \
                                           m_pBlocks, m_nBlockSize)

namespace _AfxColl {

// The element policy of the templates and of the framework's own collections.
template<class TYPE> struct Elements;

// Element storage. malloc/free rather than new: the policy constructs the elements,
// and a failure must be a CMemoryException.
inline void* Allocate(size_t nCount, size_t cbElement)
{
    if (cbElement != 0 && nCount > SIZE_MAX / cbElement)
        AfxThrowMemoryException();
    void* p = malloc(nCount * cbElement != 0 ? nCount * cbElement : 1);
    if (p == NULL)
        AfxThrowMemoryException();
    return p;
}

// The collection an operation takes its elements from; none is a bad argument.
template<class CLS>
inline CLS& Checked(CLS* pCollection)
{
    if (pCollection == NULL)
        AfxThrowNotSupportedException();
    return *pCollection;
}

// The node at rPosition; rPosition moves on along pLink.
template<class NODE>
inline NODE* Step(POSITION& rPosition, NODE* NODE::*pLink)
{
    NODE* pNode = _AfxCheckNode((NODE*)rPosition);
    rPosition = (POSITION)(pNode->*pLink);
    return pNode;
}

// Lists and maps: a block size of 0 or less would make blocks of no nodes.
inline int BlockSize(int nBlockSize)
{
    return nBlockSize > 0 ? nBlockSize : 10;
}

// Takes a node from the free chain, first carving a new block into free nodes
// (used from the block's first node on) when the chain is empty.
template<class NODE>
inline NODE* TakeFree(NODE*& pFree, CPlex*& pBlocks, int nBlockSize)
{
    if (pFree == NULL) {
        CPlex* pNewBlock = CPlex::Create(pBlocks, (UINT)nBlockSize, sizeof(NODE));
        NODE* pNode = (NODE*)pNewBlock->data() + nBlockSize - 1;
        for (int i = nBlockSize - 1; i >= 0; i--, pNode--) {
            pNode->pNext = pFree;
            pFree = pNode;
        }
    }
    return pFree;
}

/////////////////////////////////////////////////////////////////////////////
// Arrays: m_nSize constructed elements in m_nMaxSize allocated ones.

template<class OPS>
struct ArrayCore
{
    typedef typename OPS::Type T;

    T*& pData;
    int& nSize;
    int& nMaxSize;
    int& nGrowBy;

    ArrayCore(T*& data, int& size, int& maxSize, int& growBy)
        : pData(data), nSize(size), nMaxSize(maxSize), nGrowBy(growBy) {}

    void Init()
    {
        pData = NULL;
        nSize = nMaxSize = nGrowBy = 0;
    }

    void Free()
    {
        if (pData != NULL) {
            OPS::Destruct(pData, nSize);
            free(pData);
        }
        pData = NULL;
        nSize = nMaxSize = 0;
    }

    void SetSize(int nNewSize, int nNewGrowBy)
    {
        if (nNewSize < 0)
            AfxThrowNotSupportedException();
        if (nNewGrowBy >= 0)
            nGrowBy = nNewGrowBy;
        if (nNewSize == 0) {
            Free();
            return;
        }
        if (nNewSize <= nMaxSize) {
            if (nNewSize > nSize)
                OPS::Construct(pData + nSize, nNewSize - nSize);
            else if (nNewSize < nSize)
                OPS::Destruct(pData + nNewSize, nSize - nNewSize);
            nSize = nNewSize;
            return;
        }
        // The first allocation is exactly the size asked for. Later ones grow by
        // nGrowBy or, while that is 0, by an eighth (4 to 1024 elements), so that
        // adding one element at a time stays linear.
        LONGLONG nNewMax = nNewSize;
        if (pData != NULL) {
            int nStep = nGrowBy;
            if (nStep == 0) {
                nStep = nSize / 8;
                nStep = nStep < 4 ? 4 : (nStep > 1024 ? 1024 : nStep);
            }
            if ((LONGLONG)nMaxSize + nStep > nNewMax)
                nNewMax = (LONGLONG)nMaxSize + nStep;
            if (nNewMax > INT_MAX)
                nNewMax = INT_MAX;
        }
        T* pNewData = (T*)Allocate((size_t)nNewMax, sizeof(T));
        try {
            OPS::Construct(pNewData + nSize, nNewSize - nSize);
        }
        catch (...) {
            free(pNewData);
            throw;
        }
        OPS::Relocate(pNewData, pData, nSize);
        free(pData);
        pData = pNewData;
        nSize = nNewSize;
        nMaxSize = (int)nNewMax;
    }

    void FreeExtra()
    {
        if (nSize == nMaxSize)
            return;
        T* pNewData = NULL;
        if (nSize != 0) {
            pNewData = (T*)Allocate((size_t)nSize, sizeof(T));
            OPS::Relocate(pNewData, pData, nSize);
        }
        free(pData);
        pData = pNewData;
        nMaxSize = nSize;
    }

    // The new element may be one of the array's own, which growing moves.
    template<class ARG>
    void SetAtGrow(int nIndex, ARG newElement)
    {
        if (nIndex < 0 || nIndex == INT_MAX)
            AfxThrowNotSupportedException();
        if (nIndex >= nSize) {
            if (IsOwnElement(std::addressof(newElement))) {
                T copy(newElement);
                SetSize(nIndex + 1, -1);
                pData[nIndex] = copy;
                return;
            }
            SetSize(nIndex + 1, -1);
        }
        pData[nIndex] = newElement;
    }

    // nCount copies of newElement at nIndex; past the end the array grows up to
    // nIndex + nCount, the gap default elements.
    template<class ARG>
    void InsertAt(int nIndex, ARG newElement, int nCount)
    {
        CheckInsert(nIndex, nCount);
        if (nCount == 0)
            return;
        if (IsOwnElement(std::addressof(newElement))) {
            T copy(newElement);
            InsertAt<const T&>(nIndex, copy, nCount);
            return;
        }
        OpenGap(nIndex, nCount);
        for (int i = 0; i < nCount; i++)
            pData[nIndex + i] = newElement;
    }

    // The elements of another array (which may be this one) at nStartIndex. pSrc and
    // nSrcSize refer to the other array's members and are read again after the gap
    // is opened, which moves this array's (possibly the same) elements.
    void InsertArray(int nStartIndex, T* const& pSrc, const int& nSrcSize)
    {
        bool bSelf = &pSrc == &pData;
        int nCount = nSrcSize;
        if (nStartIndex < 0)
            AfxThrowNotSupportedException();
        if (nCount == 0)
            return;
        CheckInsert(nStartIndex, nCount);
        OpenGap(nStartIndex, nCount);
        // This array's own elements from nStartIndex on now stand nCount further up.
        for (int i = 0; i < nCount; i++)
            pData[nStartIndex + i] = pSrc[bSelf && i >= nStartIndex ? i + nCount : i];
    }

    void RemoveAt(int nIndex, int nCount)
    {
        if (nIndex < 0 || nCount < 0 || nIndex > nSize || nCount > nSize - nIndex)
            AfxThrowNotSupportedException();
        OPS::Destruct(pData + nIndex, nCount);
        int nMoveCount = nSize - (nIndex + nCount);
        if (nMoveCount > 0)
            OPS::Relocate(pData + nIndex, pData + nIndex + nCount, nMoveCount);
        nSize -= nCount;
    }

    void Copy(T* const& pSrc, const int& nSrcSize)
    {
        if (&pSrc == &pData)
            return;
        SetSize(nSrcSize, -1);
        OPS::Copy(pData, pSrc, nSize);
    }

    // Returns the index of the first element appended.
    int Append(T* const& pSrc, const int& nSrcSize)
    {
        int nOldSize = nSize;
        int nAdd = nSrcSize;
        if (nAdd > INT_MAX - nOldSize)
            AfxThrowMemoryException();
        SetSize(nOldSize + nAdd, -1);
        OPS::Copy(pData + nOldSize, pSrc, nAdd);
        return nOldSize;
    }

    // The element count, then the elements; a count no array can hold is a corrupt
    // archive.
    void Serialize(CArchive& ar)
    {
        if (ar.IsStoring()) {
            ar.WriteCount((DWORD)nSize);
        }
        else {
            DWORD_PTR nNewSize = ar.ReadCount();
            if (nNewSize > (DWORD_PTR)INT_MAX)
                AfxThrowArchiveException(CArchiveException::generic);
            SetSize((int)nNewSize, -1);
        }
        OPS::Serialize(ar, pData, nSize);
    }

private:
    bool IsOwnElement(const void* p) const
    {
        std::less<const void*> less;
        return pData != NULL && !less(p, (const void*)pData) && less(p, (const void*)(pData + nSize));
    }

    void CheckInsert(int nIndex, int nCount) const
    {
        if (nIndex < 0 || nCount < 0 || nCount > INT_MAX - nIndex
            || (nIndex < nSize && nCount > INT_MAX - nSize))
            AfxThrowNotSupportedException();
    }

    // Makes room for nCount default elements at nIndex.
    void OpenGap(int nIndex, int nCount)
    {
        if (nIndex >= nSize) {
            SetSize(nIndex + nCount, -1);
            return;
        }
        int nOldSize = nSize;
        SetSize(nSize + nCount, -1);
        // Shift the tail up over the new default elements and re-create those in
        // the gap.
        OPS::Destruct(pData + nOldSize, nCount);
        OPS::Relocate(pData + nIndex + nCount, pData + nIndex, nOldSize - nIndex);
        OPS::Construct(pData + nIndex, nCount);
    }
};

/////////////////////////////////////////////////////////////////////////////
// Lists: doubly linked nodes from CPlex blocks. The members of a const list are
// only read, so the core may refer to them as well.

template<class NODE, class OPS>
struct ListCore
{
    typedef typename OPS::Type T;

    NODE*& pHead;
    NODE*& pTail;
    int& nCount;
    NODE*& pFree;
    CPlex*& pBlocks;
    int& nBlockSize;

    ListCore(NODE* const& head, NODE* const& tail, const int& count, NODE* const& freeNodes,
             CPlex* const& blocks, const int& blockSize)
        : pHead(const_cast<NODE*&>(head)), pTail(const_cast<NODE*&>(tail)),
          nCount(const_cast<int&>(count)), pFree(const_cast<NODE*&>(freeNodes)),
          pBlocks(const_cast<CPlex*&>(blocks)), nBlockSize(const_cast<int&>(blockSize)) {}

    void Init(int nNewBlockSize)
    {
        pHead = pTail = pFree = NULL;
        nCount = 0;
        pBlocks = NULL;
        nBlockSize = BlockSize(nNewBlockSize);
    }

    NODE* NewNode(NODE* pPrev, NODE* pNext)
    {
        NODE* pNode = TakeFree(pFree, pBlocks, nBlockSize);
        OPS::Construct(&pNode->data, 1);
        pFree = pNode->pNext;
        pNode->pPrev = pPrev;
        pNode->pNext = pNext;
        nCount++;
        return pNode;
    }

    void FreeNode(NODE* pNode)
    {
        OPS::Destruct(&pNode->data, 1);
        pNode->pNext = pFree;
        pFree = pNode;
        nCount--;
        // The last node gone: give the blocks back.
        if (nCount == 0)
            RemoveAll();
    }

    void RemoveAll()
    {
        for (NODE* pNode = pHead; pNode != NULL; pNode = pNode->pNext)
            OPS::Destruct(&pNode->data, 1);
        nCount = 0;
        pHead = pTail = pFree = NULL;
        if (pBlocks != NULL)
            pBlocks->FreeDataChain();
        pBlocks = NULL;
    }

    template<class ARG>
    POSITION AddHead(ARG newElement) { return Link<ARG>(NULL, pHead, newElement); }
    template<class ARG>
    POSITION AddTail(ARG newElement) { return Link<ARG>(pTail, NULL, newElement); }

    // The other list may be this one: only its original nodes are visited.
    void AddHeadList(NODE* pOtherTail, int nOtherCount)
    {
        for (NODE* pNode = pOtherTail; nOtherCount-- > 0;) {
            NODE* pPrev = pNode->pPrev;
            AddHead<const T&>(pNode->data);
            pNode = pPrev;
        }
    }

    void AddTailList(NODE* pOtherHead, int nOtherCount)
    {
        for (NODE* pNode = pOtherHead; nOtherCount-- > 0;) {
            NODE* pNext = pNode->pNext;
            AddTail<const T&>(pNode->data);
            pNode = pNext;
        }
    }

    T RemoveHead() { return Take(pHead); }
    T RemoveTail() { return Take(pTail); }
    void RemoveAt(POSITION position) { Unlink(_AfxCheckNode((NODE*)position)); }

    // A NULL position inserts at the head (before) or the tail (after).
    template<class ARG>
    POSITION InsertBefore(POSITION position, ARG newElement)
    {
        if (position == NULL)
            return AddHead<ARG>(newElement);
        NODE* pOldNode = _AfxCheckNode((NODE*)position);
        return Link<ARG>(pOldNode->pPrev, pOldNode, newElement);
    }

    template<class ARG>
    POSITION InsertAfter(POSITION position, ARG newElement)
    {
        if (position == NULL)
            return AddTail<ARG>(newElement);
        NODE* pOldNode = _AfxCheckNode((NODE*)position);
        return Link<ARG>(pOldNode, pOldNode->pNext, newElement);
    }

    template<class ARG>
    POSITION Find(ARG searchValue, POSITION startAfter) const
    {
        NODE* pNode = startAfter != NULL ? _AfxCheckNode((NODE*)startAfter)->pNext : pHead;
        for (; pNode != NULL; pNode = pNode->pNext) {
            if (OPS::template Equal<ARG>(pNode->data, searchValue))
                return (POSITION)pNode;
        }
        return NULL;
    }

    POSITION FindIndex(int nIndex) const
    {
        if (nIndex < 0 || nIndex >= nCount)
            return NULL;
        NODE* pNode = pHead;
        while (nIndex-- > 0)
            pNode = pNode->pNext;
        return (POSITION)pNode;
    }

    // Loading appends to what the list holds.
    void Serialize(CArchive& ar)
    {
        if (ar.IsStoring()) {
            ar.WriteCount((DWORD)nCount);
            for (NODE* pNode = pHead; pNode != NULL; pNode = pNode->pNext)
                OPS::Serialize(ar, &pNode->data, 1);
        }
        else {
            for (DWORD_PTR nNewCount = ar.ReadCount(); nNewCount > 0; nNewCount--) {
                T newData;
                OPS::Serialize(ar, &newData, 1);
                AddTail<const T&>(newData);
            }
        }
    }

private:
    // A new node with newElement between pPrev and pNext (NULL: the list's end). A
    // node taken but not linked yet goes back when assigning its value fails.
    template<class ARG>
    POSITION Link(NODE* pPrev, NODE* pNext, ARG newElement)
    {
        NODE* pNode = NewNode(pPrev, pNext);
        try {
            pNode->data = newElement;
        }
        catch (...) {
            FreeNode(pNode);
            throw;
        }
        if (pPrev != NULL)
            pPrev->pNext = pNode;
        else
            pHead = pNode;
        if (pNext != NULL)
            pNext->pPrev = pNode;
        else
            pTail = pNode;
        return (POSITION)pNode;
    }

    T Take(NODE* pNode)
    {
        T returnValue = _AfxCheckNode(pNode)->data;
        Unlink(pNode);
        return returnValue;
    }

    void Unlink(NODE* pOldNode)
    {
        if (pOldNode == pHead)
            pHead = pOldNode->pNext;
        else
            pOldNode->pPrev->pNext = pOldNode->pNext;
        if (pOldNode == pTail)
            pTail = pOldNode->pPrev;
        else
            pOldNode->pNext->pPrev = pOldNode->pPrev;
        FreeNode(pOldNode);
    }
};

/////////////////////////////////////////////////////////////////////////////
// Maps: a fixed number of buckets (17 until InitHashTable), each a chain of
// associations from CPlex blocks; an association keeps the full hash of its key.

template<class ASSOC, class KOPS, class VOPS>
struct MapCore
{
    typedef typename KOPS::Type K;
    typedef typename VOPS::Type V;

    ASSOC**& pHashTable;
    UINT& nHashTableSize;
    int& nCount;
    ASSOC*& pFreeList;
    CPlex*& pBlocks;
    int& nBlockSize;

    MapCore(ASSOC** const& hashTable, const UINT& hashTableSize, const int& count,
            ASSOC* const& freeList, CPlex* const& blocks, const int& blockSize)
        : pHashTable(const_cast<ASSOC**&>(hashTable)), nHashTableSize(const_cast<UINT&>(hashTableSize)),
          nCount(const_cast<int&>(count)), pFreeList(const_cast<ASSOC*&>(freeList)),
          pBlocks(const_cast<CPlex*&>(blocks)), nBlockSize(const_cast<int&>(blockSize)) {}

    void Init(int nNewBlockSize)
    {
        pHashTable = NULL;
        nHashTableSize = 17;
        nCount = 0;
        pFreeList = NULL;
        pBlocks = NULL;
        nBlockSize = BlockSize(nNewBlockSize);
    }

    // A size of 0 is ignored; associations already in the map are rehashed.
    void InitHashTable(UINT nHashSize, BOOL bAllocNow)
    {
        if (nHashSize == 0)
            return;
        ASSOC** pNewTable = NULL;
        if (bAllocNow || nCount > 0) {
            pNewTable = (ASSOC**)calloc(nHashSize, sizeof(ASSOC*));
            if (pNewTable == NULL)
                AfxThrowMemoryException();
        }
        if (pHashTable != NULL) {
            for (UINT nBucket = 0; nBucket < nHashTableSize; nBucket++) {
                for (ASSOC* pAssoc = pHashTable[nBucket]; pAssoc != NULL;) {
                    ASSOC* pNext = pAssoc->pNext;
                    UINT nNewBucket = pAssoc->nHashValue % nHashSize;
                    pAssoc->pNext = pNewTable[nNewBucket];
                    pNewTable[nNewBucket] = pAssoc;
                    pAssoc = pNext;
                }
            }
            free(pHashTable);
        }
        pHashTable = pNewTable;
        nHashTableSize = nHashSize;
    }

    // The table size stays.
    void RemoveAll()
    {
        if (pHashTable != NULL) {
            for (UINT nBucket = 0; nBucket < nHashTableSize; nBucket++) {
                for (ASSOC* pAssoc = pHashTable[nBucket]; pAssoc != NULL; pAssoc = pAssoc->pNext) {
                    KOPS::Destruct(&pAssoc->key, 1);
                    VOPS::Destruct(&pAssoc->value, 1);
                }
            }
            free(pHashTable);
            pHashTable = NULL;
        }
        nCount = 0;
        pFreeList = NULL;
        if (pBlocks != NULL)
            pBlocks->FreeDataChain();
        pBlocks = NULL;
    }

    ASSOC* NewAssoc()
    {
        ASSOC* pAssoc = TakeFree(pFreeList, pBlocks, nBlockSize);
        KOPS::Construct(&pAssoc->key, 1);
        try {
            VOPS::Construct(&pAssoc->value, 1);
        }
        catch (...) {
            KOPS::Destruct(&pAssoc->key, 1);
            throw;
        }
        pFreeList = pAssoc->pNext;
        nCount++;
        return pAssoc;
    }

    void FreeAssoc(ASSOC* pAssoc)
    {
        KOPS::Destruct(&pAssoc->key, 1);
        VOPS::Destruct(&pAssoc->value, 1);
        pAssoc->pNext = pFreeList;
        pFreeList = pAssoc;
        nCount--;
        if (nCount == 0)
            RemoveAll();
    }

    // The association of key, or NULL; nHash is the key's hash either way.
    template<class ARG>
    ASSOC* GetAssocAt(ARG key, UINT& nHash) const
    {
        nHash = KOPS::template Hash<ARG>(key);
        if (pHashTable == NULL)
            return NULL;
        for (ASSOC* pAssoc = pHashTable[nHash % nHashTableSize]; pAssoc != NULL; pAssoc = pAssoc->pNext) {
            if (pAssoc->nHashValue == nHash && KOPS::template Equal<ARG>(pAssoc->key, key))
                return pAssoc;
        }
        return NULL;
    }

    // rValue stays as it is when the key is not in the map.
    template<class ARG>
    BOOL Lookup(ARG key, V& rValue) const
    {
        UINT nHash;
        ASSOC* pAssoc = GetAssocAt<ARG>(key, nHash);
        if (pAssoc == NULL)
            return FALSE;
        rValue = pAssoc->value;
        return TRUE;
    }

    // The association of key, created with a default value when the key is new.
    template<class ARG>
    ASSOC* FindOrAdd(ARG key)
    {
        UINT nHash;
        ASSOC* pAssoc = GetAssocAt<ARG>(key, nHash);
        if (pAssoc != NULL)
            return pAssoc;
        if (pHashTable == NULL)
            InitHashTable(nHashTableSize, TRUE);
        pAssoc = NewAssoc();
        try {
            pAssoc->key = key;
        }
        catch (...) {
            FreeAssoc(pAssoc);
            throw;
        }
        pAssoc->nHashValue = nHash;
        UINT nBucket = nHash % nHashTableSize;
        pAssoc->pNext = pHashTable[nBucket];
        pHashTable[nBucket] = pAssoc;
        return pAssoc;
    }

    template<class ARG>
    BOOL RemoveKey(ARG key)
    {
        if (pHashTable == NULL)
            return FALSE;
        UINT nHash = KOPS::template Hash<ARG>(key);
        for (ASSOC** ppAssoc = &pHashTable[nHash % nHashTableSize]; *ppAssoc != NULL;
             ppAssoc = &(*ppAssoc)->pNext) {
            ASSOC* pAssoc = *ppAssoc;
            if (pAssoc->nHashValue == nHash && KOPS::template Equal<ARG>(pAssoc->key, key)) {
                *ppAssoc = pAssoc->pNext;
                FreeAssoc(pAssoc);
                return TRUE;
            }
        }
        return FALSE;
    }

    // Bucket by bucket; rNextPosition moves on to the following association, or to
    // NULL after the last.
    void GetNextAssoc(POSITION& rNextPosition, K& rKey, V& rValue) const
    {
        ASSOC* pAssoc = Next(rNextPosition);
        rKey = pAssoc->key;
        rValue = pAssoc->value;
    }

    // Each association as its key followed by its value, in iteration order;
    // loading adds to what the map holds.
    template<class ARG>
    void Serialize(CArchive& ar)
    {
        if (ar.IsStoring()) {
            ar.WriteCount((DWORD)nCount);
            for (POSITION pos = nCount != 0 ? BEFORE_START_POSITION : NULL; pos != NULL;) {
                ASSOC* pAssoc = Next(pos);
                KOPS::Serialize(ar, &pAssoc->key, 1);
                VOPS::Serialize(ar, &pAssoc->value, 1);
            }
        }
        else {
            for (DWORD_PTR nNewCount = ar.ReadCount(); nNewCount > 0; nNewCount--) {
                K newKey;
                V newValue;
                KOPS::Serialize(ar, &newKey, 1);
                VOPS::Serialize(ar, &newValue, 1);
                FindOrAdd<ARG>(newKey)->value = newValue;
            }
        }
    }

private:
    ASSOC* Next(POSITION& rNextPosition) const
    {
        ASSOC* pAssocRet = (ASSOC*)rNextPosition;
        if (pAssocRet == NULL || pHashTable == NULL)
            AfxThrowNotSupportedException();
        if (pAssocRet == (ASSOC*)BEFORE_START_POSITION) {
            pAssocRet = NULL;
            for (UINT nBucket = 0; nBucket < nHashTableSize && pAssocRet == NULL; nBucket++)
                pAssocRet = pHashTable[nBucket];
            if (pAssocRet == NULL)
                AfxThrowNotSupportedException();
        }
        ASSOC* pAssocNext = pAssocRet->pNext;
        for (UINT nBucket = pAssocRet->nHashValue % nHashTableSize + 1;
             pAssocNext == NULL && nBucket < nHashTableSize; nBucket++)
            pAssocNext = pHashTable[nBucket];
        rNextPosition = (POSITION)pAssocNext;
        return pAssocRet;
    }
};

} // namespace _AfxColl
