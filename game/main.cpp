// Muvesecky: opens the window and runs the game in the current folder.
#include "game/program.h"
#include "services/platform_sdl.h"
#include "services/services.h"

int main()
{
    svc::SdlPlatform platform;
    svc::Services services(platform);
    return game::run_program(services);
}
