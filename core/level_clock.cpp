// The level clock's minute beat, tied to the wall clock's seconds.
#include "core/level_clock.h"

#include "services/common/number_text.h"
#include "services/common/strings.h"

namespace game {
namespace {

// The minute beat: counted once, on the first call inside a wall-clock second "00".
void minute_beat(GameState& st, const std::string& s)
{
    if (s == "00" && st.time.minuteState == MinuteState::Armed) {
        --st.level.minutesLeft;
        st.time.minuteState = MinuteState::Counted;
        st.level.secondsLeft = 60;
        st.time.dayPhase = static_cast<i16>(st.time.dayPhase + st.time.dayStep);
        ++st.time.minutesPlayed;
    }
}

} // namespace

void CountClockFull(svc::Services& sv, GameState& st)
{
    const std::string s = svc::right_part(sv.time_of_day(), 2);
    st.time.clockSeconds = s;
    st.level.secondsLeft = svc::round_to_int16(sv, 60 - svc::text_number(s));
    if (s != "00") {
        st.time.minuteState = MinuteState::Armed;
    }
    minute_beat(st, s);
}

void CountClockShort(svc::Services& sv, GameState& st)
{
    minute_beat(st, svc::right_part(sv.time_of_day(), 2));
}

} // namespace game
