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

CString ModulePath(HMODULE hModule)
{
    WCHAR path[MAX_PATH];
    DWORD cch = GetModuleFileNameW(hModule, path, MAX_PATH);
    return CString(path, static_cast<int>(cch));
}

CString BinDir()
{
    CString path = ModulePath(NULL);
    return path.Left(path.ReverseFind(L'\\'));
}

CString TestDllPath()
{
    return BinDir() + L"\\VersionTestDll.dll";
}

HMODULE LibraryModule()
{
    return GetModuleHandleW(L"Wivo10u.dll");
}

typedef CString (CFileVersionInfo::*StringGetter)() const;

struct NamedGetter
{
    LPCWSTR pszEntry;
    StringGetter pfn;
};

const NamedGetter kNamedGetters[] = {
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
void ExpectParts(const CFileVersionInfo& info, const WORD (&expected)[8])
{
    const WORD parts[] = {info.GetFileMajor(),    info.GetFileMinor(),    info.GetFileBuild(),
                          info.GetFileRevision(), info.GetProductMajor(), info.GetProductMinor(),
                          info.GetProductBuild(), info.GetProductRevision()};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(parts[i], expected[i]) << (i < 4 ? "file" : "product") << " part " << i % 4;
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
    EXPECT_EQ(info.GetTranslations().GetSize(), 0);
    EXPECT_EQ(info.GetCurrentTranslation().wLanguage, 0);
    EXPECT_EQ(info.GetCurrentTranslation().wCodePage, 0);
    for (const NamedGetter& g : kNamedGetters)
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
    EXPECT_EQ(info.GetFileOS(), 0u);
    EXPECT_EQ(info.GetFileType(), 0u);
    EXPECT_EQ(info.GetFileSubType(), 0u);
    EXPECT_EQ(info.GetFileCreationDateTime().GetTime(), 0);
    ExpectNoListAndNoStrings(info);
    // No block to look in, whatever translation is asked for.
    Translation german = {0x0C07, 1200};
    info.SetCurrentTranslation(german);
    EXPECT_EQ(info.GetStringFileInfo(L"FileVersion"), CString());
    EXPECT_EQ(info.GetStringFileInfo(L"CompanyName"), CString());
}

/////////////////////////////////////////////////////////////////////////////
// Byte patches of a copy of the test library

// Offsets of the fields of VS_FIXEDFILEINFO.
enum FixedField
{
    fixedFileVersionMS = 8,
    fixedFileVersionLS = 12,
    fixedProductVersionMS = 16,
    fixedProductVersionLS = 20,
    fixedFlagsMask = 24,
    fixedFlags = 28,
    fixedDateMS = 44,
    fixedDateLS = 48,
};

std::string Utf16Bytes(LPCWSTR text)
{
    return std::string(reinterpret_cast<const char*>(text), wcslen(text) * sizeof(WCHAR));
}

// Offset of the only occurrence of needle in bytes, or npos (with a failure) when it
// is missing or not unique.
size_t FindUnique(const std::string& bytes, const std::string& needle)
{
    size_t pos = bytes.find(needle);
    if (pos == std::string::npos) {
        ADD_FAILURE() << "pattern not found in the test library";
        return pos;
    }
    if (bytes.find(needle, pos + 1) != std::string::npos) {
        ADD_FAILURE() << "pattern not unique in the test library";
        return std::string::npos;
    }
    return pos;
}

size_t FixedInfoOffset(const std::string& bytes)
{
    const DWORD signature = VS_FFI_SIGNATURE;
    return FindUnique(bytes, std::string(reinterpret_cast<const char*>(&signature), 4));
}

void PutDword(std::string& bytes, size_t offset, DWORD value)
{
    memcpy(&bytes[offset], &value, sizeof(value));
}

void PutWord(std::string& bytes, size_t offset, WORD value)
{
    memcpy(&bytes[offset], &value, sizeof(value));
}

// Same length only: nothing behind the text may move.
bool ReplaceText(std::string& bytes, LPCWSTR from, LPCWSTR to)
{
    if (wcslen(from) != wcslen(to))
        return false;
    size_t pos = FindUnique(bytes, Utf16Bytes(from));
    if (pos == std::string::npos)
        return false;
    bytes.replace(pos, wcslen(from) * sizeof(WCHAR), Utf16Bytes(to));
    return true;
}

class PatchedCopy
{
public:
    PatchedCopy()
        : m_bytes(wivotest::ReadFileBytes(TestDllPath()))
        , m_path(m_dir.File(L"Patched.dll"))
    {
    }

    bool Ok() const { return m_bytes.size() > 4096; }
    std::string& Bytes() { return m_bytes; }
    bool SetFixed(FixedField field, DWORD value)
    {
        size_t offset = FixedInfoOffset(m_bytes);
        if (offset == std::string::npos)
            return false;
        PutDword(m_bytes, offset + field, value);
        return true;
    }
    const CString& Write()
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
        if (name.CompareNoCase(pszName) == 0)
            ++n;
    return n;
}

// The import table of a loaded module, walked by hand.
template <typename F>
void ForEachImport(HMODULE hModule, F f)
{
    BYTE* base = reinterpret_cast<BYTE*>(hModule);
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0)
        return;
    for (const IMAGE_IMPORT_DESCRIPTOR* imp =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
         imp->Name != 0; ++imp) {
        const char* pszDll = reinterpret_cast<const char*>(base + imp->Name);
        DWORD rvaNames = imp->OriginalFirstThunk != 0 ? imp->OriginalFirstThunk : imp->FirstThunk;
        IMAGE_THUNK_DATA* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + rvaNames);
        IMAGE_THUNK_DATA* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            const char* pszFunction = "";
            if (!IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                pszFunction = reinterpret_cast<const char*>(
                    reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name);
            f(pszDll, pszFunction, reinterpret_cast<void**>(&slots->u1.Function));
        }
    }
}

