// OSInfo.h - what the running operating system is.
//
//   COSInfo   the operating system as one code (platform, sub-platform and system in
//             one 32-bit value) and its version major.minor.build.service-pack
//
// Only CSystem creates the record (CSystem::GetOSInfo); callers copy it. The code is 0
// and the version undefined when the system was not recognised.
#pragma once

#include <afx.h>

#include "Version.h"

class AFX_EXT_CLASS COSInfo
{
    friend class CSystem;

public:
    enum Platform
    {
        platformUnknown = 0,
        platformWindows = 0x01000000,
    };

    enum SubPlatform
    {
        subPlatformUnknown = 0,
        subPlatformWin9x = 0x01010000,
        subPlatformWinNT = 0x01020000,
        subPlatformWinCE = 0x01030000,
    };

    enum OS
    {
        osUnknown = 0,
        osWin9xOther = 0x01010000,
        osWin95 = 0x01010001,
        osWin98 = 0x01010002,
        osWinMe = 0x01010003,
        osWinNTOther = 0x01020000,
        osWinNT = 0x01020001,
        osWin2000 = 0x01020002,
        osWinXP = 0x01020003,
        osWinServer2003 = 0x01020004,
        osWinVista = 0x01020005,
        osWinCEOther = 0x01030000,
        osWinCE = 0x01030001,
    };

    // Parts chosen by the flags of ToString.
    enum
    {
        strPlatform = 0x01,
        strSubPlatform = 0x02,
        strOS = 0x04,
        strVendor = 0x08,
        strVersion = 0x10,
        strServicePack = 0x20,
        strBuild = 0x40,
    };

// Construction
protected:
    COSInfo();

public:
    COSInfo(const COSInfo& other);
    const COSInfo& operator=(const COSInfo& other);

    // The record the platform's version data stands for: the platform id, major and
    // minor version and build number as GetVersionEx reports them, and the
    // "CSDVersion" number of the system's Windows key (service pack in bits 8-15).
    // An unknown platform id gives code 0 and a version of the figures as they are.
    static COSInfo FromVersionData(DWORD dwPlatformId, DWORD dwMajor, DWORD dwMinor,
                                   DWORD dwBuild, DWORD dwCSDVersion);

// Attributes
    Platform GetPlatform() const;
    SubPlatform GetSubPlatform() const;
    OS GetOS() const;
    CVersion GetVersion() const;
    // "Microsoft Corporation" for Windows, otherwise the library's "unknown" text.
    CString GetVendorName() const;

// Operations
    // The parts chosen by the str... flags, separated by blanks. Named releases print
    // no version number.
    CString ToString(UINT nFlags = strOS | strServicePack) const;

// Implementation
private:
    OS m_os;
    CVersion m_version;
};
