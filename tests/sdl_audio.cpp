// The SDL_mixer back end with real threads: a tune and Ogg files play without error,
// finished samples give their slots back, and without a usable driver the game goes on
// silently with the same timing.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "services/audio/sound_system.h"
#include "services/platform/sdl/sdl_platform.h"
#include "services/services.h"
#include "tests/ogg_fixture.h"
#include "tests/support/harness.h"

using testing_support::TempDir;

namespace {

double seconds_since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

class SdlAudio : public testing::Test {
  protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        ASSERT_TRUE(sound_fixture::write_test_ogg("tune.ogg", 0.3));
        ASSERT_TRUE(sound_fixture::write_test_ogg("long.ogg", 1.5));
        testing_support::write_file("bad.ogg", "not an ogg file at all");
    }
    TempDir dir;
};

TEST_F(SdlAudio, TuneAndMusicFilesPlayOnTheDummyDriver)
{
    svc::SdlPlatform platform;
    svc::Services sv(platform);

    const auto start = std::chrono::steady_clock::now();
    sv.play_macro("L16cegcL64P64");
    const double took = seconds_since(start);
    EXPECT_FALSE(sv.sound().silent_fallback());
    // The lead-in and the tune have been played to their end, not skipped (the mixer
    // takes a buffer up to two 1 024-frame chunks before the driver sounds it).
    EXPECT_GT(took, 0.37 + 4 * 0.125 + 1.0 / 16 - 2 * 1024 / 22050.0);
    EXPECT_LT(took, 3.0);

    EXPECT_TRUE(platform.play_stream_file("tune.ogg"));
    EXPECT_TRUE(platform.play_stream_file("tune.ogg")); // replaces the first
    EXPECT_FALSE(platform.play_stream_file("missing.ogg"));
    EXPECT_FALSE(platform.play_sample_file("bad.ogg"));
    sv.play_sound_file("tune.ogg", true);
    sv.play_sound_file("tune.ogg", true);
    sv.play_sound_file("nothing-here.ogg", false);
    sv.sound_tone(880, 2);
    EXPECT_EQ(sv.pending_error(), 0);

    // Fill every slot; once the samples have finished the window thread has released
    // all of them, so every slot takes a new sample again.
    const auto fill_slots = [&] {
        int started = 0;
        for (int i = 0; i < 256; ++i) {
            started += platform.play_sample_file("long.ogg");
        }
        return started;
    };
    sv.pause_ms(400);
    const auto filling = std::chrono::steady_clock::now();
    EXPECT_EQ(fill_slots(), 256);
    if (seconds_since(filling) < 1.0) { // else the first ones may have finished already
        EXPECT_FALSE(platform.play_sample_file("long.ogg"));
    }
    sv.pause_ms(1700);
    EXPECT_EQ(fill_slots(), 256) << "every slot, the first and the last too, is given back";
}

// SDL's audio threads of this process (named SDLAudio...).
int audio_threads()
{
    int n = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        n += std::getline(comm, name) && name.rfind("SDLAudio", 0) == 0;
    }
    return n;
}

TEST_F(SdlAudio, AfterAQuietSpellTheOutputRestsAndEveryKindOfSoundWakesIt)
{
    svc::SdlPlatform platform;
    svc::Services sv(platform);
    sv.play_macro("L64c");
    EXPECT_EQ(audio_threads(), 1);
    sv.pause_ms(1500); // nothing sounding for over a second: the output rests
    EXPECT_EQ(audio_threads(), 0) << "a resting output has no thread waking for silence";
    const auto start = std::chrono::steady_clock::now();
    sv.play_macro("L16cegc"); // waits for its end: it never comes from a resting output
    const double took = seconds_since(start);
    EXPECT_GT(took, 4 * 0.125 - 2 * 1024 / 22050.0);
    EXPECT_LT(took, 2.0);
    // A sample and the stream, started on the game's thread, wake it as well.
    for (const bool overlap : {true, false}) {
        sv.pause_ms(1500);
        ASSERT_EQ(audio_threads(), 0);
        EXPECT_TRUE(overlap ? platform.play_sample_file("tune.ogg")
                            : platform.play_stream_file("tune.ogg"));
        sv.pause_ms(100); // the new thread names itself once it runs
        EXPECT_EQ(audio_threads(), 1);
    }
}

TEST_F(SdlAudio, WithoutAUsableDriverTheGameGoesOnSilently)
{
    const char* previous = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = previous != nullptr ? previous : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    {
        svc::SdlPlatform platform;
        svc::Services sv(platform);
        testing::internal::CaptureStderr();
        const auto start = std::chrono::steady_clock::now();
        sv.play_macro("P16");
        const double took = seconds_since(start);
        sv.play_sound_file("tune.ogg", false);
        sv.beep();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(sv.sound().silent_fallback());
        EXPECT_EQ(sv.pending_error(), 0);
        // Lead-in and the pause are still waited for on the clock.
        EXPECT_GT(took, 0.37 + 0.125 - 0.02);
        EXPECT_LT(took, 2.0);
        EXPECT_NE(said.find("sound"), std::string::npos);
    }
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
}

} // namespace
