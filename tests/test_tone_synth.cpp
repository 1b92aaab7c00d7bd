// The triangle wave at the top of its range: exact up to 11 025 Hz, folded back above, chords
// clamped (the golden runs hash the samples of every tone the game plays).
#include "services/audio/tone_synth.h"

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

// Two full-volume tones mixed into one chord are clamped to 16 bits, never wrapped round.
TEST(ToneSynth, AChordIsClampedAtFullScale)
{
    SoundBuffer b;
    mix_tone(b, 0, 440, 0.1, 1.0);
    mix_tone(b, 0, 440, 0.1, 1.0);
    const auto [low, high] = std::minmax_element(b.samples.begin(), b.samples.end());
    EXPECT_EQ(*high, 32767);
    EXPECT_EQ(*low, -32768);
}

} // namespace
} // namespace svc
