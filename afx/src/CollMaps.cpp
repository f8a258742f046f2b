// CollMaps.cpp - the map classes of afxcoll.h.
#include "CollImpl.h"

using namespace _AfxColl;

// The maps differ only in their key and value: one body for all of them.
#define AFX_IMPLEMENT_MAP(CLS, KEY, ARG_KEY, VALUE, KOPS, VOPS) \
    CLS::CLS(int nBlockSize) { _AFX_MAP_CORE(KOPS, VOPS).Init(nBlockSize); } \
    CLS::~CLS() { _AFX_MAP_CORE(KOPS, VOPS).RemoveAll(); } \
    void CLS::InitHashTable(UINT nHashSize, BOOL bAllocNow) \
        { _AFX_MAP_CORE(KOPS, VOPS).InitHashTable(nHashSize, bAllocNow); } \
    void CLS::RemoveAll() { _AFX_MAP_CORE(KOPS, VOPS).RemoveAll(); } \
    CLS::CAssoc* CLS::NewAssoc() { return _AFX_MAP_CORE(KOPS, VOPS).NewAssoc(); } \
    void CLS::FreeAssoc(CAssoc* pAssoc) { _AFX_MAP_CORE(KOPS, VOPS).FreeAssoc(pAssoc); } \
    UINT CLS::HashKey(ARG_KEY key) const { return KOPS::Hash<ARG_KEY>(key); } \
    CLS::CAssoc* CLS::GetAssocAt(ARG_KEY key, UINT& nHash) const \
        { return _AFX_MAP_CORE(KOPS, VOPS).GetAssocAt<ARG_KEY>(key, nHash); } \
    BOOL CLS::Lookup(ARG_KEY key, VALUE& rValue) const \
        { return _AFX_MAP_CORE(KOPS, VOPS).Lookup<ARG_KEY>(key, rValue); } \
    VALUE& CLS::operator[](ARG_KEY key) { return _AFX_MAP_CORE(KOPS, VOPS).FindOrAdd<ARG_KEY>(key)->value; } \
    BOOL CLS::RemoveKey(ARG_KEY key) { return _AFX_MAP_CORE(KOPS, VOPS).RemoveKey<ARG_KEY>(key); } \
    void CLS::GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const \
        { _AFX_MAP_CORE(KOPS, VOPS).GetNextAssoc(rNextPosition, rKey, rValue); }

#define AFX_IMPLEMENT_MAP_SERIALIZE(CLS, ARG_KEY, KOPS, VOPS) \
    void CLS::Serialize(CArchive& ar) \
    { \
        CObject::Serialize(ar); \
        _AFX_MAP_CORE(KOPS, VOPS).Serialize<ARG_KEY>(ar); \
    }

// The string-keyed maps also hand out their stored key.
#define AFX_IMPLEMENT_LOOKUP_KEY(CLS, VOPS) \
    BOOL CLS::LookupKey(LPCTSTR key, LPCTSTR& rKey) const \
    { \
        UINT nHash; \
        CAssoc* pAssoc = _AFX_MAP_CORE(Elements<CString>, VOPS).GetAssocAt<LPCTSTR>(key, nHash); \
        if (pAssoc == NULL) \
            return FALSE; \
        rKey = pAssoc->key; \
        return TRUE; \
    }

IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
AFX_IMPLEMENT_MAP(CMapWordToPtr, WORD, WORD, void*, Elements<WORD>, Elements<void*>)

IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject)
AFX_IMPLEMENT_MAP(CMapPtrToWord, void*, void*, WORD, Elements<void*>, Elements<WORD>)

IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
AFX_IMPLEMENT_MAP(CMapPtrToPtr, void*, void*, void*, Elements<void*>, Elements<void*>)

IMPLEMENT_SERIAL(CMapWordToOb, CObject, 0)
AFX_IMPLEMENT_MAP(CMapWordToOb, WORD, WORD, CObject*, Elements<WORD>, ObElements)
AFX_IMPLEMENT_MAP_SERIALIZE(CMapWordToOb, WORD, Elements<WORD>, ObElements)

IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
AFX_IMPLEMENT_MAP(CMapStringToPtr, CString, LPCTSTR, void*, Elements<CString>, Elements<void*>)
AFX_IMPLEMENT_LOOKUP_KEY(CMapStringToPtr, Elements<void*>)

IMPLEMENT_SERIAL(CMapStringToOb, CObject, 0)
AFX_IMPLEMENT_MAP(CMapStringToOb, CString, LPCTSTR, CObject*, Elements<CString>, ObElements)
AFX_IMPLEMENT_MAP_SERIALIZE(CMapStringToOb, LPCTSTR, Elements<CString>, ObElements)
AFX_IMPLEMENT_LOOKUP_KEY(CMapStringToOb, ObElements)

IMPLEMENT_SERIAL(CMapStringToString, CObject, 0)
AFX_IMPLEMENT_MAP(CMapStringToString, CString, LPCTSTR, CString, Elements<CString>, Elements<CString>)
AFX_IMPLEMENT_MAP_SERIALIZE(CMapStringToString, LPCTSTR, Elements<CString>, Elements<CString>)
AFX_IMPLEMENT_LOOKUP_KEY(CMapStringToString, Elements<CString>)
