// The commands of a drawing description, each drawn onto a canvas.
#pragma once

#include <string>
#include <vector>

#include "tools/assets/canvas.h"
#include "tools/assets/picture_source.h"

namespace assets {

// One step of a drawing, kept with its line for messages.
struct Command {
    int line = 0;
    std::vector<std::string> words;
    std::vector<std::string> rows; // a map's cell rows
};

// Design coordinates -> output pixels: one uniform scale, the design centred.
struct Transform {
    double scale = 1, offsetX = 0, offsetY = 0;
    double x(double v) const { return v * scale + offsetX; }
    double y(double v) const { return v * scale + offsetY; }
    double len(double v) const { return v * scale; }
};

// SourceError, showing the expected form, unless the command has exactly n words.
void expect_words(const Command& c, std::size_t n, const std::string& file, const char* form);

// Draws one command (rect, ellipse, lens, poly, line, map, text, ctext, clip, noclip, rim,
// shadow, outline); SourceError for a malformed or unknown one.
void run_command(Canvas& canvas, const Transform& t, const Command& c, const Legend& legend,
                 const Font& font, const std::string& file);

} // namespace assets
