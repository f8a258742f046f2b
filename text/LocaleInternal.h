// LocaleInternal.h - what CLocale keeps behind its one field. Not part of the
// library's interface: only Locale.cpp and LocaleTable.cpp include it.
//
//   LocaleTable        the built-in locale rows (names, ISO codes, script and sort)
//   CLocaleRecordMap   the process-wide records shared by all CLocale objects of one LCID
#pragma once

#include <afx.h>

#include <map>

/////////////////////////////////////////////////////////////////////////////
// The built-in locale table

namespace LocaleTable {

// Row flags: the script in bits 0-7, the sort in bits 8-11.
enum : DWORD
{
    kLatin = 0x01,
    kCyrillic = 0x02,
    kArabic = 0x04,
    kHans = 0x10,           // simplified Han
    kHant = 0x20,           // traditional Han
    kScriptMask = 0xFF,
    kSortTraditional = 0x100,
    kSortStroke = 0x400,
    kSortMask = 0xF00,
    // The script goes without saying for this row; the schemes that honour
    // this bit leave it unwritten.
    kImplicitScript = 0x10000000,
    // An old name kept only for the first naming scheme.
    kLegacy = 0x20000000,
};

struct Row
{
    DWORD lcid;             // for a language's neutral row, the primary language itself
    wchar_t language[4];
    wchar_t country[4];     // empty for a neutral row
    DWORD flags;
};

// The rows of the primary language whose identifier equals primaryLanguage, in table
// order, with their number in nRows; NULL (and 0) when the table lacks the language.
const Row* FindLanguage(DWORD primaryLanguage, int& nRows);

// Whether the POSIX-style name of a locale in this country carries the euro modifier.
bool IsEuroCountry(const wchar_t* country);

} // namespace LocaleTable

/////////////////////////////////////////////////////////////////////////////
// The shared number-format records

// One record per LCID held by at least one CLocale: the number of those objects
// and the integer number format they use, taken from the user's default locale
// each time an object registers. Not thread-safe, like CLocale's construction.
class CLocaleRecordMap
{
public:
    CLocaleRecordMap();
    ~CLocaleRecordMap();
    CLocaleRecordMap(const CLocaleRecordMap&) = delete;
    CLocaleRecordMap& operator=(const CLocaleRecordMap&) = delete;

    // Creates the record (count 1) or counts it up, and refills its format.
    void AddRef(DWORD lcid);
    // Counts the record down and removes it at 0.
    void Release(DWORD lcid);
    // The format of a registered LCID; NULL if nobody holds it.
    const NUMBERFMTW* GetNumberFormat(DWORD lcid) const;
    // The count of live holders (0 when there is no record).
    int GetRefCount(DWORD lcid) const;

    enum { kMaxRefs = 255 };

private:
    struct Record
    {
        BYTE nRefs;
        // Set when more than kMaxRefs holders came along: the count can no
        // longer tell when the last one goes, so the record stays for good.
        bool bPinned;
        NUMBERFMTW format;
        wchar_t decimalSep[6];
        wchar_t thousandSep[6];
    };

    static void FillFormat(Record& record);

    // Node-based, so a record's format can point into the record itself.
    std::map<DWORD, Record> m_records;
};

// The one map of the process, built when the library is loaded.
extern CLocaleRecordMap s_localeMap;
