// The error dialog's words as the player reads them: for every error number, the title and the
// message are read back letter by letter from the picture in the window.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "data/fonts.h"
#include "services/window_loop.h"
#include "tests/support/harness.h"

namespace {

constexpr std::uint32_t kTitleBar = 0x000080;
constexpr std::uint32_t kTitleText = 0xFFFFFF;
constexpr std::uint32_t kBodyText = 0x000000;

// The words of the dialog in the window, read as the player reads them.
struct DialogWords {
    std::string title;
    std::vector<std::string> lines;
};

// The characters drawn in `colour` in the 8x16 cells from (x0, y0) on, `count` of them, each
// matched against the font ('?' for a cell that is no letter); blanks at the end dropped.
std::string read_text(const testing_support::Harness& h, int x0, int y0, int count,
                      std::uint32_t colour)
{
    const auto& px = h.platform.frame();
    const int w = h.platform.frame_width();
    std::string out;
    for (int i = 0; i < count; ++i) {
        std::uint8_t cell[16] = {};
        for (int gy = 0; gy < 16; ++gy) {
            for (int gx = 0; gx < 8; ++gx) {
                const std::size_t at = static_cast<std::size_t>(y0 + gy) * w + x0 + i * 8 + gx;
                cell[gy] |= px[at] == colour ? 0x80 >> gx : 0;
            }
        }
        char c = '?';
        for (int code = 32; code < 127 && c == '?'; ++code) {
            c = std::memcmp(cell, data::kFont8x16[code], 16) == 0 ? static_cast<char>(code) : c;
        }
        out += c;
    }
    return out.erase(out.find_last_not_of(' ') + 1);
}

// Finds the dialog by its title bar (the first pixel of it, one inside the box's corner) and
// reads the title and the given number of lines below it.
DialogWords read_dialog(const testing_support::Harness& h, int lines)
{
    const auto& px = h.platform.frame();
    const int w = h.platform.frame_width();
    std::size_t at = 0;
    while (at < px.size() && px[at] != kTitleBar) {
        ++at;
    }
    const int x = static_cast<int>(at % w) - 1, y = static_cast<int>(at / w) - 1;
    int barWidth = 0;
    while (px[at + barWidth] == kTitleBar) {
        ++barWidth;
    }
    const int columns = (barWidth + 2 - 32) / 8;
    DialogWords words;
    words.title = read_text(h, x + 8, y + 1, columns, kTitleText);
    for (int line = 0; line < lines; ++line) {
        words.lines.push_back(read_text(h, x + 16, y + 24 + 16 * line, columns, kBodyText));
    }
    return words;
}

TEST(ErrorDialog, EveryErrorNumberShowsItsTitleAndMessageToTheLetter)
{
    struct Row {
        int code;
        const char* title;
        const char* message;
        const char* last; // the question of a dialog that lets the game go on, or none
    };
    // clang-format off
    const Row rows[] = {
        {2,   "Unhandled Error #2",   "Syntax error",            "Continue?"},
        {4,   "Unhandled Error #4",   "Out of DATA",             "Continue?"},
        {5,   "Unhandled Error #5",   "Illegal function call",   "Continue?"},
        {6,   "Unhandled Error #6",   "Overflow",                "Continue?"},
        {9,   "Unhandled Error #9",   "Subscript out of range",  "Continue?"},
        {52,  "Unhandled Error #52",  "Bad file name or number", "Continue?"},
        {54,  "Unhandled Error #54",  "Bad file mode",           "Continue?"},
        {55,  "Unhandled Error #55",  "File already open",       "Continue?"},
        {62,  "Unhandled Error #62",  "Input past end of file",  "Continue?"},
        {64,  "Unhandled Error #64",  "Bad file name",           "Continue?"},
        {68,  "Unhandled Error #68",  "Device unavailable",      "Continue?"},
        {70,  "Unhandled Error #70",  "Permission denied",       "Continue?"},
        {75,  "Unhandled Error #75",  "Path/File access error",  "Continue?"},
        {76,  "Unhandled Error #76",  "Path not found",          "Continue?"},
        {77,  "Unhandled Error #77",  "Unprintable error",       "Continue?"},
        {299, "Unhandled Error #299", "Unprintable error",       "Continue?"},
        {300, "Critical Error #300",  "Unprintable error",       ""},
        {313, "Critical Error #313",  "Unprintable error",       ""},
        {314, "Unhandled Error #314", "Unprintable error",       "Continue?"},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        testing_support::Harness h;
        const bool question = row.last[0] != '\0';
        DialogWords seen;
        h.platform.onPass = [&] {
            svc::WindowLoop::Buttons b{};
            if (seen.title.empty() && h.sv().window().dialog_buttons(b)) {
                seen = read_dialog(h, question ? 3 : 2);
                h.platform.press_key(svc::Key::Enter);
            }
        };
        h.platform.closeAfterMs = h.platform.ticks_ms() + 1000;
        h.sv().raise(row.code);
        const int exitCode = h.run([&] { h.sv().checkpoint(); });
        EXPECT_EQ(exitCode, question ? -1 : 1); // Enter answers Yes, or OK, which ends the game
        EXPECT_EQ(seen.title, row.title);
        ASSERT_EQ(seen.lines.size(), question ? 3u : 2u);
        EXPECT_EQ(seen.lines[0].rfind("Line: ", 0), 0u) << seen.lines[0];
        EXPECT_EQ(seen.lines[1], row.message);
        EXPECT_EQ(question ? seen.lines[2] : "", row.last);
    }
}

} // namespace
