// String.cpp - CString: reference-counted, copy-on-write UTF-16 strings.
#include "afx.h"

#include <stdio.h>
#include <wchar.h>
#include <wctype.h>

/////////////////////////////////////////////////////////////////////////////
// Wide printf of the C runtime itself.
//
// The C++ runtime switches the C library to its own C99 printf family, where %s in
// a wide format is a narrow string. CString::Format promises the platform's wide
// rules (%s wide, %S narrow, %I64d), so the msvcrt exports are bound directly.

extern "C" {
__declspec(dllimport) int __cdecl _vscwprintf(const wchar_t* format, va_list args);
__declspec(dllimport) int __cdecl _vsnwprintf(wchar_t* buffer, size_t count, const wchar_t* format,
                                              va_list args);
}

namespace {

/////////////////////////////////////////////////////////////////////////////
// The shared empty string: its header says "never shared, never freed".

struct NilString
{
    CStringData data;
    TCHAR chars[2];
};

NilString g_nil = { { -1, 0, 0 }, { 0, 0 } };

inline CStringData* NilData()
{
    return &g_nil.data;
}

inline LPTSTR NilChars()
{
    return g_nil.data.data();
}

// Longest string whose header and buffer still fit an int-sized allocation.
const int kMaxLength = (int)((INT_MAX - sizeof(CStringData)) / sizeof(TCHAR)) - 1;

inline BOOL IsWhite(TCHAR ch)
{
    return iswspace(ch) != 0;
}

// Single characters folded to lower case by the system's Unicode tables.
inline TCHAR FoldLower(TCHAR ch)
{
    if (ch < 0x80)
        return (ch >= L'A' && ch <= L'Z') ? (TCHAR)(ch + (L'a' - L'A')) : ch;
    return (TCHAR)(UINT_PTR)::CharLowerW((LPWSTR)(UINT_PTR)ch);
}

// The first occurrence of lpszSub (nSubLen > 0) in [pStart, pEnd), or NULL.
LPCTSTR FindSub(LPCTSTR pStart, LPCTSTR pEnd, LPCTSTR lpszSub, int nSubLen)
{
    for (LPCTSTR p = pStart; pEnd - p >= nSubLen; ++p)
        if (*p == *lpszSub && wmemcmp(p, lpszSub, nSubLen) == 0)
            return p;
    return NULL;
}

// An ANSI character as the wide character the ANSI code page gives it.
TCHAR AnsiCharToWide(char ch)
{
    WCHAR wch = 0;
    if (::MultiByteToWideChar(CP_ACP, 0, &ch, 1, &wch, 1) != 1)
        wch = (TCHAR)(unsigned char)ch;
    return wch;
}

} // namespace

// Out-of-memory and the resource chain come from the exception and module-state parts.
AFX_CORE_API void AFXAPI AfxThrowMemoryException();
AFX_CORE_API HINSTANCE AFXAPI AfxFindStringResourceHandle(UINT nID);

const CString& AFXAPI AfxGetEmptyString()
{
    static const CString s_empty;
    return s_empty;
}

/////////////////////////////////////////////////////////////////////////////
// Buffer management

void CString::Init()
{
    m_pchData = NilChars();
}

int PASCAL CString::SafeStrlen(LPCTSTR lpsz)
{
    return lpsz == NULL ? 0 : lstrlenW(lpsz);
}

void PASCAL CString::FreeData(CStringData* pData)
{
    free(pData);
}

// Leaves m_pchData untouched when the allocation fails.
void CString::AllocBuffer(int nLen)
{
    if (nLen <= 0) {
        Init();
        return;
    }
    if (nLen > kMaxLength)
        AfxThrowMemoryException();
    CStringData* pData = (CStringData*)malloc(sizeof(CStringData) + (nLen + 1) * sizeof(TCHAR));
    if (pData == NULL)
        AfxThrowMemoryException();
    pData->nRefs = 1;
    pData->nDataLength = nLen;
    pData->nAllocLength = nLen;
    pData->data()[nLen] = 0;
    m_pchData = pData->data();
}

void PASCAL CString::Release(CStringData* pData)
{
    // A locked buffer (-1) belongs to one string alone: it goes as well.
    if (pData != NilData() && InterlockedDecrement(&pData->nRefs) <= 0)
        FreeData(pData);
}

void CString::Release()
{
    if (GetData() != NilData()) {
        Release(GetData());
        Init();
    }
}

