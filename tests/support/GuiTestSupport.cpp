#include "GuiTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdio.h>
#include <string.h>

namespace wivotest {

/////////////////////////////////////////////////////////////////////////////
// Pumps

namespace {

// Dispatches this thread's messages until pred holds (if given), the queue is empty
// (if bStopWhenIdle) or the tick count reaches dwUntil.
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
// Windows and menus

std::string WindowText(HWND hWnd)
{
    WCHAR text[1024] = L"";
    ::GetWindowTextW(hWnd, text, 1024);
    return Narrow(text);
}

std::string MenuStates(HMENU hMenu)
{
    std::string s;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
        UINT n = ::GetMenuState(hMenu, i, MF_BYPOSITION);
        s += (n & MF_SEPARATOR) ? '-' : (n & MF_GRAYED) ? 'x' : (n & MF_CHECKED) ? 'v' : 'o';
    }
    return s;
}

namespace {

BOOL CALLBACK CountWindow(HWND, LPARAM lParam)
{
    ++*reinterpret_cast<int*>(lParam);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND hWnd, LPARAM lParam)
{
    WCHAR szClass[8] = L"";
    ::GetClassNameW(hWnd, szClass, 8);
    if (lstrcmpiW(szClass, L"IME") != 0) {
        CountWindow(hWnd, lParam);
        ::EnumChildWindows(hWnd, CountWindow, lParam);    // every descendant
    }
    return TRUE;
}

} // namespace

int ThreadWindowCount()
{
    int n = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&n));
    return n;
}

/////////////////////////////////////////////////////////////////////////////
// MsgRecorder

namespace {

// One lock for the chain of recorders and what they hold. It lives to the end of the
// process, as recording procedures may run until then.
class RecorderLock
{
public:
    RecorderLock() { ::EnterCriticalSection(&Section()); }
    ~RecorderLock() { ::LeaveCriticalSection(&Section()); }

private:
    static CRITICAL_SECTION& Section()
    {
        static CRITICAL_SECTION* pSection = [] {
            CRITICAL_SECTION* p = new CRITICAL_SECTION;
            ::InitializeCriticalSection(p);
            return p;
        }();
        return *pSection;
    }
};

MsgRecorder* g_pCurrentRecorder = nullptr;

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MsgRecorder::Record(hWnd, message, wParam, lParam);
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

} // namespace

MsgRecorder::MsgRecorder()
{
    RecorderLock lock;
    m_pPrevious = g_pCurrentRecorder;
    g_pCurrentRecorder = this;
}

MsgRecorder::~MsgRecorder()
{
    RecorderLock lock;
    // Recorders end in the reverse order of their start; one that does not is taken
    // out of the chain wherever it is.
    for (MsgRecorder** pp = &g_pCurrentRecorder; *pp != nullptr; pp = &(*pp)->m_pPrevious) {
        if (*pp == this) {
            *pp = m_pPrevious;
            break;
        }
    }
}

void MsgRecorder::Watch(HWND hWnd)
{
    RecorderLock lock;
    m_watched.push_back(hWnd);
}

std::vector<MsgEntry> MsgRecorder::Entries() const
{
    RecorderLock lock;
    return m_entries;
}

void MsgRecorder::Clear()
{
    RecorderLock lock;
    m_entries.clear();
}

void MsgRecorder::Record(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, const char* who)
{
    RecorderLock lock;
    MsgRecorder* p = g_pCurrentRecorder;
    if (p != nullptr &&
        (p->m_watched.empty() || std::count(p->m_watched.begin(), p->m_watched.end(), hWnd) > 0))
        p->m_entries.push_back({ hWnd, message, wParam, lParam, who });
}

namespace {

std::string Describe(const char* who, UINT message, WPARAM wParam, LPARAM lParam)
{
    char text[96];
    snprintf(text, sizeof text, "%s:0x%04x(%lld,%lld)", who, message, (long long)wParam,
             (long long)lParam);
    return text;
}

} // namespace

::testing::AssertionResult MatchesSequence(const std::vector<MsgEntry>& seen,
                                           const std::vector<ExpectedMsg>& expected)
{
    size_t i = 0;
    for (size_t step = 0; step < expected.size(); ++step) {
        const ExpectedMsg& x = expected[step];
        bool match = i < seen.size() && strcmp(seen[i].who, x.who) == 0 &&
                     seen[i].message == x.message &&
                     (!(x.flags & ExpectedMsg::wparam) || seen[i].wParam == x.wParam) &&
                     (!(x.flags & ExpectedMsg::lparam) || seen[i].lParam == x.lParam);
        if (match) {
            ++i;
        } else if (!(x.flags & ExpectedMsg::optional)) {
            return ::testing::AssertionFailure()
                   << "step " << step << ": expected " << Describe(x.who, x.message, x.wParam, x.lParam)
                   << ", seen " << (i < seen.size() ? Describe(seen[i].who, seen[i].message,
                                                               seen[i].wParam, seen[i].lParam)
                                                    : std::string("nothing more"));
        }
    }
    if (i < seen.size())
        return ::testing::AssertionFailure() << "more than expected from entry " << i << ": "
               << Describe(seen[i].who, seen[i].message, seen[i].wParam, seen[i].lParam);
    return ::testing::AssertionSuccess();
}

