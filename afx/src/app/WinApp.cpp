// WinApp.cpp - CWinApp: the application object, its start, its profile in the
// registry or an INI file, its command line and its message boxes.
#include "afxwin.h"
#include "afxpriv.h"
#include "afxres.h"

#include <shellapi.h>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
END_MESSAGE_MAP()

namespace {

// The application's strings are C strings it owns, as the framework's members
// have always been; they are replaced through these two.
void ReplaceString(LPCTSTR& lpsz, LPCTSTR lpszNew)
{
    free((void*)lpsz);
    lpsz = lpszNew != NULL ? _wcsdup(lpszNew) : NULL;
}

} // namespace

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_hInstance(NULL), m_hPrevInstance(NULL), m_lpCmdLine(NULL), m_nCmdShow(SW_SHOWNORMAL),
      m_pszAppName(NULL), m_pszRegistryKey(NULL), m_pszExeName(NULL), m_pszHelpFilePath(NULL),
      m_pszProfileName(NULL), m_hcurWaitCursorRestore(NULL), m_nWaitCursorCount(0)
{
    ReplaceString(m_pszAppName, lpszAppName);

    // The application is the thread object of the thread that makes it, and the
    // module's application.
    AFX_MODULE_STATE* pModuleState = AfxGetModuleState();
    pModuleState->m_thread.GetData()->m_pCurrentWinThread = this;
    pModuleState->m_pCurrentWinApp = this;
    m_hThread = ::GetCurrentThread();
    m_nThreadID = ::GetCurrentThreadId();
    m_bAutoDelete = FALSE;  // a global object
}

CWinApp::~CWinApp()
{
    AFX_MODULE_STATE* pModuleState = AfxGetModuleState();
    if (pModuleState->m_pCurrentWinApp == this) {
        pModuleState->m_pCurrentWinApp = NULL;
        if (pModuleState->m_lpszCurrentAppName == m_pszAppName)
            pModuleState->m_lpszCurrentAppName = NULL;
    }
    free((void*)m_pszAppName);
    free((void*)m_pszRegistryKey);
    free((void*)m_pszExeName);
    free((void*)m_pszHelpFilePath);
    free((void*)m_pszProfileName);
    m_hThread = NULL;   // the pseudo handle is not closed
}

/////////////////////////////////////////////////////////////////////////////
// Start

BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine,
    int nCmdShow)
{
    AFX_MODULE_STATE* pModuleState = AfxGetModuleState();
    pModuleState->m_hCurrentInstanceHandle = hInstance;
    pModuleState->m_hCurrentResourceHandle = hInstance;

    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL) {
        pApp->m_hInstance = hInstance;
        pApp->m_hPrevInstance = hPrevInstance;
        pApp->m_lpCmdLine = lpCmdLine;
        pApp->m_nCmdShow = nCmdShow;

        // The program's name, and from it the title, help file and INI file.
        WCHAR szPath[MAX_PATH];
        DWORD nLen = ::GetModuleFileNameW(hInstance, szPath, MAX_PATH);
        CString strPath(szPath, (int)nLen);
        int nSlash = strPath.ReverseFind(L'\\');
        CString strName = strPath.Mid(nSlash + 1);
        int nDot = strName.ReverseFind(L'.');
        if (nDot >= 0)
            strName = strName.Left(nDot);
        if (pApp->m_pszExeName == NULL)
            ReplaceString(pApp->m_pszExeName, strName);
        if (pApp->m_pszAppName == NULL) {
            CString strTitle;
            if (!strTitle.LoadString(AFX_IDS_APP_TITLE))
                strTitle = strName;
            ReplaceString(pApp->m_pszAppName, strTitle);
        }
        pModuleState->m_lpszCurrentAppName = pApp->m_pszAppName;
        if (pApp->m_pszHelpFilePath == NULL) {
            CString strHelp = strPath;
            int nExt = strHelp.ReverseFind(L'.');
            if (nExt > nSlash)
                strHelp = strHelp.Left(nExt);
            ReplaceString(pApp->m_pszHelpFilePath, strHelp + L".HLP");
        }
        if (pApp->m_pszProfileName == NULL)
            ReplaceString(pApp->m_pszProfileName, CString(pApp->m_pszExeName) + L".INI");
    }
    return TRUE;
}

