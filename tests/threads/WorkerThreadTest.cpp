// Tests of CThread: the worker sees its starter's window objects and main
// window, and gets its own state back when Run is done.
#include "AfxTestSupport.h"
#include "Thread.h"
#include "ThreadTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using wivotest::Join;

namespace {

// What Run found, for the test thread to check afterwards.
class CProbe : public CThread
{
public:
    HWND m_hWndLooked = NULL;
    CWnd* m_pFound = nullptr;
    CWnd* m_pMainWnd = nullptr;
    CHandleMap* m_pMapInRun = nullptr;
    HANDLE m_hEventRun = ::CreateEventW(NULL, TRUE, FALSE, NULL);
    HANDLE m_hEventGo = ::CreateEventW(NULL, TRUE, TRUE, NULL);
    ~CProbe() override
    {
        ::SetEvent(m_hEventGo);
        Stop();     // before the events go: Run waits on them
        ::CloseHandle(m_hEventRun);
        ::CloseHandle(m_hEventGo);
    }

    void Run() override
    {
        m_pFound = CWnd::FromHandlePermanent(m_hWndLooked);
        m_pMainWnd = AfxGetMainWnd();
        m_pMapInRun = AfxGetModuleThreadState()->m_pmapHWND;
        CWnd::FromHandle(::GetDesktopWindow());  // a temporary of the worker's own
        ::SetEvent(m_hEventRun);
        ::WaitForSingleObject(m_hEventGo, INFINITE);
    }
};

// Makes the test thread look like one the framework started, with a main window.
class WorkerThreadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hWnd = ::CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPED, 0, 0, 10, 10, NULL,
                                   NULL, NULL, NULL);
        m_pWnd.reset(new CWnd);
        m_pWnd->Attach(m_hWnd);
        m_pThread.reset(new CWinThread);
        m_pThread->m_pMainWnd = m_pWnd.get();
        AfxGetModuleThreadState()->m_pCurrentWinThread = m_pThread.get();
    }
    void TearDown() override
    {
        AfxGetModuleThreadState()->m_pCurrentWinThread = NULL;
        m_pThread.reset();
        m_pWnd->Detach();
        ::DestroyWindow(m_hWnd);
    }
    HWND m_hWnd = NULL;
    // By pointer: framework objects may throw when destroyed.
    std::unique_ptr<CWnd> m_pWnd;
    std::unique_ptr<CWinThread> m_pThread;
};

// Each run, the first and one after the end, sees the starter's windows and main window
// through copies of its maps; a start while it runs does nothing.
TEST_F(WorkerThreadTest, EveryRunSeesTheStartersWindowsAndMainWindow)
{
    CHandleMap* pStarterMap = afxMapHWND(TRUE);
    INT_PTR nTempBefore = pStarterMap->m_temporaryMap.GetCount();
    CProbe probe;
    probe.m_hWndLooked = m_hWnd;
    for (int run = 1; run <= 2; run++) {
        SCOPED_TRACE(run);
        probe.m_pFound = probe.m_pMainWnd = nullptr;
        ::ResetEvent(probe.m_hEventRun);
        ::ResetEvent(probe.m_hEventGo);
        probe.Start();
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(probe.m_hEventRun, 10000));
        ASSERT_NE(nullptr, (void*)probe);
        const DWORD dwID = probe.GetThreadID();
        probe.Start();
        EXPECT_EQ(dwID, probe.GetThreadID());
        EXPECT_EQ(&probe, CThinThread::GetThreadByID(dwID));
        ::SetEvent(probe.m_hEventGo);
        probe.Join();

        // Registered object, handle, active: all gone once it has ended.
        EXPECT_EQ("0|0|0", Join({CThinThread::GetThreadByID(dwID), (void*)probe, probe.IsActive()}));
        EXPECT_EQ(m_pWnd.get(), probe.m_pFound);
        EXPECT_EQ(m_pWnd.get(), probe.m_pMainWnd);
        EXPECT_NE(pStarterMap, probe.m_pMapInRun) << "the worker works on a copy";
        EXPECT_EQ(nTempBefore, pStarterMap->m_temporaryMap.GetCount())
            << "the worker's temporary objects are its own";
    }
}

TEST_F(WorkerThreadTest, DestroyingARunningWorkerStopsIt)
{
    threadtest::CheckDestroyingStopsTheThread<CThread>();
}

TEST_F(WorkerThreadTest, TerminatingAWorkerLeavesTheCallerAlone)
{
    CProbe probe;
    ::ResetEvent(probe.m_hEventGo);
    probe.Start();
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(probe.m_hEventRun, 10000));
    CHandleMap* pMine = AfxGetModuleThreadState()->m_pmapHWND;
    probe.Terminate();
    EXPECT_FALSE(probe.IsActive());
    EXPECT_EQ(pMine, AfxGetModuleThreadState()->m_pmapHWND);
    EXPECT_EQ(m_pWnd.get(), AfxGetMainWnd());
    EXPECT_EQ(m_pWnd.get(), CWnd::FromHandlePermanent(m_hWnd));
}

} // namespace
