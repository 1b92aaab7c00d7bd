// The error dialog the window thread draws over the picture: where its parts go, and its
// pixels in the look of a plain system message box.
#include "services/video/dialog_box.h"

#include <algorithm>
#include <string_view>

#include "data/fonts.h"

namespace svc {
namespace {

constexpr std::uint32_t kDialogFace = 0xC0C0C0;
constexpr std::uint32_t kDialogTitle = 0x000080;
constexpr std::uint32_t kDialogText = 0x000000;
constexpr std::uint32_t kDialogHighlight = 0xFFFFFF; // button edges and the title text
constexpr int kButtonW = DialogLayout::kButtonW;
constexpr int kButtonH = DialogLayout::kButtonH;

std::vector<std::string_view> split_lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t nl = text.find('\n', start);
        lines.push_back(text.substr(start, nl == std::string_view::npos ? nl : nl - start));
        if (nl == std::string_view::npos) {
            return lines;
        }
        start = nl + 1;
    }
}

void fill(std::vector<std::uint32_t>& px, int w, int h, int x0, int y0, int rw, int rh,
          std::uint32_t c)
{
    for (int y = std::max(0, y0); y < std::min(h, y0 + rh); ++y) {
        for (int x = std::max(0, x0); x < std::min(w, x0 + rw); ++x) {
            px[static_cast<std::size_t>(y) * w + x] = c;
        }
    }
}

void text(std::vector<std::uint32_t>& px, int w, int h, int x0, int y0, std::string_view s,
          std::uint32_t c)
{
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto& g = data::kFont8x16[static_cast<std::uint8_t>(s[i])];
        for (int gy = 0; gy < 16; ++gy) {
            for (int gx = 0; gx < 8; ++gx) {
                const int x = x0 + static_cast<int>(i) * 8 + gx;
                const int y = y0 + gy;
                if ((g[gy] & (0x80 >> gx)) && x >= 0 && x < w && y >= 0 && y < h) {
                    px[static_cast<std::size_t>(y) * w + x] = c;
                }
            }
        }
    }
}

void button(std::vector<std::uint32_t>& px, int w, int h, int x, int y, std::string_view label)
{
    fill(px, w, h, x, y, kButtonW, kButtonH, kDialogText);
    fill(px, w, h, x + 1, y + 1, kButtonW - 2, kButtonH - 2, kDialogHighlight);
    fill(px, w, h, x + 2, y + 2, kButtonW - 4, kButtonH - 4, kDialogFace);
    text(px, w, h, x + (kButtonW - static_cast<int>(label.size()) * 8) / 2, y + 2, label,
         kDialogText);
}

} // namespace

DialogLayout dialog_layout(const DialogRequest& r, int w, int h)
{
    const auto lines = split_lines(r.text);
    std::size_t cols = r.title.size();
    for (auto l : lines) {
        cols = std::max(cols, l.size());
    }
    DialogLayout d{};
    d.w = std::min(w, static_cast<int>(std::max<std::size_t>(cols, 20)) * 8 + 32);
    d.h = std::min(h, 16 + 8 + static_cast<int>(lines.size()) * 16 + 8 + kButtonH + 8);
    d.x = (w - d.w) / 2;
    d.y = (h - d.h) / 2;
    d.buttonY = d.y + d.h - 8 - kButtonH;
    if (r.yesNo) {
        d.yesX = d.x + d.w / 2 - kButtonW - 8;
        d.noX = d.x + d.w / 2 + 8;
    } else {
        d.yesX = d.x + (d.w - kButtonW) / 2;
        d.noX = -1;
    }
    return d;
}

void draw_dialog(const DialogRequest& request, std::vector<std::uint32_t>& px, int w, int h)
{
    const DialogLayout d = dialog_layout(request, w, h);
    fill(px, w, h, d.x, d.y, d.w, d.h, kDialogText);
    fill(px, w, h, d.x + 1, d.y + 1, d.w - 2, d.h - 2, kDialogFace);
    fill(px, w, h, d.x + 1, d.y + 1, d.w - 2, 16, kDialogTitle);
    text(px, w, h, d.x + 8, d.y + 1, request.title, kDialogHighlight);
    int y = d.y + 16 + 8;
    for (auto line : split_lines(request.text)) {
        text(px, w, h, d.x + 16, y, line, kDialogText);
        y += 16;
    }
    if (request.yesNo) {
        button(px, w, h, d.yesX, d.buttonY, "Yes");
        button(px, w, h, d.noX, d.buttonY, "No");
    } else {
        button(px, w, h, d.yesX, d.buttonY, "OK");
    }
}

std::optional<bool> dialog_button_at(const DialogLayout& d, int x, int y)
{
    if (y < d.buttonY || y >= d.buttonY + kButtonH) {
        return std::nullopt;
    }
    if (x >= d.yesX && x < d.yesX + kButtonW) {
        return true;
    }
    if (d.noX >= 0 && x >= d.noX && x < d.noX + kButtonW) {
        return false;
    }
    return std::nullopt;
}

} // namespace svc