// Gives this string a buffer of its own before it is written. The copy is made
// before the old buffer is let go, since another owner may free it at any time.
void CString::CopyBeforeWrite()
{
    CStringData* pOld = GetData();
    if (pOld->nRefs > 1) {
        AllocBuffer(pOld->nDataLength);
        wmemcpy(m_pchData, pOld->data(), pOld->nDataLength + 1);
        Release(pOld);
    }
}

// A buffer of its own for at least nLen characters; the old content is not kept.
void CString::AllocBeforeWrite(int nLen)
{
    CStringData* pData = GetData();
    if (pData->nRefs > 1 || nLen > pData->nAllocLength) {
        AllocBuffer(nLen);
        Release(pData);
    }
}

// dest gets nCopyLen characters from nCopyIndex, with room for nExtraLen more.
void CString::AllocCopy(CString& dest, int nCopyLen, int nCopyIndex, int nExtraLen) const
{
    if (nCopyLen < 0)
        nCopyLen = 0;
    if ((INT_PTR)nCopyLen + nExtraLen > kMaxLength)
        AfxThrowMemoryException();
    int nNewLen = nCopyLen + nExtraLen;
    if (nNewLen == 0) {
        dest.Init();
        return;
    }
    dest.AllocBuffer(nNewLen);
    wmemcpy(dest.m_pchData, m_pchData + nCopyIndex, nCopyLen);
}

void CString::AssignCopy(int nSrcLen, LPCTSTR lpszSrcData)
{
    CStringData* pData = GetData();
    if (nSrcLen <= 0) {
        if (pData->nRefs > 1 || pData == NilData()) {
            Release();
        } else {
            pData->nDataLength = 0;
            m_pchData[0] = 0;
        }
        return;
    }
    if (pData->nRefs > 1 || nSrcLen > pData->nAllocLength) {
        // The source may lie in the old buffer: copy first, then let it go.
        AllocBuffer(nSrcLen);
        wmemcpy(m_pchData, lpszSrcData, nSrcLen);
        Release(pData);
    } else {
        wmemmove(m_pchData, lpszSrcData, nSrcLen);
        pData->nDataLength = nSrcLen;
        m_pchData[nSrcLen] = 0;
    }
}

// Only for a string that holds nothing yet (a fresh result of operator+).
void CString::ConcatCopy(int nSrc1Len, LPCTSTR lpszSrc1Data, int nSrc2Len, LPCTSTR lpszSrc2Data)
{
    if ((INT_PTR)nSrc1Len + nSrc2Len > kMaxLength)
        AfxThrowMemoryException();
    int nNewLen = nSrc1Len + nSrc2Len;
    if (nNewLen == 0)
        return;
    AllocBuffer(nNewLen);
    wmemcpy(m_pchData, lpszSrc1Data, nSrc1Len);
    wmemcpy(m_pchData + nSrc1Len, lpszSrc2Data, nSrc2Len);
}

void CString::ConcatInPlace(int nSrcLen, LPCTSTR lpszSrcData)
{
    if (nSrcLen <= 0)
        return;
    CStringData* pOld = GetData();
    // Lengths are never negative; as size_t the copies below say so to the
    // compiler as well, which otherwise sizes them for a negative int.
    size_t nOldLen = pOld->nDataLength > 0 ? (size_t)pOld->nDataLength : 0;
    size_t nAddLen = (size_t)nSrcLen;
    if (nOldLen + nAddLen > (size_t)kMaxLength)
        AfxThrowMemoryException();
    int nNewLen = (int)(nOldLen + nAddLen);
    if (pOld->nRefs > 1 || nNewLen > pOld->nAllocLength) {
        // A string that keeps growing gets some slack, so appending in a loop
        // does not copy the whole string every time.
        int nAlloc = nNewLen;
        if (pOld != NilData() && pOld->nRefs <= 1) {
            INT_PTR nGrown = (INT_PTR)pOld->nAllocLength + pOld->nAllocLength / 2;
            if (nGrown > nAlloc)
                nAlloc = nGrown > kMaxLength ? kMaxLength : (int)nGrown;
        }
        AllocBuffer(nAlloc);
        wmemcpy(m_pchData, pOld->data(), nOldLen);
        wmemcpy(m_pchData + nOldLen, lpszSrcData, nAddLen);
        Release(pOld);
    } else {
        wmemmove(m_pchData + nOldLen, lpszSrcData, nAddLen);
    }
    GetData()->nDataLength = nNewLen;
    m_pchData[nNewLen] = 0;
}

