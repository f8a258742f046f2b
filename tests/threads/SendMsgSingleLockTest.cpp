// Tests of WivoSendMsgWaitForSingleObject and CSendMsgSingleLock.
#include <gtest/gtest.h>

#include "SendMsgSingleLock.h"
#include "ThinThread.h"
#include "ThreadTestSupport.h"

#include <afxmt.h>

namespace {

const DWORD kBound = 10000;

// Posts and then sends to a window of the waiting thread, then signals an event.
struct SendThenSignal : IRunnable
{
    HWND hWnd = NULL;
    HANDLE hDone = NULL;
    volatile LRESULT reply = 0;
    void Run() override
    {
        ::PostMessageW(hWnd, threadtest::WM_TEST_POSTED, 0, 0);
        reply = ::SendMessageW(hWnd, threadtest::WM_TEST_SENT, 3, 0);
        ::SetEvent(hDone);
    }
};

// Leaves a mutex owned by a thread that has ended: abandoned.
HANDLE MakeAbandonedMutex()
{
    HANDLE hMutex = ::CreateMutexW(NULL, FALSE, NULL);
    struct Owner : IRunnable
    {
        HANDLE h;
        void Run() override { ::WaitForSingleObject(h, 0); }
    } owner;
    owner.h = hMutex;
    CThinThread thread(&owner);
    thread.Start();
    thread.Join(kBound);
    return hMutex;
}

// Runs the wait or lock under test on the main thread while a worker sends and posts.
template<class WAIT>
void CheckSentDeliveredPostedKept(WAIT wait)
{
    threadtest::RecordingWindow window;
    ASSERT_NE(nullptr, window.Handle()) << "CreateWindowExW error " << ::GetLastError();
    HANDLE hDone = ::CreateEventW(NULL, TRUE, FALSE, NULL);
    SendThenSignal body;
    body.hWnd = window.Handle();
    body.hDone = hDone;
    CThinThread thread(&body);
    thread.Start();

    bool signalled = wait(hDone);
    if (!signalled)
        window.Pump(2000); // free the sender so that the test can end
    EXPECT_TRUE(signalled) << "the wait did not deliver the sent message";
    thread.Join(kBound);
    ASSERT_FALSE(thread.IsActive());
    EXPECT_EQ(3 + threadtest::SENT_REPLY_OFFSET, body.reply);
    ASSERT_EQ(1u, window.Received().size());
    EXPECT_EQ(threadtest::WM_TEST_SENT, window.Received()[0]);
    EXPECT_EQ(1, window.TakePosted()) << "the posted message was not left queued";
    ::CloseHandle(hDone);
}

} // namespace

TEST(SendMsgWait, ResultsOfTheWait)
{
    HANDLE hUnset = ::CreateEventW(NULL, TRUE, FALSE, NULL);
    HANDLE hSet = ::CreateEventW(NULL, TRUE, TRUE, NULL);
    HANDLE hAbandoned = MakeAbandonedMutex();
    struct Case
    {
        const char* name;
        HANDLE h;
        DWORD timeout;
        DWORD expected;
    };
    const Case cases[] = {
        {"unsignalled, 0 ms", hUnset, 0, WAIT_TIMEOUT},
        {"unsignalled, 50 ms", hUnset, 50, WAIT_TIMEOUT},
        {"signalled", hSet, INFINITE, WAIT_OBJECT_0},
        {"abandoned mutex", hAbandoned, kBound, WAIT_ABANDONED},
        {"null handle", NULL, kBound, WAIT_FAILED},
    };
    for (const Case& c : cases) {
        DWORD start = ::GetTickCount();
        DWORD result = WivoSendMsgWaitForSingleObject(c.h, c.timeout);
        DWORD elapsed = ::GetTickCount() - start;
        EXPECT_EQ(c.expected, result) << c.name;
        EXPECT_LT(elapsed, 2000u) << c.name;
    }
    // The abandoned mutex is now ours.
    EXPECT_TRUE(::ReleaseMutex(hAbandoned));
    ::CloseHandle(hAbandoned);
    ::CloseHandle(hSet);
    ::CloseHandle(hUnset);
}

TEST(SendMsgWait, DeliversSentMessagesAndKeepsPostedOnes)
{
    CheckSentDeliveredPostedKept([](HANDLE h) {
        return WivoSendMsgWaitForSingleObject(h, kBound) == WAIT_OBJECT_0;
    });
}

TEST(SendMsgWait, TimeoutZeroDeliversAWaitingSentMessage)
{
    threadtest::RecordingWindow window;
    ASSERT_NE(nullptr, window.Handle());
    HANDLE hUnset = ::CreateEventW(NULL, TRUE, FALSE, NULL);
    struct Sender : IRunnable
    {
        HWND hWnd;
        void Run() override { ::SendMessageW(hWnd, threadtest::WM_TEST_SENT, 0, 0); }
    } sender;
    sender.hWnd = window.Handle();
    CThinThread thread(&sender);
    thread.Start();
    // Polls with 0 ms until the sender's message has arrived and been delivered;
    // every poll times out at once. (Asking the queue status first would mark the
    // message as seen, and the wait wakes only for new ones.)
    DWORD start = ::GetTickCount();
    int polls = 0;
    while (window.Received().empty() && ::GetTickCount() - start < kBound) {
        DWORD before = ::GetTickCount();
        DWORD result = WivoSendMsgWaitForSingleObject(hUnset, 0);
        polls++;
        ASSERT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), result) << "poll " << polls;
        ASSERT_LT(::GetTickCount() - before, 1000u) << "poll " << polls;
        if (window.Received().empty())
            ::Sleep(10);
    }
    EXPECT_EQ(1u, window.Received().size()) << polls << " polls";
    thread.Join(kBound);
    bool ended = !thread.IsActive();
    if (!ended)
        window.Pump(2000);
    EXPECT_TRUE(ended);
    ::CloseHandle(hUnset);
}

