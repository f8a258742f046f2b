#include "GuiTestSupport.h"

#include "MsgHook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

namespace wivotest {

namespace {

/////////////////////////////////////////////////////////////////////////////
// Message names

struct NamedMsg
{
    UINT message;
    const char* name;
};

#define MSG_NAME(m) { m, #m }
const NamedMsg kNames[] = {
    MSG_NAME(WM_NULL), MSG_NAME(WM_CREATE), MSG_NAME(WM_DESTROY), MSG_NAME(WM_MOVE),
    MSG_NAME(WM_SIZE), MSG_NAME(WM_ACTIVATE), MSG_NAME(WM_SETFOCUS), MSG_NAME(WM_KILLFOCUS),
    MSG_NAME(WM_ENABLE), MSG_NAME(WM_SETREDRAW), MSG_NAME(WM_SETTEXT), MSG_NAME(WM_GETTEXT),
    MSG_NAME(WM_GETTEXTLENGTH), MSG_NAME(WM_PAINT), MSG_NAME(WM_CLOSE), MSG_NAME(WM_QUIT),
    MSG_NAME(WM_ERASEBKGND), MSG_NAME(WM_SYSCOLORCHANGE), MSG_NAME(WM_SHOWWINDOW),
    MSG_NAME(WM_SETTINGCHANGE), MSG_NAME(WM_ACTIVATEAPP), MSG_NAME(WM_CANCELMODE),
    MSG_NAME(WM_SETCURSOR), MSG_NAME(WM_MOUSEACTIVATE), MSG_NAME(WM_CHILDACTIVATE),
    MSG_NAME(WM_GETMINMAXINFO), MSG_NAME(WM_DRAWITEM), MSG_NAME(WM_MEASUREITEM),
    MSG_NAME(WM_DELETEITEM), MSG_NAME(WM_VKEYTOITEM), MSG_NAME(WM_CHARTOITEM),
    MSG_NAME(WM_SETFONT), MSG_NAME(WM_GETFONT), MSG_NAME(WM_QUERYDRAGICON),
    MSG_NAME(WM_COMPAREITEM), MSG_NAME(WM_GETOBJECT), MSG_NAME(WM_WINDOWPOSCHANGING),
    MSG_NAME(WM_WINDOWPOSCHANGED), MSG_NAME(WM_NOTIFY), MSG_NAME(WM_INPUTLANGCHANGEREQUEST),
    MSG_NAME(WM_INPUTLANGCHANGE), MSG_NAME(WM_HELP), MSG_NAME(WM_NOTIFYFORMAT),
    MSG_NAME(WM_CONTEXTMENU), MSG_NAME(WM_STYLECHANGING), MSG_NAME(WM_STYLECHANGED),
    MSG_NAME(WM_GETICON), MSG_NAME(WM_SETICON), MSG_NAME(WM_NCCREATE), MSG_NAME(WM_NCDESTROY),
    MSG_NAME(WM_NCCALCSIZE), MSG_NAME(WM_NCHITTEST), MSG_NAME(WM_NCPAINT),
    MSG_NAME(WM_NCACTIVATE), MSG_NAME(WM_GETDLGCODE), MSG_NAME(WM_NCMOUSEMOVE),
    MSG_NAME(WM_NCLBUTTONDOWN), MSG_NAME(WM_NCLBUTTONUP), MSG_NAME(WM_KEYDOWN),
    MSG_NAME(WM_KEYUP), MSG_NAME(WM_CHAR), MSG_NAME(WM_DEADCHAR), MSG_NAME(WM_SYSKEYDOWN),
    MSG_NAME(WM_SYSKEYUP), MSG_NAME(WM_SYSCHAR), MSG_NAME(WM_UNICHAR),
    MSG_NAME(WM_IME_STARTCOMPOSITION), MSG_NAME(WM_IME_ENDCOMPOSITION),
    MSG_NAME(WM_IME_COMPOSITION), MSG_NAME(WM_INITDIALOG), MSG_NAME(WM_COMMAND),
    MSG_NAME(WM_SYSCOMMAND), MSG_NAME(WM_TIMER), MSG_NAME(WM_HSCROLL), MSG_NAME(WM_VSCROLL),
    MSG_NAME(WM_INITMENU), MSG_NAME(WM_INITMENUPOPUP), MSG_NAME(WM_MENUSELECT),
    MSG_NAME(WM_MENUCHAR), MSG_NAME(WM_ENTERIDLE), MSG_NAME(WM_UNINITMENUPOPUP),
    MSG_NAME(WM_CHANGEUISTATE), MSG_NAME(WM_UPDATEUISTATE), MSG_NAME(WM_QUERYUISTATE),
    MSG_NAME(WM_CTLCOLORMSGBOX), MSG_NAME(WM_CTLCOLOREDIT), MSG_NAME(WM_CTLCOLORLISTBOX),
    MSG_NAME(WM_CTLCOLORBTN), MSG_NAME(WM_CTLCOLORDLG), MSG_NAME(WM_CTLCOLORSCROLLBAR),
    MSG_NAME(WM_CTLCOLORSTATIC), MSG_NAME(WM_MOUSEMOVE), MSG_NAME(WM_LBUTTONDOWN),
    MSG_NAME(WM_LBUTTONUP), MSG_NAME(WM_LBUTTONDBLCLK), MSG_NAME(WM_RBUTTONDOWN),
    MSG_NAME(WM_RBUTTONUP), MSG_NAME(WM_MBUTTONDOWN), MSG_NAME(WM_MBUTTONUP),
    MSG_NAME(WM_MOUSEWHEEL), MSG_NAME(WM_PARENTNOTIFY), MSG_NAME(WM_ENTERMENULOOP),
    MSG_NAME(WM_EXITMENULOOP), MSG_NAME(WM_SIZING), MSG_NAME(WM_CAPTURECHANGED),
    MSG_NAME(WM_MOVING), MSG_NAME(WM_ENTERSIZEMOVE), MSG_NAME(WM_EXITSIZEMOVE),
    MSG_NAME(WM_IME_SETCONTEXT), MSG_NAME(WM_IME_NOTIFY), MSG_NAME(WM_NCMOUSELEAVE),
    MSG_NAME(WM_MOUSELEAVE), MSG_NAME(WM_CUT), MSG_NAME(WM_COPY), MSG_NAME(WM_PASTE),
    MSG_NAME(WM_CLEAR), MSG_NAME(WM_UNDO), MSG_NAME(WM_PRINT), MSG_NAME(WM_PRINTCLIENT),
    MSG_NAME(WM_SYNCPAINT), MSG_NAME(WM_ENTERIDLE), MSG_NAME(WM_THEMECHANGED),
};
#undef MSG_NAME

// Messages that Wine sends or not depending on the mouse, the input method, the
// window manager or accessibility, so sequences leave them out.
const UINT kNoisy[] = {
    WM_GETICON, WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE, WM_NCMOUSEMOVE, WM_MOUSELEAVE,
    WM_NCMOUSELEAVE, WM_GETOBJECT, WM_IME_SETCONTEXT, WM_IME_NOTIFY, WM_IME_STARTCOMPOSITION,
    WM_IME_ENDCOMPOSITION, WM_IME_COMPOSITION, WM_INPUTLANGCHANGE, WM_INPUTLANGCHANGEREQUEST,
    WM_DEVICECHANGE, WM_TIMECHANGE, WM_DISPLAYCHANGE, WM_SYSCOLORCHANGE, WM_SETTINGCHANGE,
    WM_THEMECHANGED, 0x031F /* WM_DWMNCRENDERINGCHANGED */, 0x0090 /* uxtheme, destroying */,
    WM_CHANGEUISTATE, WM_UPDATEUISTATE, WM_QUERYUISTATE,
};

/////////////////////////////////////////////////////////////////////////////
// Per-thread state

// What a thread's hooks and recording procedures know.
struct ThreadState
{
    MSG retrieved;          // the message taken from the queue last, while it is handled
    bool bRetrieved;
    int nDefProc;           // DefProc calls in progress
    int nBeginPaint;        // BeginPaint calls in progress
};
thread_local ThreadState t_state;

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        t_state.retrieved = *reinterpret_cast<const MSG*>(lParam);
        t_state.bRetrieved = true;
    }
    return ::CallNextHookEx(NULL, code, wParam, lParam);
}

