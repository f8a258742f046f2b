// Object.cpp - CObject, CRuntimeClass, the class registry, CDumpContext and the
// pointer validity checks.
#include "afx.h"

#include <stdio.h>

/////////////////////////////////////////////////////////////////////////////
// Class registry
//
// One list for the whole process, linked through CRuntimeClass::m_pNextClass: an
// archive written by one module names classes that may live in any other. The lock
// is a statically initialized SRW lock, so registrations made by static constructors
// of modules loaded before our own constructors ran are safe.

namespace {

SRWLOCK g_classLock = SRWLOCK_INIT;
CRuntimeClass* g_pFirstClass = NULL;

BOOL ClassIsRegistered(const CRuntimeClass* pClass)
{
    for (const CRuntimeClass* p = g_pFirstClass; p != NULL; p = p->m_pNextClass)
        if (p == pClass)
            return TRUE;
    return FALSE;
}

} // namespace

void AFXAPI AfxClassInit(CRuntimeClass* pNewClass)
{
    if (pNewClass == NULL)
        return;
    AcquireSRWLockExclusive(&g_classLock);
    // Newest first: applications load after the DLLs they use, so a class of the
    // application wins over a namesake in a DLL, as the module chain has it.
    if (!ClassIsRegistered(pNewClass)) {
        pNewClass->m_pNextClass = g_pFirstClass;
        g_pFirstClass = pNewClass;
    }
    ReleaseSRWLockExclusive(&g_classLock);
}

void AFXAPI AfxClassTerm(CRuntimeClass* pOldClass)
{
    if (pOldClass == NULL)
        return;
    AcquireSRWLockExclusive(&g_classLock);
    for (CRuntimeClass** ppLink = &g_pFirstClass; *ppLink != NULL; ppLink = &(*ppLink)->m_pNextClass) {
        if (*ppLink == pOldClass) {
            *ppLink = pOldClass->m_pNextClass;
            pOldClass->m_pNextClass = NULL;
            break;
        }
    }
    ReleaseSRWLockExclusive(&g_classLock);
}

CRuntimeClass* AFXAPI AfxFindRuntimeClass(LPCSTR lpszClassName)
{
    if (lpszClassName == NULL)
        return NULL;
    CRuntimeClass* pFound = NULL;
    AcquireSRWLockShared(&g_classLock);
    for (CRuntimeClass* p = g_pFirstClass; p != NULL; p = p->m_pNextClass) {
        if (lstrcmpA(p->m_lpszClassName, lpszClassName) == 0) {
            pFound = p;
            break;
        }
    }
    ReleaseSRWLockShared(&g_classLock);
    return pFound;
}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass)
    : m_pClass(pNewClass)
{
    AfxClassInit(pNewClass);
}

// A DLL that goes away takes its classes out of the registry with it.
AFX_CLASSINIT::~AFX_CLASSINIT()
{
    AfxClassTerm(m_pClass);
}

/////////////////////////////////////////////////////////////////////////////
// CRuntimeClass

CObject* CRuntimeClass::CreateObject()
{
    if (m_pfnCreateObject == NULL)
        return NULL;
    // Failure to construct (out of memory, a throwing constructor) means "no object".
    try {
        return (*m_pfnCreateObject)();
    } catch (CException* e) {
        e->Delete();
    }
    return NULL;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    if (pBaseClass == NULL)
        return FALSE;
    const CRuntimeClass* pClass = this;
    while (pClass != NULL) {
        if (pClass == pBaseClass)
            return TRUE;
        pClass = pClass->m_pfnGetBaseClass != NULL ? (*pClass->m_pfnGetBaseClass)() : NULL;
    }
    return FALSE;
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    return AfxFindRuntimeClass(lpszClassName);
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCWSTR lpszClassName)
{
    if (lpszClassName == NULL)
        return NULL;
    // Class names are C++ identifiers: anything beyond ASCII cannot match.
    char szName[256];
    int i = 0;
    for (; lpszClassName[i] != 0; ++i) {
        if (lpszClassName[i] > 0x7F || i + 1 >= (int)sizeof(szName))
            return NULL;
        szName[i] = (char)lpszClassName[i];
    }
    szName[i] = 0;
    return AfxFindRuntimeClass(szName);
}

/////////////////////////////////////////////////////////////////////////////
// CObject

const CRuntimeClass CObject::classCObject = {
    "CObject", (int)sizeof(CObject), 0xFFFF, NULL, &CObject::_GetBaseClass, NULL };

CRuntimeClass* PASCAL CObject::_GetBaseClass()
{
    return NULL;
}

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return RUNTIME_CLASS(CObject);
}

