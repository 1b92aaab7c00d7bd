// The idle loop: 2 000 passes a second, slept through while none of them would change anything.
#include "game/idle_loop.h"

#include <algorithm>

#include "core/items.h"
#include "core/print_at.h"
#include "core/saved_level.h"
#include "core/sky.h"
#include "core/xray.h"
#include "game/loop_pacer.h"
#include "screens/status_panel.h"

namespace game {
namespace {

// The heading word of the compass box and its colour, by heading 0 north .. 3 east.
struct CompassWord {
    int colour;
    const char* word;
};
constexpr CompassWord kCompassWords[4] = {
    {svc::kWhite, "NORD"},
    {svc::kLightRed, "OVEST"},
    {svc::kLightCyan, "S U D"},
    {svc::kLightGreen, "E S T"},
};

// The heading word inside the compass box (a heading outside 1..3 shows north's).
void print_compass_word(svc::Services& sv, i16 heading)
{
    const CompassWord& w = kCompassWords[heading >= 1 && heading <= 3 ? heading : 0];
    sv.set_foreground(w.colour);
    print_at(sv, 17, 6, {w.word});
}

// A sleeping loop wakes this long after the clock's second turns: the time of day and the
// pacer's clock are read from two clocks of the system.
constexpr double kPastTheSecondMs = 1;
// After this long without a key the window shows the changes the game makes on its own
// less often.
constexpr double kKeysQuietMs = 1000;

// When the next pass changes something on its own: the next second (the panel's clock, the
// minute beat, the birds' pictures), the birds' next step while they are in view, and the
// X-ray aid's next unit. A key cuts the sleep short.
IdleDue next_change(svc::Services& sv, const GameState& st, double keyAtMs)
{
    IdleDue due;
    const double now = sv.clock_ms();
    due.atMs = now + sv.ms_to_next_second() + kPastTheSecondMs;
    if (screens::SeagullsInView(st)) {
        const bool quiet = now - keyAtMs > kKeysQuietMs;
        due.atMs = std::min(due.atMs, screens::NextSeagullDrawMs(st, quiet));
    }
    due.passes = PassesToXrayUnit(st.player);
    return due;
}

} // namespace

// The loop runs about 2 000 passes a second, so that the X-ray aid, counted in passes, lasts
// about 13 s and the game leaves the processor free; everything else stays counted in passes
// as the game has it. Passes that would change nothing are slept through and counted.
IdleExit IdleLoop(svc::Services& sv, GameState& st, char& move)
{
    LoopPacer pacer(sv);
    double keyAtMs = sv.clock_ms(); // the move that started this frame
    for (;;) {
        const std::string key = sv.read_key();
        if (!key.empty()) {
            keyAtMs = sv.clock_ms();
        }
        if (key == "X" || key == "x") {
            return IdleExit::Restart;
        }
        screens::DrawStatusPanel(sv, st);
        print_compass_word(sv, st.player.heading);
        UpdateTimeOfDay(sv, st);
        if (st.time.minuteState == MinuteState::TimeUp) {
            return IdleExit::TimeOut;
        }
        // Only the last character counts: an arrow's scan code and its capital letter alike.
        const char last = key.empty() ? '\0' : key.back();
        if (last == '\x13') {
            SaveLevel(sv, st); // Ctrl+S: once per level reached
        }
        if (is_movement_key(last)) {
            move = last;
            return IdleExit::Move;
        }
        if (!pacer.sleeps_through()) {
            pacer.pass();
        } else if (const int slept = pacer.pass(next_change(sv, st, keyAtMs)); slept > 0) {
            CountSkippedXrayTicks(st.player, slept);
            screens::CatchUpSeagulls(sv, st);
        }
    }
}

} // namespace game
