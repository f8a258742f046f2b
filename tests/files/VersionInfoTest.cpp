// Tests of CFileVersionInfo, CDLLVersionInfo and the cached common-control and shell
// versions: the library's own resource, a test library with three translations and
// chosen flags (also in byte-patched copies), files without a resource, DllGetVersion
// results, and the once-per-process caches watched through the library's LoadLibraryW.
#include <gtest/gtest.h>

#include <Wivo.h>

#include "TestSupport.h"

#include <stdio.h>
#include <string.h>

#include <iostream>
#include <string>
#include <vector>

using wivotest::Narrow;
using wivotest::TempDir;

static void PrintTo(const CString& text, std::ostream* os)
{
    *os << '"' << Narrow(text) << '"';
}

static void PrintTo(const CVersion& version, std::ostream* os)
{
    *os << Narrow(version.ToString(15)) << " (0x" << std::hex
        << static_cast<unsigned long long>(version.GetVersion()) << std::dec << ')';
}

namespace {

typedef CFileVersionInfo::CTranslation Translation;

static_assert(sizeof(Translation) == 4, "one entry of the stored translation list");

std::string Hex(unsigned long value)
{
    char text[16];
    sprintf(text, "0x%08lX", value);
    return text;
}

// A translation as "0C07/1200".
std::string Text(const Translation& t)
{
    char text[16];
    sprintf(text, "%04X/%u", t.wLanguage, t.wCodePage);
    return text;
}

// The stored list and, after a colon, the current translation: "0409/1200 0C07/1252: 0409/1200".
std::string Translations(const CFileVersionInfo& info)
{
    std::string out;
    for (INT_PTR i = 0; i < info.GetTranslations().GetSize(); ++i)
        out += (i > 0 ? " " : "") + Text(info.GetTranslations()[i]);
    return out + ": " + Text(info.GetCurrentTranslation());
}

CString ModulePath(HMODULE hModule)
{
    WCHAR path[MAX_PATH];
    DWORD cch = GetModuleFileNameW(hModule, path, MAX_PATH);
    return CString(path, static_cast<int>(cch));
}

CString TestDllPath()
{
    CString path = ModulePath(NULL);
    return path.Left(path.ReverseFind(L'\\')) + L"\\VersionTestDll.dll";
}

HMODULE LibraryModule()
{
    return GetModuleHandleW(L"Wivo10u.dll");
}

const struct
{
    LPCWSTR pszEntry;
    CString (CFileVersionInfo::*pfn)() const;
} kNamedGetters[] = {
    {L"FileDescription", &CFileVersionInfo::GetFileDescription},
    {L"FileVersion", &CFileVersionInfo::GetFileVersionString},
    {L"ProductName", &CFileVersionInfo::GetProductName},
    {L"ProductVersion", &CFileVersionInfo::GetProductVersionString},
    {L"InternalName", &CFileVersionInfo::GetInternalName},
    {L"OriginalFileName", &CFileVersionInfo::GetOriginalFileName},
    {L"CompanyName", &CFileVersionInfo::GetCompanyName},
    {L"LegalCopyright", &CFileVersionInfo::GetLegalCopyright},
    {L"LegalTrademarks", &CFileVersionInfo::GetLegalTrademarks},
    {L"PrivateBuild", &CFileVersionInfo::GetPrivateBuild},
    {L"SpecialBuild", &CFileVersionInfo::GetSpecialBuild},
    {L"Comments", &CFileVersionInfo::GetComments},
};

// The eight part getters, file then product, against the expected words.
void ExpectParts(const CFileVersionInfo& info, const std::vector<WORD>& expected)
{
    EXPECT_EQ(std::vector<WORD>({info.GetFileMajor(), info.GetFileMinor(), info.GetFileBuild(),
                                 info.GetFileRevision(), info.GetProductMajor(), info.GetProductMinor(),
                                 info.GetProductBuild(), info.GetProductRevision()}),
              expected);
}

// The five flag getters as "debug, pre-release, patched, private, special" bits.
std::string Flags(const CFileVersionInfo& info)
{
    return std::string() + (info.IsDebug() ? 'D' : '-') + (info.IsPreRelease() ? 'R' : '-')
           + (info.IsPatched() ? 'P' : '-') + (info.IsPrivateBuild() ? 'V' : '-')
           + (info.IsSpecialBuild() ? 'S' : '-');
}

// No translation list: the zero pair is current and no getter finds a string.
void ExpectNoListAndNoStrings(const CFileVersionInfo& info)
{
    EXPECT_EQ(Translations(info), ": 0000/0");
    for (const auto& g : kNamedGetters)
        EXPECT_EQ((info.*g.pfn)(), CString()) << Narrow(g.pszEntry);
}

// Everything an object without version information must report.
void ExpectNoVersionInfo(const CFileVersionInfo& info)
{
    EXPECT_FALSE(info.HasVersionInfo());
    EXPECT_EQ(info.GetFileVersion(), CVersion::null);
    EXPECT_EQ(info.GetProductVersion(), CVersion::null);
    ExpectParts(info, {0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(Flags(info), "-----");
    EXPECT_EQ(info.GetFileOS() | info.GetFileType() | info.GetFileSubType(), 0u);
    EXPECT_EQ(info.GetFileCreationDateTime().GetTime(), 0);
    ExpectNoListAndNoStrings(info);
    // No block to look in, whatever translation is asked for.
    info.SetCurrentTranslation(Translation{0x0C07, 1200});
    EXPECT_EQ(info.GetStringFileInfo(L"FileVersion"), CString());
}

/////////////////////////////////////////////////////////////////////////////
// Byte patches of a copy of the test library

// Offsets of the fields of VS_FIXEDFILEINFO.
const size_t fixedFileVersionMS = 8, fixedFileVersionLS = 12, fixedProductVersionMS = 16,
             fixedProductVersionLS = 20, fixedFlagsMask = 24, fixedFlags = 28, fixedDateMS = 44,
             fixedDateLS = 48;

class PatchedCopy
{
public:
    PatchedCopy() : m_bytes(wivotest::ReadFileBytes(TestDllPath())), m_path(m_dir.File(L"Patched.dll"))
    {
        EXPECT_GT(m_bytes.size(), 4096u) << "test library not read";
    }

    // Offset of the only occurrence of the bytes; npos (and a failure) when missing or
    // not unique, which makes the patches below change nothing.
    size_t Find(const void* p, size_t cb)
    {
        std::string needle(static_cast<const char*>(p), cb);
        size_t pos = m_bytes.find(needle);
        if (pos == std::string::npos || m_bytes.find(needle, pos + 1) != std::string::npos) {
            ADD_FAILURE() << "pattern missing or not unique in the test library";
            return std::string::npos;
        }
        return pos;
    }
    size_t Find(LPCWSTR text) { return Find(text, wcslen(text) * sizeof(WCHAR)); }

    template <class T> void Put(size_t offset, T value)
    {
        if (offset < m_bytes.size() && offset + sizeof value <= m_bytes.size())
            memcpy(&m_bytes[offset], &value, sizeof value);
    }
    void SetFixed(size_t field, DWORD value)
    {
        const DWORD signature = VS_FFI_SIGNATURE;
        Put(Find(&signature, 4) + field, value);
    }
    // Same length only: nothing behind the text may move.
    void ReplaceText(LPCWSTR from, LPCWSTR to)
    {
        ASSERT_EQ(wcslen(from), wcslen(to));
        size_t pos = Find(from);
        for (size_t i = 0; to[i] != 0; ++i)
            Put(pos + i * sizeof(WCHAR), to[i]);
    }
    CString Write()
    {
        EXPECT_TRUE(wivotest::WriteFileBytes(m_path, m_bytes)) << Narrow(m_path);
        return m_path;
    }

private:
    TempDir m_dir;
    std::string m_bytes;
    CString m_path;
};

/////////////////////////////////////////////////////////////////////////////
// Watching the library's LoadLibraryW

std::vector<CString> g_loadedNames;

HMODULE WINAPI RecordingLoadLibraryW(LPCWSTR pszName)
{
    g_loadedNames.push_back(pszName != NULL ? CString(pszName) : CString(L"(null)"));
    return LoadLibraryW(pszName);
}

int LoadsOf(LPCWSTR pszName)
{
    int n = 0;
    for (const CString& name : g_loadedNames)
        n += name.CompareNoCase(pszName) == 0;
    return n;
}

// The import table of a loaded module, walked by hand.
template <typename F>
void ForEachImport(HMODULE hModule, F f)
{
    BYTE* base = reinterpret_cast<BYTE*>(hModule);
    const IMAGE_NT_HEADERS* nt =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0)
        return;
    for (auto* imp = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
         imp->Name != 0; ++imp) {
        DWORD rvaNames = imp->OriginalFirstThunk != 0 ? imp->OriginalFirstThunk : imp->FirstThunk;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + rvaNames);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            const char* pszFunction = "";
            if (!IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                pszFunction = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name;
            f(reinterpret_cast<const char*>(base + imp->Name), pszFunction,
              reinterpret_cast<void**>(&slots->u1.Function));
        }
    }
}

// Points the library's import of LoadLibraryW at RecordingLoadLibraryW while it lives.
class LoadLibraryWatch
{
public:
    LoadLibraryWatch()
    {
        ForEachImport(LibraryModule(), [&](const char* dll, const char* function, void** slot) {
            if (m_ppSlot == NULL && _stricmp(dll, "kernel32.dll") == 0 && strcmp(function, "LoadLibraryW") == 0)
                m_ppSlot = slot;
        });
        if (m_ppSlot != NULL)
            m_pOriginal = Write(reinterpret_cast<void*>(&RecordingLoadLibraryW));
        g_loadedNames.clear();
    }
    ~LoadLibraryWatch()
    {
        if (m_ppSlot != NULL)
            Write(m_pOriginal);
    }
    LoadLibraryWatch(const LoadLibraryWatch&) = delete;
    LoadLibraryWatch& operator=(const LoadLibraryWatch&) = delete;

