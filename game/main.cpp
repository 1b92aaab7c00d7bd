// Muvesecky: reads the player's settings and command line, opens the window and runs the game
// in the current folder.
#include <fcntl.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "data/version.h"
#include "game/program.h"
#include "services/platform/sdl/sdl_platform.h"
#include "services/services.h"
#include "services/settings/settings.h"

namespace {

void print_help()
{
    std::printf("Usage: muvesecky [OPTION]...\n"
                "Play Muvesecky %s: ten first-person labyrinths, each to be left before its "
                "time runs out.\n\n"
                "The game runs in your game folder ${XDG_DATA_HOME:-~/.local/share}/muvesecky, "
                "made on the\nfirst run; your sound choice (sound.cop) and saved level "
                "(LEVEL.MGS) are kept there.\n\nOptions:\n%s\n"
                "The window options make a choice that is remembered (%s in the game\n"
                "folder); in the game F9 switches 4:3 on and off, F10 steps the scale, F12 "
                "saves a picture\nof the screen.\n\n"
                "Keys, files and the game folder: man muvesecky\n",
                data::kGameVersion, svc::options_help().c_str(), svc::kSettingsFile);
}

svc::WindowChoice window_choice(const svc::Settings& s)
{
    static_assert(svc::kOptions[0].field == &svc::Settings::scale, "the scale comes first");
    return svc::WindowChoice{s.windowChosen, s.scale, s.aspect != 0, s.fullscreen != 0,
                             svc::kOptions[0].high};
}

void tell(const std::string& problem)
{
    if (!problem.empty()) {
        std::fprintf(stderr, "muvesecky: %s\n", problem.c_str());
    }
}

// The game's lines on standard error are only diagnostics: a closed or broken standard error
// must never end the game. A write to a broken pipe then fails instead of killing the
// program, and a closed standard stream is given /dev/null, so that no file the game opens
// later takes its number and receives those lines.
void keep_diagnostics_harmless()
{
    std::signal(SIGPIPE, SIG_IGN);
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && ::open("/dev/null", O_RDWR) == -1) {
            break;
        }
    }
}

int no_window(const svc::SdlPlatform& platform)
{
    std::fprintf(stderr, "muvesecky: cannot open a window: %s\n", platform.why_no_window().c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    keep_diagnostics_harmless();
    // Help, the version and a wrong option are answered before any file is read or window
    // opened.
    const svc::CommandLine line = svc::parse_command_line(argc, argv);
    switch (line.ask) {
    case svc::CommandLine::Ask::Help:
        print_help();
        return 0;
    case svc::CommandLine::Ask::Version:
        std::printf("muvesecky %s\n", data::kGameVersion);
        return 0;
    case svc::CommandLine::Ask::Wrong:
        std::fprintf(stderr, "muvesecky: %s\nTry 'muvesecky --help'.\n", line.error.c_str());
        return 2;
    case svc::CommandLine::Ask::Play:
        break;
    }
    // The remembered settings, and the options given (which are then remembered).
    std::vector<std::string> problems;
    svc::Settings settings = svc::load_settings(problems);
    if (!line.given.empty()) {
        svc::apply_command_line(line, settings);
        problems.push_back(svc::write_settings(svc::kSettingsFile, settings));
    }
    for (const std::string& problem : problems) {
        tell(problem);
    }
    // F9 and F10 change the window choice on the window thread, which keeps its own copy.
    svc::SdlPlatform platform(
        window_choice(settings),
        [settings](const svc::WindowChoice& c) mutable {
            settings.scale = c.scale;
            settings.aspect = c.aspect ? 1 : 0;
            settings.fullscreen = c.fullscreen ? 1 : 0;
            settings.windowChosen = true;
            return svc::write_settings(svc::kSettingsFile, settings);
        },
        svc::pad_map(settings));
    svc::Services services(platform);
    // Without a window the game would play on unseen for ever: it does not start, or it is
    // ended when no window can be made for its pictures.
    if (!platform.has_window()) {
        return no_window(platform);
    }
    const int status = game::run_program(services);
    return platform.has_window() ? status : no_window(platform);
}
