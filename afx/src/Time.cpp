// Time.cpp - CTimeSpan and CTime.
#include "afx.h"

#include <wchar.h>

namespace {

// Seconds between 1601-01-01 (FILETIME) and 1970-01-01 (time_t), in 100 ns units.
const ULONGLONG kFileTimeEpochBias = 116444736000000000ULL;
const ULONGLONG kFileTimeUnitsPerSecond = 10000000ULL;

// The latest time the C run-time converts: the end of the year 3000 (UTC) with a
// 64-bit time_t, January 2038 with a 32-bit one.
const LONGLONG kMaxTime = sizeof(time_t) > 4 ? 32535215999LL : (LONGLONG)LONG_MAX;

// The specifiers wcsftime knows; the C run-time treats any other as an invalid
// parameter, which is no reason to end the program: such a format gives "".
bool IsValidTimeFormat(LPCTSTR pFormat)
{
    for (; *pFormat != 0; ++pFormat) {
        if (*pFormat != '%')
            continue;
        ++pFormat;
        if (*pFormat == '#')
            ++pFormat;
        if (*pFormat == 0 || wcschr(L"aAbBcdHIjmMpSUwWxXyYzZ%", *pFormat) == NULL)
            return false;
    }
    return true;
}

CString FormatTm(LPCTSTR pFormat, const struct tm* ptm)
{
    CString result;
    if (pFormat == NULL || ptm == NULL || *pFormat == 0 || !IsValidTimeFormat(pFormat))
        return result;
    // wcsftime returns 0 both for a buffer too small and for an empty result: grow
    // the buffer a few times before taking the result as empty.
    for (int nSize = 128; nSize <= 65536; nSize *= 2) {
        LPTSTR pBuffer = result.GetBuffer(nSize);
        size_t nLength = wcsftime(pBuffer, (size_t)nSize, pFormat, ptm);
        // Some run-times report a cut-off result as filling the whole buffer.
        if (nLength > 0 && nLength < (size_t)nSize) {
            result.ReleaseBuffer((int)nLength);
            return result;
        }
        result.ReleaseBuffer(0);
    }
    return result;
}

// The local-time fields of a valid time, through the C run-time's mktime (which also
// settles daylight saving time); -1 when a field is outside its documented range.
time_t MakeLocalTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
{
    if (nYear < 1970 || nYear > 3000 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31
        || nHour < 0 || nHour > 23 || nMin < 0 || nMin > 59 || nSec < 0 || nSec > 59)
        return (time_t)-1;
    struct tm atm = {};
    atm.tm_sec = nSec;
    atm.tm_min = nMin;
    atm.tm_hour = nHour;
    atm.tm_mday = nDay;
    atm.tm_mon = nMonth - 1;
    atm.tm_year = nYear - 1900;
    atm.tm_isdst = nDST;
    return mktime(&atm);
}

CString LoadFormat(UINT nID)
{
    CString strFormat;
    if (!strFormat.LoadString(nID))
        strFormat.Empty();
    return strFormat;
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// CTimeSpan

CString CTimeSpan::Format(LPCTSTR pFormat) const
{
    CString result;
    if (pFormat == NULL)
        return result;
    TCHAR szNumber[32];
    for (; *pFormat != 0; ++pFormat) {
        TCHAR ch = *pFormat;
        if (ch != '%' || pFormat[1] == 0) {
            result += ch;
            continue;
        }
        ch = *++pFormat;
        switch (ch) {
        case 'D':
            swprintf(szNumber, _countof(szNumber), L"%ld", GetDays());
            result += szNumber;
            break;
        case 'H':
            swprintf(szNumber, _countof(szNumber), L"%02d", GetHours());
            result += szNumber;
            break;
        case 'M':
            swprintf(szNumber, _countof(szNumber), L"%02d", GetMinutes());
            result += szNumber;
            break;
        case 'S':
            swprintf(szNumber, _countof(szNumber), L"%02d", GetSeconds());
            result += szNumber;
            break;
        default:
            // %% and unknown specifiers: the character itself.
            result += ch;
            break;
        }
    }
    return result;
}

CString CTimeSpan::Format(UINT nID) const
{
    return Format((LPCTSTR)LoadFormat(nID));
}

/////////////////////////////////////////////////////////////////////////////
// CTime

CTime PASCAL CTime::GetCurrentTime()
{
    return CTime(::time(NULL));
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
    : m_time(MakeLocalTime(nYear, nMonth, nDay, nHour, nMin, nSec, nDST))
{
}

CTime::CTime(WORD wDosDate, WORD wDosTime, int nDST)
    : m_time(MakeLocalTime(1980 + (wDosDate >> 9), (wDosDate >> 5) & 0x0F, wDosDate & 0x1F,
                           wDosTime >> 11, (wDosTime >> 5) & 0x3F, (wDosTime & 0x1F) * 2, nDST))
{
}

CTime::CTime(const SYSTEMTIME& sysTime, int nDST)
{
    if (sysTime.wYear < 1900)
        m_time = 0;
    else
        m_time = MakeLocalTime(sysTime.wYear, sysTime.wMonth, sysTime.wDay, sysTime.wHour,
                               sysTime.wMinute, sysTime.wSecond, nDST);
}

CTime::CTime(const FILETIME& fileTime, int nDST)
{
    (void)nDST;
    ULONGLONG nUnits = ((ULONGLONG)fileTime.dwHighDateTime << 32) | fileTime.dwLowDateTime;
    if (nUnits < kFileTimeEpochBias) {
        m_time = (time_t)-1;
        return;
    }
    ULONGLONG nSeconds = (nUnits - kFileTimeEpochBias) / kFileTimeUnitsPerSecond;
    m_time = nSeconds > (ULONGLONG)kMaxTime ? (time_t)-1 : (time_t)(LONGLONG)nSeconds;
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const
{
    if (m_time < 0)
        return NULL;
    struct tm* ptmTemp = gmtime(&m_time);
    if (ptmTemp == NULL)
        return NULL;
    if (ptm == NULL)
        return ptmTemp;
    *ptm = *ptmTemp;
    return ptm;
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const
{
    if (m_time < 0)
        return NULL;
    struct tm* ptmTemp = localtime(&m_time);
    if (ptmTemp == NULL)
        return NULL;
    if (ptm == NULL)
        return ptmTemp;
    *ptm = *ptmTemp;
    return ptm;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& timeDest) const
{
    struct tm ttm;
    if (GetLocalTm(&ttm) == NULL)
        return FALSE;
    timeDest.wYear = (WORD)(ttm.tm_year + 1900);
    timeDest.wMonth = (WORD)(ttm.tm_mon + 1);
    timeDest.wDayOfWeek = (WORD)ttm.tm_wday;
    timeDest.wDay = (WORD)ttm.tm_mday;
    timeDest.wHour = (WORD)ttm.tm_hour;
    timeDest.wMinute = (WORD)ttm.tm_min;
    timeDest.wSecond = (WORD)ttm.tm_sec;
    timeDest.wMilliseconds = 0;
    return TRUE;
}

int CTime::GetYear() const
{
    struct tm ttm;
    return GetLocalTm(&ttm) != NULL ? ttm.tm_year + 1900 : 0;
}

int CTime::GetMonth() const
{
    struct tm ttm;
    return GetLocalTm(&ttm) != NULL ? ttm.tm_mon + 1 : 0;
}

int CTime::GetDay() const
{
    struct tm ttm;
    return GetLocalTm(&ttm) != NULL ? ttm.tm_mday : 0;
}

int CTime::GetHour() const
{
    struct tm ttm;
    return GetLocalTm(&ttm) != NULL ? ttm.tm_hour : 0;
}

int CTime::GetMinute() const
{
    struct tm ttm;
    return GetLocalTm(&ttm) != NULL ? ttm.tm_min : 0;
}

int CTime::GetSecond() const
{
    struct tm ttm;
    return GetLocalTm(&ttm) != NULL ? ttm.tm_sec : 0;
}

int CTime::GetDayOfWeek() const
{
    struct tm ttm;
    return GetLocalTm(&ttm) != NULL ? ttm.tm_wday + 1 : 0;
}

CString CTime::Format(LPCTSTR pFormat) const
{
    struct tm ttm;
    return FormatTm(pFormat, GetLocalTm(&ttm));
}

CString CTime::FormatGmt(LPCTSTR pFormat) const
{
    struct tm ttm;
    return FormatTm(pFormat, GetGmtTm(&ttm));
}

CString CTime::Format(UINT nFormatID) const
{
    return Format((LPCTSTR)LoadFormat(nFormatID));
}

CString CTime::FormatGmt(UINT nFormatID) const
{
    return FormatGmt((LPCTSTR)LoadFormat(nFormatID));
}

/////////////////////////////////////////////////////////////////////////////
// Archive form

CArchive& AFXAPI operator<<(CArchive& ar, CTime time)
{
    LONGLONG t = (LONGLONG)time.GetTime();
    return ar << (DWORD)(t < 0 || t >= 0xFFFFFFFFLL ? 0xFFFFFFFFLL : t);
}

CArchive& AFXAPI operator>>(CArchive& ar, CTime& rtime)
{
    DWORD dw;
    ar >> dw;
    // Beyond what this time_t holds (a 32-bit one ends in 2038) is the invalid time.
    rtime = dw == 0xFFFFFFFF || (LONGLONG)dw > kMaxTime ? (time_t)-1 : (time_t)(LONGLONG)dw;
    return ar;
}

CArchive& AFXAPI operator<<(CArchive& ar, CTimeSpan timeSpan)
{
    // The whole span (GetTotalSeconds would wrap), saturated at the 32-bit limits.
    LONGLONG t = (LONGLONG)(CTime((time_t)0) + timeSpan).GetTime();
    LONG l = t < LONG_MIN ? LONG_MIN : (t > LONG_MAX ? LONG_MAX : (LONG)t);
    return ar << (DWORD)l;
}

CArchive& AFXAPI operator>>(CArchive& ar, CTimeSpan& rtimeSpan)
{
    DWORD dw;
    ar >> dw;
    rtimeSpan = CTimeSpan((time_t)(LONG)dw);
    return ar;
}
