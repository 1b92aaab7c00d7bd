// Drawing colours, lines, ellipse outlines and points on the current screen.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "services/entry.h"
#include "services/services.h"
#include "services/video/raster.h"

namespace svc {

namespace {

raster::ClipRect clip_of(const ScreenImage& img)
{
    return {img.clipLeft, img.clipTop, img.clipRight, img.clipBottom};
}

bool in_range(int v, int lo, int hi)
{
    return v >= lo && v <= hi;
}

// The refusals the three drawing operations share: nothing is drawn in text mode (error 5),
// and every value must round into 16 bits (error 6). Rounded values go where given.
bool accept_drawing(Services& s, const ScreenImage& img,
                    std::initializer_list<std::pair<float, int*>> values)
{
    if (img.text_mode()) {
        s.raise(kIllegalFunctionCall);
        return false;
    }
    for (const auto& [v, out] : values) {
        int unused = 0;
        if (!raster::to_coordinate(v, out != nullptr ? *out : unused)) {
            s.raise(kOverflow);
            return false;
        }
    }
    return true;
}

} // namespace

void Services::set_colour(int foreground, int background, int third, int given, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    (void)third; // its value only matters in modes that refuse it
    const bool hasFore = (given & 1) != 0;
    const bool hasBack = (given & 2) != 0;
    const bool hasThird = (given & 4) != 0;
    if (given == 0) {
        return;
    }
    ScreenImage& img = screen_;
    // Text mode also takes blinking foregrounds (16..31), and a third argument.
    const bool text = img.text_mode();
    if ((hasThird && !text) || (hasFore && !in_range(foreground, 0, text ? 31 : kWhite)) ||
        (hasBack && !in_range(background, 0, kWhite))) {
        raise(kIllegalFunctionCall);
        return;
    }
    if (hasFore) {
        img.foreground = foreground;
    }
    if (!hasBack) {
        return;
    }
    if (text) {
        img.background = background & 7;
    } else if (img.mode() == kMode640x480) {
        img.background = background;
    } else {
        // Mode 8 keeps no background index: the colour goes into palette entry 0, so
        // every undrawn pixel of the whole screen takes it at the next refresh.
        img.set_palette_entry(0, kDefaultPalette[static_cast<std::size_t>(background)]);
    }
}

void Services::draw_line(float x1, float y1, float x2, float y2, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    ScreenImage& img = screen_;
    raster::Segment seg;
    if (!accept_drawing(*this, img, {{x1, &seg.x1}, {y1, &seg.y1}, {x2, &seg.x2}, {y2, &seg.y2}})) {
        return;
    }
    img.lastPointX = x2;
    img.lastPointY = y2;
    img.lastColour = img.foreground;
    if (!raster::clip_segment(seg, clip_of(img))) {
        return;
    }
    const auto colour = static_cast<std::uint8_t>(img.foreground & 15);
    // Level and upright lines (most of the view) need no walk; the walk gives the same pixels.
    if (seg.y1 == seg.y2 || seg.x1 == seg.x2) {
        img.fill_rect(std::min(seg.x1, seg.x2), std::min(seg.y1, seg.y2), std::max(seg.x1, seg.x2),
                      std::max(seg.y1, seg.y2), colour);
        return;
    }
    // The clipped walk stays between its end points, so every pixel is inside the image.
    raster::walk_segment(seg, [&img, colour](int x, int y) { img.set_pixel(x, y, colour); });
}

void Services::draw_ellipse(float x, float y, float radius, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    ScreenImage& img = screen_;
    if (!accept_drawing(*this, img, {{x, nullptr}, {y, nullptr}, {radius, nullptr}})) {
        return;
    }
    img.lastPointX = x;
    img.lastPointY = y;
    img.lastColour = img.foreground;
    const int cx = raster::round_away(x);
    const int cy = raster::round_away(y);
    const raster::EllipseShape shape =
        raster::ellipse_shape(radius, raster::default_aspect(img.mode()));
    const auto colour = static_cast<std::uint8_t>(img.foreground & 15);
    raster::ellipse_outline(cx, cy, shape, clip_of(img),
                            [&img, colour](int px, int py) { img.set_pixel(px, py, colour); });
}

void Services::draw_point(float x, float y, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    ScreenImage& img = screen_;
    int px = 0;
    int py = 0;
    if (!accept_drawing(*this, img, {{x, &px}, {y, &py}})) {
        return;
    }
    img.lastPointX = x;
    img.lastPointY = y;
    if (clip_of(img).contains(px, py)) {
        img.set_pixel(px, py, static_cast<std::uint8_t>(img.foreground & 15));
    }
}

} // namespace svc
