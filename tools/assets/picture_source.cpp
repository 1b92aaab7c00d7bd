// Parsing and rendering of the picture sources (legend, font and drawing descriptions).
#include "tools/assets/picture_source.h"

#include <algorithm>
#include <set>

#include "tools/assets/canvas.h"
#include "tools/assets/picture_commands.h"
#include "tools/assets/source_text.h"

namespace assets {
namespace {

struct Target {
    std::string name;
    int width;
    int height;
    int line;
};

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
            run_command(canvas, t, c, legend, font, fileName);
        }
        pictures.push_back({target.name, target.width, target.height, canvas.pixels()});
    }
    return pictures;
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
