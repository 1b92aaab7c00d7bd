// Checks of the status panel: its boxes, the time text and level clock, and the X-ray gauge.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "game/core/state.h"
#include "screens/status_panel.h"
#include "services/block_codec.h"
#include "tests/screen_reading.h"
#include "tests/support/harness.h"

namespace {

using testing_support::Harness;

std::string frameRow(int width, char left, char right)
{
    return std::string(1, left) + std::string(static_cast<std::size_t>(width - 2), '\xCD') +
           std::string(1, right);
}
std::string top(int w)
{
    return frameRow(w, '\xC9', '\xBB');
}
std::string middle(int w)
{
    return frameRow(w, '\xCC', '\xB9');
}
std::string bottom(int w)
{
    return frameRow(w, '\xC8', '\xBC');
}
const std::string kSide = "\xBA";

// A solid w x h block of one colour in a picture buffer.

// One piece of text expected on the panel, in its colour.
struct Expected {
    int row;
    int col;
    std::string text;
    int colour;
};

class StatusPanel : public ::testing::Test {
  protected:
    void SetUp() override
    {
        sv().set_screen_mode(8);
        for (auto* b :
             {&st.pictures.gab, &st.pictures.gab2, &st.pictures.gab3, &st.pictures.gab4}) {
            testing_support::solid_block(*b, 8, 4, 9);
        }
        st.level.levelNumber = 3;
        st.level.minutesLeft = 4;
        st.level.canSave = 1;
        st.player.exitDistance = 7;
        st.player.doorDistance = 35;
        st.player.keyDistance = 40;
        st.scan.facingDepth = 140; // no seagull over the view
        clockAt(12, 30, 53);
    }

    svc::Services& sv() { return h.sv(); }
    void clockAt(int hh, int mm, int ss) { h.platform.set_time_of_day(hh, mm, ss); }
    void draw() { screens::DrawStatusPanel(sv(), st); }
    std::string text(int row, int col, std::size_t n, int colour)
    {
        return screen_reading::glyphs_text(h.screen(), row, col, static_cast<int>(n), colour);
    }
    void expectAll(const std::vector<Expected>& expected)
    {
        for (const Expected& e : expected) {
            EXPECT_EQ(text(e.row, e.col, e.text.size(), e.colour), e.text)
                << "at (" << e.row << ", " << e.col << ") in colour " << e.colour;
        }
    }
    std::string timeBox() { return text(13, 66, 14, 14); }

