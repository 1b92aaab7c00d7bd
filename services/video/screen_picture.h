// The screen image as the display shows it: 32-bit pixels through the palette, and text
// through the 8 x 16 glyphs.
#pragma once

#include <cstdint>
#include <vector>

#include "services/video/screen_image.h"

namespace svc {

// Converts the image to 0x00RRGGBB pixels (text mode through the 8 x 16 glyphs) into out,
// which is resized to w x h; only picture rows top..bottom and columns left..right when given
// (in graphics modes whole eight-pixel words; a text row is converted whole if any of its 16
// picture rows is asked for). With onlyWords (graphics modes: two 64-bit masks a pixel row,
// bit n for the word of pixels 8n..8n+7), only the marked words of those rows; out must then
// already hold the rest of the picture. False if the image has no mode yet.
bool render_screen(const ScreenImage& image, std::vector<std::uint32_t>& out, int& w, int& h,
                   int top = 0, int bottom = ScreenImage::kMaxHeight - 1, int left = 0,
                   int right = ScreenImage::kMaxWidth - 1,
                   const std::uint64_t* onlyWords = nullptr);

} // namespace svc
