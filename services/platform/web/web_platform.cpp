// The browser platform's clock, window passes and sleeps. The page's side of each call
// is in web/page.js (the object Muv); the functions here only hand values across.
#include "services/platform/web/web_platform.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>

// clang-format off
EM_JS(double, web_fixed_clock_ms, (), { return Muv.fixedClockMs; });
EM_JS(double, web_stop_at_pass, (), { return Muv.stopAtPass; });
EM_JS(double, web_local_ms, (), {
    const d = new Date();
    return ((d.getHours() * 60 + d.getMinutes()) * 60 + d.getSeconds()) * 1000 +
           d.getMilliseconds();
});
// A key or click the program has not taken yet.
EM_JS(int, web_event_waiting, (), { return Muv.eventWaiting() ? 1 : 0; });
// Gives the thread to the browser for up to ms, or until the page's next key or click.
EM_ASYNC_JS(void, web_wait_for_event, (double ms), { await Muv.waitForEvent(ms); });
EM_JS(void, web_held, (double pass), { Muv.held(pass); });
// clang-format on

namespace svc {

namespace {

// The window's rest between passes on the computer's clock: short while the player is at the
// keys, longer once the page has had no event for a second (as the desktop window rests). The
// fixed clock keeps the headless platform's 16 ms, so a test's passes fall as they do there.
constexpr double kPassMs = 4;
constexpr double kQuietPassMs = 16;
constexpr double kQuietAfterMs = 1000;
constexpr double kFixedPassMs = 16;
// A yield costs the game nothing; the browser gets the thread at least this often.
constexpr double kBreathMs = 12;
// While the keys are quiet, pictures the game changes on its own (the birds, the clock) go to
// the canvas at most this often, as on the desktop: each one costs the page a paint. Two
// steps of the birds.
constexpr double kQuietPictureMs = 40;
// The game's wakes on its own (the birds' steps, 20 ms apart) bring each picture's turn: a
// picture goes up to kPictureEarlyMs before it, and one whose turn falls less than
// kPictureLateMs before the game's next wake waits for that wake (its drawing goes along),
// so the page wakes once for both.
constexpr double kPictureEarlyMs = 5;
constexpr double kPictureLateMs = 20;
// One yield moves the fixed clock as far as it moves the headless one.
constexpr double kYieldStepMs = 0.05;

bool quiet(double nowMs, double lastEventMs)
{
    return nowMs - lastEventMs > kQuietAfterMs;
}

} // namespace

WebPlatform::Clock WebPlatform::clock_from_page()
{
    Clock clock;
    const double fixedMs = web_fixed_clock_ms();
    if (fixedMs >= 0) {
        clock.fixed = true;
        clock.startOfDayMs = fixedMs;
    }
    return clock;
}

WebPlatform::WebPlatform(Clock clock) : clock_(clock), audio_(make_audio_state())
{
    realStartMs_ = emscripten_get_now();
    lastBreathMs_ = realStartMs_;
}

WebPlatform::~WebPlatform() = default;

double WebPlatform::real_ms() const
{
    return emscripten_get_now() - realStartMs_;
}

void WebPlatform::start(WindowTask& task)
{
    task_ = &task;
    nextPassMs_ = ticks_ms() + (clock_.fixed ? kFixedPassMs : kPassMs);
}

void WebPlatform::stop()
{
    task_ = nullptr;
}

double WebPlatform::ticks_ms()
{
    return clock_.fixed ? virtualMs_ : real_ms();
}

bool WebPlatform::local_time(LocalTime& out)
{
    const double ms =
        clock_.fixed ? std::fmod(clock_.startOfDayMs + virtualMs_, 86400000.0) : web_local_ms();
    const long total = static_cast<long>(std::floor(ms / 1000.0));
    out.hours = static_cast<int>(total / 3600);
    out.minutes = static_cast<int>(total / 60 % 60);
    out.seconds = static_cast<int>(total % 60);
    out.millis = ms - static_cast<double>(total) * 1000.0;
    return true;
}

void WebPlatform::run_pass()
{
    ++passes_;
    inPass_ = true;
    task_->pass();
    inPass_ = false;
    hold_if_stopped();
}

void WebPlatform::hold_if_stopped()
{
    if (!clock_.fixed) {
        return;
    }
    // The test reads the canvas now: the game waits here until the page moves its stop on
    // (the keys it is given meanwhile are taken at the next pass), or for good.
    bool told = false;
    for (;;) {
        const double stopAt = web_stop_at_pass();
        if (stopAt <= 0 || static_cast<double>(passes_) < stopAt) {
            return;
        }
        if (!told) {
            web_held(static_cast<double>(passes_));
            told = true;
        }
        emscripten_sleep(10);
    }
}

void WebPlatform::run_due_passes(double untilMs)
{
    const double step = clock_.fixed                   ? kFixedPassMs
                        : quiet(untilMs, lastEventMs_) ? kQuietPassMs
                                                       : kPassMs;
    // A pass never starts inside another one.
    while (task_ != nullptr && !inPass_ && nextPassMs_ <= untilMs) {
        if (clock_.fixed) {
            virtualMs_ = std::max(virtualMs_, nextPassMs_);
            nextPassMs_ += step;
        } else {
            // Passes missed while the browser held the thread are not made up.
            nextPassMs_ = untilMs + step;
        }
        run_pass();
    }
}

void WebPlatform::keep_pace()
{
    const double real = real_ms();
    // With the fixed clock the game's time may run ahead of the real one (sleeps move it at
    // once): the browser gets the difference, so the game plays at its own speed.
    const double ahead = clock_.fixed ? virtualMs_ - real : 0;
    if (ahead >= 1) {
        emscripten_sleep(static_cast<unsigned>(ahead));
    } else if (real - lastBreathMs_ >= kBreathMs) {
        emscripten_sleep(0);
    } else {
        return;
    }
    lastBreathMs_ = real_ms();
}

void WebPlatform::sleep_ms(double ms)
{
    if (clock_.fixed) {
        const double target = virtualMs_ + ms;
        run_due_passes(target);
        virtualMs_ = std::max(virtualMs_, target);
        keep_pace();
        return;
    }
    const double end = real_ms() + ms;
    for (;;) {
        run_due_passes(real_ms());
        const double now = real_ms();
        if (now >= end) {
            break;
        }
        const double wait = std::min(end, task_ != nullptr ? nextPassMs_ : end) - now;
        emscripten_sleep(static_cast<unsigned>(std::max(0.0, std::ceil(wait))));
        lastBreathMs_ = real_ms();
    }
}

void WebPlatform::yield()
{
    if (clock_.fixed) {
        const double target = virtualMs_ + kYieldStepMs;
        run_due_passes(target);
        virtualMs_ = std::max(virtualMs_, target);
    } else {
        run_due_passes(real_ms());
    }
    keep_pace();
}

double WebPlatform::next_window_ms(double untilMs)
{
    const double now = real_ms();
    if (task_ == nullptr || inPass_) {
        return HUGE_VAL;
    }
    if (web_event_waiting() != 0) {
        return now;
    }
    switch (task_->work()) {
    case WindowWork::Other:
        return nextPassMs_;
    case WindowWork::Picture: {
        const double turnMs = shownAtMs_ + kQuietPictureMs;
        return picture_due() ? now : untilMs - turnMs < kPictureLateMs ? HUGE_VAL : turnMs;
    }
    case WindowWork::None:
        break;
    }
    return feeding_sound() ? nextPassMs_ : HUGE_VAL;
}

void WebPlatform::sleep_until(double untilMs, Wakeup& bell)
{
    if (clock_.fixed) {
        Platform::sleep_until(untilMs, bell);
        return;
    }
    // Whatever the game just drew goes to the canvas before the sleep (a key's answer at
    // once); a picture whose turn comes with the end of the sleep waits for the game's next
    // drawing instead, so it is never a step behind.
    for (double now = real_ms(); !bell.rung() && now < untilMs; now = real_ms()) {
        const double windowMs = next_window_ms(untilMs);
        if (windowMs <= now) {
            nextPassMs_ = now; // a pass out of its turn: the work will not wait
            run_due_passes(now);
            continue;
        }
        web_wait_for_event(std::max(1.0, std::ceil(std::min(untilMs, windowMs) - now)));
        lastBreathMs_ = real_ms();
    }
    // The game draws next: the window's pass waits for that (the next sleep shows it).
    nextPassMs_ = std::max(nextPassMs_, real_ms() + kPassMs);
}

bool WebPlatform::picture_due()
{
    const double now = ticks_ms();
    return clock_.fixed || !quiet(now, lastEventMs_) ||
           now - shownAtMs_ >= kQuietPictureMs - kPictureEarlyMs;
}

} // namespace svc
