// afxcoll.h - the framework's non-template collections.
//
//   Arrays  CByteArray CWordArray CDWordArray CUIntArray CPtrArray CObArray CStringArray
//   Lists   CPtrList CObList CStringList
//   Maps    CMapWordToPtr CMapPtrToWord CMapPtrToPtr CMapWordToOb
//           CMapStringToPtr CMapStringToOb CMapStringToString
//
// Arrays grow by SetSize's nGrowBy or, while it is 0, by a eighth of their size
// (at least 4, at most 1024 elements). Lists and maps take their nodes from blocks
// of nBlockSize nodes. Maps have a fixed number of buckets (17 by default) that
// only InitHashTable changes.
//
// An index outside the array, or a NULL position handed to a list, throws
// CNotSupportedException instead of touching memory that is not the collection's.
// Collections of pointers never own what the pointers point to.
#pragma once

#include "afx.h"
#include "afxplex_.h"

// The friend extraction operators of DECLARE_SERIAL belong to the framework DLL.
#pragma push_macro("AFX_API")
#undef AFX_API
#define AFX_API AFX_CORE_API

// Range checks shared by the collections (and the templates of afxtempl.h).
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
// CByteArray

class AFX_CORE_CLASS CByteArray : public CObject
{
    DECLARE_SERIAL(CByteArray)
public:
// Construction
    CByteArray();

// Attributes
    int GetSize() const { return m_nSize; }
    int GetUpperBound() const { return m_nSize - 1; }
    void SetSize(int nNewSize, int nGrowBy = -1);

// Operations
    // Clean up
    void FreeExtra();
    void RemoveAll() { SetSize(0); }

    // Accessing elements
    BYTE GetAt(int nIndex) const { _AfxCheckIndex(nIndex, m_nSize); return m_pData[nIndex]; }
    void SetAt(int nIndex, BYTE newElement) { _AfxCheckIndex(nIndex, m_nSize); m_pData[nIndex] = newElement; }
    BYTE& ElementAt(int nIndex) { _AfxCheckIndex(nIndex, m_nSize); return m_pData[nIndex]; }

    // Direct access to the elements (NULL while the array has no storage)
    const BYTE* GetData() const { return (const BYTE*)m_pData; }
    BYTE* GetData() { return m_pData; }

    // Potentially growing the array
    void SetAtGrow(int nIndex, BYTE newElement);
    int Add(BYTE newElement) { int nIndex = m_nSize; SetAtGrow(nIndex, newElement); return nIndex; }
    int Append(const CByteArray& src);
    void Copy(const CByteArray& src);

    // Overloaded operator helpers
    BYTE operator[](int nIndex) const { return GetAt(nIndex); }
    BYTE& operator[](int nIndex) { return ElementAt(nIndex); }

    // Operations that move elements around
    void InsertAt(int nIndex, BYTE newElement, int nCount = 1);
    void RemoveAt(int nIndex, int nCount = 1);
    void InsertAt(int nStartIndex, CByteArray* pNewArray);

// Implementation
protected:
    BYTE* m_pData; // the elements
    int m_nSize; // elements in use
    int m_nMaxSize; // elements allocated
    int m_nGrowBy; // growth step, 0 for the automatic one

public:
    ~CByteArray();
    void Serialize(CArchive& ar);

protected:
    // For CTypedPtrArray and friends
    typedef BYTE BASE_TYPE;
    typedef BYTE BASE_ARG_TYPE;
};

/////////////////////////////////////////////////////////////////////////////
// CWordArray

class AFX_CORE_CLASS CWordArray : public CObject
{
    DECLARE_SERIAL(CWordArray)
public:
// Construction
    CWordArray();

// Attributes
    int GetSize() const { return m_nSize; }
    int GetUpperBound() const { return m_nSize - 1; }
    void SetSize(int nNewSize, int nGrowBy = -1);

// Operations
    // Clean up
    void FreeExtra();
    void RemoveAll() { SetSize(0); }

    // Accessing elements
    WORD GetAt(int nIndex) const { _AfxCheckIndex(nIndex, m_nSize); return m_pData[nIndex]; }
    void SetAt(int nIndex, WORD newElement) { _AfxCheckIndex(nIndex, m_nSize); m_pData[nIndex] = newElement; }
    WORD& ElementAt(int nIndex) { _AfxCheckIndex(nIndex, m_nSize); return m_pData[nIndex]; }

    // Direct access to the elements (NULL while the array has no storage)
    const WORD* GetData() const { return (const WORD*)m_pData; }
    WORD* GetData() { return m_pData; }

    // Potentially growing the array
    void SetAtGrow(int nIndex, WORD newElement);
    int Add(WORD newElement) { int nIndex = m_nSize; SetAtGrow(nIndex, newElement); return nIndex; }
    int Append(const CWordArray& src);
    void Copy(const CWordArray& src);

    // Overloaded operator helpers
    WORD operator[](int nIndex) const { return GetAt(nIndex); }
    WORD& operator[](int nIndex) { return ElementAt(nIndex); }

