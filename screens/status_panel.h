// The status panel beside the view, and the seagulls that fly over it.
#pragma once

#include "core/state.h"
#include "services/services.h"

namespace screens {

// Redraws the whole panel; also counts the level clock, runs the X-ray gauge and ends the
// aid, and finishes with the seagulls. Called on every pass of the idle loop.
void DrawStatusPanel(svc::Services& sv, game::GameState& st);

// Steps the seven flight paths when a step is due (about every 20 ms) and, facing north by day
// without X-ray, draws the birds.
void FlySeagulls(svc::Services& sv, game::GameState& st);

// True while a step of the birds changes the picture (some bird is drawn).
bool SeagullsInView(const game::GameState& st);

// When the birds should next be drawn. While nobody is at the keys the window shows only
// every other step of theirs (`everyOtherStep`): the step between is then made up unseen
// on waking (CatchUpSeagulls), and the idle game wakes half as often.
double NextSeagullDrawMs(const game::GameState& st, bool everyOtherStep);

// After the idle loop slept through steps of the birds (out of sight), makes them up in
// order, so the birds and the random numbers they draw go on as if it had not slept.
void CatchUpSeagulls(svc::Services& sv, game::GameState& st);

} // namespace screens
