// The current screen: indexed pixels (or text cells), palette and text/drawing state.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <type_traits>

namespace svc {

// Default 16-colour palette, 0xRRGGBB; the same for every mode.
extern const std::array<std::uint32_t, 16> kDefaultPalette;

// The palette's sixteen colours by the index the screen stores. A plain enumeration on
// purpose: the game keeps colours in number variables (faceColour, skyColour ...) and hands
// them to the same calls as these names.
enum Colour : int {
    kBlack = 0,
    kBlue = 1,
    kGreen = 2,
    kCyan = 3,
    kRed = 4,
    kMagenta = 5,
    kBrown = 6,
    kLightGrey = 7,
    kDarkGrey = 8,
    kLightBlue = 9,
    kLightGreen = 10,
    kLightCyan = 11,
    kLightRed = 12,
    kLightMagenta = 13,
    kYellow = 14,
    kWhite = 15,
};

// The screen modes by their numbers: text, the 640 x 200 play screen, the 640 x 480 title.
inline constexpr int kTextMode = 0;
inline constexpr int kMode640x200 = 8;
inline constexpr int kMode640x480 = 12;

// A blank text-mode cell: a space, light grey on black.
inline constexpr std::uint16_t kBlankTextCell = ' ' | kLightGrey << 8;

// One screen mode's fixed shape.
struct ModeInfo {
    int mode;       // 0 text, 8 (640x200), 12 (640x480)
    int width;      // pixels (text mode: 640, the window's width)
    int height;     // pixels (text mode: 400)
    int fontHeight; // 8 or 16
    int cols;       // 80
    int rows;       // 25 or 30
};

// The picture the game draws into and the window thread shows.
// One writer (the game's thread) and one reader (the window thread) share it without
// locks: pixels, text cells, palette and shape are relaxed atomics, so a redraw may show
// a half-drawn frame but never tears a byte. Storage is sized once for the largest mode,
// so a mode change never frees memory the reader could be looking at.
// Everything below "Game-thread state" is touched by the game's thread only.
class ScreenImage {
  public:
    static constexpr int kMaxWidth = 640;
    static constexpr int kMaxHeight = 480;
    static constexpr int kTextCols = 80;
    static constexpr int kTextRows = 25;

    ScreenImage();

    // Makes a fresh image of the mode (all pixels 0 / cells kBlankTextCell, default palette,
    // colours, cursor, lastPoint and print area reset). Does not check the mode number.
    void reset(int mode);

    // --- shape (any thread) ---
    int mode() const { return mode_.load(std::memory_order_relaxed); }
    const ModeInfo& info() const { return info_; }
    int width() const { return info_.width; }
    int height() const { return info_.height; }
    bool text_mode() const { return mode() == kTextMode; }

    // --- pixels (graphics modes); x, y must be inside the image ---
    std::uint8_t pixel(int x, int y) const
    {
        const int i = y * kMaxWidth + x;
        return static_cast<std::uint8_t>(words_[i >> 3].load(std::memory_order_relaxed) >>
                                         ((i & 7) * 8));
    }
    void set_pixel(int x, int y, std::uint8_t c)
    {
        const int i = y * kMaxWidth + x;
        auto& w = words_[i >> 3];
        const int sh = (i & 7) * 8;
        const std::uint64_t v = w.load(std::memory_order_relaxed);
        put_word(w, (v & ~(std::uint64_t{0xFF} << sh)) | (std::uint64_t{c} << sh));
    }
    // Fills pixel rows y0..y1 (inclusive) over the whole width with colour c.
    void fill_rows(int y0, int y1, std::uint8_t c);
    // Fills the rectangle x0..x1, y0..y1 (inclusive, inside the image) with colour c.
    void fill_rect(int x0, int y0, int x1, int y1, std::uint8_t c);
    // Moves pixel rows [src, src+count) to [dst, dst+count) over the whole width.
    void move_rows(int dst, int src, int count);
    // Reads one row of eight-pixel words (kMaxWidth / 8 of them); for the refresher.
    std::uint64_t row_word(int y, int wordIndex) const
    {
        return words_[(y * kMaxWidth >> 3) + wordIndex].load(std::memory_order_relaxed);
    }
    // Writes eight pixels at once, x = wordIndex * 8 .. + 7 (pixel x + k in byte k).
    void set_row_word(int y, int wordIndex, std::uint64_t v)
    {
        put_word(words_[(y * kMaxWidth >> 3) + wordIndex], v);
    }

