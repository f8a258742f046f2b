// afxstat_.h - module and thread state.
//
//   CNoTrackObject          base of the framework's per-thread and per-process records
//   CThreadLocal<T>         one T per thread, created on first use, freed when the thread ends
//   CProcessLocal<T>        one T per process, created on first use
//   AFX_MODULE_STATE        what belongs to a module: its instance and resource handles,
//                           its application object, its extension libraries
//   AFX_MODULE_THREAD_STATE what belongs to a module on one thread: its thread object and
//                           the handle maps
//   _AFX_THREAD_STATE       what belongs to a thread: the module state it runs in, the
//                           last sent message, window-creation bookkeeping
//   AFX_MAINTAIN_STATE(2), AFX_MANAGE_STATE   switch the module state for a scope
//
// The per-thread records live in a TLS slot of the framework DLL; a thread's records
// are freed when it ends (DLL_THREAD_DETACH), so short-lived threads cost nothing.
// Included by afx.h after the exception, file and archive headers.
#pragma once

#include "afxver_.h"

class CWinApp;
class CWinThread;
class CWnd;
class CHandleMap;
class CDynLinkLibrary;

/////////////////////////////////////////////////////////////////////////////
// CNoTrackObject: the framework's own records are allocated zero-filled from the
// framework DLL's heap, whichever module creates them, and are never reported as
// leaks of the application.

class AFX_CORE_CLASS CNoTrackObject
{
public:
    void* PASCAL operator new(size_t nSize);
    void PASCAL operator delete(void* p);
    virtual ~CNoTrackObject() {}
};

/////////////////////////////////////////////////////////////////////////////
// CSimpleList: an intrusive singly linked list; each element holds its own link
// at a fixed offset.

class AFX_CORE_CLASS CSimpleList
{
public:
    CSimpleList(int nNextOffset = 0) : m_pHead(NULL), m_nNextOffset((size_t)nNextOffset) {}
    void Construct(int nNextOffset) { m_nNextOffset = (size_t)nNextOffset; }

    BOOL IsEmpty() const { return m_pHead == NULL; }
    void AddHead(void* p);
    void RemoveAll() { m_pHead = NULL; }
    void* GetHead() const { return m_pHead; }
    void* GetNext(void* p) const { return *GetNextPtr(p); }
    // FALSE when p is not in the list.
    BOOL Remove(void* p);

    void* m_pHead;
    size_t m_nNextOffset;

    void** GetNextPtr(void* p) const { return (void**)((BYTE*)p + m_nNextOffset); }
};

template<class TYPE>
class CTypedSimpleList : public CSimpleList
{
public:
    CTypedSimpleList(int nNextOffset = 0) : CSimpleList(nNextOffset) {}
    void AddHead(TYPE p) { CSimpleList::AddHead((void*)p); }
    TYPE GetHead() const { return (TYPE)CSimpleList::GetHead(); }
    TYPE GetNext(TYPE p) const { return (TYPE)CSimpleList::GetNext((void*)p); }
    BOOL Remove(TYPE p) { return CSimpleList::Remove((void*)p); }
    operator TYPE() const { return (TYPE)CSimpleList::GetHead(); }
};

/////////////////////////////////////////////////////////////////////////////
// Thread-local and process-local objects. A CThreadLocal takes a slot of the
// framework's TLS block on first use and gives it back (freeing every thread's
// object in it) when it is destroyed. Objects of such globals are constant-
// initialised, so they may be used during the static construction of any module.

class AFX_CORE_CLASS CThreadLocalObject
{
public:
    constexpr CThreadLocalObject() : m_nSlot(0) {}
    ~CThreadLocalObject();

    // This thread's object, created with pfnCreateObject when there is none yet.
    // Throws CMemoryException when no slot or record can be had.
    CNoTrackObject* GetData(CNoTrackObject* (AFXAPI* pfnCreateObject)());
    // This thread's object, or NULL when it has none.
    CNoTrackObject* GetDataNA();

    LONG m_nSlot;   // 0 until the first use

private:
    CThreadLocalObject(const CThreadLocalObject&);
    void operator=(const CThreadLocalObject&);
};

class AFX_CORE_CLASS CProcessLocalObject
{
public:
    constexpr CProcessLocalObject() : m_pObject(NULL) {}
    ~CProcessLocalObject();

    CNoTrackObject* GetData(CNoTrackObject* (AFXAPI* pfnCreateObject)());

    CNoTrackObject* volatile m_pObject;

private:
    CProcessLocalObject(const CProcessLocalObject&);
    void operator=(const CProcessLocalObject&);
};

template<class TYPE>
class CThreadLocal : public CThreadLocalObject
{
public:
    constexpr CThreadLocal() {}

