// The tone queue, its waits, and music-file playback.
#include "services/audio/sound_system.h"

#include <algorithm>
#include <cstdio>

namespace svc {

namespace {

constexpr double kWaitStepMs = 10;

} // namespace

SoundSystem::SoundSystem(Platform& platform, const StopRequest& stop)
    : platform_(platform), stop_(stop), ring_(kQueueCapacity)
{
}

SoundSystem::~SoundSystem() = default;

// ---- window side ----

void SoundSystem::pass()
{
    platform_.audio_pass();
    const std::uint64_t started = started_.load(std::memory_order_relaxed);
    const std::uint64_t appended = appended_.load(std::memory_order_acquire);
    if (appended == 0) {
        return; // nothing was ever queued: the output may not even be open
    }
    const bool device = device_.load(std::memory_order_acquire);
    if (started > released_.load(std::memory_order_relaxed)) {
        const bool playing =
            device ? platform_.tone_playing() : platform_.ticks_ms() < silentEndMs_;
        if (playing) {
            return;
        }
        ring_[(started - 1) % kQueueCapacity] = SoundBuffer{};
        released_.store(started, std::memory_order_release);
    }
    if (appended == started) {
        return;
    }
    const SoundBuffer& next = ring_[started % kQueueCapacity];
    if (device) {
        platform_.tone_start(next.samples.data(), next.frames());
    } else {
        silentEndMs_ = platform_.ticks_ms() + next.seconds() * 1000.0;
    }
    started_.store(started + 1, std::memory_order_release);
}

// ---- game's thread ----

bool SoundSystem::open_output()
{
    if (!opened_) {
        opened_ = true;
        const bool ok = platform_.audio_open();
        device_.store(ok, std::memory_order_release);
        if (!ok) {
            // On purpose no exit here: the game plays on silently with the same timing.
            std::fprintf(stderr, "muvesecky: no sound output could be opened; "
                                 "going on without sound\n");
        }
    }
    return device_.load(std::memory_order_relaxed);
}

void SoundSystem::prepare_queue()
{
    open_output();
    if (!leadInQueued_) {
        leadInQueued_ = true;
        SoundBuffer leadIn;
        leadIn.samples.assign(2 * kLeadInFrames, 0);
        append(std::move(leadIn));
    }
}

std::uint64_t SoundSystem::append(SoundBuffer&& buffer)
{
    const std::uint64_t index = appended_.load(std::memory_order_relaxed);
    while (index - released_.load(std::memory_order_acquire) >= kQueueCapacity) {
        sleep_step();
    }
    ring_[index % kQueueCapacity] = std::move(buffer);
    appended_.store(index + 1, std::memory_order_release);
    return index;
}

void SoundSystem::sleep_step()
{
    stop_.exit_if_requested();
    platform_.sleep_ms(kWaitStepMs);
}

void SoundSystem::wait_until_started(std::uint64_t index)
{
    // A key press does not end this wait; only a stop request does.
    while (started_.load(std::memory_order_acquire) <= index) {
        sleep_step();
    }
}

void SoundSystem::wait_ms(double ms)
{
    const double end = platform_.ticks_ms() + ms;
    for (double now = platform_.ticks_ms(); now < end; now = platform_.ticks_ms()) {
        stop_.exit_if_requested();
        platform_.sleep_ms(std::min(kWaitStepMs, end - now));
    }
}

bool SoundSystem::play_macro(std::string_view text)
{
    std::optional<SoundBuffer> tune = synth_macro(text, macro_);
    if (!tune) {
        return false;
    }
    prepare_queue();
    if (tune->frames() > 0) {
        append(std::move(*tune));
    }
    if (macro_.foreground) {
        // An empty one-frame marker: when it starts, the tune has been played to its end.
        SoundBuffer marker;
        marker.samples.assign(2, 0);
        wait_until_started(append(std::move(marker)));
    }
    return true;
}

bool SoundSystem::tone(double frequencyHz, double durationTicks)
{
    if (!tone_arguments_ok(frequencyHz, durationTicks)) {
        return false;
    }
    if (durationTicks == 0) {
        return true;
    }
    prepare_queue();
    SoundBuffer buffer;
    append_tone(buffer, frequencyHz, durationTicks / kTicksPerSecond, 1.0);
    wait_until_started(append(std::move(buffer)));
    return true;
}

void SoundSystem::beep()
{
    prepare_queue();
    SoundBuffer buffer;
    append_tone(buffer, 783.99, 0.2, 1.0);
    append(std::move(buffer));
    wait_ms(250);
}

bool SoundSystem::play_file(const std::string& name, bool overlap)
{
    return overlap ? platform_.play_sample_file(name) : platform_.play_stream_file(name);
}

} // namespace svc
