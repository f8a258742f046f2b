// Proves the platform chain: a real top-level window with common controls on the test
// display, and messages that reach it and its children.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace {

std::vector<UINT> g_seen;
const UINT kPing = WM_APP + 1;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == kPing || msg == WM_CREATE || msg == WM_SIZE || msg == WM_NOTIFY)
        g_seen.push_back(msg);
    return msg == kPing ? static_cast<LRESULT>(wp + lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

bool Seen(UINT msg)
{
    return std::find(g_seen.begin(), g_seen.end(), msg) != g_seen.end();
}

TEST(Smoke, WindowAndCommonControlsReceiveMessages)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = L"WivoSmokeWindow";
    RegisterClassW(&wc);
    HWND frame = CreateWindowExW(0, L"WivoSmokeWindow", L"Smoke", WS_OVERLAPPEDWINDOW, 10, 10,
                                 400, 300, NULL, NULL, wc.hInstance, NULL);
    ASSERT_NE(frame, nullptr) << "CreateWindowExW failed, error " << GetLastError()
                              << " (is the Xvfb display running?)";
    ShowWindow(frame, SW_SHOW);
    UpdateWindow(frame);
    EXPECT_TRUE(Seen(WM_CREATE));
    EXPECT_TRUE(IsWindowVisible(frame));
    EXPECT_EQ(SendMessageW(frame, kPing, 40, 2), 42);

    g_seen.clear();
    ASSERT_TRUE(PostMessageW(frame, kPing, 1, 1));
    EXPECT_FALSE(Seen(kPing)) << "posted message must wait for the loop";
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    EXPECT_TRUE(Seen(kPing));
    SetWindowPos(frame, NULL, 0, 0, 500, 350, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(Seen(WM_SIZE));
    RECT rc;
    GetWindowRect(frame, &rc);
    EXPECT_EQ(rc.right - rc.left, 500);

    HWND progress = CreateWindowExW(0, PROGRESS_CLASSW, NULL, WS_CHILD | WS_VISIBLE, 10, 10, 200,
                                    20, frame, (HMENU)101, NULL, NULL);
    ASSERT_NE(progress, nullptr);
    SendMessageW(progress, PBM_SETRANGE32, 0, 200);
    SendMessageW(progress, PBM_SETPOS, 150, 0);
    EXPECT_EQ(SendMessageW(progress, PBM_GETPOS, 0, 0), 150);

    HWND list = CreateWindowExW(0, WC_LISTVIEWW, NULL, WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 40,
                                300, 150, frame, (HMENU)102, NULL, NULL);
    ASSERT_NE(list, nullptr);
    LVCOLUMNW col = {};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = 100;
    col.pszText = const_cast<LPWSTR>(L"Name");
    EXPECT_EQ(SendMessageW(list, LVM_INSERTCOLUMNW, 0, (LPARAM)&col), 0);
    WCHAR text[32] = L"Zeile";
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.pszText = text;
    EXPECT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, (LPARAM)&item), 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
    // Selecting an item makes the list view tell its parent.
    g_seen.clear();
    item.stateMask = item.state = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, 0, (LPARAM)&item);
    EXPECT_TRUE(Seen(WM_NOTIFY));
    text[0] = 0;
    item.cchTextMax = 32;
    SendMessageW(list, LVM_GETITEMTEXTW, 0, (LPARAM)&item);
    EXPECT_STREQ(text, L"Zeile");
    DestroyWindow(frame);
}

} // namespace