void AFXAPI AfxWinTerm()
{
    // Whatever temporary objects the last messages made.
    AFX_MODULE_THREAD_STATE* pState = AfxGetModuleThreadState();
    if (pState->m_nTempMapLock == 0) {
        AfxLockTempMaps();
        AfxUnlockTempMaps();
    }
}

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine,
    int nCmdShow)
{
    int nReturnCode = -1;
    CWinThread* pThread = AfxGetThread();
    CWinApp* pApp = AfxGetApp();
    if (pThread == NULL || !AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow))
        goto InitFailure;
    if (pApp != NULL && !pApp->InitApplication())
        goto InitFailure;
    if (!pThread->InitInstance()) {
        if (pThread->m_pMainWnd != NULL)
            pThread->m_pMainWnd->DestroyWindow();
        nReturnCode = pThread->ExitInstance();
        goto InitFailure;
    }
    nReturnCode = pThread->Run();

InitFailure:
    AfxWinTerm();
    return nReturnCode;
}

BOOL CWinApp::InitApplication()
{
    return TRUE;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return (int)m_msgCur.wParam;
}

int CWinApp::Run()
{
    // Without a main window nothing could ever end the loop.
    if (m_pMainWnd == NULL)
        ::PostQuitMessage(0);
    return CWinThread::Run();
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    return CWinThread::OnIdle(lCount);
}

/////////////////////////////////////////////////////////////////////////////
// Command line

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == NULL)
        return;
    for (int i = 1; i < argc; i++) {
        LPCTSTR pszParam = argv[i];
        BOOL bFlag = pszParam[0] == L'-' || pszParam[0] == L'/';
        if (bFlag)
            ++pszParam;
        rCmdInfo.ParseParam(pszParam, bFlag, i + 1 == argc);
    }
    ::LocalFree(argv);
}

CCommandLineInfo::CCommandLineInfo()
    : m_bShowSplash(TRUE), m_bRunEmbedded(FALSE), m_bRunAutomated(FALSE),
      m_nShellCommand(FileNew)
{
}

CCommandLineInfo::~CCommandLineInfo()
{
}

void CCommandLineInfo::ParseParam(LPCTSTR lpszParam, BOOL bFlag, BOOL bLast)
{
    if (bFlag)
        ParseParamFlag(lpszParam);
    else
        ParseParamNotFlag(lpszParam);
    ParseLast(bLast);
}

void CCommandLineInfo::ParseParamFlag(LPCTSTR pszParam)
{
    // The shell's switches are case-sensitive, the OLE ones are not.
    if (wcscmp(pszParam, L"pt") == 0)
        m_nShellCommand = FilePrintTo;
    else if (wcscmp(pszParam, L"p") == 0)
        m_nShellCommand = FilePrint;
    else if (_wcsicmp(pszParam, L"Unregister") == 0 || _wcsicmp(pszParam, L"Unregserver") == 0)
        m_nShellCommand = AppUnregister;
    else if (wcscmp(pszParam, L"dde") == 0)
        m_nShellCommand = FileDDE;
    else if (_wcsicmp(pszParam, L"Embedding") == 0) {
        m_bRunEmbedded = TRUE;
        m_bShowSplash = FALSE;
    } else if (_wcsicmp(pszParam, L"Automation") == 0) {
        m_bRunAutomated = TRUE;
        m_bShowSplash = FALSE;
    }
}

void CCommandLineInfo::ParseParamNotFlag(LPCTSTR pszParam)
{
    if (m_strFileName.IsEmpty())
        m_strFileName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strPrinterName.IsEmpty())
        m_strPrinterName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strDriverName.IsEmpty())
        m_strDriverName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strPortName.IsEmpty())
        m_strPortName = pszParam;
}

void CCommandLineInfo::ParseLast(BOOL bLast)
{
    if (bLast) {
        if (m_nShellCommand == FileNew && !m_strFileName.IsEmpty())
            m_nShellCommand = FileOpen;
        m_bShowSplash = !m_bRunEmbedded && !m_bRunAutomated;
    }
}

