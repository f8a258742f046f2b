// Proves the platform chain: a real top-level window with a common control on
// the test display, and messages that reach both.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

namespace {

std::vector<UINT> g_seen;
const UINT kPing = WM_APP + 1;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == kPing || msg == WM_CREATE || msg == WM_SIZE || msg == WM_NOTIFY)
        g_seen.push_back(msg);
    if (msg == kPing)
        return static_cast<LRESULT>(wp + lp);
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool Seen(UINT msg)
{
    for (UINT m : g_seen)
        if (m == msg)
            return true;
    return false;
}

void PumpPending()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

class SmokeWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
        ASSERT_TRUE(InitCommonControlsEx(&icc));
        WNDCLASSW wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleW(NULL);
        wc.lpszClassName = L"WivoSmokeWindow";
        wc.hCursor = LoadCursor(NULL, IDC_ARROW);
        RegisterClassW(&wc);
        g_seen.clear();
        m_frame = CreateWindowExW(0, L"WivoSmokeWindow", L"Smoke", WS_OVERLAPPEDWINDOW,
                                  10, 10, 400, 300, NULL, NULL, wc.hInstance, NULL);
        ASSERT_NE(m_frame, nullptr) << "CreateWindowExW failed, error " << GetLastError()
                                    << " (is the Xvfb display running?)";
        ShowWindow(m_frame, SW_SHOW);
        UpdateWindow(m_frame);
    }

    void TearDown() override
    {
        if (m_frame)
            DestroyWindow(m_frame);
    }

    HWND m_frame = NULL;
};

TEST_F(SmokeWindow, TopLevelWindowReceivesSentAndPostedMessages)
{
    EXPECT_TRUE(Seen(WM_CREATE));
    EXPECT_TRUE(IsWindowVisible(m_frame));
    EXPECT_EQ(SendMessageW(m_frame, kPing, 40, 2), 42);

    g_seen.clear();
    ASSERT_TRUE(PostMessageW(m_frame, kPing, 1, 1));
    EXPECT_FALSE(Seen(kPing)) << "posted message must wait for the loop";
    PumpPending();
    EXPECT_TRUE(Seen(kPing));

    g_seen.clear();
    SetWindowPos(m_frame, NULL, 0, 0, 500, 350, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(Seen(WM_SIZE));
    RECT rc;
    GetWindowRect(m_frame, &rc);
    EXPECT_EQ(rc.right - rc.left, 500);
}

TEST_F(SmokeWindow, CommonControlsAnswerAndNotifyTheirParent)
{
    HWND progress = CreateWindowExW(0, PROGRESS_CLASSW, NULL, WS_CHILD | WS_VISIBLE,
                                    10, 10, 200, 20, m_frame, (HMENU)101, NULL, NULL);
    ASSERT_NE(progress, nullptr);
    SendMessageW(progress, PBM_SETRANGE32, 0, 200);
    SendMessageW(progress, PBM_SETPOS, 150, 0);
    EXPECT_EQ(SendMessageW(progress, PBM_GETPOS, 0, 0), 150);

    HWND list = CreateWindowExW(0, WC_LISTVIEWW, NULL, WS_CHILD | WS_VISIBLE | LVS_REPORT,
                                10, 40, 300, 150, m_frame, (HMENU)102, NULL, NULL);
    ASSERT_NE(list, nullptr);
    LVCOLUMNW col = {};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = 100;
    col.pszText = const_cast<LPWSTR>(L"Name");
    EXPECT_EQ(SendMessageW(list, LVM_INSERTCOLUMNW, 0, (LPARAM)&col), 0);
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<LPWSTR>(L"Zeile");
    g_seen.clear();
    EXPECT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, (LPARAM)&item), 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);

    // Selecting an item makes the list view tell its parent.
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, 0, (LPARAM)&state);
    EXPECT_TRUE(Seen(WM_NOTIFY));

    WCHAR text[32] = {};
    LVITEMW get = {};
    get.pszText = text;
    get.cchTextMax = 32;
    SendMessageW(list, LVM_GETITEMTEXTW, 0, (LPARAM)&get);
    EXPECT_STREQ(text, L"Zeile");
}

} // namespace
