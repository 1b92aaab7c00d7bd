// Checks of image blocks: the planar layout and its eight-pixel decode, drawing actions, screen
// bounds and block files.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "services/video/block_codec.h"
#include "services/video/block_file.h"
#include "tests/support/harness.h"

namespace {

using testing_support::Harness;
using testing_support::TempDir;
using testing_support::write_file;

std::vector<std::uint8_t> bytes_of(const std::vector<std::int16_t>& words, std::size_t from,
                                   std::size_t count)
{
    std::vector<std::uint8_t> out(count);
    std::memcpy(out.data(), reinterpret_cast<const std::uint8_t*>(words.data() + from), count);
    return out;
}

// A screen in mode 8 with a test pattern: colour (x * 3 + y * 5) mod 16 in a 40 x 20 area.
std::uint8_t pattern(int x, int y)
{
    return static_cast<std::uint8_t>((x * 3 + y * 5) % 16);
}

void paint_pattern(svc::ScreenImage& img, int left, int top, int w, int h)
{
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            img.set_pixel(left + x, top + y, pattern(x, y));
        }
    }
}

// Each test starts on the 640 x 200 screen of play.
class Blocks : public testing::Test {
  protected:
    void SetUp() override { h.sv().set_screen_mode(8); }
    TempDir dir;
    Harness h;
};

TEST_F(Blocks, PlanesOfAFourPixelRowAndTenPixelRows)
{
    // Colours 1, 2, 4 and 8 in a row: one plane each, plane 0 first, leftmost pixel high.
    for (int x = 0; x < 4; ++x) {
        h.screen().set_pixel(20 + x, 3, static_cast<std::uint8_t>(1 << x));
    }
    std::vector<std::int16_t> planes(4, 0);
    h.sv().get_block(20, 3, 23, 3, planes);
    EXPECT_EQ(bytes_of(planes, 0, 8),
              (std::vector<std::uint8_t>{0x04, 0x00, 0x01, 0x00, 0x80, 0x40, 0x20, 0x10}));

    // Ten pixels wide: two bytes per plane and row, the last byte padded with zeros.
    paint_pattern(h.screen(), 100, 50, 10, 3);
    std::vector<std::uint8_t> indices;
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 10; ++x) {
            indices.push_back(pattern(x, y));
        }
    }
    const std::vector<std::uint8_t> want = svc::encode_block(10, 3, indices.data());
    ASSERT_EQ(want.size(), 4u + 4u * 2u * 3u);
    std::vector<std::int16_t> b(want.size() / 2 + 1, -1);
    h.sv().get_block(109, 52, 100, 50, b, 1); // corners in either order, at element 1
    EXPECT_EQ(bytes_of(b, 1, want.size()), want);
    EXPECT_EQ(b[0], -1);
}

TEST_F(Blocks, CornersRoundTiesToEvenAndTallBlocksKeepTheirHeight)
{
    std::vector<std::int16_t> a(64, 0);
    h.sv().get_block(2.5f, 3.5f, 5.5f, 4.5f, a); // x 2..6, y 4..4
    EXPECT_EQ(svc::block_width(bytes_of(a, 0, 4).data()), 5);
    EXPECT_EQ(svc::block_height(bytes_of(a, 0, 4).data()), 1);
    // A block taller than 255 rows keeps its height's high byte.
    h.sv().set_screen_mode(12);
    std::vector<std::int16_t> tall(2 + 2 * 300, 0);
    h.sv().get_block(0, 0, 0, 299, tall);
    const std::vector<std::uint8_t> black(300, 0);
    EXPECT_EQ(bytes_of(tall, 0, 4), (std::vector<std::uint8_t>{1, 0, 0x2C, 1}));
    EXPECT_EQ(svc::encode_block(1, 300, black.data())[3], 1);
}

