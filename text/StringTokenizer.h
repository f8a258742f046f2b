// StringTokenizer.h - splits a string at single separator characters.
//
//   CStringTokenizer   hands out the tokens of one text one by one
//
// Every separator ends a token, so n separators give n + 1 tokens (adjacent
// separators give empty ones). Separators between double quotes do not split;
// the quotes stay in the token.
#pragma once

#include <afx.h>

class AFX_EXT_CLASS CStringTokenizer
{
public:
// Construction
    CStringTokenizer(const CString& text, wchar_t separator);
    CStringTokenizer(const CString& text, const CString& separators);
    // A copy continues where its source stands.
    CStringTokenizer(const CStringTokenizer& other);
    CStringTokenizer& operator=(const CStringTokenizer& other);
    ~CStringTokenizer();

// Attributes
    // Both restart the splitting at the first token.
    void SetString(const CString& text);
    void SetSeparators(const CString& separators);
    CString GetString() const;
    CString GetSeparators() const;

    // Tokens of the whole text, wherever the tokenizer stands.
    UINT GetTokenCount() const;
    UINT GetRemainingTokenCount() const;
    BOOL HasMoreTokens() const;

// Operations
    // The next token, or an empty string once all have been handed out.
    CString GetNextToken();

// Implementation
protected:
    CString m_strString;
    int m_nPosition;            // where the next token begins
    CString m_strSeparators;
    UINT m_nRemainingTokens;
};
