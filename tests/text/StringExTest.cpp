// Tests of CStringEx: assignment and widening, texts loaded by id, formatting, number
// conversions, backward search, counting, path joining and wildcard matching.
#include <Wivo.h>

#include <gtest/gtest.h>

#include <limits.h>
#include <math.h>

#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "TestSupport.h"
#include "resource.h"

using wivotest::Narrow;

namespace {

// Reaches the protected matcher.
class MatchProbe : public CStringEx
{
public:
    using CStringEx::MatchHelper;
};

// The wildcard rule written out as it reads: a star first takes nothing, then one unit
// more at a time. Exponential and deeply recursive, so only for short inputs.
bool ReferenceMatch(const wchar_t* text, const wchar_t* pattern)
{
    if (*pattern == L'*')
        return ReferenceMatch(text, pattern + 1) ||
               (*text != 0 && ReferenceMatch(text + 1, pattern));
    if (*pattern == 0 || *text == 0)
        return *pattern == *text;
    return (*pattern == L'?' || *pattern == *text) && ReferenceMatch(text + 1, pattern + 1);
}

// Every word of length 0..maxLen over the alphabet.
std::vector<std::wstring> AllWords(const std::wstring& alphabet, size_t maxLen)
{
    std::vector<std::wstring> words(1);
    for (size_t begin = 0; begin < words.size(); ++begin)
        for (size_t i = 0; words[begin].size() < maxLen && i < alphabet.size(); ++i)
            words.push_back(words[begin] + alphabet[i]);
    return words;
}

} // namespace

static_assert(sizeof(CStringEx) == sizeof(CString), "CStringEx must add no data");
static_assert(!std::is_polymorphic<CStringEx>::value, "CStringEx must add no virtuals");
static_assert(std::is_base_of<CString, CStringEx>::value, "CStringEx is a CString");

/////////////////////////////////////////////////////////////////////////////
// Construction, assignment, appending

TEST(CStringExAssign, EveryFormAssignsOrAppendsAndReturnsItself)
{
    // Copies share the buffer.
    CString source(L"shared");
    CStringEx fromString(source), fromEx(fromString), assigned, assignedString;
    assigned = fromEx;
    assignedString = source;
    for (const CStringEx* p : {&fromString, &fromEx, &assigned, &assignedString})
        EXPECT_EQ(static_cast<LPCTSTR>(source), static_cast<LPCTSTR>(*p));
    EXPECT_TRUE(CStringEx().IsEmpty());

    CStringEx s;
    auto check = [&s](const CStringEx& result, const wchar_t* expected) {
        EXPECT_EQ(&s, &result);
        EXPECT_STREQ(expected, s);
    };
    const unsigned char bytes[] = "unsigned bytes";
    CStringEx other(CString(L"from CStringEx"));
    check(s = L'w', L"w");
    check(s = L"wide text", L"wide text");
    check(s = "narrow text", L"narrow text");
    check(s = bytes, L"unsigned bytes");
    check(s = CString(L"from CString"), L"from CString");
    check(s = other, L"from CStringEx");
    check(s = s, L"from CStringEx");
    check(s += CString(L"|ab"), L"from CStringEx|ab");
    check(s += L"cd", L"from CStringEx|abcd");
    check(s += L'e', L"from CStringEx|abcde");
    check(s += 'f', L"from CStringEx|abcdef");
    // Appending to itself must survive the buffer it reads from being grown.
    s = L"abc";
    check(s += s, L"abcabc");
    // A CStringEx is a CString wherever one is wanted.
    CString back = s;
    EXPECT_STREQ(L"abcabc", back);

    // A narrow text with a non-ASCII byte goes through the ANSI code page, as CString's.
    s = "\xE4";
    EXPECT_STREQ(CString("\xE4"), s);
    EXPECT_NE(0xFFE4, (int)s[0]);
}

