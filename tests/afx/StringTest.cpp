// Tests of CString: sharing and copy-on-write, buffer access, conversions,
// formatting with the platform's wide printf rules, searching and editing.
#include <afx.h>
#include <afxres.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "TestSupport.h"

using wivotest::Narrow;

namespace {

// Exposes the reference count of the buffer a string points at.
class ProbeString : public CString
{
public:
    ProbeString() {}
    explicit ProbeString(const CString& s) : CString(s) {}
    long Refs() const { return GetData()->nRefs; }
    int Alloc() const { return GetData()->nAllocLength; }
};

long RefsOf(const CString& s)
{
    // The header sits right before the characters.
    return (reinterpret_cast<const CStringData*>(static_cast<LPCTSTR>(s)) - 1)->nRefs;
}

std::string N(const CString& s)
{
    return Narrow(s);
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// Sharing, copy-on-write, locking

TEST(CStringSharing, CopiesShareOneBufferUntilOneWrites)
{
    CString a(L"shared text");
    CString b(a);
    CString c;
    c = a;
    EXPECT_EQ(static_cast<LPCTSTR>(a), static_cast<LPCTSTR>(b));
    EXPECT_EQ(static_cast<LPCTSTR>(a), static_cast<LPCTSTR>(c));
    EXPECT_EQ(3, RefsOf(a));

    b.SetAt(0, L'S');
    EXPECT_NE(static_cast<LPCTSTR>(a), static_cast<LPCTSTR>(b));
    EXPECT_EQ(static_cast<LPCTSTR>(a), static_cast<LPCTSTR>(c));
    EXPECT_STREQ(L"shared text", a);
    EXPECT_STREQ(L"Shared text", b);
    EXPECT_EQ(2, RefsOf(a));
    EXPECT_EQ(1, RefsOf(b));

    c += L"!";
    EXPECT_STREQ(L"shared text", a);
    EXPECT_STREQ(L"shared text!", c);
    EXPECT_EQ(1, RefsOf(a));
}

TEST(CStringSharing, EveryMutatorUnsharesFirst)
{
    const CString original(L"  Abc,abc  ");
    struct Case { const char* name; void (*edit)(CString&); };
    const Case cases[] = {
        { "MakeUpper", [](CString& s) { s.MakeUpper(); } },
        { "MakeLower", [](CString& s) { s.MakeLower(); } },
        { "MakeReverse", [](CString& s) { s.MakeReverse(); } },
        { "Replace(ch)", [](CString& s) { s.Replace(L'a', L'x'); } },
        { "Replace(str)", [](CString& s) { s.Replace(L"bc", L"y"); } },
        { "Remove", [](CString& s) { s.Remove(L'b'); } },
        { "Insert", [](CString& s) { s.Insert(1, L"zz"); } },
        { "Delete", [](CString& s) { s.Delete(2, 3); } },
        { "TrimLeft", [](CString& s) { s.TrimLeft(); } },
        { "TrimRight", [](CString& s) { s.TrimRight(); } },
        { "SetAt", [](CString& s) { s.SetAt(2, L'#'); } },
        { "GetBuffer", [](CString& s) { s.GetBuffer(0)[2] = L'#'; s.ReleaseBuffer(); } },
        { "Empty", [](CString& s) { s.Empty(); } },
        { "Format", [](CString& s) { s.Format(L"%d", 7); } },
    };
    for (const Case& c : cases) {
        CString copy(original);
        c.edit(copy);
        EXPECT_STREQ(L"  Abc,abc  ", original) << c.name << " changed the other owner";
        EXPECT_NE(N(original), N(copy)) << c.name << " did nothing";
    }
    EXPECT_EQ(1, RefsOf(original));
}

TEST(CStringSharing, EmptyStringsShareTheNilBuffer)
{
    CString a, b;
    CString c(L"");
    CString d(L"x");
    d.Empty();
    EXPECT_EQ(static_cast<LPCTSTR>(a), static_cast<LPCTSTR>(b));
    EXPECT_EQ(static_cast<LPCTSTR>(a), static_cast<LPCTSTR>(c));
    EXPECT_EQ(static_cast<LPCTSTR>(a), static_cast<LPCTSTR>(d));
    EXPECT_EQ(static_cast<LPCTSTR>(a), static_cast<LPCTSTR>(afxEmptyString));
    EXPECT_EQ(-1, RefsOf(a));
    EXPECT_EQ(0, a.GetLength());
    EXPECT_EQ(L'\0', *static_cast<LPCTSTR>(a));

    // GetBuffer on an empty string gives writable memory of its own.
    LPTSTR p = a.GetBuffer(0);
    ASSERT_NE(nullptr, p);
    p[0] = L'x';
    a.ReleaseBuffer(0);
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(0, b.GetLength()) << "the shared empty string was written into";
    EXPECT_EQ(L'\0', *static_cast<LPCTSTR>(b));
}

TEST(CStringSharing, GetBufferUnsharesAndReleaseBufferSetsLength)
{
    CString a(L"hello");
    CString b(a);
    LPTSTR p = b.GetBuffer(20);
    EXPECT_NE(static_cast<LPCTSTR>(a), p);
    EXPECT_STREQ(L"hello", p);
    wcscpy(p, L"hello, world");
    b.ReleaseBuffer();
    EXPECT_EQ(12, b.GetLength());
    EXPECT_STREQ(L"hello", a);

    p = b.GetBuffer(0);
    p[3] = 0;
    b.ReleaseBuffer(5);   // explicit length wins over the terminator
    EXPECT_EQ(5, b.GetLength());
    EXPECT_EQ(L'o', b[4]);

    b.ReleaseBuffer(2);
    EXPECT_STREQ(L"he", b);
}

TEST(CStringSharing, GetBufferSetLengthAndFreeExtra)
{
    ProbeString s;
    LPTSTR p = s.GetBufferSetLength(4);
    EXPECT_EQ(4, s.GetLength());
    memcpy(p, L"abcd", 4 * sizeof(WCHAR));
    s.ReleaseBuffer(4);
    EXPECT_STREQ(L"abcd", s);

    s.GetBuffer(100);
    s.ReleaseBuffer();
    EXPECT_GE(s.Alloc(), 100);
    s.FreeExtra();
    EXPECT_EQ(4, s.Alloc());
    EXPECT_STREQ(L"abcd", s);

    s.GetBufferSetLength(2);
    EXPECT_STREQ(L"ab", s);
}

TEST(CStringSharing, LockedBufferIsNeverShared)
{
    CString a(L"locked");
    LPTSTR p = a.LockBuffer();
    EXPECT_EQ(-1, RefsOf(a));
    CString b(a);
    CString c;
    c = a;
    EXPECT_NE(static_cast<LPCTSTR>(a), static_cast<LPCTSTR>(b));
    EXPECT_NE(static_cast<LPCTSTR>(a), static_cast<LPCTSTR>(c));
    EXPECT_STREQ(L"locked", b);

    // Assigning to a locked string keeps its buffer (the pointer stays valid).
    a = CString(L"LOCKED");
    EXPECT_EQ(static_cast<LPCTSTR>(a), p);
    EXPECT_STREQ(L"LOCKED", p);

    a.UnlockBuffer();
    CString d(a);
    EXPECT_EQ(static_cast<LPCTSTR>(a), static_cast<LPCTSTR>(d));
    EXPECT_EQ(2, RefsOf(a));
}

TEST(CStringSharing, ReferenceCountSurvivesTwoThreads)
{
    const CString shared(L"one buffer for two threads");
    const int kRounds = 200000;
    auto worker = [&shared]() {
        for (int i = 0; i < kRounds; ++i) {
            CString copy(shared);
            CString another;
            another = copy;
            if (another.GetLength() != shared.GetLength())
                return;
        }
    };
    std::thread t1(worker);
    std::thread t2(worker);
    t1.join();
    t2.join();
    EXPECT_EQ(1, RefsOf(shared));
    EXPECT_STREQ(L"one buffer for two threads", shared);
}

/////////////////////////////////////////////////////////////////////////////
// Construction and conversion

TEST(CStringConstruct, FromCharactersAndLengths)
{
    EXPECT_STREQ(L"xxx", CString(L'x', 3));
    EXPECT_TRUE(CString(L'x', 0).IsEmpty());
    EXPECT_TRUE(CString(L'x', -5).IsEmpty());
    EXPECT_STREQ(L"abc", CString(L"abcdef", 3));
    EXPECT_TRUE(CString(L"abc", -1).IsEmpty());
    EXPECT_TRUE(CString(static_cast<LPCWSTR>(nullptr)).IsEmpty());
    EXPECT_TRUE(CString(static_cast<LPCSTR>(nullptr)).IsEmpty());

    // An explicit length keeps embedded terminators.
    CString withNul(L"a\0b", 3);
    EXPECT_EQ(3, withNul.GetLength());
    EXPECT_EQ(L'b', withNul[2]);
}

TEST(CStringConstruct, AnsiTextUsesTheAnsiCodePage)
{
    // Wine picks the ANSI code page from the Unix locale; under the test runner's
    // locale that is Windows-1252 (and an English one in any Western setup).
    UINT acp = GetACP();
    if (acp != 1252)
        GTEST_SKIP() << "ANSI code page is " << acp << ", the expectations are for 1252";

    const char szGruesse[] = "Gr\xFC\xDF" "e";   // "Grüße" in Windows-1252
    CString s(szGruesse);
    EXPECT_STREQ(L"Gr\u00FC\u00DFe", s);
    EXPECT_EQ(5, s.GetLength());

    CString t;
    t = szGruesse;
    EXPECT_STREQ(L"Gr\u00FC\u00DFe", t);
    EXPECT_STREQ(L"Gr\u00FC", CString(szGruesse, 3));

    CString u(L"x");
    u += '\xE9';          // e acute
    u = u + '\x80';       // the euro sign lives at 0x80 in 1252
    EXPECT_STREQ(L"x\u00E9\u20AC", u);
    u = '\xE4';
    EXPECT_STREQ(L"\u00E4", u);

    const unsigned char szBytes[] = { 0x41, 0xC4, 0 };
    EXPECT_STREQ(L"A\u00C4", CString(szBytes));
}

TEST(CStringConstruct, OemRoundTrip)
{
    UINT oem = GetOEMCP();
    if (oem != 437 && oem != 850)
        GTEST_SKIP() << "OEM code page is " << oem << ", the expectations are for 437/850";
    CString s(L"Gr\u00FC\u00DFe");
    s.AnsiToOem();
    ASSERT_EQ(5, s.GetLength());
    EXPECT_EQ(0x81, s[2]) << "u umlaut in the OEM code page";
    EXPECT_EQ(0xE1, s[3]) << "sharp s in the OEM code page";
    s.OemToAnsi();
    EXPECT_STREQ(L"Gr\u00FC\u00DFe", s);
}

TEST(CStringConstruct, BstrRoundTrip)
{
    CString s(L"bstr text");
    BSTR b = s.AllocSysString();
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(9u, SysStringLen(b));
    EXPECT_STREQ(L"bstr text", b);
    CString t(L"longer replacement text");
    BSTR r = t.SetSysString(&b);
    EXPECT_EQ(b, r);
    EXPECT_STREQ(L"longer replacement text", b);
    SysFreeString(b);
    EXPECT_EQ(nullptr, s.SetSysString(nullptr));
}

/////////////////////////////////////////////////////////////////////////////
// Formatting

TEST(CStringFormat, FollowsTheWidePrintfRules)
{
    struct Row { std::wstring expected; CString actual; };
    auto fmt = [](LPCTSTR f, auto... args) { CString s; s.Format(f, args...); return s; };
    const Row rows[] = {
        { L"[wide]", fmt(L"[%s]", L"wide") },
        { L"[narrow]", fmt(L"[%S]", "narrow") },
        { L"[narrow]", fmt(L"[%hs]", "narrow") },
        { L"[wide]", fmt(L"[%ls]", L"wide") },
        { L"-42", fmt(L"%d", -42) },
        { L" 3.14", fmt(L"%5.2f", 3.14159) },
        { L"ab        |", fmt(L"%-10s|", L"ab") },
        { L"ff FF", fmt(L"%x %X", 255, 255) },
        { L"1234567890123", fmt(L"%I64d", (__int64)1234567890123LL) },
        { L"-9000000000", fmt(L"%I64d", (__int64)-9000000000LL) },
        { L"Z", fmt(L"%c", L'Z') },
        { L"100%", fmt(L"%d%%", 100) },
        { L"007", fmt(L"%03u", 7u) },
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.expected, std::wstring(r.actual)) << "got \"" << N(r.actual) << "\"";
}

TEST(CStringFormat, LongAndEmptyResults)
{
    CString piece(L'q', 3000);
    CString s(L"old");
    s.Format(L"<%s|%s>", static_cast<LPCTSTR>(piece), static_cast<LPCTSTR>(piece));
    ASSERT_EQ(6003, s.GetLength());
    EXPECT_EQ(L'<', s[0]);
    EXPECT_EQ(L'|', s[3001]);
    EXPECT_EQ(L'>', s[6002]);

    s.Format(L"%s", L"");
    EXPECT_TRUE(s.IsEmpty()) << "got \"" << N(s) << "\"";
    s = L"old";
    s.Format(L"");
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringFormat, FormatMayUseItsOwnTextAsFormat)
{
    CString s(L"%d-%d");
    s.Format(s, 1, 2);
    EXPECT_STREQ(L"1-2", s);
}

TEST(CStringFormat, FormatMessageInserts)
{
    CString s;
    s.FormatMessage(L"%1 has %2!d! items", L"list", 5);
    EXPECT_STREQ(L"list has 5 items", s);
    s.FormatMessage(L"%2 before %1", L"one", L"two");
    EXPECT_STREQ(L"two before one", s);
}

TEST(CStringFormat, LoadsTheFrameworksOwnStrings)
{
    // No module before the framework DLL has these, so the chain ends there.
    CString s;
    ASSERT_TRUE(s.LoadString(AFX_IDS_IDLEMESSAGE));
    EXPECT_STREQ(L"Ready", s);
    CString t(MAKEINTRESOURCE(ID_FILE_NEW));
    EXPECT_STREQ(L"Create a new document\nNew", t);
    CString u;
    u.Format(AFX_IDS_IDLEMESSAGE);
    EXPECT_STREQ(L"Ready", u);
}

TEST(CStringFormat, MissingResourceLoadsNothing)
{
    CString s(L"keep?");
    EXPECT_FALSE(s.LoadString(0xFFF3));
    EXPECT_TRUE(s.IsEmpty());
    CString t(MAKEINTRESOURCE(0xFFF3));
    EXPECT_TRUE(t.IsEmpty());
}

/////////////////////////////////////////////////////////////////////////////
// Comparison and concatenation

TEST(CStringCompare, OperatorsAndCompareFunctions)
{
    CString abc(L"abc");
    CString abd(L"abd");
    EXPECT_TRUE(abc == L"abc");
    EXPECT_TRUE(L"abc" == abc);
    EXPECT_TRUE(abc != abd);
    EXPECT_TRUE(abc < abd);
    EXPECT_TRUE(abd > L"abc");
    EXPECT_TRUE(L"abb" < abc);
    EXPECT_TRUE(abc <= L"abc");
    EXPECT_TRUE(abc >= L"abc");
    EXPECT_TRUE(L"abe" >= abd);
    EXPECT_FALSE(abc == abd);

    EXPECT_LT(abc.Compare(L"abd"), 0);
    EXPECT_GT(abc.Compare(L"ABC"), 0);
    EXPECT_EQ(0, abc.CompareNoCase(L"ABC"));
    EXPECT_EQ(0, CString(L"\u00C4rger").CompareNoCase(L"\u00E4RGER"));
    // Folding to lower case puts '_' before letters, as _wcsicmp does.
    EXPECT_LT(CString(L"_x").CompareNoCase(L"Ax"), 0);
    EXPECT_GT(abc.CompareNoCase(L"AB"), 0);

    EXPECT_EQ(0, abc.Collate(L"abc"));
    EXPECT_LT(CString(L"a").Collate(L"B"), 0) << "collation ignores code-point order";
    EXPECT_GT(CString(L"a").Compare(L"B"), 0);
    EXPECT_EQ(0, abc.CollateNoCase(L"ABC"));
    EXPECT_LT(CString(L"apple").CollateNoCase(L"Banana"), 0);
}

TEST(CStringCompare, Concatenation)
{
    CString a(L"ab");
    CString r = a + L"cd" + L'e' + CString(L"f") + 'g';
    EXPECT_STREQ(L"abcdefg", r);
    EXPECT_STREQ(L"xab", L'x' + a);
    EXPECT_STREQ(L"yab", L"y" + a);
    EXPECT_STREQ(L"zab", 'z' + a);
    EXPECT_STREQ(L"ab", a);

    // Appending a string to itself, through either form.
    CString s(L"12");
    s += s;
    EXPECT_STREQ(L"1212", s);
    s += static_cast<LPCTSTR>(s);
    EXPECT_STREQ(L"12121212", s);

    CString grow;
    for (int i = 0; i < 1000; ++i)
        grow += static_cast<TCHAR>(L'a' + i % 26);
    EXPECT_EQ(1000, grow.GetLength());
    EXPECT_EQ(L'a' + 999 % 26, grow[999]);
}

/////////////////////////////////////////////////////////////////////////////
// Extraction and searching

TEST(CStringExtract, MidLeftRightClampLikeTheFramework)
{
    CString s(L"0123456789");
    EXPECT_STREQ(L"234", s.Mid(2, 3));
    EXPECT_STREQ(L"789", s.Mid(7));
    EXPECT_STREQ(L"89", s.Mid(8, 100));
    EXPECT_STREQ(L"012", s.Mid(-5, 3));
    EXPECT_STREQ(L"", s.Mid(10));
    EXPECT_STREQ(L"", s.Mid(11, 2));
    EXPECT_STREQ(L"", s.Mid(3, -1));
    EXPECT_STREQ(L"89", s.Mid(8, INT_MAX));
    EXPECT_STREQ(L"0123456789", s.Mid(0));
    EXPECT_STREQ(L"012", s.Left(3));
    EXPECT_STREQ(L"", s.Left(-1));
    EXPECT_STREQ(L"0123456789", s.Left(50));
    EXPECT_STREQ(L"789", s.Right(3));
    EXPECT_STREQ(L"", s.Right(-3));
    EXPECT_STREQ(L"0123456789", s.Right(50));
    EXPECT_STREQ(L"012", s.SpanIncluding(L"012abc"));
    EXPECT_STREQ(L"0123", s.SpanExcluding(L"45"));
    EXPECT_STREQ(L"", s.SpanIncluding(L"x"));

    EXPECT_EQ(L'0', s.GetAt(0));
    EXPECT_EQ(L'\0', s.GetAt(10)) << "the terminator";
    EXPECT_EQ(L'\0', s.GetAt(11)) << "past the end reads as 0";
    EXPECT_EQ(L'\0', s.GetAt(-1));
}

TEST(CStringExtract, FindAndReverseFind)
{
    CString s(L"abcabc");
    EXPECT_EQ(1, s.Find(L'b'));
    EXPECT_EQ(4, s.Find(L'b', 2));
    EXPECT_EQ(-1, s.Find(L'b', 5));
    EXPECT_EQ(-1, s.Find(L'b', 6));
    EXPECT_EQ(-1, s.Find(L'b', 100));
    EXPECT_EQ(1, s.Find(L'b', -3));
    EXPECT_EQ(-1, s.Find(L'z'));
    EXPECT_EQ(3, s.Find(L"abc", 1));
    EXPECT_EQ(2, s.Find(L"ca"));
    EXPECT_EQ(-1, s.Find(L"abcd"));
    EXPECT_EQ(-1, s.Find(L"a", 7));
    EXPECT_EQ(6, s.Find(L"", 6)) << "the empty string is found where the search starts";
    EXPECT_EQ(2, s.Find(L"", 2));
    EXPECT_EQ(-1, s.Find(L"", 7));
    EXPECT_EQ(-1, s.Find(static_cast<LPCTSTR>(nullptr)));
    EXPECT_EQ(4, s.ReverseFind(L'b'));
    EXPECT_EQ(-1, s.ReverseFind(L'q'));
    EXPECT_EQ(2, s.FindOneOf(L"xyc"));
    EXPECT_EQ(-1, s.FindOneOf(L"xyz"));
    EXPECT_EQ(-1, CString().Find(L'a'));
    EXPECT_EQ(-1, CString().ReverseFind(L'a'));
}

/////////////////////////////////////////////////////////////////////////////
// Editing

TEST(CStringEdit, CaseReverseTrimAndSetAt)
{
    struct
    {
        const wchar_t* pszIn;
        void (*pfnEdit)(CString&);
        const wchar_t* pszOut;
    } const cases[] = {
        {L"Hello \u00E4\u00F6\u00FC World 123", [](CString& s) { s.MakeUpper(); },
         L"HELLO \u00C4\u00D6\u00DC WORLD 123"},
        {L"HELLO \u00C4\u00D6\u00DC World 123", [](CString& s) { s.MakeLower(); },
         L"hello \u00E4\u00F6\u00FC world 123"},
        {L"abc d", [](CString& s) { s.MakeReverse(); }, L"d cba"},
        {L"", [](CString& s) { s.MakeUpper(); s.MakeReverse(); }, L""},
        {L" \t\r\n text \n ", [](CString& s) { s.TrimLeft(); }, L"text \n "},
        {L"text \n ", [](CString& s) { s.TrimRight(); }, L"text"},
        {L"xxyabcyxx", [](CString& s) { s.TrimLeft(L'x'); }, L"yabcyxx"},
        {L"yabcyxx", [](CString& s) { s.TrimRight(L"xy"); }, L"yabc"},
        {L"yabc", [](CString& s) { s.TrimLeft(L"cba y"); }, L""},
        {L"   ", [](CString& s) { s.TrimRight(); }, L""},
        // SetAt ignores indexes outside the string.
        {L"abc", [](CString& s) { s.SetAt(1, L'X'); s.SetAt(3, L'Y'); s.SetAt(-1, L'Z'); }, L"aXc"},
    };
    for (const auto& c : cases) {
        CString s(c.pszIn);
        c.pfnEdit(s);
        EXPECT_STREQ(c.pszOut, s) << "from \"" << N(c.pszIn) << "\"";
        EXPECT_EQ((int)wcslen(c.pszOut), s.GetLength()) << "from \"" << N(c.pszIn) << "\"";
    }
}

TEST(CStringEdit, ReplaceRemoveInsertDelete)
{
    CString s(L"a.b.c");
    EXPECT_EQ(2, s.Replace(L'.', L'/'));
    EXPECT_STREQ(L"a/b/c", s);
    EXPECT_EQ(0, s.Replace(L'x', L'y'));

    s = L"aaaa";
    EXPECT_EQ(2, s.Replace(L"aa", L"b")) << "matches do not overlap";
    EXPECT_STREQ(L"bb", s);
    s = L"one two one";
    EXPECT_EQ(2, s.Replace(L"one", L"three"));
    EXPECT_STREQ(L"three two three", s);
    EXPECT_EQ(2, s.Replace(L"three", L""));
    EXPECT_STREQ(L" two ", s);
    EXPECT_EQ(0, s.Replace(L"", L"x"));
    s = L"xyx";
    EXPECT_EQ(2, s.Replace(L"x", static_cast<LPCTSTR>(s)));   // replacement is the string itself
    EXPECT_STREQ(L"xyxyxyx", s);

    s = L"banana";
    EXPECT_EQ(3, s.Remove(L'a'));
    EXPECT_STREQ(L"bnn", s);
    EXPECT_EQ(0, s.Remove(L'z'));

    s = L"ace";
    EXPECT_EQ(4, s.Insert(1, L'b'));
    EXPECT_EQ(5, s.Insert(3, L"d"));
    EXPECT_STREQ(L"abcde", s);
    EXPECT_EQ(6, s.Insert(100, L"f")) << "past the end appends";
    EXPECT_EQ(7, s.Insert(-4, L"_")) << "before the start prepends";
    EXPECT_STREQ(L"_abcdef", s);

    EXPECT_EQ(5, s.Delete(0, 2));
    EXPECT_STREQ(L"bcdef", s);
    EXPECT_EQ(4, s.Delete(1));
    EXPECT_STREQ(L"bdef", s);
    EXPECT_EQ(2, s.Delete(2, 100)) << "a count past the end stops there";
    EXPECT_STREQ(L"bd", s);
    EXPECT_EQ(2, s.Delete(5, 1));
    EXPECT_EQ(2, s.Delete(0, -1));
    EXPECT_STREQ(L"bd", s);
}

TEST(CStringValidity, PointerChecks)
{
    EXPECT_TRUE(AfxIsValidString(L"text"));
    EXPECT_TRUE(AfxIsValidString("text"));
    EXPECT_FALSE(AfxIsValidString(static_cast<LPCWSTR>(nullptr)));
    EXPECT_FALSE(AfxIsValidString(reinterpret_cast<LPCWSTR>(0x10)));

    // A string running to the end of a readable page with no terminator.
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    BYTE* pages = static_cast<BYTE*>(VirtualAlloc(nullptr, si.dwPageSize * 2, MEM_COMMIT | MEM_RESERVE,
                                                  PAGE_READWRITE));
    ASSERT_NE(nullptr, pages);
    DWORD oldProtect;
    ASSERT_TRUE(VirtualProtect(pages + si.dwPageSize, si.dwPageSize, PAGE_NOACCESS, &oldProtect));
    char* tail = reinterpret_cast<char*>(pages + si.dwPageSize - 4);
    memset(tail, 'a', 4);
    EXPECT_FALSE(AfxIsValidString(tail));
    EXPECT_TRUE(AfxIsValidString(tail, 4));
    EXPECT_FALSE(AfxIsValidString(tail, 5));
    tail[3] = 0;
    EXPECT_TRUE(AfxIsValidString(tail));
    EXPECT_TRUE(AfxIsValidAddress(pages, si.dwPageSize));
    EXPECT_FALSE(AfxIsValidAddress(pages, si.dwPageSize + 1));
    ASSERT_TRUE(VirtualProtect(pages, si.dwPageSize, PAGE_READONLY, &oldProtect));
    EXPECT_TRUE(AfxIsValidAddress(pages, 16, FALSE));
    EXPECT_FALSE(AfxIsValidAddress(pages, 16, TRUE));
    EXPECT_FALSE(AfxIsValidAddress(nullptr, 0));
    VirtualFree(pages, 0, MEM_RELEASE);
}
