// Tests of CMsgHook on real windows: the order in which a chain sees messages,
// removal anywhere in the chain, deletion from inside a callback, nested
// messages, the window's end, and life beside SetWindowSubclass.
#include "GuiTestSupport.h"
#include "MsgHook.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const UINT WM_PROBE = WM_USER + 50;
const UINT WM_NESTED = WM_USER + 51;

using wivotest::ExpectedMsg;
using wivotest::MsgRecorder;

// The window's own procedure: records the probe messages it gets.
LRESULT CALLBACK TargetProc(HWND hWnd, UINT msg, WPARAM w, LPARAM l)
{
    if (msg == WM_PROBE) {
        MsgRecorder::Record(hWnd, msg, w, l, "wnd");
        return 100;
    }
    if (msg == WM_NESTED) {
        MsgRecorder::Record(hWnd, msg, w, l, "wnd-outer");
        ::SendMessageW(hWnd, WM_PROBE, 0, 0);
        return 200;
    }
    if (msg == WM_NCDESTROY)
        MsgRecorder::Record(hWnd, msg, w, l, "wnd-ncdestroy");
    return ::DefWindowProcW(hWnd, msg, w, l);
}

// A callback that records and can swallow, remove or delete its own hook.
class CRecorder : public IMsgHookCallback
{
public:
    enum Action { none, swallow, removeSelf, deleteSelf };

    explicit CRecorder(const char* name) : m_in(name + std::string(">")), m_out("<" + std::string(name)) {}
    CMsgHook* m_pHook = nullptr;
    Action m_action = none;
    CWnd* m_pLastWnd = reinterpret_cast<CWnd*>(1);

    void OnForwardingMessage(CWnd* pWnd, UINT msg, WPARAM w, LPARAM l, LRESULT& lResult, BOOL& bHandled) override
    {
        if (msg != WM_PROBE && msg != WM_NESTED && msg != WM_NCDESTROY)
            return;
        MsgRecorder::Record(pWnd->GetSafeHwnd(), msg, w, l, m_in.c_str());
        if (msg == WM_NCDESTROY)
            return;
        if (m_action == swallow) {
            lResult = 7;
            bHandled = TRUE;
        } else if (m_action == removeSelf) {
            m_pHook->Remove();
        } else if (m_action == deleteSelf) {
            delete m_pHook;     // still running: the memory goes when the call ends
            m_pHook = nullptr;
        }
    }
    void OnForwardedMessage(CWnd* pWnd, UINT msg, WPARAM w, LPARAM l, LRESULT& lResult) override
    {
        if (msg != WM_PROBE && msg != WM_NESTED && msg != WM_NCDESTROY)
            return;
        MsgRecorder::Record(pWnd->GetSafeHwnd(), msg, w, l, m_out.c_str());
        m_pLastWnd = pWnd;
        lResult += 1;
    }

private:
    std::string m_in, m_out;
};

class MsgHookTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static ATOM atom = [] {
            WNDCLASSW wc = {};
            wc.lpfnWndProc = TargetProc;
            wc.hInstance = ::GetModuleHandleW(NULL);
            wc.lpszClassName = L"WivoHookTarget";
            return ::RegisterClassW(&wc);
        }();
        ASSERT_NE(0, atom);
        m_hWnd = ::CreateWindowExW(0, L"WivoHookTarget", L"", WS_OVERLAPPED, 0, 0, 50, 50, NULL,
                                   NULL, ::GetModuleHandleW(NULL), NULL);
        ASSERT_NE(nullptr, m_hWnd);
        m_pWnd.reset(new CWnd);
        m_pWnd->Attach(m_hWnd);
    }
    void TearDown() override
    {
        if (::IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
        m_pWnd->Detach();
        m_pWnd.reset();
        CWnd::DeleteTempMap();
    }
    // Three hooks A (oldest), B, C (newest), each with its recorder.
    void InstallThree()
    {
        for (int i = 0; i < 3; i++) {
            m_hooks[i].m_pHook = new CMsgHook(&m_hooks[i]);
            ASSERT_TRUE(m_hooks[i].m_pHook->Install(m_pWnd.get()));
        }
    }
    void DeleteHooks()
    {
        for (CRecorder& r : m_hooks) {
            delete r.m_pHook;
            r.m_pHook = nullptr;
        }
    }
    LRESULT Probe() { return ::SendMessageW(m_hWnd, WM_PROBE, 0, 0); }
    std::string Joined() const { return wivotest::Who(m_rec.Entries()); }
    MsgRecorder m_rec;
    HWND m_hWnd = NULL;
    std::unique_ptr<CWnd> m_pWnd;     // by pointer: window objects may throw when destroyed
    CRecorder m_hooks[3] = { CRecorder("A"), CRecorder("B"), CRecorder("C") };
};