// Points one import slot of a module at a replacement while it lives.
class ImportHook
{
public:
    ImportHook(HMODULE hModule, const char* pszDll, const char* pszFunction, void* pReplacement)
        : m_ppSlot(NULL)
        , m_pOriginal(NULL)
    {
        ForEachImport(hModule, [&](const char* dll, const char* function, void** slot) {
            if (m_ppSlot == NULL && _stricmp(dll, pszDll) == 0 && strcmp(function, pszFunction) == 0)
                m_ppSlot = slot;
        });
        if (m_ppSlot != NULL) {
            m_pOriginal = *m_ppSlot;
            Write(pReplacement);
        }
    }
    ~ImportHook()
    {
        if (m_ppSlot != NULL)
            Write(m_pOriginal);
    }
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;

    bool IsInstalled() const { return m_ppSlot != NULL; }

private:
    void Write(void* pValue)
    {
        DWORD dwOld = 0;
        VirtualProtect(m_ppSlot, sizeof(void*), PAGE_READWRITE, &dwOld);
        *m_ppSlot = pValue;
        VirtualProtect(m_ppSlot, sizeof(void*), dwOld, &dwOld);
    }

    void** m_ppSlot;
    void* m_pOriginal;
};

} // namespace

/////////////////////////////////////////////////////////////////////////////
// The library's own resource

class LibraryResource : public ::testing::TestWithParam<bool>
{
};