    // Writes up to eight pixels x .. x + count - 1 of row y at once, pixel x + k from byte k
    // of bytes (its other bytes are ignored); with orMode they are ORed onto the picture.
    void put_pixels(int x, int y, std::uint64_t bytes, int count, bool orMode)
    {
        const int i = y * kMaxWidth + x;
        const int shift = (i & 7) * 8;
        const std::uint64_t mask =
            count >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (count * 8)) - 1;
        bytes &= mask;
        auto put = [&](std::atomic<std::uint64_t>& w, std::uint64_t m, std::uint64_t v) {
            const std::uint64_t old = w.load(std::memory_order_relaxed);
            put_word(w, orMode ? old | v : (old & ~m) | v);
        };
        put(words_[i >> 3], mask << shift, bytes << shift);
        if (shift != 0 && (mask >> (64 - shift)) != 0) {
            put(words_[(i >> 3) + 1], mask >> (64 - shift), bytes >> (64 - shift));
        }
    }

    // --- text cells (mode 0), row and col 0-based; value = char | attribute << 8 ---
    std::uint16_t cell(int row, int col) const
    {
        return cells_[row * kTextCols + col].load(std::memory_order_relaxed);
    }
    void set_cell(int row, int col, std::uint16_t v) { put_word(cells_[row * kTextCols + col], v); }

    // lastPoint back at the centre of the picture (of the window in text mode).
    void centre_last_point()
    {
        lastPointX = static_cast<float>(info_.width / 2);
        lastPointY = static_cast<float>(info_.height / 2);
    }

    // --- palette (any thread reads; the game's thread writes) ---
    std::uint32_t palette_entry(int i) const { return palette_[i].load(std::memory_order_relaxed); }
    void set_palette_entry(int i, std::uint32_t rgb) { put_word(palette_[i], rgb); }

    // Window thread: true if a pixel, cell or palette entry changed since the last call (a
    // store of the value already there does not count). Acquire: the changes are then seen.
    bool take_touched() { return touched_.exchange(false, std::memory_order_acquire); }
    // Any thread: true while a change waits for the window's next look.
    bool touched() const { return touched_.load(std::memory_order_acquire); }

    // --- Game-thread state (text and drawing) ---
    int foreground = kWhite;
    int background = kBlack; // stored index (mode 12), 0..7 in text mode, 0 in mode 8
    int lastColour = kWhite;
    int cursorRow = 1; // 1-based
    int cursorCol = 1; // 1-based
    bool pendingWrap = false;
    int printTop = 1; // print area rows (1-based, inclusive)
    int printBottom = 24;
    float lastPointX = 320;
    float lastPointY = 100;
    int clipLeft = 0, clipTop = 0, clipRight = 639, clipBottom = 199;

    // The state above that drawing and printing move, as one value: a drawing skipped as an
    // unchanged repeat puts back what it would have left.
    struct Pen {
        int foreground, background, lastColour, cursorRow, cursorCol;
        bool pendingWrap;
        float lastPointX, lastPointY;
    };
    Pen pen() const
    {
        return Pen{foreground, background,  lastColour, cursorRow,
                   cursorCol,  pendingWrap, lastPointX, lastPointY};
    }
    void set_pen(const Pen& p)
    {
        foreground = p.foreground;
        background = p.background;
        lastColour = p.lastColour;
        cursorRow = p.cursorRow;
        cursorCol = p.cursorCol;
        pendingWrap = p.pendingWrap;
        lastPointX = p.lastPointX;
        lastPointY = p.lastPointY;
    }

    // Game thread: how many stores have changed a pixel, cell or palette entry (or the mode).
    std::uint64_t changes() const { return changes_; }

