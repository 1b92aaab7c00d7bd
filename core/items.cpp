// The objects met on the facing wall (door, wall clock, key, X-ray eye), their sounds and
// screen flashes, the X-ray scanning tones and the three distances.
#include "core/items.h"

#include <cmath>

#include "core/maze.h"
#include "core/random_draw.h"
#include "core/sound_rule.h"
#include "services/common/strings.h"

namespace game {
namespace {

// Metres from the player's cell to a recorded cell, 5 m per cell, rounded down.
float distance_to(svc::ErrorSink& errors, const PlayerState& p, i16 row, i16 col)
{
    const double dx = 5.0 * p.playerCol - 5.0 * col;
    const double dy = 5.0 * p.playerRow - 5.0 * row;
    const double root =
        svc::square_root(errors, svc::power(errors, dx, 2) + svc::power(errors, dy, 2));
    return std::floor(static_cast<float>(root));
}

// A tone on the PC speaker, or in silent mode the pause "P60" in its place.
void tone_or_pause(svc::Services& sv, bool quiet, double frequencyHz, double durationTicks)
{
    if (quiet) {
        sv.play_macro("P60");
    } else {
        sv.sound_tone(frequencyHz, durationTicks);
    }
}

} // namespace

void OpenDoor(svc::Services& sv, GameState& st)
{
    st.player.doorOpened = 1;
    st.player.keyHeld = 0;
    if (sound_card(st.sound)) {
        sv.play_sound_file("Porta.ogg", true);
    }
    if (pc_speaker(st.sound) || silent(st.sound)) {
        const bool quiet = silent(st.sound); // the same flashes, with pauses for the tones
        for (int f = 100; f <= 2000; f += 80) {
            sv.set_background(svc::kLightGreen);
            tone_or_pause(sv, quiet, f, 0.6);
            sv.set_background(st.time.skyColour);
            tone_or_pause(sv, quiet, f + 10, 1);
        }
    }
    st.level.maze.set(sv, st.scan.scanRow, st.scan.scanCol, kOpenCell);
    st.scan.aheadState = AheadState::Open;
}

void TakeWallClock(svc::Services& sv, GameState& st)
{
    // The clock has a sound only with sound on; silent mode plays no pause for it.
    if (sound_card(st.sound)) {
        sv.play_sound_file("Orol.ogg", true);
    }
    if (pc_speaker(st.sound)) {
        sv.play_macro("L24cegcL16e");
    }
    st.player.itemRoll = 50;
    st.level.minutesLeft = static_cast<i16>(st.level.minutesLeft + 2);
}

void TakeKey(svc::Services& sv, GameState& st)
{
    PlayerState& p = st.player;
    p.keyTaken = 1;
    p.keyHeld = 1;
    st.level.maze.set(sv, st.scan.scanRow, st.scan.scanCol, kWallCell);
    st.scan.keyAhead = 0;
    if (sound_card(st.sound)) {
        sv.play_sound_file("Chiave.ogg", true);
    }
    if (pc_speaker(st.sound) || silent(st.sound)) {
        const bool quiet = silent(st.sound); // the same flashes, with pauses for the tones
        for (int f = 100; f <= 1000; f += 50) {
            sv.set_background(svc::kBlack);
            tone_or_pause(sv, quiet, f, 1);
            sv.set_background(svc::kWhite);
            tone_or_pause(sv, quiet, 1100 - f, 1);
        }
        sv.set_background(st.time.skyColour);
    }
    sv.put_block(264, 90, words(st.pictures.keyBackground), svc::kPutCopy);
}

void TakeEye(svc::Services& sv, GameState& st)
{
    if (sound_card(st.sound)) {
        sv.play_sound_file("Raggix.ogg", false);
    }
    if (pc_speaker(st.sound)) {
        for (int f = 100; f <= 6000; f += 300) {
            sv.set_background(f % 200 == 0 ? svc::kWhite : svc::kBlack);
            sv.sound_tone(f, 0.5);
            sv.sound_tone(6100 - f, 0.5);
        }
    }
    if (silent(st.sound)) {
        for (int f = 100; f <= 2000; f += 80) {
            sv.set_background(svc::kWhite);
            sv.play_macro("P60");
            sv.set_background(svc::kBlack);
            sv.play_macro("P60");
        }
    }
    sv.set_background(st.time.skyColour);
    sv.put_block(230, 76, words(st.pictures.keyBackground), svc::kPutCopy);
    st.player.xrayOn = 1;
    st.player.itemRoll = 50;
}

void WorkOutDistances(svc::Services& sv, GameState& st)
{
    const LevelState& lv = st.level;
    PlayerState& p = st.player;
    p.exitDistance = distance_to(sv, p, lv.exitRow, lv.exitCol);
    p.doorDistance = distance_to(sv, p, lv.doorRow, lv.doorCol);
    p.keyDistance = distance_to(sv, p, lv.keyRow, lv.keyCol);
}

void XrayScanTones(svc::Services& sv, GameState&)
{
    const int f0 = random_in(sv, 10000, 40);
    for (int k = 0; k < 6; ++k) {
        sv.sound_tone(f0 + 1000 * k, 0.1);
    }
}

} // namespace game