TEST_P(LibraryResource, ReportsItsVersionRecord)
{
    HMODULE hLibrary = LibraryModule();
    ASSERT_NE(hLibrary, (HMODULE)NULL);
    const CString path = ModulePath(hLibrary);
    const bool byModule = GetParam();
    CFileVersionInfo info = byModule ? CFileVersionInfo(hLibrary) : CFileVersionInfo(path);

    EXPECT_EQ(info.GetFileName(), path);
    ASSERT_TRUE(info.HasVersionInfo());
    EXPECT_EQ(info.GetFileVersion(), CVersion(1, 0, 18, 3));
    EXPECT_EQ(info.GetProductVersion(), CVersion(1, 0, 18, 3));
    ExpectParts(info, {1, 0, 18, 3, 1, 0, 18, 3});
    EXPECT_EQ(info.GetFileType(), static_cast<DWORD>(VFT_DLL)) << Hex(info.GetFileType());
    EXPECT_EQ(info.GetFileOS(), static_cast<DWORD>(VOS_NT_WINDOWS32)) << Hex(info.GetFileOS());
    EXPECT_EQ(Flags(info), "-----");

    ASSERT_EQ(info.GetTranslations().GetSize(), 1);
    EXPECT_EQ(info.GetTranslations()[0].wLanguage, 0x0C07);
    EXPECT_EQ(info.GetTranslations()[0].wCodePage, 1200);
    EXPECT_EQ(info.GetCurrentTranslation().wLanguage, 0x0C07);
    EXPECT_EQ(info.GetCurrentTranslation().wCodePage, 1200);

    EXPECT_EQ(info.GetFileVersionString(), CString(L"1.0.3"));
    EXPECT_EQ(info.GetProductVersionString(), CString(L"1.0.3"));
    EXPECT_EQ(info.GetStringFileInfo(L"FileBuild"), CString(L"18"));
    EXPECT_EQ(info.GetStringFileInfo(L"ProductBuild"), CString(L"18"));
    EXPECT_EQ(info.GetInternalName(), CString(L"Wivo10u"));
    EXPECT_EQ(info.GetStringFileInfo(L"OriginalFilename"), CString(L"Wivo10u.dll"));
    // Entry names are matched without regard to case.
    EXPECT_EQ(info.GetOriginalFileName(), CString(L"Wivo10u.dll"));
    EXPECT_EQ(info.GetComments(), CString());
}

INSTANTIATE_TEST_SUITE_P(ByNameAndByModule, LibraryResource, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& p) {
                             return p.param ? "ByModule" : "ByName";
                         });

TEST(LibraryResource, VersionLibraryIsNotImportedButLoadedOnce)
{
    HMODULE hLibrary = LibraryModule();
    ASSERT_NE(hLibrary, (HMODULE)NULL);
    ForEachImport(hLibrary, [](const char* dll, const char* function, void**) {
        EXPECT_NE(_stricmp(dll, "version.dll"), 0) << "imports " << function;
    });

    ImportHook hook(hLibrary, "kernel32.dll", "LoadLibraryW",
                    reinterpret_cast<void*>(&RecordingLoadLibraryW));
    ASSERT_TRUE(hook.IsInstalled());
    g_loadedNames.clear();
    for (int i = 0; i < 3; ++i) {
        CFileVersionInfo info(TestDllPath());
        EXPECT_TRUE(info.HasVersionInfo());
    }
    // Loaded by the first object of the process (perhaps an earlier test), never again.
    EXPECT_LE(LoadsOf(L"version.dll"), 1);
    EXPECT_NE(GetModuleHandleW(L"version.dll"), (HMODULE)NULL);
}

/////////////////////////////////////////////////////////////////////////////
// The test library: three translations, flags partly masked, driver type

TEST(TestLibraryResource, FixedPart)
{
    CFileVersionInfo info(TestDllPath());
    ASSERT_TRUE(info.HasVersionInfo()) << Narrow(TestDllPath());
    EXPECT_EQ(info.GetFileVersion(), CVersion(2, 5, 300, static_cast<short>(40000)));
    EXPECT_EQ(info.GetProductVersion(), CVersion(7, 1, 0, 9));
    ExpectParts(info, {2, 5, 300, 40000, 7, 1, 0, 9});
    EXPECT_EQ(info.GetFileOS(), static_cast<DWORD>(VOS__WINDOWS32)) << Hex(info.GetFileOS());
    EXPECT_EQ(info.GetFileType(), static_cast<DWORD>(VFT_DRV)) << Hex(info.GetFileType());
    EXPECT_EQ(info.GetFileSubType(), static_cast<DWORD>(VFT2_DRV_SOUND))
        << Hex(info.GetFileSubType());
    // Flags 0x26 under mask 0x0F: the special-build bit is not declared valid.
    EXPECT_EQ(Flags(info), "-RP--");
}

