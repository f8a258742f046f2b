// Tests of CMenuMsgHook and CPaletteMsgHook on real windows: a popup menu of a
// plain window kept up to date by a command target, prompts reaching the main
// frame, and the palette messages the palette hook keeps from its window.
#include "MenuMsgHook.h"
#include "PaletteMsgHook.h"

#include "AfxTestSupport.h"
#include "GuiTestSupport.h"

#include <afxpriv.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace wivotest;

namespace {

const UINT ID_A = 0x8101, ID_NONE = 0x8102, ID_CHECK = 0x8103, ID_X = 0x8104, ID_DEL = 0x8105,
           ID_AFTER = 0x8106, ID_SUB = 0x8107;

std::string g_log;

// A framework window that logs the messages the hooks are about.
class CLogWnd : public CWnd
{
public:
    explicit CLogWnd(const char* name) : m_name(name) {}
    BOOL Make(CWnd* pParent = NULL)
    {
        DWORD dwStyle = pParent != NULL ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_VISIBLE;
        return CreateEx(0, AfxRegisterWndClass(0), L"", dwStyle, 0, 0, 60, 60,
                        pParent != NULL ? pParent->m_hWnd : NULL, NULL);
    }
    LRESULT WindowProc(UINT msg, WPARAM w, LPARAM l) override
    {
        static const std::pair<UINT, const char*> logged[] = {
            {WM_INITMENUPOPUP, "initmenupopup"}, {WM_MENUSELECT, "menuselect"},
            {WM_SETFOCUS, "setfocus"}, {WM_QUERYNEWPALETTE, "querynewpalette"},
            {WM_PALETTECHANGED, "palettechanged"}};
        for (auto& e : logged) {
            if (e.first == msg)
                g_log += m_name + ":" + e.second + (msg == WM_PALETTECHANGED && w == 1 ? "(1) " : " ");
        }
        return CWnd::WindowProc(msg, w, l);
    }
    std::string m_name;
};

// The command target: a handler for A, update handlers for the rest.
class CTarget : public CWnd
{
public:
    afx_msg void OnA() {}
    afx_msg void OnUpdateCheck(CCmdUI* p) { g_log += "check "; p->SetCheck(1); }
    afx_msg void OnUpdateAfter(CCmdUI* p) { g_log += "after "; p->Enable(TRUE); }
    // Deletes the item before it and itself, as a list that shrinks does.
    afx_msg void OnUpdateDel(CCmdUI* p)
    {
        g_log += "del ";
        p->m_pMenu->DeleteMenu(p->m_nIndex, MF_BYPOSITION);
        p->m_pMenu->DeleteMenu(p->m_nIndex - 1, MF_BYPOSITION);
    }
    // Reached for the submenu's entry: greys it as its first item is.
    afx_msg void OnUpdateSub(CCmdUI* p)
    {
        g_log += "sub@" + std::to_string(p->m_nIndex) + (p->m_pSubMenu != NULL ? "s " : " ");
        p->m_pMenu->EnableMenuItem(p->m_nIndex, MF_BYPOSITION | MF_GRAYED);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTarget, CWnd)
    ON_COMMAND(ID_A, OnA)
    ON_UPDATE_COMMAND_UI(ID_CHECK, OnUpdateCheck)
    ON_UPDATE_COMMAND_UI(ID_AFTER, OnUpdateAfter)
    ON_UPDATE_COMMAND_UI(ID_DEL, OnUpdateDel)
    ON_UPDATE_COMMAND_UI(ID_SUB, OnUpdateSub)
END_MESSAGE_MAP()

// The main window: records the prompts it is sent.
class CMainFrame : public CFrameWnd
{
public:
    LRESULT WindowProc(UINT msg, WPARAM w, LPARAM l) override
    {
        if (msg == WM_SETMESSAGESTRING)
            m_prompts += std::to_string(w) + " ";
        return CFrameWnd::WindowProc(msg, w, l);
    }
    std::string m_prompts;
};

class MenuPaletteHookTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_log.clear();
        m_app.reset(new CWinApp);
        m_pMain = new CMainFrame;
        ASSERT_TRUE(m_pMain->Create(NULL, L"main"));
        m_app->m_pMainWnd = m_pMain;
        ASSERT_TRUE(m_wnd->Make());
        PumpIdle();
        g_log.clear();
    }
    void TearDown() override
    {
        m_wnd.reset();
        m_pMain->DestroyWindow();
        MSG msg;
        while (::PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
        m_app.reset();
    }
    std::unique_ptr<CWinApp> m_app;
    CMainFrame* m_pMain = nullptr;
    std::unique_ptr<CLogWnd> m_wnd{new CLogWnd("wnd")};
};

TEST_F(MenuPaletteHookTest, MenuItemsTakeTheirStatesFromTheCommandTarget)
{
    CTarget target;
    CMenuMsgHook hook;
    ASSERT_TRUE(hook.Install(m_wnd.get(), &target));
    CMenu menu, sub;
    menu.CreatePopupMenu();
    sub.CreatePopupMenu();
    sub.AppendMenu(MF_STRING, ID_SUB, L"sub");
    UINT items[] = {ID_A, ID_NONE, 0, ID_CHECK, ID_X, ID_DEL, ID_AFTER};
    for (UINT id : items)
        menu.AppendMenu(id != 0 ? MF_STRING : MF_SEPARATOR, id, L"item");
    menu.AppendMenu(MF_POPUP, (UINT_PTR)sub.Detach(), L"popup");

    // Opened for real; a second thread reads the states, moves to the first item
    // and closes the menu.
    std::string states;
    m_pMain->m_prompts.clear();
    ModalDriver driver([&](ModalDriver& d) {
        HWND hMenuWnd = d.WaitForMenu();
        states = MenuStates(menu.m_hMenu);
        d.Key(VK_DOWN, hMenuWnd);
        ::Sleep(200);
        d.CloseMenus();
    });
    m_wnd->SetForegroundWindow();
    menu.TrackPopupMenu(TPM_LEFTALIGN, 10, 10, m_wnd.get());
    driver.Join();
    // The item deleted before the deleting one is gone; nothing was skipped or
    // visited twice; the window itself saw neither message.
    EXPECT_EQ("ox-vox", states);
    EXPECT_EQ("check del after sub@5s ", g_log);
    // The prompts: the first item, then the idle prompt when the menu closed.
    EXPECT_EQ(std::to_string(ID_A) + " " + std::to_string(AFX_IDS_IDLEMESSAGE) + " ", m_pMain->m_prompts);

    // The system menu is left alone.
    CMenu sys;
    sys.CreatePopupMenu();
    sys.AppendMenu(MF_STRING, ID_NONE, L"none");
    g_log.clear();
    m_wnd->SendMessage(WM_INITMENUPOPUP, (WPARAM)sys.m_hMenu, MAKELPARAM(0, TRUE));
    EXPECT_EQ("o", MenuStates(sys.m_hMenu));
    EXPECT_EQ("", g_log);
}

TEST_F(MenuPaletteHookTest, MenuSelectionsSendPromptsToTheMainWindow)
{
    CTarget target;
    CMenuMsgHook hook;
    ASSERT_TRUE(hook.Install(m_wnd.get(), &target));
    struct { UINT id, flags; const char* sent; } rows[] = {
        {ID_A, MF_HILITE, "33025 "},
        {SC_CLOSE, MF_HILITE | MF_SYSMENU, "61536 "},
        {0, MF_SEPARATOR, ""},
        {ID_A, MF_SEPARATOR, ""},
        {0, MF_POPUP | MF_HILITE, ""},
        {ID_A, MF_MENUBREAK, ""},
        {ID_A, MF_MENUBARBREAK, ""},
        {0, 0xFFFF, "57345 "},      // closed
    };
    for (auto& row : rows) {
        m_pMain->m_prompts.clear();
        m_wnd->SendMessage(WM_MENUSELECT, MAKEWPARAM(row.id, row.flags), 0);
        EXPECT_EQ(row.sent, m_pMain->m_prompts) << row.id << " " << row.flags;
    }
    EXPECT_EQ("", g_log);
    // Without a main window nothing is sent, and nothing breaks.
    m_app->m_pMainWnd = NULL;
    m_wnd->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_A, MF_HILITE), 0);
    m_app->m_pMainWnd = m_pMain;
}

