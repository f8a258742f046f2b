// Tests of CThinThread: start, registry, listeners, joins, stop, terminate.
#include <gtest/gtest.h>

#include "AfxTestSupport.h"
#include "ThinThread.h"
#include "ThreadTestSupport.h"

#include <string>

using threadtest::kBound;
using threadtest::PollingThread;
using wivotest::Join;

namespace {

// A body that records what it saw of the registry and can be held until released.
struct ProbeRunnable : IRunnable
{
    ~ProbeRunnable()
    {
        ::CloseHandle(m_hStarted);
        ::CloseHandle(m_hRelease);
    }
    void Run() override
    {
        m_runs++;
        m_idSeen = ::GetCurrentThreadId();
        m_pRegistered = CThinThread::GetThreadByID(m_idSeen);
        m_idField = m_pRegistered ? m_pRegistered->GetThreadID() : 0;
        ::SetEvent(m_hStarted);
        ::WaitForSingleObject(m_hRelease, kBound);
    }
    void Hold() { ::ResetEvent(m_hRelease); }
    void Release() { ::SetEvent(m_hRelease); }
    bool WaitStarted() { return ::WaitForSingleObject(m_hStarted, kBound) == WAIT_OBJECT_0; }

    HANDLE m_hStarted = ::CreateEventW(NULL, TRUE, FALSE, NULL);
    HANDLE m_hRelease = ::CreateEventW(NULL, TRUE, TRUE, NULL);    // set: Run returns at once
    volatile LONG m_runs = 0;
    volatile DWORD m_idSeen = 0, m_idField = 0;
    CThinThread* volatile m_pRegistered = NULL;
};

// Appends its name to a log shared by several listeners.
struct NamedListener : IThreadTerminationListener
{
    NamedListener(std::string& log, char name) : m_log(log), m_name(name) {}
    void OnThreadTerminate() override { m_log += m_name; }
    std::string& m_log;
    char m_name;
};

// Returns once the thread has ended by itself (Join on the main thread, bounded).
void JoinBounded(CThinThread& thread)
{
    thread.Join(kBound);
    ASSERT_FALSE(thread.IsActive()) << "thread still running after " << kBound << " ms";
}

} // namespace

TEST(ThinThread, FreshObjectHasNoThread)
{
    CThinThread a, b;
    // Handle, handle as pointer, id, active.
    EXPECT_EQ("0|0|0|0",
              Join({a.GetHandle(), static_cast<void*>(a), a.GetThreadID(), a.IsActive()}));
    EXPECT_TRUE(a.Equals(b) && a.Equals(&b));
    EXPECT_FALSE(a.Equals(static_cast<const CThinThread*>(NULL)));
    EXPECT_EQ(THREAD_PRIORITY_ERROR_RETURN, static_cast<int>(a.GetPriority()));
    // No thread: these must fail quietly.
    a.Suspend();
    a.Resume();
    a.SetPriority(CThinThread::priorityHighest);
    a.Join();
    a.Join(0);
    CThinThread::Join(NULL, INFINITE);
    a.Stop();
    a.StopNoJoin();
    EXPECT_FALSE(a.ShouldExit());
}

