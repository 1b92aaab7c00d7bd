// Checks of the built-in level table text and of the read cursor over it.
#include "data/level_table.h"
#include "game/core/level_reader.h"
#include "game/core/maze.h"
#include "game/core/state.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using testing_support::Harness;

// The header of each level as the game shows and uses it.
struct ExpectedHeader {
    const char* name;
    std::int16_t size;
    std::int16_t minutes;
    std::int16_t face;
};
const ExpectedHeader kHeaders[10] = {
    {"Nano:", 10, 6, 4},       {"Di Archimede:", 14, 10, 2}, {"Di Ulisse:", 15, 11, 1},
    {"Di Paride:", 16, 12, 1}, {"Di Raffaello:", 16, 12, 4}, {"Di Galileo:", 16, 12, 1},
    {"Di Olimpo:", 17, 13, 1}, {"Di Minosse:", 18, 14, 1},   {"Di Euclide:", 23, 17, 1},
    {"Gigante:", 32, 22, 8},
};

void expectHeader(const game::LevelState& h, int level)
{
    const ExpectedHeader& want = kHeaders[level - 1];
    EXPECT_EQ(h.levelName, want.name) << "level " << level;
    EXPECT_EQ(h.mazeSize, want.size) << "level " << level;
    EXPECT_EQ(h.startRow, want.size - 1) << "level " << level;
    EXPECT_EQ(h.startCol, want.size - 1) << "level " << level;
    EXPECT_EQ(h.minutesLeft, want.minutes) << "level " << level;
    EXPECT_EQ(h.secondsLeft, 60) << "level " << level;
    EXPECT_EQ(h.faceColour, want.face) << "level " << level;
}

TEST(LevelTable, TextHasTheKnownLengthAndRecordStarts)
{
    const data::LevelTable& table = data::level_table();
    EXPECT_EQ(table.text.size(), 4285u);
    const std::array<std::size_t, 10> starts = {0,    152,  423,  723,  1057,
                                                1394, 1729, 2099, 2508, 3137};
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(table.recordOffsets[k], starts[k]) << "level " << k + 1;
    }
    EXPECT_EQ(table.text.back(), ',');
}

TEST(LevelTable, QuotedItemsHoldOnlyNamesAndCellBytes)
{
    // Walk the text item by item: every maze row is made of the five cell bytes only.
    game::LevelState h;
    for (int level = 1; level <= 10; ++level) {
        ASSERT_TRUE(game::read_header(h));
        for (int row = 1; row <= h.mazeSize; ++row) {
            std::string cells;
            ASSERT_TRUE(h.reader.read_string(cells));
            ASSERT_EQ(cells.size(), static_cast<std::size_t>(h.mazeSize));
            for (char c : cells) {
                EXPECT_TRUE(c == game::kWallCell || c == game::kOpenCell || c == game::kExitCell ||
                            c == game::kKeyCell || c == game::kDoorCell)
                    << "level " << level << " row " << row << " byte " << int(c & 0xFF);
            }
        }
    }
}

TEST(LevelReader, ReadsEveryRecordInSequenceToTheEnd)
{
    Harness hx;
    const data::LevelTable& table = data::level_table();
    game::LevelState h;
    game::LevelReader& reader = h.reader;
    for (int level = 1; level <= 10; ++level) {
        ASSERT_EQ(reader.position(), table.recordOffsets[level - 1]);
        ASSERT_TRUE(game::read_header(h));
        expectHeader(h, level);
        std::string row;
        for (int i = 0; i < h.mazeSize; ++i) {
            ASSERT_TRUE(reader.read_string(row));
        }
    }
    EXPECT_EQ(reader.position(), table.text.size());
    EXPECT_EQ(hx.sv().pending_error(), 0);

    // After level 10 the table is exhausted.
    std::int16_t n = 77;
    EXPECT_FALSE(reader.read_number(n));
    EXPECT_EQ(n, 77);
    EXPECT_EQ(hx.sv().pending_error(), 4);
    EXPECT_EQ(svc::error_message(4), "Out of DATA");
    EXPECT_EQ(reader.position(), table.text.size());
}

TEST(LevelReader, RestoreReachesEveryLevelAndResetGoesBackToTheStart)
{
    game::LevelState h;
    for (int level : {10, 3, 1, 7, 2, 9, 4, 8, 6, 5}) {
        h.reader.restore_level(level);
        ASSERT_TRUE(game::read_header(h));
        expectHeader(h, level);
    }
    h.reader.reset();
    ASSERT_TRUE(game::read_header(h));
    expectHeader(h, 1);
}

TEST(LevelReader, RefusesLevelsOutsideTheTable)
{
    for (int level : {0, 11, -3}) {
        Harness hx;
        game::LevelReader reader;
        reader.restore_level(4);
        reader.restore_level(level);
        EXPECT_EQ(hx.sv().pending_error(), 5) << level;
        EXPECT_EQ(reader.position(), data::level_table().recordOffsets[3]) << level;
    }
}

// A small table of our own to see how odd items are read.
const std::string kOddText = "12,\"a b\",40000,\"7\",x9,";
const std::array<std::size_t, 1> kOddStarts = {0};

TEST(LevelReader, NumbersAndStringsAreReadAsTheirKindAllows)
{
    Harness hx;
    game::LevelReader reader(kOddText, kOddStarts);
    std::string s;
    ASSERT_TRUE(reader.read_string(s)); // an unquoted item read as text keeps its digits
    EXPECT_EQ(s, "12");
    ASSERT_TRUE(reader.read_string(s));
    EXPECT_EQ(s, "a b");
    EXPECT_EQ(hx.sv().pending_error(), 0);
}

TEST(LevelReader, BadNumbersRaiseErrorsAndLeaveTheCursor)
{
    struct Case {
        std::size_t at; // where the item starts in kOddText
        int error;
    };
    for (Case c : {Case{9, 6}, Case{15, 2}, Case{19, 2}, Case{3, 2}}) {
        Harness hx;
        game::LevelReader reader(kOddText, kOddStarts);
        std::string skip;
        while (reader.position() < c.at) {
            ASSERT_TRUE(reader.read_string(skip));
        }
        ASSERT_EQ(reader.position(), c.at);
        std::int16_t n = -1;
        EXPECT_FALSE(reader.read_number(n));
        EXPECT_EQ(n, -1);
        EXPECT_EQ(hx.sv().pending_error(), c.error) << "item at " << c.at;
        EXPECT_EQ(reader.position(), c.at);
    }
}

} // namespace
