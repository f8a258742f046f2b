// Tests of CShell against Wine's shell.
#include <gtest/gtest.h>

#include <Wivo.h>
#include <afxwin.h>

#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "AfxTestSupport.h"

#include <functional>
#include <memory>

using wivotest::Narrow;

namespace {

// Frees an item list through the shell allocator when the test is done with it.
struct FreeItemList
{
    void operator()(LPITEMIDLIST pidl) const { ::CoTaskMemFree(pidl); }
};
using ItemList = std::unique_ptr<ITEMIDLIST, FreeItemList>;

// Paths compared without case and without a trailing separator, which the shell
// adds to some folders and not to others.
bool SamePath(CString a, CString b)
{
    a.TrimRight(_T('\\'));
    b.TrimRight(_T('\\'));
    return a.CompareNoCase(b) == 0;
}

TEST(ShellTest, EveryFolderValueNamesItsShellFolder)
{
    const int csidls[30] = {
        CSIDL_ALTSTARTUP,        CSIDL_APPDATA,        CSIDL_BITBUCKET,
        CSIDL_COMMON_ALTSTARTUP, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_FAVORITES,
        CSIDL_COMMON_PROGRAMS,   CSIDL_COMMON_STARTMENU, CSIDL_COMMON_STARTUP,
        CSIDL_CONTROLS,          CSIDL_COOKIES,        CSIDL_DESKTOP,
        CSIDL_DESKTOPDIRECTORY,  CSIDL_DRIVES,         CSIDL_FAVORITES,
        CSIDL_FONTS,             CSIDL_HISTORY,        CSIDL_INTERNET,
        CSIDL_INTERNET_CACHE,    CSIDL_NETHOOD,        CSIDL_NETWORK,
        CSIDL_PERSONAL,          CSIDL_PRINTERS,       CSIDL_PRINTHOOD,
        CSIDL_PROGRAMS,          CSIDL_RECENT,         CSIDL_SENDTO,
        CSIDL_STARTMENU,         CSIDL_STARTUP,        CSIDL_TEMPLATES,
    };
    int nCompared = 0;
    for (int value = 0; value < 30; ++value) {
        LPITEMIDLIST raw = NULL;
        HRESULT hrExpected = ::SHGetSpecialFolderLocation(NULL, csidls[value], &raw);
        ItemList expected(raw);
        ItemList got(CShell::GetSpecialFolderLocation((CShell::SpecialFolder)value));
        EXPECT_EQ(hrExpected, CShell::GetLastError()) << "value " << value;
        EXPECT_EQ(expected == nullptr, got == nullptr) << "value " << value;
        if (expected != nullptr && got != nullptr) {
            EXPECT_TRUE(::ILIsEqual(expected.get(), got.get())) << "value " << value;
            ++nCompared;
        }
    }
    // Most folders exist on any shell; a mapping that hit none would pass vacuously.
    EXPECT_GE(nCompared, 20);

    for (int value : {30, 31, 1000, -1}) {
        // A valid call first, so a stale success cannot pass for the rejection.
        ItemList ok(CShell::GetSpecialFolderLocation(CShell::shellDesktop));
        ASSERT_EQ(S_OK, CShell::GetLastError());
        ItemList list(CShell::GetSpecialFolderLocation((CShell::SpecialFolder)value));
        EXPECT_TRUE(list == nullptr) << "value " << value;
        EXPECT_EQ((LONG)0x80070057, CShell::GetLastError()) << "value " << value;
        EXPECT_TRUE(CShell::GetSpecialFolderPath((CShell::SpecialFolder)value).IsEmpty());
    }
}

// The path goes through the folder's item list, whose mapping is checked above for every
// value; a few folders show that the path is the platform's, and virtual ones have none.
TEST(ShellTest, FolderPathsAreThePlatformsAndVirtualFoldersHaveNone)
{
    const struct
    {
        CShell::SpecialFolder folder;
        int csidl; // -1: a virtual folder
    } cases[] = {{CShell::shellPersonal, CSIDL_PERSONAL},
                 {CShell::shellFonts, CSIDL_FONTS},
                 {CShell::shellCommonPrograms, CSIDL_COMMON_PROGRAMS},
                 {CShell::shellPrinters, -1},
                 {CShell::shellDrives, -1},
                 {CShell::shellControls, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE("folder " + std::to_string(c.folder));
        WCHAR expected[MAX_PATH] = L"";
        if (c.csidl >= 0) {
            ASSERT_EQ(S_OK, ::SHGetFolderPathW(NULL, c.csidl, NULL, SHGFP_TYPE_CURRENT, expected));
        } else {
            ItemList list(CShell::GetSpecialFolderLocation(c.folder));
            EXPECT_TRUE(list != nullptr);
        }
        CString path = CShell::GetSpecialFolderPath(c.folder);
        EXPECT_EQ(c.csidl >= 0 ? S_OK : E_FAIL, CShell::GetLastError());
        EXPECT_TRUE(SamePath(path, expected)) << Narrow(path) << " vs " << Narrow(expected);
    }
}

TEST(ShellTest, PathsAndItemListsConvertBothWays)
{
    wivotest::TempDir dir;
    CString path = CShell::GetSpecialFolderPath(CShell::shellPersonal);
    ASSERT_FALSE(path.IsEmpty());
    for (const CString& p : {path, dir.Path()}) {
        ItemList list(CShell::GetIDListFromPath(p));
        ASSERT_TRUE(list != nullptr) << Narrow(p) << " hr " << CShell::GetLastError();
        EXPECT_EQ(S_OK, CShell::GetLastError());
        CString back = CShell::GetPathFromIDList(list.get());
        EXPECT_EQ(S_OK, CShell::GetLastError());
        EXPECT_TRUE(SamePath(back, p)) << Narrow(back) << " vs " << Narrow(p);
    }
    EXPECT_TRUE(CShell::GetPathFromIDList(NULL).IsEmpty());
    EXPECT_EQ(E_FAIL, CShell::GetLastError());

    // A missing path leaves the parsing failure.
    ItemList missing(CShell::GetIDListFromPath(dir.File(_T("nicht-da\\auch-nicht.txt"))));
    EXPECT_TRUE(missing == nullptr);
    EXPECT_TRUE(FAILED(CShell::GetLastError())) << std::hex << CShell::GetLastError();
}

TEST(ShellTest, ShellObjectsAreHandedOut)
{
    IMalloc* pMalloc = CShell::GetIMalloc();
    ASSERT_TRUE(pMalloc != NULL);
    EXPECT_EQ(S_OK, CShell::GetLastError());
    pMalloc->Release();

    IShellFolder* pDesktop = CShell::GetDesktopFolder();
    ASSERT_TRUE(pDesktop != NULL);
    EXPECT_EQ(S_OK, CShell::GetLastError());
    pDesktop->Release();

    // Without an explorer process the shell reports a failure; the pointer must match.
    IUnknown* pExplorer = CShell::GetExplorer();
    LONG hr = CShell::GetLastError();
    EXPECT_EQ(FAILED(hr), pExplorer == NULL) << "hr 0x" << std::hex << hr;
    if (pExplorer != NULL)
        pExplorer->Release();
}

// A document type registered in the classes root (Wine 8's shell does not read the
// per-user classes). Its verbs run cmd.exe, which writes the verb, the parameters and
// its working directory into "<document>.out".
class CRegisteredType
{
public:
    CRegisteredType()
    {
        WCHAR szCmd[MAX_PATH];
        ::GetSystemDirectoryW(szCmd, MAX_PATH);
        for (LPCWSTR verb : {L"open", L"print"}) {
            CString strCommand;
            strCommand.Format(L"\"%s\\cmd.exe\" /c echo %s:%%*:> \"%%1.out\" & cd >> \"%%1.out\"",
                szCmd, verb);
            SetDefault(CString(L"WivoShellTest.Doc\\shell\\") + verb + L"\\command", strCommand);
        }
        SetDefault(L".wivoshelltest", L"WivoShellTest.Doc");
    }
    ~CRegisteredType()
    {
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L".wivoshelltest");
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"WivoShellTest.Doc");
    }
    CRegisteredType(const CRegisteredType&) = delete;
    CRegisteredType& operator=(const CRegisteredType&) = delete;

private:
    static void SetDefault(LPCWSTR path, const CString& value)
    {
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetKeyValueW(HKEY_CLASSES_ROOT, path, NULL, REG_SZ, value,
                                                   (value.GetLength() + 1) * sizeof(WCHAR)));
    }
};

