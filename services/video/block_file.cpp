// Byte-level checks and decoding of block files and image blocks.
#include "services/video/block_file.h"

#include "services/common/errors.h"
#include "services/video/block_codec.h"

namespace svc {

namespace {

constexpr std::array<std::uint64_t, 256> plane_spread()
{
    std::array<std::uint64_t, 256> bytes{};
    for (int b = 0; b < 256; ++b) {
        for (int k = 0; k < 8; ++k) {
            bytes[b] |= static_cast<std::uint64_t>((b >> (7 - k)) & 1) << (k * 8);
        }
    }
    return bytes;
}

} // namespace

// Built at compile time, so it is ready before any picture is drawn.
const std::array<std::uint64_t, 256> kPlaneSpread = plane_spread();

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

} // namespace svc
