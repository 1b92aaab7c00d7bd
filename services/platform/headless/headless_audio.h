// The headless platform's audio sink: records every queued buffer and started file with
// its virtual start time, so tests check sound content and timing without waiting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace svc {

class HeadlessAudio {
  public:
    struct Tone {
        double startMs;                   // virtual time the buffer started
        std::vector<std::int16_t> frames; // interleaved stereo
        double duration_ms() const { return frames.size() / 2 * 1000.0 / 22050.0; }
    };
    struct File {
        double startMs;
        std::string path;
        bool sample;           // true: a sample slot; false: the music stream
        bool started;          // false when the file could not be opened or decoded
        int slot = -1;         // the sample slot it took (-1: the stream, or none free)
        double durationMs = 0; // the decoded file's length
        double endMs = 0;      // when it stopped: its end, or when the next stream cut it off
        // True while it sounds at virtual time t.
        bool sounding_at(double t) const { return started && t >= startMs && t < endMs; }
    };
    static constexpr int kSampleSlots = 256;

    bool open = false;
    bool deviceAvailable = true; // tests set false to simulate a machine without sound
    std::vector<Tone> tones;
    std::vector<File> files;

    bool audio_open();
    void tone_start(double nowMs, const std::int16_t* frames, std::size_t frameCount);
    bool tone_playing(double nowMs) const;
    bool play_file(double nowMs, const std::string& path, bool sample);
};

} // namespace svc