TEST_F(MsgHookTest, TheNewestHookSeesAMessageFirstInAndLastOut)
{
    WNDPROC original = (WNDPROC)::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC);
    InstallThree();
    EXPECT_EQ((LONG_PTR)&CMsgHook::HookWndProc, ::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC));
    EXPECT_EQ(103, ::SendMessageW(m_hWnd, WM_PROBE, 5, 6));
    const int w = ExpectedMsg::wparam | ExpectedMsg::lparam;
    EXPECT_TRUE(wivotest::MatchesSequence(m_rec.Entries(), {
        { "C>", WM_PROBE, w, 5, 6 }, { "B>", WM_PROBE, w, 5, 6 }, { "A>", WM_PROBE, w, 5, 6 },
        { "wnd", WM_PROBE, w, 5, 6 },
        { "<A", WM_PROBE, w, 5, 6 }, { "<B", WM_PROBE, w, 5, 6 }, { "<C", WM_PROBE, w, 5, 6 } }));
    EXPECT_FALSE(m_hooks[0].m_pHook->Install(m_pWnd.get())) << "a hook is installed once";

    // A swallowing hook hides the message from older hooks and the window; newer
    // hooks still see its result on the way out.
    m_hooks[1].m_action = CRecorder::swallow;
    m_rec.Clear();
    EXPECT_EQ(8, Probe());
    EXPECT_EQ("C> B> <C", Joined());

    DeleteHooks();
    EXPECT_EQ(original, (WNDPROC)::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC));
}

TEST_F(MsgHookTest, RemovingAnyHookKeepsTheOthersInOrder)
{
    struct Row { int removed; const char* log; } const rows[] = {
        { 0, "C> B> wnd <B <C" },       // the oldest, last in the chain
        { 1, "C> A> wnd <A <C" },       // the middle one
        { 2, "B> A> wnd <A <B" },       // the newest, first in the chain
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.removed);
        InstallThree();
        EXPECT_TRUE(m_hooks[r.removed].m_pHook->Remove());
        EXPECT_FALSE(m_hooks[r.removed].m_pHook->IsHooked());
        EXPECT_FALSE(m_hooks[r.removed].m_pHook->Remove()) << "not installed any more";
        m_rec.Clear();
        Probe();
        EXPECT_EQ(r.log, Joined());
        DeleteHooks();
    }
    EXPECT_FALSE(CMsgHook::RemoveAllHooks(m_pWnd.get())) << "the last hook left the window unhooked";
}

TEST_F(MsgHookTest, AHookMayRemoveOrDeleteItselfInItsCallback)
{
    struct Row { CRecorder::Action action; const char* first; const char* second; } const rows[] = {
        // A hook that leaves its chain in its callback has nobody to pass the
        // message to any more; a deleted one is not called back either.
        { CRecorder::removeSelf, "C> B> <B <C", "C> A> wnd <A <C" },
        { CRecorder::deleteSelf, "C> B> <C", "C> A> wnd <A <C" },
    };
    for (const Row& r : rows) {
        InstallThree();
        m_hooks[1].m_action = r.action;
        m_rec.Clear();
        Probe();
        EXPECT_EQ(r.first, Joined()) << "action " << r.action;
        m_rec.Clear();
        Probe();
        EXPECT_EQ(r.second, Joined()) << "action " << r.action;
        m_hooks[1].m_action = CRecorder::none;
        DeleteHooks();
    }
}

