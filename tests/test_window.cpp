// Screen modes, the window pass, check points, pause, stop, the error dialog and the end.
#include <gtest/gtest.h>

#include <functional>

#include "services/window_loop.h"
#include "tests/support/harness.h"

using svc::Key;
using testing_support::Harness;

namespace {

std::uint32_t framePixel(const Harness& h, int x, int y)
{
    return h.platform.frame()[static_cast<std::size_t>(y) * h.platform.frame_width() + x];
}

// Counts the frame's pixels that differ from the rendering of the screen image alone.
int overlayPixels(Harness& h)
{
    std::vector<std::uint32_t> px;
    int w = 0;
    int ht = 0;
    svc::render_screen(h.screen(), px, w, ht);
    int diff = 0;
    for (std::size_t i = 0; i < px.size(); ++i) {
        diff += px[i] != h.platform.frame()[i];
    }
    return diff;
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

TEST(WindowRefresh, OnlyAChangedImageIsSentWithItsChangedRows)
{
    Harness h;
    h.sv().set_screen_mode(8);
    h.platform.advance(40);
    struct Case {
        const char* what;
        std::function<void()> change;
        int top, bottom; // rows marked as changed; top > bottom: nothing sent
    };
    const Case cases[] = {
        {"nothing", [] {}, 0, -1},
        {"one pixel", [&] { h.screen().set_pixel(5, 50, 4); }, 50, 50},
        {"two rows",
         [&] { h.screen().fill_rect(0, 20, 9, 20, 2), h.screen().set_pixel(639, 90, 1); }, 20, 90},
        {"the palette", [&] { h.screen().set_palette_entry(0, 0x123456); }, 0, 199},
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
        }
    }
    EXPECT_EQ(framePixel(h, 5, 50), 0xAA0000u);
    EXPECT_EQ(framePixel(h, 0, 0), 0x123456u);
    // An unchanged picture is still sent whole once a second.
    h.platform.advance(1000);
    EXPECT_EQ(h.platform.presentedBottom, 199);
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

TEST(ErrorDialog, YesGoesOnAndThePictureIsIntact)
{
    Harness h;
    h.sv().set_screen_mode(8);
    h.screen().set_pixel(320, 100, 14);
    h.sv().raise(53);
    std::string title;
    int overlay = 0;
    h.platform.onPass = [&] {
        if (h.platform.frame_height() == 200 && overlay == 0) {
            overlay = overlayPixels(h);
            if (overlay > 0) {
                h.platform.press_key(Key::Y);
            }
        }
    };
    const int code = h.run([&] { h.sv().checkpoint(); });
    EXPECT_EQ(code, -1);
    EXPECT_GT(overlay, 1000);                  // the dialog was drawn over the picture ...
    EXPECT_EQ(h.screen().pixel(320, 100), 14); // ... and not into it
    EXPECT_EQ(h.sv().pending_error(), 0);
    h.platform.onPass = nullptr;
    h.platform.advance(40);
    EXPECT_EQ(overlayPixels(h), 0);
}

TEST(ErrorDialog, NoEndsTheProgramEscapeAndMouseAnswerToo)
{
    {
        Harness h;
        h.sv().raise(62);
        h.platform.press_key(Key::N);
        EXPECT_EQ(h.run([&] { h.sv().read_key(); }), 1);
    }
    {
        Harness h;
        h.sv().raise(62);
        h.platform.press_key(Key::Escape);
        EXPECT_EQ(h.run([&] { h.sv().read_key(); }), 1);
    }
    for (bool yes : {true, false}) {
        // Clicking a button of the dialog answers it.
        Harness h;
        h.sv().raise(5);
        bool clicked = false;
        h.platform.onPass = [&] {
            svc::WindowLoop::Buttons b;
            if (!clicked && h.sv().window().dialog_buttons(b)) {
                const int* r = yes ? b.yes : b.no;
                h.platform.click_mouse(r[0] + r[2] / 2, r[1] + r[3] / 2);
                clicked = true;
            }
        };
        EXPECT_EQ(h.run([&] { h.sv().checkpoint(); }), yes ? -1 : 1);
        EXPECT_TRUE(clicked);
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

TEST(EndProgram, PromptsOnTheLastRowAndWaitsForAKey)
{
    Harness h;
    h.screen().set_cell(24, 0, static_cast<std::uint16_t>('Q' | (0x07 << 8)));
    h.screen().set_cell(23, 0, static_cast<std::uint16_t>('Z' | (0x07 << 8)));
    h.platform.type_text("q"); // a key already waiting is discarded
    h.platform.advance(40);
    bool promptShown = false;
    int passes = 0;
    h.platform.onPass = [&] {
        if (++passes == 20) {
            promptShown = (h.screen().cell(24, 0) & 0xFF) == 'P';
            h.platform.type_text("k");
        }
    };
    const double before = h.platform.ticks_ms();
    EXPECT_EQ(h.run([&] { h.sv().end_program(); }), 0);
    EXPECT_TRUE(promptShown);
    EXPECT_GT(h.platform.ticks_ms() - before, 300.0);
    std::string row;
    for (int c = 0; c < 25; ++c) {
        row += static_cast<char>(h.screen().cell(24, c) & 0xFF);
    }
    EXPECT_EQ(row, "Press any key to continue");
    EXPECT_EQ(h.screen().cell(24, 30) & 0xFF, ' ');
    EXPECT_EQ(h.screen().cell(23, 0) & 0xFF, 'Z'); // rows above are left alone
}

TEST(EndProgram, ClosingTheWindowDuringTheWaitEndsAtOnce)
{
    Harness h;
    h.platform.closeAfterMs = h.platform.ticks_ms() + 100;
    EXPECT_EQ(h.run([&] { h.sv().end_program(); }), 0);
}