/////////////////////////////////////////////////////////////////////////////
// Construction and destruction

CString::CString()
{
    Init();
}

CString::CString(const CString& stringSrc)
{
    if (stringSrc.GetData()->nRefs >= 0) {
        m_pchData = stringSrc.m_pchData;
        InterlockedIncrement(&GetData()->nRefs);
    } else {
        // Locked (or the empty string): never shared.
        Init();
        AssignCopy(stringSrc.GetLength(), stringSrc.m_pchData);
    }
}

CString::CString(TCHAR ch, int nRepeat)
{
    Init();
    if (nRepeat >= 1) {
        AllocBuffer(nRepeat);
        wmemset(m_pchData, ch, nRepeat);
    }
}

CString::CString(LPCWSTR lpsz)
{
    Init();
    if (lpsz != NULL && IS_INTRESOURCE(lpsz)) {
        LoadString(LOWORD((UINT_PTR)lpsz));
        return;
    }
    int nLen = SafeStrlen(lpsz);
    if (nLen != 0) {
        AllocBuffer(nLen);
        wmemcpy(m_pchData, lpsz, nLen);
    }
}

CString::CString(LPCWSTR lpch, int nLength)
{
    Init();
    if (lpch != NULL && nLength > 0) {
        AllocBuffer(nLength);
        wmemcpy(m_pchData, lpch, nLength);
    }
}

CString::CString(LPCSTR lpsz)
{
    Init();
    if (lpsz != NULL && IS_INTRESOURCE(lpsz)) {
        LoadString(LOWORD((UINT_PTR)lpsz));
        return;
    }
    if (lpsz != NULL)
        *this = CString(lpsz, lstrlenA(lpsz));
}

CString::CString(LPCSTR lpch, int nLength)
{
    Init();
    if (lpch == NULL || nLength <= 0)
        return;
    int nLen = ::MultiByteToWideChar(CP_ACP, 0, lpch, nLength, NULL, 0);
    if (nLen > 0) {
        AllocBuffer(nLen);
        ::MultiByteToWideChar(CP_ACP, 0, lpch, nLength, m_pchData, nLen);
    }
}

CString::CString(const unsigned char* psz)
{
    Init();
    *this = (LPCSTR)psz;
}

CString::~CString()
{
    Release();
}

void CString::Empty()
{
    if (GetData()->nRefs >= 0)
        Release();
    else
        AssignCopy(0, NULL);   // a locked buffer stays with its string
}

void CString::SetAt(int nIndex, TCHAR ch)
{
    if (nIndex < 0 || nIndex >= GetData()->nDataLength)
        return;
    CopyBeforeWrite();
    m_pchData[nIndex] = ch;
}

/////////////////////////////////////////////////////////////////////////////
// Assignment

const CString& CString::operator=(const CString& stringSrc)
{
    if (m_pchData != stringSrc.m_pchData) {
        if ((GetData()->nRefs < 0 && GetData() != NilData()) || stringSrc.GetData()->nRefs < 0) {
            // A locked buffer on either side: copy the characters.
            AssignCopy(stringSrc.GetData()->nDataLength, stringSrc.m_pchData);
        } else {
            CStringData* pOld = GetData();
            m_pchData = stringSrc.m_pchData;
            InterlockedIncrement(&GetData()->nRefs);
            Release(pOld);
        }
    }
    return *this;
}

const CString& CString::operator=(LPCWSTR lpsz)
{
    AssignCopy(SafeStrlen(lpsz), lpsz);
    return *this;
}

const CString& CString::operator=(LPCSTR lpsz)
{
    // Converted into a string of its own, then shared: no second copy.
    if (lpsz == NULL || *lpsz == 0)
        AssignCopy(0, NULL);
    else
        *this = CString(lpsz, lstrlenA(lpsz));
    return *this;
}

const CString& CString::operator=(const unsigned char* psz)
{
    return *this = (LPCSTR)psz;
}

const CString& CString::operator=(TCHAR ch)
{
    AssignCopy(1, &ch);
    return *this;
}

const CString& CString::operator=(char ch)
{
    return *this = AnsiCharToWide(ch);
}

/////////////////////////////////////////////////////////////////////////////
// Concatenation