    TYPE* GetData() { return static_cast<TYPE*>(CThreadLocalObject::GetData(&CreateObject)); }
    TYPE* GetDataNA() { return static_cast<TYPE*>(CThreadLocalObject::GetDataNA()); }
    operator TYPE*() { return GetData(); }
    TYPE* operator->() { return GetData(); }

    static CNoTrackObject* AFXAPI CreateObject() { return new TYPE; }
};

template<class TYPE>
class CProcessLocal : public CProcessLocalObject
{
public:
    constexpr CProcessLocal() {}

    TYPE* GetData() { return static_cast<TYPE*>(CProcessLocalObject::GetData(&CreateObject)); }
    TYPE* GetDataNA() { return static_cast<TYPE*>(m_pObject); }
    operator TYPE*() { return GetData(); }
    TYPE* operator->() { return GetData(); }

    static CNoTrackObject* AFXAPI CreateObject() { return new TYPE; }
};

#define THREAD_LOCAL(class_name, ident_name) \
    AFX_DATADEF CThreadLocal<class_name> ident_name;
#define EXTERN_THREAD_LOCAL(class_name, ident_name) \
    extern CThreadLocal<class_name> ident_name;
#define PROCESS_LOCAL(class_name, ident_name) \
    AFX_DATADEF CProcessLocal<class_name> ident_name;
#define EXTERN_PROCESS_LOCAL(class_name, ident_name) \
    extern CProcessLocal<class_name> ident_name;

/////////////////////////////////////////////////////////////////////////////
// AFX_MODULE_THREAD_STATE: a module's state on one thread

class AFX_CORE_CLASS AFX_MODULE_THREAD_STATE : public CNoTrackObject
{
public:
    AFX_MODULE_THREAD_STATE();
    virtual ~AFX_MODULE_THREAD_STATE();

    // The CWinThread object running this thread (the application object on the
    // main thread), or NULL for a thread the framework did not start.
    CWinThread* m_pCurrentWinThread;

    // Handle maps from Windows handles to their C++ objects, created on demand by
    // the window classes; each thread has its own.
    CHandleMap* m_pmapHWND;
    CHandleMap* m_pmapHMENU;
    CHandleMap* m_pmapHDC;
    CHandleMap* m_pmapHGDIOBJ;
    CHandleMap* m_pmapHIMAGELIST;

    // While non-zero, idle processing keeps the temporary objects of the maps.
    int m_nTempMapLock;

private:
    AFX_MODULE_THREAD_STATE(const AFX_MODULE_THREAD_STATE&);
    void operator=(const AFX_MODULE_THREAD_STATE&);
};

/////////////////////////////////////////////////////////////////////////////
// AFX_MODULE_STATE: the state of the application or of a DLL with its own state

// Bits of AFX_MODULE_STATE::m_fRegisteredClasses: the window classes a module has
// registered already.
#define AFX_WND_REG             0x00001
#define AFX_WNDCONTROLBAR_REG   0x00002
#define AFX_WNDMDIFRAME_REG     0x00004
#define AFX_WNDFRAMEORVIEW_REG  0x00008
#define AFX_WNDCOMMCTLS_REG     0x00010
#define AFX_WNDOLECONTROL_REG   0x00020
#define AFX_WNDCOMMCTL_UPDOWN_REG 0x00040

class AFX_CORE_CLASS AFX_MODULE_STATE : public CNoTrackObject
{
public:
    explicit AFX_MODULE_STATE(BOOL bDLL);
    AFX_MODULE_STATE(BOOL bDLL, WNDPROC pfnAfxWndProc, DWORD dwVersion);
    virtual ~AFX_MODULE_STATE();

    CWinApp* m_pCurrentWinApp;
    HINSTANCE m_hCurrentInstanceHandle;
    HINSTANCE m_hCurrentResourceHandle;
    LPCTSTR m_lpszCurrentAppName;
    BYTE m_bDLL;        // the state of a DLL rather than of the application
    BYTE m_bSystem;     // the state of the framework itself (searched after the others)
    BYTE m_bReserved[2];

    DWORD m_fRegisteredClasses;
    WNDPROC m_pfnAfxWndProc;
    DWORD m_dwVersion;

    // The extension libraries registered with this module, newest first. Take
    // m_lockLibraryList (shared to walk, exclusive to change) around any use.
    CTypedSimpleList<CDynLinkLibrary*> m_libraryList;
    SRWLOCK m_lockLibraryList;

    // This module's state on each thread (AfxGetModuleThreadState).
    CThreadLocal<AFX_MODULE_THREAD_STATE> m_thread;

private:
    void Construct(BOOL bDLL, WNDPROC pfnAfxWndProc, DWORD dwVersion);

    AFX_MODULE_STATE(const AFX_MODULE_STATE&);
    void operator=(const AFX_MODULE_STATE&);
};

/////////////////////////////////////////////////////////////////////////////
// _AFX_THREAD_STATE: the state of one thread

