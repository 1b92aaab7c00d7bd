// The browser platform's sound: tone buffers and Ogg Vorbis files (decoded here with
// stb_vorbis, a piece at a time in the window passes) handed to the page's Web Audio.
// Whether a tone still sounds is told by the game's clock, so nothing the game does waits on
// the page's audio, which starts only at the player's first key or click.
#include <emscripten.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <list>
#include <memory>
#include <vector>

#include "services/platform/web/web_platform.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

// clang-format off
EM_JS(int, web_audio_exists, (), { return Muv.audioExists() ? 1 : 0; });
EM_JS(int, web_audio_running, (), { return Muv.audioRunning() ? 1 : 0; });
EM_JS(void, web_play_tone, (const std::int16_t* frames, int count), {
    Muv.playTone(HEAP16.slice(frames >> 1, (frames >> 1) + count * 2), count);
});
EM_JS(double, web_voice_ahead, (int voice), { return Muv.voiceAhead(voice); });
EM_JS(void, web_voice_feed, (int voice, const std::int16_t* pcm, int frames, int channels,
                             int rate), {
    Muv.voiceFeed(voice, HEAP16.slice(pcm >> 1, (pcm >> 1) + frames * channels), frames,
                  channels, rate);
});
EM_JS(void, web_voice_stop, (int voice), { Muv.voiceStop(voice); });
// With the fixed clock the page notes every tone and file the game starts, for a test.
EM_JS(void, web_note_tone, (double ms, const std::int16_t* frames, int count), {
    Muv.noteTone(ms, HEAP16.subarray(frames >> 1, (frames >> 1) + count * 2));
});
EM_JS(void, web_note_file, (double ms, const char* path, int sample, int started), {
    Muv.noteFile(ms, UTF8ToString(path), sample, started);
});
// clang-format on

namespace svc {

namespace {

constexpr double kRate = 22050;
// How much decoded sound the page holds ahead of what it plays, and the piece decoded at a
// time (a window pass decodes at most one piece of each file).
constexpr double kAheadSeconds = 1.5;
constexpr int kPieceFrames = 8192;

struct StbClose {
    void operator()(stb_vorbis* v) const { stb_vorbis_close(v); }
};

// One music file on its way to the page: its bytes, the decoder over them, and the voice
// the page plays it on.
struct Decoding {
    std::vector<unsigned char> bytes;
    std::unique_ptr<stb_vorbis, StbClose> vorbis;
    int voice = 0;
    bool stream = false;
    double startMs = 0; // when the game started it, on the game's clock
    bool begun = false; // the page has had its first piece
};

// Opens an Ogg Vorbis file for decoding; false when it cannot be read or is no such file.
bool open_decoding(const std::string& path, Decoding& d)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    d.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    int error = 0;
    d.vorbis.reset(
        stb_vorbis_open_memory(d.bytes.data(), static_cast<int>(d.bytes.size()), &error, nullptr));
    return d.vorbis != nullptr;
}

// Hands the page the next piece of d when it runs short; false once the file is done.
bool feed(Decoding& d, double nowMs)
{
    const stb_vorbis_info info = stb_vorbis_get_info(d.vorbis.get());
    if (!d.begun) {
        d.begun = true;
        // Audio that starts late (the player's first key came after the music began) picks
        // the stream up where the game's clock says it is by now.
        const double lateMs = nowMs - d.startMs;
        if (d.stream && lateMs > 100) {
            const auto frame = static_cast<unsigned>(lateMs / 1000.0 * info.sample_rate);
            if (frame >= stb_vorbis_stream_length_in_samples(d.vorbis.get()) ||
                stb_vorbis_seek(d.vorbis.get(), frame) == 0) {
                return false;
            }
        }
    }
    if (web_voice_ahead(d.voice) >= kAheadSeconds) {
        return true;
    }
    std::vector<short> pcm(static_cast<std::size_t>(kPieceFrames) * info.channels);
    const int frames = stb_vorbis_get_samples_short_interleaved(
        d.vorbis.get(), info.channels, pcm.data(), static_cast<int>(pcm.size()));
    if (frames <= 0) {
        return false;
    }
    web_voice_feed(d.voice, pcm.data(), frames, info.channels, static_cast<int>(info.sample_rate));
    return true;
}

} // namespace