/////////////////////////////////////////////////////////////////////////////
// Profile: HKEY_CURRENT_USER\Software\<company>\<application>\<section> after
// SetRegistryKey, else the INI file

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey)
{
    ReplaceString(m_pszRegistryKey, lpszRegistryKey);
    // Under the company key the application is known by its title.
    ReplaceString(m_pszProfileName, m_pszAppName);
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    CString strKey;
    strKey.LoadString(nIDRegistryKey);
    SetRegistryKey(strKey);
}

HKEY CWinApp::GetAppRegistryKey()
{
    if (m_pszRegistryKey == NULL || m_pszProfileName == NULL)
        return NULL;
    HKEY hSoftKey = NULL;
    HKEY hCompanyKey = NULL;
    HKEY hAppKey = NULL;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_WRITE | KEY_READ,
            &hSoftKey) == ERROR_SUCCESS) {
        DWORD dw;
        if (::RegCreateKeyExW(hSoftKey, m_pszRegistryKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                KEY_WRITE | KEY_READ, NULL, &hCompanyKey, &dw) == ERROR_SUCCESS) {
            ::RegCreateKeyExW(hCompanyKey, m_pszProfileName, 0, NULL, REG_OPTION_NON_VOLATILE,
                KEY_WRITE | KEY_READ, NULL, &hAppKey, &dw);
        }
    }
    if (hSoftKey != NULL)
        ::RegCloseKey(hSoftKey);
    if (hCompanyKey != NULL)
        ::RegCloseKey(hCompanyKey);
    return hAppKey;
}

HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection)
{
    if (lpszSection == NULL)
        return NULL;
    HKEY hAppKey = GetAppRegistryKey();
    if (hAppKey == NULL)
        return NULL;
    HKEY hSectionKey = NULL;
    DWORD dw;
    ::RegCreateKeyExW(hAppKey, lpszSection, 0, NULL, REG_OPTION_NON_VOLATILE,
        KEY_WRITE | KEY_READ, NULL, &hSectionKey, &dw);
    ::RegCloseKey(hAppKey);
    return hSectionKey;
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    if (m_pszRegistryKey == NULL)
        return ::GetPrivateProfileIntW(lpszSection, lpszEntry, nDefault, m_pszProfileName);
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return (UINT)nDefault;
    DWORD dwValue = 0;
    DWORD dwType = 0;
    DWORD dwCount = sizeof(DWORD);
    LONG lResult = ::RegQueryValueExW(hSecKey, lpszEntry, NULL, &dwType, (LPBYTE)&dwValue, &dwCount);
    ::RegCloseKey(hSecKey);
    if (lResult == ERROR_SUCCESS && dwType == REG_DWORD && dwCount == sizeof(DWORD))
        return (UINT)dwValue;
    return (UINT)nDefault;
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    if (m_pszRegistryKey == NULL) {
        if (lpszDefault == NULL)
            lpszDefault = L"";
        // The INI function truncates silently: grow until the text fits.
        for (DWORD nSize = 256;; nSize *= 2) {
            CString strValue;
            DWORD nLen = ::GetPrivateProfileStringW(lpszSection, lpszEntry, lpszDefault,
                strValue.GetBuffer((int)nSize), nSize, m_pszProfileName);
            strValue.ReleaseBuffer((int)nLen);
            if (nLen < nSize - 2)
                return strValue;
        }
    }
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return lpszDefault;
    CString strValue;
    DWORD dwType = 0;
    DWORD dwCount = 0;
    LONG lResult = ::RegQueryValueExW(hSecKey, lpszEntry, NULL, &dwType, NULL, &dwCount);
    if (lResult == ERROR_SUCCESS && (dwType == REG_SZ || dwType == REG_EXPAND_SZ)) {
        int nChars = (int)(dwCount / sizeof(WCHAR));
        lResult = ::RegQueryValueExW(hSecKey, lpszEntry, NULL, &dwType,
            (LPBYTE)strValue.GetBuffer(nChars + 1), &dwCount);
        strValue.GetBuffer(nChars + 1)[nChars] = 0;     // stored without a terminator, perhaps
        strValue.ReleaseBuffer();
    }
    ::RegCloseKey(hSecKey);
    if (lResult == ERROR_SUCCESS && (dwType == REG_SZ || dwType == REG_EXPAND_SZ))
        return strValue;
    return lpszDefault;
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    if (m_pszRegistryKey == NULL) {
        WCHAR szT[16];
        swprintf(szT, 16, L"%d", nValue);
        return ::WritePrivateProfileStringW(lpszSection, lpszEntry, szT, m_pszProfileName);
    }
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return FALSE;
    LONG lResult = ::RegSetValueExW(hSecKey, lpszEntry, 0, REG_DWORD, (const BYTE*)&nValue,
        sizeof(nValue));
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    if (m_pszRegistryKey == NULL)
        return ::WritePrivateProfileStringW(lpszSection, lpszEntry, lpszValue, m_pszProfileName);

    LONG lResult;
    if (lpszEntry == NULL) {
        // No entry: the whole section goes.
        HKEY hAppKey = GetAppRegistryKey();
        if (hAppKey == NULL)
            return FALSE;
        lResult = ::RegDeleteKeyW(hAppKey, lpszSection);
        ::RegCloseKey(hAppKey);
    } else {
        HKEY hSecKey = GetSectionKey(lpszSection);
        if (hSecKey == NULL)
            return FALSE;
        if (lpszValue == NULL) {
            lResult = ::RegDeleteValueW(hSecKey, lpszEntry);
        } else {
            lResult = ::RegSetValueExW(hSecKey, lpszEntry, 0, REG_SZ, (const BYTE*)lpszValue,
                (DWORD)((wcslen(lpszValue) + 1) * sizeof(WCHAR)));
        }
        ::RegCloseKey(hSecKey);
    }
    return lResult == ERROR_SUCCESS;
}

