// Tests of the GUI test helpers on real windows: a message box, a dialog with an edit
// and a popup menu worked by the modal driver, and sequence checks that must pass or
// fail.
#include "GuiTestSupport.h"
#include "MsgHook.h"

#include <commctrl.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

using namespace wivotest;

const UINT WM_ONE = WM_USER + 1;
const UINT WM_TWO = WM_USER + 2;

TEST(ModalDriverTest, AnswersMessageBoxesAndClosesThemWhenTheScriptFails)
{
    struct Row { const char* name; ModalDriver::Script script; int result; const char* failure; };
    const Row rows[] = {
        { "by id", [](ModalDriver& d) {
              HWND hBox = d.WaitForDialog(L"Wivo box");
              d.Check(d.StaticText(hBox) == L"Go on?", "the box's text");
              d.Press(hBox, IDNO);
          }, IDNO, nullptr },
        { "by caption", [](ModalDriver& d) { d.Press(d.WaitForDialog(L"Wivo box"), L"Yes"); },
          IDYES, nullptr },
        // A script that stops halfway leaves the box to the driver, which cancels it.
        { "failed check", [](ModalDriver& d) {
              d.Check(d.StaticText(d.WaitForDialog()) == L"Other", "the box's text");
          }, IDCANCEL, "check failed: the box's text" },
        { "wrong title", [](ModalDriver& d) { d.WaitForDialog(L"Other title"); }, IDCANCEL,
          "no window of class #32770 titled \"Other title\" appeared" },
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        int result = 0;
        auto run = [&] {
            ModalDriver driver(r.script, 500);
            result = ::MessageBoxW(NULL, L"Go on?", L"Wivo box", MB_YESNOCANCEL);
            driver.Join();
        };
        if (r.failure != nullptr) {
            EXPECT_NONFATAL_FAILURE(run(), r.failure);
        } else {
            run();
        }
        EXPECT_EQ(r.result, result);
    }
}

// A dialog with an edit (100) and OK, which keeps the edit's text when it ends.
const int kEditId = 100;
WCHAR g_dialogText[64];

INT_PTR CALLBACK EditDialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_INITDIALOG)
        return TRUE;
    if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        ::GetDlgItemTextW(hDlg, kEditId, g_dialogText, 64);
        ::EndDialog(hDlg, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

// An in-memory dialog template: the dialog, then its items, each DWORD-aligned.
class DialogTemplate
{
public:
    DialogTemplate(LPCWSTR title, short cx, short cy)
    {
        DLGTEMPLATE dlg = { WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 0, 0, cx, cy };
        Append(&dlg, sizeof(dlg));
        Words({ 0, 0 });    // no menu, the standard class
        Text(title);
    }
    void Item(DWORD style, short id, WORD atom, LPCWSTR text, short x, short y, short cx, short cy)
    {
        m_bytes.resize((m_bytes.size() + 3) & ~size_t(3));
        DLGITEMTEMPLATE item = { style | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy, (WORD)id };
        Append(&item, sizeof(item));
        Words({ 0xFFFF, atom });
        Text(text);
        Words({ 0 });       // no creation data
        ++reinterpret_cast<DLGTEMPLATE*>(&m_bytes[0])->cdit;
    }
    LPCDLGTEMPLATEW Get() const { return reinterpret_cast<LPCDLGTEMPLATEW>(m_bytes.data()); }

private:
    void Append(const void* p, size_t n)
    {
        m_bytes.insert(m_bytes.end(), (const BYTE*)p, (const BYTE*)p + n);
    }
    void Words(std::initializer_list<WORD> words)
    {
        for (WORD w : words)
            Append(&w, 2);
    }
    void Text(LPCWSTR text) { Append(text, (wcslen(text) + 1) * 2); }
    std::vector<BYTE> m_bytes;
};

TEST(ModalDriverTest, TypesIntoADialogsEdit)
{
    DialogTemplate tmpl(L"Wivo edit", 120, 60);
    tmpl.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, kEditId, 0x0081, L"", 5, 5, 100, 14);
    tmpl.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 0x0080, L"OK", 5, 30, 40, 14);
    struct Row { const char* name; ModalDriver::Script script; const wchar_t* text; };
    const Row rows[] = {
        // Into the focus: the dialog gives it to its first control that takes tabs.
        { "focus", [](ModalDriver& d) {
              HWND hDlg = d.WaitForDialog(L"Wivo edit");
              d.Type(L"abc");
              d.Check(d.Focus() == d.Control(hDlg, kEditId), "the edit has the focus");
              d.Press(hDlg, L"OK");
          }, L"abc" },
        { "by id", [](ModalDriver& d) {
              HWND hDlg = d.WaitForDialog(L"Wivo edit");
              d.Type(L"x y", d.Control(hDlg, kEditId));
              d.Check(d.Text(d.Control(hDlg, kEditId)) == L"x y", "the edit's text");
              d.Key(VK_RETURN);   // the default button
              d.WaitForClose(hDlg);
          }, L"x y" },
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ModalDriver driver(r.script);
        EXPECT_EQ(IDOK, ::DialogBoxIndirectW(::GetModuleHandleW(NULL), tmpl.Get(), NULL,
                                             EditDialogProc));
        driver.Join();
        EXPECT_STREQ(r.text, g_dialogText);
    }
}

