// Module and thread state, extension modules and the resource chain.
#include <gtest/gtest.h>

#include "TestSupport.h"

#include <afxpriv.h>
#include <afxres.h>

#include <psapi.h>

#include "ResourceChainIds.h"

#include <string>
#include <vector>

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

// Loads the test extension DLL for the life of the object.
class CExtensionDll
{
public:
    CExtensionDll() : m_hModule(::LoadLibraryW(kExtDllName)) {}
    ~CExtensionDll() { Free(); }
    CExtensionDll(const CExtensionDll&) = delete;
    CExtensionDll& operator=(const CExtensionDll&) = delete;

    HMODULE Handle() const { return m_hModule; }
    void Free()
    {
        if (m_hModule != NULL)
            ::FreeLibrary(m_hModule);
        m_hModule = NULL;
    }

private:
    HMODULE m_hModule;
};

class ResourceChain : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(m_ext.Handle(), nullptr) << "LoadLibrary failed: " << ::GetLastError();
        ASSERT_NE(FrameworkModule(), nullptr);
    }

    CExtensionDll m_ext;
};

/////////////////////////////////////////////////////////////////////////////
// The application's module state

TEST(AppModuleState, HasTheProgramsHandlesWithoutAnApplicationObject)
{
    AFX_MODULE_STATE* pApp = AfxGetAppModuleState();
    ASSERT_NE(pApp, nullptr);
    EXPECT_EQ(pApp, AfxGetModuleState());
    EXPECT_EQ(pApp->m_hCurrentInstanceHandle, HostModule());
    EXPECT_EQ(pApp->m_hCurrentResourceHandle, HostModule());
    EXPECT_EQ(AfxGetInstanceHandle(), HostModule());
    EXPECT_EQ(AfxGetResourceHandle(), HostModule());
    EXPECT_EQ(pApp->m_pCurrentWinApp, nullptr);
    EXPECT_EQ(AfxGetAppName(), nullptr);
    EXPECT_FALSE(pApp->m_bDLL);
    EXPECT_FALSE(pApp->m_bSystem);

    // AfxSetResourceHandle changes the current module state only.
    AFX_MODULE_STATE other(TRUE);
    AfxSetResourceHandle(FrameworkModule());
    EXPECT_EQ(AfxGetResourceHandle(), FrameworkModule());
    EXPECT_EQ(other.m_hCurrentResourceHandle, nullptr);
    AfxSetResourceHandle(HostModule());
    EXPECT_EQ(pApp->m_hCurrentResourceHandle, HostModule());
}

/////////////////////////////////////////////////////////////////////////////
// Switching module states

TEST(ModuleStateSwitch, SetReturnsTheStateBeforeAndScopesRestoreIt)
{
    AFX_MODULE_STATE* pApp = AfxGetAppModuleState();
    AFX_MODULE_STATE first(TRUE), second(TRUE);

    EXPECT_EQ(AfxSetModuleState(&first), pApp);
    EXPECT_EQ(AfxGetModuleState(), &first);
    EXPECT_EQ(AfxSetModuleState(&second), &first);
    EXPECT_EQ(AfxGetModuleState(), &second);
    EXPECT_EQ(AfxSetModuleState(NULL), &second);
    EXPECT_EQ(AfxGetModuleState(), pApp) << "NULL stands for the application's state";
    EXPECT_EQ(AfxSetModuleState(pApp), pApp);

    // The state-keeping objects nest and restore.
    {
        AFX_MANAGE_STATE(&first);
        EXPECT_EQ(AfxGetModuleState(), &first);
        {
            AFX_MAINTAIN_STATE keep(&second);
            EXPECT_EQ(AfxGetModuleState(), &second);
            {
                AFX_MAINTAIN_STATE2 keep2(pApp);
                EXPECT_EQ(AfxGetModuleState(), pApp);
            }
            EXPECT_EQ(AfxGetModuleState(), &second);
        }
        EXPECT_EQ(AfxGetModuleState(), &first);
    }
    EXPECT_EQ(AfxGetModuleState(), pApp);
}

