// The window thread's pass: redraw, events, the tone queue and the error dialog overlay.
#include "services/window_loop.h"

#include <algorithm>
#include <string_view>

#include "data/fonts.h"
#include "services/keyboard.h"
#include "services/services.h"
#include "services/sound.h"

namespace svc {
namespace {

constexpr std::uint32_t kDialogFace = 0xC0C0C0;
constexpr std::uint32_t kDialogTitle = 0x000080;
constexpr std::uint32_t kDialogText = 0x000000;
constexpr std::uint32_t kDialogHighlight = 0xFFFFFF; // button edges and the title text
constexpr int kButtonW = 64;
constexpr int kButtonH = 20;

// The dialog's box and buttons for a picture of w x h.
struct DialogLayout {
    int x, y, w, h;
    int yesX, noX, buttonY; // noX < 0: OK only (at yesX)
};

std::vector<std::string_view> split_lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t nl = text.find('\n', start);
        lines.push_back(text.substr(start, nl == std::string_view::npos ? nl : nl - start));
        if (nl == std::string_view::npos) {
            return lines;
        }
        start = nl + 1;
    }
}

DialogLayout layout(const DialogRequest& r, int w, int h)
{
    const auto lines = split_lines(r.text);
    std::size_t cols = r.title.size();
    for (auto l : lines) {
        cols = std::max(cols, l.size());
    }
    DialogLayout d{};
    d.w = std::min(w, static_cast<int>(std::max<std::size_t>(cols, 20)) * 8 + 32);
    d.h = std::min(h, 16 + 8 + static_cast<int>(lines.size()) * 16 + 8 + kButtonH + 8);
    d.x = (w - d.w) / 2;
    d.y = (h - d.h) / 2;
    d.buttonY = d.y + d.h - 8 - kButtonH;
    if (r.yesNo) {
        d.yesX = d.x + d.w / 2 - kButtonW - 8;
        d.noX = d.x + d.w / 2 + 8;
    } else {
        d.yesX = d.x + (d.w - kButtonW) / 2;
        d.noX = -1;
    }
    return d;
}

void fill(std::vector<std::uint32_t>& px, int w, int h, int x0, int y0, int rw, int rh,
          std::uint32_t c)
{
    for (int y = std::max(0, y0); y < std::min(h, y0 + rh); ++y) {
        for (int x = std::max(0, x0); x < std::min(w, x0 + rw); ++x) {
            px[static_cast<std::size_t>(y) * w + x] = c;
        }
    }
}

void text(std::vector<std::uint32_t>& px, int w, int h, int x0, int y0, std::string_view s,
          std::uint32_t c)
{
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto& g = data::kFont8x16[static_cast<std::uint8_t>(s[i])];
        for (int gy = 0; gy < 16; ++gy) {
            for (int gx = 0; gx < 8; ++gx) {
                const int x = x0 + static_cast<int>(i) * 8 + gx;
                const int y = y0 + gy;
                if ((g[gy] & (0x80 >> gx)) && x >= 0 && x < w && y >= 0 && y < h) {
                    px[static_cast<std::size_t>(y) * w + x] = c;
                }
            }
        }
    }
}

void button(std::vector<std::uint32_t>& px, int w, int h, int x, int y, std::string_view label)
{
    fill(px, w, h, x, y, kButtonW, kButtonH, kDialogText);
    fill(px, w, h, x + 1, y + 1, kButtonW - 2, kButtonH - 2, kDialogHighlight);
    fill(px, w, h, x + 2, y + 2, kButtonW - 4, kButtonH - 4, kDialogFace);
    text(px, w, h, x + (kButtonW - static_cast<int>(label.size()) * 8) / 2, y + 2, label,
         kDialogText);
}

} // namespace

bool render_screen(const ScreenImage& image, std::vector<std::uint32_t>& out, int& w, int& h)
{
    if (image.mode() < 0) {
        return false;
    }
    w = image.width();
    h = image.height();
    out.resize(static_cast<std::size_t>(w) * h);
    std::uint32_t pal[16];
    for (int i = 0; i < 16; ++i) {
        pal[i] = image.palette_entry(i);
    }
    std::uint32_t* dst = out.data();
    if (!image.text_mode()) {
        const int words = w / 8;
        for (int y = 0; y < h; ++y) {
            for (int wi = 0; wi < words; ++wi) {
                const std::uint64_t v = image.row_word(y, wi);
                for (int k = 0; k < 8; ++k) {
                    *dst++ = pal[(v >> (8 * k)) & 15];
                }
            }
        }
        return true;
    }
    for (int row = 0; row < ScreenImage::kTextRows; ++row) {
        for (int col = 0; col < ScreenImage::kTextCols; ++col) {
            const std::uint16_t cell = image.cell(row, col);
            const auto& glyph = data::kFont8x16[cell & 0xFF];
            const std::uint32_t fg = pal[(cell >> 8) & 15];
            const std::uint32_t bg = pal[(cell >> 12) & 7];
            for (int gy = 0; gy < 16; ++gy) {
                std::uint32_t* p =
                    out.data() + static_cast<std::size_t>(row * 16 + gy) * w + col * 8;
                const std::uint8_t bits = glyph[gy];
                for (int gx = 0; gx < 8; ++gx) {
                    p[gx] = (bits & (0x80 >> gx)) ? fg : bg;
                }
            }
        }
    }
    return true;
}

WindowLoop::WindowLoop(Services& services) : s_(services) {}

