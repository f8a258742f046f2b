// Tests of CSystem's plain queries against values the test puts in place itself.
#include <gtest/gtest.h>

#include <Wivo.h>

#include <vector>

#include "TestSupport.h"

using wivotest::Narrow;

namespace {

const wchar_t kShellFolders[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Keeps a registry value as it was and puts it back (or removes it) on the way out.
class SavedValue
{
public:
    SavedValue(HKEY hRoot, LPCWSTR pszKey, LPCWSTR pszValue) : m_name(pszValue)
    {
        EXPECT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(hRoot, pszKey, 0, NULL, 0, KEY_ALL_ACCESS,
                                                   NULL, &m_hKey, NULL));
        DWORD cb = 0;
        m_bExisted = ::RegQueryValueExW(m_hKey, pszValue, NULL, &m_dwType, NULL, &cb) ==
                     ERROR_SUCCESS;
        if (m_bExisted) {
            m_data.resize(cb + 2);
            ::RegQueryValueExW(m_hKey, pszValue, NULL, &m_dwType, m_data.data(), &cb);
            m_data.resize(cb);
        }
    }
    ~SavedValue()
    {
        if (m_bExisted)
            ::RegSetValueExW(m_hKey, m_name, 0, m_dwType, m_data.data(), (DWORD)m_data.size());
        else
            ::RegDeleteValueW(m_hKey, m_name);
        ::RegCloseKey(m_hKey);
    }
    void Set(LPCWSTR pszText, DWORD dwType = REG_SZ)
    {
        ASSERT_EQ(ERROR_SUCCESS,
                  ::RegSetValueExW(m_hKey, m_name, 0, dwType, (const BYTE*)pszText,
                                   (DWORD)((wcslen(pszText) + 1) * sizeof(wchar_t))));
    }
    void Delete() { ::RegDeleteValueW(m_hKey, m_name); }

private:
    HKEY m_hKey = NULL;
    CString m_name;
    bool m_bExisted = false;
    DWORD m_dwType = REG_NONE;
    std::vector<BYTE> m_data;
};

// Sets an environment variable for one test and restores it after.
class SavedVariable
{
public:
    explicit SavedVariable(LPCWSTR pszName) : m_name(pszName)
    {
        DWORD n = ::GetEnvironmentVariableW(pszName, NULL, 0);
        m_bExisted = n != 0 || ::GetLastError() != ERROR_ENVVAR_NOT_FOUND;
        if (n != 0) {
            std::vector<wchar_t> buf(n);
            ::GetEnvironmentVariableW(pszName, buf.data(), n);
            m_value = buf.data();
        }
    }
    ~SavedVariable() { ::SetEnvironmentVariableW(m_name, m_bExisted ? (LPCWSTR)m_value : NULL); }
    void Set(LPCWSTR pszValue) { ASSERT_TRUE(::SetEnvironmentVariableW(m_name, pszValue)); }

private:
    CString m_name;
    CString m_value;
    bool m_bExisted = false;
};

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
        SavedValue saved(f.hRoot, f.pszKey, f.pszValue);
        CString expected;
        expected.Format(L"X:\\wivo\\%d\\%s", (int)f.folder, f.pszValue);
        saved.Set(expected);
        CString actual = CSystem::GetFolderPath(f.folder);
        EXPECT_EQ(expected, actual) << "folder " << f.folder << " got " << Narrow(actual);
        saved.Delete();
        actual = CSystem::GetFolderPath(f.folder);
        EXPECT_TRUE(actual.IsEmpty()) << "folder " << f.folder << " without its value gave "
                                      << Narrow(actual);
    }
}

