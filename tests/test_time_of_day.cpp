// Checks of the time of day: the minute beats' colour cycle with its one-shot music, and
// the sky, clouds, stars and level music drawn from it.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "game/core/level_clock.h"
#include "game/core/sky.h"
#include "game/core/state.h"
#include "game/flow.h"
#include "services/block_codec.h"
#include "services/screen_image.h"
#include "tests/support/harness.h"

namespace {

using game::i16;
using testing_support::Harness;

class TimeOfDay : public ::testing::Test {
  protected:
    void SetUp() override { h.sv().set_screen_mode(8); }

    // How often a music file whose name contains `name` was started.
    int started(const std::string& name)
    {
        int n = 0;
        for (const auto& f : h.platform.audio.files) {
            n += f.path.find(name) != std::string::npos ? 1 : 0;
        }
        return n;
    }
    // One idle pass as far as time goes: the panel's clock, then the time of day.
    void pass()
    {
        game::CountClockFull(h.sv(), st);
        game::UpdateTimeOfDay(h.sv(), st);
    }
    // One minute beat: many passes in second 00, then one in second 01.
    void beat()
    {
        ++minute;
        h.platform.set_time_of_day(10, minute, 0);
        for (int i = 0; i < 20; ++i) {
            pass();
        }
        h.platform.set_time_of_day(10, minute, 1);
        pass();
    }
    std::uint32_t palette0() { return h.screen().palette_entry(0); }
    int countColour(int colour, int x0, int x1, int y0, int y1)
    {
        int n = 0;
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                n += h.screen().pixel(x, y) == colour ? 1 : 0;
            }
        }
        return n;
    }

    Harness h;
    game::GameState st;
    int minute = 0;
};

// The dusk and dawn music follow the sound choice alone, even in silent mode.
TEST_F(TimeOfDay, MinuteBeatsRunTheWholeColourCycleWithMusicOnce)
{
    st.sound.soundMode = 1;
    st.sound.silentMode = 1;
    st.level.faceColour = 4;
    st.level.minutesLeft = 100;
    h.platform.set_time_of_day(10, 0, 30);
    pass();
    EXPECT_EQ(st.time.dawnPlayed, 1) << "set at phase 0";

    for (int b = 1; b <= 8; ++b) {
        beat();
    }
    EXPECT_EQ(st.time.dayPhase, 48);
    EXPECT_EQ(st.time.skyColour, 7);
    beat(); // ninth: evening colours
    EXPECT_EQ(st.time.dayPhase, 54);
    EXPECT_EQ(st.time.skyColour, 3);
    EXPECT_EQ(st.time.sunColour, 12);
    beat(); // tenth: night
    EXPECT_EQ(st.time.skyColour, 1);
    EXPECT_EQ(st.time.sunColour, 1);
    EXPECT_EQ(st.level.faceColour, 7);
    EXPECT_EQ(started("Sera2.ogg"), 0);
    beat(); // eleventh: deep night and the dusk music, once
    EXPECT_EQ(st.time.skyColour, 0);
    EXPECT_EQ(st.time.sunColour, 0);
    EXPECT_EQ(palette0(), svc::kDefaultPalette[0]);
    EXPECT_EQ(started("Sera2.ogg"), 1);
    EXPECT_EQ(st.level.minutesLeft, 89);

    beat();
    beat(); // 78: the cycle turns
    EXPECT_EQ(st.time.dayStep, -6);
    beat();
    beat(); // 66 falling
    EXPECT_EQ(st.time.dayPhase, 66);
    EXPECT_EQ(st.time.skyColour, 1);
    EXPECT_EQ(st.time.sunColour, 1);
    EXPECT_EQ(st.level.faceColour, 7);
    EXPECT_EQ(started("Sera2.ogg"), 1);
    EXPECT_EQ(started("Alba.ogg"), 0);
    beat(); // 60 falling: the dawn music, once
    EXPECT_EQ(st.time.skyColour, 3);
    EXPECT_EQ(st.time.sunColour, 12);
    EXPECT_EQ(st.level.faceColour, 1);
    EXPECT_EQ(started("Alba.ogg"), 1);
    beat(); // 54 falling: day again
    EXPECT_EQ(st.time.skyColour, 7);
    EXPECT_EQ(st.time.sunColour, 14);
    EXPECT_EQ(st.level.faceColour, 1);
    EXPECT_EQ(started("Alba.ogg"), 1);

    for (int b = 0; b < 9; ++b) {
        beat();
    }
    EXPECT_EQ(st.time.dayPhase, 0);
    EXPECT_EQ(st.time.dayStep, 6);
    EXPECT_EQ(st.time.minutesPlayed, 26);

    // With the PC speaker chosen the night falls without music.
    game::GameState pc;
    pc.time.dayPhase = 66;
    game::UpdateTimeOfDay(h.sv(), pc);
    EXPECT_EQ(pc.time.skyColour, 0);
    EXPECT_EQ(started("Sera2.ogg"), 1);
}

