// Whole-game runs on the headless platform: the level clock and time-out, the first frame,
// restart, compass, level ends, victory, leaving, and a walk through level 1 by keys alone.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "game/core/state.h"
#include "game/flow.h"
#include "services/keys.h"
#include "tests/screen_reading.h"
#include "tests/support/harness.h"

namespace {

namespace fs = std::filesystem;
using svc::Key;

// Steps a test takes from inside the window passes: each waits for its condition, acts once,
// and the next one waits in turn.
class Script {
  public:
    void then(std::function<bool()> when, std::function<void()> act)
    {
        steps_.emplace_back(std::move(when), std::move(act));
    }
    void pass()
    {
        if (next_ < steps_.size() && steps_[next_].first()) {
            steps_[next_++].second();
        }
    }
    bool finished() const { return next_ == steps_.size(); }
    std::size_t reached() const { return next_; }

  private:
    std::vector<std::pair<std::function<bool()>, std::function<void()>>> steps_;
    std::size_t next_ = 0;
};

// The game in a folder of its own with the game's data, the sound choice and a saved level.
class GameRun {
  public:
    GameRun(int soundChoice, int savedLevel, int hh = 12, int mm = 0, int ss = 0) : h(hh, mm, ss)
    {
        for (const auto& entry : fs::directory_iterator(MUV_DATA_DIR)) {
            fs::copy_file(entry.path(), dir.path() / entry.path().filename(),
                          fs::copy_options::overwrite_existing);
        }
        testing_support::write_file(dir.path() / "sound.cop",
                                    std::string("\" ") + std::to_string(soundChoice) + "\"\r\n");
        testing_support::write_file(dir.path() / "LEVEL.MGS",
                                    std::string("\"") + static_cast<char>(savedLevel + 139) +
                                        "\"\r\n");
    }

    // Runs the game until it ends or the virtual time limit closes the window.
    int run(double limitMs = 4 * 60 * 1000.0)
    {
        h.platform.onPass = [this] {
            script.pass();
            if (watch) {
                watch();
            }
        };
        h.platform.closeAfterMs = h.platform.ticks_ms() + limitMs;
        const int code = h.run([this] { game::RunGame(h.sv(), st); });
        h.platform.onPass = nullptr;
        return code;
    }

    // --- conditions ---
    int mode() { return h.screen().mode(); }
    bool keysRead() { return h.sv().keys().empty() && !h.platform.events_pending(); }
    bool atSoundChoice() { return mode() == 0 && keysRead(); }
    // The title's menu: its opening sound is over.
    bool atTitle() { return mode() == 12 && keysRead() && st.sound.introPlayed == 1; }
    // In the idle loop of a level: the previous key taken and the panel drawn on this frame.
    bool inPlay()
    {
        return mode() == 8 && st.level.frameCount >= 1 && keysRead() &&
               !st.time.clockSeconds.empty() && text(15, 2, 1, 5) == "\xBA";
    }
    std::string clock()
    {
        svc::LocalTime t;
        h.platform.local_time(t);
        char buf[16];
        std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hours, t.minutes, t.seconds);
        return buf;
    }
    bool endPrompt() { return lastRow().find("Press any key to continue") != std::string::npos; }

    // --- reading the screen ---
    std::string text(int row, int col, int n, int colour)
    {
        return screen_reading::glyphs_text(h.screen(), row, col, n, colour);
    }
    std::string timeText() { return text(13, 67, 11, 14); }
    std::string lastRow()
    {
        const svc::ScreenImage& img = h.screen();
        if (img.text_mode()) {
            return screen_reading::cells_text(img, img.info().rows, 1, 80);
        }
        std::string row;
        for (int fg = 0; fg < 16 && row.find("Press") == std::string::npos; ++fg) {
            row = text(img.info().rows, 1, 30, fg);
        }
        return row;
    }

    // --- keys ---
    void press(Key k) { h.platform.press_key(k); }
    void type(const std::string& s) { h.platform.type_text(s); }
    // The usual way in: confirm the sound choice, then play from the title.
    void startPlaying()
    {
        script.then([this] { return atSoundChoice(); }, [this] { type("\r"); });
        script.then([this] { return atTitle(); }, [this] { type(" "); });
    }
    int started(const std::string& name)
    {
        int n = 0;
        for (const auto& f : h.platform.audio.files) {
            n += f.path.find(name) != std::string::npos ? 1 : 0;
        }
        return n;
    }
    void setClock(int hh, int mm, int ss, double ms = 0)
    {
        h.platform.set_time_of_day(hh, mm, ss, ms);
    }

