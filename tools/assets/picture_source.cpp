// Parsing and rendering of the picture sources (legend, font and drawing descriptions).
#include "tools/assets/picture_source.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>

#include "tools/assets/canvas.h"

namespace assets {
namespace {

struct Line {
    int number;
    std::string text;
};

std::vector<Line> split_lines(std::string_view text)
{
    std::vector<Line> lines;
    int number = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string line(text.substr(start, end - start));
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back({++number, line});
        start = end + 1;
    }
    return lines;
}

std::string trim(const std::string& s)
{
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) {
        return "";
    }
    const auto e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

bool is_blank_or_comment(const std::string& s)
{
    const std::string t = trim(s);
    return t.empty() || t[0] == '#';
}

[[noreturn]] void fail(const std::string& file, int line, const std::string& message)
{
    throw SourceError(file + ":" + std::to_string(line) + ": " + message);
}

// Words of a command line; a double-quoted word may hold spaces; "#" starts a comment.
std::vector<std::string> words_of(const std::string& s, const std::string& file, int line)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < s.size()) {
        if (s[i] == ' ' || s[i] == '\t') {
            ++i;
        } else if (s[i] == '#') {
            break;
        } else if (s[i] == '"') {
            const auto close = s.find('"', i + 1);
            if (close == std::string::npos) {
                fail(file, line, "unclosed quote");
            }
            words.push_back(s.substr(i, close - i + 1));
            i = close + 1;
        } else {
            const auto end = s.find_first_of(" \t", i);
            words.push_back(s.substr(i, end == std::string::npos ? std::string::npos : end - i));
            i = end == std::string::npos ? s.size() : end;
        }
    }
    return words;
}

