// The player's window choice: the launcher's options and the remembered file, whose damage
// must give today's window, never a strange one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/platform/sdl/window_choice.h"
#include "tests/support/harness.h"

namespace {

TEST(WindowChoice, OptionsMakeTheChoiceAndAnythingElseIsRefused)
{
    const struct {
        std::vector<const char*> args;
        bool ok;
        int scale;
        bool aspect, fullscreen;
    } runs[] = {{{"--scale", "3", "--aspect"}, true, 3, true, false},
                {{"--fullscreen"}, true, 1, false, true},
                {{"--scale", "8"}, true, 8, false, false},
                {{"--scale", "9"}, false, 1, false, false},
                {{"--scale", "0"}, false, 1, false, false},
                {{"--scale", "22"}, false, 1, false, false},
                {{"--scale"}, false, 1, false, false},
                {{"--big"}, false, 1, false, false}};
    for (const auto& run : runs) {
        std::vector<const char*> argv = {"muvesecky"};
        argv.insert(argv.end(), run.args.begin(), run.args.end());
        svc::WindowChoice c;
        std::string error;
        const bool ok =
            svc::parse_window_options(static_cast<int>(argv.size()), argv.data(), c, error);
        EXPECT_EQ(ok, run.ok) << argv.back();
        EXPECT_EQ(error.empty(), run.ok) << argv.back();
        if (ok) {
            EXPECT_TRUE(c.chosen);
            EXPECT_EQ(c.scale, run.scale) << argv.back();
            EXPECT_EQ(c.aspect, run.aspect) << argv.back();
            EXPECT_EQ(c.fullscreen, run.fullscreen) << argv.back();
        }
    }
}

TEST(WindowChoice, TheRememberedFileReadsBackAndDamageGivesNoChoice)
{
    testing_support::TempDir dir;
    EXPECT_FALSE(svc::read_window_choice("finestra.cfg").chosen); // missing
    EXPECT_FALSE(svc::write_window_choice("no-folder/finestra.cfg", {}));
    for (const int scale : {1, svc::kMaxWindowScale}) { // the smallest and the largest
        const bool big = scale > 1;
        ASSERT_TRUE(svc::write_window_choice("finestra.cfg", {true, scale, big, !big}));
        const svc::WindowChoice back = svc::read_window_choice("finestra.cfg");
        EXPECT_TRUE(back.chosen && back.scale == scale && back.aspect == big &&
                    back.fullscreen != big);
    }
    for (const char* damaged : {"", "2 1", "2 1 0 7", "0 1 0", "9 0 0", "2 2 0", "2 0 -1", "x"}) {
        testing_support::write_file("finestra.cfg", std::string(damaged) + "\n");
        const svc::WindowChoice c = svc::read_window_choice("finestra.cfg");
        EXPECT_FALSE(c.chosen) << '"' << damaged << '"';
        EXPECT_EQ(c.scale, 1) << '"' << damaged << '"';
    }
}

} // namespace