// The translations in stored order, the first one current; then every getter in each
// of them: a string is never borrowed from another translation.
TEST(TestLibraryResource, TranslationsAndTheirStrings)
{
    struct Row
    {
        LPCWSTR pszEntry;
        LPCWSTR pszEnglish;   // 040904B0
        LPCWSTR pszGerman;    // 0C0704E4
    };
    const Row rows[] = {
        {L"FileDescription", L"Version test library", L"Versionsprüfbibliothek"},
        {L"FileVersion", L"2.5 (english)", L"2.5 (österreichisch)"},
        {L"ProductName", L"Version Test", L"Versionsprüfung"},
        {L"ProductVersion", L"7.1", L"7.1"},
        {L"InternalName", L"VersionTestDll", L"VersionTestDll"},
        {L"OriginalFileName", L"VersionTestDll.dll", L"VersionTestDll.dll"},
        {L"CompanyName", L"Test Vendor", L"Prüfhersteller"},
        {L"LegalCopyright", L"Copyright test", L"Urheberrecht Prüfung"},
        {L"LegalTrademarks", L"Trademark test", L"Marke Prüfung"},
        {L"PrivateBuild", L"private en", L"privat de"},
        {L"SpecialBuild", L"special en", L"speziell de"},
        {L"Comments", L"Only in English", L""},
    };
    static_assert(sizeof(rows) / sizeof(rows[0]) == sizeof(kNamedGetters) / sizeof(kNamedGetters[0]),
                  "one row per getter");

    CFileVersionInfo info(TestDllPath());
    const Translation expected[] = {{0x0409, 1200}, {0x0C07, 1252}, {0x0407, 1200}};
    ASSERT_EQ(info.GetTranslations().GetSize(), 3);
    EXPECT_EQ(info.GetCurrentTranslation().wLanguage, 0x0409);
    EXPECT_EQ(info.GetCurrentTranslation().wCodePage, 1200);
    for (int t = 0; t < 3; ++t) {
        Translation translation = info.GetTranslations()[t];
        EXPECT_EQ(translation.wLanguage, expected[t].wLanguage) << "entry " << t;
        EXPECT_EQ(translation.wCodePage, expected[t].wCodePage) << "entry " << t;
        info.SetCurrentTranslation(translation);
        EXPECT_EQ(info.GetCurrentTranslation().wLanguage, translation.wLanguage);
        EXPECT_EQ(info.GetCurrentTranslation().wCodePage, translation.wCodePage);
        for (size_t i = 0; i < sizeof(rows) / sizeof(rows[0]); ++i) {
            // The third translation is listed but has no strings.
            LPCWSTR pszExpected = t == 0 ? rows[i].pszEnglish : t == 1 ? rows[i].pszGerman : L"";
            SCOPED_TRACE(::testing::Message() << "translation " << t << ", " << Narrow(rows[i].pszEntry));
            EXPECT_EQ(wcscmp(kNamedGetters[i].pszEntry, rows[i].pszEntry), 0);
            EXPECT_EQ((info.*kNamedGetters[i].pfn)(), CString(pszExpected));
            EXPECT_EQ(info.GetStringFileInfo(rows[i].pszEntry), CString(pszExpected));
        }
    }
}

TEST(TestLibraryResource, MissingEntriesAndUnlistedTranslationsAreEmpty)
{
    CFileVersionInfo info(TestDllPath());
    const LPCWSTR missing[] = {L"NoSuchEntry", L"", L"File", L"FileVersionX",
                               L"FileVersion\\More", L"Translation"};
    for (LPCWSTR pszEntry : missing)
        EXPECT_EQ(info.GetStringFileInfo(pszEntry), CString()) << Narrow(pszEntry);

    // Any pair is accepted; one the resource does not hold finds nothing.
    const Translation unlisted[] = {{0x0411, 932}, {0x0409, 1252}, {0x0C07, 1200}, {0, 0}};
    for (const Translation& t : unlisted) {
        info.SetCurrentTranslation(t);
        EXPECT_EQ(info.GetCurrentTranslation().wLanguage, t.wLanguage);
        EXPECT_EQ(info.GetCurrentTranslation().wCodePage, t.wCodePage);
        EXPECT_EQ(info.GetCompanyName(), CString()) << Hex(t.wLanguage) << '/' << t.wCodePage;
        EXPECT_EQ(info.GetFileVersionString(), CString()) << Hex(t.wLanguage) << '/' << t.wCodePage;
    }
    // The list itself is not touched by choosing.
    EXPECT_EQ(info.GetTranslations().GetSize(), 3);
    EXPECT_EQ(info.GetTranslations()[0].wLanguage, 0x0409);
}

