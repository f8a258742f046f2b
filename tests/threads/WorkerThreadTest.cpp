// Tests of CThread: the worker sees its starter's window objects and main
// window, and gets its own state back when Run is done.
#include "Thread.h"

#include <gtest/gtest.h>

#include <memory>

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

TEST_F(WorkerThreadTest, RunSeesTheStartersWindowsAndMainWindow)
{
    CHandleMap* pStarterMap = afxMapHWND(TRUE);
    INT_PTR nTempBefore = pStarterMap->m_temporaryMap.GetCount();
    CProbe probe;
    probe.m_hWndLooked = m_hWnd;
    probe.Start();
    ASSERT_NE(nullptr, (void*)probe);
    probe.Join();

    EXPECT_EQ(m_pWnd.get(), probe.m_pFound);
    EXPECT_EQ(m_pWnd.get(), probe.m_pMainWnd);
    EXPECT_NE(pStarterMap, probe.m_pMapInRun) << "the worker works on a copy";
    EXPECT_EQ(nTempBefore, pStarterMap->m_temporaryMap.GetCount())
        << "the worker's temporary objects are its own";
    EXPECT_EQ(nullptr, (void*)probe);
    EXPECT_FALSE(probe.IsActive());
}

TEST_F(WorkerThreadTest, AnEndedWorkerStartsAgainAndARunningOneDoesNot)
{
    CProbe probe;
    probe.m_hWndLooked = m_hWnd;
    ::ResetEvent(probe.m_hEventGo);
    probe.Start();
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(probe.m_hEventRun, 10000));
    DWORD dwFirstID = probe.GetThreadID();
    probe.Start();      // running: nothing happens
    EXPECT_EQ(dwFirstID, probe.GetThreadID());
    EXPECT_EQ(&probe, CThinThread::GetThreadByID(dwFirstID));
    ::SetEvent(probe.m_hEventGo);
    probe.Join();
    EXPECT_EQ(nullptr, CThinThread::GetThreadByID(dwFirstID));

    ::ResetEvent(probe.m_hEventRun);
    probe.Start();
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(probe.m_hEventRun, 10000));
    probe.Join();
    EXPECT_EQ(m_pWnd.get(), probe.m_pFound) << "the second run sees the starter's windows too";
}

TEST_F(WorkerThreadTest, DestroyingARunningWorkerStopsIt)
{
    // Run polls the exit flag; the destructor sets it and waits. The object is
    // destroyed only once Run has begun: before that, the derived Run is gone.
    struct CPolling : CThread
    {
        bool* m_pDone;
        HANDLE m_hStarted = ::CreateEventW(NULL, TRUE, FALSE, NULL);
        explicit CPolling(bool* pDone) : m_pDone(pDone) {}
        ~CPolling() override { ::CloseHandle(m_hStarted); }
        void Run() override
        {
            ::SetEvent(m_hStarted);
            while (!ShouldExit())
                ::Sleep(5);
            *m_pDone = true;
        }
    };
    bool bDone = false;
    {
        CPolling worker(&bDone);
        worker.Start();
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(worker.m_hStarted, 10000));
    }
    EXPECT_TRUE(bDone);
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
