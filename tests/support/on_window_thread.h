// Test support: a script run once on an SDL back end's window thread, as its passes would.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "services/platform/platform.h"

namespace testing_support {

struct OnWindowThread final : svc::WindowTask {
    std::function<void()> script;
    std::atomic<bool> done{false};
    void pass() override
    {
        if (!done.exchange(true)) {
            script();
        }
    }
    // Starts the platform with this task and stops it once the script has run (or after
    // three seconds, for a script that hangs: the test then fails on what it did not do).
    template <class Platform> void run_on(Platform& platform)
    {
        platform.start(*this);
        for (int i = 0; i < 600 && !done.load(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        platform.stop();
    }
};

// A picture of 160 x 100 whose every pixel tells its place: column << 8 | row.
constexpr int kPlaceW = 160, kPlaceH = 100;
inline std::vector<std::uint32_t> place_image()
{
    std::vector<std::uint32_t> image(kPlaceW * kPlaceH);
    for (int i = 0; i < kPlaceW * kPlaceH; ++i) {
        image[i] = static_cast<std::uint32_t>((i % kPlaceW) << 8 | i / kPlaceW);
    }
    return image;
}

} // namespace testing_support
