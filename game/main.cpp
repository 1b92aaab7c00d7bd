// Muvesecky: opens the window and runs the game in the current folder.
#include <cstdio>
#include <string>

#include "game/program.h"
#include "services/platform/sdl/sdl_platform.h"
#include "services/services.h"

int main(int argc, char** argv)
{
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
    // Without a window the game would play on unseen for ever.
    if (!platform.has_window()) {
        std::fprintf(stderr, "muvesecky: cannot open a window: %s\n",
                     platform.why_no_window().c_str());
        return 1;
    }
    return game::run_program(services);
}
