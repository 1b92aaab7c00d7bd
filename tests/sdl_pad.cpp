// The game pad on the real SDL back end (dummy video driver): a virtual pad made in the SDL 2
// library beneath the SDL 1.2 compatibility library, its presses read from the key buffer.
// The test reaches SDL 2 through dlopen: linked in, its names would clash with SDL 1.2's.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "services/platform/sdl/sdl_platform.h"
#include "services/services.h"
#include "services/settings/settings.h"
#include "services/window/window_loop.h"
#include "tests/support/harness.h"

namespace {

using Clock = std::chrono::steady_clock;

// SDL 2 drops a pad's input while none of the program's windows has the focus, and the dummy
// driver's window never has it.
const bool kPadInTheBackground = setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1) == 0;

// A pad of the standard controller layout in SDL 2, plugged in while it lives.
class VirtualPad {
  public:
    VirtualPad()
    {
        sdl2_ = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (sdl2_ == nullptr) {
            return;
        }
        constexpr unsigned kInitJoystick = 0x200, kVirtualController = 1;
        // Held by the test, SDL 2's joystick part outlives the game's counting of the pads.
        fn<int(unsigned)>("SDL_InitSubSystem")(kInitJoystick);
        index_ =
            fn<int(int, int, int, int)>("SDL_JoystickAttachVirtual")(kVirtualController, 6, 15, 0);
        pad_ = index_ < 0 ? nullptr : fn<void*(int)>("SDL_JoystickOpen")(index_);
    }
    ~VirtualPad()
    {
        unplug();
        if (sdl2_ != nullptr) {
            fn<void(unsigned)>("SDL_QuitSubSystem")(0x200);
            dlclose(sdl2_);
        }
    }
    bool ready() const { return pad_ != nullptr; }
    void button(int b, bool down)
    {
        fn<int(void*, int, std::uint8_t)>("SDL_JoystickSetVirtualButton")(pad_, b, down ? 1 : 0);
    }
    void axis(int a, int value)
    {
        fn<int(void*, int, std::int16_t)>("SDL_JoystickSetVirtualAxis")(
            pad_, a, static_cast<std::int16_t>(value));
    }
    void unplug()
    {
        if (pad_ != nullptr) {
            fn<void(void*)>("SDL_JoystickClose")(pad_);
            fn<int(int)>("SDL_JoystickDetachVirtual")(index_);
            pad_ = nullptr;
        }
    }

  private:
    template <class F> F* fn(const char* name) { return reinterpret_cast<F*>(dlsym(sdl2_, name)); }
    void* sdl2_ = nullptr;
    void* pad_ = nullptr;
    int index_ = -1;
};

// A press of the X key in SDL 1.2's event queue (SDL 1.2's event layout; SDL's headers stay in
// the back end).
void press_key_x()
{
    struct {
        std::uint8_t type, which, state;
        struct {
            std::uint8_t scancode;
            int sym, mod;
            std::uint16_t unicode;
        } keysym;
        std::uint8_t rest[4];
    } e{};
    static_assert(sizeof e == 24);
    e.type = 2; // SDL_KEYDOWN
    e.state = 1;
    e.keysym.sym = 'x';
    const auto push = reinterpret_cast<int (*)(void*)>(dlsym(RTLD_DEFAULT, "SDL_PushEvent"));
    ASSERT_EQ(push(&e), 0);
}