// A sent message ends the time in which the queue's message counts as the current one.
LRESULT CALLBACK CallWndProcHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION)
        t_state.bRetrieved = false;
    return ::CallNextHookEx(NULL, code, wParam, lParam);
}

// The global side of the recorders: the current one, and the hooks of every thread
// that has recorded windows.
struct Registry
{
    Registry() { ::InitializeCriticalSection(&lock); }
    CRITICAL_SECTION lock;
    MsgRecorder* pCurrent = nullptr;
    std::map<DWORD, std::pair<HHOOK, HHOOK>> hooks;
};

Registry& TheRegistry()
{
    static Registry* pRegistry = new Registry;  // lives to the end: procedures may still run
    return *pRegistry;
}

void HookThread(DWORD dwThreadId)
{
    Registry& r = TheRegistry();
    ::EnterCriticalSection(&r.lock);
    if (r.hooks.find(dwThreadId) == r.hooks.end()) {
        r.hooks[dwThreadId] = {
            ::SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, NULL, dwThreadId),
            ::SetWindowsHookExW(WH_CALLWNDPROC, CallWndProcHook, NULL, dwThreadId) };
    }
    ::LeaveCriticalSection(&r.lock);
}

std::string Hex(ULONG_PTR value)
{
    char text[24];
    sprintf(text, "%#llx", (unsigned long long)value);
    return text;
}

