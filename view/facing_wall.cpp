// The wall that closes the corridor and the objects on it: door, wall clock, key, X-ray eye.
#include <vector>

#include "game/core/items.h"
#include "view/view.h"

namespace view {
namespace {

// The X-ray eye's picture and corner for a depth; none below 40 or between the steps.
struct EyePlacement {
    std::vector<std::int16_t>* picture = nullptr;
    int x = 0, y = 0;
};

EyePlacement eye_for(game::Pictures& pics, i16 depth)
{
    switch (depth) {
    case 40:
        return {&pics.ocip, 295, 93};
    case 60:
        return {&pics.occhil, 290, 90};
    case 80:
        return {&pics.oc22, 280, 85};
    case 100:
        return {&pics.ochig, 275, 82};
    case 120:
        return {&pics.oc43, 260, 79};
    case 140:
        return {&pics.occh43, 230, 76};
    default:
        return {};
    }
}

} // namespace

bool DrawFacingWall(Services& sv, game::GameState& st)
{
    game::ScanState& s = st.scan;
    game::PlayerState& p = st.player;
    game::Pictures& pics = st.pictures;

    DrawFacingWallFace(sv, st);

    // The door opens as soon as it is shown right in front of a player holding a key.
    if (p.keyHeld == 1 && s.depth == 140 && s.doorAhead == 1) {
        game::OpenDoor(sv, st);
        return false;
    }

    if (p.itemRoll == 10) {
        DrawWallClock(sv, s.depth, st.time.skyColour, st.view.viewSpread, st.view.viewShiftX);
        if (s.depth == 140) {
            game::TakeWallClock(sv, st);
        }
    }

    if (s.keyAhead == 1 && p.xrayOn == 0) {
        sv.get_block(264, 90, 375, 120, game::words(pics.keyBackground));
        DrawKey(sv, s.depth);
        if (s.depth == 140) {
            game::TakeKey(sv, st);
        }
    }

    if (p.itemRoll < 3 && p.xrayOn == 0) {
        const EyePlacement eye = eye_for(pics, s.depth);
        if (eye.picture != nullptr) {
            if (s.depth == 140) {
                sv.get_block(230, 76, 410, 150, game::words(pics.keyBackground));
            }
            sv.put_block(static_cast<float>(eye.x), static_cast<float>(eye.y),
                         game::words(*eye.picture), 4);
            if (s.depth == 140) {
                game::TakeEye(sv, st);
            }
        }
    }
    return true;
}

} // namespace view
