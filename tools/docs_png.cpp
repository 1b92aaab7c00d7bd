// Plays the real game on the headless platform and saves the README's pictures of play:
// a corridor by day, the same at night, and the exit in sight, each with the status panel.
// Usage: docs_png DATA_DIR OUT_DIR
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "game/core/state.h"
#include "game/flow.h"
#include "services/platform_headless.h"
#include "services/services.h"

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: docs_png DATA_DIR OUT_DIR\n");
        return 2;
    }
    const fs::path data = fs::absolute(argv[1]);
    const fs::path out = fs::absolute(argv[2]);
    // A scratch copy of the data folder, so the shipped files are never touched.
    const fs::path work = fs::temp_directory_path() / "muv-docs-png";
    fs::remove_all(work);
    fs::create_directories(work);
    for (const auto& f : fs::directory_iterator(data)) {
        if (f.is_regular_file()) {
            fs::copy_file(f.path(), work / f.path().filename());
        }
    }
    fs::current_path(work);

    svc::HeadlessPlatform platform;
    platform.set_time_of_day(10, 0, 5);
    svc::Services sv(platform);
    game::GameState st;

    // The script: each step waits for its picture, then acts once.
    int step = 0;
    double since = 0;
    // Puts the player on a cell facing south; a right turn (the key the script then presses)
    // looks west from there and draws the new picture.
    auto faceSouthAt = [&](game::i16 row, game::i16 col) {
        st.player.playerRow = row;
        st.player.playerCol = col;
        st.player.heading = 2;
        st.player.stepRow = 1;
        st.player.stepCol = 0;
    };
    auto shot = [&](const char* name) {
        platform.save_png((out / name).string());
        std::printf("wrote %s\n", (out / name).c_str());
    };
    platform.onPass = [&] {
        const int h = platform.frame_height();
        const double now = platform.ticks_ms();
        switch (step) {
        case 0: // the sound choice: keep the PC speaker
            if (h == 400) {
                platform.press_key(svc::Key::Enter);
                ++step;
            }
            break;
        case 1: // the title: play
            if (h == 480) {
                platform.press_key(svc::Key::Space);
                ++step;
            }
            break;
        case 2: // level 1's first frame, by day
            if (h == 200 && st.level.frameCount >= 1) {
                since = now;
                ++step;
            }
            break;
        case 3:
            if (now - since > 1500) {
                shot("play-day.png");
                // Deep night falls; from row 2 the view west runs down an open corridor under
                // the moon.
                st.time.dayPhase = 66;
                faceSouthAt(2, 9);
                platform.press_key(svc::Key::Right);
                since = now;
                ++step;
            }
            break;
        case 4:
            if (now - since > 1500) {
                shot("play-night.png");
                st.time.dayPhase = 0;
                st.time.skyColour = svc::kLightGrey;
                st.time.sunColour = svc::kYellow;
                faceSouthAt(6, 3); // two cells east of the exit
                platform.press_key(svc::Key::Right);
                since = now;
                ++step;
            }
            break;
        case 5:
            if (now - since > 1500) {
                shot("play-exit.png");
                platform.close_window();
                ++step;
            }
            break;
        default:
            break;
        }
    };
    try {
        game::RunGame(sv, st);
    } catch (const svc::ProgramExit&) {
    }
    fs::current_path(out);
    fs::remove_all(work);
    return step == 6 ? 0 : 1;
}
