// The drawing commands of the picture sources, drawn onto a canvas.
#include "tools/assets/picture_commands.h"

#include <algorithm>
#include <cctype>

#include "tools/assets/source_text.h"

namespace assets {
namespace {

// A colour word: a legend character or a palette index 0..15.
std::uint8_t colour_of(const std::string& word, const Legend& legend, const std::string& file,
                       int line)
{
    if (word.size() == 1 && legend.lookup(word[0]) >= 0) {
        return static_cast<std::uint8_t>(legend.lookup(word[0]));
    }
    if (!word.empty() && std::all_of(word.begin(), word.end(), ::isdigit)) {
        const int v = std::stoi(word);
        if (v <= 15) {
            return static_cast<std::uint8_t>(v);
        }
    }
    fail(file, line, "not a colour: " + word);
}

void draw_cells(Canvas& canvas, const Transform& t, double x, double y, double cellW, double cellH,
                const std::vector<std::string>& rows, const Legend& legend, const std::string& file,
                int line)
{
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t col = 0; col < rows[r].size(); ++col) {
            const int c = legend.lookup(rows[r][col]);
            if (c == Legend::kUnknown) {
                fail(file, line + 1 + static_cast<int>(r),
                     std::string("character not in the legend: ") + rows[r][col]);
            }
            if (c == Legend::kTransparent) {
                continue;
            }
            const double x0 = x + static_cast<double>(col) * cellW;
            const double y0 = y + static_cast<double>(r) * cellH;
            canvas.rect(t.x(x0), t.y(y0), t.x(x0 + cellW), t.y(y0 + cellH),
                        static_cast<std::uint8_t>(c));
        }
    }
}

double word_width(const std::string& word, const Font& font, double cell)
{
    double w = 0;
    for (char ch : word) {
        const auto it = font.find(ch);
        w += (it == font.end() ? 3.0 : static_cast<double>(it->second.front().size()) + 1) * cell;
    }
    return std::max(0.0, w - cell);
}

void draw_word(Canvas& canvas, const Transform& t, double x, double y, double cell, std::uint8_t c,
               const std::string& word, const Font& font, const std::string& file, int line)
{
    for (char ch : word) {
        if (ch == ' ') {
            x += 3 * cell;
            continue;
        }
        const auto it = font.find(ch);
        if (it == font.end()) {
            fail(file, line, std::string("no glyph for ") + ch);
        }
        const auto& rows = it->second;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            for (std::size_t col = 0; col < rows[r].size(); ++col) {
                if (rows[r][col] == 'X') {
                    const double x0 = x + static_cast<double>(col) * cell;
                    const double y0 = y + static_cast<double>(r) * cell;
                    canvas.rect(t.x(x0), t.y(y0), t.x(x0 + cell), t.y(y0 + cell), c);
                }
            }
        }
        x += (static_cast<double>(rows.front().size()) + 1) * cell;
    }
}

} // namespace

void expect_words(const Command& c, std::size_t n, const std::string& file, const char* form)
{
    if (c.words.size() != n) {
        fail(file, c.line, std::string("expected: ") + form);
    }
}

void run_command(Canvas& canvas, const Transform& t, const Command& c, const Legend& legend,
                 const Font& font, const std::string& file)
{
    const auto& w = c.words;
    const std::string& op = w[0];
    auto num = [&](std::size_t i) { return number_of(w[i], file, c.line); };
    auto col = [&](std::size_t i) { return colour_of(w[i], legend, file, c.line); };
    // Outline thickness: at least one output pixel, so small renderings keep their lines.
    auto thick = [&](std::size_t i) { return w.size() > i ? std::max(1.0, t.len(num(i))) : 0.0; };
    if (op == "rect") {
        expect_words(c, 6, file, "rect X0 Y0 X1 Y1 COLOUR");
        canvas.rect(t.x(num(1)), t.y(num(2)), t.x(num(3)), t.y(num(4)), col(5));
    } else if (op == "ellipse" || op == "lens") {
        if (w.size() != 6 && w.size() != 7) {
            fail(file, c.line, "expected: " + op + " CX CY RX RY COLOUR [THICKNESS]");
        }
        if (op == "ellipse") {
            canvas.ellipse(t.x(num(1)), t.y(num(2)), t.len(num(3)), t.len(num(4)), thick(6),
                           col(5));
        } else {
            canvas.lens(t.x(num(1)), t.y(num(2)), t.len(num(3)), t.len(num(4)), thick(6), col(5));
        }
    } else if (op == "poly") {
        if (w.size() < 8 || w.size() % 2 != 0) {
            fail(file, c.line, "expected: poly COLOUR X Y X Y X Y ...");
        }
        std::vector<double> xy;
        for (std::size_t i = 2; i < w.size(); i += 2) {
            xy.push_back(t.x(num(i)));
            xy.push_back(t.y(num(i + 1)));
        }
        canvas.polygon(xy, col(1));
    } else if (op == "line") {
        expect_words(c, 7, file, "line X1 Y1 X2 Y2 WIDTH COLOUR");
        canvas.line(t.x(num(1)), t.y(num(2)), t.x(num(3)), t.y(num(4)), t.len(num(5)), col(6));
    } else if (op == "map") {
        expect_words(c, 5, file, "map X Y CELLWIDTH CELLHEIGHT, then rows, then end");
        draw_cells(canvas, t, num(1), num(2), num(3), num(4), c.rows, legend, file, c.line);
    } else if (op == "text" || op == "ctext") {
        expect_words(c, 6, file, "text X Y CELL COLOUR \"WORD\"");
        const std::string word = unquote(w[5], file, c.line);
        double x = num(1);
        if (op == "ctext") {
            x -= word_width(word, font, num(3)) / 2;
        }
        draw_word(canvas, t, x, num(2), num(3), col(4), word, font, file, c.line);
    } else if (op == "clip") {
        expect_words(c, 5, file, "clip X0 Y0 X1 Y1");
        canvas.set_clip(t.x(num(1)), t.y(num(2)), t.x(num(3)), t.y(num(4)));
    } else if (op == "noclip") {
        canvas.clear_clip();
    } else if (op == "rim" || op == "shadow") {
        expect_words(c, 4, file, "rim|shadow DX DY COLOUR (in output pixels)");
        const int dx = whole_number_of(w[1], file, c.line);
        const int dy = whole_number_of(w[2], file, c.line);
        if (op == "rim") {
            canvas.rim(dx, dy, col(3));
        } else {
            canvas.shadow(dx, dy, col(3));
        }
    } else if (op == "outline") {
        expect_words(c, 2, file, "outline COLOUR");
        canvas.outline(col(1));
    } else {
        fail(file, c.line, "unknown command: " + op);
    }
}

} // namespace assets
