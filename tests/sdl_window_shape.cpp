// The window's shape on the real SDL back end (dummy video driver, a 1024 x 768 desktop): the
// chosen scale and 4:3, F9, F10 and F12, full screen, and the picture's pixels on the display.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "services/platform_sdl.h"
#include "tests/support/harness.h"

namespace {

using Shown = svc::SdlPlatform::Shown;

// Runs the script once on the window thread, as the window's own passes would.
struct OnWindowThread final : svc::WindowTask {
    std::function<void()> script;
    std::atomic<bool> done{false};
    void pass() override
    {
        if (!done.load()) {
            script();
            done.store(true);
        }
    }
};

std::string text(const Shown& s)
{
    return std::to_string(s.surfaceW) + "x" + std::to_string(s.surfaceH) + " at " +
           std::to_string(s.x) + "," + std::to_string(s.y) + " " + std::to_string(s.w) + "x" +
           std::to_string(s.h);
}

TEST(SdlWindowShape, ScaleAspectKeysAndFullScreenPlaceThePicture)
{
    testing_support::TempDir dir;
    // A 160 x 100 picture whose every pixel tells its place.
    constexpr int kW = 160, kH = 100;
    std::vector<std::uint32_t> image(kW * kH);
    for (int i = 0; i < kW * kH; ++i) {
        image[i] = static_cast<std::uint32_t>((i % kW) << 8 | i / kW);
    }
    svc::SdlPlatform platform({true, 3, true, false});
    std::vector<std::string> seen;
    std::vector<std::uint32_t> pixels;
    OnWindowThread task;
    task.script = [&] {
        auto look = [&](int x, int y) { pixels.push_back(platform.shown_pixel(x, y)); };
        platform.present(image.data(), kW, kH, 0, kH - 1, 0, kW - 1);
        seen.push_back(text(platform.shown())); // 4:3 at 3 times: 480 x 360
        look(479, 359);                         // the last pixel
        look(3, 4);                             // display row 4 shows picture row 1
        platform.window_key(svc::Key::F9);
        seen.push_back(text(platform.shown())); // 4:3 off
        for (int i = 0; i < 5; ++i) {
            platform.window_key(svc::Key::F10); // 4, 5, 6 fit; 7 does not: back to 1, then 2
        }
        seen.push_back(text(platform.shown()));
        platform.window_key(svc::Key::F9);
        platform.cycle_fullscreen(); // the largest whole scale that fits, centred
        seen.push_back(text(platform.shown()));
        look(31, 24);
        look(32 + 959, 24 + 719);
        platform.cycle_fullscreen(); // no second suitable mode: the window again
        platform.cycle_fullscreen();
        platform.cycle_fullscreen();
        seen.push_back(text(platform.shown()));
        EXPECT_FALSE(platform.window_key(svc::Key::F11));
        platform.window_key(svc::Key::F12);
        platform.window_key(svc::Key::F12);
    };
    platform.start(task);
    for (int i = 0; i < 600 && !task.done.load(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    platform.stop();
    ASSERT_TRUE(task.done.load());
    EXPECT_EQ(seen, (std::vector<std::string>{"480x360 at 0,0 480x360", "480x300 at 0,0 480x300",
                                              "320x200 at 0,0 320x200", "1024x768 at 32,24 960x720",
                                              "320x240 at 0,0 320x240"}));
    EXPECT_EQ(pixels, (std::vector<std::uint32_t>{image[kW * kH - 1], image[kW + 1], 0,
                                                  image[kW * kH - 1]}));
    // Two screenshots under the first free numbers, and the choice remembered.
    EXPECT_TRUE(std::filesystem::exists("schermata-001.png"));
    EXPECT_TRUE(std::filesystem::exists("schermata-002.png"));
    const svc::WindowChoice back = svc::read_window_choice(svc::kWindowChoiceFile);
    EXPECT_TRUE(back.chosen && back.scale == 2 && back.aspect && !back.fullscreen);
}

} // namespace
