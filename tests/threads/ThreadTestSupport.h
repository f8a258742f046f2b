// Helpers shared by the thread tests: a bounded run on a worker, and a window owned by the
// creating thread that records the messages its procedure receives.
#pragma once

#include <afx.h>

#include <gtest/gtest.h>

#include <vector>

#include "GuiTestSupport.h"
#include "ThinThread.h"

namespace threadtest {

const DWORD kBound = 10000; // upper limit for any wait that should end much sooner
const UINT WM_TEST_SENT = WM_APP + 1;
const UINT WM_TEST_POSTED = WM_APP + 2;

// A body that calls a function object kept by reference.
template <class F>
struct CallRunnable : IRunnable
{
    explicit CallRunnable(F& fn) : f(fn) {}
    void Run() override { f(); }
    F& f;
};

// Runs f on a thread of its own; true once that thread has ended within the bound.
template <class F>
bool RunOnWorker(F f)
{
    CallRunnable<F> body(f);
    CThinThread worker(&body);
    worker.Start();
    worker.Join(kBound);
    return !worker.IsActive();
}

// A thread whose own Run polls the exit flag, giving up after the bound.
template <class BASE = CThinThread>
class PollingThread : public BASE
{
public:
    void Run() override
    {
        m_bRunning = TRUE;
        DWORD start = ::GetTickCount();
        while (!this->ShouldExit() && ::GetTickCount() - start < kBound)
            CThinThread::Sleep(1);
        m_sawExit = this->ShouldExit();
    }
    // Until Run has begun, a derived object that is being destroyed would have its
    // base class's Run called instead; tests that destroy it running wait for this.
    BOOL WaitRunning() const
    {
        DWORD start = ::GetTickCount();
        while (!m_bRunning && ::GetTickCount() - start < kBound)
            ::Sleep(1);
        return m_bRunning;
    }
    volatile BOOL m_bRunning = FALSE, m_sawExit = FALSE;
};

// Destroying a running BASE object asks its Run to finish and waits for the end.
template <class BASE>
void CheckDestroyingStopsTheThread()
{
    // Declared before the thread object, so it outlives the stop in its destructor.
    struct Watch : IThreadTerminationListener
    {
        PollingThread<BASE>* p = NULL;
        int calls = 0;
        BOOL sawExit = FALSE;
        void OnThreadTerminate() override { calls++, sawExit = p->m_sawExit; }
    } watch;
    DWORD start = ::GetTickCount();
    {
        PollingThread<BASE> thread;
        watch.p = &thread;
        thread.AddThreadTerminationListener(&watch);
        thread.Start();
        ASSERT_TRUE(thread.WaitRunning());
    }
    EXPECT_EQ(1, watch.calls) << "the destructor did not wait for the thread's end";
    EXPECT_TRUE(watch.sawExit) << "Run ended without being asked to";
    EXPECT_LT(::GetTickCount() - start, 5000u);
}

// A window of this thread whose procedure records the messages it receives.
class RecordingWindow
{
public:
    RecordingWindow()
        : m_hWnd(::CreateWindowExW(0, wivotest::MsgRecorder::RecordingClass(), L"thread test",
                                   WS_OVERLAPPED, 0, 0, 50, 50, NULL, NULL, NULL, NULL))
    {
        m_recorder.Watch(m_hWnd);
    }
    ~RecordingWindow()
    {
        if (m_hWnd != NULL)
            ::DestroyWindow(m_hWnd);
    }
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND Handle() const { return m_hWnd; }
    // Messages of the test range the procedure has seen, in order.
    std::vector<UINT> Received() const
    {
        std::vector<UINT> messages;
        for (const wivotest::MsgEntry& e : m_recorder.Entries()) {
            if (e.message == WM_TEST_SENT || e.message == WM_TEST_POSTED)
                messages.push_back(e.message);
        }
        return messages;
    }

    // Removes the posted test messages still queued for the window; returns their number.
    int TakePosted()
    {
        int n = 0;
        MSG msg;
        while (::PeekMessageW(&msg, m_hWnd, WM_TEST_POSTED, WM_TEST_POSTED, PM_REMOVE))
            n++;
        return n;
    }

private:
    wivotest::MsgRecorder m_recorder;
    HWND m_hWnd;
};

// A worker posts and then sends to a window of this thread, then sets an event; wait(hEvent,
// worker), on this thread, must deliver the sent message, leave the posted one queued and
// return true once the event is set.
template <class WAIT>
void CheckSentDeliveredPostedKept(WAIT wait)
{
    RecordingWindow window;
    ASSERT_NE(nullptr, window.Handle()) << "CreateWindowExW error " << ::GetLastError();
    HANDLE hDone = ::CreateEventW(NULL, TRUE, FALSE, NULL);
    auto send = [&]() {
        ::PostMessageW(window.Handle(), WM_TEST_POSTED, 0, 0);
        ::SendMessageW(window.Handle(), WM_TEST_SENT, 0, 0);
        ::SetEvent(hDone);
    };
    CallRunnable<decltype(send)> body(send);
    CThinThread worker(&body);
    worker.Start();
    const bool bSignalled = wait(hDone, worker);
    if (!bSignalled)
        wivotest::PumpFor(2000); // free the sender so that the test can end
    EXPECT_TRUE(bSignalled) << "the wait did not deliver the sent message";
    worker.Join(kBound);
    ASSERT_FALSE(worker.IsActive());
    EXPECT_EQ(std::vector<UINT>{WM_TEST_SENT}, window.Received());
    EXPECT_EQ(1, window.TakePosted()) << "the posted message was not left queued";
    ::CloseHandle(hDone);
}

} // namespace threadtest
