// Shape rasterising and picture effects of the asset generator's canvas.
#include "tools/assets/canvas.h"

#include <algorithm>
#include <cmath>

namespace assets {

Canvas::Canvas(int width, int height)
    : width_(width), height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0)
{
}

void Canvas::set(int x, int y, std::uint8_t c)
{
    if (x >= 0 && y >= 0 && x < width_ && y < height_) {
        pixels_[index(x, y)] = static_cast<std::uint8_t>(c & 15);
    }
}

void Canvas::set_clip(double x0, double y0, double x1, double y1)
{
    clip_ = true;
    clipX0_ = x0;
    clipY0_ = y0;
    clipX1_ = x1;
    clipY1_ = y1;
}

void Canvas::clear_clip()
{
    clip_ = false;
}

bool Canvas::clipped(int x, int y) const
{
    if (!clip_) {
        return false;
    }
    const double px = x + 0.5;
    const double py = y + 0.5;
    return px < clipX0_ || px >= clipX1_ || py < clipY0_ || py >= clipY1_;
}

template <typename Inside>
void Canvas::fill_where(double x0, double y0, double x1, double y1, std::uint8_t c, Inside inside)
{
    const int ix0 = std::max(0, static_cast<int>(std::floor(x0)) - 1);
    const int iy0 = std::max(0, static_cast<int>(std::floor(y0)) - 1);
    const int ix1 = std::min(width_ - 1, static_cast<int>(std::ceil(x1)) + 1);
    const int iy1 = std::min(height_ - 1, static_cast<int>(std::ceil(y1)) + 1);
    for (int y = iy0; y <= iy1; ++y) {
        for (int x = ix0; x <= ix1; ++x) {
            if (!clipped(x, y) && inside(x + 0.5, y + 0.5)) {
                set(x, y, c);
            }
        }
    }
}

void Canvas::rect(double x0, double y0, double x1, double y1, std::uint8_t c)
{
    fill_where(x0, y0, x1, y1, c,
               [&](double px, double py) { return px >= x0 && px < x1 && py >= y0 && py < y1; });
}

namespace {

bool in_ellipse(double px, double py, double cx, double cy, double rx, double ry)
{
    if (rx <= 0 || ry <= 0) {
        return false;
    }
    const double u = (px - cx) / rx;
    const double v = (py - cy) / ry;
    return u * u + v * v <= 1.0;
}

// Inside the lens: |dy| below the arc height at |dx|. The arc is part of the circle
// through (+-hw, 0) and (0, hh).
bool in_lens(double px, double py, double cx, double cy, double hw, double hh)
{
    if (hw <= 0 || hh <= 0) {
        return false;
    }
    const double dx = std::fabs(px - cx);
    const double dy = std::fabs(py - cy);
    if (dx >= hw) {
        return false;
    }
    const double r = (hw * hw + hh * hh) / (2 * hh);
    const double top = (hh - r) + std::sqrt(r * r - dx * dx);
    return dy <= top;
}

double segment_distance(double px, double py, double x1, double y1, double x2, double y2)
{
    const double vx = x2 - x1;
    const double vy = y2 - y1;
    const double len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? ((px - x1) * vx + (py - y1) * vy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double dx = px - (x1 + t * vx);
    const double dy = py - (y1 + t * vy);
    return std::sqrt(dx * dx + dy * dy);
}

} // namespace

void Canvas::ellipse(double cx, double cy, double rx, double ry, double thickness, std::uint8_t c)
{
    const double t = thickness;
    fill_where(cx - rx, cy - ry, cx + rx, cy + ry, c, [&](double px, double py) {
        return in_ellipse(px, py, cx, cy, rx, ry) &&
               (t <= 0 || !in_ellipse(px, py, cx, cy, rx - t, ry - t));
    });
}

void Canvas::lens(double cx, double cy, double halfWidth, double halfHeight, double thickness,
                  std::uint8_t c)
{
    const double t = thickness;
    fill_where(cx - halfWidth, cy - halfHeight, cx + halfWidth, cy + halfHeight, c,
               [&](double px, double py) {
                   return in_lens(px, py, cx, cy, halfWidth, halfHeight) &&
                          (t <= 0 || !in_lens(px, py, cx, cy, halfWidth - 2 * t, halfHeight - t));
               });
}

void Canvas::polygon(const std::vector<double>& xy, std::uint8_t c)
{
    const std::size_t n = xy.size() / 2;
    if (n < 3) {
        return;
    }
    double x0 = xy[0], x1 = xy[0], y0 = xy[1], y1 = xy[1];
    for (std::size_t i = 0; i < n; ++i) {
        x0 = std::min(x0, xy[2 * i]);
        x1 = std::max(x1, xy[2 * i]);
        y0 = std::min(y0, xy[2 * i + 1]);
        y1 = std::max(y1, xy[2 * i + 1]);
    }
    fill_where(x0, y0, x1, y1, c, [&](double px, double py) {
        bool inside = false;
        for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
            const double xi = xy[2 * i], yi = xy[2 * i + 1];
            const double xj = xy[2 * j], yj = xy[2 * j + 1];
            if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) {
                inside = !inside;
            }
        }
        return inside;
    });
}

void Canvas::line(double x1, double y1, double x2, double y2, double width, std::uint8_t c)
{
    const double half = std::max(width, 1.0) / 2;
    fill_where(std::min(x1, x2) - half, std::min(y1, y2) - half, std::max(x1, x2) + half,
               std::max(y1, y2) + half, c, [&](double px, double py) {
                   return segment_distance(px, py, x1, y1, x2, y2) <= half + 1e-9;
               });
}

void Canvas::rim(int dx, int dy, std::uint8_t c)
{
    const std::vector<std::uint8_t> before = pixels_;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (before[index(x, y)] == 0) {
                continue;
            }
            const int nx = x + dx;
            const int ny = y + dy;
            const bool outside = nx < 0 || ny < 0 || nx >= width_ || ny >= height_;
            if (outside || before[index(nx, ny)] == 0) {
                pixels_[index(x, y)] = c;
            }
        }
    }
}

void Canvas::shadow(int dx, int dy, std::uint8_t c)
{
    const std::vector<std::uint8_t> before = pixels_;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    for (int k = 1; k <= steps; ++k) {
        const int ox = static_cast<int>(std::lround(static_cast<double>(dx) * k / steps));
        const int oy = static_cast<int>(std::lround(static_cast<double>(dy) * k / steps));
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                const int tx = x + ox;
                const int ty = y + oy;
                if (before[index(x, y)] != 0 && tx >= 0 && ty >= 0 && tx < width_ && ty < height_ &&
                    pixels_[index(tx, ty)] == 0) {
                    pixels_[index(tx, ty)] = c;
                }
            }
        }
    }
}

void Canvas::outline(std::uint8_t c)
{
    const std::vector<std::uint8_t> before = pixels_;
    auto setAt = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < width_ && y < height_ && before[index(x, y)] != 0;
    };
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (before[index(x, y)] == 0 &&
                (setAt(x - 1, y) || setAt(x + 1, y) || setAt(x, y - 1) || setAt(x, y + 1))) {
                pixels_[index(x, y)] = c;
            }
        }
    }
}

} // namespace assets
