// The level start: the wall colour, the pictures, the random tables and, with no level
// loaded, the title, the saved level and the first header; then the maze and the heading.
#include "core/items.h"
#include "core/level_pictures.h"
#include "core/maze.h"
#include "core/random_draw.h"
#include "core/saved_level.h"
#include "core/sky.h"
#include "core/sound_rule.h"
#include "game/flow.h"
#include "screens/level_menu.h"
#include "screens/title.h"

namespace game {
namespace {

// The per-level wall colour: 1, 2, 3, 6, 2, 3, 6, ...
void advance_wall_colour(LevelState& lv)
{
    ++lv.wallColour;
    if (lv.wallColour == svc::kLightGrey) {
        lv.wallColour = svc::kGreen; // after brown
    }
    if (lv.wallColour == svc::kRed) {
        lv.wallColour = svc::kBrown; // after cyan
    }
}

// The title's "leave" choice: the farewell music, then text mode 0 and the end prompt.
[[noreturn]] void leave_game(svc::Services& sv, GameState& st)
{
    if (sound_card(st.sound)) {
        sv.play_sound_file("Finale.ogg", false);
        sv.play_macro("P1P60");
    }
    sv.set_screen_mode(svc::kTextMode);
    sv.end_program();
}

// The title, the saved level and its menu, and the first header (no level loaded).
void start_from_title(svc::Services& sv, GameState& st)
{
    LevelState& lv = st.level;
    TimeState& t = st.time;
    SoundState& snd = st.sound;
    t.moonOffsetX = random_in(sv, 10, 1);
    t.moonOffsetY = random_in(sv, 10, 1);
    screens::ShowTitleScreen(sv, snd);
    if (snd.titleChoice == kTitleLeave) {
        leave_game(sv, st);
    }
    ReadSavedLevel(sv, st);
    if (lv.levelNumber >= 2) {
        screens::LevelMenu(sv, st);
    }
    read_next_header(sv, st);
    t.sunColour = svc::kYellow;
    t.moonColour = svc::kLightGrey;
    st.view.viewShiftY = 10;
    t.dayStep = 6;
    t.skyColour = svc::kLightGrey;
}

} // namespace

void read_next_header(svc::Services& sv, GameState& st)
{
    read_header(sv, st.level);
    st.player.playerRow = st.level.startRow;
    st.player.playerCol = st.level.startCol;
}

void start_level(svc::Services& sv, GameState& st)
{
    LevelState& lv = st.level;
    PlayerState& pl = st.player;
    if (lv.levelNumber == 0) {
        lv.levelNumber = 1;
    }
    advance_wall_colour(lv);
    load_level_pictures(sv, st.pictures);
    sv.randomize(sv.timer_seconds());
    pl.itemRoll = 50;
    FillSkyTables(sv, st);
    pl.keyHeld = 0;
    st.view.viewSpread = 0;
    st.view.viewShiftX = 20;
    if (lv.mazeSize == 0) {
        start_from_title(sv, st);
    }
    load_level_maze(sv, lv);
    place_player(st, pl.playerRow, pl.playerCol, 0); // facing north on the start cell
    pl.itemRollRange = 200;
}

} // namespace game
