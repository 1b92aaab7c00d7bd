// The services object: start-up, check points, the error dialog, screen modes and the end.
#include "services/services.h"

#include <string>

#include "services/audio/sound_system.h"
#include "services/entry.h"
#include "services/files/files.h"
#include "services/window/window_loop.h"

namespace svc {

Services::Services(Platform& platform)
    : platform_(platform), files_(std::make_unique<FileTable>()),
      sound_(std::make_unique<SoundSystem>(platform_, stop_)),
      window_(std::make_unique<WindowLoop>(platform_, screen_, keys_, stop_, *sound_))
{
    screen_.reset(kTextMode);
    platform_.start(*window_);

    // The timer's fraction counts from a true second boundary: the time of day and the tick
    // count are read together, and the elapsed count starts at the second boundary that the
    // reading's milliseconds imply (no waiting for the clock's second to change).
    LocalTime now;
    if (!platform_.local_time(now)) {
        now = LocalTime{};
    }
    clockBaseMs_ = (now.hours * 3600.0 + now.minutes * 60.0 + now.seconds) * 1000.0;
    clockStartTicks_ = platform_.ticks_ms() - now.millis;
}

Services::~Services()
{
    platform_.stop();
    files_->close_all();
}

void Services::raise(int code)
{
    ++raised_;
    if (pendingError_ == 0) {
        pendingError_ = code;
        pendingLine_ = stepLine_;
    }
}

bool Services::enter(const Here& here)
{
    if (depth_ > 0) {
        return pendingError_ == 0;
    }
    window_->exit_if_stopped();
    while (window_->paused()) {
        platform_.sleep_ms(10);
        window_->exit_if_stopped();
    }
    if (pendingError_ != 0) {
        show_error_dialog();
    }
    stepLine_ = static_cast<int>(here.line());
    return true;
}

void Services::checkpoint(Here here)
{
    Entry entry(*this, here);
}

void Services::show_error_dialog()
{
    const int code = pendingError_;
    const bool critical = critical_error(code);
    DialogRequest req;
    req.yesNo = !critical;
    req.title = (critical ? "Critical Error #" : "Unhandled Error #") + std::to_string(code);
    req.text = "Line: " + std::to_string(pendingLine_) + "\n" + std::string(error_message(code));
    if (req.yesNo) {
        req.text += "\nContinue?";
    }
    const bool yes = window_->run_dialog(req);
    window_->exit_if_stopped();
    if (!yes || critical) {
        files_->close_all();
        throw ProgramExit{1};
    }
    pendingError_ = 0;
}

void Services::set_screen_mode(int mode, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    if (mode_info(mode) == nullptr) {
        raise(kIllegalFunctionCall);
        return;
    }
    if (mode == screen_.mode()) {
        return;
    }
    window_->hold_image();
    screen_.reset(mode);
    window_->release_image();
}

void Services::pause_ms(double ms)
{
    checkpoint();
    if (screen_.touched()) {
        platform_.wake_window();
    }
    platform_.sleep_ms(ms);
}

void Services::end_program(Here here)
{
    checkpoint(here);
    files_->close_all();
    // Only the last row is used: the print area shrinks to it, so a line end there blanks it
    // in the background colour; then the prompt.
    ScreenImage& s = screen_;
    s.printTop = s.printBottom = s.info().rows;
    s.cursorRow = s.printBottom;
    s.cursorCol = 1;
    s.pendingWrap = false;
    ++depth_; // the line end and the prompt are part of this step
    print_text({}, true, here);
    print_text("Press any key to continue", false, here);
    --depth_;
    keys_.clear();
    while (!window_->stop_requested()) {
        if (keys_.pop()) {
            break;
        }
        platform_.sleep_ms(5);
    }
    throw ProgramExit{0};
}

} // namespace svc
