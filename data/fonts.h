// The IBM PC code page 437 glyphs, 8 pixels wide: one byte per glyph row, the leftmost
// pixel in the most significant bit.
#pragma once

#include <cstdint>

namespace data {

extern const std::uint8_t kFont8x8[256][8];
extern const std::uint8_t kFont8x16[256][16];

} // namespace data