TEST_F(MsgHookTest, NestedMessagesRunTheWholeChainAgain)
{
    InstallThree();
    EXPECT_EQ(203, ::SendMessageW(m_hWnd, WM_NESTED, 0, 0));
    EXPECT_EQ("C> B> A> wnd-outer C> B> A> wnd <A <B <C <A <B <C", Joined());
    DeleteHooks();
}

TEST_F(MsgHookTest, TheWindowsLastMessageReachesItAfterTheHooksAreGone)
{
    InstallThree();
    m_rec.Clear();
    ::DestroyWindow(m_hWnd);
    EXPECT_EQ("C> B> A> wnd-ncdestroy <A <B <C", Joined());
    for (CRecorder& r : m_hooks) {
        EXPECT_FALSE(r.m_pHook->IsHooked());
        EXPECT_EQ(nullptr, r.m_pLastWnd) << "the hooks report the window as gone";
    }
    DeleteHooks();
}

LRESULT CALLBACK RecordingSubclass(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR id, DWORD_PTR)
{
    if (m == WM_PROBE)
        MsgRecorder::Record(h, m, w, l, id == 1 ? "sub1" : "sub2");
    return ::DefSubclassProc(h, m, w, l);
}

TEST_F(MsgHookTest, HooksLiveBesideSetWindowSubclass)
{
    // The common controls keep their subclasses in a chain of their own behind
    // one procedure, installed by the first of them: a subclass added after the
    // hooks joins that chain, below the hooks.
    SUBCLASSPROC sub = &RecordingSubclass;
    ASSERT_TRUE(::SetWindowSubclass(m_hWnd, sub, 1, 0));
    InstallThree();
    ASSERT_TRUE(::SetWindowSubclass(m_hWnd, sub, 2, 0));
    Probe();
    EXPECT_EQ("C> B> A> sub2 sub1 wnd <A <B <C", Joined());
    ::RemoveWindowSubclass(m_hWnd, sub, 2);
    DeleteHooks();
    ::RemoveWindowSubclass(m_hWnd, sub, 1);
    m_rec.Clear();
    Probe();
    EXPECT_EQ("wnd", Joined());
}

TEST_F(MsgHookTest, InstallingByHandleMakesAWindowObjectOnlyWhenNeeded)
{
    // The fixture's object is the permanent object of the fixture window: it is used and kept.
    CMsgHook hook;
    ASSERT_TRUE(hook.Install(m_hWnd));
    EXPECT_EQ(m_pWnd.get(), CWnd::FromHandlePermanent(m_hWnd));
    EXPECT_TRUE(hook.Remove());
    EXPECT_EQ(m_pWnd.get(), CWnd::FromHandlePermanent(m_hWnd));

    // A window without one gets an object for the time it is hooked.
    HWND hOther = ::CreateWindowExW(0, L"WivoHookTarget", L"", WS_OVERLAPPED, 0, 0, 5, 5, NULL,
                                    NULL, ::GetModuleHandleW(NULL), NULL);
    ASSERT_TRUE(hook.Install(hOther));
    CWnd* pMade = CWnd::FromHandlePermanent(hOther);
    EXPECT_NE(nullptr, pMade);
    EXPECT_TRUE(hook.Remove());
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hOther));
    ::DestroyWindow(hOther);

    EXPECT_FALSE(CMsgHook().Install((CWnd*)nullptr));
}

// A subclass hook that adds to what the rest of the chain answers.
class CAddingHook : public CMsgHook
{
protected:
    LRESULT WindowProc(UINT msg, WPARAM w, LPARAM l) override
    {
        if (msg == WM_PROBE)
            return Default() + 1000;
        return CMsgHook::WindowProc(msg, w, l);
    }
};

TEST_F(MsgHookTest, DefaultPassesTheCurrentMessageOn)
{
    CAddingHook hook;
    ASSERT_TRUE(hook.Install(m_pWnd.get()));
    EXPECT_EQ(1100, Probe());
    EXPECT_EQ("wnd", Joined());
}

} // namespace
