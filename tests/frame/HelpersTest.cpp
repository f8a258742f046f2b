// Tests of the general helper functions. The program has an application object,
// as the message-processing helper works through it.
#include "WivoHelpers.h"

#include "System.h"
#include "AfxTestSupport.h"

#include <gtest/gtest.h>

namespace {

class CHelpersTestApp : public CWinApp
{
public:
    int m_nIdleCalls = 0;
    BOOL OnIdle(LONG lCount) override
    {
        ++m_nIdleCalls;
        return lCount < 2;  // asks for three calls
    }
};

CHelpersTestApp theApp;

TEST(HelpersTest, YesAndNo)
{
    EXPECT_EQ("Ja|Ja|Nein",
              wivotest::Join({WivoGetBoolString(2), WivoGetBoolString(TRUE), WivoGetBoolString(0)}));
}

TEST(HelpersTest, HtmlText)
{
    struct Row { const wchar_t* in; const wchar_t* out; } const rows[] = {
        { L"a<b> & c", L"a&lt;b&gt;&nbsp;&amp;&nbsp;c" },
        { L"x\r\ny", L"x<br>y" },
        { L"x\n\ry", L"x<br><br>y" },
        { L"x\r", L"x<br>" },
        { L"Gr\u00F6\u00DFe", L"Gr&ouml;&szlig;e" },
        { L"\u00C4\u00D6\u00DC\u00E4\u00FC", L"&Auml;&Ouml;&Uuml;&auml;&uuml;" },
        { L"\"q\"", L"&quot;q&quot;" },
        { L"\u00E9'\t", L"\u00E9'\t" },   // nothing else is escaped
        { L"", L"" },
    };
    for (const Row& r : rows)
        EXPECT_EQ(CString(r.out), WivoConvertToHTMLString(r.in)) << wivotest::Narrow(r.in);
}

TEST(HelpersTest, PathChecks)
{
    wivotest::TempDir dir;
    CString file = dir.File(L"f.txt");
    ASSERT_TRUE(wivotest::WriteFileBytes(file, "x"));
    CString missing = dir.File(L"nope");

    CString notDir, notFile, missingDir, missingFile;
    EXPECT_FALSE(WivoCheckDirPath(file, FALSE, FALSE, &notDir));
    EXPECT_EQ(CString(L"Der angegebene Pfad verweist nicht auf ein Verzeichnis."), notDir);
    EXPECT_FALSE(WivoCheckFilePath(dir.Path(), FALSE, FALSE, &notFile));
    EXPECT_EQ(CString(L"Der angegebene Pfad verweist nicht auf eine Datei."), notFile);
    EXPECT_FALSE(WivoCheckDirPath(missing, FALSE, FALSE, &missingDir));
    EXPECT_EQ(CSystem::GetErrorMessage(ERROR_PATH_NOT_FOUND), missingDir);
    EXPECT_FALSE(WivoCheckFilePath(missing, FALSE, FALSE, &missingFile));
    EXPECT_EQ(CSystem::GetErrorMessage(ERROR_FILE_NOT_FOUND), missingFile);

    CString untouched = L"unchanged";
    EXPECT_TRUE(WivoCheckDirPath(dir.Path(), FALSE, FALSE, &untouched));
    EXPECT_EQ(CString(L"unchanged"), untouched) << "no message, nothing stored";
    EXPECT_TRUE(WivoCheckFilePath(file));
    EXPECT_FALSE(WivoCheckDirPath(file));
    EXPECT_TRUE(WivoCheckDirPath(L"", TRUE));
    EXPECT_FALSE(WivoCheckDirPath(L"", FALSE));
}

TEST(HelpersTest, PathValidationOnlyWhileSaving)
{
    CWnd wnd;   // no controls are needed: a failed check only refocuses
    CDataExchange loading(&wnd, FALSE);
    DDV_FilePath(&loading, L"Z:\\no\\such\\file", FALSE);  // nothing happens
    DDV_DirPath(&loading, L"Z:\\no\\such\\dir", FALSE);

    CDataExchange saving(&wnd, TRUE);
    bool bFailed = wivotest::CaughtAs<CUserException>(
        [&] { DDV_FilePath(&saving, L"", TRUE); }, [](CUserException*) { return true; }, false);
    EXPECT_FALSE(bFailed) << "an allowed empty path passes";
}

LRESULT CALLBACK CountingProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_APP)
        ++*(UINT*)::GetWindowLongPtrW(h, GWLP_USERDATA);
    return ::DefWindowProcW(h, m, w, l);
}

TEST(HelpersTest, ProcessMessagesHandlesTheQueueThenIdles)
{
    UINT nDelivered = 0;
    HWND hWnd = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, (LONG_PTR)&nDelivered);
    WNDPROC pfnOld = (WNDPROC)::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)&CountingProc);
    for (int i = 0; i < 3; i++)
        ::PostMessageW(hWnd, WM_APP, 0, 0);

    theApp.m_nIdleCalls = 0;
    MSG msg;
    WivoProcessMessages(TRUE);
    EXPECT_EQ("3|3|0", wivotest::Join({nDelivered, theApp.m_nIdleCalls,
                                       ::PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE)}));

    // A quit message ends the call at once and is put back; no idle time.
    ::PostMessageW(hWnd, WM_APP, 0, 0);
    ::PostQuitMessage(5);
    nDelivered = 0;
    theApp.m_nIdleCalls = 0;
    WivoProcessMessages(TRUE);
    EXPECT_EQ("1|0|1", wivotest::Join({nDelivered, theApp.m_nIdleCalls,
                                       ::PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)}));

    ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)pfnOld);
    ::DestroyWindow(hWnd);
}

} // namespace
