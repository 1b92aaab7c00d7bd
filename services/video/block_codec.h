// The planar 16-colour image block layout, as plain encode/decode on byte arrays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace svc {

// Bytes a W x H block needs: 4 + 4 * ceil(W / 8) * H.
constexpr std::size_t block_bytes(int w, int h)
{
    return 4 + 4 * static_cast<std::size_t>((w + 7) / 8) * static_cast<std::size_t>(h);
}

// Packs w x h colour indices (row-major, values 0..15) into the block layout:
// width and height (16-bit little-endian), then per row planes 0..3 of ceil(w/8) bytes.
std::vector<std::uint8_t> encode_block(int w, int h, const std::uint8_t* indices);

// Width and height of an encoded block.
inline int block_width(const std::uint8_t* block)
{
    return block[0] | (block[1] << 8);
}
inline int block_height(const std::uint8_t* block)
{
    return block[2] | (block[3] << 8);
}

// A block file: 0xFD, segment, offset, L (16-bit little-endian each), then the L bytes.
std::vector<std::uint8_t> make_block_file(const std::vector<std::uint8_t>& block);

} // namespace svc
