// Measuring the music files and writing their table.
#include "tools/assets/music_levels.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "tools/assets/ogg_decoder.h"

namespace assets {
namespace {

double dbfs(double v)
{
    return v > 0 ? 20 * std::log10(v) : -HUGE_VAL;
}

std::string format(const char* pattern, double v)
{
    char text[32];
    std::snprintf(text, sizeof text, pattern, v);
    return text;
}

} // namespace

const char* role_name(MusicRole role)
{
    switch (role) {
    case MusicRole::Level:
        return "music";
    case MusicRole::DuskDawn:
        return "dusk/dawn";
    case MusicRole::Effect:
        break;
    }
    return "effect";
}

std::vector<MusicLevels> measure_game_music(const std::filesystem::path& dataDir)
{
    std::vector<MusicLevels> files;
    for (const MusicSlot& slot : kGameMusic) {
        const std::filesystem::path path = dataDir / (std::string(slot.name) + ".ogg");
        const DecodedSound sound = decode_ogg_vorbis(path);
        if (sound.channels != 2) {
            throw std::runtime_error(path.string() + ": not stereo");
        }
        files.push_back({slot, measure_levels(sound.samples, sound.rate),
                         std::filesystem::file_size(path), 0, ""});
    }
    for (MusicLevels& f : files) {
        for (const MusicLevels& other : files) {
            const double mix = worst_mix_peak(f.levels, other.levels);
            if (other.slot.asSample != f.slot.asSample && mix > f.worstMixPeak) {
                f.worstMixPeak = mix;
                f.worstPartner = other.slot.name;
            }
        }
    }
    return files;
}

std::string music_levels_table(const std::vector<MusicLevels>& files)
{
    std::string out = "| file | role | played as | length | size | loudness | peak | DC | "
                      "worst mix (with) |\n"
                      "|---|---|---|--:|--:|--:|--:|--:|---|\n";
    std::uintmax_t total = 0;
    for (const MusicLevels& f : files) {
        const Levels& l = f.levels;
        total += f.bytes;
        out += "| " + std::string(f.slot.name) + ".ogg | " + role_name(f.slot.role) + " | " +
               (f.slot.asSample ? "sample" : "stream") + " | " + format("%.1f s", l.seconds) +
               " | " + format("%.0f kB", static_cast<double>(f.bytes) / 1000) + " | " +
               format("%.1f LUFS", l.loudnessLufs) + " | " + format("%.1f dBFS", dbfs(l.peak)) +
               " | " + format("%.4f", l.dc) + " | " + format("%.1f dBFS", dbfs(f.worstMixPeak)) +
               " (" + f.worstPartner + ") |\n";
    }
    out += "\nAll fourteen files: " + format("%.0f kB", static_cast<double>(total) / 1000) + ".\n";
    return out;
}

} // namespace assets
