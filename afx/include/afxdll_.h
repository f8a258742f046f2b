// afxdll_.h - extension modules and the resource chain.
//
//   AFX_EXTENSION_MODULE   static record of an extension DLL (AfxInitExtensionModule)
//   CDynLinkLibrary        an extension DLL's entry in the current module state's chain
//   AfxFindResourceHandle, AfxLoadString, AfxFormatString1/2, AfxExtractSubString
//
// The resource chain is searched in this order: the current module's resource
// handle, the non-system extension modules (newest first), the system ones, and
// finally the framework DLL with its own texts.
// Included by afx.h after afxstat_.h.
#pragma once

#include "afxstat_.h"

class CString;

/////////////////////////////////////////////////////////////////////////////
// AFX_EXTENSION_MODULE: one static instance per extension DLL

struct AFX_EXTENSION_MODULE
{
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource;
    CRuntimeClass* pFirstSharedClass;
    void* pFirstSharedFactory;
};

// Called from the extension DLL's DllMain at DLL_PROCESS_ATTACH. FALSE when hMod is
// not a loaded module; TRUE at once when the record is initialised already.
AFX_CORE_API BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hMod);
// Called at DLL_PROCESS_DETACH: deletes the CDynLinkLibrary objects of this module
// (of every module with bAll) from the current and the application's module state.
AFX_CORE_API void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

/////////////////////////////////////////////////////////////////////////////
// CDynLinkLibrary

class AFX_CORE_CLASS CDynLinkLibrary : public CObject
{
    DECLARE_DYNAMIC(CDynLinkLibrary)
public:
    // Both register the library with the module state current at construction
    // (newest first); the destructor takes it out again.
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
    CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource);
    virtual ~CDynLinkLibrary();

// Attributes
    HMODULE m_hModule;
    HMODULE m_hResource;            // searched for resources
    BOOL m_bSystem;                 // searched after the non-system libraries
    CDynLinkLibrary* m_pNextDLL;    // link of AFX_MODULE_STATE::m_libraryList

// Implementation
protected:
    AFX_MODULE_STATE* m_pModuleState;   // the state whose list holds this library

private:
    void Register();
};

/////////////////////////////////////////////////////////////////////////////
// The resource chain

// The first module of the chain that has the resource; the current resource
// handle when none has it.
AFX_CORE_API HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);
// The first module of the chain whose string table holds string nID (a non-empty
// entry; a module that has only other strings of the same block does not count).
// NULL when none has it.
AFX_CORE_API HINSTANCE AFXAPI AfxFindStringResourceHandle(UINT nID);
// Copies string nIDS of the chain into lpszBuf (at most nMaxBuf - 1 characters and
// a terminator) and returns the number of characters copied; 0 and an empty buffer
// when no module has it.
AFX_CORE_API int AFXAPI AfxLoadString(UINT nIDS, LPTSTR lpszBuf, UINT nMaxBuf = 256);

// Loads string nIDS and puts the texts in for %1 (and %2); rString is empty when
// the string is not found.
AFX_CORE_API void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCTSTR lpsz1);
AFX_CORE_API void AFXAPI AfxFormatString2(CString& rString, UINT nIDS, LPCTSTR lpsz1, LPCTSTR lpsz2);
// %1..%9 stand for rglpsz[0..8]; a number beyond nString stays as it is.
AFX_CORE_API void AFXAPI AfxFormatStrings(CString& rString, UINT nIDS, LPCTSTR const* rglpsz, int nString);
AFX_CORE_API void AFXAPI AfxFormatStrings(CString& rString, LPCTSTR lpszFormat, LPCTSTR const* rglpsz, int nString);

// The iSubString-th field (0-based) of lpszFullString, fields separated by chSep.
// FALSE (and rString empty) for a NULL text, a negative index or one past the end.
AFX_CORE_API BOOL AFXAPI AfxExtractSubString(CString& rString, LPCTSTR lpszFullString,
                                             int iSubString, TCHAR chSep = '\n');