TEST(TestLibraryResource, ByModuleHandleMatchesByName)
{
    HMODULE hDll = LoadLibraryW(TestDllPath());
    ASSERT_NE(hDll, (HMODULE)NULL) << GetLastError();
    {
        CFileVersionInfo byModule(hDll);
        CFileVersionInfo byName(TestDllPath());
        EXPECT_EQ(byModule.GetFileName(), ModulePath(hDll));
        ASSERT_TRUE(byModule.HasVersionInfo());
        EXPECT_EQ(byModule.GetFileVersion(), byName.GetFileVersion());
        EXPECT_EQ(byModule.GetTranslations().GetSize(), 3);
        Translation german = {0x0C07, 1252};
        byModule.SetCurrentTranslation(german);
        EXPECT_EQ(byModule.GetCompanyName(), CString(L"Prüfhersteller"));
        // Choosing in one object does not change another.
        EXPECT_EQ(byName.GetCompanyName(), CString(L"Test Vendor"));
    }
    FreeLibrary(hDll);
}

/////////////////////////////////////////////////////////////////////////////
// Patched copies: chosen fixed fields, a missing translation list

struct FlagCase
{
    const char* pszName;
    DWORD dwMask;
    DWORD dwFlags;
    const char* pszExpected;   // as Flags() spells them
};

static void PrintTo(const FlagCase& c, std::ostream* os)
{
    *os << c.pszName;
}

class PatchedFlags : public ::testing::TestWithParam<FlagCase>
{
};

TEST_P(PatchedFlags, OnlyMaskedBitsAreReported)
{
    const FlagCase& c = GetParam();
    PatchedCopy copy;
    ASSERT_TRUE(copy.Ok());
    ASSERT_TRUE(copy.SetFixed(fixedFlagsMask, c.dwMask));
    ASSERT_TRUE(copy.SetFixed(fixedFlags, c.dwFlags));
    CFileVersionInfo info(copy.Write());
    ASSERT_TRUE(info.HasVersionInfo());
    EXPECT_EQ(Flags(info), c.pszExpected);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, PatchedFlags,
    ::testing::Values(FlagCase{"Debug_Special", 0x3F, 0x21, "D---S"},
                      FlagCase{"MaskOnlyDebug", 0x01, 0x21, "D----"},
                      FlagCase{"Pre_Patched_Private", 0x3F, 0x0E, "-RPV-"},
                      FlagCase{"EmptyMask", 0x00, 0x3F, "-----"},
                      FlagCase{"InfoInferredOnly", 0x3F, 0x10, "-----"},
                      FlagCase{"SpecialOnly", 0xFFFFFFFF, 0xFFFFFFE0, "----S"}),
    [](const ::testing::TestParamInfo<FlagCase>& p) { return std::string(p.param.pszName); });

TEST(PatchedFixedPart, VersionPartsComeFromHighAndLowWords)
{
    PatchedCopy copy;
    ASSERT_TRUE(copy.Ok());
    ASSERT_TRUE(copy.SetFixed(fixedFileVersionMS, 0x00050001));
    ASSERT_TRUE(copy.SetFixed(fixedFileVersionLS, 0x0A280002));
    ASSERT_TRUE(copy.SetFixed(fixedProductVersionMS, 0xFFFF0001));
    ASSERT_TRUE(copy.SetFixed(fixedProductVersionLS, 0x80000000));
    CFileVersionInfo info(copy.Write());
    ASSERT_TRUE(info.HasVersionInfo());

    EXPECT_EQ(info.GetFileVersion(), CVersion(5, 1, 2600, 2));
    // Parts above 0x7FFF stay unsigned in the part getters; the value is high:low.
    EXPECT_EQ(static_cast<unsigned long long>(info.GetProductVersion().GetVersion()),
              0xFFFF000180000000ULL);
    ExpectParts(info, {5, 1, 2600, 2, 0xFFFF, 1, 0x8000, 0});
}

