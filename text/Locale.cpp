// Locale.cpp - CLocale and its shared number-format records.
#include "WivoLocale.h"

#include "LocaleInternal.h"
#include "StringEx.h"

#include <new>
#include <stdlib.h>
#include <wchar.h>

/////////////////////////////////////////////////////////////////////////////
// The shared records

// The map itself (s_localeMap) is one of the library's process-wide objects and is
// defined with the others in ProcessObjects.cpp. Its constructor needs nothing else,
// and none of the library's other load-time objects holds a CLocale, so every
// CLocale - the host's static ones included, which go before the library is
// unloaded - lives between the map's construction and its destruction.

namespace {

// Numeric settings and separators are short; 100 units hold any of them.
const int kNumericInfoLength = 100;
// GetLocaleInfoW's limit for the two separators, terminator included.
const int kSeparatorLength = 6;

BYTE ReadUserNumber(LCTYPE type)
{
    wchar_t text[kNumericInfoLength];
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, kNumericInfoLength) == 0)
        return 0;
    return static_cast<BYTE>(wcstoul(text, NULL, 0));
}

// A separator longer than the platform allows is cut rather than dropped.
void ReadUserSeparator(LCTYPE type, wchar_t* separator)
{
    wchar_t text[kNumericInfoLength];
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, kNumericInfoLength) == 0)
        text[0] = 0;
    wcsncpy(separator, text, kSeparatorLength - 1);
    separator[kSeparatorLength - 1] = 0;
}

} // namespace

CLocaleRecordMap::CLocaleRecordMap()
{
}

CLocaleRecordMap::~CLocaleRecordMap()
{
}

void CLocaleRecordMap::FillFormat(Record& record)
{
    NUMBERFMTW& format = record.format;
    format.NumDigits = 0;
    format.LeadingZero = ReadUserNumber(LOCALE_ILZERO);

    // Only the size of the first group is taken: NUMBERFMT repeats it, so a
    // grouping such as "3;2;0" comes out as groups of three throughout.
    wchar_t grouping[kNumericInfoLength];
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SGROUPING, grouping,
                         kNumericInfoLength) == 0)
        grouping[0] = 0;
    format.Grouping = (grouping[0] >= L'0' && grouping[0] <= L'9') ? grouping[0] - L'0' : 0;

    ReadUserSeparator(LOCALE_SDECIMAL, record.decimalSep);
    ReadUserSeparator(LOCALE_STHOUSAND, record.thousandSep);
    format.lpDecimalSep = record.decimalSep;
    format.lpThousandSep = record.thousandSep;
    format.NegativeOrder = ReadUserNumber(LOCALE_INEGNUMBER);
}

void CLocaleRecordMap::AddRef(DWORD lcid)
{
    try {
        Record& record = m_records[lcid];
        if (record.nRefs < kMaxRefs)
            ++record.nRefs;
        else
            record.bPinned = true;
        FillFormat(record);
    } catch (const std::bad_alloc&) {
        // Without a record the locale still works; only its integer formatting
        // comes out empty. Nothing but the library's own exceptions may leave it.
    }
}

void CLocaleRecordMap::Release(DWORD lcid)
{
    std::map<DWORD, Record>::iterator it = m_records.find(lcid);
    if (it == m_records.end() || it->second.bPinned)
        return;
    if (--it->second.nRefs == 0)
        m_records.erase(it);
}

const NUMBERFMTW* CLocaleRecordMap::GetNumberFormat(DWORD lcid) const
{
    std::map<DWORD, Record>::const_iterator it = m_records.find(lcid);
    return it != m_records.end() ? &it->second.format : NULL;
}

int CLocaleRecordMap::GetRefCount(DWORD lcid) const
{
    std::map<DWORD, Record>::const_iterator it = m_records.find(lcid);
    return it != m_records.end() ? it->second.nRefs : 0;
}

/////////////////////////////////////////////////////////////////////////////
// Helpers

