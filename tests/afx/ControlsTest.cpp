// Tests of the control classes on real controls in a real parent window: the
// wrappers in tables of round trips, the check list box driven by clicks and
// keys, and the owner-draw overridables reached through reflection.
#include <afxwin.h>

#include "AfxTestSupport.h"
#include "GuiTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using wivotest::Join;
using wivotest::WindowText;

namespace {

std::vector<std::string> g_log;

std::string Logged(bool bSorted = false)
{
    if (bSorted)
        std::sort(g_log.begin(), g_log.end());
    std::string s;
    for (const std::string& e : g_log)
        s += (s.empty() ? "" : ",") + e;
    g_log.clear();
    return s;
}

// Logs what an overridable got; -2 is what the key overridables answer.
int Note(const char* what, ULONG_PTR n)
{
    g_log.push_back(std::string(what) + " " + std::to_string(n));
    return -2;
}

const UINT kCheckListId = 100;

class CParentWnd : public CWnd
{
protected:
    afx_msg void OnChkChange() { g_log.push_back("ChkChange"); }
    afx_msg void OnHScroll(UINT nSBCode, UINT, CScrollBar* pScrollBar)
    {
        m_pScrolled = pScrollBar;
        Note("HScroll", nSBCode);
    }
    DECLARE_MESSAGE_MAP()
public:
    CScrollBar* m_pScrolled = nullptr;
};

BEGIN_MESSAGE_MAP(CParentWnd, CWnd)
    ON_CLBN_CHKCHANGE(kCheckListId, OnChkChange)
    ON_WM_HSCROLL()
END_MESSAGE_MAP()

class ControlsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_log.clear();
        m_pParent.reset(new CParentWnd);
        LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursorW(NULL, IDC_ARROW),
                                          (HBRUSH)(COLOR_WINDOW + 1));
        ASSERT_TRUE(m_pParent->CreateEx(0, cls, L"ControlsTest", WS_POPUP | WS_BORDER,
                                        10, 10, 400, 300, NULL, NULL));
        // Shown, so that the controls paint. A popup: hiding a captioned window
        // waits two seconds for a window manager that Xvfb does not have.
        m_pParent->ShowWindow(SW_SHOWNOACTIVATE);
    }
    void TearDown() override
    {
        m_pParent.reset();
        CWnd::DeleteTempMap();
    }
    // Runs each row and compares what it answers.
    struct Row { const char* what; std::function<std::string()> run; const char* expected; };
    void RunRows(const std::vector<Row>& rows)
    {
        for (const Row& r : rows)
            EXPECT_EQ(r.expected, r.run()) << r.what;
    }
    static CRect Rect(int x, int y, int cx, int cy) { return CRect(x, y, x + cx, y + cy); }

    std::unique_ptr<CParentWnd> m_pParent;
};

/////////////////////////////////////////////////////////////////////////////
// Wrapper round trips, one row per member group

