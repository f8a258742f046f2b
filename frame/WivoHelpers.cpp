// WivoHelpers.cpp - general helper functions.
#include "WivoHelpers.h"

#include "System.h"
#include "WivoModule.h"
#include "resource.h"

/////////////////////////////////////////////////////////////////////////////
// Yes and no: loaded once, as the application would load them (so that it may
// override the texts), and kept until the process ends.

namespace {

CString s_strYes;
CString s_strNo;
BYTE s_bLoaded = 0;     // bit 0: yes, bit 1: no

} // namespace

CString WivoGetBoolString(BOOL bValue)
{
    AFX_MAINTAIN_STATE2 state(GetWIVOModuleState());
    if (bValue) {
        if (!(s_bLoaded & 1)) {
            s_strYes.LoadString(IDS_YES);
            s_bLoaded |= 1;
        }
        return s_strYes;
    }
    if (!(s_bLoaded & 2)) {
        s_strNo.LoadString(IDS_NO);
        s_bLoaded |= 2;
    }
    return s_strNo;
}

/////////////////////////////////////////////////////////////////////////////
// HTML text

CString WivoConvertToHTMLString(const CString& strText)
{
    CString strResult;
    int nLen = strText.GetLength();
    for (int i = 0; i < nLen; i++) {
        WCHAR ch = strText[i];
        switch (ch) {
        case L'\r':
            // CR LF is one line end.
            if (i + 1 < nLen && strText[i + 1] == L'\n')
                i++;
            strResult += L"<br>";
            break;
        case L'\n':   strResult += L"<br>"; break;
        case L' ':    strResult += L"&nbsp;"; break;
        case L'"':    strResult += L"&quot;"; break;
        case L'&':    strResult += L"&amp;"; break;
        case L'<':    strResult += L"&lt;"; break;
        case L'>':    strResult += L"&gt;"; break;
        case 0x00C4:  strResult += L"&Auml;"; break;
        case 0x00D6:  strResult += L"&Ouml;"; break;
        case 0x00DC:  strResult += L"&Uuml;"; break;
        case 0x00DF:  strResult += L"&szlig;"; break;
        case 0x00E4:  strResult += L"&auml;"; break;
        case 0x00F6:  strResult += L"&ouml;"; break;
        case 0x00FC:  strResult += L"&uuml;"; break;
        default:      strResult += ch; break;
        }
    }
    return strResult;
}

/////////////////////////////////////////////////////////////////////////////
// Path checks

namespace {

// The common steps of both checks; they differ in what counts as the right kind
// of path, in the text for the wrong kind, and in whether "file not found" is
// told as "path not found".
BOOL CheckPath(const CString& strPath, BOOL bAllowEmpty, BOOL bShowMessage, CString* pstrError,
    BOOL bDirectory)
{
    if (bAllowEmpty && strPath.IsEmpty())
        return TRUE;

    DWORD dwAttr = ::GetFileAttributesW(strPath);
    BOOL bValid = dwAttr != INVALID_FILE_ATTRIBUTES;
    BOOL bIsDir = bValid && (dwAttr & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!bShowMessage && pstrError == NULL)
        return bValid && (bDirectory ? bIsDir : !bIsDir);

    CString strMessage;
    if (!bValid) {
        DWORD dwError = ::GetLastError();
        if (bDirectory && dwError == ERROR_FILE_NOT_FOUND)
            dwError = ERROR_PATH_NOT_FOUND;
        strMessage = CSystem::GetErrorMessage(dwError);
    } else if (bIsDir != bDirectory) {
        AFX_MAINTAIN_STATE2 state(GetWIVOModuleState());
        strMessage.LoadString(bDirectory ? IDS_PATH_NOT_DIRECTORY : IDS_PATH_NOT_FILE);
    }

    if (!strMessage.IsEmpty()) {
        if (bShowMessage)
            AfxMessageBox(strMessage, MB_OK, 0);
        if (pstrError != NULL)
            *pstrError = strMessage;
    }
    return strMessage.IsEmpty();
}

} // namespace

BOOL WivoCheckDirPath(const CString& strPath, BOOL bAllowEmpty, BOOL bShowMessage, CString* pstrError)
{
    return CheckPath(strPath, bAllowEmpty, bShowMessage, pstrError, TRUE);
}

BOOL WivoCheckFilePath(const CString& strPath, BOOL bAllowEmpty, BOOL bShowMessage, CString* pstrError)
{
    return CheckPath(strPath, bAllowEmpty, bShowMessage, pstrError, FALSE);
}

void AFXAPI DDV_DirPath(CDataExchange* pDX, const CString& strPath, BOOL bAllowEmpty)
{
    if (pDX->m_bSaveAndValidate && !WivoCheckDirPath(strPath, bAllowEmpty, TRUE, NULL))
        pDX->Fail();
}

void AFXAPI DDV_FilePath(CDataExchange* pDX, const CString& strPath, BOOL bAllowEmpty)
{
    if (pDX->m_bSaveAndValidate && !WivoCheckFilePath(strPath, bAllowEmpty, TRUE, NULL))
        pDX->Fail();
}

/////////////////////////////////////////////////////////////////////////////
// Message processing

void WivoProcessMessages(BOOL bIdle)
{
    CWinApp* pApp = AfxGetModuleState()->m_pCurrentWinApp;
    MSG msg;
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE | PM_NOYIELD)) {
        // A program without an application object still gets the framework's pump.
        BOOL bContinue = pApp != NULL ? pApp->PumpMessage() : AfxPumpMessage();
        if (!bContinue) {
            // The quit message belongs to the loop that called us.
            ::PostQuitMessage(0);
            return;
        }
    }
    if (bIdle && pApp != NULL) {
        for (LONG lCount = 0; pApp->OnIdle(lCount); lCount++) {
        }
    }
}
