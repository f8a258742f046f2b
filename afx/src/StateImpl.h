// StateImpl.h - what the framework DLL's start-up code and the resource chain
// share with the module and thread state; not part of the public headers.
#pragma once

#include "afx.h"

// The framework DLL itself: the last module of the resource chain.
extern HINSTANCE _afxFrameworkInstance;

// Called from the framework DLL's entry point.
BOOL AfxInitFrameworkState(HINSTANCE hInstance);
// Frees the calling thread's per-thread records (DLL_THREAD_DETACH).
void AfxTermThreadState();
// Frees every thread's records (DLL_PROCESS_DETACH). bProcessEnding: the process
// is exiting, the other threads are gone and the TLS index need not be returned.
void AfxTermFrameworkState(BOOL bProcessEnding);

// An SRW lock held for a scope, released also when an exception passes.
class CSRWLockScope
{
public:
    CSRWLockScope(SRWLOCK& lock, bool bExclusive)
        : m_lock(lock), m_bExclusive(bExclusive)
    {
        if (m_bExclusive)
            ::AcquireSRWLockExclusive(&m_lock);
        else
            ::AcquireSRWLockShared(&m_lock);
    }
    ~CSRWLockScope()
    {
        if (m_bExclusive)
            ::ReleaseSRWLockExclusive(&m_lock);
        else
            ::ReleaseSRWLockShared(&m_lock);
    }
    CSRWLockScope(const CSRWLockScope&) = delete;
    CSRWLockScope& operator=(const CSRWLockScope&) = delete;

private:
    SRWLOCK& m_lock;
    bool m_bExclusive;
};
