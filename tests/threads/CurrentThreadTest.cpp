// Tests of CCurrentThread and CMainThread.
#include <gtest/gtest.h>

#include "CurrentThread.h"
#include "ThreadTestSupport.h"

using threadtest::RunOnWorker;

namespace {

// Exposes the listener count, which the two classes must leave at zero.
template <class BASE>
class ListenerCounting : public BASE
{
public:
    int ListenerCount() const { return this->m_listeners.GetCount(); }
};

bool IsOpen(HANDLE h)
{
    DWORD flags = 0;
    return ::GetHandleInformation(h, &flags) != FALSE;
}

} // namespace

TEST(CurrentThread, DesignatesTheConstructingThreadAndReleasesItsHandle)
{
    HANDLE hHeld = NULL;
    {
        CCurrentThread current;
        EXPECT_EQ(::GetCurrentThreadId(), current.GetThreadID());
        hHeld = current.GetHandle();
        ASSERT_NE(nullptr, hHeld);
        EXPECT_NE(::GetCurrentThread(), hHeld) << "a pseudo handle is not owned";
        EXPECT_TRUE(IsOpen(hHeld));
        EXPECT_TRUE(current.IsActive());
        EXPECT_EQ(::GetThreadPriority(::GetCurrentThread()),
                  static_cast<int>(current.GetPriority()));
        EXPECT_FALSE(current.ShouldExit());
    }
    EXPECT_FALSE(IsOpen(hHeld)) << "handle " << hHeld << " still open";
}

TEST(CurrentThread, OnAWorkerEqualsTheWorkersObject)
{
    CThinThread* pOwner = NULL;
    BOOL equals = FALSE, equalsBack = FALSE;
    DWORD id = 0;
    HANDLE hDuplicate = NULL;
    auto body = [&]() {
        CCurrentThread current;
        pOwner = CThinThread::GetThreadByID(::GetCurrentThreadId());
        equals = current.Equals(pOwner);
        equalsBack = pOwner != NULL && pOwner->Equals(current);
        id = current.GetThreadID();
        ::DuplicateHandle(::GetCurrentProcess(), current.GetHandle(), ::GetCurrentProcess(),
                          &hDuplicate, 0, FALSE, DUPLICATE_SAME_ACCESS);
    };
    ASSERT_TRUE(RunOnWorker(body));
    EXPECT_TRUE(equals && equalsBack);
    EXPECT_NE(::GetCurrentThreadId(), id);
    // The handle designated the worker itself, not whoever used it.
    ASSERT_NE(nullptr, hDuplicate);
    EXPECT_EQ(id, ::GetThreadId(hDuplicate));
    ::CloseHandle(hDuplicate);
}

TEST(MainThread, SameIdOnEveryThreadAndAHandleForTheCallingOne)
{
    CMainThread onMain;
    // The test program's main thread loaded the library.
    EXPECT_EQ(::GetCurrentThreadId(), onMain.GetThreadID());
    EXPECT_TRUE(onMain.IsActive());
    EXPECT_TRUE(onMain.Equals(CCurrentThread()));

    DWORD mainId = 0, self = 0, seen = 0;
    BOOL equalsCurrent = TRUE, active = FALSE;
    ASSERT_TRUE(RunOnWorker([&]() {
        self = ::GetCurrentThreadId();
        CMainThread main;
        mainId = main.GetThreadID();
        equalsCurrent = main.Equals(CCurrentThread());
        seen = ::GetThreadId(main.GetHandle());
        active = main.IsActive();
    }));
    EXPECT_EQ(onMain.GetThreadID(), mainId);
    EXPECT_FALSE(equalsCurrent);
    EXPECT_NE(0u, self);
    EXPECT_EQ(self, seen);
    EXPECT_TRUE(active);
    // Destroying one closes nothing: the calling thread's handle still works.
    { CMainThread main; }
    EXPECT_NE(THREAD_PRIORITY_ERROR_RETURN, ::GetThreadPriority(::GetCurrentThread()));
}

TEST(CurrentAndMainThread, TerminationListenersAreIgnored)
{
    struct NeverCalled : IThreadTerminationListener
    {
        int calls = 0;
        void OnThreadTerminate() override { calls++; }
    } listener;
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
