// Planar block packing and the block-file wrapper.
#include "services/video/block_codec.h"

namespace svc {

std::vector<std::uint8_t> encode_block(int w, int h, const std::uint8_t* indices)
{
    const int b = (w + 7) / 8;
    std::vector<std::uint8_t> out(block_bytes(w, h), 0);
    out[0] = static_cast<std::uint8_t>(w);
    out[1] = static_cast<std::uint8_t>(w >> 8);
    out[2] = static_cast<std::uint8_t>(h);
    out[3] = static_cast<std::uint8_t>(h >> 8);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = out.data() + 4 + static_cast<std::size_t>(y) * 4 * b;
        for (int x = 0; x < w; ++x) {
            const std::uint8_t c = indices[static_cast<std::size_t>(y) * w + x];
            const std::uint8_t mask = static_cast<std::uint8_t>(0x80 >> (x & 7));
            for (int plane = 0; plane < 4; ++plane) {
                if (c & (1 << plane)) {
                    row[plane * b + x / 8] |= mask;
                }
            }
        }
    }
    return out;
}

std::vector<std::uint8_t> make_block_file(const std::vector<std::uint8_t>& block)
{
    std::vector<std::uint8_t> out = {0xFD, 0, 0, 0, 0};
    out.push_back(static_cast<std::uint8_t>(block.size()));
    out.push_back(static_cast<std::uint8_t>(block.size() >> 8));
    out.insert(out.end(), block.begin(), block.end());
    return out;
}

} // namespace svc
