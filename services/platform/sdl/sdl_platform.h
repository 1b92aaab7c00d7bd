// The real platform on SDL 1.2 and SDL_mixer: a window thread, the system clock and audio.
// The window thread and events are in sdl_platform.cpp, the picture on the display in
// sdl_picture.cpp, the window's shape and keys in sdl_window_shape.cpp, F12 in
// sdl_screenshot.cpp, the note that tells a failure in sdl_note.cpp, audio in sdl_audio.cpp,
// the game pad in sdl_pad.cpp.
#pragma once

#include <atomic>
#include <ctime>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "services/platform/pad_keys.h"
#include "services/platform/platform.h"
#include "services/platform/sdl/sdl_pad.h"
#include "services/platform/sdl/window_wait.h"
#include "services/platform/window_choice.h"

struct SDL_Surface;

namespace svc {

class SdlPlatform final : public Platform {
  public:
    // choice: the player's window shape and size (none: the window equals the image); keep:
    // where F9 and F10 hand a changed choice to be remembered; pad: the keys of the game pad's
    // buttons (none: the d-pad and the left stick alone, as arrows).
    explicit SdlPlatform(WindowChoice choice = {}, KeepWindowChoice keep = {}, PadMap pad = {});
    ~SdlPlatform() override;

    void start(WindowTask& task) override;
    // After start: waits until the window thread has set up its video, then tells whether
    // a window can really be seen. An off-screen or dummy driver that SDL fell back on for
    // want of a display does not count; one chosen in SDL_VIDEODRIVER does (tests). It turns
    // false later when no window can be made for a picture (a display of 256 colours): the
    // game is then asked to end, as by the close button. When false, why_no_window() says
    // why in a few words.
    bool has_window();
    const std::string& why_no_window() const { return whyNoWindow_; }
    void stop() override;
    bool threaded() const override { return true; }

    double ticks_ms() override;
    bool local_time(LocalTime& out) override;
    void sleep_ms(double ms) override;
    void yield() override;
    bool sleeps_through_idle() const override { return true; }
    void sleep_until(double untilMs, Wakeup& bell) override { bell.wait_ms(untilMs - ticks_ms()); }

    void present(const std::uint32_t* pixels, int w, int h, int top, int bottom, int left,
                 int right) override;
    bool picture_due() override;
    void wake_window() override { wait_.wake(); }
    bool poll_event(PlatformEvent& ev) override;
    void cycle_fullscreen() override;

    // Window thread: F9, F10 and F12, handled before the game's key table and never passed
    // on; false for any other key. A failure to remember the choice or to save the picture
    // is told on standard error and in a note over the picture.
    bool window_key(Key key);
    // Window thread: whether a note is shown over the picture.
    bool note_shown() const { return !note_.empty(); }
    // Window thread: the display's surface and where the picture sits on it, and one of its
    // pixels as 0x00RRGGBB (0 outside the surface).
    struct Shown {
        int surfaceW, surfaceH, x, y, w, h;
    };
    Shown shown() const;
    std::uint32_t shown_pixel(int x, int y) const;

    // Audio (sdl_audio.cpp).
    bool audio_open() override;
    void tone_start(const std::int16_t* frames, std::size_t frameCount) override;
    bool tone_playing() override;
    bool play_sample_file(const std::string& path) override;
    bool play_stream_file(const std::string& path) override;
    void audio_pass() override;

    struct AudioState; // sdl_audio.cpp
    struct AudioStateDeleter {
        void operator()(AudioState* a) const; // sdl_audio.cpp
    };

  private:
    void window_thread(WindowTask& task);
    // (Re)makes the window or full-screen mode of the current step for the image size.
    void make_video();
    // The same, with the last picture shown again on it.
    void remake_video();
    // Writes one picture row as display row dy (counted from the top of the picture on the
    // display), widened to the scale in force.
    void put_scaled_row(SDL_Surface* screen, const std::uint32_t* src, int w, int dy, bool native);
    // The largest scale up to `wanted` at which the picture fits the desktop.
    int fitting_scale(int wanted, int shownH) const;
    void save_screenshot();
    // Tells a failure of the window's keys: one line on standard error, and a note over the
    // picture for a few seconds (the title, then the problem).
    void tell(const std::string& title, const std::string& problem);
    // Draws the note over the picture on the display; the screen image is never touched.
    void draw_note(SDL_Surface* screen);
    // Takes the note away once its time is over, the picture showing again beneath it.
    void end_note();
    // No window could be made for the picture: has_window() turns false and the game is
    // asked to end.
    void lose_window();
    // Has SDL read the window's events from the display, when there may be some.
    void pump_events();
    // Sends the part of the window just updated to the display now (sdl_picture.cpp).
    void show_now(SDL_Surface* screen);
    void close_audio();
    bool wake_output(AudioState& a);
    void rest_output_when_quiet(AudioState& a);

    std::thread thread_;
    std::atomic<bool> quit_{false};
    std::atomic<bool> video_{false}; // false without a display: the passes run on, unseen
    std::atomic<bool> started_{false};
    enum class Display { Unknown, Shown, None };
    std::atomic<Display> display_{Display::Unknown};
    std::string whyNoWindow_;       // written before display_ becomes None
    bool askToEnd_ = false;         // the window could not be made (window thread)
    std::time_t cachedSecond_ = -1; // the game's thread's last reading of the clock
    LocalTime cachedTime_;
    // Alt+Enter steps through these in turn; the second full-screen mode only where the
    // machine offers another suitable one.
    enum class ScreenStep { Window, FullScreen, SecondFullScreen };
    ScreenStep screenStep_ = ScreenStep::Window;
    int imageW_ = 0, imageH_ = 0;
    // The picture on the display: outW_ x outH_ at (offsetX_, offsetY_); outW_ is a whole
    // multiple of the image's width, outH_ any height (rows repeat, nearest neighbour).
    int offsetX_ = 0, offsetY_ = 0, outW_ = 0, outH_ = 0;
    WindowChoice choice_;
    KeepWindowChoice keep_;
    std::vector<std::string> note_; // the note's lines (window thread)
    double noteUntilMs_ = 0;
    int desktopW_ = 0, desktopH_ = 0;
    const std::uint32_t* lastPixels_ = nullptr; // the last picture presented (window thread)
    bool over_sdl2_ = false;   // the compatibility library, known once the window is up
    bool pumped_ = false;      // this pass has read the window's events (window thread)
    double pumpedAtMs_ = -1e9; // when SDL last read them
    double lastEventMs_ = 0;   // when the window last had an event (window thread)
    double sentAtMs_ = -1e9;   // when the display was last sent a changed picture (window thread)
    WindowWait wait_;          // the window thread's rest between passes
    SdlPad pad_;               // read on the window thread (sdl_pad.cpp)
    std::unique_ptr<AudioState, AudioStateDeleter> audio_;
    // Set once audio_ exists: from then on the window thread may look at it (it opens the
    // output there, as SDL is set up on that thread).
    std::atomic<bool> audioMade_{false};
};

} // namespace svc
