// WivoHelpers.h - general helper functions.
//
//   WivoGetBoolString          "Ja" or "Nein"
//   WivoConvertToHTMLString    plain text as HTML text
//   WivoCheckDirPath, WivoCheckFilePath, DDV_DirPath, DDV_FilePath
//                              a path names an existing directory or file
//   WivoProcessMessages        lets pending messages through during long work
#pragma once

#include <afxwin.h>

// "Ja" for a non-zero value, "Nein" for 0.
AFX_EXT_API CString WivoGetBoolString(BOOL bValue);

// Line ends become <br>, blanks &nbsp;, the markup characters and the German
// umlauts and sharp s their entities; everything else stays as it is.
AFX_EXT_API CString WivoConvertToHTMLString(const CString& strText);

// TRUE when the path names an existing directory (an empty path when
// bAllowEmpty). Otherwise the reason is shown in a message box (bShowMessage)
// and/or stored in *pstrError.
AFX_EXT_API BOOL WivoCheckDirPath(const CString& strPath, BOOL bAllowEmpty = FALSE,
    BOOL bShowMessage = FALSE, CString* pstrError = NULL);
// The same for an existing file that is not a directory.
AFX_EXT_API BOOL WivoCheckFilePath(const CString& strPath, BOOL bAllowEmpty = FALSE,
    BOOL bShowMessage = FALSE, CString* pstrError = NULL);

// Dialog-data validation with the checks above; only while saving.
AFX_EXT_API void AFXAPI DDV_DirPath(CDataExchange* pDX, const CString& strPath, BOOL bAllowEmpty);
AFX_EXT_API void AFXAPI DDV_FilePath(CDataExchange* pDX, const CString& strPath, BOOL bAllowEmpty);

// Handles every pending message of the calling thread through the application's
// pump; with bIdle, then idle processing as long as the application wants it.
// A quit message is put back and ends the call. Call it on the application's
// thread.
AFX_EXT_API void WivoProcessMessages(BOOL bIdle = FALSE);
