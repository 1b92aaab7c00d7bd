// The tone queue, its waits, and the sound services of the game: play_macro, sound_tone,
// beep and play_sound_file.
#include "services/sound.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "services/entry.h"
#include "services/files/files.h"
#include "services/services.h"
#include "services/window_loop.h"

namespace svc {

namespace {

constexpr double kWaitStepMs = 10;

} // namespace

SoundSystem::SoundSystem(Services& services) : s_(services), ring_(kQueueCapacity) {}

SoundSystem::~SoundSystem() = default;

// ---- window side ----

void SoundSystem::window_pass()
{
    Platform& platform = s_.platform();
    platform.audio_pass();
    const std::uint64_t started = started_.load(std::memory_order_relaxed);
    const std::uint64_t appended = appended_.load(std::memory_order_acquire);
    if (appended == 0) {
        return; // nothing was ever queued: the output may not even be open
    }
    const bool device = device_.load(std::memory_order_acquire);
    if (started > released_.load(std::memory_order_relaxed)) {
        const bool playing = device ? platform.tone_playing() : platform.ticks_ms() < silentEndMs_;
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
        platform.tone_start(next.samples.data(), next.frames());
    } else {
        silentEndMs_ = platform.ticks_ms() + next.seconds() * 1000.0;
    }
    started_.store(started + 1, std::memory_order_release);
}

// ---- game's thread ----

bool SoundSystem::open_output()
{
    if (!opened_) {
        opened_ = true;
        const bool ok = s_.platform().audio_open();
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
    s_.window().exit_if_stopped();
    s_.platform().sleep_ms(kWaitStepMs);
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
    Platform& platform = s_.platform();
    const double end = platform.ticks_ms() + ms;
    for (double now = platform.ticks_ms(); now < end; now = platform.ticks_ms()) {
        s_.window().exit_if_stopped();
        platform.sleep_ms(std::min(kWaitStepMs, end - now));
    }
}

void SoundSystem::play_macro(std::string_view text)
{
    std::optional<SoundBuffer> tune = synth_macro(text, macro_);
    if (!tune) {
        s_.raise(kIllegalFunctionCall);
        return;
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
}

void SoundSystem::tone(double frequencyHz, double durationTicks)
{
    if (!tone_arguments_ok(frequencyHz, durationTicks)) {
        s_.raise(kIllegalFunctionCall);
        return;
    }
    if (durationTicks == 0) {
        return;
    }
    prepare_queue();
    SoundBuffer buffer;
    append_tone(buffer, frequencyHz, durationTicks / kTicksPerSecond, 1.0);
    wait_until_started(append(std::move(buffer)));
}

void SoundSystem::beep()
{
    prepare_queue();
    SoundBuffer buffer;
    append_tone(buffer, 783.99, 0.2, 1.0);
    append(std::move(buffer));
    wait_ms(250);
}

void SoundSystem::play_file(const std::string& name, bool overlap)
{
    if (!open_output()) {
        return;
    }
    // A file that cannot be opened or decoded plays nothing, on purpose without an error
    // dialog. It is looked at first without waiting: a pipe or a device in its place would
    // hang the decoder's open.
    const ReadOpen opened = open_for_reading(name);
    if (opened.odd) {
        std::fprintf(stderr, "muvesecky: %s: %s\n", name.c_str(), read_open_reason(opened).c_str());
        return;
    }
    if (opened.fd >= 0) {
        ::close(opened.fd);
    }
    const bool playing =
        overlap ? s_.platform().play_sample_file(name) : s_.platform().play_stream_file(name);
    if (!playing) {
        const std::string why = opened.fd < 0 ? read_open_reason(opened) : "cannot be played";
        std::fprintf(stderr, "muvesecky: %s: %s\n", name.c_str(), why.c_str());
    }
}

// ---- the services ----

void Services::play_macro(std::string_view macro, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    sound_->play_macro(macro);
}

void Services::sound_tone(double frequencyHz, double durationTicks, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    sound_->tone(frequencyHz, durationTicks);
}

void Services::beep(Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    sound_->beep();
}

void Services::play_sound_file(const std::string& name, bool overlap, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    sound_->play_file(name, overlap);
}

} // namespace svc