class RecordingHook : public IMsgHookCallback
{
public:
    void OnForwardingMessage(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT&,
                             BOOL&) override
    {
        if (MsgRecorder* pRecorder = MsgRecorder::Current())
            pRecorder->Add(pWnd ? pWnd->m_hWnd : NULL, message, wParam, lParam, hook);
    }
    void OnForwardedMessage(CWnd*, UINT, WPARAM, LPARAM, LRESULT&) override {}
};

} // namespace

std::string MessageName(UINT message)
{
    for (const NamedMsg& n : kNames) {
        if (n.message == message)
            return n.name;
    }
    if (message >= WM_APP && message < 0xC000)
        return "WM_APP+" + std::to_string(message - WM_APP);
    if (message >= WM_USER && message < WM_APP)
        return "WM_USER+" + std::to_string(message - WM_USER);
    WCHAR name[128];
    if (message >= 0xC000 && ::GetClipboardFormatNameW(message, name, 128) > 0)
        return "\"" + Narrow(name) + "\"";
    return Hex(message);
}

std::string Describe(const MsgEntry& entry)
{
    static const struct { unsigned flag; const char* name; } kFlags[] = {
        { sent, "sent" }, { posted, "posted" }, { parent, "parent" }, { hook, "hook" },
        { defwinproc, "defwinproc" }, { beginpaint, "beginpaint" }, { optional, "optional" },
    };
    std::string text = MessageName(entry.message) + " (";
    bool first = true;
    for (const auto& f : kFlags) {
        if (entry.flags & f.flag) {
            text += (first ? "" : "|") + std::string(f.name);
            first = false;
        }
    }
    text += ")";
    if (entry.flags & wparam)
        text += " wParam " + Hex(entry.wParam);
    if (entry.flags & lparam)
        text += " lParam " + Hex((ULONG_PTR)entry.lParam);
    return text;
}

/////////////////////////////////////////////////////////////////////////////
// MsgRecorder

MsgRecorder::MsgRecorder()
{
    ::InitializeCriticalSection(&m_lock);
    for (UINT message : kNoisy)
        m_ignored.insert(message);
    HookThread(::GetCurrentThreadId());
    t_state.bRetrieved = false;     // what an earlier recorder's hook saw is no news
    Registry& r = TheRegistry();
    ::EnterCriticalSection(&r.lock);
    m_pPrevious = r.pCurrent;
    r.pCurrent = this;
    ::LeaveCriticalSection(&r.lock);
}

