// Developer tool: renders the corridor view of any level, cell and heading to a PNG.
//
//   view_png LEVEL ROW COL HEADING OUT.png [--xray] [--roll N] [--data DIR] [--sky C]
//
// HEADING is 0 north, 1 west, 2 south, 3 east. --xray switches the X-ray aid on, --roll sets
// the item roll (10 a wall clock, 1 or 2 an eye), --data loads the level pictures from a
// folder (without it the eyes and trees are left out), --sky sets the sky colour (7 by day).
// Objects at depth 140 take effect as in play; a door opened that way is drawn open.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/items.h"
#include "core/level_pictures.h"
#include "core/level_reader.h"
#include "core/maze.h"
#include "core/saved_level.h"
#include "core/state.h"
#include "services/platform/headless/headless_platform.h"
#include "services/services.h"
#include "tools/screen_png.h"
#include "view/view.h"

namespace {

struct Options {
    int level = 0, row = 0, col = 0, heading = 0;
    std::string out;
    bool xray = false;
    int roll = 50;
    int sky = svc::kLightGrey;
    std::string dataDir;
};

bool to_int(const char* text, int& value)
{
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < -32768 || v > 32767) {
        return false;
    }
    value = static_cast<int>(v);
    return true;
}

bool parse(int argc, char** argv, Options& o)
{
    if (argc < 6 || !to_int(argv[1], o.level) || !to_int(argv[2], o.row) ||
        !to_int(argv[3], o.col) || !to_int(argv[4], o.heading)) {
        return false;
    }
    o.out = argv[5];
    for (int i = 6; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--xray") {
            o.xray = true;
        } else if (arg == "--roll" && hasValue && to_int(argv[i + 1], o.roll)) {
            ++i;
        } else if (arg == "--sky" && hasValue && to_int(argv[i + 1], o.sky)) {
            ++i;
        } else if (arg == "--data" && hasValue) {
            o.dataDir = argv[++i];
        } else {
            return false;
        }
    }
    return o.level >= 1 && o.level <= 10 && o.heading >= 0 && o.heading <= 3 && o.sky >= 0 &&
           o.sky <= 15;
}

// Loads the level pictures that exist in the folder; returns how many were loaded.
int load_pictures(svc::Services& sv, game::Pictures& pics, const std::string& dir)
{
    int loaded = 0;
    for (const game::LevelPicture& picture : game::kLevelPictures) {
        const std::filesystem::path path = std::filesystem::path(dir) / picture.file;
        if (!std::filesystem::exists(path)) {
            std::fprintf(stderr, "view_png: %s not found, left out\n", path.c_str());
            continue;
        }
        sv.load_block_file(path.string(), game::words(pics.*picture.buffer));
        if (sv.pending_error() != 0) {
            return -1;
        }
        ++loaded;
    }
    return loaded;
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr, "usage: view_png LEVEL(1-10) ROW COL HEADING(0-3) OUT.png "
                             "[--xray] [--roll N] [--data DIR] [--sky C]\n");
        return 2;
    }
    svc::HeadlessPlatform platform;
    platform.set_time_of_day(12, 0, 30); // away from the minute beat
    svc::Services sv(platform);
    auto owned = std::make_unique<game::GameState>();
    game::GameState& st = *owned;

    game::LevelState& lv = st.level;
    if (o.level > 1) {
        lv.reader.restore_level(sv, o.level);
    }
    if (!game::read_header(sv, lv) || !game::load_level_maze(sv, lv)) {
        std::fprintf(stderr, "view_png: level %d could not be read\n", o.level);
        return 1;
    }
    if (o.row < 1 || o.row > lv.mazeSize || o.col < 1 || o.col > lv.mazeSize) {
        std::fprintf(stderr, "view_png: the cell must lie in 1..%d\n", lv.mazeSize);
        return 2;
    }
    lv.levelNumber = static_cast<game::i16>(o.level);
    lv.wallColour = game::wall_colour_of_level(o.level);
    st.time.skyColour = static_cast<game::i16>(o.sky);
    game::place_player(st, o.row, o.col, o.heading);
    st.player.itemRoll = static_cast<game::i16>(o.roll);
    st.player.xrayOn = o.xray ? 1 : 0;

    if (!o.dataDir.empty() && load_pictures(sv, st.pictures, o.dataDir) < 0) {
        std::fprintf(stderr, "view_png: a picture file could not be loaded (error %d)\n",
                     sv.pending_error());
        return 1;
    }

    // As the frame loop: clear, mode 8, scan; an opened door is followed by a new frame.
    view::ScanOutcome outcome = view::ScanOutcome::Redraw;
    for (int frame = 0; frame < 3 && outcome == view::ScanOutcome::Redraw; ++frame) {
        sv.clear_screen();
        sv.set_screen_mode(svc::kMode640x200);
        outcome = view::DepthScan(sv, st);
    }
    if (outcome == view::ScanOutcome::LevelEnded) {
        std::fprintf(stderr, "view_png: the player stands on the exit (the level ends)\n");
    }
    if (sv.pending_error() != 0) {
        std::fprintf(stderr, "view_png: error %d while drawing\n", sv.pending_error());
        return 1;
    }

    if (!tools::write_screen_png(sv.screen(), o.out)) {
        std::fprintf(stderr, "view_png: %s could not be written\n", o.out.c_str());
        return 1;
    }
    std::printf("%s: level %d, cell (%d, %d), heading %d\n", o.out.c_str(), o.level, o.row, o.col,
                o.heading);
    return 0;
}
