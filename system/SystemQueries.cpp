// SystemQueries.cpp - CSystem's plain queries: folders, environment, command line,
// current directory, screen, mouse, user, locale and time. None caches anything.
#include "System.h"

#include <shellapi.h>
#include <stdlib.h>

#include "RegKey.h"

static const TCHAR s_szShellFolders[] =
    _T("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
static const TCHAR s_szCurrentVersion[] = _T("SOFTWARE\\Microsoft\\Windows\\CurrentVersion");

namespace {

struct FolderSource
{
    HKEY hRoot;
    LPCTSTR pszKey;
    LPCTSTR pszValue;
};

// Indexed by SpecialFolder; entries without a key are answered by a function.
const FolderSource s_folders[] = {
    {HKEY_CURRENT_USER, s_szShellFolders, _T("AppData")},
    {HKEY_LOCAL_MACHINE, s_szShellFolders, _T("Common AppData")},
    {HKEY_LOCAL_MACHINE, s_szShellFolders, _T("Common Desktop")},
    {HKEY_LOCAL_MACHINE, s_szShellFolders, _T("Common Favorites")},
    {HKEY_LOCAL_MACHINE, s_szCurrentVersion, _T("CommonFilesDir")},
    {HKEY_LOCAL_MACHINE, s_szShellFolders, _T("Common Programs")},
    {HKEY_LOCAL_MACHINE, s_szShellFolders, _T("Common Start Menu")},
    {HKEY_LOCAL_MACHINE, s_szShellFolders, _T("Common Startup")},
    {HKEY_CURRENT_USER, s_szShellFolders, _T("Cookies")},
    {HKEY_CURRENT_USER, s_szShellFolders, _T("Desktop")},
    {HKEY_CURRENT_USER, s_szShellFolders, _T("Favorites")},
    {HKEY_CURRENT_USER, s_szShellFolders, _T("Fonts")},
    {HKEY_CURRENT_USER, s_szShellFolders, _T("History")},
    {HKEY_CURRENT_USER, s_szShellFolders, _T("Cache")},
    {HKEY_CURRENT_USER, s_szShellFolders, _T("Local AppData")},
    {HKEY_CURRENT_USER, s_szShellFolders, _T("Personal")},
    {HKEY_LOCAL_MACHINE, s_szCurrentVersion, _T("ProgramFilesDir")},
    {HKEY_CURRENT_USER, s_szShellFolders, _T("Programs")},
    {HKEY_CURRENT_USER, s_szShellFolders, _T("Recent")},
    {HKEY_CURRENT_USER, s_szShellFolders, _T("SendTo")},
    {HKEY_CURRENT_USER, s_szShellFolders, _T("Start Menu")},
    {HKEY_CURRENT_USER, s_szShellFolders, _T("Startup")},
    {NULL, NULL, NULL}, // folderSystem
    {HKEY_CURRENT_USER, s_szShellFolders, _T("Templates")},
    {NULL, NULL, NULL}, // folderTemporary
    {NULL, NULL, NULL}, // folderWindows
};

CString ReadFolderValue(HKEY hRoot, LPCTSTR pszKey, LPCTSTR pszValue)
{
    CRegKey key(hRoot, pszKey, KEY_QUERY_VALUE);
    return key.GetStringValue(pszValue, CString());
}

// Calls a directory function with a first guess at the size and once more with the
// size it asks for; empty when it fails.
CString ReadSystemDirectory(UINT(WINAPI* pfnGet)(LPWSTR, UINT), UINT nFirstSize)
{
    CString strPath;
    UINT nSize = nFirstSize;
    UINT nResult = pfnGet(strPath.GetBuffer((int)nSize), nSize);
    if (nResult > nSize) {
        strPath.ReleaseBuffer(0);
        nSize = nResult;
        nResult = pfnGet(strPath.GetBuffer((int)nSize), nSize);
        if (nResult > nSize)
            nResult = 0;
    }
    strPath.ReleaseBuffer((int)nResult);
    return strPath;
}

} // namespace

CString CSystem::GetFolderPath(SpecialFolder folder)
{
    const int nFolder = (int)folder;
    if (nFolder < 0 || nFolder >= (int)(sizeof(s_folders) / sizeof(s_folders[0])))
        return CString();

    switch (folder) {
    case folderSystem:
        return ReadSystemDirectory(::GetSystemDirectoryW, 48);
    case folderWindows:
        return ReadSystemDirectory(::GetWindowsDirectoryW, 32);
    case folderTemporary: {
        CString strPath;
        DWORD nLength = ::GetTempPathW(MAX_PATH, strPath.GetBuffer(MAX_PATH));
        if (nLength > MAX_PATH)
            nLength = 0;
        strPath.ReleaseBuffer((int)nLength);
        // A root such as C:\ keeps its backslash.
        if (strPath.GetLength() >= 4 && strPath[strPath.GetLength() - 1] == _T('\\'))
            strPath = strPath.Left(strPath.GetLength() - 1);
        return strPath;
    }
    case folderCommonFavorites: {
        const FolderSource& src = s_folders[nFolder];
        CString strPath = ReadFolderValue(src.hRoot, src.pszKey, src.pszValue);
        // Systems without shared favourites keep only the user's.
        if (strPath.IsEmpty())
            strPath = ReadFolderValue(HKEY_CURRENT_USER, s_szShellFolders, _T("Favorites"));
        return strPath;
    }
    default: {
        const FolderSource& src = s_folders[nFolder];
        return ReadFolderValue(src.hRoot, src.pszKey, src.pszValue);
    }
    }
}

BOOL CSystem::GetEnvironmentVariable(const CString& strName, CString& strValue)
{
    WCHAR szProbe[1];
    DWORD nSize = ::GetEnvironmentVariableW(strName, szProbe, 1);
    if (nSize == 0)
        return FALSE;
    // Too small for any non-empty value, so the probe reports the size the value needs,
    // terminator included; an empty value reports 0 and counts as missing.
    DWORD nLength = ::GetEnvironmentVariableW(strName, strValue.GetBuffer((int)nSize), nSize);
    if (nLength >= nSize)
        nLength = 0;
    strValue.ReleaseBuffer((int)nLength);
    return TRUE;
}

CString CSystem::GetEnvironmentVariable(const CString& strName)
{
    CString strValue;
    if (!GetEnvironmentVariable(strName, strValue))
        return CString();
    return strValue;
}

void CSystem::GetEnvironmentVariables(CMapStringToString& map)
{
    LPWCH pBlock = ::GetEnvironmentStringsW();
    if (pBlock == NULL)
        return;

    map.RemoveAll();
    for (LPCWSTR pEntry = pBlock; *pEntry != 0; pEntry += wcslen(pEntry) + 1) {
        LPCWSTR pEquals = wcschr(pEntry, L'=');
        // "=C:=C:\WORK" and the like name no variable.
        if (pEquals == NULL || pEquals == pEntry)
            continue;
        map.SetAt(CString(pEntry, (int)(pEquals - pEntry)), CString(pEquals + 1));
    }
    ::FreeEnvironmentStringsW(pBlock);
}

CString CSystem::ExpandEnvironmentVariables(const CString& strText)
{
    CString strResult;
    DWORD nSize = 64;
    DWORD nResult = ::ExpandEnvironmentStringsW(strText, strResult.GetBuffer((int)nSize), nSize);
    if (nResult > nSize) {
        strResult.ReleaseBuffer(0);
        nSize = nResult;
        nResult = ::ExpandEnvironmentStringsW(strText, strResult.GetBuffer((int)nSize), nSize);
    }
    if (nResult == 0 || nResult > nSize) {
        strResult.ReleaseBuffer(0);
        return CString();
    }
    strResult.ReleaseBuffer(); // cut at the first terminator
    return strResult;
}

CString CSystem::GetCommandLine()
{
    return CString(::GetCommandLineW());
}

void CSystem::GetCommandLineArgs(CStringArray& args)
{
    if (__wargv != NULL) {
        args.SetSize(__argc);
        for (int i = 0; i < __argc; i++)
            args.SetAt(i, __wargv[i]);
        return;
    }
    // A program started through a narrow main has no wide arguments from its run-time
    // library; the platform splits the command line by the same rules.
    int nArgs = 0;
    LPWSTR* ppArgs = ::CommandLineToArgvW(::GetCommandLineW(), &nArgs);
    if (ppArgs == NULL) {
        args.RemoveAll();
        return;
    }
    args.SetSize(nArgs);
    for (int i = 0; i < nArgs; i++)
        args.SetAt(i, ppArgs[i]);
    ::LocalFree(ppArgs);
}

CString CSystem::GetCurrentDirectory()
{
    DWORD nSize = ::GetCurrentDirectoryW(0, NULL);
    if (nSize == 0)
        return CString();
    CString strPath;
    DWORD nLength = ::GetCurrentDirectoryW(nSize, strPath.GetBuffer((int)nSize));
    // The directory may have grown between the two calls; then nothing was copied.
    if (nLength >= nSize)
        nLength = 0;
    strPath.ReleaseBuffer((int)nLength);
    return strPath;
}

BOOL CSystem::SetCurrentDirectory(const CString& strPath)
{
    return ::SetCurrentDirectoryW(strPath);
}

void CSystem::Exit(DWORD dwExitCode)
{
    ::ExitProcess(dwExitCode);
}

CSize CSystem::GetScreenResolution()
{
    HWND hDesktop = ::GetDesktopWindow();
    HDC hDC = ::GetWindowDC(hDesktop);
    if (hDC == NULL)
        return CSize(0, 0);
    CSize size(::GetDeviceCaps(hDC, HORZRES), ::GetDeviceCaps(hDC, VERTRES));
    ::ReleaseDC(hDesktop, hDC);
    return size;
}

BYTE CSystem::GetScreenColorDepth()
{
    HWND hDesktop = ::GetDesktopWindow();
    HDC hDC = ::GetWindowDC(hDesktop);
    if (hDC == NULL)
        return 0;
    BYTE nDepth = (BYTE)::GetDeviceCaps(hDC, BITSPIXEL);
    ::ReleaseDC(hDesktop, hDC);
    return nDepth;
}

BOOL CSystem::HasMouse()
{
    return ::GetSystemMetrics(SM_MOUSEPRESENT);
}

BYTE CSystem::GetMouseButtonCount()
{
    return (BYTE)::GetSystemMetrics(SM_CMOUSEBUTTONS);
}

CString CSystem::GetComputerName()
{
    WCHAR szName[16];
    DWORD nSize = 16;
    if (!::GetComputerNameW(szName, &nSize))
        return CString();
    return CString(szName, (int)nSize);
}

CString CSystem::GetUserName()
{
    WCHAR szName[257];
    DWORD nSize = 257;
    if (!::GetUserNameW(szName, &nSize))
        return CString();
    // The size counts the terminator.
    return CString(szName);
}

CLocale CSystem::GetSystemLocale()
{
    return CLocale::GetSystemDefaultLocale();
}

CTime CSystem::GetUTCDateTime()
{
    SYSTEMTIME st;
    ::GetSystemTime(&st);
    return CTime(st, -1);
}

CTime CSystem::GetLocalDateTime()
{
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    return CTime(st, -1);
}

void CSystem::GetMemoryStatus(MEMORYSTATUS& status)
{
    status.dwLength = 32;
    ::GlobalMemoryStatus(&status);
}