    testing_support::TempDir dir;
    testing_support::Harness h;
    game::GameState st;
    Script script;
    std::function<void()> watch; // called on every pass after the script
};

TEST(MainFlow, FirstFrameOfLevelOneAndItsFirstShortMinute)
{
    GameRun g(0, 1);
    g.script.then([&] { return g.atSoundChoice(); }, [&] { g.type("\r"); });
    // Play is chosen at 12:00:40: the level is entered in that second.
    g.script.then([&] { return g.atTitle(); },
                  [&] {
                      g.setClock(12, 0, 40);
                      g.type(" ");
                  });
    std::string levelLine, area, firstTime;
    g.script.then([&] { return g.inPlay(); },
                  [&] {
                      levelLine = g.text(20, 27, 16, 11);
                      area = g.text(20, 42, 8, 11);
                      firstTime = g.timeText();
                  });
    std::string before, after;
    int minutesBefore = 0;
    g.script.then([&] { return g.clock() == "12:00:59"; },
                  [&] {
                      before = g.timeText();
                      minutesBefore = g.st.level.minutesLeft;
                  });
    g.script.then(
        [&] {
            return g.clock() == "12:01:00" && g.st.time.minuteState == game::MinuteState::Counted;
        },
        [&] {
            after = g.timeText();
            g.h.platform.close_window();
        });
    g.run();
    ASSERT_TRUE(g.script.finished()) << "stopped at step " << g.script.reached();
    EXPECT_EQ(levelLine, "Muvesecky Nano: ");
    EXPECT_EQ(area, " 1600 mq");
    EXPECT_EQ(firstTime, " 6,20 Min. ");
    EXPECT_EQ(before, " 6,01 Min. ");
    EXPECT_EQ(minutesBefore, 6);
    EXPECT_EQ(after, " 5,00 Min. ");
    EXPECT_EQ(g.st.level.minutesLeft, 5);
    EXPECT_EQ(g.st.player.heading, 0);
    EXPECT_EQ(g.st.level.wallColour, 1);
}

// Runs level 1 through minute beats, each second 00 reached by moving the clock to 59.9 s
// once the previous beat is over, until the time is up and the title's opening tune has
// played. `extraMinutes` are added early in the level, as a wall clock taken would.
struct TimeOutRun {
    int beatOfTimeOut = 0; // beats made when the title came back
    std::string timeText;  // the time box while the time-out sounds
    std::string message;
    int soundModeAfter = -1;
    std::size_t titleTones = 0;
    int presentaStarts = 0;
    int scadeStarts = 0;
};

TimeOutRun runToTimeOut(int soundChoice, int extraMinutes)
{
    GameRun g(soundChoice, 1);
    TimeOutRun r;
    g.startPlaying();
    g.script.then([&] { return g.inPlay(); },
                  [&] { g.st.level.minutesLeft = static_cast<game::i16>(6 + extraMinutes); });
    int beats = 0;
    for (int beat = 1; beat <= 12; ++beat) {
        // Each move waits until the beat before it has been counted and the minute re-armed.
        g.script.then(
            [&] {
                return g.st.time.minuteState == game::MinuteState::Armed &&
                       g.st.time.minutesPlayed == beats && g.inPlay();
            },
            [&] { g.setClock(13, beats++, 59, 900); });
    }
    bool played = false;
    std::size_t tonesBeforeTitle = 0;
    g.watch = [&] {
        if (g.mode() == 8 && g.st.level.minutesLeft == -1 && r.message.empty()) {
            r.message = g.text(12, 30, 23, g.h.screen().foreground);
            r.timeText = g.timeText();
        }
        played = played || g.mode() == 8;
        if (played && g.mode() == 12 && r.beatOfTimeOut == 0) {
            r.beatOfTimeOut = beats;
            tonesBeforeTitle = g.h.platform.audio.tones.size();
        }
        // The title's menu is reached once its opening sound is over.
        if (r.beatOfTimeOut != 0 && g.st.sound.introPlayed == 1) {
            r.soundModeAfter = g.st.sound.soundMode;
            r.titleTones = g.h.platform.audio.tones.size() - tonesBeforeTitle;
            g.h.platform.close_window();
        }
    };
    g.run(20 * 60 * 1000.0);
    r.presentaStarts = g.started("Presenta.ogg");
    r.scadeStarts = g.started("Scade2.ogg");
    return r;
}

