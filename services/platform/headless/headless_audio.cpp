// The headless audio sink: records tone buffers and music files on virtual time, and
// checks music files with the Ogg Vorbis decoder so a bad file plays nothing.
#include "services/platform/headless/headless_audio.h"

#include <vorbis/vorbisfile.h>

namespace svc {

namespace {

// The length of a decodable Ogg Vorbis file in ms; negative when it cannot be decoded.
double ogg_length_ms(const std::string& path)
{
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) {
        return -1;
    }
    const double seconds = ov_time_total(&vf, -1);
    ov_clear(&vf);
    return seconds < 0 ? -1 : seconds * 1000.0;
}

} // namespace

bool HeadlessAudio::audio_open()
{
    open = deviceAvailable;
    return open;
}

void HeadlessAudio::tone_start(double nowMs, const std::int16_t* frames, std::size_t frameCount)
{
    tones.push_back({nowMs, std::vector<std::int16_t>(frames, frames + 2 * frameCount)});
}

bool HeadlessAudio::tone_playing(double nowMs) const
{
    return !tones.empty() && nowMs < tones.back().startMs + tones.back().duration_ms();
}

bool HeadlessAudio::play_file(double nowMs, const std::string& path, bool sample)
{
    File file{nowMs, path, sample, false};
    if (sample) {
        // The first slot whose file has finished (or that never held one).
        bool busy[kSampleSlots] = {};
        for (const File& f : files) {
            if (f.slot >= 0 && f.sounding_at(nowMs)) {
                busy[f.slot] = true;
            }
        }
        for (int i = 0; i < kSampleSlots && file.slot < 0; ++i) {
            if (!busy[i]) {
                file.slot = i;
            }
        }
        if (file.slot < 0) {
            files.push_back(file);
            return false;
        }
    } else {
        // The previous stream file is released first, even if the new one fails.
        for (File& f : files) {
            if (!f.sample && f.sounding_at(nowMs)) {
                f.endMs = nowMs;
            }
        }
    }
    const double length = ogg_length_ms(path);
    if (length >= 0) {
        file.started = true;
        file.durationMs = length;
        file.endMs = nowMs + length;
    } else {
        file.slot = -1;
    }
    files.push_back(file);
    return file.started;
}

} // namespace svc
