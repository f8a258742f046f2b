// StringTokenizer.cpp - CStringTokenizer.
#include "StringTokenizer.h"

namespace {

// Index of the separator or zero unit that ends the token starting at pos.
// The walk stops at the first zero unit, so it never leaves the buffer,
// whatever the recorded length says.
int SkipToken(LPCTSTR text, const CString& separators, int pos)
{
    for (;;) {
        const TCHAR ch = text[pos];
        if (ch == 0)
            return pos;
        // Tested before the quote, so a quote in the separator set separates.
        if (separators.Find(ch) >= 0)
            return pos;
        if (ch == L'"') {
            ++pos;
            while (text[pos] != 0 && text[pos] != L'"')
                ++pos;
            // An unclosed quote protects the rest of the text.
            if (text[pos] == 0)
                return pos;
        }
        ++pos;
    }
}

} // namespace

CStringTokenizer::CStringTokenizer(const CString& text, wchar_t separator)
    : m_nPosition(0)
    , m_strSeparators(separator)
    , m_nRemainingTokens(0)
{
    SetString(text);
}

CStringTokenizer::CStringTokenizer(const CString& text, const CString& separators)
    : m_nPosition(0)
    , m_strSeparators(separators)
    , m_nRemainingTokens(0)
{
    SetString(text);
}

CStringTokenizer::CStringTokenizer(const CStringTokenizer& other)
    : m_strString(other.m_strString)
    , m_nPosition(other.m_nPosition)
    , m_strSeparators(other.m_strSeparators)
    , m_nRemainingTokens(other.m_nRemainingTokens)
{
}

CStringTokenizer& CStringTokenizer::operator=(const CStringTokenizer& other)
{
    m_strString = other.m_strString;
    m_nPosition = other.m_nPosition;
    m_strSeparators = other.m_strSeparators;
    m_nRemainingTokens = other.m_nRemainingTokens;
    return *this;
}

CStringTokenizer::~CStringTokenizer()
{
}

void CStringTokenizer::SetString(const CString& text)
{
    m_strString = text;
    m_nPosition = 0;
    m_nRemainingTokens = GetTokenCount();
}

void CStringTokenizer::SetSeparators(const CString& separators)
{
    m_strSeparators = separators;
    // Tokens already handed out were cut by the old set; start over.
    m_nPosition = 0;
    m_nRemainingTokens = GetTokenCount();
}

CString CStringTokenizer::GetString() const
{
    return m_strString;
}

CString CStringTokenizer::GetSeparators() const
{
    return m_strSeparators;
}

UINT CStringTokenizer::GetTokenCount() const
{
    if (m_strString.IsEmpty())
        return 0;
    LPCTSTR text = m_strString;
    UINT nSeparators = 0;
    int pos = SkipToken(text, m_strSeparators, 0);
    while (text[pos] != 0) {
        ++nSeparators;
        pos = SkipToken(text, m_strSeparators, pos + 1);
    }
    return nSeparators + 1;
}

UINT CStringTokenizer::GetRemainingTokenCount() const
{
    return m_nRemainingTokens;
}

BOOL CStringTokenizer::HasMoreTokens() const
{
    return m_nRemainingTokens > 0;
}

CString CStringTokenizer::GetNextToken()
{
    if (m_nRemainingTokens == 0)
        return CString();
    const int end = SkipToken(m_strString, m_strSeparators, m_nPosition);
    CString token = m_strString.Mid(m_nPosition, end - m_nPosition);
    // Past the separator; at the end of the text the position stays.
    m_nPosition = ((LPCTSTR)m_strString)[end] != 0 ? end + 1 : end;
    --m_nRemainingTokens;
    return token;
}
