// The SDL window thread, the window picture, its events and the system clock.
#include "services/platform/sdl/sdl_platform.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "services/platform/sdl/sdl_keys.h"
#include "services/platform/sdl/window_pace.h"
#include "services/video/png_writer.h"

namespace svc {

namespace {

bool unseen_driver()
{
    char driver[64] = "";
    SDL_VideoDriverName(driver, sizeof driver);
    return std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
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

SdlPlatform::SdlPlatform(WindowChoice choice) : choice_(choice)
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
    if (start_video(whyNoWindow_)) {
        video_.store(true);
        SDL_WM_SetCaption("Untitled", "Untitled");
        if (const SDL_VideoInfo* info = SDL_GetVideoInfo()) {
            desktopW_ = info->current_w; // before any mode is set: the desktop's size
            desktopH_ = info->current_h;
        }
    }
    display_.store(whyNoWindow_.empty() ? Display::Shown : Display::None);
    while (!quit_.load()) {
        // A short rest between passes: a key is collected, and a changed picture shown,
        // within a few milliseconds; an unchanged image costs only a comparison.
        SDL_Delay(static_cast<Uint32>(window_pace::rest_ms(ticks_ms(), lastEventMs_)));
        task.pass();
    }
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

void SdlPlatform::present(const std::uint32_t* pixels, int w, int h, int top, int bottom, int left,
                          int right)
{
    if (!video_.load()) {
        return;
    }
    SDL_Surface* screen = SDL_GetVideoSurface();
    if (screen == nullptr || w != imageW_ || h != imageH_) {
        imageW_ = w;
        imageH_ = h;
        make_video(); // the window (or full screen) follows the image's size
        screen = SDL_GetVideoSurface();
        if (screen == nullptr) {
            lose_window();
            return;
        }
        top = 0;
        bottom = h - 1;
        left = 0;
        right = w - 1;
    }
    top = std::max(top, 0);
    bottom = std::min(bottom, h - 1);
    left = std::max(left, 0);
    right = std::min(right, w - 1);
    if (top > bottom || left > right) {
        return;
    }
    if (SDL_MUSTLOCK(screen) && SDL_LockSurface(screen) != 0) {
        return;
    }
    lastPixels_ = pixels;
    const SDL_PixelFormat* f = screen->format;
    const bool native =
        f->BytesPerPixel == 4 && f->Rshift == 16 && f->Gshift == 8 && f->Bshift == 0;
    // The display rows whose picture row (nearest neighbour) lies in top..bottom.
    const int dy0 = (top * outH_ + h - 1) / h;
    const int dy1 = ((bottom + 1) * outH_ + h - 1) / h;
    // One to one only the changed columns are copied and sent; scaled, whole display rows.
    int x0 = 0;
    int x1 = screen->w;
    if (native && outW_ == w && outH_ == h && offsetX_ == 0 && offsetY_ == 0 && screen->w >= w &&
        screen->h >= h) {
        x0 = left;
        x1 = right + 1;
        for (int y = top; y <= bottom; ++y) {
            std::memcpy(static_cast<std::uint8_t*>(screen->pixels) + y * screen->pitch + x0 * 4,
                        pixels + static_cast<std::size_t>(y) * w + x0,
                        static_cast<std::size_t>(x1 - x0) * 4);
        }
    } else {
        for (int dy = dy0; dy < dy1; ++dy) {
            const int y = dy * h / outH_;
            put_scaled_row(screen, pixels + static_cast<std::size_t>(y) * w, w, dy, native);
        }
    }
    if (SDL_MUSTLOCK(screen)) {
        SDL_UnlockSurface(screen);
    }
    // Only the part that changed goes to the display.
    const int y0 = std::clamp(offsetY_ + dy0, 0, screen->h);
    const int y1 = std::clamp(offsetY_ + dy1, 0, screen->h);
    if (y1 > y0) {
        SDL_UpdateRect(screen, x0, y0, static_cast<Uint32>(x1 - x0), static_cast<Uint32>(y1 - y0));
        sentAtMs_ = ticks_ms();
    }
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

bool SdlPlatform::picture_due()
{
    return window_pace::picture_due(ticks_ms(), lastEventMs_, sentAtMs_);
}

void SdlPlatform::put_scaled_row(SDL_Surface* screen, const std::uint32_t* src, int w, int dy,
                                 bool native)
{
    const int row = offsetY_ + dy;
    if (row < 0 || row >= screen->h) {
        return;
    }
    auto* out = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(screen->pixels) +
                                                 row * screen->pitch);
    const int scale = outW_ / w;
    for (int x = 0; x < w; ++x) {
        const std::uint32_t p = src[x];
        const std::uint32_t v = native
                                    ? p
                                    : SDL_MapRGB(screen->format, static_cast<Uint8>(p >> 16),
                                                 static_cast<Uint8>(p >> 8), static_cast<Uint8>(p));
        for (int sx = 0; sx < scale; ++sx) {
            const int dx = offsetX_ + x * scale + sx;
            if (dx >= 0 && dx < screen->w) {
                out[dx] = v;
            }
        }
    }
}

int SdlPlatform::fitting_scale(int wanted, int shownH) const
{
    int scale = std::max(wanted, 1);
    while (scale > 1 && desktopW_ > 0 &&
           (imageW_ * scale > desktopW_ || shownH * scale > desktopH_)) {
        --scale;
    }
    return scale;
}

bool SdlPlatform::window_key(Key key)
{
    switch (key) {
    case Key::F9: // 4:3 on or off
        choice_.aspect = !choice_.aspect;
        break;
    case Key::F10: { // the next scale that fits, then back to 1
        const int shownH = choice_.aspect ? imageW_ * 3 / 4 : imageH_;
        const int next = choice_.scale + 1;
        choice_.scale = next <= kMaxWindowScale && fitting_scale(next, shownH) == next ? next : 1;
        break;
    }
    case Key::F12:
        save_screenshot();
        return true;
    default:
        return false;
    }
    choice_.chosen = true;
    write_window_choice(kWindowChoiceFile, choice_);
    if (imageW_ > 0) {
        remake_video();
    }
    return true;
}

SdlPlatform::Shown SdlPlatform::shown() const
{
    const SDL_Surface* screen = SDL_GetVideoSurface();
    return Shown{screen != nullptr ? screen->w : 0,
                 screen != nullptr ? screen->h : 0,
                 offsetX_,
                 offsetY_,
                 outW_,
                 outH_};
}

std::uint32_t SdlPlatform::shown_pixel(int x, int y) const
{
    SDL_Surface* screen = SDL_GetVideoSurface();
    if (screen == nullptr || x < 0 || y < 0 || x >= screen->w || y >= screen->h ||
        screen->format->BytesPerPixel != 4) {
        return 0;
    }
    const auto* row = static_cast<const std::uint8_t*>(screen->pixels) + y * screen->pitch;
    std::uint32_t v = 0;
    std::memcpy(&v, row + x * 4, 4);
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(v, screen->format, &r, &g, &b);
    return static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 | b;
}

void SdlPlatform::save_screenshot()
{
    if (lastPixels_ == nullptr) {
        return;
    }
    // The screen image one to one, into the game folder, under the first free number.
    for (int n = 1; n < 1000; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "schermata-%03d.png", n);
        if (std::FILE* f = std::fopen(name, "rb")) {
            std::fclose(f);
            continue;
        }
        write_png(name, lastPixels_, imageW_, imageH_);
        return;
    }
}

void SdlPlatform::cycle_fullscreen()
{
    if (!video_.load() || imageW_ == 0) {
        return;
    }
    switch (screenStep_) {
    case ScreenStep::Window:
        screenStep_ = ScreenStep::FullScreen;
        break;
    case ScreenStep::FullScreen:
        screenStep_ = ScreenStep::SecondFullScreen;
        break;
    case ScreenStep::SecondFullScreen:
        screenStep_ = ScreenStep::Window;
        break;
    }
    remake_video();
}

void SdlPlatform::remake_video()
{
    make_video();
    if (lastPixels_ != nullptr) { // the new surface is blank: the picture goes on it at once
        present(lastPixels_, imageW_, imageH_, 0, imageH_ - 1, 0, imageW_ - 1);
    }
}

void SdlPlatform::make_video()
{
    // Full-screen modes that can hold the image, largest first as SDL lists them.
    // A driver that takes any size (no list) gets the desktop's.
    std::vector<SDL_Rect> modes;
    SDL_Rect** list = SDL_ListModes(nullptr, SDL_FULLSCREEN | SDL_SWSURFACE);
    SDL_Rect desktop{0, 0, static_cast<Uint16>(desktopW_), static_cast<Uint16>(desktopH_)};
    SDL_Rect* anySize[] = {&desktop, nullptr};
    if (list == reinterpret_cast<SDL_Rect**>(-1)) {
        list = anySize;
    }
    for (int i = 0; list != nullptr && list[i] != nullptr; ++i) {
        if (list[i]->w >= imageW_ && list[i]->h >= imageH_) {
            modes.push_back(*list[i]);
        }
    }
    if (screenStep_ == ScreenStep::SecondFullScreen && modes.size() < 2) {
        screenStep_ = ScreenStep::Window; // no second suitable mode: back to the window
    }
    if (screenStep_ != ScreenStep::Window && modes.empty()) {
        screenStep_ = ScreenStep::Window;
    }
    // Without a choice the picture is the image's size (doubled in full screen when small);
    // with one it is shown at 4:3 if asked, at the chosen scale in a window and at the
    // largest whole scale that fits in full screen.
    const int shownH = choice_.chosen && choice_.aspect ? imageW_ * 3 / 4 : imageH_;
    SDL_Surface* s = nullptr;
    if (screenStep_ != ScreenStep::Window) {
        // The second step uses the smallest suitable mode, the first the largest.
        const SDL_Rect m = screenStep_ == ScreenStep::FullScreen ? modes.front() : modes.back();
        s = SDL_SetVideoMode(m.w, m.h, 32, SDL_SWSURFACE | SDL_FULLSCREEN);
        if (s != nullptr) {
            const int scale = choice_.chosen ? std::max(1, std::min(m.w / imageW_, m.h / shownH))
                                             : ((imageW_ <= 512 && imageH_ <= 384) ? 2 : 1);
            outW_ = imageW_ * scale;
            outH_ = shownH * scale;
            offsetX_ = (m.w - outW_) / 2;
            offsetY_ = (m.h - outH_) / 2;
            SDL_FillRect(s, nullptr, 0);
        }
    }
    if (s == nullptr) {
        screenStep_ = ScreenStep::Window;
        const int scale = choice_.chosen ? fitting_scale(choice_.scale, shownH) : 1;
        outW_ = imageW_ * scale;
        outH_ = shownH * scale;
        offsetX_ = offsetY_ = 0;
        s = SDL_SetVideoMode(outW_, outH_, 32, SDL_SWSURFACE);
    }
    SDL_EnableKeyRepeat(500, 30);
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
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
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
    return false;
}

} // namespace svc