TEST_F(ControlsTest, StaticAndButtonWrappersReachTheirControls)
{
    HICON hIcon = ::LoadIconW(NULL, IDI_APPLICATION);
    HCURSOR hCursor = ::LoadCursorW(NULL, IDC_CROSS);
    CBitmap bitmapObject;
    ASSERT_TRUE(bitmapObject.CreateBitmap(8, 8, 1, 1, NULL));
    HBITMAP hBitmap = (HBITMAP)bitmapObject.GetSafeHandle();
    HENHMETAFILE hMeta = ::CloseEnhMetaFile(::CreateEnhMetaFileW(NULL, NULL, NULL, NULL));
    CStatic icon, bitmap, meta;
    CButton check, push, image;
    CWnd* pParent = m_pParent.get();
    ASSERT_TRUE(icon.Create(L"", SS_ICON, Rect(0, 0, 40, 40), pParent) &&
                bitmap.Create(L"", SS_BITMAP, Rect(0, 0, 40, 40), pParent, 2) &&
                meta.Create(L"", SS_ENHMETAFILE, Rect(0, 0, 40, 40), pParent, 3) &&
                check.Create(L"c", BS_AUTO3STATE, Rect(0, 50, 80, 20), pParent, 4) &&
                push.Create(L"p", BS_PUSHBUTTON, Rect(0, 80, 80, 20), pParent, 5) &&
                image.Create(L"i", BS_ICON, Rect(0, 80, 80, 20), pParent, 6));
    RunRows({
        { "static images", [&] {
              return Join({ icon.SetIcon(hIcon), icon.GetIcon() == hIcon,
                            icon.SetCursor(hCursor) == hIcon, icon.GetCursor() == hCursor,
                            bitmap.SetBitmap(hBitmap), bitmap.GetBitmap() == hBitmap,
                            meta.SetEnhMetaFile(hMeta), meta.GetEnhMetaFile() == hMeta,
                            bitmap.GetIcon() });
          }, "0|1|1|1|0|1|0|1|0" },
        { "check and push states", [&] {
              std::string s;
              for (int n : { 1, 2, 0 }) {
                  check.SetCheck(n);
                  s += std::to_string(check.GetCheck());
              }
              push.SetState(TRUE);
              UINT on = push.GetState() & BST_PUSHED;
              push.SetState(FALSE);
              return s + "|" + Join({ (long long)on, (long long)(push.GetState() & BST_PUSHED) });
          }, "120|4|0" },
        { "button style", [&] {
              UINT before = push.GetButtonStyle();
              push.SetButtonStyle(BS_DEFPUSHBUTTON);
              return Join({ (long long)before, (long long)push.GetButtonStyle(),
                            (push.GetStyle() & WS_CHILD) != 0 });
          }, "0|1|1" },
        { "button images", [&] {
              std::string s = Join({ image.SetIcon(hIcon), image.GetIcon() == hIcon,
                                     image.SetCursor(hCursor) == hIcon,
                                     image.GetCursor() == hCursor });
              image.ModifyStyle(BS_ICON, BS_BITMAP);
              return s + "|" + Join({ (HANDLE)image.SetBitmap(hBitmap) == (HANDLE)hCursor,
                                      image.GetBitmap() == hBitmap });
          }, "0|1|1|1|1|1" },
    });
    meta.DestroyWindow();
    ::DeleteEnhMetaFile(hMeta);
}

TEST_F(ControlsTest, ScrollBarWrappersReachTheControlAndItsParent)
{
    CScrollBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, Rect(10, 250, 200, 16),
                           m_pParent.get(), 7));
    bar.SetScrollRange(0, 100);
    SCROLLINFO info = {};
    info.fMask = SIF_PAGE;
    info.nPage = 10;
    EXPECT_TRUE(bar.SetScrollInfo(&info));
    int nMin = -1, nMax = -1;
    bar.GetScrollRange(&nMin, &nMax);
    EXPECT_EQ("0|100|91", Join({nMin, nMax, bar.GetScrollLimit()}));
    // The position stops at the limit, and each call answers the one before.
    EXPECT_EQ("0|91", Join({bar.SetScrollPos(95), bar.SetScrollPos(40)}));
    EXPECT_TRUE(bar.GetScrollInfo(&info, SIF_POS | SIF_PAGE));
    EXPECT_EQ("40|10", Join({info.nPos, (int)info.nPage}));
    // A key on the control reaches the parent's handler with the permanent object.
    bar.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ("HScroll 1", Logged()) << "SB_LINERIGHT";
    EXPECT_EQ(&bar, m_pParent->m_pScrolled);
}

