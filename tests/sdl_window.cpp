// The real SDL back end with its own window thread (dummy video driver, no display needed):
// the two threads share the image, the key buffer and the flags without locks.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "services/platform/sdl/sdl_platform.h"
#include "services/services.h"
#include "services/window/window_loop.h"
#include "tests/support/harness.h"

using testing_support::eventually;

TEST(SdlBackEnd, WindowThreadRedrawsWhileTheGameDrawsAndChangesModes)
{
    svc::SdlPlatform platform;
    svc::Services sv(platform);
    EXPECT_TRUE(eventually([&] { return sv.window().pass_count() > 4; }));
    // The game's thread draws and switches modes while the window thread keeps redrawing;
    // the mode-change handshake must hold the refresher off each new image.
    for (int round = 0; round < 20; ++round) {
        sv.set_screen_mode(round % 2 ? 12 : 8);
        auto& s = sv.screen();
        for (int y = 0; y < s.height(); y += 3) {
            for (int x = 0; x < s.width(); x += 2) {
                s.set_pixel(x, y, static_cast<std::uint8_t>((x + y + round) & 15));
            }
        }
        s.set_palette_entry(0, svc::kDefaultPalette[round & 15]);
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
    const auto before = sv.window().pass_count();
    EXPECT_TRUE(eventually([&] { return sv.window().pass_count() > before + 4; }));
}

TEST(SdlBackEnd, KeysCrossFromTheWindowThreadThroughTheBuffer)
{
    svc::SdlPlatform platform;
    svc::Services sv(platform);
    // The window thread is the buffer's only writer; here the test plays that part from
    // its own thread while the game's thread reads.
    std::thread writer([&] {
        for (int i = 0; i < 2000; ++i) {
            while (!sv.keys().push(svc::KeyCode{static_cast<std::uint8_t>('a' + i % 26), 0})) {
                std::this_thread::yield();
            }
        }
    });
    int got = 0;
    bool inOrder = true;
    while (got < 2000) {
        if (const std::string k = sv.read_key(); !k.empty()) {
            inOrder = inOrder && k[0] == 'a' + got++ % 26;
        }
    }
    writer.join();
    EXPECT_TRUE(inOrder);
}

// The game's thread stuck in a system call that never returns: the window's stop still ends
// the program, from the window thread, after a short grace.
TEST(SdlBackEndDeathTest, StopEndsTheProgramEvenWhileTheGameIsStuckInASystemCall)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            svc::SdlPlatform platform;
            svc::Services sv(platform);
            sv.window().request_stop();
            int ends[2];
            char byte = 0;
            if (::pipe(ends) == 0 && ::read(ends[0], &byte, 1) >= 0) { // nobody ever writes
                std::exit(3);
            }
            std::exit(4);
        },
        ::testing::ExitedWithCode(0), "does not answer");
}