MsgRecorder::~MsgRecorder()
{
    Registry& r = TheRegistry();
    ::EnterCriticalSection(&r.lock);
    // Recorders end in the reverse order of their start; one that does not is taken
    // out of the chain wherever it is.
    for (MsgRecorder** pp = &r.pCurrent; *pp != nullptr; pp = &(*pp)->m_pPrevious) {
        if (*pp == this) {
            *pp = m_pPrevious;
            break;
        }
    }
    if (r.pCurrent == nullptr) {
        for (auto& h : r.hooks) {
            ::UnhookWindowsHookEx(h.second.first);
            ::UnhookWindowsHookEx(h.second.second);
        }
        r.hooks.clear();
    }
    ::LeaveCriticalSection(&r.lock);
    ::DeleteCriticalSection(&m_lock);
}

MsgRecorder* MsgRecorder::Current()
{
    Registry& r = TheRegistry();
    ::EnterCriticalSection(&r.lock);
    MsgRecorder* pCurrent = r.pCurrent;
    ::LeaveCriticalSection(&r.lock);
    return pCurrent;
}

void MsgRecorder::Watch(HWND hWnd, unsigned extraFlags)
{
    HookThread(::GetWindowThreadProcessId(hWnd, NULL));
    ::EnterCriticalSection(&m_lock);
    m_watched.push_back({ hWnd, extraFlags });
    ::LeaveCriticalSection(&m_lock);
}

void MsgRecorder::Ignore(std::initializer_list<UINT> messages)
{
    ::EnterCriticalSection(&m_lock);
    m_ignored.insert(messages.begin(), messages.end());
    ::LeaveCriticalSection(&m_lock);
}

void MsgRecorder::Unignore(std::initializer_list<UINT> messages)
{
    ::EnterCriticalSection(&m_lock);
    for (UINT message : messages)
        m_ignored.erase(message);
    ::LeaveCriticalSection(&m_lock);
}

void MsgRecorder::Add(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, unsigned flags)
{
    if ((flags & (sent | posted)) == 0) {
        const MSG& m = t_state.retrieved;
        bool bQueued = t_state.bRetrieved && m.hwnd == hWnd && m.message == message &&
                       m.wParam == wParam && m.lParam == lParam;
        flags |= bQueued ? posted : sent;
    }
    if (t_state.nDefProc > 0)
        flags |= defwinproc;
    if (t_state.nBeginPaint > 0)
        flags |= beginpaint;
    ::EnterCriticalSection(&m_lock);
    bool bRecord = m_ignored.count(message) == 0;
    if (bRecord && !m_watched.empty()) {
        bRecord = false;
        for (const auto& w : m_watched) {
            if (w.first == hWnd) {
                bRecord = true;
                flags |= w.second;
            }
        }
    }
    if (bRecord)
        m_entries.push_back({ message, flags & kMsgKindFlags, wParam, lParam });
    ::LeaveCriticalSection(&m_lock);
}

void MsgRecorder::Add(const MSG& msg, unsigned flags)
{
    Add(msg.hwnd, msg.message, msg.wParam, msg.lParam, flags);
}

std::vector<MsgEntry> MsgRecorder::Entries() const
{
    ::EnterCriticalSection(&m_lock);
    std::vector<MsgEntry> copy = m_entries;
    ::LeaveCriticalSection(&m_lock);
    return copy;
}

void MsgRecorder::Clear()
{
    ::EnterCriticalSection(&m_lock);
    m_entries.clear();
    ::LeaveCriticalSection(&m_lock);
}

void MsgRecorder::Flush()
{
    PumpIdle();
    Clear();
}

DefProcScope::DefProcScope()
{
    ++t_state.nDefProc;
}

DefProcScope::~DefProcScope()
{
    --t_state.nDefProc;
}

LRESULT MsgRecorder::DefProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    DefProcScope scope;
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

LRESULT CALLBACK MsgRecorder::RecordingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (MsgRecorder* pRecorder = Current())
        pRecorder->Add(hWnd, message, wParam, lParam);
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        ++t_state.nBeginPaint;
        ::BeginPaint(hWnd, &ps);
        --t_state.nBeginPaint;
        ::EndPaint(hWnd, &ps);
        return 0;
    }
    return DefProc(hWnd, message, wParam, lParam);
}

