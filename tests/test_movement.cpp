// Checks of the movement keys, the objects on the facing wall and the distances.
#include <gtest/gtest.h>

#include "tests/maze_fixture.h"

namespace {

using maze_fixture::Game;
using view::ScanOutcome;

TEST(Movement, ForwardAndBackFromLevelOneStart)
{
    Game g;
    ASSERT_TRUE(g.load_level(1));
    g.key('H');
    EXPECT_EQ(g.st.player.playerRow, 8);
    EXPECT_EQ(g.st.player.playerCol, 9);
    EXPECT_EQ(g.st.scan.scanRow, 8);

    // South of the start is a wall: the beep and no step.
    g.place(9, 9, 0);
    std::size_t from = g.audio().tones.size();
    g.key('P');
    EXPECT_EQ(g.st.player.playerRow, 9);
    std::vector<double> hz = g.pitches(from);
    ASSERT_EQ(hz.size(), 1u);
    EXPECT_NEAR(hz[0], 784, 10);

    // The cell ahead is free but the last frame found the way closed: the beep again.
    g.st.scan.facingBlocked = 1;
    from = g.audio().tones.size();
    g.key('H');
    EXPECT_EQ(g.st.player.playerRow, 9);
    EXPECT_EQ(g.pitches(from).size(), 1u);

    // The exit cannot be reached walking backwards.
    g.place(6, 2, 3);
    g.key('P');
    EXPECT_EQ(g.st.player.playerCol, 2);
}

TEST(Movement, TurnsFollowTheCompassAndDrawARoll)
{
    struct Turn {
        char key;
        int heading, stepRow, stepCol;
    };
    const Turn kTurns[] = {{'M', 3, 0, 1},  {'M', 2, 1, 0}, {'M', 1, 0, -1}, {'M', 0, -1, 0},
                           {'K', 1, 0, -1}, {'K', 2, 1, 0}, {'K', 3, 0, 1}};
    Game g;
    ASSERT_TRUE(g.load_level(1));
    for (const Turn& t : kTurns) {
        SCOPED_TRACE(std::string("after ") + t.key + " to heading " + std::to_string(t.heading));
        g.st.scan.keyAhead = g.st.scan.doorAhead = 1;
        g.key(t.key);
        EXPECT_EQ(g.st.player.heading, t.heading);
        EXPECT_EQ(g.st.player.stepRow, t.stepRow);
        EXPECT_EQ(g.st.player.stepCol, t.stepCol);
        EXPECT_EQ(g.st.scan.keyAhead + g.st.scan.doorAhead, 0);
    }
    // Over many turns the roll covers exactly 1..200.
    int low = 1000, high = -1000;
    for (int i = 0; i < 3000; ++i) {
        g.key(i % 3 == 0 ? 'K' : 'M');
        low = std::min<int>(low, g.st.player.itemRoll);
        high = std::max<int>(high, g.st.player.itemRoll);
    }
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 200);
}

TEST(Movement, LevelOneDoorBlocksWithoutKeyAndOpensWithOne)
{
    Game g;
    ASSERT_TRUE(g.load_level(1));
    for (const auto& [row, heading] : {std::pair{7, 0}, std::pair{5, 2}}) {
        g.place(row, 5, heading);
        const std::size_t from = g.audio().tones.size();
        g.key('H');
        EXPECT_EQ(g.st.player.playerRow, row);
        const std::vector<double> hz = g.pitches(from);
        ASSERT_EQ(hz.size(), 1u);
        EXPECT_NEAR(hz[0], 50, 3);
    }

    g.place(7, 5, 0);
    g.st.player.keyHeld = 1;
    const std::size_t from = g.audio().tones.size();
    EXPECT_EQ(g.frame(), ScanOutcome::Redraw);
    EXPECT_EQ(g.st.level.maze(6, 5), game::kOpenCell);
    EXPECT_EQ(g.st.player.doorOpened, 1);
    EXPECT_EQ(g.st.player.keyHeld, 0);
    // PC speaker: 24 rising pairs f, f + 10 from 100 Hz.
    const std::vector<double> hz = g.pitches(from);
    ASSERT_EQ(hz.size(), 48u);
    EXPECT_NEAR(hz[0], 100, 5);
    EXPECT_NEAR(hz[47], 1950, 50);

    // The new frame shows the corridor behind the door, and the player can walk on.
    EXPECT_EQ(g.frame(), ScanOutcome::Finished);
    EXPECT_EQ(g.st.scan.facingBlocked, 0);
    g.key('H');
    EXPECT_EQ(g.st.player.playerRow, 6);
}

TEST(Movement, DoorSoundFollowsTheSoundChoice)
{
    for (int silent = 0; silent < 2; ++silent) {
        SCOPED_TRACE(silent ? "silent" : "sound card");
        Game g;
        ASSERT_TRUE(g.load_level(1));
        g.st.sound.soundMode = 1;
        g.st.sound.silentMode = static_cast<game::i16>(silent);
        g.place(7, 5, 0);
        g.st.player.keyHeld = 1;
        const double startMs = g.h.platform.ticks_ms();
        EXPECT_EQ(g.frame(), ScanOutcome::Redraw);
        const double tookMs = g.h.platform.ticks_ms() - startMs;
        EXPECT_TRUE(g.pitches(0).empty());
        // Silent: no file, but 48 "P60" pauses of 1/30 s keep the flashes' timing.
        EXPECT_EQ(g.audio().files.size(), silent ? 0u : 1u);
        EXPECT_EQ(tookMs > 1500, silent == 1);
        if (!silent) {
            EXPECT_EQ(g.audio().files[0].path, "Porta.ogg");
            EXPECT_TRUE(g.audio().files[0].sample);
        }
    }
}

