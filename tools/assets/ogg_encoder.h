// Ogg Vorbis encoding of the synthesised music (libvorbisenc), byte-for-byte repeatable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assets {

// Encodes interleaved stereo samples (-1..1) at `rate` Hz with the given Vorbis quality
// (-0.1 .. 1). The stream's serial number comes from `name`, so the same samples and
// name always give the same bytes. Throws std::runtime_error if the encoder refuses.
std::vector<std::uint8_t> encode_ogg_vorbis(const std::vector<float>& samples, int rate,
                                            float quality, const std::string& name);

} // namespace assets
