// Fuzz target: any music-macro string parses without fault; a refused one leaves the
// settings as they were, an accepted one gives notes of sane values and settings in range.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "services/audio/macro.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The settings carry over from one string to the next, as in the game.
    static svc::MacroState state;
    const svc::MacroState before = state;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto notes = svc::parse_macro(text, state);
    if (!notes) {
        if (!(state == before)) {
            __builtin_trap();
        }
        return 0;
    }
    if (state.tempo < 32 || state.tempo > 255 || state.length < 1 || state.length > 64 ||
        state.octave < 0 || state.octave > 6 || state.volume < 0 || state.volume > 100 ||
        !(state.articulation >= 0 && state.articulation <= 1)) {
        __builtin_trap();
    }
    double total = 0;
    for (const svc::MacroNote& n : *notes) {
        if (!std::isfinite(n.frequencyHz) || n.frequencyHz < 0 || !std::isfinite(n.soundS) ||
            n.soundS < 0 || !std::isfinite(n.silenceS) || n.silenceS < 0 ||
            !(n.volume >= 0 && n.volume <= 1)) {
            __builtin_trap();
        }
        total += n.soundS + n.silenceS;
    }
    // Synthesis of short tunes only: a long one is just more of the same samples.
    if (total < 2.0) {
        const svc::SoundBuffer buffer = svc::render_macro(*notes);
        (void)buffer;
    }
    return 0;
}