TEST_F(Blocks, RoundTripsWithEveryAction)
{
    svc::ScreenImage& img = h.screen();
    paint_pattern(img, 0, 0, 40, 20);
    std::vector<std::int16_t> block(1000, 0);
    h.sv().get_block(0, 0, 39, 19, block);

    auto background = [](int x, int y) { return static_cast<std::uint8_t>((x ^ y) & 15); };
    struct Action {
        int action;
        std::uint8_t (*result)(std::uint8_t d, std::uint8_t c);
    };
    const Action actions[] = {
        {1, [](std::uint8_t, std::uint8_t c) { return c; }},
        {2, [](std::uint8_t, std::uint8_t c) { return static_cast<std::uint8_t>(15 - c); }},
        {3, [](std::uint8_t d, std::uint8_t c) { return static_cast<std::uint8_t>(d & c); }},
        {4, [](std::uint8_t d, std::uint8_t c) { return static_cast<std::uint8_t>(d | c); }},
        {5, [](std::uint8_t d, std::uint8_t c) { return static_cast<std::uint8_t>(d ^ c); }},
        {0, [](std::uint8_t d, std::uint8_t c) { return static_cast<std::uint8_t>(d ^ c); }},
    };
    for (const Action& a : actions) {
        for (int y = 0; y < 30; ++y) {
            for (int x = 300; x < 360; ++x) {
                img.set_pixel(x, y, background(x, y));
            }
        }
        h.sv().put_block(310.5f, 5, block, a.action); // x 310 (ties to even)
        for (int y = 0; y < 30; ++y) {
            for (int x = 300; x < 360; ++x) {
                const bool inside = x >= 310 && x < 350 && y >= 5 && y < 25;
                const std::uint8_t d = background(x, y);
                const std::uint8_t want = inside ? a.result(d, pattern(x - 310, y - 5)) : d;
                ASSERT_EQ(img.pixel(x, y), want)
                    << "action " << a.action << " at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(h.sv().pending_error(), 0);
}

TEST_F(Blocks, BlocksMustFitTheScreenAndTheArray)
{
    svc::ScreenImage& img = h.screen();
    img.fill_rect(0, 0, 9, 1, 12);
    std::vector<std::int16_t> block(64, 0);
    h.sv().get_block(0, 0, 9, 1, block); // 10 x 2

    h.sv().put_block(630, 198, block, 1); // right edge x 639, last row 199: fits
    EXPECT_EQ(h.sv().pending_error(), 0);
    EXPECT_EQ(img.pixel(639, 199), 12);
    h.sv().put_block(0, 0, block, 1); // column 0 and row 0 fit too
    EXPECT_EQ(h.sv().pending_error(), 0);

    const struct {
        float x, y;
    } outside[] = {{631, 100}, {100, 199}, {-1, 100}, {100, -1}};
    for (auto p : outside) {
        h.sv().put_block(p.x, p.y, block, 1);
        EXPECT_EQ(h.answerError(), svc::kIllegalFunctionCall) << p.x << "," << p.y;
    }
    // Beside the first block only the one at the corner, 20 pixels, was drawn.
    EXPECT_EQ(testing_support::count_colour(img, 0, 10, 0, 639, 199), 630 * 200 - 20);

    // Capturing: every corner on the screen, and room in the array from the element on.
    const std::vector<std::int16_t> untouched(10, 0x1234);
    std::vector<std::int16_t> small = untouched;
    h.sv().get_block(0, 0, 9, 1, small, 1); // needs 20 bytes, 18 left from element 1
    EXPECT_EQ(h.answerError(), svc::kIllegalFunctionCall);
    EXPECT_EQ(small, untouched);
    h.sv().get_block(0, 0, 9, 1, small, 0); // exactly 20 bytes: fits
    EXPECT_EQ(h.sv().pending_error(), 0);
    h.sv().get_block(630, 0, 640, 5, block);
    EXPECT_EQ(h.answerError(), svc::kIllegalFunctionCall);

    // A header that promises more rows than the array holds is not read past its end.
    std::vector<std::int16_t> lying = {10, 100, 0, 0, 0, 0};
    h.sv().put_block(0, 0, lying, 1);
    EXPECT_EQ(h.answerError(), svc::kIllegalFunctionCall);
    h.sv().put_block(0, 0, block, 6); // no such action
    EXPECT_EQ(h.sv().pending_error(), svc::kIllegalFunctionCall);
}

// ---- block files ----

std::string file_bytes(const std::vector<std::uint8_t>& v)
{
    return std::string(v.begin(), v.end());
}

TEST_F(Blocks, LoadsAtTheElementAndDrawsBack)
{
    std::vector<std::uint8_t> indices(12 * 5);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        indices[i] = static_cast<std::uint8_t>((i * 7) % 16);
    }
    const std::vector<std::uint8_t> block = svc::encode_block(12, 5, indices.data());
    write_file("pic.grh", file_bytes(svc::make_block_file(block)));

    std::vector<std::int16_t> buffer(3 + block.size() / 2, -1);
    h.sv().load_block_file("pic.grh", buffer, 3);
    ASSERT_EQ(h.sv().pending_error(), 0);
    EXPECT_EQ(buffer[2], -1);
    EXPECT_EQ(bytes_of(buffer, 3, block.size()), block);

    h.sv().put_block(20, 30, buffer, 3, 1);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 12; ++x) {
            ASSERT_EQ(h.screen().pixel(20 + x, 30 + y), indices[y * 12 + x]);
        }
    }
}

