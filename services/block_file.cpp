// Byte-level checks and decoding of block files and image blocks.
#include "services/block_file.h"

#include "services/block_codec.h"
#include "services/errors.h"

namespace svc {

namespace {

// One plane byte spread to eight bytes of 0 or 1, the leftmost pixel (the high bit) first.
struct PlaneSpread {
    std::uint64_t bytes[256] = {};
    PlaneSpread()
    {
        for (int b = 0; b < 256; ++b) {
            for (int k = 0; k < 8; ++k) {
                bytes[b] |= static_cast<std::uint64_t>((b >> (7 - k)) & 1) << (k * 8);
            }
        }
    }
};
const PlaneSpread kPlaneSpread;

} // namespace

BlockFileCheck check_block_file(const std::uint8_t* bytes, std::size_t size, std::size_t room)
{
    if (size < kBlockFileHeader || bytes[0] != 0xFD) {
        return {kBadFileMode, 0};
    }
    const std::size_t length = bytes[5] | (bytes[6] << 8);
    // The file's own length is not to be trusted: data that would run past the end of the
    // array are refused as a bad file instead of being written beyond it.
    if (length > room) {
        return {kBadFileMode, 0};
    }
    const std::size_t there = size - kBlockFileHeader;
    if (there < length) {
        return {kBadFileMode, there};
    }
    return {0, length};
}

bool block_fits(const std::uint8_t* block, std::size_t room)
{
    return room >= 4 && room >= block_bytes(block_width(block), block_height(block));
}

std::uint64_t block_eight_pixels(const std::uint8_t* block, int row, int bx)
{
    const int rowBytes = (block_width(block) + 7) / 8;
    const std::uint8_t* planes = block + 4 + static_cast<std::size_t>(row) * 4 * rowBytes;
    return kPlaneSpread.bytes[planes[bx]] | kPlaneSpread.bytes[planes[rowBytes + bx]] << 1 |
           kPlaneSpread.bytes[planes[2 * rowBytes + bx]] << 2 |
           kPlaneSpread.bytes[planes[3 * rowBytes + bx]] << 3;
}

} // namespace svc
