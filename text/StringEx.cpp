// StringEx.cpp - CStringEx: loading, formatting, conversions, backward search, paths
// and wildcard matching on top of CString.
#include "StringEx.h"

#include <stdarg.h>
#include <stdlib.h>
#include <wchar.h>

// The C runtime's own wcstod. The C++ runtime's headers put their C99 conversion in its
// place, which reads texts ("inf", "0x1p4") the platform's conversion stops at; the
// integer conversions are the runtime's already.
#define WIVO_CRT_SYMBOL2(prefix, name) #prefix #name
#define WIVO_CRT_SYMBOL(prefix, name) WIVO_CRT_SYMBOL2(prefix, name)
extern "C" double __cdecl WivoCrtWcstod(const wchar_t* str, wchar_t** end)
    __asm__(WIVO_CRT_SYMBOL(__USER_LABEL_PREFIX__, wcstod));

namespace {

// Bases the C library's conversions accept; anything else converts to 0, as they do,
// without letting the runtime's invalid-parameter handler see the call.
inline bool IsValidBase(UINT nBase)
{
    return nBase == 0 || (nBase >= 2 && nBase <= 36);
}

// long is 32 bits on Windows, so this clamps to the 32-bit limits.
long ToLong(const CString& str, UINT nBase)
{
    if (!IsValidBase(nBase))
        return 0;
    return ::wcstol(str, NULL, (int)nBase);
}

unsigned long ToULong(const CString& str, UINT nBase)
{
    if (!IsValidBase(nBase))
        return 0;
    return ::wcstoul(str, NULL, (int)nBase);
}

double ToDouble(const CString& str)
{
    return WivoCrtWcstod(str, NULL);
}

// The backward search on (pszText, nTextLen) for (pszSub, nSubLen) from nStart.
int ReverseSearch(LPCWSTR pszText, int nTextLen, LPCWSTR pszSub, int nSubLen, int nStart)
{
    if (nTextLen == 0)
        return nSubLen != 0 ? -1 : 0;
    // An empty sub is found at the last unit, not past it.
    int nLast = nTextLen - (nSubLen > 1 ? nSubLen : 1);
    int nPos = (nStart < 0 || nStart > nLast) ? nLast : nStart;
    if (nSubLen == 0)
        return nPos;
    if (nSubLen > nTextLen)
        return -1;
    for (;;) {
        if (::wcsncmp(pszText + nPos, pszSub, (size_t)nSubLen) == 0)
            return nPos;
        if (nPos == 0)
            return -1;
        --nPos;
    }
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// Construction

CStringEx::CStringEx()
{
}

CStringEx::CStringEx(const CString& stringSrc)
    : CString(stringSrc)
{
}

CStringEx::CStringEx(const CStringEx& stringSrc)
    : CString(stringSrc)
{
}

/////////////////////////////////////////////////////////////////////////////
// Assignment and appending

CStringEx& CStringEx::operator=(const CStringEx& stringSrc)
{
    CString::operator=(static_cast<const CString&>(stringSrc));
    return *this;
}

const CStringEx& CStringEx::operator=(const CString& stringSrc)
{
    CString::operator=(stringSrc);
    return *this;
}

const CStringEx& CStringEx::operator=(wchar_t ch)
{
    CString::operator=(ch);
    return *this;
}

const CStringEx& CStringEx::operator=(char ch)
{
    // Sign extension, not the code page: 8-bit units keep their old 16-bit meaning.
    CString::operator=((wchar_t)(signed char)ch);
    return *this;
}

const CStringEx& CStringEx::operator=(const char* psz)
{
    CString::operator=(psz);
    return *this;
}

const CStringEx& CStringEx::operator=(const unsigned char* psz)
{
    CString::operator=(psz);
    return *this;
}

const CStringEx& CStringEx::operator=(const wchar_t* psz)
{
    CString::operator=(psz);
    return *this;
}

const CStringEx& CStringEx::operator+=(const CString& string)
{
    CString::operator+=(string);
    return *this;
}

const CStringEx& CStringEx::operator+=(const wchar_t* psz)
{
    CString::operator+=(psz);
    return *this;
}

const CStringEx& CStringEx::operator+=(wchar_t ch)
{
    CString::operator+=(ch);
    return *this;
}

const CStringEx& CStringEx::operator+=(char ch)
{
    CString::operator+=((wchar_t)(signed char)ch);
    return *this;
}

/////////////////////////////////////////////////////////////////////////////
// Loading and formatting

CString CStringEx::LoadString(UINT nID)
{
    CString strResult;
    strResult.LoadString(nID);
    return strResult;
}

CString AFX_CDECL CStringEx::Format(const wchar_t* pszFormat, ...)
{
    CString strResult;
    va_list argList;
    va_start(argList, pszFormat);
    strResult.FormatV(pszFormat, argList);
    va_end(argList);
    return strResult;
}

CString AFX_CDECL CStringEx::Format(UINT nFormatID, ...)
{
    CString strFormat = LoadString(nFormatID);
    CString strResult;
    va_list argList;
    va_start(argList, nFormatID);
    strResult.FormatV(strFormat, argList);
    va_end(argList);
    return strResult;
}

/////////////////////////////////////////////////////////////////////////////
// Number to text

CString CStringEx::Str(int nValue)
{
    return Format(L"%d", nValue);
}

CString CStringEx::Str(UINT nValue)
{
    return Format(L"%u", nValue);
}

CString CStringEx::Str(long lValue)
{
    return Format(L"%ld", lValue);
}

CString CStringEx::Str(DWORD dwValue)
{
    return Format(L"%lu", dwValue);
}

CString CStringEx::Str(double dValue)
{
    return Format(L"%lf", dValue);
}

/////////////////////////////////////////////////////////////////////////////
// Text to number

int CStringEx::ValInt(const CString& str, UINT nBase)
{
    return (int)ToLong(str, nBase);
}

long CStringEx::ValLong(const CString& str, UINT nBase)
{
    return ToLong(str, nBase);
}

short CStringEx::ValShort(const CString& str, UINT nBase)
{
    return (short)(WORD)ToLong(str, nBase);
}

UINT CStringEx::ValUInt(const CString& str, UINT nBase)
{
    return (UINT)ToULong(str, nBase);
}

DWORD CStringEx::ValDWord(const CString& str, UINT nBase)
{
    return (DWORD)ToULong(str, nBase);
}

WORD CStringEx::ValWord(const CString& str, UINT nBase)
{
    return (WORD)ToULong(str, nBase);
}

BYTE CStringEx::ValByte(const CString& str, UINT nBase)
{
    return (BYTE)ToULong(str, nBase);
}

double CStringEx::ValDouble(const CString& str)
{
    return ToDouble(str);
}

float CStringEx::ValFloat(const CString& str)
{
    return (float)ToDouble(str);
}

/////////////////////////////////////////////////////////////////////////////
// Case and order

CString CStringEx::ToLower(const CString& str)
{
    CString strResult(str);
    strResult.MakeLower();
    return strResult;
}

CString CStringEx::ToUpper(const CString& str)
{
    CString strResult(str);
    strResult.MakeUpper();
    return strResult;
}

CString CStringEx::Reverse(const CString& str)
{
    CString strResult(str);
    strResult.MakeReverse();
    return strResult;
}

/////////////////////////////////////////////////////////////////////////////
// Searching, counting, paths and patterns

int CStringEx::ReverseFind(const CString& sub) const
{
    return ReverseFind(sub, -1);
}

int CStringEx::ReverseFind(const CString& sub, int nStart) const
{
    return ReverseSearch(m_pchData, GetLength(), sub, sub.GetLength(), nStart);
}

int CStringEx::ReverseFindNoCase(const CString& sub) const
{
    return ReverseFindNoCase(sub, -1);
}

int CStringEx::ReverseFindNoCase(const CString& sub, int nStart) const
{
    CString strText = ToLower(*this);
    CString strSub = ToLower(sub);
    return ReverseSearch(strText, strText.GetLength(), strSub, strSub.GetLength(), nStart);
}

int CStringEx::CountChar(wchar_t ch) const
{
    int nCount = 0;
    for (LPCWSTR p = m_pchData; *p != 0; ++p) {
        if (*p == ch)
            ++nCount;
    }
    return nCount;
}

CString CStringEx::ConcatPath(const CString& part) const
{
    CString strResult(*this);
    int nLen = strResult.GetLength();
    if (nLen != 0 && strResult[nLen - 1] != L'\\' && part[0] != L'\\')
        strResult += L'\\';
    strResult += part;
    return strResult;
}

BOOL CStringEx::Matches(const CString& pattern) const
{
    return MatchHelper(m_pchData, pattern);
}

// Greedy, with backtracking to the last star only. That is exact for '*' and '?':
// once the stretch after a star has been matched at its first possible place, a later
// star can reach every text position that an earlier star's longer run could give it.
// So the matcher needs no stack and at most (text length) * (pattern length) steps,
// however many stars the pattern has.
BOOL CStringEx::MatchHelper(const wchar_t* text, const wchar_t* pattern) const
{
    if (text == NULL)
        text = L"";
    if (pattern == NULL)
        pattern = L"";

    const wchar_t* pAfterStar = NULL;   // the pattern right after the last star
    const wchar_t* pStarEnd = NULL;     // the text where that star's run ends for now
    for (;;) {
        if (*pattern == L'*') {
            // A run of stars is one star; let it take nothing first.
            do
                ++pattern;
            while (*pattern == L'*');
            if (*pattern == 0)
                return TRUE;
            pAfterStar = pattern;
            pStarEnd = text;
            continue;
        }
        if (*text == 0) {
            // A star's longer run would only leave less text for what is still to match.
            return *pattern == 0;
        }
        if (*pattern != 0 && (*pattern == L'?' || *pattern == *text)) {
            ++pattern;
            ++text;
            continue;
        }
        if (pAfterStar == NULL)
            return FALSE;
        // Let the last star take one more unit and try the rest again from there.
        pattern = pAfterStar;
        text = ++pStarEnd;
    }
}