    bool IsInstalled() const { return m_ppSlot != NULL; }

private:
    void* Write(void* pValue)
    {
        DWORD dwOld = 0;
        VirtualProtect(m_ppSlot, sizeof(void*), PAGE_READWRITE, &dwOld);
        void* pOld = *m_ppSlot;
        *m_ppSlot = pValue;
        VirtualProtect(m_ppSlot, sizeof(void*), dwOld, &dwOld);
        return pOld;
    }

    void** m_ppSlot = NULL;
    void* m_pOriginal = NULL;
};

} // namespace

/////////////////////////////////////////////////////////////////////////////
// The library's own resource

// By module only: reading by name and by module is shown with the test library.
TEST(LibraryResource, ReportsItsVersionRecord)
{
    HMODULE hLibrary = LibraryModule();
    ASSERT_NE(hLibrary, (HMODULE)NULL);
    CFileVersionInfo info(hLibrary);
    EXPECT_EQ(info.GetFileName(), ModulePath(hLibrary));
    ASSERT_TRUE(info.HasVersionInfo());
    ExpectParts(info, {1, 0, 18, 3, 1, 0, 18, 3});
    EXPECT_EQ(info.GetFileType(), static_cast<DWORD>(VFT_DLL)) << Hex(info.GetFileType());
    EXPECT_EQ(info.GetFileOS(), static_cast<DWORD>(VOS_NT_WINDOWS32)) << Hex(info.GetFileOS());
    EXPECT_EQ(Flags(info), "-----");
    EXPECT_EQ(Translations(info), "0C07/1200: 0C07/1200");

    // The version texts leave the build out; it has an entry of its own.
    EXPECT_EQ(info.GetFileVersionString(), CString(L"1.0.3"));
    EXPECT_EQ(info.GetStringFileInfo(L"FileBuild"), CString(L"18"));
    EXPECT_EQ(info.GetInternalName(), CString(L"Wivo10u"));
    EXPECT_EQ(info.GetStringFileInfo(L"OriginalFilename"), CString(L"Wivo10u.dll"));
    // Entry names are matched without regard to case.
    EXPECT_EQ(info.GetOriginalFileName(), CString(L"Wivo10u.dll"));
}

