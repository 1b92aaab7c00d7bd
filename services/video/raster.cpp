// Line clipping, ellipse shapes and coordinate rounding of the drawing primitives.
#include "services/video/raster.h"

#include <cstdint>
#include <initializer_list>
#include <numbers>

namespace svc::raster {

namespace {

// num / den rounded to the nearest integer, ties to even; den != 0.
std::int64_t div_round_even(std::int64_t num, std::int64_t den)
{
    if (den < 0) {
        num = -num;
        den = -den;
    }
    std::int64_t q = num / den;
    std::int64_t r = num % den;
    if (r < 0) { // floor division
        q -= 1;
        r += den;
    }
    const std::int64_t twice = 2 * r;
    if (twice > den || (twice == den && (q & 1) != 0)) {
        q += 1;
    }
    return q;
}

// Outcode bits: which edges a point lies beyond.
enum : int { kRight = 1, kLeft = 2, kTop = 4, kBottom = 8 };

int outcode(int x, int y, const ClipRect& c)
{
    int code = 0;
    if (x > c.right) {
        code |= kRight;
    } else if (x < c.left) {
        code |= kLeft;
    }
    if (y < c.top) {
        code |= kTop;
    } else if (y > c.bottom) {
        code |= kBottom;
    }
    return code;
}

// Moves (x, y), lying beyond the edges in `code`, onto the first of those edges (right,
// left, top, bottom) whose crossing with the line through (x, y) and (ox, oy) lies on the
// rectangle's edge. False when none does.
bool move_onto_edge(int& x, int& y, int code, int ox, int oy, const ClipRect& c)
{
    const std::int64_t dx = static_cast<std::int64_t>(ox) - x;
    const std::int64_t dy = static_cast<std::int64_t>(oy) - y;
    for (int edge : {kRight, kLeft}) {
        if ((code & edge) != 0 && dx != 0) {
            const int ex = edge == kRight ? c.right : c.left;
            // The crossing's coordinate itself is rounded, ties to even.
            const std::int64_t ey =
                div_round_even(y * dx + (ex - static_cast<std::int64_t>(x)) * dy, dx);
            if (ey >= c.top && ey <= c.bottom) {
                x = ex;
                y = static_cast<int>(ey);
                return true;
            }
        }
    }
    for (int edge : {kTop, kBottom}) {
        if ((code & edge) != 0 && dy != 0) {
            const int ey = edge == kTop ? c.top : c.bottom;
            const std::int64_t ex =
                div_round_even(x * dy + (ey - static_cast<std::int64_t>(y)) * dx, dy);
            if (ex >= c.left && ex <= c.right) {
                x = static_cast<int>(ex);
                y = ey;
                return true;
            }
        }
    }
    return false;
}

} // namespace

bool to_coordinate(float v, int& out)
{
    if (!std::isfinite(v)) {
        return false;
    }
    const float r = round_even_f(v);
    if (r < -32768.0f || r > 32767.0f) {
        return false;
    }
    out = static_cast<int>(r);
    return true;
}

bool clip_segment(Segment& s, const ClipRect& clip)
{
    const int code1 = outcode(s.x1, s.y1, clip);
    const int code2 = outcode(s.x2, s.y2, clip);
    if (code1 == 0 && code2 == 0) {
        return true;
    }
    if ((code1 & code2) != 0 || (s.x1 == s.x2 && s.y1 == s.y2)) {
        return false;
    }
    if (code1 != 0 && !move_onto_edge(s.x1, s.y1, code1, s.x2, s.y2, clip)) {
        return false;
    }
    if (code2 != 0 && !move_onto_edge(s.x2, s.y2, code2, s.x1, s.y1, clip)) {
        return false;
    }
    return true;
}

float default_aspect(int mode)
{
    switch (mode) {
    case 2:
    case 8:
        return 5.0f / 12.0f;
    case 1:
    case 7:
    case 13:
        return 5.0f / 6.0f;
    case 9:
    case 10:
        return 35.0f / 48.0f;
    default:
        return 1.0f;
    }
}

EllipseShape ellipse_shape(float radius, float aspect)
{
    EllipseShape e;
    const float r = std::fabs(radius);
    e.rx = r;
    e.ry = r;
    if (aspect >= 0.0f && aspect < 1.0f) {
        e.ry = r * aspect;
    } else if (aspect > 1.0f) {
        e.rx = r / aspect;
    }
    // The quarter circumference of the unscaled radius, rounded half up.
    e.steps = static_cast<int>(std::floor(std::numbers::pi_v<float> * r / 2.0f + 0.5f));
    return e;
}

bool ellipse_outside(int cx, int cy, const EllipseShape& e, const ClipRect& clip)
{
    const float fx = static_cast<float>(cx);
    const float fy = static_cast<float>(cy);
    return fx + e.rx + 0.5f < static_cast<float>(clip.left) ||
           fx - e.rx - 0.5f > static_cast<float>(clip.right) ||
           fy + e.ry + 0.5f < static_cast<float>(clip.top) ||
           fy - e.ry - 0.5f > static_cast<float>(clip.bottom);
}

} // namespace svc::raster
