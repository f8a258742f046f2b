// Tests of CDialog and dialog data exchange: modal dialogs driven by keys and
// clicks from a second thread, the parse and range rules of DDX_/DDV_, list,
// combo and button exchange, modeless dialogs, and 1000 dialogs that leave nothing.
#include <afxwin.h>
#include <afxres.h>

#include "AfxTestSupport.h"
#include "GuiTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace wivotest;

namespace {

// Templates and controls of DialogTest.rc.
enum { IDD_DATA = 100, IDD_LISTS, IDD_MISSING = 999, IDC_INT = 1001, IDC_UINT, IDC_REAL, IDC_NAME,
    IDC_CHECK, IDC_RADIO1, IDC_RADIO2, IDC_RADIO3, IDC_EDIT = 1101, IDC_LIST, IDC_COMBO, IDC_DROPLIST,
    IDC_SCROLL, IDC_RA, IDC_RB, IDC_LABEL, IDC_RC };

// Message boxes either appear (for the driver) or are only recorded.
class CDialogTestApp : public CWinApp
{
public:
    CDialogTestApp() : CWinApp(L"DialogTest") {}
    bool m_bQuiet = false;
    CString m_strPrompt;
    UINT m_nType = 0, m_nIDPrompt = 0;
    int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt) override
    {
        if (!m_bQuiet)
            return CWinApp::DoMessageBox(lpszPrompt, nType, nIDPrompt);
        m_strPrompt = lpszPrompt;
        m_nType = nType;
        m_nIDPrompt = nIDPrompt;
        return IDOK;
    }
} theApp;

std::string Real(double d)
{
    CString s;
    s.Format(L"%g", d);
    return Narrow(s);
}

class CDataDlg : public CDialog
{
public:
    explicit CDataDlg(UINT nID = IDD_DATA) : CDialog(nID) {}
    int m_nInt = 7, m_nCheck = 0, m_nRadio = 0;
    UINT m_nUInt = 8;
    double m_dReal = 1.5;
    CString m_strName = L"abc";
    int m_nEndInInit = 0;           // EndDialog with it in OnInitDialog
    bool m_bCancelSoon = false;     // posts Cancel from OnInitDialog
    using CDialog::m_hWndTop;

    std::string Values() const
    {
        return Join({m_nInt, (long long)m_nUInt, Real(m_dReal), m_strName, m_nCheck, m_nRadio});
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_INT, m_nInt), DDV_MinMaxInt(pDX, m_nInt, -50, 50);
        DDX_Text(pDX, IDC_UINT, m_nUInt);
        DDX_Text(pDX, IDC_REAL, m_dReal);
        DDX_Text(pDX, IDC_NAME, m_strName), DDV_MaxChars(pDX, m_strName, 5);
        DDX_Check(pDX, IDC_CHECK, m_nCheck);
        DDX_Radio(pDX, IDC_RADIO1, m_nRadio);
    }
    BOOL OnInitDialog() override
    {
        BOOL bResult = CDialog::OnInitDialog();
        if (m_nEndInInit != 0)
            EndDialog(m_nEndInInit);
        if (m_bCancelSoon)
            PostMessage(WM_COMMAND, IDCANCEL);
        return bResult;
    }
};

// A top-level window as the application's main window, which owns the dialogs.
class DialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pMain.reset(new CWnd);
        ASSERT_TRUE(m_pMain->CreateEx(0, AfxRegisterWndClass(0), L"Main",
            WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 600, 400, NULL, NULL));
        theApp.m_pMainWnd = m_pMain.get();
    }
    void TearDown() override
    {
        theApp.m_pMainWnd = NULL;   // or its end would quit the thread
        m_pMain.reset();
    }
    std::unique_ptr<CWnd> m_pMain;
};

/////////////////////////////////////////////////////////////////////////////
// Modal dialogs as a user works them

enum Act { Type, Tab, Return, Escape, Click, Box };
struct Step { Step(Act a, int id = 0, LPCWSTR t = nullptr) : act(a), nID(id), text(t) {} Act act; int nID; LPCWSTR text; };

void WaitFocus(ModalDriver& d, HWND hWnd)
{
    d.WaitUntil([&] { return d.Focus() == hWnd; }, "the focus on control " + std::to_string(::GetDlgCtrlID(hWnd)));
}