TEST(LibraryResource, VersionLibraryIsNotImportedButLoadedOnce)
{
    ForEachImport(LibraryModule(), [](const char* dll, const char* function, void**) {
        EXPECT_NE(_stricmp(dll, "version.dll"), 0) << "imports " << function;
    });
    LoadLibraryWatch watch;
    ASSERT_TRUE(watch.IsInstalled());
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(CFileVersionInfo(TestDllPath()).HasVersionInfo());
    // Loaded by the first object of the process (perhaps an earlier test), never again.
    EXPECT_LE(LoadsOf(L"version.dll"), 1);
    EXPECT_NE(GetModuleHandleW(L"version.dll"), (HMODULE)NULL);
}

/////////////////////////////////////////////////////////////////////////////
// The test library: three translations, flags partly masked, driver type

// Everything the test library's resource holds, read through one object.
static void ExpectTestLibrary(const CFileVersionInfo& info)
{
    ASSERT_TRUE(info.HasVersionInfo()) << Narrow(TestDllPath());
    EXPECT_EQ(info.GetFileVersion(), CVersion(2, 5, 300, static_cast<short>(40000)));
    EXPECT_EQ(info.GetProductVersion(), CVersion(7, 1, 0, 9));
    ExpectParts(info, {2, 5, 300, 40000, 7, 1, 0, 9});
    EXPECT_EQ(info.GetFileOS(), static_cast<DWORD>(VOS__WINDOWS32)) << Hex(info.GetFileOS());
    EXPECT_EQ(info.GetFileType(), static_cast<DWORD>(VFT_DRV)) << Hex(info.GetFileType());
    EXPECT_EQ(info.GetFileSubType(), static_cast<DWORD>(VFT2_DRV_SOUND)) << Hex(info.GetFileSubType());
    // Flags 0x26 under mask 0x0F: the special-build bit is not declared valid.
    EXPECT_EQ(Flags(info), "-RP--");

    // Per getter: English (040904B0), German (0C0704E4); the third translation has none.
    const LPCWSTR rows[][2] = {
        {L"Version test library", L"Versionsprüfbibliothek"},
        {L"2.5 (english)", L"2.5 (österreichisch)"},
        {L"Version Test", L"Versionsprüfung"},
        {L"7.1", L"7.1"},
        {L"VersionTestDll", L"VersionTestDll"},
        {L"VersionTestDll.dll", L"VersionTestDll.dll"},
        {L"Test Vendor", L"Prüfhersteller"},
        {L"Copyright test", L"Urheberrecht Prüfung"},
        {L"Trademark test", L"Marke Prüfung"},
        {L"private en", L"privat de"},
        {L"special en", L"speziell de"},
        {L"Only in English", L""},
    };
    static_assert(std::size(rows) == std::size(kNamedGetters), "one row per getter");
    ASSERT_EQ(Translations(info), "0409/1200 0C07/1252 0407/1200: 0409/1200");
    for (int t = 0; t < 3; ++t) {
        info.SetCurrentTranslation(info.GetTranslations()[t]);
        for (size_t i = 0; i < std::size(rows); ++i) {
            LPCWSTR pszExpected = t < 2 ? rows[i][t] : L"";
            SCOPED_TRACE(::testing::Message() << "translation " << t << ", " << Narrow(kNamedGetters[i].pszEntry));
            EXPECT_EQ((info.*kNamedGetters[i].pfn)(), CString(pszExpected));
            EXPECT_EQ(info.GetStringFileInfo(kNamedGetters[i].pszEntry), CString(pszExpected));
        }
    }

    const LPCWSTR missing[] = {L"NoSuchEntry", L"", L"File", L"FileVersionX", L"FileVersion\\More", L"Translation"};
    for (LPCWSTR pszEntry : missing)
        EXPECT_EQ(info.GetStringFileInfo(pszEntry), CString()) << Narrow(pszEntry);
    // Any pair is accepted; one the resource does not hold finds nothing.
    const Translation unlisted[] = {{0x0411, 932}, {0x0409, 1252}, {0x0C07, 1200}, {0, 0}};
    for (const Translation& t : unlisted) {
        info.SetCurrentTranslation(t);
        // The list itself is not touched by choosing.
        EXPECT_EQ(Translations(info), "0409/1200 0C07/1252 0407/1200: " + Text(t));
        EXPECT_EQ(info.GetCompanyName(), CString()) << Text(t);
    }
}

