// FileVersionInfo.cpp - CFileVersionInfo.
#include "FileVersionInfo.h"

#include "ModuleFileNameInternal.h"

#include <malloc.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

namespace {

// version.dll is loaded on first use rather than imported: most programs never read a
// version resource, and the library should not cost them the load.
typedef DWORD(WINAPI* PFN_GetFileVersionInfoSizeW)(LPCWSTR, LPDWORD);
typedef BOOL(WINAPI* PFN_GetFileVersionInfoW)(LPCWSTR, DWORD, DWORD, LPVOID);
typedef BOOL(WINAPI* PFN_VerQueryValueW)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

struct VersionLibrary
{
    PFN_GetFileVersionInfoSizeW pfnGetFileVersionInfoSize;
    PFN_GetFileVersionInfoW pfnGetFileVersionInfo;
    PFN_VerQueryValueW pfnVerQueryValue;

    bool IsUsable() const
    {
        return pfnGetFileVersionInfoSize != NULL && pfnGetFileVersionInfo != NULL
            && pfnVerQueryValue != NULL;
    }
};

template <typename PFN>
PFN GetEntry(HMODULE hModule, const char* pszName)
{
    // Through void*: a direct cast between unrelated function types draws a warning.
    return reinterpret_cast<PFN>(reinterpret_cast<void*>(GetProcAddress(hModule, pszName)));
}

VersionLibrary LoadVersionLibrary()
{
    VersionLibrary lib = { NULL, NULL, NULL };
    // Kept loaded until the process ends, together with the addresses taken from it.
    HMODULE hModule = LoadLibraryW(L"version.dll");
    if (hModule != NULL) {
        lib.pfnGetFileVersionInfoSize =
            GetEntry<PFN_GetFileVersionInfoSizeW>(hModule, "GetFileVersionInfoSizeW");
        lib.pfnGetFileVersionInfo =
            GetEntry<PFN_GetFileVersionInfoW>(hModule, "GetFileVersionInfoW");
        lib.pfnVerQueryValue = GetEntry<PFN_VerQueryValueW>(hModule, "VerQueryValueW");
    }
    return lib;
}

const VersionLibrary& GetVersionLibrary()
{
    // The first object built loads the library, exactly once even with several threads.
    static const VersionLibrary s_lib = LoadVersionLibrary();
    return s_lib;
}

const DWORD kFlagDebug = 0x01;
const DWORD kFlagPreRelease = 0x02;
const DWORD kFlagPatched = 0x04;
const DWORD kFlagPrivateBuild = 0x08;
const DWORD kFlagSpecialBuild = 0x20;

inline WORD High(DWORD dw) { return static_cast<WORD>(dw >> 16); }
inline WORD Low(DWORD dw) { return static_cast<WORD>(dw & 0xFFFF); }

inline CVersion MakeVersion(DWORD dwHigh, DWORD dwLow)
{
    return CVersion(static_cast<__int64>((static_cast<unsigned __int64>(dwHigh) << 32) | dwLow));
}

} // namespace

CString wivo::ModuleFileName(HINSTANCE hModule)
{
    WCHAR szName[MAX_PATH];
    DWORD cch = GetModuleFileNameW(hModule, szName, MAX_PATH);
    // A name that filled the whole buffer was cut off: no file to read.
    if (cch == 0 || cch >= MAX_PATH)
        return CString();
    return CString(szName, static_cast<int>(cch));
}

/////////////////////////////////////////////////////////////////////////////
// Construction

CFileVersionInfo::CFileVersionInfo(const CString& strFileName)
    : m_strFileName(strFileName)
    , m_pVersionBlock(NULL)
    , m_pFixedInfo(NULL)
{
    CommonConstruct();
}

CFileVersionInfo::CFileVersionInfo(HINSTANCE hModule)
    : m_strFileName(wivo::ModuleFileName(hModule))
    , m_pVersionBlock(NULL)
    , m_pFixedInfo(NULL)
{
    CommonConstruct();
}

CFileVersionInfo::~CFileVersionInfo()
{
    free(m_pVersionBlock);
    m_translations.RemoveAll();
}