TEST(CStringExAssign, CharIsWidenedAsSignedByte)
{
    const struct
    {
        unsigned char byte;
        wchar_t unit;
    } cases[] = {{0x41, 0x0041}, {0x7F, 0x007F}, {0x80, 0xFF80},
                 {0xE4, 0xFFE4}, {0xFF, 0xFFFF}, {0x01, 0x0001}};
    for (const auto& c : cases) {
        CStringEx s(CString(L"old text")), t(CString(L"x"));
        s = (char)c.byte;
        t += (char)c.byte;
        EXPECT_EQ(std::wstring(1, c.unit), std::wstring(s, s.GetLength())) << (int)c.byte;
        EXPECT_EQ(L"x" + std::wstring(1, c.unit), std::wstring(t, t.GetLength())) << (int)c.byte;
    }
}

/////////////////////////////////////////////////////////////////////////////
// Texts by id, formatting, numbers as text, case and order

TEST(CStringExText, LoadedFormattedAndConvertedTexts)
{
    const struct
    {
        CString actual;
        const wchar_t* expected;
    } cases[] = {
        // Every text of the library is checked in ResourcesTest; one shows the loading.
        {CStringEx::LoadString(IDS_READING_RECORDS), L"Lese Datens\x00E4tze..."},
        // A format by id is loaded first.
        {CStringEx::Format((UINT)IDS_PROGRESS_MINUTES, 3u, 7u), L"3 Min 7 Sek"},
        {CStringEx::Format((UINT)IDS_PROGRESS_DAYS, 1u, 2u, 3u, 4u),
         L"1 Tag(e) 2 Stunde(n) 3 Min 4 Sek"},
        {CStringEx::Format((UINT)IDS_ALL_DOCUMENTS, L"Text"), L"Alle Text Dokumente"},
        {CStringEx::Format(27999u, 5, L"ignored"), L""},
        // The platform's wide printf rules; its own cases are not repeated here.
        {CStringEx::Format(L"%s=%d", L"wide", -5), L"wide=-5"},
        {CStringEx::Format(L"%S|%lf", "narrow", 0.25), L"narrow|0.250000"},
        {CStringEx::Format(L""), L""},
        // Each Str overload has its own format.
        {CStringEx::Str(-42), L"-42"},
        {CStringEx::Str(INT_MIN), L"-2147483648"},
        {CStringEx::Str(4000000000u), L"4000000000"},
        {CStringEx::Str(-7L), L"-7"},
        {CStringEx::Str(LONG_MAX), L"2147483647"},
        {CStringEx::Str((DWORD)4294967295UL), L"4294967295"},
        {CStringEx::Str(-2.25), L"-2.250000"},
        {CStringEx::Str(2.0 / 3.0), L"0.666667"},
        {CStringEx::Str(1e6), L"1000000.000000"},
        {CStringEx::Str(2.5e-7), L"0.000000"},
        // Copies change, the argument stays (checked below).
        {CStringEx::ToLower(CString(L"Mixed Case 123")), L"mixed case 123"},
        {CStringEx::ToUpper(CString(L"Mixed Case 123")), L"MIXED CASE 123"},
        {CStringEx::Reverse(CString(L"Mixed Case 123")), L"321 esaC dexiM"},
        {CStringEx::ToLower(CString()), L""},
        {CStringEx::Reverse(CString()), L""},
        {CStringEx::Reverse(CString(L"a")), L"a"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.expected, c.actual) << "row " << (&c - cases);
    // Ids that neither the library, the framework nor this program define.
    for (UINT id : {1u, 27999u, 53247u, 53842u, 65535u})
        EXPECT_STREQ(L"", CStringEx::LoadString(id)) << id;
    const CString original(L"Mixed Case 123");
    for (auto f : {CStringEx::ToLower, CStringEx::ToUpper, CStringEx::Reverse})
        f(original);
    EXPECT_STREQ(L"Mixed Case 123", original) << "an argument was changed";
}

/////////////////////////////////////////////////////////////////////////////
// Text to number

TEST(CStringExVal, SignedConversionsClampThenNarrow)
{
    struct Case { const wchar_t* text; UINT base; long asLong; int asInt; short asShort; };
    const Case cases[] = {
        {L"0x1F", 0, 31, 31, 31}, {L"010", 0, 8, 8, 8},
        {L"08", 0, 0, 0, 0}, {L"12abc", 0, 12, 12, 12},
        {L"abc", 0, 0, 0, 0}, {L"", 0, 0, 0, 0},
        {L"  -42", 0, -42, -42, -42}, {L"+7", 0, 7, 7, 7},
        {L"ff", 16, 255, 255, 255}, {L"0xff", 16, 255, 255, 255},
        {L"777", 8, 511, 511, 511}, {L"1010", 2, 10, 10, 10},
        {L"z", 36, 35, 35, 35}, {L"40000", 0, 40000, 40000, -25536},
        {L"-32769", 0, -32769, -32769, 32767}, {L"2147483647", 0, LONG_MAX, INT_MAX, -1},
        {L"99999999999", 0, LONG_MAX, INT_MAX, -1}, {L"-99999999999", 0, LONG_MIN, INT_MIN, 0},
        // Bases the C library refuses convert to nothing.
        {L"12", 1, 0, 0, 0}, {L"12", 37, 0, 0, 0},
        {L"12", 0xFFFFFFFF, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.text) + " base " + std::to_string(c.base));
        EXPECT_EQ(c.asLong, CStringEx::ValLong(c.text, c.base));
        EXPECT_EQ(c.asInt, CStringEx::ValInt(c.text, c.base));
        EXPECT_EQ(c.asShort, CStringEx::ValShort(c.text, c.base));
    }
    // Without a base the prefix decides.
    EXPECT_EQ(31, CStringEx::ValInt(CString(L"0x1F")));
    EXPECT_EQ(8, CStringEx::ValLong(CString(L"010")));
    EXPECT_EQ(-25536, CStringEx::ValShort(CString(L"40000")));
}

