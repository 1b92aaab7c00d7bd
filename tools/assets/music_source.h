// The game's music from its note-list sources: voices with their sound, and their notes
// in a compact macro notation (octaves, lengths, rests, chords, ties and repeats).
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace assets {

// How one voice sounds. Times in seconds, levels 0..1.
struct VoiceSound {
    std::string wave = "triangle"; // sine triangle square saw fm organ noise kick snare
    double volume = 0.5;
    double pan = 0.0; // -1 left .. 1 right
    double attack = 0.01;
    double decay = 0.1;
    double sustain = 0.7;
    double release = 0.1;
    double legato = 0.9;                   // part of a note's length the key is held
    double ratio = 1.0;                    // fm: modulator frequency / carrier frequency
    double index = 1.0;                    // fm: modulation depth
    double indexDecay = 0.0;               // fm: seconds for the depth to fall to 1/e (0: constant)
    std::vector<double> harmonics = {1.0}; // organ: strength of harmonics 1, 2, 3, ...
    double vibratoDepth = 0.0;             // semitones
    double vibratoRate = 5.0;              // Hz
    double chorus = 0.0;                   // cents of a second, detuned oscillator (0: none)
    double tone = 1.0;                     // noise: 1 bright .. 0.05 dull
    double echo = 0.0;                     // send to the song's echo
    int transpose = 0;                     // semitones
    double accent = 0.0; // metric accent 0..1: notes off the bar's first beat are this much softer
};

// One note: start and length in beats (quarter notes), MIDI key number, loudness 0..1.
struct Note {
    double startBeat;
    double beats;
    int key;
    double velocity;
};

struct Voice {
    std::string name;
    VoiceSound sound;
    std::vector<Note> notes;
};

// A piece: tempo in quarter notes per minute, an echo shared by the voices, the seconds
// that follow the last note, and the beats of a bar (for the voices' metric accents).
struct Song {
    double tempo = 120;
    double echoDelay = 0.25;
    double echoFeedback = 0.3;
    double echoMix = 0.0;
    double tail = 1.0;
    int beatsPerBar = 4;
    std::vector<Voice> voices;

    double seconds_per_beat() const { return 60.0 / tempo; }
    // Beats from the start to the end of the last note.
    double length_beats() const;
};

// Parses a ".mus" source; SourceError (picture_source.h) names the file and line.
Song parse_song(std::string_view text, const std::string& fileName);

// Reading position of a voice's notes: octave, default length, loudness and the beat the
// next note starts on.
struct NoteState {
    int octave = 4;
    double length = 4; // default note value: 4 = quarter
    int velocity = 12; // 0..15
    double beat = 0;
};
// Where each source line starts inside a voice's joined note text, for messages.
struct NoteLineStart {
    std::size_t offset; // in the joined text
    int line;
    int column; // characters of the line before its notes
};
// Parses one voice's notes (its lines after "name:", joined), appending to `out`.
void parse_notes(std::string_view text, NoteState& state, std::vector<Note>& out,
                 const std::string& fileName, const std::vector<NoteLineStart>& lines);

} // namespace assets