namespace {

// The platform's formatting calls report failure with 0 and may leave the buffer
// half written, so their text is taken only on success.
CString TextOf(int nResult, const wchar_t* buffer)
{
    return nResult > 0 ? CString(buffer) : CString();
}

// The calendar date of a time as a SYSTEMTIME with the time fields 0.
bool LocalDate(const CTime& time, SYSTEMTIME& st)
{
    struct tm local;
    if (time.GetLocalTm(&local) == NULL)
        return false;
    ZeroMemory(&st, sizeof(st));
    st.wYear = static_cast<WORD>(local.tm_year + 1900);
    st.wMonth = static_cast<WORD>(local.tm_mon + 1);
    st.wDay = static_cast<WORD>(local.tm_mday);
    // The formatting calls derive the weekday themselves and do not check this.
    st.wDayOfWeek = static_cast<WORD>(local.tm_wday + 1);
    return true;
}

// The time of day of a time as a SYSTEMTIME with the date fields 0.
bool LocalTime(const CTime& time, SYSTEMTIME& st)
{
    struct tm local;
    if (time.GetLocalTm(&local) == NULL)
        return false;
    ZeroMemory(&st, sizeof(st));
    st.wHour = static_cast<WORD>(local.tm_hour);
    st.wMinute = static_cast<WORD>(local.tm_min);
    st.wSecond = static_cast<WORD>(local.tm_sec);
    return true;
}

const wchar_t* ScriptCode(DWORD flags)
{
    switch (flags & LocaleTable::kScriptMask) {
    case LocaleTable::kLatin: return L"Latn";
    case LocaleTable::kCyrillic: return L"Cyrl";
    case LocaleTable::kArabic: return L"Arab";
    case LocaleTable::kHans: return L"Hans";
    case LocaleTable::kHant: return L"Hant";
    default: return NULL;
    }
}

// The script as the schemes that honour kImplicitScript write it; NULL if not written.
const wchar_t* WrittenScriptCode(DWORD flags)
{
    return (flags & LocaleTable::kImplicitScript) != 0 ? NULL : ScriptCode(flags);
}

// The row a naming scheme names for an LCID, or the language's neutral row as a
// fallback (the caller then writes only its language), or NULL for both when the
// table does not know the language.
void FindRow(DWORD lcid, int nScheme, const LocaleTable::Row*& pRow,
             const LocaleTable::Row*& pNeutral)
{
    pRow = NULL;
    pNeutral = NULL;
    int nRows = 0;
    const LocaleTable::Row* rows = LocaleTable::FindLanguage(lcid & 0xFF, nRows);
    for (int i = 0; i < nRows; ++i) {
        const LocaleTable::Row& row = rows[i];
        if (pNeutral == NULL && row.lcid == (lcid & 0x3FF))
            pNeutral = &row;
        if (row.lcid == lcid
            && (nScheme == CLocale::nameRFC1766 || (row.flags & LocaleTable::kLegacy) == 0)) {
            pRow = &row;
            return;
        }
    }
}

CString NameRow(const LocaleTable::Row& row, int nScheme)
{
    CString name(row.language);
    const bool bCountry = row.country[0] != 0;
    const DWORD sort = row.flags & LocaleTable::kSortMask;

    switch (nScheme) {
    case CLocale::nameRFC1766: {
        if (bCountry)
            name += CString(L"-") + row.country;
        // Only the scripts this scheme ever named; the implicit bit is not consulted.
        const DWORD script = row.flags & LocaleTable::kScriptMask;
        if (script == LocaleTable::kLatin || script == LocaleTable::kCyrillic
            || script == LocaleTable::kArabic)
            name += CString(L"-") + ScriptCode(row.flags);
        break;
    }
    case CLocale::nameRFC4646: {
        const wchar_t* script = WrittenScriptCode(row.flags);
        if (script != NULL)
            name += CString(L"-") + script;
        if (bCountry)
            name += CString(L"-") + row.country;
        break;
    }
    case CLocale::nameJava: {
        const wchar_t* sortName = sort == LocaleTable::kSortTraditional ? L"TRADITIONAL"
                                  : sort == LocaleTable::kSortStroke    ? L"STROKE"
                                                                        : NULL;
        if (bCountry || sortName != NULL) {
            name += CString(L"_") + row.country;
            if (sortName != NULL)
                name += CString(L"_") + sortName;
        }
        break;
    }
    case CLocale::nameICU: {
        const wchar_t* script = WrittenScriptCode(row.flags);
        if (script != NULL)
            name += CString(L"_") + script;
        if (bCountry)
            name += CString(L"_") + row.country;
        if (sort == LocaleTable::kSortTraditional)
            name += L"@collation=traditional";
        else if (sort == LocaleTable::kSortStroke)
            name += L"@collation=stroke";
        break;
    }
    case CLocale::namePOSIX: {
        if (bCountry)
            name += CString(L"_") + row.country;
        CString modifier;
        if ((row.flags & LocaleTable::kImplicitScript) == 0) {
            switch (row.flags & LocaleTable::kScriptMask) {
            case LocaleTable::kLatin: modifier = L"latin"; break;
            case LocaleTable::kCyrillic: modifier = L"cyrillic"; break;
            case LocaleTable::kArabic: modifier = L"arabic"; break;
            default: break;
            }
        }
        if (LocaleTable::IsEuroCountry(row.country)) {
            if (!modifier.IsEmpty())
                modifier += L',';
            modifier += L"euro";
        }
        if (!modifier.IsEmpty())
            name += CString(L"@") + modifier;
        break;
    }
    default:
        break;
    }
    return name;
}

int CompareResult(int nResult)
{
    switch (nResult) {
    case CSTR_LESS_THAN: return -1;
    case CSTR_EQUAL: return 0;
    case CSTR_GREATER_THAN: return 1;
    default: return 0x7FFFFFFF;
    }
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// Construction

CLocale::CLocale(DWORD lcid)
    : m_lcid(lcid)
{
    s_localeMap.AddRef(m_lcid);
}

CLocale::CLocale(const CLocale& other)
    : m_lcid(other.m_lcid)
{
    s_localeMap.AddRef(m_lcid);
}

CLocale::~CLocale()
{
    s_localeMap.Release(m_lcid);
}

const CLocale& CLocale::operator=(DWORD lcid)
{
    if (lcid != m_lcid) {
        s_localeMap.Release(m_lcid);
        m_lcid = lcid;
        s_localeMap.AddRef(m_lcid);
    }
    return *this;
}

const CLocale& CLocale::operator=(const CLocale& other)
{
    return operator=(other.m_lcid);
}

CLocale CLocale::GetThreadLocale()
{
    return CLocale(::GetThreadLocale());
}

CLocale CLocale::GetSystemDefaultLocale()
{
    return CLocale(::GetSystemDefaultLCID());
}

CLocale CLocale::GetUserDefaultLocale()
{
    return CLocale(::GetUserDefaultLCID());
}

/////////////////////////////////////////////////////////////////////////////
// Identity, facts and names

DWORD CLocale::GetLCID() const
{
    return m_lcid;
}

CLocale::operator DWORD() const
{
    return m_lcid;
}

CString CLocale::GetLocaleInfo(LCTYPE type) const
{
    wchar_t buffer[512];
    return TextOf(::GetLocaleInfoW(m_lcid, type, buffer, 512), buffer);
}

CLocale::Language CLocale::GetLanguage() const
{
    return static_cast<Language>(GetLanguageID());
}

WORD CLocale::GetLanguageID() const
{
    return LOWORD(m_lcid);
}

CString CLocale::GetLanguageName() const
{
    return GetLocaleInfo(LOCALE_SLANGUAGE);
}

CLocale::Country CLocale::GetCountry() const
{
    return static_cast<Country>(GetCountryCode());
}

WORD CLocale::GetCountryCode() const
{
    return static_cast<WORD>(wcstoul(GetLocaleInfo(LOCALE_ICOUNTRY), NULL, 0));
}

CString CLocale::GetCountryName() const
{
    return GetLocaleInfo(LOCALE_SCOUNTRY);
}

BOOL CLocale::IsMetricSystemUsed() const
{
    return static_cast<BYTE>(wcstoul(GetLocaleInfo(LOCALE_IMEASURE), NULL, 0)) == 0;
}

CLocale::DateOrder CLocale::GetDateOrder(DateFormat eFormat) const
{
    const LCTYPE type = eFormat == dateLong ? LOCALE_ILDATE : LOCALE_IDATE;
    return static_cast<DateOrder>(static_cast<BYTE>(wcstoul(GetLocaleInfo(type), NULL, 0)));
}

BOOL CLocale::Is24HourFmtUsed() const
{
    return static_cast<BYTE>(wcstoul(GetLocaleInfo(LOCALE_ITIME), NULL, 0));
}

CString CLocale::GetMonthName(int nMonth, int bAbbreviated) const
{
    if (nMonth < 1 || nMonth > 12)
        return CString();
    const LCTYPE first = bAbbreviated != 0 ? LOCALE_SABBREVMONTHNAME1 : LOCALE_SMONTHNAME1;
    return GetLocaleInfo(first + nMonth - 1);
}

CString CLocale::GetWeekdayName(int nDay, int bAbbreviated) const
{
    if (nDay < 1 || nDay > 7)
        return CString();
    const LCTYPE first = bAbbreviated != 0 ? LOCALE_SABBREVDAYNAME1 : LOCALE_SDAYNAME1;
    return GetLocaleInfo(first + nDay - 1);
}

CString CLocale::GetName() const
{
    return ToString(nameRFC1766);
}

CString CLocale::ToString(LocaleIDStringFormat eFormat) const
{
    const LocaleTable::Row* pRow;
    const LocaleTable::Row* pNeutral;
    FindRow(m_lcid, eFormat, pRow, pNeutral);
    if (pRow != NULL)
        return NameRow(*pRow, eFormat);
    return pNeutral != NULL ? CString(pNeutral->language) : CString();
}

CString CLocale::GetISOLanguageCode() const
{
    const DWORD primary = m_lcid & 0x3FF;
    int nRows = 0;
    const LocaleTable::Row* rows = LocaleTable::FindLanguage(primary, nRows);
    for (int i = 0; i < nRows; ++i) {
        if (rows[i].lcid == primary && (rows[i].flags & LocaleTable::kLegacy) == 0)
            return rows[i].language;
    }
    return CString();
}

CString CLocale::GetISOCountryCode() const
{
    int nRows = 0;
    const LocaleTable::Row* rows = LocaleTable::FindLanguage(m_lcid & 0x3FF, nRows);
    for (int i = 0; i < nRows; ++i) {
        if (rows[i].lcid == m_lcid && (rows[i].flags & LocaleTable::kLegacy) == 0)
            return rows[i].country;
    }
    return CString();
}

/////////////////////////////////////////////////////////////////////////////
// Comparison and case

int CLocale::Compare(const CString& string1, const CString& string2) const
{
    return CompareResult(
        ::CompareStringW(m_lcid, SORT_STRINGSORT, string1, -1, string2, -1));
}

int CLocale::CompareNoCase(const CString& string1, const CString& string2) const
{
    return CompareResult(::CompareStringW(m_lcid, SORT_STRINGSORT | NORM_IGNORECASE,
                                          string1, -1, string2, -1));
}

BOOL CLocale::CharsEqualNoCase(wchar_t ch1, wchar_t ch2) const
{
    return ::CompareStringW(m_lcid, NORM_IGNORECASE, &ch1, 1, &ch2, 1) == CSTR_EQUAL;
}

namespace {

wchar_t MapChar(DWORD lcid, DWORD dwMapFlags, wchar_t ch)
{
    wchar_t mapped;
    return ::LCMapStringW(lcid, dwMapFlags, &ch, 1, &mapped, 1) == 1 ? mapped : ch;
}

CString MapString(DWORD lcid, DWORD dwMapFlags, const CString& str)
{
    const int nLength = str.GetLength();
    const int nNeeded = ::LCMapStringW(lcid, dwMapFlags, str, nLength, NULL, 0);
    if (nNeeded <= 0)
        return str;
    CString mapped;
    const int nMapped =
        ::LCMapStringW(lcid, dwMapFlags, str, nLength, mapped.GetBuffer(nNeeded), nNeeded);
    if (nMapped <= 0) {
        mapped.ReleaseBuffer(0);
        return str;
    }
    mapped.ReleaseBuffer(nMapped);
    return mapped;
}

} // namespace

wchar_t CLocale::ToLower(wchar_t ch) const
{
    return MapChar(m_lcid, LCMAP_LOWERCASE, ch);
}

wchar_t CLocale::ToUpper(wchar_t ch) const
{
    return MapChar(m_lcid, LCMAP_UPPERCASE, ch);
}

CString CLocale::ToLower(const CString& str) const
{
    return MapString(m_lcid, LCMAP_LOWERCASE, str);
}

CString CLocale::ToUpper(const CString& str) const
{
    return MapString(m_lcid, LCMAP_UPPERCASE, str);
}

void CLocale::MakeLower(CString& str) const
{
    str = ToLower(str);
}

void CLocale::MakeUpper(CString& str) const
{
    str = ToUpper(str);
}

void CLocale::MakeLower(wchar_t& ch) const
{
    ch = ToLower(ch);
}

void CLocale::MakeUpper(wchar_t& ch) const
{
    ch = ToUpper(ch);
}

/////////////////////////////////////////////////////////////////////////////
// Case-blind search

int CLocale::FindNoCase(const CString& str, wchar_t ch, int nStart) const
{
    if (nStart < 0 || nStart >= str.GetLength())
        return -1;
    const CString text = ToLower(str);
    const wchar_t wanted = ToLower(ch);
    for (int i = nStart; i < text.GetLength(); ++i) {
        if (text[i] == wanted)
            return i;
    }
    return -1;
}

int CLocale::FindNoCase(const CString& str, const CString& sub, int nStart) const
{
    const int nSub = sub.GetLength();
    if (nStart < 0 || nStart > str.GetLength() - (nSub > 1 ? nSub : 1))
        return -1;
    if (nSub == 0)
        return nStart;
    const CString text = ToLower(str);
    const CString wanted = ToLower(sub);
    const int nWanted = wanted.GetLength();
    for (int i = nStart; i <= text.GetLength() - nWanted; ++i) {
        if (wmemcmp(static_cast<LPCWSTR>(text) + i, wanted, nWanted) == 0)
            return i;
    }
    return -1;
}

int CLocale::ReverseFindNoCase(const CString& str, wchar_t ch, int nStart) const
{
    const CString text = ToLower(str);
    const int nLength = text.GetLength();
    if (nLength == 0)
        return -1;
    if (nStart < 0 || nStart >= nLength)
        nStart = nLength - 1;
    const wchar_t wanted = ToLower(ch);
    for (int i = nStart; i >= 0; --i) {
        if (text[i] == wanted)
            return i;
    }
    return -1;
}

int CLocale::ReverseFindNoCase(const CString& str, const CString& sub, int nStart) const
{
    const CStringEx text(ToLower(str));
    return text.ReverseFind(ToLower(sub), nStart);
}

/////////////////////////////////////////////////////////////////////////////
// Formatting

CString CLocale::FormatIntNumber(const CString& number) const
{
    const NUMBERFMTW* pFormat = s_localeMap.GetNumberFormat(m_lcid);
    if (pFormat == NULL)
        return CString();
    wchar_t buffer[20];
    return TextOf(::GetNumberFormatW(m_lcid, 0, number, pFormat, buffer, 20), buffer);
}

CString CLocale::FormatNumber(int nValue) const
{
    return FormatIntNumber(CStringEx::Str(nValue));
}

CString CLocale::FormatNumber(long lValue) const
{
    return FormatIntNumber(CStringEx::Str(lValue));
}

CString CLocale::FormatNumber(DWORD dwValue) const
{
    return FormatIntNumber(CStringEx::Str(dwValue));
}

CString CLocale::FormatNumber(double dValue) const
{
    wchar_t buffer[512];
    return TextOf(
        ::GetNumberFormatW(m_lcid, 0, CStringEx::Str(dValue), NULL, buffer, 512), buffer);
}

CString CLocale::FormatCurrency(double dValue) const
{
    wchar_t buffer[512];
    return TextOf(
        ::GetCurrencyFormatW(m_lcid, 0, CStringEx::Str(dValue), NULL, buffer, 512), buffer);
}

CString CLocale::FormatDate(const CTime& time, DateFormat eFormat) const
{
    SYSTEMTIME st;
    if (!LocalDate(time, st))
        return CString();
    const DWORD dwFlags = eFormat == dateShort ? DATE_SHORTDATE : DATE_LONGDATE;
    wchar_t buffer[100];
    return TextOf(::GetDateFormatW(m_lcid, dwFlags, &st, NULL, buffer, 100), buffer);
}

CString CLocale::FormatDate(const CTime& time, const CString& picture) const
{
    SYSTEMTIME st;
    if (!LocalDate(time, st))
        return CString();
    wchar_t buffer[100];
    return TextOf(::GetDateFormatW(m_lcid, 0, &st, picture, buffer, 100), buffer);
}

CString CLocale::FormatTime(const CTime& time, TimeFormat eFormat) const
{
    SYSTEMTIME st;
    if (!LocalTime(time, st))
        return CString();
    const DWORD dwFlags = eFormat == timeNoSeconds ? TIME_NOSECONDS : 0;
    wchar_t buffer[100];
    return TextOf(::GetTimeFormatW(m_lcid, dwFlags, &st, NULL, buffer, 100), buffer);
}

CString CLocale::FormatTime(const CTime& time, const CString& picture) const
{
    SYSTEMTIME st;
    if (!LocalTime(time, st))
        return CString();
    wchar_t buffer[100];
    return TextOf(::GetTimeFormatW(m_lcid, 0, &st, picture, buffer, 100), buffer);
}

CString CLocale::FormatDateTime(const CTime& time, DateFormat eDateFormat,
                                TimeFormat eTimeFormat) const
{
    return FormatDate(time, eDateFormat) + L" " + FormatTime(time, eTimeFormat);
}

/////////////////////////////////////////////////////////////////////////////
// Implementation

int CLocale::GetSharedRecordCount(DWORD lcid)
{
    return s_localeMap.GetRefCount(lcid);
}
