// Developer tool: renders music-macro strings and sound_tone calls to a WAV file, so the
// game's tunes can be listened to.
//
//   macro_to_wav OUT.wav ITEM...
//
// Each ITEM is a macro string (the settings carry over from one to the next, as in the
// game) or "tone:FREQUENCY:TICKS" for a sound_tone call. Example:
//   macro_to_wav title.wav L16cegcegcegc tone:4000:0.8 tone:3500:0.8 P60
#include <cstdio>
#include <cstdlib>
#include <string>

#include <sndfile.h>

#include "services/audio/macro.h"
#include "services/audio/tone_synth.h"

namespace {

// The tone queue's own format: 16-bit stereo at the tone rate.
bool write_wav(const std::string& path, const svc::SoundBuffer& sound)
{
    SF_INFO info{};
    info.samplerate = svc::kToneRate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        return false;
    }
    const auto frames = static_cast<sf_count_t>(sound.frames());
    const bool written = sf_writef_short(file, sound.samples.data(), frames) == frames;
    return sf_close(file) == 0 && written;
}

// "tone:F:TICKS" -> a sound_tone buffer; false if the item is not of that form or is out
// of the range the game's sound_tone accepts.
bool parse_tone(const std::string& item, svc::SoundBuffer& out, bool& isTone)
{
    isTone = item.rfind("tone:", 0) == 0;
    if (!isTone) {
        return true;
    }
    char* end = nullptr;
    const double f = std::strtod(item.c_str() + 5, &end);
    if (*end != ':') {
        return false;
    }
    const double ticks = std::strtod(end + 1, &end);
    if (*end != '\0' || !svc::tone_arguments_ok(f, ticks)) {
        return false;
    }
    if (ticks > 0) {
        svc::append_tone(out, f, ticks / svc::kTicksPerSecond, 1.0);
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUT.wav (MACRO | tone:FREQUENCY:TICKS)...\n", argv[0]);
        return 2;
    }
    svc::MacroState state;
    svc::SoundBuffer all;
    for (int i = 2; i < argc; ++i) {
        const std::string item = argv[i];
        bool isTone = false;
        if (!parse_tone(item, all, isTone)) {
            std::fprintf(stderr, "%s: bad tone (error 5): %s\n", argv[0], item.c_str());
            return 1;
        }
        if (isTone) {
            continue;
        }
        const std::optional<svc::SoundBuffer> tune = svc::synth_macro(item, state);
        if (!tune) {
            std::fprintf(stderr, "%s: bad macro string (error 5): %s\n", argv[0], item.c_str());
            return 1;
        }
        all.samples.insert(all.samples.end(), tune->samples.begin(), tune->samples.end());
        std::printf("%-32s %8zu frames  %.4f s\n", item.c_str(), tune->frames(), tune->seconds());
    }
    if (!write_wav(argv[1], all)) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    std::printf("%s: %zu frames, %.3f s at %d Hz\n", argv[1], all.frames(), all.seconds(),
                svc::kToneRate);
    return 0;
}
