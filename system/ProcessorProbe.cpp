// ProcessorProbe.cpp - examining one processor: registry, CPUID, naming tables,
// serial number and clock measurement.
//
// Also compiled into the tests and the benchmark, which feed recorded register sets
// through the same steps; so this file keeps no data of its own.
#include "ProcessorProbeInternal.h"

#include <cpuid.h>
#include <string.h>
#include <x86intrin.h>

#include "RegKey.h"

/////////////////////////////////////////////////////////////////////////////
// CHardwareCpuid

BOOL CHardwareCpuid::HasCpuid()
{
    // Flip the ID flag, read the flags back and put the original flags back in
    // place. A processor without CPUID keeps bit 21 as it was.
#if defined(__x86_64__)
    unsigned long long nOriginal, nChanged;
    __asm__ __volatile__("pushfq\n\t"
                         "popq %0\n\t"
                         "movq %0, %1\n\t"
                         "xorq $0x200000, %1\n\t"
                         "pushq %1\n\t"
                         "popfq\n\t"
                         "pushfq\n\t"
                         "popq %1\n\t"
                         "pushq %0\n\t"
                         "popfq"
                         : "=&r"(nOriginal), "=&r"(nChanged)
                         :
                         : "cc");
#elif defined(__i386__)
    unsigned int nOriginal, nChanged;
    __asm__ __volatile__("pushfl\n\t"
                         "popl %0\n\t"
                         "movl %0, %1\n\t"
                         "xorl $0x200000, %1\n\t"
                         "pushl %1\n\t"
                         "popfl\n\t"
                         "pushfl\n\t"
                         "popl %1\n\t"
                         "pushl %0\n\t"
                         "popfl"
                         : "=&r"(nOriginal), "=&r"(nChanged)
                         :
                         : "cc");
#else
#error "CPUID is an x86 instruction"
#endif
    return ((nOriginal ^ nChanged) & 0x200000) != 0;
}

void CHardwareCpuid::Query(DWORD dwLeaf, DWORD& dwEAX, DWORD& dwEBX, DWORD& dwECX,
                           DWORD& dwEDX)
{
    unsigned int a = 0, b = 0, c = 0, d = 0;
    __cpuid_count(dwLeaf, 0, a, b, c, d);
    dwEAX = a;
    dwEBX = b;
    dwECX = c;
    dwEDX = d;
}

/////////////////////////////////////////////////////////////////////////////
// CHardwareTimer

BOOL CHardwareTimer::QueryPerformanceFrequency(LONGLONG& nFrequency)
{
    LARGE_INTEGER frequency;
    if (!::QueryPerformanceFrequency(&frequency))
        return FALSE;
    nFrequency = frequency.QuadPart;
    return TRUE;
}

