// CollImpl.h - what the framework's own collection classes add to the collection
// core of afxcoll_.h: their elements go through the templates' element policy,
// except that CObject pointers serialize as objects rather than as raw pointers.
// Not part of the public headers.
#pragma once

#include "afxcoll.h"
#include "afxtempl.h"

namespace _AfxColl {

struct ObElements : Elements<CObject*>
{
    static void Serialize(CArchive& ar, CObject** pElements, int nCount)
    {
        for (; nCount > 0; --nCount, ++pElements) {
            if (ar.IsStoring())
                ar << *pElements;
            else
                ar >> *pElements;
        }
    }
};

} // namespace _AfxColl
