// Tests of CStringTokenizer: splitting, quoting, counting, restarting, copies.
#include <gtest/gtest.h>

#include "StringTokenizer.h"
#include "TestSupport.h"

#include <string>
#include <vector>

using wivotest::Narrow;

namespace {

// Hands out the tokens left, checking the counters on the way.
std::vector<std::string> Drain(CStringTokenizer& tok)
{
    std::vector<std::string> tokens;
    const UINT total = tok.GetTokenCount(), left = tok.GetRemainingTokenCount();
    while (tok.HasMoreTokens() && tokens.size() <= left) {
        EXPECT_EQ(left - tokens.size(), tok.GetRemainingTokenCount());
        tokens.push_back(Narrow(tok.GetNextToken()));
    }
    // Exhausted: empty strings, nothing moves.
    EXPECT_EQ("", Narrow(tok.GetNextToken()));
    EXPECT_EQ(0u, tok.GetRemainingTokenCount());
    EXPECT_EQ(total, tok.GetTokenCount());
    return tokens;
}

TEST(StringTokenizerTest, SplitsAsTable)
{
    const struct
    {
        CString text, separators;
        std::vector<std::string> tokens;
    } cases[] = {
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
        // The walk stops at a zero unit, whatever the recorded length.
        {CString(L"a,\0,b", 5), L",", {"a", ""}},
        {CString(L"\0abc", 4), L",", {""}},
    };
    for (const auto& c : cases) {
        CStringTokenizer tok(c.text, c.separators);
        EXPECT_EQ(c.tokens.size(), tok.GetTokenCount()) << Narrow(c.text);
        EXPECT_EQ(c.tokens, Drain(tok)) << Narrow(c.text) << " split at " << Narrow(c.separators);
    }
    CStringTokenizer single(CString(L"1.2.3"), L'.');
    EXPECT_EQ("1.2.3", Narrow(single.GetString()));
    EXPECT_EQ(".", Narrow(single.GetSeparators()));
    EXPECT_EQ((std::vector<std::string>{"1", "2", "3"}), Drain(single));
}

TEST(StringTokenizerTest, RestartsAndCopies)
{
    CStringTokenizer tok(CString(L"a,b;c,d"), L',');
    EXPECT_EQ("a", Narrow(tok.GetNextToken()));
    EXPECT_EQ("b;c", Narrow(tok.GetNextToken()));
    tok.SetSeparators(CString(L";"));
    EXPECT_EQ(";", Narrow(tok.GetSeparators()));
    EXPECT_EQ((std::vector<std::string>{"a,b", "c,d"}), Drain(tok));
    // Restarting from the exhausted state.
    tok.SetString(CString(L"x;y;z"));
    EXPECT_EQ(3u, tok.GetRemainingTokenCount());
    EXPECT_EQ("x", Narrow(tok.GetNextToken()));
    tok.SetString(CString());
    EXPECT_FALSE(tok.HasMoreTokens());

    // Copies continue independently.
    CStringTokenizer source(CString(L"a,b,c"), L',');
    EXPECT_EQ("a", Narrow(source.GetNextToken()));
    CStringTokenizer copy(source);
    EXPECT_EQ((std::vector<std::string>{"b", "c"}), Drain(copy));
    EXPECT_EQ(2u, source.GetRemainingTokenCount());
    EXPECT_EQ("b", Narrow(source.GetNextToken()));
    CStringTokenizer assigned(CString(L"p;q"), L';');
    assigned = source;
    EXPECT_EQ("a,b,c", Narrow(assigned.GetString()));
    EXPECT_EQ(",", Narrow(assigned.GetSeparators()));
    EXPECT_EQ((std::vector<std::string>{"c"}), Drain(assigned));
    EXPECT_EQ("c", Narrow(source.GetNextToken()));
}

} // namespace
