// CollMaps.cpp - the map classes of afxcoll.h.
#include "CollImpl.h"

using namespace afxcoll;

namespace {

int ValidBlockSize(int nBlockSize)
{
    return nBlockSize > 0 ? nBlockSize : 10;
}

// The number of buckets of a new map.
const UINT kDefaultHashTableSize = 17;

} // namespace

#define AFX_MAP_CORE \
    MapCore<CAssoc, AFX_MAP_KEY, AFX_MAP_KOPS, AFX_MAP_VOPS>{const_cast<CAssoc**&>(m_pHashTable), \
        const_cast<UINT&>(m_nHashTableSize), const_cast<int&>(m_nCount), \
        const_cast<CAssoc*&>(m_pFreeList), const_cast<CPlex*&>(m_pBlocks), \
        const_cast<int&>(m_nBlockSize)}

// The maps differ only in their key and value: one body for all of them.
#define AFX_IMPLEMENT_MAP(CLS, KEY, ARG_KEY, VALUE) \
    CLS::CLS(int nBlockSize) \
        : m_pHashTable(NULL), m_nHashTableSize(kDefaultHashTableSize), m_nCount(0), \
          m_pFreeList(NULL), m_pBlocks(NULL), m_nBlockSize(ValidBlockSize(nBlockSize)) {} \
    CLS::~CLS() { AFX_MAP_CORE.RemoveAll(); } \
    void CLS::InitHashTable(UINT nHashSize, BOOL bAllocNow) { AFX_MAP_CORE.InitHashTable(nHashSize, bAllocNow); } \
    void CLS::RemoveAll() { AFX_MAP_CORE.RemoveAll(); } \
    CLS::CAssoc* CLS::NewAssoc() { return AFX_MAP_CORE.NewAssoc(); } \
    void CLS::FreeAssoc(CAssoc* pAssoc) { AFX_MAP_CORE.FreeAssoc(pAssoc); } \
    UINT CLS::HashKey(ARG_KEY key) const { return AFX_MAP_KEY::Hash(key); } \
    CLS::CAssoc* CLS::GetAssocAt(ARG_KEY key, UINT& nHash) const \
    { \
        nHash = HashKey(key); \
        return AFX_MAP_CORE.GetAssocAt<ARG_KEY>(key, nHash); \
    } \
    BOOL CLS::Lookup(ARG_KEY key, VALUE& rValue) const \
    { \
        CAssoc* pAssoc = AFX_MAP_CORE.Lookup<ARG_KEY>(key); \
        if (pAssoc == NULL) \
            return FALSE; \
        rValue = pAssoc->value; \
        return TRUE; \
    } \
    VALUE& CLS::operator[](ARG_KEY key) { return AFX_MAP_CORE.FindOrAdd<ARG_KEY>(key)->value; } \
    BOOL CLS::RemoveKey(ARG_KEY key) { return AFX_MAP_CORE.RemoveKey<ARG_KEY>(key); } \
    void CLS::GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const \
    { \
        CAssoc* pAssoc = AFX_MAP_CORE.GetNext(rNextPosition); \
        rKey = pAssoc->key; \
        rValue = pAssoc->value; \
    }

// The string-keyed maps also hand out their stored key.
#define AFX_IMPLEMENT_LOOKUP_KEY(CLS) \
    BOOL CLS::LookupKey(LPCTSTR key, LPCTSTR& rKey) const \
    { \
        CAssoc* pAssoc = AFX_MAP_CORE.Lookup<LPCTSTR>(key); \
        if (pAssoc == NULL) \
            return FALSE; \
        rKey = pAssoc->key; \
        return TRUE; \
    }

/////////////////////////////////////////////////////////////////////////////
// Maps keyed by WORD and by pointer (the pointers are only compared)

#define AFX_MAP_KEY WordKey
#define AFX_MAP_KOPS PodOps<WORD>
#define AFX_MAP_VOPS PodOps<void*>
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
AFX_IMPLEMENT_MAP(CMapWordToPtr, WORD, WORD, void*)
#undef AFX_MAP_KEY
#undef AFX_MAP_KOPS
#undef AFX_MAP_VOPS

#define AFX_MAP_KEY PtrKey
#define AFX_MAP_KOPS PodOps<void*>
#define AFX_MAP_VOPS PodOps<WORD>
IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject)
AFX_IMPLEMENT_MAP(CMapPtrToWord, void*, void*, WORD)
#undef AFX_MAP_KEY
#undef AFX_MAP_KOPS
#undef AFX_MAP_VOPS

