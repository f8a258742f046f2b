// Tests of CCmdTarget, CCmdUI and CWnd: message maps, reflection, handle maps,
// subclassing, the end of a window and exceptions in handlers, on real windows.
#include <afxwin.h>
#include <afxpriv.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;
UINT g_registeredMsg = ::RegisterWindowMessageW(L"WivoWindowTest");

std::string Joined()
{
    std::string s;
    for (const std::string& e : g_log)
        s += (s.empty() ? "" : ",") + e;
    return s;
}

class CBaseWnd : public CWnd
{
protected:
    void PostNcDestroy() override { g_log.push_back("PostNcDestroy"); }
    afx_msg LRESULT OnBase(WPARAM, LPARAM) { g_log.push_back("Base.Base"); return 1; }
    afx_msg LRESULT OnShared(WPARAM, LPARAM) { g_log.push_back("Base.Shared"); return 2; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_MESSAGE(WM_USER + 10, OnBase)
    ON_MESSAGE(WM_USER + 11, OnShared)
END_MESSAGE_MAP()

class CTestWnd : public CBaseWnd
{
public:
    bool m_bThrow = false;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs)
    {
        g_log.push_back("Create");
        return CBaseWnd::OnCreate(lpcs);
    }
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpcs)
    {
        g_log.push_back("NcCreate");
        return CBaseWnd::OnNcCreate(lpcs);
    }
    afx_msg void OnSize(UINT nType, int cx, int cy)
    {
        g_log.push_back("Size " + std::to_string(nType) + " " + std::to_string(cx) + "x" + std::to_string(cy));
    }
    afx_msg void OnTimer(UINT nID) { g_log.push_back("Timer " + std::to_string(nID)); }
    afx_msg void OnLButtonDown(UINT, CPoint pt)
    {
        g_log.push_back("LButtonDown " + std::to_string(pt.x) + "," + std::to_string(pt.y));
    }
    afx_msg LRESULT OnShared(WPARAM w, LPARAM)
    {
        g_log.push_back("Derived.Shared");
        if (w == 1 && m_bThrow)
            throw new CUserException;
        if (w == 2 && m_bThrow)
            throw 42;
        return 3;
    }
    afx_msg LRESULT OnRegistered(WPARAM w, LPARAM) { g_log.push_back("Registered"); return (LRESULT)w + 1; }
    afx_msg void OnCmd() { g_log.push_back("Cmd"); }
    afx_msg void OnRange(UINT nID) { g_log.push_back("Range " + std::to_string(nID)); }
    afx_msg void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    afx_msg void OnUpdateDisabledCmd(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnDisabledCmd() { g_log.push_back("DisabledCmd"); }
    afx_msg void OnNotifyClick(NMHDR* pNMHDR, LRESULT* pResult)
    {
        g_log.push_back("Notify " + std::to_string(pNMHDR->idFrom));
        *pResult = 7;
    }
    afx_msg void OnChildClicked() { g_log.push_back("Parent.Clicked"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestWnd, CBaseWnd)
    ON_WM_CREATE()
    ON_WM_NCCREATE()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_MESSAGE(WM_USER + 11, OnShared)
    ON_REGISTERED_MESSAGE(g_registeredMsg, OnRegistered)
    ON_COMMAND(100, OnCmd)
    ON_COMMAND_RANGE(200, 210, OnRange)
    ON_UPDATE_COMMAND_UI(102, OnUpdateChecked)
    ON_COMMAND(103, OnDisabledCmd)
    ON_UPDATE_COMMAND_UI(103, OnUpdateDisabledCmd)
    ON_NOTIFY(NM_CLICK, 5, OnNotifyClick)
    ON_BN_CLICKED(300, OnChildClicked)
    ON_BN_CLICKED(301, OnChildClicked)
END_MESSAGE_MAP()

// A push button that handles its own click; the _EX form lets the parent see it too.
class CReflectingButton : public CWnd
{
public:
    bool m_bAlsoParent = false;

protected:
    afx_msg BOOL OnClicked()
    {
        g_log.push_back("Child.Clicked");
        return m_bAlsoParent ? FALSE : TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingButton, CWnd)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_log.clear();
        m_pWnd.reset(new CTestWnd);
        LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(NULL, IDC_ARROW));
        ASSERT_TRUE(m_pWnd->CreateEx(0, cls, L"WindowTest", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200,
                                   NULL, NULL));
    }
    void TearDown() override
    {
        if (m_pWnd->m_hWnd != NULL)
            m_pWnd->DestroyWindow();
        m_pWnd.reset();
        CWnd::DeleteTempMap();
    }
    LRESULT Send(UINT msg, WPARAM w = 0, LPARAM l = 0) { return m_pWnd->SendMessage(msg, w, l); }
    // Held by pointer: window objects may throw from their destructors.
    std::unique_ptr<CTestWnd> m_pWnd;
};

TEST_F(WindowTest, CreationReachesTheObjectFromTheFirstMessages)
{
    EXPECT_EQ("NcCreate,Create", Joined().substr(0, 15)) << Joined();
    EXPECT_EQ(m_pWnd.get(), CWnd::FromHandlePermanent(m_pWnd->m_hWnd));
    EXPECT_EQ((LONG_PTR)AfxGetAfxWndProc(), ::GetWindowLongPtrW(m_pWnd->m_hWnd, GWLP_WNDPROC));
    EXPECT_EQ(1, ::SendMessageW(m_pWnd->m_hWnd, WM_QUERYAFXWNDPROC, 0, 0));
}

TEST_F(WindowTest, MessagesReachTheirHandlersWithCrackedArguments)
{
    NMHDR nm = { ::GetDesktopWindow(), 5, (UINT)NM_CLICK };
    struct Row { UINT msg; WPARAM w; LPARAM l; const char* log; LRESULT result; };
    const Row rows[] = {
        { WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 80), "Size 0 120x80", 0 },
        { WM_TIMER, 17, 0, "Timer 17", 0 },
        { WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-3 & 0xFFFF, 9), "LButtonDown -3,9", 0 },
        { WM_USER + 10, 0, 0, "Base.Base", 1 },         // inherited entry
        { WM_USER + 11, 0, 0, "Derived.Shared", 3 },    // derived entry wins
        { g_registeredMsg, 41, 0, "Registered", 42 },
        { WM_COMMAND, 100, 0, "Cmd", 1 },
        { WM_COMMAND, 205, 0, "Range 205", 1 },
        { WM_COMMAND, 103, 0, "", 1 },                  // disabled by its update handler
        { WM_COMMAND, 999, 0, "", 0 },                  // nobody: default procedure
        { WM_NOTIFY, 5, (LPARAM)&nm, "Notify 5", 7 },
    };
    for (const Row& r : rows) {
        g_log.clear();
        LRESULT result = Send(r.msg, r.w, r.l);
        EXPECT_EQ(r.log, Joined()) << "message " << r.msg;
        EXPECT_EQ(r.result, result) << "message " << r.msg;
    }
}

