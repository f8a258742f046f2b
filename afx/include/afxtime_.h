// afxtime_.h - CTimeSpan and CTime, seconds over the C run-time's time_t.
//
// A CTime is an absolute moment (seconds since 1 January 1970 UTC); its parts and
// Format are in local time, FormatGmt and GetGmtTm in UTC. A time that cannot be
// represented is -1 (the C run-time's invalid time): the constructors produce it
// for out-of-range parts instead of asserting, its parts read as 0 and it formats
// as an empty string. Archives hold both classes as 32-bit values.
//
// Included by afx.h after afxarc_.h.
#pragma once

#include "afxstr_.h"

#include <time.h>

// <windows.h> has a 16-bit era macro of this name; CTime needs the name.
#ifdef GetCurrentTime
#undef GetCurrentTime
#endif

class CArchive;
class CTime;

/////////////////////////////////////////////////////////////////////////////
// CTimeSpan: a relative time in seconds (may be negative)

class AFX_CORE_CLASS CTimeSpan
{
public:
// Constructors
    CTimeSpan() : m_timeSpan(0) {}
    CTimeSpan(time_t time) : m_timeSpan(time) {}
    CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
        : m_timeSpan(nSecs + 60 * (nMins + 60 * (nHours + 24 * (time_t)lDays))) {}
    CTimeSpan(const CTimeSpan& timeSpanSrc) : m_timeSpan(timeSpanSrc.m_timeSpan) {}
    const CTimeSpan& operator=(const CTimeSpan& timeSpanSrc)
        { m_timeSpan = timeSpanSrc.m_timeSpan; return *this; }

// Attributes
    // The whole days, hours, minutes and seconds; the parts carry the span's sign.
    LONG GetDays() const { return (LONG)(m_timeSpan / (24 * 3600)); }
    LONG GetTotalHours() const { return (LONG)(m_timeSpan / 3600); }
    int GetHours() const { return (int)(m_timeSpan / 3600 % 24); }
    LONG GetTotalMinutes() const { return (LONG)(m_timeSpan / 60); }
    int GetMinutes() const { return (int)(m_timeSpan / 60 % 60); }
    LONG GetTotalSeconds() const { return (LONG)m_timeSpan; }
    int GetSeconds() const { return (int)(m_timeSpan % 60); }

// Operations
    CTimeSpan operator-(CTimeSpan timeSpan) const { return CTimeSpan(m_timeSpan - timeSpan.m_timeSpan); }
    CTimeSpan operator+(CTimeSpan timeSpan) const { return CTimeSpan(m_timeSpan + timeSpan.m_timeSpan); }
    const CTimeSpan& operator+=(CTimeSpan timeSpan) { m_timeSpan += timeSpan.m_timeSpan; return *this; }
    const CTimeSpan& operator-=(CTimeSpan timeSpan) { m_timeSpan -= timeSpan.m_timeSpan; return *this; }
    BOOL operator==(CTimeSpan timeSpan) const { return m_timeSpan == timeSpan.m_timeSpan; }
    BOOL operator!=(CTimeSpan timeSpan) const { return m_timeSpan != timeSpan.m_timeSpan; }
    BOOL operator<(CTimeSpan timeSpan) const { return m_timeSpan < timeSpan.m_timeSpan; }
    BOOL operator>(CTimeSpan timeSpan) const { return m_timeSpan > timeSpan.m_timeSpan; }
    BOOL operator<=(CTimeSpan timeSpan) const { return m_timeSpan <= timeSpan.m_timeSpan; }
    BOOL operator>=(CTimeSpan timeSpan) const { return m_timeSpan >= timeSpan.m_timeSpan; }

    // %D total days, %H hours (00-23), %M minutes (00-59), %S seconds (00-59), %% a
    // percent sign; any other character after % stands for itself.
    CString Format(LPCTSTR pFormat) const;
    // The same with the format loaded from a string resource (empty when there is none).
    CString Format(UINT nID) const;

private:
    time_t m_timeSpan;
    friend class CTime;
};

/////////////////////////////////////////////////////////////////////////////
// CTime: an absolute time