void ThrowInside(AFX_MODULE_STATE* pState)
{
    AFX_MANAGE_STATE(pState);
    if (AfxGetModuleState() == pState)
        throw 42;
}

TEST(ModuleStateSwitch, ExceptionLeavingTheScopeRestoresTheState)
{
    AFX_MODULE_STATE other(TRUE);
    int nCaught = 0;
    try {
        ThrowInside(&other);
    } catch (int n) {
        nCaught = n;
    }
    EXPECT_EQ(nCaught, 42) << "the state was not switched inside the scope";
    EXPECT_EQ(AfxGetModuleState(), AfxGetAppModuleState());
}

TEST(ModuleStateSwitch, GetLastErrorSurvivesStateLookups)
{
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    AfxGetModuleState();
    AfxGetModuleThreadState();
    EXPECT_EQ(::GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND);
}

/////////////////////////////////////////////////////////////////////////////
// The resource chain with the host program and the extension DLL

TEST_F(ResourceChain, ExtensionRegistersItselfWithTheCurrentModuleState)
{
    EXPECT_EQ(CountLibraries(AfxGetAppModuleState(), m_ext.Handle()), 1);
    typedef AFX_EXTENSION_MODULE* (*PFN)();
    PFN pfn = (PFN)(void*)::GetProcAddress(m_ext.Handle(), "TestExtGetModule");
    ASSERT_NE(pfn, nullptr);
    AFX_EXTENSION_MODULE* pModule = pfn();
    EXPECT_TRUE(pModule->bInitialized);
    EXPECT_EQ(pModule->hModule, m_ext.Handle());
    EXPECT_EQ(pModule->hResource, m_ext.Handle());
    // A second initialisation of the same record changes nothing.
    EXPECT_TRUE(AfxInitExtensionModule(*pModule, HostModule()));
    EXPECT_EQ(pModule->hModule, m_ext.Handle());
    CDynLinkLibrary* pHead = AfxGetAppModuleState()->m_libraryList.GetHead();
    ASSERT_NE(pHead, nullptr);
    EXPECT_TRUE(pHead->IsKindOf(RUNTIME_CLASS(CDynLinkLibrary)));
}

TEST_F(ResourceChain, HostThenExtensionsThenTheFramework)
{
    // The host has strings of the same block of 16 as the extension-only one, so
    // its block exists and the search must go on past it.
    ASSERT_NE(::FindResourceW(HostModule(), MAKEINTRESOURCEW((IDS_TEST_EXT_ONLY >> 4) + 1), RT_STRING),
              nullptr);
    struct
    {
        UINT nID;
        const char* pszText;
        HINSTANCE hFrom;    // NULL: not checked
    } const cases[] = {
        {IDS_TEST_SHARED, "Host shared text", HostModule()},
        {IDS_TEST_EXT_ONLY, "Extension-only text", m_ext.Handle()},
        {AFX_IDS_IDLEMESSAGE, "Ready", FrameworkModule()},
        // The extension overrides a framework text.
        {AFX_IDS_HELPMODEMESSAGE, "Extension help prompt", NULL},
        {AFX_IDP_PARSE_INT_RANGE, "Please enter an integer between %1 and %2.", NULL},
        {AFX_IDP_FILE_NOT_FOUND, "%1 was not found.", NULL},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LoadChainString(c.nID), c.pszText) << "id " << c.nID;
        EXPECT_TRUE(c.hFrom == NULL || AfxFindStringResourceHandle(c.nID) == c.hFrom) << "id " << c.nID;
        CString s;
        EXPECT_TRUE(s.LoadString(c.nID)) << "id " << c.nID;
        EXPECT_EQ(Narrow(s), c.pszText);
    }
}

