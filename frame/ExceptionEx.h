// ExceptionEx.h - general exceptions with a message and a chain of causes.
//
//   CExceptionEx                a message text and an optional inner exception (the
//                               cause); ToString reports the whole chain
//   CIllegalArgumentException   a bad argument, optionally naming the parameter
//
// Both are heap exceptions: throw them with `throw new ...`, release them with Delete().
// An inner exception belongs to the exception that holds it and goes with it.
#pragma once

#include <afx.h>

class AFX_EXT_CLASS CExceptionEx : public CException
{
    DECLARE_DYNAMIC(CExceptionEx)

// Construction
public:
    CExceptionEx();
    explicit CExceptionEx(const CString& strMessage);
    // Takes ownership of pInnerException (which may be NULL).
    CExceptionEx(const CString& strMessage, CException* pInnerException);
    explicit CExceptionEx(CException* pInnerException);
    virtual ~CExceptionEx();

// Operations
public:
    using CException::GetErrorMessage;
    // Copies the text of GetErrorMessage() (truncated and terminated); TRUE when the
    // copied text is not empty. The help context is always 0.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);
    // The message; when none was given, that of the inner exception, else a text that
    // names the class. Whatever is computed here is kept for later calls.
    virtual CString GetErrorMessage();
    // "Class: message", followed by "\r\n\t-> " and the report of each cause.
    virtual CString ToString();

    // The cause, or NULL; it stays owned by this exception.
    CException* GetInnerException();

// Implementation
protected:
    CString InnerException_GetErrorMessage();
    CString InnerException_ToString();

    CString m_strMessage;
    CException* m_pInnerException;
};

class AFX_EXT_CLASS CIllegalArgumentException : public CExceptionEx
{
    DECLARE_DYNAMIC(CIllegalArgumentException)

// Construction
public:
    CIllegalArgumentException();
    explicit CIllegalArgumentException(const CString& strMessage);
    CIllegalArgumentException(const CString& strMessage, CException* pInnerException);
    CIllegalArgumentException(const CString& strMessage, const CString& strParameterName);
    CIllegalArgumentException(const CString& strMessage, const CString& strParameterName,
                              CException* pInnerException);
    virtual ~CIllegalArgumentException();

// Operations
public:
    using CExceptionEx::GetErrorMessage;
    // The message (a general text when none was given), then a line naming the
    // parameter when there is one. The inner exception is not consulted.
    virtual CString GetErrorMessage();

    CString GetParameterName() const;

// Implementation
protected:
    CString m_strParameterName;
};
