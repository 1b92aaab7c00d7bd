// Fuzz target: a block file of any bytes is loaded into an array of any room and drawn back;
// nothing is written or read outside the array, and what is drawn is the block's own pixels.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "services/video/block_codec.h"
#include "services/video/block_file.h"

namespace {

// Pixel (x, y) of an encoded block read one plane bit at a time: what the eight-pixel decode
// must agree with.
std::uint8_t block_pixel(const std::uint8_t* block, int x, int y)
{
    const int b = (svc::block_width(block) + 7) / 8;
    const std::uint8_t* row = block + 4 + static_cast<std::size_t>(y) * 4 * b;
    const std::uint8_t mask = static_cast<std::uint8_t>(0x80 >> (x & 7));
    std::uint8_t c = 0;
    for (int plane = 0; plane < 4; ++plane) {
        c |= static_cast<std::uint8_t>((row[plane * b + x / 8] & mask) != 0 ? 1 << plane : 0);
    }
    return c;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) {
        return 0;
    }
    // The first two bytes choose the array's room in 16-bit words (the game's buffers hold
    // 350 to 5000), the rest is the file.
    const std::size_t room = 2 * static_cast<std::size_t>(data[0] | (data[1] << 8));
    const std::uint8_t* file = data + 2;
    const std::size_t fileSize = size - 2;

    const svc::BlockFileCheck check = svc::check_block_file(file, fileSize, room);
    if (check.copy > room || (check.error != 0 && check.error != 54)) {
        __builtin_trap();
    }
    if (check.error == 0 && fileSize < svc::kBlockFileHeader) {
        __builtin_trap();
    }
    // An exact-size heap array, so the address checker sees any step past it.
    std::vector<std::uint8_t> array(room);
    for (std::size_t i = 0; i < check.copy; ++i) {
        array[i] = file[svc::kBlockFileHeader + i];
    }
    if (check.error != 0 || !svc::block_fits(array.data(), room)) {
        return 0;
    }
    const int w = svc::block_width(array.data());
    const int h = svc::block_height(array.data());
    // Bound the work per input; the game's pictures are far smaller.
    if (static_cast<long>(w) * h > 1 << 20) {
        return 0;
    }
    for (int y = 0; y < h; ++y) {
        for (int bx = 0; bx * 8 < w; ++bx) {
            const std::uint64_t eight = svc::block_eight_pixels(array.data(), y, bx);
            for (int k = 0; k < 8 && bx * 8 + k < w; ++k) {
                const auto c = static_cast<std::uint8_t>(eight >> (k * 8) & 0xFF);
                if (c > 15 || c != block_pixel(array.data(), bx * 8 + k, y)) {
                    __builtin_trap();
                }
            }
        }
    }
    return 0;
}
