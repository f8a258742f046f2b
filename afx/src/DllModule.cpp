// DllModule.cpp - extension modules, the resource chain and the string helpers
// built on it.
#include "StateImpl.h"


/////////////////////////////////////////////////////////////////////////////
// CDynLinkLibrary

IMPLEMENT_DYNAMIC(CDynLinkLibrary, CObject)

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule),
      m_hResource(state.hResource),
      m_bSystem(bSystem),
      m_pNextDLL(NULL),
      m_pModuleState(NULL)
{
    Register();
}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource)
    : m_hModule(hModule),
      m_hResource(hResource),
      m_bSystem(FALSE),
      m_pNextDLL(NULL),
      m_pModuleState(NULL)
{
    Register();
}

void CDynLinkLibrary::Register()
{
    m_pModuleState = AfxGetModuleState();
    CSRWLockScope lock(m_pModuleState->m_lockLibraryList, true);
    m_pModuleState->m_libraryList.AddHead(this);
}

CDynLinkLibrary::~CDynLinkLibrary()
{
    if (m_pModuleState != NULL) {
        // AfxTermExtensionModule may have taken it out already.
        CSRWLockScope lock(m_pModuleState->m_lockLibraryList, true);
        m_pModuleState->m_libraryList.Remove(this);
    }
}

/////////////////////////////////////////////////////////////////////////////
// Extension modules

BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hMod)
{
    if (state.bInitialized)
        return TRUE;
    WCHAR szPath[MAX_PATH];
    if (hMod == NULL || ::GetModuleFileNameW(hMod, szPath, MAX_PATH) == 0)
        return FALSE;
    state.hModule = hMod;
    state.hResource = hMod;
    state.pFirstSharedClass = NULL;
    state.pFirstSharedFactory = NULL;
    state.bInitialized = TRUE;
    return TRUE;
}

namespace {

// Takes the first matching library out of a module state's list; NULL when none
// is left.
CDynLinkLibrary* DetachLibrary(AFX_MODULE_STATE* pState, HMODULE hModule, BOOL bAll)
{
    CSRWLockScope lock(pState->m_lockLibraryList, true);
    for (CDynLinkLibrary* pDLL = pState->m_libraryList; pDLL != NULL; pDLL = pDLL->m_pNextDLL) {
        if (bAll || pDLL->m_hModule == hModule) {
            pState->m_libraryList.Remove(pDLL);
            return pDLL;
        }
    }
    return NULL;
}

} // namespace

void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll)
{
    if (!bAll && state.hModule == NULL)
        return;
    AFX_MODULE_STATE* pStates[2] = { AfxGetModuleState(), AfxGetAppModuleState() };
    for (int i = 0; i < 2; ++i) {
        if (i == 1 && pStates[1] == pStates[0])
            break;
        // One at a time, deleted outside the lock: the destructor takes it again.
        while (CDynLinkLibrary* pDLL = DetachLibrary(pStates[i], state.hModule, bAll))
            delete pDLL;
    }
    state.bInitialized = FALSE;
}

/////////////////////////////////////////////////////////////////////////////
// The resource chain

namespace {

// The modules to search, in order, without duplicates. The handles are copied so
// the loader is never entered while the list lock is held (an extension DLL's
// DllMain takes that lock while the loader holds its own), and without throwing:
// AfxLoadString must work when memory has run out.
class CResourceChain
{
public:
    CResourceChain() : m_pModules(m_inline), m_nModules(0), m_nMax(kInline)
    {
        AFX_MODULE_STATE* pState = AfxGetModuleState();
        if (!pState->m_bSystem)
            Add(pState->m_hCurrentResourceHandle);
        {
            CSRWLockScope lock(pState->m_lockLibraryList, false);
            int nLibraries = 0;
            for (CDynLinkLibrary* p = pState->m_libraryList; p != NULL; p = p->m_pNextDLL)
                ++nLibraries;
            if (nLibraries + 3 > m_nMax) {
                // Beyond the inline room; without memory the last libraries are left out.
                HINSTANCE* pBig = static_cast<HINSTANCE*>(
                    ::HeapAlloc(::GetProcessHeap(), 0, sizeof(HINSTANCE) * (size_t)(nLibraries + 3)));
                if (pBig != NULL) {
                    memcpy(pBig, m_inline, sizeof(HINSTANCE) * (size_t)m_nModules);
                    m_pModules = pBig;
                    m_nMax = nLibraries + 3;
                }
            }
            for (CDynLinkLibrary* p = pState->m_libraryList; p != NULL; p = p->m_pNextDLL)
                if (!p->m_bSystem)
                    Add(p->m_hResource);
            if (pState->m_bSystem)
                Add(pState->m_hCurrentResourceHandle);
            for (CDynLinkLibrary* p = pState->m_libraryList; p != NULL; p = p->m_pNextDLL)
                if (p->m_bSystem)
                    Add(p->m_hResource);
        }
        // The framework's own texts come last; room for it is always kept.
        if (m_nModules == m_nMax)
            --m_nModules;
        Add(_afxFrameworkInstance);
    }
    ~CResourceChain()
    {
        if (m_pModules != m_inline)
            ::HeapFree(::GetProcessHeap(), 0, m_pModules);
    }
    CResourceChain(const CResourceChain&) = delete;
    CResourceChain& operator=(const CResourceChain&) = delete;