#define AFX_MAP_KEY PtrKey
#define AFX_MAP_KOPS PodOps<void*>
#define AFX_MAP_VOPS PodOps<void*>
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
AFX_IMPLEMENT_MAP(CMapPtrToPtr, void*, void*, void*)
#undef AFX_MAP_KEY
#undef AFX_MAP_KOPS
#undef AFX_MAP_VOPS

#define AFX_MAP_KEY WordKey
#define AFX_MAP_KOPS PodOps<WORD>
#define AFX_MAP_VOPS PodOps<CObject*>
IMPLEMENT_SERIAL(CMapWordToOb, CObject, 0)
AFX_IMPLEMENT_MAP(CMapWordToOb, WORD, WORD, CObject*)

// Each association as the WORD key followed by the object.
void CMapWordToOb::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD)m_nCount);
        if (m_nCount == 0)
            return;
        POSITION pos = GetStartPosition();
        while (pos != NULL) {
            CAssoc* pAssoc = AFX_MAP_CORE.GetNext(pos);
            ar << pAssoc->key;
            ar << pAssoc->value;
        }
    }
    else {
        DWORD_PTR nNewCount = ar.ReadCount();
        while (nNewCount-- > 0) {
            WORD newKey;
            CObject* newValue;
            ar >> newKey;
            ar >> newValue;
            SetAt(newKey, newValue);
        }
    }
}
#undef AFX_MAP_KEY
#undef AFX_MAP_KOPS
#undef AFX_MAP_VOPS

/////////////////////////////////////////////////////////////////////////////
// Maps keyed by string (ordinal comparison; a NULL key is the empty string)

#define AFX_MAP_KEY StringKey
#define AFX_MAP_KOPS StringOps
#define AFX_MAP_VOPS PodOps<void*>
IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
AFX_IMPLEMENT_MAP(CMapStringToPtr, CString, LPCTSTR, void*)
AFX_IMPLEMENT_LOOKUP_KEY(CMapStringToPtr)
#undef AFX_MAP_KEY
#undef AFX_MAP_KOPS
#undef AFX_MAP_VOPS

#define AFX_MAP_KEY StringKey
#define AFX_MAP_KOPS StringOps
#define AFX_MAP_VOPS PodOps<CObject*>
IMPLEMENT_SERIAL(CMapStringToOb, CObject, 0)
AFX_IMPLEMENT_MAP(CMapStringToOb, CString, LPCTSTR, CObject*)
AFX_IMPLEMENT_LOOKUP_KEY(CMapStringToOb)

// Each association as the key string followed by the object; loading adds to what
// the map holds.
void CMapStringToOb::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD)m_nCount);
        if (m_nCount == 0)
            return;
        POSITION pos = GetStartPosition();
        while (pos != NULL) {
            CAssoc* pAssoc = AFX_MAP_CORE.GetNext(pos);
            ar << pAssoc->key;
            ar << pAssoc->value;
        }
    }
    else {
        DWORD_PTR nNewCount = ar.ReadCount();
        while (nNewCount-- > 0) {
            CString newKey;
            CObject* newValue;
            ar >> newKey;
            ar >> newValue;
            SetAt(newKey, newValue);
        }
    }
}
#undef AFX_MAP_KEY
#undef AFX_MAP_KOPS
#undef AFX_MAP_VOPS

#define AFX_MAP_KEY StringKey
#define AFX_MAP_KOPS StringOps
#define AFX_MAP_VOPS StringOps
IMPLEMENT_SERIAL(CMapStringToString, CObject, 0)
AFX_IMPLEMENT_MAP(CMapStringToString, CString, LPCTSTR, CString)
AFX_IMPLEMENT_LOOKUP_KEY(CMapStringToString)

void CMapStringToString::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD)m_nCount);
        if (m_nCount == 0)
            return;
        POSITION pos = GetStartPosition();
        while (pos != NULL) {
            CAssoc* pAssoc = AFX_MAP_CORE.GetNext(pos);
            ar << pAssoc->key;
            ar << pAssoc->value;
        }
    }
    else {
        DWORD_PTR nNewCount = ar.ReadCount();
        while (nNewCount-- > 0) {
            CString newKey;
            CString newValue;
            ar >> newKey;
            ar >> newValue;
            SetAt(newKey, newValue);
        }
    }
}
#undef AFX_MAP_KEY
#undef AFX_MAP_KOPS
#undef AFX_MAP_VOPS
