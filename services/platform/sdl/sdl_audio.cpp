// The SDL_mixer side of the SDL platform: the output, the tone channel fed by the tone
// queue, the 256 sample slots and the music stream, released on the window thread. The
// output is closed while nothing sounds and opened again by the next start.
#include "services/platform/sdl/sdl_platform.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <array>
#include <cstring>
#include <mutex>
#include <vector>

namespace svc {

namespace {

constexpr int kRate = 22050;
constexpr Uint16 kFormat = AUDIO_S16LSB;
constexpr int kChannels = 2;
constexpr int kChunkFrames = 1024;
constexpr int kSampleSlots = 256;
constexpr int kToneChannel = kSampleSlots; // the mixing channel after the 256 sample slots
// After this long with nothing sounding the output is closed: even paused, SDL's audio
// thread would go on waking for every buffer of silence while the game waits.
constexpr double kQuietBeforeRestMs = 1000;

} // namespace

// What the mixer holds. A sample slot or the stream is non-null from the moment the game's
// thread started it until the window side saw it finished and released it; only the game's
// thread fills an empty one and only the window side empties a full one, both under `lock`.
struct SdlPlatform::AudioState {
    enum : int { kRequested, kOpened, kFailed };
    std::atomic<int> openState{kRequested}; // the window thread answers the request
    bool open = false;                      // the first opening succeeded: the game has sound
    int rate = kRate;
    Uint16 format = kFormat;
    int channels = kChannels;

    // Held by whoever starts a sound, releases a finished one or closes the resting output
    // (the tone on the window thread, a sample or the stream on the game's thread), so that
    // no start meets a closing mixer. The window side only tries it: it never waits on a
    // decoding file.
    std::mutex lock;
    bool resting = false; // closed while quiet; the next start opens it again

    // Window side: the tone now (or last) playing, on our own copy of its frames.
    Mix_Chunk* toneChunk = nullptr;
    std::vector<Uint8> toneData;

    std::array<Mix_Chunk*, kSampleSlots> samples{};
    Mix_Music* music = nullptr;

