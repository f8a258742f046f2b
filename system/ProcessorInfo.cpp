// ProcessorInfo.cpp - CProcessorInfo, the record of one processor.
#include "ProcessorInfo.h"

#include "StringEx.h"
#include "resource.h"

CProcessorInfo::CProcessorInfo()
    : m_architecture(archUnknown), m_vendor(vendorUnknown), m_strName(), m_wFrequency(0),
      m_features(0), m_strSerialNumber()
{
}

CProcessorInfo::CProcessorInfo(const CProcessorInfo& other)
    : m_architecture(other.m_architecture), m_vendor(other.m_vendor),
      m_strName(other.m_strName), m_wFrequency(other.m_wFrequency),
      m_features(other.m_features), m_strSerialNumber(other.m_strSerialNumber)
{
}

const CProcessorInfo& CProcessorInfo::operator=(const CProcessorInfo& other)
{
    m_architecture = other.m_architecture;
    m_vendor = other.m_vendor;
    m_strName = other.m_strName;
    m_wFrequency = other.m_wFrequency;
    m_features = other.m_features;
    m_strSerialNumber = other.m_strSerialNumber;
    return *this;
}

CProcessorInfo::~CProcessorInfo() {}

CProcessorInfo::Architecture CProcessorInfo::GetArchitecture() const
{
    return m_architecture;
}

CString CProcessorInfo::GetArchitectureName() const
{
    if (m_architecture == archX86)
        return _T("x86");
    return CStringEx::LoadString(IDS_UNKNOWN);
}

CProcessorInfo::Vendor CProcessorInfo::GetVendor() const
{
    return m_vendor;
}

CString CProcessorInfo::GetVendorName() const
{
    switch (m_vendor) {
    case vendorIntel:
        return _T("Intel Corporation");
    case vendorAMD:
        return _T("Advanced Micro Devices, Inc.");
    default:
        return CStringEx::LoadString(IDS_UNKNOWN);
    }
}

CString CProcessorInfo::GetName() const
{
    return m_strName;
}

WORD CProcessorInfo::GetFrequency() const
{
    return m_wFrequency;
}

CBitSet CProcessorInfo::GetFeatures() const
{
    return m_features;
}

CString CProcessorInfo::GetSerialNumber() const
{
    return m_strSerialNumber;
}