TEST_F(Blocks, BadFilesAreRefused)
{
    const std::vector<std::uint8_t> block(40, 0xAB);
    const std::string good = file_bytes(svc::make_block_file(block));

    write_file("short.grh", good.substr(0, good.size() - 1));
    write_file("good.grh", good);

    struct Case {
        const char* name;
        std::size_t at;
        int error;
    };
    const Case cases[] = {
        // A wrong mark and a short header: BadFiles plays them through the game.
        {"missing.grh", 0, svc::kFileNotFound},
        {"short.grh", 0, svc::kBadFileMode},
        {"good.grh", 40000, svc::kOverflow}, // byte offset 80000
    };
    for (const Case& c : cases) {
        std::vector<std::int16_t> buffer(20, 0x0F0F);
        h.sv().load_block_file(c.name, buffer, c.at);
        EXPECT_EQ(h.answerError(), c.error) << c.name;
    }

    // L larger than the room left from the element: refused, nothing written anywhere.
    std::vector<std::int16_t> memory(30, 0x0F0F);
    const svc::Words buffer(memory.data(), 20);
    h.sv().load_block_file("good.grh", buffer, 1); // 38 bytes of room for 40
    EXPECT_EQ(h.answerError(), svc::kBadFileMode);
    EXPECT_EQ(memory, std::vector<std::int16_t>(30, 0x0F0F));
    h.sv().load_block_file("good.grh", buffer, 0); // exactly 40 bytes
    EXPECT_EQ(h.sv().pending_error(), 0);
    EXPECT_EQ(memory[19], static_cast<std::int16_t>(0xABAB));
    EXPECT_EQ(memory[20], 0x0F0F);
}

// The eight-pixel decode of a block against the pixels it was made from.
TEST(BlockFile, EightPixelDecodeMatchesThePixelsAndFitsTheRoom)
{
    // 19 x 3: three plane bytes per row, the last one partly used.
    std::vector<std::uint8_t> colours(19 * 3);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        colours[i] = static_cast<std::uint8_t>((i * 7 + 3) % 16);
    }
    const auto block = svc::encode_block(19, 3, colours.data());
    ASSERT_TRUE(svc::block_fits(block.data(), block.size()));
    EXPECT_FALSE(svc::block_fits(block.data(), block.size() - 1));
    EXPECT_FALSE(svc::block_fits(block.data(), 3));
    for (int y = 0; y < 3; ++y) {
        for (int bx = 0; bx < 3; ++bx) {
            const std::uint64_t eight = svc::block_eight_pixels(block.data(), y, bx);
            for (int k = 0; k < 8 && bx * 8 + k < 19; ++k) {
                EXPECT_EQ(eight >> (k * 8) & 0xFF, colours[y * 19 + bx * 8 + k]) << y << "," << bx;
            }
        }
    }
}

} // namespace
