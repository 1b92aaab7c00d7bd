// The window's shape on the real SDL back end (dummy video driver, a 1024 x 768 desktop): the
// chosen scale and 4:3, F9, F10 and F12, full screen, and the picture's pixels on the display.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "services/platform/sdl/sdl_platform.h"
#include "tests/support/harness.h"
#include "tests/support/on_window_thread.h"

namespace {

TEST(SdlWindowShape, ScaleAspectKeysAndFullScreenPlaceThePicture)
{
    testing_support::TempDir dir;
    constexpr int kW = testing_support::kPlaceW, kH = testing_support::kPlaceH;
    const std::vector<std::uint32_t> image = testing_support::place_image();
    svc::WindowChoice kept;
    svc::SdlPlatform platform({true, 3, true, false}, [&kept](const svc::WindowChoice& c) {
        kept = c;
        return std::string();
    });
    std::vector<std::array<int, 6>> seen; // surface w, h; picture x, y, w, h
    std::vector<std::uint32_t> pixels;
    testing_support::OnWindowThread task;
    task.script = [&] {
        auto look = [&] {
            const svc::SdlPlatform::Shown s = platform.shown();
            seen.push_back({s.surfaceW, s.surfaceH, s.x, s.y, s.w, s.h});
        };
        platform.present(image.data(), kW, kH, 0, kH - 1, 0, kW - 1);
        look(); // 4:3 at three times
        pixels = {platform.shown_pixel(479, 359), platform.shown_pixel(3, 4)};
        platform.window_key(svc::Key::F9); // 4:3 off
        look();
        for (int i = 0; i < 5; ++i) {
            platform.window_key(svc::Key::F10); // 4, 5, 6 fit; 7 does not: back to 1, then 2
        }
        look();
        platform.window_key(svc::Key::F9);
        platform.cycle_fullscreen(); // the largest whole scale that fits, centred
        look();
        pixels.push_back(platform.shown_pixel(31, 24));
        pixels.push_back(platform.shown_pixel(32 + 959, 24 + 719));
        for (int i = 0; i < 3; ++i) {
            platform.cycle_fullscreen(); // no second suitable mode: the window, then round
        }
        look();
        EXPECT_FALSE(platform.window_key(svc::Key::F11));
        platform.window_key(svc::Key::F12);
        platform.window_key(svc::Key::F12);
    };
    task.run_on(platform);
    EXPECT_EQ(seen, (std::vector<std::array<int, 6>>{{480, 360, 0, 0, 480, 360},
                                                     {480, 300, 0, 0, 480, 300},
                                                     {320, 200, 0, 0, 320, 200},
                                                     {1024, 768, 32, 24, 960, 720},
                                                     {320, 240, 0, 0, 320, 240}}));
    // The last pixel; display row 4 shows picture row 1; the border; the last pixel again.
    const std::uint32_t last = image.back();
    EXPECT_EQ(pixels, (std::vector<std::uint32_t>{last, image[kW + 1], 0, last}));
    // Two screenshots under the first free numbers, and the choice handed on to be remembered.
    EXPECT_TRUE(std::filesystem::exists("schermata-001.png"));
    EXPECT_TRUE(std::filesystem::exists("schermata-002.png"));
    EXPECT_TRUE(kept.chosen && kept.scale == 2 && kept.aspect && !kept.fullscreen);
}

} // namespace