    int GetCount() const { return m_nModules; }
    HINSTANCE operator[](int i) const { return m_pModules[i]; }

private:
    enum { kInline = 32 };

    void Add(HINSTANCE hInst)
    {
        if (hInst == NULL || m_nModules == m_nMax)
            return;
        for (int i = 0; i < m_nModules; ++i)
            if (m_pModules[i] == hInst)
                return;
        m_pModules[m_nModules++] = hInst;
    }

    HINSTANCE m_inline[kInline];
    HINSTANCE* m_pModules;
    int m_nModules;
    int m_nMax;
};

// String nID of one module: a pointer into its string table and the length, or
// NULL when the module's block of 16 strings is missing or has no text for nID.
LPCWSTR FindStringInModule(HINSTANCE hInst, UINT nID, int* pnLength)
{
    *pnLength = 0;
    if (nID > 0xFFFF)
        return NULL;
    HRSRC hRsrc = ::FindResourceW(hInst, MAKEINTRESOURCEW((nID >> 4) + 1), RT_STRING);
    if (hRsrc == NULL)
        return NULL;
    DWORD cbBlock = ::SizeofResource(hInst, hRsrc);
    HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
    const WORD* pEntry = hGlobal != NULL ? static_cast<const WORD*>(::LockResource(hGlobal)) : NULL;
    if (pEntry == NULL)
        return NULL;
    // Each entry is a length and that many characters; skip to entry nID % 16,
    // never reading past the block.
    const WORD* pEnd = pEntry + cbBlock / sizeof(WORD);
    for (UINT i = nID & 15; i > 0; --i) {
        if (pEntry >= pEnd)
            return NULL;
        pEntry += 1 + *pEntry;
    }
    if (pEntry >= pEnd || *pEntry == 0 || pEntry + 1 + *pEntry > pEnd)
        return NULL;
    *pnLength = *pEntry;
    return reinterpret_cast<LPCWSTR>(pEntry + 1);
}

// The first text of the chain for nID.
LPCWSTR FindStringInChain(UINT nID, int* pnLength, HINSTANCE* phInst)
{
    CResourceChain chain;
    for (int i = 0; i < chain.GetCount(); ++i) {
        LPCWSTR pText = FindStringInModule(chain[i], nID, pnLength);
        if (pText != NULL) {
            if (phInst != NULL)
                *phInst = chain[i];
            return pText;
        }
    }
    *pnLength = 0;
    return NULL;
}

} // namespace

HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType)
{
    if (lpszName != NULL && lpszType != NULL) {
        CResourceChain chain;
        for (int i = 0; i < chain.GetCount(); ++i)
            if (::FindResourceW(chain[i], lpszName, lpszType) != NULL)
                return chain[i];
    }
    return AfxGetResourceHandle();
}

HINSTANCE AFXAPI AfxFindStringResourceHandle(UINT nID)
{
    HINSTANCE hInst = NULL;
    int nLength;
    FindStringInChain(nID, &nLength, &hInst);
    return hInst;
}