TEST(MainFlow, TimeOutAtTheSeventhBeatShowsMinusOneAndTheMessage)
{
    const TimeOutRun r = runToTimeOut(0, 0);
    EXPECT_EQ(r.beatOfTimeOut, 7);
    EXPECT_EQ(r.timeText, "-1,00 Min. ");
    EXPECT_EQ(r.message, "   Tempo scaduto !!!   ");
    EXPECT_EQ(r.soundModeAfter, 0);
    EXPECT_GE(r.titleTones, 40u) << "the title's opening tune again: everything was reset";
}

TEST(MainFlow, TimeOutWithTheSoundCardGoesOnWithThePcSpeaker)
{
    const TimeOutRun r = runToTimeOut(1, 0);
    EXPECT_EQ(r.beatOfTimeOut, 7);
    EXPECT_EQ(r.scadeStarts, 1);
    EXPECT_EQ(r.presentaStarts, 1) << "only at the first title";
    EXPECT_EQ(r.soundModeAfter, 0);
    EXPECT_GE(r.titleTones, 40u);
}

TEST(MainFlow, OneWallClockPutsTheTimeOutTwoBeatsLater)
{
    const TimeOutRun r = runToTimeOut(0, 2);
    EXPECT_EQ(r.beatOfTimeOut, 9);
    EXPECT_EQ(r.message, "   Tempo scaduto !!!   ");
}

TEST(MainFlow, RestartFromLevelFourKeepsTheWallColourCycle)
{
    GameRun g(0, 4);
    g.startPlaying();
    g.script.then([&] { return g.atTitle(); }, [&] { g.type("l"); });
    std::string firstName;
    int firstWall = 0;
    g.script.then([&] { return g.inPlay(); },
                  [&] {
                      firstName = g.st.level.levelName;
                      firstWall = g.st.level.wallColour;
                      g.press(Key::Up);
                  });
    g.script.then([&] { return g.inPlay(); }, [&] { g.type("X"); });
    // The title again, then the menu of the saved level: a new game this time.
    g.script.then([&] { return g.atTitle(); }, [&] { g.type(" "); });
    g.script.then([&] { return g.atTitle(); }, [&] { g.type("n"); });
    std::string secondName, levelLine;
    int secondWall = 0, secondLevel = 0;
    g.script.then([&] { return g.inPlay(); },
                  [&] {
                      secondName = g.st.level.levelName;
                      secondWall = g.st.level.wallColour;
                      secondLevel = g.st.level.levelNumber;
                      levelLine = g.text(20, 27, 16, 11);
                      g.type("x"); // the small letter restarts too
                  });
    bool titleAgain = false;
    g.script.then([&] { return g.atTitle(); },
                  [&] {
                      titleAgain = true;
                      g.h.platform.close_window();
                  });
    g.run();
    ASSERT_TRUE(g.script.finished()) << "stopped at step " << g.script.reached();
    EXPECT_EQ(firstName, "Di Paride:");
    EXPECT_EQ(firstWall, 6);
    EXPECT_EQ(secondName, "Nano:");
    EXPECT_EQ(secondLevel, 1);
    EXPECT_EQ(secondWall, 2) << "6 advanced once: 7 becomes 2";
    EXPECT_EQ(levelLine, "Muvesecky Nano: ");
    EXPECT_TRUE(titleAgain);
    EXPECT_EQ(g.st.level.mazeSize, 0);
    EXPECT_EQ(g.st.level.frameCount, 0);
}