TEST(CStringExVal, UnsignedConversionsClampThenNarrow)
{
    struct Case { const wchar_t* text; UINT base; DWORD asDWord; WORD asWord; BYTE asByte; };
    const Case cases[] = {
        {L"300", 0, 300, 300, 44}, {L"70000", 0, 70000, 4464, 112},
        {L"-1", 0, 4294967295UL, 0xFFFF, 0xFF}, {L"0xFFFFFFFF", 0, 4294967295UL, 0xFFFF, 0xFF},
        {L"0x12345", 0, 0x12345, 0x2345, 0x45}, {L"99999999999", 0, 4294967295UL, 0xFFFF, 0xFF},
        {L"4294967296", 0, 4294967295UL, 0xFFFF, 0xFF}, {L"017", 0, 15, 15, 15},
        {L"17", 10, 17, 17, 17}, {L"x", 0, 0, 0, 0},
        {L"12", 40, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.text) + " base " + std::to_string(c.base));
        EXPECT_EQ(c.asDWord, CStringEx::ValDWord(c.text, c.base));
        EXPECT_EQ((UINT)c.asDWord, CStringEx::ValUInt(c.text, c.base));
        EXPECT_EQ(c.asWord, CStringEx::ValWord(c.text, c.base));
        EXPECT_EQ(c.asByte, CStringEx::ValByte(c.text, c.base));
    }
    EXPECT_EQ(4294967295U, CStringEx::ValUInt(CString(L"-1")));
    EXPECT_EQ(4464, CStringEx::ValWord(CString(L"70000")));
    EXPECT_EQ(44, CStringEx::ValByte(CString(L"300")));
}

TEST(CStringExVal, FloatingPoint)
{
    struct Case { const wchar_t* text; double value; };
    const Case cases[] = {
        {L"1.5", 1.5}, {L"  -2.25e2xyz", -225.0},
        {L".5", 0.5}, {L"1,5", 1.0},
        {L"abc", 0.0}, {L"", 0.0},
        {L"1e-3", 0.001},
        // The platform's conversion knows no hexadecimal or infinity texts.
        {L"0x10", 0.0}, {L"inf", 0.0},
    };
    for (const Case& c : cases) {
        CString text(c.text);
        EXPECT_DOUBLE_EQ(c.value, CStringEx::ValDouble(text)) << Narrow(text);
        EXPECT_FLOAT_EQ((float)c.value, CStringEx::ValFloat(text)) << Narrow(text);
    }
    // Rounded to float, not truncated digits.
    EXPECT_EQ(0.1f, CStringEx::ValFloat(CString(L"0.1")));
    EXPECT_NE(0.1, (double)CStringEx::ValFloat(CString(L"0.1")));
    EXPECT_EQ(0.1, CStringEx::ValDouble(CString(L"0.1")));
    EXPECT_EQ(HUGE_VAL, CStringEx::ValDouble(CString(L"1e400")));
    EXPECT_EQ(-HUGE_VAL, CStringEx::ValDouble(CString(L"-1e400")));
}