void RunSteps(ModalDriver& d, HWND hMain, const std::vector<Step>& steps)
{
    HWND hDlg = d.WaitForDialog(L"Data");
    d.Check(!::IsWindowEnabled(hMain) && ::GetWindow(hDlg, GW_OWNER) == hMain, "owner disabled");
    for (const Step& s : steps) {
        HWND hCtl = s.nID != 0 ? d.Control(hDlg, s.nID) : NULL;
        if (s.act == Type) {
            WaitFocus(d, hCtl);
            ::SendMessageW(hCtl, EM_SETSEL, 0, -1);
            d.Type(s.text, hCtl);
        } else if (s.act == Click) {
            d.Press(hDlg, s.nID);
        } else if (s.act == Box) {
            // The prompt, then back on the refused edit with all its text selected.
            HWND hBox = d.WaitForDialog(L"DialogTest");
            d.Check(d.StaticText(hBox).Find(s.text) >= 0, "prompt: " + Narrow(d.StaticText(hBox)));
            d.Press(hBox, IDOK);
            d.WaitForClose(hBox);
            WaitFocus(d, hCtl);
            DWORD dwSel = (DWORD)::SendMessageW(hCtl, EM_GETSEL, 0, 0);
            d.Check(LOWORD(dwSel) == 0 && HIWORD(dwSel) == ::GetWindowTextLengthW(hCtl), "selected");
        } else {
            d.Key(s.act == Tab ? VK_TAB : s.act == Return ? VK_RETURN : VK_ESCAPE);
        }
    }
}

TEST_F(DialogTest, ModalDialogTakesTypedValuesAndRefusesBadOnes)
{
    const std::string unchanged = "7|8|1.5|abc|0|0";
    struct Row { const char* name; std::vector<Step> steps; int nResult; std::string values; } rows[] = {
        {"typed, tabbed, clicked, Return", {{Type, IDC_INT, L"-12"}, {Tab}, {Type, IDC_UINT, L"4000000000"},
            {Tab}, {Type, IDC_REAL, L" 2.5e3 "}, {Tab}, {Type, IDC_NAME, L"Wiener"}, {Click, IDC_CHECK},
            {Click, IDC_RADIO3}, {Return}}, IDOK, "-12|4000000000|2500|Wiene|1|2"},
        {"Escape", {{Type, IDC_INT, L"5"}, {Escape}}, IDCANCEL, unchanged},
        {"bad number, corrected", {{Type, IDC_INT, L"12x"}, {Click, IDOK},
            {Box, IDC_INT, L"Please enter an integer."}, {Type, IDC_INT, L"3"}, {Return}}, IDOK, "3|8|1.5|abc|0|0"},
        // The value was stored before its check refused it.
        {"out of range", {{Type, IDC_INT, L"51"}, {Return},
            {Box, IDC_INT, L"Please enter an integer between -50 and 50."}, {Escape}}, IDCANCEL, "51|8|1.5|abc|0|0"},
        {"negative unsigned", {{Tab}, {Type, IDC_UINT, L"-1"}, {Return},
            {Box, IDC_UINT, L"Please enter a positive integer."}, {Escape}}, IDCANCEL, unchanged},
        {"comma in a number", {{Tab}, {Tab}, {Type, IDC_REAL, L"1,5"}, {Return},
            {Box, IDC_REAL, L"Please enter a number."}, {Click, IDCANCEL}}, IDCANCEL, unchanged},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CDataDlg dlg;
        HWND hMain = m_pMain->m_hWnd;
        ModalDriver driver([&](ModalDriver& d) { RunSteps(d, hMain, row.steps); });
        int nResult = dlg.DoModal();
        driver.Join();
        EXPECT_EQ(Join({row.nResult, row.values}), Join({nResult, dlg.Values()}));
        EXPECT_EQ(Join({1, 0LL, 0LL}), Join({::IsWindowEnabled(hMain), (INT_PTR)dlg.m_hWnd, (INT_PTR)dlg.m_hWndTop}));
    }
}

