// A small PNG writer for screenshots and contact sheets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace svc {

// Writes w x h 0x00RRGGBB pixels as an 8-bit RGB PNG. False if the file cannot be written.
bool write_png(const std::string& path, const std::uint32_t* pixels, int w, int h);

// The PNG file bytes for the same picture (empty for an empty picture or if encoding fails).
std::vector<std::uint8_t> encode_png(const std::uint32_t* pixels, int w, int h);

} // namespace svc
