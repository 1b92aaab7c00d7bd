// Checks of the generated game data: every picture loads into its buffer and stays on its
// screen wherever the game puts it, the title layout, the music, and the generator itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "game/core/state.h"
#include "screens/title.h"
#include "services/block_codec.h"
#include "services/window_loop.h"
#include "tests/support/harness.h"
#include "tools/assets/game_files.h"
#include "tools/assets/music_source.h"
#include "tools/assets/ogg_decoder.h"
#include "tools/assets/picture_source.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Harness;
using testing_support::read_file;

const fs::path kData = MUV_DATA_DIR;
const fs::path kSources = fs::path(MUV_SOURCE_DIR) / "assets";

// The title screen's buffers (16-bit words); the level's are game::Pictures.
const std::map<std::string, int> kTitleBuffers = {
    {"mm", 2500},    {"uu", 2500},   {"vv", 2500},  {"ee", 2500}, {"ss", 2500},   {"cc", 2500},
    {"kk", 2500},    {"yy", 2500},   {"f3", 1500},  {"dd", 1500}, {"gioc", 3500}, {"fine", 3500},
    {"altop", 4000}, {"corni", 600}, {"frec", 400}, {"si", 400},  {"no", 400}};

// Runs with the data folder as working directory, as the game does.
class InDataFolder {
  public:
    InDataFolder() : previous_(fs::current_path()) { fs::current_path(kData); }
    ~InDataFolder() { fs::current_path(previous_); }

  private:
    fs::path previous_;
};

// A loaded picture: its buffer of the game's capacity, and its size.
struct Loaded {
    std::vector<std::int16_t> words;
    int w = 0, h = 0;
    const std::uint8_t* block() const
    {
        return reinterpret_cast<const std::uint8_t*>(words.data());
    }
};

// Loads a picture with the game's own loader into a buffer of exactly `capacity` words.
Loaded load(Harness& h, const std::string& name, std::size_t capacity)
{
    Loaded p;
    p.words.assign(capacity, 0);
    h.sv().load_block_file(name + ".grh", p.words);
    EXPECT_EQ(h.sv().pending_error(), 0) << name << " does not load into " << capacity << " words";
    p.w = svc::block_width(p.block());
    p.h = svc::block_height(p.block());
    return p;
}

std::map<std::string, Loaded> load_level_pictures(Harness& h)
{
    game::Pictures buffers;
    const std::pair<const char*, std::size_t> level[] = {{"occhil", buffers.occhil.size()},
                                                         {"ocip", buffers.ocip.size()},
                                                         {"oc22", buffers.oc22.size()},
                                                         {"ochig", buffers.ochig.size()},
                                                         {"oc43", buffers.oc43.size()},
                                                         {"occh43", buffers.occh43.size()},
                                                         {"nu51", buffers.cloudDay.size()},
                                                         {"nuser", buffers.cloudEvening.size()},
                                                         {"gab", buffers.gab.size()},
                                                         {"gab2", buffers.gab2.size()},
                                                         {"gab3", buffers.gab3.size()},
                                                         {"gab4", buffers.gab4.size()},
                                                         {"alber", buffers.exitTreesBlock.size()}};
    std::map<std::string, Loaded> out;
    for (const auto& [name, capacity] : level) {
        out[name] = load(h, name, capacity);
    }
    return out;
}

TEST(AssetPictures, EveryFileLoadsWholeIntoABufferOfExactlyItsCapacity)
{
    Harness h;
    InDataFolder here;
    std::map<std::string, Loaded> all = load_level_pictures(h);
    for (const auto& [name, capacity] : kTitleBuffers) {
        all[name] = load(h, name, static_cast<std::size_t>(capacity));
    }
    ASSERT_EQ(all.size(), 30u);
    for (const auto& [name, p] : all) {
        // The file holds one block and nothing after it: its length is the block's size.
        const std::string file = read_file(name + ".grh");
        ASSERT_GE(file.size(), 7u) << name;
        const std::size_t length =
            static_cast<unsigned char>(file[5]) | static_cast<unsigned char>(file[6]) << 8;
        EXPECT_EQ(length, file.size() - 7) << name;
        EXPECT_EQ(length, svc::block_bytes(p.w, p.h)) << name;
        EXPECT_GT(p.w, 0) << name;
        EXPECT_GT(p.h, 0) << name;
    }
}

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
        ASSERT_TRUE(fs::exists(path)) << path;
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