TEST_F(DialogTest, ModalLifecycle)
{
    EXPECT_EQ(-1, CDataDlg(IDD_MISSING).DoModal());
    EXPECT_FALSE(CDialog().Create(IDD_MISSING));

    // Ended in OnInitDialog: no loop, no window left; a modeless one is not created.
    CDataDlg ended, endedModeless;
    ended.m_nEndInInit = endedModeless.m_nEndInInit = 42;
    EXPECT_EQ(Join({42, 0LL}), Join({ended.DoModal(), (INT_PTR)ended.m_hWnd}));
    EXPECT_EQ(Join({0LL, 0LL}), Join({endedModeless.Create(IDD_DATA), (INT_PTR)endedModeless.m_hWnd}));

    // A template in memory, ended from the loop; centred on the main window while it runs.
    alignas(4) WORD tpl[12] = {};
    DLGTEMPLATE t = {WS_POPUP | WS_CAPTION, 0, 0, 0, 0, 120, 60};
    memcpy(tpl, &t, sizeof(t));
    CDialog indirect;
    ASSERT_TRUE(indirect.InitModalIndirect((LPCDLGTEMPLATE)tpl));
    CRect rcDlg, rcMain;
    CallSoon([&] { indirect.GetWindowRect(&rcDlg); indirect.EndDialog(77); }, 100);
    EXPECT_EQ(77, indirect.DoModal());
    m_pMain->GetWindowRect(&rcMain);
    EXPECT_LE(abs(rcDlg.CenterPoint().x - rcMain.CenterPoint().x) + abs(rcDlg.CenterPoint().y - rcMain.CenterPoint().y), 2);

    // WM_QUIT ends the loop with -1 and stays for the outer loop.
    CallSoon([] { ::PostQuitMessage(5); }, 50);
    EXPECT_EQ(-1, CDataDlg().DoModal());
    EXPECT_TRUE(m_pMain->IsWindowEnabled()) << "the owner is enabled again without EndDialog";
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
}

/////////////////////////////////////////////////////////////////////////////
// Exchange rules, on a modeless dialog with the message boxes recorded

class CListsDlg : public CDialog
{
public:
    std::function<void(CDataExchange*)> m_exchange = [](CDataExchange*) {};

protected:
    void DoDataExchange(CDataExchange* pDX) override { m_exchange(pDX); }
};

class DialogExchangeTest : public DialogTest
{
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        m_pDlg.reset(new CListsDlg);
        ASSERT_TRUE(m_pDlg->Create(IDD_LISTS));
        theApp.m_bQuiet = true;
    }
    void TearDown() override
    {
        theApp.m_bQuiet = false;
        m_pDlg.reset();
        DialogTest::TearDown();
    }
    // "ok", or the prompt shown (and whether the edit got the focus back).
    std::string Exchange(BOOL bSave, std::function<void(CDataExchange*)> f)
    {
        theApp.m_strPrompt.Empty();
        m_pDlg->m_exchange = f;
        if (m_pDlg->UpdateData(bSave))
            return "ok";
        EXPECT_EQ(Join({MB_ICONEXCLAMATION, 1}), Join({theApp.m_nType, theApp.m_nIDPrompt >= AFX_IDP_PARSE_INT}));
        return Narrow(theApp.m_strPrompt) + (::GetFocus() == ::GetDlgItem(*m_pDlg, IDC_EDIT) ? "" : " (focus?)");
    }
    std::string Text(int nID) { CString t; m_pDlg->GetDlgItemText(nID, t); return Narrow(t); }
    std::unique_ptr<CListsDlg> m_pDlg;
};

struct Vals { BYTE b = 0; short s = 0; int i = 0; UINT u = 0; long l = 0; DWORD dw = 0; float f = 0; double d = 0; };

