// Tests of CRegKey on the real registry: a scratch key below HKEY_CURRENT_USER per test,
// set up and checked through the raw registry functions, removed even when a test fails.
#include <gtest/gtest.h>

#include <Wivo.h>

#include "TestSupport.h"

#include <functional>
#include <string>
#include <vector>

using wivotest::Narrow;

// Lets failure messages show CStrings as text.
static void PrintTo(const CString& text, std::ostream* os)
{
    *os << '"' << Narrow(text) << '"';
}

namespace {

typedef std::vector<BYTE> Bytes;
// A stored value: its type ((DWORD)-1 when there is none) and its bytes.
typedef std::pair<DWORD, Bytes> Value;

const LONG kNoThrow = -1;

// The code of the CRegKeyException that f throws, or kNoThrow. Any other exception
// escapes and fails the test.
LONG ThrownCode(const std::function<void()>& f)
{
    return wivotest::CaughtAs<CRegKeyException>(f, [](CRegKeyException* e) { return e->GetHResult(); },
                                                kNoThrow);
}

Bytes Raw(const void* data, size_t size)
{
    const BYTE* p = static_cast<const BYTE*>(data);
    return Bytes(p, p + size);
}

Bytes Pattern(size_t size)
{
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = (BYTE)((i * 7 + i / 251) & 0xFF);
    return bytes;
}

class RegKeyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static unsigned s_counter = 0;
        m_path.Format(L"Software\\WivoRegKeyTest-%lu-%lu-%u", GetCurrentProcessId(),
                      GetTickCount(), ++s_counter);
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, m_path, 0, NULL, 0,
                                                 KEY_ALL_ACCESS, NULL, &m_hKey, NULL));
    }

    void TearDown() override
    {
        if (m_hKey != NULL)
            RegCloseKey(m_hKey);
        EXPECT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_CURRENT_USER, m_path));
    }

    void Put(LPCWSTR name, DWORD type, const Bytes& data)
    {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(m_hKey, name, 0, type, data.empty() ? NULL : &data[0],
                                                (DWORD)data.size()));
    }

    Value Stored(LPCWSTR name)
    {
        DWORD type = (DWORD)-1, size = 0;
        Bytes data;
        if (RegQueryValueExW(m_hKey, name, NULL, &type, NULL, &size) == ERROR_SUCCESS) {
            data.resize(size + 1);
            EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(m_hKey, name, NULL, &type, &data[0], &size));
            data.resize(size);
        }
        return Value(type, data);
    }

    bool TryMakeKey(LPCWSTR path)
    {
        HKEY h;
        if (RegCreateKeyExW(m_hKey, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL) != 0)
            return false;
        RegCloseKey(h);
        return true;
    }

    void MakeKey(LPCWSTR path) { ASSERT_TRUE(TryMakeKey(path)) << Narrow(path); }

    bool KeyExists(LPCWSTR path)
    {
        HKEY h;
        if (RegOpenKeyExW(m_hKey, path, 0, KEY_READ, &h) != ERROR_SUCCESS)
            return false;
        RegCloseKey(h);
        return true;
    }

    CString m_path;
    HKEY m_hKey = NULL;
};

// A key on the scratch key with its own handle.
struct Opened : CRegKey
{
    Opened(const CString& path, DWORD access = KEY_ALL_ACCESS) : CRegKey(HKEY_CURRENT_USER, path, access) {}
};

/////////////////////////////////////////////////////////////////////////////
// State and the two failure styles

