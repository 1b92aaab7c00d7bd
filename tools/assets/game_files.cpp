// The game's picture and music file list, the file makers and the shipped defaults.
#include "tools/assets/game_files.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "services/block_codec.h"
#include "tools/assets/music_source.h"
#include "tools/assets/ogg_encoder.h"
#include "tools/assets/synth.h"

namespace assets {

// clang-format off
const std::array<PictureSlot, 30> kGamePictures = {{
    {"occhil", 500}, {"ocip", 480}, {"oc22", 1000}, {"ochig", 2000}, {"oc43", 3500},
    {"occh43", 5000}, {"nu51", 1600}, {"nuser", 600},
    {"gab", 350}, {"gab2", 350}, {"gab3", 350}, {"gab4", 350}, {"alber", 600},
    {"mm", 2500}, {"uu", 2500}, {"vv", 2500}, {"ee", 2500}, {"ss", 2500}, {"cc", 2500},
    {"kk", 2500}, {"yy", 2500}, {"f3", 1500}, {"dd", 1500}, {"gioc", 3500}, {"fine", 3500},
    {"altop", 4000}, {"corni", 600}, {"frec", 400}, {"si", 400}, {"no", 400},
}};

const std::array<const char*, 14> kGameMusic = {
    "Presenta", "live1", "Labini", "Alba", "Sera2", "Porta", "Orol",
    "Chiave", "Raggix", "Firagx1", "Level-new", "Scade2", "Vittoria", "Finale",
};
// clang-format on

std::vector<std::uint8_t> picture_file_bytes(const Picture& picture)
{
    return svc::make_block_file(
        svc::encode_block(picture.width, picture.height, picture.pixels.data()));
}

void check_picture_set(const std::vector<Picture>& pictures)
{
    for (const PictureSlot& slot : kGamePictures) {
        const auto it = std::find_if(pictures.begin(), pictures.end(),
                                     [&](const Picture& p) { return p.name == slot.name; });
        if (it == pictures.end()) {
            throw SourceError(std::string("no source draws the picture ") + slot.name);
        }
        const std::size_t bytes = svc::block_bytes(it->width, it->height);
        if (bytes > static_cast<std::size_t>(slot.bufferWords) * 2) {
            throw SourceError(std::string("picture ") + slot.name + " (" +
                              std::to_string(it->width) + " x " + std::to_string(it->height) +
                              ") needs " + std::to_string(bytes) + " bytes; its buffer holds " +
                              std::to_string(slot.bufferWords * 2));
        }
    }
    for (const Picture& p : pictures) {
        if (std::none_of(kGamePictures.begin(), kGamePictures.end(),
                         [&](const PictureSlot& s) { return p.name == s.name; })) {
            throw SourceError("picture " + p.name + " is not one the game loads");
        }
    }
}

std::vector<std::uint8_t> music_file_bytes(const std::filesystem::path& source)
{
    const Song song = parse_song(read_text_file(source), source.string());
    return encode_ogg_vorbis(render_song(song, kMusicRate), kMusicRate, kMusicQuality,
                             source.stem().string());
}

void write_file(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error(path.string() + ": cannot be written");
    }
}

std::vector<std::string> write_default_files(const std::filesystem::path& dataDir)
{
    // "sound.cop": the PC speaker; "LEVEL.MGS": level 1 (byte 139 + 1).
    const std::pair<const char*, std::vector<std::uint8_t>> kDefaults[] = {
        {"sound.cop", {0x22, 0x20, 0x30, 0x22, 0x0D, 0x0A}},
        {"LEVEL.MGS", {0x22, 0x8C, 0x22, 0x0D, 0x0A}},
    };
    std::vector<std::string> written;
    for (const auto& [name, bytes] : kDefaults) {
        const auto path = dataDir / name;
        std::error_code ec;
        if (std::filesystem::exists(path, ec) || ec) {
            continue; // the player's own file (or one we cannot see): leave it alone
        }
        write_file(path, bytes);
        written.emplace_back(name);
    }
    return written;
}

} // namespace assets
