// Developer tool: measures the game's fourteen music files as the game plays them and
// prints (or writes) their table: role, length, loudness, peak, DC offset and the worst
// peak of a mix with any one file that can play over or under it.
//
//   music_table DATA_DIR [OUT.md]
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

#include "tools/assets/music_levels.h"

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: music_table DATA_DIR [OUT.md]\n");
        return 2;
    }
    try {
        const std::string table = assets::music_levels_table(assets::measure_game_music(argv[1]));
        if (argc == 2) {
            std::fputs(table.c_str(), stdout);
            return 0;
        }
        std::ofstream out(argv[2], std::ios::trunc);
        out << table;
        return out.good() ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "music_table: %s\n", e.what());
        return 1;
    }
}