const struct
{
    const char* name;
    void (*call)(CRegKey&);
} kThrowingMembers[] = {
    {"EnsureOpen", [](CRegKey& k) { k.EnsureOpen(); }},
    {"GetSubKeyCount", [](CRegKey& k) { k.GetSubKeyCount(); }},
    {"GetValueCount", [](CRegKey& k) { k.GetValueCount(); }},
    {"GetLastWriteTime", [](CRegKey& k) { k.GetLastWriteTime(); }},
    {"GetValueType", [](CRegKey& k) { k.GetValueType(L"v"); }},
    {"GetValueSize", [](CRegKey& k) { k.GetValueSize(L"v"); }},
    {"GetSubKeyNames", [](CRegKey& k) { CStringArray a; k.GetSubKeyNames(a); }},
    {"GetValueNames", [](CRegKey& k) { CStringArray a; k.GetValueNames(a); }},
    {"EnumValue", [](CRegKey& k) { CString n; DWORD t; UINT s = 0; k.EnumValue(0, n, t, NULL, s); }},
    {"SetStringValue", [](CRegKey& k) { k.SetStringValue(L"v", L"x"); }},
    {"SetDWordValue", [](CRegKey& k) { k.SetDWordValue(L"v", 1); }},
    {"SetBinaryValue", [](CRegKey& k) { k.SetBinaryValue(L"v", "x", 1); }},
    {"SetDefaultValue(text)", [](CRegKey& k) { k.SetDefaultValue(CString(L"x")); }},
    {"SetDefaultValue(number)", [](CRegKey& k) { k.SetDefaultValue((DWORD)1); }},
    {"SetDefaultValue(bytes)", [](CRegKey& k) { k.SetDefaultValue("x", 1); }},
    {"DeleteValue", [](CRegKey& k) { k.DeleteValue(L"v"); }},
    {"RenameValue", [](CRegKey& k) { k.RenameValue(L"v", L"w"); }},
    {"DeleteSubKey", [](CRegKey& k) { k.DeleteSubKey(L"s"); }},
};

// Readers fall back to the default; every must-succeed member throws the last error:
// "invalid handle" for the empty object, its own reason after a failed Open.
TEST_F(RegKeyTest, WithoutKeyReadersFallBackAndTheOthersThrow)
{
    CRegKey empty;
    BYTE buffer[4] = {0xBD, 0xBD, 0xBD, 0xBD};
    EXPECT_TRUE(empty.GetHKey() == NULL && (HKEY)empty == NULL);
    EXPECT_FALSE(empty.DoesKeyExist(L"Software"));
    EXPECT_FALSE(empty.DoesValueExist(L""));
    EXPECT_EQ(7u, empty.GetDWordValue(L"v", 7));
    EXPECT_EQ(CString(L"def"), empty.GetStringValue(L"v", L"def"));
    EXPECT_EQ(0u, empty.GetBinaryValue(L"v", buffer, sizeof(buffer)));
    EXPECT_EQ(9u, empty.GetDefaultValueAsDWord(9));
    EXPECT_EQ(CString(L"d"), empty.GetDefaultValueAsString(L"d"));
    EXPECT_EQ(0u, empty.GetDefaultValueAsBinary(buffer, sizeof(buffer)));
    EXPECT_EQ(0xBD, buffer[0]);
    EXPECT_TRUE(empty.Close());
    EXPECT_EQ(ERROR_INVALID_HANDLE, empty.GetLastError());

    CRegKey failed;
    ASSERT_FALSE(failed.Open(HKEY_CURRENT_USER, m_path + L"\\missing", KEY_READ));
    for (auto* key : {&empty, &failed}) {
        LONG expected = key == &empty ? ERROR_INVALID_HANDLE : ERROR_FILE_NOT_FOUND;
        for (const auto& m : kThrowingMembers) {
            EXPECT_EQ(expected, ThrownCode([&] { m.call(*key); })) << m.name;
            EXPECT_EQ(expected, key->GetLastError()) << m.name;
            EXPECT_FALSE(key->IsOpen()) << m.name;
        }
    }
}

TEST_F(RegKeyTest, HandleStateAndLastError)
{
    EXPECT_EQ(ERROR_INVALID_HANDLE, CRegKey((HKEY)NULL).GetLastError());
    CRegKey root(HKEY_CURRENT_USER);
    EXPECT_EQ(ERROR_SUCCESS, root.GetLastError());
    EXPECT_TRUE(root.DoesKeyExist(m_path));
    EXPECT_EQ(HKEY_CURRENT_USER, root.Detach());
    EXPECT_EQ(ERROR_INVALID_HANDLE, root.GetLastError());

    // A failed Open leaves no key and the reason; Close then changes nothing.
    CRegKey key;
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, m_path + L"\\missing", KEY_READ));
    EXPECT_TRUE(key.Close());
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.GetLastError());

    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, m_path, KEY_READ));
    EXPECT_EQ(ERROR_SUCCESS, key.GetLastError());
    // Open does not close what it replaces, but a failed one leaves no key.
    HKEY hOld = key.GetHKey();
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, m_path + L"\\missing", KEY_READ));
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(hOld));
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, m_path, KEY_READ));
    EXPECT_TRUE(key.Close());
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(ERROR_INVALID_HANDLE, key.GetLastError()) << "even after a clean close";

    // Detach hands over a live handle; Attach takes it back.
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, m_path + L"\\a\\b", KEY_ALL_ACCESS));
    EXPECT_TRUE(KeyExists(L"a\\b"));
    HKEY h = key.Detach();
    EXPECT_EQ(ERROR_INVALID_HANDLE, key.GetLastError());
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(h, L"x", 0, REG_DWORD, (const BYTE*)"abcd", 4));
    key.Attach(NULL);
    EXPECT_EQ(ERROR_INVALID_HANDLE, key.GetLastError());
    key.Attach(h);
    EXPECT_EQ(ERROR_SUCCESS, key.GetLastError());
    EXPECT_EQ(0x64636261u, key.GetDWordValue(L"x", 0));
}

