// Checks of the code page 437 glyph tables: the pictures the game prints must be the right ones.
#include "data/fonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace {

using Glyph = std::span<const std::uint8_t>;

struct Font {
    const char* name;
    int height;
    Glyph glyph(int code) const
    {
        if (height == 8) {
            return Glyph(data::kFont8x8[code], 8);
        }
        return Glyph(data::kFont8x16[code], 16);
    }
};

const Font kFonts[] = {{"8x8", 8}, {"8x16", 16}};

bool lit(Glyph g, int row, int col)
{
    return (g[row] & (0x80 >> col)) != 0;
}

int pixelCount(Glyph g)
{
    int n = 0;
    for (std::uint8_t row : g) {
        n += std::popcount(row);
    }
    return n;
}

// Centre of the lit pixels, measured from the middle of their bounding box: negative means
// the mass leans up (or left), positive down (or right).
double massLean(Glyph g, bool vertical)
{
    int lo = 99;
    int hi = -1;
    double sum = 0;
    int n = 0;
    for (int r = 0; r < static_cast<int>(g.size()); ++r) {
        for (int c = 0; c < 8; ++c) {
            if (lit(g, r, c)) {
                int at = vertical ? r : c;
                lo = std::min(lo, at);
                hi = std::max(hi, at);
                sum += at;
                ++n;
            }
        }
    }
    return n == 0 ? 0.0 : sum / n - (lo + hi) / 2.0;
}

// Lit pixels along one edge of the cell, as a bit string.
std::string edge(Glyph g, char side)
{
    std::string out;
    int h = static_cast<int>(g.size());
    if (side == 'T' || side == 'B') {
        for (int c = 0; c < 8; ++c) {
            out += lit(g, side == 'T' ? 0 : h - 1, c) ? '1' : '0';
        }
    } else {
        for (int r = 0; r < h; ++r) {
            out += lit(g, r, side == 'L' ? 0 : 7) ? '1' : '0';
        }
    }
    return out;
}

bool empty(const std::string& e)
{
    return e.find('1') == std::string::npos;
}

// The line-drawing glyphs the game uses, with the sides where their lines leave the cell.
struct LineGlyph {
    int code;
    const char* sides; // subset of "TBLR"
};
const LineGlyph kDoubleLines[] = {{201, "BR"},  {205, "LR"},  {187, "BL"}, {186, "TB"},
                                  {204, "TBR"}, {185, "TBL"}, {200, "TR"}, {188, "TL"}};
const LineGlyph kSingleLines[] = {{179, "TB"}, {196, "LR"}, {217, "TL"}};

bool has(const char* sides, char s)
{
    return std::string(sides).find(s) != std::string::npos;
}

void checkLinesJoin(const Font& font, std::span<const LineGlyph> set)
{
    for (const LineGlyph& a : set) {
        Glyph ga = font.glyph(a.code);
        for (char side : std::string("TBLR")) {
            EXPECT_EQ(has(a.sides, side), !empty(edge(ga, side)))
                << font.name << " glyph " << a.code << " side " << side;
        }
        for (const LineGlyph& b : set) {
            Glyph gb = font.glyph(b.code);
            if (has(a.sides, 'R') && has(b.sides, 'L')) {
                EXPECT_EQ(edge(ga, 'R'), edge(gb, 'L'))
                    << font.name << ": " << a.code << " beside " << b.code;
            }
            if (has(a.sides, 'B') && has(b.sides, 'T')) {
                EXPECT_EQ(edge(ga, 'B'), edge(gb, 'T'))
                    << font.name << ": " << a.code << " above " << b.code;
            }
        }
    }
}

TEST(Fonts, BlocksShadeAndBlanks)
{
    for (const Font& font : kFonts) {
        SCOPED_TRACE(font.name);
        for (std::uint8_t row : font.glyph(219)) {
            EXPECT_EQ(row, 0xFF);
        }
        EXPECT_EQ(pixelCount(font.glyph(32)), 0);
        EXPECT_EQ(pixelCount(font.glyph(0)), 0);
        EXPECT_EQ(pixelCount(font.glyph(255)), 0); // no-break space
        // The medium shade is half lit and no two neighbours agree, so it reads as grey.
        Glyph shade = font.glyph(177);
        EXPECT_EQ(pixelCount(shade), 4 * font.height);
        for (int r = 0; r < font.height; ++r) {
            for (int c = 0; c < 8; ++c) {
                if (c < 7) {
                    EXPECT_NE(lit(shade, r, c), lit(shade, r, c + 1)) << r << "," << c;
                }
                if (r + 1 < font.height) {
                    EXPECT_NE(lit(shade, r, c), lit(shade, r + 1, c)) << r << "," << c;
                }
            }
        }
    }
}

TEST(Fonts, PrintableAsciiGlyphsAreDistinctAndVisible)
{
    for (const Font& font : kFonts) {
        SCOPED_TRACE(font.name);
        std::vector<std::vector<std::uint8_t>> seen;
        for (int code = 0x21; code <= 0x7E; ++code) {
            Glyph g = font.glyph(code);
            EXPECT_GT(pixelCount(g), 0) << code;
            std::vector<std::uint8_t> rows(g.begin(), g.end());
            EXPECT_EQ(std::count(seen.begin(), seen.end(), rows), 0) << "code " << code;
            seen.push_back(rows);
        }
        // Rows run top to bottom: the full stop sits low, the apostrophe high.
        EXPECT_EQ(font.glyph('.')[0], 0);
        EXPECT_EQ(font.glyph('.')[font.height / 2 - 1], 0);
        EXPECT_EQ(font.glyph('\'')[font.height - 1], 0);
        EXPECT_NE(font.glyph('\'')[font.height == 8 ? 0 : 1], 0);
    }
}

