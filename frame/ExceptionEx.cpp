// ExceptionEx.cpp - CExceptionEx and CIllegalArgumentException.
#include "ExceptionEx.h"

#include <afxres.h>

#include "resource.h"

namespace {

// Size of the buffer a framework exception writes its message into.
const UINT kFrameworkMessageSize = 512;

// The text form of a run-time class name (class names are plain ASCII).
CString ClassNameOf(const CObject* pObject)
{
    return CString(pObject->GetRuntimeClass()->m_lpszClassName);
}

// The message of a framework exception that is not one of ours. An exception with
// no message of its own reads as the framework's "no message available" sentence
// from the current resource module.
CString FrameworkExceptionMessage(CException* pException)
{
    TCHAR szMessage[kFrameworkMessageSize];
    szMessage[0] = 0;
    if (!pException->GetErrorMessage(szMessage, kFrameworkMessageSize, NULL)) {
        szMessage[0] = 0;
        ::LoadStringW(AfxGetModuleState()->m_hCurrentResourceHandle, AFX_IDP_NO_ERROR_AVAILABLE,
                      szMessage, kFrameworkMessageSize);
    }
    // Guards against an implementation that fills the buffer without terminating it.
    szMessage[kFrameworkMessageSize - 1] = 0;
    return CString(szMessage);
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// CExceptionEx

IMPLEMENT_DYNAMIC(CExceptionEx, CException)

CExceptionEx::CExceptionEx()
    : m_pInnerException(NULL)
{
}

CExceptionEx::CExceptionEx(const CString& strMessage)
    : m_strMessage(strMessage), m_pInnerException(NULL)
{
}

CExceptionEx::CExceptionEx(const CString& strMessage, CException* pInnerException)
    : m_strMessage(strMessage), m_pInnerException(pInnerException)
{
}

CExceptionEx::CExceptionEx(CException* pInnerException)
    : m_pInnerException(pInnerException)
{
}

CExceptionEx::~CExceptionEx()
{
    if (m_pInnerException != NULL) {
        m_pInnerException->Delete();
        m_pInnerException = NULL;
    }
}

BOOL CExceptionEx::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    if (lpszError == NULL || nMaxError == 0)
        return FALSE;
    CString strMessage = GetErrorMessage();
    ::lstrcpynW(lpszError, strMessage, nMaxError > INT_MAX ? INT_MAX : (int)nMaxError);
    return lpszError[0] != 0;
}

CString CExceptionEx::GetErrorMessage()
{
    if (m_strMessage.IsEmpty()) {
        if (m_pInnerException != NULL)
            m_strMessage = InnerException_GetErrorMessage();
        else
            m_strMessage.Format(IDS_EXCEPTION_OCCURRED, (LPCTSTR)ClassNameOf(this));
    }
    return m_strMessage;
}

CString CExceptionEx::ToString()
{
    CString strReport = ClassNameOf(this);
    strReport += _T(": ");
    strReport += GetErrorMessage();
    if (m_pInnerException != NULL) {
        strReport += _T("\r\n\t-> ");
        strReport += InnerException_ToString();
    }
    return strReport;
}

CException* CExceptionEx::GetInnerException()
{
    return m_pInnerException;
}

CString CExceptionEx::InnerException_GetErrorMessage()
{
    if (m_pInnerException == NULL)
        return CString();
    CExceptionEx* pInner = DYNAMIC_DOWNCAST(CExceptionEx, m_pInnerException);
    if (pInner != NULL)
        return pInner->GetErrorMessage();
    return FrameworkExceptionMessage(m_pInnerException);
}

CString CExceptionEx::InnerException_ToString()
{
    if (m_pInnerException == NULL)
        return CString();
    CExceptionEx* pInner = DYNAMIC_DOWNCAST(CExceptionEx, m_pInnerException);
    if (pInner != NULL)
        return pInner->ToString();
    // A framework exception has no causes of its own: the chain ends here.
    CString strReport = ClassNameOf(m_pInnerException);
    strReport += _T(": ");
    strReport += FrameworkExceptionMessage(m_pInnerException);
    return strReport;
}

/////////////////////////////////////////////////////////////////////////////
// CIllegalArgumentException

IMPLEMENT_DYNAMIC(CIllegalArgumentException, CExceptionEx)

CIllegalArgumentException::CIllegalArgumentException()
{
}

CIllegalArgumentException::CIllegalArgumentException(const CString& strMessage)
    : CExceptionEx(strMessage)
{
}

CIllegalArgumentException::CIllegalArgumentException(const CString& strMessage,
                                                     CException* pInnerException)
    : CExceptionEx(strMessage, pInnerException)
{
}

CIllegalArgumentException::CIllegalArgumentException(const CString& strMessage,
                                                     const CString& strParameterName)
    : CExceptionEx(strMessage), m_strParameterName(strParameterName)
{
}

CIllegalArgumentException::CIllegalArgumentException(const CString& strMessage,
                                                     const CString& strParameterName,
                                                     CException* pInnerException)
    : CExceptionEx(strMessage, pInnerException), m_strParameterName(strParameterName)
{
}

CIllegalArgumentException::~CIllegalArgumentException()
{
}

CString CIllegalArgumentException::GetErrorMessage()
{
    // The general text is kept like any computed message; the parameter line is not,
    // so that the cache holds the message alone.
    if (m_strMessage.IsEmpty())
        m_strMessage.LoadString(IDS_ILLEGAL_ARGUMENT);
    CString strMessage = m_strMessage;
    if (!m_strParameterName.IsEmpty()) {
        CString strParameter;
        strParameter.LoadString(IDS_PARAMETER);
        strMessage += _T("\r\n");
        strMessage += strParameter;
        strMessage += m_strParameterName;
    }
    return strMessage;
}

CString CIllegalArgumentException::GetParameterName() const
{
    return m_strParameterName;
}