    // Operations that move elements around
    void InsertAt(int nIndex, WORD newElement, int nCount = 1);
    void RemoveAt(int nIndex, int nCount = 1);
    void InsertAt(int nStartIndex, CWordArray* pNewArray);

// Implementation
protected:
    WORD* m_pData; // the elements
    int m_nSize; // elements in use
    int m_nMaxSize; // elements allocated
    int m_nGrowBy; // growth step, 0 for the automatic one

public:
    ~CWordArray();
    void Serialize(CArchive& ar);

protected:
    // For CTypedPtrArray and friends
    typedef WORD BASE_TYPE;
    typedef WORD BASE_ARG_TYPE;
};

/////////////////////////////////////////////////////////////////////////////
// CDWordArray

class AFX_CORE_CLASS CDWordArray : public CObject
{
    DECLARE_SERIAL(CDWordArray)
public:
// Construction
    CDWordArray();

// Attributes
    int GetSize() const { return m_nSize; }
    int GetUpperBound() const { return m_nSize - 1; }
    void SetSize(int nNewSize, int nGrowBy = -1);

// Operations
    // Clean up
    void FreeExtra();
    void RemoveAll() { SetSize(0); }

    // Accessing elements
    DWORD GetAt(int nIndex) const { _AfxCheckIndex(nIndex, m_nSize); return m_pData[nIndex]; }
    void SetAt(int nIndex, DWORD newElement) { _AfxCheckIndex(nIndex, m_nSize); m_pData[nIndex] = newElement; }
    DWORD& ElementAt(int nIndex) { _AfxCheckIndex(nIndex, m_nSize); return m_pData[nIndex]; }

    // Direct access to the elements (NULL while the array has no storage)
    const DWORD* GetData() const { return (const DWORD*)m_pData; }
    DWORD* GetData() { return m_pData; }

    // Potentially growing the array
    void SetAtGrow(int nIndex, DWORD newElement);
    int Add(DWORD newElement) { int nIndex = m_nSize; SetAtGrow(nIndex, newElement); return nIndex; }
    int Append(const CDWordArray& src);
    void Copy(const CDWordArray& src);

    // Overloaded operator helpers
    DWORD operator[](int nIndex) const { return GetAt(nIndex); }
    DWORD& operator[](int nIndex) { return ElementAt(nIndex); }

    // Operations that move elements around
    void InsertAt(int nIndex, DWORD newElement, int nCount = 1);
    void RemoveAt(int nIndex, int nCount = 1);
    void InsertAt(int nStartIndex, CDWordArray* pNewArray);

// Implementation
protected:
    DWORD* m_pData; // the elements
    int m_nSize; // elements in use
    int m_nMaxSize; // elements allocated
    int m_nGrowBy; // growth step, 0 for the automatic one

public:
    ~CDWordArray();
    void Serialize(CArchive& ar);

protected:
    // For CTypedPtrArray and friends
    typedef DWORD BASE_TYPE;
    typedef DWORD BASE_ARG_TYPE;
};

/////////////////////////////////////////////////////////////////////////////
// CUIntArray

class AFX_CORE_CLASS CUIntArray : public CObject
{
    DECLARE_DYNAMIC(CUIntArray)
public:
// Construction
    CUIntArray();

// Attributes
    int GetSize() const { return m_nSize; }
    int GetUpperBound() const { return m_nSize - 1; }
    void SetSize(int nNewSize, int nGrowBy = -1);

// Operations
    // Clean up
    void FreeExtra();
    void RemoveAll() { SetSize(0); }

    // Accessing elements
    UINT GetAt(int nIndex) const { _AfxCheckIndex(nIndex, m_nSize); return m_pData[nIndex]; }
    void SetAt(int nIndex, UINT newElement) { _AfxCheckIndex(nIndex, m_nSize); m_pData[nIndex] = newElement; }
    UINT& ElementAt(int nIndex) { _AfxCheckIndex(nIndex, m_nSize); return m_pData[nIndex]; }

    // Direct access to the elements (NULL while the array has no storage)
    const UINT* GetData() const { return (const UINT*)m_pData; }
    UINT* GetData() { return m_pData; }

    // Potentially growing the array
    void SetAtGrow(int nIndex, UINT newElement);
    int Add(UINT newElement) { int nIndex = m_nSize; SetAtGrow(nIndex, newElement); return nIndex; }
    int Append(const CUIntArray& src);
    void Copy(const CUIntArray& src);

    // Overloaded operator helpers
    UINT operator[](int nIndex) const { return GetAt(nIndex); }
    UINT& operator[](int nIndex) { return ElementAt(nIndex); }

    // Operations that move elements around
    void InsertAt(int nIndex, UINT newElement, int nCount = 1);
    void RemoveAt(int nIndex, int nCount = 1);
    void InsertAt(int nStartIndex, CUIntArray* pNewArray);

// Implementation
protected:
    UINT* m_pData; // the elements
    int m_nSize; // elements in use
    int m_nMaxSize; // elements allocated
    int m_nGrowBy; // growth step, 0 for the automatic one

public:
    ~CUIntArray();

protected:
    // For CTypedPtrArray and friends
    typedef UINT BASE_TYPE;
    typedef UINT BASE_ARG_TYPE;
};

