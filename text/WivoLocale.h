// WivoLocale.h - one Windows locale and what a program asks of it.
//
//   CLocale   a locale identifier (LCID) with locale-aware comparison, case mapping and
//             case-blind search, number, currency, date and time formatting, the
//             locale's facts and names, and its name in five naming schemes
//
// Names and ISO codes come from the library's own locale table; everything else from
// the platform's national-language functions called with the LCID. Nothing throws:
// a locale the table does not know has empty names and codes, a failing comparison
// gives 0x7FFFFFFF, a failing case mapping returns its input, a failing query or
// format gives an empty text (numbers read from it are 0).
//
// All CLocale objects of one LCID share a process-wide record with the format of
// the integer FormatNumber members. That record is kept without a lock: creating,
// assigning and destroying CLocale objects and formatting integers must not happen
// on several threads at once.
//
// The header is not called Locale.h: on a case-insensitive file system that name
// would stand in for the C library's <locale.h> for everyone who includes the SDK.
#pragma once

#include <afx.h>

class AFX_EXT_CLASS CLocale
{
public:
    enum DateFormat
    {
        dateShort = 1,
        dateLong = 2,
    };

    // Any value other than timeNoSeconds shows the seconds.
    enum TimeFormat
    {
        timeNoSeconds = 1,
        timeWithSeconds = 2,
    };

    // The naming schemes of ToString.
    enum LocaleIDStringFormat
    {
        nameRFC1766 = 1,    // de-AT, sr-SP-Latn, zh-CHS
        nameRFC4646 = 2,    // de-AT, uz-Cyrl-UZ, zh-Hant-TW
        nameJava = 3,       // de_AT, es_ES_TRADITIONAL, zh_TW_STROKE
        nameICU = 4,        // de_AT, es_ES@collation=traditional
        namePOSIX = 5,      // de_AT@euro, az_AZ@cyrillic
    };

    // The platform's order of the date parts (LOCALE_IDATE, LOCALE_ILDATE).
    enum DateOrder
    {
        orderMonthDayYear = 0,
        orderDayMonthYear = 1,
        orderYearMonthDay = 2,
    };

    // The international telephone country code.
    enum Country : WORD
    {
        countryUnknown = 0,
    };

    // The language identifier (LANGID), the low 16 bits of an LCID.
    enum Language : WORD
    {
        languageNeutral = 0,
    };

// Construction
    CLocale(DWORD lcid);
    CLocale(const CLocale& other);
    ~CLocale();

    const CLocale& operator=(DWORD lcid);
    const CLocale& operator=(const CLocale& other);

    static CLocale GetThreadLocale();
    static CLocale GetSystemDefaultLocale();
    static CLocale GetUserDefaultLocale();

// Identity
    DWORD GetLCID() const;
    operator DWORD() const;

// Facts and names
    Language GetLanguage() const;
    WORD GetLanguageID() const;
    CString GetLanguageName() const;
    Country GetCountry() const;
    WORD GetCountryCode() const;
    CString GetCountryName() const;
    BOOL IsMetricSystemUsed() const;
    // The long date's order for dateLong, else the short date's.
    DateOrder GetDateOrder(DateFormat eFormat) const;
    BOOL Is24HourFmtUsed() const;
    // nMonth 1 (January) to 12, nDay 1 (Monday) to 7 (Sunday); empty outside.
    CString GetMonthName(int nMonth, int bAbbreviated) const;
    CString GetWeekdayName(int nDay, int bAbbreviated) const;

    // ToString(nameRFC1766).
    CString GetName() const;
    // The locale's name in a naming scheme; the bare language code for a scheme
    // value outside 1 to 5 or a locale of which the table knows only the language.
    CString ToString(LocaleIDStringFormat eFormat) const;
    CString GetISOLanguageCode() const;
    CString GetISOCountryCode() const;

// Comparison: -1, 0 or 1 (string sort, so hyphens and apostrophes count)
    int Compare(const CString& string1, const CString& string2) const;
    int CompareNoCase(const CString& string1, const CString& string2) const;

// Case mapping
    wchar_t ToLower(wchar_t ch) const;
    wchar_t ToUpper(wchar_t ch) const;
    CString ToLower(const CString& str) const;
    CString ToUpper(const CString& str) const;
    void MakeLower(CString& str) const;
    void MakeUpper(CString& str) const;
    void MakeLower(wchar_t& ch) const;
    void MakeUpper(wchar_t& ch) const;

// Case-blind search, on copies mapped with ToLower; positions count from the start
    // -1 when nStart is outside the string.
    int FindNoCase(const CString& str, wchar_t ch, int nStart = 0) const;
    // An empty sub is found at nStart itself.
    int FindNoCase(const CString& str, const CString& sub, int nStart = 0) const;
    // A negative or too large nStart means "from the last unit".
    int ReverseFindNoCase(const CString& str, wchar_t ch, int nStart = -1) const;
    // CStringEx::ReverseFind on the mapped copies.
    int ReverseFindNoCase(const CString& str, const CString& sub, int nStart = -1) const;

// Formatting
    // Integers are grouped with the separators of the user's default locale (shared
    // record, see above) and have no decimals; doubles and currency use this
    // locale's own formats.
    CString FormatNumber(int nValue) const;
    CString FormatNumber(long lValue) const;
    CString FormatNumber(DWORD dwValue) const;
    CString FormatNumber(double dValue) const;
    CString FormatCurrency(double dValue) const;
    // Dates and times in the local time zone; an invalid time gives an empty text.
    CString FormatDate(const CTime& time, DateFormat eFormat) const;
    CString FormatDate(const CTime& time, const CString& picture) const;
    CString FormatTime(const CTime& time, TimeFormat eFormat) const;
    CString FormatTime(const CTime& time, const CString& picture) const;
    // Date, one blank, time.
    CString FormatDateTime(const CTime& time, DateFormat eDateFormat,
                           TimeFormat eTimeFormat) const;

// Implementation
protected:
    // GetLocaleInfoW for this LCID with a 512-unit buffer; empty on failure.
    CString GetLocaleInfo(LCTYPE type) const;
    BOOL CharsEqualNoCase(wchar_t ch1, wchar_t ch2) const;
    // The decimal text of an integer, grouped with the shared record's format.
    CString FormatIntNumber(const CString& number) const;

    // How many CLocale objects share the record of an LCID (0: no record). A count
    // that went past 255 stays at 255 and the record stays until the process ends.
    static int GetSharedRecordCount(DWORD lcid);

    DWORD m_lcid;
};
