// The sound rule every game sound follows, unless it says otherwise: a music file on the sound
// card, a macro tune or tones on the PC speaker, and in silent mode a pause of the same length.
#pragma once

#include "core/state.h"

namespace game {

// Sound on, with the sound card chosen: music files.
inline bool sound_card(const SoundState& snd)
{
    return snd.silentMode == 0 && snd.soundMode == 1;
}

// Sound on, with the PC speaker chosen: macro tunes and tones.
inline bool pc_speaker(const SoundState& snd)
{
    return snd.silentMode == 0 && snd.soundMode == 0;
}

// Sound switched off on the title: pauses keep the timing.
inline bool silent(const SoundState& snd)
{
    return snd.silentMode == 1;
}

} // namespace game