CObject::CObject()
{
}

CObject::~CObject() noexcept(false)
{
}

void* PASCAL CObject::operator new(size_t nSize)
{
    void* p = malloc(nSize != 0 ? nSize : 1);
    if (p == NULL)
        AfxThrowMemoryException();
    return p;
}

void* PASCAL CObject::operator new(size_t, void* p)
{
    return p;
}

void PASCAL CObject::operator delete(void* p)
{
    free(p);
}

void PASCAL CObject::operator delete(void*, void*)
{
}

void* PASCAL CObject::operator new(size_t nSize, LPCSTR, int)
{
    return CObject::operator new(nSize);
}

void PASCAL CObject::operator delete(void* p, LPCSTR, int)
{
    free(p);
}

BOOL CObject::IsSerializable() const
{
    return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

void CObject::Serialize(CArchive&)
{
    // The root has no data of its own.
}

void CObject::AssertValid() const
{
    // The root has no invariants of its own; derived classes check theirs.
}

void CObject::Dump(CDumpContext& dc) const
{
    dc << "a " << GetRuntimeClass()->m_lpszClassName << " at " << (const void*)this << "\n";
}

/////////////////////////////////////////////////////////////////////////////
// Down-casts

CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject)
{
    if (pObject != NULL && pObject->IsKindOf(pClass))
        return pObject;
    return NULL;
}

CObject* AFXAPI AfxStaticDownCast(CRuntimeClass* pClass, CObject* pObject)
{
    ASSERT(pObject == NULL || pObject->IsKindOf(pClass));
    UNUSED(pClass);
    return pObject;
}

/////////////////////////////////////////////////////////////////////////////
// Pointer validity

