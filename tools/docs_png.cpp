// Plays the real game on the headless platform and saves the README's pictures of play:
// a corridor by day, the same at night, and the exit in sight, each with the status panel.
// Usage: docs_png DATA_DIR OUT_DIR
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "core/state.h"
#include "game/flow.h"
#include "services/platform/headless/headless_platform.h"
#include "services/services.h"
#include "tools/assets/game_files.h"
#include "tools/scratch_data.h"

namespace fs = std::filesystem;

namespace {

// The script: each step waits for its picture, then acts once.
class Script {
  public:
    enum class Step { SoundChoice, Title, FirstFrame, Day, Night, Exit, Done };

    Script(svc::HeadlessPlatform& platform, game::GameState& st, fs::path out)
        : platform_(platform), st_(st), out_(std::move(out))
    {
    }

    Step step() const { return step_; }

    // Runs at every window pass of the game.
    void on_pass()
    {
        const int h = platform_.frame_height();
        const double now = platform_.ticks_ms();
        const bool settled = now - since_ > 1500;
        switch (step_) {
        case Step::SoundChoice: // keep the PC speaker
            if (h == 400) {
                platform_.press_key(svc::Key::Enter);
                step_ = Step::Title;
            }
            break;
        case Step::Title: // play
            if (h == 480) {
                platform_.press_key(svc::Key::Space);
                step_ = Step::FirstFrame;
            }
            break;
        case Step::FirstFrame: // level 1's first frame, by day
            if (h == 200 && st_.level.frameCount >= 1) {
                since_ = now;
                step_ = Step::Day;
            }
            break;
        case Step::Day:
            if (settled) {
                shoot("play-day.png");
                // Deep night falls; from row 2 the view west runs down an open corridor under
                // the moon.
                st_.time.dayPhase = 66;
                look_west_from(2, 9, now);
                step_ = Step::Night;
            }
            break;
        case Step::Night:
            if (settled) {
                shoot("play-night.png");
                st_.time.dayPhase = 0;
                st_.time.skyColour = svc::kLightGrey;
                st_.time.sunColour = svc::kYellow;
                look_west_from(6, 3, now); // two cells east of the exit
                step_ = Step::Exit;
            }
            break;
        case Step::Exit:
            if (settled) {
                shoot("play-exit.png");
                platform_.close_window();
                step_ = Step::Done;
            }
            break;
        case Step::Done:
            break;
        }
    }

  private:
    void shoot(const char* name)
    {
        platform_.save_png((out_ / name).string());
        std::printf("wrote %s\n", (out_ / name).c_str());
    }

    // Puts the player on a cell facing south and presses a right turn: the new picture looks
    // west from there.
    void look_west_from(game::i16 row, game::i16 col, double now)
    {
        game::PlayerState& p = st_.player;
        p.playerRow = row;
        p.playerCol = col;
        p.heading = 2;
        p.stepRow = 1;
        p.stepCol = 0;
        platform_.press_key(svc::Key::Right);
        since_ = now;
    }

    svc::HeadlessPlatform& platform_;
    game::GameState& st_;
    fs::path out_;
    Step step_ = Step::SoundChoice;
    double since_ = 0;
};

// The script plays a fresh install, the PC speaker and level 1, whatever the developer's own
// play left in the data folder (without "sound.cop" the game would stop at an error dialog
// the script never answers): the shipped files replace the scratch copy's.
bool use_shipped_files()
{
    try {
        fs::remove("sound.cop");
        fs::remove("LEVEL.MGS");
        assets::write_default_files(fs::current_path());
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "docs_png: %s\n", e.what());
        return false;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: docs_png DATA_DIR OUT_DIR\n");
        return 2;
    }
    const fs::path out = fs::absolute(argv[2]);
    const tools::ScratchData scratch(fs::absolute(argv[1]), out);
    if (!scratch.ok()) {
        return 1;
    }
    if (!use_shipped_files()) {
        return 1;
    }
    svc::HeadlessPlatform platform;
    // Play starts at 10:00:06, where it started when the README's pictures were taken: the
    // game then waited for the clock's second to change before its first picture, and the
    // clock was set to 10:00:05. Now the game starts at once, so the clock starts where that
    // wait ended; the panel's time and all else read from the clock come out as in the
    // pictures.
    platform.set_time_of_day(10, 0, 6);
    svc::Services sv(platform);
    game::GameState st;
    Script script(platform, st, out);
    platform.onPass = [&script] { script.on_pass(); };
    try {
        game::RunGame(sv, st);
    } catch (const svc::ProgramExit&) {
    }
    return script.step() == Script::Step::Done ? 0 : 1;
}
