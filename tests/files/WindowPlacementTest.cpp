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
        {L"10,20,630,460", L"10,20,630,460,0,1"},             // flags 0, showCmd 1
        {L"", L"0,0,0,0,0,1"},
        {L",,,,,", L"0,0,0,0,0,1"},                           // empty fields: defaults
        {L"10,,630,460,2,3", L"10,0,630,460,2,3"},
        {L"0x10,20,630,460,0,3", L"16,20,630,460,0,3"},       // any C base
        {L"010,-0x20,+7,8,0,0,99,100", L"8,-32,7,8,0,0"},     // surplus fields ignored
        {L"abc,1x, 2", L"0,1,2,0,0,1"},                       // digits up to the first non-digit
        {L"\"1,2\",3,4", L"0,3,4,0,0,1"},                     // a quoted stretch is one field
        {L"99999999999,-99999999999,0,0,-1,4294967295", L"2147483647,-2147483648,0,0,-1,-1"},
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
    // length, flags, showCmd, ptMinPosition, ptMaxPosition, left, top, right, bottom
    EXPECT_EQ("63 00 00 00 05 00 00 00 06 00 00 00 4D 00 00 00 4D 00 00 00 B3 FF FF FF B3 FF FF FF "
              "FF FF FF FF 02 01 00 00 FF FF FF 7F 10 00 00 00", wivotest::Hex(bytes));
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
    CWnd* Make(DWORD dwStyle, DWORD dwExStyle = 0, CWnd* pParent = NULL, int cx = 200, int cy = 100)
    {
        m_windows.push_back(std::unique_ptr<CWnd>(new CWnd));
        CWnd* pWnd = m_windows.back().get();
        EXPECT_TRUE(pWnd->CreateEx(dwExStyle, m_cls, L"Placement", dwStyle, 30, 40, cx, cy,
                                   pParent != NULL ? pParent->m_hWnd : NULL, NULL));
        return pWnd;
    }
    static std::string ShowState(CWnd* pWnd) { return pWnd->IsZoomed() ? "max" : pWnd->IsIconic() ? "min" : "normal"; }
    static std::string State(CWnd* pWnd)
    {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        return Join({(long long)rc.left, (long long)rc.top, rc.Width(), rc.Height(), ShowState(pWnd)});
    }

    CRect m_rcWork;
    LPCTSTR m_cls = NULL;
    std::vector<std::unique_ptr<CWnd>> m_windows;   // a window object destroys its window
};

