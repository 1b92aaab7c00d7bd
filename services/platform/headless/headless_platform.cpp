// The headless platform: virtual time, scripted events and a captured picture.
#include "services/platform/headless/headless_platform.h"

#include <cmath>

#include "services/video/png_writer.h"

namespace svc {

HeadlessPlatform::HeadlessPlatform() = default;

void HeadlessPlatform::set_time_of_day(int h, int m, int s, double ms)
{
    dayBaseMs_ = ((h * 60.0 + m) * 60.0 + s) * 1000.0 + ms - nowMs_;
}

bool HeadlessPlatform::run_pass_due(double targetMs)
{
    if (task_ == nullptr || inPass_ || nextPassMs_ > targetMs) {
        return false;
    }
    nowMs_ = std::max(nowMs_, nextPassMs_);
    nextPassMs_ += 16;
    if (closeAfterMs > 0 && nowMs_ >= closeAfterMs) {
        closeAfterMs = 0;
        close_window();
    }
    inPass_ = true;
    task_->pass();
    if (onPass) {
        onPass();
    }
    inPass_ = false;
    return true;
}

void HeadlessPlatform::advance(double ms)
{
    const double target = nowMs_ + ms;
    // Passes that fall due meanwhile run here; a pass never starts inside another one.
    while (run_pass_due(target)) {
    }
    nowMs_ = std::max(nowMs_, target);
}

void HeadlessPlatform::sleep_until(double untilMs, Wakeup& bell)
{
    untilMs = std::max(untilMs, nowMs_ + shortestSleepMs);
    while (!bell.rung() && run_pass_due(untilMs)) {
    }
    if (!bell.rung()) {
        nowMs_ = std::max(nowMs_, untilMs);
    }
}

void HeadlessPlatform::press_key(const KeyPress& press)
{
    PlatformEvent ev;
    ev.type = PlatformEvent::Type::Key;
    ev.key = press;
    events_.push_back(ev);
}

void HeadlessPlatform::press_key(Key key, bool shift, bool ctrl, bool alt)
{
    KeyPress p;
    p.key = key;
    p.shift = shift;
    p.ctrl = ctrl;
    p.alt = alt;
    press_key(p);
}

void HeadlessPlatform::type_text(const std::string& text)
{
    static constexpr char kLetters[] = "QWERTYUIOPASDFGHJKLZXCVBNM";
    static constexpr Key kLetterKeys[] = {Key::Q, Key::W, Key::E, Key::R, Key::T, Key::Y, Key::U,
                                          Key::I, Key::O, Key::P, Key::A, Key::S, Key::D, Key::F,
                                          Key::G, Key::H, Key::J, Key::K, Key::L, Key::Z, Key::X,
                                          Key::C, Key::V, Key::B, Key::N, Key::M};
    static constexpr Key kDigits[] = {Key::D0, Key::D1, Key::D2, Key::D3, Key::D4,
                                      Key::D5, Key::D6, Key::D7, Key::D8, Key::D9};
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            press_key(kDigits[c - '0']);
        } else if (c == ' ') {
            press_key(Key::Space);
        } else if (c == '\r' || c == '\n') {
            press_key(Key::Enter);
        } else if (c == 0x1B) {
            press_key(Key::Escape);
        } else {
            const char upper = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
            for (int i = 0; i < 26; ++i) {
                if (kLetters[i] == upper) {
                    press_key(kLetterKeys[i], c == upper);
                }
            }
        }
    }
}

void HeadlessPlatform::click_mouse(int x, int y)
{
    PlatformEvent ev;
    ev.type = PlatformEvent::Type::MouseDown;
    ev.mouseX = x;
    ev.mouseY = y;
    events_.push_back(ev);
}

void HeadlessPlatform::close_window()
{
    PlatformEvent ev;
    ev.type = PlatformEvent::Type::Close;
    events_.push_back(ev);
}

bool HeadlessPlatform::save_png(const std::string& path) const
{
    return !frame_.empty() && write_png(path, frame_.data(), frameW_, frameH_);
}

void HeadlessPlatform::start(WindowTask& task)
{
    task_ = &task;
    nextPassMs_ = nowMs_ + 16;
}

void HeadlessPlatform::stop()
{
    task_ = nullptr;
}

bool HeadlessPlatform::local_time(LocalTime& out)
{
    const double ms = std::fmod(dayBaseMs_ + nowMs_, 86400000.0);
    const long total = static_cast<long>(std::floor(ms / 1000.0));
    out.hours = static_cast<int>(total / 3600);
    out.minutes = static_cast<int>(total / 60 % 60);
    out.seconds = static_cast<int>(total % 60);
    out.millis = ms - total * 1000.0;
    return true;
}

void HeadlessPlatform::present(const std::uint32_t* pixels, int w, int h, int top, int bottom,
                               int left, int right)
{
    ++presents;
    presentedTop = top;
    presentedBottom = bottom;
    presentedLeft = left;
    presentedRight = right;
    frame_.assign(pixels, pixels + static_cast<std::size_t>(w) * h);
    frameW_ = w;
    frameH_ = h;
}

bool HeadlessPlatform::poll_event(PlatformEvent& ev)
{
    if (events_.empty()) {
        return false;
    }
    ev = events_.front();
    events_.pop_front();
    return true;
}

} // namespace svc