/////////////////////////////////////////////////////////////////////////////
// CPtrArray

class AFX_CORE_CLASS CPtrArray : public CObject
{
    DECLARE_DYNAMIC(CPtrArray)
public:
// Construction
    CPtrArray();

// Attributes
    int GetSize() const { return m_nSize; }
    int GetUpperBound() const { return m_nSize - 1; }
    void SetSize(int nNewSize, int nGrowBy = -1);

// Operations
    // Clean up
    void FreeExtra();
    void RemoveAll() { SetSize(0); }

    // Accessing elements
    void* GetAt(int nIndex) const { _AfxCheckIndex(nIndex, m_nSize); return m_pData[nIndex]; }
    void SetAt(int nIndex, void* newElement) { _AfxCheckIndex(nIndex, m_nSize); m_pData[nIndex] = newElement; }
    void*& ElementAt(int nIndex) { _AfxCheckIndex(nIndex, m_nSize); return m_pData[nIndex]; }

    // Direct access to the elements (NULL while the array has no storage)
    const void** GetData() const { return (const void**)m_pData; }
    void** GetData() { return m_pData; }

    // Potentially growing the array
    void SetAtGrow(int nIndex, void* newElement);
    int Add(void* newElement) { int nIndex = m_nSize; SetAtGrow(nIndex, newElement); return nIndex; }
    int Append(const CPtrArray& src);
    void Copy(const CPtrArray& src);

    // Overloaded operator helpers
    void* operator[](int nIndex) const { return GetAt(nIndex); }
    void*& operator[](int nIndex) { return ElementAt(nIndex); }

    // Operations that move elements around
    void InsertAt(int nIndex, void* newElement, int nCount = 1);
    void RemoveAt(int nIndex, int nCount = 1);
    void InsertAt(int nStartIndex, CPtrArray* pNewArray);

// Implementation
protected:
    void** m_pData; // the elements
    int m_nSize; // elements in use
    int m_nMaxSize; // elements allocated
    int m_nGrowBy; // growth step, 0 for the automatic one

public:
    ~CPtrArray();

protected:
    // For CTypedPtrArray and friends
    typedef void* BASE_TYPE;
    typedef void* BASE_ARG_TYPE;
};

/////////////////////////////////////////////////////////////////////////////
// CObArray

class AFX_CORE_CLASS CObArray : public CObject
{
    DECLARE_SERIAL(CObArray)
public:
// Construction
    CObArray();

// Attributes
    int GetSize() const { return m_nSize; }
    int GetUpperBound() const { return m_nSize - 1; }
    void SetSize(int nNewSize, int nGrowBy = -1);

// Operations
    // Clean up
    void FreeExtra();
    void RemoveAll() { SetSize(0); }

    // Accessing elements
    CObject* GetAt(int nIndex) const { _AfxCheckIndex(nIndex, m_nSize); return m_pData[nIndex]; }
    void SetAt(int nIndex, CObject* newElement) { _AfxCheckIndex(nIndex, m_nSize); m_pData[nIndex] = newElement; }
    CObject*& ElementAt(int nIndex) { _AfxCheckIndex(nIndex, m_nSize); return m_pData[nIndex]; }

    // Direct access to the elements (NULL while the array has no storage)
    const CObject** GetData() const { return (const CObject**)m_pData; }
    CObject** GetData() { return m_pData; }

    // Potentially growing the array
    void SetAtGrow(int nIndex, CObject* newElement);
    int Add(CObject* newElement) { int nIndex = m_nSize; SetAtGrow(nIndex, newElement); return nIndex; }
    int Append(const CObArray& src);
    void Copy(const CObArray& src);

    // Overloaded operator helpers
    CObject* operator[](int nIndex) const { return GetAt(nIndex); }
    CObject*& operator[](int nIndex) { return ElementAt(nIndex); }

    // Operations that move elements around
    void InsertAt(int nIndex, CObject* newElement, int nCount = 1);
    void RemoveAt(int nIndex, int nCount = 1);
    void InsertAt(int nStartIndex, CObArray* pNewArray);

// Implementation
protected:
    CObject** m_pData; // the elements
    int m_nSize; // elements in use
    int m_nMaxSize; // elements allocated
    int m_nGrowBy; // growth step, 0 for the automatic one

public:
    ~CObArray();
    void Serialize(CArchive& ar);

protected:
    // For CTypedPtrArray and friends
    typedef CObject* BASE_TYPE;
    typedef CObject* BASE_ARG_TYPE;
};

/////////////////////////////////////////////////////////////////////////////
// CStringArray

class AFX_CORE_CLASS CStringArray : public CObject
{
    DECLARE_SERIAL(CStringArray)
public:
// Construction
    CStringArray();

// Attributes
    int GetSize() const { return m_nSize; }
    int GetUpperBound() const { return m_nSize - 1; }
    void SetSize(int nNewSize, int nGrowBy = -1);

// Operations
    // Clean up
    void FreeExtra();
    void RemoveAll() { SetSize(0); }

