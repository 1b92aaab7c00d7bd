// Developer tool: pictures of the sound choice, the title screen and the level menu as PNGs.
//
//   screens_png DATA_DIR OUT_DIR
//
// Runs the three screens on the headless platform over a copy of the game's data folder (so
// "sound.cop" and "LEVEL.MGS" there stay untouched) and writes sound-choice.png, title.png
// and level-menu.png into OUT_DIR, each taken when the screen waits for its first key.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/saved_level.h"
#include "core/state.h"
#include "screens/level_menu.h"
#include "screens/sound_choice.h"
#include "screens/title.h"
#include "services/platform/headless/headless_platform.h"
#include "services/services.h"
#include "tools/scratch_data.h"
#include "tools/screen_png.h"

namespace fs = std::filesystem;

namespace {

bool save_png(const svc::ScreenImage& image, const fs::path& path)
{
    const bool ok = tools::write_screen_png(image, path.string());
    std::printf("%s %s\n", ok ? "wrote" : "could not write", path.c_str());
    return ok;
}

// Runs `screen` and, at the first window pass (the screen is drawn and polls for keys),
// saves the picture and presses `answer`.
bool shoot(svc::HeadlessPlatform& platform, svc::Services& sv, const fs::path& out, svc::Key answer,
           const std::function<void()>& screen)
{
    bool shot = false;
    bool ok = false;
    platform.onPass = [&] {
        if (!shot) {
            shot = true;
            ok = save_png(sv.screen(), out);
            platform.press_key(answer);
        }
    };
    screen();
    platform.onPass = nullptr;
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DATA_DIR OUT_DIR\n", argv[0]);
        return 2;
    }
    const fs::path out = fs::absolute(argv[2]);
    const tools::ScratchData scratch(fs::absolute(argv[1]), out);
    if (!scratch.ok()) {
        return 1;
    }
    // The level menu shows only for a saved level of 2 or more: level 5 here.
    std::ofstream("LEVEL.MGS", std::ios::binary) << "\"\x90\"\r\n";

    bool ok = true;
    svc::HeadlessPlatform platform;
    platform.set_time_of_day(12, 0, 0);
    platform.closeAfterMs = 600000; // a screen that never returns ends the tool
    try {
        svc::Services sv(platform);
        game::GameState st;
        st.sound.introPlayed = 1; // no opening tones: the picture is the point
        ok &= shoot(platform, sv, out / "sound-choice.png", svc::Key::Enter,
                    [&] { screens::ChooseSound(sv, st.sound.soundMode); });
        ok &= shoot(platform, sv, out / "title.png", svc::Key::Space,
                    [&] { screens::ShowTitleScreen(sv, st.sound); });
        game::ReadSavedLevel(sv, st);
        ok &= shoot(platform, sv, out / "level-menu.png", svc::Key::L,
                    [&] { screens::LevelMenu(sv, st); });
    } catch (const svc::ProgramExit&) {
        std::fprintf(stderr, "the screens ended the program (a missing file?)\n");
        ok = false;
    }
    return ok ? 0 : 1;
}
