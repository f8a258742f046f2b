// afxstr_.h - CString, the framework's reference-counted, copy-on-write string.
//
//   CStringData   header in front of the characters of every non-empty string
//   CString       a single pointer to those characters (so it passes as LPCTSTR)
//
// Included by afx.h after afxobj_.h.
#pragma once

#include "afxobj_.h"

#include <oleauto.h>

class CArchive;
class CDumpContext;

/////////////////////////////////////////////////////////////////////////////
// CStringData: nRefs counts the CString objects sharing the buffer; -1 marks the
// shared empty string and a locked buffer, which are never shared.

struct CStringData
{
    long nRefs;
    int nDataLength;    // characters, without the terminator
    int nAllocLength;   // characters the buffer holds, without the terminator
    // TCHAR data[nAllocLength + 1] follows

    TCHAR* data() { return (TCHAR*)(this + 1); }
};

/////////////////////////////////////////////////////////////////////////////
// CString

class AFX_CORE_CLASS CString
{
public:
// Constructors
    CString();
    CString(const CString& stringSrc);
    CString(TCHAR ch, int nRepeat = 1);
    CString(LPCSTR lpsz);                      // converted with the ANSI code page
    // A MAKEINTRESOURCE value loads that string resource.
    CString(LPCWSTR lpsz);
    CString(LPCSTR lpch, int nLength);
    CString(LPCWSTR lpch, int nLength);
    CString(const unsigned char* psz);

// Attributes & Operations
    int GetLength() const { return GetData()->nDataLength; }
    BOOL IsEmpty() const { return GetData()->nDataLength == 0; }
    void Empty();

    // An index outside the string (the terminator aside) reads as 0.
    TCHAR GetAt(int nIndex) const
        { return (UINT)nIndex <= (UINT)GetData()->nDataLength ? m_pchData[nIndex] : (TCHAR)0; }
    TCHAR operator[](int nIndex) const { return GetAt(nIndex); }
    void SetAt(int nIndex, TCHAR ch);
    operator LPCTSTR() const { return m_pchData; }

    // Assignment
    const CString& operator=(const CString& stringSrc);
    const CString& operator=(TCHAR ch);
    const CString& operator=(char ch);
    const CString& operator=(LPCSTR lpsz);
    const CString& operator=(LPCWSTR lpsz);
    const CString& operator=(const unsigned char* psz);

    // Concatenation
    const CString& operator+=(const CString& string);
    const CString& operator+=(TCHAR ch);
    const CString& operator+=(char ch);
    const CString& operator+=(LPCTSTR lpsz);

    friend AFX_CORE_API CString AFXAPI operator+(const CString& string1, const CString& string2);
    friend AFX_CORE_API CString AFXAPI operator+(const CString& string, TCHAR ch);
    friend AFX_CORE_API CString AFXAPI operator+(TCHAR ch, const CString& string);
    friend AFX_CORE_API CString AFXAPI operator+(const CString& string, char ch);
    friend AFX_CORE_API CString AFXAPI operator+(char ch, const CString& string);
    friend AFX_CORE_API CString AFXAPI operator+(const CString& string, LPCTSTR lpsz);
    friend AFX_CORE_API CString AFXAPI operator+(LPCTSTR lpsz, const CString& string);

    // Comparison: ordinal, case-insensitive, and by the user's locale
    int Compare(LPCTSTR lpsz) const;
    int CompareNoCase(LPCTSTR lpsz) const;
    int Collate(LPCTSTR lpsz) const;
    int CollateNoCase(LPCTSTR lpsz) const;

