// The window thread's pass: redraw, events, the tone queue and the error dialog's hand-over.
#include "services/window/window_loop.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace svc {

WindowLoop::WindowLoop(Platform& platform, ScreenImage& image, KeyBuffer& keys, StopRequest& stop,
                       WindowTask& tones)
    : platform_(platform), image_(image), keys_(keys), stop_(stop), tones_(tones)
{
}

void WindowLoop::pass()
{
    passes_.fetch_add(1, std::memory_order_relaxed);
    handle_events();
    redraw();
    tones_.pass();
    end_if_game_stuck();
}

WindowWork WindowLoop::work() const
{
    if (stop_requested() || dialog_showing() || tones_.work() != WindowWork::None) {
        return WindowWork::Other;
    }
    const bool changed = image_.touched() || image_.mode() != seenMode_;
    return changed ? WindowWork::Picture : WindowWork::None;
}

void WindowLoop::end_if_game_stuck()
{
    // A stop is normally taken up by the game's thread at its next step. If that thread sits
    // in a system call that does not come back, the window's close button and Ctrl+Break
    // still end the program, after a short grace.
    if (!stop_requested() || !platform_.threaded()) {
        return;
    }
    const double now = platform_.ticks_ms();
    if (stopSeenMs_ < 0) {
        stopSeenMs_ = now;
    } else if (now - stopSeenMs_ > kStuckGraceMs) {
        std::fprintf(stderr,
                     "muvesecky: the game does not answer; ended at the window's request\n");
        std::_Exit(0);
    }
}

void WindowLoop::hold_image()
{
    imageHeld_.store(true);
    while (reading_.load()) {
        platform_.yield();
    }
}

void WindowLoop::release_image()
{
    imageHeld_.store(false);
}

WindowLoop::Rows WindowLoop::changed_rows()
{
    ScreenImage& image = image_;
    bool all = image.mode() != seenMode_ || dialog_showing() != seenDialog_;
    if (!all && !image.take_touched()) {
        return Rows{0, -1}; // nothing was stored into the image since the last look
    }
    seenMode_ = image.mode();
    seenDialog_ = dialog_showing();
    for (int i = 0; i < 16; ++i) {
        const std::uint32_t c = image.palette_entry(i);
        all = all || c != seenPalette_[i];
        seenPalette_[i] = c;
    }
    // One line of the comparison: a pixel row of eight-pixel words, or a text row of cells
    // (16 picture rows each).
    const bool text = image.text_mode();
    const int lines = text ? ScreenImage::kTextRows : image.height();
    const int perLine = text ? ScreenImage::kTextCols : ScreenImage::kMaxWidth / 8;
    const int lineRows = text ? 16 : 1;
    seen_.resize(static_cast<std::size_t>(lines) * perLine);
    changedWords_.assign(static_cast<std::size_t>(lines) * 2, 0);
    int first = -1, last = -1;
    int left = perLine, right = -1;
    for (int line = 0; line < lines; ++line) {
        std::uint64_t* seen = seen_.data() + static_cast<std::size_t>(line) * perLine;
        bool differs = false;
        for (int i = 0; i < perLine; ++i) {
            const std::uint64_t v = text ? image.cell(line, i) : image.row_word(line, i);
            if (v != seen[i]) {
                differs = true;
                changedWords_[line * 2 + i / 64] |= std::uint64_t{1} << (i % 64);
                left = std::min(left, i);
                right = std::max(right, i);
                seen[i] = v;
            }
        }
        if (differs) {
            first = first < 0 ? line : first;
            last = line;
        }
    }
    if (all) {
        return Rows{0, lines * lineRows - 1};
    }
    if (first < 0) {
        return Rows{0, -1};
    }
    Rows rows{first * lineRows, last * lineRows + lineRows - 1};
    if (!text) {
        rows.left = left * 8;
        rows.right = right * 8 + 7;
        rows.exact = true;
    }
    return rows;
}

