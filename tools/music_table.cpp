// Developer tool: measures the game's fourteen music files as the game plays them and
// prints (or writes) their table: role, length, loudness, peak, DC offset and the worst
// peak of a mix with any one file that can play over or under it.
//
//   music_table DATA_DIR [OUT.md]
#include <cmath>
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

#include "tools/assets/music_levels.h"

namespace {

std::string number(const char* pattern, double v)
{
    char text[32];
    std::snprintf(text, sizeof text, pattern, v);
    return text;
}

// The table with what it measures and why the levels are what they are.
std::string document(const std::string& table)
{
    using assets::MusicRole;
    return "# Levels of the music files\n\n"
           "Made by `music_table` from the decoded files of the data folder (`ninja "
           "music_levels_doc`).\n\n"
           "The game plays every file at full volume: the single music stream, and samples "
           "summed over it and clamped to 16 bits. Each kind of file is brought to its own "
           "integrated loudness (K-weighted, 400 ms blocks every 100 ms, gated at -70 LUFS and "
           "then 10 LU under the loudness of the blocks left), and every file's peak is held "
           "under " +
           number("%.1f dBFS", 20 * std::log10(assets::kMusicPeakCeiling)) +
           ", so that any stream and any sample together stay under full scale:\n\n"
           "- level music (and the title theme): " +
           number("%.0f LUFS", assets::loudness_target(MusicRole::Level)) +
           ", as loud as the pieces' drums and chords allow with their peaks under the "
           "ceiling;\n"
           "- dusk and dawn: " +
           number("%.0f LUFS", assets::loudness_target(MusicRole::DuskDawn)) +
           ", under the level music they play over;\n"
           "- effects: " +
           number("%.0f LUFS", assets::loudness_target(MusicRole::Effect)) +
           ", over the level music, so they are heard.\n\n"
           "\"Worst mix\" is the highest |sample| that the file and any one file of the other "
           "kind (a sample over this stream, or the stream under this sample) reach together, "
           "whatever their start times: their highest samples, or their lowest, meeting in "
           "one channel. DC is the larger |mean| of the two channels, 1.0 being full scale.\n\n" +
           table +
           "\nA PC-speaker tone (the beep, the blocked-step and scanning tones) is a full-scale "
           "triangle; no music level leaves room for it, so a tone over playing music can "
           "still reach the clamp.\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: music_table DATA_DIR [OUT.md]\n");
        return 2;
    }
    try {
        const std::string text =
            document(assets::music_levels_table(assets::measure_game_music(argv[1])));
        if (argc == 2) {
            std::fputs(text.c_str(), stdout);
            return 0;
        }
        std::ofstream out(argv[2], std::ios::trunc);
        out << text;
        return out.good() ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "music_table: %s\n", e.what());
        return 1;
    }
}