TEST_F(ControlsTest, EditWrappersReachTheControl)
{
    CEdit edit, single;
    ASSERT_TRUE(edit.Create(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_VISIBLE,
                            Rect(0, 0, 200, 60), m_pParent.get(), 1) &&
                single.Create(ES_AUTOHSCROLL, Rect(0, 70, 200, 20), m_pParent.get(), 2));
    edit.SetWindowText(L"ab\r\ncde\r\nf");
    wchar_t buf[8];
    RunRows({
        { "lines", [&] {
              memset(buf, 0xBD, sizeof buf);
              int n = edit.GetLine(1, buf, 4);
              std::string s = Join({ edit.GetLineCount(), edit.LineIndex(1), edit.LineLength(4),
                                     edit.LineFromChar(5), n, std::string(buf, buf + n) });
              buf[0] = 2;
              n = edit.GetLine(1, buf);
              return s + "|" + Join({ n, buf[n] == L'e' });     // no terminating zero
          }, "3|4|3|1|3|cde|2|1" },
        { "bad line buffers", [&] {
              memset(buf, 0xBD, sizeof buf);
              return Join({ edit.GetLine(0, NULL), edit.GetLine(0, buf, 0), buf[0] == 0xBDBD });
          }, "0|0|1" },
        { "selection", [&] {
              edit.SetSel(1, 4);
              int a, b;
              edit.GetSel(a, b);
              DWORD packed = edit.GetSel();
              edit.SetSel(MAKELONG(0, 0xFFFF));     // everything
              return Join({ a, b, LOWORD(packed), HIWORD(packed), (long long)edit.GetSel() });
          }, "1|4|1|4|655360" },
        { "replace and undo", [&] {
              edit.SetSel(0, 2);
              edit.EmptyUndoBuffer();
              edit.ReplaceSel(L"X", TRUE);
              std::string s = Join({ WindowText(edit), edit.CanUndo(), edit.GetModify(), edit.Undo() });
              edit.SetModify(FALSE);
              return s + "|" + Join({ WindowText(edit), edit.GetModify() });
          }, "X\r\ncde\r\nf|1|1|1|ab\r\ncde\r\nf|0" },
        { "clipboard", [&] {
              edit.SetSel(0, 2);
              edit.Copy();
              edit.SetSel(4, 4);
              edit.Paste();
              edit.SetSel(0, 1);
              edit.Cut();
              edit.SetSel(0, 1);
              edit.Clear();
              return WindowText(edit);
          }, "\r\nabcde\r\nf" },
        { "limits, read-only, password", [&] {
              single.SetLimitText(5);
              single.SetPasswordChar(L'*');
              single.ReplaceSel(L"1234567");
              std::string s = Join({ (long long)single.GetLimitText(), WindowText(single),
                                     single.GetPasswordChar() });
              single.LimitText();
              const DWORD ro = ES_READONLY;
              return s + "|" + Join({ single.GetLimitText() > 5, single.SetReadOnly(),
                                      (single.GetStyle() & ro) != 0, single.SetReadOnly(FALSE),
                                      (single.GetStyle() & ro) != 0 });
          }, "5|12345|42|1|1|1|1|0" },
        { "margins, rectangles, tab stops", [&] {
              edit.SetMargins(3, 4);
              CRect r, wanted(5, 2, 150, 50), got;
              edit.GetRect(&r);
              edit.SetRectNP(&wanted);
              edit.GetRect(&got);
              edit.SetRect(&r);
              int stops[] = { 10, 20 };
              return Join({ (long long)edit.GetMargins(), got != r, edit.SetTabStops(2, stops),
                            edit.SetTabStops(16), edit.SetTabStops(2, NULL) });
          }, "262147|1|1|1|0" },
        { "positions and scrolling", [&] {
              edit.SetWindowText(L"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8");
              int hit = edit.CharFromPos(edit.PosFromChar(3));
              edit.LineScroll(2);
              return Join({ LOWORD(hit), HIWORD(hit), edit.GetFirstVisibleLine(),
                            edit.GetHandle() != NULL, edit.PosFromChar(999).x,
                            edit.FmtLines(TRUE) });
          }, "3|1|2|1|-1|1" },
    });
}

