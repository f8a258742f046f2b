// Tests of CStringEx: assignment and widening, texts loaded by id, formatting, number
// conversions, backward search, counting, path joining and wildcard matching.
#include <Wivo.h>

#include <gtest/gtest.h>

#include <float.h>
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

std::string N(const CString& s)
{
    return Narrow(s);
}

// A CString holding exactly these units, embedded zeros included.
CString Units(const wchar_t* units, int count)
{
    return CString(units, count);
}

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
    if (*pattern == 0)
        return *text == 0;
    if (*pattern == L'*') {
        if (ReferenceMatch(text, pattern + 1))
            return true;
        return *text != 0 && ReferenceMatch(text + 1, pattern);
    }
    if (*text == 0)
        return false;
    if (*pattern != L'?' && *pattern != *text)
        return false;
    return ReferenceMatch(text + 1, pattern + 1);
}

// Every word of length 0..maxLen over the alphabet.
std::vector<std::wstring> AllWords(const std::wstring& alphabet, size_t maxLen)
{
    std::vector<std::wstring> words(1);
    for (size_t begin = 0; begin < words.size(); ++begin) {
        if (words[begin].size() == maxLen)
            continue;
        for (wchar_t ch : alphabet)
            words.push_back(words[begin] + ch);
    }
    return words;
}

} // namespace

static_assert(sizeof(CStringEx) == sizeof(CString), "CStringEx must add no data");
static_assert(!std::is_polymorphic<CStringEx>::value, "CStringEx must add no virtuals");
static_assert(std::is_base_of<CString, CStringEx>::value, "CStringEx is a CString");

/////////////////////////////////////////////////////////////////////////////
// Construction, assignment, appending

TEST(CStringExAssign, CopiesShareTheBuffer)
{
    CString source(L"shared");
    CStringEx fromString(source);
    CStringEx fromEx(fromString);
    CStringEx assigned;
    assigned = fromEx;
    CStringEx assignedString;
    assignedString = source;
    EXPECT_EQ(static_cast<LPCTSTR>(source), static_cast<LPCTSTR>(fromString));
    EXPECT_EQ(static_cast<LPCTSTR>(source), static_cast<LPCTSTR>(fromEx));
    EXPECT_EQ(static_cast<LPCTSTR>(source), static_cast<LPCTSTR>(assigned));
    EXPECT_EQ(static_cast<LPCTSTR>(source), static_cast<LPCTSTR>(assignedString));
    EXPECT_TRUE(CStringEx().IsEmpty());

    // A CStringEx is a CString wherever one is wanted.
    CString back = assigned;
    EXPECT_STREQ(L"shared", back);

    // Appending to itself must survive the buffer it reads from being grown.
    CStringEx s(CString(L"abc"));
    EXPECT_EQ(&s, &(s += s));
    EXPECT_STREQ(L"abcabc", s);
}

TEST(CStringExAssign, CharIsWidenedAsSignedByte)
{
    struct Case { unsigned char byte; wchar_t unit; };
    const Case cases[] = {
        { 0x41, 0x0041 }, { 0x7F, 0x007F }, { 0x80, 0xFF80 },
        { 0xE4, 0xFFE4 }, { 0xFF, 0xFFFF }, { 0x01, 0x0001 },
    };
    for (const Case& c : cases) {
        CStringEx s(CString(L"old text"));
        s = (char)c.byte;
        ASSERT_EQ(1, s.GetLength()) << "byte 0x" << std::hex << (int)c.byte;
        EXPECT_EQ((int)c.unit, (int)s[0]) << "byte 0x" << std::hex << (int)c.byte;

        CStringEx t(CString(L"x"));
        t += (char)c.byte;
        ASSERT_EQ(2, t.GetLength()) << "byte 0x" << std::hex << (int)c.byte;
        EXPECT_EQ(L'x', t[0]);
        EXPECT_EQ((int)c.unit, (int)t[1]) << "byte 0x" << std::hex << (int)c.byte;
    }
}

