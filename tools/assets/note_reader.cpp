// The note lists of the music sources: one pass over a voice's notes with a cursor, giving
// each note its pitch, start, length and loudness.
#include <cctype>
#include <cmath>

#include "tools/assets/music_source.h"
#include "tools/assets/source_text.h"

namespace assets {
namespace {

using LineStart = NoteLineStart;

// The note-list reader: one pass over the text with a cursor.
class NoteReader {
  public:
    NoteReader(std::string_view text, NoteState& state, std::vector<Note>& out,
               const std::string& file, const std::vector<LineStart>& lines)
        : text_(text), state_(state), out_(out), file_(file), lines_(lines)
    {
    }

    void read_all()
    {
        read_sequence(false);
        if (pos_ < text_.size()) {
            error("unexpected ']'");
        }
    }

  private:
    [[noreturn]] void error(const std::string& what)
    {
        LineStart at{0, lines_.empty() ? 0 : lines_.front().line, 0};
        for (const LineStart& l : lines_) {
            if (l.offset <= pos_) {
                at = l;
            }
        }
        fail(file_, at.line,
             what + " at column " + std::to_string(pos_ - at.offset + 1 + at.column));
    }
    bool at_end() const { return pos_ >= text_.size(); }
    char peek() const { return at_end() ? '\0' : static_cast<char>(std::tolower(text_[pos_])); }
    void skip_space()
    {
        while (!at_end() &&
               (std::isspace(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '|')) {
            ++pos_;
        }
    }
    bool read_int(int& v)
    {
        skip_space();
        const std::size_t start = pos_;
        while (!at_end() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
            ++pos_;
        }
        if (pos_ == start) {
            return false;
        }
        v = std::stoi(std::string(text_.substr(start, pos_ - start)));
        return true;
    }
    // A note value and its dots: 4 -> one beat, 8 -> half a beat, 4. -> 1.5 beats.
    double read_length()
    {
        int n = 0;
        double beats = 4.0 / state_.length;
        if (read_int(n)) {
            if (n < 1 || n > 64) {
                error("note value outside 1..64");
            }
            beats = 4.0 / n;
        }
        double add = beats / 2;
        while (peek() == '.') {
            ++pos_;
            beats += add;
            add /= 2;
        }
        return beats;
    }
    int read_pitch(char letter)
    {
        static const int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7}; // a b c d e f g
        int key = 12 * (state_.octave + 1) + kSemitone[letter - 'a'];
        for (;;) {
            const char c = peek();
            if (c == '#' || c == '+') {
                ++key;
            } else if (c == '-') {
                --key;
            } else {
                break;
            }
            ++pos_;
        }
        return key;
    }
    void add_note(int key, double beats)
    {
        // "&" joins the next note (or rest) to this one: a tie across a bar line.
        skip_space();
        while (peek() == '&') {
            ++pos_;
            skip_space();
            const char c = peek();
            if (c >= 'a' && c <= 'g') {
                ++pos_;
                read_pitch(c);
                beats += read_length();
            } else if (c == 'r' || c == 'p') {
                ++pos_;
                beats += read_length();
            } else {
                error("'&' must be followed by a note");
            }
            skip_space();
        }
        if (key >= 0) {
            out_.push_back({state_.beat, beats, key, state_.velocity / 15.0});
        }
        state_.beat += beats;
    }
    void read_chord()
    {
        const int octave = state_.octave;
        std::vector<int> keys;
        for (;;) {
            skip_space();
            const char c = peek();
            if (c == '}') {
                ++pos_;
                break;
            }
            ++pos_;
            if (c >= 'a' && c <= 'g') {
                keys.push_back(read_pitch(c));
            } else if (c == '<') {
                --state_.octave;
            } else if (c == '>') {
                ++state_.octave;
            } else {
                error("chords hold only notes and '<' '>'");
            }
        }
        state_.octave = octave;
        const double beats = read_length();
        for (int key : keys) {
            out_.push_back({state_.beat, beats, key, state_.velocity / 15.0});
        }
        state_.beat += beats;
    }
    // Reads up to the end, or up to the "]" of the repeat opened at `openedAt`.
    void read_sequence(bool inRepeat, std::size_t openedAt = 0)
    {
        for (;;) {
            skip_space();
            if (at_end()) {
                if (inRepeat) {
                    pos_ = openedAt;
                    error("'[' without ']'");
                }
                return;
            }
            const char c = peek();
            if (c == ']') {
                if (!inRepeat) {
                    return;
                }
                return;
            }
            ++pos_;
            int v = 0;
            if (c >= 'a' && c <= 'g') {
                const int key = read_pitch(c);
                add_note(key, read_length());
            } else if (c == 'r' || c == 'p') {
                add_note(-1, read_length());
            } else if (c == 'o') {
                if (!read_int(v) || v > 8) {
                    error("octave 0..8 expected");
                }
                state_.octave = v;
            } else if (c == '<') {
                --state_.octave;
            } else if (c == '>') {
                ++state_.octave;
            } else if (c == 'l') {
                if (!read_int(v) || v < 1 || v > 64) {
                    error("note value 1..64 expected");
                }
                state_.length = v;
            } else if (c == 'v') {
                if (!read_int(v) || v > 15) {
                    error("loudness 0..15 expected");
                }
                state_.velocity = v;
            } else if (c == '{') {
                read_chord();
            } else if (c == '[') {
                const std::size_t body = pos_;
                read_sequence(true, body - 1);
                ++pos_; // the ']'
                int times = 2;
                read_int(times);
                if (times < 1 || times > 64) {
                    error("repeat count 1..64 expected");
                }
                const std::size_t after = pos_;
                for (int k = 1; k < times; ++k) {
                    pos_ = body;
                    read_sequence(true, body - 1);
                }
                pos_ = after;
            } else {
                --pos_;
                error(std::string("unknown note command '") + c + "'");
            }
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    NoteState& state_;
    std::vector<Note>& out_;
    const std::string& file_;
    const std::vector<LineStart>& lines_;
};

} // namespace

void parse_notes(std::string_view text, NoteState& state, std::vector<Note>& out,
                 const std::string& fileName, const std::vector<LineStart>& lines)
{
    NoteReader(text, state, out, fileName, lines).read_all();
}

} // namespace assets
