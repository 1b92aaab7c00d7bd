// The level menu on the title screen: a new game or the saved level.
#include "screens/level_menu.h"

#include <string>

#include "core/print_at.h"
#include "core/saved_level.h"
#include "services/common/strings.h"

namespace screens {

void LevelMenu(svc::Services& sv, game::GameState& st)
{
    sv.set_foreground(svc::kLightGreen);
    game::print_at(
        sv, 18, 3,
        {svc::spaces(sv, 17), "< >=Nuova Partita    < >=Livello Salvato", svc::spaces(sv, 19)});
    sv.set_foreground(svc::kWhite);
    game::print_at(sv, 18, 21, {"N"});
    game::print_at(sv, 18, 42, {"L"});

    st.player.keyTaken = 0;
    sv.sound_tone(3000, 0.3);

    for (;;) {
        const std::string key = svc::lower_case(sv.wait_keys(1));
        if (key == "n") {
            st.level.levelNumber = 1; // the read cursor stays at the start: level 1
            return;
        }
        if (key == "l") {
            game::ResumeSavedLevel(sv, st.level);
            return;
        }
    }
}

} // namespace screens