TEST_F(WindowTest, ControlNotificationsAreReflectedToTheControlFirst)
{
    for (bool alsoParent : { false, true }) {
        CReflectingButton button;
        button.m_bAlsoParent = alsoParent;
        HWND hButton = ::CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | BS_PUSHBUTTON, 0, 0, 50, 20,
                                         m_pWnd->m_hWnd, (HMENU)300, NULL, NULL);
        ASSERT_TRUE(button.SubclassWindow(hButton));
        g_log.clear();
        button.SendMessage(BM_CLICK);
        EXPECT_EQ(alsoParent ? "Child.Clicked,Parent.Clicked" : "Child.Clicked", Joined());
        button.DestroyWindow();
    }
    // A control without an object of its own: the parent's map only.
    HWND hPlain = ::CreateWindowExW(0, L"BUTTON", L"p", WS_CHILD | BS_PUSHBUTTON, 0, 0, 50, 20,
                                    m_pWnd->m_hWnd, (HMENU)301, NULL, NULL);
    g_log.clear();
    ::SendMessageW(hPlain, BM_CLICK, 0, 0);
    EXPECT_EQ("Parent.Clicked", Joined());
    ::DestroyWindow(hPlain);
}

TEST_F(WindowTest, MenuItemsTakeTheirStateFromTheCommandTarget)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    for (UINT id : { 100u, 101u, 102u, 103u })
        menu.AppendMenu(MF_STRING, id, L"item");
    CCmdUI state;
    state.m_pMenu = &menu;
    state.m_nIndexMax = menu.GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
        state.m_nID = menu.GetMenuItemID((int)state.m_nIndex);
        state.DoUpdate(m_pWnd.get(), TRUE);
    }
    struct Row { UINT id; UINT state; } const rows[] = {
        { 100, MF_ENABLED },                // command handler, no update handler
        { 101, MF_GRAYED },                 // no handler at all
        { 102, MF_CHECKED },                // update handler checks it
        { 103, MF_GRAYED },                 // update handler disables it
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.state, menu.GetMenuState(r.id, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED))
            << "item " << r.id;
}

