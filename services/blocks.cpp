// Image blocks: capturing screen rectangles, drawing them back, loading block files.
#include <unistd.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "services/entry.h"
#include "services/files/files.h"
#include "services/services.h"
#include "services/video/block_codec.h"
#include "services/video/block_file.h"
#include "services/video/raster.h"

namespace svc {

// Blocks are byte layouts kept in arrays of 16-bit words, little-endian within a word;
// on a little-endian machine the words' own bytes are those bytes.
static_assert(std::endian::native == std::endian::little);

namespace {

// Bytes of the array from element `at` to its end (0 when `at` is past the end).
std::size_t room_from(Words array, std::size_t at)
{
    return at < array.size() ? (array.size() - at) * sizeof(std::int16_t) : 0;
}

std::uint8_t* bytes_at(Words array, std::size_t at)
{
    return reinterpret_cast<std::uint8_t*>(array.data() + at);
}

// The new pixel for destination d and block pixel c under a drawing action.
std::uint8_t combine(int action, std::uint8_t d, std::uint8_t c)
{
    switch (action) {
    case kPutCopy:
        return c;
    case kPutInverse:
        return static_cast<std::uint8_t>(15 & ~c);
    case kPutAnd:
        return static_cast<std::uint8_t>(d & c);
    case kPutOr:
        return static_cast<std::uint8_t>(d | c);
    default:
        return static_cast<std::uint8_t>(d ^ c); // kPutXor and action 5
    }
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

void Services::get_block(float x1, float y1, float x2, float y2, Words array, std::size_t at,
                         Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    const ScreenImage& img = screen_;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    if (!raster::to_coordinate(x1, left) || !raster::to_coordinate(y1, top) ||
        !raster::to_coordinate(x2, right) || !raster::to_coordinate(y2, bottom)) {
        raise(kIllegalFunctionCall);
        return;
    }
    if (left > right) {
        std::swap(left, right);
    }
    if (top > bottom) {
        std::swap(top, bottom);
    }
    if (img.text_mode() || left < 0 || top < 0 || right >= img.width() || bottom >= img.height()) {
        raise(kIllegalFunctionCall);
        return;
    }
    const int w = right - left + 1;
    const int h = bottom - top + 1;
    if (room_from(array, at) < block_bytes(w, h)) {
        raise(kIllegalFunctionCall);
        return;
    }
    const int b = (w + 7) / 8;
    std::uint8_t* out = bytes_at(array, at);
    out[0] = static_cast<std::uint8_t>(w);
    out[1] = static_cast<std::uint8_t>(w >> 8);
    out[2] = static_cast<std::uint8_t>(h);
    out[3] = static_cast<std::uint8_t>(h >> 8);
    std::uint8_t* row = out + 4;
    for (int y = top; y <= bottom; ++y, row += 4 * b) {
        std::uint8_t planes[4] = {0, 0, 0, 0};
        std::uint8_t mask = 0x80;
        for (int x = left, i = 0; x <= right; ++x, ++i) {
            const std::uint8_t c = img.pixel(x, y);
            for (int p = 0; p < 4; ++p) {
                if ((c >> p) & 1) {
                    planes[p] |= mask;
                }
            }
            mask >>= 1;
            if (mask == 0 || x == right) {
                for (int p = 0; p < 4; ++p) {
                    row[p * b + i / 8] = planes[p];
                    planes[p] = 0;
                }
                mask = 0x80;
            }
        }
    }
}

void Services::put_block(float x, float y, Words array, std::size_t at, int action, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    ScreenImage& img = screen_;
    int left = 0;
    int top = 0;
    if (!raster::to_coordinate(x, left) || !raster::to_coordinate(y, top) || action < kPutXor ||
        action > kLastPutAction || img.text_mode()) {
        raise(kIllegalFunctionCall);
        return;
    }
    const std::size_t room = room_from(array, at);
    if (room < 4) {
        raise(kIllegalFunctionCall);
        return;
    }
    const std::uint8_t* block = bytes_at(array, at);
    const int w = block_width(block);
    const int h = block_height(block);
    // A header promising more than the array holds is refused rather than read past it.
    if (!block_fits(block, room) || left < 0 || top < 0 || left + w - 1 >= img.width() ||
        top + h - 1 >= img.height()) {
        raise(kIllegalFunctionCall);
        return;
    }
    // Eight pixels at a time: the four plane bytes of a row give eight colour bytes at once.
    const int rowBytes = (w + 7) / 8;
    for (int j = 0; j < h; ++j) {
        const int py = top + j;
        for (int bx = 0; bx < rowBytes; ++bx) {
            const std::uint64_t colours = block_eight_pixels(block, j, bx);
            const int count = w - bx * 8 < 8 ? w - bx * 8 : 8;
            // Copy and OR, the game's two actions, go a word at a time.
            if (action == kPutCopy || action == kPutOr) {
                img.put_pixels(left + bx * 8, py, colours, count, action == kPutOr);
                continue;
            }
            for (int k = 0; k < count; ++k) {
                const auto c = static_cast<std::uint8_t>(colours >> (k * 8) & 0x0F);
                const int px = left + bx * 8 + k;
                img.set_pixel(px, py, combine(action, img.pixel(px, py), c));
            }
        }
    }
}

void Services::load_block_file(const std::string& name, Words array, std::size_t at, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    if (at > 65535 / sizeof(std::int16_t)) {
        raise(kOverflow);
        return;
    }
    // A folder, pipe or device in the picture's place is refused like a damaged picture.
    const ReadOpen opened = open_for_reading(name);
    if (opened.fd < 0) {
        std::fprintf(stderr, "muvesecky: %s: %s\n", name.c_str(), read_open_reason(opened).c_str());
        raise(opened.odd ? kBadFileMode : kFileNotFound);
        return;
    }
    std::unique_ptr<std::FILE, FileCloser> file(::fdopen(opened.fd, "rb"));
    if (!file) {
        ::close(opened.fd);
        raise(kFileNotFound);
        return;
    }
    // At most the header and as many data bytes as the array can take are read.
    const std::size_t room = room_from(array, at);
    std::vector<std::uint8_t> bytes(kBlockFileHeader + room);
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    const BlockFileCheck check = check_block_file(bytes.data(), got, room);
    if (check.copy > 0) {
        std::memcpy(bytes_at(array, at), bytes.data() + kBlockFileHeader, check.copy);
    }
    if (check.error != 0) {
        std::fprintf(stderr, "muvesecky: %s: %s\n", name.c_str(),
                     std::ferror(file.get()) != 0 ? "read error"
                                                  : "too short, or not a picture file");
        raise(check.error);
    }
}

} // namespace svc