// A view that takes the system palette when asked.
class CPaletteView : public CView
{
public:
    void OnDraw(CDC*) override {}
    afx_msg BOOL OnQueryNewPalette() { g_log += "view "; return TRUE; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaletteView, CView)
    ON_WM_QUERYNEWPALETTE()
END_MESSAGE_MAP()

// Realising is counted; a row says how many entries it changes.
class CCountingPaletteHook : public CPaletteMsgHook
{
public:
    int DoRealizePalette(BOOL bForeground) override
    {
        g_log += std::string("realize(") + (bForeground ? "fg) " : "bg) ");
        return m_nChanged;
    }
    int m_nChanged = 0;
};

TEST_F(MenuPaletteHookTest, PaletteRealisedWithoutReachingTheWindow)
{
    // Realising needs a hook, a palette and a window; otherwise nothing is painted.
    CPaletteMsgHook plain;
    CPalette palette;
    struct { WORD ver, n; PALETTEENTRY e[2]; } lp = {0x300, 2, {{255, 0, 0, 0}, {0, 0, 255, 0}}};
    ASSERT_TRUE(palette.CreatePalette((LOGPALETTE*)&lp));
    plain.SetPalette(&palette);
    EXPECT_EQ(0, plain.DoRealizePalette(TRUE));
    ASSERT_TRUE(plain.Install(m_wnd.get(), NULL));
    m_wnd->ValidateRect(NULL);
    EXPECT_EQ(0, plain.DoRealizePalette(TRUE));
    EXPECT_FALSE(::GetUpdateRect(m_wnd->m_hWnd, NULL, FALSE));
    plain.Remove();

    CLogWnd child("child"), grandchild("grandchild");
    ASSERT_TRUE(child.Make(m_wnd.get()) && grandchild.Make(&child));
    CCountingPaletteHook hook;
    ASSERT_TRUE(hook.Install(m_wnd.get(), &palette));
    CCountingPaletteHook childHook, frameHook;
    ASSERT_TRUE(childHook.Install(&child, &palette));
    ASSERT_TRUE(frameHook.Install(m_pMain, &palette));
    struct { CWnd* pWnd; UINT msg; WPARAM w; int nChanged; LRESULT result; const char* log; } rows[] = {
        {m_wnd.get(), WM_QUERYNEWPALETTE, 0, 3, TRUE, "realize(fg) "},
        {m_wnd.get(), WM_QUERYNEWPALETTE, 0, 0, FALSE, "realize(fg) "},
        {m_pMain, WM_QUERYNEWPALETTE, 0, 0, FALSE, "realize(fg) "},    // no view yet
        {m_pMain, WM_QUERYNEWPALETTE, 0, 0, TRUE, "realize(fg) view "},
        {m_pMain, WM_QUERYNEWPALETTE, 0, 1, TRUE, "realize(fg) "},
        // Another window changed the palette: a top-level window that changed
        // nothing tells its descendants; its own change is no news.
        {m_wnd.get(), WM_PALETTECHANGED, 1, 0, 0,
         "realize(bg) realize(bg) grandchild:palettechanged(1) "},
        {m_wnd.get(), WM_PALETTECHANGED, 1, 2, 0, "realize(bg) "},
        {m_wnd.get(), WM_PALETTECHANGED, (WPARAM)m_wnd->m_hWnd, 0, 0, ""},
        // A child never forwards.
        {&child, WM_PALETTECHANGED, 1, 0, 0, "realize(bg) "},
    };
    for (auto& row : rows) {
        if (&row == &rows[3]) {
            CView* pView = new CPaletteView;
            ASSERT_TRUE(pView->Create(NULL, NULL, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 9, 9), m_pMain,
                                      AFX_IDW_PANE_FIRST));
            m_pMain->SetActiveView(pView);
        }
        g_log.clear();
        hook.m_nChanged = childHook.m_nChanged = frameHook.m_nChanged = row.nChanged;
        EXPECT_EQ(row.result, row.pWnd->SendMessage(row.msg, row.w, 0)) << row.msg;
        EXPECT_EQ(row.log, g_log) << row.msg << " " << row.nChanged;
    }
    // The focus reaches the window after the palette has been realised.
    child.SetFocus();
    g_log.clear();
    m_wnd->SetFocus();
    EXPECT_EQ("realize(fg) wnd:setfocus ", g_log);
}

} // namespace
