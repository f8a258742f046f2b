// CurrentThread.h - threads the library did not start, seen as CThinThread objects.
//
//   CCurrentThread   the thread that constructs it (owns a real handle of it)
//   CMainThread      the thread that loaded the library
//
// Neither runs a body of its own; termination listeners are ignored.
#pragma once

#include "ThinThread.h"

/////////////////////////////////////////////////////////////////////////////
// CCurrentThread

class AFX_EXT_CLASS CCurrentThread : public CThinThread
{
    DECLARE_DYNAMIC(CCurrentThread)

public:
    CCurrentThread();
    virtual ~CCurrentThread();

    virtual void AddThreadTerminationListener(IThreadTerminationListener* pListener);
    virtual void RemoveThreadTerminationListener(IThreadTerminationListener* pListener);
};

/////////////////////////////////////////////////////////////////////////////
// CMainThread
//
// Holds the id of the main thread and the value of GetCurrentThread() taken on
// it. That value stands for whichever thread uses it, so the handle-based
// members (priority, Suspend, Resume, IsActive, Join) act on the calling thread;
// only the id designates the main thread.

class AFX_EXT_CLASS CMainThread : public CThinThread
{
    DECLARE_DYNAMIC(CMainThread)

public:
    CMainThread();
    virtual ~CMainThread();

    virtual void AddThreadTerminationListener(IThreadTerminationListener* pListener);
    virtual void RemoveThreadTerminationListener(IThreadTerminationListener* pListener);
};
