// Tests of the synchronization classes across threads: critical sections with
// CSingleLock, events with manual and automatic reset, mutexes with timeouts and
// names, semaphores, and CMultiLock.
#include <afx.h>
#include <afxmt.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "TestSupport.h"

namespace {

// A unique object name for this process.
CString UniqueName(LPCTSTR base)
{
    CString name;
    name.Format(L"wivo-%s-%lu-%lu", base, GetCurrentProcessId(), GetTickCount());
    return name;
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// CCriticalSection and CSingleLock

TEST(CriticalSection, SingleLocksSerializeTwoThreads)
{
    CCriticalSection cs;
    long counter = 0;
    auto work = [&] {
        for (int i = 0; i < 20000; i++) {
            CSingleLock lock(&cs, TRUE);
            // Not atomic: only the lock keeps the two threads apart.
            long v = counter;
            if (i % 1000 == 0)
                Sleep(0);
            counter = v + 1;
        }
    };
    std::thread a(work), b(work);
    a.join();
    b.join();
    EXPECT_EQ(40000, counter);
}

TEST(CriticalSection, LockTimesOutWhileAnotherThreadHoldsIt)
{
    CCriticalSection cs;
    CEvent held, release;
    std::thread owner([&] {
        CSingleLock lock(&cs, TRUE);
        held.SetEvent();
        WaitForSingleObject(release, 10000);
    });
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(held, 10000));
    CSingleLock lock(&cs);
    DWORD start = GetTickCount();
    EXPECT_FALSE(lock.Lock(100));
    EXPECT_GE(GetTickCount() - start, 90u);
    EXPECT_FALSE(lock.IsLocked());
    release.SetEvent();
    EXPECT_TRUE(lock.Lock(10000));
    EXPECT_TRUE(lock.IsLocked());
    owner.join();
    EXPECT_TRUE(lock.Unlock());
    EXPECT_FALSE(lock.IsLocked());
    EXPECT_TRUE(cs.Lock(0)) << "the critical section is free again";
    cs.Unlock();
    EXPECT_EQ(&cs.m_sect, (CRITICAL_SECTION*)cs);
    EXPECT_EQ(nullptr, cs.m_hObject);
}

TEST(CriticalSection, SingleLockReleasesOnDestructionAndDoesNotLockTwice)
{
    CMutex mutex;
    {
        CSingleLock lock(&mutex, TRUE);
        EXPECT_TRUE(lock.IsLocked());
        EXPECT_TRUE(lock.Lock());          // already held: no second acquisition
    }
    // Had the lock taken the mutex twice, one release would leave it owned here and
    // another thread could not get it.
    std::atomic<bool> got(false);
    std::thread other([&] { CSingleLock l(&mutex); got = l.Lock(1000) != FALSE; });
    other.join();
    EXPECT_TRUE(got);
    CSingleLock none(NULL);
    EXPECT_FALSE(none.Lock(0));
}

/////////////////////////////////////////////////////////////////////////////
// CEvent

TEST(Event, ManualResetReleasesEveryWaiterUntilReset)
{
    CEvent ev(FALSE, TRUE);
    EXPECT_FALSE(ev.Lock(0));
    std::atomic<int> released(0);
    std::thread w1([&] { if (CSingleLock(&ev).Lock(5000)) released++; });
    std::thread w2([&] { if (CSingleLock(&ev).Lock(5000)) released++; });
    Sleep(50);
    EXPECT_TRUE(ev.SetEvent());
    w1.join();
    w2.join();
    EXPECT_EQ(2, released.load());
    EXPECT_TRUE(ev.Lock(0)) << "stays signaled";
    EXPECT_TRUE(ev.ResetEvent());
    EXPECT_FALSE(ev.Lock(0));
    EXPECT_TRUE(ev.Unlock());
}

TEST(Event, AutoResetReleasesOneWaiterAtATime)
{
    CEvent ev;      // auto reset, not signaled
    std::atomic<int> released(0);
    std::thread w1([&] { if (ev.Lock(300)) released++; });
    std::thread w2([&] { if (ev.Lock(300)) released++; });
    Sleep(50);
    ev.SetEvent();
    w1.join();
    w2.join();
    EXPECT_EQ(1, released.load());
    EXPECT_FALSE(ev.Lock(0)) << "reset itself";
    CEvent initially(TRUE);
    EXPECT_TRUE(initially.Lock(0));
    EXPECT_FALSE(initially.Lock(0));
    EXPECT_TRUE(initially.PulseEvent());
    EXPECT_FALSE(initially.Lock(0)) << "a pulse with no waiter leaves it reset";
}

/////////////////////////////////////////////////////////////////////////////
// CMutex and CSemaphore

TEST(Mutex, TimeoutWhileAnotherThreadOwnsIt)
{
    CMutex mutex(TRUE);         // owned by this thread
    DWORD dwResult = 0;
    DWORD dwElapsed = 0;
    std::thread other([&] {
        DWORD start = GetTickCount();
        CSingleLock lock(&mutex);
        dwResult = lock.Lock(150);
        dwElapsed = GetTickCount() - start;
    });
    other.join();
    EXPECT_FALSE(dwResult);
    EXPECT_GE(dwElapsed, 140u);

    EXPECT_TRUE(mutex.Unlock());
    EXPECT_FALSE(mutex.Unlock()) << "no longer the owner";
    std::thread taker([&] {
        CSingleLock lock(&mutex);
        dwResult = lock.Lock(1000);
    });
    taker.join();
    EXPECT_TRUE(dwResult);
    // The lock released the mutex before its thread ended: not abandoned.
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(mutex, 0));
    mutex.Unlock();
}

