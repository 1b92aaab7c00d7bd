// Triangle-wave tone synthesis for the tone queue: 22 050 frames a second, 16-bit stereo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace svc {

inline constexpr int kToneRate = 22050;         // frames per second of every tone-queue buffer
inline constexpr double kTicksPerSecond = 18.2; // sound_tone durations are in clock ticks

// The arguments sound_tone accepts: frequency 0 (silence) or 37..32767 Hz, 0..65535 ticks.
bool tone_arguments_ok(double frequency_hz, double duration_ticks);

// A sound buffer of the tone queue: interleaved stereo samples, both channels equal.
// frames() is always size() / 2.
struct SoundBuffer {
    std::vector<std::int16_t> samples;

    std::size_t frames() const { return samples.size() / 2; }
    double seconds() const { return static_cast<double>(frames()) / kToneRate; }
};

// Whole frames in duration_s: the integer part of 22 050 x duration_s (a hair of slack
// keeps lengths such as 1/30 s from losing a frame to rounding).
std::size_t frames_in(double duration_s);

// Appends a triangle tone of frequency_hz for duration_s at volume 0..1: integer part of
// 22 050 x duration frames (at least 1), starting at 0 and rising, then cut back to its
// last rising zero crossing so that the next sound follows on without a click.
// A frequency of 0 gives silence of the full length; above 11 025 Hz the wave, which then
// steps past its whole range in one frame, is folded back into -1..1.
void append_tone(SoundBuffer& out, double frequency_hz, double duration_s, double volume);

// Adds a tone into `out` from frame `at` on, mixing with what is there (chords); grows the
// buffer as needed and clamps the sum to 16 bits. Returns the tone's length in frames.
std::size_t mix_tone(SoundBuffer& out, std::size_t at, double frequency_hz, double duration_s,
                     double volume);

} // namespace svc