TEST_F(WindowTest, HandleMapsKeepPermanentAndDropTemporaryObjects)
{
    HWND hPlain = ::CreateWindowExW(0, L"STATIC", L"s", WS_CHILD, 0, 0, 10, 10, m_pWnd->m_hWnd,
                                    NULL, NULL, NULL);
    CWnd* pTemp = CWnd::FromHandle(hPlain);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(pTemp, CWnd::FromHandle(hPlain));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hPlain));
    EXPECT_EQ(m_pWnd.get(), pTemp->GetParent());
    CWnd::DeleteTempMap();
    EXPECT_TRUE(::IsWindow(hPlain)) << "a temporary object must not destroy its window";

    CWnd attached;
    ASSERT_TRUE(attached.Attach(hPlain));
    EXPECT_EQ(&attached, CWnd::FromHandle(hPlain));
    EXPECT_EQ(hPlain, attached.Detach());
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hPlain));
    ::DestroyWindow(hPlain);
    EXPECT_EQ(nullptr, CWnd::FromHandle(NULL));
}

TEST_F(WindowTest, SubclassingTakesOverAndUnsubclassingGivesBack)
{
    HWND hEdit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 50, 20, m_pWnd->m_hWnd, NULL,
                                   NULL, NULL);
    LONG_PTR original = ::GetWindowLongPtrW(hEdit, GWLP_WNDPROC);
    {
        CTestWnd sub;
        ASSERT_TRUE(sub.SubclassWindow(hEdit));
        EXPECT_FALSE(sub.SubclassWindow(hEdit)) << "one window per object";
        g_log.clear();
        ::SendMessageW(hEdit, WM_USER + 10, 0, 0);
        EXPECT_EQ("Base.Base", Joined());
        ::SetWindowTextW(hEdit, L"typed");    // the edit's own procedure still works
        CString text;
        sub.GetWindowText(text);
        EXPECT_EQ(CString(L"typed"), text);
        EXPECT_EQ(hEdit, sub.UnsubclassWindow());
        EXPECT_EQ(original, ::GetWindowLongPtrW(hEdit, GWLP_WNDPROC));
    }
    EXPECT_TRUE(::IsWindow(hEdit)) << "an unsubclassed object leaves the window alone";
    ::DestroyWindow(hEdit);
}

TEST_F(WindowTest, TheEndOfTheWindowDetachesAndCallsPostNcDestroy)
{
    HWND hWnd = m_pWnd->m_hWnd;
    g_log.clear();
    ASSERT_TRUE(m_pWnd->DestroyWindow());
    EXPECT_EQ("PostNcDestroy", Joined());
    EXPECT_EQ(nullptr, m_pWnd->m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
}

TEST_F(WindowTest, AnExceptionInAHandlerStopsAtTheWindowProcedure)
{
    m_pWnd->m_bThrow = true;
    for (WPARAM kind : { 1, 2 }) {   // a framework exception, then any other
        g_log.clear();
        EXPECT_EQ(0, Send(WM_USER + 11, kind)) << "kind " << kind;
        EXPECT_EQ("Derived.Shared", Joined());
    }
    m_pWnd->m_bThrow = false;
    EXPECT_EQ(3, Send(WM_USER + 11)) << "the window must stay usable";
    EXPECT_EQ(nullptr, AfxGetThreadState()->m_lastSentMsg.hwnd) << "the record must be restored";
}

} // namespace