namespace {

const DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                        PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
const DWORD kWritable = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE |
                        PAGE_EXECUTE_WRITECOPY;

// The end of the committed, accessible region holding address p, or 0.
UINT_PTR AccessibleRegionEnd(UINT_PTR p, BOOL bWrite)
{
    MEMORY_BASIC_INFORMATION mbi;
    if (VirtualQuery((LPCVOID)p, &mbi, sizeof mbi) == 0)
        return 0;
    if (mbi.State != MEM_COMMIT || (mbi.Protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0)
        return 0;
    if ((mbi.Protect & (bWrite ? kWritable : kReadable)) == 0)
        return 0;
    return (UINT_PTR)mbi.BaseAddress + mbi.RegionSize;
}

BOOL RangeAccessible(const void* lp, SIZE_T nBytes, BOOL bWrite)
{
    UINT_PTR p = (UINT_PTR)lp;
    UINT_PTR end = p + nBytes;
    if (end < p)
        return FALSE;
    while (p < end) {
        UINT_PTR regionEnd = AccessibleRegionEnd(p, bWrite);
        if (regionEnd == 0)
            return FALSE;
        p = regionEnd;
    }
    return TRUE;
}

// Looks for the terminator region by region, never touching a page it has not
// checked first.
template <class TChar>
BOOL TerminatedStringAccessible(const TChar* lpsz)
{
    UINT_PTR p = (UINT_PTR)lpsz;
    UINT_PTR regionEnd = p;
    for (;;) {
        while (p + sizeof(TChar) > regionEnd) {
            regionEnd = AccessibleRegionEnd(regionEnd, FALSE);
            if (regionEnd == 0)
                return FALSE;
        }
        if (*(const TChar*)p == 0)
            return TRUE;
        p += sizeof(TChar);
    }
}

template <class TChar>
BOOL StringAccessible(const TChar* lpsz, int nLength)
{
    if (lpsz == NULL)
        return FALSE;
    if (nLength < 0)
        return TerminatedStringAccessible(lpsz);
    return RangeAccessible(lpsz, (SIZE_T)nLength * sizeof(TChar), FALSE);
}

} // namespace

BOOL AFXAPI AfxIsValidAddress(const void* lp, UINT nBytes, BOOL bReadWrite)
{
    if (lp == NULL)
        return FALSE;
    return RangeAccessible(lp, nBytes, FALSE) && (!bReadWrite || RangeAccessible(lp, nBytes, TRUE));
}

BOOL AFXAPI AfxIsValidString(LPCWSTR lpsz, int nLength)
{
    return StringAccessible(lpsz, nLength);
}

BOOL AFXAPI AfxIsValidString(LPCSTR lpsz, int nLength)
{
    return StringAccessible(lpsz, nLength);
}

/////////////////////////////////////////////////////////////////////////////
// CDumpContext

AFX_CORE_DATA CDumpContext afxDump;

CDumpContext::CDumpContext(CFile* pFile)
    : m_nDepth(0), m_pFile(pFile)
{
}

int CDumpContext::GetDepth() const
{
    return m_nDepth;
}

void CDumpContext::SetDepth(int nNewDepth)
{
    m_nDepth = nNewDepth;
}

void CDumpContext::OutputString(LPCTSTR lpsz)
{
    if (lpsz == NULL)
        return;
    if (m_pFile == NULL) {
        ::OutputDebugStringW(lpsz);
        return;
    }
    m_pFile->Write(lpsz, (UINT)(lstrlenW(lpsz) * sizeof(TCHAR)));
}

CDumpContext& CDumpContext::operator<<(LPCTSTR lpsz)
{
    if (lpsz == NULL) {
        OutputString(L"NULL");
        return *this;
    }
    // Text is written a line at a time, with the line ends the debugger expects.
    LPCTSTR pStart = lpsz;
    for (LPCTSTR p = lpsz; *p != 0; ++p) {
        if (*p == L'\n' && (p == lpsz || p[-1] != L'\r')) {
            if (p > pStart) {
                CString strPart(pStart, (int)(p - pStart));
                OutputString(strPart);
            }
            OutputString(L"\r\n");
            pStart = p + 1;
        }
    }
    if (*pStart != 0)
        OutputString(pStart);
    return *this;
}

CDumpContext& CDumpContext::operator<<(LPCSTR lpsz)
{
    if (lpsz == NULL)
        return *this << (LPCTSTR)NULL;
    CString str(lpsz);
    return *this << (LPCTSTR)str;
}

CDumpContext& CDumpContext::operator<<(const void* lp)
{
    WCHAR sz[32];
    swprintf(sz, _countof(sz), L"$%llX", (unsigned long long)(UINT_PTR)lp);
    OutputString(sz);
    return *this;
}

CDumpContext& CDumpContext::operator<<(const CObject* pOb)
{
    if (pOb == NULL)
        return *this << L"NULL";
    pOb->Dump(*this);
    return *this;
}

CDumpContext& CDumpContext::operator<<(const CObject& ob)
{
    return *this << &ob;
}

CDumpContext& CDumpContext::operator<<(BYTE by)
{
    return *this << (UINT)by;
}

CDumpContext& CDumpContext::operator<<(WORD w)
{
    return *this << (UINT)w;
}

CDumpContext& CDumpContext::operator<<(UINT u)
{
    WCHAR sz[16];
    swprintf(sz, _countof(sz), L"%u", u);
    OutputString(sz);
    return *this;
}

CDumpContext& CDumpContext::operator<<(LONG l)
{
    return *this << (int)l;
}

CDumpContext& CDumpContext::operator<<(DWORD dw)
{
    return *this << (UINT)dw;
}

CDumpContext& CDumpContext::operator<<(float f)
{
    return *this << (double)f;
}

CDumpContext& CDumpContext::operator<<(double d)
{
    WCHAR sz[64];
    swprintf(sz, _countof(sz), L"%f", d);
    OutputString(sz);
    return *this;
}

CDumpContext& CDumpContext::operator<<(int n)
{
    WCHAR sz[16];
    swprintf(sz, _countof(sz), L"%d", n);
    OutputString(sz);
    return *this;
}

CDumpContext& CDumpContext::operator<<(LONGLONG n)
{
    WCHAR sz[32];
    swprintf(sz, _countof(sz), L"%lld", n);
    OutputString(sz);
    return *this;
}

CDumpContext& CDumpContext::operator<<(ULONGLONG n)
{
    WCHAR sz[32];
    swprintf(sz, _countof(sz), L"%llu", n);
    OutputString(sz);
    return *this;
}

void CDumpContext::HexDump(LPCTSTR lpszLine, BYTE* pby, int nBytes, int nWidth)
{
    if (pby == NULL || nBytes <= 0)
        return;
    if (nWidth <= 0)
        nWidth = 16;
    for (int nRow = 0; nRow < nBytes; nRow += nWidth) {
        CString strLine(lpszLine != NULL ? lpszLine : L"");
        for (int i = nRow; i < nRow + nWidth && i < nBytes; ++i) {
            WCHAR sz[8];
            swprintf(sz, _countof(sz), L" %02X", (UINT)pby[i]);
            strLine += sz;
        }
        strLine += L"\n";
        *this << (LPCTSTR)strLine;
    }
}

void CDumpContext::Flush()
{
    if (m_pFile != NULL)
        m_pFile->Flush();
}
