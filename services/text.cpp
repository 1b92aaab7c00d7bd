// Text output: cursor placement, printing with wrapping and scrolling, tabs and clearing.
#include <cstdint>
#include <string_view>

#include "services/entry.h"
#include "services/services.h"
#include "services/video/text_cells.h"

namespace svc {
namespace {

constexpr int kCols = ScreenImage::kTextCols;

} // namespace

void Services::locate(int row, int col, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    ScreenImage& s = screen_;
    const bool rowOk = (row >= s.printTop && row <= s.printBottom) || row == s.info().rows;
    if (!rowOk || col < 1 || col > kCols) {
        raise(kIllegalFunctionCall);
        return;
    }
    s.cursorRow = row;
    s.cursorCol = col;
    s.pendingWrap = false;
}

void Services::print_text(std::string_view text, bool lineEnd, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    ScreenImage& s = screen_;
    if (s.pendingWrap) {
        if (!text.empty()) {
            line_end(s);
        } else if (lineEnd) {
            s.pendingWrap = false; // the line end below is the only one
        }
    }
    bool endedLine = false; // the last byte itself did a line end
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<std::uint8_t>(text[i]);
        const bool mayWait = i + 1 == text.size() && !lineEnd;
        endedLine = false;
        switch (c) {
        case 28:
            s.cursorCol += s.cursorCol < kCols ? 1 : 0;
            break;
        case 29:
            s.cursorCol -= s.cursorCol > 1 ? 1 : 0;
            break;
        case 30:
            s.cursorRow -= s.cursorRow > s.printTop ? 1 : 0;
            break;
        case 31:
            s.cursorRow += s.cursorRow < s.printBottom ? 1 : 0;
            break;
        case 12:
            clear_screen(here);
            break;
        case 11:
            s.cursorRow = s.printTop;
            s.cursorCol = 1;
            break;
        case 9: {
            // Spaces up to the next tab stop (columns 9, 17, ... and the next row's first).
            bool stop = false;
            while (!stop) {
                stop = s.cursorCol % 8 == 0;
                endedLine = put_glyph(s, ' ', mayWait && stop);
            }
            break;
        }
        case 7:
            beep(here);
            break;
        case 10:
        case 13:
            line_end(s);
            endedLine = true;
            break;
        default:
            endedLine = put_glyph(s, c, mayWait);
            break;
        }
        if (pendingError_ != 0) {
            return;
        }
    }
    if (lineEnd && !endedLine) {
        line_end(s);
    }
}

void Services::fit_before_print(std::string_view text, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    ScreenImage& s = screen_;
    const int col = effective_column(s);
    if (col != 1 && col + static_cast<long>(text.size()) - 1 > kCols) {
        line_end(s);
    }
}

void Services::tab_to(int column, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    ScreenImage& s = screen_;
    if (column > kCols) {
        column %= kCols;
    }
    if (column < 1) {
        column = 1;
    }
    if (effective_column(s) > column) {
        line_end(s);
    }
    // Blanks up to the column before the target; they never reach column 80.
    while (s.cursorCol < column) {
        put_glyph(s, ' ', false);
    }
}

void Services::clear_screen(Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    ScreenImage& s = screen_;
    const ModeInfo& m = s.info();
    if (s.text_mode()) {
        const auto blank = static_cast<std::uint16_t>(' ' | text_attribute(s) << 8);
        for (int r = 1; r <= m.rows; ++r) {
            fill_text_row(s, r, blank);
        }
    } else {
        s.fill_rows(0, m.height - 1, background_index(s));
    }
    s.cursorRow = s.printTop;
    s.cursorCol = 1;
    s.pendingWrap = false;
    s.centre_last_point();
}

void Services::print_line(std::initializer_list<std::string_view> items, bool stay, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    for (const std::string_view item : items) {
        fit_before_print(item, here);
        print_text(item, false, here);
        if (pendingError_ != 0) {
            return;
        }
    }
    if (!stay) {
        print_text({}, true, here);
    }
}

} // namespace svc