BOOL CWinApp::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes)
{
    *ppData = NULL;
    *pBytes = 0;
    if (m_pszRegistryKey == NULL) {
        // INI files keep each byte as two letters, low nibble first.
        CString str = GetProfileString(lpszSection, lpszEntry, NULL);
        int nLen = str.GetLength();
        if (nLen == 0 || nLen % 2 != 0)
            return FALSE;
        *pBytes = (UINT)nLen / 2;
        *ppData = new BYTE[*pBytes];
        for (int i = 0; i < nLen; i += 2) {
            (*ppData)[i / 2] = (BYTE)(((str[i + 1] - L'A') << 4) + (str[i] - L'A'));
        }
        return TRUE;
    }
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return FALSE;
    DWORD dwType = 0;
    DWORD dwCount = 0;
    LONG lResult = ::RegQueryValueExW(hSecKey, lpszEntry, NULL, &dwType, NULL, &dwCount);
    if (lResult == ERROR_SUCCESS && dwType == REG_BINARY) {
        *pBytes = dwCount;
        *ppData = new BYTE[dwCount != 0 ? dwCount : 1];
        lResult = ::RegQueryValueExW(hSecKey, lpszEntry, NULL, &dwType, *ppData, &dwCount);
    }
    ::RegCloseKey(hSecKey);
    if (lResult == ERROR_SUCCESS && dwType == REG_BINARY)
        return TRUE;
    delete[] *ppData;
    *ppData = NULL;
    *pBytes = 0;
    return FALSE;
}

