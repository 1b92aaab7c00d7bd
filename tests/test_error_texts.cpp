// The error dialog's words as the player reads them: for every error number, the title and the
// message are read back letter by letter from the picture in the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "data/fonts.h"
#include "services/window/window_loop.h"
#include "tests/support/harness.h"

namespace {

constexpr std::uint32_t kTitleBar = 0x000080, kTitleText = 0xFFFFFF, kBodyText = 0x000000;

// The dialog in the window as the player reads it: the title, then `lines` lines of text. The
// box is found by its title bar (one pixel inside its corner); each letter is matched in the
// font ('?' for none), blanks at a line's end dropped.
std::vector<std::string> read_dialog(const testing_support::Harness& h, int lines)
{
    const auto& px = h.platform.frame();
    const int w = h.platform.frame_width();
    const auto bar = std::find(px.begin(), px.end(), kTitleBar);
    const int x = static_cast<int>(bar - px.begin()) % w - 1;
    const int y = static_cast<int>(bar - px.begin()) / w - 1;
    const auto barEnd = std::find_if(bar, px.end(), [](std::uint32_t p) { return p != kTitleBar; });
    const int columns = static_cast<int>(barEnd - bar + 2 - 32) / 8;
    const auto read = [&](int x0, int y0, std::uint32_t colour) {
        std::string out;
        for (int i = 0; i < columns; ++i) {
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
    };
    std::vector<std::string> words{read(x + 8, y + 1, kTitleText)};
    for (int line = 0; line < lines; ++line) {
        words.push_back(read(x + 16, y + 24 + 16 * line, kBodyText));
    }
    return words;
}

TEST(ErrorDialog, EveryErrorNumberShowsItsTitleAndMessageToTheLetter)
{
    struct Row {
        int code;
        const char* title;
        const char* message;
        bool critical; // the dialog then offers only OK, which ends the game
    };
    // clang-format off
    const Row rows[] = {
        {2,   "Unhandled Error #2",   "Syntax error",            false},
        {4,   "Unhandled Error #4",   "Out of DATA",             false},
        {5,   "Unhandled Error #5",   "Illegal function call",   false},
        {6,   "Unhandled Error #6",   "Overflow",                false},
        {9,   "Unhandled Error #9",   "Subscript out of range",  false},
        {52,  "Unhandled Error #52",  "Bad file name or number", false},
        {54,  "Unhandled Error #54",  "Bad file mode",           false},
        {55,  "Unhandled Error #55",  "File already open",       false},
        {62,  "Unhandled Error #62",  "Input past end of file",  false},
        {64,  "Unhandled Error #64",  "Bad file name",           false},
        {68,  "Unhandled Error #68",  "Device unavailable",      false},
        {70,  "Unhandled Error #70",  "Permission denied",       false},
        {75,  "Unhandled Error #75",  "Path/File access error",  false},
        {76,  "Unhandled Error #76",  "Path not found",          false},
        {77,  "Unhandled Error #77",  "Unprintable error",       false},
        {299, "Unhandled Error #299", "Unprintable error",       false},
        {300, "Critical Error #300",  "Unprintable error",       true},
        {313, "Critical Error #313",  "Unprintable error",       true},
        {314, "Unhandled Error #314", "Unprintable error",       false},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        testing_support::Harness h;
        std::vector<std::string> seen;
        h.platform.onPass = [&] {
            svc::WindowLoop::Buttons b{};
            if (seen.empty() && h.sv().window().dialog_buttons(b)) {
                seen = read_dialog(h, row.critical ? 2 : 3);
                h.platform.press_key(svc::Key::Enter); // Yes, or OK
            }
        };
        h.platform.closeAfterMs = h.platform.ticks_ms() + 1000;
        h.sv().raise(row.code);
        EXPECT_EQ(h.run([&] { h.sv().checkpoint(); }), row.critical ? 1 : -1);
        ASSERT_EQ(seen.size(), row.critical ? 3u : 4u);
        std::vector<std::string> want = {row.title, seen[1], row.message};
        if (!row.critical) {
            want.push_back("Continue?");
        }
        EXPECT_EQ(seen, want);
    }
}

} // namespace
