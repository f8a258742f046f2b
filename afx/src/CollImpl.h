// CollImpl.h - the code the non-template collections share: every array, list and
// map class hands its members to these templates, which differ only in how an
// element is created, destroyed, moved, hashed and compared.
// Not part of the public headers.
#pragma once

#include "afxcoll.h"

#include <stdint.h>

namespace afxcoll {

/////////////////////////////////////////////////////////////////////////////
// Storage. malloc/free rather than new: the element constructors are run by the
// element policies, and a failure must be a CMemoryException.

inline void* Allocate(size_t nCount, size_t cbElement)
{
    if (cbElement != 0 && nCount > SIZE_MAX / cbElement)
        AfxThrowMemoryException();
    void* p = malloc(nCount * cbElement != 0 ? nCount * cbElement : 1);
    if (p == NULL)
        AfxThrowMemoryException();
    return p;
}

/////////////////////////////////////////////////////////////////////////////
// Element policies

// Plain values and pointers: new elements are zero, moves are bitwise.
template<class T>
struct PodOps
{
    static void Construct(T* p, int n) { if (n > 0) memset((void*)p, 0, n * sizeof(T)); }
    static void Destruct(T*, int) {}
    static void Relocate(T* pDest, T* pSrc, int n) { if (n > 0) memmove((void*)pDest, (void*)pSrc, n * sizeof(T)); }
};

// CString is one pointer to its shared buffer, so it moves bitwise like a pointer; a
// buffer obtained with GetBuffer or LockBuffer stays where it is while the array grows.
struct StringOps
{
    static void Construct(CString* p, int n)
    {
        for (; n > 0; --n, ++p)
            ::new((void*)p) CString;
    }
    static void Destruct(CString* p, int n)
    {
        for (; n > 0; --n, ++p)
            p->~CString();
    }
    static void Relocate(CString* pDest, CString* pSrc, int n)
    {
        if (n > 0)
            memmove((void*)pDest, (void*)pSrc, n * sizeof(CString));
    }
};

// Keys: MFC's hash functions and the matching equality.
struct PtrKey
{
    static UINT Hash(void* key) { return (UINT)((UINT_PTR)key >> 4); }
    static bool Equal(void* a, void* b) { return a == b; }
};
struct WordKey
{
    static UINT Hash(WORD key) { return ((UINT)key) >> 4; }
    static bool Equal(WORD a, WORD b) { return a == b; }
};
struct StringKey
{
    // A NULL key is the empty string, as CString treats NULL.
    static LPCTSTR Safe(LPCTSTR key) { return key != NULL ? key : _T(""); }
    static UINT Hash(LPCTSTR key)
    {
        UINT nHash = 0;
        for (key = Safe(key); *key != 0; ++key)
            nHash = (nHash << 5) + nHash + (UINT)*key;
        return nHash;
    }
    static bool Equal(const CString& a, LPCTSTR b) { return wcscmp(a, Safe(b)) == 0; }
};

/////////////////////////////////////////////////////////////////////////////
// Arrays

template<class T, class OPS>
struct ArrayCore
{
    T*& pData;
    int& nSize;
    int& nMaxSize;
    int& nGrowBy;

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
        }
        else if (pData == NULL) {
            // The first allocation is exactly the size asked for.
            pData = (T*)Allocate((size_t)nNewSize, sizeof(T));
            OPS::Construct(pData, nNewSize);
            nSize = nMaxSize = nNewSize;
        }
        else if (nNewSize <= nMaxSize) {
            if (nNewSize > nSize)
                OPS::Construct(pData + nSize, nNewSize - nSize);
            else if (nNewSize < nSize)
                OPS::Destruct(pData + nNewSize, nSize - nNewSize);
            nSize = nNewSize;
        }
        else {
            int nStep = nGrowBy;
            if (nStep == 0) {
                // Grow by an eighth, so that adding one at a time stays linear, but
                // by no less than 4 and no more than 1024 elements.
                nStep = nSize / 8;
                nStep = nStep < 4 ? 4 : (nStep > 1024 ? 1024 : nStep);
            }
            LONGLONG nNewMax = (LONGLONG)nMaxSize + nStep;
            if (nNewMax < nNewSize)
                nNewMax = nNewSize;
            if (nNewMax > INT_MAX)
                nNewMax = INT_MAX;
            T* pNewData = (T*)Allocate((size_t)nNewMax, sizeof(T));
            OPS::Relocate(pNewData, pData, nSize);
            OPS::Construct(pNewData + nSize, nNewSize - nSize);
            free(pData);
            pData = pNewData;
            nSize = nNewSize;
            nMaxSize = (int)nNewMax;
        }
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

