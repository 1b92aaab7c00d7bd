// The headless platform for tests: a virtual clock, scripted key presses, the screen
// picture kept for inspection, and an audio sink that records what was queued.
// Window passes run on the game's own thread whenever it sleeps or yields, every 16 ms of
// virtual time, so a run is deterministic.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "services/platform/headless/headless_audio.h"
#include "services/platform/platform.h"

namespace svc {

class HeadlessPlatform final : public Platform {
  public:
    HeadlessPlatform();

    // --- test controls ---
    // Sets the wall clock: the time of day at virtual time now (fraction in ms).
    void set_time_of_day(int h, int m, int s, double ms = 0);
    // Advances the virtual clock, running the window passes that fall due.
    void advance(double ms);
    // Queues events for the next events pass(es), in order.
    void press_key(const KeyPress& press);
    void press_key(Key key, bool shift = false, bool ctrl = false, bool alt = false);
    // Types text: letters, digits, space, Enter ('\r'), Escape (0x1B) as key presses.
    void type_text(const std::string& text);
    void click_mouse(int x, int y);
    void close_window();
    bool events_pending() const { return !events_.empty(); }
    // Called after every window pass (the test can look at the picture and press keys).
    std::function<void()> onPass;
    // The idle game sleeps until something is due, as on a real window (false: its passes
    // run one by one, as the replayed runs were recorded).
    bool sleepsThroughIdle = false;
    // How far one yield() moves the virtual clock, and how many there were.
    double yieldStepMs = 0.05;
    long yields = 0;
    // The shortest a sleep lasts, as in a browser's background tab (0: as long as asked).
    double shortestSleepMs = 0;
    // Limits a run: after this much virtual time a Close event is sent (0 = never).
    double closeAfterMs = 0;

    // The last picture presented (0x00RRGGBB), its size, and PNG export of it.
    const std::vector<std::uint32_t>& frame() const { return frame_; }
    // How many pictures were presented, and the rows the last one marked as changed.
    int presents = 0;
    int presentedTop = 0, presentedBottom = -1, presentedLeft = 0, presentedRight = -1;
    int frame_width() const { return frameW_; }
    int frame_height() const { return frameH_; }
    bool save_png(const std::string& path) const;

    HeadlessAudio audio;

    // --- Platform ---
    void start(WindowTask& task) override;
    void stop() override;
    bool threaded() const override { return false; }
    double ticks_ms() override { return nowMs_; }
    bool local_time(LocalTime& out) override;
    void sleep_ms(double ms) override { advance(std::max(ms, shortestSleepMs)); }
    void yield() override
    {
        ++yields;
        advance(yieldStepMs);
    }
    bool sleeps_through_idle() const override { return sleepsThroughIdle; }
    // Advances the virtual clock to untilMs, or to the window pass after which the bell rang.
    void sleep_until(double untilMs, Wakeup& bell) override;
    void present(const std::uint32_t* pixels, int w, int h, int top, int bottom, int left,
                 int right) override;
    bool poll_event(PlatformEvent& ev) override;
    void cycle_fullscreen() override {} // no window to make full screen
    bool audio_open() override { return audio.audio_open(); }
    void tone_start(const std::int16_t* frames, std::size_t frameCount) override
    {
        audio.tone_start(nowMs_, frames, frameCount);
    }
    bool tone_playing() override { return audio.tone_playing(nowMs_); }
    bool play_sample_file(const std::string& path) override
    {
        return audio.play_file(nowMs_, path, true);
    }
    bool play_stream_file(const std::string& path) override
    {
        return audio.play_file(nowMs_, path, false);
    }

  private:
    // Runs the window pass due by targetMs, if there is one (never inside another pass).
    bool run_pass_due(double targetMs);

    WindowTask* task_ = nullptr;
    bool inPass_ = false;
    double nowMs_ = 0;
    double nextPassMs_ = 16;
    double dayBaseMs_ = 12 * 3600 * 1000.0; // time of day at virtual time 0
    std::deque<PlatformEvent> events_;
    std::vector<std::uint32_t> frame_;
    int frameW_ = 0, frameH_ = 0;
};

} // namespace svc