// By name and by module handle: the fixed part; the translations in stored order, the
// first one current; then every getter in each of them: a string is never borrowed from
// another translation, and choosing in one object does not change another.
TEST(TestLibraryResource, FixedPartTranslationsAndTheirStrings)
{
    HMODULE hDll = LoadLibraryW(TestDllPath());
    ASSERT_NE(hDll, (HMODULE)NULL) << GetLastError();
    CFileVersionInfo other(TestDllPath());
    for (bool byModule : {false, true}) {
        SCOPED_TRACE(byModule ? "by module" : "by name");
        CFileVersionInfo info = byModule ? CFileVersionInfo(hDll) : CFileVersionInfo(TestDllPath());
        EXPECT_EQ(info.GetFileName(), byModule ? ModulePath(hDll) : TestDllPath());
        ExpectTestLibrary(info);
    }
    EXPECT_EQ(other.GetCompanyName(), CString(L"Test Vendor"));
    FreeLibrary(hDll);
}

/////////////////////////////////////////////////////////////////////////////
// Patched copies: chosen fixed fields, a missing translation list

TEST(PatchedCopies, OnlyMaskedFlagsAreReported)
{
    const struct { DWORD dwMask, dwFlags; const char* pszExpected; } cases[] = {
        {0x3F, 0x21, "D---S"}, {0x01, 0x21, "D----"}, {0x3F, 0x0E, "-RPV-"},
        {0x00, 0x3F, "-----"}, {0x3F, 0x10, "-----"},   // 0x10: "info inferred", not reported
        {0xFFFFFFFF, 0xFFFFFFE0, "----S"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("mask " + Hex(c.dwMask) + ", flags " + Hex(c.dwFlags));
        PatchedCopy copy;
        copy.SetFixed(fixedFlagsMask, c.dwMask);
        copy.SetFixed(fixedFlags, c.dwFlags);
        CFileVersionInfo info(copy.Write());
        ASSERT_TRUE(info.HasVersionInfo());
        EXPECT_EQ(Flags(info), c.pszExpected);
    }
}

TEST(PatchedCopies, VersionPartsAndCreationDate)
{
    const time_t when = 1577934245;   // 2020-01-02 03:04:05 UTC
    const ULONGLONG units = static_cast<ULONGLONG>(when) * 10000000ULL + 116444736000000000ULL;
    PatchedCopy copy;
    copy.SetFixed(fixedFileVersionMS, 0x00050001);
    copy.SetFixed(fixedFileVersionLS, 0x0A280002);
    copy.SetFixed(fixedProductVersionMS, 0xFFFF0001);
    copy.SetFixed(fixedProductVersionLS, 0x80000000);
    copy.SetFixed(fixedDateMS, static_cast<DWORD>(units >> 32));
    copy.SetFixed(fixedDateLS, static_cast<DWORD>(units & 0xFFFFFFFF));
    CFileVersionInfo info(copy.Write());
    ASSERT_TRUE(info.HasVersionInfo());

    EXPECT_EQ(info.GetFileVersion(), CVersion(5, 1, 2600, 2));
    // Parts above 0x7FFF stay unsigned in the part getters; the value is high:low.
    EXPECT_EQ(static_cast<unsigned long long>(info.GetProductVersion().GetVersion()), 0xFFFF000180000000ULL);
    ExpectParts(info, {5, 1, 2600, 2, 0xFFFF, 1, 0x8000, 0});
    EXPECT_EQ(info.GetFileCreationDateTime().GetTime(), when);
}

TEST(PatchedCopies, NoTranslationList)
{
    PatchedCopy copy;
    copy.ReplaceText(L"Translation", L"Translatiox");
    {
        CFileVersionInfo info(copy.Write());
        EXPECT_EQ(info.GetFileMajor(), 2);
        ExpectNoListAndNoStrings(info);
        // The resource's strings are still there for a translation asked for by hand.
        info.SetCurrentTranslation(Translation{0x0409, 1200});
        EXPECT_EQ(info.GetCompanyName(), CString(L"Test Vendor"));
    }
    // Without a list the zero block is looked in.
    copy.ReplaceText(L"0c0704e4", L"00000000");
    CFileVersionInfo info(copy.Write());
    EXPECT_EQ(info.GetCompanyName(), CString(L"Prüfhersteller"));
    EXPECT_EQ(info.GetComments(), CString());
}

TEST(PatchedCopies, OddListLengthDropsThePartialEntry)
{
    // Three translations are 12 bytes; claiming 14 leaves half an entry at the end.
    PatchedCopy copy;
    copy.Put(copy.Find(L"Translation") - 4, WORD(14));
    EXPECT_EQ(Translations(CFileVersionInfo(copy.Write())),
              "0409/1200 0C07/1252 0407/1200: 0409/1200");
}

/////////////////////////////////////////////////////////////////////////////
// Files without version information

TEST(NoVersionInfo, FailuresGiveZerosAndEmptyStrings)
{
    TempDir dir;
    const CString text = dir.File(L"plain.txt"), empty = dir.File(L"empty.dll"), fake = dir.File(L"fake.dll");
    ASSERT_TRUE(wivotest::WriteFileBytes(text, "no resources in here\r\n"));
    ASSERT_TRUE(wivotest::WriteFileBytes(empty, ""));
    ASSERT_TRUE(wivotest::WriteFileBytes(fake, std::string("MZ") + std::string(200, '\0')));
    // The root entry's value length says there is no fixed record behind its key.
    PatchedCopy rootOnly;
    rootOnly.Put(rootOnly.Find(L"VS_VERSION_INFO") - 4, WORD(0));
    const struct { const char* pszWhat; CString strName; ULONG_PTR hModule; } cases[] = {
        {"text file", text, 0},
        {"empty file", empty, 0},
        {"MZ header only", fake, 0},
        {"missing file", dir.File(L"missing.dll"), 0},
        {"directory", dir.Path(), 0},
        {"empty name", CString(), 0},
        {"program without a version resource", ModulePath(NULL), 0},
        {"root entry without a fixed record", rootOnly.Write(), 0},
        {"unknown module handle", CString(), 0x10},
        {"unknown module handle", CString(), 0x7FFE0000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        CFileVersionInfo info = c.hModule != 0 ? CFileVersionInfo(reinterpret_cast<HINSTANCE>(c.hModule))
                                               : CFileVersionInfo(c.strName);
        EXPECT_EQ(info.GetFileName(), c.strName);
        ExpectNoVersionInfo(info);
    }
}

/////////////////////////////////////////////////////////////////////////////
// CDLLVersionInfo

// Keeps the test library loaded so that its recorded state survives the objects' own
// load and release.
class HeldTestDll : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hDll = LoadLibraryW(TestDllPath());
        ASSERT_NE(m_hDll, (HMODULE)NULL) << GetLastError();
        m_pfnSetResult = reinterpret_cast<void(CALLBACK*)(HRESULT)>(
            reinterpret_cast<void*>(GetProcAddress(m_hDll, "VersionTestDllSetResult")));
        m_pfnLastRequest = reinterpret_cast<LONG(CALLBACK*)(DLLVERSIONINFO*)>(
            reinterpret_cast<void*>(GetProcAddress(m_hDll, "VersionTestDllLastRequest")));
        ASSERT_TRUE(m_pfnSetResult != NULL && m_pfnLastRequest != NULL);
    }
    void TearDown() override
    {
        if (m_hDll != NULL) {
            m_pfnSetResult(S_OK);
            FreeLibrary(m_hDll);
        }
    }

    HMODULE m_hDll = NULL;
    void(CALLBACK* m_pfnSetResult)(HRESULT) = NULL;
    LONG(CALLBACK* m_pfnLastRequest)(DLLVERSIONINFO*) = NULL;
};