TEST_F(RegKeyTest, PlatformFailuresThrowTheirCodeAndKeepTheHandle)
{
    Opened rw(m_path), ro(m_path, KEY_READ);
    ASSERT_TRUE(ro.IsOpen()) << ro.GetLastError();
    const struct { const char* name; CRegKey& key; void (*call)(CRegKey&); LONG code; } cases[] = {
        {"GetValueType missing", rw, [](CRegKey& k) { k.GetValueType(L"none"); }, ERROR_FILE_NOT_FOUND},
        {"GetValueSize missing", rw, [](CRegKey& k) { k.GetValueSize(L"none"); }, ERROR_FILE_NOT_FOUND},
        {"DeleteValue missing", rw, [](CRegKey& k) { k.DeleteValue(L"none"); }, ERROR_FILE_NOT_FOUND},
        {"RenameValue missing", rw, [](CRegKey& k) { k.RenameValue(L"none", L"n2"); }, ERROR_FILE_NOT_FOUND},
        {"SetStringValue read-only", ro, [](CRegKey& k) { k.SetStringValue(L"v", L"x"); }, ERROR_ACCESS_DENIED},
        {"SetDWordValue read-only", ro, [](CRegKey& k) { k.SetDWordValue(L"v", 1); }, ERROR_ACCESS_DENIED},
        {"SetBinaryValue null data", rw, [](CRegKey& k) { k.SetBinaryValue(L"v", NULL, 4); }, ERROR_NOACCESS},
    };
    for (const auto& c : cases) {
        HKEY h = c.key.GetHKey();
        EXPECT_EQ(c.code, ThrownCode([&] { c.call(c.key); })) << c.name;
        EXPECT_EQ(c.code, c.key.GetLastError()) << c.name;
        EXPECT_EQ(h, c.key.GetHKey()) << c.name;
    }
    EXPECT_EQ(Value(-1, Bytes()), Stored(L"v"));
}

TEST_F(RegKeyTest, ExistenceTestsRecordTheirResult)
{
    Opened key(m_path);
    Put(L"v", REG_SZ, Raw(L"x", 4));
    Put(L"long", REG_SZ, Raw(L"longer", 14));
    MakeKey(L"sub");
    const struct { const char* name; bool bKey; LPCWSTR pszName; BOOL result; LONG error; } cases[] = {
        {"value present", false, L"v", TRUE, ERROR_SUCCESS},
        {"value missing", false, L"w", FALSE, ERROR_FILE_NOT_FOUND},
        {"no default value", false, L"", FALSE, ERROR_FILE_NOT_FOUND},
        {"key present", true, L"sub", TRUE, ERROR_SUCCESS},
        {"key missing", true, L"sub\\x", FALSE, ERROR_FILE_NOT_FOUND},
        {"value is no key", true, L"v", FALSE, ERROR_FILE_NOT_FOUND},
    };
    for (const auto& c : cases) {
        key.GetDWordValue(L"long", 0);  // leaves ERROR_MORE_DATA behind
        ASSERT_EQ(ERROR_MORE_DATA, key.GetLastError());
        EXPECT_EQ(c.result, c.bKey ? key.DoesKeyExist(c.pszName) : key.DoesValueExist(c.pszName)) << c.name;
        EXPECT_EQ(c.error, key.GetLastError()) << c.name;
    }
}

/////////////////////////////////////////////////////////////////////////////
// Typed values

