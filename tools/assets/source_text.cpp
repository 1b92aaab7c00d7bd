// Reading the asset sources: whole files, lines, words and numbers.
#include "tools/assets/source_text.h"

#include <cmath>
#include <fstream>
#include <sstream>

namespace assets {

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

[[noreturn]] void fail(const std::string& file, int line, const std::string& message)
{
    throw SourceError(file + ":" + std::to_string(line) + ": " + message);
}

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

std::string unquote(const std::string& w, const std::string& file, int line)
{
    if (w.size() < 2 || w.front() != '"' || w.back() != '"') {
        fail(file, line, "expected a quoted word: " + w);
    }
    return w.substr(1, w.size() - 2);
}

} // namespace assets
