// afxcoll.h - the framework's non-template collections.
//
//   Arrays  CByteArray CWordArray CDWordArray CUIntArray CPtrArray CObArray CStringArray
//   Lists   CPtrList CObList CStringList
//   Maps    CMapWordToPtr CMapPtrToWord CMapPtrToPtr CMapWordToOb
//           CMapStringToPtr CMapStringToOb CMapStringToString
//
// Every array, list and map has the members of its kind (afxcoll_.h declares them
// once for these classes and the templates of afxtempl.h):
//
// Arrays grow by SetSize's nGrowBy or, while it is 0, by an eighth of their size (at
// least 4, at most 1024 elements); nGrowBy -1 keeps the step. GetData is NULL while
// the array has no storage. SetAtGrow, Add and InsertAt take an element that may be
// one of the array's own; InsertAt past the end grows the array with default
// elements up to the index.
//
// Lists hand out POSITIONs: GetHeadPosition/GetTailPosition, then GetNext/GetPrev,
// which move the position on (NULL is the end). InsertBefore/InsertAfter with a NULL
// position insert at the head/tail; AddHead/AddTail of another list (which may be
// this one) add copies of its elements in their order. Find is the first match after
// startAfter (NULL: from the head), FindIndex the nIndex'th position, NULL when
// there is none. Nodes come from blocks of nBlockSize nodes.
//
// Maps have a fixed number of buckets (17 by default) that only InitHashTable
// changes: a prime near 1.2 times the expected count suits a large map; bAllocNow
// FALSE leaves the allocation to the first insertion; associations already in the
// map are rehashed; a size of 0 is ignored. operator[] adds a key that is new with a
// zero or empty value; Lookup leaves rValue alone when the key is missing.
// GetStartPosition/GetNextAssoc iterate bucket by bucket (the start position is NULL
// for an empty map); removing the current key while iterating is allowed.
//
// An index outside the array, an empty list's head or tail, or a NULL position or
// collection handed in throws CNotSupportedException instead of touching memory that
// is not the collection's. Collections of pointers never own what the pointers point
// to.
#pragma once

#include "afx.h"
#include "afxcoll_.h"

// The friend extraction operators of DECLARE_SERIAL belong to the framework DLL.
#pragma push_macro("AFX_API")
#undef AFX_API
#define AFX_API AFX_CORE_API

// The members of the classes below, with the element types CTypedPtrArray,
// CTypedPtrList and CTypedPtrMap build on.
#define _AFX_TYPED_ARRAY(CLS, TYPE, ARG_TYPE, CONST_DATA) \
    _AFX_ARRAY_MEMBERS(CLS, TYPE, ARG_TYPE, CONST_DATA) \
    typedef TYPE BASE_TYPE; \
    typedef ARG_TYPE BASE_ARG_TYPE;

#define _AFX_TYPED_LIST(CLS, TYPE, ARG_TYPE) \
    _AFX_LIST_MEMBERS(CLS, TYPE, ARG_TYPE) \
    typedef TYPE BASE_TYPE; \
    typedef ARG_TYPE BASE_ARG_TYPE;

// A map also tells the hash of a key (its bucket is the hash modulo the table size).
#define _AFX_TYPED_MAP(CLS, KEY, ARG_KEY, VALUE, ARG_VALUE) \
    _AFX_MAP_MEMBERS(CLS, KEY, ARG_KEY, VALUE, ARG_VALUE) \
    typedef KEY BASE_KEY; \
    typedef ARG_KEY BASE_ARG_KEY; \
    typedef VALUE BASE_VALUE; \
    typedef ARG_VALUE BASE_ARG_VALUE; \
public: \
    UINT HashKey(ARG_KEY key) const;

/////////////////////////////////////////////////////////////////////////////
// Arrays. The integer arrays serialize their elements as they are in memory; UINT
// and pointers are no portable archive format, so CUIntArray and CPtrArray do not
// serialize.

class AFX_CORE_CLASS CByteArray : public CObject
{
    DECLARE_SERIAL(CByteArray)
    _AFX_TYPED_ARRAY(CByteArray, BYTE, BYTE, const BYTE*)
public:
    void Serialize(CArchive& ar);
};

class AFX_CORE_CLASS CWordArray : public CObject
{
    DECLARE_SERIAL(CWordArray)
    _AFX_TYPED_ARRAY(CWordArray, WORD, WORD, const WORD*)
public:
    void Serialize(CArchive& ar);
};

class AFX_CORE_CLASS CDWordArray : public CObject
{
    DECLARE_SERIAL(CDWordArray)
    _AFX_TYPED_ARRAY(CDWordArray, DWORD, DWORD, const DWORD*)
public:
    void Serialize(CArchive& ar);
};

class AFX_CORE_CLASS CUIntArray : public CObject
{
    DECLARE_DYNAMIC(CUIntArray)
    _AFX_TYPED_ARRAY(CUIntArray, UINT, UINT, const UINT*)
};

