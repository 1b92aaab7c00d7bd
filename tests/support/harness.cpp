// Test support implementation.
#include "tests/support/harness.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "services/video/block_codec.h"

namespace testing_support {

Harness::Harness(int hours, int minutes, int seconds, double ms)
{
    platform.set_time_of_day(hours, minutes, seconds, ms);
    services = std::make_unique<svc::Services>(platform);
    // The game no longer waits for a whole second at start; the clock is still run on to the
    // next one (window passes and all) before the first step, where the runs were recorded.
    platform.advance(std::ceil(1000.0 - ms));
}

int Harness::answerError()
{
    const int code = services->pending_error();
    if (code != 0) {
        platform.press_key(svc::Key::Y);
        services->checkpoint();
    }
    return code;
}

void solid_block(std::vector<std::int16_t>& buffer, int w, int h, int colour)
{
    const std::vector<std::uint8_t> indices(static_cast<std::size_t>(w * h),
                                            static_cast<std::uint8_t>(colour));
    const std::vector<std::uint8_t> bytes = svc::encode_block(w, h, indices.data());
    std::fill(buffer.begin(), buffer.end(), 0);
    std::memcpy(buffer.data(), bytes.data(), bytes.size());
}

TempDir::TempDir()
{
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("muv-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

int count_colour(const svc::ScreenImage& image, int colour, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            n += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}

void lay_out_game_folder(const std::filesystem::path& dir, int soundChoice, int savedLevel)
{
    for (const auto& entry : std::filesystem::directory_iterator(MUV_DATA_DIR)) {
        std::filesystem::copy_file(entry.path(), dir / entry.path().filename(),
                                   std::filesystem::copy_options::overwrite_existing);
    }
    if (soundChoice >= 0) {
        write_file(dir / "sound.cop", "\" " + std::to_string(soundChoice) + "\"\r\n");
    }
    write_file(dir / "LEVEL.MGS",
               "\"" + std::string(1, static_cast<char>(savedLevel + 139)) + "\"\r\n");
}

std::vector<std::filesystem::path> files_ending(const std::filesystem::path& dir,
                                                const std::string& extension)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() == extension) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string read_file(const std::filesystem::path& p)
{
    std::ifstream f(p, std::ios::binary);
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

void write_file(const std::filesystem::path& p, const std::string& bytes)
{
    std::ofstream f(p, std::ios::binary);
    f << bytes;
}

} // namespace testing_support
