// The game's picture and music file list, the file makers and the shipped defaults.
#include "tools/assets/game_files.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "services/video/block_codec.h"
#include "tools/assets/loudness.h"
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

// The title theme counts as a piece of music; it is a sample, and a level's music may
// start while it still plays.
const std::array<MusicSlot, 14> kGameMusic = {{
    {"Presenta", MusicRole::Level, true},   {"live1", MusicRole::Level, false},
    {"Labini", MusicRole::Level, false},    {"Alba", MusicRole::DuskDawn, true},
    {"Sera2", MusicRole::DuskDawn, true},   {"Porta", MusicRole::Effect, true},
    {"Orol", MusicRole::Effect, true},      {"Chiave", MusicRole::Effect, true},
    {"Raggix", MusicRole::Effect, false},   {"Firagx1", MusicRole::Effect, true},
    {"Level-new", MusicRole::Effect, true}, {"Scade2", MusicRole::Effect, false},
    {"Vittoria", MusicRole::Effect, false}, {"Finale", MusicRole::Effect, false},
}};
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

double loudness_target(MusicRole role)
{
    switch (role) {
    case MusicRole::Level:
        // The pieces' drums and chords peak 13-14 dB above their loudness: this is as loud
        // as they go with their peaks under the ceiling untouched.
        return -21;
    case MusicRole::DuskDawn:
        // Plays over the level's music: 2 LU under it, so it colours the music, not covers it.
        return -23;
    case MusicRole::Effect:
        break;
    }
    // 2 LU over the music, so an effect is heard over it.
    return -19;
}

namespace {

const MusicSlot* music_slot(const std::string& name)
{
    const auto slot = std::find_if(kGameMusic.begin(), kGameMusic.end(),
                                   [&](const MusicSlot& m) { return name == m.name; });
    return slot == kGameMusic.end() ? nullptr : &*slot;
}

} // namespace

std::vector<float> music_samples(const std::filesystem::path& source)
{
    const MusicSlot* slot = music_slot(source.stem().string());
    const Song song = parse_song(read_text_file(source), source.string());
    std::vector<float> samples = render_song(song, kMusicRate);
    bring_to_level(samples, kMusicRate, loudness_target(slot ? slot->role : MusicRole::Level),
                   kMusicPeakAim);
    return samples;
}

std::vector<std::uint8_t> music_file_bytes(const std::filesystem::path& source)
{
    const std::string name = source.stem().string();
    if (music_slot(name) == nullptr) {
        throw SourceError(source.string() + ": not one of the game's music files");
    }
    return encode_ogg_vorbis(music_samples(source), kMusicRate, kMusicQuality, name);
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