LPCWSTR MsgRecorder::RecordingClass()
{
    static ATOM atom = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = ::GetModuleHandleW(NULL);
        wc.hCursor = ::LoadCursorW(NULL, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wc.lpszClassName = L"WivoRecordingWindow";
        return ::RegisterClassW(&wc);
    }();
    return atom != 0 ? L"WivoRecordingWindow" : NULL;
}

LRESULT CALLBACK MsgRecorder::RecordingSubclass(HWND hWnd, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (MsgRecorder* pRecorder = Current())
        pRecorder->Add(hWnd, message, wParam, lParam);
    return ::DefSubclassProc(hWnd, message, wParam, lParam);
}

IMsgHookCallback* MsgRecorder::HookCallback()
{
    static RecordingHook s_hook;
    return &s_hook;
}

bool ExpectSequence(MsgRecorder& recorder, const std::vector<MsgEntry>& expected,
                    const char* context, const char* file, int line)
{
    std::vector<MsgEntry> actual = recorder.Entries();
    recorder.Clear();
    size_t e = 0, a = 0;
    std::string failure;
    while (e < expected.size() && failure.empty()) {
        const MsgEntry& want = expected[e];
        bool bSame = a < actual.size() && actual[a].message == want.message &&
                     (actual[a].flags & kMsgKindFlags) == (want.flags & kMsgKindFlags) &&
                     (!(want.flags & wparam) || actual[a].wParam == want.wParam) &&
                     (!(want.flags & lparam) || actual[a].lParam == want.lParam);
        if (bSame) {
            ++e;
            ++a;
        } else if (want.flags & optional) {
            ++e;
        } else if (a == actual.size()) {
            failure = "missing " + Describe(want);
        } else {
            MsgEntry got = actual[a];
            got.flags |= want.flags & (wparam | lparam);
            failure = "expected " + Describe(want) + ", got " + Describe(got);
        }
    }
    if (failure.empty() && a < actual.size()) {
        MsgEntry extra = actual[a];
        extra.flags |= wparam | lparam;
        failure = "unexpected " + Describe(extra);
    }
    if (failure.empty())
        return true;
    std::string seen;
    for (const MsgEntry& m : actual)
        seen += "\n  " + Describe(m);
    ADD_FAILURE_AT(file, line) << context << ": message " << (a + 1) << ": " << failure
                               << "\nrecorded:" << seen;
    return false;
}

/////////////////////////////////////////////////////////////////////////////
// Pumps

namespace {

void DispatchWaiting(DWORD dwUntil, bool bStopWhenIdle, const std::function<bool()>* pPred)
{
    for (;;) {
        if (pPred != nullptr && (*pPred)())
            return;
        MSG msg;
        if (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // Not ours to take: put it back for the loop that waits for it.
                ::PostQuitMessage((int)msg.wParam);
                return;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
            continue;
        }
        LONG remaining = (LONG)(dwUntil - ::GetTickCount());
        if (bStopWhenIdle || remaining <= 0)
            return;
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, remaining < 20 ? remaining : 20, QS_ALLINPUT);
    }
}

std::map<UINT_PTR, std::function<void()>>& SoonCalls()
{
    thread_local std::map<UINT_PTR, std::function<void()>> calls;
    return calls;
}

void CALLBACK SoonTimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(NULL, id);
    auto it = SoonCalls().find(id);
    if (it == SoonCalls().end())
        return;
    std::function<void()> f = std::move(it->second);
    SoonCalls().erase(it);
    f();
}

} // namespace

bool PumpUntil(const std::function<bool()>& pred, DWORD dwTimeout)
{
    DispatchWaiting(::GetTickCount() + dwTimeout, false, &pred);
    return pred();
}

void PumpIdle(DWORD dwTimeout)
{
    DispatchWaiting(::GetTickCount() + dwTimeout, true, nullptr);
}

void PumpFor(DWORD dwMillis)
{
    DispatchWaiting(::GetTickCount() + dwMillis, false, nullptr);
}

void CallSoon(std::function<void()> f, UINT dwDelay)
{
    UINT_PTR id = ::SetTimer(NULL, 0, dwDelay, SoonTimerProc);
    if (id != 0)
        SoonCalls()[id] = std::move(f);
    else
        ADD_FAILURE() << "SetTimer failed: " << ::GetLastError();
}

