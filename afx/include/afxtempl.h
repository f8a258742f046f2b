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
// The templates run the same code as the collections of afxcoll.h (afxcoll_.h), so
// growth, block sizes, bucket counts, iteration and the errors are theirs. An
// element that is not trivially copyable moves by move construction, so that it
// may keep pointers to itself.
#pragma once

#include "afxcoll.h"

#include <new>
#include <type_traits>
#include <utility>

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
            AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
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
// The element policy through which the collections (these templates and the
// classes of afxcoll.h alike) reach the helpers above.

namespace _AfxColl {

// Whether TYPE may move to another address bitwise: plain data, and CString, which
// is one pointer to its shared buffer, so that a buffer handed out by GetBuffer or
// LockBuffer stays valid while the collection moves its elements.
template<class TYPE>
struct MovesBitwise : std::is_trivially_copyable<TYPE> {};
template<>
struct MovesBitwise<CString> : std::true_type {};

template<class TYPE>
struct Elements
{
    typedef TYPE Type;

    static void Construct(TYPE* pElements, int nCount) { ConstructElements(pElements, nCount); }
    static void Destruct(TYPE* pElements, int nCount) { DestructElements(pElements, nCount); }
    static void Copy(TYPE* pDest, const TYPE* pSrc, int nCount) { CopyElements(pDest, pSrc, nCount); }
    static void Serialize(CArchive& ar, TYPE* pElements, int nCount) { SerializeElements(ar, pElements, nCount); }

    // The key as the collection's ARG type passes it, so that HashKey and
    // CompareElements are chosen as for a direct call with that argument.
    template<class ARG>
    static UINT Hash(ARG key) { return HashKey(key); }
    template<class ARG>
    static bool Equal(const TYPE& element, ARG value) { return CompareElements(&element, &value) != FALSE; }

    // Moves nCount elements to (possibly overlapping) new places: bitwise where the
    // type allows it, otherwise by move construction and destruction of the old ones.
    static void Relocate(TYPE* pDest, TYPE* pSrc, int nCount)
    {
        if (nCount <= 0 || pDest == pSrc)
            return;
        if constexpr (MovesBitwise<TYPE>::value) {
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
};

} // namespace _AfxColl

// The members of the templates run the collection core of afxcoll_.h.
#define _AFX_TEMPL_ARRAY_CORE _AFX_ARRAY_CORE(_AfxColl::Elements<TYPE>)
#define _AFX_TEMPL_LIST_CORE _AFX_LIST_CORE(_AfxColl::Elements<TYPE>)
#define _AFX_TEMPL_MAP_CORE _AFX_MAP_CORE(_AfxColl::Elements<KEY>, _AfxColl::Elements<VALUE>)

/////////////////////////////////////////////////////////////////////////////
// CArray<TYPE, ARG_TYPE>

template<class TYPE, class ARG_TYPE>
class CArray : public CObject
{
    _AFX_ARRAY_MEMBERS(CArray, TYPE, ARG_TYPE, const TYPE*)
public:
    void Serialize(CArchive& ar);
};

template<class TYPE, class ARG_TYPE>
CArray<TYPE, ARG_TYPE>::CArray()
    { _AFX_TEMPL_ARRAY_CORE.Init(); }
template<class TYPE, class ARG_TYPE>
CArray<TYPE, ARG_TYPE>::~CArray()
    { _AFX_TEMPL_ARRAY_CORE.Free(); }
template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(int nNewSize, int nGrowBy)
    { _AFX_TEMPL_ARRAY_CORE.SetSize(nNewSize, nGrowBy); }
template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::FreeExtra()
    { _AFX_TEMPL_ARRAY_CORE.FreeExtra(); }
template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(int nIndex, ARG_TYPE newElement)
    { _AFX_TEMPL_ARRAY_CORE.template SetAtGrow<ARG_TYPE>(nIndex, newElement); }
template<class TYPE, class ARG_TYPE>
int CArray<TYPE, ARG_TYPE>::Append(const CArray& src)
    { return _AFX_TEMPL_ARRAY_CORE.Append(src.m_pData, src.m_nSize); }
template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src)
    { _AFX_TEMPL_ARRAY_CORE.Copy(src.m_pData, src.m_nSize); }
template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(int nIndex, ARG_TYPE newElement, int nCount)
    { _AFX_TEMPL_ARRAY_CORE.template InsertAt<ARG_TYPE>(nIndex, newElement, nCount); }
template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(int nIndex, int nCount)
    { _AFX_TEMPL_ARRAY_CORE.RemoveAt(nIndex, nCount); }

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(int nStartIndex, CArray* pNewArray)
{
    const CArray& src = _AfxColl::Checked(pNewArray);
    _AFX_TEMPL_ARRAY_CORE.InsertArray(nStartIndex, src.m_pData, src.m_nSize);
}

// The count, then the elements through SerializeElements.
template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    _AFX_TEMPL_ARRAY_CORE.Serialize(ar);
}

/////////////////////////////////////////////////////////////////////////////
// CList<TYPE, ARG_TYPE>: Find compares with CompareElements.

