// The libvorbisfile decoding loop.
#include "tools/assets/ogg_decoder.h"

#include <stdexcept>

#include <vorbis/vorbisfile.h>

namespace assets {

DecodedSound decode_ogg_vorbis(const std::filesystem::path& path)
{
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) {
        throw std::runtime_error(path.string() + ": not an Ogg Vorbis file");
    }
    DecodedSound d;
    const vorbis_info* info = ov_info(&vf, -1);
    d.rate = static_cast<int>(info->rate);
    d.channels = info->channels;
    for (;;) {
        float** pcm = nullptr;
        int section = 0;
        const long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n == 0) {
            break;
        }
        if (n < 0) {
            ov_clear(&vf);
            throw std::runtime_error(path.string() + ": damaged Vorbis stream");
        }
        for (long i = 0; i < n; ++i) {
            for (int c = 0; c < d.channels; ++c) {
                d.samples.push_back(pcm[c][i]);
            }
        }
    }
    ov_clear(&vf);
    return d;
}

} // namespace assets