void CFileVersionInfo::CommonConstruct()
{
    m_pVersionBlock = NULL;
    m_pFixedInfo = NULL;
    m_translations.RemoveAll();
    m_currentTranslation.wLanguage = 0;
    m_currentTranslation.wCodePage = 0;

    const VersionLibrary& lib = GetVersionLibrary();
    if (!lib.IsUsable() || m_strFileName.IsEmpty())
        return;

    DWORD dwHandle = 0;
    DWORD cbBlock = lib.pfnGetFileVersionInfoSize(m_strFileName, &dwHandle);
    if (cbBlock == 0)
        return;
    m_pVersionBlock = static_cast<BYTE*>(malloc(cbBlock));
    if (m_pVersionBlock == NULL)
        return;
    if (!lib.pfnGetFileVersionInfo(m_strFileName, 0, cbBlock, m_pVersionBlock)) {
        // Nothing may be read from a block the platform did not fill.
        free(m_pVersionBlock);
        m_pVersionBlock = NULL;
        return;
    }

    LPVOID pValue = NULL;
    UINT cbValue = 0;
    if (lib.pfnVerQueryValue(m_pVersionBlock, L"\\", &pValue, &cbValue) && pValue != NULL
        && cbValue >= sizeof(VS_FIXEDFILEINFO)) {
        m_pFixedInfo = static_cast<VS_FIXEDFILEINFO*>(pValue);
        // Bits outside the mask carry no meaning; dropping them here keeps every flag
        // query honest.
        m_pFixedInfo->dwFileFlags &= m_pFixedInfo->dwFileFlagsMask;
    }

    pValue = NULL;
    cbValue = 0;
    if (lib.pfnVerQueryValue(m_pVersionBlock, L"\\VarFileInfo\\Translation", &pValue, &cbValue)
        && pValue != NULL) {
        int nCount = static_cast<int>(cbValue / sizeof(CTranslation));
        if (nCount > 0) {
            m_translations.SetSize(nCount);
            memcpy(m_translations.GetData(), pValue, nCount * sizeof(CTranslation));
            m_currentTranslation = m_translations[0];
        }
    }
}

/////////////////////////////////////////////////////////////////////////////
// Attributes

CString CFileVersionInfo::GetFileName() const
{
    return m_strFileName;
}

BOOL CFileVersionInfo::HasVersionInfo() const
{
    return m_pFixedInfo != NULL;
}

/////////////////////////////////////////////////////////////////////////////
// Fixed part

CVersion CFileVersionInfo::GetFileVersion() const
{
    if (m_pFixedInfo == NULL)
        return CVersion::null;
    return MakeVersion(m_pFixedInfo->dwFileVersionMS, m_pFixedInfo->dwFileVersionLS);
}

CVersion CFileVersionInfo::GetProductVersion() const
{
    if (m_pFixedInfo == NULL)
        return CVersion::null;
    return MakeVersion(m_pFixedInfo->dwProductVersionMS, m_pFixedInfo->dwProductVersionLS);
}

WORD CFileVersionInfo::GetFileMajor() const
{
    return m_pFixedInfo != NULL ? High(m_pFixedInfo->dwFileVersionMS) : 0;
}

WORD CFileVersionInfo::GetFileMinor() const
{
    return m_pFixedInfo != NULL ? Low(m_pFixedInfo->dwFileVersionMS) : 0;
}

WORD CFileVersionInfo::GetFileBuild() const
{
    return m_pFixedInfo != NULL ? High(m_pFixedInfo->dwFileVersionLS) : 0;
}

WORD CFileVersionInfo::GetFileRevision() const
{
    return m_pFixedInfo != NULL ? Low(m_pFixedInfo->dwFileVersionLS) : 0;
}

WORD CFileVersionInfo::GetProductMajor() const
{
    return m_pFixedInfo != NULL ? High(m_pFixedInfo->dwProductVersionMS) : 0;
}

WORD CFileVersionInfo::GetProductMinor() const
{
    return m_pFixedInfo != NULL ? Low(m_pFixedInfo->dwProductVersionMS) : 0;
}

WORD CFileVersionInfo::GetProductBuild() const
{
    return m_pFixedInfo != NULL ? High(m_pFixedInfo->dwProductVersionLS) : 0;
}

WORD CFileVersionInfo::GetProductRevision() const
{
    return m_pFixedInfo != NULL ? Low(m_pFixedInfo->dwProductVersionLS) : 0;
}

BOOL CFileVersionInfo::TestFileFlag(DWORD dwFlag) const
{
    return m_pFixedInfo != NULL && (m_pFixedInfo->dwFileFlags & dwFlag) != 0;
}

BOOL CFileVersionInfo::IsDebug() const
{
    return TestFileFlag(kFlagDebug);
}

BOOL CFileVersionInfo::IsPreRelease() const
{
    return TestFileFlag(kFlagPreRelease);
}

BOOL CFileVersionInfo::IsPatched() const
{
    return TestFileFlag(kFlagPatched);
}