class AFX_CORE_CLASS CTime
{
public:
// Constructors
    static CTime PASCAL GetCurrentTime();

    CTime() : m_time(0) {}
    CTime(time_t time) : m_time(time) {}
    // Local time. nYear 1970-3000 (with a 32-bit time_t, as on x86, up to January
    // 2038), nMonth 1-12, nDay 1-31, nHour 0-23, nMin and nSec 0-59, else the time is
    // -1; a day past the month's end rolls into the next month.
    // nDST: 0 standard time, > 0 daylight saving time, < 0 whichever applies then.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
    // MS-DOS date and time (as in a FAT directory entry or a ZIP header), local time.
    CTime(WORD wDosDate, WORD wDosTime, int nDST = -1);
    CTime(const CTime& timeSrc) : m_time(timeSrc.m_time) {}
    // Local time; a year before 1900 (a zeroed SYSTEMTIME) is time 0.
    CTime(const SYSTEMTIME& sysTime, int nDST = -1);
    // A FILETIME is UTC and converts exactly; nDST has nothing to decide for it.
    CTime(const FILETIME& fileTime, int nDST = -1);
    const CTime& operator=(const CTime& timeSrc) { m_time = timeSrc.m_time; return *this; }
    const CTime& operator=(time_t t) { m_time = t; return *this; }

// Attributes
    // The broken-down time, in *ptm when given, else in the C run-time's per-thread
    // buffer; NULL for an invalid time.
    struct tm* GetGmtTm(struct tm* ptm = NULL) const;
    struct tm* GetLocalTm(struct tm* ptm = NULL) const;
    // Local time; FALSE for an invalid time.
    BOOL GetAsSystemTime(SYSTEMTIME& timeDest) const;

    time_t GetTime() const { return m_time; }
    // Local time parts; 0 for an invalid time. GetDayOfWeek: 1 = Sunday ... 7 = Saturday.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;

// Operations
    CTimeSpan operator-(CTime time) const { return CTimeSpan(m_time - time.m_time); }
    CTime operator-(CTimeSpan timeSpan) const { return CTime(m_time - timeSpan.m_timeSpan); }
    CTime operator+(CTimeSpan timeSpan) const { return CTime(m_time + timeSpan.m_timeSpan); }
    const CTime& operator+=(CTimeSpan timeSpan) { m_time += timeSpan.m_timeSpan; return *this; }
    const CTime& operator-=(CTimeSpan timeSpan) { m_time -= timeSpan.m_timeSpan; return *this; }
    BOOL operator==(CTime time) const { return m_time == time.m_time; }
    BOOL operator!=(CTime time) const { return m_time != time.m_time; }
    BOOL operator<(CTime time) const { return m_time < time.m_time; }
    BOOL operator>(CTime time) const { return m_time > time.m_time; }
    BOOL operator<=(CTime time) const { return m_time <= time.m_time; }
    BOOL operator>=(CTime time) const { return m_time >= time.m_time; }

    // wcsftime formats (%a %A %b %B %c %d %H %I %j %m %M %p %S %U %w %W %x %X %y %Y
    // %z %Z %%, each optionally with #) of the local or the UTC time. A format with
    // any other specifier, or an invalid time, gives an empty string.
    CString Format(LPCTSTR pFormat) const;
    CString FormatGmt(LPCTSTR pFormat) const;
    CString Format(UINT nFormatID) const;
    CString FormatGmt(UINT nFormatID) const;

private:
    time_t m_time;
};

// Archive form: CTime as an unsigned 32-bit count of seconds (0xFFFFFFFF for a time
// outside that range), CTimeSpan as a signed one (saturated at its limits).
AFX_CORE_API CArchive& AFXAPI operator<<(CArchive& ar, CTime time);
AFX_CORE_API CArchive& AFXAPI operator>>(CArchive& ar, CTime& rtime);
AFX_CORE_API CArchive& AFXAPI operator<<(CArchive& ar, CTimeSpan timeSpan);
AFX_CORE_API CArchive& AFXAPI operator>>(CArchive& ar, CTimeSpan& rtimeSpan);
