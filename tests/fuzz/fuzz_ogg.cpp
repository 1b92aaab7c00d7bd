// Fuzz target: a damaged ".ogg" is probed and decoded the way the music player opens one;
// the decoder either refuses it or gives bounded audio, and never faults.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include <vorbis/vorbisfile.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The bytes as a file in memory, read and sought through the C library like one on disk.
    FILE* file = size == 0 ? nullptr : ::fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (file == nullptr) {
        return 0;
    }
    OggVorbis_File vf;
    if (ov_open(file, &vf, nullptr, 0) != 0) {
        std::fclose(file); // a refused file stays the caller's
        return 0;          // refused: the player ignores the file
    }
    // The length the player asks for, then the whole decode a sample slot would hold.
    (void)ov_time_total(&vf, -1);
    const vorbis_info* info = ov_info(&vf, -1);
    if (info != nullptr && (info->channels < 1 || info->channels > 255)) {
        __builtin_trap();
    }
    char pcm[4096];
    int section = 0;
    for (long budget = 1L << 24; budget > 0;) {
        const long got = ov_read(&vf, pcm, sizeof pcm, 0, 2, 1, &section);
        if (got == 0) {
            break;
        }
        if (got < 0) {
            if (got != OV_HOLE && got != OV_EBADLINK && got != OV_EINVAL) {
                __builtin_trap();
            }
            budget -= 4096; // a hole is skipped; a file of nothing else still ends
            continue;
        }
        if (got > static_cast<long>(sizeof pcm)) {
            __builtin_trap();
        }
        budget -= got;
    }
    ov_clear(&vf);
    return 0;
}