int AFXAPI AfxLoadString(UINT nIDS, LPTSTR lpszBuf, UINT nMaxBuf)
{
    if (lpszBuf == NULL || nMaxBuf == 0)
        return 0;
    int nLength;
    LPCWSTR pText = FindStringInChain(nIDS, &nLength, NULL);
    if (pText == NULL) {
        lpszBuf[0] = 0;
        return 0;
    }
    UINT nCopy = (UINT)nLength < nMaxBuf - 1 ? (UINT)nLength : nMaxBuf - 1;
    memcpy(lpszBuf, pText, nCopy * sizeof(TCHAR));
    lpszBuf[nCopy] = 0;
    return (int)nCopy;
}

/////////////////////////////////////////////////////////////////////////////
// Formatting with %1..%9

namespace {

// Whether pch starts a placeholder %1..%9 with an argument; its index goes to *pIndex.
bool IsPlaceholder(LPCTSTR pch, int nString, int* pIndex)
{
    if (pch[0] != '%' || pch[1] < '1' || pch[1] > '9')
        return false;
    *pIndex = pch[1] - '1';
    return *pIndex < nString;
}

// Formats lpszFormat (nFormat characters) into rString; two passes, so the
// result is allocated once.
void FormatInto(CString& rString, LPCTSTR lpszFormat, int nFormat, LPCTSTR const* rglpsz, int nString)
{
    if (rglpsz == NULL)
        nString = 0;
    int nTotal = 0;
    for (int i = 0; i < nFormat; ++i) {
        int iArg;
        if (i + 1 < nFormat && IsPlaceholder(lpszFormat + i, nString, &iArg)) {
            nTotal += rglpsz[iArg] != NULL ? (int)wcslen(rglpsz[iArg]) : 0;
            ++i;
        } else {
            ++nTotal;
        }
    }
    CString result;
    LPTSTR pDest = result.GetBuffer(nTotal);
    for (int i = 0; i < nFormat; ++i) {
        int iArg;
        if (i + 1 < nFormat && IsPlaceholder(lpszFormat + i, nString, &iArg)) {
            if (rglpsz[iArg] != NULL) {
                size_t n = wcslen(rglpsz[iArg]);
                memcpy(pDest, rglpsz[iArg], n * sizeof(TCHAR));
                pDest += n;
            }
            ++i;
        } else {
            *pDest++ = lpszFormat[i];
        }
    }
    result.ReleaseBuffer(nTotal);
    rString = result;
}

} // namespace

void AFXAPI AfxFormatStrings(CString& rString, LPCTSTR lpszFormat, LPCTSTR const* rglpsz, int nString)
{
    if (lpszFormat == NULL) {
        rString.Empty();
        return;
    }
    FormatInto(rString, lpszFormat, (int)wcslen(lpszFormat), rglpsz, nString);
}

void AFXAPI AfxFormatStrings(CString& rString, UINT nIDS, LPCTSTR const* rglpsz, int nString)
{
    int nLength;
    LPCWSTR pText = FindStringInChain(nIDS, &nLength, NULL);
    if (pText == NULL) {
        rString.Empty();
        return;
    }
    // The resource text has no terminator of its own: it is formatted in place.
    FormatInto(rString, pText, nLength, rglpsz, nString);
}

void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCTSTR lpsz1)
{
    AfxFormatStrings(rString, nIDS, &lpsz1, 1);
}

void AFXAPI AfxFormatString2(CString& rString, UINT nIDS, LPCTSTR lpsz1, LPCTSTR lpsz2)
{
    LPCTSTR rglpsz[2] = { lpsz1, lpsz2 };
    AfxFormatStrings(rString, nIDS, rglpsz, 2);
}

/////////////////////////////////////////////////////////////////////////////
// AfxExtractSubString

BOOL AFXAPI AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString, TCHAR chSep)
{
    if (lpszFullString == NULL || iSubString < 0) {
        rString.Empty();
        return FALSE;
    }
    LPCTSTR pStart = lpszFullString;
    for (; iSubString > 0; --iSubString) {
        pStart = wcschr(pStart, chSep);
        // A NUL separator would find the terminator: there are no more fields.
        if (pStart == NULL || *pStart == 0) {
            rString.Empty();
            return FALSE;
        }
        ++pStart;
    }
    LPCTSTR pEnd = chSep != 0 ? wcschr(pStart, chSep) : NULL;
    int nLength = pEnd != NULL ? (int)(pEnd - pStart) : (int)wcslen(pStart);
    rString = CString(pStart, nLength);
    return TRUE;
}
