// Developer tool: renders music sources to WAV files for listening, exactly as the game's
// ".ogg" files are made but without the lossy encoding.
//
//   mus_to_wav SOURCE.mus OUT.wav
//
// One of the game's fourteen sources comes out at the level of its kind (music, dusk and
// dawn, effect); any other source at the level of the music.
#include <cstdio>
#include <exception>
#include <string>

#include <sndfile.h>

#include "tools/assets/game_files.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: mus_to_wav SOURCE.mus OUT.wav\n");
        return 2;
    }
    try {
        const std::vector<float> samples = assets::music_samples(argv[1]);
        SF_INFO info{};
        info.samplerate = assets::kMusicRate;
        info.channels = 2;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        SNDFILE* out = sf_open(argv[2], SFM_WRITE, &info);
        if (out == nullptr) {
            std::fprintf(stderr, "mus_to_wav: %s: %s\n", argv[2], sf_strerror(nullptr));
            return 1;
        }
        const auto frames = static_cast<sf_count_t>(samples.size() / 2);
        const bool ok = sf_writef_float(out, samples.data(), frames) == frames;
        return sf_close(out) == 0 && ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mus_to_wav: %s\n", e.what());
        return 1;
    }
}
