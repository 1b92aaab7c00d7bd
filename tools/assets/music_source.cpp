// Parsing of the music sources: song settings, voices and their note lists.
#include "tools/assets/music_source.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>

#include "tools/assets/source_text.h"

namespace assets {
namespace {

using LineStart = NoteLineStart;

// Whole-line comments start with "#" ("#" inside a note list is a sharp).
std::string strip_comment(const std::string& s)
{
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos || s[b] == '#') {
        return "";
    }
    const auto e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

void set_sound(VoiceSound& s, const std::string& key, const std::string& value,
               const std::string& file, int line)
{
    auto num = [&] { return number_of(value, file, line); };
    if (key == "wave") {
        static const char* kWaves[] = {"sine",  "triangle", "square", "saw",  "fm",
                                       "organ", "noise",    "kick",   "snare"};
        if (std::find(std::begin(kWaves), std::end(kWaves), value) == std::end(kWaves)) {
            fail(file, line, "unknown wave: " + value);
        }
        s.wave = value;
    } else if (key == "vol") {
        s.volume = num();
    } else if (key == "pan") {
        s.pan = std::clamp(num(), -1.0, 1.0);
    } else if (key == "attack") {
        s.attack = num();
    } else if (key == "decay") {
        s.decay = num();
    } else if (key == "sustain") {
        s.sustain = num();
    } else if (key == "release") {
        s.release = num();
    } else if (key == "legato") {
        s.legato = num();
    } else if (key == "ratio") {
        s.ratio = num();
    } else if (key == "index") {
        s.index = num();
        if (s.index < 0 || s.index > 4) {
            fail(file, line, "fm index outside 0..4");
        }
    } else if (key == "indexdecay") {
        s.indexDecay = num();
    } else if (key == "harmonics") {
        s.harmonics.clear();
        std::stringstream in(value);
        std::string part;
        while (std::getline(in, part, ',')) {
            s.harmonics.push_back(number_of(part, file, line));
        }
    } else if (key == "vibrato") {
        s.vibratoDepth = num();
    } else if (key == "vibratorate") {
        s.vibratoRate = num();
    } else if (key == "chorus") {
        s.chorus = num();
    } else if (key == "tone") {
        s.tone = std::clamp(num(), 0.01, 1.0);
    } else if (key == "echo") {
        s.echo = num();
    } else if (key == "accent") {
        s.accent = std::clamp(num(), 0.0, 1.0);
    } else if (key == "transpose") {
        s.transpose = static_cast<int>(num());
    } else {
        fail(file, line, "unknown voice setting: " + key);
    }
    if (s.attack < 0 || s.decay < 0 || s.release < 0 || s.legato <= 0 || s.volume < 0) {
        fail(file, line, "times and levels must not be negative");
    }
}

// A note's share of its voice's loudness by where it falls in the bar: the first beat in
// full, the middle of an even bar a little less, the other beats less, notes between
// beats least.
double metric_weight(double beat, int beatsPerBar, double accent)
{
    const double inBar = std::fmod(beat, beatsPerBar);
    const auto on = [&](double at) { return std::fabs(inBar - at) < 1e-6; };
    if (on(0) || on(beatsPerBar)) {
        return 1;
    }
    if (beatsPerBar % 2 == 0 && on(beatsPerBar / 2)) {
        return 1 - accent / 2;
    }
    if (on(std::round(inBar))) {
        return 1 - 0.75 * accent;
    }
    return 1 - accent;
}

// One line of song settings: tempo, echo, meter, tail or a voice and its sound.
void read_setting(Song& song, const std::string& op, const std::vector<std::string>& args,
                  const std::string& s, const std::string& fileName, int line)
{
    if (op == "tempo" && args.size() == 1) {
        song.tempo = number_of(args[0], fileName, line);
        if (song.tempo < 20 || song.tempo > 400) {
            fail(fileName, line, "tempo outside 20..400");
        }
    } else if (op == "echo" && args.size() == 3) {
        song.echoDelay = number_of(args[0], fileName, line);
        song.echoFeedback = number_of(args[1], fileName, line);
        song.echoMix = number_of(args[2], fileName, line);
        if (song.echoDelay <= 0 || song.echoDelay > 2 || song.echoFeedback < 0 ||
            song.echoFeedback >= 1) {
            fail(fileName, line, "echo needs a delay in (0, 2] s and feedback below 1");
        }
    } else if (op == "meter" && args.size() == 1) {
        song.beatsPerBar = static_cast<int>(number_of(args[0], fileName, line));
        if (song.beatsPerBar < 1 || song.beatsPerBar > 16) {
            fail(fileName, line, "meter outside 1..16 beats");
        }
    } else if (op == "tail" && args.size() == 1) {
        song.tail = std::max(0.0, number_of(args[0], fileName, line));
    } else if (op == "voice" && !args.empty()) {
        if (std::any_of(song.voices.begin(), song.voices.end(),
                        [&](const Voice& v) { return v.name == args[0]; })) {
            fail(fileName, line, "voice declared twice: " + args[0]);
        }
        Voice v;
        v.name = args[0];
        for (std::size_t i = 1; i < args.size(); ++i) {
            const auto eq = args[i].find('=');
            if (eq == std::string::npos) {
                fail(fileName, line, "expected setting=value: " + args[i]);
            }
            set_sound(v.sound, args[i].substr(0, eq), args[i].substr(eq + 1), fileName, line);
        }
        song.voices.push_back(std::move(v));
    } else {
        fail(fileName, line, "unknown line: " + s);
    }
}

} // namespace

double Song::length_beats() const
{
    double end = 0;
    for (const Voice& v : voices) {
        for (const Note& n : v.notes) {
            end = std::max(end, n.startBeat + n.beats);
        }
    }
    return end;
}

Song parse_song(std::string_view text, const std::string& fileName)
{
    Song song;
    // Each voice's note lines are read as one text, so a repeat may span lines.
    std::map<std::string, std::pair<std::string, std::vector<LineStart>>> noteText;
    std::istringstream in{std::string(text)};
    std::string raw;
    int line = 0;
    while (std::getline(in, raw)) {
        ++line;
        const std::string s = strip_comment(raw);
        if (s.empty()) {
            continue;
        }
        const auto colon = s.find(':');
        const auto space = s.find_first_of(" \t");
        if (colon != std::string::npos && (space == std::string::npos || colon < space)) {
            const std::string name = s.substr(0, colon);
            auto it = std::find_if(song.voices.begin(), song.voices.end(),
                                   [&](const Voice& v) { return v.name == name; });
            if (it == song.voices.end()) {
                fail(fileName, line, "notes for a voice not declared: " + name);
            }
            auto& [notes, starts] = noteText[name];
            starts.push_back({notes.size(), line, static_cast<int>(colon + 1)});
            notes += s.substr(colon + 1);
            notes += ' ';
            continue;
        }
        std::istringstream words(s);
        std::string op;
        words >> op;
        std::vector<std::string> args;
        for (std::string w; words >> w;) {
            args.push_back(w);
        }
        read_setting(song, op, args, s, fileName, line);
    }
    for (Voice& v : song.voices) {
        const auto& [notes, starts] = noteText[v.name];
        NoteState state;
        parse_notes(notes, state, v.notes, fileName, starts);
        for (Note& n : v.notes) {
            n.velocity *= metric_weight(n.startBeat, song.beatsPerBar, v.sound.accent);
        }
    }
    if (song.length_beats() <= 0) {
        fail(fileName, line, "no notes");
    }
    return song;
}

} // namespace assets