TEST_F(ResourceChain, IdNobodyHasGivesNothing)
{
    for (UINT nID : { (UINT)IDS_TEST_NOBODY, (UINT)IDS_TEST_NOBODY_BLOCK, 0x12345u }) {
        WCHAR szBuf[16] = L"junk";
        EXPECT_EQ(AfxLoadString(nID, szBuf, 16), 0) << "id " << nID;
        EXPECT_EQ(szBuf[0], L'\0') << "id " << nID;
        EXPECT_EQ(AfxFindStringResourceHandle(nID), nullptr) << "id " << nID;
        CString s(L"junk");
        EXPECT_FALSE(s.LoadString(nID)) << "id " << nID;
        EXPECT_TRUE(s.IsEmpty()) << "id " << nID << ": " << Narrow(s);
    }
}

TEST_F(ResourceChain, LoadStringHonoursTheBufferSize)
{
    WCHAR szBuf[8];
    EXPECT_EQ(AfxLoadString(IDS_TEST_HOST_LONG, szBuf, 5), 4);
    EXPECT_EQ(Narrow(szBuf), "0123");
    EXPECT_EQ(AfxLoadString(IDS_TEST_HOST_LONG, szBuf, 1), 0);
    EXPECT_EQ(szBuf[0], L'\0');
    szBuf[0] = L'x';
    EXPECT_EQ(AfxLoadString(IDS_TEST_HOST_LONG, szBuf, 0), 0);
    EXPECT_EQ(szBuf[0], L'x') << "a zero-sized buffer must not be written";
    EXPECT_EQ(AfxLoadString(IDS_TEST_HOST_LONG, NULL, 8), 0);
    WCHAR szWhole[64];
    EXPECT_EQ(AfxLoadString(IDS_TEST_HOST_LONG, szWhole, 64), 20);
    EXPECT_EQ(AfxLoadString(IDS_TEST_HOST_UMLAUT, szWhole, 64), 17);
    EXPECT_EQ(Narrow(szWhole), "Grüße, Österreich");
}

TEST_F(ResourceChain, FindResourceHandleWalksTheChain)
{
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(IDR_TEST_SHARED_DATA), RT_RCDATA), HostModule());
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(IDR_TEST_EXT_DATA), RT_RCDATA), m_ext.Handle());
    // Missing: the current resource handle, as the framework documents.
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(IDR_TEST_NOBODY_DATA), RT_RCDATA), HostModule());
    EXPECT_EQ(AfxFindResourceHandle(NULL, RT_RCDATA), HostModule());
    // The framework's own string blocks are found last.
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE((AFX_IDS_ALLFILTER >> 4) + 1), RT_STRING),
              FrameworkModule());
}

TEST_F(ResourceChain, ManageStateSwitchesToAnExtensionsResources)
{
    AFX_MODULE_STATE extState(TRUE);
    extState.m_hCurrentInstanceHandle = m_ext.Handle();
    extState.m_hCurrentResourceHandle = m_ext.Handle();
    {
        AFX_MANAGE_STATE(&extState);
        EXPECT_EQ(AfxGetResourceHandle(), m_ext.Handle());
        EXPECT_EQ(LoadChainString(IDS_TEST_SHARED), "Extension shared text");
        // This state has no libraries: the host is not searched, the framework is.
        EXPECT_EQ(LoadChainString(IDS_TEST_HOST_FORMAT), "");
        EXPECT_EQ(LoadChainString(AFX_IDS_IDLEMESSAGE), "Ready");
    }
    EXPECT_EQ(AfxGetResourceHandle(), HostModule());
    EXPECT_EQ(LoadChainString(IDS_TEST_SHARED), "Host shared text");
}