    // Accessing elements
    CString GetAt(int nIndex) const { _AfxCheckIndex(nIndex, m_nSize); return m_pData[nIndex]; }
    void SetAt(int nIndex, LPCTSTR newElement) { _AfxCheckIndex(nIndex, m_nSize); m_pData[nIndex] = newElement; }
    void SetAt(int nIndex, const CString& newElement) { _AfxCheckIndex(nIndex, m_nSize); m_pData[nIndex] = newElement; }
    CString& ElementAt(int nIndex) { _AfxCheckIndex(nIndex, m_nSize); return m_pData[nIndex]; }

    // Direct access to the elements (NULL while the array has no storage)
    const CString* GetData() const { return (const CString*)m_pData; }
    CString* GetData() { return m_pData; }

    // Potentially growing the array; the new element may be one of the array's own
    void SetAtGrow(int nIndex, LPCTSTR newElement);
    void SetAtGrow(int nIndex, const CString& newElement);
    int Add(LPCTSTR newElement) { int nIndex = m_nSize; SetAtGrow(nIndex, newElement); return nIndex; }
    int Add(const CString& newElement) { int nIndex = m_nSize; SetAtGrow(nIndex, newElement); return nIndex; }
    int Append(const CStringArray& src);
    void Copy(const CStringArray& src);

    // Overloaded operator helpers
    CString operator[](int nIndex) const { return GetAt(nIndex); }
    CString& operator[](int nIndex) { return ElementAt(nIndex); }

    // Operations that move elements around
    void InsertAt(int nIndex, LPCTSTR newElement, int nCount = 1);
    void InsertAt(int nIndex, const CString& newElement, int nCount = 1);
    void RemoveAt(int nIndex, int nCount = 1);
    void InsertAt(int nStartIndex, CStringArray* pNewArray);

// Implementation
protected:
    CString* m_pData; // the elements
    int m_nSize; // elements in use
    int m_nMaxSize; // elements allocated (those past m_nSize are not constructed)
    int m_nGrowBy; // growth step, 0 for the automatic one

public:
    ~CStringArray();
    void Serialize(CArchive& ar);

protected:
    // For CTypedPtrArray and friends
    typedef CString BASE_TYPE;
    typedef LPCTSTR BASE_ARG_TYPE;
};

/////////////////////////////////////////////////////////////////////////////
// CPtrList

class AFX_CORE_CLASS CPtrList : public CObject
{
    DECLARE_DYNAMIC(CPtrList)

protected:
    struct CNode
    {
        CNode* pNext;
        CNode* pPrev;
        void* data;
    };

public:
// Construction
    CPtrList(int nBlockSize = 10);

// Attributes
    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // An empty list throws CNotSupportedException
    void*& GetHead() { return _AfxCheckNode(m_pNodeHead)->data; }
    void* GetHead() const { return _AfxCheckNode(m_pNodeHead)->data; }
    void*& GetTail() { return _AfxCheckNode(m_pNodeTail)->data; }
    void* GetTail() const { return _AfxCheckNode(m_pNodeTail)->data; }

// Operations
    // Remove the head or the tail and return it (an empty list throws CNotSupportedException)
    void* RemoveHead();
    void* RemoveTail();

    POSITION AddHead(void* newElement);
    POSITION AddTail(void* newElement);

    // Copies of another list's elements, in their order, before the head or after the tail
    void AddHead(CPtrList* pNewList);
    void AddTail(CPtrList* pNewList);

    void RemoveAll();

    // Iteration; NULL is the end, and NULL passed in throws CNotSupportedException
    POSITION GetHeadPosition() const { return (POSITION)m_pNodeHead; }
    POSITION GetTailPosition() const { return (POSITION)m_pNodeTail; }
    void*& GetNext(POSITION& rPosition)
        { CNode* pNode = _AfxCheckNode((CNode*)rPosition); rPosition = (POSITION)pNode->pNext; return pNode->data; }
    void* GetNext(POSITION& rPosition) const
        { CNode* pNode = _AfxCheckNode((CNode*)rPosition); rPosition = (POSITION)pNode->pNext; return pNode->data; }
    void*& GetPrev(POSITION& rPosition)
        { CNode* pNode = _AfxCheckNode((CNode*)rPosition); rPosition = (POSITION)pNode->pPrev; return pNode->data; }
    void* GetPrev(POSITION& rPosition) const
        { CNode* pNode = _AfxCheckNode((CNode*)rPosition); rPosition = (POSITION)pNode->pPrev; return pNode->data; }

    void*& GetAt(POSITION position) { return _AfxCheckNode((CNode*)position)->data; }
    void* GetAt(POSITION position) const { return _AfxCheckNode((CNode*)position)->data; }
    void SetAt(POSITION pos, void* newElement) { _AfxCheckNode((CNode*)pos)->data = newElement; }
    void RemoveAt(POSITION position);

    // NULL inserts at the head (InsertBefore) or the tail (InsertAfter)
    POSITION InsertBefore(POSITION position, void* newElement);
    POSITION InsertAfter(POSITION position, void* newElement);

    // Linear searches: the first match after startAfter (NULL: from the head), or NULL
    POSITION Find(void* searchValue, POSITION startAfter = NULL) const;
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

public:
    ~CPtrList();

protected:
    // For CTypedPtrList
    typedef void* BASE_TYPE;
    typedef void* BASE_ARG_TYPE;
};

