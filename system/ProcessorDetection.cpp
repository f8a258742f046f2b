// ProcessorDetection.cpp - CSystem's processor records: one probe per processor, run
// on that processor, once per process.
#include "System.h"

#include "ProcessorProbeInternal.h"
#include "ThinThread.h"

/////////////////////////////////////////////////////////////////////////////
// CProcessorProbeThread: one probe on a thread of its own

class CProcessorProbeThread : public CThinThread
{
    DECLARE_DYNAMIC(CProcessorProbeThread)

public:
    virtual void Run();

    CProcessorProbe m_probe;
};

IMPLEMENT_DYNAMIC(CProcessorProbeThread, CThinThread)

void CProcessorProbeThread::Run()
{
    CHardwareCpuid cpuid;
    CHardwareTimer timer;
    m_probe.ProbePinned(CSystem::GetOSInfo(), cpuid, timer);
}

/////////////////////////////////////////////////////////////////////////////
// CSystem

namespace {

// Counts detections so that the caching can be watched from outside.
volatile LONG s_nProcessorDetections = 0;

// The array gets its size before its records are filled, so a caller that tests it
// without the lock could read records still being written. Callers without the lock
// test this instead; it is set once the last record is in place.
volatile LONG s_bProcessorsComplete = FALSE;

} // namespace

void CSystem::UpdateProcessorInfo()
{
    if (s_bProcessorsComplete)
        return;

    CSingleLock lock(&s_csUpdateProcessorInfo, TRUE);
    if (s_processors.GetSize() > 0)
        return;

    ::InterlockedIncrement(&s_nProcessorDetections);

    // CSystem is the record's friend; the lambda shares that access.
    auto takeProbe = [](const CProcessorProbe& probe, CProcessorInfo& info) {
        info.m_architecture = CProcessorInfo::archX86;
        info.m_vendor = probe.m_vendor;
        info.m_strName = probe.m_strName;
        info.m_wFrequency = probe.m_wFrequency;
        info.m_features = probe.m_dwFeatures;
        info.m_strSerialNumber = probe.m_strSerialNumber;
    };

    SYSTEM_INFO si;
    ZeroMemory(&si, sizeof(si));
    ::GetSystemInfo(&si);
    const UINT nProcessors = si.dwNumberOfProcessors;
    if (nProcessors == 0)
        return;
    s_processors.SetSize(static_cast<int>(nProcessors));

    if (nProcessors == 1) {
        CHardwareCpuid cpuid;
        CHardwareTimer timer;
        CProcessorProbe probe;
        probe.ProbeSingle(si, GetOSInfo(), cpuid, timer);
        takeProbe(probe, s_processors[0]);
    } else {
        // All probes run at once, so the clock measurements overlap instead of adding up.
        CProcessorProbeThread* pThreads = new CProcessorProbeThread[nProcessors];
        for (UINT i = 0; i < nProcessors; i++) {
            pThreads[i].m_probe.m_nIndex = i;
            pThreads[i].Start();
        }
        for (UINT i = 0; i < nProcessors; i++) {
            pThreads[i].Join();
            takeProbe(pThreads[i].m_probe, s_processors[static_cast<int>(i)]);
        }
        delete[] pThreads;
    }

    ::MemoryBarrier();
    ::InterlockedExchange(&s_bProcessorsComplete, TRUE);
}

UINT CSystem::GetProcessorCount()
{
    UpdateProcessorInfo();
    return static_cast<UINT>(s_processors.GetSize());
}

const CProcessorInfo& CSystem::GetProcessorInfo()
{
    UpdateProcessorInfo();
    if (s_processors.GetSize() == 0) {
        // Only a platform that reports no processor gets here.
        static const CProcessorInfo unknown;
        return unknown;
    }
    return s_processors.GetData()[0];
}

const CArray<CProcessorInfo, CProcessorInfo&>& CSystem::GetProcessorsInfos()
{
    UpdateProcessorInfo();
    return s_processors;
}

LONG CSystem::GetProcessorDetectionCount()
{
    return s_nProcessorDetections;
}
