// The saved level "LEVEL.MGS": reading it after the title, the level menu, and Ctrl+S saving.
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

void LevelMenu(svc::Services& sv, GameState& st)
{
    sv.set_foreground(svc::kLightGreen);
    print_at(
        sv, 18, 3,
        {svc::spaces(sv, 17), "< >=Nuova Partita    < >=Livello Salvato", svc::spaces(sv, 19)});
    sv.set_foreground(svc::kWhite);
    print_at(sv, 18, 21, {"N"});
    print_at(sv, 18, 42, {"L"});

    st.player.keyTaken = 0;
    sv.sound_tone(3000, 0.3);

    for (;;) {
        const std::string key = svc::lower_case(sv.wait_keys(1));
        if (key == "n") {
            st.level.levelNumber = 1; // the read cursor stays at the start: level 1
            return;
        }
        if (key == "l") {
            break;
        }
    }
    const i16 level = st.level.levelNumber;
    if (level >= 2 && level <= kLastLevel) {
        st.level.reader.restore_level(sv, level);
        st.level.wallColour = kWallColourCycle[static_cast<std::size_t>((level - 2) % 3)];
    }
}

void SaveLevel(svc::Services& sv, GameState& st)
{
    // One save per level reached; the idle loop checks this too.
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