/////////////////////////////////////////////////////////////////////////////
// CObList

class AFX_CORE_CLASS CObList : public CObject
{
    DECLARE_SERIAL(CObList)

protected:
    struct CNode
    {
        CNode* pNext;
        CNode* pPrev;
        CObject* data;
    };

public:
// Construction
    CObList(int nBlockSize = 10);

// Attributes
    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // An empty list throws CNotSupportedException
    CObject*& GetHead() { return _AfxCheckNode(m_pNodeHead)->data; }
    CObject* GetHead() const { return _AfxCheckNode(m_pNodeHead)->data; }
    CObject*& GetTail() { return _AfxCheckNode(m_pNodeTail)->data; }
    CObject* GetTail() const { return _AfxCheckNode(m_pNodeTail)->data; }

// Operations
    // Remove the head or the tail and return it (an empty list throws CNotSupportedException)
    CObject* RemoveHead();
    CObject* RemoveTail();

    POSITION AddHead(CObject* newElement);
    POSITION AddTail(CObject* newElement);

    // Copies of another list's elements, in their order, before the head or after the tail
    void AddHead(CObList* pNewList);
    void AddTail(CObList* pNewList);

    void RemoveAll();

    // Iteration; NULL is the end, and NULL passed in throws CNotSupportedException
    POSITION GetHeadPosition() const { return (POSITION)m_pNodeHead; }
    POSITION GetTailPosition() const { return (POSITION)m_pNodeTail; }
    CObject*& GetNext(POSITION& rPosition)
        { CNode* pNode = _AfxCheckNode((CNode*)rPosition); rPosition = (POSITION)pNode->pNext; return pNode->data; }
    CObject* GetNext(POSITION& rPosition) const
        { CNode* pNode = _AfxCheckNode((CNode*)rPosition); rPosition = (POSITION)pNode->pNext; return pNode->data; }
    CObject*& GetPrev(POSITION& rPosition)
        { CNode* pNode = _AfxCheckNode((CNode*)rPosition); rPosition = (POSITION)pNode->pPrev; return pNode->data; }
    CObject* GetPrev(POSITION& rPosition) const
        { CNode* pNode = _AfxCheckNode((CNode*)rPosition); rPosition = (POSITION)pNode->pPrev; return pNode->data; }

    CObject*& GetAt(POSITION position) { return _AfxCheckNode((CNode*)position)->data; }
    CObject* GetAt(POSITION position) const { return _AfxCheckNode((CNode*)position)->data; }
    void SetAt(POSITION pos, CObject* newElement) { _AfxCheckNode((CNode*)pos)->data = newElement; }
    void RemoveAt(POSITION position);

    // NULL inserts at the head (InsertBefore) or the tail (InsertAfter)
    POSITION InsertBefore(POSITION position, CObject* newElement);
    POSITION InsertAfter(POSITION position, CObject* newElement);

    // Linear searches: the first match after startAfter (NULL: from the head), or NULL
    POSITION Find(CObject* searchValue, POSITION startAfter = NULL) const;
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

public:
    ~CObList();
    void Serialize(CArchive& ar);

protected:
    // For CTypedPtrList
    typedef CObject* BASE_TYPE;
    typedef CObject* BASE_ARG_TYPE;
};

/////////////////////////////////////////////////////////////////////////////
// CStringList

class AFX_CORE_CLASS CStringList : public CObject
{
    DECLARE_SERIAL(CStringList)

protected:
    struct CNode
    {
        CNode* pNext;
        CNode* pPrev;
        CString data;
    };

public:
// Construction
    CStringList(int nBlockSize = 10);

// Attributes
    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // An empty list throws CNotSupportedException
    CString& GetHead() { return _AfxCheckNode(m_pNodeHead)->data; }
    CString GetHead() const { return _AfxCheckNode(m_pNodeHead)->data; }
    CString& GetTail() { return _AfxCheckNode(m_pNodeTail)->data; }
    CString GetTail() const { return _AfxCheckNode(m_pNodeTail)->data; }

// Operations
    // Remove the head or the tail and return it (an empty list throws CNotSupportedException)
    CString RemoveHead();
    CString RemoveTail();

    POSITION AddHead(LPCTSTR newElement);
    POSITION AddTail(LPCTSTR newElement);

    // Copies of another list's elements, in their order, before the head or after the tail
    void AddHead(CStringList* pNewList);
    void AddTail(CStringList* pNewList);

    void RemoveAll();

    // Iteration; NULL is the end, and NULL passed in throws CNotSupportedException
    POSITION GetHeadPosition() const { return (POSITION)m_pNodeHead; }
    POSITION GetTailPosition() const { return (POSITION)m_pNodeTail; }
    CString& GetNext(POSITION& rPosition)
        { CNode* pNode = _AfxCheckNode((CNode*)rPosition); rPosition = (POSITION)pNode->pNext; return pNode->data; }
    CString GetNext(POSITION& rPosition) const
        { CNode* pNode = _AfxCheckNode((CNode*)rPosition); rPosition = (POSITION)pNode->pNext; return pNode->data; }
    CString& GetPrev(POSITION& rPosition)
        { CNode* pNode = _AfxCheckNode((CNode*)rPosition); rPosition = (POSITION)pNode->pPrev; return pNode->data; }
    CString GetPrev(POSITION& rPosition) const
        { CNode* pNode = _AfxCheckNode((CNode*)rPosition); rPosition = (POSITION)pNode->pPrev; return pNode->data; }

