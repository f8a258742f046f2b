// Helpers for the tests that use windows: a message recorder with sequence checks,
// a driver that works modal dialogs, message boxes and popup menus from a second
// thread, and message pumps that end.
//
//   MsgRecorder     records the messages windows get, from window procedures,
//                   subclass procedures, message hooks and message-map handlers
//   ExpectSequence  compares what was recorded with an expected list and reports
//                   the first difference as a test failure at the caller's line
//   ModalDriver     runs a script on its own thread while the test thread sits in
//                   a modal call; every wait has a time limit, and a script that
//                   fails closes whatever modal window is left so the call returns
//   PumpUntil       processes messages until a condition holds or time runs out
#pragma once

#include "TestSupport.h"

#include <afxwin.h>

#include <functional>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

class IMsgHookCallback;

namespace wivotest {

/////////////////////////////////////////////////////////////////////////////
// Recorded and expected messages

// How a message arrived, and which of its values an expected entry checks.
enum MsgFlags : unsigned
{
    sent = 0x001,       // by SendMessage (or a call of the window procedure)
    posted = 0x002,     // taken from the queue and dispatched
    parent = 0x004,     // seen by a window watched as a parent
    hook = 0x008,       // seen by a message hook callback
    defwinproc = 0x010, // while the default procedure handled another message
    beginpaint = 0x020, // while BeginPaint ran
    wparam = 0x100,     // expected only: wParam must match
    lparam = 0x200,     // expected only: lParam must match
    optional = 0x400,   // expected only: may be missing
};

// How a message arrived: the flags an entry must have exactly.
const unsigned kMsgKindFlags = sent | posted | parent | hook | defwinproc | beginpaint;

struct MsgEntry
{
    MsgEntry(UINT m, unsigned f, WPARAM w = 0, LPARAM l = 0)
        : message(m), flags(f), wParam(w), lParam(l)
    {
    }
    UINT message;
    unsigned flags;
    WPARAM wParam;
    LPARAM lParam;
};

// "WM_SIZE", "WM_USER+5", "WM_APP+1", a registered message's name, or the number.
std::string MessageName(UINT message);

// One entry as text: name, flags and the values the entry shows.
std::string Describe(const MsgEntry& entry);

/////////////////////////////////////////////////////////////////////////////
// MsgRecorder

// Records messages of any thread. The newest recorder alive is the current one:
// RecordingProc, the subclass procedure, HookCallback and RecordingWnd record into it.
// Messages on the ignore list (by default those that come and go with the mouse,
// the input method, icons and accessibility under Wine) are not recorded.
class MsgRecorder
{
public:
    MsgRecorder();
    ~MsgRecorder();
    MsgRecorder(const MsgRecorder&) = delete;
    MsgRecorder& operator=(const MsgRecorder&) = delete;

    // The newest recorder alive, or NULL.
    static MsgRecorder* Current();

    // Records only messages of watched windows once any is watched; extraFlags
    // (parent, say) go into each of that window's entries.
    void Watch(HWND hWnd, unsigned extraFlags = 0);
    void Ignore(std::initializer_list<UINT> messages);
    void Unignore(std::initializer_list<UINT> messages);

    // Records one message of hWnd. Unless flags say sent or posted, the recorder
    // tells which: a message dispatched from the queue is posted, others are sent.
    void Add(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, unsigned flags = 0);
    // The message a framework window is handling (CWnd::GetCurrentMessage).
    void Add(const MSG& msg, unsigned flags = 0);

    std::vector<MsgEntry> Entries() const;
    void Clear();
    // Processes every waiting message, then forgets what was recorded.
    void Flush();

    // Calls DefWindowProc so that what it sends on is recorded with defwinproc.
    static LRESULT DefProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // A window procedure that records everything, paints with BeginPaint/EndPaint
    // and leaves the rest to DefProc. RecordingClass registers a class with it.
    static LRESULT CALLBACK RecordingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LPCWSTR RecordingClass();
    // A SetWindowSubclass procedure that records, then passes the message on.
    static LRESULT CALLBACK RecordingSubclass(HWND hWnd, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR id, DWORD_PTR data);
    // A CMsgHook callback that records each message on its way in, flagged hook.
    static IMsgHookCallback* HookCallback();

private:
    friend struct RecorderAccess;
    mutable CRITICAL_SECTION m_lock;
    std::vector<MsgEntry> m_entries;
    std::set<UINT> m_ignored;
    std::vector<std::pair<HWND, unsigned>> m_watched;
    MsgRecorder* m_pPrevious;
};

// Compares what the recorder holds with expected, reports the first difference as a
// non-fatal failure at the caller's line (with context), then clears the recorder.
// Entries are matched in order; an optional one may be skipped; wParam and lParam
// count only when the entry's flags say so. True when they agree.
bool ExpectSequence(MsgRecorder& recorder, const std::vector<MsgEntry>& expected,
                    const char* context = "", const char* file = __builtin_FILE(),
                    int line = __builtin_LINE());

// A framework window class that records every message it gets before its message
// map does, and what its default procedure sends on as defwinproc.
template <class TBase = CWnd>
class RecordingWnd : public TBase
{
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (MsgRecorder* pRecorder = MsgRecorder::Current())
            pRecorder->Add(this->m_hWnd, message, wParam, lParam);
        return TBase::WindowProc(message, wParam, lParam);
    }
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Counts the default procedure's depth on this thread, for RecordingWnd.
class DefProcScope
{
public:
    DefProcScope();
    ~DefProcScope();
};

template <class TBase>
LRESULT RecordingWnd<TBase>::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    DefProcScope scope;
    return TBase::DefWindowProc(message, wParam, lParam);
}

