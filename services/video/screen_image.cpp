// Screen modes, the default palette and the bulk pixel operations of the screen image.
#include "services/video/screen_image.h"

namespace svc {

const std::array<std::uint32_t, 16> kDefaultPalette = {
    0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA, 0xAA5500, 0xAAAAAA,
    0x555555, 0x5555FF, 0x55FF55, 0x55FFFF, 0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF,
};

namespace {
constexpr int kWords = ScreenImage::kMaxWidth * ScreenImage::kMaxHeight / 8;
constexpr int kRowWords = ScreenImage::kMaxWidth / 8;
constexpr ModeInfo kModes[] = {
    {kTextMode, 640, 400, 16, 80, 25},
    {kMode640x200, 640, 200, 8, 80, 25},
    {kMode640x480, 640, 480, 16, 80, 30},
};

std::uint64_t spread(std::uint8_t c)
{
    return std::uint64_t{c} * 0x0101010101010101ull;
}
} // namespace

const ModeInfo* mode_info(int mode)
{
    for (const ModeInfo& m : kModes) {
        if (m.mode == mode) {
            return &m;
        }
    }
    return nullptr;
}

ScreenImage::ScreenImage()
    : words_(new std::atomic<std::uint64_t>[kWords]),
      cells_(new std::atomic<std::uint16_t>[kTextCols * kTextRows])
{
    clear_pixels_and_cells();
}

void ScreenImage::clear_pixels_and_cells()
{
    for (int i = 0; i < kWords; ++i) {
        words_[i].store(0, std::memory_order_relaxed);
    }
    for (int i = 0; i < kTextCols * kTextRows; ++i) {
        cells_[i].store(kBlankTextCell, std::memory_order_relaxed);
    }
    touched_.store(true, std::memory_order_release);
    ++changes_;
    ++clears_; // no glyph drawn before shows any more
}

void ScreenImage::reset(int mode)
{
    const ModeInfo* m = mode_info(mode);
    info_ = *m;
    clear_pixels_and_cells();
    for (int i = 0; i < 16; ++i) {
        palette_[i].store(kDefaultPalette[i], std::memory_order_relaxed);
    }
    touched_.store(true, std::memory_order_release);
    foreground = mode == kTextMode ? kLightGrey : kWhite;
    background = kBlack;
    lastColour = foreground;
    cursorRow = 1;
    cursorCol = 1;
    pendingWrap = false;
    printTop = 1;
    printBottom = m->rows - 1;
    centre_last_point();
    clipLeft = 0;
    clipTop = 0;
    clipRight = m->width - 1;
    clipBottom = m->height - 1;
    mode_.store(mode, std::memory_order_relaxed);
}

void ScreenImage::fill_rows(int y0, int y1, std::uint8_t c)
{
    const std::uint64_t v = spread(c);
    put_words(y0, y1, 0, kRowWords - 1, [v](int, int, std::uint64_t) { return v; });
}

void ScreenImage::fill_rect(int x0, int y0, int x1, int y1, std::uint8_t c)
{
    // Whole eight-pixel words are stored at once; the partial words at either end are masked.
    const std::uint64_t v = spread(c);
    const int w0 = x0 >> 3;
    const int w1 = x1 >> 3;
    const std::uint64_t all = ~std::uint64_t{0};
    const std::uint64_t first = all << ((x0 & 7) * 8);
    const std::uint64_t last = all >> ((7 - (x1 & 7)) * 8);
    put_words(y0, y1, w0, w1, [&](int, int w, std::uint64_t old) {
        const std::uint64_t mask = (w == w0 ? first : all) & (w == w1 ? last : all);
        return (old & ~mask) | (v & mask);
    });
}

void ScreenImage::move_rows(int dst, int src, int count)
{
    if (count <= 0 || dst == src) {
        return;
    }
    auto copyRow = [this](int to, int from) {
        const std::atomic<std::uint64_t>* const source = words_.get() + from * kRowWords;
        put_words(to, to, 0, kRowWords - 1, [source](int, int w, std::uint64_t) {
            return source[w].load(std::memory_order_relaxed);
        });
    };
    if (dst < src) {
        for (int i = 0; i < count; ++i) {
            copyRow(dst + i, src + i);
        }
    } else {
        for (int i = count - 1; i >= 0; --i) {
            copyRow(dst + i, src + i);
        }
    }
}

} // namespace svc