TEST_F(RegKeyTest, StringsRoundTripAndOnlyStringTypesRead)
{
    Opened key(m_path);
    CString longText;
    for (int i = 0; i < 5000; ++i)
        longText += (WCHAR)(L'A' + i % 26);
    const CString texts[] = {L"", L"x", L"Grüße aus Österreich: ÄÖÜäöüß €", L"%PATH%;%TEMP%",
                             L"\xD83D\xDE00 surrogate pair", longText};
    for (const CString& text : texts) {
        key.SetStringValue(L"s", text);
        EXPECT_EQ(ERROR_SUCCESS, key.GetLastError());
        EXPECT_EQ(Value(REG_SZ, Raw((LPCWSTR)text, (text.GetLength() + 1) * 2)), Stored(L"s"))
            << Narrow(text);
        EXPECT_EQ((UINT)(text.GetLength() + 1) * 2, key.GetValueSize(L"s"));
        CString back = key.GetStringValue(L"s", L"default");
        EXPECT_EQ(text.GetLength(), back.GetLength());
        EXPECT_EQ(text, back);
    }

    const struct { const char* name; DWORD type; Bytes data; const wchar_t* expected; } cases[] = {
        {"expand sz stays unexpanded", REG_EXPAND_SZ, Raw(L"%WINDIR%\\x", 22), L"%WINDIR%\\x"},
        {"no terminator stored", REG_SZ, Raw(L"abc", 6), L"abc"},
        {"embedded terminator cuts", REG_SZ, Raw(L"ab\0cd", 12), L"ab"},
        {"half a unit is dropped", REG_SZ, Raw(L"abcd", 7), L"abc"},
        {"zero bytes", REG_SZ, Bytes(), L""},
        {"dword", REG_DWORD, Raw("\x41\0\0\0", 4), L"default"},
        {"multi sz", REG_MULTI_SZ, Raw(L"a\0b\0", 10), L"default"},
        {"binary", REG_BINARY, Raw(L"abc", 8), L"default"},
    };
    for (const auto& c : cases) {
        Put(L"v", c.type, c.data);
        EXPECT_EQ(CString(c.expected), key.GetStringValue(L"v", L"default")) << c.name;
        EXPECT_EQ(ERROR_SUCCESS, key.GetLastError()) << c.name;
    }
    EXPECT_EQ(CString(L"default"), key.GetStringValue(L"missing", L"default"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.GetLastError());
}

TEST_F(RegKeyTest, DWordReaderTakesOnlyFourByteDWords)
{
    Opened key(m_path);
    for (DWORD n : {0u, 1u, 0x80000000u, 0xFFFFFFFFu, 0x12345678u}) {
        key.SetDWordValue(L"n", n);
        EXPECT_EQ(Value(REG_DWORD, Raw(&n, 4)), Stored(L"n"));
        EXPECT_EQ(n, key.GetDWordValue(L"n", 7));
        EXPECT_EQ(ERROR_SUCCESS, key.GetLastError());
    }
    const struct { const char* name; DWORD type; Bytes data; LONG error; } cases[] = {
        {"sz of four bytes", REG_SZ, Raw(L"7", 4), ERROR_SUCCESS},
        {"binary of four bytes", REG_BINARY, Raw("\1\0\0\0", 4), ERROR_SUCCESS},
        {"big endian", REG_DWORD_BIG_ENDIAN, Raw("\0\0\0\1", 4), ERROR_SUCCESS},
        {"dword of two bytes", REG_DWORD, Raw("\1\0", 2), ERROR_SUCCESS},
        {"dword of eight bytes", REG_DWORD, Raw("\1\0\0\0\0\0\0\0", 8), ERROR_MORE_DATA},
    };
    for (const auto& c : cases) {
        Put(L"v", c.type, c.data);
        EXPECT_EQ(7u, key.GetDWordValue(L"v", 7)) << c.name;
        EXPECT_EQ(c.error, key.GetLastError()) << c.name;
    }
    EXPECT_EQ(7u, key.GetDWordValue(L"missing", 7));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.GetLastError());
}