TEST_F(ControlsTest, ListBoxWrappersReachTheControl)
{
    CListBox list, multi;
    ASSERT_TRUE(list.Create(WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_USETABSTOPS,
                            Rect(0, 0, 150, 100), m_pParent.get(), 1) &&
                multi.Create(WS_VISIBLE | LBS_EXTENDEDSEL, Rect(160, 0, 150, 100), m_pParent.get(),
                             2));
    for (LPCTSTR s : { L"alpha", L"beta", L"gamma", L"delta" })
        multi.AddString(s);
    wivotest::TempDir dir;
    for (LPCTSTR name : { L"a.txt", L"b.txt", L"c.dat" })
        wivotest::WriteFileBytes(dir.File(name), "x");
    CString text = L"old";
    int value = 7;
    RunRows({
        { "add, insert, find, delete", [&] {
              std::string s = Join({ list.AddString(L"b"), list.AddString(L"a\tz"),
                                     list.InsertString(0, L"c") });
              list.GetText(1, text);
              return s + "|" + Join({ text, list.FindString(-1, L"A"),
                                      list.FindStringExact(-1, L"C"),
                                      list.SelectString(0, L"c"),       // wraps round to the top
                                      list.GetCurSel(), list.DeleteString(1), list.GetTextLen(1) });
          }, "0|1|0|b|2|0|0|0|2|3" },
        { "texts that do not exist", [&] {
              list.GetText(9, text);
              return Join({ text, list.GetText(0, NULL), list.GetTextLen(9),
                            list.FindString(-1, L"zz") });
          }, "|-1|-1|-1" },
        { "item data", [&] {
              return Join({ list.SetItemData(0, 42) != LB_ERR,
                            list.SetItemDataPtr(1, &value) != LB_ERR,
                            (long long)list.GetItemData(0), *(int*)list.GetItemDataPtr(1),
                            list.SetItemData(9, 1) });
          }, "1|1|42|7|-1" },
        { "heights and geometry", [&] {
              list.SetItemHeight(0, 20);
              CRect r;
              list.GetItemRect(1, &r);
              BOOL outside, below;
              UINT hit = list.ItemFromPoint(r.CenterPoint(), outside);
              list.ItemFromPoint(CPoint(5, 95), below);
              return Join({ list.GetItemHeight(0), r.top, r.Height(), (long long)hit, outside,
                            below });
          }, "20|20|20|1|0|1" },
        { "scrolling, extents, tab stops, locale, storage", [&] {
              for (int i = 0; i < 20; i++)
                  list.AddString(L"more");
              list.SetHorizontalExtent(500);
              list.SetColumnWidth(40);
              int stops[] = { 8, 16 };
              return Join({ list.SetTopIndex(5), list.GetTopIndex(), list.GetHorizontalExtent(),
                            list.SetTabStops(2, stops), list.SetTabStops(4),
                            list.SetTabStops(1, NULL),
                            list.SetLocale(MAKELCID(0x0C07, SORT_DEFAULT)) != 0,
                            (long long)list.GetLocale(), list.InitStorage(100, 4000) >= 100 });
          }, "0|5|500|1|1|0|1|3079|1" },
        { "several selections", [&] {
              int items[4] = { -1, -1, -1, -1 };
              std::string s = Join({ multi.SelItemRange(TRUE, 0, 3),
                                     multi.SelItemRange(FALSE, 1, 2), multi.SetSel(3, FALSE),
                                     multi.SetSel(1), multi.GetSelCount(),
                                     multi.GetSelItems(4, items), items[0], items[1],
                                     multi.GetSel(2) });
              multi.SetAnchorIndex(2);
              return s + "|" + Join({ multi.GetAnchorIndex(), multi.SetCaretIndex(3),
                                      multi.GetCaretIndex(), multi.GetSelItems(2, NULL),
                                      multi.SelItemRange(TRUE, 2, 1) });
          }, "0|0|0|0|2|2|0|1|0|2|0|3|-1|-1" },
        { "directory", [&] {
              list.ResetContent();
              return Join({ list.Dir(0, dir.File(L"*.txt")), list.GetCount(),
                            list.FindStringExact(-1, L"b.txt") >= 0,
                            list.FindStringExact(-1, L"c.dat") });
          }, "1|2|1|-1" },
    });
}

