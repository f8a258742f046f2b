// Tests of CStringTokenizer: splitting, quoting, counting, restarting, copies.
#include <gtest/gtest.h>

#include "StringTokenizer.h"
#include "TestSupport.h"

#include <string>
#include <vector>

using wivotest::Narrow;

namespace {

// Hands out every token, checking the counters on the way.
std::vector<std::string> Drain(CStringTokenizer& tok)
{
    std::vector<std::string> tokens;
    const UINT total = tok.GetTokenCount();
    while (tok.HasMoreTokens()) {
        EXPECT_EQ(total - tokens.size(), tok.GetRemainingTokenCount());
        tokens.push_back(Narrow(tok.GetNextToken()));
        if (tokens.size() > total)
            break;
    }
    EXPECT_EQ(0u, tok.GetRemainingTokenCount());
    // Exhausted: empty strings, nothing moves.
    EXPECT_EQ("", Narrow(tok.GetNextToken()));
    EXPECT_EQ(0u, tok.GetRemainingTokenCount());
    EXPECT_EQ(total, tok.GetTokenCount());
    return tokens;
}

struct SplitCase {
    const wchar_t* text;
    const wchar_t* separators;
    std::vector<std::string> tokens;
};

const SplitCase kSplitCases[] = {
    {L"a,b,c", L",", {"a", "b", "c"}},
    {L"a,,b", L",", {"a", "", "b"}},
    {L",a", L",", {"", "a"}},
    {L"a,", L",", {"a", ""}},
    {L",", L",", {"", ""}},
    {L",,", L",", {"", "", ""}},
    {L"", L",", {}},
    {L"abc", L",", {"abc"}},
    {L"a,b", L"", {"a,b"}},
    {L"a b;c", L"; ", {"a", "b", "c"}},
    // Quoted stretches do not split and keep their quotes.
    {L"\"x,y\",z", L",", {"\"x,y\"", "z"}},
    {L"a\"b,c\"d,e", L",", {"a\"b,c\"d", "e"}},
    {L"\"\",x", L",", {"\"\"", "x"}},
    {L"\"a\"b,\"c,d\"", L",", {"\"a\"b", "\"c,d\""}},
    // An unclosed quote protects the rest of the text.
    {L"\"x,y", L",", {"\"x,y"}},
    {L"a,\"b,c", L",", {"a", "\"b,c"}},
    {L"a,b\",c,d", L",", {"a", "b\",c,d"}},
    // A quote in the separator set separates.
    {L"a\"b\"c", L"\"", {"a", "b", "c"}},
    {L"\"x,y\",z", L",\"", {"", "x", "y", "", "z"}},
};

TEST(StringTokenizerTest, SplitsAsTable)
{
    for (const SplitCase& c : kSplitCases) {
        CStringTokenizer tok(CString(c.text), CString(c.separators));
        EXPECT_EQ(c.tokens.size(), tok.GetTokenCount()) << Narrow(c.text);
        EXPECT_EQ(c.tokens, Drain(tok)) << Narrow(c.text) << " split at " << Narrow(c.separators);
    }
}

TEST(StringTokenizerTest, SingleSeparatorConstructor)
{
    CStringTokenizer tok(CString(L"1.2.3"), L'.');
    EXPECT_EQ("1.2.3", Narrow(tok.GetString()));
    EXPECT_EQ(".", Narrow(tok.GetSeparators()));
    EXPECT_EQ((std::vector<std::string>{"1", "2", "3"}), Drain(tok));
}

TEST(StringTokenizerTest, ZeroUnitEndsTheText)
{
    // The walk stops at a zero unit, whatever the recorded length.
    CString text(L"a,\0,b", 5);
    ASSERT_EQ(5, text.GetLength());
    CStringTokenizer tok(text, L',');
    EXPECT_EQ((std::vector<std::string>{"a", ""}), Drain(tok));

    CString leading(L"\0abc", 4);
    ASSERT_EQ(4, leading.GetLength());
    CStringTokenizer tok2(leading, L',');
    EXPECT_EQ(1u, tok2.GetTokenCount());
    EXPECT_EQ("", Narrow(tok2.GetNextToken()));
    EXPECT_FALSE(tok2.HasMoreTokens());
}

TEST(StringTokenizerTest, SetSeparatorsAndSetStringRestart)
{
    CStringTokenizer tok(CString(L"a,b;c,d"), L',');
    EXPECT_EQ("a", Narrow(tok.GetNextToken()));
    EXPECT_EQ("b;c", Narrow(tok.GetNextToken()));
    tok.SetSeparators(CString(L";"));
    EXPECT_EQ(";", Narrow(tok.GetSeparators()));
    EXPECT_EQ(2u, tok.GetRemainingTokenCount());
    EXPECT_EQ("a,b", Narrow(tok.GetNextToken()));
    EXPECT_EQ("c,d", Narrow(tok.GetNextToken()));
    EXPECT_FALSE(tok.HasMoreTokens());

    // Restarting from the exhausted state.
    tok.SetString(CString(L"x;y;z"));
    EXPECT_EQ(3u, tok.GetRemainingTokenCount());
    EXPECT_EQ("x", Narrow(tok.GetNextToken()));
    tok.SetString(CString());
    EXPECT_FALSE(tok.HasMoreTokens());
    EXPECT_EQ("", Narrow(tok.GetNextToken()));
}

TEST(StringTokenizerTest, CopiesContinueIndependently)
{
    CStringTokenizer source(CString(L"a,b,c"), L',');
    EXPECT_EQ("a", Narrow(source.GetNextToken()));

    CStringTokenizer copy(source);
    EXPECT_EQ(2u, copy.GetRemainingTokenCount());
    EXPECT_EQ("b", Narrow(copy.GetNextToken()));
    EXPECT_EQ("c", Narrow(copy.GetNextToken()));
    // The source has not moved.
    EXPECT_EQ(2u, source.GetRemainingTokenCount());
    EXPECT_EQ("b", Narrow(source.GetNextToken()));

    CStringTokenizer assigned(CString(L"p;q"), L';');
    assigned = source;
    EXPECT_EQ("a,b,c", Narrow(assigned.GetString()));
    EXPECT_EQ(",", Narrow(assigned.GetSeparators()));
    EXPECT_EQ(1u, assigned.GetRemainingTokenCount());
    EXPECT_EQ("c", Narrow(assigned.GetNextToken()));
    EXPECT_FALSE(assigned.HasMoreTokens());
    EXPECT_EQ("c", Narrow(source.GetNextToken()));
}

} // namespace