// DllGetVersion is asked once with a cleared record, and its result is kept.
TEST_F(HeldTestDll, AsksOnceWithAClearedRecordAndKeepsTheResult)
{
    const HRESULT results[] = {S_OK, S_FALSE, E_NOTIMPL, E_INVALIDARG, HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)};
    for (HRESULT hr : results) {
        SCOPED_TRACE(Hex(static_cast<unsigned long>(hr)));
        m_pfnSetResult(hr);
        DLLVERSIONINFO request;
        LONG nBefore = m_pfnLastRequest(&request);
        CDLLVersionInfo info(TestDllPath());
        EXPECT_EQ(m_pfnLastRequest(&request), nBefore + 1) << "DllGetVersion called once";
        EXPECT_EQ(std::vector<DWORD>({request.cbSize, request.dwMajorVersion, request.dwMinorVersion,
                                      request.dwBuildNumber, request.dwPlatformID}),
                  std::vector<DWORD>({20, 0, 0, 0, 0}));
        EXPECT_EQ(info.GetFileName(), TestDllPath());
        EXPECT_EQ(info.GetHResult(), hr) << Hex(static_cast<unsigned long>(info.GetHResult()));
        EXPECT_EQ(!!info.HasVersionInfo(), hr >= 0);
        if (hr == S_OK) {
            // The build 0x12345 is cut to its low 16 bits; the revision stays undefined.
            EXPECT_EQ(info.GetVersion(), CVersion(3, 21, 0x2345));
            EXPECT_EQ(info.GetVersion().GetRevision(), -1);
        }
    }
}

