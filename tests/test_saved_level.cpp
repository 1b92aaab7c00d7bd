// The saved level "LEVEL.MGS": what a saved file gives, damaged ones included, and a save that
// cannot be completed, at whichever step it fails.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/saved_level.h"
#include "services/window/window_loop.h"
#include "tests/support/harness.h"

namespace {

// Set to an error number, the writing, closing or renaming of a new "LEVEL.MGS" fails with it,
// as a full or failing disk makes them fail. A file that fails to close is still closed.
int writeFailure = 0, closeFailure = 0, renameFailure = 0;

bool is_new_save(std::string_view path)
{
    return path.ends_with(".LEVEL.MGS.tmp");
}

bool is_new_save(int fd)
{
    char name[PATH_MAX] = {};
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    return ::readlink(link.c_str(), name, sizeof name - 1) > 0 && is_new_save(name);
}

template <class Fn> Fn* real(const char* name)
{
    return reinterpret_cast<Fn*>(::dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" ssize_t write(int fd, const void* data, size_t size)
{
    static const auto realWrite = real<ssize_t(int, const void*, size_t)>("write");
    if (writeFailure != 0 && is_new_save(fd)) {
        errno = writeFailure;
        return -1;
    }
    return realWrite(fd, data, size);
}

extern "C" int close(int fd)
{
    static const auto realClose = real<int(int)>("close");
    const bool fail = closeFailure != 0 && is_new_save(fd);
    const int result = realClose(fd);
    if (fail) {
        errno = closeFailure;
        return -1;
    }
    return result;
}

extern "C" int rename(const char* from, const char* to) noexcept
{
    static const auto realRename = real<int(const char*, const char*)>("rename");
    if (renameFailure != 0 && is_new_save(from)) {
        errno = renameFailure;
        return -1;
    }
    return realRename(from, to);
}

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
        // Levels 1 to 10 and byte 151 (level 12) are read by the golden runs' starts.
        {"without quotes", "\x8E\r\n", 3, 3},
        {"byte of level 0", "\"\x8B\"\r\n", 5, 1},
        {"byte of level 11", "\"\x96\"\r\n", 5, 1},
        {"empty file", "", 0, 1},
        {"empty item", "\"\"\r\n", 4, 1},
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
    // error stays for the dialog, then level 1 is played. A pipe does not hold the game up.
    for (const bool pipe : {false, true}) {
        SavedLevelRun odd;
        pipe ? static_cast<void>(::mkfifo("LEVEL.MGS", 0644))
             : static_cast<void>(std::filesystem::create_directory("LEVEL.MGS"));
        ASSERT_EQ(odd.h.run([&] { game::ReadSavedLevel(odd.sv(), *odd.st); }), -1);
        EXPECT_EQ(odd.st->level.levelNumber, 1);
        EXPECT_EQ(odd.sv().pending_error(), svc::kPathFileAccess);
    }
}

TEST(SaveLevel, AFailedSaveKeepsTheOldFileAndTheSaveOnOffer)
{
    namespace fs = std::filesystem;
    struct Case {
        const char* name;
        std::vector<int> dialogs; // the errors shown, each answered Yes
        std::function<void()> spoil, mend;
        bool refusedToRoot = false;
    };
    const Case cases[] = {
        {"a folder in the new file's place",
         {svc::kPathFileAccess, svc::kBadFileNumber},
         [] { fs::create_directory(".LEVEL.MGS.tmp"); },
         [] { fs::remove(".LEVEL.MGS.tmp"); }},
        {"a read-only folder",
         {svc::kPermissionDenied, svc::kBadFileNumber},
         [] { fs::permissions(".", fs::perms::owner_read | fs::perms::owner_exec); },
         [] { fs::permissions(".", fs::perms::owner_all); },
         true},
        {"a full disk",
         {svc::kPathFileAccess},
         [] { writeFailure = ENOSPC; },
         [] { writeFailure = 0; }},
        {"the new file written but not closed",
         {svc::kDeviceUnavailable},
         [] { closeFailure = EIO; },
         [] { closeFailure = 0; }},
        {"the new file closed but not put in the old one's place",
         {svc::kPermissionDenied},
         [] { renameFailure = EACCES; },
         [] { renameFailure = 0; }},
    };
    for (const Case& c : cases) {
        if (c.refusedToRoot && ::geteuid() == 0) {
            continue;
        }
        SCOPED_TRACE(c.name);
        SavedLevelRun r;
        r.sv().set_screen_mode(8);
        write_file("LEVEL.MGS", saved(141));
        c.spoil();
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
            // "-Salvato-" is the only yellow in the save box (row 22 from column 68).
            savedShown |=
                testing_support::count_colour(r.h.screen(), svc::kYellow, 536, 168, 623, 175) > 0;
        };
        ASSERT_EQ(r.h.run([&] { game::SaveLevel(r.sv(), *r.st); }), -1);
        c.mend();
        EXPECT_EQ(dialogs, c.dialogs);
        EXPECT_FALSE(savedShown);
        EXPECT_EQ(r.st->level.canSave, 1);
        EXPECT_EQ(read_file("LEVEL.MGS"), saved(141));
        EXPECT_FALSE(fs::exists(".LEVEL.MGS.tmp"));

        ASSERT_EQ(r.h.run([&] { game::SaveLevel(r.sv(), *r.st); }), -1);
        EXPECT_TRUE(savedShown);
        EXPECT_EQ(r.st->level.canSave, 0);
        EXPECT_EQ(read_file("LEVEL.MGS"), saved(143));
    }
}

} // namespace
