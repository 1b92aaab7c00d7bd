// The key hanging on the facing wall: ring, shaft and bit, at fixed x around 300.
#include "view/view.h"

#include "view/frame.h"

namespace view {

void DrawKey(Services& sv, i16 depth)
{
    const float d = depth;
    sv.set_foreground(svc::kYellow);

    // Ring: three or four concentric ellipses, the outermost white. The counter is single
    // precision and meets its limit exactly (D/8 is exact in single precision).
    const float a = depth <= 99 ? 1.0f : 0.0f;
    const float ringLast = d / 8.0f + 4.0f - a;
    for (float r = d / 8.0f + 1.0f; r <= ringLast; r += 1.0f) {
        if (r == ringLast) {
            sv.set_foreground(svc::kWhite);
        }
        sv.draw_ellipse(300.0f - d / 10.0f, 100.0f, r);
    }

    sv.set_foreground(svc::kYellow);
    sv.draw_line(300.0f + d / 45.0f, 100.0f, 303.0f + d / 2.0f, 100.0f);
    if (depth >= 81) {
        sv.set_foreground(svc::kWhite);
        sv.draw_line(300.0f + d / 45.0f, 99.0f, 303.0f + d / 2.0f, 99.0f);
        sv.draw_line(300.0f + d / 45.0f, 101.0f, 303.0f + d / 2.0f, 101.0f);
    }

    int b = 0;
    if (depth >= 101) {
        b = 2;
    } else if (depth <= 79) {
        b = -2;
    } else if (depth == 80) {
        b = -1;
    }
    sv.set_foreground(svc::kYellow);
    const float tenth = d / 10.0f;
    const int first = loop_limit(sv, tenth + 1.0f);
    const int last = loop_limit(sv, tenth + 4.0f + static_cast<float>(b));
    for (int t = first; t <= last; ++t) {
        const float y = 100.0f + static_cast<float>(t) - tenth;
        sv.draw_line(305.0f + d / 4.0f, y, 302.0f + d / 2.0f, y);
    }
}

} // namespace view