/////////////////////////////////////////////////////////////////////////////
// Pumps

// Processes this thread's messages until pred() holds (true) or dwTimeout
// milliseconds have passed (false).
bool PumpUntil(const std::function<bool()>& pred, DWORD dwTimeout = 5000);
// Processes messages until none is waiting (or dwTimeout has passed).
void PumpIdle(DWORD dwTimeout = 2000);
// Processes messages for dwMillis milliseconds.
void PumpFor(DWORD dwMillis);

// Calls f once from this thread's message loop (any loop: a modal one too) after
// dwDelay milliseconds.
void CallSoon(std::function<void()> f, UINT dwDelay = 10);

/////////////////////////////////////////////////////////////////////////////
// ModalDriver

// Runs a script on a second thread against the windows of one thread (by default
// the one that makes the driver), which is meant to enter a modal call meanwhile:
//
//     ModalDriver driver([](ModalDriver& d) {
//         HWND hBox = d.WaitForDialog(L"Title");
//         d.Check(d.StaticText(hBox) == L"Sure?", "the question");
//         d.Press(hBox, IDYES);
//     });
//     EXPECT_EQ(IDYES, ::MessageBoxW(...));
//     driver.Join();
//
// The waits fail after the driver's timeout. A failed wait or check stops the
// script; the driver then closes the dialogs and menus of the thread until Join is
// called, so the modal call returns. Join reports the failures at its caller's line.
class ModalDriver
{
public:
    typedef std::function<void(ModalDriver&)> Script;

    explicit ModalDriver(Script script, DWORD dwTimeout = 10000,
                         DWORD dwThreadId = ::GetCurrentThreadId());
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    // Waits for the script's end; failures become test failures. True when none.
    bool Join(const char* file = __builtin_FILE(), int line = __builtin_LINE());

    // For the script. The waits and actions throw to end the script on failure.
    // A visible, enabled top-level window of the thread with this class and, unless
    // NULL, this title.
    HWND WaitForWindow(LPCWSTR className, LPCWSTR title = NULL);
    HWND WaitForDialog(LPCWSTR title = NULL) { return WaitForWindow(L"#32770", title); }
    // Waits until hWnd is gone.
    void WaitForClose(HWND hWnd);
    // The texts of the dialog's static controls, joined by new lines (a message
    // box's text).
    CString StaticText(HWND hDlg);
    CString Text(HWND hWnd);
    // A dialog's control by id, or a button by its caption ('&' ignored).
    HWND Control(HWND hDlg, int nID);
    HWND Button(HWND hDlg, LPCWSTR caption);
    // Clicks a button of the dialog.
    void Press(HWND hDlg, int nID);
    void Press(HWND hDlg, LPCWSTR caption);
    void Click(HWND hButton);
    // Types text as characters into a control (NULL: the thread's focus).
    void Type(LPCWSTR text, HWND hControl = NULL);
    // A key press sent to hWnd (NULL: the thread's focus).
    void Key(UINT vk, HWND hWnd = NULL);
    // The thread's focus window.
    HWND Focus();
    // The open popup menu deepest in the chain.
    HWND WaitForMenu();
    // Chooses the item with this command id of the open menu by keyboard.
    void ChooseMenuItem(UINT nID);
    // Closes every open menu of the thread.
    void CloseMenus();
    // A check of the script: a failure stops it.
    void Check(bool ok, const std::string& what);
    void Fail(const std::string& what);

private:
    static DWORD WINAPI ThreadProc(LPVOID pParam);
    void Run();
    void CloseLeftovers();
    void Pause();

    Script m_script;
    DWORD m_dwTimeout;
    DWORD m_dwThreadId;
    HANDLE m_hThread;
    HANDLE m_hJoin;             // set by Join: leftovers are closed no more
    std::vector<std::string> m_failures;
    bool m_bJoined;
};

} // namespace wivotest