const CString& CString::operator+=(LPCTSTR lpsz)
{
    ConcatInPlace(SafeStrlen(lpsz), lpsz);
    return *this;
}

const CString& CString::operator+=(TCHAR ch)
{
    ConcatInPlace(1, &ch);
    return *this;
}

const CString& CString::operator+=(char ch)
{
    return *this += AnsiCharToWide(ch);
}

const CString& CString::operator+=(const CString& string)
{
    // Safe for string == *this: ConcatInPlace copies before it lets a buffer go.
    ConcatInPlace(string.GetData()->nDataLength, string.m_pchData);
    return *this;
}

CString AFXAPI operator+(const CString& string1, const CString& string2)
{
    CString s;
    s.ConcatCopy(string1.GetData()->nDataLength, string1.m_pchData,
                 string2.GetData()->nDataLength, string2.m_pchData);
    return s;
}

CString AFXAPI operator+(const CString& string, LPCTSTR lpsz)
{
    CString s;
    s.ConcatCopy(string.GetData()->nDataLength, string.m_pchData, CString::SafeStrlen(lpsz), lpsz);
    return s;
}

CString AFXAPI operator+(LPCTSTR lpsz, const CString& string)
{
    CString s;
    s.ConcatCopy(CString::SafeStrlen(lpsz), lpsz, string.GetData()->nDataLength, string.m_pchData);
    return s;
}

CString AFXAPI operator+(const CString& string, TCHAR ch)
{
    CString s;
    s.ConcatCopy(string.GetData()->nDataLength, string.m_pchData, 1, &ch);
    return s;
}

CString AFXAPI operator+(TCHAR ch, const CString& string)
{
    CString s;
    s.ConcatCopy(1, &ch, string.GetData()->nDataLength, string.m_pchData);
    return s;
}

CString AFXAPI operator+(const CString& string, char ch)
{
    return string + AnsiCharToWide(ch);
}

CString AFXAPI operator+(char ch, const CString& string)
{
    return AnsiCharToWide(ch) + string;
}

/////////////////////////////////////////////////////////////////////////////
// Comparison

int CString::Compare(LPCTSTR lpsz) const
{
    return wcscmp(m_pchData, lpsz != NULL ? lpsz : L"");
}

int CString::CompareNoCase(LPCTSTR lpsz) const
{
    if (lpsz == NULL)
        lpsz = L"";
    // Both sides folded to lower case, character by character, as _wcsicmp does,
    // but with the whole of Unicode's case pairs rather than ASCII alone.
    LPCTSTR p1 = m_pchData;
    LPCTSTR p2 = lpsz;
    for (;; ++p1, ++p2) {
        TCHAR c1 = FoldLower(*p1);
        TCHAR c2 = FoldLower(*p2);
        if (c1 != c2)
            return c1 < c2 ? -1 : 1;
        if (c1 == 0)
            return 0;
    }
}

int CString::Collate(LPCTSTR lpsz) const
{
    int nResult = ::CompareStringW(LOCALE_USER_DEFAULT, 0, m_pchData, -1,
                                   lpsz != NULL ? lpsz : L"", -1);
    if (nResult == 0)
        return Compare(lpsz);
    return nResult - CSTR_EQUAL;
}

int CString::CollateNoCase(LPCTSTR lpsz) const
{
    int nResult = ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, m_pchData, -1,
                                   lpsz != NULL ? lpsz : L"", -1);
    if (nResult == 0)
        return CompareNoCase(lpsz);
    return nResult - CSTR_EQUAL;
}

/////////////////////////////////////////////////////////////////////////////
// Extraction

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetData()->nDataLength - (nFirst < 0 ? 0 : nFirst));
}

CString CString::Mid(int nFirst, int nCount) const
{
    int nLength = GetData()->nDataLength;
    if (nFirst < 0)
        nFirst = 0;
    if (nCount < 0)
        nCount = 0;
    if (nFirst > nLength)
        nFirst = nLength;
    if (nCount > nLength - nFirst)
        nCount = nLength - nFirst;
    if (nFirst == 0 && nCount == nLength)
        return *this;
    CString dest;
    AllocCopy(dest, nCount, nFirst, 0);
    return dest;
}

CString CString::Left(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    if (nCount >= GetData()->nDataLength)
        return *this;
    CString dest;
    AllocCopy(dest, nCount, 0, 0);
    return dest;
}