TEST(Mutex, NamedMutexOpenedTwiceIsOneMutex)
{
    CString name = UniqueName(L"mutex");
    CMutex first(FALSE, name);
    DWORD dwFirstError = GetLastError();
    CMutex second(FALSE, name);
    DWORD dwSecondError = GetLastError();
    EXPECT_NE((DWORD)ERROR_ALREADY_EXISTS, dwFirstError);
    EXPECT_EQ((DWORD)ERROR_ALREADY_EXISTS, dwSecondError);
    EXPECT_NE(first.m_hObject, second.m_hObject);
    ASSERT_TRUE(first.Lock(0));
    std::atomic<bool> got(true);
    std::thread other([&] { got = second.Lock(100) != FALSE; if (got) second.Unlock(); });
    other.join();
    EXPECT_FALSE(got) << "both objects are the same kernel mutex";
    first.Unlock();
}

TEST(Mutex, CreationFailureThrowsResourceException)
{
    CString name = UniqueName(L"clash");
    CEvent ev(FALSE, FALSE, name);
    auto thrown = [](void (*f)(const CString&), const CString& arg) {
        try {
            f(arg);
        } catch (CResourceException* e) {
            e->Delete();
            return true;
        }
        return false;
    };
    EXPECT_TRUE(thrown([](const CString& n) { CMutex clash(FALSE, n); }, name)) << "the name is an event's";
    EXPECT_TRUE(thrown([](const CString&) { CSemaphore bad(5, 2); }, name)) << "initial count above the maximum";
}

TEST(Semaphore, CountsAndReleaseSeveral)
{
    CSemaphore sem(2, 3);
    EXPECT_TRUE(sem.Lock(0));
    EXPECT_TRUE(sem.Lock(0));
    EXPECT_FALSE(sem.Lock(0));
    LONG prev = -1;
    EXPECT_TRUE(sem.Unlock(2, &prev));
    EXPECT_EQ(0, prev);
    EXPECT_FALSE(sem.Unlock(2)) << "would exceed the maximum";
    CSingleLock lock(&sem, TRUE);
    EXPECT_TRUE(lock.IsLocked());
    EXPECT_TRUE(lock.Unlock(1, &prev));
    EXPECT_EQ(1, prev);
}

/////////////////////////////////////////////////////////////////////////////
// CMultiLock

TEST(MultiLock, WaitForAnyAndForAll)
{
    CEvent e1(FALSE, TRUE), e2(FALSE, TRUE);
    CMutex m;
    CSyncObject* objects[] = { &e1, &m, &e2 };
    {
        CMultiLock lock(objects, 3);
        EXPECT_EQ((DWORD)WAIT_TIMEOUT, lock.Lock(0, TRUE));
        EXPECT_EQ(WAIT_OBJECT_0 + 1, lock.Lock(0, FALSE)) << "the free mutex";
        EXPECT_TRUE(lock.IsLocked(1));
        EXPECT_FALSE(lock.IsLocked(0));
        EXPECT_FALSE(lock.IsLocked(7));
        lock.Unlock();
        EXPECT_FALSE(lock.IsLocked(1));
        e1.SetEvent();
        e2.SetEvent();
        EXPECT_EQ(WAIT_OBJECT_0, lock.Lock(1000, TRUE));
        for (DWORD i = 0; i < 3; i++)
            EXPECT_TRUE(lock.IsLocked(i)) << i;
    }
    // The destructor released the mutex.
    std::atomic<bool> got(false);
    std::thread other([&] { got = m.Lock(500) != FALSE; if (got) m.Unlock(); });
    other.join();
    EXPECT_TRUE(got);
}

TEST(MultiLock, WakeMaskReturnsForAPostedMessage)
{
    CEvent ev;
    CSyncObject* objects[] = { &ev };
    CMultiLock lock(objects, 1);
    MSG msg;
    PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE);   // gives the thread a message queue
    PostThreadMessageW(GetCurrentThreadId(), WM_USER + 1, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0 + 1, lock.Lock(2000, FALSE, QS_POSTMESSAGE));
    EXPECT_TRUE(PeekMessageW(&msg, NULL, WM_USER + 1, WM_USER + 1, PM_REMOVE));
    EXPECT_EQ((DWORD)WAIT_TIMEOUT, lock.Lock(10, FALSE, QS_POSTMESSAGE));
}

TEST(MultiLock, ObjectsWithoutHandlesCannotBeWaitedFor)
{
    CCriticalSection cs;
    CEvent ev(TRUE, TRUE);
    CSyncObject* objects[] = { &ev, &cs };
    CMultiLock lock(objects, 2);
    EXPECT_EQ(WAIT_FAILED, lock.Lock(0, FALSE));
    EXPECT_FALSE(lock.IsLocked(0));
    CSyncObject* many[10];
    CEvent events[10];
    for (int i = 0; i < 10; i++) {
        many[i] = &events[i];
        events[i].SetEvent();
    }
    CMultiLock big(many, 10);   // more than the preallocated handles
    EXPECT_EQ(WAIT_OBJECT_0, big.Lock(0, TRUE));
    EXPECT_TRUE(big.IsLocked(9));
}