TEST_F(ResourceChain, NewestNonSystemLibraryFirstSystemLibrariesAfter)
{
    AFX_MODULE_STATE state(TRUE);   // no resource handle of its own
    AFX_MANAGE_STATE(&state);
    AFX_EXTENSION_MODULE extModule = { FALSE, NULL, NULL, NULL, NULL };
    ASSERT_TRUE(AfxInitExtensionModule(extModule, m_ext.Handle()));

    CDynLinkLibrary* pHost = new CDynLinkLibrary(HostModule(), HostModule());
    CDynLinkLibrary* pExt = new CDynLinkLibrary(extModule);
    EXPECT_EQ(CountLibraries(&state), 2);
    EXPECT_EQ(LoadChainString(IDS_TEST_SHARED), "Extension shared text") << "newest first";
    delete pExt;

    pExt = new CDynLinkLibrary(extModule, TRUE);
    EXPECT_EQ(LoadChainString(IDS_TEST_SHARED), "Host shared text") << "system libraries last";
    EXPECT_EQ(LoadChainString(IDS_TEST_EXT_ONLY), "Extension-only text");
    delete pHost;
    delete pExt;
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
    std::vector<CDynLinkLibrary*> libraries;
    libraries.push_back(new CDynLinkLibrary(m_ext.Handle(), m_ext.Handle()));
    for (DWORD i = 0; i < nModules; ++i)
        if (hModules[i] != m_ext.Handle() && hModules[i] != HostModule())
            libraries.push_back(new CDynLinkLibrary(hModules[i], hModules[i]));
    EXPECT_GT(libraries.size(), 5u);
    EXPECT_EQ(LoadChainString(IDS_TEST_EXT_ONLY), "Extension-only text")
        << libraries.size() << " libraries";
    EXPECT_EQ(LoadChainString(AFX_IDS_ALLFILTER), "All Files (*.*)");
    for (CDynLinkLibrary* p : libraries)
        delete p;
}

TEST_F(ResourceChain, TermExtensionModuleDeletesOnlyThatModulesLibraries)
{
    AFX_MODULE_STATE state(TRUE);
    AFX_MANAGE_STATE(&state);
    AFX_EXTENSION_MODULE extModule = { FALSE, NULL, NULL, NULL, NULL };
    AFX_EXTENSION_MODULE hostModule = { FALSE, NULL, NULL, NULL, NULL };
    ASSERT_TRUE(AfxInitExtensionModule(extModule, m_ext.Handle()));
    ASSERT_TRUE(AfxInitExtensionModule(hostModule, HostModule()));
    new CDynLinkLibrary(extModule);
    new CDynLinkLibrary(hostModule);
    new CDynLinkLibrary(extModule, TRUE);
    EXPECT_EQ(CountLibraries(&state), 3);

    AfxTermExtensionModule(extModule);
    EXPECT_EQ(CountLibraries(&state, m_ext.Handle()), 0);
    EXPECT_EQ(CountLibraries(&state, HostModule()), 1);
    EXPECT_FALSE(extModule.bInitialized);
    // The application's state is cleaned too: the DLL's own registration went, and
    // its DllMain finds nothing left to delete when it is unloaded.
    EXPECT_EQ(CountLibraries(AfxGetAppModuleState(), m_ext.Handle()), 0);

    AfxTermExtensionModule(hostModule);
    EXPECT_EQ(CountLibraries(&state), 0);
}

TEST(ExtensionModule, InitRejectsAMissingModule)
{
    AFX_EXTENSION_MODULE module = { FALSE, NULL, NULL, NULL, NULL };
    EXPECT_FALSE(AfxInitExtensionModule(module, NULL));
    EXPECT_FALSE(AfxInitExtensionModule(module, (HMODULE)(INT_PTR)0x10000));
    EXPECT_FALSE(module.bInitialized);
    AfxTermExtensionModule(module);   // nothing registered: harmless
}

TEST(ExtensionModule, LoadingAndFreeingTwiceKeepsTheChainConsistent)
{
    AFX_MODULE_STATE* pApp = AfxGetAppModuleState();
    int nBefore = CountLibraries(pApp);
    for (int nRound = 0; nRound < 2; ++nRound) {
        SCOPED_TRACE(nRound);
        {
            CExtensionDll ext;
            ASSERT_NE(ext.Handle(), nullptr);
            EXPECT_EQ(CountLibraries(pApp), nBefore + 1);
            EXPECT_EQ(pApp->m_libraryList.GetHead()->m_hModule, ext.Handle());
            EXPECT_EQ(LoadChainString(IDS_TEST_EXT_ONLY), "Extension-only text");
        }
        EXPECT_EQ(::GetModuleHandleW(kExtDllName), nullptr) << "the DLL stayed loaded";
        EXPECT_EQ(CountLibraries(pApp), nBefore);
        EXPECT_EQ(LoadChainString(IDS_TEST_EXT_ONLY), "");
        EXPECT_EQ(LoadChainString(IDS_TEST_SHARED), "Host shared text");
    }
}

