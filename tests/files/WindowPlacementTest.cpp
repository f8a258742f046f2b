// Tests of CWindowPlacement: the text form, the archive record, and placements
// read from and applied to real windows.
#include <Wivo.h>

#include <AfxTestSupport.h>

#include <gtest/gtest.h>

#include <memory>

using wivotest::Join;
using wivotest::Narrow;

namespace {

// A placement whose every field holds something, so that a reader must set them all.
CWindowPlacement Scribbled()
{
    CWindowPlacement wp(7);
    wp.length = 99;
    wp.flags = 5;
    wp.showCmd = 6;
    wp.ptMinPosition.x = wp.ptMinPosition.y = 77;
    wp.ptMaxPosition.x = wp.ptMaxPosition.y = -77;
    wp.rcNormalPosition = CRect(1, 2, 3, 4);
    return wp;
}

std::string Fields(const CWindowPlacement& wp)
{
    return Join({(long long)wp.length, (long long)wp.ptMinPosition.x, (long long)wp.ptMinPosition.y,
                 (long long)wp.ptMaxPosition.x, (long long)wp.ptMaxPosition.y,
                 wp.GetDefaultShowCommand(), wp.ToString()});
}

TEST(WindowPlacementTest, TextFormReadsEveryInputToSixNumbers)
{
    struct Case { LPCWSTR text; LPCWSTR expected; };
    const Case cases[] = {
        {L"10,20,630,460,0,1", L"10,20,630,460,0,1"},
        {L"10,20,630,460", L"10,20,630,460,0,1"},           // flags 0, showCmd 1
        {L"", L"0,0,0,0,0,1"},
        {L",,,,,", L"0,0,0,0,0,1"},                           // empty fields: defaults
        {L"10,,630,460,2,3", L"10,0,630,460,2,3"},
        {L"0x10,20,630,460,0,3", L"16,20,630,460,0,3"},       // any C base
        {L"010,-0x20,+7,8,0,0", L"8,-32,7,8,0,0"},
        {L"-5,-6,7,8,1,2,99,100", L"-5,-6,7,8,1,2"},          // surplus fields ignored
        {L"abc,1x,2", L"0,1,2,0,0,1"},                        // digits up to the first non-digit
        {L" 7 ,\t8,9,10,0,1", L"7,8,9,10,0,1"},
        {L"\"1,2\",3,4", L"0,3,4,0,0,1"},                     // a quoted stretch is one field
        {L"99999999999,-99999999999,0,0,0,1", L"2147483647,-2147483648,0,0,0,1"},
        {L"1,2,3,4,-1,4294967295", L"1,2,3,4,-1,-1"},         // UINTs shown signed
        {L"1;2;3;4", L"1,0,0,0,0,1"},                         // ';' is no separator: one field
    };
    for (const Case& c : cases) {
        CWindowPlacement wp = Scribbled();
        wp.FromString(c.text);
        EXPECT_EQ("44|0|0|0|0|7|" + Narrow(c.expected), Fields(wp)) << Narrow(c.text);
    }
    EXPECT_EQ(L',', CWindowPlacement::GetFieldSeparator());
    EXPECT_EQ("44|0|0|0|0|1|0,0,0,0,0,0", Fields(CWindowPlacement()));
    CWindowPlacement copy;
    copy = Scribbled();
    EXPECT_EQ("99|77|77|-77|-77|7|1,2,3,4,5,6", Fields(copy));
}

TEST(WindowPlacementTest, ArchiveRecordIsTheStructureByteForByte)
{
    CWindowPlacement wp = Scribbled();
    wp.rcNormalPosition = CRect(-1, 0x0102, 0x7FFFFFFF, 0x10);
    const std::string bytes = wivotest::StoreBytes([&](CArchive& ar) { ar << wp; });
    const std::string expected = wivotest::Bytes({
        99, 0, 0, 0,   5, 0, 0, 0,   6, 0, 0, 0,                 // length, flags, showCmd
        77, 0, 0, 0,   77, 0, 0, 0,                              // ptMinPosition
        0xB3, 0xFF, 0xFF, 0xFF,   0xB3, 0xFF, 0xFF, 0xFF,        // ptMaxPosition
        0xFF, 0xFF, 0xFF, 0xFF,   2, 1, 0, 0,                    // left, top
        0xFF, 0xFF, 0xFF, 0x7F,   0x10, 0, 0, 0});               // right, bottom
    EXPECT_EQ(wivotest::Hex(expected), wivotest::Hex(bytes));

    // Loading keeps the rectangle, flags and show state, resets the rest, and leaves
    // the default show command alone (it is not stored).
    CWindowPlacement loaded(3);
    wivotest::LoadBytes(bytes, [&](CArchive& ar) { ar >> loaded; });
    EXPECT_EQ("44|0|0|0|0|3|-1,258,2147483647,16,5,6", Fields(loaded));
}

class WindowPlacementWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &m_rcWork, 0));
        m_cls = AfxRegisterWndClass(0, ::LoadCursorW(NULL, IDC_ARROW));
    }
    void TearDown() override
    {
        for (auto& p : m_windows) {
            if (p->m_hWnd != NULL)
                p->DestroyWindow();
        }
    }
    CWnd* Make(DWORD dwStyle, DWORD dwExStyle = 0, CWnd* pParent = NULL, int cx = 200, int cy = 100)
    {
        m_windows.push_back(std::unique_ptr<CWnd>(new CWnd));
        CWnd* pWnd = m_windows.back().get();
        EXPECT_TRUE(pWnd->CreateEx(dwExStyle, m_cls, L"Placement", dwStyle, 30, 40, cx, cy,
                                   pParent->GetSafeHwnd(), NULL));
        return pWnd;
    }
    static std::string ShowState(CWnd* pWnd)
    {
        return pWnd->IsZoomed() ? "max" : pWnd->IsIconic() ? "min" : "normal";
    }
    static std::string State(CWnd* pWnd)
    {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        return Join({(long long)rc.left, (long long)rc.top, rc.Width(), rc.Height(), ShowState(pWnd)});
    }

    CRect m_rcWork;
    LPCTSTR m_cls = NULL;
    std::vector<std::unique_ptr<CWnd>> m_windows;
};