TEST(SystemFolders, CommonFavoritesFallsBackToTheUsersFavorites)
{
    SavedValue common(HKEY_LOCAL_MACHINE, kShellFolders, L"Common Favorites");
    SavedValue user(HKEY_CURRENT_USER, kShellFolders, L"Favorites");
    user.Set(L"X:\\user\\Favorites");
    common.Delete();
    EXPECT_EQ(CString(L"X:\\user\\Favorites"), CSystem::GetFolderPath(CSystem::folderCommonFavorites));
    common.Set(L"X:\\all\\Favorites");
    EXPECT_EQ(CString(L"X:\\all\\Favorites"), CSystem::GetFolderPath(CSystem::folderCommonFavorites));
    common.Set(L"");
    EXPECT_EQ(CString(L"X:\\user\\Favorites"), CSystem::GetFolderPath(CSystem::folderCommonFavorites));
}

TEST(SystemFolders, ExpandableValueComesBackUnexpanded)
{
    SavedValue desktop(HKEY_CURRENT_USER, kShellFolders, L"Desktop");
    SavedVariable profile(L"USERPROFILE");
    profile.Set(L"C:\\users\\wivotest");
    desktop.Set(L"%USERPROFILE%\\Desktop", REG_EXPAND_SZ);
    CString path = CSystem::GetFolderPath(CSystem::folderDesktop);
    EXPECT_EQ(CString(L"%USERPROFILE%\\Desktop"), path) << Narrow(path);
    CString expanded = CSystem::ExpandEnvironmentVariables(path);
    EXPECT_EQ(CString(L"C:\\users\\wivotest\\Desktop"), expanded) << Narrow(expanded);
}

TEST(SystemFolders, ValuesOutsideTheEnumerationGiveNothing)
{
    const int bad[] = {26, 27, 1000, -1};
    for (int v : bad)
        EXPECT_TRUE(CSystem::GetFolderPath((CSystem::SpecialFolder)v).IsEmpty()) << v;
}

TEST(SystemFolders, SystemAndWindowsDirectoriesComeFromThePlatform)
{
    wchar_t sys[MAX_PATH], win[MAX_PATH];
    ASSERT_NE(0u, ::GetSystemDirectoryW(sys, MAX_PATH));
    ASSERT_NE(0u, ::GetWindowsDirectoryW(win, MAX_PATH));
    CString s = CSystem::GetFolderPath(CSystem::folderSystem);
    CString w = CSystem::GetFolderPath(CSystem::folderWindows);
    EXPECT_EQ(CString(sys), s) << Narrow(s);
    EXPECT_EQ((int)wcslen(sys), s.GetLength());
    EXPECT_EQ(CString(win), w) << Narrow(w);
    EXPECT_EQ((int)wcslen(win), w.GetLength());
}

TEST(SystemFolders, TemporaryFolderLosesItsBackslashButARootKeepsIt)
{
    SavedVariable tmp(L"TMP"), temp(L"TEMP"), profile(L"USERPROFILE");
    struct Case
    {
        LPCWSTR pszTmp;
        LPCWSTR pszExpected;
    } cases[] = {
        {L"C:\\wivotmp\\", L"C:\\wivotmp"},
        {L"C:\\wivotmp", L"C:\\wivotmp"},
        {L"C:\\", L"C:\\"},
    };
    for (const Case& c : cases) {
        tmp.Set(c.pszTmp);
        temp.Set(c.pszTmp);
        wchar_t raw[MAX_PATH];
        ::GetTempPathW(MAX_PATH, raw);
        CString actual = CSystem::GetFolderPath(CSystem::folderTemporary);
        EXPECT_EQ(CString(c.pszExpected), actual)
            << "TMP=" << Narrow(c.pszTmp) << " platform " << Narrow(raw);
    }
}