    Harness h;
    game::GameState st;
};

TEST_F(StatusPanel, EveryBoxWithItsFrameColourAndText)
{
    draw();
    expectAll({
        // Level
        {7, 66, top(14), 10},
        {8, 66, kSide + " Livello", 10},
        {8, 75, " 3 ", 15},
        {8, 79, kSide, 10},
        {9, 66, bottom(14), 10},
        // Time: 4 minutes and 60 - 53 = 7 seconds
        {10, 66, top(14), 14},
        {11, 66, kSide + "   Tempo:   " + kSide, 14},
        {12, 66, middle(14), 14},
        {13, 66, kSide + " 4,07 Min.  " + kSide, 14},
        {14, 66, bottom(14), 14},
        // Menu key
        {15, 67, top(12), 10},
        {16, 67, kSide + " <", 10},
        {16, 70, "X", 15},
        {16, 71, "=Menu> " + kSide, 10},
        {17, 67, bottom(12), 10},
        // Save
        {18, 67, top(13), 12},
        {19, 67, kSide + " <", 12},
        {19, 70, "Ctrl", 14},
        {19, 74, "+", 12},
        {19, 75, "S", 14},
        {19, 76, ">= " + kSide, 12},
        {20, 67, middle(13), 12},
        {21, 67, kSide, 12},
        {21, 71, "Salva", 10},
        {21, 79, kSide, 12},
        {22, 67, kSide, 12},
        {22, 70, "Livello", 10},
        {22, 79, kSide, 12},
        {23, 67, bottom(13), 12},
        // Exit
        {2, 2, top(12), 12},
        {3, 2, kSide + " Uscita a " + kSide, 12},
        {4, 2, middle(12), 12},
        {5, 2, kSide, 12},
        {5, 3, " 7 metri", 10},
        {5, 13, kSide, 12},
        {6, 2, bottom(12), 12},
        // Door
        {2, 67, top(12), 12},
        {3, 67, kSide + " Porta a  " + kSide, 12},
        {4, 67, middle(12), 12},
        {5, 67, kSide, 12},
        {5, 68, " 35 metri", 10},
        {5, 78, kSide, 12},
        {6, 67, bottom(12), 12},
        // X-ray, off
        {7, 2, top(12), 14},
        {8, 2, kSide + " Raggi X: " + kSide, 14},
        {9, 2, middle(12), 14},
        {10, 2, kSide + " **", 14},
        {10, 7, "NO", 6},
        {10, 10, "** " + kSide, 14},
        {11, 2, middle(12), 14},
        {12, 2, kSide, 14},
        {12, 4, std::string(8, '\xB1'), 8},
        {12, 13, kSide, 14},
        {13, 2, bottom(12), 14},
        // Compass
        {14, 2, top(13), 5},
        {15, 2, kSide + " Direzione " + kSide, 5},
        {16, 2, middle(13), 5},
        {17, 2, kSide + " *", 5},
        {17, 12, "* " + kSide, 5},
        {18, 2, bottom(13), 5},
        // Key, in the compass colour
        {19, 2, top(12), 5},
        {20, 2, kSide + " Chiave a " + kSide, 5},
        {21, 2, middle(12), 5},
        {22, 2, kSide, 5},
        {22, 3, " 40 Metri", 10},
        {22, 13, kSide, 5},
        {23, 2, bottom(12), 5},
    });
}

TEST_F(StatusPanel, OpenedDoorTakenKeyAndGreySaveHint)
{
    st.player.doorOpened = 1;
    st.player.keyTaken = 1;
    st.level.canSave = 0;
    draw();
    expectAll({
        {3, 67, kSide + "  Porta   " + kSide, 12},
        {5, 69, "-Aperta-", 10},
        {20, 2, kSide + " -Chiave- " + kSide, 5},
        {22, 3, " -- SI --", 11},
        {18, 67, top(13), 12},
        {19, 70, "Ctrl", 8},
        {19, 75, "S", 8},
        {21, 71, "Salva", 8},
        {22, 70, "Livello", 8},
    });
}

TEST_F(StatusPanel, LevelTenHasGreyDashedDoorAndKeyBoxes)
{
    st.level.levelNumber = 10;
    const std::string dashed = kSide + " -------- " + kSide;
    for (int opened = 0; opened <= 1; ++opened) {
        st.player.doorOpened = static_cast<game::i16>(opened);
        st.player.keyTaken = static_cast<game::i16>(opened);
        sv().clear_screen();
        draw();
        expectAll({
            {8, 75, " 10 ", 15},
            {2, 67, top(12), 8},
            {3, 67, dashed, 8},
            {4, 67, middle(12), 8},
            {5, 67, dashed, 8},
            {6, 67, bottom(12), 8},
            {19, 2, top(12), 8},
            {20, 2, dashed, 8},
            {21, 2, middle(12), 8},
            {22, 2, dashed, 8},
            {23, 2, bottom(12), 8},
        });
    }
}

TEST_F(StatusPanel, TimeTextSecondsAlwaysTwoDigits)
{
    st.level.minutesLeft = 3;
    clockAt(12, 30, 7);
    draw();
    EXPECT_EQ(timeBox(), kSide + " 3,53 Min.  " + kSide);
    EXPECT_EQ(st.level.secondsLeft, 53);

    clockAt(12, 30, 55);
    draw();
    EXPECT_EQ(timeBox(), kSide + " 3,05 Min.  " + kSide);

    // More than nine minutes fill the box to its right side.
    st.level.minutesLeft = 12;
    clockAt(12, 30, 40);
    draw();
    EXPECT_EQ(timeBox(), kSide + " 12,20 Min. " + kSide);
}

TEST_F(StatusPanel, OneMinuteCountedPerWallClockSecondZero)
{
    st.level.minutesLeft = 5;
    st.time.dayStep = 6;
    clockAt(12, 31, 0);
    for (int i = 0; i < 50; ++i) {
        draw();
    }
    EXPECT_EQ(st.level.minutesLeft, 4);
    EXPECT_EQ(st.time.minuteState, game::MinuteState::Counted);
    EXPECT_EQ(st.time.dayPhase, 6);
    EXPECT_EQ(st.time.minutesPlayed, 1);
    EXPECT_EQ(st.level.secondsLeft, 60);
    // 60 seconds left show as 00.
    EXPECT_EQ(timeBox(), kSide + " 4,00 Min.  " + kSide);

    // Re-armed by any other second; a second 00 no call falls in is lost.
    clockAt(12, 31, 1);
    draw();
    EXPECT_EQ(st.time.minuteState, game::MinuteState::Armed);
    clockAt(12, 32, 1);
    draw();
    EXPECT_EQ(st.level.minutesLeft, 4);
    clockAt(12, 33, 0);
    draw();
    EXPECT_EQ(st.level.minutesLeft, 3);
}

TEST_F(StatusPanel, TimeUpShowsMinusOneOnTheSameCall)
{
    st.level.minutesLeft = 0;
    clockAt(12, 40, 0);
    draw();
    EXPECT_EQ(st.level.minutesLeft, -1);
    EXPECT_EQ(st.time.minuteState, game::MinuteState::TimeUp);
    EXPECT_EQ(timeBox(), kSide + "-1,00 Min.  " + kSide);

    // The last minute itself is no time-out.
    st.level.minutesLeft = 1;
    st.time.minuteState = game::MinuteState::Armed;
    clockAt(12, 41, 0);
    draw();
    EXPECT_EQ(st.level.minutesLeft, 0);
    EXPECT_EQ(st.time.minuteState, game::MinuteState::Counted);
}

TEST_F(StatusPanel, XrayGaugeRedrawnEverySixtyFourthCall)
{
    st.player.xrayOn = 1;
    const std::string gauge = "\xDB\xDB\xDB\xDB\xDB\xDB\xDB\xDB";
    for (int i = 0; i < 63; ++i) {
        draw();
    }
    EXPECT_EQ(text(10, 7, 2, 12), "SI");
    EXPECT_EQ(st.player.xrayUsed, 0);
    EXPECT_NE(text(12, 4, 8, 12), gauge) << "drawn before the 64th call";
    draw();
    EXPECT_EQ(st.player.xrayUsed, 1);
    EXPECT_EQ(text(12, 4, 8, 12), gauge);

    // 7.5 rounds to 8 full blocks; 6.5 to 6 full and 1.5 to 2 shaded.
    st.player.xrayUsed = 24;
    st.player.xrayTicks = 63;
    draw();
    EXPECT_EQ(text(12, 4, 8, 12), gauge);
    st.player.xrayUsed = 74;
    st.player.xrayTicks = 127;
    draw();
    EXPECT_EQ(st.player.xrayUsed, 75);
    EXPECT_EQ(text(12, 4, 8, 12), std::string(6, '\xDB') + "\xB1\xB1");
}

TEST_F(StatusPanel, XrayAidEndsWithItsSoundAndHidesTheSeagulls)
{
    struct Case {
        game::i16 soundMode;
        game::i16 silentMode;
        std::size_t files;
        std::size_t tones;
    };
    for (const Case c : {Case{1, 0, 1, 0}, Case{0, 0, 0, 8}, Case{1, 1, 0, 0}}) {
        st.sound.soundMode = c.soundMode;
        st.sound.silentMode = c.silentMode;
        st.player.xrayOn = 1;
        st.player.xrayUsed = 400;
        st.player.xrayTicks = 64 * 401 - 1;
        st.scan.facingDepth = -40;
        st.player.heading = 0;
        h.platform.audio.files.clear();
        h.platform.audio.tones.clear();
        const double before = h.platform.ticks_ms();
        draw();
        EXPECT_EQ(st.player.xrayOn, 0);
        EXPECT_EQ(st.player.xrayUsed, 0);
        EXPECT_EQ(st.player.xrayTicks, 0);
        EXPECT_EQ(st.scan.facingDepth, 140);
        EXPECT_EQ(text(12, 4, 8, 12), std::string(8, '\xB1'));
        ASSERT_EQ(h.platform.audio.files.size(), c.files);
        if (c.files > 0) {
            EXPECT_NE(h.platform.audio.files[0].path.find("Firagx1.ogg"), std::string::npos);
        }
        if (c.tones > 0) {
            // Eight falling tones of 0.8 ticks each, one after the other.
            EXPECT_GE(h.platform.audio.tones.size(), c.tones);
            EXPECT_GE(h.platform.ticks_ms() - before, 7 * 0.8 * 1000 / 18.2);
        }
        // No bird over the view on the call the aid ends.
        for (int x = 200; x < 460; ++x) {
            ASSERT_NE(h.screen().pixel(x, 3), 9) << "seagull at x " << x;
        }
    }
    // While the aid is off the same call shows the first bird.
    st.scan.facingDepth = -40;
    draw();
    int birdPixels = 0;
    for (int x = 200; x < 460; ++x) {
        birdPixels += h.screen().pixel(x, 3) == 9 ? 1 : 0;
    }
    EXPECT_GT(birdPixels, 0);
}

} // namespace
