// Screen modes, the window pass, check points, pause, stop, the error dialog and the end.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "services/platform/sdl/window_pace.h"
#include "services/video/dialog_box.h"
#include "services/window/window_loop.h"
#include "tests/support/harness.h"

using svc::Key;
using testing_support::Harness;

namespace {

std::uint32_t framePixel(const Harness& h, int x, int y)
{
    return h.platform.frame()[static_cast<std::size_t>(y) * h.platform.frame_width() + x];
}

TEST(ErrorDialog, TheMouseAnswersOnlyOnTheButtons)
{
    const svc::DialogLayout d =
        svc::dialog_layout({"Unhandled Error #53", "File not found", true}, 640, 200);
    // Each button from its first column and row to its last.
    const int yesX = d.yesX, noX = d.noX + svc::DialogLayout::kButtonW - 1, y = d.buttonY;
    const int below = d.buttonY + svc::DialogLayout::kButtonH;
    EXPECT_EQ(svc::dialog_button_at(d, yesX, y), std::optional<bool>(true));
    EXPECT_EQ(svc::dialog_button_at(d, noX, below - 1), std::optional<bool>(false));
    for (const auto& [x, yy] : {std::pair{yesX, d.buttonY - 1},
                                {noX, below},
                                {d.yesX - 1, y},
                                {d.noX + svc::DialogLayout::kButtonW, y}}) {
        EXPECT_EQ(svc::dialog_button_at(d, x, yy), std::nullopt) << x << "," << yy;
    }
}

} // namespace

TEST(ScreenModes, UnknownModesAreRefusedWithError5)
{
    Harness h;
    h.platform.type_text("y");
    h.sv().set_screen_mode(3);
    EXPECT_EQ(h.sv().pending_error(), 5);
    EXPECT_EQ(h.screen().mode(), 0);
    h.sv().checkpoint(); // the dialog; answered Yes by the scripted key
    EXPECT_EQ(h.sv().pending_error(), 0);
}

TEST(WindowRefresh, OnlyAChangedImageIsSentWithItsChangedRows)
{
    Harness h;
    h.sv().set_screen_mode(8);
    h.platform.advance(40);
    struct Case {
        const char* what;
        std::function<void()> change;
        int top, bottom; // rows marked as changed; top > bottom: nothing sent
        int left, right; // columns, in whole eight-pixel words
    };
    const Case cases[] = {
        {"nothing", [] {}, 0, -1, 0, 0},
        {"one pixel", [&] { h.screen().set_pixel(21, 50, 4); }, 50, 50, 16, 23},
        {"two rows",
         [&] { h.screen().fill_rect(0, 20, 9, 20, 2), h.screen().set_pixel(100, 90, 1); }, 20, 90,
         0, 103},
        {"the palette", [&] { h.screen().set_palette_entry(0, 0x123456); }, 0, 199, 0, 639},
    };
    for (const Case& c : cases) {
        const int before = h.platform.presents;
        c.change();
        h.platform.advance(200);
        const bool sent = c.top <= c.bottom;
        ASSERT_EQ(h.platform.presents - before, sent ? 1 : 0) << c.what;
        if (sent) {
            EXPECT_EQ(h.platform.presentedTop, c.top) << c.what;
            EXPECT_EQ(h.platform.presentedBottom, c.bottom) << c.what;
            EXPECT_EQ(h.platform.presentedLeft, c.left) << c.what;
            EXPECT_EQ(h.platform.presentedRight, c.right) << c.what;
        }
    }
    EXPECT_EQ(framePixel(h, 21, 50), 0xAA0000u);
    EXPECT_EQ(framePixel(h, 0, 0), 0x123456u);
    // An unchanged picture is still sent whole once a second.
    h.platform.advance(1000);
    EXPECT_EQ(h.platform.presentedBottom, 199);
    // Not while a mode change holds the image; that pass lets go of it, or the next change hangs.
    const int sent = h.platform.presents;
    h.sv().window().hold_image();
    h.platform.advance(1100);
    h.sv().window().release_image();
    EXPECT_EQ(h.platform.presents, sent);
    h.sv().set_screen_mode(12);
}

TEST(CheckPoint, StopRequestEndsAtTheNextCheckPointWithoutPrompt)
{
    Harness h;
    h.platform.close_window();
    h.platform.advance(40);
    const int code = h.run([&] { h.sv().read_key(); });
    EXPECT_EQ(code, 0);
}

TEST(CheckPoint, BreakAndCtrlScrollLockRequestAStop)
{
    for (Key k : {Key::Break, Key::ScrollLock}) {
        Harness h;
        h.platform.press_key(k, false, k == Key::ScrollLock);
        h.platform.advance(40);
        EXPECT_TRUE(h.sv().window().stop_requested());
    }
}

TEST(ErrorDialog, ACriticalErrorIsNotAnsweredByOtherKeysButEndsWithTheWindow)
{
    Harness h;
    h.sv().raise(300);
    h.platform.press_key(Key::X);
    h.platform.closeAfterMs = h.platform.ticks_ms() + 1000;
    EXPECT_EQ(h.run([&] { h.sv().checkpoint(); }), 0);
}

TEST(ErrorDialog, OnlyTheFirstErrorBeforeACheckPointCounts)
{
    Harness h;
    h.sv().raise(53);
    h.sv().raise(62);
    EXPECT_EQ(h.sv().pending_error(), 53);
}

TEST(EndProgram, ClosingTheWindowDuringTheWaitEndsAtOnce)
{
    Harness h;
    h.platform.closeAfterMs = h.platform.ticks_ms() + 100;
    EXPECT_EQ(h.run([&] { h.sv().end_program(); }), 0);
}

TEST(WindowPace, PicturesWaitOnlyWhileTheKeysAreQuiet)
{
    using namespace svc::window_pace;
    // now, last event, last picture sent: due?
    EXPECT_TRUE(picture_due(5000, 4000, 4999));  // a key a second ago
    EXPECT_FALSE(picture_due(5000, 3999, 4961)); // quiet, a picture 39 ms ago
    EXPECT_TRUE(picture_due(5000, 3999, 4960));
}

TEST(WindowPace, AQuietWindowRestsUntilItHasWork)
{
    using namespace svc::window_pace;
    using svc::WindowWork;
    struct Row {
        double lastEventMs, sentAtMs;
        WindowWork work;
        double rest;
        bool listens;
    };
    // At 5000 ms: a key a second ago keeps the short rests whatever there is to do; once the
    // keys are quiet the window rests until the next picture's turn (40 ms after the last),
    // tones and dialogs are looked at every 16 ms, and with nothing to do the window sleeps
    // until an event or the game's word, which it listens for only then.
    for (const Row r :
         {Row{4000, 4999, WindowWork::None, 4, true}, Row{4000, 0, WindowWork::Other, 4, false},
          Row{3999, 4990, WindowWork::Picture, 30, false},
          Row{3999, 4000, WindowWork::Picture, 1, false},
          Row{3999, 4990, WindowWork::Other, 16, false},
          Row{3999, 4990, WindowWork::None, 30, false},
          Row{3999, 4000, WindowWork::None, 1000, true}}) {
        EXPECT_EQ(rest_ms(5000, r.lastEventMs, r.sentAtMs, r.work), r.rest)
            << r.lastEventMs << " " << r.sentAtMs << " " << static_cast<int>(r.work);
        EXPECT_EQ(listens(5000, r.lastEventMs, r.sentAtMs, r.work), r.listens)
            << r.lastEventMs << " " << r.sentAtMs << " " << static_cast<int>(r.work);
    }
}
