// Muvesecky in a browser tab: the game folder made from the page's data and the player's
// stored files, then the game on the page's canvas, then the page's "game over".
#include <emscripten.h>
#include <unistd.h>

#include <cstdio>

#include "game/program.h"
#include "services/platform/web/web_platform.h"
#include "services/services.h"

// The game folder: the pictures and music packed with the page, and the player's own files
// ("sound.cop", "LEVEL.MGS") kept by the browser from one visit to the next. False when the
// browser keeps nothing (its storage refused): the game plays, but no save can be stored.
// clang-format off
EM_ASYNC_JS(int, web_prepare_folder, (), {
    return await Muv.prepareFolder(FS, IDBFS, "/data", "/game", ["sound.cop", "LEVEL.MGS"]);
});
EM_JS(void, web_game_over, (int code), { Muv.gameOver(code); });
// clang-format on

int main()
{
    if (web_prepare_folder() == 0) {
        std::fprintf(stderr, "muvesecky: this browser keeps no files; saves will fail\n");
    }
    if (chdir("/game") != 0) {
        std::fprintf(stderr, "muvesecky: no game folder\n");
        web_game_over(1);
        return 1;
    }
    int code = 0;
    {
        svc::WebPlatform platform(svc::WebPlatform::clock_from_page());
        svc::Services services(platform);
        code = game::run_program(services);
    }
    web_game_over(code);
    return code;
}
