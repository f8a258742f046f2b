// Helpers for the tests that use windows: a message recorder, a driver that works
// modal dialogs, message boxes and popup menus from a second thread, message pumps
// that end, and a few queries of windows and menus.
//
//   MsgRecorder     records the messages windows and their hooks get, through its
//                   window class or Record; MatchesSequence compares them with what
//                   a test expects, in the manner of Wine's message-sequence tests
//   ModalDriver     runs a script on its own thread while the test thread sits in
//                   a modal call; every wait has a time limit, and a script that
//                   fails closes whatever modal window is left so the call returns
//   PumpUntil       processes messages until a condition holds or time runs out
#pragma once

#include "TestSupport.h"

#include <afxwin.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace wivotest {

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
// Windows and menus

// A window's text, narrowed for comparisons and failure messages.
std::string WindowText(HWND hWnd);

// One letter per item of the menu: "-" separator, "x" disabled, "v" checked, "o" else.
std::string MenuStates(HMENU hMenu);

// The windows of this thread, each with its descendants. The input method's windows
// are left out: they come and go by the platform's own rules.
int ThreadWindowCount();

/////////////////////////////////////////////////////////////////////////////
// MsgRecorder

struct MsgEntry
{
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    const char* who;    // who saw it: "" for a recording window, else a name given to Record
};

// One step of an expected sequence. Unless a flag says so, only who and the message
// are compared.
struct ExpectedMsg
{
    enum { optional = 1, wparam = 2, lparam = 4 };
    const char* who;
    UINT message;
    int flags;
    WPARAM wParam;
    LPARAM lParam;
};

// Whether the entries are the expected sequence: in order, optional steps may be
// missing, nothing more or less. A failure names the first step that differs.
::testing::AssertionResult MatchesSequence(const std::vector<MsgEntry>& seen,
                                           const std::vector<ExpectedMsg>& expected);
// The entries' who, joined by blanks: a short form of a sequence for EXPECT_EQ.
std::string Who(const std::vector<MsgEntry>& entries);

// Records messages of any thread. The newest recorder alive is the current one:
// Record, and so the procedure of RecordingClass, records into it.
class MsgRecorder
{
public:
    MsgRecorder();
    ~MsgRecorder();
    MsgRecorder(const MsgRecorder&) = delete;
    MsgRecorder& operator=(const MsgRecorder&) = delete;

    // Once any window is watched, only the messages of watched windows are kept.
    void Watch(HWND hWnd);
    std::vector<MsgEntry> Entries() const;
    void Clear();

    // Records one message into the current recorder, if there is one.
    static void Record(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                       const char* who = "");
    // A window class whose procedure records every message, then leaves it to
    // DefWindowProc.
    static LPCWSTR RecordingClass();

private:
    std::vector<MsgEntry> m_entries;
    std::vector<HWND> m_watched;
    MsgRecorder* m_pPrevious;
};

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
    // Waits until pred() holds; what names the wait in the failure.
    void WaitUntil(const std::function<bool()>& pred, const std::string& what);
    // A visible, enabled dialog of the thread with, unless NULL, this title.
    HWND WaitForDialog(LPCWSTR title = NULL);
    // Waits until hWnd is gone or hidden.
    void WaitForClose(HWND hWnd);
    // The texts of the dialog's static controls, joined by new lines (a message
    // box's text).
    CString StaticText(HWND hDlg);
    // A window's text, asked of its thread with a time limit.
    CString Text(HWND hWnd);
    // A dialog's control by id.
    HWND Control(HWND hDlg, int nID);
    // Clicks a button of the dialog.
    void Press(HWND hDlg, int nID);
    // Types text as characters into a control.
    void Type(LPCWSTR text, HWND hControl);
    // A key press sent to hWnd (NULL: the thread's focus).
    void Key(UINT vk, HWND hWnd = NULL);
    // The thread's focus window.
    HWND Focus();
    // The open popup menu deepest in the chain.
    HWND WaitForMenu();
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
    HWND WaitForWindow(LPCWSTR className, LPCWSTR title);

    Script m_script;
    DWORD m_dwTimeout;
    DWORD m_dwThreadId;
    HANDLE m_hThread;
    HANDLE m_hJoin;             // set by Join: leftovers are closed no more
    std::vector<std::string> m_failures;
    bool m_bJoined;
};

} // namespace wivotest
