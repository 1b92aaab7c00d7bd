// What the system's refusals and failures on files mean to the game: its error numbers.
#pragma once

#include <string>

namespace svc {

// What the system's refusal (errno) to open or create `name` means to the game.
int open_error(int err, const std::string& name);
// What a failure (errno) while writing, syncing or replacing a file means to the game.
int write_error(int err);

} // namespace svc