/////////////////////////////////////////////////////////////////////////////
// ModalDriver

namespace {

// Thrown by the driver's waits and checks to end a script.
struct ScriptFailed
{
};

struct WindowQuery
{
    DWORD dwThreadId;
    LPCWSTR className;
    LPCWSTR title;
    HWND hFound;
    bool bAnyState;     // also hidden and disabled windows
};

BOOL CALLBACK FindTopLevel(HWND hWnd, LPARAM lParam)
{
    WindowQuery& q = *reinterpret_cast<WindowQuery*>(lParam);
    WCHAR text[256];
    if (::GetWindowThreadProcessId(hWnd, NULL) != q.dwThreadId)
        return TRUE;
    if (!q.bAnyState && (!::IsWindowVisible(hWnd) || !::IsWindowEnabled(hWnd)))
        return TRUE;
    if (!::GetClassNameW(hWnd, text, 256) || lstrcmpiW(text, q.className) != 0)
        return TRUE;
    if (q.title != NULL && (::GetWindowTextW(hWnd, text, 256), lstrcmpW(text, q.title) != 0))
        return TRUE;
    q.hFound = hWnd;
    return FALSE;
}

HWND FindThreadWindow(DWORD dwThreadId, LPCWSTR className, LPCWSTR title, bool bAnyState)
{
    WindowQuery q = { dwThreadId, className, title, NULL, bAnyState };
    ::EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&q));
    return q.hFound;
}

struct ButtonQuery
{
    CString caption;
    HWND hFound;
};

BOOL CALLBACK FindButton(HWND hWnd, LPARAM lParam)
{
    ButtonQuery& q = *reinterpret_cast<ButtonQuery*>(lParam);
    WCHAR text[256];
    ::GetClassNameW(hWnd, text, 256);
    if (lstrcmpiW(text, L"Button") != 0)
        return TRUE;
    ::GetWindowTextW(hWnd, text, 256);
    CString caption(text);
    caption.Remove(L'&');
    if (caption != q.caption)
        return TRUE;
    q.hFound = hWnd;
    return FALSE;
}

BOOL CALLBACK CollectStatic(HWND hWnd, LPARAM lParam)
{
    CString& out = *reinterpret_cast<CString*>(lParam);
    WCHAR text[1024];
    ::GetClassNameW(hWnd, text, 1024);
    if (lstrcmpiW(text, L"Static") != 0 || !::IsWindowVisible(hWnd))
        return TRUE;
    if (::GetWindowTextW(hWnd, text, 1024) > 0) {
        if (!out.IsEmpty())
            out += L"\n";
        out += text;
    }
    return TRUE;
}

const UINT kMnGetHMenu = 0x01E1;    // asks a popup menu window for its menu

} // namespace

ModalDriver::ModalDriver(Script script, DWORD dwTimeout, DWORD dwThreadId)
    : m_script(std::move(script)), m_dwTimeout(dwTimeout), m_dwThreadId(dwThreadId),
      m_hThread(NULL), m_hJoin(::CreateEventW(NULL, TRUE, FALSE, NULL)), m_bJoined(false)
{
    m_hThread = ::CreateThread(NULL, 0, ThreadProc, this, 0, NULL);
    if (m_hThread == NULL)
        m_failures.push_back("the driver's thread did not start");
}

ModalDriver::~ModalDriver()
{
    if (!m_bJoined)
        Join();
    ::CloseHandle(m_hJoin);
}

bool ModalDriver::Join(const char* file, int line)
{
    if (m_bJoined)
        return m_failures.empty();
    m_bJoined = true;
    ::SetEvent(m_hJoin);
    if (m_hThread != NULL) {
        // Every wait of the script ends soon after the join; a script that blocks
        // elsewhere would leave its thread behind on a driver that is gone.
        if (::WaitForSingleObject(m_hThread, m_dwTimeout + 10000) != WAIT_OBJECT_0) {
            ::TerminateThread(m_hThread, 1);
            m_failures.push_back("the script did not end");
        }
        ::CloseHandle(m_hThread);
        m_hThread = NULL;
    }
    for (const std::string& failure : m_failures)
        ADD_FAILURE_AT(file, line) << "modal script: " << failure;
    return m_failures.empty();
}

