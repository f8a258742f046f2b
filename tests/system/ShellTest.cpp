// Tests of CShell against Wine's shell.
#include <gtest/gtest.h>

#include <Wivo.h>

#include "TestSupport.h"

using wivotest::Narrow;

namespace {

// Frees an item list through the shell allocator when the test is done with it.
struct ItemList
{
    explicit ItemList(LPITEMIDLIST p) : pidl(p) {}
    ~ItemList() { ::CoTaskMemFree(pidl); }
    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;
    LPITEMIDLIST pidl;
};

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
        EXPECT_EQ(expected.pidl == NULL, got.pidl == NULL) << "value " << value;
        if (expected.pidl != NULL && got.pidl != NULL) {
            EXPECT_TRUE(::ILIsEqual(expected.pidl, got.pidl)) << "value " << value;
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
        EXPECT_TRUE(list.pidl == NULL) << "value " << value;
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
            EXPECT_TRUE(list.pidl != NULL);
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
        ASSERT_TRUE(list.pidl != NULL) << Narrow(p) << " hr " << CShell::GetLastError();
        EXPECT_EQ(S_OK, CShell::GetLastError());
        CString back = CShell::GetPathFromIDList(list.pidl);
        EXPECT_EQ(S_OK, CShell::GetLastError());
        EXPECT_TRUE(SamePath(back, p)) << Narrow(back) << " vs " << Narrow(p);
    }
    EXPECT_TRUE(CShell::GetPathFromIDList(NULL).IsEmpty());
    EXPECT_EQ(E_FAIL, CShell::GetLastError());

    // A missing path leaves the parsing failure.
    ItemList missing(CShell::GetIDListFromPath(dir.File(_T("nicht-da\\auch-nicht.txt"))));
    EXPECT_TRUE(missing.pidl == NULL);
    EXPECT_TRUE(FAILED(CShell::GetLastError())) << std::hex << CShell::GetLastError();
}

TEST(ShellTest, ShellObjectsAreHandedOut)
{
    IMalloc* pMalloc = CShell::GetIMalloc();
    ASSERT_TRUE(pMalloc != NULL);
    EXPECT_EQ(S_OK, CShell::GetLastError());
    void* p = pMalloc->Alloc(16);
    EXPECT_TRUE(p != NULL);
    pMalloc->Free(p);
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

} // namespace