    CString& GetAt(POSITION position) { return _AfxCheckNode((CNode*)position)->data; }
    CString GetAt(POSITION position) const { return _AfxCheckNode((CNode*)position)->data; }
    void SetAt(POSITION pos, LPCTSTR newElement) { _AfxCheckNode((CNode*)pos)->data = newElement; }
    void RemoveAt(POSITION position);

    // NULL inserts at the head (InsertBefore) or the tail (InsertAfter)
    POSITION InsertBefore(POSITION position, LPCTSTR newElement);
    POSITION InsertAfter(POSITION position, LPCTSTR newElement);

    // The same with a CString, which shares its buffer with the element
    POSITION AddHead(const CString& newElement);
    POSITION AddTail(const CString& newElement);
    void SetAt(POSITION pos, const CString& newElement);
    POSITION InsertBefore(POSITION position, const CString& newElement);
    POSITION InsertAfter(POSITION position, const CString& newElement);

    // Linear searches: the first match after startAfter (NULL: from the head), or NULL
    POSITION Find(LPCTSTR searchValue, POSITION startAfter = NULL) const;
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

public:
    ~CStringList();
    void Serialize(CArchive& ar);

protected:
    // For CTypedPtrList
    typedef CString BASE_TYPE;
    typedef LPCTSTR BASE_ARG_TYPE;
};

/////////////////////////////////////////////////////////////////////////////
// CMapWordToPtr

class AFX_CORE_CLASS CMapWordToPtr : public CObject
{
    DECLARE_DYNAMIC(CMapWordToPtr)

protected:
    struct CAssoc
    {
        CAssoc* pNext;
        UINT nHashValue; // HashKey(key), before the modulo of the table size
        WORD key;
        void* value;
    };

public:
// Construction
    CMapWordToPtr(int nBlockSize = 10);

// Attributes
    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // FALSE (and rValue untouched) when the key is not in the map
    BOOL Lookup(WORD key, void*& rValue) const;

// Operations
    // The value of the key, added (zero or empty) when the key is new
    void*& operator[](WORD key);

    void SetAt(WORD key, void* newValue) { (*this)[key] = newValue; }

    // FALSE when the key is not in the map
    BOOL RemoveKey(WORD key);
    void RemoveAll();

    // Iteration in bucket order; the start position is NULL for an empty map
    POSITION GetStartPosition() const { return (m_nCount == 0) ? NULL : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, WORD& rKey, void*& rValue) const;

    // The number of buckets (17 unless InitHashTable set another); a map never rehashes by itself
    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // A prime near 1.2 times the expected count suits a large map. bAllocNow FALSE
    // leaves the allocation to the first insertion; associations already in the map
    // are rehashed; a size of 0 is ignored.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

    // The hash of a key; its bucket is the hash modulo the table size
    UINT HashKey(WORD key) const;

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
    CAssoc* GetAssocAt(WORD key, UINT& nHash) const;

public:
    ~CMapWordToPtr();

protected:
    // For CTypedPtrMap
    typedef WORD BASE_KEY;
    typedef WORD BASE_ARG_KEY;
    typedef void* BASE_VALUE;
    typedef void* BASE_ARG_VALUE;
};

/////////////////////////////////////////////////////////////////////////////
// CMapPtrToWord

class AFX_CORE_CLASS CMapPtrToWord : public CObject
{
    DECLARE_DYNAMIC(CMapPtrToWord)

protected:
    struct CAssoc
    {
        CAssoc* pNext;
        UINT nHashValue; // HashKey(key), before the modulo of the table size
        void* key;
        WORD value;
    };

public:
// Construction
    CMapPtrToWord(int nBlockSize = 10);

// Attributes
    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // FALSE (and rValue untouched) when the key is not in the map
    BOOL Lookup(void* key, WORD& rValue) const;

// Operations
    // The value of the key, added (zero or empty) when the key is new
    WORD& operator[](void* key);

    void SetAt(void* key, WORD newValue) { (*this)[key] = newValue; }

    // FALSE when the key is not in the map
    BOOL RemoveKey(void* key);
    void RemoveAll();

    // Iteration in bucket order; the start position is NULL for an empty map
    POSITION GetStartPosition() const { return (m_nCount == 0) ? NULL : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, void*& rKey, WORD& rValue) const;

    // The number of buckets (17 unless InitHashTable set another); a map never rehashes by itself
    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // A prime near 1.2 times the expected count suits a large map. bAllocNow FALSE
    // leaves the allocation to the first insertion; associations already in the map
    // are rehashed; a size of 0 is ignored.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

