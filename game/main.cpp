// Muvesecky: opens the window and runs the game in the current folder.
#include <fcntl.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "game/program.h"
#include "services/platform/sdl/sdl_platform.h"
#include "services/services.h"

namespace {

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
    // The window's shape and size: the remembered choice, or the launcher's options (which
    // are then remembered).
    svc::WindowChoice choice = svc::read_window_choice(svc::kWindowChoiceFile);
    if (argc > 1) {
        choice = svc::WindowChoice{}; // the options make the whole choice afresh
        std::string error;
        if (!svc::parse_window_options(argc, argv, choice, error)) {
            std::fprintf(stderr, "muvesecky: %s\n", error.c_str());
            return 2;
        }
        svc::write_window_choice(svc::kWindowChoiceFile, choice);
    }
    svc::SdlPlatform platform(choice);
    svc::Services services(platform);
    // Without a window the game would play on unseen for ever: it does not start, or it is
    // ended when no window can be made for its pictures.
    if (!platform.has_window()) {
        return no_window(platform);
    }
    const int status = game::run_program(services);
    return platform.has_window() ? status : no_window(platform);
}
