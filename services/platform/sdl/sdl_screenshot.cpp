// F12: the screen image one to one as a PNG file in the game folder, under the first free
// number, written whole or not at all.
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "services/files/safe_write.h"
#include "services/platform/sdl/sdl_platform.h"
#include "services/video/png_writer.h"

namespace svc {

namespace {

constexpr int kMaxScreenshots = 999;

std::string screenshot_name(int n)
{
    char name[32];
    std::snprintf(name, sizeof name, "schermata-%03d.png", n);
    return name;
}

// Anything at a name takes its number, even a link that leads nowhere: it is never opened, so
// a pipe cannot hold the window, and never written through.
bool name_taken(const std::string& name)
{
    struct stat st {};
    return ::lstat(name.c_str(), &st) == 0;
}

} // namespace

void SdlPlatform::save_screenshot()
{
    if (lastPixels_ == nullptr) {
        return;
    }
    int n = 1;
    while (n <= kMaxScreenshots && name_taken(screenshot_name(n))) {
        ++n;
    }
    std::string problem;
    if (n > kMaxScreenshots) {
        problem = "no free number for a screenshot: " + screenshot_name(1) + " to " +
                  screenshot_name(kMaxScreenshots) + " are all taken";
    } else {
        const std::vector<std::uint8_t> png = encode_png(lastPixels_, imageW_, imageH_);
        const std::string_view bytes(reinterpret_cast<const char*>(png.data()), png.size());
        problem = png.empty() ? screenshot_name(n) + ": the picture could not be encoded"
                              : write_whole_file(screenshot_name(n), bytes);
    }
    if (!problem.empty()) {
        tell("Schermata non salvata", problem);
    }
}

} // namespace svc
