// Module and thread state, extension modules and the resource chain.
#include <gtest/gtest.h>

#include "AfxTestSupport.h"

#include <afxpriv.h>
#include <afxres.h>

#include <psapi.h>

#include "ResourceChainIds.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

using wivotest::Join;
using wivotest::Narrow;

// afxver_.h declares these for debug builds only; the framework always has them.
AFX_CORE_API BOOL AFXAPI AfxAssertFailedLine(LPCSTR lpszFileName, int nLine);
AFX_CORE_API void AFX_CDECL AfxTrace(LPCTSTR lpszFormat, ...);

namespace {

const wchar_t kExtDllName[] = L"AfxTestExtDll.dll";

HMODULE FrameworkModule()
{
    return ::GetModuleHandleW(L"WivoAfx.dll");
}

HMODULE HostModule()
{
    return ::GetModuleHandleW(NULL);
}

// Number of libraries registered with pState (of module hModule, or all).
int CountLibraries(AFX_MODULE_STATE* pState, HMODULE hModule = NULL)
{
    int nCount = 0;
    ::AcquireSRWLockShared(&pState->m_lockLibraryList);
    for (CDynLinkLibrary* p = pState->m_libraryList; p != NULL; p = p->m_pNextDLL)
        if (hModule == NULL || p->m_hModule == hModule)
            ++nCount;
    ::ReleaseSRWLockShared(&pState->m_lockLibraryList);
    return nCount;
}

std::string LoadChainString(UINT nID)
{
    WCHAR szBuf[256];
    int n = AfxLoadString(nID, szBuf, 256);
    if (n == 0 && szBuf[0] != 0)
        return "<buffer not cleared>";
    return Narrow(szBuf);
}

// The test extension DLL, loaded for the life of the object.
using ExtensionDll = std::unique_ptr<std::remove_pointer<HMODULE>::type, decltype(&::FreeLibrary)>;

ExtensionDll LoadExtensionDll()
{
    return ExtensionDll(::LoadLibraryW(kExtDllName), &::FreeLibrary);
}

class ResourceChain : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(m_ext.get(), nullptr) << "LoadLibrary failed: " << ::GetLastError();
        ASSERT_NE(FrameworkModule(), nullptr);
    }

    ExtensionDll m_ext = LoadExtensionDll();
    HMODULE m_hExt = m_ext.get();
};

/////////////////////////////////////////////////////////////////////////////
// Module states

TEST(ModuleState, TheApplicationsHasTheProgramsHandlesWithoutAnApplicationObject)
{
    AFX_MODULE_STATE* pApp = AfxGetAppModuleState();
    ASSERT_NE(pApp, nullptr);
    EXPECT_EQ(pApp, AfxGetModuleState());
    for (HINSTANCE h : {pApp->m_hCurrentInstanceHandle, pApp->m_hCurrentResourceHandle,
                        AfxGetInstanceHandle(), AfxGetResourceHandle()})
        EXPECT_EQ(HostModule(), h);
    EXPECT_EQ("0|(null)|0|0", Join({pApp->m_pCurrentWinApp, AfxGetAppName(), pApp->m_bDLL,
                               pApp->m_bSystem}));
    AFX_MODULE_THREAD_STATE* pAppThread = AfxGetModuleThreadState();
    ASSERT_NE(pAppThread, nullptr);
    EXPECT_EQ("0|0", Join({pAppThread->m_pCurrentWinThread, pAppThread->m_pmapHWND}));

    // AfxSetResourceHandle changes the current module state only.
    AFX_MODULE_STATE other(TRUE);
    AfxSetResourceHandle(FrameworkModule());
    EXPECT_EQ(Join({FrameworkModule(), FrameworkModule(), (void*)NULL}),
              Join({AfxGetResourceHandle(), pApp->m_hCurrentResourceHandle,
                    other.m_hCurrentResourceHandle}));
    AfxSetResourceHandle(HostModule());
}

void ThrowInside(AFX_MODULE_STATE* pState)
{
    AFX_MANAGE_STATE(pState);
    if (AfxGetModuleState() == pState)
        throw 42;
}