    // The hash of a key; its bucket is the hash modulo the table size
    UINT HashKey(void* key) const;

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
    CAssoc* GetAssocAt(void* key, UINT& nHash) const;

public:
    ~CMapPtrToWord();

protected:
    // For CTypedPtrMap
    typedef void* BASE_KEY;
    typedef void* BASE_ARG_KEY;
    typedef WORD BASE_VALUE;
    typedef WORD BASE_ARG_VALUE;
};

/////////////////////////////////////////////////////////////////////////////
// CMapPtrToPtr

class AFX_CORE_CLASS CMapPtrToPtr : public CObject
{
    DECLARE_DYNAMIC(CMapPtrToPtr)

protected:
    struct CAssoc
    {
        CAssoc* pNext;
        UINT nHashValue; // HashKey(key), before the modulo of the table size
        void* key;
        void* value;
    };

public:
// Construction
    CMapPtrToPtr(int nBlockSize = 10);

// Attributes
    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // FALSE (and rValue untouched) when the key is not in the map
    BOOL Lookup(void* key, void*& rValue) const;

// Operations
    // The value of the key, added (zero or empty) when the key is new
    void*& operator[](void* key);

    void SetAt(void* key, void* newValue) { (*this)[key] = newValue; }

    // FALSE when the key is not in the map
    BOOL RemoveKey(void* key);
    void RemoveAll();

    // Iteration in bucket order; the start position is NULL for an empty map
    POSITION GetStartPosition() const { return (m_nCount == 0) ? NULL : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, void*& rKey, void*& rValue) const;

    // The number of buckets (17 unless InitHashTable set another); a map never rehashes by itself
    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // A prime near 1.2 times the expected count suits a large map. bAllocNow FALSE
    // leaves the allocation to the first insertion; associations already in the map
    // are rehashed; a size of 0 is ignored.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

    // The hash of a key; its bucket is the hash modulo the table size
    UINT HashKey(void* key) const;

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
    CAssoc* GetAssocAt(void* key, UINT& nHash) const;

public:
    ~CMapPtrToPtr();

protected:
    // For CTypedPtrMap
    typedef void* BASE_KEY;
    typedef void* BASE_ARG_KEY;
    typedef void* BASE_VALUE;
    typedef void* BASE_ARG_VALUE;
};

/////////////////////////////////////////////////////////////////////////////
// CMapWordToOb

class AFX_CORE_CLASS CMapWordToOb : public CObject
{
    DECLARE_SERIAL(CMapWordToOb)

protected:
    struct CAssoc
    {
        CAssoc* pNext;
        UINT nHashValue; // HashKey(key), before the modulo of the table size
        WORD key;
        CObject* value;
    };

public:
// Construction
    CMapWordToOb(int nBlockSize = 10);

// Attributes
    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // FALSE (and rValue untouched) when the key is not in the map
    BOOL Lookup(WORD key, CObject*& rValue) const;

// Operations
    // The value of the key, added (zero or empty) when the key is new
    CObject*& operator[](WORD key);

    void SetAt(WORD key, CObject* newValue) { (*this)[key] = newValue; }

    // FALSE when the key is not in the map
    BOOL RemoveKey(WORD key);
    void RemoveAll();

    // Iteration in bucket order; the start position is NULL for an empty map
    POSITION GetStartPosition() const { return (m_nCount == 0) ? NULL : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, WORD& rKey, CObject*& rValue) const;

    // The number of buckets (17 unless InitHashTable set another); a map never rehashes by itself
    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // A prime near 1.2 times the expected count suits a large map. bAllocNow FALSE
    // leaves the allocation to the first insertion; associations already in the map
    // are rehashed; a size of 0 is ignored.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

    // The hash of a key; its bucket is the hash modulo the table size
    UINT HashKey(WORD key) const;

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
    CAssoc* GetAssocAt(WORD key, UINT& nHash) const;

public:
    ~CMapWordToOb();
    void Serialize(CArchive& ar);

protected:
    // For CTypedPtrMap
    typedef WORD BASE_KEY;
    typedef WORD BASE_ARG_KEY;
    typedef CObject* BASE_VALUE;
    typedef CObject* BASE_ARG_VALUE;
};

/////////////////////////////////////////////////////////////////////////////
// CMapStringToPtr

class AFX_CORE_CLASS CMapStringToPtr : public CObject
{
    DECLARE_DYNAMIC(CMapStringToPtr)

protected:
    struct CAssoc
    {
        CAssoc* pNext;
        UINT nHashValue; // HashKey(key), before the modulo of the table size
        CString key;
        void* value;
    };

public:
// Construction
    CMapStringToPtr(int nBlockSize = 10);

// Attributes
    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // FALSE (and rValue untouched) when the key is not in the map
    BOOL Lookup(LPCTSTR key, void*& rValue) const;
    // The key as stored in the map (valid until the key is removed)
    BOOL LookupKey(LPCTSTR key, LPCTSTR& rKey) const;

// Operations
    // The value of the key, added (zero or empty) when the key is new
    void*& operator[](LPCTSTR key);

    void SetAt(LPCTSTR key, void* newValue) { (*this)[key] = newValue; }

    // FALSE when the key is not in the map
    BOOL RemoveKey(LPCTSTR key);
    void RemoveAll();

