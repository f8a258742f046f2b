// ProcessorBench - what CSystem's processor detection costs, and what its cache saves.
//
// 1. One processor against all. The probes of a machine with several processors run
//    at the same time, each pinned to its own processor, so the detection should cost
//    about the same on one processor as on all of them.
//    a) The whole detection: the first CSystem::GetProcessorCount in fresh child
//       processes of this program, one that sees all processors and one that sees a
//       single processor. For the latter the child is first started with
//       WINE_CPU_TOPOLOGY=1:0; when GetSystemInfo there still reports more than one
//       processor (Wine 8 does not know the variable), the child points the library's
//       import of GetSystemInfo at a wrapper that reports one processor, so that the
//       library takes its real single-processor path. The output names the method.
//    b) The clock measurement (three 50 ms passes), which is what the detection costs
//       when the registry has no clock: the same probe functions, in this process, on
//       the calling thread for one processor and on one pinned thread per processor,
//       all at once, for all of them. A Windows 98 system record keeps the probes
//       from reading the clock out of the registry.
// 2. The cache: a second call against the first one of this process.
//
//   ProcessorBench            5 runs of each, best counts
//   ProcessorBench --quick    1 run of each, to check that it builds, runs and agrees
#include <Wivo.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "ProcessorProbeInternal.h"
#include "Stopwatch.h"

namespace {

/////////////////////////////////////////////////////////////////////////////
// Child side of 1a

typedef void(WINAPI* PFN_GETSYSTEMINFO)(LPSYSTEM_INFO);
PFN_GETSYSTEMINFO s_pfnGetSystemInfo = NULL;

void WINAPI GetSystemInfoOfOneProcessor(LPSYSTEM_INFO pInfo)
{
    s_pfnGetSystemInfo(pInfo);
    pInfo->dwNumberOfProcessors = 1;
    pInfo->dwActiveProcessorMask = 1;
}

// Replaces the address of pszFunction from pszDll in the import table of hModule.
bool RedirectImport(HMODULE hModule, const char* pszDll, const char* pszFunction, void* pNew,
                    void** ppOld)
{
    BYTE* pBase = reinterpret_cast<BYTE*>(hModule);
    const IMAGE_DOS_HEADER* pDos = reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase);
    const IMAGE_NT_HEADERS* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(pBase + pDos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0)
        return false;
    for (const IMAGE_IMPORT_DESCRIPTOR* pImport =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(pBase + dir.VirtualAddress);
         pImport->Name != 0; ++pImport) {
        if (_stricmp(reinterpret_cast<const char*>(pBase + pImport->Name), pszDll) != 0)
            continue;
        const IMAGE_THUNK_DATA* pName = reinterpret_cast<const IMAGE_THUNK_DATA*>(
            pBase + (pImport->OriginalFirstThunk ? pImport->OriginalFirstThunk
                                                 : pImport->FirstThunk));
        IMAGE_THUNK_DATA* pSlot = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pImport->FirstThunk);
        for (; pName->u1.AddressOfData != 0; ++pName, ++pSlot) {
            if (IMAGE_SNAP_BY_ORDINAL(pName->u1.Ordinal))
                continue;
            const IMAGE_IMPORT_BY_NAME* pByName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(pBase + pName->u1.AddressOfData);
            if (strcmp(reinterpret_cast<const char*>(pByName->Name), pszFunction) != 0)
                continue;
            DWORD dwOld = 0;
            if (!::VirtualProtect(&pSlot->u1.Function, sizeof(pSlot->u1.Function), PAGE_READWRITE,
                                  &dwOld))
                return false;
            *ppOld = reinterpret_cast<void*>(pSlot->u1.Function);
            pSlot->u1.Function = reinterpret_cast<ULONG_PTR>(pNew);
            ::VirtualProtect(&pSlot->u1.Function, sizeof(pSlot->u1.Function), dwOld, &dwOld);
            return true;
        }
    }
    return false;
}

// Runs the first detection and prints one line for the parent.
int RunChild(bool bOneProcessor)
{
    SYSTEM_INFO si;
    ::GetSystemInfo(&si);
    const unsigned nReported = si.dwNumberOfProcessors;
    const char* pszMethod = "none";
    if (bOneProcessor) {
        pszMethod = "WINE_CPU_TOPOLOGY";
        if (nReported != 1) {
            void* pOld = NULL;
            if (!RedirectImport(::GetModuleHandleW(L"Wivo10u.dll"), "kernel32.dll", "GetSystemInfo",
                                reinterpret_cast<void*>(&GetSystemInfoOfOneProcessor), &pOld)) {
                printf("RESULT failed to redirect GetSystemInfo\n");
                return 1;
            }
            s_pfnGetSystemInfo = reinterpret_cast<PFN_GETSYSTEMINFO>(pOld);
            pszMethod = "import";
        }
    }
    Stopwatch watch;
    const UINT nCount = CSystem::GetProcessorCount();
    const double dFirst = watch.Seconds();
    printf("RESULT reported=%u count=%u first=%.6f frequency=%u method=%s\n", nReported, nCount,
           dFirst, (unsigned)CSystem::GetProcessorInfo().GetFrequency(), pszMethod);
    return 0;
}