TEST(CStringExAssign, EveryFormAssignsOrAppendsAndReturnsItself)
{
    CStringEx s;
    EXPECT_EQ(&s, &(s = L'w'));
    EXPECT_STREQ(L"w", s);
    EXPECT_EQ(&s, &(s = L"wide text"));
    EXPECT_STREQ(L"wide text", s);
    EXPECT_EQ(&s, &(s = "narrow text"));
    EXPECT_STREQ(L"narrow text", s);
    const unsigned char bytes[] = "unsigned bytes";
    EXPECT_EQ(&s, &(s = bytes));
    EXPECT_STREQ(L"unsigned bytes", s);
    EXPECT_EQ(&s, &(s = CString(L"from CString")));
    EXPECT_STREQ(L"from CString", s);
    CStringEx other(CString(L"from CStringEx"));
    EXPECT_EQ(&s, &(s = other));
    EXPECT_STREQ(L"from CStringEx", s);
    EXPECT_EQ(&s, &(s = s));
    EXPECT_STREQ(L"from CStringEx", s);
    EXPECT_EQ(&s, &(s += CString(L"|ab")));
    EXPECT_EQ(&s, &(s += L"cd"));
    EXPECT_EQ(&s, &(s += L'e'));
    EXPECT_EQ(&s, &(s += 'f'));
    EXPECT_STREQ(L"from CStringEx|abcdef", s);

    // A narrow text with a non-ASCII byte goes through the ANSI code page, as CString's.
    CStringEx ansi;
    ansi = "\xE4";
    EXPECT_STREQ(CString("\xE4"), ansi);
    EXPECT_NE(0xFFE4, (int)ansi[0]);
}

/////////////////////////////////////////////////////////////////////////////
// Loading and formatting

TEST(CStringExLoad, LibraryTextsByIdAlongTheResourceChain)
{
    struct Case { UINT id; const wchar_t* text; };
    const Case cases[] = {
        { IDS_YES, L"Ja" },
        { IDS_NO, L"Nein" },
        { IDS_UNKNOWN, L"(Unbekannt)" },
        { IDS_WITH, L" mit " },
        { IDS_READING_RECORDS, L"Lese Datens\x00E4tze..." },
        { IDS_MORE_FILES, L"Weitere Dateien..." },
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.text, CStringEx::LoadString(c.id)) << "id " << c.id;
}

TEST(CStringExLoad, UnknownIdGivesEmptyText)
{
    // Ids that neither the library, the framework nor this program define.
    const UINT ids[] = { 1, 27999, 53247, 53842, 65535 };
    for (UINT id : ids)
        EXPECT_STREQ(L"", CStringEx::LoadString(id)) << "id " << id;
}

TEST(CStringExFormat, FormatByIdLoadsTheFormatFirst)
{
    EXPECT_STREQ(L"3 Min 7 Sek", CStringEx::Format((UINT)IDS_PROGRESS_MINUTES, 3u, 7u));
    EXPECT_STREQ(L"1 Tag(e) 2 Stunde(n) 3 Min 4 Sek",
                 CStringEx::Format((UINT)IDS_PROGRESS_DAYS, 1u, 2u, 3u, 4u));
    EXPECT_STREQ(L"Alle Text Dokumente", CStringEx::Format((UINT)IDS_ALL_DOCUMENTS, L"Text"));
    EXPECT_STREQ(L"", CStringEx::Format(27999u, 5, L"ignored"));
}

TEST(CStringExFormat, PlatformWidePrintfRules)
{
    struct Case { CString actual; const wchar_t* expected; };
    const Case cases[] = {
        { CStringEx::Format(L"%s=%d", L"wide", -5), L"wide=-5" },
        { CStringEx::Format(L"%u|%ld|%lu", 4000000000u, -7L, 4294967295UL),
          L"4000000000|-7|4294967295" },
        { CStringEx::Format(L"%lf", 0.25), L"0.250000" },
        { CStringEx::Format(L"[%5s][%-3d]", L"ab", 1), L"[   ab][1  ]" },
        { CStringEx::Format(L"%S", "narrow"), L"narrow" },
        { CStringEx::Format(L"100%%"), L"100%" },
        { CStringEx::Format(L""), L"" },
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.expected, c.actual);
}

/////////////////////////////////////////////////////////////////////////////
// Number to text and back

