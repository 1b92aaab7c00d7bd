// The game pad on SDL 1.2's joystick interface: the first pad found is opened and read on the
// window thread, its buttons and stick giving key presses.
#pragma once

#include <cstddef>
#include <vector>

#include "services/input/pad_reader.h"
#include "services/platform/pad_keys.h"
#include "services/platform/sdl/sdl2_pads.h"

struct _SDL_Joystick;

namespace svc {

class SdlPad {
  public:
    explicit SdlPad(const PadMap& map) : reader_(map) {}
    ~SdlPad() { close(); }
    SdlPad(const SdlPad&) = delete;
    SdlPad& operator=(const SdlPad&) = delete;

    // Window thread: the next key press of the pad, false when none is waiting. Reads the pad
    // (opening one when it is time to look) when the presses read before are all given.
    bool take(double nowMs, KeyPress& press);
    // Window thread: closes the pad and SDL's joystick part (before SDL's video goes).
    void close();

  private:
    // Counts the pads afresh (over SDL 2: asks its list first) and opens the first one.
    void look_for_pad(double nowMs);
    // Closes the pad and SDL 1.2's joystick part, SDL 2's beneath left running.
    void close_pad();

    PadReader reader_;
    _SDL_Joystick* joystick_ = nullptr;
    bool started_ = false;   // SDL's joystick part is set up
    Sdl2Pads sdl2_;          // under the compatibility library: SDL 2's pads
    bool triedSdl2_ = false; // SDL 2 beneath has been looked for
    double lookAtMs_ = 0;    // when the pads are next counted
    double lastHeldMs_ = 0;  // when a button of the open pad was last held
    std::vector<KeyPress> waiting_;
    std::size_t given_ = 0; // of waiting_
};

} // namespace svc
