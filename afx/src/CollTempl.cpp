// CollTempl.cpp - the element helpers of afxtempl.h that live in the framework DLL.
#include "afxtempl.h"

#include "CollImpl.h"

UINT AFXAPI HashKey(LPCWSTR key)
{
    return afxcoll::StringKey::Hash(key);
}

// The same arithmetic over the narrow characters (as signed chars, like the
// framework's hash of ANSI strings).
UINT AFXAPI HashKey(LPCSTR key)
{
    UINT nHash = 0;
    if (key != NULL) {
        for (; *key != 0; ++key)
            nHash = (nHash << 5) + nHash + (UINT)(int)*key;
    }
    return nHash;
}

void AFXAPI SerializeElements(CArchive& ar, CString* pElements, int nCount)
{
    if (ar.IsStoring()) {
        for (; nCount > 0; --nCount, ++pElements)
            ar << *pElements;
    }
    else {
        for (; nCount > 0; --nCount, ++pElements)
            ar >> *pElements;
    }
}