CString CString::Right(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    int nLength = GetData()->nDataLength;
    if (nCount >= nLength)
        return *this;
    CString dest;
    AllocCopy(dest, nCount, nLength - nCount, 0);
    return dest;
}

CString CString::SpanIncluding(LPCTSTR lpszCharSet) const
{
    if (lpszCharSet == NULL)
        return CString();
    return Left((int)wcsspn(m_pchData, lpszCharSet));
}

CString CString::SpanExcluding(LPCTSTR lpszCharSet) const
{
    if (lpszCharSet == NULL)
        return *this;
    return Left((int)wcscspn(m_pchData, lpszCharSet));
}

/////////////////////////////////////////////////////////////////////////////
// Case and order

void CString::MakeUpper()
{
    if (IsEmpty())
        return;
    CopyBeforeWrite();
    ::CharUpperBuffW(m_pchData, (DWORD)GetData()->nDataLength);
}

void CString::MakeLower()
{
    if (IsEmpty())
        return;
    CopyBeforeWrite();
    ::CharLowerBuffW(m_pchData, (DWORD)GetData()->nDataLength);
}

void CString::MakeReverse()
{
    if (GetLength() < 2)
        return;
    CopyBeforeWrite();
    for (LPTSTR p = m_pchData, q = m_pchData + GetData()->nDataLength - 1; p < q; ++p, --q) {
        TCHAR ch = *p;
        *p = *q;
        *q = ch;
    }
}

/////////////////////////////////////////////////////////////////////////////
// Replacement, insertion, deletion

int CString::Replace(TCHAR chOld, TCHAR chNew)
{
    if (chOld == chNew)
        return 0;
    int nLength = GetData()->nDataLength;
    int nCount = 0;
    for (int i = 0; i < nLength; ++i) {
        if (m_pchData[i] == chOld) {
            if (nCount++ == 0)
                CopyBeforeWrite();
            m_pchData[i] = chNew;
        }
    }
    return nCount;
}

int CString::Replace(LPCTSTR lpszOld, LPCTSTR lpszNew)
{
    int nOldLen = SafeStrlen(lpszOld);
    if (nOldLen == 0)
        return 0;
    int nNewLen = SafeStrlen(lpszNew);
    int nLength = GetData()->nDataLength;
    LPCTSTR pEnd = m_pchData + nLength;

    int nCount = 0;
    for (LPCTSTR p = FindSub(m_pchData, pEnd, lpszOld, nOldLen); p != NULL;
         p = FindSub(p + nOldLen, pEnd, lpszOld, nOldLen))
        ++nCount;
    if (nCount == 0)
        return 0;

    INT_PTR nResultLen = (INT_PTR)nLength + (INT_PTR)(nNewLen - nOldLen) * nCount;
    if (nResultLen > kMaxLength)
        AfxThrowMemoryException();

    // Built in a new string: the replacement text may be part of this one.
    CString strResult;
    strResult.AllocBuffer((int)nResultLen);
    LPTSTR pOut = strResult.m_pchData;
    LPCTSTR pIn = m_pchData;
    for (LPCTSTR p = FindSub(pIn, pEnd, lpszOld, nOldLen); p != NULL;
         p = FindSub(pIn, pEnd, lpszOld, nOldLen)) {
        wmemcpy(pOut, pIn, p - pIn);
        pOut += p - pIn;
        wmemcpy(pOut, lpszNew, nNewLen);
        pOut += nNewLen;
        pIn = p + nOldLen;
    }
    wmemcpy(pOut, pIn, pEnd - pIn);
    *this = strResult;
    return nCount;
}

int CString::Remove(TCHAR chRemove)
{
    int nLength = GetData()->nDataLength;
    int nFirst = 0;
    while (nFirst < nLength && m_pchData[nFirst] != chRemove)
        ++nFirst;
    if (nFirst == nLength)
        return 0;
    CopyBeforeWrite();
    int nOut = nFirst;
    for (int i = nFirst; i < nLength; ++i)
        if (m_pchData[i] != chRemove)
            m_pchData[nOut++] = m_pchData[i];
    m_pchData[nOut] = 0;
    GetData()->nDataLength = nOut;
    return nLength - nOut;
}

int CString::Insert(int nIndex, TCHAR ch)
{
    return Insert(nIndex, CString(ch, 1));
}

