// Tests of the triangle-wave tone synthesis: length, cut at the rising zero crossing,
// wave shape, amplitude and pitch, and tones too high to be sampled faithfully.
#include "services/tone_synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
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

// FNV-1a over the samples' bytes: a fingerprint of a whole buffer.
std::uint64_t fingerprint(const SoundBuffer& b)
{
    std::uint64_t h = 1469598103934665603ull;
    for (const std::int16_t s : b.samples) {
        const auto u = static_cast<std::uint16_t>(s);
        h = (h ^ (u & 0xFF)) * 1099511628211ull;
        h = (h ^ (u >> 8)) * 1099511628211ull;
    }
    return h;
}

TEST(ToneSynth, TonesUpTo11025HzKeepTheirExactSamples)
{
    // Half-second tones as the generator made them before high tones were folded back:
    // the fold must leave every one of these samples as it was.
    const struct {
        double hz, volume;
        std::uint64_t print;
    } tones[] = {{37, 1, 0xb0ba9600ae7bca13},     {440, 1, 0x1aaf125ab92f2bbf},
                 {783.99, 1, 0x185768086f99f47f}, {3000, 0.5, 0x63cb1ea2c64691ff},
                 {8000, 1, 0x09744671799410d7},   {10039, 1, 0x845d57b7c73dcbab},
                 {11025, 1, 0x79e5bf27424ab433}};
    for (const auto& t : tones) {
        SoundBuffer b;
        append_tone(b, t.hz, 0.5, t.volume);
        EXPECT_EQ(fingerprint(b), t.print) << t.hz << " Hz";
    }
}

// The triangle folded into -1..1 however far it has run: x climbs by the step each frame,
// and the wave repeats every 4 (up from -1 to 1 over 2, back down over 2).
double folded(double x)
{
    const double y = std::fmod(x + 1, 4.0);
    return y <= 2 ? y - 1 : 3 - y;
}

TEST(ToneSynth, TonesAbove11025HzFoldBackIntoRange)
{
    // Sampled at 22 050 Hz these are heard at their alias frequency.
    const struct {
        double hz, aliasHz;
    } tones[] = {{11025, 0}, {12000, 10050}, {15039, 7011}, {32767, 10717}};
    for (const auto& t : tones) {
        SoundBuffer b;
        append_tone(b, t.hz, 1.0, 1.0);
        const std::vector<int> s = left_channel(b);
        const double step = 4 * t.hz / kToneRate;
        int crossings = 0;
        for (std::size_t i = 0; i < s.size(); ++i) {
            ASSERT_NEAR(s[i], folded(step * static_cast<double>(i + 1)) * 32767, 2.0)
                << t.hz << " Hz frame " << i;
            crossings += i > 0 && s[i - 1] <= 0 && s[i] > 0;
        }
        EXPECT_NEAR(crossings / b.seconds(), t.aliasHz, 2.0) << t.hz;
    }
}

} // namespace
} // namespace svc
