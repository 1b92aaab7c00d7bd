// The music-macro notation: parser, note timing and the tune buffer.
#include "services/audio/macro.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

namespace svc {

namespace {

// The lasting settings a letter and a number set, and the numbers each allows.
struct Setting {
    char letter;
    int MacroState::*field;
    int low, high;
};
constexpr Setting kSettings[] = {
    {'L', &MacroState::length, 1, 64},
    {'O', &MacroState::octave, 0, 6},
    {'T', &MacroState::tempo, 32, 255},
    {'V', &MacroState::volume, 0, 100},
};

// Reads a string already stripped of spaces and upper-cased. Each step returns false on
// malformed input, which abandons the whole string.
class MacroReader {
  public:
    MacroReader(std::string text, MacroState& state) : text_(std::move(text)), st_(state) {}

    bool run(std::vector<MacroNote>& notes)
    {
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            const auto* s = std::find_if(std::begin(kSettings), std::end(kSettings),
                                         [c](const Setting& k) { return k.letter == c; });
            bool ok = false;
            if (c >= 'A' && c <= 'G') {
                ok = note(c, notes);
            } else if (s != std::end(kSettings)) {
                ok = setting(st_.*(s->field), s->low, s->high);
            } else {
                switch (c) {
                case 'N':
                    ok = numbered_note(notes);
                    break;
                case 'P':
                    ok = pause(notes);
                    break;
                case '>':
                    st_.octave = std::min(st_.octave + 1, 6);
                    ok = true;
                    break;
                case '<':
                    st_.octave = std::max(st_.octave - 1, 0);
                    ok = true;
                    break;
                case 'M':
                    ok = mode();
                    break;
                default:
                    ok = false;
                    break;
                }
            }
            if (!ok) {
                return false;
            }
        }
        return true;
    }

  private:
    // A decimal number if one stands here: -1 when none, saturated well above any range.
    long number()
    {
        if (pos_ >= text_.size() || !std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
            return -1;
        }
        long value = 0;
        while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
            value = std::min(value * 10 + (text_[pos_++] - '0'), 1000000L);
        }
        return value;
    }

    // A note value (1 whole, 4 quarter ... 64) if one stands here, else the default length;
    // false for a value outside 1..64.
    bool note_value(int& value)
    {
        const long n = number();
        if (n == -1) {
            value = st_.length;
            return true;
        }
        value = static_cast<int>(n);
        return n >= 1 && n <= 64;
    }

    int dots()
    {
        int count = 0;
        while (pos_ < text_.size() && text_[pos_] == '.') {
            ++pos_;
            ++count;
        }
        return count;
    }

    bool setting(int& target, int low, int high)
    {
        const long n = number();
        if (n < low || n > high) {
            return false;
        }
        target = static_cast<int>(n);
        return true;
    }

    bool mode()
    {
        if (pos_ >= text_.size()) {
            return false;
        }
        switch (text_[pos_++]) {
        case 'F':
            st_.foreground = true;
            return true;
        case 'B':
            st_.foreground = false;
            return true;
        case 'N':
            st_.articulation = 0.125;
            return true;
        case 'L':
            st_.articulation = 0;
            return true;
        case 'S':
            st_.articulation = 0.25;
            return true;
        default:
            return false;
        }
    }

    // Seconds of a note of value n with its dots: each dot adds half the previous addition.
    double seconds(int value, int dotCount) const
    {
        const double plain = (60.0 / st_.tempo) * (4.0 / value);
        return plain * (2.0 - std::pow(0.5, dotCount));
    }

    void add_note(std::vector<MacroNote>& notes, double frequency, double length)
    {
        MacroNote n;
        n.frequencyHz = frequency;
        n.soundS = (1 - st_.articulation) * length;
        n.silenceS = st_.articulation * length;
        n.volume = st_.volume / 100.0;
        notes.push_back(n);
    }

    void add_pause(std::vector<MacroNote>& notes, double length)
    {
        MacroNote n;
        n.silenceS = length;
        notes.push_back(n);
    }

    // A ',' after a note joins the next note to it; it must be followed by a note.
    bool chord(std::vector<MacroNote>& notes)
    {
        if (pos_ >= text_.size() || text_[pos_] != ',') {
            return true;
        }
        ++pos_;
        if (pos_ >= text_.size()) {
            return false;
        }
        const char next = text_[pos_];
        if (!((next >= 'A' && next <= 'G') || next == 'N')) {
            return false;
        }
        notes.back().chordWithNext = true;
        return true;
    }

    bool note(char letter, std::vector<MacroNote>& notes)
    {
        static constexpr int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
        int semitone = kSemitone[letter - 'A'];
        if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '#')) {
            ++semitone;
            ++pos_;
        } else if (pos_ < text_.size() && text_[pos_] == '-') {
            --semitone;
            ++pos_;
        }
        int value = 0;
        if (!note_value(value)) {
            return false;
        }
        const int dotCount = dots();
        add_note(notes, note_frequency(semitone, st_.octave), seconds(value, dotCount));
        return chord(notes);
    }

    bool numbered_note(std::vector<MacroNote>& notes)
    {
        const long n = number();
        if (n < 0 || n > 84) {
            return false;
        }
        const double length = seconds(st_.length, dots());
        if (n == 0) {
            add_pause(notes, length);
        } else {
            add_note(notes, note_frequency(static_cast<int>(n - 1), 0), length);
        }
        return chord(notes);
    }

    bool pause(std::vector<MacroNote>& notes)
    {
        int value = 0;
        if (!note_value(value)) {
            return false;
        }
        add_pause(notes, seconds(value, dots()));
        return true;
    }

    std::string text_;
    std::size_t pos_ = 0;
    MacroState& st_;
};

} // namespace

double note_frequency(int semitone, int octave)
{
    const int k = semitone + 12 * octave - 33;
    return 440.0 * std::pow(2.0, k / 12.0);
}

std::optional<std::vector<MacroNote>> parse_macro(std::string_view text, MacroState& state)
{
    std::string clean;
    clean.reserve(text.size());
    for (const char c : text) {
        if (c != ' ') {
            clean.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
        }
    }
    MacroState work = state;
    std::vector<MacroNote> notes;
    if (!MacroReader(std::move(clean), work).run(notes)) {
        return std::nullopt;
    }
    state = work;
    return notes;
}

SoundBuffer render_macro(const std::vector<MacroNote>& notes)
{
    SoundBuffer out;
    std::size_t cursor = 0; // first frame of the current note or chord
    std::size_t end = 0;    // first frame after everything of the current chord
    for (const MacroNote& n : notes) {
        std::size_t toneFrames = 0;
        if (n.soundS > 0) {
            toneFrames = mix_tone(out, cursor, n.frequencyHz, n.soundS, n.volume);
        }
        end = std::max(end, cursor + toneFrames + frames_in(n.silenceS));
        if (!n.chordWithNext) {
            out.samples.resize(2 * end, 0);
            cursor = end;
        }
    }
    out.samples.resize(2 * end, 0);
    return out;
}

std::optional<SoundBuffer> synth_macro(std::string_view text, MacroState& state)
{
    std::optional<std::vector<MacroNote>> notes = parse_macro(text, state);
    if (!notes) {
        return std::nullopt;
    }
    return render_macro(*notes);
}

} // namespace svc
