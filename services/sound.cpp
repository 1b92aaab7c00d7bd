// The sound services of the game: play_macro, sound_tone, beep and play_sound_file.
#include <unistd.h>

#include <cstdio>

#include "services/audio/sound_system.h"
#include "services/entry.h"
#include "services/files/files.h"
#include "services/services.h"

namespace svc {

void Services::play_macro(std::string_view macro, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    if (!sound_->play_macro(macro)) {
        raise(kIllegalFunctionCall);
    }
}

void Services::sound_tone(double frequencyHz, double durationTicks, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    if (!sound_->tone(frequencyHz, durationTicks)) {
        raise(kIllegalFunctionCall);
    }
}

void Services::beep(Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    sound_->beep();
}

void Services::play_sound_file(const std::string& name, bool overlap, Here here)
{
    Entry entry(*this, here);
    if (!entry || !sound_->open_output()) {
        return;
    }
    // A file that cannot be opened or decoded plays nothing, on purpose without an error
    // dialog. It is looked at first without waiting: a pipe or a device in its place would
    // hang the decoder's open.
    const ReadOpen opened = open_for_reading(name);
    if (opened.odd) {
        std::fprintf(stderr, "muvesecky: %s: %s\n", name.c_str(), read_open_reason(opened).c_str());
        return;
    }
    if (opened.fd >= 0) {
        ::close(opened.fd);
    }
    if (!sound_->play_file(name, overlap)) {
        const std::string why = opened.fd < 0 ? read_open_reason(opened) : "cannot be played";
        std::fprintf(stderr, "muvesecky: %s: %s\n", name.c_str(), why.c_str());
    }
}

} // namespace svc