TEST(CStringExStr, EachOverloadUsesItsFormat)
{
    struct Case { CString actual; const wchar_t* expected; };
    const Case cases[] = {
        { CStringEx::Str(-42), L"-42" },
        { CStringEx::Str(0), L"0" },
        { CStringEx::Str(INT_MIN), L"-2147483648" },
        { CStringEx::Str(4000000000u), L"4000000000" },
        { CStringEx::Str(-7L), L"-7" },
        { CStringEx::Str(LONG_MAX), L"2147483647" },
        { CStringEx::Str((DWORD)4294967295UL), L"4294967295" },
        { CStringEx::Str(1.5), L"1.500000" },
        { CStringEx::Str(-2.25), L"-2.250000" },
        { CStringEx::Str(0.0), L"0.000000" },
        { CStringEx::Str(1.0 / 3.0), L"0.333333" },
        { CStringEx::Str(2.0 / 3.0), L"0.666667" },
        { CStringEx::Str(1e6), L"1000000.000000" },
        { CStringEx::Str(2.5e-7), L"0.000000" },
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.expected, c.actual);
}

TEST(CStringExVal, SignedConversionsClampThenNarrow)
{
    struct Case { const wchar_t* text; UINT base; long asLong; int asInt; short asShort; };
    const Case cases[] = {
        { L"0x1F", 0, 31, 31, 31 },
        { L"010", 0, 8, 8, 8 },
        { L"08", 0, 0, 0, 0 },
        { L"12abc", 0, 12, 12, 12 },
        { L"abc", 0, 0, 0, 0 },
        { L"", 0, 0, 0, 0 },
        { L"  -42", 0, -42, -42, -42 },
        { L"+7", 0, 7, 7, 7 },
        { L"ff", 16, 255, 255, 255 },
        { L"0xff", 16, 255, 255, 255 },
        { L"777", 8, 511, 511, 511 },
        { L"1010", 2, 10, 10, 10 },
        { L"z", 36, 35, 35, 35 },
        { L"40000", 0, 40000, 40000, -25536 },
        { L"-32769", 0, -32769, -32769, 32767 },
        { L"2147483647", 0, LONG_MAX, INT_MAX, -1 },
        { L"99999999999", 0, LONG_MAX, INT_MAX, -1 },
        { L"-99999999999", 0, LONG_MIN, INT_MIN, 0 },
        // Bases the C library refuses convert to nothing.
        { L"12", 1, 0, 0, 0 },
        { L"12", 37, 0, 0, 0 },
        { L"12", 0xFFFFFFFF, 0, 0, 0 },
    };
    for (const Case& c : cases) {
        CString text(c.text);
        EXPECT_EQ(c.asLong, CStringEx::ValLong(text, c.base)) << N(text) << " base " << c.base;
        EXPECT_EQ(c.asInt, CStringEx::ValInt(text, c.base)) << N(text) << " base " << c.base;
        EXPECT_EQ(c.asShort, CStringEx::ValShort(text, c.base)) << N(text) << " base " << c.base;
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
        { L"300", 0, 300, 300, 44 },
        { L"70000", 0, 70000, 4464, 112 },
        { L"-1", 0, 4294967295UL, 0xFFFF, 0xFF },
        { L"0xFFFFFFFF", 0, 4294967295UL, 0xFFFF, 0xFF },
        { L"0x12345", 0, 0x12345, 0x2345, 0x45 },
        { L"99999999999", 0, 4294967295UL, 0xFFFF, 0xFF },
        { L"4294967296", 0, 4294967295UL, 0xFFFF, 0xFF },
        { L"017", 0, 15, 15, 15 },
        { L"17", 10, 17, 17, 17 },
        { L"x", 0, 0, 0, 0 },
        { L"12", 40, 0, 0, 0 },
    };
    for (const Case& c : cases) {
        CString text(c.text);
        EXPECT_EQ(c.asDWord, CStringEx::ValDWord(text, c.base)) << N(text) << " base " << c.base;
        EXPECT_EQ((UINT)c.asDWord, CStringEx::ValUInt(text, c.base)) << N(text) << " base " << c.base;
        EXPECT_EQ(c.asWord, CStringEx::ValWord(text, c.base)) << N(text) << " base " << c.base;
        EXPECT_EQ(c.asByte, CStringEx::ValByte(text, c.base)) << N(text) << " base " << c.base;
    }
    EXPECT_EQ(4294967295U, CStringEx::ValUInt(CString(L"-1")));
    EXPECT_EQ(4464, CStringEx::ValWord(CString(L"70000")));
    EXPECT_EQ(44, CStringEx::ValByte(CString(L"300")));
}