// What the started command wrote, once it has written both lines (empty after 20 s).
std::string WaitForOutput(const CString& path)
{
    for (int i = 0; i < 400; ++i) {
        std::string text = wivotest::ReadFileBytes(path);
        size_t first = text.find("\r\n");
        if (first != std::string::npos && text.find("\r\n", first + 2) != std::string::npos)
            return text;
        ::Sleep(50);
    }
    return std::string();
}

TEST(ShellTest, ExecuteStartsTheRegisteredVerb)
{
    CRegisteredType type;
    wivotest::TempDir dir, other;
    CString doc = dir.File(L"Dok.wivoshelltest");
    ASSERT_TRUE(wivotest::WriteFileBytes(doc, "x"));
    WCHAR szCurrent[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, szCurrent);
    std::string current = Narrow(szCurrent), elsewhere = Narrow(other.Path());

    // A window of a top-level frame: the record form replaces it by the frame.
    CWnd frame, child;
    ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), L"Shell", WS_OVERLAPPEDWINDOW, 0, 0,
                               100, 100, NULL, NULL));
    ASSERT_TRUE(child.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD, 0, 0, 10, 10,
                               frame.m_hWnd, (HMENU)1));
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.hwnd = child.m_hWnd;
    info.lpVerb = L"print";
    info.lpFile = doc;
    info.lpParameters = L"r1";
    info.nShow = SW_HIDE;

    const struct
    {
        std::function<BOOL()> execute;
        std::string expected;
    } rows[] = {
        {[&] { return CShell::Execute(info); }, "print:r1: \r\n" + current},
        {[&] { return CShell::Execute(L"print", doc, L"a b", other.Path()); },
         "print:a b: \r\n" + elsewhere},
        {[&] { return CShell::Execute(L"print", doc, L"c"); }, "print:c: \r\n" + current},
        {[&] { return CShell::Execute(doc, L"d"); }, "open:d: \r\n" + current},
        {[&] { return CShell::Execute(doc); }, "open:: \r\n" + current},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("row " + std::to_string(&row - rows));
        ::DeleteFileW(doc + L".out");
        ASSERT_TRUE(row.execute()) << "error " << ::GetLastError();
        // cmd.exe keeps the blank before '&' in the echoed text.
        std::string text = WaitForOutput(doc + L".out");
        EXPECT_EQ(0, _stricmp((row.expected + "\r\n").c_str(), text.c_str())) << text;
    }
    EXPECT_EQ(frame.m_hWnd, info.hwnd);

    // A failed start answers FALSE with the platform's reason and leaves the shell
    // result alone. Without SEE_MASK_FLAG_NO_UI the shell first tells the user, after
    // which the last error is whatever the message box left (it differs from run to
    // run under Wine): there the plain platform call is the measure of the rest.
    ItemList ok(CShell::GetSpecialFolderLocation(CShell::shellDesktop));
    CString missing = dir.File(L"fehlt.wivoshelltest");
    SHELLEXECUTEINFOW quiet = {};
    quiet.cbSize = sizeof(quiet);
    quiet.fMask = SEE_MASK_FLAG_NO_UI;
    quiet.lpFile = missing;
    ::SetLastError(0);
    EXPECT_FALSE(CShell::Execute(quiet));
    EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, ::GetLastError());
    std::string results[2];
    for (int k = 0; k < 2; ++k) {
        CString boxText;
        wivotest::ModalDriver driver([&](wivotest::ModalDriver& d) {
            HWND hBox = d.WaitForDialog();
            boxText = d.StaticText(hBox);
            d.Press(hBox, IDOK);
        });
        SHELLEXECUTEINFOW plain = {};
        plain.cbSize = sizeof(plain);
        plain.lpVerb = L"open";
        plain.lpFile = missing;
        plain.lpParameters = plain.lpDirectory = L"";
        plain.nShow = SW_SHOW;
        BOOL bStarted = k == 0 ? ::ShellExecuteExW(&plain) : CShell::Execute(missing);
        results[k] = wivotest::Join({bStarted, boxText.IsEmpty()});
        driver.Join();
    }
    // Not started, and the user was told.
    EXPECT_EQ("0|0", results[0]);
    EXPECT_EQ(results[0], results[1]);
    EXPECT_EQ(S_OK, CShell::GetLastError());
    child.DestroyWindow();
    frame.DestroyWindow();
}

} // namespace
