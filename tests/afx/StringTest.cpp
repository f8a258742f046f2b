// Tests of CString: sharing and copy-on-write, buffer access, conversions,
// formatting with the platform's wide printf rules, searching and editing.
#include <afx.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "AfxTestSupport.h"

using wivotest::Join;
using wivotest::Narrow;

namespace {

// The buffer header sits right before the characters.
const CStringData* DataOf(const CString& s)
{
    return reinterpret_cast<const CStringData*>(static_cast<LPCTSTR>(s)) - 1;
}

long RefsOf(const CString& s)
{
    return DataOf(s)->nRefs;
}

bool Shared(const CString& a, const CString& b)
{
    return static_cast<LPCTSTR>(a) == static_cast<LPCTSTR>(b);
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
    EXPECT_EQ("1|1|3", Join({Shared(a, b), Shared(a, c), RefsOf(a)}));
    b.SetAt(0, L'S');
    EXPECT_EQ("shared text|Shared text|1|2|1", Join({a, b, Shared(a, c), RefsOf(a), RefsOf(b)}));
    c += L"!";
    EXPECT_EQ("shared text|shared text!|1", Join({a, c, RefsOf(a)}));
}

TEST(CStringSharing, EveryMutatorUnsharesFirst)
{
    const CString original(L"  Abc,abc  ");
    using Edit = void (*)(CString&);
    const std::pair<const char*, Edit> cases[] = {
        {"MakeUpper", [](CString& s) { s.MakeUpper(); }},
        {"MakeLower", [](CString& s) { s.MakeLower(); }},
        {"MakeReverse", [](CString& s) { s.MakeReverse(); }},
        {"Remove", [](CString& s) { s.Remove(L'b'); }},
        {"Replace(ch)", [](CString& s) { s.Replace(L'a', L'x'); }},
        {"Replace(str)", [](CString& s) { s.Replace(L"bc", L"y"); }},
        {"Insert", [](CString& s) { s.Insert(1, L"zz"); }},
        {"Delete", [](CString& s) { s.Delete(2, 3); }},
        {"TrimLeft", [](CString& s) { s.TrimLeft(); }},
        {"TrimRight", [](CString& s) { s.TrimRight(); }},
        {"SetAt", [](CString& s) { s.SetAt(2, L'#'); }},
        {"Empty", [](CString& s) { s.Empty(); }},
        {"GetBuffer", [](CString& s) { s.GetBuffer(0)[2] = L'#'; s.ReleaseBuffer(); }},
        {"Format", [](CString& s) { s.Format(L"%d", 7); }},
    };
    for (const auto& c : cases) {
        CString copy(original);
        c.second(copy);
        EXPECT_STREQ(L"  Abc,abc  ", original) << c.first << " changed the other owner";
        EXPECT_NE(Narrow(original), Narrow(copy)) << c.first << " did nothing";
    }
    EXPECT_EQ(1, RefsOf(original));
}

TEST(CStringSharing, EmptyStringsShareTheNilBuffer)
{
    CString a, b;
    CString c(L"");
    CString d(L"x");
    d.Empty();
    EXPECT_EQ("1|1|1|1|-1", Join({Shared(a, b), Shared(a, c), Shared(a, d),
                                  Shared(a, afxEmptyString), RefsOf(a)}));
    // GetBuffer on an empty string gives writable memory of its own.
    LPTSTR p = a.GetBuffer(0);
    ASSERT_NE(nullptr, p);
    p[0] = L'x';
    a.ReleaseBuffer(0);
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(L'\0', *static_cast<LPCTSTR>(b)) << "the shared empty string was written into";
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
    EXPECT_EQ("hello|hello, world|12", Join({a, b, b.GetLength()}));
    p = b.GetBuffer(0);
    p[3] = 0;
    b.ReleaseBuffer(5);   // explicit length wins over the terminator
    EXPECT_EQ("5|111", Join({b.GetLength(), b[4]}));
    b.ReleaseBuffer(2);
    EXPECT_STREQ(L"he", b);

    CString s;
    memcpy(s.GetBufferSetLength(4), L"abcd", 4 * sizeof(WCHAR));
    EXPECT_EQ(4, s.GetLength());
    s.GetBuffer(100);
    s.ReleaseBuffer();
    EXPECT_GE(DataOf(s)->nAllocLength, 100);
    s.FreeExtra();
    EXPECT_EQ("4|abcd", Join({DataOf(s)->nAllocLength, s}));
    s.GetBufferSetLength(2);
    EXPECT_STREQ(L"ab", s);
}

TEST(CStringSharing, LockedBufferIsNeverShared)
{
    CString a(L"locked");
    LPTSTR p = a.LockBuffer();
    CString b(a);
    CString c;
    c = a;
    EXPECT_EQ("-1|0|0|locked", Join({RefsOf(a), Shared(a, b), Shared(a, c), b}));
    // Assigning to a locked string keeps its buffer (the pointer stays valid).
    a = CString(L"LOCKED");
    EXPECT_EQ(static_cast<LPCTSTR>(a), p);
    EXPECT_STREQ(L"LOCKED", p);
    a.UnlockBuffer();
    CString d(a);
    EXPECT_EQ("1|2", Join({Shared(a, d), RefsOf(a)}));
}

TEST(CStringSharing, ReferenceCountSurvivesTwoThreads)
{
    const CString shared(L"one buffer for two threads");
    auto worker = [&shared]() {
        for (int i = 0; i < 200000; ++i) {
            CString copy(shared);
            CString another;
            another = copy;
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
    EXPECT_EQ("xxx|||abc|||", Join({CString(L'x', 3), CString(L'x', 0), CString(L'x', -5),
                                    CString(L"abcdef", 3), CString(L"abc", -1),
                                    CString(static_cast<LPCWSTR>(nullptr)),
                                    CString(static_cast<LPCSTR>(nullptr))}));
    // An explicit length keeps embedded terminators.
    CString withNul(L"a\0b", 3);
    EXPECT_EQ("3|98", Join({withNul.GetLength(), withNul[2]}));
}

TEST(CStringConstruct, AnsiTextUsesTheAnsiCodePage)
{
    // Wine picks the ANSI code page from the Unix locale; under the test runner's
    // locale that is Windows-1252 (and an English one in any Western setup).
    UINT acp = GetACP();
    if (acp != 1252)
        GTEST_SKIP() << "ANSI code page is " << acp << ", the expectations are for 1252";

    const char szGruesse[] = "Gr\xFC\xDF" "e";   // "Grüße" in Windows-1252
    CString t;
    t = szGruesse;
    CString u(L"x");
    u += '\xE9';          // e acute
    u = u + '\x80';       // the euro sign lives at 0x80 in 1252
    CString v;
    v = '\xE4';
    const unsigned char szBytes[] = { 0x41, 0xC4, 0 };
    EXPECT_EQ(Narrow(L"Gr\u00FC\u00DFe|5|Gr\u00FC\u00DFe|Gr\u00FC|x\u00E9\u20AC|\u00E4|A\u00C4"),
              Join({CString(szGruesse), CString(szGruesse).GetLength(), t, CString(szGruesse, 3),
                    u, v, CString(szBytes)}));
}

TEST(CStringConstruct, OemAndBstrRoundTrips)
{
    UINT oem = GetOEMCP();
    if (oem == 437 || oem == 850) {
        CString s(L"Gr\u00FC\u00DFe");
        s.AnsiToOem();
        // u umlaut and sharp s in the OEM code page
        EXPECT_EQ("71|114|129|225|101", Join({s[0], s[1], s[2], s[3], s[4]}));
        s.OemToAnsi();
        EXPECT_STREQ(L"Gr\u00FC\u00DFe", s);
    } else {
        printf("  OEM code page is %u, the expectations are for 437/850\n", oem);
    }

    BSTR b = CString(L"bstr text").AllocSysString();
    ASSERT_NE(nullptr, b);
    EXPECT_EQ("9|bstr text", Join({SysStringLen(b), b}));
    EXPECT_EQ(b, CString(L"longer replacement text").SetSysString(&b));
    EXPECT_STREQ(L"longer replacement text", b);
    SysFreeString(b);
    EXPECT_EQ(nullptr, CString(L"x").SetSysString(nullptr));
}

/////////////////////////////////////////////////////////////////////////////
// Formatting

TEST(CStringFormat, PassesArgumentsOfEverySizeAndSizesTheResult)
{
    auto fmt = [](LPCTSTR f, auto... args) {
        CString s(L"old");
        s.Format(f, args...);
        return s;
    };
    // The runtime's wide printf does the formatting itself; what is ours is that it gets
    // the arguments as given and that the result fits.
    CString piece(L'q', 3000);
    const std::pair<std::wstring, CString> rows[] = {
        {L"[wide]", fmt(L"[%s]", L"wide")},         {L"[narrow]", fmt(L"[%S]", "narrow")},
        {L"-42| 3.14|Z", fmt(L"%d|%5.2f|%c", -42, 3.14159, L'Z')},
        {L"-9000000000|ff", fmt(L"%I64d|%x", (__int64)-9000000000LL, 255)},
        {L"", fmt(L"%s", L"")},                     {L"", fmt(L"")},
        {L"<" + std::wstring(3000, L'q') + L"|" + std::wstring(3000, L'q') + L">",
         fmt(L"<%s|%s>", static_cast<LPCTSTR>(piece), static_cast<LPCTSTR>(piece))},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.first, std::wstring(r.second)) << Narrow(r.second).substr(0, 80);

    CString s(L"%d-%d");
    s.Format(s, 1, 2);    // its own text as the format
    EXPECT_STREQ(L"1-2", s);
    s.FormatMessage(L"%1 has %2!d! items", L"list", 5);
    EXPECT_STREQ(L"list has 5 items", s);
    s.FormatMessage(L"%2 before %1", L"one", L"two");
    EXPECT_STREQ(L"two before one", s);
}

/////////////////////////////////////////////////////////////////////////////
// Comparison and concatenation

TEST(CStringCompare, OperatorsAndCompareFunctions)
{
    CString abc(L"abc");
    CString abd(L"abd");
    EXPECT_TRUE(abc == L"abc" && L"abc" == abc && abc != abd && !(abc == abd));
    EXPECT_TRUE(abc < abd && abd > L"abc" && L"abb" < abc);
    EXPECT_TRUE(abc <= L"abc" && abc >= L"abc" && L"abe" >= abd);

    auto sign = [](int n) { return n < 0 ? -1 : n > 0 ? 1 : 0; };
    // Folding to lower case puts '_' before letters, as _wcsicmp does.
    EXPECT_EQ("-1|1|0|0|-1|1",
              Join({sign(abc.Compare(L"abd")), sign(abc.Compare(L"ABC")),
                    sign(abc.CompareNoCase(L"ABC")),
                    sign(CString(L"\u00C4rger").CompareNoCase(L"\u00E4RGER")),
                    sign(CString(L"_x").CompareNoCase(L"Ax")), sign(abc.CompareNoCase(L"AB"))}));
    // Collation ignores code-point order.
    EXPECT_EQ("0|-1|1|0|-1",
              Join({sign(abc.Collate(L"abc")), sign(CString(L"a").Collate(L"B")),
                    sign(CString(L"a").Compare(L"B")), sign(abc.CollateNoCase(L"ABC")),
                    sign(CString(L"apple").CollateNoCase(L"Banana"))}));
}

TEST(CStringCompare, Concatenation)
{
    CString a(L"ab");
    EXPECT_EQ("abcdefg|xab|yab|zab|ab",
              Join({a + L"cd" + L'e' + CString(L"f") + 'g', L'x' + a, L"y" + a, 'z' + a, a}));
    // Appending a string to itself, through either form.
    CString s(L"12");
    s += s;
    EXPECT_STREQ(L"1212", s);
    s += static_cast<LPCTSTR>(s);
    EXPECT_STREQ(L"12121212", s);

    CString grow;
    for (int i = 0; i < 1000; ++i)
        grow += static_cast<TCHAR>(L'a' + i % 26);
    EXPECT_EQ("1000|108", Join({grow.GetLength(), grow[999]}));
}

/////////////////////////////////////////////////////////////////////////////
// Extraction and searching

TEST(CStringExtract, MidLeftRightClampLikeTheFramework)
{
    CString s(L"0123456789");
    EXPECT_EQ("234|789|89|012||||89|0123456789",
              Join({s.Mid(2, 3), s.Mid(7), s.Mid(8, 100), s.Mid(-5, 3), s.Mid(10), s.Mid(11, 2),
                    s.Mid(3, -1), s.Mid(8, INT_MAX), s.Mid(0)}));
    EXPECT_EQ("012||0123456789|789||0123456789|012|0123|",
              Join({s.Left(3), s.Left(-1), s.Left(50), s.Right(3), s.Right(-3), s.Right(50),
                    s.SpanIncluding(L"012abc"), s.SpanExcluding(L"45"), s.SpanIncluding(L"x")}));
    // Past the end (and at the terminator) reads as 0.
    EXPECT_EQ("48|0|0|0", Join({s.GetAt(0), s.GetAt(10), s.GetAt(11), s.GetAt(-1)}));
}

TEST(CStringExtract, FindAndReverseFind)
{
    CString s(L"abcabc");
    EXPECT_EQ("1|4|-1|-1|-1|1|-1", Join({s.Find(L'b'), s.Find(L'b', 2), s.Find(L'b', 5),
                                         s.Find(L'b', 6), s.Find(L'b', 100), s.Find(L'b', -3),
                                         s.Find(L'z')}));
    // The empty string is found where the search starts.
    EXPECT_EQ("3|2|-1|-1|6|2|-1|-1",
              Join({s.Find(L"abc", 1), s.Find(L"ca"), s.Find(L"abcd"), s.Find(L"a", 7),
                    s.Find(L"", 6), s.Find(L"", 2), s.Find(L"", 7),
                    s.Find(static_cast<LPCTSTR>(nullptr))}));
    EXPECT_EQ("4|-1|2|-1|-1|-1",
              Join({s.ReverseFind(L'b'), s.ReverseFind(L'q'), s.FindOneOf(L"xyc"),
                    s.FindOneOf(L"xyz"), CString().Find(L'a'), CString().ReverseFind(L'a')}));
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
        EXPECT_EQ(Join({c.pszOut, (int)wcslen(c.pszOut)}), Join({s, s.GetLength()}))
            << "from \"" << Narrow(c.pszIn) << "\"";
    }
}

TEST(CStringEdit, ReplaceRemoveInsertDelete)
{
    // Each line: the counts the edits returned, then the text they left.
    CString s(L"a.b.c");
    EXPECT_EQ("2|0|a/b/c", Join({s.Replace(L'.', L'/'), s.Replace(L'x', L'y'), s}));
    s = L"aaaa";
    EXPECT_EQ("2|bb", Join({s.Replace(L"aa", L"b"), s})) << "matches do not overlap";
    s = L"one two one";
    EXPECT_EQ("2|three two three", Join({s.Replace(L"one", L"three"), s}));
    EXPECT_EQ("2|0| two ", Join({s.Replace(L"three", L""), s.Replace(L"", L"x"), s}));
    s = L"xyx";
    EXPECT_EQ("2|xyxyxyx", Join({s.Replace(L"x", static_cast<LPCTSTR>(s)), s})) << "itself";
    s = L"banana";
    EXPECT_EQ("3|0|bnn", Join({s.Remove(L'a'), s.Remove(L'z'), s}));
    // Inserting past the end appends, before the start prepends.
    s = L"ace";
    EXPECT_EQ("4|5|6|7|_abcdef", Join({s.Insert(1, L'b'), s.Insert(3, L"d"), s.Insert(100, L"f"),
                                      s.Insert(-4, L"_"), s}));
    // A count past the end stops there.
    EXPECT_EQ("5|bcdef|4|bdef|2|bd|2|2|bd",
              Join({s.Delete(0, 2), CString(s), s.Delete(1), CString(s), s.Delete(2, 100),
                    CString(s), s.Delete(5, 1), s.Delete(0, -1), s}));
}

TEST(CStringValidity, PointerChecks)
{
    EXPECT_TRUE(AfxIsValidString(L"text") && AfxIsValidString("text"));
    EXPECT_FALSE(AfxIsValidString(static_cast<LPCWSTR>(nullptr)));
    EXPECT_FALSE(AfxIsValidString(reinterpret_cast<LPCWSTR>(0x10)));

    // A string running to the end of a readable page with no terminator.
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    BYTE* pages = static_cast<BYTE*>(
        VirtualAlloc(nullptr, si.dwPageSize * 2, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    ASSERT_NE(nullptr, pages);
    DWORD oldProtect;
    ASSERT_TRUE(VirtualProtect(pages + si.dwPageSize, si.dwPageSize, PAGE_NOACCESS, &oldProtect));
    char* tail = reinterpret_cast<char*>(pages + si.dwPageSize - 4);
    memset(tail, 'a', 4);
    EXPECT_EQ("0|1|0", Join({AfxIsValidString(tail), AfxIsValidString(tail, 4),
                             AfxIsValidString(tail, 5)}));
    tail[3] = 0;
    EXPECT_TRUE(AfxIsValidString(tail));
    EXPECT_EQ("1|0", Join({AfxIsValidAddress(pages, si.dwPageSize),
                           AfxIsValidAddress(pages, si.dwPageSize + 1)}));
    ASSERT_TRUE(VirtualProtect(pages, si.dwPageSize, PAGE_READONLY, &oldProtect));
    EXPECT_EQ("1|0|0", Join({AfxIsValidAddress(pages, 16, FALSE),
                             AfxIsValidAddress(pages, 16, TRUE), AfxIsValidAddress(nullptr, 0)}));
    VirtualFree(pages, 0, MEM_RELEASE);
}
