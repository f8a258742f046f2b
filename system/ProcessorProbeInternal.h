// ProcessorProbeInternal.h - how one processor is examined; shared by the library's
// processor detection, its tests and its benchmark, not part of the SDK.
//
//   ICpuidSource        the processor's answers: the ID-flag test and CPUID leaves
//   ITimerSource        performance counter, time-stamp counter and sleeping, for the
//                       clock measurement
//   CHardwareCpuid      ICpuidSource on the processor the calling thread runs on
//   CHardwareTimer      ITimerSource on the platform and the running processor
//   CProcessorProbe     the working record of one probe and the steps that fill it
//
// The identification and naming take every register value through the two source
// interfaces, so recorded register sets of other processors run through the very
// code the live detection uses. Nothing here keeps process-wide state.
#pragma once

#include <afx.h>

#include "OSInfo.h"
#include "ProcessorInfo.h"

/////////////////////////////////////////////////////////////////////////////
// ICpuidSource

class ICpuidSource
{
public:
    // TRUE when bit 21 (the ID flag) of the flags register can be changed, which
    // is how a processor tells that it has the CPUID instruction.
    virtual BOOL HasCpuid() = 0;
    // The registers of CPUID leaf dwLeaf (subleaf 0).
    virtual void Query(DWORD dwLeaf, DWORD& dwEAX, DWORD& dwEBX, DWORD& dwECX,
                       DWORD& dwEDX) = 0;

protected:
    ~ICpuidSource() {}
};

/////////////////////////////////////////////////////////////////////////////
// ITimerSource

class ITimerSource
{
public:
    // FALSE when there is no performance counter.
    virtual BOOL QueryPerformanceFrequency(LONGLONG& nFrequency) = 0;
    virtual LONGLONG QueryPerformanceCounter() = 0;
    virtual unsigned __int64 ReadTimeStamp() = 0;
    virtual void Sleep(DWORD dwMilliseconds) = 0;

protected:
    ~ITimerSource() {}
};

/////////////////////////////////////////////////////////////////////////////
// Hardware sources (stateless; make one where it is needed)

class CHardwareCpuid : public ICpuidSource
{
public:
    virtual BOOL HasCpuid();
    virtual void Query(DWORD dwLeaf, DWORD& dwEAX, DWORD& dwEBX, DWORD& dwECX, DWORD& dwEDX);
};

class CHardwareTimer : public ITimerSource
{
public:
    virtual BOOL QueryPerformanceFrequency(LONGLONG& nFrequency);
    virtual LONGLONG QueryPerformanceCounter();
    virtual unsigned __int64 ReadTimeStamp();
    virtual void Sleep(DWORD dwMilliseconds);
};

/////////////////////////////////////////////////////////////////////////////
// CProcessorProbe

class CProcessorProbe
{
public:
    // Feature bits the probe itself looks at (CPUID leaf 1, EDX).
    enum
    {
        featureTimeStampCounter = 0x00000010,
        featureSerialNumber = 0x00040000,
    };

    CProcessorProbe();

// Probes
    // Examines processor m_nIndex from a thread of its own: pins the calling thread
    // to it (processor index modulo 32), reads its clock from the registry on the
    // NT line and identifies it. A thread that cannot be pinned leaves the record
    // empty.
    void ProbePinned(const COSInfo& os, ICpuidSource& cpuid, ITimerSource& timer);
    // Examines the only processor of the machine on the calling thread; si is the
    // platform's system record. An unrecognised system leaves the record empty.
    void ProbeSingle(const SYSTEM_INFO& si, const COSInfo& os, ICpuidSource& cpuid,
                     ITimerSource& timer);

// Steps
    // Identifies and names the processor from its CPUID answers, forms its serial
    // number and measures its clock when the registry gave none.
    void Identify(ICpuidSource& cpuid, ITimerSource& timer);
    // Names the processor from the family, model, stepping and brand id when it
    // has no name yet.
    void NameFromTables();
    // Three 50 ms passes of the time-stamp counter against the performance
    // counter; only with a time-stamp counter and a performance counter.
    void MeasureFrequency(ITimerSource& timer);

    static CProcessorInfo::Vendor ClassifyVendor(const CString& strVendorId);
    // The name the brand-id table gives, or NULL when it has none for the id.
    static LPCTSTR NameFromBrandId(BYTE nBrandId, WORD wFamily, WORD wModel, WORD wStepping);
    // dwSignature is the processor signature (leaf 1, EAX); dwEDX and dwECX come
    // from leaf 3.
    static CString FormatSerialNumber(DWORD dwSignature, DWORD dwEDX, DWORD dwECX);

// Record
    UINT m_nIndex;
    CString m_strVendorId;
    CProcessorInfo::Vendor m_vendor;
    WORD m_wFamily;
    WORD m_wModel;
    WORD m_wStepping;
    BYTE m_nBrandId;
    CString m_strName;
    WORD m_wFrequency;
    DWORD m_dwFeatures;
    CString m_strSerialNumber;

private:
    // The clock from the processor's description key and, with bIdentification,
    // also its vendor identification and name. Missing keys or values read as
    // empty or 0.
    void ReadRegistry(UINT nIndex, BOOL bIdentification);
};
