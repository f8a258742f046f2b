// MsgHook.h - chains of window-procedure hooks per window.
//
//   IMsgHookCallback   sees a hooked window's messages before and after the rest
//                      of the chain, and may swallow them
//   CMsgHook           one hook: subclasses the window (the first hook of a
//                      window does), passes each message to its callback, to the
//                      older hooks and finally to the window's own procedure
//
// The newest hook of a window sees a message first on the way in and last on the
// way out. Hooks run on the thread that owns the window; the library takes no lock
// around the chains.
#pragma once

#include <afxwin.h>

/////////////////////////////////////////////////////////////////////////////
// IMsgHookCallback

class IMsgHookCallback
{
public:
    // Before the message goes on. Setting bHandled swallows it; lResult is then
    // what the window procedure returns.
    virtual void OnForwardingMessage(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam,
        LRESULT& lResult, BOOL& bHandled) = 0;
    // After the rest of the chain has handled it; lResult may be changed. pWnd is
    // NULL once WM_NCDESTROY has unhooked the window.
    virtual void OnForwardedMessage(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam,
        LRESULT& lResult) = 0;
};

/////////////////////////////////////////////////////////////////////////////
// CMsgHook

class AFX_EXT_CLASS CMsgHook : public CObject
{
    DECLARE_DYNAMIC(CMsgHook)

public:
// Construction
    // The callback is not owned and may be NULL.
    explicit CMsgHook(IMsgHookCallback* pCallback = NULL);
    // Removes the hook from its window's chain.
    virtual ~CMsgHook();

    // A hook deleted while it handles a message (from its own callback, say) is
    // destroyed at once but its memory is released when that message is done.
    static void PASCAL operator delete(void* p);
    static void PASCAL operator delete(void* p, void* pPlace);
    // The allocation that goes with them (the framework's, as for every object).
    static void* PASCAL operator new(size_t nSize);
    static void* PASCAL operator new(size_t, void* p) { return p; }

// Operations
    // FALSE when this hook is installed already or the window cannot be subclassed.
    BOOL Install(CWnd* pWnd);
    // A window without a framework object gets one for the time it is hooked.
    BOOL Install(HWND hWnd);
    // FALSE when not installed, or no longer in its window's chain.
    BOOL Remove();
    BOOL IsHooked() const;
    // The current message (the thread's record of it), passed on as this hook
    // would pass it: callback, older hooks, window. For overrides of WindowProc.
    LRESULT Default();

    // Unhooks the window from all its hooks (which are not deleted). FALSE when
    // the window has no hooks.
    static BOOL RemoveAllHooks(CWnd* pWnd);
    static BOOL RemoveAllHooks(HWND hWnd);

    // The procedure of hooked windows.
    static LRESULT CALLBACK HookWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // One hook's handling of a message.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Clears the callback and marks the hook for deletion; TRUE when no message
    // is in progress, so the memory may go now.
    BOOL PrepareDeletion();

    // The state of the hook, shared with the ready-made hooks that derive from it.
    IMsgHookCallback* m_pCallback;
    CWnd* m_pWnd;
    BOOL m_bOwnWnd;             // m_pWnd was made by Install(HWND)
    WNDPROC m_pfnOldWndProc;    // the window's procedure before its first hook
    CMsgHook* m_pNext;          // the hook installed before this one
    LONG m_nBusy;               // WindowProc calls in progress
    BOOL m_bDeletePending;

private:
    // Leaves one WindowProc call; releases the memory of a hook deleted meanwhile.
    LRESULT EndCall(LRESULT lResult);

    // The first hook of every hooked window, by window handle. Defined with the
    // library's other process-wide objects.
    static CMapPtrToPtr s_hookMap;
    static CMsgHook* FirstHook(HWND hWnd);

    CMsgHook(const CMsgHook&);
    void operator=(const CMsgHook&);
};
