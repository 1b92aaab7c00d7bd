// Test support implementation.
#include "tests/support/harness.h"

#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "services/png_writer.h"
#include "services/window_loop.h"

namespace testing_support {

Harness::Harness(int hours, int minutes, int seconds, double ms)
{
    platform.setTimeOfDay(hours, minutes, seconds, ms);
    services = std::make_unique<svc::Services>(platform);
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

bool save_screen_png(const svc::ScreenImage& image, const std::string& path)
{
    std::vector<std::uint32_t> px;
    int w = 0;
    int h = 0;
    return svc::render_screen(image, px, w, h) && svc::write_png(path, px.data(), w, h);
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
