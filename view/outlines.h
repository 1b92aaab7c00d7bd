// The cell outlines: the edges of one scan cell in the face colour, by which sides are open.
#pragma once

#include <span>

#include "core/state.h"
#include "services/services.h"
#include "view/frame.h"
#include "view/view.h"

namespace view {

// One outline: its lines in the order they are drawn.
using Outline = std::span<const FrameLine>;

// The game's outlines, named by the left side, the right side and what is ahead (W wall, O
// open). A side wall gives its top and bottom edges; a side opening its near corner and the top
// and bottom of the far face seen through it; a wall ahead its top and bottom, run on through
// an open side; the far corner is drawn on each walled side with a wall ahead, on each open
// side with the corridor going on.
// clang-format off
inline constexpr FrameLine kOutlineOWW[] = {
    {kNl, kFt, kFr, kFt}, {kNl, kFb, kFr, kFb}, {kFr, kFt, kFr, kFb},
    {kNl, kNt, kNl, kNb}, {kFr, kFt, kNr, kNt}, {kFr, kFb, kNr, kNb},
};
inline constexpr FrameLine kOutlineWOW[] = {
    {kFl, kFt, kNr, kFt}, {kFl, kFb, kNr, kFb}, {kFl, kFt, kFl, kFb},
    {kNr, kNt, kNr, kNb}, {kFl, kFt, kNl, kNt}, {kFl, kFb, kNl, kNb},
};
inline constexpr FrameLine kOutlineOOW[] = {
    {kNl, kFt, kNr, kFt}, {kNl, kFb, kNr, kFb}, {kNl, kNt, kNl, kNb}, {kNr, kNt, kNr, kNb},
};
inline constexpr FrameLine kOutlineWWW[] = {
    {kFl, kFt, kFr, kFt}, {kFl, kFb, kFr, kFb},
    {kFl, kFt, kFl, kFb}, {kFl, kFt, kNl, kNt}, {kFl, kFb, kNl, kNb},
    {kFr, kFt, kNr, kNt}, {kFr, kFb, kNr, kNb}, {kFr, kFt, kFr, kFb},
};
inline constexpr FrameLine kOutlineOWO[] = {
    {kNl, kFt, kFl, kFt}, {kNl, kFb, kFl, kFb}, {kFl, kFt, kFl, kFb},
    {kNl, kNt, kNl, kNb}, {kFr, kFt, kNr, kNt}, {kFr, kFb, kNr, kNb},
};
inline constexpr FrameLine kOutlineWOO[] = {
    {kFr, kFt, kNr, kFt}, {kFr, kFb, kNr, kFb}, {kFr, kFt, kFr, kFb},
    {kNr, kNt, kNr, kNb}, {kFl, kFt, kNl, kNt}, {kFl, kFb, kNl, kNb},
};
inline constexpr FrameLine kOutlineOOO[] = {
    {kNl, kFt, kFl, kFt}, {kFr, kFt, kNr, kFt}, {kNl, kFb, kFl, kFb}, {kFr, kFb, kNr, kFb},
    {kFl, kFt, kFl, kFb}, {kFr, kFt, kFr, kFb}, {kNl, kNt, kNl, kNb}, {kNr, kNt, kNr, kNb},
};
// clang-format on

// Draws an outline of the cell at `depth` in faceColour, after asking for the play mode
// (already in force: no effect) as every outline does.
void DrawOutline(Services& sv, Outline lines, i16 depth, i16 faceColour, i16 skyColour,
                 const game::ViewOffsets& v);

// Walls on both sides with the corridor going on: the four diagonals. Works from depth + 40
// and gives the caller's depth back unchanged.
void DrawOutlineWWO(Services& sv, i16& depth, i16 faceColour, i16 skyColour,
                    const game::ViewOffsets& v);

} // namespace view
