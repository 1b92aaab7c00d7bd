// Block file bytes against the room of the destination array, and the eight-pixel decode
// against the pixel-by-pixel reading of the same block.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "services/block_codec.h"
#include "services/block_file.h"
#include "services/errors.h"

namespace {

std::vector<std::uint8_t> file_with(std::size_t length, std::size_t dataBytes)
{
    std::vector<std::uint8_t> f(7 + dataBytes, 0xA5);
    f[0] = 0xFD;
    std::fill(f.begin() + 1, f.begin() + 5, 0);
    f[5] = static_cast<std::uint8_t>(length);
    f[6] = static_cast<std::uint8_t>(length >> 8);
    return f;
}

TEST(BlockFile, LengthIsCheckedAgainstTheRoomAndTheBytesThere)
{
    struct Case {
        std::size_t length, data, room;
        int error;
        std::size_t copy;
    };
    const Case cases[] = {
        {10, 10, 10, 0, 10},                // fills the array exactly
        {11, 11, 10, svc::kBadFileMode, 0}, // one byte more than the array: nothing written
        {0, 0, 0, 0, 0},                    // an empty block file into no room
        {10, 4, 10, svc::kBadFileMode, 4},  // short data: what is there, then refused
        {10, 20, 10, 0, 10},                // bytes after L are not the block's
        {0xFFFF, 3, 700, svc::kBadFileMode, 0},
    };
    for (const Case& c : cases) {
        const auto f = file_with(c.length, c.data);
        const svc::BlockFileCheck r = svc::check_block_file(f.data(), f.size(), c.room);
        EXPECT_EQ(r.error, c.error) << c.length << " " << c.data << " " << c.room;
        EXPECT_EQ(r.copy, c.copy) << c.length << " " << c.data << " " << c.room;
    }
    // A header cut short or with another first byte is refused whatever follows.
    auto f = file_with(2, 2);
    EXPECT_EQ(svc::check_block_file(f.data(), 6, 100).error, svc::kBadFileMode);
    f[0] = 0xFE;
    EXPECT_EQ(svc::check_block_file(f.data(), f.size(), 100).error, svc::kBadFileMode);
}

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
