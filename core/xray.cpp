// The X-ray aid's running down: its ticks, the gauge's blocks and its end.
#include "core/xray.h"

#include <algorithm>

#include "core/sound_rule.h"
#include "services/common/strings.h"

namespace game {

bool CountXrayTick(PlayerState& p)
{
    ++p.xrayTicks;
    if (p.xrayTicks % 64 != 0) {
        return false;
    }
    ++p.xrayUsed;
    return true;
}

int PassesToXrayUnit(const PlayerState& p)
{
    return p.xrayOn != 0 ? 64 - p.xrayTicks % 64 : 0;
}

void CountSkippedXrayTicks(PlayerState& p, int calls)
{
    if (p.xrayOn != 0) {
        p.xrayTicks = static_cast<i16>(p.xrayTicks + calls);
    }
}

XrayGauge xray_gauge(svc::ErrorSink& errors, const PlayerState& p)
{
    // Both rounded half to even, so the two always make eight blocks.
    const int full = svc::round_to_int16(errors, (400.0 - p.xrayUsed) / 50.0);
    const int used = svc::round_to_int16(errors, p.xrayUsed / 50.0);
    return {std::max(full, 0), std::max(used, 0)};
}

bool EndSpentXrayAid(svc::Services& sv, GameState& st)
{
    PlayerState& p = st.player;
    if (p.xrayUsed <= 400) {
        return false;
    }
    p.xrayUsed = 0;
    p.xrayOn = 0;
    p.xrayTicks = 0;
    if (sound_card(st.sound)) {
        sv.play_sound_file("Firagx1.ogg", true);
    } else if (pc_speaker(st.sound)) {
        for (int f = 4000; f >= 500; f -= 500) {
            sv.sound_tone(f, 0.8);
        }
    }
    st.scan.facingDepth = kNearestDepth;
    return true;
}

} // namespace game