void WindowLoop::redraw()
{
    if (!platform_.picture_due()) {
        return; // the changes stay marked in the image until the next picture
    }
    reading_.store(true);
    if (imageHeld_.load()) {
        reading_.store(false);
        return;
    }
    // An unchanged picture is not converted or sent again, but at least once a second (a
    // window that was covered gets its picture back).
    const double now = platform_.ticks_ms();
    Rows rows = changed_rows();
    if (rows.top > rows.bottom && now - shownAtMs_ < 1000) {
        reading_.store(false);
        return;
    }
    if (dialog_showing()) {
        rows = Rows{rows.top, rows.bottom}; // whole rows under the dialog
    }
    if (now - shownAtMs_ >= 1000) {
        rows = Rows{0, ScreenImage::kMaxHeight - 1};
        shownAtMs_ = now;
    }
    const bool ok =
        render_screen(image_, frame_, frameW_, frameH_, rows.top, rows.bottom, rows.left,
                      rows.right, rows.exact ? changedWords_.data() : nullptr);
    reading_.store(false);
    if (!ok) {
        return;
    }
    if (dialog_showing()) {
        draw_dialog(request_, frame_, frameW_, frameH_);
    }
    platform_.present(frame_.data(), frameW_, frameH_, rows.top, std::min(rows.bottom, frameH_ - 1),
                      rows.left, std::min(rows.right, frameW_ - 1));
}

void WindowLoop::handle_events()
{
    PlatformEvent ev;
    while (platform_.poll_event(ev)) {
        switch (ev.type) {
        case PlatformEvent::Type::Close:
            request_stop();
            break;
        case PlatformEvent::Type::Key:
            handle_key(ev.key);
            break;
        case PlatformEvent::Type::MouseDown: {
            if (!dialog_showing()) {
                break;
            }
            const DialogLayout d = dialog_layout(request_, frameW_, frameH_);
            if (const std::optional<bool> yes = dialog_button_at(d, ev.mouseX, ev.mouseY)) {
                answer_dialog(*yes);
            }
            break;
        }
        case PlatformEvent::Type::None:
            break;
        }
        // A sleeping game looks at the stop and the pause at once (a key rings as it is
        // stored): rung after the event has left its mark, or a game that clears the bell in
        // between sleeps on past it.
        keys_.bell().ring();
    }
}

void WindowLoop::handle_key(const KeyPress& k)
{
    // Stop, pause and full screen come before the key table and never reach the game.
    if (k.key == Key::Break || (k.ctrl && k.key == Key::Pause) ||
        (k.ctrl && k.key == Key::ScrollLock)) {
        request_stop();
        return;
    }
    if (k.alt && (k.key == Key::Enter || k.key == Key::KpEnter)) {
        platform_.cycle_fullscreen();
        return;
    }
    if (paused_.load(std::memory_order_relaxed)) {
        paused_.store(false, std::memory_order_relaxed); // the resuming key is swallowed
        return;
    }
    if (k.key == Key::Pause || (k.ctrl && k.key == Key::NumLock)) {
        paused_.store(true, std::memory_order_relaxed);
        return;
    }
    if (dialog_showing()) {
        if (k.key == Key::Y || k.key == Key::Enter || k.key == Key::KpEnter) {
            answer_dialog(true);
        } else if (request_.yesNo && (k.key == Key::N || k.key == Key::Escape)) {
            answer_dialog(false);
        } else if (!request_.yesNo && k.key == Key::Escape) {
            answer_dialog(true);
        }
        return;
    }
    if (const auto code = translate_key(k)) {
        keys_.push(*code);
    }
}

bool WindowLoop::run_dialog(const DialogRequest& request)
{
    request_ = request;
    dialogState_.store(DialogState::Showing, std::memory_order_release);
    while (dialog_showing()) {
        if (stop_requested()) {
            dialogState_.store(DialogState::None, std::memory_order_release);
            return false;
        }
        platform_.sleep_ms(10);
    }
    const bool yes = dialogState_.load(std::memory_order_acquire) == DialogState::Yes;
    dialogState_.store(DialogState::None, std::memory_order_release);
    return yes;
}

bool WindowLoop::dialog_buttons(Buttons& out) const
{
    if (!dialog_showing() || frameW_ == 0) {
        return false;
    }
    const DialogLayout d = dialog_layout(request_, frameW_, frameH_);
    constexpr int kW = DialogLayout::kButtonW;
    constexpr int kH = DialogLayout::kButtonH;
    out = Buttons{{d.yesX, d.buttonY, kW, kH}, {d.noX, d.buttonY, d.noX >= 0 ? kW : 0, kH}};
    return true;
}

} // namespace svc
