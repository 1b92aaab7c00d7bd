// Tests of the music-macro notation (the game's strings, lasting settings, timing, pitch and
// the strings that must be refused) and of the triangle wave: followed frame by frame, folded
// back above 11 025 Hz, chords clamped (the golden runs hash the samples of every
// tone the game plays).
#include "services/audio/macro.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "services/audio/tone_synth.h"

#include <gtest/gtest.h>

namespace svc {
namespace {

int rising_crossings(const SoundBuffer& b, std::size_t from, std::size_t to)
{
    int count = 0;
    for (std::size_t i = from + 1; i < to; ++i) {
        count += b.samples[2 * i - 2] <= 0 && b.samples[2 * i] > 0;
    }
    return count;
}

std::vector<MacroNote> parse_ok(const std::string& text, MacroState& state)
{
    std::optional<std::vector<MacroNote>> notes = parse_macro(text, state);
    EXPECT_TRUE(notes.has_value()) << text;
    return notes.value_or(std::vector<MacroNote>{});
}

TEST(Macro, SettingsCarryOverFromOneStringToTheNext)
{
    MacroState state;
    parse_ok("L24cegcL16e", state);
    for (const MacroNote& n : parse_ok("cde", state)) {
        EXPECT_NEAR(n.soundS + n.silenceS, 0.125, 1e-12);
    }
    parse_ok("O2", state);
    EXPECT_NEAR(parse_ok("a", state)[0].frequencyHz, 440, 1e-9);
    parse_ok("T60MS", state); // a quarter at 60 per minute is a second, 3/4 of it sounding
    const std::vector<MacroNote> n = parse_ok("L4c", state);
    EXPECT_NEAR(n[0].soundS, 0.75, 1e-12);
    EXPECT_NEAR(n[0].silenceS, 0.25, 1e-12);
    parse_ok("ML", state);
    EXPECT_NEAR(parse_ok("c", state)[0].soundS, 1.0, 1e-12);
    parse_ok("MB", state);
    EXPECT_FALSE(state.foreground);

    // Dots add a half, then a quarter ... of the plain length, after notes and pauses.
    MacroState fresh;
    const std::vector<MacroNote> d = parse_ok("c4. p4.. n1.", fresh);
    EXPECT_NEAR(d[0].soundS + d[0].silenceS, 0.75, 1e-12);
    EXPECT_NEAR(d[1].silenceS, 0.875, 1e-12);
    EXPECT_NEAR(d[2].soundS + d[2].silenceS, 0.75, 1e-12);
}

TEST(Macro, PitchOfNotesAndTheirMarks)
{
    MacroState state;
    const std::vector<MacroNote> n = parse_ok("O3 c# c+ d- N34 N0 > b < < < < c", state);
    ASSERT_EQ(n.size(), 7u);
    EXPECT_DOUBLE_EQ(n[0].frequencyHz, note_frequency(1, 3));
    EXPECT_DOUBLE_EQ(n[1].frequencyHz, n[0].frequencyHz);
    EXPECT_DOUBLE_EQ(n[2].frequencyHz, n[0].frequencyHz);
    EXPECT_NEAR(n[3].frequencyHz, 440, 1e-9); // note 34 is A of octave 2
    EXPECT_EQ(n[4].soundS, 0);                // note 0 is a rest
    EXPECT_NEAR(n[4].silenceS, 0.5, 1e-12);   // of the default quarter length
    EXPECT_DOUBLE_EQ(n[5].frequencyHz, note_frequency(11, 4));
    EXPECT_DOUBLE_EQ(n[6].frequencyHz, note_frequency(0, 0)); // "<" stops at octave 0
    parse_ok("O6>>", state);
    EXPECT_EQ(state.octave, 6);

    // The A of octave 4, heard: count the wave's rising crossings over two seconds.
    MacroState fresh;
    const SoundBuffer a = render_macro(parse_ok("MLL1a", fresh));
    EXPECT_NEAR(rising_crossings(a, 0, a.frames()) / a.seconds(), 1760, 1);
}

TEST(Macro, MalformedStringsAreRefusedWholeAndChangeNothing)
{
    // clang-format off
    const char* bad[] = {"O7", "L0", "L65", "L", "O", "T31", "T256", "V101", "V", "N85", "N",
                         "C0", "C65", "P0", "P65", "MX", "M", ">3", "<1", "X", "L16c!", "c,",
                         "c,p4", "L8.", "cH", "L16\t", "O-1", "99", "L99999999999999999999"};
    // clang-format on
    for (const char* text : bad) {
        MacroState state;
        state.length = 16;
        const MacroState before = state;
        // The good start of the string must not stick either.
        const std::string withPrefix = std::string("L8O2T200V10MSMB") + text;
        EXPECT_FALSE(parse_macro(text, state).has_value()) << text;
        EXPECT_FALSE(parse_macro(withPrefix, state).has_value()) << withPrefix;
        EXPECT_TRUE(state == before) << text;
    }
    MacroState state; // the limits themselves are fine
    EXPECT_TRUE(parse_macro("L1L64O0O6T32T255V0V100N0N84C1C64P1P64", state).has_value());
    EXPECT_TRUE(parse_macro("", state).has_value());
}

// ---- tone synthesis ----

std::vector<int> left_channel(const SoundBuffer& b)
{
    std::vector<int> mono;
    for (std::size_t i = 0; i < b.frames(); ++i) {
        mono.push_back(b.samples[2 * i]);
    }
    return mono;
}

// The triangle folded into -1..1 however far it has run: x climbs by the step each frame,
// and the wave repeats every 4 (up from -1 to 1 over 2, back down over 2).
double folded(double x)
{
    const double y = std::fmod(x + 1, 4.0);
    return y <= 2 ? y - 1 : 3 - y;
}

// Every tone follows the triangle frame by frame; up to 11 025 Hz it is heard at its own
// pitch, above that (sampled at 22 050 Hz) at its alias frequency.
TEST(ToneSynth, TonesFollowTheTriangleAndThoseAbove11025HzFoldBackIntoRange)
{
    const struct {
        double hz, aliasHz, volume;
    } tones[] = {{440, 440, 1},     {3000, 3000, 0.5}, {8000, 8000, 1},  {11025, 0, 1},
                 {12000, 10050, 1}, {15039, 7011, 1},  {32767, 10717, 1}};
    for (const auto& t : tones) {
        SoundBuffer b;
        append_tone(b, t.hz, 1.0, t.volume);
        const std::vector<int> s = left_channel(b);
        const double step = 4 * t.hz / kToneRate;
        for (std::size_t i = 0; i < s.size(); ++i) {
            ASSERT_NEAR(s[i], folded(step * static_cast<double>(i + 1)) * t.volume * 32767, 2.0)
                << t.hz << " Hz frame " << i;
        }
        EXPECT_NEAR(rising_crossings(b, 0, b.frames()) / b.seconds(), t.aliasHz, 2.0) << t.hz;
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