TEST_F(WindowPlacementWindowTest, AppliesOnlyWhatFitsTheAvailableArea)
{
    const int cxWork = m_rcWork.Width(), cyWork = m_rcWork.Height();
    const int cxFull = ::GetSystemMetrics(SM_CXFULLSCREEN);
    enum Kind { topLevel, tool, child };
    struct Case { Kind kind; CRect rc; int nDefault; UINT nStored; BOOL bOk; LPCWSTR state; };
    const Case cases[] = {
        {topLevel, CRect(10, 20, 310, 220), SW_SHOWNORMAL, SW_SHOWNORMAL, TRUE, L"normal"},
        {topLevel, CRect(10, 20, 310, 220), SW_SHOWDEFAULT, SW_SHOWMAXIMIZED, TRUE, L"max"},
        {topLevel, CRect(10, 20, 310, 220), SW_SHOWMAXIMIZED, SW_SHOWNORMAL, TRUE, L"max"},
        {topLevel, CRect(10, 20, 310, 220), SW_SHOWNORMAL, SW_SHOWMINIMIZED, TRUE, L"min"},
        {topLevel, CRect(0, 0, cxWork, cyWork), SW_SHOWNORMAL, SW_SHOWNORMAL, TRUE, L"normal"},
        {topLevel, CRect(cxWork - 1, 5, cxWork + 199, 105), SW_SHOWNORMAL, SW_SHOWNORMAL, TRUE, L"normal"},
        {topLevel, CRect(0, 0, 0, 0), SW_SHOWNORMAL, SW_SHOWNORMAL, FALSE, NULL},
        {topLevel, CRect(50, 50, 40, 90), SW_SHOWNORMAL, SW_SHOWNORMAL, FALSE, NULL},   // width < 1
        {topLevel, CRect(50, 50, 90, 50), SW_SHOWNORMAL, SW_SHOWNORMAL, FALSE, NULL},   // height < 1
        {topLevel, CRect(-5000, -5000, -4700, -4800), SW_SHOWNORMAL, SW_SHOWNORMAL, FALSE, NULL},
        {topLevel, CRect(cxWork, 5, cxWork + 99, 50), SW_SHOWNORMAL, SW_SHOWNORMAL, FALSE, NULL},
        {topLevel, CRect(0, 0, cxWork + 1, 100), SW_SHOWNORMAL, SW_SHOWNORMAL, FALSE, NULL},
        {topLevel, CRect(0, 0, 100, cyWork + 1), SW_SHOWNORMAL, SW_SHOWNORMAL, FALSE, NULL},
        {tool, CRect(0, 0, cxFull, 100), SW_SHOWNORMAL, SW_SHOWNORMAL, TRUE, L"normal"},
        {tool, CRect(0, 0, cxFull + 1, 100), SW_SHOWNORMAL, SW_SHOWNORMAL, FALSE, NULL},
        {child, CRect(10, 10, 60, 60), SW_SHOWNORMAL, SW_SHOWNORMAL, TRUE, L"normal"},
        {child, CRect(0, 0, 401, 50), SW_SHOWNORMAL, SW_SHOWNORMAL, FALSE, NULL},
        {child, CRect(400, 10, 450, 50), SW_SHOWNORMAL, SW_SHOWNORMAL, FALSE, NULL},
    };
    CWnd* pParent = Make(WS_POPUP | WS_VISIBLE, 0, NULL, 400, 300);
    for (const Case& c : cases) {
        const std::string what = Join({c.kind, (long long)c.rc.left, (long long)c.rc.top,
                                       (long long)c.rc.right, (long long)c.rc.bottom,
                                       c.nDefault, (long long)c.nStored});
        CWnd* pWnd = c.kind == child ? Make(WS_CHILD | WS_VISIBLE, 0, pParent)
                                     : Make(WS_OVERLAPPEDWINDOW, c.kind == tool ? WS_EX_TOOLWINDOW : 0);
        const std::string before = State(pWnd);
        CWindowPlacement wp(c.nDefault);
        wp.rcNormalPosition = c.rc;
        wp.showCmd = c.nStored;
        EXPECT_EQ(c.bOk, wp.SetPlacement(pWnd)) << what;
        if (!c.bOk) {
            EXPECT_EQ(before, State(pWnd)) << what;
            continue;
        }
        EXPECT_EQ(Narrow(c.state), ShowState(pWnd)) << what;
        // Read back, the normal rectangle is the one applied.
        CWindowPlacement back;
        ASSERT_TRUE(back.GetPlacement(pWnd)) << what;
        EXPECT_EQ(Join({(long long)c.rc.left, (long long)c.rc.top, c.rc.Width(), c.rc.Height()}),
                  Join({(long long)back.rcNormalPosition.left, (long long)back.rcNormalPosition.top,
                        CRect(back.rcNormalPosition).Width(), CRect(back.rcNormalPosition).Height()}))
            << what;
    }
    // No window, a window object without a window, a window that is gone.
    CWindowPlacement wp;
    wp.FromString(L"10,20,310,220,0,1");
    CWnd none;
    CWnd* pGone = Make(WS_OVERLAPPEDWINDOW);
    pGone->DestroyWindow();
    EXPECT_EQ("0|0|0|0|0|0", Join({wp.SetPlacement(NULL), wp.SetPlacement(&none), wp.SetPlacement(pGone),
                                   wp.GetPlacement(NULL), wp.GetPlacement(&none), wp.GetPlacement(pGone)}));
}

