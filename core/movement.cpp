// The four movement keys: a step forward or back, a quarter turn right or left.
#include "core/items.h"
#include "core/maze.h"
#include "core/random_draw.h"

namespace game {
namespace {

// Right turn: the step from the heading before the turn (0 counted as 4).
// clang-format off
constexpr Step kRightTurnStep[5] = {{0, 0}, {-1, 0}, {0, -1}, {1, 0}, {0, 1}};
// Left turn: the step from the heading after the turn (4 before it becomes 0).
constexpr Step kLeftTurnStep[5]  = {{0, 0}, {0, -1}, {1, 0},  {0, 1}, {-1, 0}};
// clang-format on

constexpr Step kHeadingStep[4] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};

// A new roll for the objects on the facing wall, drawn at every quarter turn.
void draw_item_roll(svc::Services& sv, PlayerState& p, ScanState& s)
{
    s.keyAhead = 0;
    s.doorAhead = 0;
    p.itemRoll = random_in(sv, p.itemRollRange, 1);
}

void forward(svc::Services& sv, GameState& st)
{
    PlayerState& p = st.player;
    const char ahead = st.level.maze(sv, p.playerRow + p.stepRow, p.playerCol + p.stepCol);
    if (ahead != kOpenCell && ahead != kExitCell) {
        sv.sound_tone(50, 1.5); // wall, key or closed door ahead
        return;
    }
    if (st.scan.facingBlocked == 1) {
        sv.beep();
        return;
    }
    p.playerRow = static_cast<i16>(p.playerRow + p.stepRow);
    p.playerCol = static_cast<i16>(p.playerCol + p.stepCol);
}

void back(svc::Services& sv, GameState& st)
{
    PlayerState& p = st.player;
    // Only an open cell behind: the exit cannot be reached backwards, on purpose.
    if (st.level.maze(sv, p.playerRow - p.stepRow, p.playerCol - p.stepCol) != kOpenCell) {
        sv.beep();
        return;
    }
    p.playerRow = static_cast<i16>(p.playerRow - p.stepRow);
    p.playerCol = static_cast<i16>(p.playerCol - p.stepCol);
}

void turn_right(svc::Services& sv, GameState& st)
{
    PlayerState& p = st.player;
    draw_item_roll(sv, p, st.scan);
    if (p.heading == 0) {
        p.heading = 4;
    }
    if (p.heading >= 1 && p.heading <= 4) {
        p.stepRow = kRightTurnStep[p.heading].row;
        p.stepCol = kRightTurnStep[p.heading].col;
    }
    --p.heading;
}

void turn_left(svc::Services& sv, GameState& st)
{
    PlayerState& p = st.player;
    draw_item_roll(sv, p, st.scan);
    ++p.heading;
    if (p.heading >= 1 && p.heading <= 4) {
        p.stepRow = kLeftTurnStep[p.heading].row;
        p.stepCol = kLeftTurnStep[p.heading].col;
    }
    if (p.heading == 4) {
        p.heading = 0;
    }
}

struct MovementKey {
    char key;
    void (*apply)(svc::Services&, GameState&);
};
constexpr MovementKey kMovementKeys[] = {
    {'H', forward},
    {'P', back},
    {'M', turn_right},
    {'K', turn_left},
};

const MovementKey* movement_key(char key)
{
    for (const MovementKey& m : kMovementKeys) {
        if (m.key == key) {
            return &m;
        }
    }
    return nullptr;
}

} // namespace

bool is_movement_key(char key)
{
    return movement_key(key) != nullptr;
}

void ApplyMovementKey(svc::Services& sv, GameState& st, char key)
{
    if (const MovementKey* m = movement_key(key)) {
        m->apply(sv, st);
    }
}

Step heading_step(int heading)
{
    return kHeadingStep[heading];
}

void place_player(GameState& st, int row, int col, int heading)
{
    PlayerState& p = st.player;
    p.playerRow = st.scan.scanRow = static_cast<i16>(row);
    p.playerCol = st.scan.scanCol = static_cast<i16>(col);
    p.heading = static_cast<i16>(heading);
    p.stepRow = kHeadingStep[heading].row;
    p.stepCol = kHeadingStep[heading].col;
}

} // namespace game
