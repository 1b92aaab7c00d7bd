// Reading the screen back in tests: text cells, glyphs drawn in graphics modes, and the
// picture files the screens load.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "data/fonts.h"
#include "services/block_codec.h"
#include "services/screen_image.h"
#include "tests/support/harness.h"

namespace screen_reading {

// Characters of text-mode cells from (row, col), 1-based.
inline std::string cells_text(const svc::ScreenImage& img, int row, int col, int count)
{
    std::string out;
    for (int c = col; c < col + count; ++c) {
        out += static_cast<char>(img.cell(row - 1, c - 1) & 0xFF);
    }
    return out;
}

// The attribute byte of a text-mode cell (foreground low nibble, background above).
inline int cell_attribute(const svc::ScreenImage& img, int row, int col)
{
    return img.cell(row - 1, col - 1) >> 8;
}

// The glyph drawn in colour `fg` in the text cell (row, col) of a graphics mode, read back
// against the font; '?' when the cell shows no glyph of the font.
inline char glyph_at(const svc::ScreenImage& img, int row, int col, int fg)
{
    const int fh = img.info().fontHeight;
    std::uint8_t rows[16] = {};
    for (int y = 0; y < fh; ++y) {
        for (int x = 0; x < 8; ++x) {
            if (img.pixel((col - 1) * 8 + x, (row - 1) * fh + y) == fg) {
                rows[y] = static_cast<std::uint8_t>(rows[y] | (0x80 >> x));
            }
        }
    }
    // Printable characters first, so a blank cell reads as a space.
    for (int pass = 0; pass < 2; ++pass) {
        for (int code = 0; code < 256; ++code) {
            const bool printable = code >= 32 && code < 127;
            if (printable != (pass == 0)) {
                continue;
            }
            const std::uint8_t* glyph = fh == 8 ? data::kFont8x8[code] : data::kFont8x16[code];
            bool same = true;
            for (int y = 0; y < fh && same; ++y) {
                same = glyph[y] == rows[y];
            }
            if (same) {
                return static_cast<char>(code);
            }
        }
    }
    return '?';
}

// count glyphs in colour fg from (row, col) of a graphics mode.
inline std::string glyphs_text(const svc::ScreenImage& img, int row, int col, int count, int fg)
{
    std::string out;
    for (int c = col; c < col + count; ++c) {
        out += glyph_at(img, row, c, fg);
    }
    return out;
}

// Writes a picture file of one w x h block filled with colour.
inline void write_picture(const std::filesystem::path& path, int w, int h, int colour)
{
    const std::vector<std::uint8_t> indices(static_cast<std::size_t>(w) * h,
                                            static_cast<std::uint8_t>(colour));
    const std::vector<std::uint8_t> file =
        svc::make_block_file(svc::encode_block(w, h, indices.data()));
    testing_support::write_file(path, std::string(file.begin(), file.end()));
}

} // namespace screen_reading
