// The wall that closes the corridor and the objects on it: door, wall clock, key, X-ray eye.
#include <vector>

#include "core/items.h"
#include "view/view.h"

namespace view {
namespace {

// The X-ray eye's picture and corner by depth; none below 40 or between the steps.
struct EyePlacement {
    i16 depth;
    std::vector<std::int16_t> game::Pictures::*picture;
    int x, y;
};
// clang-format off
constexpr EyePlacement kEyes[] = {
    {40,  &game::Pictures::ocip,   295, 93},
    {60,  &game::Pictures::occhil, 290, 90},
    {80,  &game::Pictures::oc22,   280, 85},
    {100, &game::Pictures::ochig,  275, 82},
    {120, &game::Pictures::oc43,   260, 79},
    {140, &game::Pictures::occh43, 230, 76},
};
// clang-format on

const EyePlacement* eye_for(i16 depth)
{
    for (const EyePlacement& eye : kEyes) {
        if (eye.depth == depth) {
            return &eye;
        }
    }
    return nullptr;
}

} // namespace

bool DrawFacingWall(Services& sv, game::GameState& st)
{
    game::ScanState& s = st.scan;
    game::PlayerState& p = st.player;
    game::Pictures& pics = st.pictures;

    DrawFacingWallFace(sv, st);
    const bool nearest = s.depth == game::kNearestDepth; // the objects there take effect

    // The door opens as soon as it is shown right in front of a player holding a key.
    if (p.keyHeld == 1 && nearest && s.doorAhead == 1) {
        game::OpenDoor(sv, st);
        return false;
    }

    if (p.itemRoll == 10) {
        DrawWallClock(sv, s.depth, st.time.skyColour, st.view);
        if (nearest) {
            game::TakeWallClock(sv, st);
        }
    }

    if (s.keyAhead == 1 && p.xrayOn == 0) {
        sv.get_block(264, 90, 375, 120, game::words(pics.keyBackground));
        DrawKey(sv, s.depth);
        if (nearest) {
            game::TakeKey(sv, st);
        }
    }

    if (p.itemRoll < 3 && p.xrayOn == 0) {
        const EyePlacement* eye = eye_for(s.depth);
        if (eye != nullptr) {
            if (nearest) {
                sv.get_block(230, 76, 410, 150, game::words(pics.keyBackground));
            }
            sv.put_block(static_cast<float>(eye->x), static_cast<float>(eye->y),
                         game::words(pics.*eye->picture), svc::kPutOr);
            if (nearest) {
                game::TakeEye(sv, st);
            }
        }
    }
    return true;
}

} // namespace view
