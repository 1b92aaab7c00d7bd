// The picture on the display: the screen image copied or widened onto the window's surface,
// and what the display shows, for the tests.
#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "services/platform/sdl/sdl_library.h"
#include "services/platform/sdl/sdl_platform.h"
#include "services/platform/sdl/window_pace.h"

namespace svc {

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
    if (!clip_to_picture(w, h, top, bottom, left, right)) {
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
        show_now(screen);
        sentAtMs_ = ticks_ms();
    }
    draw_note(screen); // a note stays over the picture while its time lasts
}

void SdlPlatform::show_now(SDL_Surface* screen)
{
    // The compatibility library sends part of the window to the display only at a later
    // update or event pump (at most sixty times a second): alone, the clock's new second would
    // wait for the next one, and every other picture of the birds would never be seen. An
    // empty update after it, once that sixtieth of a second is over, sends it at once.
    if (over_sdl2_) {
        SDL_Rect none{0, 0, 0, 0};
        SDL_UpdateRects(screen, 1, &none);
    }
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

} // namespace svc