/////////////////////////////////////////////////////////////////////////////
// AfxFormatString1/2, AfxFormatStrings

TEST_F(ResourceChain, FormatStringsFillThePlaceholders)
{
    CString s;
    AfxFormatString2(s, IDS_TEST_HOST_FORMAT, L"3", L"7");
    EXPECT_EQ(Narrow(s), "Value 3 of 7");
    AfxFormatString1(s, IDS_TEST_HOST_FORMAT, L"3");
    EXPECT_EQ(Narrow(s), "Value 3 of %2") << "a placeholder without argument stays";
    AfxFormatString1(s, IDS_TEST_EXT_FORMAT, L"hello");
    EXPECT_EQ(Narrow(s), "Extension says hello.");
    AfxFormatString2(s, AFX_IDP_PARSE_INT_RANGE, L"-5", L"5");
    EXPECT_EQ(Narrow(s), "Please enter an integer between -5 and 5.");
    AfxFormatString1(s, AFX_IDP_FILE_ACCESS_DENIED, L"C:\\x.txt");
    EXPECT_EQ(Narrow(s), "Access to C:\\x.txt was denied.");
    // A missing id gives an empty string.
    s = L"junk";
    AfxFormatString1(s, IDS_TEST_NOBODY, L"x");
    EXPECT_TRUE(s.IsEmpty()) << Narrow(s);
    s = L"junk";
    AfxFormatString2(s, IDS_TEST_NOBODY_BLOCK, L"x", L"y");
    EXPECT_TRUE(s.IsEmpty()) << Narrow(s);
}

TEST(FormatStrings, AllNinePlaceholdersAndOddCases)
{
    LPCTSTR args[9] = { L"a", L"b", L"c", L"d", L"e", L"f", L"g", L"h", L"i" };
    CString s;
    AfxFormatStrings(s, L"%9%8%7%6%5%4%3%2%1", args, 9);
    EXPECT_EQ(Narrow(s), "ihgfedcba");
    AfxFormatStrings(s, L"%1%1 %0 %% %10 100%", args, 9);
    EXPECT_EQ(Narrow(s), "aa %0 %% a0 100%");
    LPCTSTR withNull[2] = { NULL, L"z" };
    AfxFormatStrings(s, L"[%1][%2]", withNull, 2);
    EXPECT_EQ(Narrow(s), "[][z]");
    AfxFormatStrings(s, L"%1", NULL, 3);
    EXPECT_EQ(Narrow(s), "%1");
    s = L"junk";
    AfxFormatStrings(s, (LPCTSTR)NULL, args, 9);
    EXPECT_TRUE(s.IsEmpty());
    AfxFormatStrings(s, L"", args, 9);
    EXPECT_TRUE(s.IsEmpty());
}

/////////////////////////////////////////////////////////////////////////////
// AfxExtractSubString

TEST(ExtractSubString, FieldsEdgesAndSeparators)
{
    const wchar_t* full = L"File\nOpen a file\n\nlast";
    struct
    {
        const wchar_t* pszFull;
        int iSubString;
        wchar_t chSep;
        bool bFound;
        const char* pszField;   // after "junk" was in the string
    } const cases[] = {
        {full, 0, L'\n', true, "File"},
        {full, 1, L'\n', true, "Open a file"},
        {full, 2, L'\n', true, ""},
        {full, 3, L'\n', true, "last"},
        {full, 4, L'\n', false, ""},
        {NULL, 0, L'\n', false, ""},
        {L"a\nb", -1, L'\n', false, ""},
        {L"", 0, L'\n', true, ""},
        {L"", 1, L'\n', false, ""},
        {L"x,y,", 2, L',', true, ""},
        {L"x,y,", 3, L',', false, ""},
        {L"x,y\nz", 1, L',', true, "y\nz"},
        {L"whole", 0, L'\0', true, "whole"},
        {L"whole", 1, L'\0', false, ""},
    };
    for (const auto& c : cases) {
        CString s(L"junk");
        EXPECT_EQ(c.bFound, !!AfxExtractSubString(s, c.pszFull, c.iSubString, c.chSep))
            << (c.pszFull ? Narrow(c.pszFull) : "NULL") << " #" << c.iSubString;
        EXPECT_EQ(c.pszField, Narrow(s)) << (c.pszFull ? Narrow(c.pszFull) : "NULL") << " #" << c.iSubString;
    }
}

