// ThinThread.h - a light object wrapper around one operating-system thread.
//
//   IRunnable                     the body of a thread
//   IThreadTerminationListener    told on the ending thread when its body has returned
//   CThinThread                   owns at most one running thread; registry of live threads
#pragma once

#include <afx.h>
#include <afxmt.h>
#include <afxtempl.h>

/////////////////////////////////////////////////////////////////////////////
// IRunnable

class IRunnable
{
public:
    virtual void Run() = 0;
};

/////////////////////////////////////////////////////////////////////////////
// IThreadTerminationListener

class IThreadTerminationListener
{
public:
    virtual void OnThreadTerminate() = 0;
};

/////////////////////////////////////////////////////////////////////////////
// CThinThread

class AFX_EXT_CLASS CThinThread : public CObject, public IRunnable
{
    DECLARE_DYNAMIC(CThinThread)

public:
    // Passed to and from the platform unchanged.
    enum Priority : int
    {
        priorityIdle = THREAD_PRIORITY_IDLE,
        priorityLowest = THREAD_PRIORITY_LOWEST,
        priorityBelowNormal = THREAD_PRIORITY_BELOW_NORMAL,
        priorityNormal = THREAD_PRIORITY_NORMAL,
        priorityAboveNormal = THREAD_PRIORITY_ABOVE_NORMAL,
        priorityHighest = THREAD_PRIORITY_HIGHEST,
        priorityTimeCritical = THREAD_PRIORITY_TIME_CRITICAL
    };

// Construction
    CThinThread();
    // The runnable is not owned; NULL makes Run return at once.
    explicit CThinThread(IRunnable* pRunnable);
    // Stops a running thread (waiting without limit for Run to return).
    virtual ~CThinThread();

// Operations
    // On the main thread the waits keep delivering messages that other threads
    // send to its windows, so a thread that sends to them can still finish.
    virtual void Join(DWORD dwTimeout);
    virtual void Join();
    // Creates the thread suspended, then resumes it; nothing happens while the
    // object holds a thread. On failure GetHandle() stays NULL.
    virtual void Start();
    // Ask Run to finish (ShouldExit) and wait for it, or only ask.
    virtual void Stop();
    virtual void StopNoJoin();
    // Ends the thread at once with exit code 1; no listener is told.
    virtual void Terminate();
    virtual void Suspend();
    virtual void Resume();
    // Listeners are not owned; they run on the ending thread, in order of addition.
    virtual void AddThreadTerminationListener(IThreadTerminationListener* pListener);
    virtual void RemoveThreadTerminationListener(IThreadTerminationListener* pListener);

    // The thread's body: calls the runnable given to the constructor, if any.
    virtual void Run();

    static void Join(void* hThread, DWORD dwTimeout);
    static CThinThread* GetThreadByID(DWORD dwThreadID);
    static void Sleep(long lMilliseconds);

// Attributes
    BOOL IsActive() const;
    BOOL ShouldExit() const { return m_bExit; }
    void* GetHandle() const { return m_hThread; }
    operator void*() const { return m_hThread; }
    DWORD GetThreadID() const { return m_dwThreadID; }
    Priority GetPriority() const;
    void SetPriority(Priority priority);
    // Same thread id (two objects without a thread are equal).
    BOOL Equals(const CThinThread& other) const;
    BOOL Equals(const CThinThread* pOther) const;

// Implementation
protected:
    void FireThreadTerminate();
    static unsigned int __stdcall ThreadProc(void* pParam);

    // Written by controlling threads and by the ending thread, read without a lock.
    HANDLE volatile m_hThread;
    volatile DWORD m_dwThreadID;
    IRunnable* m_pRunnable;
    volatile BOOL m_bExit;
    CTypedPtrList<CPtrList, IThreadTerminationListener*> m_listeners;
    CCriticalSection m_csListeners;

    // Thread id -> the object running on that thread, and its lock.
    static CMap<unsigned long, unsigned long, CThinThread*, CThinThread*> s_ThreadMap;
    static CCriticalSection s_csThreadMap;

    // The thread that loaded the library: the value of GetCurrentThread() and the
    // id, both taken on that thread.
    static HANDLE s_hMainThread;
    static DWORD s_dwMainThreadID;
};
