// The SDL_mixer side of the SDL platform: the output, the tone channel fed by the tone
// queue, the 256 sample slots and the music stream, released on the window thread.
#include "services/platform/sdl/sdl_platform.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <array>
#include <cstring>
#include <vector>

namespace svc {

namespace {

constexpr int kRate = 22050;
constexpr Uint16 kFormat = AUDIO_S16LSB;
constexpr int kChannels = 2;
constexpr int kChunkFrames = 1024;
constexpr int kSampleSlots = 256;
constexpr int kToneChannel = kSampleSlots; // the mixing channel after the 256 sample slots
// After this long with nothing sounding the output is paused, so that SDL's audio thread no
// longer mixes silence through every channel twenty times a second while the game waits.
constexpr double kQuietBeforePauseMs = 1000;

} // namespace

// What the mixer holds. A sample slot or the stream is non-null from the moment the game's
// thread started it until the window side saw it finished and released it; only the game's
// thread fills an empty one and only the window side empties a full one.
struct SdlPlatform::AudioState {
    enum : int { kRequested, kOpened, kFailed };
    std::atomic<int> openState{kRequested}; // the window thread answers the request
    bool open = false;
    int rate = kRate;
    Uint16 format = kFormat;
    int channels = kChannels;

    // Window side: the tone now (or last) playing, on our own copy of its frames.
    Mix_Chunk* toneChunk = nullptr;
    std::vector<Uint8> toneData;

    std::array<std::atomic<Mix_Chunk*>, kSampleSlots> samples{};
    std::atomic<Mix_Music*> music{nullptr};

    double soundedAtMs = 0; // window side: when something was last heard sounding
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

// Any thread, after a channel or the stream was started: the output sounds again. A pause
// decided before the start is undone here; one decided after it sees it sounding.
void resume_output()
{
    SDL_PauseAudio(0);
}

} // namespace

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
        resume_output();
    }
}

bool SdlPlatform::tone_playing()
{
    return audio_->toneChunk != nullptr && Mix_Playing(kToneChannel) != 0;
}

bool SdlPlatform::play_sample_file(const std::string& path)
{
    if (!audio_ || !audio_->open) {
        return false;
    }
    AudioState& a = *audio_;
    int slot = 0;
    while (slot < kSampleSlots && a.samples[slot].load(std::memory_order_acquire) != nullptr) {
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
    a.samples[slot].store(chunk, std::memory_order_release);
    resume_output();
    return true;
}

bool SdlPlatform::play_stream_file(const std::string& path)
{
    if (!audio_ || !audio_->open) {
        return false;
    }
    AudioState& a = *audio_;
    // The previous stream file goes first, stopping it if it still plays.
    if (Mix_Music* old = a.music.exchange(nullptr, std::memory_order_acq_rel)) {
        Mix_FreeMusic(old);
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
    a.music.store(music, std::memory_order_release);
    resume_output();
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
    pause_output_when_quiet(a);
    for (int slot = 0; slot < kSampleSlots; ++slot) {
        Mix_Chunk* chunk = a.samples[slot].load(std::memory_order_acquire);
        if (chunk != nullptr && Mix_Playing(slot) == 0) {
            Mix_FreeChunk(chunk);
            a.samples[slot].store(nullptr, std::memory_order_release);
        }
    }
    // The stream: released here unless the game's thread took it over meanwhile.
    Mix_Music* music = a.music.load(std::memory_order_acquire);
    if (music != nullptr && Mix_PlayingMusic() == 0 &&
        a.music.compare_exchange_strong(music, nullptr, std::memory_order_acq_rel)) {
        Mix_FreeMusic(music);
    }
}

void SdlPlatform::pause_output_when_quiet(AudioState& a)
{
    if (SDL_GetAudioStatus() != SDL_AUDIO_PLAYING) {
        return; // already resting: only a start wakes it, and nothing sounds meanwhile
    }
    // Locked, no channel or stream can start between the look and the pause.
    SDL_LockAudio();
    const double now = ticks_ms();
    if (Mix_Playing(-1) != 0 || Mix_PlayingMusic() != 0) {
        a.soundedAtMs = now;
    } else if (now - a.soundedAtMs >= kQuietBeforePauseMs) {
        SDL_PauseAudio(1);
    }
    SDL_UnlockAudio();
}

void SdlPlatform::close_audio()
{
    if (!audio_) {
        return;
    }
    AudioState& a = *audio_;
    if (a.open) {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        for (auto& slot : a.samples) {
            if (Mix_Chunk* chunk = slot.exchange(nullptr)) {
                Mix_FreeChunk(chunk);
            }
        }
        if (Mix_Music* music = a.music.exchange(nullptr)) {
            Mix_FreeMusic(music);
        }
        if (a.toneChunk != nullptr) {
            Mix_FreeChunk(a.toneChunk);
        }
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    audio_.reset();
}

} // namespace svc