TEST(ModuleState, SetReturnsTheStateBeforeAndScopesRestoreIt)
{
    AFX_MODULE_STATE* pApp = AfxGetAppModuleState();
    AFX_MODULE_THREAD_STATE* pAppThread = AfxGetModuleThreadState();
    AFX_MODULE_STATE first(TRUE), second(TRUE);
    // NULL stands for the application's state.
    EXPECT_EQ(Join({pApp, &first, &second, &second, pApp}),
              Join({AfxSetModuleState(&first), AfxSetModuleState(&second), AfxGetModuleState(),
                    AfxSetModuleState(NULL), AfxGetModuleState()}));

    // The state-keeping objects nest and restore, also when an exception leaves.
    {
        AFX_MANAGE_STATE(&first);
        EXPECT_EQ(AfxGetModuleState(), &first);
        // Each module state has its own per-thread record.
        EXPECT_EQ(AfxGetModuleThreadState(), first.m_thread.GetData());
        EXPECT_NE(AfxGetModuleThreadState(), pAppThread);
        {
            AFX_MAINTAIN_STATE keep(&second);
            {
                AFX_MAINTAIN_STATE2 keep2(pApp);
                EXPECT_EQ(AfxGetModuleState(), pApp);
            }
            EXPECT_EQ(AfxGetModuleState(), &second);
        }
        EXPECT_EQ(AfxGetModuleState(), &first);
    }
    EXPECT_EQ(AfxGetModuleState(), pApp);
    EXPECT_EQ(AfxGetModuleThreadState(), pAppThread);
    int nCaught = 0;
    try {
        ThrowInside(&first);
    } catch (int n) {
        nCaught = n;
    }
    EXPECT_EQ(nCaught, 42) << "the state was not switched inside the scope";
    EXPECT_EQ(AfxGetModuleState(), pApp);

    ::SetLastError(ERROR_FILE_NOT_FOUND);
    AfxGetModuleState();
    AfxGetModuleThreadState();
    EXPECT_EQ(::GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND) << "state lookups keep the last error";
}

/////////////////////////////////////////////////////////////////////////////
// The resource chain with the host program and the extension DLL

TEST_F(ResourceChain, ExtensionRegistersItselfWithTheCurrentModuleState)
{
    EXPECT_EQ(CountLibraries(AfxGetAppModuleState(), m_hExt), 1);
    typedef AFX_EXTENSION_MODULE* (*PFN)();
    PFN pfn = (PFN)(void*)::GetProcAddress(m_hExt, "TestExtGetModule");
    ASSERT_NE(pfn, nullptr);
    AFX_EXTENSION_MODULE* pModule = pfn();
    EXPECT_EQ(Join({1, m_hExt, m_hExt}),
              Join({pModule->bInitialized, pModule->hModule, pModule->hResource}));
    // A second initialisation of the same record changes nothing.
    EXPECT_TRUE(AfxInitExtensionModule(*pModule, HostModule()));
    EXPECT_EQ(pModule->hModule, m_hExt);
    CDynLinkLibrary* pHead = AfxGetAppModuleState()->m_libraryList.GetHead();
    EXPECT_TRUE(pHead != NULL && pHead->IsKindOf(RUNTIME_CLASS(CDynLinkLibrary)));
}

