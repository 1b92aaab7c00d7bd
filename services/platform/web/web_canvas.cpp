// The browser platform's canvas and the page's keys and clicks. The page's side of each call
// is in web/page.js (the object Muv).
#include <emscripten.h>

#include "services/platform/web/web_keys.h"
#include "services/platform/web/web_platform.h"

// clang-format off
EM_JS(void, web_present, (const void* rgba, int w, int h, int x, int y, int rw, int rh), {
    Muv.present(new Uint8ClampedArray(HEAPU8.buffer, rgba, w * h * 4), w, h, x, y, rw, rh);
});
// The next event: 0 none, 1 a key (its code and modifier bits), 2 a click (x, y).
EM_JS(int, web_take_event, (double pass, char* code, int cap, int* values), {
    const ev = Muv.takeEvent(pass);
    if (!ev) {
        return 0;
    }
    if (ev.kind === 1) {
        stringToUTF8(ev.code, code, cap);
        HEAP32[values >> 2] = ev.modifiers;
    } else {
        HEAP32[values >> 2] = ev.x;
        HEAP32[(values >> 2) + 1] = ev.y;
    }
    return ev.kind;
});
EM_JS(void, web_toggle_fullscreen, (), { Muv.toggleFullscreen(); });
// clang-format on

namespace svc {

void WebPlatform::present(const std::uint32_t* pixels, int w, int h, int top, int bottom, int left,
                          int right)
{
    if (w != rgbaW_ || h != rgbaH_) {
        rgbaW_ = w;
        rgbaH_ = h;
        rgba_.assign(static_cast<std::size_t>(w) * h, 0xFF000000u);
        top = left = 0;
        bottom = h - 1;
        right = w - 1;
    }
    if (!clip_to_picture(w, h, top, bottom, left, right)) {
        return;
    }
    // 0x00RRGGBB to the canvas's bytes red, green, blue, alpha (a little-endian word).
    for (int y = top; y <= bottom; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * w;
        for (int x = left; x <= right; ++x) {
            const std::uint32_t p = pixels[row + x];
            rgba_[row + x] = 0xFF000000u | (p & 0xFFu) << 16 | (p & 0xFF00u) | (p >> 16 & 0xFFu);
        }
    }
    web_present(rgba_.data(), w, h, left, top, right - left + 1, bottom - top + 1);
    shownAtMs_ = ticks_ms();
}

bool WebPlatform::poll_event(PlatformEvent& ev)
{
    char code[32] = "";
    int values[2] = {};
    for (;;) {
        switch (web_take_event(static_cast<double>(passes_), code, sizeof code, values)) {
        case 1:
            lastEventMs_ = ticks_ms();
            ev.type = PlatformEvent::Type::Key;
            ev.key = web_key_press(code, static_cast<unsigned>(values[0]));
            if (ev.key.key != Key::None) {
                return true;
            }
            break; // keys the PC keyboard lacks are passed over
        case 2:
            lastEventMs_ = ticks_ms();
            ev.type = PlatformEvent::Type::MouseDown;
            ev.mouseX = values[0];
            ev.mouseY = values[1];
            return true;
        default:
            return false;
        }
    }
}

void WebPlatform::cycle_fullscreen()
{
    web_toggle_fullscreen();
}

} // namespace svc
