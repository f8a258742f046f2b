// Tests of CCurrentThread and CMainThread.
#include <gtest/gtest.h>

#include "CurrentThread.h"

namespace {

// Exposes the listener count, which the two classes must leave at zero.
template<class BASE>
class ListenerCounting : public BASE
{
public:
    int ListenerCount() const { return this->m_listeners.GetCount(); }
};

struct NeverCalled : IThreadTerminationListener
{
    int calls = 0;
    void OnThreadTerminate() override { calls++; }
};

} // namespace

TEST(CurrentThread, DesignatesTheConstructingThread)
{
    CCurrentThread current;
    EXPECT_EQ(::GetCurrentThreadId(), current.GetThreadID());
    ASSERT_NE(nullptr, current.GetHandle());
    EXPECT_NE(::GetCurrentThread(), current.GetHandle()) << "a pseudo handle is not owned";
    EXPECT_TRUE(current.IsActive());
    EXPECT_EQ(::GetThreadPriority(::GetCurrentThread()), static_cast<int>(current.GetPriority()));
    EXPECT_TRUE(current.IsKindOf(RUNTIME_CLASS(CThinThread)));
    EXPECT_FALSE(current.ShouldExit());
}

TEST(CurrentThread, OnAWorkerEqualsTheWorkersObject)
{
    struct Body : IRunnable
    {
        CThinThread* pOwner = NULL;
        BOOL equals = FALSE;
        BOOL equalsBack = FALSE;
        DWORD id = 0;
        HANDLE hDuplicate = NULL;
        void Run() override
        {
            CCurrentThread current;
            equals = current.Equals(pOwner);
            equalsBack = pOwner->Equals(current);
            id = current.GetThreadID();
            ::DuplicateHandle(::GetCurrentProcess(), current.GetHandle(), ::GetCurrentProcess(),
                              &hDuplicate, 0, FALSE, DUPLICATE_SAME_ACCESS);
        }
    } body;
    CThinThread worker(&body);
    body.pOwner = &worker;
    worker.Start();
    worker.Join(10000);
    ASSERT_FALSE(worker.IsActive());
    EXPECT_TRUE(body.equals);
    EXPECT_TRUE(body.equalsBack);
    EXPECT_NE(::GetCurrentThreadId(), body.id);
    // The handle designated the worker itself, not whoever used it.
    ASSERT_NE(nullptr, body.hDuplicate);
    EXPECT_EQ(body.id, ::GetThreadId(body.hDuplicate));
    ::CloseHandle(body.hDuplicate);

    CCurrentThread here;
    EXPECT_FALSE(here.Equals(worker)) << "worker id is cleared after its end";
}

TEST(CurrentThread, ReleasesItsHandle)
{
    HANDLE hHeld = NULL;
    {
        CCurrentThread current;
        hHeld = current.GetHandle();
        DWORD flags = 0;
        ASSERT_TRUE(::GetHandleInformation(hHeld, &flags));
    }
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(hHeld, &flags)) << "handle " << hHeld << " still open";
}

TEST(MainThread, IdIsTheSameOnEveryThread)
{
    CMainThread onMain;
    // The test program's main thread loaded the library.
    EXPECT_EQ(::GetCurrentThreadId(), onMain.GetThreadID());
    EXPECT_TRUE(onMain.IsActive());
    EXPECT_TRUE(onMain.IsKindOf(RUNTIME_CLASS(CThinThread)));

    struct Body : IRunnable
    {
        DWORD mainId = 0;
        BOOL equalsCurrent = TRUE;
        void Run() override
        {
            CMainThread main;
            CCurrentThread current;
            mainId = main.GetThreadID();
            equalsCurrent = main.Equals(current);
        }
    } body;
    CThinThread worker(&body);
    worker.Start();
    worker.Join(10000);
    ASSERT_FALSE(worker.IsActive());
    EXPECT_EQ(onMain.GetThreadID(), body.mainId);
    EXPECT_FALSE(body.equalsCurrent);

    CCurrentThread current;
    EXPECT_TRUE(onMain.Equals(current));
}

TEST(MainThread, HandleActsOnTheCallingThread)
{
    struct Body : IRunnable
    {
        DWORD seen = 0;
        DWORD self = 0;
        BOOL active = FALSE;
        void Run() override
        {
            self = ::GetCurrentThreadId();
            CMainThread main;
            seen = ::GetThreadId(main.GetHandle());
            active = main.IsActive();
        }
    } body;
    CThinThread worker(&body);
    worker.Start();
    worker.Join(10000);
    ASSERT_FALSE(worker.IsActive());
    EXPECT_NE(0u, body.self);
    EXPECT_EQ(body.self, body.seen);
    EXPECT_TRUE(body.active);
    // Destroying one closes nothing: the calling thread's handle still works.
    { CMainThread main; }
    EXPECT_NE(THREAD_PRIORITY_ERROR_RETURN, ::GetThreadPriority(::GetCurrentThread()));
}

TEST(CurrentAndMainThread, TerminationListenersAreIgnored)
{
    NeverCalled listener;
    ListenerCounting<CCurrentThread> current;
    ListenerCounting<CMainThread> main;
    for (CThinThread* p : {static_cast<CThinThread*>(&current), static_cast<CThinThread*>(&main)}) {
        p->AddThreadTerminationListener(&listener);
        p->AddThreadTerminationListener(&listener);
        p->RemoveThreadTerminationListener(&listener);
    }
    EXPECT_EQ(0, current.ListenerCount());
    EXPECT_EQ(0, main.ListenerCount());
    EXPECT_EQ(0, listener.calls);
}