TEST_F(ResourceChain, HostThenExtensionsThenTheFramework)
{
    // The host has strings of the same block of 16 as the extension-only one, so
    // its block exists and the search must go on past it.
    LPCWSTR lpszBlock = MAKEINTRESOURCEW((IDS_TEST_EXT_ONLY >> 4) + 1);
    ASSERT_NE(::FindResourceW(HostModule(), lpszBlock, RT_STRING), nullptr);
    struct
    {
        UINT nID;
        const char* pszText;
        HINSTANCE hFrom;    // NULL: not checked
    } const cases[] = {
        {IDS_TEST_SHARED, "Host shared text", HostModule()},
        {IDS_TEST_EXT_ONLY, "Extension-only text", m_hExt},
        {AFX_IDS_IDLEMESSAGE, "Ready", FrameworkModule()},
        // The extension overrides a framework text.
        {AFX_IDS_HELPMODEMESSAGE, "Extension help prompt", NULL},
        {AFX_IDP_PARSE_INT_RANGE, "Please enter an integer between %1 and %2.", NULL},
        {AFX_IDP_FILE_NOT_FOUND, "%1 was not found.", NULL},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LoadChainString(c.nID), c.pszText) << "id " << c.nID;
        EXPECT_TRUE(c.hFrom == NULL || AfxFindStringResourceHandle(c.nID) == c.hFrom) << c.nID;
        CString s;
        EXPECT_TRUE(s.LoadString(c.nID)) << "id " << c.nID;
        // A string id in place of a text loads it.
        EXPECT_EQ(Join({s, CString(MAKEINTRESOURCE(c.nID))}),
                  Join({std::string(c.pszText), std::string(c.pszText)}));
    }
    // Format loads its format through the chain too.
    CString strFormatted(L"old");
    strFormatted.Format(IDS_TEST_EXT_ONLY);
    EXPECT_EQ(Narrow(strFormatted), "Extension-only text");
    // An id nobody has gives nothing.
    for (UINT nID : { (UINT)IDS_TEST_NOBODY, (UINT)IDS_TEST_NOBODY_BLOCK, 0x12345u }) {
        EXPECT_EQ(LoadChainString(nID), "") << "id " << nID;
        EXPECT_EQ(AfxFindStringResourceHandle(nID), nullptr) << "id " << nID;
        CString s(L"junk");
        EXPECT_FALSE(s.LoadString(nID)) << "id " << nID;
        EXPECT_EQ("|", Join({s, CString(MAKEINTRESOURCE(nID))})) << "id " << nID;
    }
}

TEST_F(ResourceChain, LoadStringHonoursTheBufferSize)
{
    // The buffer size, then the length loaded and the buffer (which held "x" before);
    // a zero-sized buffer must not be written.
    const std::pair<int, const char*> cases[] = {
        {5, "4|0123"}, {1, "0|"}, {0, "0|x"}, {64, "20|0123456789abcdefghij"},
    };
    for (const auto& c : cases) {
        WCHAR szBuf[64] = L"x";
        EXPECT_EQ(c.second, Join({AfxLoadString(IDS_TEST_HOST_LONG, szBuf, c.first), szBuf}));
    }
    EXPECT_EQ(AfxLoadString(IDS_TEST_HOST_LONG, NULL, 8), 0);
    WCHAR szWhole[64];
    EXPECT_EQ("17|Grüße, Österreich",
              Join({AfxLoadString(IDS_TEST_HOST_UMLAUT, szWhole, 64), Narrow(szWhole)}));
}

TEST_F(ResourceChain, FindResourceHandleWalksTheChain)
{
    auto find = [](UINT nID, LPCTSTR lpszType) {
        return AfxFindResourceHandle(MAKEINTRESOURCE(nID), lpszType);
    };
    EXPECT_EQ(find(IDR_TEST_SHARED_DATA, RT_RCDATA), HostModule());
    EXPECT_EQ(find(IDR_TEST_EXT_DATA, RT_RCDATA), m_hExt);
    // Missing: the current resource handle, as the framework documents.
    EXPECT_EQ(find(IDR_TEST_NOBODY_DATA, RT_RCDATA), HostModule());
    EXPECT_EQ(AfxFindResourceHandle(NULL, RT_RCDATA), HostModule());
    // The framework's own string blocks are found last.
    EXPECT_EQ(find((AFX_IDS_ALLFILTER >> 4) + 1, RT_STRING), FrameworkModule());
}

TEST_F(ResourceChain, ManageStateSwitchesToAnExtensionsResources)
{
    AFX_MODULE_STATE extState(TRUE);
    extState.m_hCurrentInstanceHandle = m_hExt;
    extState.m_hCurrentResourceHandle = m_hExt;
    {
        AFX_MANAGE_STATE(&extState);
        EXPECT_EQ(AfxGetResourceHandle(), m_hExt);
        // This state has no libraries: the host is not searched, the framework is.
        EXPECT_EQ("Extension shared text||Ready",
                  Join({LoadChainString(IDS_TEST_SHARED), LoadChainString(IDS_TEST_HOST_FORMAT),
                        LoadChainString(AFX_IDS_IDLEMESSAGE)}));
    }
    EXPECT_EQ(AfxGetResourceHandle(), HostModule());
    EXPECT_EQ(LoadChainString(IDS_TEST_SHARED), "Host shared text");
}

