// Triangle-wave tone synthesis for the tone queue.
#include "services/audio/tone_synth.h"

#include <algorithm>
#include <cmath>

namespace svc {

namespace {

// One tone as mono samples, already cut back to its last rising zero crossing.
std::vector<std::int16_t> synth_mono(double frequency_hz, double duration_s, double volume)
{
    const std::size_t count = std::max<std::size_t>(frames_in(duration_s), 1);
    std::vector<std::int16_t> mono(count, 0);
    if (frequency_hz == 0) {
        return mono;
    }
    const double step = 4.0 * frequency_hz / kToneRate;
    double value = 0;
    bool rising = true;
    for (std::size_t i = 0; i < count; ++i) {
        value += rising ? step : -step;
        // Up to 11 025 Hz one reflection brings the value back; a higher tone steps more
        // than the whole range in one frame and is folded back as often as it takes.
        for (;;) {
            if (rising && value >= 1) {
                value = 2 - value;
                rising = false;
            } else if (!rising && value <= -1) {
                value = -2 - value;
                rising = true;
            } else {
                break;
            }
        }
        mono[i] = static_cast<std::int16_t>(value * volume * 32767);
    }
    // The last frame where the wave goes from not positive to positive; the buffer ends
    // just before it, so the next tone starts where this one would have gone on.
    for (std::size_t i = count - 1; i >= 1; --i) {
        if (mono[i - 1] <= 0 && mono[i] > 0) {
            mono.resize(i);
            break;
        }
    }
    return mono;
}

} // namespace

bool tone_arguments_ok(double frequency_hz, double duration_ticks)
{
    const bool frequencyOk = frequency_hz == 0 || (frequency_hz >= 37 && frequency_hz <= 32767);
    return frequencyOk && duration_ticks >= 0 && duration_ticks <= 65535;
}

std::size_t frames_in(double duration_s)
{
    const double frames = std::floor(kToneRate * duration_s + 1e-6);
    return frames >= 1 ? static_cast<std::size_t>(frames) : 0;
}

void append_tone(SoundBuffer& out, double frequency_hz, double duration_s, double volume)
{
    mix_tone(out, out.frames(), frequency_hz, duration_s, volume);
}

std::size_t mix_tone(SoundBuffer& out, std::size_t at, double frequency_hz, double duration_s,
                     double volume)
{
    const std::vector<std::int16_t> mono = synth_mono(frequency_hz, duration_s, volume);
    if (out.frames() < at + mono.size()) {
        out.samples.resize(2 * (at + mono.size()), 0);
    }
    for (std::size_t i = 0; i < mono.size(); ++i) {
        for (std::size_t c = 0; c < 2; ++c) {
            std::int16_t& sample = out.samples[2 * (at + i) + c];
            sample = static_cast<std::int16_t>(std::clamp(sample + mono[i], -32768, 32767));
        }
    }
    return mono.size();
}

} // namespace svc
