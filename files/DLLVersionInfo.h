// DLLVersionInfo.h - the version a library reports through its DllGetVersion.
//
//   CDLLVersionInfo        loads a library once, asks DllGetVersion and keeps the answer
//   WivoGetComCtlVersion   version of the common controls, asked once per process
//   WivoGetShellVersion    version of the shell library, asked once per process
//
// Nothing throws. A library that cannot be loaded or has no DllGetVersion leaves a
// negative GetHResult(), HasVersionInfo() FALSE and the version 0.0.0; the two cached
// functions report such a library as 4.0, the version that came without the entry point.
#pragma once

#include <afx.h>
#include <shlwapi.h>

#include "Version.h"

class AFX_EXT_CLASS CDLLVersionInfo
{
public:
// Construction
    // Loads the library by name, asks it and releases it again.
    CDLLVersionInfo(const CString& strLibraryName);
    // Asks the module's file. An unknown handle gives an object with no name and no
    // version information.
    CDLLVersionInfo(HINSTANCE hModule);
    CDLLVersionInfo(const CDLLVersionInfo& other);
    CDLLVersionInfo& operator=(const CDLLVersionInfo& other);

// Attributes
    CString GetFileName() const;
    // What DllGetVersion returned, or the failure to load the library or find the
    // entry point.
    HRESULT GetHResult() const;
    // TRUE for any success result, S_FALSE included.
    BOOL HasVersionInfo() const;
    // major.minor.build, each cut to 16 bits; the revision stays undefined.
    CVersion GetVersion() const;

// Implementation
protected:
    void CommonConstruct();

    DLLVERSIONINFO m_dvi;
    CString m_strFileName;
    HRESULT m_hResult;
};

// Cached for the life of the process; not locked, a race only asks twice.
AFX_EXT_API CVersion WivoGetComCtlVersion();
AFX_EXT_API CVersion WivoGetShellVersion();
