// The window choice's file and the launcher options that set it.
#include "services/platform/sdl/window_choice.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string_view>

namespace svc {

WindowChoice read_window_choice(const std::string& path)
{
    // One line: "scale aspect fullscreen", e.g. "2 1 0".
    std::ifstream in(path);
    std::string line;
    if (!in || !std::getline(in, line)) {
        return {};
    }
    std::istringstream words(line);
    WindowChoice c;
    int aspect = -1;
    int fullscreen = -1;
    std::string rest;
    if (!(words >> c.scale >> aspect >> fullscreen) || (words >> rest) || c.scale < 1 ||
        c.scale > kMaxWindowScale || (aspect != 0 && aspect != 1) ||
        (fullscreen != 0 && fullscreen != 1)) {
        return {};
    }
    c.chosen = true;
    c.aspect = aspect == 1;
    c.fullscreen = fullscreen == 1;
    return c;
}

bool write_window_choice(const std::string& path, const WindowChoice& choice)
{
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << choice.scale << ' ' << (choice.aspect ? 1 : 0) << ' ' << (choice.fullscreen ? 1 : 0)
            << '\n';
        if (!out.flush()) {
            std::remove(temp.c_str());
            return false;
        }
    }
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

bool parse_window_options(int argc, const char* const* argv, WindowChoice& choice,
                          std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--aspect") {
            choice.aspect = true;
        } else if (arg == "--fullscreen") {
            choice.fullscreen = true;
        } else if (arg == "--scale" && i + 1 < argc) {
            const std::string_view n = argv[++i];
            if (n.size() != 1 || n[0] < '1' || n[0] > '0' + kMaxWindowScale) {
                error = "--scale takes a whole number from 1 to " + std::to_string(kMaxWindowScale);
                return false;
            }
            choice.scale = n[0] - '0';
        } else {
            error = "unknown option '" + std::string(arg) + "'";
            return false;
        }
        choice.chosen = true;
    }
    return true;
}

} // namespace svc
