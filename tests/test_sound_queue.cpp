// The tone queue beyond what the golden runs meet: refusals, closing the window during a wait,
// the machine without sound, and music files through the headless sink.
#include <gtest/gtest.h>

#include <algorithm>

#include "services/audio/sound_system.h"
#include "tests/ogg_fixture.h"
#include "tests/support/harness.h"

using svc::HeadlessAudio;
using svc::Key;
using testing_support::Harness;
using testing_support::TempDir;

namespace {

constexpr double kPassMs = 16;

// Runs fn and returns the virtual ms it took.
template <class Fn> double timed(Harness& h, Fn&& fn)
{
    const double start = h.platform.ticks_ms();
    fn();
    return h.platform.ticks_ms() - start;
}

TEST(ToneQueue, MalformedMacrosRaiseErrorFiveAndQueueNothing)
{
    for (const char* text : {"O7", "L0", "L", "K"}) {
        Harness h;
        h.sv().play_macro("MBL4c"); // sound queued before the bad string still plays
        EXPECT_EQ(timed(h, [&] { h.sv().play_macro(text); }), 0) << text;
        EXPECT_EQ(h.sv().pending_error(), 5) << text;
        h.platform.advance(1000);
        ASSERT_EQ(h.platform.audio.tones.size(), 2u) << text; // the lead-in and "c"
        EXPECT_NEAR(h.platform.audio.tones[1].duration_ms(), 500, 2) << text;
    }
}

TEST(ToneQueue, SoundToneChecksItsArgumentsAndZeroTicksPlayNothing)
{
    const std::pair<double, double> calls[] = {{20, 1},   {36.9, 1},    {32768, 1}, {-1, 1},
                                               {440, -1}, {440, 65536}, {37, 1},    {32767, 1}};
    for (const auto& [f, ticks] : calls) {
        Harness h;
        h.sv().sound_tone(f, ticks);
        const bool good = f == 37 || f == 32767;
        EXPECT_EQ(h.sv().pending_error(), good ? 0 : 5) << f << " Hz, " << ticks << " ticks";
        EXPECT_EQ(h.platform.audio.tones.size(), good ? 2u : 0u) << f;
    }

    Harness h;
    EXPECT_EQ(timed(h, [&] { h.sv().sound_tone(440, 0); }), 0); // no tone at all
    h.sv().sound_tone(0, 2);
    const auto& tones = h.platform.audio.tones;
    ASSERT_EQ(tones.size(), 2u);
    EXPECT_NEAR(tones[1].duration_ms(), 2 / 18.2 * 1000, 0.1);
    EXPECT_TRUE(std::all_of(tones[1].frames.begin(), tones[1].frames.end(),
                            [](std::int16_t v) { return v == 0; }));
}

TEST(ToneQueue, KeysDoNotEndTheWaitButClosingTheWindowDoes)
{
    Harness h;
    h.sv().play_macro("P60");
    h.platform.press_key(Key::Space);
    EXPECT_GE(timed(h, [&] { h.sv().play_macro("P1"); }), 2000);
    EXPECT_EQ(h.sv().read_key(), " "); // still there for the game

    const double start = h.platform.ticks_ms();
    h.platform.close_window();
    EXPECT_EQ(h.run([&] { h.sv().play_macro("P1"); }), 0);
    EXPECT_LT(h.platform.ticks_ms() - start, 100);
}

TEST(ToneQueue, WhenTenThousandBuffersWaitTheNextWaitsForTheLeadInToBeReleased)
{
    Harness h;
    const auto fill = [&] {
        h.sv().play_macro("MBL64P64"); // the lead-in and a pause
        for (int i = 2; i < 10000; ++i) {
            h.sv().play_macro("P64");
        }
    };
    EXPECT_EQ(timed(h, fill), 0);
    EXPECT_NEAR(timed(h, [&] { h.sv().play_macro("P64"); }), 8192 / 22.05, 2 * kPassMs);
}

TEST(ToneQueue, WithoutASoundDeviceEveryWaitLastsAsLong)
{
    const auto script = [](Harness& h) {
        std::vector<double> times;
        times.push_back(timed(h, [&] { h.sv().play_macro("L16cegcegcegc"); }));
        times.push_back(timed(h, [&] { h.sv().play_macro("P1P60"); }));
        times.push_back(timed(h, [&] { h.sv().sound_tone(50, 3); }));
        times.push_back(timed(h, [&] { h.sv().beep(); }));
        times.push_back(timed(h, [&] { h.sv().play_macro("L30O4a"); }));
        return times;
    };
    Harness withSound;
    const std::vector<double> expected = script(withSound);

    Harness silent;
    silent.platform.audio.deviceAvailable = false;
    testing::internal::CaptureStderr();
    const std::vector<double> got = script(silent);
    const std::string said = testing::internal::GetCapturedStderr();

    EXPECT_TRUE(silent.platform.audio.tones.empty());
    EXPECT_TRUE(silent.sv().sound().silent_fallback());
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i], expected[i], kPassMs) << "call " << i;
    }
    EXPECT_GT(got[1], 2000);
    // Said once on standard error, not at every sound.
    EXPECT_NE(said.find("sound"), std::string::npos);
    EXPECT_EQ(said.find('\n'), said.size() - 1);
}