TEST(MainFlow, CompassWordFollowsTheTurnsAndOnlyCapitalsMove)
{
    GameRun g(0, 1);
    g.startPlaying();
    std::vector<std::pair<std::string, int>> words;
    const auto record = [&] {
        for (int colour : {15, 12, 11, 10}) {
            const std::string w = g.text(17, 6, 5, colour);
            if (w != "     ") {
                words.emplace_back(w, colour);
                return;
            }
        }
        words.emplace_back("", 0);
    };
    g.script.then([&] { return g.inPlay(); },
                  [&] {
                      record();
                      g.press(Key::Right);
                  });
    for (int i = 0; i < 3; ++i) {
        g.script.then([&] { return g.inPlay(); },
                      [&] {
                          record();
                          g.press(Key::Right);
                      });
    }
    g.script.then([&] { return g.inPlay(); },
                  [&] {
                      record();
                      g.type("mhk"); // small letters: nothing
                  });
    g.script.then([&] { return g.inPlay(); },
                  [&] {
                      record();
                      g.type("K"); // the capital acts as the left arrow
                  });
    g.script.then([&] { return g.inPlay(); },
                  [&] {
                      record();
                      g.h.platform.close_window();
                  });
    g.run();
    ASSERT_TRUE(g.script.finished()) << "stopped at step " << g.script.reached();
    const std::vector<std::pair<std::string, int>> expected = {
        {"NORD ", 15}, {"E S T", 10}, {"S U D", 11}, {"OVEST", 12},
        {"NORD ", 15}, {"NORD ", 15}, {"OVEST", 12}};
    EXPECT_EQ(words, expected);
    EXPECT_EQ(g.st.player.playerRow, 9) << "h moved nobody";
}

// The idle loop is paced: the X-ray aid, 25 664 passes long, lasts about 13 s of clock
// time, and the gauge loses a block about every 1.6 s.
TEST(MainFlow, XrayAidLastsAboutThirteenSeconds)
{
    GameRun g(0, 1);
    g.startPlaying();
    double startMs = 0, endMs = 0, firstBlockMs = 0;
    g.script.then([&] { return g.inPlay(); },
                  [&] {
                      g.st.player.xrayOn = 1; // as the eye would switch it on
                      startMs = g.h.platform.ticks_ms();
                  });
    g.script.then([&] { return g.st.player.xrayUsed == 51; },
                  [&] { firstBlockMs = g.h.platform.ticks_ms(); });
    g.script.then([&] { return g.st.player.xrayOn == 0; },
                  [&] {
                      endMs = g.h.platform.ticks_ms();
                      g.h.platform.close_window();
                  });
    g.run();
    ASSERT_TRUE(g.script.finished()) << "stopped at step " << g.script.reached();
    EXPECT_NEAR((endMs - startMs) / 1000.0, 25664 / 2000.0, 0.3);
    EXPECT_NEAR((firstBlockMs - startMs) / 1000.0, 51 * 64 / 2000.0, 0.1);
}

// Level 1 from its start to its exit and into level 2, by the keys a player would press:
// up the east corridor, west along row 2, down to row 4 and up to the key at (1, 2); back
// to (5, 5) facing the door at (6, 5), through it, and round to the exit at (6, 1).
TEST(MainFlow, WalkLevelOneToTheExitAndIntoLevelTwo)
{
    GameRun g(0, 1);
    g.startPlaying();
    const std::string keys = "HHHHHHH"
                             "K"
                             "HHHHH"
                             "K"
                             "HH"
                             "M"
                             "HH"
                             "M"
                             "HH" // (2, 2) facing the key
                             "MM"
                             "HH"
                             "K"
                             "HHH"
                             "M"
                             "H" // (5, 5) facing the door
                             "HHH"
                             "M"
                             "HH"
                             "M"
                             "HH"
                             "K"
                             "HH"; // onto the exit
    bool keyTakenOnTheWay = false;
    bool doorOpenedOnTheWay = false;
    std::string levelLine;
    for (char k : keys) {
        g.script.then([&] { return g.inPlay() && g.st.level.levelNumber == 1; },
                      [&, k] {
                          keyTakenOnTheWay = keyTakenOnTheWay || g.st.player.keyTaken == 1;
                          doorOpenedOnTheWay = doorOpenedOnTheWay || g.st.player.doorOpened == 1;
                          g.press(k == 'H' ? Key::Up : k == 'K' ? Key::Left : Key::Right);
                      });
    }
    g.script.then([&] { return g.inPlay() && g.st.level.levelNumber == 2; },
                  [&] {
                      levelLine = g.text(20, 27, 24, 11);
                      g.h.platform.close_window();
                  });
    g.run();
    ASSERT_TRUE(g.script.finished())
        << "stopped at step " << g.script.reached() << " at (" << g.st.player.playerRow << ", "
        << g.st.player.playerCol << ")";
    EXPECT_TRUE(keyTakenOnTheWay);
    EXPECT_TRUE(doorOpenedOnTheWay);
    EXPECT_EQ(g.st.level.levelName, "Di Archimede:");
    EXPECT_EQ(levelLine, "Muvesecky Di Archimede: ");
    EXPECT_EQ(g.st.player.playerRow, 13);
    EXPECT_EQ(g.st.player.playerCol, 13);
    EXPECT_EQ(g.st.level.canSave, 1);
    EXPECT_EQ(g.st.level.wallColour, 2);
    EXPECT_EQ(g.st.player.keyTaken, 0);
    EXPECT_EQ(g.st.player.doorOpened, 0);
}