int CString::Insert(int nIndex, LPCTSTR pstr)
{
    int nLength = GetData()->nDataLength;
    int nInsertLen = SafeStrlen(pstr);
    if (nInsertLen == 0)
        return nLength;
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex > nLength)
        nIndex = nLength;
    if ((INT_PTR)nLength + nInsertLen > kMaxLength)
        AfxThrowMemoryException();

    CString strResult;
    strResult.AllocBuffer(nLength + nInsertLen);
    wmemcpy(strResult.m_pchData, m_pchData, nIndex);
    wmemcpy(strResult.m_pchData + nIndex, pstr, nInsertLen);
    wmemcpy(strResult.m_pchData + nIndex + nInsertLen, m_pchData + nIndex, nLength - nIndex);
    *this = strResult;
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    int nLength = GetData()->nDataLength;
    if (nIndex < 0)
        nIndex = 0;
    if (nCount > nLength - nIndex)
        nCount = nLength - nIndex;
    if (nCount > 0) {
        CopyBeforeWrite();
        wmemmove(m_pchData + nIndex, m_pchData + nIndex + nCount, nLength - nIndex - nCount + 1);
        GetData()->nDataLength = nLength - nCount;
    }
    return GetLength();
}

/////////////////////////////////////////////////////////////////////////////
// Trimming

namespace {

inline BOOL InSet(TCHAR ch, LPCTSTR lpszSet)
{
    return ch != 0 && wcschr(lpszSet, ch) != NULL;
}

} // namespace

void CString::TrimRight()
{
    int nLength = GetData()->nDataLength;
    int nNew = nLength;
    while (nNew > 0 && IsWhite(m_pchData[nNew - 1]))
        --nNew;
    if (nNew != nLength) {
        CopyBeforeWrite();
        m_pchData[nNew] = 0;
        GetData()->nDataLength = nNew;
    }
}

void CString::TrimRight(TCHAR chTarget)
{
    TCHAR sz[2] = { chTarget, 0 };
    TrimRight(sz);
}

void CString::TrimRight(LPCTSTR lpszTargets)
{
    if (lpszTargets == NULL)
        return;
    int nLength = GetData()->nDataLength;
    int nNew = nLength;
    while (nNew > 0 && InSet(m_pchData[nNew - 1], lpszTargets))
        --nNew;
    if (nNew != nLength) {
        CopyBeforeWrite();
        m_pchData[nNew] = 0;
        GetData()->nDataLength = nNew;
    }
}

void CString::TrimLeft()
{
    int nLength = GetData()->nDataLength;
    int nSkip = 0;
    while (nSkip < nLength && IsWhite(m_pchData[nSkip]))
        ++nSkip;
    if (nSkip > 0)
        Delete(0, nSkip);
}

void CString::TrimLeft(TCHAR chTarget)
{
    TCHAR sz[2] = { chTarget, 0 };
    TrimLeft(sz);
}

void CString::TrimLeft(LPCTSTR lpszTargets)
{
    if (lpszTargets == NULL)
        return;
    int nLength = GetData()->nDataLength;
    int nSkip = 0;
    while (nSkip < nLength && InSet(m_pchData[nSkip], lpszTargets))
        ++nSkip;
    if (nSkip > 0)
        Delete(0, nSkip);
}

/////////////////////////////////////////////////////////////////////////////
// Searching

int CString::Find(TCHAR ch) const
{
    return Find(ch, 0);
}

int CString::Find(LPCTSTR lpszSub) const
{
    return Find(lpszSub, 0);
}

int CString::Find(TCHAR ch, int nStart) const
{
    if (nStart < 0)
        nStart = 0;
    if (nStart >= GetData()->nDataLength)
        return -1;
    LPCTSTR p = wcschr(m_pchData + nStart, ch);
    return p == NULL ? -1 : (int)(p - m_pchData);
}

int CString::Find(LPCTSTR lpszSub, int nStart) const
{
    if (lpszSub == NULL)
        return -1;
    if (nStart < 0)
        nStart = 0;
    int nLength = GetData()->nDataLength;
    if (nStart > nLength)
        return -1;
    // The empty string is found where the search starts, even at the very end.
    int nSubLen = SafeStrlen(lpszSub);
    if (nSubLen == 0)
        return nStart;
    LPCTSTR p = FindSub(m_pchData + nStart, m_pchData + nLength, lpszSub, nSubLen);
    return p == NULL ? -1 : (int)(p - m_pchData);
}