    // Makes room for index nIndex; the caller assigns the element.
    void GrowFor(int nIndex)
    {
        if (nIndex < 0 || nIndex == INT_MAX)
            AfxThrowNotSupportedException();
        if (nIndex >= nSize)
            SetSize(nIndex + 1, -1);
    }

    // Makes room for nCount default elements at nIndex (past the end the array grows
    // up to nIndex + nCount); returns FALSE when there is nothing to insert.
    BOOL OpenGap(int nIndex, int nCount)
    {
        if (nIndex < 0 || nCount < 0 || nCount > INT_MAX - nIndex
            || (nIndex < nSize && nCount > INT_MAX - nSize))
            AfxThrowNotSupportedException();
        if (nCount == 0)
            return FALSE;
        if (nIndex >= nSize) {
            SetSize(nIndex + nCount, -1);
        }
        else {
            int nOldSize = nSize;
            SetSize(nSize + nCount, -1);
            // Shift the tail up over the new default elements and re-create the
            // default elements in the gap.
            OPS::Destruct(pData + nOldSize, nCount);
            OPS::Relocate(pData + nIndex + nCount, pData + nIndex, nOldSize - nIndex);
            OPS::Construct(pData + nIndex, nCount);
        }
        return TRUE;
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

    // Copy and Append of another array (which may be this one).
    void Copy(const T* pSrc, int nSrcSize)
    {
        if (pSrc == pData)
            return;
        SetSize(nSrcSize, -1);
        for (int i = 0; i < nSrcSize; i++)
            pData[i] = pSrc[i];
    }

    int Append(T* const& pSrc, const int& nSrcSize)
    {
        // pSrc and nSrcSize are references to the other array's members (no
        // conversion may come between, or they would bind to copies): they are read
        // again after SetSize, which moves this array's (possibly the same) data.
        int nOldSize = nSize;
        int nAdd = nSrcSize;
        if (nAdd > INT_MAX - nOldSize)
            AfxThrowMemoryException();
        SetSize(nOldSize + nAdd, -1);
        for (int i = 0; i < nAdd; i++)
            pData[nOldSize + i] = pSrc[i];
        return nOldSize;
    }
};

/////////////////////////////////////////////////////////////////////////////
// Lists

template<class NODE, class T, class OPS>
struct ListCore
{
    NODE*& pHead;
    NODE*& pTail;
    int& nCount;
    NODE*& pFree;
    CPlex*& pBlocks;
    int& nBlockSize;