/////////////////////////////////////////////////////////////////////////////
// Backward search

// One table for both searches: exact is ReverseFind's answer, noCase ReverseFindNoCase's.
TEST(CStringExSearch, ReverseFindTable)
{
    struct Case { const wchar_t* text; const wchar_t* sub; int start; int exact; int noCase; };
    const Case cases[] = {
        {L"abcb", L"b", -1, 3, 3}, {L"abcb", L"b", 2, 1, 1},
        {L"abcb", L"b", 1, 1, 1}, {L"abcb", L"b", 0, -1, -1},
        {L"abcb", L"b", 4, 3, 3}, // past the last position: from the end
        {L"abcb", L"b", -7, 3, 3},
        {L"abcb", L"B", -1, -1, 3}, // case matters only to ReverseFind
        {L"abcb", L"B", 2, -1, 1}, {L"ABCB", L"b", -1, -1, 3},
        {L"aBcB", L"Bc", -1, 1, 1}, {L"Hello World", L"WORLD", -1, -1, 6},
        {L"Hello World", L"O", 5, -1, 4},
        {L"abc", L"", -1, 2, 2}, // empty sub: the last unit, not past it
        {L"abc", L"", 1, 1, 1}, {L"abc", L"", 0, 0, 0},
        {L"abc", L"", 3, 2, 2}, {L"", L"", -1, 0, 0},
        {L"", L"", 5, 0, 0}, {L"", L"x", -1, -1, -1},
        {L"", L"x", 0, -1, -1}, {L"abc", L"abcd", -1, -1, -1},
        {L"abc", L"abcd", 0, -1, -1}, {L"abc", L"abc", -1, 0, 0},
        {L"abcabc", L"abc", -1, 3, 3}, {L"abcabc", L"abc", 2, 0, 0},
        {L"abcabc", L"abc", 3, 3, 3},
        {L"abcabc", L"abc", 4, 3, 3}, // 4 > last (3): from the end
        {L"aaa", L"aa", -1, 1, 1}, {L"aaa", L"aa", 0, 0, 0},
        {L"ab", L"a", -1, 0, 0},
    };
    for (const Case& c : cases) {
        CStringEx text(CString(c.text));
        CString sub(c.sub);
        SCOPED_TRACE("\"" + Narrow(text) + "\" sub \"" + Narrow(sub) + "\" start " +
                     std::to_string(c.start));
        EXPECT_EQ(c.exact, text.ReverseFind(sub, c.start));
        EXPECT_EQ(c.noCase, text.ReverseFindNoCase(sub, c.start)) << "no case";
        if (c.start == -1) {
            EXPECT_EQ(c.exact, text.ReverseFind(sub)) << "default";
            EXPECT_EQ(c.noCase, text.ReverseFindNoCase(sub)) << "default, no case";
        }
    }
    // Neither string is changed by the search.
    CStringEx text(CString(L"MiXeD"));
    CString sub(L"XeD");
    EXPECT_EQ(2, text.ReverseFindNoCase(sub));
    EXPECT_STREQ(L"MiXeD", text);
    EXPECT_STREQ(L"XeD", sub);
}