int CString::ReverseFind(TCHAR ch) const
{
    LPCTSTR p = wcsrchr(m_pchData, ch);
    return p == NULL ? -1 : (int)(p - m_pchData);
}

int CString::FindOneOf(LPCTSTR lpszCharSet) const
{
    if (lpszCharSet == NULL)
        return -1;
    LPCTSTR p = wcspbrk(m_pchData, lpszCharSet);
    return p == NULL ? -1 : (int)(p - m_pchData);
}

/////////////////////////////////////////////////////////////////////////////
// Formatting

void CString::FormatV(LPCTSTR lpszFormat, va_list argList)
{
    if (lpszFormat == NULL) {
        Empty();
        return;
    }
    va_list argCount;
    va_copy(argCount, argList);
    int nLen = _vscwprintf(lpszFormat, argCount);
    va_end(argCount);
    if (nLen <= 0) {
        // An empty result, or a format the runtime rejects.
        Empty();
        return;
    }
    if (nLen > kMaxLength)
        AfxThrowMemoryException();
    // Formatted into a string of its own: the format may be this string's text.
    CString strResult;
    strResult.AllocBuffer(nLen);
    int nWritten = _vsnwprintf(strResult.m_pchData, (size_t)nLen + 1, lpszFormat, argList);
    strResult.ReleaseBuffer(nWritten < 0 ? nLen : nWritten);
    *this = strResult;
}

void AFX_CDECL CString::Format(LPCTSTR lpszFormat, ...)
{
    va_list argList;
    va_start(argList, lpszFormat);
    FormatV(lpszFormat, argList);
    va_end(argList);
}

void AFX_CDECL CString::Format(UINT nFormatID, ...)
{
    CString strFormat;
    strFormat.LoadString(nFormatID);
    va_list argList;
    va_start(argList, nFormatID);
    FormatV(strFormat, argList);
    va_end(argList);
}

namespace {

// FormatMessage with inserts from a va_list; empty text on a bad format.
CString FormatMessageV(LPCTSTR lpszFormat, va_list* pArgList)
{
    CString strResult;
    if (lpszFormat == NULL || *lpszFormat == 0)
        return strResult;
    LPWSTR lpszBuffer = NULL;
    DWORD nLen = ::FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                  lpszFormat, 0, 0, (LPWSTR)&lpszBuffer, 0, pArgList);
    if (nLen == 0 || lpszBuffer == NULL) {
        DWORD dwError = ::GetLastError();
        if (lpszBuffer != NULL)
            ::LocalFree(lpszBuffer);
        if (dwError == ERROR_NOT_ENOUGH_MEMORY || dwError == ERROR_OUTOFMEMORY)
            AfxThrowMemoryException();
        return strResult;
    }
    try {
        strResult = CString(lpszBuffer, (int)nLen);
    } catch (...) {
        ::LocalFree(lpszBuffer);
        throw;
    }
    ::LocalFree(lpszBuffer);
    return strResult;
}

} // namespace

void AFX_CDECL CString::FormatMessage(LPCTSTR lpszFormat, ...)
{
    va_list argList;
    va_start(argList, lpszFormat);
    CString strResult = FormatMessageV(lpszFormat, &argList);
    va_end(argList);
    *this = strResult;
}

void AFX_CDECL CString::FormatMessage(UINT nFormatID, ...)
{
    CString strFormat;
    strFormat.LoadString(nFormatID);
    va_list argList;
    va_start(argList, nFormatID);
    CString strResult = FormatMessageV(strFormat, &argList);
    va_end(argList);
    *this = strResult;
}

/////////////////////////////////////////////////////////////////////////////
// String resources

BOOL CString::LoadString(UINT nID)
{
    HINSTANCE hInst = AfxFindStringResourceHandle(nID);
    LPCWSTR pText = NULL;
    int nLen = 0;
    if (hInst != NULL)
        // With no buffer size, the result points at the resource text itself, so
        // strings of any length load whole.
        nLen = ::LoadStringW(hInst, nID, (LPWSTR)&pText, 0);
    if (nLen <= 0 || pText == NULL) {
        Empty();
        return FALSE;
    }
    AssignCopy(nLen, pText);
    return TRUE;
}

/////////////////////////////////////////////////////////////////////////////
// OEM conversions: AnsiToOem leaves each character as one OEM code page byte
// (0..255), which OemToAnsi turns back into text.

