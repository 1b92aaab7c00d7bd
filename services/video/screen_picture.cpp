// The screen image as the display shows it.
#include "services/video/screen_picture.h"

#include <algorithm>

#include "data/fonts.h"

namespace svc {

bool render_screen(const ScreenImage& image, std::vector<std::uint32_t>& out, int& w, int& h,
                   int top, int bottom, int left, int right, const std::uint64_t* onlyWords)
{
    if (image.mode() < 0) {
        return false;
    }
    w = image.width();
    h = image.height();
    out.resize(static_cast<std::size_t>(w) * h);
    std::uint32_t pal[16];
    for (int i = 0; i < 16; ++i) {
        pal[i] = image.palette_entry(i);
    }
    top = std::max(top, 0);
    bottom = std::min(bottom, h - 1);
    if (!image.text_mode()) {
        const int w0 = std::max(left, 0) / 8;
        const int w1 = std::min(right, w - 1) / 8;
        for (int y = top; y <= bottom; ++y) {
            std::uint32_t* row = out.data() + static_cast<std::size_t>(y) * w;
            for (int wi = w0; wi <= w1; ++wi) {
                if (onlyWords != nullptr && (onlyWords[y * 2 + wi / 64] >> (wi % 64) & 1) == 0) {
                    continue;
                }
                const std::uint64_t v = image.row_word(y, wi);
                for (int k = 0; k < 8; ++k) {
                    row[wi * 8 + k] = pal[(v >> (8 * k)) & 15];
                }
            }
        }
        return true;
    }
    for (int row = top / 16; row <= bottom / 16; ++row) {
        for (int col = 0; col < ScreenImage::kTextCols; ++col) {
            const std::uint16_t cell = image.cell(row, col);
            const auto& glyph = data::kFont8x16[cell & 0xFF];
            const std::uint32_t fg = pal[(cell >> 8) & 15];
            const std::uint32_t bg = pal[(cell >> 12) & 7];
            for (int gy = 0; gy < 16; ++gy) {
                std::uint32_t* p =
                    out.data() + static_cast<std::size_t>(row * 16 + gy) * w + col * 8;
                const std::uint8_t bits = glyph[gy];
                for (int gx = 0; gx < 8; ++gx) {
                    p[gx] = (bits & (0x80 >> gx)) ? fg : bg;
                }
            }
        }
    }
    return true;
}

} // namespace svc