std::string Who(const std::vector<MsgEntry>& entries)
{
    std::string s;
    for (const MsgEntry& e : entries)
        s += (s.empty() ? "" : " ") + std::string(e.who);
    return s;
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
};

BOOL CALLBACK FindTopLevel(HWND hWnd, LPARAM lParam)
{
    WindowQuery& q = *reinterpret_cast<WindowQuery*>(lParam);
    WCHAR text[256];
    if (::GetWindowThreadProcessId(hWnd, NULL) != q.dwThreadId || !::IsWindowVisible(hWnd) ||
        !::IsWindowEnabled(hWnd))
        return TRUE;
    if (!::GetClassNameW(hWnd, text, 256) || lstrcmpiW(text, q.className) != 0)
        return TRUE;
    if (q.title != NULL && (::GetWindowTextW(hWnd, text, 256), lstrcmpW(text, q.title) != 0))
        return TRUE;
    q.hFound = hWnd;
    return FALSE;
}

// A visible, enabled top-level window of the thread, or NULL.
HWND FindThreadWindow(DWORD dwThreadId, LPCWSTR className, LPCWSTR title = NULL)
{
    WindowQuery q = { dwThreadId, className, title, NULL };
    ::EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&q));
    return q.hFound;
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
    if (FindThreadWindow(m_dwThreadId, L"#32768") != NULL) {
        try {
            CloseMenus();
        } catch (const ScriptFailed&) {
        }
        return;
    }
    if (HWND hDlg = FindThreadWindow(m_dwThreadId, L"#32770")) {
        ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
        ::PostMessageW(hDlg, WM_CLOSE, 0, 0);
        return;
    }
    // A menu bar in menu mode has no window of its own: Escape to its owner ends it.
    GUITHREADINFO info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    if (::GetGUIThreadInfo(m_dwThreadId, &info) && (info.flags & GUI_INMENUMODE) &&
        info.hwndMenuOwner != NULL)
        Key(VK_ESCAPE, info.hwndMenuOwner);
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

void ModalDriver::WaitUntil(const std::function<bool()>& pred, const std::string& what)
{
    DWORD dwStart = ::GetTickCount();
    while (!pred()) {
        if (::GetTickCount() - dwStart > m_dwTimeout)
            Fail("timed out waiting for " + what);
        Pause();
    }
}

HWND ModalDriver::WaitForWindow(LPCWSTR className, LPCWSTR title)
{
    HWND hWnd = NULL;
    WaitUntil([&] { return (hWnd = FindThreadWindow(m_dwThreadId, className, title)) != NULL; },
              "a window of class " + Narrow(className) +
                  (title ? " titled \"" + Narrow(title) + "\"" : std::string()));
    return hWnd;
}

HWND ModalDriver::WaitForDialog(LPCWSTR title)
{
    return WaitForWindow(L"#32770", title);
}

void ModalDriver::WaitForClose(HWND hWnd)
{
    WaitUntil([&] { return !::IsWindow(hWnd) || !::IsWindowVisible(hWnd); },
              "a window to close");
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

void ModalDriver::Press(HWND hDlg, int nID)
{
    // Posted: the click may end a modal loop whose caller's answer we do not wait for.
    HWND hButton = Control(hDlg, nID);
    if (!::IsWindowEnabled(hButton))
        Fail("the button " + std::to_string(nID) + " is disabled");
    ::PostMessageW(hButton, BM_CLICK, 0, 0);
}

HWND ModalDriver::Focus()
{
    GUITHREADINFO info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    WaitUntil([&] { return ::GetGUIThreadInfo(m_dwThreadId, &info) && info.hwndFocus != NULL; },
              "a window of the thread to have the focus");
    return info.hwndFocus;
}

void ModalDriver::Type(LPCWSTR text, HWND hControl)
{
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
    HWND hMenuWnd = WaitForWindow(L"#32768", NULL);
    // A submenu is a later window of the same class; the newest is the one that
    // takes the keys.
    HWND hNext = hMenuWnd;
    while ((hNext = ::FindWindowExW(NULL, hNext, L"#32768", NULL)) != NULL) {
        if (::IsWindowVisible(hNext) && ::GetWindowThreadProcessId(hNext, NULL) == m_dwThreadId)
            hMenuWnd = hNext;
    }
    return hMenuWnd;
}

void ModalDriver::CloseMenus()
{
    DWORD dwStart = ::GetTickCount();
    while (HWND hMenuWnd = FindThreadWindow(m_dwThreadId, L"#32768")) {
        Key(VK_ESCAPE, hMenuWnd);
        ::Sleep(50);
        if (::GetTickCount() - dwStart > m_dwTimeout)
            Fail("a menu did not close");
    }
}

} // namespace wivotest