TEST_F(ControlsTest, ComboBoxWrappersReachTheControl)
{
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                             Rect(0, 0, 150, 150), m_pParent.get(), 1));
    CString text = L"old";
    wchar_t buf[8] = L"";
    RunRows({
        { "add, insert, find, delete", [&] {
              std::string s = Join({ combo.AddString(L"one"), combo.AddString(L"two"),
                                     combo.InsertString(0, L"zero") });
              combo.GetLBText(2, text);
              return s + "|" + Join({ text, combo.GetLBText(0, buf), buf,
                                      combo.FindString(-1, L"TW"),
                                      combo.FindStringExact(-1, L"ONE"),
                                      combo.SelectString(-1, L"on"), combo.DeleteString(0),
                                      combo.GetCurSel(), combo.GetLBTextLen(1), WindowText(combo) });
          }, "0|1|0|two|4|zero|2|1|1|2|0|3|one" },
        { "texts and data that do not exist", [&] {
              combo.GetLBText(9, text);
              return Join({ text, combo.GetLBText(0, NULL), combo.SetItemData(9, 1),
                            combo.SetItemData(0, 5) != CB_ERR,
                            combo.SetItemDataPtr(1, &combo) != CB_ERR,
                            (long long)combo.GetItemData(0), combo.GetItemDataPtr(1) == &combo });
          }, "|-1|-1|1|1|5|1" },
        { "edit selection and clipboard", [&] {
              combo.SetWindowText(L"abcdef");
              combo.LimitText(10);
              HWND hEdit = ::GetWindow(combo, GW_CHILD);
              std::string s = Join({ ::SendMessageW(hEdit, EM_GETLIMITTEXT, 0, 0),
                                     combo.SetEditSel(1, 3), (long long)combo.GetEditSel() });
              combo.Copy();
              combo.SetEditSel(0, 0);
              combo.Paste();
              combo.SetEditSel(0, 1);
              combo.Cut();
              combo.SetEditSel(0, 1);
              combo.Clear();
              return s + "|" + WindowText(combo);
          }, "10|1|196609|abcdef" },
        { "drop-down", [&] {
              combo.SetExtendedUI();
              combo.ShowDropDown();
              BOOL dropped = combo.GetDroppedState();
              CRect r;
              combo.GetDroppedControlRect(&r);
              combo.ShowDropDown(FALSE);
              return Join({ combo.GetExtendedUI(), dropped, r.Height() > 100,
                            combo.GetDroppedState() });
          }, "1|1|1|0" },
        { "sizes, top, locale, storage", [&] {
              for (int i = 0; i < 20; i++)
                  combo.AddString(L"more");
              // Wine's combo box answers CB_SETTOPINDEX without scrolling its list:
              // the list is scrolled directly to see that the answer comes from it.
              int set = combo.SetTopIndex(4);
              COMBOBOXINFO info;
              info.cbSize = sizeof info;
              ::GetComboBoxInfo(combo.m_hWnd, &info);
              combo.ShowDropDown();      // the list has its height while it is down
              ::SendMessageW(info.hwndList, LB_SETTOPINDEX, 5, 0);
              int top = combo.GetTopIndex();
              combo.ShowDropDown(FALSE);
              combo.SetHorizontalExtent(400);
              return Join({ combo.SetDroppedWidth(300), combo.GetDroppedWidth(),
                            (long long)combo.GetHorizontalExtent(),
                            combo.SetItemHeight(-1, 22) != CB_ERR, combo.GetItemHeight(-1) >= 22,
                            set, top,
                            combo.SetLocale(MAKELCID(0x0C07, SORT_DEFAULT)) != 0,
                            (long long)combo.GetLocale(),
                            combo.InitStorage(10, 100) > 0 });
          }, "300|300|400|1|1|0|5|1|3079|1" },
        { "reset and directory", [&] {
              combo.ResetContent();
              return Join({ combo.GetCount(), combo.Dir(DDL_DRIVES | DDL_EXCLUSIVE, L"*") >= 0,
                            combo.FindString(-1, L"[-c-]") >= 0 });
          }, "0|1|1" },
    });
}