// A zero unit inside a string: the backward search counts it in the length; counting,
// matching (in the pattern, too) and number conversions stop at it.
TEST(CStringExSearch, EmbeddedZeroUnits)
{
    const CStringEx text(CString(L"ab\0ab", 5)), counted(CString(L"ab\0aa", 5));
    const CStringEx matched(CString(L"ab\0cd", 5)), number(CString(L"12\0" L"34", 5));
    EXPECT_EQ(3, text.ReverseFind(CString(L"ab")));
    EXPECT_EQ(0, text.ReverseFind(CString(L"ab"), 2));
    EXPECT_EQ(4, text.ReverseFind(CString()));
    EXPECT_EQ(1, counted.CountChar(L'a'));
    EXPECT_EQ(0, counted.CountChar(0));
    EXPECT_TRUE(matched.Matches(CString(L"ab")));
    EXPECT_FALSE(matched.Matches(CString(L"ab?*")));
    EXPECT_FALSE(matched.Matches(CString(L"*d")));
    EXPECT_TRUE(CStringEx(CString(L"abc")).Matches(CString(L"a*\0x", 4)));
    EXPECT_EQ(12, CStringEx::ValInt(number));
    EXPECT_EQ(12U, CStringEx::ValUInt(number));
    EXPECT_EQ(12.0, CStringEx::ValDouble(number));
}