TEST(SendMsgSingleLock, LockDeliversSentMessagesAndKeepsPostedOnes)
{
    CheckSentDeliveredPostedKept([](HANDLE h) {
        CEvent event(FALSE, TRUE);
        // Wrap the worker's event: signal ours when it is set.
        struct Relay : IRunnable
        {
            HANDLE from, to;
            void Run() override
            {
                if (::WaitForSingleObject(from, kBound) == WAIT_OBJECT_0)
                    ::SetEvent(to);
            }
        } relay;
        relay.from = h;
        relay.to = event.m_hObject;
        CThinThread relayThread(&relay);
        relayThread.Start();
        CSendMsgSingleLock lock(&event);
        BOOL acquired = lock.Lock(kBound);
        EXPECT_EQ(acquired, lock.IsLocked());
        relayThread.Join(kBound);
        return acquired != FALSE;
    });
}

TEST(SendMsgSingleLock, AcquiresAndReleases)
{
    struct Case
    {
        const char* name;
        int kind;           // 0 signalled event, 1 unsignalled event, 2 free mutex, 3 critical section
        BOOL expected;
    };
    const Case cases[] = {
        {"signalled event", 0, TRUE},
        {"unsignalled event", 1, FALSE},
        {"free mutex", 2, TRUE},
        {"critical section", 3, FALSE},
    };
    for (const Case& c : cases) {
        CEvent set(TRUE, TRUE), unset(FALSE, TRUE);
        CMutex mutex;
        CCriticalSection section;
        CSyncObject* objects[] = {&set, &unset, &mutex, &section};
        DWORD start = ::GetTickCount();
        {
            CSendMsgSingleLock lock(objects[c.kind], FALSE);
            EXPECT_FALSE(lock.IsLocked()) << c.name;
            EXPECT_EQ(c.expected, lock.Lock(100)) << c.name;
            EXPECT_EQ(c.expected, lock.IsLocked()) << c.name;
            EXPECT_TRUE(lock.Unlock()) << c.name;
            EXPECT_FALSE(lock.IsLocked()) << c.name;
        }
        {
            CSendMsgSingleLock lock(objects[c.kind], c.kind != 1 && c.kind != 3);
            EXPECT_EQ(c.expected, lock.IsLocked()) << c.name << " locked at construction";
        }
        EXPECT_LT(::GetTickCount() - start, 3000u) << c.name;
    }
}

TEST(SendMsgSingleLock, DestructionReleasesTheMutex)
{
    CMutex mutex;
    {
        CSendMsgSingleLock lock(&mutex, TRUE);
        ASSERT_TRUE(lock.IsLocked());
    }
    // Another thread can take it now.
    struct Taker : IRunnable
    {
        HANDLE h;
        DWORD result = 0;
        void Run() override
        {
            result = ::WaitForSingleObject(h, 0);
            if (result == WAIT_OBJECT_0)
                ::ReleaseMutex(h);
        }
    } taker;
    taker.h = mutex.m_hObject;
    CThinThread thread(&taker);
    thread.Start();
    thread.Join(kBound);
    EXPECT_EQ(WAIT_OBJECT_0, taker.result);
}

TEST(SendMsgSingleLock, AbandonedMutexIsNotAcquired)
{
    HANDLE hAbandoned = MakeAbandonedMutex();
    CMutex mutex;
    // Point the framework object at the abandoned mutex for the duration.
    HANDLE hOwn = mutex.m_hObject;
    mutex.m_hObject = hAbandoned;
    {
        CSendMsgSingleLock lock(&mutex);
        EXPECT_FALSE(lock.Lock(kBound));
        EXPECT_FALSE(lock.IsLocked());
    }
    mutex.m_hObject = hOwn;
    // The wait did take ownership; give it back.
    EXPECT_TRUE(::ReleaseMutex(hAbandoned));
    ::CloseHandle(hAbandoned);
}

TEST(SendMsgSingleLock, AssignmentCopiesTheState)
{
    CEvent set(TRUE, TRUE);
    CSendMsgSingleLock acquired(&set, TRUE);
    ASSERT_TRUE(acquired.IsLocked());
    CSendMsgSingleLock other(NULL);
    EXPECT_FALSE(other.IsLocked());
    other = acquired;
    EXPECT_TRUE(other.IsLocked());
    EXPECT_TRUE(other.Unlock());
    EXPECT_FALSE(other.IsLocked());
    EXPECT_TRUE(acquired.IsLocked()) << "the source keeps its own state";
}
