// StringEx.h - the framework's string with the additions the library uses everywhere.
//
//   CStringEx   CString plus loading and formatting by string id, number conversions,
//               backward search, character counting, path joining and wildcard matching
//
// A CStringEx adds no data to its CString and converts to it freely; most additions are
// static and take or return plain CStrings, so callers need no CStringEx object for them.
// Members that walk characters stop at the first zero unit.
#pragma once

#include <afx.h>

class AFX_EXT_CLASS CStringEx : public CString
{
public:
// Construction
    CStringEx();
    CStringEx(const CString& stringSrc);
    CStringEx(const CStringEx& stringSrc);

// Assignment and appending
    CStringEx& operator=(const CStringEx& stringSrc);
    const CStringEx& operator=(const CString& stringSrc);
    const CStringEx& operator=(wchar_t ch);
    // The byte is widened as a signed value: 0x80..0xFF become 0xFF80..0xFFFF.
    const CStringEx& operator=(char ch);
    // 8-bit texts are converted with the system's ANSI code page.
    const CStringEx& operator=(const char* psz);
    const CStringEx& operator=(const unsigned char* psz);
    const CStringEx& operator=(const wchar_t* psz);

    const CStringEx& operator+=(const CString& string);
    const CStringEx& operator+=(const wchar_t* psz);
    const CStringEx& operator+=(wchar_t ch);
    // Widened as a signed value, as operator=(char).
    const CStringEx& operator+=(char ch);

// Loading and formatting
    // The text of a string resource along the resource chain; empty when no module has it.
    static CString LoadString(UINT nID);
    // printf-style with the platform's wide rules (%s wide, %d int, %ld long, %lf double).
    static CString AFX_CDECL Format(const wchar_t* pszFormat, ...);
    // The format is the string resource nFormatID; an unknown id gives an empty result.
    static CString AFX_CDECL Format(UINT nFormatID, ...);

// Number to text
    static CString Str(int nValue);         // "%d"
    static CString Str(UINT nValue);        // "%u"
    static CString Str(long lValue);        // "%ld"
    static CString Str(DWORD dwValue);      // "%lu"
    static CString Str(double dValue);      // "%lf": always six decimals

// Text to number: the C library's conversions from the first character on; whatever
// follows the number is ignored. Base 0 takes "0x" as hexadecimal and a leading "0" as
// octal. Out-of-range text gives the clamped 32-bit limits, narrowed afterwards.
    static int ValInt(const CString& str, UINT nBase = 0);
    static long ValLong(const CString& str, UINT nBase = 0);
    static short ValShort(const CString& str, UINT nBase = 0);     // low 16 bits
    static UINT ValUInt(const CString& str, UINT nBase = 0);
    static DWORD ValDWord(const CString& str, UINT nBase = 0);
    static WORD ValWord(const CString& str, UINT nBase = 0);       // low 16 bits
    static BYTE ValByte(const CString& str, UINT nBase = 0);       // low 8 bits
    static double ValDouble(const CString& str);
    static float ValFloat(const CString& str);

// Case and order: changed copies, the argument stays as it is
    static CString ToLower(const CString& str);
    static CString ToUpper(const CString& str);
    static CString Reverse(const CString& str);

// Searching, counting, paths and patterns
    // Position of the last occurrence of sub that begins at or before nStart (a negative
    // or too large nStart means "from the end"), or -1. An empty sub is found at the
    // start position itself.
    int ReverseFind(const CString& sub) const;
    int ReverseFind(const CString& sub, int nStart) const;
    int ReverseFindNoCase(const CString& sub) const;
    int ReverseFindNoCase(const CString& sub, int nStart) const;

    int CountChar(wchar_t ch) const;

    // This string and part with exactly one backslash between them where neither brings
    // one; backslashes already there are kept, even two.
    CString ConcatPath(const CString& part) const;

    // '*' stands for any run of units (also none), '?' for exactly one; everything else
    // must be equal, case included. There is no escape character.
    BOOL Matches(const CString& pattern) const;

// Implementation
protected:
    // The matcher behind Matches; NULL counts as an empty text or pattern.
    BOOL MatchHelper(const wchar_t* text, const wchar_t* pattern) const;
};