TEST(CStringExCount, CountChar)
{
    const struct
    {
        const wchar_t* text;
        wchar_t ch;
        int expected;
    } cases[] = {{L"a,b,,c", L',', 3}, {L"a,b,,c", L'a', 1}, {L"a,b,,c", L'x', 0},
                 {L"", L'a', 0},       {L"", 0, 0},          {L"aaaa", L'a', 4},
                 {L"aAaA", L'A', 2},   {L"abc", 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, CStringEx(CString(c.text)).CountChar(c.ch))
            << "\"" << Narrow(c.text) << "\" ch " << (int)c.ch;
}

TEST(CStringExPath, ConcatPathTable)
{
    const struct
    {
        const wchar_t *base, *part, *expected;
    } cases[] = {
        {L"C:\\dir", L"file", L"C:\\dir\\file"}, {L"C:\\dir\\", L"file", L"C:\\dir\\file"},
        {L"C:\\dir", L"\\file", L"C:\\dir\\file"},
        {L"C:\\dir\\", L"\\file", L"C:\\dir\\\\file"}, // nothing is removed
        {L"", L"file", L"file"}, {L"", L"\\file", L"\\file"},
        {L"", L"", L""}, {L"C:\\dir", L"", L"C:\\dir\\"},
        {L"C:\\dir\\", L"", L"C:\\dir\\"}, {L"\\", L"x", L"\\x"},
        {L"a", L"b\\c", L"a\\b\\c"},
        {L"C:/dir", L"file", L"C:/dir\\file"}, // only backslashes count
        {L"C:\\dir", L"/file", L"C:\\dir\\/file"},
    };
    for (const auto& c : cases) {
        CStringEx base(CString(c.base));
        EXPECT_STREQ(c.expected, base.ConcatPath(CString(c.part)))
            << "\"" << Narrow(c.base) << "\" + \"" << Narrow(c.part) << "\"";
        EXPECT_STREQ(c.base, base) << "ConcatPath changed its object";
    }
}

/////////////////////////////////////////////////////////////////////////////
// Wildcard patterns

// The rule below checks structure on short texts; these rows hold what its alphabets
// lack: case, wildcard units in the text, a backslash and null texts (taken as empty).
TEST(CStringExMatch, PatternTable)
{
    const struct
    {
        const wchar_t *text, *pattern;
        bool expected;
    } cases[] = {
        {L"readme.txt", L"*.txt", true}, {L"readme.txt", L"*.TXT", false},
        {L"a*b", L"a*b", true},          {L"a*b", L"a?b", true},
        {L"a?b", L"a\\?b", false},       {L"a\\b", L"a\\b", true},
        {NULL, NULL, true},              {NULL, L"*", true},
        {NULL, L"?", false},             {L"", NULL, true},
        {L"x", NULL, false},
    };
    MatchProbe probe;
    for (const auto& c : cases) {
        SCOPED_TRACE("\"" + Narrow(c.text ? c.text : L"(null)") + "\" against \"" +
                     Narrow(c.pattern ? c.pattern : L"(null)") + "\"");
        EXPECT_EQ(c.expected, probe.MatchHelper(c.text, c.pattern) != FALSE);
        if (c.text != NULL && c.pattern != NULL) {
            EXPECT_EQ(c.expected, CStringEx(CString(c.text)).Matches(CString(c.pattern)) != FALSE);
        }
    }
}

// Every pair of a short text and a short pattern, and many random longer ones, get the
// answer of the rule as written.
TEST(CStringExMatch, AgreesWithTheRecursiveRule)
{
    std::vector<std::pair<std::wstring, std::wstring>> inputs;
    for (const std::wstring& t : AllWords(L"ab", 6))
        for (const std::wstring& p : AllWords(L"ab*?", 5))
            inputs.emplace_back(t, p);
    const size_t nAll = inputs.size();
    ASSERT_EQ((size_t)127 * 1365, nAll);
    std::mt19937 rng(20240611u);
    for (int round = 0; round < 200000; ++round) {
        std::wstring t(rng() % 13, L'a'), p;
        for (wchar_t& ch : t)
            ch = L"abc"[rng() % 3];
        // Patterns built from the text itself match far more often than random ones.
        for (size_t i = 0; round % 2 == 0 && i < t.size(); ++i) {
            const unsigned r = rng() % 6;
            if (r != 2)
                p += r == 0 ? L'?' : r == 1 ? L'*' : t[i];
        }
        for (size_t n = round % 2 ? rng() % 11 : 0; n > 0; --n)
            p += L"abc**??"[rng() % 7];
        inputs.emplace_back(t, p);
    }
    MatchProbe probe;
    size_t mismatches = 0, matched = 0;
    for (const auto& in : inputs) {
        const bool expected = ReferenceMatch(in.first.c_str(), in.second.c_str());
        const bool viaHelper = probe.MatchHelper(in.first.c_str(), in.second.c_str()) != FALSE;
        const bool viaMatches =
            CStringEx(CString(in.first.c_str())).Matches(CString(in.second.c_str())) != FALSE;
        matched += expected && &in - inputs.data() >= (ptrdiff_t)nAll;
        if ((viaHelper != expected || viaMatches != expected) && ++mismatches <= 10) {
            ADD_FAILURE() << "\"" << Narrow(in.first.c_str()) << "\" against \""
                          << Narrow(in.second.c_str()) << "\": rule says " << expected
                          << ", MatchHelper " << viaHelper << ", Matches " << viaMatches;
        }
    }
    EXPECT_EQ(0u, mismatches);
    // Both answers must have come up a fair number of times among the random inputs.
    EXPECT_GT(matched, 20000u);
    EXPECT_LT(matched, 180000u);
}

// Inputs the recursive rule could not finish (a million frames, or 2^50 paths) still
// give their answers.
TEST(CStringExMatch, HugeTextsAndManyStarsFinish)
{
    const int kLength = 1000000;
    CStringEx text(CString(L'a', kLength));
    text.SetAt(kLength - 1, L'b');
    CString stars;
    for (int i = 0; i < 49; ++i)
        stars += L"*a";
    // A text and a pattern of the same million units, compared unit by unit.
    CString same(text), joker(text), other(text);
    joker.SetAt(kLength / 2, L'?');
    other.SetAt(kLength / 2, L'x');
    // Fifty stars, the last one before a unit the text ends with or lacks.
    const CString fiftyStars = stars + L"*a", a56(L'a', 56), a50(L'a', 50), a49(L'a', 49);
    const struct
    {
        CString text, pattern;
        bool expected;
    } cases[] = {{text, L"*b", true},           {text, L"a*a*b", true},
                 {text, L"a?*aab", true},       {text, L"*c", false},
                 {text, L"*ba", false},         {text, L"*aaaaaaaaaaaaaaaaaaaac", false},
                 {text, same, true},            {text, joker, true},
                 {text, other, false},          {text, stars + L"*b", true},
                 {text, stars + L"*c", false},  {text, fiftyStars, false},
                 {a56, fiftyStars, true},       {a56, fiftyStars + L"b", false},
                 {a49, fiftyStars, false},      {a50, fiftyStars, true}};
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, CStringEx(c.text).Matches(c.pattern) != FALSE) << "row " << (&c - cases);
}