TEST(PatchedFixedPart, CreationDateIsTheFileTime)
{
    const time_t when = 1577934245;   // 2020-01-02 03:04:05 UTC
    const ULONGLONG units = static_cast<ULONGLONG>(when) * 10000000ULL + 116444736000000000ULL;
    PatchedCopy copy;
    ASSERT_TRUE(copy.Ok());
    ASSERT_TRUE(copy.SetFixed(fixedDateMS, static_cast<DWORD>(units >> 32)));
    ASSERT_TRUE(copy.SetFixed(fixedDateLS, static_cast<DWORD>(units & 0xFFFFFFFF)));
    CFileVersionInfo info(copy.Write());
    ASSERT_TRUE(info.HasVersionInfo());
    EXPECT_EQ(info.GetFileCreationDateTime().GetTime(), when);
}

TEST(PatchedFixedPart, RootWithoutFixedRecordHasNoVersionInfo)
{
    // The root entry's value length says there is no fixed record behind its key.
    PatchedCopy copy;
    ASSERT_TRUE(copy.Ok());
    size_t pos = FindUnique(copy.Bytes(), Utf16Bytes(L"VS_VERSION_INFO"));
    ASSERT_NE(pos, std::string::npos);
    PutWord(copy.Bytes(), pos - 4, 0);
    ExpectNoVersionInfo(CFileVersionInfo(copy.Write()));
}

TEST(PatchedTranslations, NoListKeepsZeroPairAndFindsNoStrings)
{
    PatchedCopy copy;
    ASSERT_TRUE(copy.Ok());
    ASSERT_TRUE(ReplaceText(copy.Bytes(), L"Translation", L"Translatiox"));
    CFileVersionInfo info(copy.Write());
    ASSERT_TRUE(info.HasVersionInfo());
    EXPECT_EQ(info.GetFileMajor(), 2);
    ExpectNoListAndNoStrings(info);
    // The resource's strings are still there for a translation asked for by hand.
    Translation english = {0x0409, 1200};
    info.SetCurrentTranslation(english);
    EXPECT_EQ(info.GetCompanyName(), CString(L"Test Vendor"));
}

TEST(PatchedTranslations, NoListLooksInTheZeroBlock)
{
    PatchedCopy copy;
    ASSERT_TRUE(copy.Ok());
    ASSERT_TRUE(ReplaceText(copy.Bytes(), L"Translation", L"Translatiox"));
    ASSERT_TRUE(ReplaceText(copy.Bytes(), L"0c0704e4", L"00000000"));
    CFileVersionInfo info(copy.Write());
    EXPECT_EQ(info.GetTranslations().GetSize(), 0);
    EXPECT_EQ(info.GetCompanyName(), CString(L"Prüfhersteller"));
    EXPECT_EQ(info.GetComments(), CString());
}

TEST(PatchedTranslations, OddListLengthDropsThePartialEntry)
{
    // Three translations are 12 bytes; claiming 14 leaves half an entry at the end.
    PatchedCopy copy;
    ASSERT_TRUE(copy.Ok());
    size_t pos = FindUnique(copy.Bytes(), Utf16Bytes(L"Translation"));
    ASSERT_NE(pos, std::string::npos);
    WORD wValueLength = 0;
    memcpy(&wValueLength, &copy.Bytes()[pos - 4], sizeof(wValueLength));
    ASSERT_EQ(wValueLength, 12);
    PutWord(copy.Bytes(), pos - 4, 14);
    CFileVersionInfo info(copy.Write());
    ASSERT_EQ(info.GetTranslations().GetSize(), 3);
    EXPECT_EQ(info.GetTranslations()[2].wLanguage, 0x0407);
}

