// Tests of the GUI test helpers on real windows: the message recorder, and the modal
// driver on a message box, which it answers, or closes when its script fails. The
// rest of the driver (typing, keys, focus, menus) is at work in the dialog, frame and
// hook tests, whose steps fail when it does.
#include "AfxTestSupport.h"
#include "GuiTestSupport.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

using namespace wivotest;

TEST(ModalDriverTest, AnswersMessageBoxesAndClosesThemWhenTheScriptFails)
{
    struct Row { const char* name; ModalDriver::Script script; int result; const char* failure; };
    const Row rows[] = {
        { "answered", [](ModalDriver& d) {
              HWND hBox = d.WaitForDialog(L"Wivo box");
              d.Check(d.StaticText(hBox) == L"Go on?", "the box's text");
              d.Press(hBox, IDNO);
          }, IDNO, nullptr },
        // A script that stops halfway leaves the box to the driver, which cancels it.
        { "failed check", [](ModalDriver& d) {
              d.Check(d.StaticText(d.WaitForDialog()) == L"Other", "the box's text");
          }, IDCANCEL, "check failed: the box's text" },
        { "wrong title", [](ModalDriver& d) { d.WaitForDialog(L"Other title"); }, IDCANCEL,
          "timed out waiting for a window of class #32770 titled \"Other title\"" },
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

TEST(MsgRecorderTest, RecordsTheWatchedWindowsIntoTheNewestRecorderAndComparesSequences)
{
    HWND hWatched = ::CreateWindowExW(0, MsgRecorder::RecordingClass(), L"", WS_POPUP, 0, 0, 10,
                                      10, NULL, NULL, NULL, NULL);
    HWND hOther = ::CreateWindowExW(0, MsgRecorder::RecordingClass(), L"", WS_POPUP, 0, 0, 10, 10,
                                    NULL, NULL, NULL, NULL);
    ASSERT_TRUE(hWatched != NULL && hOther != NULL);
    MsgRecorder older;
    {
        MsgRecorder rec;
        rec.Watch(hWatched);
        ::SendMessageW(hWatched, WM_USER + 1, 5, 6);
        ::SendMessageW(hOther, WM_USER + 2, 0, 0);
        ::PostMessageW(hWatched, WM_USER + 3, 7, 8);
        EXPECT_TRUE(PumpUntil([&] { return rec.Entries().size() == 2; }, 2000));
        MsgRecorder::Record(hWatched, WM_USER + 4, 0, 0, "hook");
        const int w = ExpectedMsg::wparam, l = ExpectedMsg::lparam, opt = ExpectedMsg::optional;
        EXPECT_TRUE(MatchesSequence(rec.Entries(), { { "", WM_USER + 1, w | l, 5, 6 },
                                                     { "", WM_USER + 2, opt, 0, 0 },
                                                     { "", WM_USER + 3, w, 7, 0 },
                                                     { "hook", WM_USER + 4, 0, 0, 0 } }));
        struct Row { std::vector<ExpectedMsg> expected; const char* failure; } const rows[] = {
            { { { "", WM_USER + 1, l, 0, 7 } }, "step 0: expected :0x0401(0,7), seen :0x0401(5,6)" },
            { { { "", WM_USER + 1, 0, 0, 0 }, { "", WM_USER + 3, 0, 0, 0 } },
              "more than expected from entry 2: hook:0x0404(0,0)" },
            { { { "", WM_USER + 1, 0, 0, 0 }, { "", WM_USER + 3, 0, 0, 0 }, { "", WM_USER + 4, 0, 0, 0 } },
              "step 2: expected :0x0404(0,0), seen hook:0x0404(0,0)" },
        };
        for (const Row& r : rows)
            EXPECT_EQ(r.failure, std::string(MatchesSequence(rec.Entries(), r.expected).message()));
    }
    EXPECT_TRUE(older.Entries().empty()) << "only the newest recorder records";
    ::SendMessageW(hOther, WM_USER + 4, 0, 0);
    EXPECT_EQ(1u, older.Entries().size()) << "the older one is current again";
    ::DestroyWindow(hWatched);
    ::DestroyWindow(hOther);
}

TEST(PumpTest, PumpUntilGivesUpWhenTheConditionNeverHolds)
{
    EXPECT_FALSE(PumpUntil([] { return false; }, 50));
}

} // namespace