TEST_F(TimeOfDay, SkyObjectsByHeading)
{
    st.time.skyColour = 1;
    st.time.sunColour = 14;
    st.time.moonColour = 15;
    st.time.moonOffsetX = 1;
    st.time.moonOffsetY = 1;

    st.player.heading = 0;
    game::DrawSky(h.sv(), st);
    EXPECT_EQ(countColour(0, 0, 639, 0, 199), 640 * 200) << "nothing in the north";

    st.player.heading = 3;
    st.time.dayPhase = 12;
    game::DrawSky(h.sv(), st);
    EXPECT_EQ(h.screen().pixel(205, 12 + 5), 14) << "the sun sinks as the phase grows";
    EXPECT_EQ(countColour(14, 150, 250, 0, 12), 0);
    EXPECT_EQ(palette0(), svc::kDefaultPalette[1]);

    h.sv().clear_screen();
    st.player.heading = 1;
    st.time.dayPhase = 30;
    game::DrawSky(h.sv(), st);
    // The moon rises; the sky-coloured disc a little above and to the left of it cuts its
    // top away and leaves a crescent open to the lower right.
    EXPECT_EQ(h.screen().pixel(205, 60), 15);
    EXPECT_EQ(h.screen().pixel(200, 56), 1);
    EXPECT_GT(countColour(15, 185, 215, 57, 65), 40);
    EXPECT_EQ(countColour(15, 185, 215, 40, 56), 0);
}

TEST_F(TimeOfDay, CloudsByDayAndByNight)
{
    testing_support::solid_block(st.pictures.cloudDay, 4, 2, 5);
    testing_support::solid_block(st.pictures.cloudEvening, 4, 2, 6);
    for (int k = 1; k <= 40; ++k) {
        st.time.cloudY[static_cast<std::size_t>(k)] = static_cast<i16>(k);
    }
    st.time.daySpacing = 60;
    st.time.nightSpacing = 30;
    st.player.heading = 2;

    // Clouds are laid over the sky: an existing pixel is combined with them.
    h.screen().set_pixel(80, 1, 8);
    game::DrawSky(h.sv(), st);
    EXPECT_EQ(h.screen().pixel(80, 1), 8 | 5);
    int clouds = 0;
    for (int x = 80; x <= 600; x += 60) {
        const int k = (x - 80) / 60 + 1;
        clouds += h.screen().pixel(x + 1, k) == 5 ? 1 : 0;
    }
    EXPECT_EQ(clouds, 5) << "x = 80 to 370 by 60";
    EXPECT_EQ(st.time.cloudIndex, 0);

    h.sv().clear_screen();
    st.time.dayPhase = 66;
    game::DrawSky(h.sv(), st);
    clouds = 0;
    for (int x = 80; x <= 600; x += 30) {
        const int k = (x - 80) / 30 + 1;
        clouds += h.screen().pixel(x, k) == 6 ? 1 : 0;
    }
    EXPECT_EQ(clouds, 14) << "x = 80 to 470 by 30, the evening cloud";
    EXPECT_EQ(countColour(5, 0, 639, 0, 60), 0);
}

TEST_F(TimeOfDay, StarsOnlyByNightForTheHeading)
{
    for (int i = 1; i <= 45; ++i) {
        for (int hd = 0; hd <= 3; ++hd) {
            st.time.starX[static_cast<std::size_t>(i)][static_cast<std::size_t>(hd)] =
                static_cast<i16>(130 + i * 8 + hd);
            st.time.starY[static_cast<std::size_t>(i)][static_cast<std::size_t>(hd)] =
                static_cast<i16>(i + hd * 50);
        }
    }
    st.player.heading = 2;
    st.time.dayPhase = 60;
    game::DrawStars(h.sv(), st);
    EXPECT_EQ(countColour(7, 0, 639, 0, 199), 0);

    st.time.dayPhase = 72;
    game::DrawStars(h.sv(), st);
    EXPECT_EQ(countColour(7, 0, 639, 0, 199), 45);
    EXPECT_EQ(h.screen().pixel(130 + 8 + 2, 1 + 100), 7);
    EXPECT_EQ(palette0(), svc::kDefaultPalette[0]);
}

} // namespace
