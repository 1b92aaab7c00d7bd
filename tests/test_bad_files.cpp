// Damaged files in the data folder, played through the whole program: every picture, the
// saved level, the sound choice and the music files spoilt the ways a bad disk or a careless
// player leaves them (docs/robustness.md sums up what happens).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/program.h"
#include "services/common/errors.h"
#include "services/window/window_loop.h"
#include "support/harness.h"

namespace fs = std::filesystem;
using testing_support::read_file;
using testing_support::write_file;

namespace {

// What one damaged folder did to the game.
struct Outcome {
    std::vector<int> errors;     // the error dialogs shown, in order (each answered Yes)
    bool reachedPlay = false;    // a level's corridor was drawn
    int exitCode = -1;           // the program's exit code (0: ended by the window's close)
    bool savedLevelKept = false; // LEVEL.MGS as it was before the run
    std::size_t musicFiles = 0;  // music files handed to the sound card
    bool leftovers = false;      // a hidden new file of LEVEL.MGS or sound.cop remained
};

// Runs the whole program in a copy of the data folder spoilt by `damage`, answering every
// error dialog Yes, confirming the sound choice and the title, and stopping at the first
// corridor picture (or after two virtual minutes).
Outcome play_with(const std::function<void(const fs::path&)>& damage, int soundChoice = 0)
{
    testing_support::Harness h;
    testing_support::TempDir dir;
    testing_support::lay_out_game_folder(dir.path(), soundChoice, 3); // level 3: a loss shows
    damage(dir.path());
    const fs::path saved = dir.path() / "LEVEL.MGS";
    const bool savedIsFile = fs::is_regular_file(saved);
    const std::string savedBefore = savedIsFile ? read_file(saved) : std::string();

    Outcome out;
    int step = 0;  // 0 sound choice, 1 title, 2 level menu, 3 playing
    int quiet = 0; // passes since the last dialog or key: a screen waits for its key
    h.platform.onPass = [&] {
        svc::WindowLoop::Buttons b{};
        if (h.platform.events_pending() || !h.sv().keys().empty()) {
            quiet = 0;
            return;
        }
        if (h.sv().window().dialog_buttons(b)) {
            out.errors.push_back(h.sv().pending_error());
            h.platform.press_key(svc::Key::Y);
            quiet = 0;
            return;
        }
        const int mode = h.screen().mode();
        if (mode == 8 && !out.reachedPlay) {
            out.reachedPlay = true;
            h.platform.close_window();
        }
        if (++quiet < 40) {
            return;
        }
        quiet = 0;
        if (step == 0 && mode == 0) {
            h.platform.press_key(svc::Key::Enter);
            step = 1;
        } else if (step == 1 && mode == 12) {
            h.platform.press_key(svc::Key::Space);
            step = 2;
        } else if (step == 2 && mode == 12) {
            h.platform.press_key(svc::Key::N); // a new game at the level menu
            step = 3;
        }
    };
    h.platform.closeAfterMs = 2 * 60 * 1000.0;
    out.exitCode = game::run_program(h.sv());
    h.platform.onPass = nullptr;

    out.savedLevelKept = savedIsFile ? fs::is_regular_file(saved) && read_file(saved) == savedBefore
                                     : !fs::is_regular_file(saved);
    out.leftovers =
        fs::exists(dir.path() / ".LEVEL.MGS.tmp") || fs::exists(dir.path() / ".sound.cop.tmp");
    out.musicFiles = h.platform.audio.files.size();
    return out;
}

// A named pipe in the file's place: opening it to read would wait for a writer for ever.
void make_pipe(const fs::path& p)
{
    fs::remove(p);
    ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0);
}

// The damages tried on a picture.
const std::map<std::string, std::function<void(const fs::path&)>> kPictureDamage = {
    {"empty", [](const fs::path& p) { write_file(p, ""); }},
    {"a pipe", make_pipe}, // refused, not waited on
    {"wrong first byte",
     [](const fs::path& p) {
         std::string b = read_file(p);
         b[0] = '\xFE';
         write_file(p, b);
     }},
};

std::string binary_garbage(std::size_t n)
{
    std::string s(n, '\0');
    unsigned x = 12345;
    for (char& c : s) {
        x = x * 1103515245 + 12345;
        c = static_cast<char>(x >> 16);
    }
    return s;
}