TEST_F(ResourceChain, NewestNonSystemLibraryFirstSystemLibrariesAfter)
{
    AFX_MODULE_STATE state(TRUE);   // no resource handle of its own
    AFX_MANAGE_STATE(&state);
    AFX_EXTENSION_MODULE extModule = { FALSE, NULL, NULL, NULL, NULL };
    AFX_EXTENSION_MODULE hostModule = { FALSE, NULL, NULL, NULL, NULL };
    ASSERT_TRUE(AfxInitExtensionModule(extModule, m_hExt));
    ASSERT_TRUE(AfxInitExtensionModule(hostModule, HostModule()));
    new CDynLinkLibrary(hostModule);
    CDynLinkLibrary* pExt = new CDynLinkLibrary(extModule);
    EXPECT_EQ(CountLibraries(&state), 2);
    EXPECT_EQ(LoadChainString(IDS_TEST_SHARED), "Extension shared text") << "newest first";
    delete pExt;
    new CDynLinkLibrary(extModule, TRUE);
    EXPECT_EQ(LoadChainString(IDS_TEST_SHARED), "Host shared text") << "system libraries last";
    EXPECT_EQ(LoadChainString(IDS_TEST_EXT_ONLY), "Extension-only text");

    // Ending a module deletes only its libraries, also those of the application's
    // state: the DLL's own registration goes, and its DllMain finds nothing left.
    new CDynLinkLibrary(extModule);
    EXPECT_EQ(CountLibraries(&state), 3);
    AfxTermExtensionModule(extModule);
    EXPECT_EQ("0|1|0|0", Join({CountLibraries(&state, m_hExt), CountLibraries(&state, HostModule()),
                               extModule.bInitialized,
                               CountLibraries(AfxGetAppModuleState(), m_hExt)}));
    AfxTermExtensionModule(hostModule);
    EXPECT_EQ(CountLibraries(&state), 0);
    EXPECT_EQ(LoadChainString(IDS_TEST_SHARED), "");
}

TEST_F(ResourceChain, ManyLibrariesAreAllSearched)
{
    // Every module of the process registered in front of the extension, so the
    // extension's text is found only if the search gets past all of them.
    HMODULE hModules[256];
    DWORD cbNeeded = 0;
    ASSERT_TRUE(::EnumProcessModules(::GetCurrentProcess(), hModules, sizeof(hModules), &cbNeeded));
    DWORD nModules = cbNeeded / sizeof(HMODULE) < 256 ? cbNeeded / sizeof(HMODULE) : 256;

    AFX_MODULE_STATE state(TRUE);
    AFX_MANAGE_STATE(&state);
    std::vector<std::unique_ptr<CDynLinkLibrary>> libraries;
    libraries.emplace_back(new CDynLinkLibrary(m_hExt, m_hExt));
    for (DWORD i = 0; i < nModules; ++i)
        if (hModules[i] != m_hExt && hModules[i] != HostModule())
            libraries.emplace_back(new CDynLinkLibrary(hModules[i], hModules[i]));
    EXPECT_GT(libraries.size(), 5u);
    EXPECT_EQ(LoadChainString(IDS_TEST_EXT_ONLY), "Extension-only text") << libraries.size();
    EXPECT_EQ(LoadChainString(AFX_IDS_ALLFILTER), "All Files (*.*)");
}

