// The game's pictures from their text sources: a colour legend, a small letter font and
// drawing descriptions (shapes, cell maps, words and effects), one file per drawing.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tools/assets/source_error.h"

namespace assets {

// One finished picture: palette indices 0..15, row-major.
struct Picture {
    std::string name; // file name without ".grh"
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// Source character -> palette index; kTransparent leaves the pixel as it is.
struct Legend {
    static constexpr int kUnknown = -2;
    static constexpr int kTransparent = -1;
    std::array<int, 128> colourOf{};
    Legend() { colourOf.fill(kUnknown); }
    int lookup(char ch) const
    {
        const auto u = static_cast<unsigned char>(ch);
        return u < 128 ? colourOf[u] : kUnknown;
    }
};

// Glyphs of the picture font: rows of "X" (ink) and "." cells, any width.
using Font = std::map<char, std::vector<std::string>>;

// "c index name" lines; index "-" marks the transparent character.
Legend parse_legend(std::string_view text, const std::string& fileName);
// "glyph X" lines each followed by the glyph's rows.
Font parse_font(std::string_view text, const std::string& fileName);
// Renders every picture that one drawing description names.
std::vector<Picture> render_drawing(std::string_view text, const std::string& fileName,
                                    const Legend& legend, const Font& font);
// Reads legend.txt, font.txt and every *.pic file of the folder (in name order) and
// renders all pictures; names must be unique.
std::vector<Picture> render_picture_folder(const std::filesystem::path& folder);

} // namespace assets