/////////////////////////////////////////////////////////////////////////////
// Files without version information

TEST(NoVersionInfo, FailuresGiveZerosAndEmptyStrings)
{
    TempDir dir;
    const CString text = dir.File(L"plain.txt");
    ASSERT_TRUE(wivotest::WriteFileBytes(text, "no resources in here\r\n"));
    const CString empty = dir.File(L"empty.dll");
    ASSERT_TRUE(wivotest::WriteFileBytes(empty, ""));
    const CString fakeDll = dir.File(L"fake.dll");
    ASSERT_TRUE(wivotest::WriteFileBytes(fakeDll, std::string("MZ") + std::string(200, '\0')));

    struct Case
    {
        const char* pszWhat;
        CString strName;
    };
    const Case cases[] = {
        {"text file", text},
        {"empty file", empty},
        {"MZ header only", fakeDll},
        {"missing file", dir.File(L"missing.dll")},
        {"directory", dir.Path()},
        {"empty name", CString()},
        {"program without a version resource", ModulePath(NULL)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        CFileVersionInfo info(c.strName);
        EXPECT_EQ(info.GetFileName(), c.strName);
        ExpectNoVersionInfo(info);
    }
}

TEST(NoVersionInfo, UnknownModuleHandleGivesNoName)
{
    const HINSTANCE handles[] = {reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x10)),
                                 reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x7FFE0000))};
    for (HINSTANCE h : handles) {
        SCOPED_TRACE(Hex(static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(h))));
        CFileVersionInfo info(h);
        EXPECT_EQ(info.GetFileName(), CString());
        ExpectNoVersionInfo(info);
    }
}

/////////////////////////////////////////////////////////////////////////////
// CDLLVersionInfo

typedef void(CALLBACK* PFN_SetResult)(HRESULT);
typedef LONG(CALLBACK* PFN_LastRequest)(DLLVERSIONINFO*);

// Keeps the test library loaded so that its recorded state survives the objects' own
// load and release.
class HeldTestDll : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hDll = LoadLibraryW(TestDllPath());
        ASSERT_NE(m_hDll, (HMODULE)NULL) << GetLastError();
        m_pfnSetResult = reinterpret_cast<PFN_SetResult>(
            reinterpret_cast<void*>(GetProcAddress(m_hDll, "VersionTestDllSetResult")));
        m_pfnLastRequest = reinterpret_cast<PFN_LastRequest>(
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
    PFN_SetResult m_pfnSetResult = NULL;
    PFN_LastRequest m_pfnLastRequest = NULL;
};

TEST_F(HeldTestDll, AsksDllGetVersionWithAClearedRecord)
{
    DLLVERSIONINFO before;
    LONG nBefore = m_pfnLastRequest(&before);
    CDLLVersionInfo info(TestDllPath());
    DLLVERSIONINFO request;
    EXPECT_EQ(m_pfnLastRequest(&request), nBefore + 1) << "DllGetVersion called once";
    EXPECT_EQ(request.cbSize, 20u);
    EXPECT_EQ(request.dwMajorVersion, 0u);
    EXPECT_EQ(request.dwMinorVersion, 0u);
    EXPECT_EQ(request.dwBuildNumber, 0u);
    EXPECT_EQ(request.dwPlatformID, 0u);

    EXPECT_EQ(info.GetFileName(), TestDllPath());
    EXPECT_EQ(info.GetHResult(), S_OK);
    EXPECT_TRUE(info.HasVersionInfo());
    // The build 0x12345 is cut to its low 16 bits; the revision stays undefined.
    EXPECT_EQ(info.GetVersion(), CVersion(3, 21, 0x2345));
    EXPECT_EQ(info.GetVersion().GetRevision(), -1);
}

