// The level end: the floor to the horizon, the row of trees, and the next level's header.
#include "core/sound_rule.h"
#include "game/flow.h"
#include "view/view.h"

namespace game {

bool EndLevel(svc::Services& sv, GameState& st)
{
    LevelState& lv = st.level;
    ScanState& sc = st.scan;
    const SoundState& snd = st.sound;

    sv.set_colours(lv.faceColour, st.time.skyColour);
    for (sc.depth = 120; sc.depth >= -40; sc.depth = static_cast<i16>(sc.depth - 20)) {
        ++sc.along;
        view::DrawFloorRow(sv, sc.depth, sc.along, lv.faceColour, st.view);
    }
    // Fifteen trees: the player sees open country.
    view::DrawTreeRow(sv, st.pictures, 10, 599);

    if (lv.mazeSize <= 31) {
        if (pc_speaker(snd)) {
            sv.play_macro("L16cegcegcegc");
        }
        if (silent(snd)) {
            sv.play_macro("P1P30");
        }
        if (snd.soundMode == 1) {
            sv.play_macro("P1P60"); // a pause whatever silentMode is, on purpose
        }
        ++lv.levelNumber;
        lv.canSave = 1;
        st.player.doorOpened = 0;
        st.player.keyTaken = 0;
        lv.levelMusicOn = 1;
    }
    if (lv.mazeSize == 32) {
        return false; // the last level: victory follows
    }
    // The next header goes straight into the play variables; the player starts on its cell.
    read_next_header(sv, st);
    lv.frameCount = 0;
    return true;
}

} // namespace game
