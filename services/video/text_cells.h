// Text in the screen image: glyphs drawn in their cells, line ends, scrolling of the print
// area and the pending wrap past column 80.
#pragma once

#include <cstdint>

#include "services/video/screen_image.h"

namespace svc {

// The colour behind glyphs: mode 8 keeps index 0 (its background lives in palette entry 0).
std::uint8_t background_index(const ScreenImage& s);
// Text-mode attribute: foreground in the low 4 bits, background in bits 4-6, blink (a
// foreground of 16..31) in bit 7.
std::uint16_t text_attribute(const ScreenImage& s);
// Blanks one text row with the given cell (text mode) or background (graphics modes).
void fill_text_row(ScreenImage& s, int row, std::uint16_t blank);
// Column 1 of the next row; past the print area's last row (or from the last screen row,
// which lies outside it) the print area scrolls and the cursor stays on its last row.
void line_end(ScreenImage& s);
// Draws one glyph and advances. Past column 80 the cursor either waits in column 80 with
// the pending-wrap flag (mayWait: the last byte of a print without line end) or goes to
// the next line; returns true in the second case.
bool put_glyph(ScreenImage& s, std::uint8_t code, bool mayWait);
// The column the next glyph would go to: 81 while a wrap is pending.
int effective_column(const ScreenImage& s);

} // namespace svc
