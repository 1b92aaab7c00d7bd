// Text output beyond what the golden runs print: wrapping, scrolling, control bytes and
// placement at the edges of the screen.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/harness.h"

namespace {

using testing_support::Harness;

// The pixels of `cells` text cells from a row and column (1-based), row by row.
std::vector<int> cell_pixels(const svc::ScreenImage& s, int row, int col, int cells = 1)
{
    const int fh = s.info().fontHeight;
    std::vector<int> out;
    for (int y = (row - 1) * fh; y < row * fh; ++y) {
        for (int x = (col - 1) * 8; x < (col - 1 + cells) * 8; ++x) {
            out.push_back(s.pixel(x, y));
        }
    }
    return out;
}

using Cursor = std::pair<int, int>; // row, column
Cursor cursor(Harness& h)
{
    return {h.screen().cursorRow, h.screen().cursorCol};
}

const std::string kFull(80, 'x');

// Each test starts on the 640 x 200 screen of play, 80 columns by 25 rows.
class Text : public testing::Test {
  protected:
    void SetUp() override { h.sv().set_screen_mode(8); }
    Harness h;
};

TEST_F(Text, EightyCharactersWithAndWithoutLineEnd)
{
    h.sv().locate(3, 1);
    h.sv().print_text(kFull, true);
    EXPECT_EQ(cursor(h), (Cursor{4, 1})); // one row down, not two

    h.sv().print_text(kFull, false);
    EXPECT_EQ(cursor(h), (Cursor{4, 80}));
    EXPECT_TRUE(h.screen().pendingWrap);
    h.sv().print_text("\xDB", false);
    EXPECT_EQ(cursor(h), (Cursor{5, 2}));
    EXPECT_EQ(cell_pixels(h.screen(), 5, 1), std::vector<int>(64, 15));
    EXPECT_EQ(cell_pixels(h.screen(), 4, 80), cell_pixels(h.screen(), 4, 79)); // an x, kept

    // An empty print with line end after a pending wrap ends the line once.
    h.sv().print_text(std::string(79, 'x'), false);
    EXPECT_TRUE(h.screen().pendingWrap);
    h.sv().print_text("", true);
    EXPECT_EQ(cursor(h), (Cursor{6, 1}));
    EXPECT_FALSE(h.screen().pendingWrap);

    // An empty print without line end leaves the wrap pending; placement clears it.
    h.sv().print_text(kFull, false);
    h.sv().print_text("", false);
    EXPECT_TRUE(h.screen().pendingWrap);
    h.sv().locate(10, 80);
    EXPECT_FALSE(h.screen().pendingWrap);
    h.sv().print_text("ab", false);
    EXPECT_EQ(cursor(h), (Cursor{11, 2})); // b went on the next row
}

TEST_F(Text, LineEndOnRow24ScrollsThePrintAreaAndKeepsRow25)
{
    const auto row_pixels = [&](int row) { return cell_pixels(h.screen(), row, 1, 80); };
    for (int row = 1; row <= 25; ++row) {
        h.sv().set_foreground(row % 15 + 1);
        h.sv().locate(row, row);
        h.sv().print_text("\xDB", false);
    }
    const std::vector<int> row25 = row_pixels(25);
    std::vector<std::vector<int>> before;
    for (int row = 1; row <= 24; ++row) {
        before.push_back(row_pixels(row));
    }

    h.sv().locate(24, 30);
    h.sv().print_text("", true);
    EXPECT_EQ(cursor(h), (Cursor{24, 1}));
    for (int row = 1; row <= 23; ++row) {
        EXPECT_EQ(row_pixels(row), before[static_cast<std::size_t>(row)]) << row;
    }
    EXPECT_EQ(row_pixels(24), std::vector<int>(640 * 8, 0));
    EXPECT_EQ(row_pixels(25), row25);

    // A line end on row 25 scrolls the print area too and lands on row 24.
    const std::vector<int> row2 = row_pixels(2);
    h.sv().locate(25, 40);
    h.sv().print_text("", true);
    EXPECT_EQ(cursor(h), (Cursor{24, 1}));
    EXPECT_EQ(row_pixels(1), row2);
    EXPECT_EQ(row_pixels(25), row25);

    // Wrapping past column 80 of row 25 scrolls the same way.
    h.sv().locate(25, 80);
    h.sv().print_text("zq", false);
    EXPECT_EQ(cursor(h), (Cursor{24, 2}));
    EXPECT_NE(row_pixels(25), row25); // the z went into column 80

    // The text screen scrolls its cells the same way, from column 1.
    h.sv().set_screen_mode(0);
    h.sv().locate(2, 1);
    h.sv().print_text("A", false);
    h.sv().locate(24, 1);
    h.sv().print_text("", true);
    EXPECT_EQ(h.screen().cell(0, 0) & 0xFF, 'A');
}

TEST_F(Text, CursorMovesStayInsideThePrintArea)
{
    h.sv().locate(1, 1);
    h.sv().print_text("\x1D\x1E\x1C\x1D", false); // left, up at the corner; right and back
    EXPECT_EQ(cursor(h), (Cursor{1, 1}));
    h.sv().print_text("\x1C\x1C\x1F", false); // right, right, down
    EXPECT_EQ(cursor(h), (Cursor{2, 3}));
    h.sv().locate(24, 80);
    h.sv().print_text("\x1C\x1F", false);
    EXPECT_EQ(cursor(h), (Cursor{24, 80}));
    EXPECT_FALSE(h.screen().pendingWrap);
    EXPECT_EQ(cell_pixels(h.screen(), 24, 80), std::vector<int>(64, 0)); // nothing drawn
    h.sv().print_text("\x0B", false);
    EXPECT_EQ(cursor(h), (Cursor{1, 1}));

    h.sv().locate(5, 73);
    h.sv().print_text("\t\rb\nc", false); // the tab's last space, in column 80, ends a line
    EXPECT_EQ(cursor(h), (Cursor{8, 2}));
    h.sv().print_text("d\n", true); // the last byte's own line end is the only one
    EXPECT_EQ(cursor(h), (Cursor{9, 1}));
}

TEST_F(Text, LocateRefusesRowsAndColumnsOutsideTheScreen)
{
    h.sv().locate(25, 80);
    EXPECT_EQ(h.answerError(), 0);
    for (auto [row, col] : {std::pair{0, 1}, {26, 1}, {1, 0}, {1, 81}, {-3, -3}}) {
        h.sv().locate(row, col);
        EXPECT_EQ(h.answerError(), svc::kIllegalFunctionCall) << row << "," << col;
        EXPECT_EQ(cursor(h), (Cursor{25, 80}));
    }
    h.sv().set_screen_mode(12);
    h.sv().locate(30, 1);
    EXPECT_EQ(h.answerError(), 0);
    h.sv().locate(31, 1);
    EXPECT_EQ(h.answerError(), svc::kIllegalFunctionCall);

    // With the print area narrowed to the last row, only that row is open.
    h.screen().printTop = h.screen().printBottom = 30;
    h.sv().locate(29, 1);
    EXPECT_EQ(h.answerError(), svc::kIllegalFunctionCall);
}

// The status panel's lines and the title's frame are pinned by the golden runs; here the
// edges they never meet.
TEST_F(Text, PrintedLinesFitBeforePrintAndTabTo)
{
    h.sv().locate(3, 70);
    h.sv().print_line({"abc", "0123456789"}, true); // the second item would pass column 80
    EXPECT_EQ(cursor(h), (Cursor{4, 11}));
    const struct {
        int col;
        std::size_t length;
        Cursor after; // column 80 is the last
    } fits[] = {{75, 10, {6, 1}}, {75, 6, {5, 75}}, {1, 100, {5, 1}}, {2, 80, {6, 1}}};
    for (const auto& f : fits) {
        h.sv().locate(5, f.col);
        h.sv().fit_before_print(std::string(f.length, 'x'));
        EXPECT_EQ(cursor(h), f.after) << f.col << " + " << f.length;
    }
    const struct {
        int column;
        Cursor after;
    } tabs[] = {{79, {7, 79}}, {5, {8, 5}}, {5, {8, 5}}, {85, {8, 5}}, {-4, {9, 1}}};
    h.sv().locate(7, 10);
    for (const auto& t : tabs) {
        h.sv().tab_to(t.column); // a column behind goes to the next row; 85 is column 5
        EXPECT_EQ(cursor(h), t.after) << t.column;
    }
}

TEST_F(Text, AGlyphDrawnAgainMendsAnyPixelChangedSince)
{
    auto printA = [&] { h.sv().locate(3, 5), h.sv().print_text("A", false); };
    printA();
    const std::vector<int> a = cell_pixels(h.screen(), 3, 5);
    for (const auto& spoil : std::initializer_list<std::function<void()>>{
             [&] { h.screen().set_pixel(33, 17, 9); }, [&] { h.sv().set_screen_mode(8); }}) {
        spoil();
        printA();
        EXPECT_EQ(cell_pixels(h.screen(), 3, 5), a);
    }
}

} // namespace

TEST_F(Text, RepeatedDrawingIsSkippedOnlyWhileItWouldChangeNothing)
{
    svc::Services& sv = h.sv();
    svc::RepeatMark mark;
    int runs = 0;
    auto draw = [&](int colour, bool failing = false) {
        if (sv.repeat_unchanged(mark, colour)) {
            return;
        }
        ++runs;
        sv.set_foreground(colour);
        sv.locate(3, 5);
        sv.print_text("ab", false);
        if (failing) {
            sv.raise(svc::kIllegalFunctionCall);
            sv.take_error();
        }
        sv.repeat_drawn(mark);
    };
    draw(2);
    sv.locate(10, 1);
    sv.set_foreground(7);
    draw(2); // skipped, and the pen is where the drawing left it
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(h.screen().cursorRow * 100 + h.screen().cursorCol, 307);
    EXPECT_EQ(h.screen().foreground, 2);
    draw(4); // other inputs
    h.screen().set_pixel(0, 0, 9);
    draw(4); // the picture changed since
    h.screen().set_pixel(0, 0, 3);
    draw(4, true);
    draw(4); // the last run raised an error
    draw(4);
    EXPECT_EQ(runs, 5);
}
