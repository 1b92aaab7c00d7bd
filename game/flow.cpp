// The main flow: sound choice, level loop, frame loop, idle loop, time-out and victory.
#include "game/flow.h"

#include "core/items.h"
#include "core/print_at.h"
#include "core/saved_level.h"
#include "core/sky.h"
#include "core/sound_rule.h"
#include "game/idle_loop.h"
#include "screens/sound_choice.h"
#include "screens/status_panel.h"
#include "services/common/number_text.h"
#include "view/view.h"

namespace game {
namespace {

// How a level's frame loop ends when the program goes on.
enum class LevelExit { NextLevel, Restart, TimeOut };

// The first frame's line under the view: the level's name and its area in square metres.
void print_level_line(svc::Services& sv, const LevelState& lv)
{
    const int side = 5 * lv.mazeSize - 10;
    const std::string area = svc::number_item(side * side);
    sv.set_foreground(svc::kLightCyan);
    print_at(sv, 20, 27, {"Muvesecky ", lv.levelName, area, "mq"});
}

// Everything back to zero after a time-out, the sound choice included: play goes on with
// the PC speaker and sound on.
void reset_game_state(GameState& st)
{
    st = GameState{};
    st.player.stepRow = 0;
    st.player.itemRoll = 0;
    st.player.itemRollRange = 0;
    st.scan.depth = 0;
    st.scan.facingDepth = 0;
    st.time.dayStep = 0;
    st.time.skyColour = 0;
    st.time.sunColour = 0;
    st.time.moonColour = 0;
    st.view.viewShiftX = 0;
    st.view.viewShiftY = 0;
}

// The end of the time: the message, the falling siren, and everything back to zero.
void time_out(svc::Services& sv, GameState& st)
{
    print_at(sv, 12, 30, {"   Tempo scaduto !!!   "});
    const SoundState& snd = st.sound;
    if (sound_card(snd)) {
        sv.play_sound_file("Scade2.ogg", false);
    }
    if (pc_speaker(snd)) {
        for (int f = 5000; f >= 200; f -= 300) {
            sv.sound_tone(f, 2);
        }
    }
    if (silent(snd)) {
        sv.play_macro("P1P30");
    }
    reset_game_state(st);
}

// The last level completed.
[[noreturn]] void victory(svc::Services& sv, GameState& st)
{
    sv.set_foreground(svc::kYellow);
    print_at(sv, 23, 27, {"   Bravo, hai vinto!!!   "});
    const SoundState& snd = st.sound;
    if (sound_card(snd)) {
        sv.play_sound_file("Vittoria.ogg", false);
    }
    if (pc_speaker(snd)) {
        sv.play_macro("L16abababababababababababababab");
    }
    if (silent(snd)) {
        sv.play_macro("P1P30");
    }
    sv.end_program();
}

// The frame loop of one level: a full redraw per player action.
LevelExit play_level(svc::Services& sv, GameState& st)
{
    LevelState& lv = st.level;
    ScanState& sc = st.scan;
    for (;;) {
        const view::ScanOutcome outcome = view::DrawFrame(sv, st);
        if (outcome == view::ScanOutcome::Redraw) {
            continue; // a door was opened: the corridor behind it at once
        }
        if (outcome == view::ScanOutcome::LevelEnded) {
            if (!EndLevel(sv, st)) {
                victory(sv, st);
            }
            return LevelExit::NextLevel;
        }
        ++lv.frameCount;
        if (lv.frameCount == 1) {
            print_level_line(sv, lv);
            StartLevelMusic(sv, st);
        }
        char move = 0;
        switch (IdleLoop(sv, st, move)) {
        case IdleExit::Restart:
            return LevelExit::Restart;
        case IdleExit::TimeOut:
            return LevelExit::TimeOut;
        case IdleExit::Move:
            break;
        }
        ApplyMovementKey(sv, st, move);
        sc.facingDepth = -20;
    }
}

} // namespace

void RunGame(svc::Services& sv, GameState& st)
{
    screens::ChooseSound(sv, st.sound.soundMode);
    for (;;) {
        start_level(sv, st);
        switch (play_level(sv, st)) {
        case LevelExit::NextLevel:
            break; // the next header is read: straight to its level start
        case LevelExit::Restart:
            st.level.reader.reset();
            st.level.frameCount = 0;
            st.level.mazeSize = 0;
            break;
        case LevelExit::TimeOut:
            time_out(sv, st);
            break;
        }
    }
}

} // namespace game
