// Decoding of the game's Ogg Vorbis files back to samples, to measure what the game plays.
#pragma once

#include <filesystem>
#include <vector>

namespace assets {

struct DecodedSound {
    int rate = 0;
    int channels = 0;
    std::vector<float> samples; // interleaved, full scale 1.0, not clipped
};

// Decodes the whole file (libvorbisfile, floating point); std::runtime_error if it cannot
// be opened or its stream is damaged.
DecodedSound decode_ogg_vorbis(const std::filesystem::path& path);

} // namespace assets