    // Extraction (indexes and counts out of range are clamped)
    CString Mid(int nFirst, int nCount) const;
    CString Mid(int nFirst) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCTSTR lpszCharSet) const;
    CString SpanExcluding(LPCTSTR lpszCharSet) const;

    // Upper/lower/reverse conversion
    void MakeUpper();
    void MakeLower();
    void MakeReverse();

    // Replacement, insertion and deletion; each returns a count or the new length
    int Replace(TCHAR chOld, TCHAR chNew);
    int Replace(LPCTSTR lpszOld, LPCTSTR lpszNew);
    int Remove(TCHAR chRemove);
    int Insert(int nIndex, TCHAR ch);
    int Insert(int nIndex, LPCTSTR pstr);
    int Delete(int nIndex, int nCount = 1);

    // Trimming: white space, one character, or any of a set of characters
    void TrimRight();
    void TrimRight(TCHAR chTarget);
    void TrimRight(LPCTSTR lpszTargets);
    void TrimLeft();
    void TrimLeft(TCHAR chTarget);
    void TrimLeft(LPCTSTR lpszTargets);

    // Searching: the index of the match, or -1
    int Find(TCHAR ch) const;
    int Find(LPCTSTR lpszSub) const;
    int Find(TCHAR ch, int nStart) const;
    int Find(LPCTSTR lpszSub, int nStart) const;
    int ReverseFind(TCHAR ch) const;
    int FindOneOf(LPCTSTR lpszCharSet) const;

    // Formatting with the platform's wide printf rules (%s wide, %S narrow)
    void AFX_CDECL Format(LPCTSTR lpszFormat, ...);
    void AFX_CDECL Format(UINT nFormatID, ...);
    void FormatV(LPCTSTR lpszFormat, va_list argList);
    // Formatting with FormatMessage's rules (%1, %2!d!)
    void AFX_CDECL FormatMessage(LPCTSTR lpszFormat, ...);
    void AFX_CDECL FormatMessage(UINT nFormatID, ...);

    // String resources of the resource chain; FALSE (and empty) when none has nID
    BOOL LoadString(UINT nID);

    // The characters as OEM code page bytes (one byte per character), and back
    void AnsiToOem();
    void OemToAnsi();

    // OLE BSTR support (throws CMemoryException when out of memory)
    BSTR AllocSysString() const;
    BSTR SetSysString(BSTR* pbstr) const;

    // Direct access to the buffer
    LPTSTR GetBuffer(int nMinBufLength);
    void ReleaseBuffer(int nNewLength = -1);
    LPTSTR GetBufferSetLength(int nNewLength);
    void FreeExtra();

    // A locked buffer is never shared; UnlockBuffer makes it shareable again.
    LPTSTR LockBuffer();
    void UnlockBuffer();

// Implementation
public:
    ~CString();
    int GetAllocLength() const { return GetData()->nAllocLength; }

protected:
    LPTSTR m_pchData;   // points at the characters after the CStringData header

    CStringData* GetData() const { return ((CStringData*)m_pchData) - 1; }
    void Init();
    void AllocCopy(CString& dest, int nCopyLen, int nCopyIndex, int nExtraLen) const;
    void AllocBuffer(int nLen);
    void AssignCopy(int nSrcLen, LPCTSTR lpszSrcData);
    void ConcatCopy(int nSrc1Len, LPCTSTR lpszSrc1Data, int nSrc2Len, LPCTSTR lpszSrc2Data);
    void ConcatInPlace(int nSrcLen, LPCTSTR lpszSrcData);
    void CopyBeforeWrite();
    void AllocBeforeWrite(int nLen);
    void Release();
    static void PASCAL Release(CStringData* pData);
    static int PASCAL SafeStrlen(LPCTSTR lpsz);
    static void PASCAL FreeData(CStringData* pData);
};

// The shared empty string.
AFX_CORE_API const CString& AFXAPI AfxGetEmptyString();
#define afxEmptyString AfxGetEmptyString()

// Archive form (in Archive.cpp): length prefix, then the characters.
AFX_CORE_API CArchive& AFXAPI operator<<(CArchive& ar, const CString& string);
AFX_CORE_API CArchive& AFXAPI operator>>(CArchive& ar, CString& string);

AFX_CORE_API CDumpContext& AFXAPI operator<<(CDumpContext& dc, const CString& string);

// Comparison operators (ordinal, as Compare)
inline bool AFXAPI operator==(const CString& s1, const CString& s2) { return s1.Compare(s2) == 0; }
inline bool AFXAPI operator==(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) == 0; }
inline bool AFXAPI operator==(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) == 0; }
inline bool AFXAPI operator!=(const CString& s1, const CString& s2) { return !(s1 == s2); }
inline bool AFXAPI operator!=(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) != 0; }
inline bool AFXAPI operator!=(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) != 0; }
inline bool AFXAPI operator<(const CString& s1, const CString& s2) { return s1.Compare(s2) < 0; }
inline bool AFXAPI operator<(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) < 0; }
inline bool AFXAPI operator<(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) > 0; }
inline bool AFXAPI operator>(const CString& s1, const CString& s2) { return s1.Compare(s2) > 0; }
inline bool AFXAPI operator>(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) > 0; }
inline bool AFXAPI operator>(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) < 0; }
inline bool AFXAPI operator<=(const CString& s1, const CString& s2) { return s1.Compare(s2) <= 0; }
inline bool AFXAPI operator<=(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) <= 0; }
inline bool AFXAPI operator<=(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) >= 0; }
inline bool AFXAPI operator>=(const CString& s1, const CString& s2) { return s1.Compare(s2) >= 0; }
inline bool AFXAPI operator>=(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) >= 0; }
inline bool AFXAPI operator>=(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) <= 0; }