void CString::AnsiToOem()
{
    int nLength = GetData()->nDataLength;
    if (nLength == 0)
        return;
    char* pBytes = (char*)malloc((size_t)nLength + 1);
    if (pBytes == NULL)
        AfxThrowMemoryException();
    ::CharToOemBuffW(m_pchData, pBytes, (DWORD)nLength);
    CopyBeforeWrite();
    for (int i = 0; i < nLength; ++i)
        m_pchData[i] = (TCHAR)(unsigned char)pBytes[i];
    free(pBytes);
}

void CString::OemToAnsi()
{
    int nLength = GetData()->nDataLength;
    if (nLength == 0)
        return;
    CopyBeforeWrite();
    for (int i = 0; i < nLength; ++i) {
        // Characters above 255 cannot be OEM bytes; they are text already.
        if (m_pchData[i] > 0xFF)
            continue;
        char chOem = (char)(unsigned char)m_pchData[i];
        WCHAR wch = m_pchData[i];
        if (::OemToCharBuffW(&chOem, &wch, 1))
            m_pchData[i] = wch;
    }
}

/////////////////////////////////////////////////////////////////////////////
// BSTR

BSTR CString::AllocSysString() const
{
    BSTR bstr = ::SysAllocStringLen(m_pchData, (UINT)GetData()->nDataLength);
    if (bstr == NULL)
        AfxThrowMemoryException();
    return bstr;
}

BSTR CString::SetSysString(BSTR* pbstr) const
{
    if (pbstr == NULL)
        return NULL;
    if (!::SysReAllocStringLen(pbstr, m_pchData, (UINT)GetData()->nDataLength))
        AfxThrowMemoryException();
    return *pbstr;
}

/////////////////////////////////////////////////////////////////////////////
// Direct buffer access

LPTSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength < 0)
        nMinBufLength = 0;
    CStringData* pOld = GetData();
    if (pOld->nRefs > 1 || nMinBufLength > pOld->nAllocLength || pOld == NilData()) {
        int nOldLen = pOld->nDataLength;
        // Even a request for nothing gets a real buffer: callers write the terminator.
        int nNewAlloc = nMinBufLength > nOldLen ? nMinBufLength : nOldLen;
        if (nNewAlloc == 0)
            nNewAlloc = 1;
        AllocBuffer(nNewAlloc);
        wmemcpy(m_pchData, pOld->data(), nOldLen + 1);
        GetData()->nDataLength = nOldLen;
        Release(pOld);
    }
    return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength)
{
    CopyBeforeWrite();
    CStringData* pData = GetData();
    if (pData == NilData())
        return;
    if (nNewLength < 0 || nNewLength > pData->nAllocLength) {
        // Up to the terminator, which a careless caller may have left out.
        int nLen = 0;
        while (nLen < pData->nAllocLength && m_pchData[nLen] != 0)
            ++nLen;
        nNewLength = nLen;
    }
    pData->nDataLength = nNewLength;
    m_pchData[nNewLength] = 0;
}

LPTSTR CString::GetBufferSetLength(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = 0;
    GetBuffer(nNewLength);
    GetData()->nDataLength = nNewLength;
    m_pchData[nNewLength] = 0;
    return m_pchData;
}

void CString::FreeExtra()
{
    CStringData* pOld = GetData();
    if (pOld == NilData() || pOld->nDataLength == pOld->nAllocLength)
        return;
    if (pOld->nDataLength == 0 && pOld->nRefs >= 0) {
        Release();
        return;
    }
    if (pOld->nDataLength == 0)
        return;   // a locked buffer keeps its memory
    long nRefs = pOld->nRefs;
    AllocBuffer(pOld->nDataLength);
    wmemcpy(m_pchData, pOld->data(), pOld->nDataLength);
    if (nRefs < 0)
        GetData()->nRefs = -1;   // still locked
    Release(pOld);
}

LPTSTR CString::LockBuffer()
{
    LPTSTR lpsz = GetBuffer(0);
    GetData()->nRefs = -1;
    return lpsz;
}

void CString::UnlockBuffer()
{
    if (GetData() != NilData())
        GetData()->nRefs = 1;
}

/////////////////////////////////////////////////////////////////////////////
// Diagnostics

CDumpContext& AFXAPI operator<<(CDumpContext& dc, const CString& string)
{
    return dc << (LPCTSTR)string;
}