TEST_F(HeldTestDll, ByModuleHandleAndCopies)
{
    CDLLVersionInfo byModule(m_hDll);
    CDLLVersionInfo copy(byModule);
    CDLLVersionInfo assigned(L"kernel32.dll");
    ASSERT_LT(assigned.GetHResult(), 0);
    assigned = byModule;
    for (CDLLVersionInfo* p : {&byModule, &copy, &assigned}) {
        SCOPED_TRACE(p == &byModule ? "by module" : p == &copy ? "copy" : "assigned");
        EXPECT_EQ(p->GetFileName(), ModulePath(m_hDll));
        EXPECT_EQ(p->GetHResult(), S_OK);
        EXPECT_TRUE(p->HasVersionInfo());
        EXPECT_EQ(p->GetVersion(), CVersion(3, 21, 0x2345));
    }

    // A copy of a failure is a failure.
    CDLLVersionInfo failed(L"kernel32.dll");
    copy = failed;
    EXPECT_EQ(copy.GetHResult(), failed.GetHResult());
    EXPECT_FALSE(copy.HasVersionInfo());
    EXPECT_EQ(copy.GetVersion(), CVersion(0, 0, 0));
}

TEST(DLLVersionInfo, ReleasesWhatItLoadedAndFailsWithANegativeResult)
{
    ASSERT_EQ(GetModuleHandleW(TestDllPath()), (HMODULE)NULL) << "still loaded from elsewhere";
    EXPECT_EQ(CDLLVersionInfo(TestDllPath()).GetHResult(), S_OK);
    EXPECT_EQ(GetModuleHandleW(TestDllPath()), (HMODULE)NULL);
    CDLLVersionInfo none(L"kernel32.dll");
    EXPECT_NE(GetModuleHandleW(L"kernel32.dll"), (HMODULE)NULL);

    TempDir dir;
    const CString fakeDll = dir.File(L"fake.dll");
    ASSERT_TRUE(wivotest::WriteFileBytes(fakeDll, "not a library"));
    const struct { const char* pszWhat; CString strName; ULONG_PTR hModule; HRESULT hrExpected; } cases[] = {
        {"no such library", L"NoSuchLibrary4711.dll", 0, HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND)},
        {"kernel32 has no DllGetVersion", L"kernel32.dll", 0, HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND)},
        {"the library itself has none", ModulePath(LibraryModule()), 0, HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND)},
        {"not a library", fakeDll, 0, 0},   // 0: any failure
        {"empty name", CString(), 0, 0},
        {"unknown module handle", CString(), 0x10, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        CDLLVersionInfo info = c.hModule != 0 ? CDLLVersionInfo(reinterpret_cast<HINSTANCE>(c.hModule))
                                              : CDLLVersionInfo(c.strName);
        EXPECT_EQ(info.GetFileName(), c.strName);
        EXPECT_LT(info.GetHResult(), 0) << Hex(static_cast<unsigned long>(info.GetHResult()));
        if (c.hrExpected != 0) {
            EXPECT_EQ(info.GetHResult(), c.hrExpected) << Hex(static_cast<unsigned long>(info.GetHResult()));
        }
        EXPECT_FALSE(info.HasVersionInfo());
        EXPECT_EQ(info.GetVersion(), CVersion(0, 0, 0));
    }
}