    // Game thread: a text cell of a graphics mode remembers the glyph (code and colours,
    // `look`) drawn into it and how many stores had changed its pixels by then. While no store
    // has changed them since (nor a mode change cleared the image), they still show that
    // glyph and drawing it again changes nothing.
    bool glyph_still_shown(int row, int col, std::uint32_t look) const
    {
        const GlyphMark& m = glyphMarks_[row * kTextCols + col];
        return m.look == look && m.clears == clears_ && m.stores == cell_stores(row, col);
    }
    void mark_glyph_shown(int row, int col, std::uint32_t look)
    {
        glyphMarks_[row * kTextCols + col] = GlyphMark{clears_, cell_stores(row, col), look};
    }

  private:
    void clear_pixels_and_cells();
    // Stores v unless it is already there, and then marks the image as touched.
    template <class T, class V> void put_word(std::atomic<T>& w, V v)
    {
        if (w.load(std::memory_order_relaxed) != static_cast<T>(v)) {
            w.store(static_cast<T>(v), std::memory_order_relaxed);
            touched_.store(true, std::memory_order_release);
            ++changes_;
            if constexpr (std::is_same_v<T, std::uint64_t>) { // eight pixels of a row
                const auto i = static_cast<std::size_t>(&w - words_.get());
                ++bandStores_[i / kWordsPerRow / kBandRows * kTextCols + i % kWordsPerRow];
            }
        }
    }
    // Sets words w0..w1 of pixel rows y0..y1 to value(y, w, old), marking the image as
    // put_word does but once for all of them: a frame's clear, floor and upright lines store
    // thousands of words, and a mark a word would hold each store up behind the last.
    template <class F> void put_words(int y0, int y1, int w0, int w1, F value)
    {
        std::uint64_t changed = 0;
        for (int y = y0; y <= y1; ++y) {
            std::atomic<std::uint64_t>* const row = words_.get() + y * kWordsPerRow;
            std::uint64_t* const bands = &bandStores_[y / kBandRows * kTextCols];
            for (int w = w0; w <= w1; ++w) {
                const std::uint64_t old = row[w].load(std::memory_order_relaxed);
                const std::uint64_t v = value(y, w, old);
                if (v != old) {
                    row[w].store(v, std::memory_order_relaxed);
                    ++bands[w];
                    ++changed;
                }
            }
        }
        if (changed != 0) {
            changes_ += changed;
            touched_.store(true, std::memory_order_release);
        }
    }
    // The stores that changed the pixels of a text cell of the current font: the sum over its
    // eight-row bands (a sum of counts that only grow moves whenever one of them does).
    std::uint64_t cell_stores(int row, int col) const
    {
        const int bands = info_.fontHeight / kBandRows;
        std::uint64_t sum = 0;
        for (int b = row * bands; b < (row + 1) * bands; ++b) {
            sum += bandStores_[b * kTextCols + col];
        }
        return sum;
    }

    // The most text rows a graphics mode can have (eight-pixel glyphs on the tallest image).
    static constexpr int kMaxGlyphRows = kMaxHeight / 8;
    struct GlyphMark {
        std::uint64_t clears = ~std::uint64_t{0}; // never equal to clears_: nothing drawn
        std::uint64_t stores = 0;
        std::uint32_t look = 0;
    };
    static constexpr int kWordsPerRow = kMaxWidth / 8; // one word per text column
    static constexpr int kBandRows = 8;
    std::uint64_t changes_ = 0; // stores that changed a pixel, cell or palette entry
    std::uint64_t clears_ = 0;  // the image cleared whole (a mode set)
    std::array<GlyphMark, kMaxGlyphRows * kTextCols> glyphMarks_{};
    // Stores that changed a word, by eight-row band and text column.
    std::array<std::uint64_t, kMaxHeight / kBandRows * kTextCols> bandStores_{};

    std::atomic<int> mode_{-1};
    ModeInfo info_{};
    std::unique_ptr<std::atomic<std::uint64_t>[]> words_;
    std::unique_ptr<std::atomic<std::uint16_t>[]> cells_;
    std::array<std::atomic<std::uint32_t>, 16> palette_{};
    std::atomic<bool> touched_{true};
};

// The shape of a valid game mode; nullptr for any other mode number.
const ModeInfo* mode_info(int mode);

} // namespace svc
