// DLLVersionInfo.cpp - CDLLVersionInfo and the cached common-control and shell versions.
#include "DLLVersionInfo.h"

#include <string.h>

#include "ModuleFileNameInternal.h"

namespace {

// The platform's conversion of a Win32 error into an HRESULT; a failure that left no
// error code must still read as a failure.
HRESULT LastErrorResult()
{
    DWORD dwError = GetLastError();
    return dwError != ERROR_SUCCESS ? HRESULT_FROM_WIN32(dwError) : E_FAIL;
}

// Asked on first use and kept for the life of the process (undefined until then).
CVersion s_verComCtl;
CVersion s_verShell;

CVersion GetCachedVersion(CVersion& verCache, LPCTSTR pszLibrary)
{
    if (verCache == CVersion::undefined) {
        CDLLVersionInfo info(pszLibrary);
        verCache = info.GetHResult() < 0 ? CVersion(4, 0) : info.GetVersion();
    }
    return verCache;
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// Construction

CDLLVersionInfo::CDLLVersionInfo(const CString& strLibraryName)
    : m_strFileName(strLibraryName)
    , m_hResult(E_FAIL)
{
    CommonConstruct();
}

CDLLVersionInfo::CDLLVersionInfo(HINSTANCE hModule)
    : m_hResult(E_FAIL)
{
    SetLastError(ERROR_SUCCESS);
    m_strFileName = wivo::ModuleFileName(hModule);
    if (m_strFileName.IsEmpty()) {
        memset(&m_dvi, 0, sizeof(m_dvi));
        m_dvi.cbSize = sizeof(m_dvi);
        m_hResult = LastErrorResult();
        return;
    }
    CommonConstruct();
}

CDLLVersionInfo::CDLLVersionInfo(const CDLLVersionInfo& other)
    : m_dvi(other.m_dvi)
    , m_strFileName(other.m_strFileName)
    , m_hResult(other.m_hResult)
{
}

CDLLVersionInfo& CDLLVersionInfo::operator=(const CDLLVersionInfo& other)
{
    m_dvi = other.m_dvi;
    m_strFileName = other.m_strFileName;
    m_hResult = other.m_hResult;
    return *this;
}

void CDLLVersionInfo::CommonConstruct()
{
    memset(&m_dvi, 0, sizeof(m_dvi));
    m_dvi.cbSize = sizeof(m_dvi);

    HMODULE hLibrary = LoadLibraryW(m_strFileName);
    if (hLibrary == NULL) {
        m_hResult = LastErrorResult();
        return;
    }
    DLLGETVERSIONPROC pfnDllGetVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(GetProcAddress(hLibrary, "DllGetVersion")));
    if (pfnDllGetVersion == NULL) {
        m_hResult = LastErrorResult();
        FreeLibrary(hLibrary);
        return;
    }
    m_hResult = pfnDllGetVersion(&m_dvi);
    FreeLibrary(hLibrary);
}

/////////////////////////////////////////////////////////////////////////////
// Attributes

CString CDLLVersionInfo::GetFileName() const
{
    return m_strFileName;
}

HRESULT CDLLVersionInfo::GetHResult() const
{
    return m_hResult;
}

BOOL CDLLVersionInfo::HasVersionInfo() const
{
    return SUCCEEDED(m_hResult);
}

CVersion CDLLVersionInfo::GetVersion() const
{
    return CVersion(static_cast<short>(m_dvi.dwMajorVersion & 0xFFFF),
                    static_cast<short>(m_dvi.dwMinorVersion & 0xFFFF),
                    static_cast<short>(m_dvi.dwBuildNumber & 0xFFFF));
}

/////////////////////////////////////////////////////////////////////////////
// Cached library versions

CVersion WivoGetComCtlVersion()
{
    return GetCachedVersion(s_verComCtl, L"COMCTL32.DLL");
}

CVersion WivoGetShellVersion()
{
    return GetCachedVersion(s_verShell, L"SHELL32.DLL");
}