/////////////////////////////////////////////////////////////////////////////
// Cached common-control and shell versions

TEST(CachedVersion, AskedOnceThenFromTheCache)
{
    const struct { LPCWSTR pszLibrary; CVersion (*pfn)(); } cases[] = {
        {L"COMCTL32.DLL", &WivoGetComCtlVersion}, {L"SHELL32.DLL", &WivoGetShellVersion}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.pszLibrary));
        LoadLibraryWatch watch;
        ASSERT_TRUE(watch.IsInstalled());
        // What the platform's library says when asked directly (this load must be seen).
        CDLLVersionInfo direct(c.pszLibrary);
        ASSERT_EQ(LoadsOf(c.pszLibrary), 1) << "the library's loads are not seen";
        const CVersion expected = direct.GetHResult() < 0 ? CVersion(4, 0) : direct.GetVersion();
        if (direct.GetHResult() < 0)
            std::cout << "  " << Narrow(c.pszLibrary) << " has no DllGetVersion here ("
                      << Hex(static_cast<unsigned long>(direct.GetHResult())) << ")\n";

        g_loadedNames.clear();
        const CVersion first = c.pfn();
        const int loadsFirst = LoadsOf(c.pszLibrary);
        const CVersion second = c.pfn();
        EXPECT_LE(loadsFirst, 1);
        EXPECT_EQ(LoadsOf(c.pszLibrary), loadsFirst) << "asked the library again";
        std::cout << "  " << Narrow(c.pszLibrary) << ": " << Narrow(first.ToString()) << '\n';
        EXPECT_EQ(first, expected);
        EXPECT_EQ(second, first);
        EXPECT_GE(first.GetMajor(), 4);
    }
}