DWORD WINAPI ModalDriver::ThreadProc(LPVOID pParam)
{
    static_cast<ModalDriver*>(pParam)->Run();
    return 0;
}

void ModalDriver::Run()
{
    try {
        m_script(*this);
    } catch (const ScriptFailed&) {
    }
    // The modal call should end with the script; if it did not, or the script failed
    // halfway, close what is open until the test thread is back. Wine may take two
    // seconds to take a framed window off the screen, so the call gets a while.
    if (!m_failures.empty() ||
        ::WaitForSingleObject(m_hJoin, std::max<DWORD>(m_dwTimeout, 10000)) != WAIT_OBJECT_0) {
        if (m_failures.empty())
            m_failures.push_back("the modal call did not return after the script");
        DWORD dwStart = ::GetTickCount();
        while (::WaitForSingleObject(m_hJoin, 50) != WAIT_OBJECT_0 &&
               ::GetTickCount() - dwStart < m_dwTimeout)
            CloseLeftovers();
    }
}

void ModalDriver::CloseLeftovers()
{
    if (FindThreadWindow(m_dwThreadId, L"#32768", NULL, false) != NULL) {
        try {
            CloseMenus();
        } catch (const ScriptFailed&) {
        }
        return;
    }
    if (HWND hDlg = FindThreadWindow(m_dwThreadId, L"#32770", NULL, false)) {
        ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
        ::PostMessageW(hDlg, WM_CLOSE, 0, 0);
    }
}

void ModalDriver::Fail(const std::string& what)
{
    m_failures.push_back(what);
    throw ScriptFailed();
}

void ModalDriver::Pause()
{
    // Once the test thread has joined, no window of its modal call will come.
    if (::WaitForSingleObject(m_hJoin, 10) == WAIT_OBJECT_0)
        Fail("the modal call returned before the script was done");
}

void ModalDriver::Check(bool ok, const std::string& what)
{
    if (!ok)
        Fail("check failed: " + what);
}

HWND ModalDriver::WaitForWindow(LPCWSTR className, LPCWSTR title)
{
    DWORD dwStart = ::GetTickCount();
    for (;;) {
        if (HWND hWnd = FindThreadWindow(m_dwThreadId, className, title, false))
            return hWnd;
        if (::GetTickCount() - dwStart > m_dwTimeout)
            break;
        Pause();
    }
    Fail("no window of class " + Narrow(className) +
         (title ? " titled \"" + Narrow(title) + "\"" : std::string()) + " appeared");
    return NULL;
}

void ModalDriver::WaitForClose(HWND hWnd)
{
    DWORD dwStart = ::GetTickCount();
    while (::IsWindow(hWnd) && ::IsWindowVisible(hWnd)) {
        if (::GetTickCount() - dwStart > m_dwTimeout)
            Fail("the window " + Narrow(Text(hWnd)) + " did not close");
        Pause();
    }
}

CString ModalDriver::Text(HWND hWnd)
{
    WCHAR text[1024] = L"";
    DWORD_PTR length = 0;
    // Asked of the window's thread, which may be busy: a time limit, not a hang.
    if (!::SendMessageTimeoutW(hWnd, WM_GETTEXT, 1024, (LPARAM)text, SMTO_NORMAL, m_dwTimeout,
                               &length))
        Fail("a window did not answer WM_GETTEXT");
    return text;
}

CString ModalDriver::StaticText(HWND hDlg)
{
    CString out;
    ::EnumChildWindows(hDlg, CollectStatic, reinterpret_cast<LPARAM>(&out));
    return out;
}

HWND ModalDriver::Control(HWND hDlg, int nID)
{
    HWND hWnd = ::GetDlgItem(hDlg, nID);
    if (hWnd == NULL)
        Fail("the dialog has no control " + std::to_string(nID));
    return hWnd;
}