TEST_F(DialogExchangeTest, NumbersAreParsedStrictlyAndWrittenBack)
{
    const std::string kInt = "Please enter an integer.", kUInt = "Please enter a positive integer.",
        kReal = "Please enter a number.", kByte = "Please enter an integer between 0 and 255.";
#define X(m) [](CDataExchange* p, Vals& v) { DDX_Text(p, IDC_EDIT, v.m); return Join({(long long)v.m}); }
#define R(m) [](CDataExchange* p, Vals& v) { DDX_Text(p, IDC_EDIT, v.m); return Real(v.m); }
    struct Row { LPCWSTR text; std::function<std::string(CDataExchange*, Vals&)> f; std::string expected; } rows[] = {
        {L"255", X(b), "255"}, {L"256", X(b), kByte}, {L"-1", X(b), kByte},
        {L"-32768", X(s), "-32768"}, {L"32768", X(s), kInt},
        {L" +42\t", X(i), "42"}, {L"-2147483648", X(i), "-2147483648"}, {L"2147483648", X(i), kInt},
        {L"4x", X(i), kInt}, {L"", X(i), kInt}, {L"1 2", X(i), kInt}, {L"99999999999999999999", X(i), kInt},
        {L"4294967295", X(u), "4294967295"}, {L"4294967296", X(u), kUInt}, {L"-0", X(u), kUInt},
        {L"-5", X(l), "-5"}, {L"7", X(dw), "7"}, {L"0x7", X(dw), kUInt},
        {L"3.5", R(f), "3.5"}, {L".5", R(f), "0.5"}, {L"5.", R(f), "5"}, {L"1e39", R(f), kReal},
        {L"inf", R(f), kReal}, {L"0x1p3", R(f), kReal}, {L"1e", R(f), kReal}, {L"-", R(f), kReal},
        {L" -2.5E-3 ", R(d), "-0.0025"}, {L"nan", R(d), kReal}, {L"1e309", R(d), kReal},
    };
    for (const Row& row : rows) {
        Vals v;
        std::string value;
        m_pDlg->SetDlgItemText(IDC_EDIT, row.text);
        std::string result = Exchange(TRUE, [&](CDataExchange* p) { value = row.f(p, v); });
        EXPECT_EQ(row.expected, result == "ok" ? value : result) << Narrow(row.text);
    }

    // Written with as many digits as the type holds; texts as they are.
    CString str = L" as is ";
    struct Out { std::function<void(CDataExchange*)> f; const char* text; } outs[] = {
        {[](CDataExchange* p) { float v = 1.0f / 3; DDX_Text(p, IDC_EDIT, v); }, "0.333333"},
        {[](CDataExchange* p) { double v = 1.0 / 3; DDX_Text(p, IDC_EDIT, v); }, "0.333333333333333"},
        {[](CDataExchange* p) { DWORD v = 4000000000u; DDX_Text(p, IDC_EDIT, v); }, "4000000000"},
        {[](CDataExchange* p) { short v = -7; DDX_Text(p, IDC_EDIT, v); }, "-7"},
        {[&](CDataExchange* p) { DDX_Text(p, IDC_EDIT, str); }, " as is "},
    };
    for (const Out& out : outs) {
        EXPECT_EQ("ok", Exchange(FALSE, out.f));
        EXPECT_EQ(out.text, Text(IDC_EDIT));
    }
    str.Empty();
    EXPECT_EQ("ok| as is ", Join({Exchange(TRUE, outs[4].f), str}));
}

TEST_F(DialogExchangeTest, ValidationOnlyWhileSaving)
{
    struct Row { std::function<void(CDataExchange*)> f; std::string expected; } rows[] = {
        {[](CDataExchange* p) { DDV_MinMaxInt(p, 51, -50, 50); }, "Please enter an integer between -50 and 50."},
        {[](CDataExchange* p) { DDV_MinMaxShort(p, -3, -2, 2); }, "Please enter an integer between -2 and 2."},
        {[](CDataExchange* p) { DDV_MinMaxByte(p, 9, 10, 20); }, "Please enter an integer between 10 and 20."},
        {[](CDataExchange* p) { DDV_MinMaxUInt(p, 0, 1, 4000000000u); }, "Please enter an integer between 1 and 4000000000."},
        {[](CDataExchange* p) { DDV_MinMaxLong(p, 6, -5, 5); }, "Please enter an integer between -5 and 5."},
        {[](CDataExchange* p) { DDV_MinMaxDWord(p, 6, 0, 5); }, "Please enter an integer between 0 and 5."},
        {[](CDataExchange* p) { DDV_MinMaxFloat(p, 2.75f, 0.5f, 2.5f); }, "Please enter a number between 0.5 and 2.5."},
        {[](CDataExchange* p) { DDV_MinMaxDouble(p, -1e-9, 0.0, 1.0 / 3); }, "Please enter a number between 0 and 0.333333333333333."},
        {[](CDataExchange* p) { DDV_MaxChars(p, L"abcdef", 5); }, "Please enter no more than 5 characters."},
        {[](CDataExchange* p) { DDV_MinMaxInt(p, 50, -50, 50); DDV_MaxChars(p, L"abcde", 5); }, "ok"},
    };
    for (const Row& row : rows) {
        auto f = [&](CDataExchange* p) { p->PrepareEditCtrl(IDC_EDIT); row.f(p); };
        EXPECT_EQ(row.expected, Exchange(TRUE, f));
        EXPECT_EQ("ok", Exchange(FALSE, f)) << row.expected;
    }
    // Filling the dialog limits the edit instead.
    EXPECT_EQ(5, (int)m_pDlg->SendDlgItemMessage(IDC_EDIT, EM_GETLIMITTEXT));
}

