// The screen image as the window shows it, written to a PNG file: what the picture tools save.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "services/video/png_writer.h"
#include "services/video/screen_image.h"
#include "services/video/screen_picture.h"

namespace tools {

// False when the image cannot be shown or the file cannot be written.
inline bool write_screen_png(const svc::ScreenImage& image, const std::string& path)
{
    std::vector<std::uint32_t> pixels;
    int w = 0;
    int h = 0;
    return svc::render_screen(image, pixels, w, h) && svc::write_png(path, pixels.data(), w, h);
}

} // namespace tools
