// Text output: cursor placement, printing with wrapping and scrolling, tabs and clearing.
#include <array>
#include <cstdint>
#include <string_view>

#include "data/fonts.h"
#include "services/entry.h"
#include "services/services.h"

namespace svc {

namespace {

constexpr int kCols = ScreenImage::kTextCols;

// The colour behind glyphs: mode 8 keeps index 0 (its background lives in palette entry 0).
std::uint8_t background_index(const ScreenImage& s)
{
    return static_cast<std::uint8_t>(s.mode() == kMode640x480 ? (s.background & 15) : kBlack);
}

// Text-mode attribute: foreground in the low 4 bits, background in bits 4-6, blink (a
// foreground of 16..31) in bit 7.
std::uint16_t text_attribute(const ScreenImage& s)
{
    return static_cast<std::uint16_t>((s.foreground & 15) | ((s.background & 7) << 4) |
                                      ((s.foreground & 16) << 3));
}

void fill_text_row(ScreenImage& s, int row, std::uint16_t blank)
{
    for (int c = 0; c < kCols; ++c) {
        s.set_cell(row - 1, c, blank);
    }
}

// Moves the print area up one text row and blanks its last row; the rows outside it stay.
void scroll_print_area(ScreenImage& s)
{
    if (s.text_mode()) {
        for (int r = s.printTop; r < s.printBottom; ++r) {
            for (int c = 0; c < kCols; ++c) {
                s.set_cell(r - 1, c, s.cell(r, c));
            }
        }
        fill_text_row(s, s.printBottom, static_cast<std::uint16_t>(' ' | text_attribute(s) << 8));
        return;
    }
    const int fh = s.info().fontHeight;
    s.move_rows((s.printTop - 1) * fh, s.printTop * fh, (s.printBottom - s.printTop) * fh);
    s.fill_rows((s.printBottom - 1) * fh, s.printBottom * fh - 1, background_index(s));
}

// Column 1 of the next row; past the print area's last row (or from the last screen row,
// which lies outside it) the print area scrolls and the cursor stays on its last row.
void line_end(ScreenImage& s)
{
    s.cursorCol = 1;
    s.pendingWrap = false;
    if (s.cursorRow >= s.printBottom) {
        scroll_print_area(s);
        s.cursorRow = s.printBottom;
    } else {
        ++s.cursorRow;
    }
}

// A glyph row's eight bits spread to eight bytes of 0xFF or 0 (the leftmost pixel, the high
// bit, in the lowest byte, as the screen image stores pixels), for every row pattern.
struct GlyphRowMasks {
    std::array<std::uint64_t, 256> mask{};
    GlyphRowMasks()
    {
        for (int bits = 0; bits < 256; ++bits) {
            for (int x = 0; x < 8; ++x) {
                if ((bits & (0x80 >> x)) != 0) {
                    mask[static_cast<std::size_t>(bits)] |= std::uint64_t{0xFF} << (x * 8);
                }
            }
        }
    }
};
const GlyphRowMasks kGlyphRowMasks;

// Writes every pixel of the cell at the cursor: glyph pixels in the foreground colour,
// the others in the background colour.
void draw_glyph(ScreenImage& s, std::uint8_t code)
{
    if (s.text_mode()) {
        s.set_cell(s.cursorRow - 1, s.cursorCol - 1,
                   static_cast<std::uint16_t>(code | text_attribute(s) << 8));
        return;
    }
    const int fh = s.info().fontHeight;
    const auto fg = static_cast<std::uint8_t>(s.foreground & 15);
    const std::uint8_t bg = background_index(s);
    // The status panel prints the same text into the same cells on every idle pass: a cell
    // that still shows this glyph in these colours is left as it is.
    const auto look = static_cast<std::uint32_t>(code | fg << 8 | bg << 12 | fh << 16);
    const int row = s.cursorRow - 1;
    const int col = s.cursorCol - 1;
    if (s.glyph_still_shown(row, col, look)) {
        return;
    }
    const std::uint8_t* rows = fh == 8 ? data::kFont8x8[code] : data::kFont8x16[code];
    const int y0 = row * fh;
    // A text cell is eight pixels wide and starts on a multiple of eight: one word per row.
    const std::uint64_t fgBytes = fg * 0x0101010101010101ULL;
    const std::uint64_t bgBytes = bg * 0x0101010101010101ULL;
    for (int y = 0; y < fh; ++y) {
        const std::uint64_t mask = kGlyphRowMasks.mask[rows[y]];
        s.set_row_word(y0 + y, col, (fgBytes & mask) | (bgBytes & ~mask));
    }
    s.mark_glyph_shown(row, col, look);
}

// Draws one glyph and advances. Past column 80 the cursor either waits in column 80 with
// the pending-wrap flag (mayWait: the last byte of a print without line end) or goes to
// the next line; returns true in the second case.
bool put_glyph(ScreenImage& s, std::uint8_t code, bool mayWait)
{
    draw_glyph(s, code);
    if (++s.cursorCol <= kCols) {
        return false;
    }
    if (mayWait) {
        s.cursorCol = kCols;
        s.pendingWrap = true;
        return false;
    }
    line_end(s);
    return true;
}

// The column the next glyph would go to: 81 while a wrap is pending.
int effective_column(const ScreenImage& s)
{
    return s.pendingWrap ? kCols + 1 : s.cursorCol;
}

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