TEST_F(HeldTestDll, KeepsWhatDllGetVersionReturns)
{
    const HRESULT results[] = {S_OK, S_FALSE, E_NOTIMPL, E_INVALIDARG,
                               HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)};
    for (HRESULT hr : results) {
        SCOPED_TRACE(Hex(static_cast<unsigned long>(hr)));
        m_pfnSetResult(hr);
        CDLLVersionInfo info(TestDllPath());
        EXPECT_EQ(info.GetHResult(), hr) << Hex(static_cast<unsigned long>(info.GetHResult()));
        EXPECT_EQ(!!info.HasVersionInfo(), hr >= 0);
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

TEST(DLLVersionInfo, ReleasesTheLibraryItLoaded)
{
    ASSERT_EQ(GetModuleHandleW(TestDllPath()), (HMODULE)NULL) << "still loaded from elsewhere";
    CDLLVersionInfo info(TestDllPath());
    EXPECT_EQ(info.GetHResult(), S_OK);
    EXPECT_EQ(GetModuleHandleW(TestDllPath()), (HMODULE)NULL);
    CDLLVersionInfo none(L"kernel32.dll");
    EXPECT_NE(GetModuleHandleW(L"kernel32.dll"), (HMODULE)NULL);
}

TEST(DLLVersionInfo, MissingLibraryOrEntryPointIsANegativeResult)
{
    TempDir dir;
    const CString fakeDll = dir.File(L"fake.dll");
    ASSERT_TRUE(wivotest::WriteFileBytes(fakeDll, "not a library"));
    const CString library = ModulePath(LibraryModule());

    struct Case
    {
        const char* pszWhat;
        CString strName;
        HRESULT hrExpected;   // 0: any failure
    };
    const Case cases[] = {
        {"no such library", L"NoSuchLibrary4711.dll", HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND)},
        {"kernel32 has no DllGetVersion", L"kernel32.dll", HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND)},
        {"the library itself has none", library, HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND)},
        {"not a library", fakeDll, 0},
        {"empty name", CString(), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        CDLLVersionInfo info(c.strName);
        EXPECT_EQ(info.GetFileName(), c.strName);
        EXPECT_LT(info.GetHResult(), 0) << Hex(static_cast<unsigned long>(info.GetHResult()));
        if (c.hrExpected != 0) {
            EXPECT_EQ(info.GetHResult(), c.hrExpected)
                << Hex(static_cast<unsigned long>(info.GetHResult()));
        }
        EXPECT_FALSE(info.HasVersionInfo());
        EXPECT_EQ(info.GetVersion(), CVersion(0, 0, 0));
    }

    CDLLVersionInfo unknown(reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x10)));
    EXPECT_EQ(unknown.GetFileName(), CString());
    EXPECT_LT(unknown.GetHResult(), 0);
    EXPECT_FALSE(unknown.HasVersionInfo());
    EXPECT_EQ(unknown.GetVersion(), CVersion(0, 0, 0));
}

/////////////////////////////////////////////////////////////////////////////
// Cached common-control and shell versions

struct CachedCase
{
    const char* pszName;
    LPCWSTR pszLibrary;
    CVersion (*pfn)();
};

static void PrintTo(const CachedCase& c, std::ostream* os)
{
    *os << c.pszName;
}

class CachedVersion : public ::testing::TestWithParam<CachedCase>
{
};

TEST_P(CachedVersion, AskedOnceThenFromTheCache)
{
    const CachedCase& c = GetParam();
    ImportHook hook(LibraryModule(), "kernel32.dll", "LoadLibraryW",
                    reinterpret_cast<void*>(&RecordingLoadLibraryW));
    ASSERT_TRUE(hook.IsInstalled());

    // What the platform's library says when asked directly (this load must be seen).
    g_loadedNames.clear();
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
    EXPECT_NE(first, CVersion::undefined);
    EXPECT_GE(first.GetMajor(), 4);
    EXPECT_GE(first.GetMinor(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Platform, CachedVersion,
    ::testing::Values(CachedCase{"ComCtl", L"COMCTL32.DLL", &WivoGetComCtlVersion},
                      CachedCase{"Shell", L"SHELL32.DLL", &WivoGetShellVersion}),
    [](const ::testing::TestParamInfo<CachedCase>& p) { return std::string(p.param.pszName); });
