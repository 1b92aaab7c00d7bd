// Checks of the generated game data and of the generator itself: the music's form and size,
// the same bytes every time, the shipped small files (the golden runs show the pictures).
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "tests/support/harness.h"
#include "tools/assets/game_files.h"
#include "tools/assets/ogg_decoder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::read_file;

const fs::path kData = MUV_DATA_DIR;
const fs::path kSources = fs::path(MUV_SOURCE_DIR) / "assets";

TEST(AssetMusic, EveryPieceIsStereoAtTheGameRateOfItsLengthAndAllFitFiveMegabytes)
{
    // Seconds: effects are short, the dawn and dusk calls brief, the level pieces long.
    const struct {
        const char* name;
        double minSeconds, maxSeconds;
    } pieces[] = {{"Presenta", 15, 60}, {"live1", 60, 150},    {"Labini", 60, 150},
                  {"Alba", 4, 20},      {"Sera2", 4, 20},      {"Porta", 0.5, 3},
                  {"Orol", 0.5, 3},     {"Chiave", 0.5, 3},    {"Raggix", 0.5, 4},
                  {"Firagx1", 0.5, 4},  {"Level-new", 0.5, 3}, {"Scade2", 1.5, 6},
                  {"Vittoria", 3, 12},  {"Finale", 2, 8}};
    std::uintmax_t total = 0;
    for (const auto& piece : pieces) {
        const fs::path path = kData / (std::string(piece.name) + ".ogg");
        total += fs::file_size(path);
        const assets::DecodedSound d = assets::decode_ogg_vorbis(path);
        EXPECT_EQ(d.rate, 22050) << piece.name;
        EXPECT_EQ(d.channels, 2) << piece.name;
        const double seconds = static_cast<double>(d.samples.size()) / 2 / 22050;
        EXPECT_GE(seconds, piece.minSeconds) << piece.name;
        EXPECT_LE(seconds, piece.maxSeconds) << piece.name;
    }
    EXPECT_LT(total, 5u * 1000 * 1000);
}

TEST(AssetGenerator, DataFolderHoldsExactlyWhatTheSourcesMakeEveryTime)
{
    // Pictures: rendered afresh, byte for byte the files of the build.
    const auto pictures = assets::render_picture_folder(kSources / "pictures");
    ASSERT_EQ(pictures.size(), 30u);
    for (const auto& pic : pictures) {
        const auto bytes = assets::picture_file_bytes(pic);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), read_file(kData / (pic.name + ".grh")))
            << pic.name;
    }
    // Music: two encodings in this process and the build's own agree.
    const auto first = assets::music_file_bytes(kSources / "music" / "Porta.mus");
    const auto second = assets::music_file_bytes(kSources / "music" / "Porta.mus");
    EXPECT_EQ(first, second);
    EXPECT_EQ(std::string(first.begin(), first.end()), read_file(kData / "Porta.ogg"));
}

TEST(AssetGenerator, ShippedSoundChoiceAndSavedLevelNeverReplaceThePlayersFiles)
{
    testing_support::TempDir dir;
    testing_support::write_file(dir.path() / "sound.cop", "\" 1\"\r\n");
    EXPECT_EQ(assets::write_default_files(dir.path()), std::vector<std::string>{"LEVEL.MGS"});
    EXPECT_EQ(read_file(dir.path() / "sound.cop"), "\" 1\"\r\n");
    EXPECT_EQ(read_file(dir.path() / "LEVEL.MGS"), "\"\x8C\"\r\n");

    fs::remove(dir.path() / "sound.cop");
    testing_support::write_file(dir.path() / "LEVEL.MGS", "\"\x8E\"\r\n");
    EXPECT_EQ(assets::write_default_files(dir.path()), std::vector<std::string>{"sound.cop"});
    EXPECT_EQ(read_file(dir.path() / "sound.cop"), "\" 0\"\r\n");
    EXPECT_EQ(read_file(dir.path() / "LEVEL.MGS"), "\"\x8E\"\r\n");
}

} // namespace
