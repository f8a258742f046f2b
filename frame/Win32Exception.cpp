// Win32Exception.cpp - CWin32Exception and CRegKeyException.
#include "Win32Exception.h"

#include "System.h"

/////////////////////////////////////////////////////////////////////////////
// CWin32Exception

IMPLEMENT_DYNAMIC(CWin32Exception, CException)

CWin32Exception::CWin32Exception(DWORD dwErrorCode)
    : m_dwErrorCode(dwErrorCode)
{
}

CWin32Exception::CWin32Exception(LONG lErrorCode)
    : m_dwErrorCode((DWORD)lErrorCode)
{
}

CWin32Exception::~CWin32Exception()
{
}

DWORD CWin32Exception::GetErrorCode() const
{
    return m_dwErrorCode;
}

LONG CWin32Exception::GetHResult() const
{
    return (LONG)m_dwErrorCode;
}

CString CWin32Exception::GetErrorMessage() const
{
    return CSystem::GetErrorMessage(m_dwErrorCode);
}

BOOL CWin32Exception::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    // Every code has a text (the system's or the fallback), so this reports success
    // even when the caller's buffer has no room for any of it.
    if (lpszError != NULL && nMaxError != 0) {
        CString strMessage = GetErrorMessage();
        ::lstrcpynW(lpszError, strMessage, nMaxError > INT_MAX ? INT_MAX : (int)nMaxError);
    }
    return TRUE;
}

/////////////////////////////////////////////////////////////////////////////
// CRegKeyException

IMPLEMENT_DYNAMIC(CRegKeyException, CWin32Exception)

CRegKeyException::CRegKeyException(LONG lErrorCode)
    : CWin32Exception(lErrorCode)
{
}

CRegKeyException::~CRegKeyException()
{
}