TEST_F(RegKeyTest, BinaryRoundTripsAndSizeProbes)
{
    Opened key(m_path);
    for (const Bytes& data : {Bytes(), Raw("\0\1\0\0\2\0", 6), Pattern(300 * 1024)}) {
        key.SetBinaryValue(L"b", data.empty() ? NULL : &data[0], (UINT)data.size());
        EXPECT_EQ(Value(REG_BINARY, data), Stored(L"b"));
        EXPECT_EQ((UINT)data.size(), key.GetValueSize(L"b"));
        EXPECT_EQ((UINT)data.size(), key.GetBinaryValue(L"b", NULL, 0));

        // One byte short copies nothing; a larger buffer is filled up to the size only.
        Bytes buffer(data.size() + 16, 0xBD);
        if (!data.empty()) {
            EXPECT_EQ((UINT)data.size(), key.GetBinaryValue(L"b", &buffer[0], (UINT)data.size() - 1));
            EXPECT_EQ(Bytes(buffer.size(), 0xBD), buffer);
        }
        EXPECT_EQ((UINT)data.size(), key.GetBinaryValue(L"b", &buffer[0], (UINT)buffer.size()));
        EXPECT_EQ(data, Bytes(buffer.begin(), buffer.begin() + data.size()));
        EXPECT_EQ(Bytes(16, 0xBD), Bytes(buffer.end() - 16, buffer.end()));
    }
    // Raw bytes of any type.
    key.SetStringValue(L"s", L"ab");
    BYTE buffer[6];
    EXPECT_EQ(6u, key.GetBinaryValue(L"s", buffer, sizeof(buffer)));
    EXPECT_EQ(Raw(L"ab", 6), Raw(buffer, 6));
    EXPECT_EQ(0u, key.GetBinaryValue(L"missing", buffer, sizeof(buffer)));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.GetLastError());
}

TEST_F(RegKeyTest, DefaultValueIsTheUnnamedValue)
{
    Opened key(m_path);
    EXPECT_EQ(CString(L"none"), key.GetDefaultValueAsString(L"none"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.GetLastError());
    key.SetDefaultValue(CString(L"Wert ä"));
    EXPECT_EQ(Value(REG_SZ, Raw(L"Wert ä", 14)), Stored(NULL));
    EXPECT_EQ(CString(L"Wert ä"), key.GetDefaultValueAsString(L""));
    key.SetDefaultValue((DWORD)42);
    EXPECT_EQ(42u, key.GetDefaultValueAsDWord(0));
    key.SetDefaultValue("\0\xFF\0", 3);
    BYTE buffer[3];
    EXPECT_EQ(3u, key.GetDefaultValueAsBinary(buffer, 3));
    EXPECT_EQ(Raw("\0\xFF\0", 3), Raw(buffer, 3));
    EXPECT_EQ((DWORD)REG_BINARY, key.GetValueType(L""));
}

/////////////////////////////////////////////////////////////////////////////
// Listing, renaming, deleting

TEST_F(RegKeyTest, NamesFollowTheRegistryOrder)
{
    Opened key(m_path);
    const CString longName(L'n', 255);
    for (LPCWSTR name : {L"zeta", L"Ärger", L"alpha", L"", (LPCWSTR)longName})
        Put(name, REG_DWORD, Raw("\1\2\3\4", 4));
    for (LPCWSTR name : {L"k2", L"K1", L"ö"})
        MakeKey(name);

    EXPECT_EQ(5u, key.GetValueCount());
    EXPECT_EQ(3u, key.GetSubKeyCount());
    CStringArray values, keys;
    for (int i = 0; i < 7; ++i)
        values.Add(L"stale");
    key.GetValueNames(values);
    key.GetSubKeyNames(keys);
    ASSERT_EQ(5, values.GetSize());
    ASSERT_EQ(3, keys.GetSize());
    for (DWORD i = 0; i < 5; ++i) {
        WCHAR raw[300];
        DWORD len = 300;
        ASSERT_EQ(ERROR_SUCCESS, RegEnumValueW(m_hKey, i, raw, &len, NULL, NULL, NULL, NULL));
        EXPECT_EQ(CString(raw), values[i]) << i;

        CString name;
        DWORD type = 0;
        BYTE data[8] = {0};
        UINT size = sizeof(data);
        EXPECT_TRUE(key.EnumValue(i, name, type, data, size));
        EXPECT_EQ(CString(raw), name) << i;
        EXPECT_EQ((DWORD)REG_DWORD, type);
        EXPECT_EQ(Raw("\1\2\3\4", 4), Raw(data, size));
        if (i < 3) {
            len = 300;
            ASSERT_EQ(ERROR_SUCCESS, RegEnumKeyExW(m_hKey, i, raw, &len, NULL, NULL, NULL, NULL));
            EXPECT_EQ(CString(raw), keys[i]) << i;
        }
    }
}

TEST_F(RegKeyTest, EnumValueEndsWithFalseAndThrowsOnShortBuffers)
{
    Opened key(m_path);
    Put(L"v", REG_BINARY, Pattern(10));
    CString name = L"stale";
    DWORD type = 0;
    UINT size = 0;
    EXPECT_TRUE(key.EnumValue(0, name, type, NULL, size)) << "a null buffer asks for the size";
    EXPECT_EQ(10u, size);
    EXPECT_EQ(CString(L"v"), name);
    EXPECT_EQ((DWORD)REG_BINARY, type);

    BYTE small[4];
    size = sizeof(small);
    EXPECT_EQ(ERROR_MORE_DATA, ThrownCode([&] { key.EnumValue(0, name, type, small, size); }));
    EXPECT_EQ(ERROR_MORE_DATA, key.GetLastError());

    size = 0;
    EXPECT_FALSE(key.EnumValue(1, name, type, NULL, size));
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, key.GetLastError());
    EXPECT_EQ(CString(), name);
}