TEST_F(DialogExchangeTest, ListsCombosButtonsAndControls)
{
    for (LPCWSTR item : {L"apple", L"apricot", L"banana"})
        for (int nID : {IDC_LIST, IDC_COMBO, IDC_DROPLIST})
            m_pDlg->SendDlgItemMessage(nID, nID == IDC_LIST ? LB_ADDSTRING : CB_ADDSTRING, 0, (LPARAM)item);
    // Each row loads its value, shows what the control holds, then reads it back.
    CString s;
    int n = 0;
    auto list = [&] { return Join({(int)m_pDlg->SendDlgItemMessage(IDC_LIST, LB_GETCURSEL)}); };
    auto drop = [&] { return Join({(int)m_pDlg->SendDlgItemMessage(IDC_DROPLIST, CB_GETCURSEL)}); };
    auto combo = [&] { return Text(IDC_COMBO); };
    auto radio = [&] { return Join({m_pDlg->GetCheckedRadioButton(IDC_RA, IDC_RC)}); };
    struct Row { LPCWSTR load; int nLoad; std::function<void(CDataExchange*)> f; std::function<std::string()> shown;
        std::string expected; } rows[] = {    // shown | saved text | saved number
        {L"ap", 0, [&](CDataExchange* p) { DDX_LBString(p, IDC_LIST, s); }, list, "0|apple|0"},
        {L"apricot", 0, [&](CDataExchange* p) { DDX_LBStringExact(p, IDC_LIST, s); }, list, "1|apricot|0"},
        {L"ap", 0, [&](CDataExchange* p) { DDX_LBStringExact(p, IDC_LIST, s); }, list, "1|apricot|0"},
        {L"", 2, [&](CDataExchange* p) { DDX_LBIndex(p, IDC_LIST, n); }, list, "2||2"},
        {L"ban", 0, [&](CDataExchange* p) { DDX_CBString(p, IDC_COMBO, s); }, combo, "banana|banana|0"},
        {L"cherry", 0, [&](CDataExchange* p) { DDX_CBString(p, IDC_COMBO, s); }, combo, "cherry|cherry|0"},
        {L"ap", 0, [&](CDataExchange* p) { DDX_CBStringExact(p, IDC_COMBO, s); }, combo, "ap|ap|0"},
        {L"apricot", 0, [&](CDataExchange* p) { DDX_CBStringExact(p, IDC_DROPLIST, s); }, drop, "1|apricot|0"},
        {L"", 2, [&](CDataExchange* p) { DDX_CBIndex(p, IDC_DROPLIST, n); }, drop, "2||2"},
        {L"", 2, [&](CDataExchange* p) { DDX_Radio(p, IDC_RA, n); }, radio, Join({IDC_RC, std::string(), 2})},
        {L"", -1, [&](CDataExchange* p) { DDX_Radio(p, IDC_RA, n); }, radio, "0||-1"},
        {L"", 5, [&](CDataExchange* p) { DDX_Check(p, IDC_RA, n); }, radio, "0||0"},
        {L"", 1, [&](CDataExchange* p) { DDX_Check(p, IDC_RA, n); }, radio, Join({IDC_RA, std::string(), 1})},
    };
    for (const Row& row : rows) {
        s = row.load;
        n = row.nLoad;
        EXPECT_EQ("ok", Exchange(FALSE, row.f));
        std::string shown = row.shown();
        s.Empty();
        n = 0;
        EXPECT_EQ("ok", Exchange(TRUE, row.f));
        EXPECT_EQ(row.expected, Join({shown, s, n})) << Narrow(row.load);
    }

    // The scroll bar, and a control object attached the first time only.
    SCROLLINFO si = {sizeof(si), SIF_RANGE, 0, 100, 0, 0, 0};
    ::SetScrollInfo(::GetDlgItem(*m_pDlg, IDC_SCROLL), SB_CTL, &si, FALSE);
    CWnd ctl;
    n = 30;
    auto f = [&](CDataExchange* p) { DDX_Scroll(p, IDC_SCROLL, n); DDX_Control(p, IDC_LIST, ctl); };
    EXPECT_EQ("ok", Exchange(FALSE, f));
    n = 0;
    EXPECT_EQ("ok", Exchange(TRUE, f));
    HWND hList = ::GetDlgItem(*m_pDlg, IDC_LIST);
    EXPECT_EQ(Join({30, 1}), Join({n, CWnd::FromHandlePermanent(hList) == &ctl && ctl.m_hWnd == hList}));
    ctl.UnsubclassWindow();
}

