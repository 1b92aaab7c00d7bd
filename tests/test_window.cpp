// Screen modes, the window pass, check points, pause, stop, the error dialog and the end.
#include <gtest/gtest.h>

#include "services/window_loop.h"
#include "tests/support/harness.h"

using svc::Key;
using testing_support::Harness;

namespace {

std::uint32_t framePixel(const Harness& h, int x, int y)
{
    return h.platform.frame()[static_cast<std::size_t>(y) * h.platform.frame_width() + x];
}

} // namespace

TEST(ScreenModes, StartInTextModeAndFollowTheImageSize)
{
    Harness h;
    EXPECT_EQ(h.screen().mode(), 0);
    EXPECT_EQ(h.screen().cell(0, 0), 0x0720);
    h.platform.advance(40);
    EXPECT_EQ(h.platform.frame_width(), 640);
    EXPECT_EQ(h.platform.frame_height(), 400);

    h.sv().set_screen_mode(8);
    h.platform.advance(40);
    EXPECT_EQ(h.platform.frame_width(), 640);
    EXPECT_EQ(h.platform.frame_height(), 200);
    EXPECT_EQ(h.screen().info().rows, 25);
}

TEST(ScreenModes, SameModeKeepsThePictureOtherModesStartBlack)
{
    Harness h;
    h.sv().set_screen_mode(8);
    h.screen().set_pixel(10, 10, 12);
    h.screen().cursorRow = 5;
    h.sv().set_screen_mode(8);
    EXPECT_EQ(h.screen().pixel(10, 10), 12);
    EXPECT_EQ(h.screen().cursorRow, 5);

    h.sv().set_screen_mode(12);
    EXPECT_EQ(h.screen().width(), 640);
    EXPECT_EQ(h.screen().height(), 480);
    EXPECT_EQ(h.screen().pixel(10, 10), 0);
    EXPECT_EQ(h.screen().cursorRow, 1);
    EXPECT_EQ(h.screen().cursorCol, 1);
    EXPECT_EQ(h.screen().foreground, 15);
    EXPECT_EQ(h.screen().printBottom, 29);
}

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

TEST(WindowRefresh, PaletteEntryZeroShowsOnEveryBackgroundPixel)
{
    Harness h;
    h.sv().set_screen_mode(8);
    h.screen().set_pixel(5, 5, 4);
    h.screen().set_palette_entry(0, svc::kDefaultPalette[7]);
    h.platform.advance(40);
    EXPECT_EQ(framePixel(h, 0, 0), 0xAAAAAAu);
    EXPECT_EQ(framePixel(h, 5, 5), 0xAA0000u);
}

TEST(WindowRefresh, TextModeDrawsGlyphsInAttributeColours)
{
    Harness h;
    h.screen().set_cell(0, 0, static_cast<std::uint16_t>(219 | (0x1E << 8))); // yellow on blue
    h.screen().set_cell(0, 1, static_cast<std::uint16_t>(' ' | (0x1E << 8)));
    h.platform.advance(40);
    EXPECT_EQ(framePixel(h, 3, 8), 0xFFFF55u);
    EXPECT_EQ(framePixel(h, 11, 8), 0x0000AAu);
}

TEST(CheckPoint, StopRequestEndsAtTheNextCheckPointWithoutPrompt)
{
    Harness h;
    h.platform.close_window();
    h.platform.advance(40);
    const int code = h.run([&] { h.sv().read_key(); });
    EXPECT_EQ(code, 0);
}

TEST(CheckPoint, PauseWaitsAndTheResumingKeyIsSwallowed)
{
    Harness h;
    h.platform.press_key(Key::Pause);
    h.platform.advance(40);
    EXPECT_TRUE(h.sv().window().paused());
    int passes = 0;
    h.platform.onPass = [&] {
        if (++passes == 30) {
            h.platform.type_text("a"); // resumes, not delivered
        }
    };
    const double before = h.platform.ticks_ms();
    EXPECT_EQ(h.sv().read_key(), "");
    EXPECT_GT(h.platform.ticks_ms() - before, 400.0);
    EXPECT_FALSE(h.sv().window().paused());
    h.platform.onPass = nullptr;
    h.platform.press_key(Key::NumLock, false, true); // Ctrl+Num Lock pauses too
    h.platform.advance(40);
    EXPECT_TRUE(h.sv().window().paused());
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

TEST(ErrorDialog, CriticalErrorsEndTheProgram)
{
    Harness h;
    h.sv().raise(300);
    h.platform.press_key(Key::Enter);
    EXPECT_EQ(h.run([&] { h.sv().checkpoint(); }), 1);
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