class MusicFiles : public testing::Test {
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(sound_fixture::write_test_ogg("a.ogg", 0.5, 440));
        ASSERT_TRUE(sound_fixture::write_test_ogg("b.ogg", 0.5, 660));
        testing_support::write_file("bad.ogg", "OggS but nothing after it");
    }
    TempDir dir;
    Harness h;
    const std::vector<HeadlessAudio::File>& files() { return h.platform.audio.files; }
};

TEST_F(MusicFiles, SamplesOverlapInTheFirstFreeSlots)
{
    const double took = timed(h, [&] {
        h.sv().play_sound_file("a.ogg", true);
        h.sv().play_sound_file("b.ogg", true);
    });
    EXPECT_EQ(took, 0); // fire and forget
    ASSERT_EQ(files().size(), 2u);
    EXPECT_EQ(files()[0].slot, 0);
    EXPECT_EQ(files()[1].slot, 1);
    const double t = h.platform.ticks_ms() + 100;
    EXPECT_TRUE(files()[0].sounding_at(t) && files()[1].sounding_at(t));

    h.platform.advance(300);
    h.sv().play_sound_file("a.ogg", true); // both slots still busy
    EXPECT_EQ(files()[2].slot, 2);
    h.platform.advance(300);
    h.sv().play_sound_file("b.ogg", true); // the first two have finished
    EXPECT_EQ(files()[3].slot, 0);
    EXPECT_TRUE(h.platform.audio.tones.empty()); // files are not tones: no lead-in
}

TEST_F(MusicFiles, ANewStreamFileCutsOffThePreviousOne)
{
    h.sv().play_sound_file("a.ogg", false);
    h.platform.advance(100);
    const double cut = h.platform.ticks_ms();
    h.sv().play_sound_file("b.ogg", false);
    ASSERT_EQ(files().size(), 2u);
    EXPECT_EQ(files()[0].endMs, cut);
    EXPECT_TRUE(files()[1].sounding_at(cut + 100));

    // A sample does not touch the stream; a failing stream file still stops the old one.
    h.sv().play_sound_file("a.ogg", true);
    EXPECT_TRUE(files()[1].sounding_at(cut + 100));
    h.platform.advance(100);
    h.sv().play_sound_file("missing.ogg", false);
    EXPECT_FALSE(files()[1].sounding_at(h.platform.ticks_ms()));
}

TEST_F(MusicFiles, MisspeltOrDamagedFilesPlayNothingAndRaiseNothing)
{
    h.sv().play_sound_file("a.ogx", true);
    h.sv().play_sound_file("bad.ogg", true);
    h.sv().play_sound_file("A.OGG", false);
    ASSERT_EQ(files().size(), 3u);
    for (const auto& f : files()) {
        EXPECT_FALSE(f.started) << f.path;
    }
    EXPECT_EQ(h.sv().pending_error(), 0);
    h.sv().play_sound_file("a.ogg", true); // the failures took no slot
    EXPECT_EQ(files().back().slot, 0);

    Harness silent; // no device: nothing reaches the sink, nothing is raised
    silent.platform.audio.deviceAvailable = false;
    testing::internal::CaptureStderr();
    silent.sv().play_sound_file("a.ogg", true);
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(silent.platform.audio.files.empty());
    EXPECT_EQ(silent.sv().pending_error(), 0);
}

} // namespace