BOOL CWinApp::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes)
{
    if (m_pszRegistryKey == NULL) {
        CString str;
        LPWSTR psz = str.GetBufferSetLength((int)nBytes * 2);
        for (UINT i = 0; i < nBytes; i++) {
            psz[i * 2] = (WCHAR)((pData[i] & 0x0F) + L'A');
            psz[i * 2 + 1] = (WCHAR)(((pData[i] >> 4) & 0x0F) + L'A');
        }
        str.ReleaseBuffer((int)nBytes * 2);
        return WriteProfileString(lpszSection, lpszEntry, str);
    }
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return FALSE;
    LONG lResult = ::RegSetValueExW(hSecKey, lpszEntry, 0, REG_BINARY, pData, nBytes);
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

/////////////////////////////////////////////////////////////////////////////
// Resources

HCURSOR CWinApp::LoadCursor(LPCTSTR lpszResourceName) const
{
    return ::LoadCursorW(AfxFindResourceHandle(lpszResourceName, RT_GROUP_CURSOR), lpszResourceName);
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
    return LoadCursor(MAKEINTRESOURCEW(nIDResource));
}

HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const
{
    return ::LoadCursorW(NULL, lpszCursorName);
}

HCURSOR CWinApp::LoadOEMCursor(UINT nIDCursor) const
{
    return ::LoadCursorW(NULL, MAKEINTRESOURCEW(nIDCursor));
}

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const
{
    return ::LoadIconW(AfxFindResourceHandle(lpszResourceName, RT_GROUP_ICON), lpszResourceName);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return LoadIcon(MAKEINTRESOURCEW(nIDResource));
}

HICON CWinApp::LoadStandardIcon(LPCTSTR lpszIconName) const
{
    return ::LoadIconW(NULL, lpszIconName);
}

HICON CWinApp::LoadOEMIcon(UINT nIDIcon) const
{
    return ::LoadIconW(NULL, MAKEINTRESOURCEW(nIDIcon));
}

/////////////////////////////////////////////////////////////////////////////
// Message boxes and modal states

void CWinApp::EnableModeless(BOOL)
{
    // What the framework disables here are the modeless windows of an embedded
    // (OLE) server; this framework has no OLE, so there are none to disable.
}

void CWinApp::DoWaitCursor(int nCode)
{
    m_nWaitCursorCount += nCode;
    if (m_nWaitCursorCount > 0) {
        HCURSOR hcurPrev = ::SetCursor(::LoadCursorW(NULL, IDC_WAIT));
        if (nCode > 0 && m_nWaitCursorCount == 1)
            m_hcurWaitCursorRestore = hcurPrev;
    } else {
        m_nWaitCursorCount = 0;
        ::SetCursor(m_hcurWaitCursorRestore);
    }
}

namespace {

// The box itself: owned by the safe owner, which is disabled meanwhile, with an
// exclamation mark unless the caller chose an icon.
int ShowMessageBox(LPCTSTR lpszPrompt, UINT nType, LPCTSTR lpszTitle)
{
    HWND hWndTop;
    HWND hWnd = CWnd::GetSafeOwner_(NULL, &hWndTop);
    if ((nType & MB_ICONMASK) == 0) {
        UINT nButtons = nType & MB_TYPEMASK;
        if (nButtons == MB_OK || nButtons == MB_OKCANCEL || nButtons == MB_YESNO ||
            nButtons == MB_YESNOCANCEL)
            nType |= MB_ICONEXCLAMATION;
    }
    int nResult = ::MessageBoxW(hWnd, lpszPrompt, lpszTitle, nType);
    if (hWndTop != NULL)
        ::EnableWindow(hWndTop, TRUE);
    return nResult;
}

} // namespace

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT)
{
    EnableModeless(FALSE);
    int nResult = ShowMessageBox(lpszPrompt, nType, m_pszAppName);
    EnableModeless(TRUE);
    return nResult;
}

int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        return pApp->DoMessageBox(lpszText, nType, nIDHelp);
    // No application object (a program that only uses the classes): titled with
    // the program's name.
    WCHAR szPath[MAX_PATH];
    DWORD nLen = ::GetModuleFileNameW(NULL, szPath, MAX_PATH);
    CString strTitle(szPath, (int)nLen);
    strTitle = strTitle.Mid(strTitle.ReverseFind(L'\\') + 1);
    int nDot = strTitle.ReverseFind(L'.');
    if (nDot > 0)
        strTitle = strTitle.Left(nDot);
    LPCTSTR lpszAppName = AfxGetAppName();
    return ShowMessageBox(lpszText, nType,
        lpszAppName != NULL && lpszAppName[0] != 0 ? lpszAppName : (LPCTSTR)strTitle);
}

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString strPrompt;
    strPrompt.LoadString(nIDPrompt);
    if (nIDHelp == (UINT)-1)
        nIDHelp = nIDPrompt;
    return AfxMessageBox(strPrompt, nType, nIDHelp);
}