TEST(ExtensionModule, InitRejectsAMissingModuleAndLoadingTwiceKeepsTheChain)
{
    AFX_EXTENSION_MODULE module = { FALSE, NULL, NULL, NULL, NULL };
    EXPECT_FALSE(AfxInitExtensionModule(module, NULL));
    EXPECT_FALSE(AfxInitExtensionModule(module, (HMODULE)(INT_PTR)0x10000));
    EXPECT_FALSE(module.bInitialized);
    AfxTermExtensionModule(module);   // nothing registered: harmless

    AFX_MODULE_STATE* pApp = AfxGetAppModuleState();
    int nBefore = CountLibraries(pApp);
    for (int nRound = 0; nRound < 2; ++nRound) {
        SCOPED_TRACE(nRound);
        ExtensionDll ext = LoadExtensionDll();
        ASSERT_NE(ext.get(), nullptr);
        EXPECT_EQ(CountLibraries(pApp), nBefore + 1);
        EXPECT_EQ(pApp->m_libraryList.GetHead()->m_hModule, ext.get());
        EXPECT_EQ(LoadChainString(IDS_TEST_EXT_ONLY), "Extension-only text");
        ext.reset();
        EXPECT_EQ(::GetModuleHandleW(kExtDllName), nullptr) << "the DLL stayed loaded";
        EXPECT_EQ(CountLibraries(pApp), nBefore);
        EXPECT_EQ(LoadChainString(IDS_TEST_EXT_ONLY), "");
        EXPECT_EQ(LoadChainString(IDS_TEST_SHARED), "Host shared text");
    }
}

/////////////////////////////////////////////////////////////////////////////
// AfxFormatString1/2, AfxFormatStrings, AfxExtractSubString

TEST_F(ResourceChain, FormatStringsFillThePlaceholders)
{
    // A placeholder without argument stays; a missing id gives an empty string.
    CString s[7] = {L"junk", L"junk", L"junk", L"junk", L"junk", L"junk", L"junk"};
    AfxFormatString2(s[0], IDS_TEST_HOST_FORMAT, L"3", L"7");
    AfxFormatString1(s[1], IDS_TEST_HOST_FORMAT, L"3");
    AfxFormatString1(s[2], IDS_TEST_EXT_FORMAT, L"hello");
    AfxFormatString2(s[3], AFX_IDP_PARSE_INT_RANGE, L"-5", L"5");
    AfxFormatString1(s[4], AFX_IDP_FILE_ACCESS_DENIED, L"C:\\x.txt");
    AfxFormatString1(s[5], IDS_TEST_NOBODY, L"x");
    AfxFormatString2(s[6], IDS_TEST_NOBODY_BLOCK, L"x", L"y");
    EXPECT_EQ("Value 3 of 7|Value 3 of %2|Extension says hello.|"
              "Please enter an integer between -5 and 5.|Access to C:\\x.txt was denied.||",
              Join({s[0], s[1], s[2], s[3], s[4], s[5], s[6]}));

    LPCTSTR args[9] = { L"a", L"b", L"c", L"d", L"e", L"f", L"g", L"h", L"i" };
    LPCTSTR withNull[2] = { NULL, L"z" };
    AfxFormatStrings(s[0], L"%9%8%7%6%5%4%3%2%1", args, 9);
    AfxFormatStrings(s[1], L"%1%1 %0 %% %10 100%", args, 9);
    AfxFormatStrings(s[2], L"[%1][%2]", withNull, 2);
    AfxFormatStrings(s[3], L"%1", NULL, 3);
    s[4] = s[5] = L"junk";
    AfxFormatStrings(s[4], (LPCTSTR)NULL, args, 9);
    AfxFormatStrings(s[5], L"", args, 9);
    EXPECT_EQ("ihgfedcba|aa %0 %% a0 100%|[][z]|%1||", Join({s[0], s[1], s[2], s[3], s[4], s[5]}));
}

TEST(ExtractSubString, FieldsEdgesAndSeparators)
{
    const wchar_t* full = L"File\nOpen a file\n\nlast";
    struct
    {
        const wchar_t* pszFull;
        int iSubString;
        wchar_t chSep;
        const char* pszResult;  // found or not, then the field (after "junk" was in it)
    } const cases[] = {
        {full, 0, L'\n', "1|File"},   {full, 1, L'\n', "1|Open a file"}, {full, 2, L'\n', "1|"},
        {full, 3, L'\n', "1|last"},   {full, 4, L'\n', "0|"},            {NULL, 0, L'\n', "0|"},
        {L"a\nb", -1, L'\n', "0|"},   {L"", 0, L'\n', "1|"},             {L"", 1, L'\n', "0|"},
        {L"x,y,", 2, L',', "1|"},     {L"x,y,", 3, L',', "0|"},
        {L"x,y\nz", 1, L',', "1|y\nz"},
        {L"whole", 0, L'\0', "1|whole"}, {L"whole", 1, L'\0', "0|"},
    };
    for (const auto& c : cases) {
        CString s(L"junk");
        EXPECT_EQ(c.pszResult, Join({AfxExtractSubString(s, c.pszFull, c.iSubString, c.chSep), s}))
            << Narrow(c.pszFull) << " #" << c.iSubString;
    }
}

