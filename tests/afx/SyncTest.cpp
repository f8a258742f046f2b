// Tests of the synchronization classes across threads: CSingleLock over critical
// sections and mutexes, events with manual and automatic reset, named mutexes,
// semaphores, and CMultiLock.
#include <afx.h>
#include <afxmt.h>

#include <gtest/gtest.h>

#include <thread>

#include "AfxTestSupport.h"

using wivotest::Join;
using wivotest::Throws;

namespace {

// Whether another thread gets the object within dwTimeout (and gives it back).
bool OtherThreadLocks(CSyncObject& object, DWORD dwTimeout)
{
    bool bGot = false;
    std::thread other([&] {
        CSingleLock lock(&object);
        bGot = lock.Lock(dwTimeout) != FALSE;
    });
    other.join();
    return bGot;
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// CSingleLock over a critical section (which waits by polling) and a mutex

TEST(SingleLock, HoldsTheObjectAgainstOtherThreadsForTheWholeTimeoutUntilReleased)
{
    CCriticalSection cs;
    CMutex mutex;
    for (CSyncObject* p : {(CSyncObject*)&cs, (CSyncObject*)&mutex}) {
        SCOPED_TRACE(p->GetRuntimeClass()->m_lpszClassName);
        {
            CSingleLock lock(p, TRUE);
            EXPECT_TRUE(lock.IsLocked());
            EXPECT_TRUE(lock.Lock());          // already held: no second acquisition
            DWORD start = GetTickCount();
            EXPECT_FALSE(OtherThreadLocks(*p, 100));
            EXPECT_GE(GetTickCount() - start, 90u) << "gave up before the timeout";
            EXPECT_TRUE(lock.Unlock());
            EXPECT_FALSE(lock.IsLocked());
            EXPECT_TRUE(OtherThreadLocks(*p, 0));
            EXPECT_TRUE(lock.Lock(0));
        }
        // Had the lock taken it twice, one release would leave it held here.
        EXPECT_TRUE(OtherThreadLocks(*p, 1000)) << "the destructor released it";
    }
    EXPECT_FALSE(CSingleLock(NULL).Lock(0));
}

/////////////////////////////////////////////////////////////////////////////
// CEvent, CMutex and CSemaphore

TEST(Event, ManualResetStaysSignaledAutoResetReleasesOne)
{
    CEvent manual(FALSE, TRUE), automatic, initially(TRUE);
    EXPECT_TRUE(manual.SetEvent());
    EXPECT_TRUE(automatic.SetEvent());
    EXPECT_EQ("1|1|1|0|1|0", Join({manual.Lock(0), manual.Lock(0), automatic.Lock(0),
                                   automatic.Lock(0), initially.Lock(0), initially.Lock(0)}));
    EXPECT_TRUE(manual.ResetEvent());
    EXPECT_FALSE(manual.Lock(0));
    EXPECT_TRUE(manual.Unlock());
    EXPECT_TRUE(manual.PulseEvent());
    EXPECT_FALSE(manual.Lock(0)) << "a pulse with no waiter leaves it reset";
}

TEST(Mutex, InitialOwnerNamesAndCreationFailures)
{
    CString name;
    name.Format(L"wivo-mutex-%lu-%lu", GetCurrentProcessId(), GetTickCount());
    CMutex first(TRUE, name);   // owned by this thread
    DWORD dwFirstError = GetLastError();
    CMutex second(FALSE, name);
    // Nothing after the creation overwrites the error the caller may look at.
    EXPECT_EQ((DWORD)ERROR_ALREADY_EXISTS, GetLastError());
    EXPECT_NE((DWORD)ERROR_ALREADY_EXISTS, dwFirstError);
    EXPECT_FALSE(OtherThreadLocks(second, 100)) << "both objects are the same kernel mutex";
    EXPECT_TRUE(first.Unlock());
    EXPECT_FALSE(first.Unlock()) << "no longer the owner";
    EXPECT_TRUE(OtherThreadLocks(second, 1000));
    // The lock released the mutex before its thread ended: not abandoned.
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(first, 0));
    first.Unlock();

    // Creation failures throw: a name that is an event's, an initial count above the maximum.
    CEvent ev(FALSE, FALSE, name + L"-event");
    EXPECT_TRUE(Throws<CResourceException>([&] { CMutex clash(FALSE, name + L"-event"); }));
    EXPECT_TRUE(Throws<CResourceException>([] { CSemaphore bad(5, 2); }));
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
        EXPECT_EQ("0|1|0|0", Join({lock.IsLocked(0), lock.IsLocked(1), lock.IsLocked(2),
                                   lock.IsLocked(7)}));
        lock.Unlock();
        EXPECT_FALSE(lock.IsLocked(1));
        e1.SetEvent();
        e2.SetEvent();
        EXPECT_EQ(WAIT_OBJECT_0, lock.Lock(1000, TRUE));
        EXPECT_EQ("1|1|1", Join({lock.IsLocked(0), lock.IsLocked(1), lock.IsLocked(2)}));
    }
    EXPECT_TRUE(OtherThreadLocks(m, 500)) << "the destructor released the mutex";

    // Objects without handles cannot be waited for.
    CCriticalSection cs;
    CSyncObject* withSection[] = { &e1, &cs };
    CMultiLock bad(withSection, 2);
    EXPECT_EQ(WAIT_FAILED, bad.Lock(0, FALSE));
    EXPECT_FALSE(bad.IsLocked(0));
    // More than the preallocated handles.
    CSyncObject* many[10];
    CEvent events[10];
    for (int i = 0; i < 10; i++) {
        many[i] = &events[i];
        events[i].SetEvent();
    }
    CMultiLock big(many, 10);
    EXPECT_EQ(WAIT_OBJECT_0, big.Lock(0, TRUE));
    EXPECT_TRUE(big.IsLocked(9));
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