TEST(ThinThread, RunsOnItsOwnThreadRegisteredWhileItRuns)
{
    ProbeRunnable body;
    body.Hold();
    CThinThread thread(&body);
    thread.Start();
    ASSERT_TRUE(body.WaitStarted());
    void* hFirst = thread.GetHandle();
    const DWORD idFirst = thread.GetThreadID();
    EXPECT_NE(0u, idFirst);
    EXPECT_NE(::GetCurrentThreadId(), idFirst);
    EXPECT_EQ(idFirst, body.m_idSeen);
    EXPECT_EQ(idFirst, body.m_idField) << "the id was set only after Run began";
    EXPECT_EQ(&thread, body.m_pRegistered);
    EXPECT_TRUE(thread.IsActive());

    // A start while it runs keeps the thread.
    thread.Start();
    EXPECT_EQ(hFirst, thread.GetHandle());
    EXPECT_EQ(idFirst, thread.GetThreadID());

    // Priority and suspension reach the thread.
    for (CThinThread::Priority p :
         {CThinThread::priorityLowest, CThinThread::priorityBelowNormal,
          CThinThread::priorityNormal, CThinThread::priorityAboveNormal}) {
        thread.SetPriority(p);
        EXPECT_EQ(static_cast<int>(p), static_cast<int>(thread.GetPriority()));
        EXPECT_EQ(static_cast<int>(p), ::GetThreadPriority(thread.GetHandle()));
    }
    thread.Suspend();
    EXPECT_EQ(1u, ::ResumeThread(thread.GetHandle())) << "suspend count before this resume";
    thread.Suspend();
    thread.Resume();
    EXPECT_EQ(0u, ::SuspendThread(thread.GetHandle()));
    ::ResumeThread(thread.GetHandle());

    // A join with a timeout returns while it runs: on the main thread, which takes the
    // message-aware path, and on any other, which waits plainly.
    DWORD elapsed = 0;
    auto join = [&]() {
        const DWORD start = ::GetTickCount();
        thread.Join(200);
        elapsed = ::GetTickCount() - start;
    };
    for (bool onWorker : {false, true}) {
        if (onWorker)
            ASSERT_TRUE(threadtest::RunOnWorker(join));
        else
            join();
        EXPECT_GE(elapsed, 150u) << (onWorker ? "worker" : "main");
        EXPECT_LT(elapsed, 5000u) << (onWorker ? "worker" : "main");
        EXPECT_TRUE(thread.IsActive());
    }

    body.Release();
    JoinBounded(thread);
    // Runs, registered object, handle, id; none is registered for this thread either.
    EXPECT_EQ("1|0|0|0", Join({body.m_runs, CThinThread::GetThreadByID(idFirst), thread.GetHandle(),
                               thread.GetThreadID()}));
    EXPECT_EQ(nullptr, CThinThread::GetThreadByID(::GetCurrentThreadId()));

    // After the end a start runs it again.
    thread.Start();
    JoinBounded(thread);
    EXPECT_EQ(2, body.m_runs);
    EXPECT_EQ(&thread, body.m_pRegistered);
}

TEST(ThinThread, ListenersAreCalledInOrderOnceEach)
{
    // Script letters: upper case adds that listener, lower case removes it, '0' adds NULL.
    const struct
    {
        const char *script, *expected;
    } cases[] = {{"", ""},        {"ABC", "ABC"}, {"ABA", "ABA"}, {"ABAa", "BA"},
                 {"ABCb", "AC"},  {"Ac", "A"},    {"A0B", "AB"},  {"Aaa", ""}};
    for (const auto& c : cases) {
        std::string log;
        NamedListener listeners[3] = {{log, 'A'}, {log, 'B'}, {log, 'C'}};
        CThinThread thread;
        for (const char* p = c.script; *p != '\0'; p++) {
            if (*p == '0')
                thread.AddThreadTerminationListener(NULL);
            else if (*p >= 'A' && *p <= 'C')
                thread.AddThreadTerminationListener(&listeners[*p - 'A']);
            else
                thread.RemoveThreadTerminationListener(&listeners[*p - 'a']);
        }
        // Each end tells the listeners again, once.
        for (int run = 1; run <= 2; run++) {
            log.clear();
            thread.Start();
            JoinBounded(thread);
            EXPECT_EQ(c.expected, log) << "run " << run << ", script \"" << c.script << "\"";
        }
    }
}

