// Win32Exception.h - exceptions that carry a Win32 error code.
//
//   CWin32Exception    a 32-bit error code and the system's text for it
//   CRegKeyException   thrown by CRegKey with the result of the failing registry call
//
// Heap exceptions: throw them with `throw new ...`, release them with Delete().
#pragma once

#include <afx.h>

class AFX_EXT_CLASS CWin32Exception : public CException
{
    DECLARE_DYNAMIC(CWin32Exception)

// Construction
public:
    // Both keep the code bit for bit, so an HRESULT passed as LONG reads back
    // unchanged from GetErrorCode and GetHResult.
    explicit CWin32Exception(DWORD dwErrorCode);
    explicit CWin32Exception(LONG lErrorCode);
    virtual ~CWin32Exception();

// Attributes
public:
    DWORD GetErrorCode() const;
    // The same bits, signed; no translation between Win32 codes and HRESULTs.
    LONG GetHResult() const;

// Operations
public:
    using CException::GetErrorMessage;
    // The system's text for the code (CSystem::GetErrorMessage).
    CString GetErrorMessage() const;
    // Copies that text (truncated and terminated); always TRUE, help context 0.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);

// Implementation
protected:
    DWORD m_dwErrorCode;
};

class AFX_EXT_CLASS CRegKeyException : public CWin32Exception
{
    DECLARE_DYNAMIC(CRegKeyException)

public:
    explicit CRegKeyException(LONG lErrorCode);
    virtual ~CRegKeyException();
};
