// Tests of CWinThread and CWinApp on real threads and windows: the profile, the command
// line, worker and user-interface threads, idle clean-up, pumping, exceptions thrown
// by handlers, message boxes and the wait cursor; and a long run of windows made,
// hooked, subclassed and destroyed that must leave no object behind.
#include <afxwin.h>
#include <afxpriv.h>
#include <afxres.h>

#include <gtest/gtest.h>

#include "AfxTestSupport.h"
#include "GuiTestSupport.h"
#include "MsgHook.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

using wivotest::Join;
using wivotest::Narrow;

namespace {

const UINT WM_APP_PING = WM_APP + 1;
const UINT WM_APP_STOP = WM_APP + 2;
const UINT WM_USER_THROW = WM_USER + 2;

class CTestApp : public CWinApp
{
public:
    CTestApp() : CWinApp(L"AppThreadTest") {}
    std::vector<std::string> m_exceptions;  // what reached ProcessWndProcException
    int m_nPings = 0;
    int m_nIdleCalls = 0;

    LRESULT ProcessWndProcException(CException* e, const MSG* pMsg) override
    {
        m_exceptions.push_back(std::string(e->GetRuntimeClass()->m_lpszClassName) + " "
                               + std::to_string(pMsg->message - WM_USER));
        return CWinApp::ProcessWndProcException(e, pMsg);
    }
    BOOL OnIdle(LONG lCount) override
    {
        ++m_nIdleCalls;
        return CWinApp::OnIdle(lCount);
    }

protected:
    afx_msg void OnPing(WPARAM wParam, LPARAM) { m_nPings += (int)wParam; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_THREAD_MESSAGE(WM_APP_PING, OnPing)
END_MESSAGE_MAP()

CTestApp theApp;

// A framework window whose handler throws what wParam asks for.
class CThrowingWnd : public CWnd
{
public:
    int m_nHandled = 0;

protected:
    afx_msg LRESULT OnThrow(WPARAM wParam, LPARAM)
    {
        if (wParam == 1)
            throw new CUserException;
        if (wParam == 2)
            AfxThrowFileException(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, L"fehlt.txt");
        ++m_nHandled;
        return 77;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
    ON_MESSAGE(WM_USER_THROW, OnThrow)
END_MESSAGE_MAP()

BOOL CreatePopup(CWnd& wnd, DWORD dwStyle = WS_POPUP)
{
    return wnd.CreateEx(0, AfxRegisterWndClass(0), L"AppThreadTest", dwStyle, 10, 10, 200, 100,
                        NULL, NULL);
}

/////////////////////////////////////////////////////////////////////////////
// Profile

// Saves and restores where the application keeps its profile.
class ProfilePlace
{
public:
    ProfilePlace() : m_key(theApp.m_pszRegistryKey), m_profile(theApp.m_pszProfileName)
    {
        theApp.m_pszRegistryKey = theApp.m_pszProfileName = NULL;
    }
    ~ProfilePlace()
    {
        Use(NULL, NULL);
        theApp.m_pszRegistryKey = m_key;
        theApp.m_pszProfileName = m_profile;
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\WivoAppThreadTest");
    }
    ProfilePlace(const ProfilePlace&) = delete;
    ProfilePlace& operator=(const ProfilePlace&) = delete;

    // The framework's members are C strings of the heap, replaced as MFC programs do.
    static void Use(LPCWSTR key, LPCWSTR profile)
    {
        free((void*)theApp.m_pszRegistryKey);
        free((void*)theApp.m_pszProfileName);
        theApp.m_pszRegistryKey = key != NULL ? _wcsdup(key) : NULL;
        theApp.m_pszProfileName = profile != NULL ? _wcsdup(profile) : NULL;
    }

private:
    LPCTSTR m_key;
    LPCTSTR m_profile;
};

TEST(AppThreadTest, ProfileRoundTripsInTheRegistryAndInAnIniFile)
{
    ProfilePlace place;
    wivotest::TempDir dir;
    const CString ini = dir.File(L"profil.ini");
    const struct
    {
        LPCWSTR section, entry, text;   // text NULL: an int row
        int n;
    } rows[] = {
        {L"Fenster", L"Titel", L"Gr\u00FC\u00DFe, Welt = 1", 0},
        {L"Fenster", L"Leer", L"", 0},
        {L"Fenster", L"Breite", NULL, 640},
        {L"Zweite", L"Versatz", NULL, -7},
        {L"Zweite", L"Name", L"x", 0},
    };
    const BYTE bytes[] = {0x00, 0x7F, 0xFF, 0x10};

    for (bool bRegistry : {true, false}) {
        SCOPED_TRACE(bRegistry ? "registry" : "INI file");
        if (bRegistry) {
            ProfilePlace::Use(NULL, NULL);
            theApp.SetRegistryKey(L"WivoAppThreadTest");
        } else {
            ProfilePlace::Use(NULL, ini);
        }
        for (const auto& r : rows) {
            EXPECT_TRUE(r.text != NULL ? theApp.WriteProfileString(r.section, r.entry, r.text)
                                       : theApp.WriteProfileInt(r.section, r.entry, r.n));
        }
        EXPECT_TRUE(theApp.WriteProfileBinary(L"Zweite", L"Bytes", (LPBYTE)bytes, sizeof(bytes)));
        for (const auto& r : rows) {
            if (r.text != NULL)
                EXPECT_EQ(CString(r.text), theApp.GetProfileString(r.section, r.entry, L"-"));
            else
                EXPECT_EQ(r.n, (int)theApp.GetProfileInt(r.section, r.entry, 99));
        }
        LPBYTE pData = NULL;
        UINT nBytes = 0;
        ASSERT_TRUE(theApp.GetProfileBinary(L"Zweite", L"Bytes", &pData, &nBytes));
        EXPECT_EQ(std::string((const char*)bytes, sizeof(bytes)), std::string((const char*)pData, nBytes));
        delete[] pData;

        // Missing entries give the defaults; a deleted entry is missing.
        EXPECT_TRUE(theApp.WriteProfileString(L"Zweite", L"Name", NULL));
        EXPECT_EQ(Join({L"dflt", L"", 99, L"dflt", 0LL}),
                  Join({theApp.GetProfileString(L"Fenster", L"Fehlt", L"dflt"),
                        theApp.GetProfileString(L"Nirgends", L"Fehlt"),
                        (int)theApp.GetProfileInt(L"Fenster", L"Fehlt", 99),
                        theApp.GetProfileString(L"Zweite", L"Name", L"dflt"),
                        theApp.GetProfileBinary(L"Fenster", L"Fehlt", &pData, &nBytes)}));

        // The values are where the platform keeps them for everyone else.
        WCHAR szValue[64] = L"";
        DWORD cb = sizeof(szValue);
        if (bRegistry) {
            EXPECT_EQ(ERROR_SUCCESS,
                      ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\WivoAppThreadTest\\AppThreadTest\\Fenster",
                                     L"Titel", RRF_RT_REG_SZ, NULL, szValue, &cb));
        } else {
            ::GetPrivateProfileStringW(L"Fenster", L"Titel", L"", szValue, 64, ini);
        }
        EXPECT_EQ(CString(rows[0].text), CString(szValue));
    }
}

/////////////////////////////////////////////////////////////////////////////
// Command line: a child run of this program parses its own command line.

TEST(AppThreadTest, DISABLED_CommandLineChild)
{
    CCommandLineInfo info;
    theApp.ParseCommandLine(info);
    CString out;
    ASSERT_TRUE(::GetEnvironmentVariableW(L"WIVO_CMDLINE_OUT", out.GetBuffer(MAX_PATH), MAX_PATH));
    out.ReleaseBuffer();
    ASSERT_TRUE(wivotest::WriteFileBytes(
        out, Join({(int)info.m_nShellCommand, info.m_strFileName, info.m_strPrinterName,
                   info.m_strDriverName, info.m_strPortName, info.m_bShowSplash,
                   info.m_bRunEmbedded, info.m_bRunAutomated})));
}

std::string ParsedByChild(LPCWSTR args, const CString& out)
{
    WCHAR szSelf[MAX_PATH];
    ::GetModuleFileNameW(NULL, szSelf, MAX_PATH);
    CString cmd;
    cmd.Format(L"\"%s\" --gtest_also_run_disabled_tests --gtest_filter=*CommandLineChild %s", szSelf, args);
    ::DeleteFileW(out);
    ::SetEnvironmentVariableW(L"WIVO_CMDLINE_OUT", out);
    SECURITY_ATTRIBUTES sa = {sizeof(sa), NULL, TRUE};
    HANDLE hNul = ::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &sa, OPEN_EXISTING, 0, NULL);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = hNul;
    PROCESS_INFORMATION pi = {};
    std::string result = "not started";
    if (::CreateProcessW(NULL, cmd.GetBuffer(0), NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi)) {
        result = ::WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0
            ? wivotest::ReadFileBytes(out) : "timed out";
        ::CloseHandle(pi.hProcess);
        ::CloseHandle(pi.hThread);
    }
    ::CloseHandle(hNul);
    return result;
}

TEST(AppThreadTest, ParseCommandLineFindsCommandsFlagsAndFiles)
{
    wivotest::TempDir dir;
    const struct
    {
        LPCWSTR args;
        const char* parsed;     // command|file|printer|driver|port|splash|embedded|automated
    } rows[] = {
        {L"", "0|||||1|0|0"},
        {L"\"mein dok.txt\" zweite.txt", "1|mein dok.txt||||1|0|0"},
        {L"/p a.txt", "2|a.txt||||1|0|0"},
        {L"-pt a.txt Drucker Treiber Port", "3|a.txt|Drucker|Treiber|Port|1|0|0"},
        {L"/dde", "4|||||1|0|0"},
        {L"/Unregserver", "5|||||1|0|0"},
        {L"/P /DDE b.txt", "1|b.txt||||1|0|0"},     // the shell's switches are case-sensitive
        {L"/embedding c.txt", "1|c.txt||||0|1|0"},
        {L"-Automation", "0|||||0|0|1"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.parsed, ParsedByChild(r.args, dir.File(L"out.txt"))) << Narrow(r.args);
}

/////////////////////////////////////////////////////////////////////////////
// Threads

struct WorkerState
{
    CWinThread* pSeen = NULL;
    DWORD dwId = 0;
};

UINT AFX_CDECL WorkerProc(LPVOID pParam)
{
    WorkerState* pState = static_cast<WorkerState*>(pParam);
    pState->pSeen = AfxGetThread();
    pState->dwId = ::GetCurrentThreadId();
    return 7;
}

// A handle of the thread that outlives its self-deleting object.
HANDLE KeepHandle(CWinThread* pThread)
{
    HANDLE h = NULL;
    ::DuplicateHandle(::GetCurrentProcess(), pThread->m_hThread, ::GetCurrentProcess(), &h,
                      SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, 0);
    return h;
}

DWORD ExitCodeAfter(HANDLE hThread)
{
    DWORD dwCode = (DWORD)-1;
    if (::WaitForSingleObject(hThread, 10000) == WAIT_OBJECT_0)
        ::GetExitCodeThread(hThread, &dwCode);
    ::CloseHandle(hThread);
    return dwCode;
}

class CUiThread : public CWinThread
{
    DECLARE_DYNCREATE(CUiThread)

public:
    static HANDLE s_hReady;     // the window exists
    static HANDLE s_hPinged;
    static std::atomic<int> s_nSum;
    static HWND s_hWnd;

    BOOL InitInstance() override
    {
        m_pMainWnd = new CWnd;
        if (!CreatePopup(*m_pMainWnd))
            return FALSE;
        s_hWnd = m_pMainWnd->m_hWnd;
        ::SetEvent(s_hReady);
        return TRUE;
    }
    int ExitInstance() override
    {
        m_pMainWnd->DestroyWindow();
        delete m_pMainWnd;
        m_pMainWnd = NULL;
        return CWinThread::ExitInstance();
    }

protected:
    afx_msg void OnPing(WPARAM wParam, LPARAM)
    {
        s_nSum += (int)wParam;
        ::SetEvent(s_hPinged);
    }
    afx_msg void OnStop(WPARAM wParam, LPARAM) { ::PostQuitMessage((int)wParam); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CUiThread, CWinThread)
BEGIN_MESSAGE_MAP(CUiThread, CWinThread)
    ON_THREAD_MESSAGE(WM_APP_PING, OnPing)
    ON_THREAD_MESSAGE(WM_APP_STOP, OnStop)
END_MESSAGE_MAP()

HANDLE CUiThread::s_hReady = ::CreateEventW(NULL, FALSE, FALSE, NULL);
HANDLE CUiThread::s_hPinged = ::CreateEventW(NULL, FALSE, FALSE, NULL);
std::atomic<int> CUiThread::s_nSum(0);
HWND CUiThread::s_hWnd = NULL;

TEST(AppThreadTest, WorkerAndUserInterfaceThreads)
{
    WorkerState state;
    CWinThread* pWorker = AfxBeginThread(WorkerProc, &state, THREAD_PRIORITY_BELOW_NORMAL, 0,
                                         CREATE_SUSPENDED);
    ASSERT_TRUE(pWorker != NULL);
    EXPECT_EQ(THREAD_PRIORITY_BELOW_NORMAL, pWorker->GetThreadPriority());
    DWORD dwWorkerId = pWorker->m_nThreadID;
    HANDLE hWorker = KeepHandle(pWorker);
    pWorker->ResumeThread();
    EXPECT_EQ(7u, ExitCodeAfter(hWorker));
    EXPECT_EQ(Join({pWorker, (long long)dwWorkerId}), Join({state.pSeen, (long long)state.dwId}));

    CWinThread* pUi = AfxBeginThread(RUNTIME_CLASS(CUiThread), THREAD_PRIORITY_NORMAL, 0,
                                     CREATE_SUSPENDED);
    ASSERT_TRUE(pUi != NULL);
    HANDLE hUi = KeepHandle(pUi);
    DWORD dwUiId = pUi->m_nThreadID;
    pUi->ResumeThread();
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(CUiThread::s_hReady, 10000));
    HWND hWnd = CUiThread::s_hWnd;
    EXPECT_EQ(dwUiId, ::GetWindowThreadProcessId(hWnd, NULL));
    for (int n : {5, 6}) {
        ASSERT_TRUE(::PostThreadMessageW(dwUiId, WM_APP_PING, n, 0));
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(CUiThread::s_hPinged, 10000));
    }
    EXPECT_EQ(11, CUiThread::s_nSum.load());
    WCHAR szTitle[32] = L"";
    // The window answers from its own thread's loop.
    ::SendMessageW(hWnd, WM_GETTEXT, 32, (LPARAM)szTitle);
    EXPECT_EQ(CString(L"AppThreadTest"), CString(szTitle));
    ASSERT_TRUE(::PostThreadMessageW(dwUiId, WM_APP_STOP, 42, 0));
    EXPECT_EQ(42u, ExitCodeAfter(hUi));
    EXPECT_FALSE(::IsWindow(hWnd));
}

/////////////////////////////////////////////////////////////////////////////
// Idle time, pumping

TEST(AppThreadTest, IdleTimeDeletesTheTemporaryObjectsOnly)
{
    HWND hWnd = ::CreateWindowExW(0, L"STATIC", L"roh", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    HMENU hMenu = ::CreateMenu();
    HBRUSH hBrush = ::CreateSolidBrush(RGB(1, 2, 3));
    HDC hDC = ::GetDC(hWnd);
    const struct
    {
        const char* name;
        CHandleMap* (PASCAL* map)(BOOL);
        CObject* (*make)(HANDLE);
        HANDLE h;
    } rows[] = {
        {"window", afxMapHWND, [](HANDLE h) -> CObject* { return CWnd::FromHandle((HWND)h); }, hWnd},
        {"menu", afxMapHMENU, [](HANDLE h) -> CObject* { return CMenu::FromHandle((HMENU)h); }, hMenu},
        {"brush", afxMapHGDIOBJ, [](HANDLE h) -> CObject* { return CBrush::FromHandle((HBRUSH)h); }, hBrush},
        {"dc", afxMapHDC, [](HANDLE h) -> CObject* { return CDC::FromHandle((HDC)h); }, hDC},
    };
    theApp.OnIdle(1);   // nothing left over from earlier tests
    for (const auto& r : rows) {
        CObject* pObject = r.make(r.h);
        EXPECT_TRUE(pObject != NULL && pObject == r.map(FALSE)->LookupTemporary(r.h)) << r.name;
        EXPECT_TRUE(r.map(FALSE)->LookupPermanent(r.h) == NULL) << r.name;
        EXPECT_EQ(1, (int)r.map(FALSE)->m_temporaryMap.GetCount()) << r.name;
    }
    EXPECT_TRUE(CWnd::FromHandlePermanent(hWnd) == NULL);

    // Held by a lock, and at the first idle call (the user interface's), they stay.
    AfxLockTempMaps();
    EXPECT_FALSE(theApp.OnIdle(1));
    EXPECT_TRUE(AfxUnlockTempMaps(FALSE));     // the last lock went, told to delete nothing
    EXPECT_TRUE(theApp.OnIdle(0));
    for (const auto& r : rows)
        EXPECT_EQ(1, (int)r.map(FALSE)->m_temporaryMap.GetCount()) << r.name;

    // The second idle call deletes the objects, but not what they stood for.
    EXPECT_FALSE(theApp.OnIdle(1));
    for (const auto& r : rows)
        EXPECT_EQ(0, (int)r.map(FALSE)->m_temporaryMap.GetCount()) << r.name;
    EXPECT_EQ(Join({1, 1, OBJ_BRUSH, OBJ_DC}),
              Join({::IsWindow(hWnd), ::IsMenu(hMenu), (int)::GetObjectType(hBrush),
                    (int)::GetObjectType(hDC)}));
    ::ReleaseDC(hWnd, hDC);
    ::DeleteObject(hBrush);
    ::DestroyMenu(hMenu);
    ::DestroyWindow(hWnd);
}

TEST(AppThreadTest, PumpingStopsAtAWaitingQuit)
{
    std::unique_ptr<CThrowingWnd> pWnd(new CThrowingWnd);
    ASSERT_TRUE(CreatePopup(*pWnd));
    MSG msg;
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {}

    // Window and thread messages before the quit are handled, then the pump says stop.
    pWnd->PostMessage(WM_USER_THROW, 0, 0);
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_APP_PING, 3, 0);
    ::PostQuitMessage(5);
    theApp.m_nPings = 0;
    EXPECT_EQ(Join({1, 1, 0LL, WM_QUIT, 5}),
              Join({AfxPumpMessage(), theApp.PumpMessage(), AfxPumpMessage(),
                    (int)theApp.m_msgCur.message, (int)theApp.m_msgCur.wParam}));
    EXPECT_EQ(Join({1, 3}), Join({pWnd->m_nHandled, theApp.m_nPings}));

    // The loop: messages, idle time while the queue is empty, the quit's code.
    theApp.m_pMainWnd = pWnd.get();   // or Run would end on its own
    theApp.m_nIdleCalls = 0;
    wivotest::CallSoon([] { ::PostThreadMessageW(::GetCurrentThreadId(), WM_APP_PING, 4, 0); }, 50);
    wivotest::CallSoon([] { ::PostQuitMessage(9); }, 200);
    EXPECT_EQ(9, theApp.Run());
    theApp.m_pMainWnd = NULL;
    EXPECT_EQ(7, theApp.m_nPings);
    EXPECT_GE(theApp.m_nIdleCalls, 2);
    pWnd->DestroyWindow();
}

/////////////////////////////////////////////////////////////////////////////
// Exceptions, message boxes, wait cursor

TEST(AppThreadTest, AnExceptionFromAHandlerLeavesWindowAndThreadUsable)
{
    std::unique_ptr<CThrowingWnd> pWnd(new CThrowingWnd);
    ASSERT_TRUE(CreatePopup(*pWnd));
    theApp.m_exceptions.clear();

    // A user exception is silent; any other is reported to the user.
    EXPECT_EQ(0, pWnd->SendMessage(WM_USER_THROW, 1));
    CString boxText;
    wivotest::ModalDriver driver([&](wivotest::ModalDriver& d) {
        HWND hBox = d.WaitForDialog();
        boxText = d.StaticText(hBox);
        d.Press(hBox, IDOK);
    });
    EXPECT_EQ(0, pWnd->SendMessage(WM_USER_THROW, 2));
    driver.Join();
    EXPECT_NE(-1, boxText.Find(L"fehlt.txt")) << Narrow(boxText);

    // Thrown from a posted message, through the thread's pump.
    pWnd->PostMessage(WM_USER_THROW, 1);
    pWnd->PostMessage(WM_USER_THROW, 0);
    EXPECT_TRUE(wivotest::PumpUntil([&] { return pWnd->m_nHandled == 1; }));
    EXPECT_EQ(77, pWnd->SendMessage(WM_USER_THROW, 0));
    EXPECT_EQ("CUserException 2|CFileException 2|CUserException 2",
              Join({theApp.m_exceptions[0], theApp.m_exceptions[1], theApp.m_exceptions.back()}));
    EXPECT_EQ(3u, theApp.m_exceptions.size());
    pWnd->DestroyWindow();
}

TEST(AppThreadTest, MessageBoxesAreOwnedByTheMainWindowAndAnswer)
{
    std::unique_ptr<CWnd> pMain(new CWnd);
    ASSERT_TRUE(CreatePopup(*pMain, WS_POPUP | WS_VISIBLE));
    theApp.m_pMainWnd = pMain.get();
    CString strFromId;
    strFromId.LoadString(AFX_IDP_INTERNAL_FAILURE);
    ASSERT_FALSE(strFromId.IsEmpty());
    const struct
    {
        UINT nID;           // 0: the text form
        UINT nType;
        int nPress;
        CString text;
    } rows[] = {
        {0, MB_YESNO, IDNO, L"Weiter?"},
        {0, MB_OK | MB_ICONINFORMATION, IDOK, L"Fertig."},
        {AFX_IDP_INTERNAL_FAILURE, MB_OKCANCEL, IDCANCEL, strFromId},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(Narrow(r.text));
        std::string seen;
        wivotest::ModalDriver driver([&](wivotest::ModalDriver& d) {
            HWND hBox = d.WaitForDialog(L"AppThreadTest");
            seen = Join({d.StaticText(hBox), ::GetWindow(hBox, GW_OWNER) == pMain->m_hWnd,
                         pMain->IsWindowEnabled()});
            d.Press(hBox, r.nPress);
        });
        int nResult = r.nID != 0 ? AfxMessageBox(r.nID, r.nType) : AfxMessageBox(r.text, r.nType);
        driver.Join();
        EXPECT_EQ(r.nPress, nResult);
        EXPECT_EQ(Join({r.text, 1, 0LL}), seen);
        EXPECT_TRUE(pMain->IsWindowEnabled());
    }
    theApp.m_pMainWnd = NULL;
    pMain->DestroyWindow();
}

TEST(AppThreadTest, WaitCursorsNest)
{
    HCURSOR hArrow = ::LoadCursorW(NULL, IDC_ARROW);
    HCURSOR hWait = ::LoadCursorW(NULL, IDC_WAIT);
    ::SetCursor(hArrow);
    CCmdTarget target;
    const struct
    {
        int nStep;      // 1 begin, -1 end, 0 restore
        int nCount;
        bool bWait;
    } rows[] = {{1, 1, true}, {1, 2, true}, {0, 2, true}, {-1, 1, true}, {-1, 0, false}, {-1, 0, false}};
    int nRow = 0;
    for (const auto& r : rows) {
        if (r.nStep == 0)
            ::SetCursor(hArrow);    // something changed the cursor meanwhile
        r.nStep > 0 ? target.BeginWaitCursor()
            : r.nStep < 0 ? target.EndWaitCursor() : target.RestoreWaitCursor();
        EXPECT_EQ(Join({r.nCount, r.bWait ? hWait : hArrow}),
                  Join({theApp.m_nWaitCursorCount, ::GetCursor()})) << "row " << nRow++;
    }
}

/////////////////////////////////////////////////////////////////////////////
// Reliability

// GDI objects of the process: Wine's handles are table indices in the low word and
// accept a zero high word, so probing every index finds each live object once.
int GdiObjectCount()
{
    int n = 0;
    for (ULONG_PTR i = 1; i < 0x10000; ++i)
        if (::GetObjectType((HGDIOBJ)i) != 0)
            ++n;
    return n;
}

struct ObjectCounts
{
    int kernel, windows, mapped, gdi;

    static ObjectCounts Now()
    {
        ObjectCounts c;
        c.kernel = (int)wivotest::ProcessHandleCount();
        c.windows = wivotest::ThreadWindowCount();
        c.mapped = 0;
        for (CHandleMap* pMap : {afxMapHWND(TRUE), afxMapHMENU(TRUE), afxMapHGDIOBJ(TRUE), afxMapHDC(TRUE)})
            c.mapped += (int)(pMap->m_permanentMap.GetCount() + pMap->m_temporaryMap.GetCount());
        c.gdi = GdiObjectCount();
        return c;
    }
    std::string Text() const { return Join({kernel, windows, mapped, gdi}); }
};

// Deletes itself at the end of its window, as frames do.
class CSelfDeletingWnd : public CWnd
{
protected:
    void PostNcDestroy() override { delete this; }
};

// One cycle: a framework window with a raw child, the child subclassed by a CWnd, both
// hooked, messages through the chains, a brush selected into a window DC, then all
// taken apart again. Odd cycles leave the hooks to the windows' end.
void WindowCycle(int i)
{
    CWnd& frame = *new CSelfDeletingWnd;
    CWnd child;
    CMsgHook frameHook, childHook;
    ASSERT_TRUE(CreatePopup(frame));
    HWND hChild = ::CreateWindowExW(0, L"STATIC", L"k", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20,
                                    frame.m_hWnd, (HMENU)1, NULL, NULL);
    ASSERT_TRUE(child.SubclassWindow(hChild));
    ASSERT_TRUE(frameHook.Install(&frame) && childHook.Install(&child));
    frame.SetWindowText(L"x");
    child.SetWindowText(L"y");
    CBrush brush;
    brush.CreateSolidBrush(RGB(i & 0xFF, 0, 0));
    CDC* pDC = frame.GetDC();
    CBrush* pOld = pDC->SelectObject(&brush);
    pDC->PatBlt(0, 0, 5, 5, PATCOPY);
    pDC->SelectObject(pOld);
    frame.ReleaseDC(pDC);
    if (i % 2 == 0) {
        ASSERT_TRUE(childHook.Remove() && frameHook.Remove());
    }
    ASSERT_EQ(hChild, child.UnsubclassWindow());
    ASSERT_TRUE(frame.DestroyWindow());
}

TEST(AppThreadTest, AThousandWindowCyclesLeaveNothingBehind)
{
    WindowCycle(0);     // first-use costs of the platform and the framework
    theApp.OnIdle(1);
    ObjectCounts before = ObjectCounts::Now();

    // Each count moves with one more live object of its kind.
    HANDLE hEvent = ::CreateEventW(NULL, FALSE, FALSE, NULL);
    std::unique_ptr<CWnd> pWnd(new CWnd);
    ASSERT_TRUE(CreatePopup(*pWnd));
    HBRUSH hBrush = ::CreateSolidBrush(RGB(4, 5, 6));
    ObjectCounts more = ObjectCounts::Now();
    EXPECT_EQ(Join({before.kernel + 1, before.windows + 1, before.mapped + 1, before.gdi + 1}), more.Text());
    ::DeleteObject(hBrush);
    pWnd->DestroyWindow();
    ::CloseHandle(hEvent);

    for (int i = 1; i <= 1000 && !HasFatalFailure(); ++i) {
        WindowCycle(i);
        if (i % 100 == 0)
            theApp.OnIdle(1);
    }
    theApp.OnIdle(1);
    EXPECT_EQ(before.Text(), ObjectCounts::Now().Text());
}

} // namespace
