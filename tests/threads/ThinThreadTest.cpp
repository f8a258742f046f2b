// Tests of CThinThread: start, registry, listeners, joins, stop, terminate.
#include <gtest/gtest.h>

#include "ThinThread.h"
#include "ThreadTestSupport.h"

#include <string>
#include <vector>

namespace {

const DWORD kBound = 10000; // upper limit for any wait that should end much sooner

// A body that records what it saw of the registry and can be held until released.
class ProbeRunnable : public IRunnable
{
public:
    ProbeRunnable() : m_hStarted(::CreateEventW(NULL, TRUE, FALSE, NULL)),
                      m_hRelease(::CreateEventW(NULL, TRUE, TRUE, NULL)) {}
    ~ProbeRunnable() { ::CloseHandle(m_hStarted); ::CloseHandle(m_hRelease); }

    void Run() override
    {
        m_runs++;
        m_idSeen = ::GetCurrentThreadId();
        m_pRegistered = CThinThread::GetThreadByID(m_idSeen);
        ::SetEvent(m_hStarted);
        ::WaitForSingleObject(m_hRelease, kBound);
    }
    void Hold() { ::ResetEvent(m_hRelease); }
    void Release() { ::SetEvent(m_hRelease); }
    bool WaitStarted() { return ::WaitForSingleObject(m_hStarted, kBound) == WAIT_OBJECT_0; }

