// Screenshots must read back as the very pixels they were made from.
#include "services/video/png_writer.h"

#include <gtest/gtest.h>

#include <png.h>

#include <cstdint>
#include <vector>

namespace {

TEST(PngWriter, PicturesReadBackPixelForPixel)
{
    // Three columns and two rows, so a swapped width and height or channel order shows.
    const std::vector<std::uint32_t> pixels = {0xFF0000, 0x00FF00, 0x0000FF,
                                               0x123456, 0xFFFFFF, 0x000000};
    const std::vector<std::uint8_t> file = svc::encode_png(pixels.data(), 3, 2);
    ASSERT_FALSE(file.empty());

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, file.data(), file.size()));
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(image.format, static_cast<png_uint_32>(PNG_FORMAT_RGB)); // no alpha, no palette
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));

    std::vector<std::uint32_t> back;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
        back.push_back(std::uint32_t{rgb[i]} << 16 | std::uint32_t{rgb[i + 1]} << 8 | rgb[i + 2]);
    }
    EXPECT_EQ(back, pixels);
}

TEST(PngWriter, RefusesEmptyPicturesAndUnwritablePaths)
{
    const std::uint32_t pixel = 0xAAAAAA;
    EXPECT_TRUE(svc::encode_png(&pixel, 0, 1).empty());
    EXPECT_TRUE(svc::encode_png(&pixel, 1, -1).empty());
    EXPECT_FALSE(svc::write_png("/nonexistent-folder/shot.png", &pixel, 1, 1));
}

} // namespace
