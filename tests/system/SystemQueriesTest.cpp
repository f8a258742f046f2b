// Tests of CSystem's plain queries against values the test puts in place itself.
#include <gtest/gtest.h>

#include <Wivo.h>

#include <string>
#include <vector>

#include "SystemTestSupport.h"

using wivotest::Narrow;
using wivotest::SavedRegistryValues;

namespace {

// The whole text the library's string holds, so that a wrong length shows too.
std::wstring W(const CString& s)
{
    return std::wstring(s, s.GetLength());
}

// Sets an environment variable for one test and restores it after.
class SavedVariable
{
public:
    explicit SavedVariable(LPCWSTR pszName) : m_name(pszName)
    {
        DWORD n = ::GetEnvironmentVariableW(pszName, NULL, 0);
        m_bExisted = n != 0 || ::GetLastError() != ERROR_ENVVAR_NOT_FOUND;
        std::vector<wchar_t> buf(n + 1);
        ::GetEnvironmentVariableW(pszName, buf.data(), n);
        m_value = buf.data();
    }
    ~SavedVariable() { ::SetEnvironmentVariableW(m_name, m_bExisted ? (LPCWSTR)m_value : NULL); }
    void Set(LPCWSTR pszValue) { ASSERT_TRUE(::SetEnvironmentVariableW(m_name, pszValue)); }

private:
    CString m_name, m_value;
    bool m_bExisted;
};

const wchar_t kShellFolders[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const wchar_t kCurrentVersion[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const HKEY kUser = HKEY_CURRENT_USER, kMachine = HKEY_LOCAL_MACHINE;

struct RegFolder
{
    CSystem::SpecialFolder folder;
    HKEY hRoot;
    LPCWSTR pszValue;
    LPCWSTR pszKey = kShellFolders;
};

// Where each folder's path is read from.
const RegFolder kRegFolders[] = {
    {CSystem::folderAppData, kUser, L"AppData"},
    {CSystem::folderCommonAppData, kMachine, L"Common AppData"},
    {CSystem::folderCommonDesktop, kMachine, L"Common Desktop"},
    {CSystem::folderCommonFiles, kMachine, L"CommonFilesDir", kCurrentVersion},
    {CSystem::folderCommonPrograms, kMachine, L"Common Programs"},
    {CSystem::folderCommonStartMenu, kMachine, L"Common Start Menu"},
    {CSystem::folderCommonStartup, kMachine, L"Common Startup"},
    {CSystem::folderCookies, kUser, L"Cookies"},
    {CSystem::folderDesktop, kUser, L"Desktop"},
    {CSystem::folderFavorites, kUser, L"Favorites"},
    {CSystem::folderFonts, kUser, L"Fonts"},
    {CSystem::folderHistory, kUser, L"History"},
    {CSystem::folderInternetCache, kUser, L"Cache"},
    {CSystem::folderLocalAppData, kUser, L"Local AppData"},
    {CSystem::folderPersonal, kUser, L"Personal"},
    {CSystem::folderProgramFiles, kMachine, L"ProgramFilesDir", kCurrentVersion},
    {CSystem::folderPrograms, kUser, L"Programs"},
    {CSystem::folderRecent, kUser, L"Recent"},
    {CSystem::folderSendTo, kUser, L"SendTo"},
    {CSystem::folderStartMenu, kUser, L"Start Menu"},
    {CSystem::folderStartup, kUser, L"Startup"},
    {CSystem::folderTemplates, kUser, L"Templates"},
};

TEST(SystemFolders, EachRegistryFolderReadsItsOwnValue)
{
    for (const RegFolder& f : kRegFolders) {
        SCOPED_TRACE(Narrow(f.pszValue));
        SavedRegistryValues saved(f.hRoot, f.pszKey, f.pszValue);
        CString expected;
        expected.Format(L"X:\\wivo\\%d\\%s", (int)f.folder, f.pszValue);
        saved.Set(f.pszValue, expected);
        EXPECT_EQ(W(expected), W(CSystem::GetFolderPath(f.folder)));
        saved.Delete(f.pszValue);
        EXPECT_EQ(L"", W(CSystem::GetFolderPath(f.folder))) << "without its value";
    }
    for (int v : {26, 27, 1000, -1})
        EXPECT_EQ(L"", W(CSystem::GetFolderPath((CSystem::SpecialFolder)v))) << v;
}

TEST(SystemFolders, FallbackUnexpandedValuesAndPlatformFolders)
{
    // All users' favorites fall back to the user's while missing or empty.
    SavedRegistryValues common(kMachine, kShellFolders, L"Common Favorites");
    SavedRegistryValues user(kUser, kShellFolders, L"Favorites");
    user.Set(L"Favorites", L"X:\\user\\Favorites");
    const CSystem::SpecialFolder favorites = CSystem::folderCommonFavorites;
    EXPECT_EQ(L"X:\\user\\Favorites", W(CSystem::GetFolderPath(favorites)));
    common.Set(L"Common Favorites", L"X:\\all\\Favorites");
    EXPECT_EQ(L"X:\\all\\Favorites", W(CSystem::GetFolderPath(favorites)));
    common.Set(L"Common Favorites", L"");
    EXPECT_EQ(L"X:\\user\\Favorites", W(CSystem::GetFolderPath(favorites)));

    // An expandable value comes back as written; expanding is the caller's step.
    SavedRegistryValues desktop(kUser, kShellFolders, L"Desktop");
    SavedVariable profile(L"USERPROFILE");
    profile.Set(L"C:\\users\\wivotest");
    desktop.Set(L"Desktop", L"%USERPROFILE%\\Desktop", REG_EXPAND_SZ);
    const CString path = CSystem::GetFolderPath(CSystem::folderDesktop);
    EXPECT_EQ(L"%USERPROFILE%\\Desktop", W(path));
    EXPECT_EQ(L"C:\\users\\wivotest\\Desktop", W(CSystem::ExpandEnvironmentVariables(path)));

    wchar_t sys[MAX_PATH], win[MAX_PATH];
    ASSERT_NE(0u, ::GetSystemDirectoryW(sys, MAX_PATH));
    ASSERT_NE(0u, ::GetWindowsDirectoryW(win, MAX_PATH));
    EXPECT_EQ(sys, W(CSystem::GetFolderPath(CSystem::folderSystem)));
    EXPECT_EQ(win, W(CSystem::GetFolderPath(CSystem::folderWindows)));
}

TEST(SystemFolders, TemporaryFolderLosesItsBackslashButARootKeepsIt)
{
    SavedVariable tmp(L"TMP"), temp(L"TEMP"), profile(L"USERPROFILE");
    const struct
    {
        LPCWSTR pszTmp, pszExpected;
    } cases[] = {
        {L"C:\\wivotmp\\", L"C:\\wivotmp"}, {L"C:\\wivotmp", L"C:\\wivotmp"}, {L"C:\\", L"C:\\"}};
    for (const auto& c : cases) {
        tmp.Set(c.pszTmp);
        temp.Set(c.pszTmp);
        EXPECT_EQ(c.pszExpected, W(CSystem::GetFolderPath(CSystem::folderTemporary)))
            << "TMP=" << Narrow(c.pszTmp);
    }
}

TEST(SystemEnvironment, ReadsSetVariablesAndRefusesMissingOnes)
{
    SavedVariable a(L"WIVO_TEST_A"), empty(L"WIVO_TEST_EMPTY"), missing(L"WIVO_TEST_MISSING");
    ::SetEnvironmentVariableW(L"WIVO_TEST_MISSING", NULL);
    empty.Set(L"");
    // Longer than any first guess.
    CString longValue;
    for (int i = 0; i < 700; i++)
        longValue += (wchar_t)(L'a' + i % 26);
    for (LPCWSTR pszValue : {L"Wert mit \u00DCmlaut", (LPCWSTR)longValue}) {
        a.Set(pszValue);
        CString value = L"unchanged";
        EXPECT_TRUE(CSystem::GetEnvironmentVariable(L"WIVO_TEST_A", value));
        EXPECT_EQ(pszValue, W(value));
        EXPECT_EQ(pszValue, W(CSystem::GetEnvironmentVariable(L"WIVO_TEST_A")));
    }
    for (LPCWSTR name : {L"WIVO_TEST_MISSING", L"WIVO_TEST_EMPTY"}) {
        CString value = L"unchanged";
        EXPECT_FALSE(CSystem::GetEnvironmentVariable(name, value)) << Narrow(name);
        EXPECT_EQ(L"unchanged", W(value)) << Narrow(name);
        EXPECT_EQ(L"", W(CSystem::GetEnvironmentVariable(name))) << Narrow(name);
    }

    // Expansion of any length; unknown names stay as written.
    SavedVariable v(L"WIVO_TEST_EXP");
    v.Set(longValue.Left(150));
    EXPECT_EQ(L"[" + W(longValue.Left(150)) + L"]",
              W(CSystem::ExpandEnvironmentVariables(L"[%WIVO_TEST_EXP%]")));
    EXPECT_EQ(L"%WIVO_TEST_NOT_THERE%",
              W(CSystem::ExpandEnvironmentVariables(L"%WIVO_TEST_NOT_THERE%")));
    EXPECT_EQ(L"", W(CSystem::ExpandEnvironmentVariables(CString())));
}

TEST(SystemEnvironment, MapHoldsNamedEntriesOnly)
{
    SavedVariable a(L"WIVO_TEST_MAP"), eq(L"WIVO_TEST_EQ");
    a.Set(L"C:\\BIN");
    eq.Set(L"x=y");
    // The per-drive directory entries ("=C:=...") appear once a directory was set.
    ASSERT_TRUE(CSystem::SetCurrentDirectory(CSystem::GetCurrentDirectory()));

    CMapStringToString map;
    map.SetAt(L"STALE_ENTRY", L"old");
    CSystem::GetEnvironmentVariables(map);
    CString value;
    EXPECT_FALSE(map.Lookup(L"STALE_ENTRY", value)) << "the map was not emptied";
    EXPECT_TRUE(map.Lookup(L"WIVO_TEST_MAP", value) && value == L"C:\\BIN") << Narrow(value);
    EXPECT_TRUE(map.Lookup(L"WIVO_TEST_EQ", value) && value == L"x=y") << Narrow(value);
    EXPECT_GT(map.GetCount(), 2);
    for (POSITION pos = map.GetStartPosition(); pos != NULL;) {
        CString key;
        map.GetNextAssoc(pos, key, value);
        EXPECT_TRUE(!key.IsEmpty() && key.Find(L'=') < 0) << Narrow(key) << "=" << Narrow(value);
    }
}

TEST(SystemProcess, CommandLineDirectoryAndExit)
{
    EXPECT_EQ(::GetCommandLineW(), W(CSystem::GetCommandLine()));
    CStringArray args;
    args.Add(L"stale");
    CSystem::GetCommandLineArgs(args);
    int nExpected = 0;
    LPWSTR* ppArgs = ::CommandLineToArgvW(::GetCommandLineW(), &nExpected);
    ASSERT_NE(nullptr, ppArgs);
    ASSERT_EQ(nExpected, (int)args.GetSize());
    for (int i = 0; i < nExpected; i++)
        EXPECT_EQ(ppArgs[i], W(args[i])) << i;
    ::LocalFree(ppArgs);
    EXPECT_NE(-1, args[0].Find(L"SystemQueriesTest")) << Narrow(args[0]);

    const CString before = CSystem::GetCurrentDirectory();
    ASSERT_FALSE(before.IsEmpty());
    {
        wivotest::TempDir dir;
        ASSERT_TRUE(CSystem::SetCurrentDirectory(dir.Path()));
        CString expected = dir.Path();
        expected.TrimRight(L'\\');
        const CString now = CSystem::GetCurrentDirectory();
        EXPECT_EQ(0, now.CompareNoCase(expected)) << Narrow(now) << " vs " << Narrow(expected);
        EXPECT_EQ((int)wcslen(now), now.GetLength());
        EXPECT_FALSE(CSystem::SetCurrentDirectory(dir.File(L"no such dir")));
        EXPECT_EQ(now, CSystem::GetCurrentDirectory());
        ASSERT_TRUE(CSystem::SetCurrentDirectory(before));
    }
    EXPECT_EQ(before, CSystem::GetCurrentDirectory());

    EXPECT_EXIT(CSystem::Exit(42), ::testing::ExitedWithCode(42), "");
}

TEST(SystemMachine, ScreenMouseNamesTimeAndMemory)
{
    CSize size = CSystem::GetScreenResolution();
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), size.cx);
    EXPECT_EQ(::GetSystemMetrics(SM_CYSCREEN), size.cy);
    HDC hdc = ::GetDC(NULL);
    EXPECT_EQ((BYTE)::GetDeviceCaps(hdc, BITSPIXEL), CSystem::GetScreenColorDepth());
    ::ReleaseDC(NULL, hdc);
    EXPECT_EQ(::GetSystemMetrics(SM_MOUSEPRESENT), CSystem::HasMouse());
    EXPECT_EQ((BYTE)::GetSystemMetrics(SM_CMOUSEBUTTONS), CSystem::GetMouseButtonCount());

    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1], user[257];
    DWORD n = MAX_COMPUTERNAME_LENGTH + 1, nUser = 257;
    ASSERT_TRUE(::GetComputerNameW(name, &n) && ::GetUserNameW(user, &nUser));
    EXPECT_EQ(name, W(CSystem::GetComputerName()));
    EXPECT_EQ(user, W(CSystem::GetUserName()));
    EXPECT_EQ(CLocale::GetSystemDefaultLocale().GetLCID(), CSystem::GetSystemLocale().GetLCID());

    CTime before = CTime::GetCurrentTime();
    CTime local = CSystem::GetLocalDateTime();
    CTime utc = CSystem::GetUTCDateTime();
    CTime after = CTime::GetCurrentTime();
    EXPECT_LE(before.GetTime(), local.GetTime() + 1);
    EXPECT_GE(after.GetTime() + 1, local.GetTime());
    // The UTC reading, taken as local time, is off by the zone's bias.
    TIME_ZONE_INFORMATION tz;
    DWORD zone = ::GetTimeZoneInformation(&tz);
    LONG bias = tz.Bias + (zone == TIME_ZONE_ID_DAYLIGHT ? tz.DaylightBias : 0);
    EXPECT_NEAR(bias * 60.0, (double)(utc.GetTime() - local.GetTime()), 2.0) << "bias " << bias;

    MEMORYSTATUS ms;
    memset(&ms, 0xBD, sizeof(ms));
    CSystem::GetMemoryStatus(ms);
    EXPECT_GT(ms.dwTotalPhys, (SIZE_T)0);
    EXPECT_LE(ms.dwAvailPhys, ms.dwTotalPhys);
}

} // namespace
