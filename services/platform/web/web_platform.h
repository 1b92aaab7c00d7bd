// The browser platform: the canvas, the page's keys, the clock and Web Audio, on the page's
// one thread. Window passes run from inside the game's sleeps and yields, as on the headless
// platform; a sleep gives the thread back to the browser (Asyncify) so its events come in.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "services/platform/platform.h"

namespace svc {

class WebPlatform final : public Platform {
  public:
    // How the page's address set the clock. Normal play reads the computer's clock; a test
    // gives a fixed start (the time of day when the game starts) and the game's time then
    // moves only with its own sleeps and yields, as on the headless platform, with the
    // window passes every 16 ms of that time. The page's stopAtPass (fixed clock only) holds
    // the game after that window pass, its picture on the canvas, until the page moves it on.
    struct Clock {
        bool fixed = false;
        double startOfDayMs = 0;
    };
    // The clock the page's address asks for.
    static Clock clock_from_page();

    explicit WebPlatform(Clock clock);
    ~WebPlatform() override;

    void start(WindowTask& task) override;
    void stop() override;
    bool threaded() const override { return false; }

    double ticks_ms() override;
    bool local_time(LocalTime& out) override;
    void sleep_ms(double ms) override;
    void yield() override;
    // On the computer's clock the idle game sleeps until something is due; a key or click
    // ends the sleep at once (the page wakes the program). The fixed clock runs the idle
    // passes one by one, as the headless platform's replayed runs do.
    bool sleeps_through_idle() const override { return !clock_.fixed; }
    void sleep_until(double untilMs, Wakeup& bell) override;

    void present(const std::uint32_t* pixels, int w, int h, int top, int bottom, int left,
                 int right) override;
    bool picture_due() override;
    bool poll_event(PlatformEvent& ev) override;
    void cycle_fullscreen() override;

    // Audio (web_audio.cpp): the tone queue and the Ogg files, decoded here and played by
    // the page's Web Audio once the player has pressed a key or clicked.
    bool audio_open() override;
    void tone_start(const std::int16_t* frames, std::size_t frameCount) override;
    bool tone_playing() override;
    bool play_sample_file(const std::string& path) override;
    bool play_stream_file(const std::string& path) override;
    void audio_pass() override;

  private:
    // Start a music file (web_audio.cpp); false when it cannot be opened or decoded, or when
    // every sample slot is busy.
    bool start_sample(const std::string& path);
    bool start_stream(const std::string& path);
    // Runs the window passes that fall due up to the game's time `untilMs`.
    void run_due_passes(double untilMs);
    void run_pass();
    // The computer's clock, the game asleep until untilMs: when the window's next pass has
    // work to do (an event, a picture whose turn has come, tones or music to feed); infinity
    // when only an event (or the game's wake) would give it.
    double next_window_ms(double untilMs);
    // True while music files are being decoded and fed to the page (web_audio.cpp).
    bool feeding_sound() const;
    // Gives the thread to the browser when the game's time runs ahead of the real one, or
    // when the browser has waited too long for it.
    void keep_pace();
    void hold_if_stopped();
    double real_ms() const;

    Clock clock_;
    WindowTask* task_ = nullptr;
    bool inPass_ = false;
    std::uint64_t passes_ = 0;
    double virtualMs_ = 0; // fixed clock: the game's own time
    double realStartMs_ = 0;
    double nextPassMs_ = 16;
    double lastBreathMs_ = 0;         // real time the browser last had the thread
    double shownAtMs_ = -1e9;         // when a picture last went to the canvas
    double lastEventMs_ = 0;          // when the page last gave a key or click
    std::vector<std::uint32_t> rgba_; // the canvas's pixels, red first
    int rgbaW_ = 0, rgbaH_ = 0;

    // The tone now (or last) sounding, and the music files (web_audio.cpp).
    double toneEndMs_ = -1;
    static constexpr int kSampleSlots = 256;
    double sampleEndMs_[kSampleSlots] = {};
    struct AudioState;
    static AudioState* make_audio_state();
    struct AudioStateDeleter {
        void operator()(AudioState* a) const;
    };
    std::unique_ptr<AudioState, AudioStateDeleter> audio_;
};

} // namespace svc