BOOL CFileVersionInfo::IsPrivateBuild() const
{
    return TestFileFlag(kFlagPrivateBuild);
}

BOOL CFileVersionInfo::IsSpecialBuild() const
{
    return TestFileFlag(kFlagSpecialBuild);
}

DWORD CFileVersionInfo::GetFileOS() const
{
    return m_pFixedInfo != NULL ? m_pFixedInfo->dwFileOS : 0;
}

DWORD CFileVersionInfo::GetFileType() const
{
    return m_pFixedInfo != NULL ? m_pFixedInfo->dwFileType : 0;
}

DWORD CFileVersionInfo::GetFileSubType() const
{
    return m_pFixedInfo != NULL ? m_pFixedInfo->dwFileSubtype : 0;
}

CTime CFileVersionInfo::GetFileCreationDateTime() const
{
    if (m_pFixedInfo == NULL)
        return CTime();
    FILETIME ft;
    ft.dwLowDateTime = m_pFixedInfo->dwFileDateLS;
    ft.dwHighDateTime = m_pFixedInfo->dwFileDateMS;
    return CTime(ft, -1);
}

/////////////////////////////////////////////////////////////////////////////
// Translations

const CFileVersionInfo::CTranslationArray& CFileVersionInfo::GetTranslations() const
{
    return m_translations;
}

const CFileVersionInfo::CTranslation& CFileVersionInfo::GetCurrentTranslation() const
{
    return m_currentTranslation;
}

void CFileVersionInfo::SetCurrentTranslation(const CTranslation& translation) const
{
    m_currentTranslation = translation;
}

/////////////////////////////////////////////////////////////////////////////
// String entries

CString CFileVersionInfo::GetStringFileInfo(const CString& strEntryName) const
{
    if (m_pVersionBlock == NULL)
        return CString();
    const VersionLibrary& lib = GetVersionLibrary();

    CString strPath;
    strPath.Format(L"\\StringFileInfo\\%04X%04X\\%s", m_currentTranslation.wLanguage,
                   m_currentTranslation.wCodePage, static_cast<LPCTSTR>(strEntryName));
    LPVOID pValue = NULL;
    UINT cchValue = 0;
    // A name that reaches a block instead of a text comes back with no length: that is
    // no entry either.
    if (!lib.pfnVerQueryValue(m_pVersionBlock, strPath, &pValue, &cchValue) || pValue == NULL
        || cchValue == 0)
        return CString();

    // The text ends at its terminator; a damaged resource without one must still not
    // lead the read past the end of the block.
    const BYTE* pText = static_cast<const BYTE*>(pValue);
    const BYTE* pEnd = m_pVersionBlock + _msize(m_pVersionBlock);
    if (pText < m_pVersionBlock || pText >= pEnd)
        return CString();
    size_t cchMax = static_cast<size_t>(pEnd - pText) / sizeof(WCHAR);
    LPCWSTR pszText = reinterpret_cast<LPCWSTR>(pText);
    return CString(pszText, static_cast<int>(wcsnlen(pszText, cchMax)));
}

CString CFileVersionInfo::GetFileDescription() const
{
    return GetStringFileInfo(L"FileDescription");
}

CString CFileVersionInfo::GetFileVersionString() const
{
    return GetStringFileInfo(L"FileVersion");
}

CString CFileVersionInfo::GetProductName() const
{
    return GetStringFileInfo(L"ProductName");
}

CString CFileVersionInfo::GetProductVersionString() const
{
    return GetStringFileInfo(L"ProductVersion");
}

CString CFileVersionInfo::GetInternalName() const
{
    return GetStringFileInfo(L"InternalName");
}

CString CFileVersionInfo::GetOriginalFileName() const
{
    return GetStringFileInfo(L"OriginalFileName");
}

CString CFileVersionInfo::GetCompanyName() const
{
    return GetStringFileInfo(L"CompanyName");
}

CString CFileVersionInfo::GetLegalCopyright() const
{
    return GetStringFileInfo(L"LegalCopyright");
}

CString CFileVersionInfo::GetLegalTrademarks() const
{
    return GetStringFileInfo(L"LegalTrademarks");
}

CString CFileVersionInfo::GetPrivateBuild() const
{
    return GetStringFileInfo(L"PrivateBuild");
}

CString CFileVersionInfo::GetSpecialBuild() const
{
    return GetStringFileInfo(L"SpecialBuild");
}

CString CFileVersionInfo::GetComments() const
{
    return GetStringFileInfo(L"Comments");
}