TEST(SystemEnvironment, ReadsSetVariablesAndRefusesMissingOnes)
{
    SavedVariable a(L"WIVO_TEST_A"), empty(L"WIVO_TEST_EMPTY"), missing(L"WIVO_TEST_MISSING");
    a.Set(L"Wert mit Ümlaut");
    empty.Set(L"");
    ::SetEnvironmentVariableW(L"WIVO_TEST_MISSING", NULL);

    CString value = L"unchanged";
    EXPECT_TRUE(CSystem::GetEnvironmentVariable(L"WIVO_TEST_A", value));
    EXPECT_EQ(CString(L"Wert mit Ümlaut"), value) << Narrow(value);
    EXPECT_EQ(CString(L"Wert mit Ümlaut"), CSystem::GetEnvironmentVariable(L"WIVO_TEST_A"));

    for (LPCWSTR name : {L"WIVO_TEST_MISSING", L"WIVO_TEST_EMPTY"}) {
        value = L"unchanged";
        EXPECT_FALSE(CSystem::GetEnvironmentVariable(name, value)) << Narrow(name);
        EXPECT_EQ(CString(L"unchanged"), value) << Narrow(name) << ": " << Narrow(value);
        EXPECT_TRUE(CSystem::GetEnvironmentVariable(name).IsEmpty()) << Narrow(name);
    }

    // Longer than any first guess.
    CString longValue;
    for (int i = 0; i < 700; i++)
        longValue += (wchar_t)(L'a' + i % 26);
    a.Set(longValue);
    value.Empty();
    EXPECT_TRUE(CSystem::GetEnvironmentVariable(L"WIVO_TEST_A", value));
    EXPECT_EQ(longValue.GetLength(), value.GetLength());
    EXPECT_EQ(longValue, value);
}

TEST(SystemEnvironment, MapHoldsNamedEntriesOnly)
{
    SavedVariable a(L"WIVO_TEST_MAP"), eq(L"WIVO_TEST_EQ");
    a.Set(L"C:\\BIN");
    eq.Set(L"x=y");
    // The per-drive directory entries ("=C:=...") appear once a directory was set.
    CString cwd = CSystem::GetCurrentDirectory();
    ASSERT_TRUE(CSystem::SetCurrentDirectory(cwd));

    CMapStringToString map;
    map.SetAt(L"STALE_ENTRY", L"old");
    CSystem::GetEnvironmentVariables(map);
    CString value;
    EXPECT_FALSE(map.Lookup(L"STALE_ENTRY", value)) << "the map was not emptied";
    ASSERT_TRUE(map.Lookup(L"WIVO_TEST_MAP", value));
    EXPECT_EQ(CString(L"C:\\BIN"), value) << Narrow(value);
    ASSERT_TRUE(map.Lookup(L"WIVO_TEST_EQ", value));
    EXPECT_EQ(CString(L"x=y"), value) << Narrow(value);

    POSITION pos = map.GetStartPosition();
    int count = 0;
    while (pos != NULL) {
        CString key, val;
        map.GetNextAssoc(pos, key, val);
        EXPECT_FALSE(key.IsEmpty()) << "entry with empty name, value " << Narrow(val);
        EXPECT_EQ(-1, key.Find(L'=')) << Narrow(key);
        count++;
    }
    EXPECT_GT(count, 2);
}

TEST(SystemEnvironment, ExpansionOfAnyLength)
{
    SavedVariable v(L"WIVO_TEST_EXP");
    CString longValue;
    for (int i = 0; i < 150; i++)
        longValue += (wchar_t)(L'0' + i % 10);
    v.Set(longValue);
    CString result = CSystem::ExpandEnvironmentVariables(L"[%WIVO_TEST_EXP%]");
    EXPECT_EQ(L"[" + longValue + L"]", result) << Narrow(result);
    result = CSystem::ExpandEnvironmentVariables(L"%WIVO_TEST_NOT_THERE%");
    EXPECT_EQ(CString(L"%WIVO_TEST_NOT_THERE%"), result) << Narrow(result);
    EXPECT_EQ(CString(), CSystem::ExpandEnvironmentVariables(CString()));
}

