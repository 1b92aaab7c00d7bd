// The seagulls over the corridor: seven flight paths stepped about every 20 ms, eight birds.
#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "core/random_draw.h"
#include "core/sky.h"
#include "screens/status_panel.h"
#include "services/common/number_text.h"
#include "services/common/strings.h"

namespace screens {
namespace {

using game::i16;

// Where each path turns back at its far end (paths 1..7).
constexpr std::array<i16, 8> kTurnLimit = {0, 250, 200, 175, 120, 90, 72, 27};

// One bird: the deepest facing wall it still flies over, its path and place, and which of
// the two pictures of its pair it shows on an even second (the other on an odd one).
struct Placement {
    int maxFacingDepth; // drawn while facingDepth <= this
    int path;
    int mirror; // 1: x = base + gullX; -1: x = base - gullX (path 1's second bird)
    int base;
    int y;
    bool firstOfPairOnEven;
    bool smallPair; // gab3 / gab4 instead of gab / gab2
};

// clang-format off
constexpr std::array<Placement, 8> kPlacements = {{
    {139, 1,  1, 200,  2, true,  false},
    {119, 1, -1, 420, 14, false, false},
    { 99, 2,  1, 210, 26, true,  false},
    { 79, 3,  1, 215, 38, false, false},
    { 59, 4,  1, 240, 50, true,  false},
    { 39, 5,  1, 260, 62, true,  true },
    { 19, 6,  1, 271, 70, false, true },
    { -1, 7,  1, 295, 80, true,  true },
}};
// clang-format on

// One step of the flight every kStepMs. Stepped on every idle pass (about 2 000 a second)
// the birds crossed thousands of pixels a second and showed at unrelated places on every
// refresh; at this pace a bird crosses its path in a few seconds.
constexpr double kStepMs = 20;
// The most steps made up after one sleep of the idle loop (it sleeps a second at most).
constexpr int kMostCaughtUp = 100;

// True when a step is due; keeps the steps on a fixed beat, starting afresh after a long break
// (a frame drawn, a tune waited for) instead of catching up.
bool step_due(svc::Services& sv, game::GullState& g)
{
    const double now = sv.clock_ms();
    if (now < g.nextStepMs) {
        return false;
    }
    g.nextStepMs = now - g.nextStepMs > kStepMs ? now + kStepMs : g.nextStepMs + kStepMs;
    return true;
}

void step_paths(svc::Services& sv, game::GullState& g)
{
    // Random numbers are drawn only for the paths that turn, in path order.
    for (int i = 1; i <= 7; ++i) {
        if (g.gullX[i] >= kTurnLimit[i]) {
            g.gullStep[i] = static_cast<i16>(-game::random_in(sv, 3, 0));
        }
    }
    for (int i = 1; i <= 7; ++i) {
        if (g.gullX[i] <= 0) {
            g.gullStep[i] = game::random_in(sv, 2, 1);
        }
        g.gullX[i] = static_cast<i16>(g.gullX[i] + g.gullStep[i]);
    }
}

// Facing north by day without the X-ray aid: the sky the birds are put into.
bool sky_shows_birds(const game::GameState& st)
{
    return st.player.heading == 0 && st.player.xrayOn == 0 && !game::night(st.time);
}

// What the birds' puts depend on: the pictures loaded, the second's parity, the facing wall
// (and the sky's phase) and the paths.
struct GullInputs {
    std::int32_t pictureLoads;
    i16 even, facingDepth, dayPhase;
    decltype(game::GullState::gullX) gullX;
};
static_assert(sizeof(GullInputs) ==
                  sizeof(std::int32_t) + sizeof(i16) * 3 + sizeof(game::GullState::gullX),
              "no padding");

} // namespace

bool SeagullsInView(const game::GameState& st)
{
    return sky_shows_birds(st) && st.scan.facingDepth <= kPlacements[0].maxFacingDepth;
}

double NextSeagullDrawMs(const game::GameState& st, bool everyOtherStep)
{
    return st.gulls.nextStepMs + (everyOtherStep ? kStepMs : 0);
}

void CatchUpSeagulls(svc::Services& sv, game::GameState& st)
{
    game::GullState& g = st.gulls;
    if (g.nextStepMs == std::numeric_limits<double>::lowest()) {
        return; // not flying yet: the first call steps at once
    }
    // Every step due by now, on the beat: the next call steps on at the next one.
    const double now = sv.clock_ms();
    for (int n = 0; n < kMostCaughtUp && g.nextStepMs <= now; ++n) {
        step_paths(sv, g);
        g.nextStepMs += kStepMs;
    }
}

void FlySeagulls(svc::Services& sv, game::GameState& st)
{
    game::GullState& g = st.gulls;
    const int clockSecond = svc::round_to_int16(sv, svc::text_number(st.time.clockSeconds));

    if (step_due(sv, g)) {
        step_paths(sv, g);
    }

    if (!sky_shows_birds(st)) {
        return; // the birds keep flying out of sight
    }
    const bool even = clockSecond % 2 == 0;
    game::Pictures& pic = st.pictures;
    // The birds are put again on every pass; while they have not moved and nothing else has
    // changed the picture, the puts would change nothing.
    const GullInputs in{pic.loads, static_cast<i16>(even), st.scan.facingDepth, st.time.dayPhase,
                        g.gullX};
    if (sv.repeat_unchanged(st.marks.seagulls, in)) {
        return;
    }
    for (const Placement& p : kPlacements) {
        if (st.scan.facingDepth > p.maxFacingDepth) {
            continue;
        }
        const bool first = even == p.firstOfPairOnEven;
        std::vector<std::int16_t>& block =
            p.smallPair ? (first ? pic.gab3 : pic.gab4) : (first ? pic.gab : pic.gab2);
        const int x = p.base + p.mirror * g.gullX[p.path];
        sv.put_block(static_cast<float>(x), static_cast<float>(p.y), game::words(block),
                     svc::kPutCopy);
    }
    sv.repeat_drawn(st.marks.seagulls);
}

} // namespace screens
