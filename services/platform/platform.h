// The narrow seam below the services: window and events, audio sink, clock and sleep.
// Two implementations: the real SDL one and a headless one for tests.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "services/common/wakeup.h"
#include "services/platform/keys.h"

namespace svc {

// Local wall-clock time of day: whole seconds, and the milliseconds into the current second.
struct LocalTime {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    double millis = 0;
};

// One window event, already translated from the toolkit into our own terms.
struct PlatformEvent {
    enum class Type { None, Key, MouseDown, Close };
    Type type = Type::None;
    KeyPress key;   // Type::Key
    int mouseX = 0; // Type::MouseDown, in image pixels
    int mouseY = 0;
};

// The work the window thread does. The SDL back end calls pass() on its own window thread,
// resting 4 ms between passes (once the keys have been quiet for a second, until an event,
// the game's word or the work it has waiting: window_pace.h); the headless
// one calls it on the game's thread from inside sleep_ms and yield, every 16 ms of its virtual
// clock.
// What the window thread's next pass has to do, besides looking for events.
enum class WindowWork { None, Picture, Other };

class WindowTask {
  public:
    virtual ~WindowTask() = default;
    virtual void pass() = 0;
    // Window side: a changed picture to send, or other work (tones to play, a dialog, a stop
    // to carry out); with none the window may rest until an event or the game's word.
    virtual WindowWork work() const { return WindowWork::Other; }
};

// What the services need from the machine. Methods marked "window side" are only
// called from inside WindowTask::pass(); the others only from the game's thread.
// Clips the changed box handed to Platform::present to the w x h picture; false when none
// of it is left.
inline bool clip_to_picture(int w, int h, int& top, int& bottom, int& left, int& right)
{
    top = std::max(top, 0);
    bottom = std::min(bottom, h - 1);
    left = std::max(left, 0);
    right = std::min(right, w - 1);
    return top <= bottom && left <= right;
}

class Platform {
  public:
    virtual ~Platform() = default;

    // Starts the window thread (or its headless stand-in) running task.pass().
    virtual void start(WindowTask& task) = 0;
    // Stops it and waits until pass() is no longer running.
    virtual void stop() = 0;
    // True when passes run on their own thread (the mode-change handshake must wait).
    virtual bool threaded() const = 0;

    // Clock: milliseconds since an arbitrary start, and the local time of day.
    // local_time returns false when the system clock cannot be read.
    virtual double ticks_ms() = 0;
    virtual bool local_time(LocalTime& out) = 0;
    virtual void sleep_ms(double ms) = 0;
    virtual void yield() = 0;
    // True when the idle game may sleep until something is due (a key, a bird's step, the
    // next second) and count the passes the sleep stands for; false when it must run its
    // passes one by one, the sleeps and yields between them exactly as they always fell (the
    // headless platform's replayed runs depend on it).
    virtual bool sleeps_through_idle() const { return false; }
    // Sleeps until untilMs on the clock, or less once `bell` rings. The default looks at the
    // bell every 8 ms.
    virtual void sleep_until(double untilMs, Wakeup& bell)
    {
        for (double left = untilMs - ticks_ms(); left > 0 && !bell.rung();
             left = untilMs - ticks_ms()) {
            sleep_ms(left < 8 ? left : 8);
        }
    }

    // Window side: show a 32-bit 0x00RRGGBB picture of w x h (the window follows its size);
    // only columns left..right of rows top..bottom differ from the picture shown before (all
    // of them after a resize).
    virtual void present(const std::uint32_t* pixels, int w, int h, int top, int bottom, int left,
                         int right) = 0;
    // Window side: false while a changed picture had better wait (the display was sent one
    // a moment ago and nobody is at the keys); the changes then go with the next one.
    virtual bool picture_due() { return true; }
    // Game's side: the picture changed; a window resting until further notice looks at it.
    virtual void wake_window() {}
    // Window side: the next pending event, false when there is none.
    virtual bool poll_event(PlatformEvent& ev) = 0;
    // Window side: window -> full screen -> second full-screen mode -> window.
    virtual void cycle_fullscreen() = 0;

    // Audio: opens the output (22 050 Hz, signed 16-bit, stereo, 1 024-frame chunks,
    // 256 sample channels). False when there is no usable device.
    virtual bool audio_open() = 0;
    // Window side: starts one tone-queue buffer (interleaved stereo frames).
    virtual void tone_start(const std::int16_t* frames, std::size_t frameCount) = 0;
    // Window side: true while the last started tone buffer is still sounding.
    virtual bool tone_playing() = 0;
    // Music files, fire-and-forget; false when the file cannot be opened or decoded.
    // A sample takes the first free of the 256 slots; the stream replaces the previous one.
    virtual bool play_sample_file(const std::string& path) = 0;
    virtual bool play_stream_file(const std::string& path) = 0;
    // Window side, every pass: work of the output that belongs on the window thread
    // (the SDL one opens the output there and releases files that have finished).
    virtual void audio_pass() {}
};

} // namespace svc
