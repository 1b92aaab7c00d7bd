// The SDL window thread, its events and the system clock.
#include "services/platform/sdl/sdl_platform.h"

#include "services/platform/sdl/sdl_library.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <utility>

#include "services/platform/sdl/sdl_keys.h"
#include "services/platform/sdl/window_pace.h"
#include "services/platform/sdl/window_wait.h"

namespace svc {

namespace {

bool unseen_driver()
{
    char driver[64] = "";
    SDL_VideoDriverName(driver, sizeof driver);
    // The classic SDL 1.2 falls back on drawing into the terminal (libcaca, aalib) when the
    // display refuses it: no window either.
    for (const char* unseen : {"offscreen", "dummy", "caca", "aalib"}) {
        if (std::strcmp(driver, unseen) == 0) {
            return true;
        }
    }
    return false;
}

// Sets up SDL's video; false (and why) when it cannot. `why` is also set when SDL fell back
// on an invisible driver for want of a display; one chosen in SDL_VIDEODRIVER (the tests')
// counts as seen. An X server that has just started refuses connections for a moment while
// it resets after a client left, so with DISPLAY set a fall-back, or a refusal (the classic
// SDL 1.2 has no fall-back), is tried again a few times.
bool start_video(std::string& why)
{
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    const char* display = std::getenv("DISPLAY");
    const bool retry = display != nullptr && *display != '\0';
    for (int attempt = 1;; ++attempt) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            if (!retry || attempt == 4) {
                why = SDL_GetError();
                return false;
            }
            SDL_Delay(250);
            continue;
        }
        if ((chosen != nullptr && *chosen != '\0') || !unseen_driver()) {
            return true;
        }
        if (!retry || attempt == 4) {
            char driver[64] = "";
            SDL_VideoDriverName(driver, sizeof driver);
            why = std::string("no display, only the invisible video driver \"") + driver +
                  "\" (is DISPLAY set?)";
            return true;
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_Delay(250);
    }
}

} // namespace

SdlPlatform::SdlPlatform(WindowChoice choice, KeepWindowChoice keep, PadMap pad)
    : choice_(choice), keep_(std::move(keep)), pad_(pad)
{
    if (choice_.chosen && choice_.fullscreen) {
        screenStep_ = ScreenStep::FullScreen;
    }
}

SdlPlatform::~SdlPlatform()
{
    stop();
    close_audio();
}

void SdlPlatform::start(WindowTask& task)
{
    if (started_.exchange(true)) {
        return;
    }
    quit_.store(false);
    thread_ = std::thread([this, &task] { window_thread(task); });
}

bool SdlPlatform::has_window()
{
    while (started_.load() && display_.load() == Display::Unknown) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return display_.load() == Display::Shown;
}

void SdlPlatform::stop()
{
    quit_.store(true);
    if (thread_.joinable()) {
        thread_.join();
    }
    started_.store(false);
}

