// The music generator's voices and accents, loudness measurement, and the levels of the
// shipped music: each kind at its loudness, no offset, and no two files that can play
// together reaching full scale.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "tools/assets/game_files.h"
#include "tools/assets/loudness.h"
#include "tools/assets/music_levels.h"
#include "tools/assets/music_source.h"
#include "tools/assets/synth.h"

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

// Amplitude of the component at `hz` in the left channel from frame `from` on, over one
// second (a single-bin Fourier transform with a Hann window).
double amplitude_at(const std::vector<float>& stereo, double hz, std::size_t from)
{
    double re = 0, im = 0;
    for (std::size_t i = 0; i < kRate; ++i) {
        const double w = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / kRate);
        const double a = 2 * std::numbers::pi * hz * static_cast<double>(i) / kRate;
        re += w * stereo[2 * (from + i)] * std::cos(a);
        im += w * stereo[2 * (from + i)] * std::sin(a);
    }
    return 4 * std::hypot(re, im) / kRate;
}

std::vector<float> render_one_note(const std::string& voice, const std::string& note)
{
    return render_song(parse_song("tempo 60\nvoice v attack=0 decay=0 sustain=1 release=0 "
                                  "legato=1 " +
                                      voice + "\nv: " + note + "\n",
                                  "t.mus"),
                       kRate);
}

TEST(MusicVoices, FmModulatorKeepsItsOwnPhaseAndNoPartialFoldsBack)
{
    // Ratio 1.5 on A 440 Hz: sidebands at 440 +- 660 Hz, so one at 220 Hz, a partial a
    // modulator tied to the carrier's cycle cannot make. At index 1 the carrier has
    // J0(1) = 0.765 and each first sideband J1(1) = 0.440.
    const auto bell = render_one_note("wave=fm ratio=1.5 index=1", "o4 a1");
    const double carrier = amplitude_at(bell, 440, kRate);
    EXPECT_NEAR(amplitude_at(bell, 220, kRate) / carrier, 0.440 / 0.765, 0.03);
    EXPECT_NEAR(amplitude_at(bell, 1100, kRate) / carrier, 0.440 / 0.765, 0.03);

    // Ratio 4 on B 3 951 Hz: every sideband lies above 11 025 Hz and is left out, instead of
    // folding back to 2 295 and 10 197 Hz.
    const auto high = render_one_note("wave=fm ratio=4 index=1.5", "o7 b1");
    const double top = amplitude_at(high, 3951.07, kRate);
    EXPECT_GT(top, 0.1);
    EXPECT_LT(amplitude_at(high, 2295, kRate), top * 1e-3);
    EXPECT_LT(amplitude_at(high, 10197, kRate), top * 1e-3);
}

TEST(Loudness, SinesReadTheirLevelAndQuietPartsAreGatedOut)
{
    std::vector<float> both, left, withSilence, steps, tiny;
    add_sine(both, 5, 1, 1);
    add_sine(left, 5, 1, 0);
    add_sine(withSilence, 10, 0.1, 0.1);
    add_sine(withSilence, 10, 0, 0);
    add_sine(steps, 10, 0.01, 0.01); // -40: below the relative gate
    add_sine(steps, 5, 0.1, 0.1);    // -20
    add_sine(steps, 5, 0.05, 0.05);  // -26: counts, the mean power gives -22.04
    add_sine(tiny, 0.2, 0.1, 0.1);   // shorter than one block
    EXPECT_NEAR(integrated_loudness(both, kRate), 0.0, 0.1);
    EXPECT_NEAR(integrated_loudness(left, kRate), -3.01, 0.1);
    EXPECT_NEAR(integrated_loudness(withSilence, kRate), -20.0, 0.1);
    EXPECT_NEAR(integrated_loudness(steps, kRate), -22.04, 0.1);
    EXPECT_NEAR(integrated_loudness(tiny, kRate), -20.0, 0.3);
    EXPECT_EQ(integrated_loudness(std::vector<float>(2 * kRate, 0.0f), kRate), -70.0);
}

TEST(Loudness, PeaksOffsetAndTheWorstMixKeepEachChannelAndSignApart)
{
    const Levels a = measure_levels({0.5f, -0.4f, -0.25f, 0.2f, 0.1f, 0, -0.1f, 0.3f}, kRate);
    EXPECT_DOUBLE_EQ(a.peak, 0.5);
    EXPECT_NEAR(a.dc, 0.0625, 1e-7); // the left channel's mean
    const Levels b = measure_levels({0.2f, 0.1f, -0.6f, -0.1f}, kRate);
    // Left: the lows meet at -0.85; more than the highs (0.7) or the right channel (0.5).
    EXPECT_NEAR(worst_mix_peak(a, b), 0.85, 1e-7);
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
