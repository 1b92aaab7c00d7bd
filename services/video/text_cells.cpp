// Text in the screen image: glyphs drawn in their cells, line ends, scrolling of the print
// area and the pending wrap past column 80.
#include "services/video/text_cells.h"

#include <array>

#include "data/fonts.h"

namespace svc {
namespace {

constexpr int kCols = ScreenImage::kTextCols;

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

} // namespace

std::uint8_t background_index(const ScreenImage& s)
{
    return static_cast<std::uint8_t>(s.mode() == kMode640x480 ? (s.background & 15) : kBlack);
}

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

int effective_column(const ScreenImage& s)
{
    return s.pendingWrap ? kCols + 1 : s.cursorCol;
}

} // namespace svc