    // Iteration in bucket order; the start position is NULL for an empty map
    POSITION GetStartPosition() const { return (m_nCount == 0) ? NULL : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, CString& rKey, void*& rValue) const;

    // The number of buckets (17 unless InitHashTable set another); a map never rehashes by itself
    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // A prime near 1.2 times the expected count suits a large map. bAllocNow FALSE
    // leaves the allocation to the first insertion; associations already in the map
    // are rehashed; a size of 0 is ignored.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

    // The hash of a key; its bucket is the hash modulo the table size
    UINT HashKey(LPCTSTR key) const;

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
    CAssoc* GetAssocAt(LPCTSTR key, UINT& nHash) const;

public:
    ~CMapStringToPtr();

protected:
    // For CTypedPtrMap
    typedef CString BASE_KEY;
    typedef LPCTSTR BASE_ARG_KEY;
    typedef void* BASE_VALUE;
    typedef void* BASE_ARG_VALUE;
};

/////////////////////////////////////////////////////////////////////////////
// CMapStringToOb

class AFX_CORE_CLASS CMapStringToOb : public CObject
{
    DECLARE_SERIAL(CMapStringToOb)

protected:
    struct CAssoc
    {
        CAssoc* pNext;
        UINT nHashValue; // HashKey(key), before the modulo of the table size
        CString key;
        CObject* value;
    };

public:
// Construction
    CMapStringToOb(int nBlockSize = 10);

// Attributes
    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // FALSE (and rValue untouched) when the key is not in the map
    BOOL Lookup(LPCTSTR key, CObject*& rValue) const;
    // The key as stored in the map (valid until the key is removed)
    BOOL LookupKey(LPCTSTR key, LPCTSTR& rKey) const;

// Operations
    // The value of the key, added (zero or empty) when the key is new
    CObject*& operator[](LPCTSTR key);

    void SetAt(LPCTSTR key, CObject* newValue) { (*this)[key] = newValue; }

    // FALSE when the key is not in the map
    BOOL RemoveKey(LPCTSTR key);
    void RemoveAll();

    // Iteration in bucket order; the start position is NULL for an empty map
    POSITION GetStartPosition() const { return (m_nCount == 0) ? NULL : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, CString& rKey, CObject*& rValue) const;

    // The number of buckets (17 unless InitHashTable set another); a map never rehashes by itself
    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // A prime near 1.2 times the expected count suits a large map. bAllocNow FALSE
    // leaves the allocation to the first insertion; associations already in the map
    // are rehashed; a size of 0 is ignored.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

    // The hash of a key; its bucket is the hash modulo the table size
    UINT HashKey(LPCTSTR key) const;

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
    CAssoc* GetAssocAt(LPCTSTR key, UINT& nHash) const;

public:
    ~CMapStringToOb();
    void Serialize(CArchive& ar);

protected:
    // For CTypedPtrMap
    typedef CString BASE_KEY;
    typedef LPCTSTR BASE_ARG_KEY;
    typedef CObject* BASE_VALUE;
    typedef CObject* BASE_ARG_VALUE;
};

/////////////////////////////////////////////////////////////////////////////
// CMapStringToString

class AFX_CORE_CLASS CMapStringToString : public CObject
{
    DECLARE_SERIAL(CMapStringToString)

protected:
    struct CAssoc
    {
        CAssoc* pNext;
        UINT nHashValue; // HashKey(key), before the modulo of the table size
        CString key;
        CString value;
    };

public:
// Construction
    CMapStringToString(int nBlockSize = 10);

// Attributes
    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // FALSE (and rValue untouched) when the key is not in the map
    BOOL Lookup(LPCTSTR key, CString& rValue) const;
    // The key as stored in the map (valid until the key is removed)
    BOOL LookupKey(LPCTSTR key, LPCTSTR& rKey) const;

// Operations
    // The value of the key, added (zero or empty) when the key is new
    CString& operator[](LPCTSTR key);

    void SetAt(LPCTSTR key, LPCTSTR newValue) { (*this)[key] = newValue; }

    // FALSE when the key is not in the map
    BOOL RemoveKey(LPCTSTR key);
    void RemoveAll();

    // Iteration in bucket order; the start position is NULL for an empty map
    POSITION GetStartPosition() const { return (m_nCount == 0) ? NULL : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, CString& rKey, CString& rValue) const;

    // The number of buckets (17 unless InitHashTable set another); a map never rehashes by itself
    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // A prime near 1.2 times the expected count suits a large map. bAllocNow FALSE
    // leaves the allocation to the first insertion; associations already in the map
    // are rehashed; a size of 0 is ignored.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

    // The hash of a key; its bucket is the hash modulo the table size
    UINT HashKey(LPCTSTR key) const;

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
    CAssoc* GetAssocAt(LPCTSTR key, UINT& nHash) const;

public:
    ~CMapStringToString();
    void Serialize(CArchive& ar);

protected:
    // For CTypedPtrMap
    typedef CString BASE_KEY;
    typedef LPCTSTR BASE_ARG_KEY;
    typedef CString BASE_VALUE;
    typedef LPCTSTR BASE_ARG_VALUE;
};

#pragma pop_macro("AFX_API")
