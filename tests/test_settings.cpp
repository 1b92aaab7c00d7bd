// The player's settings: the command line read through the table, the settings file (damage
// costs only the damaged line, other lines are kept), the window choice carried over from
// finestra.cfg, and the whole-or-nothing writing they share with screenshots.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "services/files/safe_write.h"
#include "services/settings/settings.h"
#include "tests/support/harness.h"

namespace {

namespace fs = std::filesystem;
using testing_support::read_file;
using testing_support::TempDir;
using testing_support::write_file;

struct Window {
    bool chosen;
    int scale, aspect, fullscreen;
    bool operator==(const Window&) const = default;
};
Window window_of(const svc::Settings& s)
{
    return {s.windowChosen, s.scale, s.aspect, s.fullscreen};
}

TEST(Settings, TheCommandLineGoesThroughTheTable)
{
    using Ask = svc::CommandLine::Ask;
    const struct {
        std::vector<const char*> args;
        Ask ask;
        const char* error;
        Window window; // from a remembered scale 3 in full screen
    } runs[] = {
        {{}, Ask::Play, "", {true, 3, 0, 1}},
        {{"--scale", "2", "--aspect"}, Ask::Play, "", {true, 2, 1, 0}},
        {{"--aspect"}, Ask::Play, "", {true, 1, 1, 0}}, // the window's choice made afresh
        {{"--scale", "8"}, Ask::Play, "", {true, 8, 0, 0}},
        {{"--scale", "9"}, Ask::Wrong, "--scale takes a whole number from 1 to 8", {}},
        {{"--scale", "0"}, Ask::Wrong, "--scale takes a whole number from 1 to 8", {}},
        {{"--scale", "03"}, Ask::Wrong, "--scale takes a whole number from 1 to 8", {}},
        {{"--scale", "-2"}, Ask::Wrong, "--scale takes a whole number from 1 to 8", {}},
        {{"--scale"}, Ask::Wrong, "--scale takes a whole number from 1 to 8", {}},
        {{"--big"}, Ask::Wrong, "unknown option '--big'", {}},
        {{""}, Ask::Wrong, "unknown option ''", {}}, // not the pad's settings of the file only
        {{"--aspect", "--help", "--big"}, Ask::Help, "", {}},
        {{"-V"}, Ask::Version, "", {}},
        {{"--big", "--version"}, Ask::Wrong, "unknown option '--big'", {}},
    };
    for (const auto& run : runs) {
        std::vector<const char*> argv = {"muvesecky"};
        argv.insert(argv.end(), run.args.begin(), run.args.end());
        const svc::CommandLine line =
            svc::parse_command_line(static_cast<int>(argv.size()), argv.data());
        const std::string what = argv.size() > 1 ? argv[1] : "(none)";
        EXPECT_EQ(line.ask, run.ask) << what;
        EXPECT_EQ(line.error, run.error) << what;
        if (run.ask == Ask::Play) {
            svc::Settings s;
            s.scale = 3;
            s.fullscreen = 1;
            s.windowChosen = true;
            svc::apply_command_line(line, s);
            EXPECT_EQ(window_of(s), run.window) << what;
        } else {
            EXPECT_TRUE(line.given.empty()) << what;
        }
    }
    // The help lists every option of the table; a fresh Settings holds the table's defaults.
    for (const svc::Option& o : svc::kOptions) {
        EXPECT_NE(svc::options_help().find(o.flag), std::string::npos) << o.flag;
        EXPECT_EQ(svc::Settings{}.*o.field, o.fallback) << o.flag;
    }
}

TEST(Settings, TheFileReadsBackAndADamagedLineCostsOnlyItself)
{
    TempDir dir;
    svc::Settings none;
    EXPECT_TRUE(svc::read_settings("impostazioni.cfg", none).empty()); // missing: no problem
    EXPECT_EQ(window_of(none), (Window{false, 1, 0, 0}));
    // A new file written and read back: TheOldWindowChoiceIsCarriedOverOnce.
    write_file("impostazioni.cfg", "# mine\r\n"
                                   "scala = 3\n"
                                   "formato_4_3 = forse\n"
                                   "schermo_intero\n"
                                   "  lingua = it  \n"
                                   "scala = 12\n"
                                   "schermo_intero=si\n"
                                   "pulsante_a = esc\n"
                                   "dorsale_destro = salta\n"
                                   "\n");
    svc::Settings s;
    EXPECT_EQ(svc::read_settings("impostazioni.cfg", s),
              (std::vector<std::string>{
                  "impostazioni.cfg: line 3: formato_4_3 takes si or no, ignored",
                  "impostazioni.cfg: line 4: not \"key = value\", ignored",
                  "impostazioni.cfg: line 6: scala takes a whole number from 1 to 8, ignored",
                  "impostazioni.cfg: line 9: dorsale_destro takes one of niente, invio, esc, "
                  "spazio, su, giu, sinistra, destra, n, l, x, ctrl_s, ignored"}));
    EXPECT_EQ(window_of(s), (Window{true, 3, 0, 1}));
    // Written again: the comment, the other version's key and the damaged line stay; the
    // known keys get their values where they stand, the missing ones after them.
    s.aspect = 1;
    s.padB = svc::pad_key("niente");
    ASSERT_EQ(svc::write_settings("impostazioni.cfg", s), "");
    const std::string text = read_file("impostazioni.cfg");
    EXPECT_EQ(text.substr(0, text.find("\n#", 8)), "# mine\r\n"
                                                   "scala = 3\n"
                                                   "formato_4_3 = si\n"
                                                   "schermo_intero\n"
                                                   "  lingua = it  \n"
                                                   "scala = 3\n"
                                                   "schermo_intero = si\n"
                                                   "pulsante_a = esc\n"
                                                   "dorsale_destro = ctrl_s\n");
    EXPECT_NE(text.find("\npulsante_b = niente\n"), std::string::npos);
}

TEST(Settings, TheOldWindowChoiceIsCarriedOverOnce)
{
    const struct {
        const char* old; // finestra.cfg, nullptr: none
        Window window;
        const char* told; // the start's one problem, "" for none
        bool carried;     // impostazioni.cfg made
    } runs[] = {
        {nullptr, {false, 1, 0, 0}, "", false},
        {"2 1 0\n", {true, 2, 1, 0}, "", true},
        {"8 0 1", {true, 8, 0, 1}, "", true},
        {"2 1 x\n", {false, 1, 0, 0}, "finestra.cfg: not a window choice", false},
        {"9 0 0\n", {false, 1, 0, 0}, "finestra.cfg: not a window choice", false},
        {"2 1 0 7\n", {false, 1, 0, 0}, "finestra.cfg: not a window choice", false},
    };
    for (const auto& run : runs) {
        TempDir dir;
        if (run.old != nullptr) {
            write_file("finestra.cfg", run.old);
        }
        std::vector<std::string> problems;
        EXPECT_EQ(window_of(svc::load_settings(problems)), run.window) << run.old;
        EXPECT_EQ(problems.empty() ? "" : problems[0].substr(0, std::string(run.told).size()),
                  run.told);
        EXPECT_LE(problems.size(), 1u);
        EXPECT_EQ(fs::exists("impostazioni.cfg"), run.carried) << run.old;
        // Carried over, the old file goes; damaged, it stays.
        EXPECT_EQ(fs::exists("finestra.cfg"), run.old != nullptr && !run.carried) << run.old;
        if (run.carried) { // the new file is read from now on
            write_file("finestra.cfg", "1 0 0\n");
            svc::Settings again = svc::load_settings(problems);
            EXPECT_EQ(window_of(again), run.window);
        }
    }
}

// Each start with an odd file in place of a settings file ends at once, telling it.
TEST(Settings, OddFilesAreToldNeverWaitedOnOrReadForEver)
{
    const std::string odd = "impostazioni.cfg: not a regular file";
    const struct {
        std::function<void()> make;
        std::string told;
    } runs[] = {
        {[] { ::mkfifo("finestra.cfg", 0644); }, "finestra.cfg: not a regular file"},
        {[] { ::mkfifo("impostazioni.cfg", 0644); }, odd},
        {[] { fs::create_symlink("/dev/zero", "impostazioni.cfg"); }, odd},
        {[] { fs::create_directory("impostazioni.cfg"); }, odd},
        {[] { write_file("impostazioni.cfg", "scala = 2\n" + std::string(64 * 1024, '#')); },
         "impostazioni.cfg: longer than 64 KiB, not read"},
    };
    for (const auto& run : runs) {
        TempDir dir;
        run.make();
        std::vector<std::string> problems;
        EXPECT_EQ(window_of(svc::load_settings(problems)), (Window{false, 1, 0, 0}));
        EXPECT_EQ(problems, std::vector<std::string>{run.told});
    }
}

TEST(SafeWrite, OddNamesAreRefusedAndNothingIsWrittenThroughALink)
{
    TempDir dir;
    write_file("notes.txt", "mine\n");
    const std::string notes = fs::absolute("notes.txt");
    const struct {
        const char* setup; // what stands at the target's name or at its hidden file's
        std::function<void()> make;
        std::string told; // "" when the file is written
    } runs[] = {
        {"nothing", [] {}, ""},
        {"pipe", [] { ::mkfifo("x.cfg", 0644); }, "x.cfg: not a regular file"},
        {"folder", [] { fs::create_directory("x.cfg"); }, "x.cfg: not a regular file"},
        {"link", [&] { fs::create_symlink(notes, "x.cfg"); }, "x.cfg: a link, left as it is"},
        {"dangling", [] { fs::create_symlink("/nowhere/x.png", "x.cfg"); },
         "x.cfg: a link, left as it is"},
        {"pending pipe", [] { ::mkfifo(".x.cfg.tmp", 0644); }, ""},
        {"pending link", [&] { fs::create_symlink(notes, ".x.cfg.tmp"); }, ""},
        {"pending hard link", [] { fs::create_hard_link("notes.txt", ".x.cfg.tmp"); }, ""},
    };
    for (const auto& run : runs) {
        fs::remove_all("x.cfg");
        fs::remove_all(".x.cfg.tmp");
        run.make();
        EXPECT_EQ(svc::write_whole_file("x.cfg", "new\n"), run.told) << run.setup;
        if (run.told.empty()) {
            EXPECT_EQ(read_file("x.cfg"), "new\n") << run.setup;
        }
        EXPECT_FALSE(fs::exists(fs::symlink_status(".x.cfg.tmp"))) << run.setup;
        EXPECT_EQ(read_file("notes.txt"), "mine\n") << run.setup;
    }
    EXPECT_EQ(svc::write_whole_file("../x.cfg", "new\n"),
              "../x.cfg: not a name in the game folder");
}

// As the plain user (permissions_as_player): a read-only game folder is told.
TEST(SafeWrite, ARefusedFolderIsTold)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "the superuser is never refused";
    }
    TempDir dir;
    fs::permissions(".", fs::perms::owner_read | fs::perms::owner_exec);
    const std::string told = svc::write_settings("impostazioni.cfg", svc::Settings{});
    fs::permissions(".", fs::perms::owner_all);
    EXPECT_EQ(told, ".impostazioni.cfg.tmp: Permission denied");
    EXPECT_FALSE(fs::exists("impostazioni.cfg"));
}

} // namespace
