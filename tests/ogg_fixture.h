// Test fixture: a short Ogg Vorbis sine tone for the music-file tests, made by the asset
// generator's own encoder.
#pragma once

#include <cmath>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "tools/assets/ogg_encoder.h"

namespace sound_fixture {

// Writes `seconds` of a 22 050 Hz stereo sine tone to path; false on failure.
inline bool write_test_ogg(const std::string& path, double seconds, double frequency_hz = 440)
{
    std::vector<float> samples(2 * static_cast<std::size_t>(seconds * 22050));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = 0.5f * static_cast<float>(std::sin(2 * std::numbers::pi * frequency_hz *
                                                        static_cast<double>(i / 2) / 22050));
    }
    const std::vector<std::uint8_t> bytes = assets::encode_ogg_vorbis(samples, 22050, 0.3f, path);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace sound_fixture