TEST_F(RegKeyTest, NamesLongerThan255Throw)
{
    Opened key(m_path);
    Put(L"a", REG_DWORD, Raw("\0\0\0\0", 4));
    Put(CString(L'x', 256), REG_DWORD, Raw("\0\0\0\0", 4));
    CStringArray names;
    EXPECT_EQ(ERROR_MORE_DATA, ThrownCode([&] { key.GetValueNames(names); }));
    EXPECT_EQ(ERROR_MORE_DATA, key.GetLastError());
    ASSERT_EQ(2, names.GetSize()) << "sized before listing";
    EXPECT_EQ(1, (names[0] == L"a") + (names[1] == L"a")) << "the short name is listed";

    // Wine keeps longer key names; Windows refuses to create them.
    if (!TryMakeKey(CString(L'k', 256)))
        return;
    EXPECT_EQ(ERROR_MORE_DATA, ThrownCode([&] { key.GetSubKeyNames(names); }));
    EXPECT_EQ(1, names.GetSize());
    EXPECT_EQ(CString(), names[0]);
}

TEST_F(RegKeyTest, RenameValueMovesTypeAndData)
{
    Opened key(m_path);
    Put(L"old", REG_EXPAND_SZ, Raw(L"%X%\0y", 12));
    key.RenameValue(L"old", L"neu");
    const Value moved(REG_EXPAND_SZ, Raw(L"%X%\0y", 12));
    EXPECT_EQ(moved, Stored(L"neu"));
    EXPECT_FALSE(key.DoesValueExist(L"old"));

    // The unnamed value can be renamed too; an empty value moves as empty.
    Put(NULL, REG_BINARY, Bytes());
    key.RenameValue(L"", L"leer");
    EXPECT_EQ(Value(REG_BINARY, Bytes()), Stored(L"leer"));
    EXPECT_FALSE(key.DoesValueExist(L""));

    Put(L"a", REG_DWORD, Raw("\1\0\0\0", 4));
    EXPECT_EQ(ERROR_FILE_EXISTS, ThrownCode([&] { key.RenameValue(L"a", L"neu"); }));
    EXPECT_EQ(ERROR_SUCCESS, key.GetLastError());
    EXPECT_EQ(Value(REG_DWORD, Raw("\1\0\0\0", 4)), Stored(L"a"));
    EXPECT_EQ(moved, Stored(L"neu"));
    EXPECT_EQ(ERROR_FILE_EXISTS, ThrownCode([&] { key.RenameValue(L"a", L"a"); }));
}

