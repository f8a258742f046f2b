// SystemErrorText.cpp - CSystem::GetErrorMessage, the text of Win32 error codes.
#include "System.h"

#include <afxres.h>

#include "resource.h"

CString AFX_CDECL CSystem::GetErrorMessage(DWORD dwErrorCode, ...)
{
    LPWSTR lpszBuffer = NULL;
    DWORD nLength = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                                         FORMAT_MESSAGE_FROM_SYSTEM,
                                     NULL, dwErrorCode, 0, (LPWSTR)&lpszBuffer, 0, NULL);
    if (nLength != 0 && lpszBuffer != NULL) {
        // System texts end with a line break that a caller embedding the text in a
        // sentence or a message box does not want; only that one pair goes.
        if (nLength >= 2 && lpszBuffer[nLength - 2] == '\r' && lpszBuffer[nLength - 1] == '\n')
            nLength -= 2;
        CString strMessage(lpszBuffer, (int)nLength);
        ::LocalFree(lpszBuffer);
        return strMessage;
    }
    if (lpszBuffer != NULL)
        ::LocalFree(lpszBuffer);

    CString strNoMessage;
    strNoMessage.LoadString(AFX_IDP_NO_ERROR_AVAILABLE);
    CString strCode;
    strCode.Format(_T("%lu"), dwErrorCode);
    CString strMessage;
    AfxFormatString2(strMessage, IDS_ERROR_FORMAT, strNoMessage, strCode);
    return strMessage;
}
