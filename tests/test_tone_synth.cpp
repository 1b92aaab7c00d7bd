// Tests of the triangle-wave tone synthesis: length, cut at the rising zero crossing,
// wave shape, amplitude and pitch.
#include "services/tone_synth.h"

#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>

namespace svc {
namespace {

std::vector<int> left_channel(const SoundBuffer& b)
{
    std::vector<int> mono;
    for (std::size_t i = 0; i < b.frames(); ++i) {
        mono.push_back(b.samples[2 * i]);
    }
    return mono;
}

TEST(ToneSynth, TenthOfASecondAt1000HzEndsOnARisingZeroCrossing)
{
    SoundBuffer shortTone;
    append_tone(shortTone, 1000, 0.1, 1.0);
    SoundBuffer longTone;
    append_tone(longTone, 1000, 0.2, 1.0);

    // Cut back by about one period (22.05 frames) from 2 205 frames: the hundredth
    // crossing would fall on frame 2 205 itself, outside the buffer.
    EXPECT_LT(shortTone.frames(), 2205u);
    EXPECT_GE(shortTone.frames(), 2205u - 23u);

    // The short tone is the start of the same wave, and the wave turns positive exactly
    // where the short tone stops: the next buffer can follow on from zero.
    const std::vector<int> a = left_channel(shortTone);
    const std::vector<int> b = left_channel(longTone);
    ASSERT_GT(b.size(), a.size());
    EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin()));
    EXPECT_LE(a.back(), 0);
    EXPECT_GT(b[a.size()], 0);
}

TEST(ToneSynth, TriangleShapeAmplitudePitchAndStereo)
{
    for (const double f : {50.0, 440.0, 4000.0}) {
        SoundBuffer full;
        append_tone(full, f, 1.0, 1.0);
        const std::vector<int> s = left_channel(full);
        const double step = 4.0 * f / kToneRate * 32767;
        EXPECT_NEAR(s[0], step, 1.0) << f; // starts at zero, rising
        int crossings = 0;
        for (std::size_t i = 1; i < s.size(); ++i) {
            ASSERT_EQ(full.samples[2 * i], full.samples[2 * i + 1]) << f << " frame " << i;
            // A triangle moves by at most one step a frame (a square or saw would jump).
            ASSERT_LE(std::abs(s[i] - s[i - 1]), step + 1) << f << " frame " << i;
            crossings += s[i - 1] <= 0 && s[i] > 0;
        }
        EXPECT_NEAR(crossings / full.seconds(), f, 1.5) << f;
        const auto [lo, hi] = std::minmax_element(s.begin(), s.end());
        EXPECT_GT(*hi, 32767 - step) << f;
        EXPECT_LT(*lo, -32767 + step) << f;
    }
    SoundBuffer half;
    append_tone(half, 440, 0.5, 0.5);
    const std::vector<int> h = left_channel(half);
    EXPECT_NEAR(*std::max_element(h.begin(), h.end()), 16383, 42);
}

TEST(ToneSynth, SilenceAndVeryShortTonesKeepTheirLength)
{
    SoundBuffer silent;
    append_tone(silent, 0, 2 / kTicksPerSecond, 1.0); // two ticks of silence: not cut
    EXPECT_EQ(silent.frames(), 2423u);
    EXPECT_TRUE(std::all_of(silent.samples.begin(), silent.samples.end(),
                            [](std::int16_t v) { return v == 0; }));

    SoundBuffer tiny; // a tone far shorter than one frame still makes one frame
    append_tone(tiny, 1000, 0.00001, 1.0);
    EXPECT_EQ(tiny.frames(), 1u);

    // Exact lengths that floating point would shave a frame off.
    SoundBuffer pause;
    append_silence(pause, (60.0 / 120) * (4.0 / 60));
    EXPECT_EQ(pause.frames(), 735u);
}

} // namespace
} // namespace svc
