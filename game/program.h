// The whole program on a services layer: the sound choice, the level loop and the end.
#pragma once

namespace svc {
class Services;
}

namespace game {

// Runs the game until it ends; returns the process exit code.
int run_program(svc::Services& sv);

} // namespace game
