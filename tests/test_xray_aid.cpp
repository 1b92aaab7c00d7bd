// The X-ray aid and the facing wall as the golden runs seldom meet them: the hint (the exit
// anywhere behind the wall straight ahead, and the yellow line that marks it), a wall five
// cells ahead, the gauge's eight blocks rounded half to even, and the end past 400 units with
// its sound by the sound choice.
#include <gtest/gtest.h>

#include <memory>

#include "core/maze.h"
#include "core/state.h"
#include "core/xray.h"
#include "tests/support/harness.h"
#include "view/view.h"
#include "view/xray_hint.h"

namespace {

TEST(XrayHint, FindsTheExitBehindTheWallAheadOnlyInTheLineOfSight)
{
    // An exit in each border of the maze, one in line each way from (3, 4), none from (2, 2).
    const char* rows[] = {"###X#", "#...#", "X.#.X", "#...#", "###X#"};
    const struct {
        int row, col, stepRow, stepCol;
        bool exit;
    } looks[] = {{3, 4, 0, -1, true},  {3, 4, -1, 0, true}, {3, 4, 0, 1, true}, {3, 4, 1, 0, true},
                 {2, 2, -1, 0, false}, {2, 2, 0, 1, false}, {2, 2, 1, 0, false}};
    for (const auto& look : looks) {
        testing_support::Harness h;
        game::GameState st;
        st.level.mazeSize = 5;
        for (int r = 1; r <= 5; ++r) {
            for (int c = 1; c <= 5; ++c) {
                const char cell = rows[r - 1][c - 1];
                st.level.maze.set(h.sv(), r, c,
                                  cell == '#'   ? game::kWallCell
                                  : cell == 'X' ? game::kExitCell
                                                : game::kOpenCell);
            }
        }
        st.scan.scanRow = static_cast<game::i16>(look.row);
        st.scan.scanCol = static_cast<game::i16>(look.col);
        st.player.stepRow = static_cast<game::i16>(look.stepRow);
        st.player.stepCol = static_cast<game::i16>(look.stepCol);
        EXPECT_EQ(view::RunXrayHint(h.sv(), st), look.exit)
            << look.row << look.col << " " << look.stepRow << look.stepCol;
    }
}

TEST(XrayHint, LineSpansTheDepthEitherSideOfTheCentre)
{
    testing_support::Harness h;
    h.sv().set_screen_mode(svc::kMode640x200);
    view::DrawXrayHintLine(h.sv(), 40);
    for (int x = 255; x <= 345; ++x) {
        EXPECT_EQ(h.screen().pixel(x, 100), x >= 260 && x <= 340 ? svc::kYellow : 0) << x;
    }
}

TEST(FacingWall, FiveCellsAheadTheEyeShowsAndAClockTooFarKeepsTheScanDepth)
{
    testing_support::Harness h;
    h.sv().set_screen_mode(svc::kMode640x200);
    game::GameState st;
    testing_support::solid_block(st.pictures.ocip, 10, 10, svc::kWhite);
    st.scan.depth = 40;
    st.player.itemRoll = 1;
    EXPECT_TRUE(view::DrawFacingWall(h.sv(), st));
    EXPECT_EQ(h.screen().pixel(295, 93), svc::kWhite);
    EXPECT_NE(h.screen().pixel(294, 92), svc::kWhite);
    // The X-ray scan goes on beyond the wall from this depth.
    st.player.itemRoll = 10;
    st.player.xrayOn = 1;
    EXPECT_TRUE(view::DrawFacingWall(h.sv(), st));
    EXPECT_EQ(st.scan.depth, 40);
}

// No gauge value is too large to store: nothing may be raised.
struct NoErrors final : svc::ErrorSink {
    void raise(int code) override { ADD_FAILURE() << "error " << code; }
};

TEST(Xray, TheGaugeAlwaysShowsEightBlocksRoundedHalfToEven)
{
    NoErrors errors;
    struct Row {
        int used, full, shaded;
    };
    // 25 used: 7.5 and 0.5 round to 8 and 0; 75: 6.5 and 1.5 to 6 and 2; past 400 no full
    // block is left, and never fewer than none.
    for (const Row r : {Row{0, 8, 0}, Row{25, 8, 0}, Row{75, 6, 2}, Row{125, 6, 2}, Row{200, 4, 4},
                        Row{399, 0, 8}, Row{401, 0, 8}}) {
        game::PlayerState p;
        p.xrayUsed = static_cast<game::i16>(r.used);
        const game::XrayGauge g = game::xray_gauge(errors, p);
        EXPECT_EQ(g.full, r.full) << r.used << " used";
        EXPECT_EQ(g.used, r.shaded) << r.used << " used";
    }
}

TEST(Xray, TheAidEndsPast400UnitsWithTheSoundOfTheChoice)
{
    struct Row {
        const char* name;
        int used, soundMode, silentMode;
        bool ends, tones, music;
    };
    const Row rows[] = {
        {"400 units: still on", 400, 0, 0, false, false, false},
        {"PC speaker: falling tones", 401, 0, 0, true, true, false},
        {"sound card: its music", 401, 1, 0, true, false, true},
        {"silent: no sound", 401, 0, 1, true, false, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        testing_support::Harness h;
        auto st = std::make_unique<game::GameState>();
        st->player.xrayOn = 1;
        st->player.xrayUsed = static_cast<game::i16>(r.used);
        st->player.xrayTicks = 64;
        st->sound.soundMode = static_cast<game::i16>(r.soundMode);
        st->sound.silentMode = static_cast<game::i16>(r.silentMode);
        st->scan.facingDepth = -20;
        EXPECT_EQ(game::EndSpentXrayAid(h.sv(), *st), r.ends);
        EXPECT_EQ(st->player.xrayOn, r.ends ? 0 : 1);
        EXPECT_EQ(st->player.xrayUsed, r.ends ? 0 : r.used);
        EXPECT_EQ(st->player.xrayTicks, r.ends ? 0 : 64);
        // The seagulls are hidden on the call that ends the aid.
        EXPECT_EQ(st->scan.facingDepth, r.ends ? game::kNearestDepth : -20);
        EXPECT_EQ(!h.platform.audio.tones.empty(), r.tones);
        const auto& files = h.platform.audio.files;
        EXPECT_EQ(files.size() == 1 && files[0].path.ends_with("Firagx1.ogg"), r.music);
    }
}

} // namespace
