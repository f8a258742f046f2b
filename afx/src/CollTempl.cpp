// CollTempl.cpp - the element helpers of afxtempl.h that live in the framework DLL.
#include "afxtempl.h"

namespace {

// nHash * 33 + character; a NULL key is the empty string. Narrow characters count
// as signed chars, like the framework's hash of ANSI strings.
template<class CH>
UINT HashText(const CH* key)
{
    UINT nHash = 0;
    for (; key != NULL && *key != 0; ++key)
        nHash = (nHash << 5) + nHash + (UINT)(int)*key;
    return nHash;
}

} // namespace

UINT AFXAPI HashKey(LPCWSTR key)
{
    return HashText(key);
}

UINT AFXAPI HashKey(LPCSTR key)
{
    return HashText(key);
}

void AFXAPI SerializeElements(CArchive& ar, CString* pElements, int nCount)
{
    for (; nCount > 0; --nCount, ++pElements) {
        if (ar.IsStoring())
            ar << *pElements;
        else
            ar >> *pElements;
    }
}
