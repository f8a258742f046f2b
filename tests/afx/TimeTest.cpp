// Tests of CTime and CTimeSpan: construction from local parts, SYSTEMTIME, FILETIME
// and MS-DOS date/time, invalid input, formatting, arithmetic and the archive form.
#include <afx.h>

#include <gtest/gtest.h>

#include <string>

#include "AfxTestSupport.h"

using wivotest::Join;
using wivotest::Narrow;

namespace {

// The FILETIME of a time_t (both UTC).
FILETIME FileTimeOf(time_t t)
{
    ULONGLONG units = (ULONGLONG)t * 10000000ULL + 116444736000000000ULL;
    FILETIME ft;
    ft.dwLowDateTime = (DWORD)units;
    ft.dwHighDateTime = (DWORD)(units >> 32);
    return ft;
}

// The local parts of a time, so that one comparison shows them all.
std::string Parts(const CTime& t)
{
    return Join({t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute(), t.GetSecond(),
                 t.GetDayOfWeek()});
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// Construction

TEST(CTimeConstruct, LocalPartsGmtPartsAndSystemTimes)
{
    CTime t(2021, 7, 14, 13, 45, 30);
    EXPECT_EQ("2021|7|14|13|45|30|4", Parts(t)) << "14 July 2021 was a Wednesday";
    struct tm local;
    ASSERT_EQ(&local, t.GetLocalTm(&local));
    EXPECT_EQ(121, local.tm_year);
    EXPECT_EQ(mktime(&local), t.GetTime());

    CTime known((time_t)1000000000);    // 2001-09-09 01:46:40 UTC
    struct tm gmt;
    ASSERT_NE(nullptr, known.GetGmtTm(&gmt));
    EXPECT_EQ("101|8|9|1|46|40", Join({gmt.tm_year, gmt.tm_mon, gmt.tm_mday, gmt.tm_hour,
                                       gmt.tm_min, gmt.tm_sec}));
    ASSERT_NE(nullptr, known.GetGmtTm());
    EXPECT_EQ(9, known.GetGmtTm()->tm_mday);
    EXPECT_EQ("2001-09-09 01:46:40", Narrow(known.FormatGmt(L"%Y-%m-%d %H:%M:%S")));

    SYSTEMTIME st = {2019, 12, 0, 31, 23, 59, 58, 999};
    SYSTEMTIME back;
    ASSERT_TRUE(CTime(st).GetAsSystemTime(back));
    EXPECT_EQ("2019|12|31|23|59|58|0|2",
              Join({back.wYear, back.wMonth, back.wDay, back.wHour, back.wMinute, back.wSecond,
                    back.wMilliseconds, back.wDayOfWeek}))
        << "31 December 2019 was a Tuesday";
    SYSTEMTIME zero = {};
    EXPECT_EQ((time_t)0, CTime(zero).GetTime()) << "a zeroed SYSTEMTIME is time 0";
}

TEST(CTimeConstruct, OutOfRangePartsGiveTheInvalidTime)
{
    const int bad[][6] = {{1969, 12, 31, 23, 59, 59}, {2020, 13, 1, 0, 0, 0}, {2020, 0, 1, 0, 0, 0},
                          {2020, 1, 32, 0, 0, 0}, {2020, 1, 1, 24, 0, 0}, {2020, 1, 1, 0, -1, 0},
                          {2020, 1, 1, 0, 0, 60}, {2020, 2, 0, 0, 0, 0}};
    for (const auto& p : bad) {
        CTime invalid(p[0], p[1], p[2], p[3], p[4], p[5]);
        std::string strParts = Join({p[0], p[1], p[2], p[3], p[4], p[5]});
        EXPECT_EQ((time_t)-1, invalid.GetTime()) << strParts;
        EXPECT_EQ("0|0|0|0|0|0|0", Parts(invalid)) << strParts;
        EXPECT_EQ(nullptr, invalid.GetLocalTm()) << strParts;
        EXPECT_TRUE(invalid.Format(L"%Y").IsEmpty()) << strParts;
        SYSTEMTIME st;
        EXPECT_FALSE(invalid.GetAsSystemTime(st)) << strParts;
    }
    // A day past the month's end rolls over, as mktime does.
    EXPECT_EQ("2021|3|3|12|0|0|4", Parts(CTime(2021, 2, 31, 12, 0, 0)));
}

TEST(CTimeConstruct, FileTimeIsUtcAndDosTimeLocal)
{
    time_t when = 1600000000;       // 2020-09-13 12:26:40 UTC
    CTime t(FileTimeOf(when));
    EXPECT_EQ(when, t.GetTime());
    // The same instant through the platform: UTC file time -> local SYSTEMTIME.
    FILETIME ft = FileTimeOf(when), local;
    SYSTEMTIME st;
    ASSERT_TRUE(FileTimeToLocalFileTime(&ft, &local));
    ASSERT_TRUE(FileTimeToSystemTime(&local, &st));
    EXPECT_EQ(CTime(st).GetTime(), t.GetTime());
    FILETIME early = {};            // 1601
    EXPECT_EQ((time_t)-1, CTime(early).GetTime());
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    time_t diff = CTime(now).GetTime() - CTime::GetCurrentTime().GetTime();
    EXPECT_LE(diff < 0 ? -diff : diff, 2);

    // 2004-05-17 14:32:10: date = (24 << 9) | (5 << 5) | 17, time = (14 << 11) | (32 << 5) | 5
    CTime dos((WORD)((24 << 9) | (5 << 5) | 17), (WORD)((14 << 11) | (32 << 5) | 5));
    EXPECT_EQ("2004|5|17|14|32|10|2", Parts(dos));
    EXPECT_EQ((time_t)-1, CTime((WORD)0, (WORD)0).GetTime()) << "month 0 is no date";
}

/////////////////////////////////////////////////////////////////////////////
// Formatting

TEST(CTimeFormat, SpecifiersAndBadFormats)
{
    CTime t(2022, 3, 5, 7, 8, 9);
    CString longFormat;
    for (int i = 0; i < 100; i++)
        longFormat += L"%Y-";
    // An unknown specifier, a trailing '%', no format, an empty one and a string
    // resource that does not exist give nothing; results may pass 128 characters.
    EXPECT_EQ("05.03.2022 07:08:09|Saturday March 22 064|100%|5||||||500",
              Join({t.Format(L"%d.%m.%Y %H:%M:%S"), t.Format(L"%A %B %y %j"), t.Format(L"100%%"),
                    t.Format(L"%#d"), t.Format(L"%Q"), t.Format(L"trailing %"),
                    t.Format((LPCTSTR)NULL), t.Format(L""), t.Format(0xFFF0u),
                    t.Format(longFormat).GetLength()}));
}

/////////////////////////////////////////////////////////////////////////////
// CTimeSpan

TEST(CTimeSpanTest, PartsTotalsAndFormat)
{
    CTimeSpan s(3, 4, 5, 6);
    EXPECT_EQ("3|4|5|6|76|4565|273906",
              Join({s.GetDays(), s.GetHours(), s.GetMinutes(), s.GetSeconds(), s.GetTotalHours(),
                    s.GetTotalMinutes(), s.GetTotalSeconds()}));
    CTimeSpan neg = CTimeSpan(0) - CTimeSpan(0, 1, 30, 0);
    EXPECT_EQ("-5400|0|-1|-30",
              Join({neg.GetTotalSeconds(), neg.GetDays(), neg.GetHours(), neg.GetMinutes()}));

    // An unknown specifier stands for itself.
    CTimeSpan f(12, 3, 4, 5);
    EXPECT_EQ("12 days 03:04:05 100%|Q|end%|0 00:00:00|",
              Join({f.Format(L"%D days %H:%M:%S 100%%"), f.Format(L"%Q"), f.Format(L"end%"),
                    CTimeSpan(0).Format(L"%D %H:%M:%S"), f.Format((LPCTSTR)NULL)}));
}

TEST(CTimeSpanTest, ArithmeticWithTimes)
{
    CTime a(2020, 2, 28, 12, 0, 0);
    CTime b = a + CTimeSpan(1, 0, 0, 0);
    EXPECT_EQ(29, b.GetDay()) << "2020 is a leap year";
    EXPECT_EQ(86400, (b - a).GetTotalSeconds());
    b -= CTimeSpan(0, 0, 0, 1);
    EXPECT_EQ("1|1|1|1|0|0", Join({b < a + CTimeSpan(1, 0, 0, 0), b > a, b != a, a == b - (b - a),
                                   b <= a, a >= b}));
    CTimeSpan s(0, 0, 10, 0);
    s += CTimeSpan(0, 0, 5, 0);
    s -= CTimeSpan(0, 0, 0, 30);
    EXPECT_EQ(870, s.GetTotalSeconds());
    EXPECT_TRUE(s >= CTimeSpan(870) && s <= CTimeSpan(870) && s == CTimeSpan(870));
}

/////////////////////////////////////////////////////////////////////////////
// Archive form

TEST(CTimeArchive, ThirtyTwoBitValuesRoundTrip)
{
    CTime t((time_t)0x5F000000);
    CTimeSpan positive(0x12345678);
    CTimeSpan negative(-3600);
    CTime invalid((time_t)-1);
    CTime late((time_t)0x1FFFFFFFFLL);      // beyond 32 bits: stored as invalid
    std::string bytes = wivotest::StoreBytes(
        [&](CArchive& ar) { ar << t << positive << negative << invalid << late; });
    EXPECT_EQ("00 00 00 5F 78 56 34 12 F0 F1 FF FF FF FF FF FF FF FF FF FF", wivotest::Hex(bytes));
    CTime t2, invalid2, late2;
    CTimeSpan positive2, negative2;
    wivotest::LoadBytes(
        bytes, [&](CArchive& ar) { ar >> t2 >> positive2 >> negative2 >> invalid2 >> late2; });
    EXPECT_EQ(Join({(long long)t.GetTime(), (long long)positive.GetTotalSeconds(), -3600, -1, -1}),
              Join({(long long)t2.GetTime(), (long long)positive2.GetTotalSeconds(),
                    (long long)negative2.GetTotalSeconds(), (long long)invalid2.GetTime(),
                    (long long)late2.GetTime()}));
}
