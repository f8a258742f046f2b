// Tests of CFrameWnd and CView on real windows: a frame made from resources, its
// menu opened from the keyboard and updated by the command handlers, prompts on
// the status line, command routing, accelerators, views and modal states.
#include "AfxTestSupport.h"
#include "FrameTestIds.h"
#include "GuiTestSupport.h"

#include <afxpriv.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace wivotest;

namespace {

std::string g_log;  // who carried out the commands
int g_nFrames = 0;  // frame objects alive
int g_nInitialUpdates = 0;
int g_nDraws = 0;

class CTestApp : public CWinApp
{
public:
    afx_msg void OnCmd(UINT) { g_log += "app"; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND_RANGE(ID_CMD_VIEW, ID_CMD_APP, OnCmd)
    ON_COMMAND_RANGE(ID_CMD_OFF, ID_CMD_OFF, OnCmd)
END_MESSAGE_MAP()

class CTestFrame : public CFrameWnd
{
public:
    CTestFrame() { ++g_nFrames; }
    ~CTestFrame() { --g_nFrames; }
    afx_msg void OnCmd(UINT) { g_log += "frame"; }
    afx_msg void OnUpdateCheck(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    afx_msg void OnUpdateOff(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_COMMAND_RANGE(ID_CMD_VIEW, ID_CMD_FRAME, OnCmd)
    ON_UPDATE_COMMAND_UI(ID_CMD_CHECK, OnUpdateCheck)
    ON_UPDATE_COMMAND_UI(ID_CMD_OFF, OnUpdateOff)
END_MESSAGE_MAP()

class CTestView : public CView
{
    DECLARE_DYNCREATE(CTestView)
public:
    void OnDraw(CDC* pDC) override { g_nDraws += pDC->IsKindOf(RUNTIME_CLASS(CPaintDC)) ? 1 : 100; }
    void OnInitialUpdate() override { ++g_nInitialUpdates; CView::OnInitialUpdate(); }
    afx_msg void OnCmd() { g_log += "view" + std::to_string(GetDlgCtrlID() - AFX_IDW_PANE_FIRST + 1); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestView, CView)
BEGIN_MESSAGE_MAP(CTestView, CView)
    ON_COMMAND(ID_CMD_VIEW, OnCmd)
END_MESSAGE_MAP()

// A main frame made from IDR_TESTFRAME with one view and a status line, shown.
class FrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_log.clear();
        g_nInitialUpdates = 0;
        m_app.reset(new CTestApp);
        m_pFrame = new CTestFrame;
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CTestView);
        ASSERT_TRUE(m_pFrame->LoadFrame(IDR_TESTFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                                        NULL, &context));
        m_hFrame = m_pFrame->m_hWnd;
        m_pView = static_cast<CView*>(m_pFrame->GetDlgItem(AFX_IDW_PANE_FIRST));
        m_pBar = new CWnd;
        ASSERT_TRUE(m_pBar->CreateEx(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 20),
                                     m_pFrame, AFX_IDW_STATUS_BAR));
        m_app->m_pMainWnd = m_pFrame;
        m_pFrame->InitialUpdateFrame(NULL, TRUE);
        PumpIdle();
    }
    void TearDown() override
    {
        if (::IsWindow(m_hFrame))
            ::DestroyWindow(m_hFrame);
        delete m_pBar;
        // The main window's end asked the loop to quit: not the next test's loop.
        MSG msg;
        while (::PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
        m_app.reset();
        EXPECT_EQ(0, g_nFrames);
    }
    // The thread's loop, as the application runs it (pre-translation included).
    void Pump()
    {
        MSG msg;
        while (::PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT)
            m_app->PumpMessage();
    }
    std::string Command(UINT nID)
    {
        g_log.clear();
        m_pFrame->SendMessage(WM_COMMAND, nID);
        return g_log;
    }

    std::unique_ptr<CTestApp> m_app;
    CTestFrame* m_pFrame = nullptr;
    HWND m_hFrame = NULL;
    CView* m_pView = nullptr;
    CWnd* m_pBar = nullptr;
};

TEST_F(FrameTest, MadeFromOneResourceId)
{
    CRect rcView, rcClient;
    m_pView->GetWindowRect(&rcView);
    m_pFrame->ScreenToClient(&rcView);
    m_pFrame->GetClientRect(&rcClient);
    EXPECT_EQ(Join({WindowText(m_hFrame), (long long)(m_pFrame->m_hMenuDefault == ::GetMenu(m_hFrame)),
                    (long long)(m_pFrame->m_hAccelTable != NULL), (long long)m_pFrame->IsWindowVisible(),
                    (long long)(m_pFrame->GetActiveView() == m_pView), (long long)g_nInitialUpdates,
                    (long long)(rcView == rcClient), WindowText(*m_pBar)}),
              "Frame Title|1|1|1|1|1|1|Ready");
    // The frames around a window.
    EXPECT_EQ(m_pFrame, m_pView->GetParentFrame());
    EXPECT_EQ(m_pFrame, m_pView->GetTopLevelFrame());
    EXPECT_EQ(m_pFrame, m_pFrame->GetTopLevelFrame());
    EXPECT_EQ(nullptr, m_pFrame->GetParentFrame());
    EXPECT_EQ(nullptr, CWnd::GetDesktopWindow()->GetTopLevelFrame());
    // A view paints through OnDraw with a paint DC.
    g_nDraws = 0;
    m_pView->Invalidate();
    m_pView->UpdateWindow();
    EXPECT_EQ(1, g_nDraws);
    // A resource id without a menu: no frame, and the object is gone.
    CTestFrame* pBad = new CTestFrame;
    EXPECT_FALSE(pBad->LoadFrame(IDR_TESTFRAME + 1));
    EXPECT_EQ(1, g_nFrames);
}

TEST_F(FrameTest, CommandsGoToTheActiveViewTheFrameThenTheApplication)
{
    struct { UINT nID; const char* who; } rows[] = {
        {ID_CMD_VIEW, "view1"}, {ID_CMD_FRAME, "frame"}, {ID_CMD_APP, "app"},
        {ID_CMD_NONE, ""}, {ID_CMD_OFF, ""},    // disabled by its update handler
    };
    for (auto& row : rows)
        EXPECT_EQ(row.who, Command(row.nID)) << row.nID;

    // A click in a second view makes it the active one; without views the frame
    // comes first.
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CTestView);
    CWnd* pView2 = m_pFrame->CreateView(&context, AFX_IDW_PANE_FIRST + 1);
    ASSERT_NE(nullptr, pView2);
    pView2->SendMessage(WM_MOUSEACTIVATE, (WPARAM)m_hFrame, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ("view2", Command(ID_CMD_VIEW));
    pView2->DestroyWindow();
    EXPECT_EQ(nullptr, m_pFrame->GetActiveView());
    EXPECT_EQ("frame", Command(ID_CMD_VIEW));
}

TEST_F(FrameTest, AcceleratorsThroughTheMessageLoop)
{
    struct { UINT vk; const char* who; } rows[] = {
        {VK_F5, "view1"}, {VK_F6, "app"}, {VK_F7, ""}, {VK_F8, ""},
    };
    for (auto& row : rows) {
        g_log.clear();
        m_pView->PostMessage(WM_KEYDOWN, row.vk, 1);
        Pump();
        EXPECT_EQ(row.who, g_log) << row.vk;
    }
}

TEST_F(FrameTest, MenuOpenedFromTheKeyboardShowsStatesAndPrompts)
{
    HMENU hFile = ::GetSubMenu(::GetMenu(m_hFrame), 0);
    std::string states, prompt;
    ModalDriver driver([&](ModalDriver& d) {
        d.WaitForMenu();    // opened from the keyboard, its first item is selected
        states = MenuStates(hFile);
        d.WaitUntil([&] { return d.Text(*m_pBar) != L"Ready"; }, "the item's prompt");
        prompt = Narrow(d.Text(*m_pBar));
        d.CloseMenus();
        d.Key(VK_ESCAPE, m_hFrame);     // and the menu bar
    });
    // Alt+F, as the keyboard gives it to the window.
    m_pFrame->PostMessage(WM_SYSCOMMAND, SC_KEYMENU, 'f');
    PumpUntil([&] { return !prompt.empty(); }, 8000);
    driver.Join();
    PumpIdle();
    EXPECT_EQ("oo-oxvx", states);   // none: no handler; check: checked; off: disabled
    EXPECT_EQ("Runs in the view", prompt);
    EXPECT_EQ("Ready", WindowText(*m_pBar));

    // Without automatic disabling an item without handlers stays enabled.
    m_pFrame->m_bAutoMenuEnable = FALSE;
    ::EnableMenuItem(hFile, ID_CMD_NONE, MF_ENABLED);
    m_pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)hFile, 0);
    EXPECT_EQ("oo-oovx", MenuStates(hFile));
}

TEST_F(FrameTest, MessageStringsAndIdleUpdates)
{
    struct { WPARAM id; LPCWSTR text; LPCWSTR shown; } rows[] = {
        {ID_CMD_FRAME, NULL, L"Runs in the frame"},
        {0, L"Free text", L"Free text"},
        {SC_CLOSE, NULL, L"Close the active window and prompt to save the documents"},
        {ID_CMD_NONE, NULL, L""},
        {AFX_IDS_IDLEMESSAGE, NULL, L"Ready"},
    };
    UINT nLast = AFX_IDS_IDLEMESSAGE;
    for (auto& row : rows) {
        EXPECT_EQ(nLast, (UINT)m_pFrame->SendMessage(WM_SETMESSAGESTRING, row.id, (LPARAM)row.text));
        EXPECT_EQ(Narrow(row.shown), WindowText(*m_pBar)) << row.id;
        nLast = (UINT)row.id;
    }
    // Idle time shows the prompt being tracked and the title asked for.
    m_pFrame->m_nIDTracking = ID_CMD_VIEW;
    m_pFrame->m_strTitle = L"New Title";
    m_pFrame->DelayUpdateFrameTitle();
    m_app->OnIdle(0);
    EXPECT_EQ("Runs in the view|New Title", WindowText(*m_pBar) + "|" + WindowText(m_hFrame));
    // Without a status line the prompts are only remembered.
    m_pBar->DestroyWindow();
    EXPECT_EQ(nullptr, m_pFrame->GetMessageBar());
    m_pFrame->SetMessageText(ID_CMD_FRAME);
    EXPECT_EQ((UINT)ID_CMD_FRAME, m_pFrame->m_nIDLastMessage);
}

TEST_F(FrameTest, ModalStateFocusAndClose)
{
    // The frame and the windows it owns are disabled until the last EndModalState.
    CWnd owned;
    ASSERT_TRUE(owned.CreateEx(0, AfxRegisterWndClass(0), L"owned", WS_POPUP, 0, 0, 10, 10, m_hFrame, NULL));
    m_pFrame->BeginModalState();
    m_pFrame->BeginModalState();
    m_pFrame->EndModalState();
    EXPECT_EQ("0|0|1", Join({(long long)m_pFrame->IsWindowEnabled(), (long long)owned.IsWindowEnabled(),
                             (long long)m_pFrame->InModalState()}));
    m_pFrame->EndModalState();
    EXPECT_EQ("1|1|0", Join({(long long)m_pFrame->IsWindowEnabled(), (long long)owned.IsWindowEnabled(),
                             (long long)m_pFrame->InModalState()}));
    owned.DestroyWindow();

    // The focus given to the frame goes on to its active view.
    m_pBar->SetFocus();
    m_pFrame->SetFocus();
    EXPECT_EQ(m_pView->m_hWnd, ::GetFocus());

    // Closing destroys the window and deletes the frame and its view.
    m_pFrame->SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(m_hFrame));
    EXPECT_EQ(0, g_nFrames);
}

} // namespace
