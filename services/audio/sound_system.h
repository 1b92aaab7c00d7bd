// The tone queue and music-file playback behind play_macro, sound_tone, beep and
// play_sound_file.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "services/audio/macro.h"
#include "services/audio/tone_synth.h"
#include "services/common/stop_request.h"
#include "services/platform/platform.h"

namespace svc {

// The tone queue: a ring of sound buffers the game's thread appends to and the window
// thread plays strictly in order, one at a time. Counters only grow: buffers
// [released_, appended_) are in the ring, started_ of them have been started, and a slot
// is written again only after the window side released it, so no lock is needed.
// Without a sound device the window side lets each buffer "play" for its own length on
// the clock, so every wait lasts exactly as long as with sound.
// Its waits end the game when a stop is requested. The window loop runs pass() on every
// window pass.
class SoundSystem final : public WindowTask {
  public:
    static constexpr std::size_t kQueueCapacity = 10000;
    static constexpr std::size_t kLeadInFrames = 8192;

    SoundSystem(Platform& platform, const StopRequest& stop);
    ~SoundSystem() override;
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    // Window side, every pass: releases the finished buffer and starts the next one.
    void pass() override;
    // Window side: Other while buffers wait to be started or released.
    WindowWork work() const override
    {
        const bool queued =
            appended_.load(std::memory_order_acquire) != released_.load(std::memory_order_relaxed);
        return queued ? WindowWork::Other : WindowWork::None;
    }

    // Game's thread. Malformed input queues nothing and returns false (the caller raises
    // error 5).
    [[nodiscard]] bool play_macro(std::string_view text);
    [[nodiscard]] bool tone(double frequencyHz, double durationTicks);
    void beep();
    // Opens the output on first use; false when there is no device.
    bool open_output();
    // Starts a music file: a sample beside the others (overlap) or the one stream. False when
    // it cannot be opened or decoded.
    bool play_file(const std::string& name, bool overlap);

    // Game's thread: true once the output was tried and no device could be opened.
    bool silent_fallback() const { return opened_ && !device_.load(std::memory_order_relaxed); }

  private:
    // Opens the output and, the first time, queues the lead-in silence.
    void prepare_queue();
    // Appends a buffer (waiting for room if the ring is full); returns its index.
    std::uint64_t append(SoundBuffer&& buffer);
    // Sleeps the game's thread until buffer `index` has started; a stop request ends it.
    void wait_until_started(std::uint64_t index);
    void wait_ms(double ms);
    void sleep_step();

    Platform& platform_;
    const StopRequest& stop_;
    MacroState macro_;
    bool opened_ = false;
    bool leadInQueued_ = false;
    std::atomic<bool> device_{false}; // set before the first buffer is appended

    std::vector<SoundBuffer> ring_;
    std::atomic<std::uint64_t> appended_{0}; // written by the game's thread
    std::atomic<std::uint64_t> started_{0};  // written by the window side
    std::atomic<std::uint64_t> released_{0}; // written by the window side
    double silentEndMs_ = 0;                 // window side: end of the buffer "playing" silently
};

} // namespace svc
