// The window thread's work: redraw the window from the screen image, turn window
// events into key presses and stop/pause requests, run the tone queue, and show the
// modal error dialog over the picture.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "services/common/stop_request.h"
#include "services/input/keyboard.h"
#include "services/platform/platform.h"
#include "services/video/dialog_box.h"
#include "services/video/screen_image.h"
#include "services/video/screen_picture.h"

namespace svc {

// Shows `image`, puts the keys typed into `keys`, sets `stop` at the window's request and
// runs `tones` (the tone queue's window side) on every pass.
class WindowLoop final : public WindowTask {
  public:
    WindowLoop(Platform& platform, ScreenImage& image, KeyBuffer& keys, StopRequest& stop,
               WindowTask& tones);

    // One pass: the window's events, a redraw if the image (or its palette) changed since the
    // picture last shown, and the tone queue.
    void pass() override;
    // A changed image (or mode, or dialog) not yet shown; tones, a dialog or a stop waiting.
    WindowWork work() const override;

    // Requests (any thread) and their state.
    bool stop_requested() const { return stop_.requested(); }
    void request_stop() { stop_.request(); }
    bool paused() const { return paused_.load(std::memory_order_relaxed); }
    // Game's thread: a requested stop ends the game here, by throwing ProgramExit{0}.
    void exit_if_stopped() const { stop_.exit_if_requested(); }

    // Mode-change handshake (game's thread): hold_image keeps the refresher off the image
    // while it is remade and returns once the refresher has let go of it; release_image lets
    // it read again.
    void hold_image();
    void release_image();

    // Game's thread: shows the dialog and blocks until it is answered (true = Yes/OK).
    // Returns false at once if a stop is requested meanwhile (the caller then exits).
    bool run_dialog(const DialogRequest& request);

    // The Yes (or OK) and No buttons of the dialog on show, in picture pixels:
    // {x, y, w, h} each; No has w == 0 for an OK-only dialog. Empty when none is shown.
    struct Buttons {
        int yes[4];
        int no[4];
    };
    bool dialog_buttons(Buttons& out) const;

    // Counts passes (tests and benchmarks).
    std::uint64_t pass_count() const { return passes_.load(std::memory_order_relaxed); }

  private:
    void redraw();
    void end_if_game_stuck();
    // Compares the image with the copy taken at the last redraw and updates the copy. Gives
    // the picture rows, and the columns (whole eight-pixel words; all of them in text mode),
    // that differ (top > bottom: none); all of the picture when the palette, the mode or the
    // dialog changed. `exact`: changedWords_ marks every word that differs (graphics modes).
    struct Rows {
        int top;
        int bottom;
        int left = 0;
        int right = ScreenImage::kMaxWidth - 1;
        bool exact = false;
    };
    Rows changed_rows();
    void handle_events();
    void handle_key(const KeyPress& press);
    bool dialog_showing() const
    {
        return dialogState_.load(std::memory_order_acquire) == DialogState::Showing;
    }
    void answer_dialog(bool yes)
    {
        dialogState_.store(yes ? DialogState::Yes : DialogState::No, std::memory_order_release);
    }

    Platform& platform_;
    ScreenImage& image_;
    KeyBuffer& keys_;
    StopRequest& stop_;
    WindowTask& tones_;
    std::vector<std::uint32_t> frame_;
    int frameW_ = 0, frameH_ = 0;
    // What the last redraw read: the image's words (or cells), palette, mode and dialog.
    std::vector<std::uint64_t> seen_;
    std::vector<std::uint64_t> changedWords_; // graphics modes: two masks a pixel row
    std::uint32_t seenPalette_[16] = {};
    int seenMode_ = -1;
    bool seenDialog_ = false;
    double shownAtMs_ = 0; // when the picture was last sent to the window

    static constexpr double kStuckGraceMs = 3000;
    double stopSeenMs_ = -1; // window side: when the pass first saw the stop request
    std::atomic<bool> paused_{false};
    std::atomic<bool> imageHeld_{false};
    std::atomic<bool> reading_{false};
    std::atomic<std::uint64_t> passes_{0};

    // Dialog hand-over: the game's thread fills request_ then sets dialogState_ to Showing;
    // the window thread answers Yes (or OK) or No.
    enum class DialogState { None, Showing, Yes, No };
    DialogRequest request_;
    std::atomic<DialogState> dialogState_{DialogState::None};
};

} // namespace svc
