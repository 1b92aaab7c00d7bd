// Muvesecky: opens the window and runs the game in the current folder.
#include <cstdio>

#include "game/program.h"
#include "services/platform_sdl.h"
#include "services/services.h"

int main()
{
    svc::SdlPlatform platform;
    svc::Services services(platform);
    // Without a window the game would play on unseen for ever.
    if (!platform.has_window()) {
        std::fprintf(stderr, "muvesecky: cannot open a window: %s\n",
                     platform.why_no_window().c_str());
        return 1;
    }
    return game::run_program(services);
}
