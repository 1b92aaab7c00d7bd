// Keyboard reads, the timer, the time of day and the random-number generator.
#include <cmath>
#include <cstdio>

#include "services/common/bits.h"
#include "services/entry.h"
#include "services/services.h"
#include "services/window/window_loop.h"

namespace svc {

std::string Services::read_key(Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return {};
    }
    if (!platform_.threaded()) {
        platform_.yield(); // without a window thread, the keys come in while the game yields
    }
    const std::optional<KeyCode> k = keys_.pop();
    if (!k) {
        return {};
    }
    if (k->ch != 0 || k->scan == 0) {
        return std::string(1, static_cast<char>(k->ch));
    }
    return std::string{'\0', static_cast<char>(k->scan)};
}

std::string Services::wait_keys(int n, Here here)
{
    Entry entry(*this, here);
    std::string result;
    if (!entry) {
        return result;
    }
    int count = 0;
    while (count < n && !window_->stop_requested()) {
        if (window_->paused()) {
            platform_.sleep_ms(10);
            continue;
        }
        const std::string k = read_key(here);
        if (!k.empty()) {
            result += k[0];
            ++count;
        } else {
            platform_.sleep_ms(1);
        }
    }
    return result;
}

double Services::ms_to_next_second()
{
    LocalTime t;
    return platform_.local_time(t) ? 1000 - t.millis : 1000;
}

double Services::clock_ms()
{
    return platform_.ticks_ms();
}

bool Services::sleeps_through_idle() const
{
    return platform_.sleeps_through_idle();
}

bool Services::sleep_until_key(double untilMs)
{
    // A key (or a stop) that comes after the bell is cleared rings it again.
    Wakeup& bell = keys_.bell();
    bell.clear();
    if (!keys_.empty() || window_->stop_requested() || untilMs <= platform_.ticks_ms()) {
        return false;
    }
    if (screen_.touched()) {
        platform_.wake_window(); // the pass just drawn goes to the display
    }
    platform_.sleep_until(untilMs, bell);
    return true;
}

float Services::timer_seconds(Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return 0;
    }
    const double ms = std::fmod(platform_.ticks_ms() - clockStartTicks_ + clockBaseMs_, 86400000.0);
    const double t = std::floor(ms) / 1000.0;
    // The timer ticks 18.2 times a second.
    return static_cast<float>(std::nearbyint(t * 18.2) / 18.2);
}

std::string Services::time_of_day(Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return {};
    }
    LocalTime t;
    if (!platform_.local_time(t)) {
        raise(kIllegalFunctionCall);
        return {};
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hours % 100, t.minutes % 100,
                  t.seconds % 100);
    return buf;
}

void Services::randomize(double value, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    std::uint32_t h = static_cast<std::uint32_t>(bits_of<std::uint64_t>(value) >> 32);
    h ^= h >> 16;
    seed_ = (seed_ & 0xFF) | ((h & 0xFFFF) << 8);
}

float Services::random_single(Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return 0;
    }
    seed_ = (seed_ * 16598013u + 12820163u) & 0xFFFFFFu;
    return static_cast<float>(seed_) / 16777216.0f;
}

} // namespace svc
