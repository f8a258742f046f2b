// Tests of CTime and CTimeSpan: construction from local parts, SYSTEMTIME, FILETIME
// and MS-DOS date/time, invalid input, formatting, arithmetic and the archive form.
#include <afx.h>

#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"

using wivotest::Narrow;

namespace {

std::string N(const CString& s)
{
    return Narrow(s);
}

// The FILETIME of a time_t (both UTC).
FILETIME FileTimeOf(time_t t)
{
    ULONGLONG units = (ULONGLONG)t * 10000000ULL + 116444736000000000ULL;
    FILETIME ft;
    ft.dwLowDateTime = (DWORD)units;
    ft.dwHighDateTime = (DWORD)(units >> 32);
    return ft;
}

// Date and time parts as "Y-M-D h:m:s", so that one comparison shows them all.
std::string Parts(int y, int mo, int d, int h, int mi, int sec)
{
    char sz[64];
    snprintf(sz, sizeof(sz), "%d-%d-%d %d:%d:%d", y, mo, d, h, mi, sec);
    return sz;
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// Construction

TEST(CTimeConstruct, LocalPartsRoundTrip)
{
    CTime t(2021, 7, 14, 13, 45, 30);
    ASSERT_NE((time_t)-1, t.GetTime());
    EXPECT_EQ("2021-7-14 13:45:30",
              Parts(t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute(), t.GetSecond()));
    EXPECT_EQ(4, t.GetDayOfWeek()) << "14 July 2021 was a Wednesday";
    struct tm local;
    ASSERT_EQ(&local, t.GetLocalTm(&local));
    EXPECT_EQ(121, local.tm_year);
    EXPECT_EQ(mktime(&local), t.GetTime());
}

TEST(CTimeConstruct, GmtPartsOfAKnownInstant)
{
    CTime t((time_t)1000000000);    // 2001-09-09 01:46:40 UTC
    struct tm gmt;
    ASSERT_NE(nullptr, t.GetGmtTm(&gmt));
    EXPECT_EQ("101-8-9 1:46:40",
              Parts(gmt.tm_year, gmt.tm_mon, gmt.tm_mday, gmt.tm_hour, gmt.tm_min, gmt.tm_sec));
    struct tm* shared = t.GetGmtTm();
    ASSERT_NE(nullptr, shared);
    EXPECT_EQ(9, shared->tm_mday);
    EXPECT_EQ("2001-09-09 01:46:40", N(t.FormatGmt(L"%Y-%m-%d %H:%M:%S")));
}

TEST(CTimeConstruct, OutOfRangePartsGiveTheInvalidTime)
{
    const int bad[][6] = {{1969, 12, 31, 23, 59, 59}, {2020, 13, 1, 0, 0, 0}, {2020, 0, 1, 0, 0, 0},
                          {2020, 1, 32, 0, 0, 0},     {2020, 1, 1, 24, 0, 0}, {2020, 1, 1, 0, -1, 0},
                          {2020, 1, 1, 0, 0, 60}};
    for (const auto& p : bad)
        EXPECT_EQ((time_t)-1, CTime(p[0], p[1], p[2], p[3], p[4], p[5]).GetTime())
            << Parts(p[0], p[1], p[2], p[3], p[4], p[5]);
    CTime invalid(2020, 2, 0, 0, 0, 0);
    EXPECT_EQ(0, invalid.GetYear());
    EXPECT_EQ(0, invalid.GetDayOfWeek());
    EXPECT_EQ(nullptr, invalid.GetLocalTm());
    EXPECT_TRUE(invalid.Format(L"%Y").IsEmpty());
    SYSTEMTIME st;
    EXPECT_FALSE(invalid.GetAsSystemTime(st));
    // A day past the month's end rolls over, as mktime does.
    CTime feb31(2021, 2, 31, 12, 0, 0);
    EXPECT_EQ(3, feb31.GetMonth());
    EXPECT_EQ(3, feb31.GetDay());
}

TEST(CTimeConstruct, SystemTimeRoundTrip)
{
    SYSTEMTIME st = {2019, 12, 0, 31, 23, 59, 58, 999};
    CTime t(st);
    SYSTEMTIME back;
    ASSERT_TRUE(t.GetAsSystemTime(back));
    EXPECT_EQ("2019-12-31 23:59:58",
              Parts(back.wYear, back.wMonth, back.wDay, back.wHour, back.wMinute, back.wSecond));
    EXPECT_EQ(0, back.wMilliseconds);
    EXPECT_EQ(2, back.wDayOfWeek) << "31 December 2019 was a Tuesday";

    SYSTEMTIME zero = {};
    EXPECT_EQ((time_t)0, CTime(zero).GetTime()) << "a zeroed SYSTEMTIME is time 0";
}

TEST(CTimeConstruct, FileTimeIsUtcAndConvertsExactly)
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
}

TEST(CTimeConstruct, DosDateAndTime)
{
    // 2004-05-17 14:32:10: date = (24 << 9) | (5 << 5) | 17, time = (14 << 11) | (32 << 5) | 5
    WORD wDate = (WORD)((24 << 9) | (5 << 5) | 17);
    WORD wTime = (WORD)((14 << 11) | (32 << 5) | 5);
    CTime t(wDate, wTime);
    EXPECT_EQ("2004-05-17 14:32:10", N(t.Format(L"%Y-%m-%d %H:%M:%S")));
    EXPECT_EQ((time_t)-1, CTime((WORD)0, (WORD)0).GetTime()) << "month 0 is no date";
}

/////////////////////////////////////////////////////////////////////////////
// Formatting

TEST(CTimeFormat, SpecifiersAndBadFormats)
{
    CTime t(2022, 3, 5, 7, 8, 9);
    EXPECT_EQ("05.03.2022 07:08:09", N(t.Format(L"%d.%m.%Y %H:%M:%S")));
    EXPECT_EQ("Saturday March 22 064", N(t.Format(L"%A %B %y %j")));
    EXPECT_EQ("100%", N(t.Format(L"100%%")));
    EXPECT_EQ("5", N(t.Format(L"%#d")));
    EXPECT_TRUE(t.Format(L"%Q").IsEmpty()) << "an unknown specifier";
    EXPECT_TRUE(t.Format(L"trailing %").IsEmpty());
    EXPECT_TRUE(t.Format((LPCTSTR)NULL).IsEmpty());
    EXPECT_TRUE(t.Format(L"").IsEmpty());
    CString longFormat;
    for (int i = 0; i < 100; i++)
        longFormat += L"%Y-";
    EXPECT_EQ(500, t.Format(longFormat).GetLength()) << "results longer than 128 characters";
    EXPECT_TRUE(t.Format(0xFFF0u).IsEmpty()) << "a string resource that does not exist";
}

/////////////////////////////////////////////////////////////////////////////
// CTimeSpan

TEST(CTimeSpanTest, PartsAndTotals)
{
    CTimeSpan s(3, 4, 5, 6);
    EXPECT_EQ(3 * 86400 + 4 * 3600 + 5 * 60 + 6, s.GetTotalSeconds());
    EXPECT_EQ("0-0-3 4:5:6", Parts(0, 0, s.GetDays(), s.GetHours(), s.GetMinutes(), s.GetSeconds()));
    EXPECT_EQ(76, s.GetTotalHours());
    EXPECT_EQ(76 * 60 + 5, s.GetTotalMinutes());

    CTimeSpan neg = CTimeSpan(0) - CTimeSpan(0, 1, 30, 0);
    EXPECT_EQ(-5400, neg.GetTotalSeconds());
    EXPECT_EQ(-1, neg.GetHours());
    EXPECT_EQ(-30, neg.GetMinutes());
    EXPECT_EQ(0, neg.GetDays());
}

TEST(CTimeSpanTest, ArithmeticWithTimes)
{
    CTime a(2020, 2, 28, 12, 0, 0);
    CTime b = a + CTimeSpan(1, 0, 0, 0);
    EXPECT_EQ(29, b.GetDay()) << "2020 is a leap year";
    CTimeSpan d = b - a;
    EXPECT_EQ(86400, d.GetTotalSeconds());
    b -= CTimeSpan(0, 0, 0, 1);
    EXPECT_TRUE(b < a + CTimeSpan(1, 0, 0, 0));
    EXPECT_TRUE(b > a);
    EXPECT_TRUE(b != a);
    EXPECT_TRUE(a == b - (b - a));
    CTimeSpan s(0, 0, 10, 0);
    s += CTimeSpan(0, 0, 5, 0);
    s -= CTimeSpan(0, 0, 0, 30);
    EXPECT_EQ(870, s.GetTotalSeconds());
    EXPECT_TRUE(s >= CTimeSpan(870) && s <= CTimeSpan(870) && s == CTimeSpan(870));
}

TEST(CTimeSpanTest, Format)
{
    CTimeSpan s(12, 3, 4, 5);
    EXPECT_EQ("12 days 03:04:05 100%", N(s.Format(L"%D days %H:%M:%S 100%%")));
    EXPECT_EQ("Q", N(s.Format(L"%Q"))) << "an unknown specifier stands for itself";
    EXPECT_EQ("end%", N(s.Format(L"end%")));
    EXPECT_EQ("0 00:00:00", N(CTimeSpan(0).Format(L"%D %H:%M:%S")));
    EXPECT_TRUE(s.Format((LPCTSTR)NULL).IsEmpty());
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
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << t << positive << negative << invalid << late;
        ar.Close();
    }
    EXPECT_EQ(20u, file.GetLength());
    BYTE* p = file.Detach();
    EXPECT_EQ(0x00, p[0]);
    EXPECT_EQ(0x5F, p[3]);
    EXPECT_EQ(0xF0, p[8]) << "-3600 = 0xFFFFF1F0";
    EXPECT_EQ(0xF1, p[9]);
    CMemFile in(p, 20);
    CTime t2, invalid2, late2;
    CTimeSpan positive2, negative2;
    {
        CArchive ar(&in, CArchive::load);
        ar >> t2 >> positive2 >> negative2 >> invalid2 >> late2;
        ar.Close();
    }
    in.Close();
    free(p);
    EXPECT_EQ(t.GetTime(), t2.GetTime());
    EXPECT_EQ(positive.GetTotalSeconds(), positive2.GetTotalSeconds());
    EXPECT_EQ(-3600, negative2.GetTotalSeconds());
    EXPECT_EQ((time_t)-1, invalid2.GetTime());
    EXPECT_EQ((time_t)-1, late2.GetTime());
}
