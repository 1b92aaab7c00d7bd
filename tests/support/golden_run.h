// Whole-game runs played from traces: each line of a trace is one scripted action (keys,
// clock, waiting) followed by what the player then sees, hears and finds on disk.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

// One line of a trace: the action and the observation recorded after it.
struct TraceLine {
    std::string text; // comment, or the action
    bool comment = false;
    std::string observed;
};

// tests/golden: the traces, and the pictures they name in pictures/.
std::filesystem::path golden_dir();

// True when MUV_GOLDEN_UPDATE is set: the runs rewrite their traces and keep new pictures.
bool updating_golden();

// The traces' names (without ".trace"), sorted.
std::vector<std::string> trace_names();

std::vector<TraceLine> read_trace(const std::filesystem::path& path);
void write_trace(const std::filesystem::path& path, const std::vector<TraceLine>& lines);

// Plays the actions of `expected` through the real program on the headless platform and
// returns the same lines with what was observed after each. The first line whose observation
// differs leaves lineN-got.png (and lineN-expected.png, when its picture is kept) in `failures`.
// The first action must be "start sound=S saved=L clock=HH:MM:SS [missing=FILE,...]"; a sound
// of -1 leaves no sound choice file.
std::vector<TraceLine> play_trace(const std::vector<TraceLine>& expected,
                                  const std::filesystem::path& failures);

// After an update: removes the pictures that no trace names any more.
void drop_unused_pictures();

} // namespace testing_support
