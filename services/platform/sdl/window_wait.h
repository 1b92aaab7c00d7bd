// The window thread's rest between passes: ended early by the display's next event or by the
// game's word that the picture changed, so a quiet window sleeps without waking.
#pragma once

#include <atomic>
#include <functional>

namespace svc {

class WindowWait {
  public:
    WindowWait();
    ~WindowWait();
    WindowWait(const WindowWait&) = delete;
    WindowWait& operator=(const WindowWait&) = delete;

    // Window thread: rests up to ms, less if an event arrives. With `listen`, wake() ends the
    // rest too, and it does not start if `busy` says there is work after all (looked at once
    // wake() can no longer be missed). Without, the game's word is not needed: the window
    // rests only until work it knows of is due.
    void rest(double ms, bool listen, const std::function<bool()>& busy);
    // Any thread: ends the rest under way, if any (cheap when the window is not resting).
    void wake();
    // Window thread: false only when the display is watched and has said nothing since its
    // events were last read, so that there is nothing for SDL to read from it.
    bool display_stirred();

    static constexpr double kBlindRestMs = 16;

  private:
    // Watches the display's connection once the window is open (without it, rests are never
    // longer than kBlindRestMs).
    void watch_display();
    // True when events already sit in a queue the connection will not signal again.
    bool events_waiting() const;

    int wakeFd_ = -1;
    int displayFd_ = -1;
    void* display_ = nullptr;
    std::atomic<bool> resting_{false};
};

} // namespace svc