template<class TYPE, class ARG_TYPE>
class CList : public CObject
{
    _AFX_LIST_MEMBERS(CList, TYPE, ARG_TYPE)
public:
    void Serialize(CArchive& ar);
};

template<class TYPE, class ARG_TYPE>
CList<TYPE, ARG_TYPE>::CList(int nBlockSize)
    { _AFX_TEMPL_LIST_CORE.Init(nBlockSize); }
template<class TYPE, class ARG_TYPE>
CList<TYPE, ARG_TYPE>::~CList()
    { _AFX_TEMPL_LIST_CORE.RemoveAll(); }
template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAll()
    { _AFX_TEMPL_LIST_CORE.RemoveAll(); }
template<class TYPE, class ARG_TYPE>
typename CList<TYPE, ARG_TYPE>::CNode* CList<TYPE, ARG_TYPE>::NewNode(CNode* pPrev, CNode* pNext)
    { return _AFX_TEMPL_LIST_CORE.NewNode(pPrev, pNext); }
template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::FreeNode(CNode* pNode)
    { _AFX_TEMPL_LIST_CORE.FreeNode(pNode); }
template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::AddHead(ARG_TYPE newElement)
    { return _AFX_TEMPL_LIST_CORE.template AddHead<ARG_TYPE>(newElement); }
template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::AddTail(ARG_TYPE newElement)
    { return _AFX_TEMPL_LIST_CORE.template AddTail<ARG_TYPE>(newElement); }
template<class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveHead()
    { return _AFX_TEMPL_LIST_CORE.RemoveHead(); }
template<class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveTail()
    { return _AFX_TEMPL_LIST_CORE.RemoveTail(); }
template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION position)
    { _AFX_TEMPL_LIST_CORE.RemoveAt(position); }
template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement)
    { return _AFX_TEMPL_LIST_CORE.template InsertBefore<ARG_TYPE>(position, newElement); }
template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement)
    { return _AFX_TEMPL_LIST_CORE.template InsertAfter<ARG_TYPE>(position, newElement); }
template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE searchValue, POSITION startAfter) const
    { return _AFX_TEMPL_LIST_CORE.template Find<ARG_TYPE>(searchValue, startAfter); }
template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::FindIndex(int nIndex) const
    { return _AFX_TEMPL_LIST_CORE.FindIndex(nIndex); }

template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddHead(CList* pNewList)
{
    const CList& src = _AfxColl::Checked(pNewList);
    _AFX_TEMPL_LIST_CORE.AddHeadList(src.m_pNodeTail, src.m_nCount);
}

template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddTail(CList* pNewList)
{
    const CList& src = _AfxColl::Checked(pNewList);
    _AFX_TEMPL_LIST_CORE.AddTailList(src.m_pNodeHead, src.m_nCount);
}

// The count, then each element through SerializeElements; loading appends.
template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    _AFX_TEMPL_LIST_CORE.Serialize(ar);
}

/////////////////////////////////////////////////////////////////////////////
// CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>: keys hash with HashKey and compare with
// CompareElements.

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject
{
    _AFX_MAP_MEMBERS(CMap, KEY, ARG_KEY, VALUE, ARG_VALUE)
public:
    void Serialize(CArchive& ar);
};

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CMap(int nBlockSize)
    { _AFX_TEMPL_MAP_CORE.Init(nBlockSize); }
template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::~CMap()
    { _AFX_TEMPL_MAP_CORE.RemoveAll(); }
template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT nHashSize, BOOL bAllocNow)
    { _AFX_TEMPL_MAP_CORE.InitHashTable(nHashSize, bAllocNow); }
template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll()
    { _AFX_TEMPL_MAP_CORE.RemoveAll(); }
template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::NewAssoc()
    { return _AFX_TEMPL_MAP_CORE.NewAssoc(); }
template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::FreeAssoc(CAssoc* pAssoc)
    { _AFX_TEMPL_MAP_CORE.FreeAssoc(pAssoc); }
template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc*
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetAssocAt(ARG_KEY key, UINT& nHash) const
    { return _AFX_TEMPL_MAP_CORE.template GetAssocAt<ARG_KEY>(key, nHash); }
template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Lookup(ARG_KEY key, VALUE& rValue) const
    { return _AFX_TEMPL_MAP_CORE.template Lookup<ARG_KEY>(key, rValue); }
template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key)
    { return _AFX_TEMPL_MAP_CORE.template FindOrAdd<ARG_KEY>(key)->value; }
template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key)
    { return _AFX_TEMPL_MAP_CORE.template RemoveKey<ARG_KEY>(key); }
template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
    { _AFX_TEMPL_MAP_CORE.GetNextAssoc(rNextPosition, rKey, rValue); }

// Each association as its key followed by its value, through SerializeElements;
// loading adds to what the map holds.
template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    _AFX_TEMPL_MAP_CORE.template Serialize<ARG_KEY>(ar);
}

#undef _AFX_TEMPL_ARRAY_CORE
#undef _AFX_TEMPL_LIST_CORE
#undef _AFX_TEMPL_MAP_CORE

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