TEST(Movement, KeyTakenFacingItFromTwoTwo)
{
    Game g;
    ASSERT_TRUE(g.load_level(1));
    g.place(2, 2, 0);
    const std::size_t from = g.audio().tones.size();
    EXPECT_EQ(g.frame(), ScanOutcome::Finished);
    EXPECT_EQ(g.st.level.maze(1, 2), game::kWallCell);
    EXPECT_EQ(g.st.player.keyTaken + g.st.player.keyHeld, 2);
    EXPECT_EQ(g.st.scan.keyAhead, 0);
    const std::vector<double> hz = g.pitches(from);
    ASSERT_EQ(hz.size(), 38u); // f and 1100 - f for f = 100 .. 1000
    EXPECT_NEAR(hz[1], 1000, 60);

    // What was under the key is back: the picture equals that of the plain wall.
    const auto keyArea = [&g] {
        std::vector<int> px;
        for (int y = 90; y <= 120; ++y) {
            for (int x = 264; x <= 375; ++x) {
                px.push_back(g.h.screen().pixel(x, y));
            }
        }
        return px;
    };
    const std::vector<int> afterTaking = keyArea();
    g.frame();
    EXPECT_EQ(afterTaking, keyArea());
}

TEST(Movement, WallClockGivesTwoMinutesOnce)
{
    Game g;
    ASSERT_TRUE(g.load_level(1));
    g.place(9, 9, 3); // the outer wall right in front
    g.st.player.itemRoll = 10;
    g.frame();
    EXPECT_EQ(g.st.level.minutesLeft, 8);
    EXPECT_EQ(g.st.player.itemRoll, 50);
    g.frame();
    EXPECT_EQ(g.st.level.minutesLeft, 8);
}

TEST(Movement, EyeAndKeyWithAndWithoutXray)
{
    Game g;
    ASSERT_TRUE(g.load_level(1));
    game::Pictures& pics = g.st.pictures;
    for (auto* eye : {&pics.ocip, &pics.occhil, &pics.oc22, &pics.ochig, &pics.oc43}) {
        maze_fixture::solid_picture(*eye, 20, 20, 15);
    }
    maze_fixture::solid_picture(pics.occh43, 60, 40, 15);
    g.st.sound.silentMode = 1;

    // X-ray on: facing the key with an eye rolled shows neither and takes neither.
    g.place(2, 2, 0);
    g.st.player.xrayOn = 1;
    g.st.player.itemRoll = 1;
    g.frame();
    EXPECT_EQ(g.st.level.maze(1, 2), game::kKeyCell);
    EXPECT_EQ(g.st.player.keyHeld, 0);
    EXPECT_EQ(g.count(14, 0, 0, 639, 199) + g.count(15, 0, 0, 639, 199), 0);

    // X-ray off, wall at depth 100: the eye is shown (OR onto the wall) but stays there.
    g.st.player.xrayOn = 0;
    g.place(8, 9, 1);
    g.frame();
    EXPECT_EQ(g.st.scan.facingDepth, 100);
    EXPECT_EQ(g.count(15, 275, 82, 294, 101), 400);
    EXPECT_EQ(g.st.player.xrayOn, 0);

    // Right in front it is taken: X-ray on, the roll spent, the wall as it was.
    g.st.sound.silentMode = 0;
    g.st.sound.soundMode = 1;
    g.place(9, 9, 3);
    g.frame();
    EXPECT_EQ(g.st.player.xrayOn, 1);
    EXPECT_EQ(g.st.player.itemRoll, 50);
    EXPECT_EQ(g.count(15, 230, 76, 289, 115), 0);
    ASSERT_EQ(g.audio().files.size(), 1u);
    EXPECT_EQ(g.audio().files[0].path, "Raggix.ogg");
    EXPECT_FALSE(g.audio().files[0].sample);
}

TEST(Movement, DistancesInWholeMetresAndTheLevelEnd)
{
    Game g;
    ASSERT_TRUE(g.load_level(1));
    struct Case {
        int row, col;
        float exit, door, key;
    };
    const Case kCases[] = {
        {6, 2, 5, 15, 25},  // one cell from the exit in a straight line
        {5, 2, 7, 15, 20},  // one cell diagonally: INT(7.07)
        {9, 9, 42, 25, 53}, // the start: INT(42.7), 25 exactly, INT(53.15)
    };
    for (const Case& c : kCases) {
        g.place(c.row, c.col, 0);
        game::WorkOutDistances(g.sv(), g.st);
        EXPECT_EQ(g.st.player.exitDistance, c.exit) << c.row << "," << c.col;
        EXPECT_EQ(g.st.player.doorDistance, c.door) << c.row << "," << c.col;
        EXPECT_EQ(g.st.player.keyDistance, c.key) << c.row << "," << c.col;
    }
    // Stepping onto the exit ends the level at the next frame.
    g.place(6, 2, 1);
    EXPECT_EQ(g.frame(), ScanOutcome::Finished);
    g.key('H');
    EXPECT_EQ(g.frame(), ScanOutcome::LevelEnded);
    EXPECT_EQ(g.st.player.exitDistance, 0);
}

} // namespace