/////////////////////////////////////////////////////////////////////////////
// The check list box, as the user works it

class CTestCheckList : public CCheckListBox
{
public:
    INT_PTR Records() const { return m_records.GetCount(); }

protected:
    void DeleteItem(LPDELETEITEMSTRUCT p) override { Note("Delete", p->itemData); }
};

class CheckListTest : public ControlsTest
{
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        m_pList.reset(new CTestCheckList);
        DWORD style = WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY;
        ASSERT_TRUE(m_pList->Create(style, Rect(0, 0, 200, 120), m_pParent.get(), kCheckListId));
        for (int i = 0; i < 3; i++) {
            m_pList->AddString(i == 0 ? L"one" : i == 1 ? L"two" : L"three");
            m_pList->SetItemData(i, 10 * (i + 1));
        }
        m_pList->Enable(2, FALSE);
        g_log.clear();
    }
    void TearDown() override
    {
        m_pList.reset();
        ControlsTest::TearDown();
    }
    // A click on the box (or the text) of an item, the space bar, or a double click.
    enum Action { box, text, space, dblclk };
    void Do(Action action, int nIndex)
    {
        HWND hList = m_pList->m_hWnd;
        if (action == space) {
            m_pList->SetCurSel(nIndex);     // the caret of a one-selection list
            ::PostMessageW(hList, WM_KEYDOWN, VK_SPACE, 0x00390001);
            ::PostMessageW(hList, WM_CHAR, L' ', 0x00390001);
            ::PostMessageW(hList, WM_KEYUP, VK_SPACE, 0xC0390001);
        } else {
            CRect r;
            m_pList->GetItemRect(nIndex, &r);
            LPARAM at = MAKELPARAM(action == text ? r.left + 60 : r.left + 5, r.CenterPoint().y);
            ::PostMessageW(hList, WM_LBUTTONDOWN, MK_LBUTTON, at);
            ::PostMessageW(hList, WM_LBUTTONUP, 0, at);
            if (action == dblclk) {
                ::PostMessageW(hList, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
                ::PostMessageW(hList, WM_LBUTTONUP, 0, at);
            }
        }
        wivotest::PumpIdle();
    }
    std::string Checks()
    {
        std::string s;
        for (int i = 0; i < m_pList->GetCount(); i++)
            s += std::to_string(m_pList->GetCheck(i));
        return s;
    }
    std::unique_ptr<CTestCheckList> m_pList;
};

