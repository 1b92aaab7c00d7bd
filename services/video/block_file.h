// Byte-level checks and decoding of block files and image blocks, kept free of the screen
// and of file handles so the loader and the fuzzer share them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace svc {

// What a block file's bytes allow: the error to raise (0, or 54 "Bad file mode") and how
// many data bytes go to the destination (all L, or on a short file what is there).
struct BlockFileCheck {
    int error = 0;
    std::size_t copy = 0;
};

// Bytes of a block file's header: 0xFD, segment, offset, L.
inline constexpr std::size_t kBlockFileHeader = 7;

// Checks `size` bytes read from the start of a block file (at most the header and `room`
// more are needed) against a destination with `room` bytes: a short header, a first byte
// other than 0xFD and an L larger than the room refuse the file with nothing copied; a file
// shorter than L copies what it has and is refused.
BlockFileCheck check_block_file(const std::uint8_t* bytes, std::size_t size, std::size_t room);

// True when `room` bytes hold the block's header and all the rows it declares.
bool block_fits(const std::uint8_t* block, std::size_t room);

// One plane byte spread to eight bytes of 0 or 1, the leftmost pixel (the high bit) first.
extern const std::array<std::uint64_t, 256> kPlaneSpread;

// The colours of pixels 8·bx .. 8·bx + 7 of row `row`, one byte each, the leftmost in the low
// byte; the caller keeps the block inside its bytes (block_fits) and row, bx inside it.
// Inline: drawing a picture calls it for every eight pixels.
inline std::uint64_t block_eight_pixels(const std::uint8_t* block, int row, int bx)
{
    const int rowBytes = ((block[0] | (block[1] << 8)) + 7) / 8;
    const std::uint8_t* planes = block + 4 + static_cast<std::size_t>(row) * 4 * rowBytes;
    return kPlaneSpread[planes[bx]] | kPlaneSpread[planes[rowBytes + bx]] << 1 |
           kPlaneSpread[planes[2 * rowBytes + bx]] << 2 |
           kPlaneSpread[planes[3 * rowBytes + bx]] << 3;
}

} // namespace svc
