// Whole-game runs played from traces: each line of a trace is one scripted action (keys,
// clock, waiting) followed by what the player then sees, hears and finds on disk.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

// One line of a trace: the action and the observation recorded after it.
struct TraceLine {
    std::string text; // comment, or the action
    bool comment = false;
    std::string observed;
};

// A trace as recorded, and the same lines with what the run observed after each.
struct TraceRun {
    std::vector<TraceLine> expected, got;
};

// The traces' names in tests/golden (without ".trace"), sorted.
std::vector<std::string> trace_names();

// Plays tests/golden/NAME.trace through the real program on the headless platform. The first
// action must be "start sound=S saved=L clock=HH:MM:SS [missing=FILE,...]" (a sound of -1
// leaves no sound choice file). The first line that moved leaves lineN-got.png and
// lineN-expected.png in build/golden-failures/NAME. With MUV_GOLDEN_UPDATE set the trace is
// written again from the run, new pictures are kept in tests/golden/pictures, and `got` is
// returned as `expected` too.
TraceRun run_trace(const std::string& name);

// After an update: removes the pictures that no trace names any more.
void drop_unused_pictures();

} // namespace testing_support