/////////////////////////////////////////////////////////////////////////////
// Parent side of 1a

struct ChildResult
{
    unsigned reported = 0, count = 0, frequency = 0;
    double first = 0;
    char method[32] = {};
};

bool StartChild(bool bOneProcessor, ChildResult& result)
{
    WCHAR szExe[MAX_PATH];
    ::GetModuleFileNameW(NULL, szExe, MAX_PATH);
    CString strCommand;
    strCommand.Format(L"\"%s\" --child %s", szExe, bOneProcessor ? L"one" : L"all");

    SECURITY_ATTRIBUTES sa = {sizeof(sa), NULL, TRUE};
    HANDLE hRead = NULL, hWrite = NULL;
    if (!::CreatePipe(&hRead, &hWrite, &sa, 0))
        return false;
    ::SetHandleInformation(hRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = hWrite;
    si.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi = {};
    if (bOneProcessor)
        ::SetEnvironmentVariableW(L"WINE_CPU_TOPOLOGY", L"1:0");
    BOOL bStarted = ::CreateProcessW(NULL, strCommand.GetBuffer(0), NULL, NULL, TRUE, 0, NULL,
                                     NULL, &si, &pi);
    strCommand.ReleaseBuffer();
    ::SetEnvironmentVariableW(L"WINE_CPU_TOPOLOGY", NULL);
    ::CloseHandle(hWrite);
    if (!bStarted) {
        ::CloseHandle(hRead);
        return false;
    }

    std::vector<char> output;
    char buffer[512];
    DWORD dwRead = 0;
    while (::ReadFile(hRead, buffer, sizeof(buffer), &dwRead, NULL) && dwRead > 0)
        output.insert(output.end(), buffer, buffer + dwRead);
    output.push_back(0);
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(hRead);

    const char* pLine = strstr(output.data(), "RESULT ");
    return pLine != NULL &&
           sscanf(pLine, "RESULT reported=%u count=%u first=%lf frequency=%u method=%31s",
                  &result.reported, &result.count, &result.first, &result.frequency,
                  result.method) == 5;
}

/////////////////////////////////////////////////////////////////////////////
// 1b: the clock measurement on one processor and on all at once

COSInfo NoClockInRegistry()
{
    return COSInfo::FromVersionData(VER_PLATFORM_WIN32_WINDOWS, 4, 10, 2222, 0);
}

class CMeasuringProbe : public IRunnable
{
public:
    virtual void Run()
    {
        CHardwareCpuid cpuid;
        CHardwareTimer timer;
        m_probe.ProbePinned(NoClockInRegistry(), cpuid, timer);
    }

    CProcessorProbe m_probe;
};

// Seconds for one probe on the calling thread; *pMHz gets its clock.
double MeasureOne(unsigned* pMHz)
{
    SYSTEM_INFO si;
    ::GetSystemInfo(&si);
    CHardwareCpuid cpuid;
    CHardwareTimer timer;
    CProcessorProbe probe;
    Stopwatch watch;
    probe.ProbeSingle(si, NoClockInRegistry(), cpuid, timer);
    const double dSeconds = watch.Seconds();
    *pMHz = probe.m_wFrequency;
    return dSeconds;
}

// Seconds for n pinned probes started together and joined in order, the way the
// detection runs them; mhz gets each clock.
double MeasureAll(UINT n, std::vector<unsigned>& mhz)
{
    std::vector<CMeasuringProbe> probes(n);
    std::vector<CThinThread*> threads;
    Stopwatch watch;
    for (UINT i = 0; i < n; i++) {
        probes[i].m_probe.m_nIndex = i;
        threads.push_back(new CThinThread(&probes[i]));
        threads.back()->Start();
    }
    for (CThinThread* pThread : threads)
        pThread->Join();
    const double dSeconds = watch.Seconds();
    for (CThinThread* pThread : threads)
        delete pThread;
    mhz.clear();
    for (const CMeasuringProbe& p : probes)
        mhz.push_back(p.m_probe.m_wFrequency);
    return dSeconds;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2 && strcmp(argv[1], "--child") == 0)
        return RunChild(strcmp(argv[2], "one") == 0);

    const bool bQuick = argc > 1 && strcmp(argv[1], "--quick") == 0;
    const int nRuns = bQuick ? 1 : 5;
    int nFailures = 0;
    SYSTEM_INFO si;
    ::GetSystemInfo(&si);
    const UINT nProcessors = si.dwNumberOfProcessors;
    printf("Processor detection, %u processors reported by GetSystemInfo\n\n", nProcessors);

    // 2 first, while nothing in this process has asked yet.
    Stopwatch watch;
    const UINT nCount = CSystem::GetProcessorCount();
    const double dFirst = watch.Seconds();
    const int nCalls = bQuick ? 1000 : 100000;
    UINT nSum = 0;
    watch.Restart();
    for (int i = 0; i < nCalls; i++)
        nSum += CSystem::GetProcessorCount();
    const double dSecond = watch.Seconds() / nCalls;
    printf("2. Cache (this process)\n");
    printf("   first call  (detection)        %12.3f ms\n", dFirst * 1e3);
    printf("   later calls (mean of %6d)    %12.6f ms\n", nCalls, dSecond * 1e3);
    printf("   ratio later / first            %12.2e\n\n", dSecond / dFirst);
    if (nCount != nProcessors || nSum != nCount * (UINT)nCalls ||
        CSystem::GetProcessorDetectionCount() != 1) {
        printf("   wrong: %u processors, %ld detections\n", nCount,
               CSystem::GetProcessorDetectionCount());
        ++nFailures;
    }

    printf("1a. Whole detection, first call in a fresh child process (best of %d)\n", nRuns);
    ChildResult all, one;
    double dAll = 1e30, dOne = 1e30;
    for (int i = 0; i < nRuns; i++) {
        if (!StartChild(false, all) || !StartChild(true, one)) {
            printf("   a child process failed\n");
            return 1;
        }
        dAll = std::min(dAll, all.first);
        dOne = std::min(dOne, one.first);
    }
    printf("   WINE_CPU_TOPOLOGY=1:0: the child's GetSystemInfo reported %u processor(s)\n",
           one.reported);
    printf("   single processor made by: %s\n",
           strcmp(one.method, "import") == 0
               ? "redirected GetSystemInfo import of Wivo10u.dll (reports 1 processor)"
               : one.method);
    printf("   all processors (%u probe threads)   %10.3f ms  (clock %u MHz)\n", all.count,
           dAll * 1e3, all.frequency);
    printf("   one processor (calling thread)   %10.3f ms  (clock %u MHz)\n", dOne * 1e3,
           one.frequency);
    printf("   ratio all / one                  %10.2f\n", dAll / dOne);
    // Under 50 ms nobody slept: the registry had the clock, and what remains of the
    // detection is mostly the start of the probe threads.
    if (dOne < 0.05)
        printf("   (the registry has the clock, so no probe measured it; the difference is"
               " the start of the probe threads)\n");
    printf("\n");
    if (all.count != nProcessors || one.count != 1) {
        printf("   wrong: children detected %u and %u processors\n", all.count, one.count);
        ++nFailures;
    }

    printf("1b. Clock measurement (3 x 50 ms), probes in this process (best of %d)\n", nRuns);
    double dMeasureOne = 1e30, dMeasureAll = 1e30;
    unsigned nOneMHz = 0;
    std::vector<unsigned> allMHz;
    for (int i = 0; i < nRuns; i++) {
        dMeasureOne = std::min(dMeasureOne, MeasureOne(&nOneMHz));
        dMeasureAll = std::min(dMeasureAll, MeasureAll(nProcessors, allMHz));
    }
    printf("   one processor (calling thread)   %10.3f ms  (clock %u MHz)\n", dMeasureOne * 1e3,
           nOneMHz);
    printf("   all %u processors (in parallel)   %10.3f ms  (clocks", nProcessors,
           dMeasureAll * 1e3);
    for (unsigned mhz : allMHz)
        printf(" %u", mhz);
    printf(" MHz)\n");
    printf("   ratio all / one                  %10.2f\n", dMeasureAll / dMeasureOne);
    // Probes that ran one after the other would take n times as long.
    printf("   ratio all / (one x %u)            %10.2f\n", nProcessors,
           dMeasureAll / (dMeasureOne * nProcessors));
    const bool bTsc = (CSystem::GetProcessorInfo().GetFeatures().GetBits() &
                       CProcessorProbe::featureTimeStampCounter) != 0;
    if (bTsc && (nOneMHz == 0 || std::count(allMHz.begin(), allMHz.end(), 0u) != 0)) {
        printf("   wrong: a probe measured no clock\n");
        ++nFailures;
    }

    if (nFailures != 0) {
        printf("\n%d wrong answers\n", nFailures);
        return 1;
    }
    return 0;
}