TEST(CStringExVal, ConversionStopsAtTheFirstZeroUnit)
{
    const wchar_t units[] = { L'1', L'2', 0, L'3', L'4' };
    CString text = Units(units, 5);
    ASSERT_EQ(5, text.GetLength());
    EXPECT_EQ(12, CStringEx::ValInt(text));
    EXPECT_EQ(12U, CStringEx::ValUInt(text));
    EXPECT_EQ(12.0, CStringEx::ValDouble(text));
}

TEST(CStringExVal, FloatingPoint)
{
    struct Case { const wchar_t* text; double value; };
    const Case cases[] = {
        { L"1.5", 1.5 },
        { L"  -2.25e2xyz", -225.0 },
        { L".5", 0.5 },
        { L"1,5", 1.0 },
        { L"abc", 0.0 },
        { L"", 0.0 },
        { L"1e-3", 0.001 },
        // The platform's conversion knows no hexadecimal or infinity texts.
        { L"0x10", 0.0 },
        { L"inf", 0.0 },
    };
    for (const Case& c : cases) {
        CString text(c.text);
        EXPECT_DOUBLE_EQ(c.value, CStringEx::ValDouble(text)) << N(text);
        EXPECT_FLOAT_EQ((float)c.value, CStringEx::ValFloat(text)) << N(text);
    }
    // Rounded to float, not truncated digits.
    EXPECT_EQ(0.1f, CStringEx::ValFloat(CString(L"0.1")));
    EXPECT_NE(0.1, (double)CStringEx::ValFloat(CString(L"0.1")));
    EXPECT_EQ(0.1, CStringEx::ValDouble(CString(L"0.1")));
    EXPECT_EQ(HUGE_VAL, CStringEx::ValDouble(CString(L"1e400")));
    EXPECT_EQ(-HUGE_VAL, CStringEx::ValDouble(CString(L"-1e400")));
}

/////////////////////////////////////////////////////////////////////////////
// Case and order

TEST(CStringExCase, CopiesChangeAndArgumentsStay)
{
    const CString original(L"Mixed Case 123");
    EXPECT_STREQ(L"mixed case 123", CStringEx::ToLower(original));
    EXPECT_STREQ(L"MIXED CASE 123", CStringEx::ToUpper(original));
    EXPECT_STREQ(L"321 esaC dexiM", CStringEx::Reverse(original));
    EXPECT_STREQ(L"Mixed Case 123", original);
    EXPECT_STREQ(L"", CStringEx::ToLower(CString()));
    EXPECT_STREQ(L"", CStringEx::Reverse(CString()));
    EXPECT_STREQ(L"a", CStringEx::Reverse(CString(L"a")));
}

/////////////////////////////////////////////////////////////////////////////
// Backward search

// One table for both searches: exact is ReverseFind's answer, noCase ReverseFindNoCase's.
TEST(CStringExSearch, ReverseFindTable)
{
    struct Case { const wchar_t* text; const wchar_t* sub; int start; int exact; int noCase; };
    const Case cases[] = {
        { L"abcb", L"b", -1, 3, 3 },
        { L"abcb", L"b", 2, 1, 1 },
        { L"abcb", L"b", 1, 1, 1 },
        { L"abcb", L"b", 0, -1, -1 },
        { L"abcb", L"b", 4, 3, 3 },      // past the last position: from the end
        { L"abcb", L"b", -7, 3, 3 },
        { L"abcb", L"B", -1, -1, 3 },    // case matters only to ReverseFind
        { L"abcb", L"B", 2, -1, 1 },
        { L"ABCB", L"b", -1, -1, 3 },
        { L"aBcB", L"Bc", -1, 1, 1 },
        { L"Hello World", L"WORLD", -1, -1, 6 },
        { L"Hello World", L"O", 5, -1, 4 },
        { L"abc", L"", -1, 2, 2 },       // empty sub: the last unit, not past it
        { L"abc", L"", 1, 1, 1 },
        { L"abc", L"", 0, 0, 0 },
        { L"abc", L"", 3, 2, 2 },
        { L"", L"", -1, 0, 0 },
        { L"", L"", 5, 0, 0 },
        { L"", L"x", -1, -1, -1 },
        { L"", L"x", 0, -1, -1 },
        { L"abc", L"abcd", -1, -1, -1 },
        { L"abc", L"abcd", 0, -1, -1 },
        { L"abc", L"abc", -1, 0, 0 },
        { L"abcabc", L"abc", -1, 3, 3 },
        { L"abcabc", L"abc", 2, 0, 0 },
        { L"abcabc", L"abc", 3, 3, 3 },
        { L"abcabc", L"abc", 4, 3, 3 },  // 4 > last (3): from the end
        { L"aaa", L"aa", -1, 1, 1 },
        { L"aaa", L"aa", 0, 0, 0 },
        { L"ab", L"a", -1, 0, 0 },
    };
    for (const Case& c : cases) {
        CStringEx text(CString(c.text));
        CString sub(c.sub);
        const std::string where = "\"" + N(text) + "\" sub \"" + N(sub) + "\" start ";
        EXPECT_EQ(c.exact, text.ReverseFind(sub, c.start)) << where << c.start;
        EXPECT_EQ(c.noCase, text.ReverseFindNoCase(sub, c.start)) << where << c.start << " no case";
        if (c.start == -1) {
            EXPECT_EQ(c.exact, text.ReverseFind(sub)) << where << "default";
            EXPECT_EQ(c.noCase, text.ReverseFindNoCase(sub)) << where << "default, no case";
        }
    }
    // Neither string is changed by the search.
    CStringEx text(CString(L"MiXeD"));
    CString sub(L"XeD");
    EXPECT_EQ(2, text.ReverseFindNoCase(sub));
    EXPECT_STREQ(L"MiXeD", text);
    EXPECT_STREQ(L"XeD", sub);
}

