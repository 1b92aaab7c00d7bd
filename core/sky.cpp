// The star and cloud tables, the time-of-day colours and the dusk, dawn and level music.
#include "core/sky.h"
#include "core/random_draw.h"
#include "core/sound_rule.h"

namespace game {
namespace {

// The sky, sun and wall-face colours the time of day sets at its turning phases, on the way to
// night (dayStep 6) and back to day (dayStep -6); kKeepFace leaves the face colour as it is.
constexpr i16 kKeepFace = -1;

struct DayColours {
    i16 sky, sun, face;
};

struct DayTurn {
    i16 phase;
    DayColours towardsNight, towardsDay;
};

using svc::kBlack, svc::kBlue, svc::kCyan, svc::kLightGrey, svc::kLightRed, svc::kYellow;

// clang-format off
constexpr DayTurn kDayTurns[] = {
    //    towards night: sky, sun, face    towards day: sky, sun, face
    {54, {kCyan,  kLightRed, kKeepFace},  {kLightGrey, kYellow,   kBlue}},
    {60, {kBlue,  kBlue,     kLightGrey}, {kCyan,      kLightRed, kBlue}},
    {66, {kBlack, kBlack,    kKeepFace},  {kBlue,      kBlue,     kLightGrey}},
};
// clang-format on

} // namespace

void FillSkyTables(svc::Services& sv, GameState& st)
{
    TimeState& t = st.time;
    for (int i = 1; i <= 45; ++i) {
        for (int h = 0; h <= 3; ++h) {
            t.starX[i][h] = random_in(sv, 365, 130);
            t.starY[i][h] = random_in(sv, 100, 1);
        }
    }
    t.daySpacing = random_in(sv, 70, 50);
    t.nightSpacing = random_in(sv, 40, 20);
    for (int k = 1; k <= 40; ++k) {
        t.cloudY[k] = random_in(sv, 20, 1);
    }
}

void UpdateTimeOfDay(svc::Services& sv, GameState& st)
{
    TimeState& t = st.time;
    const SoundState& snd = st.sound;
    if (t.dayPhase == 0) {
        t.dayStep = 6;
        t.duskPlayed = 0;
        t.dawnPlayed = 1;
    }
    // The dusk and dawn music follow the sound choice alone, even in silent mode, on purpose.
    if (t.dayPhase == 60 && snd.soundMode == 1 && t.dawnPlayed == 0) {
        sv.play_sound_file("Alba.ogg", true);
        t.dawnPlayed = 1;
    }
    if (t.dayPhase == 66 && snd.soundMode == 1 && t.duskPlayed == 0) {
        sv.set_background(svc::kBlack);
        sv.play_sound_file("Sera2.ogg", true);
        t.duskPlayed = 1;
    }
    for (const DayTurn& turn : kDayTurns) {
        if (t.dayPhase == turn.phase) {
            const DayColours& c = t.dayStep == -6 ? turn.towardsDay : turn.towardsNight;
            t.skyColour = c.sky;
            t.sunColour = c.sun;
            if (c.face != kKeepFace) {
                st.level.faceColour = c.face;
            }
        }
    }
    if (t.dayPhase == 78) {
        t.dayStep = -6;
        t.dawnPlayed = 0;
    }
}

void StartLevelMusic(svc::Services& sv, GameState& st)
{
    const SoundState& snd = st.sound;
    const int choice = random_in(sv, 2, 1);
    if (sound_card(snd) && st.level.levelMusicOn == 1) {
        sv.play_sound_file(choice == 1 ? "live1.ogg" : "Labini.ogg", false);
    }
    if (pc_speaker(snd)) {
        sv.play_macro("O4L15ace");
    }
}

} // namespace game