/////////////////////////////////////////////////////////////////////////////
// ASSERT and TRACE support

// What the process sends to OutputDebugString: the platform raises it as an exception
// that a vectored handler sees before anyone else (the wide form ends in the narrow one).
std::vector<std::string> g_debugOutput;

LONG CALLBACK CatchDebugOutput(EXCEPTION_POINTERS* p)
{
    const EXCEPTION_RECORD* r = p->ExceptionRecord;
    if (r->ExceptionCode == DBG_PRINTEXCEPTION_C && r->NumberParameters >= 2)
        g_debugOutput.push_back(reinterpret_cast<const char*>(r->ExceptionInformation[1]));
    return EXCEPTION_CONTINUE_SEARCH;
}

TEST(Diagnostics, AssertFailedLineReportsTheLocationAndTraceFormats)
{
    PVOID hHandler = ::AddVectoredExceptionHandler(1, CatchDebugOutput);
    ASSERT_NE(hHandler, nullptr);
    BOOL bBreak = AfxAssertFailedLine("some\\file.cpp", 42);
    AfxAssertFailedLine(NULL, 7);
    AfxTrace(L"%s=%d\n", L"value", 12);
    AfxTrace(L"%s", std::wstring(3000, L'x').c_str());
    ::RemoveVectoredExceptionHandler(hHandler);
    EXPECT_EQ(!!bBreak, !!::IsDebuggerPresent()) << "break only with a debugger";
    ASSERT_EQ(g_debugOutput.size(), 4u);
    EXPECT_NE(g_debugOutput[0].find("some\\file.cpp"), std::string::npos) << g_debugOutput[0];
    EXPECT_NE(g_debugOutput[0].find("42"), std::string::npos) << g_debugOutput[0];
    EXPECT_NE(g_debugOutput[1].find("7"), std::string::npos) << g_debugOutput[1];
    EXPECT_EQ(g_debugOutput[2], "value=12\n");
    // The trace buffer is a fixed size.
    EXPECT_GT(g_debugOutput[3].size(), 100u);
    EXPECT_LT(g_debugOutput[3].size(), 3000u);
    EXPECT_EQ(g_debugOutput[3].find_first_not_of('x'), std::string::npos);
}

/////////////////////////////////////////////////////////////////////////////
// Per-thread state

// Counts live objects, to see thread-local objects go when their threads end.
std::atomic<LONG> g_nLiveCounters(0);

class CLiveCounter : public CNoTrackObject
{
public:
    CLiveCounter() { ++g_nLiveCounters; }
    ~CLiveCounter() override { --g_nLiveCounters; }
    int m_nValue = 0;
};

CThreadLocal<CLiveCounter> g_threadCounter;

