// The saved level "LEVEL.MGS": what a saved file gives, damaged ones included, and a save that
// cannot be completed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/saved_level.h"
#include "services/window/window_loop.h"
#include "tests/support/harness.h"

namespace {

using testing_support::read_file;
using testing_support::write_file;

std::string saved(int levelByte)
{
    return std::string("\x22") + static_cast<char>(levelByte) + "\x22\x0D\x0A";
}

struct SavedLevelRun {
    testing_support::TempDir dir;
    testing_support::Harness h;
    std::unique_ptr<game::GameState> st = std::make_unique<game::GameState>();

    SavedLevelRun() { h.platform.closeAfterMs = h.platform.ticks_ms() + 120000; }
    svc::Services& sv() { return h.sv(); }
};

// "-Salvato-" is the only yellow in the save box (row 22 from column 68).
bool saved_message_shown(const svc::ScreenImage& img)
{
    for (int y = 168; y < 176; ++y) {
        for (int x = 536; x < 624; ++x) {
            if (img.pixel(x, y) == svc::kYellow) {
                return true;
            }
        }
    }
    return false;
}

TEST(ReadSavedLevel, GivesTheLevelOrLevelOneForMissingAndDamagedFilesWithoutADialog)
{
    struct Case {
        const char* name;
        const char* contents; // nullptr: no file
        std::size_t size;
        int level;
    };
    const Case cases[] = {
        {"missing", nullptr, 0, 1},
        {"level 1", "\"\x8C\"\r\n", 5, 1},
        {"level 5", "\"\x90\"\r\n", 5, 5},
        {"level 10", "\"\x95\"\r\n", 5, 10},
        {"without quotes", "\x8E\r\n", 3, 3},
        {"byte of level 0", "\"\x8B\"\r\n", 5, 1},
        {"byte of level 11", "\"\x96\"\r\n", 5, 1},
        {"byte 255", "\"\xFF\"\r\n", 5, 1},
        {"empty file", "", 0, 1},
        {"empty item", "\"\"\r\n", 4, 1},
        {"line end only", "\r\n", 2, 1},
        {"blanks only", "   ", 3, 1},
        {"garbage", "\x01\x02junk,\x00\x90", 10, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SavedLevelRun r;
        if (c.contents != nullptr) {
            write_file("LEVEL.MGS", std::string(c.contents, c.size));
        }
        r.st->level.levelNumber = 7;
        ASSERT_EQ(r.h.run([&] { game::ReadSavedLevel(r.sv(), *r.st); }), -1);
        EXPECT_EQ(r.st->level.levelNumber, c.level);
        EXPECT_EQ(r.sv().pending_error(), 0);
        // File 1 was closed on every path: it can be opened again.
        r.sv().open_file("other", svc::FileMode::Output, 1);
        EXPECT_EQ(r.sv().pending_error(), 0);
        r.sv().close_all_files();
    }

    // A saved level that is there but cannot be read is not taken for a fresh start: its
    // error stays for the dialog, then level 1 is played.
    SavedLevelRun folder;
    std::filesystem::create_directory("LEVEL.MGS");
    ASSERT_EQ(folder.h.run([&] { game::ReadSavedLevel(folder.sv(), *folder.st); }), -1);
    EXPECT_EQ(folder.st->level.levelNumber, 1);
    EXPECT_EQ(folder.sv().pending_error(), svc::kPathFileAccess);
}

TEST(SaveLevel, AFailedSaveKeepsTheOldFileAndTheSaveOnOffer)
{
    namespace fs = std::filesystem;
    for (const bool readOnly : {false, true}) {
        if (readOnly && ::geteuid() == 0) {
            continue;
        }
        SCOPED_TRACE(readOnly ? "read-only folder" : "a folder in the new file's place");
        SavedLevelRun r;
        r.sv().set_screen_mode(8);
        write_file("LEVEL.MGS", saved(141));
        const fs::perms readAndEnter = fs::perms::owner_read | fs::perms::owner_exec;
        readOnly ? fs::permissions(r.dir.path(), readAndEnter)
                 : static_cast<void>(fs::create_directory(".LEVEL.MGS.tmp"));
        r.st->level.levelNumber = 4;
        r.st->level.canSave = 1;
        std::vector<int> dialogs;
        bool savedShown = false;
        r.h.platform.onPass = [&] {
            svc::WindowLoop::Buttons b{};
            if (r.sv().window().dialog_buttons(b) && !r.h.platform.events_pending()) {
                dialogs.push_back(r.sv().pending_error());
                r.h.platform.press_key(svc::Key::Y);
            }
            savedShown |= saved_message_shown(r.h.screen());
        };
        ASSERT_EQ(r.h.run([&] { game::SaveLevel(r.sv(), *r.st); }), -1);
        const int first = readOnly ? svc::kPermissionDenied : svc::kPathFileAccess;
        EXPECT_EQ(dialogs, (std::vector<int>{first, svc::kBadFileNumber}));
        EXPECT_FALSE(savedShown);
        EXPECT_EQ(r.st->level.canSave, 1);
        EXPECT_EQ(read_file("LEVEL.MGS"), saved(141));

        readOnly ? fs::permissions(r.dir.path(), fs::perms::owner_all)
                 : static_cast<void>(fs::remove(".LEVEL.MGS.tmp"));
        ASSERT_EQ(r.h.run([&] { game::SaveLevel(r.sv(), *r.st); }), -1);
        EXPECT_TRUE(savedShown);
        EXPECT_EQ(r.st->level.canSave, 0);
        EXPECT_EQ(read_file("LEVEL.MGS"), saved(143));
    }
}

} // namespace
