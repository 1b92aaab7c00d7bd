// The saved level "LEVEL.MGS": reading it after the title, resuming it, and Ctrl+S saving.
#include "core/saved_level.h"

#include <array>
#include <string>

#include "core/print_at.h"
#include "services/common/number_text.h"
#include "services/common/strings.h"

namespace game {

namespace {

const std::string kSavedLevelFile = "LEVEL.MGS";

// The level byte of the file is the level number plus this.
constexpr int kLevelByteOffset = 139;
constexpr int kLastLevel = 10;

// Wall colours of levels 2, 3, 4, then again for 5, 6, 7 and 8, 9, 10.
constexpr std::array<i16, 3> kWallColourCycle = {svc::kGreen, svc::kCyan, svc::kBrown};

} // namespace

void ReadSavedLevel(svc::Services& sv, GameState& st)
{
    i16& levelNumber = st.level.levelNumber;
    // A fresh install or a lost file starts at level 1 without the error dialog. A saved
    // level that is there but cannot be opened (no permission, a folder) shows its dialog
    // first, so the player learns the save exists.
    sv.open_file(kSavedLevelFile, svc::FileMode::Input, 1);
    if (const int err = sv.pending_error(); err != 0) {
        if (err == svc::kFileNotFound) {
            sv.take_error();
        }
        levelNumber = 1;
        return;
    }
    const std::string item = sv.read_item(1);
    const bool readFailed = sv.take_error() != 0;
    sv.close_all_files();
    if (readFailed || item.empty()) {
        levelNumber = 1; // an empty or unreadable file
        return;
    }
    const int level = svc::first_code(sv, item) - kLevelByteOffset;
    // A byte that names no level (a damaged or hand-edited file) starts level 1 with no
    // menu, instead of offering a level that does not exist.
    levelNumber = static_cast<i16>(level >= 1 && level <= kLastLevel ? level : 1);
}

// Every level start moves the wall colour on: blue for level 1, then green, cyan and brown in
// turn. A level reached by playing from level 1 has the colour worked out here, and a saved
// level resumed takes it at once.
i16 wall_colour_of_level(int level)
{
    if (level <= 1) {
        return svc::kBlue;
    }
    return kWallColourCycle[static_cast<std::size_t>((level - 2) % 3)];
}

// The level menu's "Livello Salvato". A level number outside 2..10 leaves the read cursor at
// the start of the level table and the wall colour as the level start set it: level 1 is
// played.
void ResumeSavedLevel(svc::ErrorSink& errors, LevelState& lv)
{
    const i16 level = lv.levelNumber;
    if (level >= 2 && level <= kLastLevel) {
        lv.reader.restore_level(errors, level);
        lv.wallColour = wall_colour_of_level(level);
    }
}

// The error dialogs of ReadSavedLevel and SaveLevel show the player the failing step's line in
// this file, and golden runs pin those lines: a line added or removed above a step moves its
// traces. Keep the lines above the steps where they stand, or record the traces again on
// purpose and look at the new dialogs. ReadSavedLevel opens the file at line 32, SaveLevel at
// line 93.

void SaveLevel(svc::Services& sv, GameState& st)
{
    // One save per level reached.
    if (st.level.canSave != 1) {
        return;
    }
    const i16 levelNumber = st.level.levelNumber;
    // Closing the file replaces the old one only once the new one is on disk. Each step's
    // error shows its dialog as usual; a save that failed anywhere is not a save: no
    // message, and the level's save stays on offer for another try.
    bool failed = false;
    sv.open_file(kSavedLevelFile, svc::FileMode::Output, 1);
    failed |= sv.pending_error() != 0;
    sv.write_item(1, svc::character_from_code(sv, levelNumber + kLevelByteOffset));
    failed |= sv.pending_error() != 0;
    sv.close_all_files();
    failed |= sv.pending_error() != 0;
    if (failed) {
        sv.checkpoint(); // the last step's error dialog, if one is still due
        return;
    }

    sv.set_foreground(svc::kLightRed);
    print_at(sv, 21, 69, {"Livello"}, true);
    sv.set_foreground(svc::kLightGreen);
    sv.print_line({svc::number_item(levelNumber)});
    sv.set_foreground(svc::kYellow);
    print_at(sv, 22, 68, {" -Salvato- "});

    // The save sounds even in silent mode, on purpose.
    if (st.sound.soundMode == 0) {
        sv.sound_tone(1000, 1);
    } else {
        sv.play_sound_file("Level-new.ogg", true);
    }
    sv.play_macro("P1P30"); // the message stays up meanwhile
    st.level.canSave = 0;

    for (int row = 21; row <= 24; ++row) {
        print_at(sv, row, 67, {svc::spaces(sv, 13)}, true);
    }
}

} // namespace game
