// The window's keys on the real SDL back end (dummy video driver, a 1024 x 768 desktop): the
// chosen scale and 4:3, F9, F10 and F12, full screen and the picture's pixels on the display;
// against odd files in the game folder F12, F9 and F10 never hang on a pipe, never write
// through a link or outside the folder, never leave part of a file, and every failure is told
// in one line on standard error and in a note over the picture, never in the screen image.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "services/platform/sdl/sdl_platform.h"
#include "services/settings/settings.h"
#include "services/video/png_writer.h"
#include "tests/support/harness.h"

namespace {

namespace fs = std::filesystem;
using testing_support::read_file;
using testing_support::write_file;

constexpr std::uint32_t kNoteBackground = 0x0000AA;

// A picture of 160 x 100 whose every pixel tells its place: column << 8 | row.
constexpr int kW = 160, kH = 100;
const std::vector<std::uint32_t> kImage = [] {
    std::vector<std::uint32_t> image(kW * kH);
    for (int i = 0; i < kW * kH; ++i) {
        image[i] = static_cast<std::uint32_t>((i % kW) << 8 | i / kW);
    }
    return image;
}();

// Runs script once on the back end's window thread, as its passes would, and stops the
// platform once it has (or after three seconds, for a script that hangs: the test then fails
// on what it did not do). True if the script ran.
bool on_window_thread(svc::SdlPlatform& platform, std::function<void()> script)
{
    struct Once final : svc::WindowTask {
        std::function<void()> script;
        std::atomic<bool> done{false};
        void pass() override
        {
            if (!done.exchange(true)) {
                script();
            }
        }
    } task;
    task.script = std::move(script);
    platform.start(task);
    const bool ran = testing_support::eventually([&] { return task.done.load(); });
    platform.stop();
    return ran;
}

// What main hands the back end: the choice goes to the settings file.
std::string keep(const svc::WindowChoice& c)
{
    svc::Settings s;
    s.scale = c.scale;
    s.aspect = c.aspect ? 1 : 0;
    s.fullscreen = c.fullscreen ? 1 : 0;
    return svc::write_settings(svc::kSettingsFile, s);
}

// A disk that takes only a few bytes more of any file, while it lives.
struct FullDisk {
    rlimit before{};
    FullDisk()
    {
        ::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &before);
        const rlimit small{48, before.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FullDisk() { ::setrlimit(RLIMIT_FSIZE, &before); }
};

// What the display shows at (x, y): the window of SDL 2 beneath the compatibility library,
// as its renderer last sent it (nothing under the classic library).
std::optional<std::uint32_t> on_display(int x, int y)
{
    const auto window = reinterpret_cast<void* (*)()>(dlsym(RTLD_DEFAULT, "SDL12COMPAT_GetWindow"));
    void* sdl2 = dlopen("libSDL2-2.0.so.0", RTLD_NOLOAD | RTLD_NOW);
    if (window == nullptr || sdl2 == nullptr) {
        return std::nullopt;
    }
    struct Surface { // the first fields of SDL 2's surface
        std::uint32_t flags;
        void* format;
        int w, h, pitch;
        void* pixels;
    };
    const auto surface_of =
        reinterpret_cast<Surface* (*)(void*)>(dlsym(sdl2, "SDL_GetWindowSurface"));
    const Surface* s = surface_of != nullptr ? surface_of(window()) : nullptr;
    dlclose(sdl2);
    if (s == nullptr || x >= s->w || y >= s->h) {
        return std::nullopt;
    }
    std::uint32_t v = 0;
    std::memcpy(&v, static_cast<const char*>(s->pixels) + y * s->pitch + x * 4, 4);
    return v & 0xFFFFFF;
}

bool is_png(const char* name)
{
    return fs::is_regular_file(fs::symlink_status(name)) && read_file(name).substr(1, 3) == "PNG";
}

TEST(SdlWindowShape, ScaleAspectKeysAndFullScreenPlaceThePicture)
{
    testing_support::TempDir dir;
    svc::WindowChoice kept;
    svc::SdlPlatform platform({true, 3, true, false}, [&kept](const svc::WindowChoice& c) {
        kept = c;
        return std::string();
    });
    std::vector<std::array<int, 6>> seen; // surface w, h; picture x, y, w, h
    std::vector<std::uint32_t> pixels;
    on_window_thread(platform, [&] {
        auto look = [&] {
            const svc::SdlPlatform::Shown s = platform.shown();
            seen.push_back({s.surfaceW, s.surfaceH, s.x, s.y, s.w, s.h});
        };
        platform.present(kImage.data(), kW, kH, 0, kH - 1, 0, kW - 1);
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
    });
    EXPECT_EQ(seen, (std::vector<std::array<int, 6>>{{480, 360, 0, 0, 480, 360},
                                                     {480, 300, 0, 0, 480, 300},
                                                     {320, 200, 0, 0, 320, 200},
                                                     {1024, 768, 32, 24, 960, 720},
                                                     {320, 240, 0, 0, 320, 240}}));
    // The last pixel; display row 4 shows picture row 1; the border; the last pixel again.
    const std::uint32_t last = kImage.back();
    EXPECT_EQ(pixels, (std::vector<std::uint32_t>{last, kImage[kW + 1], 0, last}));
    // Two screenshots under the first free numbers, and the choice handed on to be remembered.
    EXPECT_TRUE(std::filesystem::exists("schermata-001.png"));
    EXPECT_TRUE(std::filesystem::exists("schermata-002.png"));
    EXPECT_TRUE(kept.chosen && kept.scale == 2 && kept.aspect && !kept.fullscreen);
}

// The compatibility library holds back part of a window updated within a sixtieth of a second
// of the last whole one: a lone change (the clock's second, a picture of the birds) must still
// reach the display at once, not with the next change.
TEST(SdlWindowShape, AFewChangedPixelsReachTheDisplayAtOnce)
{
    testing_support::TempDir dir;
    svc::SdlPlatform platform({true, 1, false, false}, keep);
    std::vector<std::uint32_t> changed = kImage;
    changed[10 * kW + 20] = 0xABCDEF;
    std::optional<std::uint32_t> shown;
    on_window_thread(platform, [&] {
        platform.present(kImage.data(), kW, kH, 0, kH - 1, 0, kW - 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        platform.present(changed.data(), kW, kH, 10, 10, 16, 23);
        shown = on_display(20, 10);
    });
    if (!shown) {
        GTEST_SKIP() << "no SDL 2 window beneath this SDL 1.2";
    }
    EXPECT_EQ(*shown, 0xABCDEFu);
}

TEST(SdlWindowFiles, OddFilesAreNeverWaitedOnOrWrittenThroughAndFailuresAreTold)
{
    const std::string outside = (fs::temp_directory_path() / "muv-elsewhere.png").string();
    const struct {
        const char* name;
        std::function<void()> setup;
        svc::Key key;
        bool full; // the disk full during the key
        bool told;
        std::function<bool()> after;
    } runs[] = {
        {"a pipe at schermata-001.png", [] { ::mkfifo("schermata-001.png", 0644); }, svc::Key::F12,
         false, false, [] { return is_png("schermata-002.png"); }},
        {"schermata-001.png a link to nowhere outside",
         [&] { fs::create_symlink(outside, "schermata-001.png"); }, svc::Key::F12, false, false,
         [&] { return !fs::exists(outside) && is_png("schermata-002.png"); }},
        {"a full disk at F12", [] {}, svc::Key::F12, true, true,
         [] { return !fs::exists(fs::symlink_status("schermata-001.png")); }},
        {"schermata-001.png to -999.png taken",
         [] {
             for (int n = 1; n <= 999; ++n) {
                 char name[32];
                 std::snprintf(name, sizeof name, "schermata-%03d.png", n);
                 write_file(name, "");
             }
         },
         svc::Key::F12, false, true, [] { return !fs::exists("schermata-1000.png"); }},
        // Odd hidden files of the settings file itself: SafeWrite.OddNames... tries them all.
        {"a pipe at the hidden file", [] { ::mkfifo(".impostazioni.cfg.tmp", 0644); },
         svc::Key::F10, false, false,
         [] { return read_file("impostazioni.cfg").find("scala = 2\n") != std::string::npos; }},
        {"a full disk at F10", [] { write_file("impostazioni.cfg", "scala = 3\n"); }, svc::Key::F10,
         true, true,
         [] {
             return read_file("impostazioni.cfg") == "scala = 3\n" &&
                    !fs::exists(".impostazioni.cfg.tmp");
         }},
    };
    for (const auto& run : runs) {
        testing_support::TempDir dir;
        run.setup();
        svc::SdlPlatform platform({true, 1, false, false}, keep);
        bool noted = false;
        std::uint32_t inBox = 0;
        testing::internal::CaptureStderr();
        const bool ran = on_window_thread(platform, [&] {
            platform.present(kImage.data(), kW, kH, 0, kH - 1, 0, kW - 1);
            {
                std::optional<FullDisk> full;
                if (run.full) {
                    full.emplace();
                }
                platform.window_key(run.key);
            }
            noted = platform.note_shown();
            // Inside the note's frame, above its first letter, at the scale in force.
            const svc::SdlPlatform::Shown shown = platform.shown();
            const int k = shown.w / kW;
            inBox = platform.shown_pixel(shown.x + 5 * k + 1, shown.y + 5 * k + 1);
        });
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(ran) << run.name;
        EXPECT_EQ(noted, run.told) << run.name;
        EXPECT_EQ(inBox == kNoteBackground, run.told) << run.name;
        EXPECT_EQ(err.rfind("muvesecky: ", 0) == 0 && err.find('\n') == err.size() - 1, run.told)
            << run.name << ": " << err;
        EXPECT_TRUE(run.after()) << run.name;
    }
}

TEST(SdlWindowFiles, TheNoteGoesAfterAWhileAndNeverTouchesTheScreenImage)
{
    testing_support::TempDir dir;
    fs::create_directory("impostazioni.cfg");
    const std::vector<std::uint32_t> copy = kImage;
    svc::SdlPlatform platform({true, 2, false, false}, keep);
    std::vector<std::uint32_t> seen;
    testing::internal::CaptureStderr();
    on_window_thread(platform, [&] {
        platform.present(kImage.data(), kW, kH, 0, kH - 1, 0, kW - 1);
        platform.window_key(svc::Key::F9); // 4:3 at twice the size, not remembered
        seen.push_back(platform.shown_pixel(12, 12));
        platform.present(kImage.data(), kW, kH, 0, kH - 1, 0, kW - 1); // the game draws on
        seen.push_back(platform.shown_pixel(12, 12));
        platform.window_key(svc::Key::F12); // the picture saved has no note on it
        std::this_thread::sleep_for(std::chrono::milliseconds(2600));
        svc::PlatformEvent ev;
        platform.poll_event(ev);
        seen.push_back(platform.shown_pixel(12, 12));
        seen.push_back(platform.note_shown() ? 1 : 0);
    });
    testing::internal::GetCapturedStderr();
    // Display (12, 12) at scale 2 and 4:3 shows picture pixel (6, 5).
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{kNoteBackground, kNoteBackground,
                                                kImage[5 * kW + 6], 0}));
    EXPECT_EQ(kImage, copy);
    const std::vector<std::uint8_t> png = svc::encode_png(copy.data(), kW, kH);
    EXPECT_EQ(read_file("schermata-001.png"), std::string(png.begin(), png.end()));
}

} // namespace
