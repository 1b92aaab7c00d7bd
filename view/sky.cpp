// The sky of every frame (moon, clouds, sun) and the stars at night.
#include "view/sky.h"

#include <vector>

#include "core/sky.h"

namespace view {
namespace {

using game::i16;

// Nine outline circles of radius 1 to 9: a filled disc.
void draw_disc(svc::Services& sv, float x, float y)
{
    for (int r = 1; r <= 9; ++r) {
        sv.draw_ellipse(x, y, static_cast<float>(r));
    }
}

} // namespace

void DrawSky(svc::Services& sv, game::GameState& st)
{
    game::TimeState& t = st.time;
    const float phase = t.dayPhase;
    switch (st.player.heading) {
    case 1: {
        // West: the moon, then a disc in the sky's colour a little off centre leaves a crescent.
        sv.set_colours(t.moonColour, t.skyColour);
        draw_disc(sv, 200, 90 - phase);
        sv.set_colours(t.skyColour, t.skyColour);
        draw_disc(sv, static_cast<float>(195 + t.moonOffsetX),
                  static_cast<float>(85 + t.moonOffsetY) - phase);
        break;
    }
    case 2: {
        // South: a row of clouds, the evening cloud and the wider night spacing by night.
        const bool night = game::night(t);
        const int step = night ? t.nightSpacing : t.daySpacing;
        const int end = night ? 470 : 370;
        std::vector<std::int16_t>& picture =
            night ? st.pictures.cloudEvening : st.pictures.cloudDay;
        if (step <= 0) {
            break; // the tables are filled at every level start; never met in play
        }
        for (int x = 80; x <= end; x += step) {
            t.cloudIndex = static_cast<i16>(t.cloudIndex >= 40 ? 1 : t.cloudIndex + 1);
            sv.put_block(static_cast<float>(x), t.cloudY[t.cloudIndex], game::words(picture),
                         svc::kPutOr);
        }
        t.cloudIndex = 0;
        break;
    }
    case 3:
        // East: the sun sinks as the day phase grows.
        sv.set_colours(t.sunColour, t.skyColour);
        draw_disc(sv, 200, phase + 5);
        break;
    default:
        break; // north: the seagulls' sky, nothing drawn here
    }
}

void DrawStars(svc::Services& sv, game::GameState& st)
{
    game::TimeState& t = st.time;
    if (!game::night(t)) {
        return;
    }
    sv.set_colours(svc::kLightGrey, svc::kBlack);
    const int h = st.player.heading & 3;
    for (int i = 1; i <= 45; ++i) {
        sv.draw_point(t.starX[i][h], t.starY[i][h]);
    }
}

} // namespace view
