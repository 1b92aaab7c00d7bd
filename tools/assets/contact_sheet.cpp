// Layout and drawing of the picture review sheet.
#include "tools/assets/contact_sheet.h"

#include <algorithm>
#include <string>

#include "data/fonts.h"
#include "services/video/screen_image.h"

namespace assets {
namespace {

constexpr int kScale = 2;
constexpr int kMinSheetWidth = 640;
constexpr int kMaxSheetWidth = 1280;
constexpr int kGap = 14;
constexpr int kLabelHeight = 12;
constexpr std::uint32_t kBackground = 0x2A2A3A;
constexpr std::uint32_t kFrame = 0x707088;
constexpr std::uint32_t kLabel = 0xE0E0E0;

struct Place {
    int x, y;
};

void draw_label(Sheet& sheet, int x, int y, const std::string& text)
{
    for (char ch : text) {
        const auto& glyph = data::kFont8x8[static_cast<unsigned char>(ch)];
        for (int r = 0; r < 8; ++r) {
            for (int c = 0; c < 8; ++c) {
                const int px = x + c;
                const int py = y + r;
                if ((glyph[r] & (0x80 >> c)) != 0 && px < sheet.width && py < sheet.height) {
                    sheet.pixels[static_cast<std::size_t>(py) * sheet.width + px] = kLabel;
                }
            }
        }
        x += 8;
    }
}

std::string label_of(const Picture& p)
{
    return p.name + " " + std::to_string(p.width) + "x" + std::to_string(p.height);
}

int cell_width(const Picture& p)
{
    return std::max(p.width * kScale + 2, static_cast<int>(label_of(p).size()) * 8);
}

struct Layout {
    int width = 0, height = 0;
    std::vector<Place> places;
};

// Rows left to right, a new row when the next picture would pass the width.
Layout lay_out(const std::vector<Picture>& pictures, int sheetWidth)
{
    Layout l;
    int x = kGap, y = kGap, rowHeight = 0, widest = 0;
    for (const Picture& p : pictures) {
        const int w = cell_width(p);
        const int h = p.height * kScale + 2 + 4 + kLabelHeight;
        if (x + w + kGap > sheetWidth && x > kGap) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        l.places.push_back({x, y});
        x += w + kGap;
        widest = std::max(widest, x);
        rowHeight = std::max(rowHeight, h);
    }
    l.width = widest;
    l.height = y + rowHeight + kGap;
    return l;
}

} // namespace

Sheet make_contact_sheet(const std::vector<Picture>& pictures)
{
    // The sheet is stored uncompressed, so it takes the width that leaves the least area.
    Layout best = lay_out(pictures, kMaxSheetWidth);
    for (int w = kMinSheetWidth; w < kMaxSheetWidth; w += 8) {
        Layout l = lay_out(pictures, w);
        if (static_cast<long>(l.width) * l.height < static_cast<long>(best.width) * best.height) {
            best = std::move(l);
        }
    }
    const std::vector<Place>& places = best.places;
    Sheet sheet;
    sheet.width = best.width;
    sheet.height = best.height;
    sheet.pixels.assign(static_cast<std::size_t>(sheet.width) * sheet.height, kBackground);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const Picture& p = pictures[i];
        const Place at = places[i];
        const int w = p.width * kScale + 2;
        const int h = p.height * kScale + 2;
        for (int yy = 0; yy < h; ++yy) {
            for (int xx = 0; xx < w; ++xx) {
                std::uint32_t colour = kFrame;
                if (xx > 0 && yy > 0 && xx < w - 1 && yy < h - 1) {
                    const int px = (xx - 1) / kScale;
                    const int py = (yy - 1) / kScale;
                    colour =
                        svc::kDefaultPalette[p.pixels[static_cast<std::size_t>(py) * p.width + px] &
                                             15];
                }
                sheet.pixels[static_cast<std::size_t>(at.y + yy) * sheet.width + at.x + xx] =
                    colour;
            }
        }
        draw_label(sheet, at.x, at.y + h + 4, label_of(p));
    }
    return sheet;
}

} // namespace assets
