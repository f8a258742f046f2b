// Tests of WivoSendMsgWaitForSingleObject and CSendMsgSingleLock.
#include <gtest/gtest.h>

#include "AfxTestSupport.h"
#include "SendMsgSingleLock.h"
#include "ThreadTestSupport.h"

#include <afxmt.h>

using threadtest::kBound;
using wivotest::Join;

namespace {

// Leaves a mutex owned by a thread that has ended: abandoned.
HANDLE MakeAbandonedMutex()
{
    HANDLE hMutex = ::CreateMutexW(NULL, FALSE, NULL);
    threadtest::RunOnWorker([hMutex]() { ::WaitForSingleObject(hMutex, 0); });
    return hMutex;
}

} // namespace

TEST(SendMsgWait, ResultsOfTheWait)
{
    HANDLE hUnset = ::CreateEventW(NULL, TRUE, FALSE, NULL);
    HANDLE hSet = ::CreateEventW(NULL, TRUE, TRUE, NULL);
    HANDLE hAbandoned = MakeAbandonedMutex();
    const struct
    {
        const char* name;
        HANDLE h;
        DWORD timeout, expected;
    } cases[] = {
        {"unsignalled, 0 ms", hUnset, 0, WAIT_TIMEOUT},
        {"unsignalled, 50 ms", hUnset, 50, WAIT_TIMEOUT},
        {"signalled", hSet, INFINITE, WAIT_OBJECT_0},
        {"abandoned mutex", hAbandoned, kBound, WAIT_ABANDONED},
        {"null handle", NULL, kBound, WAIT_FAILED},
    };
    for (const auto& c : cases) {
        DWORD start = ::GetTickCount();
        EXPECT_EQ(c.expected, WivoSendMsgWaitForSingleObject(c.h, c.timeout)) << c.name;
        EXPECT_LT(::GetTickCount() - start, 2000u) << c.name;
    }
    // The abandoned mutex is now ours.
    EXPECT_TRUE(::ReleaseMutex(hAbandoned));
    for (HANDLE h : {hAbandoned, hSet, hUnset})
        ::CloseHandle(h);
}

TEST(SendMsgWait, DeliversSentMessagesAndKeepsPostedOnes)
{
    threadtest::CheckSentDeliveredPostedKept([](HANDLE h, CThinThread&) {
        return WivoSendMsgWaitForSingleObject(h, kBound) == WAIT_OBJECT_0;
    });
}

TEST(SendMsgWait, TimeoutZeroDeliversAWaitingSentMessage)
{
    threadtest::RecordingWindow window;
    ASSERT_NE(nullptr, window.Handle());
    HANDLE hUnset = ::CreateEventW(NULL, TRUE, FALSE, NULL);
    auto send = [&] { ::SendMessageW(window.Handle(), threadtest::WM_TEST_SENT, 0, 0); };
    threadtest::CallRunnable<decltype(send)> sender(send);
    CThinThread thread(&sender);
    thread.Start();
    // Polls with 0 ms until the sender's message has arrived and been delivered;
    // every poll times out at once. (Asking the queue status first would mark the
    // message as seen, and the wait wakes only for new ones.)
    DWORD start = ::GetTickCount();
    int polls = 0;
    while (window.Received().empty() && ::GetTickCount() - start < kBound) {
        DWORD before = ::GetTickCount();
        const DWORD result = WivoSendMsgWaitForSingleObject(hUnset, 0);
        polls++;
        ASSERT_EQ((DWORD)WAIT_TIMEOUT, result) << "poll " << polls;
        ASSERT_LT(::GetTickCount() - before, 1000u) << "poll " << polls;
        if (window.Received().empty())
            ::Sleep(10);
    }
    EXPECT_EQ(1u, window.Received().size()) << polls << " polls";
    thread.Join(kBound);
    if (thread.IsActive())
        wivotest::PumpFor(2000);
    EXPECT_FALSE(thread.IsActive());
    ::CloseHandle(hUnset);
}

TEST(SendMsgSingleLock, LockDeliversSentMessagesAndKeepsPostedOnes)
{
    threadtest::CheckSentDeliveredPostedKept([](HANDLE h, CThinThread&) {
        // The framework event stands for the worker's for the duration of the lock.
        CEvent event(FALSE, TRUE);
        HANDLE hOwn = event.m_hObject;
        event.m_hObject = h;
        BOOL acquired = FALSE;
        {
            CSendMsgSingleLock lock(&event);
            acquired = lock.Lock(kBound);
            EXPECT_EQ(acquired, lock.IsLocked());
        }
        event.m_hObject = hOwn;
        return acquired != FALSE;
    });
}

TEST(SendMsgSingleLock, AcquiresAndReleases)
{
    CEvent set(TRUE, TRUE), unset(FALSE, TRUE);
    CMutex mutex;
    CCriticalSection section;
    const struct
    {
        const char* name;
        CSyncObject* pObject;
        BOOL expected;
    } cases[] = {{"signalled event", &set, TRUE},
                 {"unsignalled event", &unset, FALSE},
                 {"free mutex", &mutex, TRUE},
                 {"critical section", &section, FALSE}};
    for (const auto& c : cases) {
        DWORD start = ::GetTickCount();
        {
            // Locked before, Lock's result, locked after it, Unlock's result, locked after it.
            CSendMsgSingleLock lock(c.pObject, FALSE);
            EXPECT_EQ(c.expected ? "0|1|1|1|0" : "0|0|0|1|0",
                      Join({lock.IsLocked(), lock.Lock(100), lock.IsLocked(), lock.Unlock(),
                            lock.IsLocked()}))
                << c.name;
        }
        {
            CSendMsgSingleLock lock(c.pObject, c.expected);
            EXPECT_EQ(c.expected, lock.IsLocked()) << c.name << " locked at construction";
        }
        EXPECT_LT(::GetTickCount() - start, 3000u) << c.name;
    }
}

TEST(SendMsgSingleLock, MutexesDestructionAndAssignment)
{
    CMutex mutex;
    {
        CSendMsgSingleLock lock(&mutex, TRUE);
        ASSERT_TRUE(lock.IsLocked());
    }
    // Destruction released it: another thread can take it now.
    DWORD result = 0;
    HANDLE hMutex = mutex.m_hObject;
    ASSERT_TRUE(threadtest::RunOnWorker([&]() {
        if ((result = ::WaitForSingleObject(hMutex, 0)) == WAIT_OBJECT_0)
            ::ReleaseMutex(hMutex);
    }));
    EXPECT_EQ(WAIT_OBJECT_0, result);

    // An abandoned mutex is not acquired, although the wait took it (given back below).
    HANDLE hAbandoned = MakeAbandonedMutex();
    mutex.m_hObject = hAbandoned;
    {
        CSendMsgSingleLock lock(&mutex);
        EXPECT_EQ("0|0", Join({lock.Lock(kBound), lock.IsLocked()}));
    }
    mutex.m_hObject = hMutex;
    EXPECT_TRUE(::ReleaseMutex(hAbandoned));
    ::CloseHandle(hAbandoned);

    // Assignment copies the state; the source keeps its own.
    CEvent set(TRUE, TRUE);
    CSendMsgSingleLock acquired(&set, TRUE), other(NULL);
    ASSERT_TRUE(acquired.IsLocked());
    EXPECT_FALSE(other.IsLocked());
    other = acquired;
    // Locked after the assignment, Unlock's result, locked after it, the source locked.
    EXPECT_EQ("1|1|0|1",
              Join({other.IsLocked(), other.Unlock(), other.IsLocked(), acquired.IsLocked()}));
}
