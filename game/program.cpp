// The program's top level: runs the main flow and turns its ending into an exit code.
#include "game/program.h"

#include "services/services.h"

namespace game {

int run_program(svc::Services& sv)
{
    try {
        sv.end_program();
    } catch (const svc::ProgramExit& e) {
        return e.exitCode;
    }
}

} // namespace game