TEST_F(WindowPlacementWindowTest, MaximisedPositionFollowsTheFrameAndDefaultShowCommandWins)
{
    struct Case { DWORD dwStyle; int cx, cy; };
    const Case cases[] = {
        {WS_OVERLAPPEDWINDOW, -::GetSystemMetrics(SM_CXFRAME), -::GetSystemMetrics(SM_CYFRAME)},
        {WS_POPUP | WS_CAPTION | WS_SYSMENU, -::GetSystemMetrics(SM_CXDLGFRAME), -::GetSystemMetrics(SM_CYDLGFRAME)},
        {WS_POPUP | WS_BORDER, -::GetSystemMetrics(SM_CXBORDER), -::GetSystemMetrics(SM_CYBORDER)},
        {WS_POPUP, 0, 0},
    };
    for (const Case& c : cases) {
        CWindowPlacement wp(SW_SHOWMINNOACTIVE);
        wp.FromString(L"10,20,310,220,0,1");
        wp.ptMinPosition.x = wp.ptMaxPosition.x = 55;
        ASSERT_TRUE(wp.SetPlacement(Make(c.dwStyle))) << c.dwStyle;
        EXPECT_EQ(Join({std::string("0"), std::string("0"), c.cx, c.cy, SW_SHOWMINNOACTIVE}),
                  Join({(long long)wp.ptMinPosition.x, (long long)wp.ptMinPosition.y,
                        (long long)wp.ptMaxPosition.x, (long long)wp.ptMaxPosition.y, (long long)wp.showCmd}))
            << c.dwStyle;
    }
    // The replaced show command sticks even when the rectangle is then refused.
    CWindowPlacement empty(SW_SHOWMAXIMIZED);
    EXPECT_FALSE(empty.SetPlacement(Make(WS_OVERLAPPEDWINDOW)));
    EXPECT_EQ((UINT)SW_SHOWMAXIMIZED, empty.showCmd);
}

TEST_F(WindowPlacementWindowTest, SavedTextRestoresAnotherWindow)
{
    CWnd* pFirst = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    pFirst->MoveWindow(25, 35, 280, 190);
    CWindowPlacement saved;
    ASSERT_TRUE(saved.GetPlacement(pFirst));
    EXPECT_EQ(44u, saved.length);
    const CString text = saved.ToString();
    EXPECT_EQ("25,35,305,225,0,1", Narrow(text));

    CWindowPlacement restored;
    restored.FromString(text);
    CWnd* pSecond = Make(WS_OVERLAPPEDWINDOW);
    ASSERT_TRUE(restored.SetPlacement(pSecond));
    EXPECT_EQ(State(pFirst), State(pSecond));
}

} // namespace
