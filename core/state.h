// The game's state: every variable the main flow owns, grouped in a few plain structs.
// Procedures of the view, the screens and the core receive them by reference.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/level_reader.h"
#include "core/maze.h"
#include "services/services.h"

namespace game {

using i16 = std::int16_t;

// The title's three choices. The menu keeps the arrow's x pixel in titleChoice, so each
// choice is the x at which its arrow stands.
inline constexpr i16 kTitlePlay = 54;
inline constexpr i16 kTitleSound = 204;
inline constexpr i16 kTitleLeave = 422;

// The depth of the scan cell next to the player: the scan starts there, and the objects on the
// facing wall take effect there.
inline constexpr i16 kNearestDepth = 140;

// How the corridor ahead stands at the current step of the depth scan.
enum class AheadState : i16 {
    Open = 0, // the corridor goes on
    Wall = 1, // a wall closes it
    Exit = 2, // the exit is ahead
};

// The level clock's minute beat: counted once in the second whose seconds read "00".
enum class MinuteState : i16 {
    Armed = 0,   // the next "00" takes a minute off
    Counted = 1, // this minute's beat has been counted
    TimeUp = 2,  // the time has run out
};

// The sound choice and the title's menu results.
struct SoundState {
    i16 soundMode = 0;   // 1 sound card (music files), 0 PC speaker (macro tunes)
    i16 silentMode = 0;  // 1 = no sound; pauses keep the timing
    i16 introPlayed = 0; // the title's opening sound plays only while 0
    i16 titleChoice = 0; // kTitlePlay or kTitleLeave once the title returns
};

// The current level: its header, grid, landmarks and the per-level flags.
struct LevelState {
    LevelReader reader;  // the read cursor over the level table
    i16 levelNumber = 0; // 1..10
    i16 wallColour = 0;  // 2, 3 or 6; advanced at every level start
    i16 mazeSize = 0;    // 0 = no level loaded (title comes next)
    std::string levelName;
    i16 startRow = 0;
    i16 startCol = 0;
    i16 minutesLeft = 0; // the header's minutes, counted down
    i16 secondsLeft = 0; // the header's seconds, then 60 - wall-clock seconds
    i16 faceColour = 0;  // wall faces; changed by the time of day
    MazeGrid maze;
    MazeRows rows;
    i16 exitRow = 0, exitCol = 0, doorRow = 0, doorCol = 0, keyRow = 0, keyCol = 0;
    i16 frameCount = 0;
    i16 canSave = 0;      // 1 allows one save
    i16 levelMusicOn = 0; // 1 allows the level background music
};

// The player, the objects met on walls and the three distances.
struct PlayerState {
    i16 playerRow = 0, playerCol = 0;
    i16 heading = 0; // 0 north, 1 west, 2 south, 3 east
    i16 stepRow = -1, stepCol = 0;
    i16 itemRoll = 50; // 1..itemRollRange, drawn at every quarter turn
    i16 itemRollRange = 200;
    i16 keyHeld = 0, keyTaken = 0, doorOpened = 0;
    i16 xrayOn = 0, xrayUsed = 0, xrayTicks = 0;
    float exitDistance = 0, doorDistance = 0, keyDistance = 0;
};

// The depth scan's state for the picture being built.
struct ScanState {
    i16 scanRow = 0, scanCol = 0;
    i16 depth = kNearestDepth;
    AheadState aheadState = AheadState::Open;
    i16 doorAhead = 0, keyAhead = 0;
    i16 exitDepth = 0;
    i16 facingFillColour = 0, facingLeftExtent = 0, facingRightExtent = 0;
    i16 facingBlocked = 0; // 1 when the cell right ahead is closed
    i16 facingDepth = -20; // depth of the facing wall found by the last scan
    i16 along = 0;         // along-heading coordinate (floor pattern)
    std::string leftCell = " ", aheadCell = " ", rightCell = " ";
};

// The level clock, the time of day and the sky.
struct TimeState {
    MinuteState minuteState = MinuteState::Armed;
    i16 dayPhase = 0; // 0..78 in steps of 6
    i16 dayStep = 6;
    i16 minutesPlayed = 0;
    i16 skyColour = svc::kLightGrey, sunColour = svc::kYellow, moonColour = svc::kLightGrey;
    i16 duskPlayed = 0, dawnPlayed = 0;
    i16 moonOffsetX = 0, moonOffsetY = 0;
    std::array<std::array<i16, 4>, 46> starX{}, starY{}; // [entry 1..45][heading]
    std::array<i16, 41> cloudY{};                        // entries 1..40
    i16 daySpacing = 0, nightSpacing = 0;
    i16 cloudIndex = 0;
    std::string clockSeconds; // the wall clock's seconds as the panel last read them
};

// The fixed view offsets handed to every view procedure.
struct ViewOffsets {
    i16 viewSpread = 0;
    i16 viewShiftX = 20;
    i16 viewShiftY = 10;
};

// The seagulls' seven flight paths (indices 0..12, paths 1..7 used).
struct GullState {
    std::array<i16, 13> gullX{};
    std::array<i16, 13> gullStep{};
    // When the birds take their next step (platform clock, ms); they fly at a pace of their
    // own, not once per idle pass. The lowest value: the next call steps at once.
    double nextStepMs = std::numeric_limits<double>::lowest();
};

// The capacity of each of the seagulls' four pictures (words).
constexpr std::size_t kGullPictureWords = 350;

// The level pictures, loaded at every level start into buffers of fixed capacity (words).
struct Pictures {
    std::vector<std::int16_t> occhil = std::vector<std::int16_t>(500);
    std::vector<std::int16_t> ocip = std::vector<std::int16_t>(480);
    std::vector<std::int16_t> oc22 = std::vector<std::int16_t>(1000);
    std::vector<std::int16_t> ochig = std::vector<std::int16_t>(2000);
    std::vector<std::int16_t> oc43 = std::vector<std::int16_t>(3500);
    std::vector<std::int16_t> occh43 = std::vector<std::int16_t>(5000);
    std::vector<std::int16_t> cloudDay = std::vector<std::int16_t>(1600);    // "nu51.grh"
    std::vector<std::int16_t> cloudEvening = std::vector<std::int16_t>(600); // "nuser.grh"
    std::vector<std::int16_t> gab = std::vector<std::int16_t>(kGullPictureWords);
    std::vector<std::int16_t> gab2 = std::vector<std::int16_t>(kGullPictureWords);
    std::vector<std::int16_t> gab3 = std::vector<std::int16_t>(kGullPictureWords);
    std::vector<std::int16_t> gab4 = std::vector<std::int16_t>(kGullPictureWords);
    std::vector<std::int16_t> exitTreesBlock = std::vector<std::int16_t>(600); // "alber.grh"
    std::vector<std::int16_t> keyBackground = std::vector<std::int16_t>(5000);
    std::int32_t loads = 0; // how many times they were loaded (what was drawn with them may differ)
};

// What the idle pass's repeated drawings last drew: they are skipped while they would store
// nothing new.
struct DrawMarks {
    svc::RepeatMark panelBoxes;
    svc::RepeatMark seagulls;
};

// Everything together, owned by the main flow.
struct GameState {
    SoundState sound;
    LevelState level;
    PlayerState player;
    ScanState scan;
    TimeState time;
    ViewOffsets view;
    GullState gulls;
    Pictures pictures;
    DrawMarks marks;
};

// Words view of a picture buffer, for the block services.
inline svc::Words words(std::vector<std::int16_t>& buffer)
{
    return svc::Words(buffer.data(), buffer.size());
}

} // namespace game