// Every picture, with the damages taken in turn: the load refuses it with "Bad file mode",
// the player's Yes lets the game go on to play, and nothing else is touched.
TEST(BadFiles, EveryDamagedPictureIsRefusedAsABadFileAndTheGamePlaysOn)
{
    std::size_t turn = 0;
    // The pictures: the thirteen of every level start and those of the title screen.
    for (const fs::path& picture : testing_support::files_ending(MUV_DATA_DIR, ".grh")) {
        const std::string name = picture.filename().string();
        const auto& [damage, spoil] =
            *std::next(kPictureDamage.begin(), turn++ % kPictureDamage.size());
        const Outcome o = play_with([&, &spoil = spoil](const fs::path& d) { spoil(d / name); });
        EXPECT_EQ(o.exitCode, 0) << name << ", " << damage;
        EXPECT_EQ(std::set<int>(o.errors.begin(), o.errors.end()), std::set<int>{svc::kBadFileMode})
            << name << ", " << damage;
        EXPECT_TRUE(o.reachedPlay) << name << ", " << damage;
        EXPECT_TRUE(o.savedLevelKept) << name << ", " << damage;
    }
}

// The sound choice spoilt: reported, then the choice is stored afresh on Enter (a folder in
// its place cannot be replaced and is reported again).
TEST(BadFiles, DamagedSoundChoiceIsReportedAndTheGamePlaysOn)
{
    // A folder or a pipe is refused when read, then again when the choice is stored on Enter.
    const std::vector<int> odd = {svc::kPathFileAccess, svc::kBadFileNumber, svc::kPathFileAccess,
                                  svc::kBadFileNumber};
    const struct {
        const char* damage;
        std::function<void(const fs::path&)> spoil;
        std::vector<int> errors; // empty: whatever the garbage reads as
    } runs[] = {
        {"empty", [](const fs::path& p) { write_file(p, ""); }, {svc::kInputPastEnd}},
        {"binary garbage", [](const fs::path& p) { write_file(p, binary_garbage(4096)); }, {}},
        {"a directory",
         [](const fs::path& p) {
             fs::remove(p);
             fs::create_directory(p);
         },
         odd},
        {"missing",
         [](const fs::path& p) { fs::remove(p); },
         {svc::kFileNotFound, svc::kBadFileNumber}},
        {"a pipe", make_pipe, odd},
    };
    for (const auto& run : runs) {
        const Outcome o = play_with([&](const fs::path& d) { run.spoil(d / "sound.cop"); });
        EXPECT_EQ(o.exitCode, 0) << run.damage;
        EXPECT_TRUE(o.reachedPlay) << run.damage;
        EXPECT_TRUE(o.savedLevelKept) << run.damage;
        if (!run.errors.empty()) {
            EXPECT_EQ(o.errors, run.errors) << run.damage;
        }
    }
}

// No read permission: only meaningful for a user the permission binds (root reads anything).
TEST(BadFiles, UnreadableSmallFilesAreReportedAsPermissionDenied)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads files of mode 000 (ctest runs this again as nobody)";
    }
    for (const std::string file : {"LEVEL.MGS", "sound.cop"}) {
        const Outcome o = play_with([&](const fs::path& d) {
            fs::permissions(d / file, fs::perms::none, fs::perm_options::replace);
        });
        EXPECT_EQ(o.exitCode, 0) << file;
        EXPECT_GE(std::count(o.errors.begin(), o.errors.end(), svc::kPermissionDenied), 1) << file;
        EXPECT_TRUE(o.savedLevelKept) << file;
    }
}

// A kill while saving leaves the new file half-made beside the old one; the next start
// removes it and the old file plays on.
TEST(BadFiles, LeftoversOfAnInterruptedSaveAreRemovedAtTheNextStart)
{
    const Outcome o = play_with([](const fs::path& d) {
        write_file(d / ".LEVEL.MGS.tmp", "\"\x8F");
        make_pipe(d / ".sound.cop.tmp"); // the sound choice's store would wait on it
    });
    EXPECT_FALSE(o.leftovers);
    EXPECT_TRUE(o.errors.empty());
    EXPECT_TRUE(o.savedLevelKept);
}

// Every music file a pipe, with the sound card chosen: refused before the decoder is reached
// (MusicFiles has the decoder refuse a damaged file without raising anything), and play goes on
// without a dialog.
TEST(BadFiles, MusicFilesThatArePipesAreIgnoredWithoutADialog)
{
    const Outcome o = play_with(
        [](const fs::path& d) {
            for (const fs::path& music : testing_support::files_ending(d, ".ogg")) {
                make_pipe(music);
            }
        },
        1);
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_TRUE(o.errors.empty());
    EXPECT_TRUE(o.reachedPlay);
    EXPECT_EQ(o.musicFiles, 0u);
}

} // namespace
