// Builds the game's data folder: the ".grh" pictures and ".ogg" music from the sources in
// assets/, a review sheet of the pictures, and the shipped sound choice and saved level.
//
//   make_assets ASSETS_DIR DATA_DIR [SHEET_PNG]   pictures, music (and the sheet)
//   make_assets --defaults DATA_DIR               "sound.cop" and "LEVEL.MGS" if missing
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "services/video/png_writer.h"
#include "tools/assets/contact_sheet.h"
#include "tools/assets/game_files.h"
#include "tools/assets/picture_source.h"

namespace fs = std::filesystem;

namespace {

void make_pictures(const fs::path& sources, const fs::path& dataDir, const fs::path& sheetPath)
{
    std::vector<assets::Picture> pictures = assets::render_picture_folder(sources / "pictures");
    assets::check_picture_set(pictures);
    // The sheet shows them in the order the game loads them.
    std::vector<assets::Picture> ordered;
    for (const auto& slot : assets::kGamePictures) {
        ordered.push_back(*std::find_if(pictures.begin(), pictures.end(),
                                        [&](const auto& p) { return p.name == slot.name; }));
    }
    for (const auto& p : ordered) {
        assets::write_file(dataDir / (p.name + ".grh"), assets::picture_file_bytes(p));
    }
    if (!sheetPath.empty()) {
        const assets::Sheet sheet = assets::make_contact_sheet(ordered);
        if (!svc::write_png(sheetPath.string(), sheet.pixels.data(), sheet.width, sheet.height)) {
            throw std::runtime_error(sheetPath.string() + ": cannot be written");
        }
    }
}

// The pieces are independent, so the two cores share them.
void make_music(const fs::path& sources, const fs::path& dataDir)
{
    std::atomic<std::size_t> next{0};
    std::vector<std::string> errors(assets::kGameMusic.size());
    auto work = [&] {
        for (std::size_t i; (i = next++) < assets::kGameMusic.size();) {
            const std::string name = assets::kGameMusic[i].name;
            try {
                assets::write_file(dataDir / (name + ".ogg"),
                                   assets::music_file_bytes(sources / "music" / (name + ".mus")));
            } catch (const std::exception& e) {
                errors[i] = e.what();
            }
        }
    };
    {
        std::jthread helper(work);
        work();
    }
    for (const std::string& e : errors) {
        if (!e.empty()) {
            throw std::runtime_error(e);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    try {
        if (argc == 3 && std::string(argv[1]) == "--defaults") {
            for (const std::string& name : assets::write_default_files(argv[2])) {
                std::printf("make_assets: wrote the default %s\n", name.c_str());
            }
            return 0;
        }
        if (argc != 3 && argc != 4) {
            std::fprintf(stderr, "usage: make_assets ASSETS_DIR DATA_DIR [SHEET_PNG]\n"
                                 "       make_assets --defaults DATA_DIR\n");
            return 2;
        }
        const fs::path dataDir = argv[2];
        fs::create_directories(dataDir);
        make_pictures(argv[1], dataDir, argc == 4 ? fs::path(argv[3]) : fs::path());
        make_music(argv[1], dataDir);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_assets: %s\n", e.what());
        return 1;
    }
}
