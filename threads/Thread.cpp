// CThread: a thin thread on a framework thread object, with the starter's
// window objects visible.
#include "Thread.h"

#include "ThreadInternal.h"

#include <afxmt.h>

IMPLEMENT_DYNAMIC(CThread, CThinThread)

CThread::CThread()
    : CThread(NULL)
{
}

CThread::CThread(IRunnable* pRunnable)
    : CThinThread(pRunnable), m_pWinThread(NULL),
      m_pWorkerWndMap(NULL), m_pWorkerMenuMap(NULL), m_pWorkerImageListMap(NULL),
      m_pWorkerMainWnd(NULL),
      m_pStarterWndMap(NULL), m_pStarterMenuMap(NULL), m_pStarterImageListMap(NULL),
      m_pStarterMainWnd(NULL)
{
    m_pClones[0] = m_pClones[1] = m_pClones[2] = NULL;
    m_pWinThread = new CWinThread(&CThread::ThreadProc, this);
    m_pWinThread->m_bAutoDelete = FALSE;
}

CThread::~CThread()
{
    if (IsActive())
        Stop();
    delete m_pWinThread;
}

CThread::operator void*() const
{
    return m_pWinThread->m_hThread;
}

void CThread::Start()
{
    if (IsActive())
        return;

    AFX_MODULE_THREAD_STATE* pState = AfxGetModuleThreadState();
    m_pStarterWndMap = pState->m_pmapHWND;
    m_pStarterMenuMap = pState->m_pmapHMENU;
    m_pStarterImageListMap = pState->m_pmapHIMAGELIST;
    CWinThread* pStarter = AfxGetThread();
    m_pStarterMainWnd = pStarter != NULL ? pStarter->GetMainWnd() : NULL;

    m_bExit = FALSE;
    if (!m_pWinThread->CreateThread(CREATE_SUSPENDED, 0, NULL))
        return;
    m_dwThreadID = m_pWinThread->m_nThreadID;
    m_hThread = m_pWinThread->m_hThread;
    ::ResumeThread(m_hThread);
}

void CThread::Suspend()
{
    ::SuspendThread(m_pWinThread->m_hThread);
}

void CThread::Resume()
{
    ::ResumeThread(m_pWinThread->m_hThread);
}

CHandleMap* CThread::CloneHandleMap(CHandleMap* pMap)
{
    if (pMap == NULL)
        return NULL;
    CHandleMap* pClone = new CHandleMap(pMap->m_pClass, pMap->m_nOffset, pMap->m_nHandles);
    POSITION pos = pMap->m_permanentMap.GetStartPosition();
    while (pos != NULL) {
        void* h;
        void* pObject;
        pMap->m_permanentMap.GetNextAssoc(pos, h, pObject);
        pClone->m_permanentMap.SetAt(h, pObject);
    }
    return pClone;
}

UINT AFX_CDECL CThread::ThreadProc(void* pParam)
{
    CThread* pThis = static_cast<CThread*>(pParam);
    AFX_MODULE_THREAD_STATE* pState = AfxGetModuleThreadState();
    CWinThread* pWinThread = AfxGetThread();

    // The worker's own state, put back when Run is done.
    pThis->m_pWorkerWndMap = pState->m_pmapHWND;
    pThis->m_pWorkerMenuMap = pState->m_pmapHMENU;
    pThis->m_pWorkerImageListMap = pState->m_pmapHIMAGELIST;
    pThis->m_pWorkerMainWnd = pWinThread->GetMainWnd();

    // The starter's objects, by copies of its maps: the objects are shared, the
    // worker's temporary objects stay its own.
    pState->m_pmapHWND = pThis->m_pClones[0] = CloneHandleMap(pThis->m_pStarterWndMap);
    pState->m_pmapHMENU = pThis->m_pClones[1] = CloneHandleMap(pThis->m_pStarterMenuMap);
    pState->m_pmapHIMAGELIST = pThis->m_pClones[2] = CloneHandleMap(pThis->m_pStarterImageListMap);
    pWinThread->m_pMainWnd = pThis->m_pStarterMainWnd;

    {
        CSingleLock lock(&s_csThreadMap, TRUE);
        s_ThreadMap[pThis->m_dwThreadID] = pThis;
    }

    static_cast<IRunnable*>(pThis)->Run();
    pThis->FireThreadTerminate();

    {
        CSingleLock lock(&s_csThreadMap, TRUE);
        s_ThreadMap.RemoveKey(pThis->m_dwThreadID);
    }

    // Whatever maps are installed now go (with the temporary objects the worker
    // made); the worker's own come back.
    CHandleMap** maps[] = { &pState->m_pmapHWND, &pState->m_pmapHMENU, &pState->m_pmapHIMAGELIST };
    CHandleMap* saved[] = { pThis->m_pWorkerWndMap, pThis->m_pWorkerMenuMap,
                            pThis->m_pWorkerImageListMap };
    for (int i = 0; i < 3; i++) {
        // Taken from Terminate's reach before it goes.
        pThis->m_pClones[i] = NULL;
        CHandleMap* pMap = *maps[i];
        *maps[i] = saved[i];
        if (pMap != NULL) {
            pMap->DeleteTemp();
            delete pMap;
        }
    }
    pWinThread->m_pMainWnd = pThis->m_pWorkerMainWnd;

    // The object may be restarted (or destroyed) as soon as the handle is
    // cleared; the handle itself is closed once nobody uses it.
    pThis->m_dwThreadID = 0;
    HANDLE hThread = ::InterlockedExchangePointer(&pThis->m_hThread, NULL);
    pWinThread->m_nThreadID = 0;
    pWinThread->m_hThread = NULL;
    if (hThread != NULL)
        wivothread::RetireHandle(hThread);
    AfxEndThread(0, FALSE);
}

void CThread::Terminate()
{
    Suspend();
    // The killed worker cannot put its state back: its copies of the starter's
    // maps are freed here. The caller's own maps and main window are left alone.
    for (int i = 0; i < 3; i++) {
        CHandleMap* pClone = m_pClones[i];
        m_pClones[i] = NULL;
        if (pClone != NULL) {
            pClone->DeleteTemp();
            delete pClone;
        }
    }
    m_pWinThread->m_pMainWnd = NULL;
    // The handle is the framework thread object's too; CThinThread closes it.
    m_pWinThread->m_hThread = NULL;
    m_pWinThread->m_nThreadID = 0;
    CThinThread::Terminate();
}