// Bytes in use on all heaps of the process.
SIZE_T BusyHeapBytes()
{
    HANDLE heaps[64];
    DWORD nHeaps = ::GetProcessHeaps(64, heaps);
    SIZE_T nBusy = 0;
    for (DWORD i = 0; i < nHeaps && i < 64; ++i) {
        ::HeapLock(heaps[i]);
        PROCESS_HEAP_ENTRY entry = {};
        while (::HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                nBusy += entry.cbData;
        ::HeapUnlock(heaps[i]);
    }
    return nBusy;
}

const int kThreads = 16;
AFX_MODULE_STATE* g_pThreadModuleStates[kThreads];
AFX_MODULE_THREAD_STATE* g_pModuleThreadStates[kThreads];
std::atomic<int> g_nThreadsWritten(0);
_AFX_THREAD_STATE* g_pMainThreadState;

// Uses the framework's per-thread records and a thread-local object, sets this thread's
// state, waits until every thread of the round has, then checks that it sees its own.
bool SetAndCheckOwnState(int i, void*)
{
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    bool bFresh = pState != g_pMainThreadState && pState->m_pModuleState == NULL &&
                  pState->m_lastSentMsg.message == 0;
    g_threadCounter->m_nValue = 1;
    AfxGetModuleThreadState()->m_nTempMapLock = 1;
    bool bLoaded = LoadChainString(AFX_IDS_IDLEMESSAGE) == "Ready";
    pState->m_lastSentMsg.message = WM_APP + i;
    AfxSetModuleState(g_pThreadModuleStates[i]);
    g_pModuleThreadStates[i] = AfxGetModuleThreadState();
    for (++g_nThreadsWritten; g_nThreadsWritten < kThreads;)
        ::Sleep(1);
    return bFresh && bLoaded && AfxGetThreadState() == pState &&
           pState->m_lastSentMsg.message == (UINT)(WM_APP + i) &&
           AfxGetModuleState() == g_pThreadModuleStates[i] &&
           AfxGetResourceHandle() == g_pThreadModuleStates[i]->m_hCurrentResourceHandle;
}

std::string RunRound()
{
    g_nThreadsWritten = 0;
    return wivotest::RunAtOnce(kThreads, SetAndCheckOwnState, NULL);
}

TEST(ThreadState, EachThreadSeesItsOwnStateAndShortThreadsLeaveNothingBehind)
{
    g_pMainThreadState = AfxGetThreadState();
    g_threadCounter.GetData();      // the main thread's counter stays
    std::vector<std::unique_ptr<AFX_MODULE_STATE>> states;
    for (int i = 0; i < kThreads; ++i) {
        states.emplace_back(new AFX_MODULE_STATE(TRUE));
        states.back()->m_hCurrentResourceHandle = (HINSTANCE)(INT_PTR)(0x10000 * (i + 1));
        g_pThreadModuleStates[i] = states.back().get();
    }
    ASSERT_EQ("", RunRound());      // also warms up the allocator and Wine
    for (int i = 0; i < kThreads; ++i) {
        EXPECT_NE(g_pModuleThreadStates[i], nullptr) << "thread " << i;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(g_pModuleThreadStates[i], g_pModuleThreadStates[j]);
    }
    // The main thread was not switched by the others.
    EXPECT_EQ(AfxGetModuleState(), AfxGetAppModuleState());

    LONG nLiveBefore = g_nLiveCounters;
    DWORD nHandlesBefore = wivotest::ProcessHandleCount();
    SIZE_T nBytesBefore = BusyHeapBytes();
    for (int i = 0; i < 200; i += kThreads)
        ASSERT_EQ("", RunRound());
    EXPECT_EQ(g_nLiveCounters, nLiveBefore) << "thread-local objects outlived their threads";
    EXPECT_LE(wivotest::ProcessHandleCount(), nHandlesBefore + 2);
    SIZE_T nBytesAfter = BusyHeapBytes();
    // A thread's framework records take several hundred bytes; 200 threads that
    // kept them would add far more than this.
    EXPECT_LT(nBytesAfter, nBytesBefore + 16 * 1024)
        << "heap grew from " << nBytesBefore << " to " << nBytesAfter;
}

TEST(ThreadState, DestroyingAThreadLocalFreesEveryThreadsObject)
{
    LONG nBefore = g_nLiveCounters;
    CThreadLocal<CLiveCounter>* pLocal = new CThreadLocal<CLiveCounter>;
    pLocal->GetData();
    std::atomic<int> nStep(0);
    std::thread holder([&] {
        pLocal->GetData();
        for (++nStep; nStep < 2;)
            ::Sleep(1);
    });
    while (nStep < 1)
        ::Sleep(1);
    EXPECT_EQ(g_nLiveCounters, nBefore + 2);
    delete pLocal;
    EXPECT_EQ(g_nLiveCounters, nBefore) << "objects of a freed slot stayed alive";
    // The holding thread ends after its object went: nothing is freed twice.
    ++nStep;
    holder.join();
    EXPECT_EQ(g_nLiveCounters, nBefore);
}

} // namespace
