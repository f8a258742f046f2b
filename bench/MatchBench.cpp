// MatchBench - CStringEx::Matches against the plain recursive wildcard rule.
//
// The recursive rule lets each star take nothing, then one unit more at a time, so a
// pattern like "a*a*a*...*b" against a text of a's that lacks the final b costs about
// C(text length, stars) steps. Matches backtracks only to the last star. Both run in
// this process on the same inputs; the ratio printed is recursive time / Matches time.
// Where only Matches can finish (a million units, fifty stars) its time is printed alone.
//
//   MatchBench            full sizes
//   MatchBench --quick    small sizes, to check that it still builds, runs and agrees
#include <Wivo.h>

#include "Stopwatch.h"

#include <stdio.h>
#include <string.h>

namespace {

bool RecursiveMatch(const wchar_t* text, const wchar_t* pattern)
{
    if (*pattern == 0)
        return *text == 0;
    if (*pattern == L'*') {
        if (RecursiveMatch(text, pattern + 1))
            return true;
        return *text != 0 && RecursiveMatch(text + 1, pattern);
    }
    if (*text == 0)
        return false;
    if (*pattern != L'?' && *pattern != *text)
        return false;
    return RecursiveMatch(text + 1, pattern + 1);
}

// Seconds per call of f, repeated until at least minSeconds have passed; *pResult gets
// the answer of the last call.
template <class F>
double TimePerCall(F f, double minSeconds, bool* pResult)
{
    long calls = 0;
    Stopwatch watch;
    double elapsed;
    do {
        *pResult = f();
        ++calls;
        elapsed = watch.Seconds();
    } while (elapsed < minSeconds);
    return elapsed / (double)calls;
}

// "a*a*...*a*b" with the given number of stars.
CString StarPattern(int stars, wchar_t last)
{
    CString pattern(L'a', 1);
    for (int i = 0; i < stars; ++i) {
        pattern += L'*';
        pattern += (i + 1 < stars) ? L'a' : last;
    }
    return pattern;
}

void PrintMicroseconds(const char* label, double seconds)
{
    printf("%-44s %14.3f us\n", label, seconds * 1e6);
}

} // namespace

int main(int argc, char** argv)
{
    bool quick = argc > 1 && strcmp(argv[1], "--quick") == 0;
    const int firstStars = 6;
    const int lastStars = quick ? 8 : 14;
    const int textLength = quick ? 16 : 26;
    const int hugeLength = quick ? 10000 : 1000000;
    const double minSeconds = quick ? 0.01 : 0.3;
    int failures = 0;

    printf("Wildcard matching: recursive rule against CStringEx::Matches\n");
    printf("text: %d times 'a'; pattern: \"a*a*...*b\" (fails only at its last unit)\n\n",
           textLength);
    printf("%6s %16s %16s %12s\n", "stars", "recursive us", "Matches us", "ratio");

    CStringEx text(CString(L'a', textLength));
    for (int stars = firstStars; stars <= lastStars; stars += 2) {
        CString pattern = StarPattern(stars, L'b');
        bool recursiveResult = true, matchesResult = true;
        double recursive = TimePerCall(
            [&]() { return RecursiveMatch(text, pattern); }, minSeconds, &recursiveResult);
        double matches = TimePerCall(
            [&]() { return text.Matches(pattern) != FALSE; }, minSeconds, &matchesResult);
        printf("%6d %16.3f %16.3f %12.1f\n", stars, recursive * 1e6, matches * 1e6,
               recursive / matches);
        if (recursiveResult || matchesResult) {
            printf("  wrong answer: recursive %d, Matches %d (expected 0)\n",
                   (int)recursiveResult, (int)matchesResult);
            ++failures;
        }
    }

    printf("\nLarge inputs, Matches only (the recursive rule would overflow its stack or"
           " take ~2^stars steps):\n");
    CStringEx huge;
    LPTSTR p = huge.GetBuffer(hugeLength);
    for (int i = 0; i < hugeLength - 1; ++i)
        p[i] = L'a';
    p[hugeLength - 1] = L'b';
    huge.ReleaseBuffer(hugeLength);

    CString fiftyStars;
    for (int i = 0; i < 49; ++i)
        fiftyStars += L"*a";
    struct Case { const char* label; CString pattern; bool expected; };
    const Case cases[] = {
        { "\"*b\" (matches)", CString(L"*b"), true },
        { "\"*aaaaaaaaac\" (fails)", CString(L"*aaaaaaaaac"), false },
        { "50 stars \"*a*a...*b\" (matches)", fiftyStars + L"*b", true },
        { "50 stars \"*a*a...*c\" (fails)", fiftyStars + L"*c", false },
        { "the text itself (matches)", huge, true },
    };
    printf("text: %d units\n", hugeLength);
    for (const Case& c : cases) {
        bool result = !c.expected;
        double seconds = TimePerCall(
            [&]() { return huge.Matches(c.pattern) != FALSE; }, minSeconds, &result);
        PrintMicroseconds(c.label, seconds);
        if (result != c.expected) {
            printf("  wrong answer: %d (expected %d)\n", (int)result, (int)c.expected);
            ++failures;
        }
    }

    if (failures != 0) {
        printf("\n%d wrong answers\n", failures);
        return 1;
    }
    return 0;
}