void SdlPlatform::window_thread(WindowTask& task)
{
    // The picture is shown one to one from a plain surface: no GL scaler or accelerated
    // renderer is needed (under a software GL they cost more than the whole game).
    setenv("SDL12COMPAT_OPENGL_SCALING", "0", 0);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    // Game pads in the standard controller order, unless the player chose otherwise.
    setenv("SDL12COMPAT_USE_GAME_CONTROLLERS", "1", 0);
    if (start_video(whyNoWindow_)) {
        video_.store(true);
        over_sdl2_ = over_sdl2();
        SDL_WM_SetCaption("Untitled", "Untitled");
        if (const SDL_VideoInfo* info = SDL_GetVideoInfo()) {
            desktopW_ = info->current_w; // before any mode is set: the desktop's size
            desktopH_ = info->current_h;
        }
    }
    display_.store(whyNoWindow_.empty() ? Display::Shown : Display::None);
    while (!quit_.load()) {
        // A short rest between passes while the player is at the keys: a key is collected,
        // and a changed picture shown, within a few milliseconds. Once the keys are quiet
        // the window rests until an event, the game's word or the work it has waiting.
        const WindowWork work = task.work();
        const double now = ticks_ms();
        if (!window_pace::quiet(now, lastEventMs_)) {
            SDL_Delay(window_pace::kPassRestMs);
        } else {
            wait_.rest(window_pace::rest_ms(now, lastEventMs_, sentAtMs_, work),
                       window_pace::listens(now, lastEventMs_, sentAtMs_, work),
                       [&] { return task.work() != work; });
        }
        task.pass();
    }
    pad_.close();
    if (video_.exchange(false)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
}

double SdlPlatform::ticks_ms()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

bool SdlPlatform::local_time(LocalTime& out)
{
    // The game asks many times a second; the calendar is only consulted when the second
    // changes (localtime_r looks at the time zone each time it is called).
    timespec ts{};
    if (clock_gettime(CLOCK_REALTIME, &ts) != 0) {
        return false;
    }
    const std::time_t now = ts.tv_sec;
    if (now != cachedSecond_) {
        std::tm tm{};
        if (localtime_r(&now, &tm) == nullptr) {
            return false;
        }
        cachedTime_ = LocalTime{tm.tm_hour, tm.tm_min, tm.tm_sec, 0};
        cachedSecond_ = now;
    }
    out = cachedTime_;
    out.millis = static_cast<double>(ts.tv_nsec) / 1e6;
    return true;
}

void SdlPlatform::sleep_ms(double ms)
{
    std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms));
}

void SdlPlatform::yield()
{
    std::this_thread::yield();
}

void SdlPlatform::lose_window()
{
    // Played on unseen, the game would never end: it is asked to, and the reason kept.
    askToEnd_ = true;
    if (display_.load() != Display::Shown) {
        return;
    }
    whyNoWindow_ = "the display refuses a window of " + std::to_string(imageW_) + " x " +
                   std::to_string(imageH_) + " (" + SDL_GetError() + ")";
    display_.store(Display::None);
}

bool SdlPlatform::poll_event(PlatformEvent& ev)
{
    if (askToEnd_) {
        askToEnd_ = false;
        ev.type = PlatformEvent::Type::Close;
        return true;
    }
    if (!video_.load()) {
        return false;
    }
    end_note();
    if (!pumped_) {
        pumped_ = true;
        pump_events();
    }
    SDL_Event e;
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_ALLEVENTS) > 0) {
        lastEventMs_ = ticks_ms();
        switch (e.type) {
        case SDL_QUIT:
            ev.type = PlatformEvent::Type::Close;
            return true;
        case SDL_KEYDOWN: {
            const Key key = translate_sym(e.key.keysym.sym);
            if (key == Key::None || window_key(key)) {
                break;
            }
            const SDLMod mod = e.key.keysym.mod;
            ev.type = PlatformEvent::Type::Key;
            ev.key = KeyPress{key,
                              (mod & KMOD_SHIFT) != 0,
                              (mod & KMOD_CTRL) != 0,
                              (mod & KMOD_ALT) != 0,
                              (mod & KMOD_CAPS) != 0,
                              (mod & KMOD_NUM) != 0};
            return true;
        }
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT) {
                ev.type = PlatformEvent::Type::MouseDown;
                ev.mouseX = (e.button.x - offsetX_) * imageW_ / std::max(outW_, 1);
                ev.mouseY = (e.button.y - offsetY_) * imageH_ / std::max(outH_, 1);
                return true;
            }
            break;
        default:
            break;
        }
    }
    // The pad's presses go the keyboard's way, after its keys, with the lock keys' state.
    if (pad_.take(ticks_ms(), ev.key)) {
        const SDLMod mod = SDL_GetModState();
        ev.key.capsLock = (mod & KMOD_CAPS) != 0;
        ev.key.numLock = (mod & KMOD_NUM) != 0;
        ev.type = PlatformEvent::Type::Key;
        lastEventMs_ = ticks_ms();
        return true;
    }
    pumped_ = false; // the next call is the next pass's
    return false;
}

void SdlPlatform::pump_events()
{
    const double now = ticks_ms();
    if (!window_pace::pump_due(now, lastEventMs_, pumpedAtMs_) && !wait_.display_stirred()) {
        return;
    }
    pumpedAtMs_ = now;
    SDL_PumpEvents();
}

} // namespace svc
