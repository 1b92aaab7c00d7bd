// The tone queue and music-file playback behind play_macro, sound_tone, beep and
// play_sound_file. (Filled in by the sound work; this is the part the core needs.)
#pragma once

namespace svc {

class Services;

class SoundSystem {
public:
    explicit SoundSystem(Services& services);
    ~SoundSystem();
    // Window side, every events pass: starts the next queued buffer when the last one ended.
    void windowPass();

private:
    Services& s_;
};

} // namespace svc
