// Helpers shared by the thread tests: a bounded run on a worker, and a window owned by the
// creating thread that records the messages its procedure receives.
#pragma once

#include <afx.h>

#include <gtest/gtest.h>

#include <vector>

#include "ThinThread.h"

namespace threadtest {

const DWORD kBound = 10000; // upper limit for any wait that should end much sooner
const UINT WM_TEST_SENT = WM_APP + 1;
const UINT WM_TEST_POSTED = WM_APP + 2;
// What the window procedure answers to WM_TEST_SENT: the wParam plus this.
const LRESULT SENT_REPLY_OFFSET = 1000;

// Runs f on a thread of its own; true once that thread has ended within the bound.
template <class F>
bool RunOnWorker(F f)
{
    struct Body : IRunnable
    {
        F& f;
        explicit Body(F& fn) : f(fn) {}
        void Run() override { f(); }
    } body(f);
    CThinThread worker(&body);
    worker.Start();
    worker.Join(kBound);
    return !worker.IsActive();
}

class RecordingWindow
{
public:
    RecordingWindow()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &RecordingWindow::WndProc;
        wc.hInstance = ::GetModuleHandleW(NULL);
        wc.lpszClassName = L"WivoThreadTestWindow";
        ::RegisterClassW(&wc); // a second registration fails harmlessly
        m_hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"thread test", WS_OVERLAPPED, 0, 0, 50,
                                   50, NULL, NULL, wc.hInstance, NULL);
        if (m_hWnd != NULL)
            ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
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
    const std::vector<UINT>& Received() const { return m_received; }

    // Removes the posted test messages still queued for the window; returns their number.
    int TakePosted()
    {
        int n = 0;
        MSG msg;
        while (::PeekMessageW(&msg, m_hWnd, WM_TEST_POSTED, WM_TEST_POSTED, PM_REMOVE))
            n++;
        return n;
    }

    // Delivers everything pending (sent and posted) for up to dwMillis; used to
    // free a thread that a faulty wait left blocked in SendMessage.
    void Pump(DWORD dwMillis)
    {
        DWORD start = ::GetTickCount();
        do {
            MSG msg;
            while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
                ::DispatchMessageW(&msg);
            ::Sleep(10);
        } while (::GetTickCount() - start < dwMillis);
    }

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        RecordingWindow* pThis =
            reinterpret_cast<RecordingWindow*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (pThis != NULL && (msg == WM_TEST_SENT || msg == WM_TEST_POSTED)) {
            pThis->m_received.push_back(msg);
            return static_cast<LRESULT>(wParam) + SENT_REPLY_OFFSET;
        }
        return ::DefWindowProcW(hWnd, msg, wParam, lParam);
    }

    HWND m_hWnd;
    std::vector<UINT> m_received;
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
    volatile LRESULT reply = 0;
    auto send = [&]() {
        ::PostMessageW(window.Handle(), WM_TEST_POSTED, 0, 0);
        reply = ::SendMessageW(window.Handle(), WM_TEST_SENT, 3, 0);
        ::SetEvent(hDone);
    };
    struct Body : IRunnable
    {
        decltype(send)& f;
        explicit Body(decltype(send)& fn) : f(fn) {}
        void Run() override { f(); }
    } body(send);
    CThinThread worker(&body);
    worker.Start();
    const bool bSignalled = wait(hDone, worker);
    if (!bSignalled)
        window.Pump(2000); // free the sender so that the test can end
    EXPECT_TRUE(bSignalled) << "the wait did not deliver the sent message";
    worker.Join(kBound);
    ASSERT_FALSE(worker.IsActive());
    EXPECT_EQ(3 + SENT_REPLY_OFFSET, reply);
    EXPECT_EQ(std::vector<UINT>{WM_TEST_SENT}, window.Received());
    EXPECT_EQ(1, window.TakePosted()) << "the posted message was not left queued";
    ::CloseHandle(hDone);
}

} // namespace threadtest