TEST(CStringExSearch, ReverseFindCountsEmbeddedZerosInTheLength)
{
    // "ab\0ab": the length is 5, so the search starts at position 3.
    const wchar_t units[] = { L'a', L'b', 0, L'a', L'b' };
    CStringEx text(Units(units, 5));
    EXPECT_EQ(3, text.ReverseFind(CString(L"ab")));
    EXPECT_EQ(0, text.ReverseFind(CString(L"ab"), 2));
    EXPECT_EQ(4, text.ReverseFind(CString()));
}

TEST(CStringExCount, CountsUpToTheFirstZeroUnit)
{
    struct Case { const wchar_t* text; wchar_t ch; int expected; };
    const Case cases[] = {
        { L"a,b,,c", L',', 3 },
        { L"a,b,,c", L'a', 1 },
        { L"a,b,,c", L'x', 0 },
        { L"", L'a', 0 },
        { L"", 0, 0 },
        { L"aaaa", L'a', 4 },
        { L"aAaA", L'A', 2 },
        { L"abc", 0, 0 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, CStringEx(CString(c.text)).CountChar(c.ch))
            << "\"" << N(CString(c.text)) << "\" ch " << (int)c.ch;

    const wchar_t units[] = { L'a', L'b', 0, L'a', L'a' };
    CStringEx text(Units(units, 5));
    EXPECT_EQ(1, text.CountChar(L'a'));
    EXPECT_EQ(0, text.CountChar(0));
}

/////////////////////////////////////////////////////////////////////////////
// Paths

TEST(CStringExPath, ConcatPathTable)
{
    struct Case { const wchar_t* base; const wchar_t* part; const wchar_t* expected; };
    const Case cases[] = {
        { L"C:\\dir", L"file", L"C:\\dir\\file" },
        { L"C:\\dir\\", L"file", L"C:\\dir\\file" },
        { L"C:\\dir", L"\\file", L"C:\\dir\\file" },
        { L"C:\\dir\\", L"\\file", L"C:\\dir\\\\file" },   // nothing is removed
        { L"", L"file", L"file" },
        { L"", L"\\file", L"\\file" },
        { L"", L"", L"" },
        { L"C:\\dir", L"", L"C:\\dir\\" },
        { L"C:\\dir\\", L"", L"C:\\dir\\" },
        { L"\\", L"x", L"\\x" },
        { L"a", L"b\\c", L"a\\b\\c" },
        { L"C:/dir", L"file", L"C:/dir\\file" },          // only backslashes count
        { L"C:\\dir", L"/file", L"C:\\dir\\/file" },
    };
    for (const Case& c : cases) {
        CStringEx base(CString(c.base));
        EXPECT_STREQ(c.expected, base.ConcatPath(CString(c.part)))
            << "\"" << N(CString(c.base)) << "\" + \"" << N(CString(c.part)) << "\"";
        EXPECT_STREQ(c.base, base) << "ConcatPath changed its object";
    }
}

/////////////////////////////////////////////////////////////////////////////
// Wildcard patterns

// Short texts over "ab" are all checked against the rule below; these rows hold the rest.
TEST(CStringExMatch, PatternTable)
{
    struct Case { const wchar_t* text; const wchar_t* pattern; bool expected; };
    const Case cases[] = {
        { L"readme.txt", L"*.txt", true },
        { L"readme.txt", L"read??.txt", true },
        { L"readme.txt", L"*", true },
        { L"readme.txt", L"*.TXT", false },
        { L"readme.txt", L"readme.txt", true },
        { L"readme.txt", L"readme.tx", false },
        { L"readme.txt", L"readme.txt?", false },
        { L"readme.txt", L"read?.txt", false },
        { L"readme.txt", L"*.txt*", true },
        { L"readme.txt", L"r*e*e*t", true },
        { L"abc", L"???", true },
        { L"abcd", L"???", false },
        { L"abc", L"a*c", true },
        { L"abcbc", L"a*bc", true },
        { L"abcbd", L"a*bc", false },
        { L"mississippi", L"m*iss*ppi", true },
        { L"mississippi", L"m*iss*ppx", false },
        { L"mississippi", L"*s*s*s*s*", true },
        { L"mississippi", L"*s*s*s*s*s*", false },
        { L"a*b", L"a*b", true },     // a star in the text is just a unit
        { L"a?b", L"a\\?b", false },  // and there is no escape
        { L"axb", L"a?b", true },
        { L"axyb", L"a?*b", true },
        { L"x", L"*?", true },
    };
    for (const Case& c : cases) {
        CStringEx text(CString(c.text));
        EXPECT_EQ(c.expected, text.Matches(CString(c.pattern)) != FALSE)
            << "\"" << N(CString(c.text)) << "\" against \"" << N(CString(c.pattern)) << "\"";
    }
}

TEST(CStringExMatch, TextAndPatternEndAtTheFirstZeroUnit)
{
    const wchar_t textUnits[] = { L'a', L'b', 0, L'c', L'd' };
    CStringEx text(Units(textUnits, 5));
    EXPECT_TRUE(text.Matches(CString(L"ab")));
    EXPECT_FALSE(text.Matches(CString(L"ab?*")));
    EXPECT_FALSE(text.Matches(CString(L"*d")));

    const wchar_t patternUnits[] = { L'a', L'*', 0, L'x' };
    CStringEx plain(CString(L"abc"));
    EXPECT_TRUE(plain.Matches(Units(patternUnits, 4)));
}

TEST(CStringExMatch, HelperTakesRawTextsAndNullAsEmpty)
{
    MatchProbe probe;
    EXPECT_TRUE(probe.MatchHelper(L"abc", L"a*"));
    EXPECT_FALSE(probe.MatchHelper(L"abc", L"b*"));
    EXPECT_TRUE(probe.MatchHelper(NULL, NULL));
    EXPECT_TRUE(probe.MatchHelper(NULL, L"*"));
    EXPECT_FALSE(probe.MatchHelper(NULL, L"?"));
    EXPECT_TRUE(probe.MatchHelper(L"", NULL));
    EXPECT_FALSE(probe.MatchHelper(L"x", NULL));
}

// Every pair of a short text and a short pattern gets the answer of the rule as written.
TEST(CStringExMatch, AgreesWithTheRecursiveRuleOnAllSmallInputs)
{
    const std::vector<std::wstring> texts = AllWords(L"ab", 6);
    const std::vector<std::wstring> patterns = AllWords(L"ab*?", 5);
    MatchProbe probe;
    int mismatches = 0;
    size_t checked = 0;
    for (const std::wstring& t : texts) {
        for (const std::wstring& p : patterns) {
            bool expected = ReferenceMatch(t.c_str(), p.c_str());
            bool viaHelper = probe.MatchHelper(t.c_str(), p.c_str()) != FALSE;
            bool viaMatches = CStringEx(CString(t.c_str())).Matches(CString(p.c_str())) != FALSE;
            ++checked;
            if ((viaHelper != expected || viaMatches != expected) && ++mismatches <= 10) {
                ADD_FAILURE() << "\"" << N(t.c_str()) << "\" against \"" << N(p.c_str())
                              << "\": rule says " << expected << ", MatchHelper " << viaHelper
                              << ", Matches " << viaMatches;
            }
        }
    }
    EXPECT_EQ(0, mismatches);
    EXPECT_EQ((size_t)127 * 1365, checked);
}

TEST(CStringExMatch, AgreesWithTheRecursiveRuleOnRandomInputs)
{
    std::mt19937 rng(20240611u);
    const wchar_t textAlphabet[] = L"abc";
    const wchar_t patternAlphabet[] = L"abc**??";
    MatchProbe probe;
    int mismatches = 0;
    int matched = 0;
    const int kRounds = 200000;
    for (int round = 0; round < kRounds; ++round) {
        std::wstring t, p;
        size_t textLen = rng() % 13;
        size_t patternLen = rng() % 11;
        for (size_t i = 0; i < textLen; ++i)
            t += textAlphabet[rng() % 3];
        for (size_t i = 0; i < patternLen; ++i)
            p += patternAlphabet[rng() % 7];
        // Patterns built from the text itself match far more often than random ones.
        if (round % 2 == 0 && !t.empty()) {
            p.clear();
            for (wchar_t ch : t) {
                unsigned r = rng() % 6;
                if (r == 0)
                    p += L'?';
                else if (r == 1)
                    p += L'*';
                else if (r == 2)
                    continue;
                else
                    p += ch;
            }
        }
        bool expected = ReferenceMatch(t.c_str(), p.c_str());
        bool actual = probe.MatchHelper(t.c_str(), p.c_str()) != FALSE;
        matched += expected ? 1 : 0;
        if (actual != expected && ++mismatches <= 10) {
            ADD_FAILURE() << "\"" << N(t.c_str()) << "\" against \"" << N(p.c_str())
                          << "\": rule says " << expected << ", MatchHelper " << actual;
        }
    }
    EXPECT_EQ(0, mismatches);
    // Both answers must have been exercised a fair number of times.
    EXPECT_GT(matched, kRounds / 10);
    EXPECT_LT(matched, kRounds - kRounds / 10);
}

// Inputs the recursive rule could not finish (a million frames, or 2^50 paths) still
// give their answers.
TEST(CStringExMatch, HugeTextsAndManyStarsFinish)
{
    const int kLength = 1000000;
    CStringEx text;
    LPTSTR p = text.GetBuffer(kLength);
    for (int i = 0; i < kLength - 1; ++i)
        p[i] = L'a';
    p[kLength - 1] = L'b';
    text.ReleaseBuffer(kLength);
    ASSERT_EQ(kLength, text.GetLength());

    EXPECT_TRUE(text.Matches(CString(L"*b")));
    EXPECT_TRUE(text.Matches(CString(L"a*a*b")));
    EXPECT_TRUE(text.Matches(CString(L"a?*aab")));
    EXPECT_FALSE(text.Matches(CString(L"*c")));
    EXPECT_FALSE(text.Matches(CString(L"*ba")));
    EXPECT_FALSE(text.Matches(CString(L"*aaaaaaaaaaaaaaaaaaaac")));

    // A text and a pattern of the same million units, compared unit by unit.
    EXPECT_TRUE(text.Matches(text));
    CString longPattern(text);
    longPattern.SetAt(kLength / 2, L'?');
    EXPECT_TRUE(text.Matches(longPattern));
    longPattern.SetAt(kLength / 2, L'x');
    EXPECT_FALSE(text.Matches(longPattern));

    // Fifty stars, the last one before a unit the text ends with or lacks.
    CString stars;
    for (int i = 0; i < 49; ++i)
        stars += L"*a";
    EXPECT_TRUE(text.Matches(stars + L"*b"));
    EXPECT_FALSE(text.Matches(stars + L"*c"));
    EXPECT_FALSE(text.Matches(stars + L"*a"));

    CString fiftyStars = stars + L"*a";
    CStringEx shortText(CString(L'a', 56));
    EXPECT_TRUE(shortText.Matches(fiftyStars));
    EXPECT_FALSE(shortText.Matches(fiftyStars + L"b"));
    EXPECT_FALSE(CStringEx(CString(L'a', 49)).Matches(fiftyStars));
    EXPECT_TRUE(CStringEx(CString(L'a', 50)).Matches(fiftyStars));
}