void WindowLoop::pass()
{
    passes_.fetch_add(1, std::memory_order_relaxed);
    if (redrawTurn_) {
        redraw();
    } else {
        handle_events();
    }
    redrawTurn_ = !redrawTurn_;
    s_.sound().window_pass();
}

void WindowLoop::exit_if_stopped() const
{
    if (stop_requested()) {
        throw ProgramExit{0};
    }
}

void WindowLoop::hold_image()
{
    imageHeld_.store(true);
    while (reading_.load()) {
        s_.platform().yield();
    }
}

void WindowLoop::release_image()
{
    imageHeld_.store(false);
}

void WindowLoop::redraw()
{
    reading_.store(true);
    if (imageHeld_.load()) {
        reading_.store(false);
        return;
    }
    const bool ok = render_screen(s_.screen(), frame_, frameW_, frameH_);
    reading_.store(false);
    if (!ok) {
        return;
    }
    if (dialog_showing()) {
        draw_dialog(frame_, frameW_, frameH_);
    }
    // An unchanged picture is not sent again, but at least once a second (a window that
    // was covered gets its picture back).
    if (frame_ == shown_ && ++unchangedRedraws_ < 32) {
        return;
    }
    unchangedRedraws_ = 0;
    shown_ = frame_;
    s_.platform().present(frame_.data(), frameW_, frameH_);
}

void WindowLoop::handle_events()
{
    PlatformEvent ev;
    while (s_.platform().poll_event(ev)) {
        switch (ev.type) {
        case PlatformEvent::Type::Close:
            request_stop();
            break;
        case PlatformEvent::Type::Key:
            handle_key(ev.key);
            break;
        case PlatformEvent::Type::MouseDown: {
            bool yes = false;
            if (dialog_showing() && dialog_hit(ev.mouseX, ev.mouseY, yes)) {
                answer_dialog(yes);
            }
            break;
        }
        case PlatformEvent::Type::None:
            break;
        }
    }
}

void WindowLoop::handle_key(const KeyPress& k)
{
    // Stop, pause and full screen come before the key table and never reach the game.
    if (k.key == Key::Break || (k.ctrl && k.key == Key::Pause) ||
        (k.ctrl && k.key == Key::ScrollLock)) {
        request_stop();
        return;
    }
    if (k.alt && (k.key == Key::Enter || k.key == Key::KpEnter)) {
        s_.platform().cycle_fullscreen();
        return;
    }
    if (paused_.load(std::memory_order_relaxed)) {
        paused_.store(false, std::memory_order_relaxed); // the resuming key is swallowed
        return;
    }
    if (k.key == Key::Pause || (k.ctrl && k.key == Key::NumLock)) {
        paused_.store(true, std::memory_order_relaxed);
        return;
    }
    if (dialog_showing()) {
        if (k.key == Key::Y || k.key == Key::Enter || k.key == Key::KpEnter) {
            answer_dialog(true);
        } else if (request_.yesNo && (k.key == Key::N || k.key == Key::Escape)) {
            answer_dialog(false);
        } else if (!request_.yesNo && k.key == Key::Escape) {
            answer_dialog(true);
        }
        return;
    }
    if (const auto code = translate_key(k)) {
        s_.keys().push(*code);
    }
}

bool WindowLoop::run_dialog(const DialogRequest& request)
{
    request_ = request;
    dialogState_.store(DialogState::Showing, std::memory_order_release);
    while (dialog_showing()) {
        if (stop_requested()) {
            dialogState_.store(DialogState::None, std::memory_order_release);
            return false;
        }
        s_.platform().sleep_ms(10);
    }
    const bool yes = dialogState_.load(std::memory_order_acquire) == DialogState::Yes;
    dialogState_.store(DialogState::None, std::memory_order_release);
    return yes;
}

void WindowLoop::draw_dialog(std::vector<std::uint32_t>& px, int w, int h)
{
    const DialogLayout d = layout(request_, w, h);
    fill(px, w, h, d.x, d.y, d.w, d.h, kDialogText);
    fill(px, w, h, d.x + 1, d.y + 1, d.w - 2, d.h - 2, kDialogFace);
    fill(px, w, h, d.x + 1, d.y + 1, d.w - 2, 16, kDialogTitle);
    text(px, w, h, d.x + 8, d.y + 1, request_.title, kDialogHighlight);
    int y = d.y + 16 + 8;
    for (auto line : split_lines(request_.text)) {
        text(px, w, h, d.x + 16, y, line, kDialogText);
        y += 16;
    }
    if (request_.yesNo) {
        button(px, w, h, d.yesX, d.buttonY, "Yes");
        button(px, w, h, d.noX, d.buttonY, "No");
    } else {
        button(px, w, h, d.yesX, d.buttonY, "OK");
    }
}

bool WindowLoop::dialog_buttons(Buttons& out) const
{
    if (!dialog_showing() || frameW_ == 0) {
        return false;
    }
    const DialogLayout d = layout(request_, frameW_, frameH_);
    out = Buttons{{d.yesX, d.buttonY, kButtonW, kButtonH},
                  {d.noX, d.buttonY, d.noX >= 0 ? kButtonW : 0, kButtonH}};
    return true;
}

bool WindowLoop::dialog_hit(int x, int y, bool& yes) const
{
    const DialogLayout d = layout(request_, frameW_, frameH_);
    if (y < d.buttonY || y >= d.buttonY + kButtonH) {
        return false;
    }
    if (x >= d.yesX && x < d.yesX + kButtonW) {
        yes = true;
        return true;
    }
    if (d.noX >= 0 && x >= d.noX && x < d.noX + kButtonW) {
        yes = false;
        return true;
    }
    return false;
}

} // namespace svc