    double soundedAtMs = 0; // when something was last started or heard sounding
};

void SdlPlatform::AudioStateDeleter::operator()(AudioState* a) const
{
    delete a;
}

namespace {

// Opens the output; on the thread that set SDL up, as SDL wants.
bool open_output(int& rate, Uint16& format, int& channels)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    if (Mix_OpenAudio(kRate, kFormat, kChannels, kChunkFrames) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(kSampleSlots + 1);
    Mix_QuerySpec(&rate, &format, &channels);
    return true;
}

} // namespace

// Any thread, with the lock held, before a start: a resting output opens again. The mixer
// comes back in the format it had, so the samples already decoded still fit it.
bool SdlPlatform::wake_output(AudioState& a)
{
    a.soundedAtMs = ticks_ms();
    if (!a.resting) {
        return true;
    }
    if (Mix_OpenAudio(kRate, kFormat, kChannels, kChunkFrames) != 0) {
        return false; // the sound is lost, the game goes on
    }
    Mix_AllocateChannels(kSampleSlots + 1);
    Mix_QuerySpec(&a.rate, &a.format, &a.channels);
    a.resting = false;
    return true;
}

bool SdlPlatform::audio_open()
{
    if (audio_) {
        return audio_->open;
    }
    audio_.reset(new AudioState);
    AudioState& a = *audio_;
    if (!started_.load()) {
        a.open = open_output(a.rate, a.format, a.channels);
        a.openState.store(a.open ? AudioState::kOpened : AudioState::kFailed);
        audioMade_.store(true, std::memory_order_release);
        return a.open;
    }
    // The window thread opens it at its next pass; the game's thread waits for that.
    audioMade_.store(true, std::memory_order_release);
    while (a.openState.load(std::memory_order_acquire) == AudioState::kRequested) {
        SDL_Delay(1);
    }
    return a.open;
}

void SdlPlatform::tone_start(const std::int16_t* frames, std::size_t frameCount)
{
    AudioState& a = *audio_;
    const std::lock_guard<std::mutex> held(a.lock);
    if (!wake_output(a)) {
        return;
    }
    if (a.toneChunk != nullptr) {
        Mix_FreeChunk(a.toneChunk); // the chunk only: its frames are toneData
        a.toneChunk = nullptr;
    }
    const std::size_t bytes = frameCount * kChannels * sizeof(std::int16_t);
    if (bytes == 0) {
        return;
    }
    Uint32 length = static_cast<Uint32>(bytes);
    if (a.rate == kRate && a.format == kFormat && a.channels == kChannels) {
        a.toneData.resize(bytes);
        std::memcpy(a.toneData.data(), frames, bytes);
    } else {
        // The device took another format: convert our 22 050 Hz stereo frames to it.
        SDL_AudioCVT cvt;
        if (SDL_BuildAudioCVT(&cvt, kFormat, kChannels, kRate, a.format,
                              static_cast<Uint8>(a.channels), a.rate) < 0) {
            return;
        }
        a.toneData.assign(bytes * static_cast<std::size_t>(cvt.len_mult), 0);
        std::memcpy(a.toneData.data(), frames, bytes);
        cvt.buf = a.toneData.data();
        cvt.len = static_cast<int>(bytes);
        if (SDL_ConvertAudio(&cvt) != 0) {
            return;
        }
        length = static_cast<Uint32>(cvt.len_cvt);
    }
    a.toneChunk = Mix_QuickLoad_RAW(a.toneData.data(), length);
    if (a.toneChunk != nullptr) {
        Mix_PlayChannel(kToneChannel, a.toneChunk, 0);
    }
}

bool SdlPlatform::tone_playing()
{
    AudioState& a = *audio_;
    const std::lock_guard<std::mutex> held(a.lock);
    return a.toneChunk != nullptr && Mix_Playing(kToneChannel) != 0;
}

bool SdlPlatform::play_sample_file(const std::string& path)
{
    if (!audio_ || !audio_->open) {
        return false;
    }
    AudioState& a = *audio_;
    const std::lock_guard<std::mutex> held(a.lock);
    if (!wake_output(a)) {
        return false;
    }
    int slot = 0;
    while (slot < kSampleSlots && a.samples[slot] != nullptr) {
        ++slot;
    }
    if (slot == kSampleSlots) {
        return false; // all slots busy: nothing happens
    }
    SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    Mix_Chunk* chunk = Mix_LoadWAV_RW(file, 1); // the whole file, decoded
    if (chunk == nullptr) {
        return false;
    }
    Mix_VolumeChunk(chunk, MIX_MAX_VOLUME);
    Mix_Volume(slot, MIX_MAX_VOLUME);
    if (Mix_PlayChannel(slot, chunk, 0) < 0) {
        Mix_FreeChunk(chunk);
        return false;
    }
    a.samples[slot] = chunk;
    return true;
}

bool SdlPlatform::play_stream_file(const std::string& path)
{
    if (!audio_ || !audio_->open) {
        return false;
    }
    AudioState& a = *audio_;
    const std::lock_guard<std::mutex> held(a.lock);
    if (!wake_output(a)) {
        return false;
    }
    // The previous stream file goes first, stopping it if it still plays.
    if (a.music != nullptr) {
        Mix_FreeMusic(a.music);
        a.music = nullptr;
    }
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    if (music == nullptr) {
        return false;
    }
    Mix_VolumeMusic(MIX_MAX_VOLUME);
    if (Mix_PlayMusic(music, 0) != 0) {
        Mix_FreeMusic(music);
        return false;
    }
    a.music = music;
    return true;
}

void SdlPlatform::audio_pass()
{
    if (!audioMade_.load(std::memory_order_acquire)) {
        return;
    }
    AudioState& a = *audio_;
    if (a.openState.load(std::memory_order_relaxed) == AudioState::kRequested) {
        a.open = open_output(a.rate, a.format, a.channels);
        a.openState.store(a.open ? AudioState::kOpened : AudioState::kFailed,
                          std::memory_order_release);
        a.soundedAtMs = ticks_ms();
        return;
    }
    if (!a.open) {
        return;
    }
    // A start under way on the game's thread: its slot is looked at next pass.
    const std::unique_lock<std::mutex> held(a.lock, std::try_to_lock);
    if (!held.owns_lock() || a.resting) {
        return; // a resting output has nothing left to release
    }
    for (int slot = 0; slot < kSampleSlots; ++slot) {
        if (a.samples[slot] != nullptr && Mix_Playing(slot) == 0) {
            Mix_FreeChunk(a.samples[slot]);
            a.samples[slot] = nullptr;
        }
    }
    if (a.music != nullptr && Mix_PlayingMusic() == 0) {
        Mix_FreeMusic(a.music);
        a.music = nullptr;
    }
    rest_output_when_quiet(a);
}

void SdlPlatform::rest_output_when_quiet(AudioState& a)
{
    const double now = ticks_ms();
    if (Mix_Playing(-1) != 0 || Mix_PlayingMusic() != 0) {
        a.soundedAtMs = now;
        return;
    }
    if (now - a.soundedAtMs < kQuietBeforeRestMs) {
        return;
    }
    // Every sample and the stream have been released above; the tone has ended.
    if (a.toneChunk != nullptr) {
        Mix_FreeChunk(a.toneChunk);
        a.toneChunk = nullptr;
    }
    Mix_CloseAudio();
    a.resting = true;
}

void SdlPlatform::close_audio()
{
    if (!audio_) {
        return;
    }
    AudioState& a = *audio_;
    {
        const std::lock_guard<std::mutex> held(a.lock);
        if (a.open && !a.resting) {
            Mix_HaltChannel(-1);
            Mix_HaltMusic();
            for (Mix_Chunk* chunk : a.samples) {
                if (chunk != nullptr) {
                    Mix_FreeChunk(chunk);
                }
            }
            if (a.music != nullptr) {
                Mix_FreeMusic(a.music);
            }
            if (a.toneChunk != nullptr) {
                Mix_FreeChunk(a.toneChunk);
            }
            Mix_CloseAudio();
        }
        if (a.open) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
    }
    audio_.reset();
}

} // namespace svc