    NODE* NewNode(NODE* pPrev, NODE* pNext)
    {
        if (pFree == NULL) {
            CPlex* pNewBlock = CPlex::Create(pBlocks, (UINT)nBlockSize, sizeof(NODE));
            // Chain the block's nodes so that they are used from the first one on.
            NODE* pNode = (NODE*)pNewBlock->data() + nBlockSize - 1;
            for (int i = nBlockSize - 1; i >= 0; i--, pNode--) {
                pNode->pNext = pFree;
                pFree = pNode;
            }
        }
        NODE* pNode = pFree;
        pFree = pFree->pNext;
        pNode->pPrev = pPrev;
        pNode->pNext = pNext;
        nCount++;
        OPS::Construct(&pNode->data, 1);
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

    // A node taken but not linked yet goes back when assigning its value fails.
    template<class ARG>
    NODE* NewNodeWith(NODE* pPrev, NODE* pNext, ARG newElement)
    {
        NODE* pNode = NewNode(pPrev, pNext);
        try {
            pNode->data = newElement;
        }
        catch (...) {
            FreeNode(pNode);
            throw;
        }
        return pNode;
    }

    template<class ARG>
    POSITION AddHead(ARG newElement)
    {
        NODE* pNode = NewNodeWith(NULL, pHead, newElement);
        if (pHead != NULL)
            pHead->pPrev = pNode;
        else
            pTail = pNode;
        pHead = pNode;
        return (POSITION)pNode;
    }

    template<class ARG>
    POSITION AddTail(ARG newElement)
    {
        NODE* pNode = NewNodeWith(pTail, NULL, newElement);
        if (pTail != NULL)
            pTail->pNext = pNode;
        else
            pHead = pNode;
        pTail = pNode;
        return (POSITION)pNode;
    }

    // The other list may be this one: only its original nodes are visited.
    void AddHeadList(NODE* pOtherTail, int nOtherCount)
    {
        NODE* pNode = pOtherTail;
        for (int i = 0; i < nOtherCount; i++) {
            NODE* pPrev = pNode->pPrev;
            AddHead<const T&>(pNode->data);
            pNode = pPrev;
        }
    }

    void AddTailList(NODE* pOtherHead, int nOtherCount)
    {
        NODE* pNode = pOtherHead;
        for (int i = 0; i < nOtherCount; i++) {
            NODE* pNext = pNode->pNext;
            AddTail<const T&>(pNode->data);
            pNode = pNext;
        }
    }

    T RemoveHead()
    {
        NODE* pOldNode = _AfxCheckNode(pHead);
        T returnValue = pOldNode->data;
        pHead = pOldNode->pNext;
        if (pHead != NULL)
            pHead->pPrev = NULL;
        else
            pTail = NULL;
        FreeNode(pOldNode);
        return returnValue;
    }

    T RemoveTail()
    {
        NODE* pOldNode = _AfxCheckNode(pTail);
        T returnValue = pOldNode->data;
        pTail = pOldNode->pPrev;
        if (pTail != NULL)
            pTail->pNext = NULL;
        else
            pHead = NULL;
        FreeNode(pOldNode);
        return returnValue;
    }

    template<class ARG>
    POSITION InsertBefore(POSITION position, ARG newElement)
    {
        if (position == NULL)
            return AddHead<ARG>(newElement);
        NODE* pOldNode = _AfxCheckNode((NODE*)position);
        NODE* pNewNode = NewNodeWith(pOldNode->pPrev, pOldNode, newElement);
        if (pOldNode->pPrev != NULL)
            pOldNode->pPrev->pNext = pNewNode;
        else
            pHead = pNewNode;
        pOldNode->pPrev = pNewNode;
        return (POSITION)pNewNode;
    }

    template<class ARG>
    POSITION InsertAfter(POSITION position, ARG newElement)
    {
        if (position == NULL)
            return AddTail<ARG>(newElement);
        NODE* pOldNode = _AfxCheckNode((NODE*)position);
        NODE* pNewNode = NewNodeWith(pOldNode, pOldNode->pNext, newElement);
        if (pOldNode->pNext != NULL)
            pOldNode->pNext->pPrev = pNewNode;
        else
            pTail = pNewNode;
        pOldNode->pNext = pNewNode;
        return (POSITION)pNewNode;
    }

    void RemoveAt(POSITION position)
    {
        NODE* pOldNode = _AfxCheckNode((NODE*)position);
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

    template<class ARG, class EQUAL>
    POSITION Find(ARG searchValue, POSITION startAfter, EQUAL equal) const
    {
        NODE* pNode = pHead;
        if (startAfter != NULL)
            pNode = _AfxCheckNode((NODE*)startAfter)->pNext;
        for (; pNode != NULL; pNode = pNode->pNext) {
            if (equal(pNode->data, searchValue))
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
};

/////////////////////////////////////////////////////////////////////////////
// Maps

template<class ASSOC, class KEY, class KOPS, class VOPS>
struct MapCore
{
    ASSOC**& pHashTable;
    UINT& nHashTableSize;
    int& nCount;
    ASSOC*& pFreeList;
    CPlex*& pBlocks;
    int& nBlockSize;

    void InitHashTable(UINT nHashSize, BOOL bAllocNow)
    {
        // A table of no buckets cannot hold anything: keep the current one.
        if (nHashSize == 0)
            return;
        ASSOC** pNewTable = NULL;
        if (bAllocNow || nCount > 0)
            pNewTable = (ASSOC**)calloc(nHashSize, sizeof(ASSOC*));
        if ((bAllocNow || nCount > 0) && pNewTable == NULL)
            AfxThrowMemoryException();
        if (pHashTable != NULL) {
            // A table that already holds associations is rehashed rather than lost.
            for (UINT nBucket = 0; nBucket < nHashTableSize; nBucket++) {
                ASSOC* pAssoc = pHashTable[nBucket];
                while (pAssoc != NULL) {
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
        if (pFreeList == NULL) {
            CPlex* pNewBlock = CPlex::Create(pBlocks, (UINT)nBlockSize, sizeof(ASSOC));
            ASSOC* pAssoc = (ASSOC*)pNewBlock->data() + nBlockSize - 1;
            for (int i = nBlockSize - 1; i >= 0; i--, pAssoc--) {
                pAssoc->pNext = pFreeList;
                pFreeList = pAssoc;
            }
        }
        ASSOC* pAssoc = pFreeList;
        pFreeList = pFreeList->pNext;
        nCount++;
        KOPS::Construct(&pAssoc->key, 1);
        VOPS::Construct(&pAssoc->value, 1);
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

    template<class ARGKEY>
    ASSOC* GetAssocAt(ARGKEY key, UINT nHash) const
    {
        if (pHashTable == NULL)
            return NULL;
        for (ASSOC* pAssoc = pHashTable[nHash % nHashTableSize]; pAssoc != NULL; pAssoc = pAssoc->pNext) {
            if (pAssoc->nHashValue == nHash && KEY::Equal(pAssoc->key, key))
                return pAssoc;
        }
        return NULL;
    }

    template<class ARGKEY>
    ASSOC* Lookup(ARGKEY key) const
    {
        return GetAssocAt<ARGKEY>(key, KEY::Hash(key));
    }

    // The association of key, created with default key and value when it is new.
    template<class ARGKEY>
    ASSOC* FindOrAdd(ARGKEY key)
    {
        UINT nHash = KEY::Hash(key);
        ASSOC* pAssoc = GetAssocAt<ARGKEY>(key, nHash);
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

    template<class ARGKEY>
    BOOL RemoveKey(ARGKEY key)
    {
        if (pHashTable == NULL)
            return FALSE;
        UINT nHash = KEY::Hash(key);
        ASSOC** ppAssocPrev = &pHashTable[nHash % nHashTableSize];
        for (ASSOC* pAssoc = *ppAssocPrev; pAssoc != NULL; pAssoc = pAssoc->pNext) {
            if (pAssoc->nHashValue == nHash && KEY::Equal(pAssoc->key, key)) {
                *ppAssocPrev = pAssoc->pNext;
                FreeAssoc(pAssoc);
                return TRUE;
            }
            ppAssocPrev = &pAssoc->pNext;
        }
        return FALSE;
    }

    // The association at rNextPosition; rNextPosition moves on to the following one
    // (bucket by bucket), or to NULL after the last.
    ASSOC* GetNext(POSITION& rNextPosition) const
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
        if (pAssocNext == NULL) {
            for (UINT nBucket = pAssocRet->nHashValue % nHashTableSize + 1;
                 nBucket < nHashTableSize; nBucket++) {
                if ((pAssocNext = pHashTable[nBucket]) != NULL)
                    break;
            }
        }
        rNextPosition = (POSITION)pAssocNext;
        return pAssocRet;
    }
};

} // namespace afxcoll