TEST_F(WindowPlacementWindowTest, AppliesOnlyWhatFitsTheAvailableAreaWithTheFramesMaximisedPosition)
{
    const int cx = m_rcWork.Width(), cy = m_rcWork.Height(), cxFull = ::GetSystemMetrics(SM_CXFULLSCREEN);
    // Window kinds with the metrics of their maximised position; the child's parent is 400 x 300.
    enum Kind { sizing, tool, child, caption, border };
    const struct { DWORD dwStyle; int nMetricX, nMetricY; } kinds[] = {
        {WS_OVERLAPPEDWINDOW, SM_CXFRAME, SM_CYFRAME}, {WS_OVERLAPPEDWINDOW, SM_CXFRAME, SM_CYFRAME},
        {WS_CHILD | WS_VISIBLE, -1, -1}, {WS_POPUP | WS_CAPTION | WS_SYSMENU, SM_CXDLGFRAME, SM_CYDLGFRAME},
        {WS_POPUP | WS_BORDER, SM_CXBORDER, SM_CYBORDER}};
    struct Case { Kind kind; CRect rc; int nDefault; UINT nStored; const char* result; };
    const Case cases[] = {
        {sizing, CRect(10, 20, 310, 220), SW_SHOWNORMAL, SW_SHOWNORMAL, "normal"},
        {sizing, CRect(10, 20, 310, 220), SW_SHOWDEFAULT, SW_SHOWMAXIMIZED, "max"},
        {caption, CRect(10, 20, 310, 220), SW_SHOWMAXIMIZED, SW_SHOWNORMAL, "max"},
        {border, CRect(10, 20, 310, 220), SW_SHOWNORMAL, SW_SHOWMINIMIZED, "min"},
        {sizing, CRect(0, 0, cx, cy), SW_SHOWNORMAL, SW_SHOWNORMAL, "normal"},
        {sizing, CRect(cx - 1, 5, cx + 199, 105), SW_SHOWNORMAL, SW_SHOWNORMAL, "normal"},
        {sizing, CRect(0, 0, 0, 0), SW_SHOWMAXIMIZED, SW_SHOWNORMAL, "refused"},
        {sizing, CRect(50, 50, 40, 90), SW_SHOWNORMAL, SW_SHOWNORMAL, "refused"},          // width < 1
        {sizing, CRect(50, 50, 90, 50), SW_SHOWNORMAL, SW_SHOWNORMAL, "refused"},          // height < 1
        {sizing, CRect(-5000, -5000, -4700, -4800), SW_SHOWNORMAL, SW_SHOWNORMAL, "refused"},
        {sizing, CRect(cx, 5, cx + 99, 50), SW_SHOWNORMAL, SW_SHOWNORMAL, "refused"},      // just outside
        {sizing, CRect(0, 0, cx + 1, 100), SW_SHOWNORMAL, SW_SHOWNORMAL, "refused"},
        {sizing, CRect(0, 0, 100, cy + 1), SW_SHOWNORMAL, SW_SHOWNORMAL, "refused"},
        {tool, CRect(0, 0, cxFull, 100), SW_SHOWNORMAL, SW_SHOWNORMAL, "normal"},
        {tool, CRect(0, 0, cxFull + 1, 100), SW_SHOWNORMAL, SW_SHOWNORMAL, "refused"},
        {child, CRect(10, 10, 60, 60), SW_SHOWNORMAL, SW_SHOWNORMAL, "normal"},
        {child, CRect(0, 0, 401, 50), SW_SHOWNORMAL, SW_SHOWNORMAL, "refused"},
        {child, CRect(400, 10, 450, 50), SW_SHOWNORMAL, SW_SHOWNORMAL, "refused"},
    };
    CWnd* pParent = Make(WS_POPUP | WS_VISIBLE, 0, NULL, 400, 300);
    for (const Case& c : cases) {
        const auto& k = kinds[c.kind];
        CWnd* pWnd = Make(k.dwStyle, c.kind == tool ? WS_EX_TOOLWINDOW : 0, c.kind == child ? pParent : NULL);
        const std::string before = State(pWnd), what = Join({c.kind, (long long)c.rc.left, (long long)c.rc.right});
        CWindowPlacement wp(c.nDefault);
        wp.rcNormalPosition = c.rc;
        wp.showCmd = c.nStored;
        wp.ptMinPosition.x = wp.ptMaxPosition.x = 55;
        const BOOL bOk = wp.SetPlacement(pWnd);
        // A refused placement leaves the window exactly as it was; the default show
        // command has replaced the stored one all the same.
        EXPECT_EQ(c.result, bOk ? ShowState(pWnd) : before == State(pWnd) ? "refused" : "changed") << what;
        const UINT nShow = c.nDefault == SW_SHOWNORMAL || c.nDefault == SW_SHOWDEFAULT ? c.nStored : c.nDefault;
        EXPECT_EQ(nShow, wp.showCmd) << what;
        if (bOk) {
            EXPECT_EQ("0|0|" + Join({k.nMetricX < 0 ? 0 : -::GetSystemMetrics(k.nMetricX), k.nMetricY < 0 ? 0 : -::GetSystemMetrics(k.nMetricY)}),
                      Join({wp.ptMinPosition.x, wp.ptMinPosition.y, wp.ptMaxPosition.x, wp.ptMaxPosition.y})) << what;
        }
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

TEST_F(WindowPlacementWindowTest, SavedTextRestoresAnotherWindow)
{
    CWnd* pFirst = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    pFirst->MoveWindow(25, 35, 280, 190);
    CWindowPlacement saved, restored;
    ASSERT_TRUE(saved.GetPlacement(pFirst));
    EXPECT_EQ(44u, saved.length);
    EXPECT_EQ("25,35,305,225,0,1", Narrow(saved.ToString()));
    restored.FromString(saved.ToString());
    CWnd* pSecond = Make(WS_OVERLAPPEDWINDOW);
    ASSERT_TRUE(restored.SetPlacement(pSecond));
    EXPECT_EQ(State(pFirst), State(pSecond));
}

} // namespace