TEST(Fonts, ArrowsAndTrianglesPointTheRightWay)
{
    for (const Font& font : kFonts) {
        SCOPED_TRACE(font.name);
        EXPECT_LT(massLean(font.glyph(24), true), 0.0);  // up: the head is at the top
        EXPECT_GT(massLean(font.glyph(25), true), 0.0);  // down
        EXPECT_GT(massLean(font.glyph(26), false), 0.0); // right
        EXPECT_LT(massLean(font.glyph(27), false), 0.0); // left
        // A triangle's mass leans to its base, away from where it points.
        EXPECT_LT(massLean(font.glyph(16), false), 0.0); // pointing right
        EXPECT_GT(massLean(font.glyph(17), false), 0.0); // pointing left
        // The arrows are lines, not blobs: the shaft leaves most of the cell empty.
        for (int code = 24; code <= 27; ++code) {
            EXPECT_LT(pixelCount(font.glyph(code)), 3 * font.height) << code;
            EXPECT_GT(pixelCount(font.glyph(code)), 0) << code;
        }
    }
}

TEST(Fonts, BoxDrawingGlyphsJoinAtTheCellEdges)
{
    for (const Font& font : kFonts) {
        checkLinesJoin(font, kDoubleLines);
        checkLinesJoin(font, kSingleLines);
    }
}

TEST(Fonts, DegreeSignIsASmallRingHighInTheCell)
{
    for (const Font& font : kFonts) {
        SCOPED_TRACE(font.name);
        Glyph g = font.glyph(248);
        EXPECT_GT(pixelCount(g), 3);
        for (int r = font.height / 2; r < font.height; ++r) {
            EXPECT_EQ(g[r], 0) << r;
        }
    }
}

int firstLitRow(Glyph g)
{
    int r = 0;
    while (r + 1 < static_cast<int>(g.size()) && g[r] == 0) {
        ++r;
    }
    return r;
}

int lastLitRow(Glyph g)
{
    int r = static_cast<int>(g.size()) - 1;
    while (r > 0 && g[r] == 0) {
        --r;
    }
    return r;
}

// Number of separate runs of lit pixels in a row.
int runs(std::uint8_t row)
{
    return std::popcount(static_cast<std::uint8_t>(row & ~(row >> 1)));
}

std::uint8_t mirrored(std::uint8_t row)
{
    std::uint8_t out = 0;
    for (int b = 0; b < 8; ++b) {
        if (row & (1 << b)) {
            out |= static_cast<std::uint8_t>(0x80 >> b);
        }
    }
    return out;
}

// The 8 x 8 set comes from a code page 865 font; its three codes that differ from 437 were
// redrawn. These are the code page 865 pictures (o-slash, O-slash, currency sign).
TEST(Fonts, CodePage865PicturesAreReplaced)
{
    const std::uint8_t oSlash[8] = {0x00, 0x02, 0x7C, 0xCE, 0xD6, 0xE6, 0x7C, 0x80};
    const std::uint8_t capitalOSlash[8] = {0x3A, 0x6C, 0xCE, 0xD6, 0xE6, 0x6C, 0xB8, 0x00};
    const std::uint8_t currency[8] = {0x00, 0xC6, 0x7C, 0xC6, 0xC6, 0x7C, 0xC6, 0x00};
    EXPECT_FALSE(std::equal(oSlash, oSlash + 8, data::kFont8x8[0x9B]));
    EXPECT_FALSE(std::equal(capitalOSlash, capitalOSlash + 8, data::kFont8x8[0x9D]));
    EXPECT_FALSE(std::equal(currency, currency + 8, data::kFont8x8[0xAF]));

    for (const Font& font : kFonts) {
        SCOPED_TRACE(font.name);
        // Cent sign: the same short stroke sticks out above and below the letter c.
        Glyph cent = font.glyph(0x9B);
        EXPECT_EQ(cent[firstLitRow(cent)], cent[lastLitRow(cent)]);
        EXPECT_EQ(runs(cent[firstLitRow(cent)]), 1);
        EXPECT_LE(std::popcount(cent[firstLitRow(cent)]), 2);
        // Yen sign: two arms at the top, one stem at the bottom.
        Glyph yen = font.glyph(0x9D);
        EXPECT_EQ(runs(yen[firstLitRow(yen)]), 2);
        EXPECT_EQ(runs(yen[lastLitRow(yen)]), 1);
        // Right guillemet: the left one mirrored, allowing for a one-pixel shift.
        Glyph left = font.glyph(0xAE);
        Glyph right = font.glyph(0xAF);
        bool matches = false;
        for (int shift = -1; shift <= 1; ++shift) {
            bool all = true;
            for (int r = 0; r < font.height; ++r) {
                int m = mirrored(left[r]);
                int want = shift < 0 ? (m << -shift) & 0xFF : m >> shift;
                all = all && want == right[r];
            }
            matches = matches || all;
        }
        EXPECT_TRUE(matches);
    }
}

} // namespace