class AFX_CORE_CLASS _AFX_THREAD_STATE : public CNoTrackObject
{
public:
    _AFX_THREAD_STATE();
    virtual ~_AFX_THREAD_STATE();

    // The module state this thread runs in; NULL means the application's.
    AFX_MODULE_STATE* m_pModuleState;
    AFX_MODULE_STATE* m_pPrevModuleState;

    // The message the window procedure is handling (CWnd::GetCurrentMessage).
    MSG m_lastSentMsg;

    // Window creation: the CWnd being attached by the CBT hook and the hook chain.
    CWnd* m_pWndInit;
    CWnd* m_pAlternateWndInit;
    HHOOK m_hHookOldCbtFilter;
    HHOOK m_hHookOldMsgFilter;
    DWORD m_dwPropStyle;
    DWORD m_dwPropExStyle;
    HWND m_hWndInit;
    BOOL m_bDlgCreate;

    // Menu tracking and notification lock-out of the frame windows.
    HWND m_hTrackingWindow;
    HMENU m_hTrackingMenu;
    HWND m_hLockoutNotifyWindow;
    BOOL m_bInMsgFilter;

    // Tool tips and fly-by status help: the last hit-test result and status text.
    CWnd* m_pLastHit;
    int m_nLastHit;
    int m_nLastStatus;

    // Scratch buffer for generated window class names.
    TCHAR m_szTempClassName[96];

private:
    _AFX_THREAD_STATE(const _AFX_THREAD_STATE&);
    void operator=(const _AFX_THREAD_STATE&);
};

/////////////////////////////////////////////////////////////////////////////
// Access to the states

// The calling thread's state, created on first use (CMemoryException when it
// cannot be allocated).
AFX_CORE_API _AFX_THREAD_STATE* AFXAPI AfxGetThreadState();
// The module state the calling thread runs in: the one set by AfxSetModuleState or
// AFX_MANAGE_STATE, otherwise the application's.
AFX_CORE_API AFX_MODULE_STATE* AFXAPI AfxGetModuleState();
// The application's module state (process-wide, set up when the framework loads).
AFX_CORE_API AFX_MODULE_STATE* AFXAPI AfxGetAppModuleState();
// Makes pNewState (NULL: the application's) the calling thread's module state and
// returns the one it ran in before.
AFX_CORE_API AFX_MODULE_STATE* AFXAPI AfxSetModuleState(AFX_MODULE_STATE* pNewState);
// The current module's state on the calling thread.
AFX_CORE_API AFX_MODULE_THREAD_STATE* AFXAPI AfxGetModuleThreadState();

// Handles and name of the current module.
AFX_CORE_API HINSTANCE AFXAPI AfxGetInstanceHandle();
AFX_CORE_API HINSTANCE AFXAPI AfxGetResourceHandle();
AFX_CORE_API void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
AFX_CORE_API LPCTSTR AFXAPI AfxGetAppName();

#define afxCurrentWinApp          AfxGetModuleState()->m_pCurrentWinApp
#define afxCurrentInstanceHandle  AfxGetModuleState()->m_hCurrentInstanceHandle
#define afxCurrentResourceHandle  AfxGetModuleState()->m_hCurrentResourceHandle
#define afxCurrentAppName         AfxGetModuleState()->m_lpszCurrentAppName

/////////////////////////////////////////////////////////////////////////////
// Switching the module state for a scope. The previous state comes back when the
// object is destroyed, also when an exception leaves the scope.

struct AFX_CORE_CLASS AFX_MAINTAIN_STATE
{
    explicit AFX_MAINTAIN_STATE(AFX_MODULE_STATE* pModuleState);
    ~AFX_MAINTAIN_STATE();

protected:
    AFX_MODULE_STATE* m_pPrevModuleState;

private:
    AFX_MAINTAIN_STATE(const AFX_MAINTAIN_STATE&);
    void operator=(const AFX_MAINTAIN_STATE&);
};

// The form behind AFX_MANAGE_STATE: it keeps the thread state it changed, so the
// restore needs no second look-up.
struct AFX_CORE_CLASS AFX_MAINTAIN_STATE2
{
    explicit AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* pModuleState);
    ~AFX_MAINTAIN_STATE2()
    {
        if (m_pThreadState != NULL)
            m_pThreadState->m_pModuleState = m_pPrevModuleState;
    }

protected:
    AFX_MODULE_STATE* m_pPrevModuleState;
    _AFX_THREAD_STATE* m_pThreadState;

private:
    AFX_MAINTAIN_STATE2(const AFX_MAINTAIN_STATE2&);
    void operator=(const AFX_MAINTAIN_STATE2&);
};

#define AFX_MANAGE_STATE(p) AFX_MAINTAIN_STATE2 _ctlState(p);