TEST_F(RegKeyTest, DeleteValueAndSubtree)
{
    Opened key(m_path);
    Put(L"v", REG_DWORD, Raw("\1\0\0\0", 4));
    key.DeleteValue(L"v");
    EXPECT_EQ(Value(-1, Bytes()), Stored(L"v"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, ThrownCode([&] { key.DeleteValue(L"v"); }));

    for (LPCWSTR path : {L"t\\a\\x\\1", L"t\\a\\x\\2", L"t\\a\\y", L"t\\b", L"sibling"})
        MakeKey(path);
    HKEY h;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(m_hKey, L"t\\a", 0, KEY_SET_VALUE, &h));
    RegSetValueExW(h, L"v", 0, REG_SZ, (const BYTE*)L"x", 4);
    RegCloseKey(h);

    key.DeleteSubKey(L"t");
    EXPECT_EQ(ERROR_SUCCESS, key.GetLastError());
    EXPECT_FALSE(KeyExists(L"t"));
    EXPECT_TRUE(KeyExists(L"sibling"));

    // A missing subkey is made and removed again.
    key.DeleteSubKey(L"never");
    EXPECT_FALSE(KeyExists(L"never"));
    EXPECT_EQ(1u, key.GetSubKeyCount());
}

/////////////////////////////////////////////////////////////////////////////
// Shared handles and handle use

TEST_F(RegKeyTest, AssignmentSharesTheHandle)
{
    Opened owner(m_path);
    CRegKey copy;
    copy = owner;
    EXPECT_EQ(owner.GetHKey(), copy.GetHKey());
    EXPECT_EQ(ERROR_SUCCESS, copy.GetLastError());

    // Closing one side closes the handle both name: the other one now fails.
    EXPECT_TRUE(owner.Close());
    EXPECT_TRUE(copy.IsOpen());
    EXPECT_EQ(0u, copy.GetDWordValue(L"n", 0));
    EXPECT_EQ(ERROR_INVALID_HANDLE, copy.GetLastError());
    EXPECT_EQ(ERROR_INVALID_HANDLE, ThrownCode([&] { copy.SetDWordValue(L"n", 6); }));
    copy.Detach();

    // Copying a failed object copies its reason.
    CRegKey failed;
    failed.Open(HKEY_CURRENT_USER, m_path + L"\\missing", KEY_READ);
    copy = failed;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, copy.GetLastError());
    EXPECT_FALSE(copy.IsOpen());
}

TEST_F(RegKeyTest, NoHandlesLeak)
{
    MakeKey(L"probe");
    DWORD before = wivotest::ProcessHandleCount();
    {
        Opened held(m_path);
        ASSERT_EQ(before + 1, wivotest::ProcessHandleCount()) << "the count must see a key handle";
    }
    ASSERT_EQ(before, wivotest::ProcessHandleCount());

    // A subtree that cannot be emptied: the delete of "a" fails while "stuck" is open.
    bool stuck = TryMakeKey(L"stuck\\a\\" + CString(L'k', 256));

    for (int i = 0; i < 500; ++i) {
        Opened key(m_path);
        ASSERT_TRUE(key.IsOpen());
        CRegKey other;
        ASSERT_TRUE(other.Open(key, L"probe", KEY_READ));
        EXPECT_TRUE(other.Close());
        EXPECT_FALSE(other.Open(key, L"missing", KEY_READ));
        EXPECT_TRUE(key.DoesKeyExist(L"probe"));
        EXPECT_FALSE(key.DoesKeyExist(L"missing"));
        key.DeleteSubKey(L"tree");
        CStringArray names;
        key.GetSubKeyNames(names);
        MakeKey(L"tree\\a\\b");
        key.DeleteSubKey(L"tree");
        CRegKey copy;
        copy = key;
        copy.Detach();
        if (stuck) {
            EXPECT_NE(kNoThrow, ThrownCode([&] { key.DeleteSubKey(L"stuck"); }));
        }
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, ThrownCode([&] { other.GetValueCount(); }));
    }
    EXPECT_EQ(before, wivotest::ProcessHandleCount());
}

TEST_F(RegKeyTest, LastWriteTimeIsNow)
{
    Opened key(m_path);
    key.SetDWordValue(L"n", 1);
    FILETIME ft = key.GetLastWriteTime(), now;
    GetSystemTimeAsFileTime(&now);
    ULONGLONG written = ((ULONGLONG)ft.dwHighDateTime << 32) | ft.dwLowDateTime;
    ULONGLONG current = ((ULONGLONG)now.dwHighDateTime << 32) | now.dwLowDateTime;
    EXPECT_LE(written, current + 10000000ULL);
    EXPECT_GE(written + 60 * 10000000ULL, current);
}

} // namespace
