// Loudness measurement, and the levels of the shipped music: each kind at its loudness, no
// offset, and no two files that can play together reaching full scale.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "tools/assets/game_files.h"
#include "tools/assets/loudness.h"
#include "tools/assets/music_levels.h"

namespace assets {
namespace {

constexpr int kRate = 22050;

// Stereo sine of `seconds` at the given amplitudes per channel, appended to `out`.
void add_sine(std::vector<float>& out, double seconds, double left, double right, double hz = 997)
{
    const auto frames = static_cast<std::size_t>(seconds * kRate);
    for (std::size_t i = 0; i < frames; ++i) {
        const double v = std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / kRate);
        out.push_back(static_cast<float>(left * v));
        out.push_back(static_cast<float>(right * v));
    }
}

TEST(Loudness, WeightingFiltersMatchTheBroadcastOnesAt48kHz)
{
    const auto f = k_weighting(48000);
    const double expected[2][5] = {{1.53512485958697, -2.69169618940638, 1.19839281085285,
                                    -1.69065929318241, 0.73248077421585},
                                   {1.0, -2.0, 1.0, -1.99004745483398, 0.99007225036621}};
    for (std::size_t s = 0; s < 2; ++s) {
        const double got[5] = {f[s].b0, f[s].b1, f[s].b2, f[s].a1, f[s].a2};
        for (std::size_t i = 0; i < 5; ++i) {
            EXPECT_NEAR(got[i], expected[s][i], 1e-8) << "stage " << s << " coefficient " << i;
        }
    }
}

TEST(Loudness, SinesReadTheirLevelAndQuietPartsAreGatedOut)
{
    std::vector<float> both, left, withSilence, withQuiet, tiny;
    add_sine(both, 5, 1, 1);
    add_sine(left, 5, 1, 0);
    add_sine(withSilence, 10, 0.1, 0.1);
    add_sine(withSilence, 10, 0, 0);
    add_sine(withQuiet, 10, 0.1, 0.1);
    add_sine(withQuiet, 10, 0.01, 0.01); // 20 LU down: below the relative gate
    add_sine(tiny, 0.2, 0.1, 0.1);       // shorter than one block
    EXPECT_NEAR(integrated_loudness(both, kRate), 0.0, 0.1);
    EXPECT_NEAR(integrated_loudness(left, kRate), -3.01, 0.1);
    EXPECT_NEAR(integrated_loudness(withSilence, kRate), -20.0, 0.1);
    EXPECT_NEAR(integrated_loudness(withQuiet, kRate), -20.0, 0.1);
    EXPECT_NEAR(integrated_loudness(tiny, kRate), -20.0, 0.3);
    EXPECT_EQ(integrated_loudness(std::vector<float>(2 * kRate, 0.0f), kRate), -70.0);
}

TEST(Loudness, BringingToLevelHoldsPeaksDownAndLeavesTheRestScaled)
{
    std::vector<float> s;
    add_sine(s, 4, 0.2, 0.2, 440);
    for (std::size_t n = kRate / 2; n < s.size() / 2; n += kRate) {
        s[2 * n] = 1.0f; // a click every second in the left channel
    }
    const std::vector<float> before = s;
    bring_to_level(s, kRate, -26, 0.1);
    const Levels l = measure_levels(s, kRate);
    EXPECT_NEAR(l.loudnessLufs, -26, 0.2);
    EXPECT_LE(l.peak, 0.1 + 1e-7);
    // Away from the clicks the sound is only scaled: by the same gain everywhere.
    const double gain = s[2 * 1000 + 1] / before[2 * 1000 + 1];
    for (std::size_t n : {1000u, 5000u, 30000u, 60000u}) {
        EXPECT_NEAR(s[2 * n], before[2 * n] * gain, 1e-6) << n;
    }
}

TEST(ShippedMusic, EachKindAtItsLoudnessWithoutOffsetAndNoMixReachesFullScale)
{
    for (const MusicLevels& f : measure_game_music(MUV_DATA_DIR)) {
        const Levels& l = f.levels;
        EXPECT_NEAR(l.loudnessLufs, loudness_target(f.slot.role), 1.0) << f.slot.name;
        EXPECT_LE(l.peak, kMusicPeakCeiling) << f.slot.name;
        EXPECT_LT(l.dc, 0.005) << f.slot.name;
        // As the mixer adds them: 16-bit samples summed, clamped at 32 767.
        EXPECT_LT(f.worstMixPeak * 32768, 32767) << f.slot.name << " with " << f.worstPartner;
    }
}

} // namespace
} // namespace assets