    HANDLE m_hStarted;
    HANDLE m_hRelease;
    volatile LONG m_runs = 0;
    volatile DWORD m_idSeen = 0;
    CThinThread* volatile m_pRegistered = NULL;
};

// A subclass whose own Run polls the exit flag, giving up after a bound.
class PollingThread : public CThinThread
{
public:
    void Run() override
    {
        m_bRunning = TRUE;
        DWORD start = ::GetTickCount();
        while (!ShouldExit() && ::GetTickCount() - start < kBound)
            CThinThread::Sleep(1);
        m_sawExit = ShouldExit();
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
    volatile BOOL m_bRunning = FALSE;
    volatile BOOL m_sawExit = FALSE;
};

// Records the listener calls of all its instances in one sequence.
struct CallLog
{
    std::string calls;
};

class NamedListener : public IThreadTerminationListener
{
public:
    NamedListener(CallLog& log, char name) : m_log(log), m_name(name) {}
    void OnThreadTerminate() override { m_log.calls += m_name; }

private:
    CallLog& m_log;
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
    EXPECT_EQ(nullptr, a.GetHandle());
    EXPECT_EQ(nullptr, static_cast<void*>(a));
    EXPECT_EQ(0u, a.GetThreadID());
    EXPECT_FALSE(a.IsActive());
    EXPECT_FALSE(a.ShouldExit());
    EXPECT_TRUE(a.Equals(b));
    EXPECT_TRUE(a.Equals(&b));
    EXPECT_FALSE(a.Equals(static_cast<const CThinThread*>(NULL)));
    EXPECT_EQ(THREAD_PRIORITY_ERROR_RETURN, static_cast<int>(a.GetPriority()));
    EXPECT_TRUE(a.IsKindOf(RUNTIME_CLASS(CObject)));
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

TEST(ThinThread, OwnIdIsRegisteredDuringRunAndGoneAfter)
{
    ProbeRunnable body;
    CThinThread thread(&body);
    thread.Start();
    ASSERT_NE(nullptr, thread.GetHandle());
    JoinBounded(thread);

    EXPECT_EQ(1, body.m_runs);
    EXPECT_EQ(&thread, body.m_pRegistered) << "id " << body.m_idSeen;
    EXPECT_NE(0u, body.m_idSeen);
    EXPECT_EQ(nullptr, CThinThread::GetThreadByID(body.m_idSeen));
    EXPECT_EQ(nullptr, thread.GetHandle());
    EXPECT_EQ(0u, thread.GetThreadID());
    EXPECT_EQ(nullptr, CThinThread::GetThreadByID(::GetCurrentThreadId()));
}

TEST(ThinThread, StartWhileRunningKeepsTheThreadAndRestartsAfterEnd)
{
    ProbeRunnable body;
    body.Hold();
    CThinThread thread(&body);
    thread.Start();
    ASSERT_TRUE(body.WaitStarted());
    void* hFirst = thread.GetHandle();
    DWORD idFirst = thread.GetThreadID();
    EXPECT_EQ(idFirst, body.m_idSeen);
    EXPECT_TRUE(thread.IsActive());

    thread.Start();
    EXPECT_EQ(hFirst, thread.GetHandle());
    EXPECT_EQ(idFirst, thread.GetThreadID());

    body.Release();
    JoinBounded(thread);
    EXPECT_EQ(1, body.m_runs);

    thread.Start();
    JoinBounded(thread);
    EXPECT_EQ(2, body.m_runs);
    EXPECT_EQ(&thread, body.m_pRegistered);
}

TEST(ThinThread, RunOfASubclassRunsOnTheNewThread)
{
    class IdThread : public CThinThread
    {
    public:
        void Run() override { m_id = ::GetCurrentThreadId(); m_idField = GetThreadID(); }
        volatile DWORD m_id = 0;
        volatile DWORD m_idField = 0;
    } thread;
    thread.Start();
    JoinBounded(thread);
    EXPECT_NE(0u, thread.m_id);
    EXPECT_NE(::GetCurrentThreadId(), thread.m_id);
    EXPECT_EQ(thread.m_id, thread.m_idField);
}

TEST(ThinThread, ListenersAreCalledInOrderOnceEach)
{
    // Script letters: upper case adds that listener, lower case removes it, '0' adds NULL.
    struct Case
    {
        const char* script;
        const char* expected;
    };
    const Case cases[] = {
        {"", ""},
        {"ABC", "ABC"},
        {"ABA", "ABA"},
        {"ABAa", "BA"},
        {"ABCb", "AC"},
        {"Ac", "A"},
        {"A0B", "AB"},
        {"Aaa", ""},
    };
    for (const Case& c : cases) {
        CallLog log;
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
        thread.Start();
        JoinBounded(thread);
        EXPECT_EQ(c.expected, log.calls) << "script \"" << c.script << "\"";

        // Each end tells the listeners again, once.
        log.calls.clear();
        thread.Start();
        JoinBounded(thread);
        EXPECT_EQ(c.expected, log.calls) << "second run, script \"" << c.script << "\"";
    }
}

TEST(ThinThread, ListenerMayRemoveItselfAndRunsOnTheEndingThread)
{
    class SelfRemover : public IThreadTerminationListener
    {
    public:
        explicit SelfRemover(CThinThread& thread) : m_thread(thread) {}
        void OnThreadTerminate() override
        {
            m_calls++;
            m_callerId = ::GetCurrentThreadId();
            m_threadId = m_thread.GetThreadID();
            m_thread.RemoveThreadTerminationListener(this);
        }
        CThinThread& m_thread;
        int m_calls = 0;
        DWORD m_callerId = 0;
        DWORD m_threadId = 0;
    };
    CallLog log;
    NamedListener after(log, 'Z');
    CThinThread thread;
    SelfRemover remover(thread);
    thread.AddThreadTerminationListener(&remover);
    thread.AddThreadTerminationListener(&after);
    thread.Start();
    JoinBounded(thread);
    EXPECT_EQ(1, remover.m_calls);
    EXPECT_EQ("Z", log.calls);
    EXPECT_NE(0u, remover.m_callerId);
    EXPECT_EQ(remover.m_threadId, remover.m_callerId) << "listener ran on another thread";

    thread.Start();
    JoinBounded(thread);
    EXPECT_EQ(1, remover.m_calls);
    EXPECT_EQ("ZZ", log.calls);
}

TEST(ThinThread, JoinWithTimeoutReturnsWhileTheThreadRuns)
{
    for (bool onWorker : {false, true}) {
        ProbeRunnable body;
        body.Hold();
        CThinThread thread(&body);
        thread.Start();
        ASSERT_TRUE(body.WaitStarted());

        // The main thread takes the message-aware path, any other thread a plain wait.
        struct Joiner : IRunnable
        {
            CThinThread* pTarget = NULL;
            DWORD elapsed = 0;
            void Run() override
            {
                DWORD start = ::GetTickCount();
                pTarget->Join(200);
                elapsed = ::GetTickCount() - start;
            }
        } joiner;
        joiner.pTarget = &thread;
        if (onWorker) {
            CThinThread joinThread(&joiner);
            joinThread.Start();
            JoinBounded(joinThread);
        } else {
            joiner.Run();
        }
        EXPECT_GE(joiner.elapsed, 150u) << (onWorker ? "worker" : "main");
        EXPECT_LT(joiner.elapsed, 5000u) << (onWorker ? "worker" : "main");
        EXPECT_TRUE(thread.IsActive());
        EXPECT_EQ(1, body.m_runs);

        body.Release();
        JoinBounded(thread);
    }
}

TEST(ThinThread, StopAsksRunToFinishAndWaits)
{
    PollingThread thread;
    thread.Start();
    DWORD start = ::GetTickCount();
    thread.Stop();
    EXPECT_LT(::GetTickCount() - start, 5000u);
    EXPECT_TRUE(thread.m_sawExit);
    EXPECT_FALSE(thread.IsActive());
    EXPECT_TRUE(thread.ShouldExit());

    // A new start clears the flag; stopping an ended thread leaves it alone.
    PollingThread quick;
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
    // Declared before the thread object, so it outlives the stop in its destructor.
    struct Watch : IThreadTerminationListener
    {
        PollingThread* p = NULL;
        int calls = 0;
        BOOL sawExit = FALSE;
        void OnThreadTerminate() override { calls++; sawExit = p->m_sawExit; }
    } watch;
    DWORD start = ::GetTickCount();
    {
        PollingThread thread;
        watch.p = &thread;
        thread.AddThreadTerminationListener(&watch);
        thread.Start();
        ASSERT_NE(nullptr, thread.GetHandle());
        ASSERT_TRUE(thread.WaitRunning());
    }
    EXPECT_EQ(1, watch.calls) << "the destructor did not wait for the thread's end";
    EXPECT_TRUE(watch.sawExit) << "Run ended without being asked to";
    EXPECT_LT(::GetTickCount() - start, 5000u);
}

TEST(ThinThread, ExitCodeIsZeroWhenRunReturnsAndOneWhenTerminated)
{
    for (bool terminate : {false, true}) {
        CallLog log;
        NamedListener listener(log, 'L');
        ProbeRunnable body;
        body.Hold();
        CThinThread thread(&body);
        thread.AddThreadTerminationListener(&listener);
        thread.Start();
        ASSERT_TRUE(body.WaitStarted());
        DWORD id = thread.GetThreadID();
        HANDLE hWatch = ::OpenThread(SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, id);
        ASSERT_NE(nullptr, hWatch) << "OpenThread error " << ::GetLastError();
        EXPECT_EQ(&thread, CThinThread::GetThreadByID(id));

        if (terminate) {
            thread.Terminate();
            EXPECT_EQ(nullptr, thread.GetHandle());
            EXPECT_EQ(0u, thread.GetThreadID());
            EXPECT_EQ(nullptr, CThinThread::GetThreadByID(id));
        } else {
            body.Release();
        }
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(hWatch, kBound));
        DWORD code = 12345;
        EXPECT_TRUE(::GetExitCodeThread(hWatch, &code));
        EXPECT_EQ(terminate ? 1u : 0u, code);
        EXPECT_EQ(terminate ? "" : "L", log.calls);
        EXPECT_FALSE(thread.IsActive());
        ::CloseHandle(hWatch);
        body.Release();
    }
}

TEST(ThinThread, HandlesOfEndedThreadsAreReleased)
{
    // Once the thread has ended and no join is using it, the handle it was
    // started with is no longer open.
    for (bool terminate : {false, true}) {
        for (int i = 0; i < 5; i++) {
            ProbeRunnable body;
            body.Hold();
            CThinThread thread(&body);
            thread.Start();
            HANDLE hThread = thread.GetHandle();
            ASSERT_NE(nullptr, hThread);
            ASSERT_TRUE(body.WaitStarted());
            DWORD flags = 0;
            ASSERT_TRUE(::GetHandleInformation(hThread, &flags));
            if (terminate) {
                thread.Terminate();
            } else {
                body.Release();
                JoinBounded(thread);
            }
            EXPECT_FALSE(::GetHandleInformation(hThread, &flags))
                << (terminate ? "terminated" : "ended") << " thread " << i << ": handle "
                << hThread << " still open";
            body.Release();
        }
    }
}

TEST(ThinThread, PriorityAndSuspendReachTheThread)
{
    ProbeRunnable body;
    body.Hold();
    CThinThread thread(&body);
    thread.Start();
    ASSERT_TRUE(body.WaitStarted());
    const CThinThread::Priority priorities[] = {
        CThinThread::priorityLowest, CThinThread::priorityBelowNormal,
        CThinThread::priorityNormal, CThinThread::priorityAboveNormal};
    for (CThinThread::Priority p : priorities) {
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

    body.Release();
    JoinBounded(thread);
}

TEST(ThinThread, SentMessageFromRunIsDeliveredDuringJoinOnTheMainThread)
{
    threadtest::RecordingWindow window;
    ASSERT_NE(nullptr, window.Handle()) << "CreateWindowExW error " << ::GetLastError();

    struct Sender : IRunnable
    {
        HWND hWnd = NULL;
        volatile LRESULT reply = 0;
        void Run() override
        {
            ::PostMessageW(hWnd, threadtest::WM_TEST_POSTED, 0, 0);
            reply = ::SendMessageW(hWnd, threadtest::WM_TEST_SENT, 7, 0);
        }
    } sender;
    sender.hWnd = window.Handle();
    CThinThread thread(&sender);
    thread.Start();
    thread.Join(kBound);
    bool ended = !thread.IsActive();
    if (!ended)
        window.Pump(2000); // let the sender go so that the test can end
    ASSERT_TRUE(ended) << "Join did not deliver the sent message";
    EXPECT_EQ(7 + threadtest::SENT_REPLY_OFFSET, sender.reply);
    ASSERT_EQ(1u, window.Received().size());
    EXPECT_EQ(threadtest::WM_TEST_SENT, window.Received()[0]);
    EXPECT_EQ(1, window.TakePosted()) << "the posted message was not left queued";
}