class AFX_CORE_CLASS CPtrArray : public CObject
{
    DECLARE_DYNAMIC(CPtrArray)
    _AFX_TYPED_ARRAY(CPtrArray, void*, void*, const void**)
};

// The objects serialize through the archive, each shared object once.
class AFX_CORE_CLASS CObArray : public CObject
{
    DECLARE_SERIAL(CObArray)
    _AFX_TYPED_ARRAY(CObArray, CObject*, CObject*, const CObject**)
public:
    void Serialize(CArchive& ar);
};

// Also takes CString arguments, which share their buffer with the element.
class AFX_CORE_CLASS CStringArray : public CObject
{
    DECLARE_SERIAL(CStringArray)
    _AFX_TYPED_ARRAY(CStringArray, CString, LPCTSTR, const CString*)
public:
    void SetAt(int nIndex, const CString& newElement)
        { _AfxCheckIndex(nIndex, m_nSize); m_pData[nIndex] = newElement; }
    void SetAtGrow(int nIndex, const CString& newElement);
    int Add(const CString& newElement) { int nIndex = m_nSize; SetAtGrow(nIndex, newElement); return nIndex; }
    void InsertAt(int nIndex, const CString& newElement, int nCount = 1);
    void Serialize(CArchive& ar);
};

/////////////////////////////////////////////////////////////////////////////
// Lists

class AFX_CORE_CLASS CPtrList : public CObject
{
    DECLARE_DYNAMIC(CPtrList)
    _AFX_TYPED_LIST(CPtrList, void*, void*)
};

// Loading appends to what the list holds.
class AFX_CORE_CLASS CObList : public CObject
{
    DECLARE_SERIAL(CObList)
    _AFX_TYPED_LIST(CObList, CObject*, CObject*)
public:
    void Serialize(CArchive& ar);
};

// Find compares ordinally; a NULL text is the empty string. Also takes CString
// arguments, which share their buffer with the element.
class AFX_CORE_CLASS CStringList : public CObject
{
    DECLARE_SERIAL(CStringList)
    _AFX_TYPED_LIST(CStringList, CString, LPCTSTR)
public:
    POSITION AddHead(const CString& newElement);
    POSITION AddTail(const CString& newElement);
    void SetAt(POSITION pos, const CString& newElement);
    POSITION InsertBefore(POSITION position, const CString& newElement);
    POSITION InsertAfter(POSITION position, const CString& newElement);
    void Serialize(CArchive& ar);
};

/////////////////////////////////////////////////////////////////////////////
// Maps. Pointer keys are only compared, never followed. String keys compare
// ordinally, and a NULL key is the empty string; LookupKey hands out the key as
// the map stores it (valid until the key is removed). The serializable maps store
// each association as its key followed by its value, and loading adds to what the
// map holds.

class AFX_CORE_CLASS CMapWordToPtr : public CObject
{
    DECLARE_DYNAMIC(CMapWordToPtr)
    _AFX_TYPED_MAP(CMapWordToPtr, WORD, WORD, void*, void*)
};

class AFX_CORE_CLASS CMapPtrToWord : public CObject
{
    DECLARE_DYNAMIC(CMapPtrToWord)
    _AFX_TYPED_MAP(CMapPtrToWord, void*, void*, WORD, WORD)
};

class AFX_CORE_CLASS CMapPtrToPtr : public CObject
{
    DECLARE_DYNAMIC(CMapPtrToPtr)
    _AFX_TYPED_MAP(CMapPtrToPtr, void*, void*, void*, void*)
};

class AFX_CORE_CLASS CMapWordToOb : public CObject
{
    DECLARE_SERIAL(CMapWordToOb)
    _AFX_TYPED_MAP(CMapWordToOb, WORD, WORD, CObject*, CObject*)
public:
    void Serialize(CArchive& ar);
};

class AFX_CORE_CLASS CMapStringToPtr : public CObject
{
    DECLARE_DYNAMIC(CMapStringToPtr)
    _AFX_TYPED_MAP(CMapStringToPtr, CString, LPCTSTR, void*, void*)
public:
    BOOL LookupKey(LPCTSTR key, LPCTSTR& rKey) const;
};

class AFX_CORE_CLASS CMapStringToOb : public CObject
{
    DECLARE_SERIAL(CMapStringToOb)
    _AFX_TYPED_MAP(CMapStringToOb, CString, LPCTSTR, CObject*, CObject*)
public:
    BOOL LookupKey(LPCTSTR key, LPCTSTR& rKey) const;
    void Serialize(CArchive& ar);
};

class AFX_CORE_CLASS CMapStringToString : public CObject
{
    DECLARE_SERIAL(CMapStringToString)
    _AFX_TYPED_MAP(CMapStringToString, CString, LPCTSTR, CString, LPCTSTR)
public:
    BOOL LookupKey(LPCTSTR key, LPCTSTR& rKey) const;
    void Serialize(CArchive& ar);
};

#pragma pop_macro("AFX_API")