TEST(ThinThread, ListenerMayRemoveItselfAndRunsOnTheEndingThread)
{
    struct SelfRemover : IThreadTerminationListener
    {
        CThinThread* pThread = NULL;
        int calls = 0;
        DWORD callerId = 0, threadId = 0;
        void OnThreadTerminate() override
        {
            calls++;
            callerId = ::GetCurrentThreadId();
            threadId = pThread->GetThreadID();
            pThread->RemoveThreadTerminationListener(this);
        }
    } remover;
    std::string log;
    NamedListener after(log, 'Z');
    CThinThread thread;
    remover.pThread = &thread;
    thread.AddThreadTerminationListener(&remover);
    thread.AddThreadTerminationListener(&after);
    thread.Start();
    JoinBounded(thread);
    EXPECT_NE(0u, remover.callerId);
    EXPECT_EQ(remover.threadId, remover.callerId) << "listener ran on another thread";
    thread.Start();
    JoinBounded(thread);
    EXPECT_EQ(1, remover.calls);
    EXPECT_EQ("ZZ", log);
}

TEST(ThinThread, StopAsksRunToFinishAndWaits)
{
    PollingThread<> thread;
    thread.Start();
    DWORD start = ::GetTickCount();
    thread.Stop();
    EXPECT_LT(::GetTickCount() - start, 5000u);
    // Run saw the request, the thread has ended, the request stays.
    EXPECT_EQ("1|0|1", Join({thread.m_sawExit, thread.IsActive(), thread.ShouldExit()}));

    // A new start clears the flag; stopping an ended thread leaves it alone.
    PollingThread<> quick;
    quick.StopNoJoin();
    EXPECT_FALSE(quick.ShouldExit());
    quick.Start();
    EXPECT_FALSE(quick.ShouldExit());
    quick.StopNoJoin();
    JoinBounded(quick);
    EXPECT_TRUE(quick.m_sawExit);

    ProbeRunnable body;
    CThinThread ended(&body);
    ended.Start();
    JoinBounded(ended);
    ended.Stop();
    ended.StopNoJoin();
    EXPECT_FALSE(ended.ShouldExit());
}

TEST(ThinThread, DestroyingARunningObjectStopsItsThread)
{
    threadtest::CheckDestroyingStopsTheThread<CThinThread>();
}

// A thread that ends by itself exits with 0 and tells the listeners; a terminated one
// exits with 1 and tells nobody. Either way its handle is closed once it has ended.
TEST(ThinThread, EndedAndTerminatedThreads)
{
    for (bool terminate : {false, true}) {
        for (int i = 0; i < 5; i++) {
            SCOPED_TRACE((terminate ? "terminated, run " : "ended, run ") + std::to_string(i));
            std::string log;
            NamedListener listener(log, 'L');
            ProbeRunnable body;
            body.Hold();
            CThinThread thread(&body);
            thread.AddThreadTerminationListener(&listener);
            thread.Start();
            HANDLE hThread = thread.GetHandle();
            ASSERT_TRUE(body.WaitStarted());
            const DWORD id = thread.GetThreadID();
            HANDLE hWatch = ::OpenThread(SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, id);
            ASSERT_NE(nullptr, hWatch) << "OpenThread error " << ::GetLastError();
            DWORD flags = 0;
            ASSERT_TRUE(::GetHandleInformation(hThread, &flags));
            if (terminate) {
                thread.Terminate();
                EXPECT_EQ("0|0|0", Join({thread.GetHandle(), thread.GetThreadID(),
                                         CThinThread::GetThreadByID(id)}));
            } else {
                body.Release();
                JoinBounded(thread);
            }
            // The value may already name a new object; it is still ours only if it
            // names this thread, whose id hWatch keeps from being reused.
            EXPECT_FALSE(::GetHandleInformation(hThread, &flags) && ::GetThreadId(hThread) == id)
                << "handle still open";
            EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(hWatch, kBound));
            DWORD code = 12345;
            EXPECT_TRUE(::GetExitCodeThread(hWatch, &code));
            // Exit code, what the listener heard, active.
            EXPECT_EQ(terminate ? "1||0" : "0|L|0", Join({code, log, thread.IsActive()}));
            ::CloseHandle(hWatch);
            body.Release();
        }
    }
}

TEST(ThinThread, SentMessageFromRunIsDeliveredDuringJoinOnTheMainThread)
{
    threadtest::CheckSentDeliveredPostedKept([](HANDLE, CThinThread& sender) {
        sender.Join(kBound);
        return !sender.IsActive();
    });
}