HWND ModalDriver::Button(HWND hDlg, LPCWSTR caption)
{
    ButtonQuery q = { caption, NULL };
    q.caption.Remove(L'&');
    ::EnumChildWindows(hDlg, FindButton, reinterpret_cast<LPARAM>(&q));
    if (q.hFound == NULL)
        Fail("the dialog has no button \"" + Narrow(caption) + "\"");
    return q.hFound;
}

void ModalDriver::Click(HWND hButton)
{
    // Posted: the click may end a modal loop whose caller's answer we do not wait for.
    if (!::IsWindowEnabled(hButton))
        Fail("the button " + Narrow(Text(hButton)) + " is disabled");
    ::PostMessageW(hButton, BM_CLICK, 0, 0);
}

void ModalDriver::Press(HWND hDlg, int nID)
{
    Click(Control(hDlg, nID));
}

void ModalDriver::Press(HWND hDlg, LPCWSTR caption)
{
    Click(Button(hDlg, caption));
}

HWND ModalDriver::Focus()
{
    GUITHREADINFO info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    DWORD dwStart = ::GetTickCount();
    while (!::GetGUIThreadInfo(m_dwThreadId, &info) || info.hwndFocus == NULL) {
        if (::GetTickCount() - dwStart > m_dwTimeout)
            Fail("no window of the thread has the focus");
        Pause();
    }
    return info.hwndFocus;
}

void ModalDriver::Type(LPCWSTR text, HWND hControl)
{
    if (hControl == NULL)
        hControl = Focus();
    // Sent: each character is in the control when the call returns, in order.
    for (LPCWSTR p = text; *p != 0; ++p) {
        DWORD_PTR result;
        if (!::SendMessageTimeoutW(hControl, WM_CHAR, *p, 1, SMTO_NORMAL, m_dwTimeout, &result))
            Fail("the control did not take a character");
    }
}

void ModalDriver::Key(UINT vk, HWND hWnd)
{
    if (hWnd == NULL)
        hWnd = Focus();
    UINT scan = ::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    ::PostMessageW(hWnd, WM_KEYDOWN, vk, 1 | (scan << 16));
    ::PostMessageW(hWnd, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000);
}

HWND ModalDriver::WaitForMenu()
{
    HWND hMenuWnd = WaitForWindow(L"#32768");
    // A submenu is a later window of the same class; the newest is the one that
    // takes the keys.
    HWND hNext = hMenuWnd;
    while ((hNext = ::FindWindowExW(NULL, hNext, L"#32768", NULL)) != NULL) {
        if (::IsWindowVisible(hNext) && ::GetWindowThreadProcessId(hNext, NULL) == m_dwThreadId)
            hMenuWnd = hNext;
    }
    return hMenuWnd;
}

void ModalDriver::ChooseMenuItem(UINT nID)
{
    HWND hMenuWnd = WaitForMenu();
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(hMenuWnd, kMnGetHMenu, 0, 0, SMTO_NORMAL, m_dwTimeout, &result);
    HMENU hMenu = reinterpret_cast<HMENU>(result);
    if (hMenu == NULL)
        Fail("the menu window has no menu");
    // The arrow keys step over separators only.
    int nSteps = 0;
    int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        MENUITEMINFOW info;
        ZeroMemory(&info, sizeof(info));
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID;
        ::GetMenuItemInfoW(hMenu, i, TRUE, &info);
        if (info.fType & MFT_SEPARATOR)
            continue;
        ++nSteps;
        if (info.wID == nID) {
            for (int k = 0; k < nSteps; ++k)
                Key(VK_DOWN, hMenuWnd);
            Key(VK_RETURN, hMenuWnd);
            return;
        }
    }
    Fail("the open menu has no item " + std::to_string(nID));
}

void ModalDriver::CloseMenus()
{
    DWORD dwStart = ::GetTickCount();
    while (HWND hMenuWnd = FindThreadWindow(m_dwThreadId, L"#32768", NULL, false)) {
        Key(VK_ESCAPE, hMenuWnd);
        ::Sleep(50);
        if (::GetTickCount() - dwStart > m_dwTimeout) {
            m_failures.push_back("a menu did not close");
            throw ScriptFailed();
        }
    }
}

} // namespace wivotest
