// The settings file in the game folder ("key = value" lines), and the window choice of
// earlier versions carried over from finestra.cfg.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <string_view>

#include "services/files/files.h"
#include "services/files/safe_write.h"
#include "services/settings/settings.h"
#include "services/settings/settings_values.h"

namespace svc {

namespace {

enum class Reading { Missing, Read, Failed };

// Reads a small file whole, never waiting on a pipe or reading on and on from a device or an
// endless file.
Reading read_small_file(const std::string& path, std::string& text, std::string& problem)
{
    const ReadOpen r = open_for_reading(path);
    if (r.fd < 0) {
        if (!r.odd && r.err == ENOENT) {
            return Reading::Missing;
        }
        problem = path + ": " + read_open_reason(r);
        return Reading::Failed;
    }
    text.assign(kMaxSettingsBytes + 1, '\0');
    std::size_t size = 0;
    int err = 0;
    while (size < text.size()) {
        const ssize_t n = ::read(r.fd, text.data() + size, text.size() - size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            err = n < 0 ? errno : 0;
            break;
        }
        size += static_cast<std::size_t>(n);
    }
    ::close(r.fd);
    text.resize(size);
    if (err != 0) {
        problem = path + ": " + std::strerror(err);
        return Reading::Failed;
    }
    if (size > kMaxSettingsBytes) {
        problem =
            path + ": longer than " + std::to_string(kMaxSettingsBytes / 1024) + " KiB, not read";
        return Reading::Failed;
    }
    return Reading::Read;
}

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string_view trimmed(std::string_view s)
{
    const std::size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// A line's key and value; false for a blank line or a comment ("#" first), true with an empty
// key for a line that is neither and holds no "=".
bool split_line(std::string_view line, std::string_view& key, std::string_view& value)
{
    line = trimmed(line);
    if (line.empty() || line[0] == '#') {
        return false;
    }
    const std::size_t eq = line.find('=');
    key = eq == std::string_view::npos ? std::string_view{} : trimmed(line.substr(0, eq));
    value = eq == std::string_view::npos ? std::string_view{} : trimmed(line.substr(eq + 1));
    return true;
}

const Option* option_of_key(std::string_view key)
{
    for (const Option& o : kOptions) {
        if (key == o.key) {
            return &o;
        }
    }
    return nullptr;
}

// finestra.cfg of earlier versions: one line "scale aspect fullscreen", e.g. "2 1 0", the
// scale from 1 to 8.
bool read_old_window_choice(const std::string& text, Settings& s)
{
    constexpr int kOldMaxScale = 8;
    std::istringstream words(text.substr(0, text.find('\n')));
    int scale = 0, aspect = -1, fullscreen = -1;
    std::string rest;
    if (!(words >> scale >> aspect >> fullscreen) || (words >> rest) || scale < 1 ||
        scale > kOldMaxScale || (aspect != 0 && aspect != 1) ||
        (fullscreen != 0 && fullscreen != 1)) {
        return false;
    }
    s.scale = scale;
    s.aspect = aspect;
    s.fullscreen = fullscreen;
    s.windowChosen = true;
    return true;
}

} // namespace

std::vector<std::string> read_settings(const std::string& path, Settings& s)
{
    std::string text, problem;
    if (const Reading r = read_small_file(path, text, problem); r != Reading::Read) {
        return r == Reading::Failed ? std::vector<std::string>{problem}
                                    : std::vector<std::string>{};
    }
    std::vector<std::string> problems;
    const std::vector<std::string> lines = lines_of(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view key, value;
        if (!split_line(lines[i], key, value)) {
            continue;
        }
        const std::string where = path + ": line " + std::to_string(i + 1) + ": ";
        if (key.empty()) {
            problems.push_back(where + "not \"key = value\", ignored");
            continue;
        }
        const Option* o = option_of_key(key); // keys of other versions are kept, unread
        int v = 0;
        if (o != nullptr && !parse_value(*o, value, v)) {
            problems.push_back(where + o->key + " takes " + value_rule(*o) + ", ignored");
        } else if (o != nullptr) {
            s.*o->field = v;
            mark_chosen(s, o->group);
        }
    }
    return problems;
}

std::string write_settings(const std::string& path, const Settings& s)
{
    std::string text, problem;
    std::vector<std::string> lines;
    if (read_small_file(path, text, problem) == Reading::Read) {
        lines = lines_of(text);
    } else {
        lines = {"# Muvesecky's settings: one \"key = value\" a line; a line starting with # is",
                 "# a comment. The game rewrites the values and keeps every other line."};
    }
    bool written[std::size(kOptions)] = {};
    for (std::string& line : lines) {
        std::string_view key, value;
        if (split_line(line, key, value) && option_of_key(key) != nullptr) {
            const Option& o = *option_of_key(key);
            line = std::string(o.key) + " = " + value_word(o, s.*o.field);
            written[&o - kOptions] = true;
        }
    }
    for (const Option& o : kOptions) {
        if (!written[&o - kOptions]) {
            lines.push_back(std::string("# ") + o.flag + (*o.flag != '\0' ? ": " : "") + o.help);
            lines.push_back(std::string(o.key) + " = " + value_word(o, s.*o.field));
        }
    }
    std::string out;
    for (const std::string& line : lines) {
        out += line + "\n";
    }
    return write_whole_file(path, out);
}

Settings load_settings(std::vector<std::string>& problems)
{
    Settings s;
    struct stat st {};
    if (::lstat(kSettingsFile, &st) == 0 || errno != ENOENT) {
        const std::vector<std::string> found = read_settings(kSettingsFile, s);
        problems.insert(problems.end(), found.begin(), found.end());
        return s;
    }
    std::string text, problem;
    const Reading r = read_small_file(kOldWindowFile, text, problem);
    if (r == Reading::Failed) {
        problems.push_back(problem);
    } else if (r == Reading::Read && !read_old_window_choice(text, s)) {
        problems.push_back(std::string(kOldWindowFile) +
                           ": not a window choice (\"scale 4:3 full-screen\", e.g. \"2 1 0\"), "
                           "ignored");
    } else if (r == Reading::Read) {
        // Once carried over, the old file goes: deleting the settings file then really
        // starts afresh.
        if (std::string failed = write_settings(kSettingsFile, s); !failed.empty()) {
            problems.push_back(failed);
        } else if (::unlink(kOldWindowFile) != 0) {
            problems.push_back(std::string(kOldWindowFile) + ": " + std::strerror(errno));
        }
    }
    return s;
}

} // namespace svc
