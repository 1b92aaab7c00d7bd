// The game's music as the browser hears it and as the desktop does: stb_vorbis (the page's
// decoder) against libvorbisfile (SDL_mixer's), sample for sample on every Ogg file shipped.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include "tests/support/harness.h"

namespace {

struct Decoded {
    int channels = 0;
    long rate = 0;
    std::vector<short> pcm; // interleaved
};

// As SDL_mixer plays it: ov_read, 16-bit signed little-endian.
Decoded desktop(const std::filesystem::path& path)
{
    Decoded d;
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) {
        return d;
    }
    const vorbis_info* info = ov_info(&vf, -1);
    d.channels = info->channels;
    d.rate = info->rate;
    char buffer[8192];
    int section = 0;
    for (long n; (n = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &section)) > 0;) {
        const auto* s = reinterpret_cast<const short*>(buffer);
        d.pcm.insert(d.pcm.end(), s, s + n / 2);
    }
    ov_clear(&vf);
    return d;
}

// As the page decodes it (services/platform/web/web_audio.cpp): from memory, a piece at a time.
Decoded browser(const std::filesystem::path& path)
{
    Decoded d;
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    int error = 0;
    stb_vorbis* v =
        stb_vorbis_open_memory(bytes.data(), static_cast<int>(bytes.size()), &error, nullptr);
    if (v == nullptr) {
        return d;
    }
    const stb_vorbis_info info = stb_vorbis_get_info(v);
    d.channels = info.channels;
    d.rate = info.sample_rate;
    std::vector<short> piece(8192 * static_cast<std::size_t>(info.channels));
    for (int frames; (frames = stb_vorbis_get_samples_short_interleaved(
                          v, info.channels, piece.data(), static_cast<int>(piece.size()))) > 0;) {
        d.pcm.insert(d.pcm.end(), piece.begin(), piece.begin() + frames * info.channels);
    }
    stb_vorbis_close(v);
    return d;
}

// Both decoders compute the same inverse transform in single-precision floating point, in a
// different order, then round to 16 bits: where the two sums fall either side of a rounding
// step the samples are one unit apart (about -90 dB of full scale, far below hearing), and
// that happens rarely (measured: at most 0.03 % of the samples of any file). More than one
// unit, or one unit on more than one sample in a thousand, is a real fault: a lost or shifted
// frame, a wrong channel order, a missed clipping or a changed scale.
constexpr int kMostApart = 1;
constexpr std::size_t kRarelyApart = 1000; // at most one sample in so many

TEST(OggDecoders, TheBrowserHearsEveryMusicFileAsTheDesktopDoes)
{
    const auto files = testing_support::files_ending(MUV_DATA_DIR, ".ogg");
    for (const std::filesystem::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        const Decoded a = desktop(file);
        const Decoded b = browser(file);
        ASSERT_GT(a.pcm.size(), 0u);
        EXPECT_EQ(b.channels, a.channels);
        EXPECT_EQ(b.rate, a.rate);
        ASSERT_EQ(b.pcm.size(), a.pcm.size());
        int most = 0;
        std::size_t apart = 0;
        for (std::size_t i = 0; i < a.pcm.size(); ++i) {
            const int d = std::abs(a.pcm[i] - b.pcm[i]);
            most = std::max(most, d);
            apart += d != 0 ? 1 : 0;
        }
        EXPECT_LE(most, kMostApart);
        EXPECT_LE(apart, a.pcm.size() / kRarelyApart);
        std::printf("%-16s %9zu samples, %7zu apart, at most %d\n", file.filename().c_str(),
                    a.pcm.size(), apart, most);
    }
    EXPECT_GE(files.size(), 10u);
}

} // namespace
