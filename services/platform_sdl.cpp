// The SDL window thread, the window picture, its events and the system clock.
#include "services/platform_sdl.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "services/platform_sdl_keys.h"

namespace svc {

namespace {
constexpr Uint32 kPassRestMs = 4;
} // namespace

SdlPlatform::SdlPlatform() = default;

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
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
        video_.store(true);
        SDL_WM_SetCaption("Untitled", "Untitled");
    } else {
        std::fprintf(stderr, "muvesecky: no window: %s\n", SDL_GetError());
    }
    while (!quit_.load()) {
        // A short rest between passes: a key is collected, and a changed picture shown,
        // within a few milliseconds; an unchanged image costs only a comparison.
        SDL_Delay(kPassRestMs);
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

void SdlPlatform::present(const std::uint32_t* pixels, int w, int h, int top, int bottom)
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
            return;
        }
        top = 0;
        bottom = h - 1;
    }
    top = std::max(top, 0);
    bottom = std::min(bottom, h - 1);
    if (top > bottom) {
        return;
    }
    if (SDL_MUSTLOCK(screen) && SDL_LockSurface(screen) != 0) {
        return;
    }
    const SDL_PixelFormat* f = screen->format;
    const bool native =
        f->BytesPerPixel == 4 && f->Rshift == 16 && f->Gshift == 8 && f->Bshift == 0;
    if (native && scale_ == 1 && offsetX_ == 0 && offsetY_ == 0 && screen->w >= w &&
        screen->h >= h) {
        for (int y = top; y <= bottom; ++y) {
            std::memcpy(static_cast<std::uint8_t*>(screen->pixels) + y * screen->pitch,
                        pixels + static_cast<std::size_t>(y) * w, static_cast<std::size_t>(w) * 4);
        }
    } else {
        for (int y = top; y <= bottom; ++y) {
            put_scaled_row(screen, pixels + static_cast<std::size_t>(y) * w, w, y, native);
        }
    }
    if (SDL_MUSTLOCK(screen)) {
        SDL_UnlockSurface(screen);
    }
    // Only the band of rows that changed goes to the display.
    const int y0 = std::clamp(offsetY_ + top * scale_, 0, screen->h);
    const int y1 = std::clamp(offsetY_ + (bottom + 1) * scale_, 0, screen->h);
    if (y1 > y0) {
        SDL_UpdateRect(screen, 0, y0, static_cast<Uint32>(screen->w), static_cast<Uint32>(y1 - y0));
    }
}

void SdlPlatform::put_scaled_row(SDL_Surface* screen, const std::uint32_t* src, int w, int y,
                                 bool native)
{
    for (int s = 0; s < scale_; ++s) {
        const int dy = offsetY_ + y * scale_ + s;
        if (dy < 0 || dy >= screen->h) {
            continue;
        }
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(screen->pixels) +
                                                     dy * screen->pitch);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = src[x];
            const std::uint32_t v =
                native ? p
                       : SDL_MapRGB(screen->format, static_cast<Uint8>(p >> 16),
                                    static_cast<Uint8>(p >> 8), static_cast<Uint8>(p));
            for (int sx = 0; sx < scale_; ++sx) {
                const int dx = offsetX_ + x * scale_ + sx;
                if (dx >= 0 && dx < screen->w) {
                    row[dx] = v;
                }
            }
        }
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
    make_video();
}

void SdlPlatform::make_video()
{
    // Full-screen modes that can hold the image, largest first as SDL lists them.
    std::vector<SDL_Rect> modes;
    if (SDL_Rect** list = SDL_ListModes(nullptr, SDL_FULLSCREEN | SDL_SWSURFACE);
        list != nullptr && list != reinterpret_cast<SDL_Rect**>(-1)) {
        for (int i = 0; list[i] != nullptr; ++i) {
            if (list[i]->w >= imageW_ && list[i]->h >= imageH_) {
                modes.push_back(*list[i]);
            }
        }
    }
    if (screenStep_ == ScreenStep::SecondFullScreen && modes.size() < 2) {
        screenStep_ = ScreenStep::Window; // no second suitable mode: back to the window
    }
    if (screenStep_ != ScreenStep::Window && modes.empty()) {
        screenStep_ = ScreenStep::Window;
    }
    SDL_Surface* s = nullptr;
    if (screenStep_ != ScreenStep::Window) {
        // The second step uses the smallest suitable mode, the first the largest.
        const SDL_Rect m = screenStep_ == ScreenStep::FullScreen ? modes.front() : modes.back();
        s = SDL_SetVideoMode(m.w, m.h, 32, SDL_SWSURFACE | SDL_FULLSCREEN);
        if (s != nullptr) {
            scale_ = (imageW_ <= 512 && imageH_ <= 384) ? 2 : 1;
            offsetX_ = (m.w - imageW_ * scale_) / 2;
            offsetY_ = (m.h - imageH_ * scale_) / 2;
            SDL_FillRect(s, nullptr, 0);
        }
    }
    if (s == nullptr) {
        screenStep_ = ScreenStep::Window;
        s = SDL_SetVideoMode(imageW_, imageH_, 32, SDL_SWSURFACE);
        scale_ = 1;
        offsetX_ = offsetY_ = 0;
    }
    SDL_EnableKeyRepeat(500, 30);
}

bool SdlPlatform::poll_event(PlatformEvent& ev)
{
    if (!video_.load()) {
        return false;
    }
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_QUIT:
            ev.type = PlatformEvent::Type::Close;
            return true;
        case SDL_KEYDOWN: {
            const Key key = translate_sym(e.key.keysym.sym);
            if (key == Key::None) {
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
                ev.mouseX = (e.button.x - offsetX_) / scale_;
                ev.mouseY = (e.button.y - offsetY_) / scale_;
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