// The files on their way to the page, and the page's voices for them.
struct WebPlatform::AudioState {
    std::list<Decoding> decodings;
    int nextVoice = 1;
    int streamVoice = 0; // the voice of the last stream started (0: none)
};

WebPlatform::AudioState* WebPlatform::make_audio_state()
{
    return new AudioState;
}

void WebPlatform::AudioStateDeleter::operator()(AudioState* a) const
{
    delete a;
}

bool WebPlatform::audio_open()
{
    return web_audio_exists() != 0;
}

void WebPlatform::tone_start(const std::int16_t* frames, std::size_t frameCount)
{
    if (clock_.fixed) {
        web_note_tone(ticks_ms(), frames, static_cast<int>(frameCount));
    }
    toneEndMs_ = ticks_ms() + static_cast<double>(frameCount) * 1000.0 / kRate;
    if (frameCount > 0 && web_audio_running() != 0) {
        web_play_tone(frames, static_cast<int>(frameCount));
    }
}

bool WebPlatform::tone_playing()
{
    return ticks_ms() < toneEndMs_;
}

bool WebPlatform::play_sample_file(const std::string& path)
{
    const bool started = start_sample(path);
    if (clock_.fixed) {
        web_note_file(ticks_ms(), path.c_str(), 1, started ? 1 : 0);
    }
    return started;
}

bool WebPlatform::play_stream_file(const std::string& path)
{
    const bool started = start_stream(path);
    if (clock_.fixed) {
        web_note_file(ticks_ms(), path.c_str(), 0, started ? 1 : 0);
    }
    return started;
}

bool WebPlatform::start_sample(const std::string& path)
{
    const double now = ticks_ms();
    // The first slot whose file has finished (or that never held one).
    int slot = 0;
    while (slot < kSampleSlots && now < sampleEndMs_[slot]) {
        ++slot;
    }
    if (slot == kSampleSlots) {
        return false;
    }
    Decoding d;
    if (!open_decoding(path, d)) {
        return false;
    }
    const stb_vorbis_info info = stb_vorbis_get_info(d.vorbis.get());
    sampleEndMs_[slot] =
        now + stb_vorbis_stream_length_in_samples(d.vorbis.get()) * 1000.0 / info.sample_rate;
    if (web_audio_running() == 0) {
        return true; // no sound yet: the sample passes unheard
    }
    d.voice = audio_->nextVoice++;
    d.startMs = now;
    audio_->decodings.push_back(std::move(d));
    return true;
}

bool WebPlatform::start_stream(const std::string& path)
{
    // The previous stream goes first, even if the new one fails.
    auto& list = audio_->decodings;
    list.remove_if([](const Decoding& d) { return d.stream; });
    if (audio_->streamVoice != 0) {
        web_voice_stop(audio_->streamVoice);
        audio_->streamVoice = 0;
    }
    Decoding d;
    if (!open_decoding(path, d)) {
        return false;
    }
    d.stream = true;
    d.voice = audio_->streamVoice = audio_->nextVoice++;
    d.startMs = ticks_ms();
    list.push_back(std::move(d));
    return true;
}

void WebPlatform::audio_pass()
{
    if (web_audio_running() == 0) {
        return;
    }
    auto& list = audio_->decodings;
    const double now = ticks_ms();
    for (auto it = list.begin(); it != list.end();) {
        it = feed(*it, now) ? std::next(it) : list.erase(it);
    }
}

bool WebPlatform::feeding_sound() const
{
    return !audio_->decodings.empty();
}

} // namespace svc