/////////////////////////////////////////////////////////////////////////////
// ASSERT and TRACE support

// Catches what the process sends to OutputDebugString, as a debug monitor does.
class CDebugOutputCapture
{
public:
    CDebugOutputCapture()
    {
        m_hBufferReady = ::CreateEventW(NULL, FALSE, TRUE, L"DBWIN_BUFFER_READY");
        m_hDataReady = ::CreateEventW(NULL, FALSE, FALSE, L"DBWIN_DATA_READY");
        m_hMapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, 4096,
                                          L"DBWIN_BUFFER");
        m_pView = m_hMapping != NULL ? ::MapViewOfFile(m_hMapping, FILE_MAP_READ, 0, 0, 4096) : NULL;
    }
    ~CDebugOutputCapture()
    {
        if (m_pView != NULL)
            ::UnmapViewOfFile(m_pView);
        for (HANDLE h : { m_hMapping, m_hDataReady, m_hBufferReady })
            if (h != NULL)
                ::CloseHandle(h);
    }
    bool Ready() const { return m_pView != NULL && m_hBufferReady != NULL && m_hDataReady != NULL; }

    // The next text sent, or "<none>".
    std::string Next()
    {
        if (::WaitForSingleObject(m_hDataReady, 2000) != WAIT_OBJECT_0)
            return "<none>";
        std::string text(static_cast<const char*>(m_pView) + sizeof(DWORD));
        ::SetEvent(m_hBufferReady);
        return text;
    }

private:
    HANDLE m_hBufferReady;
    HANDLE m_hDataReady;
    HANDLE m_hMapping;
    const void* m_pView;
};

TEST(Diagnostics, AssertFailedLineReportsTheLocation)
{
    CDebugOutputCapture capture;
    ASSERT_TRUE(capture.Ready());
    BOOL bBreak = AfxAssertFailedLine("some\\file.cpp", 42);
    EXPECT_EQ(!!bBreak, !!::IsDebuggerPresent()) << "break only with a debugger";
    std::string text = capture.Next();
    EXPECT_NE(text.find("some\\file.cpp"), std::string::npos) << text;
    EXPECT_NE(text.find("42"), std::string::npos) << text;
    AfxAssertFailedLine(NULL, 7);
    EXPECT_NE(capture.Next().find("7"), std::string::npos);
}

TEST(Diagnostics, TraceFormatsWideTextAndCutsLongOutput)
{
    CDebugOutputCapture capture;
    ASSERT_TRUE(capture.Ready());
    AfxTrace(L"%s=%d\n", L"value", 12);
    EXPECT_EQ(capture.Next(), "value=12\n");
    std::wstring longText(3000, L'x');
    AfxTrace(L"%s", longText.c_str());
    std::string text = capture.Next();
    EXPECT_GT(text.size(), 100u);
    EXPECT_LT(text.size(), 3000u) << "the trace buffer is a fixed size";
    EXPECT_EQ(text.find_first_not_of('x'), std::string::npos);
}

/////////////////////////////////////////////////////////////////////////////
// Per-thread state

// Counts live objects, to see thread-local objects go when their threads end.
LONG g_nLiveCounters = 0;

