// Levels of the game's stereo music as a listener perceives them: K-weighted integrated
// loudness over gated 400 ms blocks (the broadcasters' measure), sample peak and DC offset.
#pragma once

#include <array>
#include <vector>

namespace assets {

// One second-order filter section: y = b0 x + b1 x[-1] + b2 x[-2] - a1 y[-1] - a2 y[-2].
struct Biquad {
    double b0, b1, b2, a1, a2;
};

// The two sections that weight sound roughly as the ear does at `rate` Hz: a +4 dB high
// shelf above about 1.7 kHz (the head's effect), then a high-pass near 38 Hz.
std::array<Biquad, 2> k_weighting(int rate);

// Integrated loudness in LUFS of interleaved stereo samples (full scale 1.0): mean K-weighted
// power over 400 ms blocks every 100 ms, leaving out blocks below -70 LUFS and then blocks
// more than 10 LU below the loudness of the rest. A sound shorter than one block counts as
// one block; silence gives -70.
double integrated_loudness(const std::vector<float>& stereo, int rate);

struct Levels {
    double seconds = 0;
    double loudnessLufs = -70;
    double peak = 0;              // largest |sample|, 1.0 = full scale
    double dc = 0;                // largest |mean| of either channel
    std::array<double, 2> high{}; // highest sample of each channel
    std::array<double, 2> low{};  // lowest sample of each channel
};

// The largest |sample| that two sounds played together, each from any start, can reach in
// either channel: their highest samples may meet, or their lowest.
double worst_mix_peak(const Levels& a, const Levels& b);

Levels measure_levels(const std::vector<float>& stereo, int rate);

// Scales interleaved stereo samples to the given integrated loudness, then holds any peak
// above `ceiling` down to it with a smooth, look-ahead gain (a few milliseconds either side
// of the peak), which leaves the loudness all but unchanged.
void bring_to_level(std::vector<float>& stereo, int rate, double loudnessLufs, double ceiling);

} // namespace assets