LONGLONG CHardwareTimer::QueryPerformanceCounter()
{
    LARGE_INTEGER counter;
    counter.QuadPart = 0;
    ::QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

unsigned __int64 CHardwareTimer::ReadTimeStamp()
{
    return __rdtsc();
}

void CHardwareTimer::Sleep(DWORD dwMilliseconds)
{
    ::Sleep(dwMilliseconds);
}

/////////////////////////////////////////////////////////////////////////////
// CProcessorProbe: probes

CProcessorProbe::CProcessorProbe()
    : m_nIndex(0), m_strVendorId(), m_vendor(CProcessorInfo::vendorUnknown), m_wFamily(0),
      m_wModel(0), m_wStepping(0), m_nBrandId(0), m_strName(), m_wFrequency(0),
      m_dwFeatures(0), m_strSerialNumber()
{
}

void CProcessorProbe::ProbePinned(const COSInfo& os, ICpuidSource& cpuid, ITimerSource& timer)
{
    // CPUID answers for the processor it runs on, so the thread must stay on its own.
    const DWORD_PTR dwMask = static_cast<DWORD_PTR>(1) << (m_nIndex % 32);
    if (::SetThreadAffinityMask(::GetCurrentThread(), dwMask) == 0)
        return;

    if (os.GetSubPlatform() == COSInfo::subPlatformWinNT)
        ReadRegistry(m_nIndex, FALSE);
    Identify(cpuid, timer);
}

void CProcessorProbe::ProbeSingle(const SYSTEM_INFO& si, const COSInfo& os, ICpuidSource& cpuid,
                                  ITimerSource& timer)
{
    if (os.GetOS() == COSInfo::osUnknown)
        return;

    const COSInfo::SubPlatform subPlatform = os.GetSubPlatform();
    if (subPlatform == COSInfo::subPlatformWinNT)
        ReadRegistry(0, TRUE);

    // Windows 9x and NT before 3.51 fill in only the processor type; later systems
    // report the level and, from the Pentium on, model and stepping in the revision.
    if (subPlatform == COSInfo::subPlatformWin9x ||
        (subPlatform == COSInfo::subPlatformWinNT && os.GetVersion() < CVersion(3, 51))) {
        switch (si.dwProcessorType) {
        case PROCESSOR_INTEL_386:
            m_wFamily = 3;
            break;
        case PROCESSOR_INTEL_486:
            m_wFamily = 4;
            break;
        default:
            m_wFamily = 5;
            break;
        }
    } else {
        switch (si.wProcessorLevel) {
        case 3:
            m_wFamily = 3;
            break;
        case 4:
            m_wFamily = 4;
            break;
        default:
            m_wFamily = si.wProcessorLevel;
            m_wModel = HIBYTE(si.wProcessorRevision);
            m_wStepping = LOBYTE(si.wProcessorRevision);
            break;
        }
    }

    Identify(cpuid, timer);
}

void CProcessorProbe::ReadRegistry(UINT nIndex, BOOL bIdentification)
{
    CString strKey;
    strKey.Format(_T("HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\%u"), nIndex);
    // The creating constructor never throws; a key it could not open reads as empty.
    CRegKey key(HKEY_LOCAL_MACHINE, strKey, KEY_QUERY_VALUE);
    if (bIdentification) {
        m_strVendorId = key.GetStringValue(_T("VendorIdentifier"), CString());
        m_vendor = ClassifyVendor(m_strVendorId);
        m_strName = key.GetStringValue(_T("ProcessorNameString"), CString());
    }
    m_wFrequency = LOWORD(key.GetDWordValue(_T("~MHz"), 0));
}

/////////////////////////////////////////////////////////////////////////////
// CProcessorProbe: identification

namespace {

// Four register bytes in memory order, the way the processor spells its texts.
void PutRegister(char* pszText, DWORD dwRegister)
{
    memcpy(pszText, &dwRegister, 4);
}

} // namespace

void CProcessorProbe::Identify(ICpuidSource& cpuid, ITimerSource& timer)
{
    if (!cpuid.HasCpuid()) {
        NameFromTables();
        return;
    }

    DWORD dwEAX = 0, dwEBX = 0, dwECX = 0, dwEDX = 0;
    cpuid.Query(0, dwEAX, dwEBX, dwECX, dwEDX);
    const DWORD dwMaxLeaf = dwEAX;
    char szVendor[13];
    PutRegister(szVendor, dwEBX);
    PutRegister(szVendor + 4, dwEDX);
    PutRegister(szVendor + 8, dwECX);
    szVendor[12] = 0;
    m_strVendorId = CString(szVendor);
    m_vendor = ClassifyVendor(m_strVendorId);

    cpuid.Query(0x80000000, dwEAX, dwEBX, dwECX, dwEDX);
    const DWORD dwMaxExtendedLeaf = dwEAX;

    // Only the four-bit family and model fields count: the tables were made for
    // processors that have no extended fields.
    DWORD dwSignature = 0;
    if (dwMaxLeaf >= 1) {
        cpuid.Query(1, dwEAX, dwEBX, dwECX, dwEDX);
        dwSignature = dwEAX;
        m_dwFeatures = dwEDX;
        m_wStepping = static_cast<WORD>(dwEAX & 0x0F);
        m_wModel = static_cast<WORD>((dwEAX >> 4) & 0x0F);
        m_wFamily = static_cast<WORD>((dwEAX >> 8) & 0x0F);
        m_nBrandId = m_vendor == CProcessorInfo::vendorIntel ? static_cast<BYTE>(dwEBX & 0xFF) : 0;
    }

    if (m_vendor == CProcessorInfo::vendorAMD && dwMaxExtendedLeaf >= 0x80000001) {
        cpuid.Query(0x80000001, dwEAX, dwEBX, dwECX, dwEDX);
        m_dwFeatures |= dwEDX;
    }

    if (dwMaxExtendedLeaf >= 0x80000004) {
        char szBrand[48];
        for (DWORD i = 0; i < 3; i++) {
            cpuid.Query(0x80000002 + i, dwEAX, dwEBX, dwECX, dwEDX);
            PutRegister(szBrand + 16 * i, dwEAX);
            PutRegister(szBrand + 16 * i + 4, dwEBX);
            PutRegister(szBrand + 16 * i + 8, dwECX);
            PutRegister(szBrand + 16 * i + 12, dwEDX);
        }
        // A string that fills all 48 bytes has no terminator of its own.
        szBrand[47] = 0;
        CString strBrand(szBrand);
        strBrand.TrimLeft(_T(' '));
        m_strName = strBrand;
    } else {
        NameFromTables();
    }

    if (m_vendor == CProcessorInfo::vendorIntel && (m_dwFeatures & featureSerialNumber) &&
        dwMaxLeaf >= 3) {
        cpuid.Query(3, dwEAX, dwEBX, dwECX, dwEDX);
        m_strSerialNumber = FormatSerialNumber(dwSignature, dwEDX, dwECX);
    }

    if (m_wFrequency == 0)
        MeasureFrequency(timer);
}

CProcessorInfo::Vendor CProcessorProbe::ClassifyVendor(const CString& strVendorId)
{
    if (strVendorId == _T("GenuineIntel"))
        return CProcessorInfo::vendorIntel;
    if (strVendorId == _T("AuthenticAMD"))
        return CProcessorInfo::vendorAMD;
    return CProcessorInfo::vendorUnknown;
}

CString CProcessorProbe::FormatSerialNumber(DWORD dwSignature, DWORD dwEDX, DWORD dwECX)
{
    CString strSerial;
    strSerial.Format(_T("%04X-%04X-%04X-%04X-%04X-%04X"), HIWORD(dwSignature),
                     LOWORD(dwSignature), HIWORD(dwEDX), LOWORD(dwEDX), HIWORD(dwECX),
                     LOWORD(dwECX));
    return strSerial;
}

/////////////////////////////////////////////////////////////////////////////
// CProcessorProbe: naming

LPCTSTR CProcessorProbe::NameFromBrandId(BYTE nBrandId, WORD wFamily, WORD wModel,
                                         WORD wStepping)
{
    // Early Xeon MP parts share their brand ids with later processors; the first
    // family 15 models tell them apart.
    const BOOL bEarlyFamily15 = wFamily <= 15 && wModel <= 1 && wStepping <= 2;
    switch (nBrandId) {
    case 1:
        return _T("Intel Celeron");
    case 2:
        return _T("Intel Pentium III");
    case 3:
        if (wFamily == 6 || wModel == 11 || wStepping == 1)
            return _T("Intel Celeron");
        return _T("Intel Pentium III Xeon");
    case 4:
        return _T("Intel Pentium III");
    case 6:
        return _T("Intel Mobile Pentium III");
    case 7:
        return _T("Intel Mobile Celeron");
    case 8:
        if (wFamily >= 15 && wModel >= 1 && wStepping >= 3)
            return _T("Intel Genuine Processor");
        return _T("Intel Pentium 4");
    case 9:
        return _T("Intel Pentium 4");
    case 10:
        return _T("Intel Celeron");
    case 11:
        return bEarlyFamily15 ? _T("Intel Xeon MP") : _T("Intel Xeon");
    case 12:
        return _T("Intel Xeon MP");
    case 14:
        return bEarlyFamily15 ? _T("Intel Xeon") : _T("Intel Mobile Pentium 4");
    case 15:
        return _T("Intel Mobile Celeron");
    default:
        return NULL;
    }
}

namespace {

LPCTSTR I486Model(WORD wModel)
{
    switch (wModel) {
    case 0:
    case 1:
        return _T("DX");
    case 2:
        return _T("SX");
    case 3:
        return _T("487/DX2");
    case 4:
        return _T("SL");
    case 5:
        return _T("SX2");
    case 7:
        return _T("DX (Write-Back Enhanced)");
    case 8:
        return _T("DX4");
    default:
        return NULL;
    }
}

LPCTSTR PentiumModel(WORD wModel)
{
    switch (wModel) {
    case 1:
        return _T("60/66");
    case 2:
        return _T("75-200");
    case 3:
        return _T("Overdrive for i486");
    case 4:
        return _T("with MMX");
    default:
        return NULL;
    }
}

LPCTSTR P6Model(WORD wModel)
{
    switch (wModel) {
    case 1:
        return _T("Pentium Pro");
    case 3:
    case 5:
        return _T("Pentium II");
    case 6:
        return _T("Celeron");
    case 7:
        return _T("Pentium III");
    case 10:
        return _T("Pentium III Xeon (Model A)");
    case 11:
        return _T("Pentium III (Model B)");
    default:
        return NULL;
    }
}

CString ModelText(LPCTSTR pszKnown, WORD wModel)
{
    if (pszKnown != NULL)
        return pszKnown;
    CString strText;
    strText.Format(_T("Model %u"), (UINT)wModel);
    return strText;
}

} // namespace

void CProcessorProbe::NameFromTables()
{
    if (!m_strName.IsEmpty())
        return;

    if (!m_strVendorId.IsEmpty() && m_vendor != CProcessorInfo::vendorIntel) {
        const BOOL bAMD = m_vendor == CProcessorInfo::vendorAMD;
        if (m_wFamily == 3 || m_wFamily == 4) {
            if (bAMD)
                m_strName = _T("AMD Am486/Am5x86");
            else
                m_strName.Format(_T("%s Family %u"), (LPCTSTR)m_strVendorId, (UINT)m_wFamily);
        } else {
            if (bAMD)
                m_strName = _T("AMD K5");
            else
                m_strName.Format(_T("%s Family %u Model %u"), (LPCTSTR)m_strVendorId,
                                 (UINT)m_wFamily, (UINT)m_wModel);
        }
        return;
    }

    // Intel's own processors, and any processor that did not say who made it.
    CString strName = _T("Intel ");
    CString strFamilyOnly;
    strFamilyOnly.Format(_T("Pentium Family %u Model %u Brand ID %u"), (UINT)m_wFamily,
                         (UINT)m_wModel, (UINT)m_nBrandId);
    if (m_wFamily == 3) {
        strName += _T("i386");
    } else if (m_wFamily == 4) {
        strName += _T("i486 ") + ModelText(I486Model(m_wModel), m_wModel);
    } else if (m_wFamily == 5) {
        strName += _T("Pentium ") + ModelText(PentiumModel(m_wModel), m_wModel);
    } else if (m_wFamily == 6 || (m_wFamily >= 7 && m_wModel >= 8)) {
        LPCTSTR pszModel = m_wFamily == 6 ? P6Model(m_wModel) : NULL;
        // The brand-id table names the whole processor, "Intel" included.
        LPCTSTR pszBrand =
            pszModel == NULL ? NameFromBrandId(m_nBrandId, m_wFamily, m_wModel, m_wStepping)
                             : NULL;
        if (pszModel != NULL)
            strName += pszModel;
        else if (pszBrand != NULL)
            strName = pszBrand;
        else
            strName += strFamilyOnly;
    } else {
        strName += strFamilyOnly;
    }
    m_strName = strName;
}

/////////////////////////////////////////////////////////////////////////////
// CProcessorProbe: clock

void CProcessorProbe::MeasureFrequency(ITimerSource& timer)
{
    if (!(m_dwFeatures & featureTimeStampCounter))
        return;
    LONGLONG nCounterFrequency = 0;
    if (!timer.QueryPerformanceFrequency(nCounterFrequency) || nCounterFrequency <= 0)
        return;

    // The sum wraps at 16 bits like the result it is averaged into.
    WORD wSum = 0;
    for (int nPass = 0; nPass < 3; nPass++) {
        const LONGLONG t0 = timer.QueryPerformanceCounter();
        const unsigned __int64 c0 = timer.ReadTimeStamp();
        timer.Sleep(50);
        const LONGLONG t1 = timer.QueryPerformanceCounter();
        const unsigned __int64 c1 = timer.ReadTimeStamp();

        // A counter that stood still or ran back tells nothing about the clock (and
        // would divide by zero or overflow the conversion).
        if (t1 <= t0 || c1 < c0)
            continue;
        const double dMicroseconds =
            static_cast<double>(t1 - t0) / static_cast<double>(nCounterFrequency) * 1000000.0;
        double dMHz = static_cast<double>(c1 - c0) / dMicroseconds;
        if (dMHz > 4294967295.0)
            dMHz = 4294967295.0;
        wSum = static_cast<WORD>(wSum + static_cast<DWORD>(dMHz));
    }
    m_wFrequency = static_cast<WORD>(wSum / 3);
}