// The keys the game reads within ms, each as read_key gives it.
std::vector<std::string> keys_read(svc::Services& sv, int ms)
{
    std::vector<std::string> keys;
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
        if (std::string k = sv.read_key(); !k.empty()) {
            keys.push_back(k);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return keys;
}

using Keys = std::vector<std::string>;
const std::string kEnter = "\r", kUp = std::string("\0H", 2), kDown = std::string("\0P", 2),
                  kLeft = std::string("\0K", 2), kRight = std::string("\0M", 2);

// The game with the pad's keys of the settings file `file` (none: the defaults).
svc::Settings settings_of(const std::string& file)
{
    svc::Settings s;
    if (!file.empty()) {
        testing_support::write_file("impostazioni.cfg", file);
        EXPECT_TRUE(svc::read_settings("impostazioni.cfg", s).empty());
    }
    return s;
}

struct Game {
    explicit Game(const std::string& file) : settings(settings_of(file)) {}
    testing_support::TempDir dir;
    svc::Settings settings;
    svc::SdlPlatform platform{{}, {}, svc::pad_map(settings)};
    svc::Services sv{platform};
};

// One press of a button, or one push of the stick and back: the keys it gives.
Keys tap(VirtualPad& pad, Game& game, bool stick, int which, int value = 1)
{
    stick ? pad.axis(which, value) : pad.button(which, value != 0);
    Keys keys = keys_read(game.sv, 120);
    stick ? pad.axis(which, 0) : pad.button(which, false);
    const Keys after = keys_read(game.sv, 60);
    keys.insert(keys.end(), after.begin(), after.end());
    return keys;
}

} // namespace

TEST(SdlPad, ButtonsAndStickReachTheKeyBufferAsTheirKeys)
{
    VirtualPad pad;
    if (!pad.ready()) {
        GTEST_SKIP() << "no virtual pad in SDL 2 here: " << dlerror();
    }
    Game game("");
    const struct {
        const char* what;
        bool stick;
        int which, value;
        Keys keys;
    } presses[] = {
        {"A", false, 0, 1, {kEnter}},
        {"B", false, 1, 1, {"\x1b"}},
        {"X", false, 2, 1, {"n"}},
        {"Y", false, 3, 1, {"l"}},
        {"Back", false, 4, 1, {"x"}},
        {"Guide", false, 5, 1, {}},
        {"Start", false, 6, 1, {" "}},
        {"left shoulder", false, 9, 1, {}},
        {"right shoulder", false, 10, 1, {"\x13"}},
        {"d-pad up", false, 11, 1, {kUp}},
        {"d-pad down", false, 12, 1, {kDown}},
        {"d-pad left", false, 13, 1, {kLeft}},
        {"d-pad right", false, 14, 1, {kRight}},
        {"stick up", true, 1, -30000, {kUp}},
        {"stick right", true, 0, 30000, {kRight}}, // the dead zone: PadReader's table
    };
    for (const auto& p : presses) {
        EXPECT_EQ(tap(pad, game, p.stick, p.which, p.value), p.keys) << p.what;
    }
}

TEST(SdlPad, APadPluggedInOrOutWhilePlayingAndTheSettingsFilesKeys)
{
    Game game("pulsante_a = ctrl_s\npulsante_b = niente\ndorsale_sinistro = su\n");
    ASSERT_TRUE(kPadInTheBackground);
    // The window's first passes have looked for pads and found none.
    testing_support::eventually([&] { return game.sv.window().pass_count() >= 5; });
    VirtualPad pad;
    if (!pad.ready()) {
        GTEST_SKIP() << "no virtual pad in SDL 2 here: " << dlerror();
    }
    // Plugged in while the game runs: found at the next look for pads, within 2 s.
    Keys first;
    for (int i = 0; i < 20 && first.empty(); ++i) {
        first = tap(pad, game, false, 0);
    }
    EXPECT_EQ(first, Keys{"\x13"});
    EXPECT_EQ(tap(pad, game, false, 1), Keys{});
    EXPECT_EQ(tap(pad, game, false, 9), Keys{kUp});
    EXPECT_EQ(tap(pad, game, false, 2), Keys{"n"}); // the default of a button left alone

    // Pulled out with a button held mid-level: the game plays on at the keyboard.
    pad.button(14, true);
    EXPECT_EQ(keys_read(game.sv, 100), Keys{kRight});
    pad.unplug();
    const auto passes = game.sv.window().pass_count();
    keys_read(game.sv, 100);
    press_key_x();
    EXPECT_EQ(keys_read(game.sv, 700), Keys{"x"});
    EXPECT_GT(game.sv.window().pass_count(), passes + 10);
}