TEST_F(CheckListTest, ClicksAndTheSpaceBarChangeChecksAndTellTheParent)
{
    // checks: of all items after the step; log: what the parent was told.
    struct Step { UINT style; Action action; int index; const char* checks; int sel;
                  const char* log; };
    const Step steps[] = {
        { BS_AUTOCHECKBOX, box, 0, "100", 0, "ChkChange" },
        { BS_AUTOCHECKBOX, box, 0, "000", 0, "ChkChange" },
        { BS_AUTOCHECKBOX, text, 1, "000", 1, "" },            // selects, no check
        { BS_AUTOCHECKBOX, space, 1, "010", 1, "ChkChange" },
        { BS_AUTOCHECKBOX, dblclk, 0, "010", 0, "ChkChange,ChkChange" },   // two clicks
        { BS_AUTOCHECKBOX, box, 2, "010", 0, "" },              // disabled: not even selected
        { BS_AUTOCHECKBOX, space, 2, "010", 2, "" },
        { BS_AUTO3STATE, space, 1, "020", 1, "ChkChange" },
        { BS_AUTO3STATE, box, 1, "000", 1, "ChkChange" },
        { BS_AUTO3STATE, box, 1, "010", 1, "ChkChange" },
        { BS_CHECKBOX, box, 0, "010", 0, "" },                  // the program changes checks
        { BS_3STATE, space, 0, "010", 0, "" },
    };
    for (const Step& s : steps) {
        m_pList->SetCheckStyle(s.style);
        Do(s.action, s.index);
        std::string what = "step " + std::to_string(&s - steps);
        EXPECT_EQ(s.checks, Checks()) << what;
        EXPECT_EQ(s.sel, m_pList->GetCurSel()) << what;
        EXPECT_EQ(s.log, Logged()) << what;
    }
    EXPECT_EQ("10|20|30|30", Join({ (long long)m_pList->GetItemData(0),
                                    (long long)m_pList->GetItemData(1),
                                    (long long)m_pList->GetItemData(2),
                                    m_pList->SendMessage(LB_GETITEMDATA, 2) }));
}

TEST_F(CheckListTest, ChecksStylesAndRecordsKeepTheirRules)
{
    m_pList->SetCheckStyle(BS_PUSHBUTTON);      // not a check style
    m_pList->SetCheck(0, 2);                    // no third state in two-state lists
    m_pList->SetCheck(1, 5);
    m_pList->SetCheck(9, 1);
    std::string s = Join({ (long long)m_pList->GetCheckStyle(), Checks(), m_pList->GetCheck(9),
                           m_pList->IsEnabled(2), m_pList->IsEnabled(9) });
    m_pList->SetCheckStyle(BS_3STATE);
    m_pList->SetCheck(0, 2);
    EXPECT_EQ("3|000|0|0|0|200", s + "|" + Checks());

    // One record per item, and none left when the items go.
    EXPECT_EQ(3, m_pList->Records());
    m_pList->DeleteString(0);
    EXPECT_EQ("Delete 10|2|20|0", Logged() + "|" + Join({ (int)m_pList->Records(),
                                      (long long)m_pList->GetItemData(0), m_pList->GetCheck(0) }));
    m_pList->ResetContent();
    EXPECT_EQ("Delete 20,Delete 30|0", Logged(true) + "|" + Join({ (int)m_pList->Records() }));
    m_pList->AddString(L"x");
    m_pList->SetItemData(0, 99);
    m_pList->DestroyWindow();
    EXPECT_EQ("Delete 99|0", Logged() + "|" + Join({ (int)m_pList->Records() }));

    // Create wants strings and an owner-draw style; items stay as tall as their box.
    CCheckListBox bad;
    for (DWORD style : { (DWORD)LBS_OWNERDRAWFIXED, (DWORD)LBS_HASSTRINGS })
        EXPECT_FALSE(bad.Create(style, Rect(0, 0, 50, 50), m_pParent.get(), 1)) << style;
    CCheckListBox good;
    ASSERT_TRUE(good.Create(LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, Rect(0, 0, 50, 50),
                            m_pParent.get(), 1));
    good.SetItemHeight(0, 2);
    EXPECT_GE(good.GetItemHeight(0), ::GetSystemMetrics(SM_CYMENUCHECK) + 2);
}

TEST_F(CheckListTest, ListsWithoutStringsKeepTheCallersDataEverywhere)
{
    HWND hList = ::CreateWindowExW(0, L"LISTBOX", NULL, WS_CHILD | LBS_OWNERDRAWFIXED, 0, 0,
                                   100, 100, m_pParent->m_hWnd, (HMENU)7, NULL, NULL);
    CTestCheckList list;
    ASSERT_TRUE(list.SubclassWindow(hList));
    for (LPARAM data : { 70, 80, 90 })
        list.SendMessage(LB_ADDSTRING, 0, data);
    list.SetCheck(1, 1);
    LPARAM got = 0;
    list.SendMessage(LB_GETTEXT, 1, (LPARAM)&got);
    EXPECT_EQ("80|80|1|2|-1|1|1", Join({ (long long)list.GetItemData(1), (long long)got,
                                          list.FindStringExact(-1, (LPCTSTR)80),
                                          list.SelectString(0, (LPCTSTR)90),
                                          list.FindString(-1, (LPCTSTR)5), list.GetCheck(1),
                                          list.GetCurSel() == 2 }));
}

