// PNG encoding of 8-bit RGB pictures with libpng's simplified interface.
#include "services/video/png_writer.h"

#include <fstream>

#include <png.h>

namespace svc {
namespace {

// libpng has no 32-bit "RGB plus unused byte" input, so the pixels go over as packed RGB.
std::vector<std::uint8_t> packed_rgb(const std::uint32_t* pixels, int w, int h)
{
    const std::size_t count = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    std::vector<std::uint8_t> rgb;
    rgb.reserve(3 * count);
    for (std::size_t i = 0; i < count; ++i) {
        rgb.push_back(static_cast<std::uint8_t>(pixels[i] >> 16));
        rgb.push_back(static_cast<std::uint8_t>(pixels[i] >> 8));
        rgb.push_back(static_cast<std::uint8_t>(pixels[i]));
    }
    return rgb;
}

} // namespace

std::vector<std::uint8_t> encode_png(const std::uint32_t* pixels, int w, int h)
{
    if (pixels == nullptr || w <= 0 || h <= 0) {
        return {};
    }
    const std::vector<std::uint8_t> rgb = packed_rgb(pixels, w, h);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(w);
    image.height = static_cast<png_uint_32>(h);
    image.format = PNG_FORMAT_RGB;

    // The first call only measures; the second writes into a buffer of that size.
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr)) {
        return {};
    }
    std::vector<std::uint8_t> out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgb.data(), 0, nullptr)) {
        return {};
    }
    out.resize(size);
    return out;
}

bool write_png(const std::string& path, const std::uint32_t* pixels, int w, int h)
{
    const std::vector<std::uint8_t> bytes = encode_png(pixels, w, h);
    if (bytes.empty()) {
        return false;
    }
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

} // namespace svc