double number_of(const std::string& word, const std::string& file, int line)
{
    std::size_t used = 0;
    double v = 0;
    try {
        v = std::stod(word, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != word.size() || !std::isfinite(v)) {
        fail(file, line, "not a number: " + word);
    }
    return v;
}

int whole_number_of(const std::string& word, const std::string& file, int line)
{
    const double v = number_of(word, file, line);
    if (v != std::floor(v) || std::fabs(v) > 100000) {
        fail(file, line, "not a whole number: " + word);
    }
    return static_cast<int>(v);
}

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

// One step of a drawing, kept with its line for messages.
struct Command {
    int line = 0;
    std::vector<std::string> words;
    std::vector<std::string> rows; // a map's cell rows
};

struct Target {
    std::string name;
    int width;
    int height;
    int line;
};

// Design coordinates -> output pixels: one uniform scale, the design centred.
struct Transform {
    double scale = 1, offsetX = 0, offsetY = 0;
    double x(double v) const { return v * scale + offsetX; }
    double y(double v) const { return v * scale + offsetY; }
    double len(double v) const { return v * scale; }
};

void expect_words(const Command& c, std::size_t n, const std::string& file, const char* form)
{
    if (c.words.size() != n) {
        fail(file, c.line, std::string("expected: ") + form);
    }
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

std::string unquote(const std::string& w, const std::string& file, int line)
{
    if (w.size() < 2 || w.front() != '"' || w.back() != '"') {
        fail(file, line, "expected a quoted word: " + w);
    }
    return w.substr(1, w.size() - 2);
}

void run(Canvas& canvas, const Transform& t, const Command& c, const Legend& legend,
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

} // namespace

Legend parse_legend(std::string_view text, const std::string& fileName)
{
    Legend legend;
    for (const Line& l : split_lines(text)) {
        if (is_blank_or_comment(l.text)) {
            continue;
        }
        const auto w = words_of(l.text, fileName, l.number);
        if (w.size() < 2 || w[0].size() != 1) {
            fail(fileName, l.number, "expected: CHARACTER INDEX name");
        }
        const auto ch = static_cast<unsigned char>(w[0][0]);
        if (ch >= 128 || legend.colourOf[ch] != Legend::kUnknown) {
            fail(fileName, l.number, "character unusable or given twice");
        }
        if (w[1] == "-") {
            legend.colourOf[ch] = Legend::kTransparent;
        } else {
            const int v = whole_number_of(w[1], fileName, l.number);
            if (v < 0 || v > 15) {
                fail(fileName, l.number, "palette index outside 0..15");
            }
            legend.colourOf[ch] = v;
        }
    }
    return legend;
}

Font parse_font(std::string_view text, const std::string& fileName)
{
    Font font;
    char current = 0;
    int glyphLine = 0;
    for (const Line& l : split_lines(text)) {
        const std::string t = trim(l.text);
        if (is_blank_or_comment(t)) {
            continue;
        }
        if (t.rfind("glyph ", 0) == 0 && t.size() == 7) {
            current = t[6];
            glyphLine = l.number;
            if (font.count(current) != 0) {
                fail(fileName, l.number, "glyph given twice");
            }
            font[current];
        } else if (current != 0 && t.find_first_not_of("X.") == std::string::npos) {
            font[current].push_back(t);
        } else {
            fail(fileName, l.number, "expected a glyph row of 'X' and '.'");
        }
    }
    for (const auto& [ch, rows] : font) {
        const std::size_t width = rows.empty() ? 0 : rows.front().size();
        if (rows.empty() || std::any_of(rows.begin(), rows.end(), [width](const std::string& r) {
                return r.size() != width;
            })) {
            fail(fileName, glyphLine, std::string("glyph rows of unequal width or none: ") + ch);
        }
    }
    return font;
}

std::vector<Picture> render_drawing(std::string_view text, const std::string& fileName,
                                    const Legend& legend, const Font& font)
{
    std::vector<Target> targets;
    std::vector<Command> commands;
    double boxW = 0, boxH = 0;
    const auto lines = split_lines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& l = lines[i];
        if (is_blank_or_comment(l.text)) {
            continue;
        }
        Command c{l.number, words_of(l.text, fileName, l.number), {}};
        const std::string& op = c.words[0];
        if (op == "picture") {
            expect_words(c, 4, fileName, "picture NAME WIDTH HEIGHT");
            const int w = whole_number_of(c.words[2], fileName, l.number);
            const int h = whole_number_of(c.words[3], fileName, l.number);
            if (w < 1 || h < 1 || w > 640 || h > 480) {
                fail(fileName, l.number, "picture size outside 1..640 x 1..480");
            }
            targets.push_back({c.words[1], w, h, l.number});
            continue;
        }
        if (op == "box") {
            expect_words(c, 3, fileName, "box WIDTH HEIGHT");
            boxW = number_of(c.words[1], fileName, l.number);
            boxH = number_of(c.words[2], fileName, l.number);
            if (boxW <= 0 || boxH <= 0) {
                fail(fileName, l.number, "box must be larger than 0 x 0");
            }
            continue;
        }
        if (op == "map") {
            // The rows run up to a line holding only "end"; they are taken as written.
            for (++i; i < lines.size() && trim(lines[i].text) != "end"; ++i) {
                c.rows.push_back(trim(lines[i].text));
            }
            if (i == lines.size()) {
                fail(fileName, l.number, "map without end");
            }
        }
        commands.push_back(std::move(c));
    }
    if (targets.empty()) {
        fail(fileName, 1, "no picture line");
    }
    std::vector<Picture> pictures;
    for (const Target& target : targets) {
        Transform t;
        if (boxW > 0) {
            t.scale = std::min(target.width / boxW, target.height / boxH);
            t.offsetX = (target.width - boxW * t.scale) / 2;
            t.offsetY = (target.height - boxH * t.scale) / 2;
        }
        Canvas canvas(target.width, target.height);
        for (const Command& c : commands) {
            run(canvas, t, c, legend, font, fileName);
        }
        pictures.push_back({target.name, target.width, target.height, canvas.pixels()});
    }
    return pictures;
}

std::string read_text_file(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw SourceError(path.string() + ": cannot be read");
    }
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<Picture> render_picture_folder(const std::filesystem::path& folder)
{
    const Legend legend =
        parse_legend(read_text_file(folder / "legend.txt"), (folder / "legend.txt").string());
    const Font font =
        parse_font(read_text_file(folder / "font.txt"), (folder / "font.txt").string());
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".pic") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    std::vector<Picture> pictures;
    std::set<std::string> names;
    for (const auto& file : files) {
        for (Picture& p : render_drawing(read_text_file(file), file.string(), legend, font)) {
            if (!names.insert(p.name).second) {
                throw SourceError(file.string() + ": picture " + p.name + " drawn twice");
            }
            pictures.push_back(std::move(p));
        }
    }
    return pictures;
}

} // namespace assets