/////////////////////////////////////////////////////////////////////////////
// Owner draw through reflection

class CDrawnList : public CListBox
{
protected:
    void MeasureItem(LPMEASUREITEMSTRUCT p) override
    {
        p->itemHeight = 16 + (UINT)p->itemData;
        Note("Measure", p->itemData);
    }
    void DrawItem(LPDRAWITEMSTRUCT p) override
    {
        if (p->itemAction & ODA_DRAWENTIRE)
            Note("Draw", p->itemData);
    }
    int CompareItem(LPCOMPAREITEMSTRUCT p) override
    {
        return p->itemData1 < p->itemData2 ? -1 : p->itemData1 > p->itemData2 ? 1 : 0;
    }
    void DeleteItem(LPDELETEITEMSTRUCT p) override { Note("Delete", p->itemData); }
    // -2: handled here, the list does nothing more.
    int VKeyToItem(UINT nKey, UINT) override { return Note("VKey", nKey); }
    int CharToItem(UINT nKey, UINT) override { return Note("Char", nKey); }
};

class CDrawnButton : public CButton
{
protected:
    void DrawItem(LPDRAWITEMSTRUCT p) override { Note("Button", p->CtlType); }
};

class CDrawnCombo : public CComboBox
{
protected:
    void MeasureItem(LPMEASUREITEMSTRUCT p) override
    {
        p->itemHeight = 25;
        g_log.push_back("ComboMeasure");
    }
};

TEST_F(ControlsTest, OwnerDrawMessagesReachTheControlsOverridables)
{
    CDrawnList list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | LBS_OWNERDRAWVARIABLE | LBS_SORT | LBS_WANTKEYBOARDINPUT,
                            Rect(0, 0, 150, 150), m_pParent.get(), 1));
    for (LPARAM data : { 3, 1, 2 })
        list.SendMessage(LB_ADDSTRING, 0, data);
    EXPECT_EQ("Measure 3,Measure 1,Measure 2", Logged());
    EXPECT_EQ("1|2|3|17|19", Join({ (long long)list.GetItemData(0), (long long)list.GetItemData(1),
                                    (long long)list.GetItemData(2), list.GetItemHeight(0),
                                    list.GetItemHeight(2) }));      // sorted, measured
    list.SetCurSel(0);
    list.RedrawWindow();
    EXPECT_EQ("Draw 1,Draw 2,Draw 3", Logged());
    ::PostMessageW(list.m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(list.m_hWnd, WM_CHAR, L'x', 0);
    wivotest::PumpIdle();
    EXPECT_EQ("VKey 40,Char 120|0", Logged() + "|" + Join({ list.GetCurSel() }));   // -2: handled
    list.DeleteString(1);
    EXPECT_EQ("Delete 2", Logged());

    CDrawnButton button;
    ASSERT_TRUE(button.Create(L"b", WS_VISIBLE | BS_OWNERDRAW, Rect(200, 0, 80, 30),
                              m_pParent.get(), 2));
    button.RedrawWindow();
    EXPECT_EQ("Button 4", Logged());

    // A fixed owner-draw combo measures while it is being created.
    CDrawnCombo combo;
    ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                             Rect(200, 40, 100, 100), m_pParent.get(), 3));
    EXPECT_NE(std::string::npos, Logged().find("ComboMeasure"));
    EXPECT_EQ(25, combo.GetItemHeight(0));
}

} // namespace
