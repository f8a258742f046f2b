// Shell.cpp - CShell.
#include "Shell.h"

#include <afxwin.h>

#include <shellapi.h>
#include <shlobj.h>
#include <string.h>

LONG CShell::s_hResult = 0;

namespace {

// The CSIDL of each SpecialFolder value, in the enumeration's order.
const int s_folderIds[] = {
    CSIDL_ALTSTARTUP,
    CSIDL_APPDATA,
    CSIDL_BITBUCKET,
    CSIDL_COMMON_ALTSTARTUP,
    CSIDL_COMMON_DESKTOPDIRECTORY,
    CSIDL_COMMON_FAVORITES,
    CSIDL_COMMON_PROGRAMS,
    CSIDL_COMMON_STARTMENU,
    CSIDL_COMMON_STARTUP,
    CSIDL_CONTROLS,
    CSIDL_COOKIES,
    CSIDL_DESKTOP,
    CSIDL_DESKTOPDIRECTORY,
    CSIDL_DRIVES,
    CSIDL_FAVORITES,
    CSIDL_FONTS,
    CSIDL_HISTORY,
    CSIDL_INTERNET,
    CSIDL_INTERNET_CACHE,
    CSIDL_NETHOOD,
    CSIDL_NETWORK,
    CSIDL_PERSONAL,
    CSIDL_PRINTERS,
    CSIDL_PRINTHOOD,
    CSIDL_PROGRAMS,
    CSIDL_RECENT,
    CSIDL_SENDTO,
    CSIDL_STARTMENU,
    CSIDL_STARTUP,
    CSIDL_TEMPLATES,
};

static_assert(sizeof(s_folderIds) / sizeof(s_folderIds[0]) == CShell::shellTemplates + 1,
              "one shell id per SpecialFolder value");

} // namespace

LONG CShell::GetLastError()
{
    return s_hResult;
}

LPITEMIDLIST CShell::GetSpecialFolderLocation(SpecialFolder folder)
{
    // The value may come from a cast integer; compare unsigned so negatives fail too.
    if ((unsigned)folder > (unsigned)shellTemplates) {
        s_hResult = E_INVALIDARG;
        return NULL;
    }
    LPITEMIDLIST pidl = NULL;
    HRESULT hr = ::SHGetSpecialFolderLocation(NULL, s_folderIds[folder], &pidl);
    s_hResult = hr;
    if (FAILED(hr))
        return NULL;
    return pidl;
}

CString CShell::GetSpecialFolderPath(SpecialFolder folder)
{
    LPITEMIDLIST pidl = GetSpecialFolderLocation(folder);
    if (pidl == NULL)
        return CString();
    CString strPath = GetPathFromIDList(pidl);
    ::CoTaskMemFree(pidl);
    return strPath;
}

CString CShell::GetPathFromIDList(LPITEMIDLIST pidl)
{
    WCHAR szPath[MAX_PATH];
    szPath[0] = L'\0';
    // Some shells answer a virtual folder with its parsing name ("::{clsid}...");
    // that is no file-system path either.
    if (pidl == NULL || !::SHGetPathFromIDListW(pidl, szPath)
        || (szPath[0] == L':' && szPath[1] == L':')) {
        s_hResult = E_FAIL;
        return CString();
    }
    s_hResult = S_OK;
    return CString(szPath);
}

LPITEMIDLIST CShell::GetIDListFromPath(const CString& strPath)
{
    IShellFolder* pDesktop = NULL;
    HRESULT hr = ::SHGetDesktopFolder(&pDesktop);
    s_hResult = hr;
    if (FAILED(hr) || pDesktop == NULL)
        return NULL;

    // ParseDisplayName wants a writable text.
    CString strName(strPath);
    LPITEMIDLIST pidl = NULL;
    hr = pDesktop->ParseDisplayName(NULL, NULL, strName.GetBuffer(0), NULL, &pidl, NULL);
    strName.ReleaseBuffer();
    s_hResult = hr;
    pDesktop->Release();
    if (FAILED(hr))
        return NULL;
    return pidl;
}

IMalloc* CShell::GetIMalloc()
{
    IMalloc* pMalloc = NULL;
    HRESULT hr = ::SHGetMalloc(&pMalloc);
    s_hResult = hr;
    return FAILED(hr) ? NULL : pMalloc;
}

IShellFolder* CShell::GetDesktopFolder()
{
    IShellFolder* pFolder = NULL;
    HRESULT hr = ::SHGetDesktopFolder(&pFolder);
    s_hResult = hr;
    return FAILED(hr) ? NULL : pFolder;
}

IUnknown* CShell::GetExplorer()
{
    IUnknown* pExplorer = NULL;
    HRESULT hr = ::SHGetInstanceExplorer(&pExplorer);
    s_hResult = hr;
    return FAILED(hr) ? NULL : pExplorer;
}

BOOL CShell::Execute(SHELLEXECUTEINFOW& info)
{
    info.hwnd = CWnd::GetSafeOwner_(info.hwnd, NULL);
    return ::ShellExecuteExW(&info);
}

BOOL CShell::Execute(const CString& strVerb, const CString& strFile,
    const CString& strParameters, const CString& strDirectory)
{
    SHELLEXECUTEINFOW info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.hwnd = CWnd::GetSafeOwner_(NULL, NULL);
    info.lpVerb = strVerb;
    info.lpFile = strFile;
    info.lpParameters = strParameters;
    info.lpDirectory = strDirectory;
    info.nShow = SW_SHOW;
    return ::ShellExecuteExW(&info);
}

BOOL CShell::Execute(const CString& strVerb, const CString& strFile,
    const CString& strParameters)
{
    return Execute(strVerb, strFile, strParameters, CString());
}

BOOL CShell::Execute(const CString& strFile, const CString& strParameters)
{
    return Execute(CString(L"open"), strFile, strParameters, CString());
}

BOOL CShell::Execute(const CString& strFile)
{
    return Execute(CString(L"open"), strFile, CString(), CString());
}

CShell& CShell::operator=(const CShell&)
{
    return *this;
}