TEST(ModalDriverTest, ChoosesOrClosesPopupMenuItems)
{
    HWND hOwner = ::CreateWindowExW(0, MsgRecorder::RecordingClass(), L"owner", WS_POPUP | WS_VISIBLE,
                                    0, 0, 100, 100, NULL, NULL, NULL, NULL);
    ASSERT_NE(nullptr, hOwner);
    HMENU hMenu = ::CreatePopupMenu();
    ::AppendMenuW(hMenu, MF_STRING, 11, L"One");
    ::AppendMenuW(hMenu, MF_SEPARATOR, 0, NULL);
    ::AppendMenuW(hMenu, MF_STRING, 12, L"Two");
    ::AppendMenuW(hMenu, MF_STRING, 13, L"Three");
    struct Row { ModalDriver::Script script; int result; } const rows[] = {
        { [](ModalDriver& d) { d.ChooseMenuItem(12); }, 12 },
        { [](ModalDriver& d) { d.ChooseMenuItem(13); }, 13 },
        { [](ModalDriver& d) { d.WaitForMenu(); d.CloseMenus(); }, 0 },
    };
    for (const Row& r : rows) {
        ::SetForegroundWindow(hOwner);
        ModalDriver driver(r.script);
        EXPECT_EQ(r.result, ::TrackPopupMenu(hMenu, TPM_RETURNCMD, 10, 10, 0, hOwner, NULL));
        driver.Join();
    }
    ::DestroyMenu(hMenu);
    ::DestroyWindow(hOwner);
}

TEST(MsgRecorderTest, RecordsProceduresSubclassesHooksAndFrameworkWindows)
{
    MsgRecorder rec;
    HWND hWnd = ::CreateWindowExW(0, MsgRecorder::RecordingClass(), L"", WS_POPUP, 0, 0, 10, 10,
                                  NULL, NULL, NULL, NULL);
    ASSERT_NE(nullptr, hWnd);
    rec.Flush();
    ::SendMessageW(hWnd, WM_ONE, 5, 6);
    ::PostMessageW(hWnd, WM_TWO, 7, 8);
    EXPECT_TRUE(PumpUntil([&] { return rec.Entries().size() == 2; }, 2000));
    ExpectSequence(rec, { { WM_ONE, sent | wparam | lparam, 5, 6 },
                          { WM_TWO, posted | wparam | lparam, 7, 8 } }, "procedure");

    // The newest of a chain first: hook, subclass, then the window's procedure.
    ASSERT_TRUE(::SetWindowSubclass(hWnd, MsgRecorder::RecordingSubclass, 1, 0));
    CMsgHook msgHook(MsgRecorder::HookCallback());
    ASSERT_TRUE(msgHook.Install(hWnd));
    ::SendMessageW(hWnd, WM_ONE, 0, 0);
    ExpectSequence(rec, { { WM_ONE, sent | hook }, { WM_ONE, sent }, { WM_ONE, sent } },
                   "chain");
    msgHook.Remove();
    ::RemoveWindowSubclass(hWnd, MsgRecorder::RecordingSubclass, 1);

    // What the default procedure does for WM_CLOSE is flagged defwinproc.
    ::SendMessageW(hWnd, WM_CLOSE, 0, 0);
    ExpectSequence(rec, { { WM_CLOSE, sent }, { WM_DESTROY, sent | defwinproc },
                          { WM_NCDESTROY, sent | defwinproc } }, "close");

    // A framework window, watched as a parent: only its own messages count.
    auto pWnd = std::make_unique<RecordingWnd<>>();
    ASSERT_TRUE(pWnd->CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    rec.Watch(pWnd->m_hWnd, parent);
    rec.Flush();
    ::SendMessageW(pWnd->m_hWnd, WM_TWO, 1, 0);
    ::SendMessageW(hWnd, WM_ONE, 0, 0);
    ::DestroyWindow(pWnd->m_hWnd);
    ExpectSequence(rec, { { WM_TWO, sent | parent | wparam, 1 },
                          { WM_WINDOWPOSCHANGING, sent | parent | optional },
                          { WM_DESTROY, sent | parent }, { WM_NCDESTROY, sent | parent } },
                   "framework window");
}

TEST(MsgRecorderTest, ReportsTheFirstDifference)
{
    UINT registered = ::RegisterWindowMessageW(L"WivoGuiSupportTest");
    struct Row { std::vector<MsgEntry> expected; const char* failure; };
    const Row rows[] = {
        { { { WM_NULL, sent | optional }, { WM_ONE, sent | lparam, 0, 6 },
            { WM_TWO, posted | optional }, { registered, posted },
            { WM_CLOSE, sent | optional } }, nullptr },
        { { { WM_ONE, sent | wparam, 7 } },
          "message 1: expected WM_USER+1 (sent) wParam 0x7, got WM_USER+1 (sent) wParam 0x5" },
        { { { WM_ONE, sent }, { registered, sent } },
          "message 2: expected \"WivoGuiSupportTest\" (sent), got \"WivoGuiSupportTest\" (posted)" },
        { { { WM_ONE, sent } }, "message 2: unexpected \"WivoGuiSupportTest\" (posted) wParam 0" },
        { { { WM_ONE, sent }, { registered, posted }, { WM_TWO, sent | defwinproc } },
          "message 3: missing WM_USER+2 (sent|defwinproc)" },
    };
    MsgRecorder rec;
    for (const Row& r : rows) {
        rec.Add(NULL, WM_ONE, 5, 6);
        rec.Add(NULL, WM_GETICON, 0, 0);    // ignored
        rec.Add(NULL, registered, 0, 0, posted);
        if (r.failure == nullptr)
            EXPECT_TRUE(ExpectSequence(rec, r.expected, "row"));
        else
            EXPECT_NONFATAL_FAILURE(ExpectSequence(rec, r.expected, "row"), r.failure);
    }
    EXPECT_FALSE(PumpUntil([] { return false; }, 50)) << "a condition that never holds";
}

} // namespace