class CLiveCounter : public CNoTrackObject
{
public:
    CLiveCounter() { ::InterlockedIncrement(&g_nLiveCounters); }
    ~CLiveCounter() override { ::InterlockedDecrement(&g_nLiveCounters); }
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

DWORD WINAPI ShortThread(LPVOID)
{
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    pState->m_lastSentMsg.message = WM_USER;
    AfxGetModuleThreadState()->m_nTempMapLock = 1;
    g_threadCounter->m_nValue = 1;
    WCHAR szBuf[32];
    return AfxLoadString(AFX_IDS_IDLEMESSAGE, szBuf, 32) == 5 ? 0 : 1;
}

// Runs nThreads threads, at most 16 at a time; the number that failed.
int RunShortThreads(int nThreads)
{
    int nFailed = 0;
    for (int nDone = 0; nDone < nThreads;) {
        HANDLE hThreads[16];
        int nBatch = 0;
        for (; nBatch < 16 && nDone + nBatch < nThreads; ++nBatch) {
            hThreads[nBatch] = ::CreateThread(NULL, 0, &ShortThread, NULL, 0, NULL);
            if (hThreads[nBatch] == NULL)
                return nThreads;
        }
        ::WaitForMultipleObjects((DWORD)nBatch, hThreads, TRUE, INFINITE);
        for (int i = 0; i < nBatch; ++i) {
            DWORD dwExit = 1;
            ::GetExitCodeThread(hThreads[i], &dwExit);
            nFailed += dwExit != 0;
            ::CloseHandle(hThreads[i]);
        }
        nDone += nBatch;
    }
    return nFailed;
}

TEST(ThreadState, ShortThreadsLeaveNothingBehind)
{
    g_threadCounter.GetData();      // the main thread's counter stays
    ASSERT_EQ(RunShortThreads(32), 0);   // warms up the allocator and Wine
    LONG nLiveBefore = g_nLiveCounters;
    DWORD nHandlesBefore = wivotest::ProcessHandleCount();
    SIZE_T nBytesBefore = BusyHeapBytes();

    ASSERT_EQ(RunShortThreads(200), 0);

    EXPECT_EQ(g_nLiveCounters, nLiveBefore) << "thread-local objects outlived their threads";
    EXPECT_LE(wivotest::ProcessHandleCount(), nHandlesBefore + 2);
    SIZE_T nBytesAfter = BusyHeapBytes();
    // A thread's framework records take several hundred bytes; 200 threads that
    // kept them would add far more than this.
    EXPECT_LT(nBytesAfter, nBytesBefore + 16 * 1024)
        << "heap grew from " << nBytesBefore << " to " << nBytesAfter;
}

struct ThreadCheck
{
    HANDLE hReady;
    HANDLE hGo;
    AFX_MODULE_STATE* pModuleState;
    UINT nMessage;
    bool bOwnState;
    _AFX_THREAD_STATE* pThreadState;
    AFX_MODULE_THREAD_STATE* pModuleThreadState;
};

DWORD WINAPI CheckingThread(LPVOID pv)
{
    ThreadCheck* pCheck = static_cast<ThreadCheck*>(pv);
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    pCheck->pThreadState = pState;
    pCheck->bOwnState = pState->m_pModuleState == NULL && pState->m_lastSentMsg.message == 0;
    pState->m_lastSentMsg.message = pCheck->nMessage;
    AfxSetModuleState(pCheck->pModuleState);
    pCheck->pModuleThreadState = AfxGetModuleThreadState();
    ::SetEvent(pCheck->hReady);
    // All threads have written their values before any checks them.
    ::WaitForSingleObject(pCheck->hGo, INFINITE);
    pCheck->bOwnState = pCheck->bOwnState && AfxGetThreadState() == pState &&
                        pState->m_lastSentMsg.message == pCheck->nMessage &&
                        AfxGetModuleState() == pCheck->pModuleState &&
                        AfxGetResourceHandle() == pCheck->pModuleState->m_hCurrentResourceHandle;
    return 0;
}

TEST(ThreadState, EachThreadSeesItsOwnState)
{
    const int kThreads = 6;
    HANDLE hGo = ::CreateEventW(NULL, TRUE, FALSE, NULL);
    std::vector<AFX_MODULE_STATE*> states;
    ThreadCheck checks[kThreads];
    HANDLE hThreads[kThreads];
    for (int i = 0; i < kThreads; ++i) {
        states.push_back(new AFX_MODULE_STATE(TRUE));
        states.back()->m_hCurrentResourceHandle = (HINSTANCE)(INT_PTR)(0x10000 * (i + 1));
        checks[i] = { ::CreateEventW(NULL, TRUE, FALSE, NULL), hGo, states.back(),
                      (UINT)(WM_APP + i), false, NULL, NULL };
        hThreads[i] = ::CreateThread(NULL, 0, &CheckingThread, &checks[i], 0, NULL);
        ASSERT_NE(hThreads[i], nullptr);
        ::WaitForSingleObject(checks[i].hReady, INFINITE);
    }
    ::SetEvent(hGo);
    ::WaitForMultipleObjects(kThreads, hThreads, TRUE, INFINITE);
    for (int i = 0; i < kThreads; ++i) {
        EXPECT_TRUE(checks[i].bOwnState) << "thread " << i;
        EXPECT_NE(checks[i].pThreadState, AfxGetThreadState()) << "thread " << i;
        EXPECT_NE(checks[i].pModuleThreadState, nullptr) << "thread " << i;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(checks[i].pModuleThreadState, checks[j].pModuleThreadState);
        ::CloseHandle(hThreads[i]);
        ::CloseHandle(checks[i].hReady);
    }
    ::CloseHandle(hGo);
    // The main thread was not switched by the others.
    EXPECT_EQ(AfxGetModuleState(), AfxGetAppModuleState());
    for (AFX_MODULE_STATE* p : states)
        delete p;
}

DWORD WINAPI HoldingThread(LPVOID pv)
{
    void** pArgs = static_cast<void**>(pv);
    static_cast<CThreadLocal<CLiveCounter>*>(pArgs[0])->GetData();
    ::SetEvent((HANDLE)pArgs[1]);
    ::WaitForSingleObject((HANDLE)pArgs[2], INFINITE);
    return 0;
}

TEST(ThreadState, DestroyingAThreadLocalFreesEveryThreadsObject)
{
    LONG nBefore = g_nLiveCounters;
    CThreadLocal<CLiveCounter>* pLocal = new CThreadLocal<CLiveCounter>;
    pLocal->GetData();
    HANDLE hReady = ::CreateEventW(NULL, TRUE, FALSE, NULL);
    HANDLE hExit = ::CreateEventW(NULL, TRUE, FALSE, NULL);
    void* args[3] = { pLocal, hReady, hExit };
    HANDLE hThread = ::CreateThread(NULL, 0, &HoldingThread, args, 0, NULL);
    ASSERT_NE(hThread, nullptr);
    ::WaitForSingleObject(hReady, INFINITE);
    EXPECT_EQ(g_nLiveCounters, nBefore + 2);

    delete pLocal;
    EXPECT_EQ(g_nLiveCounters, nBefore) << "objects of a freed slot stayed alive";

    // The holding thread ends after its object went: nothing is freed twice.
    ::SetEvent(hExit);
    ::WaitForSingleObject(hThread, INFINITE);
    EXPECT_EQ(g_nLiveCounters, nBefore);
    ::CloseHandle(hThread);
    ::CloseHandle(hReady);
    ::CloseHandle(hExit);
}

TEST(ThreadState, ModuleThreadStateBelongsToTheModuleState)
{
    AFX_MODULE_STATE other(TRUE);
    AFX_MODULE_THREAD_STATE* pAppThread = AfxGetModuleThreadState();
    ASSERT_NE(pAppThread, nullptr);
    EXPECT_EQ(pAppThread->m_pCurrentWinThread, nullptr);
    EXPECT_EQ(pAppThread->m_pmapHWND, nullptr);
    {
        AFX_MANAGE_STATE(&other);
        AFX_MODULE_THREAD_STATE* pOtherThread = AfxGetModuleThreadState();
        EXPECT_NE(pOtherThread, pAppThread);
        EXPECT_EQ(pOtherThread, other.m_thread.GetData());
    }
    EXPECT_EQ(AfxGetModuleThreadState(), pAppThread);
}

} // namespace