// Puts the player next to the level's exit facing north, so that a left turn and a step
// forward finish the level.
void besideTheExit(GameRun& g, int row)
{
    g.st.player.playerRow = static_cast<game::i16>(row);
    g.st.player.playerCol = 2;
    g.st.scan.scanRow = static_cast<game::i16>(row);
    g.st.scan.scanCol = 2;
}

TEST(MainFlow, CompletingLevelNineLeadsToLevelTenWithASave)
{
    GameRun g(1, 9);
    g.startPlaying();
    g.script.then([&] { return g.atTitle(); }, [&] { g.type("L"); });
    g.script.then([&] { return g.inPlay(); },
                  [&] {
                      besideTheExit(g, 3);
                      g.press(Key::Left);
                  });
    g.script.then([&] { return g.inPlay(); }, [&] { g.press(Key::Up); });
    std::string name;
    std::string ctrl;
    g.script.then([&] { return g.inPlay() && g.st.level.levelNumber == 10; },
                  [&] {
                      name = g.st.level.levelName;
                      ctrl = g.text(19, 70, 4, 14);
                      g.h.platform.press_key(Key::S, false, true);
                  });
    g.script.then([&] { return g.inPlay() && g.st.level.canSave == 0; },
                  [&] { g.h.platform.close_window(); });
    g.run();
    ASSERT_TRUE(g.script.finished()) << "stopped at step " << g.script.reached();
    EXPECT_EQ(name, "Gigante:");
    EXPECT_EQ(g.st.level.mazeSize, 32);
    EXPECT_EQ(ctrl, "Ctrl") << "the save hint lit";
    EXPECT_EQ(g.st.level.wallColour, 6) << "level 9's 3 advanced: 4 becomes 6";
    EXPECT_EQ(g.started("live1.ogg") + g.started("Labini.ogg"), 1) << "music after a level";
    EXPECT_EQ(testing_support::read_file(g.dir.path() / "LEVEL.MGS"), "\"\x95\"\r\n");
}

TEST(MainFlow, CompletingLevelTenIsVictory)
{
    GameRun g(1, 10);
    g.startPlaying();
    g.script.then([&] { return g.atTitle(); }, [&] { g.type("l"); });
    g.script.then([&] { return g.inPlay(); },
                  [&] {
                      besideTheExit(g, 4);
                      g.press(Key::Left);
                  });
    g.script.then([&] { return g.inPlay(); }, [&] { g.press(Key::Up); });
    std::string message;
    std::string prompt;
    g.script.then([&] { return g.endPrompt(); },
                  [&] {
                      message = g.text(23, 27, 25, 14);
                      prompt = g.lastRow();
                      g.press(Key::Space);
                  });
    const int code = g.run();
    ASSERT_TRUE(g.script.finished()) << "stopped at step " << g.script.reached();
    EXPECT_EQ(code, 0);
    EXPECT_EQ(message, "   Bravo, hai vinto!!!   ");
    EXPECT_NE(prompt.find("Press any key to continue"), std::string::npos);
    EXPECT_EQ(g.started("Vittoria.ogg"), 1);
    EXPECT_EQ(g.st.level.levelNumber, 10);
}

TEST(MainFlow, LeavingFromTheTitleEndsInTextMode)
{
    GameRun g(1, 1);
    g.script.then([&] { return g.atSoundChoice(); }, [&] { g.type("\r"); });
    g.script.then([&] { return g.atTitle(); },
                  [&] {
                      g.press(Key::Left);
                      g.type(" ");
                  });
    int modeAtPrompt = -1;
    g.script.then([&] { return g.endPrompt(); },
                  [&] {
                      modeAtPrompt = g.mode();
                      g.press(Key::Enter);
                  });
    const int code = g.run();
    ASSERT_TRUE(g.script.finished()) << "stopped at step " << g.script.reached();
    EXPECT_EQ(code, 0);
    EXPECT_EQ(modeAtPrompt, 0);
    EXPECT_EQ(g.started("Finale.ogg"), 1);
    EXPECT_EQ(g.st.level.mazeSize, 0) << "no level was read";
}

} // namespace
