// The music-macro notation: its lasting settings, the parser and the tune it makes.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "services/audio/tone_synth.h"

namespace svc {

// The settings a macro string leaves behind for the next one. Starts with these defaults
// when the program starts and is never reset; a malformed string leaves it unchanged.
struct MacroState {
    int tempo = 120;             // quarter notes per minute, 32..255
    int length = 4;              // default note value (1 whole, 4 quarter ...), 1..64
    int octave = 4;              // 0..6
    int volume = 50;             // 0..100
    double articulation = 0.125; // silent fraction at the end of each note
    bool foreground = true;      // false: play_macro returns without waiting

    bool operator==(const MacroState&) const = default;
};

// One note or pause of a parsed string.
struct MacroNote {
    double frequencyHz = 0;     // 0 for a pause
    double soundS = 0;          // sounding part (0 for a pause)
    double silenceS = 0;        // silent part after it
    double volume = 0;          // 0..1
    bool chordWithNext = false; // the next note starts together with this one
};

// Parses a whole string. On success the settings it makes are kept in `state`;
// a malformed string returns nothing and leaves `state` as it was (error 5 for the caller).
std::optional<std::vector<MacroNote>> parse_macro(std::string_view text, MacroState& state);

// Synthesises parsed notes into one buffer, chords mixed, one note after the other.
SoundBuffer render_macro(const std::vector<MacroNote>& notes);

// parse_macro then render_macro.
std::optional<SoundBuffer> synth_macro(std::string_view text, MacroState& state);

// Frequency of a note: semitone 0..11 (C = 0) plus accidental, in octave 0..6;
// A in octave 2 is 440 Hz.
double note_frequency(int semitone, int octave);

} // namespace svc
