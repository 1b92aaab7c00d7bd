// The data files the game reads from its folder, and how the generator makes them.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/assets/picture_source.h"

namespace assets {

// A picture the game loads, and the 16-bit words of the buffer it is loaded into.
struct PictureSlot {
    const char* name; // without ".grh"
    int bufferWords;
};

// The thirty pictures: the level's thirteen, then the title's seventeen, in loading order.
extern const std::array<PictureSlot, 30> kGamePictures;
// What a music file is for: each kind is brought to its own loudness.
enum class MusicRole { Level, DuskDawn, Effect };

// A music file (without ".ogg"), its kind, and whether the game starts it as a sample that
// mixes over the single music stream (true) or as that stream (false).
struct MusicSlot {
    const char* name;
    MusicRole role;
    bool asSample;
};

// The fourteen music files.
extern const std::array<MusicSlot, 14> kGameMusic;

constexpr int kMusicRate = 22050;
// The encoder's highest quality: the fourteen files still stay well under 5 MB together.
constexpr float kMusicQuality = 1.0f;

// The game plays every file at full volume, a sample summed over the music stream. Each
// file's peak stays below kMusicPeakCeiling (-6.5 dBFS), so any two together stay below
// full scale; the generator aims a little lower, as encoding moves peaks a little.
constexpr double kMusicPeakCeiling = 0.473;
constexpr double kMusicPeakAim = 0.447; // -7 dBFS

// Integrated loudness (LUFS) of each kind of file.
double loudness_target(MusicRole role);

// The ".grh" file of a picture: block file header and planar block.
std::vector<std::uint8_t> picture_file_bytes(const Picture& picture);
// Throws SourceError unless the pictures are exactly the game's thirty and each one's
// file fits its buffer.
void check_picture_set(const std::vector<Picture>& pictures);
// Parses and plays one ".mus" source into interleaved stereo samples at kMusicRate,
// brought to the level of its kind (a source that is none of the game's files is taken as
// level music).
std::vector<float> music_samples(const std::filesystem::path& source);
// The bytes of the ".ogg" file of one of the game's ".mus" sources.
std::vector<std::uint8_t> music_file_bytes(const std::filesystem::path& source);

// The files shipped with the game: the sound choice (PC speaker) and the saved level
// (level 1). Writes each only when it is missing, so a player's own files stay; returns
// the names written.
std::vector<std::string> write_default_files(const std::filesystem::path& dataDir);

// Writes bytes to a file, replacing it; std::runtime_error on failure.
void write_file(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

} // namespace assets
