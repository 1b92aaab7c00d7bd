// The program's top level: runs the main flow and turns its ending into an exit code.
#include "game/program.h"

#include <memory>

#include "core/state.h"
#include "game/flow.h"
#include "services/services.h"

namespace game {

int run_program(svc::Services& sv)
{
    try {
        // The game's state is made once and lives as long as the game.
        const auto st = std::make_unique<GameState>();
        // A kill while the game was writing its two files leaves their new versions
        // half-made beside them; the files themselves are whole.
        sv.remove_unfinished_output("LEVEL.MGS");
        sv.remove_unfinished_output("sound.cop");
        RunGame(sv, *st);
    } catch (const svc::ProgramExit& e) {
        return e.exitCode;
    }
}

} // namespace game
