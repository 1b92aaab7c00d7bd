// Fuzz target: a damaged ".ogg" is probed and decoded the way the music player opens one;
// the decoder either refuses it or gives bounded audio, and never faults.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include <vorbis/vorbisfile.h>

namespace {

struct Memory {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at;
};

std::size_t read_memory(void* out, std::size_t size, std::size_t count, void* source)
{
    auto* m = static_cast<Memory*>(source);
    std::size_t n = size * count;
    if (n > m->size - m->at) {
        n = m->size - m->at;
    }
    std::memcpy(out, m->data + m->at, n);
    m->at += n;
    return size == 0 ? 0 : n / size;
}

int seek_memory(void* source, ogg_int64_t offset, int whence)
{
    auto* m = static_cast<Memory*>(source);
    ogg_int64_t base = 0;
    if (whence == SEEK_CUR) {
        base = static_cast<ogg_int64_t>(m->at);
    } else if (whence == SEEK_END) {
        base = static_cast<ogg_int64_t>(m->size);
    }
    const ogg_int64_t to = base + offset;
    if (to < 0 || to > static_cast<ogg_int64_t>(m->size)) {
        return -1;
    }
    m->at = static_cast<std::size_t>(to);
    return 0;
}

long tell_memory(void* source)
{
    return static_cast<long>(static_cast<Memory*>(source)->at);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Memory m{data, size, 0};
    const ov_callbacks callbacks{read_memory, seek_memory, nullptr, tell_memory};
    OggVorbis_File vf;
    if (ov_open_callbacks(&m, &vf, nullptr, 0, callbacks) != 0) {
        ov_clear(&vf);
        return 0; // refused: the player ignores the file
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
