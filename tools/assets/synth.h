// Turns a parsed song into stereo samples with simple oscillator voices.
#pragma once

#include <vector>

#include "tools/assets/music_source.h"

namespace assets {

// Interleaved left/right samples at `rate` Hz, at the level the voices' volumes give (not
// yet brought to the file's loudness), without offset and with a short fade at the end.
// Deterministic: the same song gives the same samples.
std::vector<float> render_song(const Song& song, int rate);

} // namespace assets