TEST(SystemProcess, CommandLineAndArguments)
{
    EXPECT_EQ(CString(::GetCommandLineW()), CSystem::GetCommandLine());
    CStringArray args;
    args.Add(L"stale");
    CSystem::GetCommandLineArgs(args);
    int nExpected = 0;
    LPWSTR* ppArgs = ::CommandLineToArgvW(::GetCommandLineW(), &nExpected);
    ASSERT_NE(nullptr, ppArgs);
    ASSERT_EQ(nExpected, (int)args.GetSize());
    for (int i = 0; i < nExpected; i++)
        EXPECT_EQ(CString(ppArgs[i]), args[i]) << i << ": " << Narrow(args[i]);
    ::LocalFree(ppArgs);
    EXPECT_NE(-1, args[0].Find(L"SystemQueriesTest")) << Narrow(args[0]);
}

TEST(SystemProcess, CurrentDirectoryFollowsSetCurrentDirectory)
{
    CString before = CSystem::GetCurrentDirectory();
    ASSERT_FALSE(before.IsEmpty());
    {
        wivotest::TempDir dir;
        ASSERT_TRUE(CSystem::SetCurrentDirectory(dir.Path()));
        CString now = CSystem::GetCurrentDirectory();
        CString expected = dir.Path();
        expected.TrimRight(L'\\');
        EXPECT_EQ(0, now.CompareNoCase(expected)) << Narrow(now) << " vs " << Narrow(expected);
        EXPECT_EQ((int)wcslen(now), now.GetLength());
        EXPECT_FALSE(CSystem::SetCurrentDirectory(dir.File(L"no such dir")));
        EXPECT_EQ(now, CSystem::GetCurrentDirectory());
        ASSERT_TRUE(CSystem::SetCurrentDirectory(before));
    }
    EXPECT_EQ(before, CSystem::GetCurrentDirectory());
}

TEST(SystemProcess, ExitEndsTheProcessWithItsCode)
{
    EXPECT_EXIT(CSystem::Exit(42), ::testing::ExitedWithCode(42), "");
    EXPECT_EXIT(CSystem::Exit(0), ::testing::ExitedWithCode(0), "");
}

TEST(SystemMachine, ScreenMouseAndNames)
{
    CSize size = CSystem::GetScreenResolution();
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), size.cx);
    EXPECT_EQ(::GetSystemMetrics(SM_CYSCREEN), size.cy);
    HDC hdc = ::GetDC(NULL);
    EXPECT_EQ((BYTE)::GetDeviceCaps(hdc, BITSPIXEL), CSystem::GetScreenColorDepth());
    ::ReleaseDC(NULL, hdc);
    EXPECT_GT(CSystem::GetScreenColorDepth(), 0);
    EXPECT_EQ(::GetSystemMetrics(SM_MOUSEPRESENT), CSystem::HasMouse());
    EXPECT_EQ((BYTE)::GetSystemMetrics(SM_CMOUSEBUTTONS), CSystem::GetMouseButtonCount());

    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD n = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(::GetComputerNameW(name, &n));
    CString computer = CSystem::GetComputerName();
    EXPECT_EQ(CString(name), computer) << Narrow(computer);
    EXPECT_EQ((int)n, computer.GetLength());

    wchar_t user[257];
    n = 257;
    ASSERT_TRUE(::GetUserNameW(user, &n));
    CString strUser = CSystem::GetUserName();
    EXPECT_EQ(CString(user), strUser) << Narrow(strUser);
    EXPECT_FALSE(strUser.IsEmpty());

    EXPECT_EQ(CLocale::GetSystemDefaultLocale().GetLCID(), CSystem::GetSystemLocale().GetLCID());
}

TEST(SystemMachine, TimeAndMemory)
{
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
    long long diff = (long long)(utc.GetTime() - local.GetTime());
    EXPECT_NEAR((double)bias * 60, (double)diff, 2.0) << "bias " << bias << " diff " << diff;

    MEMORYSTATUS ms;
    memset(&ms, 0xBD, sizeof(ms));
    CSystem::GetMemoryStatus(ms);
    EXPECT_GT(ms.dwTotalPhys, (SIZE_T)0);
    EXPECT_LE(ms.dwAvailPhys, ms.dwTotalPhys);
    EXPECT_LE(ms.dwMemoryLoad, 100u);
}

} // namespace
