// SDL 2's list of pads beneath the SDL 1.2 compatibility library: held open for the pad's
// lifetime, so that the look for a newly plugged pad asks SDL 2 instead of starting SDL 1.2's
// joystick part afresh.
#pragma once

namespace svc {

class Sdl2Pads {
  public:
    Sdl2Pads() = default;
    ~Sdl2Pads() { release(); }
    Sdl2Pads(const Sdl2Pads&) = delete;
    Sdl2Pads& operator=(const Sdl2Pads&) = delete;

    // Starts SDL 2's joystick part and keeps it running, when SDL 2 is already loaded beneath
    // SDL 1.2 (never with the classic SDL 1.2). False when it is not held.
    bool hold();
    // Lets SDL 2 take in the pads plugged in or pulled out since it last looked, and counts
    // them (joysticks of every kind). Only while held.
    int count();
    // Lets SDL 2's joystick part go (it stops once nobody else holds it).
    void release();
    bool held() const { return library_ != nullptr; }

  private:
    void* library_ = nullptr;
    void (*update_)() = nullptr;
    int (*count_)() = nullptr;
    void (*quit_)(unsigned) = nullptr;
};

} // namespace svc
