// Which pixels a line, an ellipse outline and a point set: rounding, clipping, the line
// walk and the thinned ellipse outline, emitting pixels to a callback.
#pragma once

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace svc::raster {

// The inclusive rectangle pixels may be written in (the whole screen in this game).
struct ClipRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

// Nearest integer, ties to even (2.5 -> 2, 3.5 -> 4, -0.5 -> 0): end points, corners and
// block positions. Independent of the floating-point rounding mode.
inline float round_even_f(float v)
{
    // Adding and taking away 1.5 * 2^23 leaves no fraction bits: the sum is rounded in the
    // default mode, to nearest with ties to even, exactly the rounding wanted.
    constexpr float kMagic = 12582912.0f;
    if (std::fabs(v) < 4194304.0f) {
        return (v + kMagic) - kMagic;
    }
    return std::nearbyint(v);
}

// Nearest integer, halves away from zero (2.5 -> 3, -2.5 -> -3): the line walk and the
// ellipse offsets. The caller keeps v well inside the int range.
inline int round_away(float v)
{
    return static_cast<int>(std::round(v));
}

// Rounds a coordinate (ties to even) into the 16-bit range the primitives accept.
// False for values that do not fit (and for NaN and infinities): the call then overflows.
bool to_coordinate(float v, int& out);

// A line between two whole-pixel end points, drawn from (x1, y1) to (x2, y2).
struct Segment {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
};

// Cuts the segment to the rectangle: the first end point is moved onto the edge it
// crosses, then the second along the line through the moved first one. False when no
// part of the line is drawn. End points must be 16-bit coordinates.
bool clip_segment(Segment& s, const ClipRect& clip);

// Walks the segment from its first end point, both ends included, calling plot(x, y).
// The minor coordinate is accumulated in single precision and rounded half away from
// zero, so A -> B may differ from B -> A by a pixel here and there. Every plotted pixel
// lies in the bounding box of the two end points.
template <class Plot> inline void walk_segment(const Segment& s, Plot&& plot)
{
    const int dx = s.x2 - s.x1;
    const int dy = s.y2 - s.y1;
    const int adx = std::abs(dx);
    const int ady = std::abs(dy);
    if (adx <= ady) {
        if (ady == 0) {
            plot(s.x1, s.y1);
            return;
        }
        const float step = static_cast<float>(dx) / static_cast<float>(ady);
        const int sy = dy > 0 ? 1 : -1;
        float x = static_cast<float>(s.x1);
        int y = s.y1;
        for (int i = 0; i <= ady; ++i) {
            plot(round_away(x), y);
            x += step;
            y += sy;
        }
    } else {
        const float step = static_cast<float>(dy) / static_cast<float>(adx);
        const int sx = dx > 0 ? 1 : -1;
        float y = static_cast<float>(s.y1);
        int x = s.x1;
        for (int i = 0; i <= adx; ++i) {
            plot(x, round_away(y));
            y += step;
            x += sx;
        }
    }
}

// A mode's default aspect (vertical over horizontal radius): 5/12 in mode 8, 1 in mode 12.
float default_aspect(int mode);

// The radii and the steps per quarter of an ellipse outline.
struct EllipseShape {
    float rx = 0;
    float ry = 0;
    int steps = 0; // per quarter: pi * |radius| / 2, rounded half up
};

// The shape of the outline of the given radius (its sign is ignored) in an aspect.
EllipseShape ellipse_shape(float radius, float aspect);

// True when the box around the outline centred at (cx, cy) misses the rectangle wholly.
bool ellipse_outside(int cx, int cy, const EllipseShape& e, const ClipRect& clip);

// Calls set(px, py) for the offsets of one quarter (angle 0 down to -pi/2, so py <= 0)
// that survive thinning: an offset within one pixel of the last one set only replaces
// the one pending, so the outline stays one pixel wide. The angle is carried from step
// to step by a rotation with the step's cosine and sine, in single precision.
template <class Set> inline void ellipse_offsets(const EllipseShape& e, Set&& set)
{
    struct Offset {
        int x;
        int y;
    };
    const int n = e.steps;
    const float delta = n > 0 ? std::numbers::pi_v<float> / 2.0f / static_cast<float>(n) : 0.0f;
    const float cd = std::cos(delta);
    const float sd = std::sin(delta);
    float c = 1.0f;
    float s = 0.0f;
    Offset last{round_away(e.rx * c), round_away(e.ry * s)};
    set(last.x, last.y);
    Offset pending = last;
    for (int i = 1; i <= n; ++i) {
        // theta -> theta - delta
        const float c2 = c * cd + s * sd;
        const float s2 = s * cd - c * sd;
        c = c2;
        s = s2;
        const Offset q{round_away(e.rx * c), round_away(e.ry * s)};
        if (std::abs(q.x - last.x) < 2 && std::abs(q.y - last.y) < 2) {
            pending = q;
        } else {
            set(pending.x, pending.y);
            last = pending;
            pending = q;
        }
    }
    set(pending.x, pending.y);
}

// Calls plot(x, y) for the four mirrors of every thinned offset around (cx, cy) that lie
// inside the rectangle. A pixel on an axis may be plotted more than once.
template <class Plot>
inline void ellipse_outline(int cx, int cy, const EllipseShape& e, const ClipRect& clip,
                            Plot&& plot)
{
    if (ellipse_outside(cx, cy, e, clip)) {
        return;
    }
    ellipse_offsets(e, [&](int px, int py) {
        const int xs[2] = {cx + px, cx - px};
        const int ys[2] = {cy + py, cy - py};
        for (int y : ys) {
            for (int x : xs) {
                if (clip.contains(x, y)) {
                    plot(x, y);
                }
            }
        }
    });
}

} // namespace svc::raster