/////////////////////////////////////////////////////////////////////////////
// Modeless dialogs

TEST_F(DialogTest, ModelessDialogKeysFocusAndDefaults)
{
    CDataDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_DATA, m_pMain.get()));
    dlg.ShowWindow(SW_SHOW);
    dlg.SetActiveWindow();
    auto focusId = [] { return ::GetDlgCtrlID(::GetFocus()); };
    // The framework's pump, as an application's loop would run it.
    auto pump = [] { MSG msg; while (::PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE)) AfxPumpMessage(); };
    EXPECT_EQ(IDC_INT, focusId());
    for (int i = 0; i < 2; i++) {
        ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        pump();
    }
    EXPECT_EQ(IDC_REAL, focusId()) << "Tab goes through the dialog's keyboard interface";
    dlg.NextDlgCtrl();
    int nNext = focusId();
    dlg.PrevDlgCtrl();
    int nPrev = focusId();
    dlg.GotoDlgCtrl(dlg.GetDlgItem(IDC_CHECK));
    dlg.SetDefID(IDCANCEL);
    CRect rc(0, 0, 4, 8);
    dlg.MapDialogRect(&rc);
    EXPECT_EQ(Join({IDC_NAME, IDC_REAL, IDC_CHECK, (long long)MAKELONG(IDCANCEL, DC_HASDEFID), 1}),
        Join({nNext, nPrev, focusId(), (long long)dlg.GetDefID(), rc.Width() > 4 && rc.Height() > 8}));

    // Escape ends a modeless dialog by hiding it; its owner destroys it.
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    pump();
    EXPECT_EQ(Join({1, 0LL}), Join({::IsWindow(dlg.m_hWnd), dlg.IsWindowVisible()}));
    EXPECT_TRUE(dlg.DestroyWindow());
}

/////////////////////////////////////////////////////////////////////////////
// Nothing is left behind

// The thread's windows (with their children), the framework's objects for
// handles once idle time has cleaned up, a creation hook left behind, and the
// process's kernel handles.
long long Resources()
{
    AfxLockTempMaps();
    AfxUnlockTempMaps();
    CHandleMap* pWnds = afxMapHWND(TRUE);
    CHandleMap* pGdi = afxMapHGDIOBJ(TRUE);
    return ThreadWindowCount() + pWnds->m_permanentMap.GetCount() + pWnds->m_temporaryMap.GetCount() +
        pGdi->m_permanentMap.GetCount() + pGdi->m_temporaryMap.GetCount() +
        (AfxGetThreadState()->m_hHookOldCbtFilter != NULL) + ProcessHandleCount();
}

TEST_F(DialogTest, ThousandDialogsLeaveNothing)
{
    long long nBefore = Resources();
    {
        CDataDlg one;
        ASSERT_TRUE(one.Create(IDD_DATA));
        EXPECT_GT(Resources(), nBefore) << "one live dialog must count";
    }
    for (int i = 0; i < 500; i++) {
        CDataDlg modeless, modal;
        ASSERT_TRUE(modeless.Create(IDD_DATA, m_pMain.get()));
        modeless.DestroyWindow();
        modal.m_bCancelSoon = true;
        ASSERT_EQ(IDCANCEL, modal.DoModal());
    }
    EXPECT_EQ(nBefore, Resources());
}

} // namespace
