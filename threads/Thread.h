// Thread.h - a thin thread that runs on a framework thread object.
//
//   CThread   a CThinThread created and ended through CWinThread, so the
//             framework's per-thread state is set up for it; its Run sees the
//             window, menu and image-list objects of the thread that started it,
//             and that thread's main window
#pragma once

#include <afxwin.h>

#include "ThinThread.h"

class AFX_EXT_CLASS CThread : public CThinThread
{
    DECLARE_DYNAMIC(CThread)

public:
// Construction
    CThread();
    // The runnable is not owned; NULL makes Run return at once.
    explicit CThread(IRunnable* pRunnable);
    // Stops a running thread (waiting without limit for Run to return).
    virtual ~CThread();

// Attributes
    // The running thread's handle, NULL when none runs.
    operator void*() const;

// Operations
    // Must be called on a thread with a framework thread object (the main
    // thread, or one the framework started). Does nothing while a thread runs.
    virtual void Start();
    virtual void Terminate();
    virtual void Suspend();
    virtual void Resume();

protected:
    // The framework thread's controlling function; pParam is the CThread.
    static UINT AFX_CDECL ThreadProc(void* pParam);

private:
    // Copies a handle map's permanent entries into a new map of the same kind.
    static CHandleMap* CloneHandleMap(CHandleMap* pMap);

    CWinThread* m_pWinThread;               // owned, reused by every start

    CHandleMap* m_pWorkerWndMap;            // the worker's own maps, while it runs
    CHandleMap* m_pWorkerMenuMap;
    CHandleMap* m_pWorkerImageListMap;
    CWnd* m_pWorkerMainWnd;

    CHandleMap* m_pStarterWndMap;           // the starting thread's maps, taken by Start
    CHandleMap* m_pStarterMenuMap;
    CHandleMap* m_pStarterImageListMap;
    CWnd* m_pStarterMainWnd;

    // The copies installed in the worker, so that Terminate can free them when
    // the worker cannot.
    CHandleMap* volatile m_pClones[3];
};
