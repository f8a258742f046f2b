// ProcessorInfo.h - what one processor of the machine is.
//
//   CProcessorInfo   architecture, vendor, readable name, clock, feature flags and
//                    serial number of one processor
//
// CSystem fills one record per processor on first use (CSystem::GetProcessorInfo,
// GetProcessorsInfos); callers copy them.
#pragma once

#include <afx.h>

#include "BitSet.h"

class AFX_EXT_CLASS CProcessorInfo
{
public:
    enum Architecture
    {
        archUnknown = 0,
        archX86 = 1,
    };

    enum Vendor
    {
        vendorUnknown = 0,
        vendorIntel = 1,
        vendorAMD = 2,
    };

// Construction
    CProcessorInfo();
    CProcessorInfo(const CProcessorInfo& other);
    const CProcessorInfo& operator=(const CProcessorInfo& other);
    ~CProcessorInfo();

// Attributes
    Architecture GetArchitecture() const;
    // "x86", or the library's text for an unknown value.
    CString GetArchitectureName() const;
    Vendor GetVendor() const;
    // The vendor's company name, or the library's text for an unknown value.
    CString GetVendorName() const;
    CString GetName() const;
    // MHz; 0 when it could not be found out.
    WORD GetFrequency() const;
    // Bit i is bit i of the processor's feature word (CPUID leaf 1, EDX); AMD
    // processors add their extended feature word.
    CBitSet GetFeatures() const;
    // "XXXX-XXXX-XXXX-XXXX-XXXX-XXXX", or empty when the processor has none.
    CString GetSerialNumber() const;

// Implementation
protected:
    Architecture m_architecture;
    Vendor m_vendor;
    CString m_strName;
    WORD m_wFrequency;
    CBitSet m_features;
    CString m_strSerialNumber;

    friend class CSystem;
};
