// A library with a version resource of its own and a DllGetVersion whose answer the
// version tests know. It remembers the record it was handed, and the test can choose
// the result it returns, so the caller's side of the protocol can be checked too.
#include <windows.h>
#include <shlwapi.h>

#include <string.h>

#define VERSIONTESTDLL_API extern "C" __declspec(dllexport)

namespace {

HRESULT g_hrResult = S_OK;
DLLVERSIONINFO g_dviReceived;
LONG g_nCalls = 0;

} // namespace

// major 3, minor 21, build 0x12345: the build does not fit 16 bits on purpose.
VERSIONTESTDLL_API HRESULT CALLBACK DllGetVersion(DLLVERSIONINFO* pdvi)
{
    ++g_nCalls;
    if (pdvi == NULL)
        return E_POINTER;
    g_dviReceived = *pdvi;
    if (pdvi->cbSize != sizeof(DLLVERSIONINFO) && pdvi->cbSize != sizeof(DLLVERSIONINFO2))
        return E_INVALIDARG;
    pdvi->dwMajorVersion = 3;
    pdvi->dwMinorVersion = 21;
    pdvi->dwBuildNumber = 0x12345;
    pdvi->dwPlatformID = DLLVER_PLATFORM_NT;
    return g_hrResult;
}

// The result later calls return; only meaningful while the test keeps the library loaded.
VERSIONTESTDLL_API void CALLBACK VersionTestDllSetResult(HRESULT hr)
{
    g_hrResult = hr;
}

// The record of the last call as it arrived, and the number of calls so far.
VERSIONTESTDLL_API LONG CALLBACK VersionTestDllLastRequest(DLLVERSIONINFO* pdvi)
{
    *pdvi = g_dviReceived;
    return g_nCalls;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH)
        memset(&g_dviReceived, 0xBD, sizeof(g_dviReceived));
    return TRUE;
}
