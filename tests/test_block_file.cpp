// The eight-pixel decode of block files against the pixel-by-pixel reading of the same block.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "services/common/errors.h"
#include "services/video/block_codec.h"
#include "services/video/block_file.h"

namespace {

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
