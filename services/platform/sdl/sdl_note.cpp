// The note that tells a failure of the window's keys: one line on standard error, and a small
// box in the PC's 8 x 8 letters over the picture for a few seconds. It is drawn on the
// display only: the screen image, and so every screenshot, never holds it.
#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "data/fonts.h"
#include "services/platform/sdl/sdl_platform.h"

namespace svc {

namespace {

constexpr double kNoteMs = 2500;

// Splits text into lines of at most `width` characters, at spaces where it can.
std::vector<std::string> wrapped(const std::string& text, std::size_t width)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = std::min(text.size(), start + width);
        if (end < text.size()) {
            const std::size_t space = text.rfind(' ', end);
            if (space != std::string::npos && space > start) {
                end = space;
            }
        }
        lines.push_back(text.substr(start, end - start));
        start = text.find_first_not_of(' ', end);
        start = start == std::string::npos ? text.size() : start;
    }
    return lines;
}

} // namespace

void SdlPlatform::tell(const std::string& title, const std::string& problem)
{
    std::fprintf(stderr, "muvesecky: %s\n", problem.c_str());
    // As wide as the picture leaves room for, in letters as large as its pixels.
    const int cell = 8 * std::max(1, outW_ / std::max(imageW_, 1));
    const std::size_t width = static_cast<std::size_t>(std::max(outW_ / cell - 2, 16));
    note_ = {title};
    for (const std::string& line : wrapped(problem, width)) {
        note_.push_back(line);
    }
    noteUntilMs_ = ticks_ms() + kNoteMs;
    if (SDL_Surface* screen = SDL_GetVideoSurface()) {
        draw_note(screen);
    }
}

void SdlPlatform::draw_note(SDL_Surface* screen)
{
    if (note_.empty()) {
        return;
    }
    const int k = std::max(1, outW_ / std::max(imageW_, 1));
    const int cell = 8 * k;
    std::size_t columns = 0;
    for (const std::string& line : note_) {
        columns = std::max(columns, line.size());
    }
    // Half a letter of margin on every side, inside a thin yellow frame.
    const SDL_Rect box{static_cast<Sint16>(offsetX_ + cell / 2),
                       static_cast<Sint16>(offsetY_ + cell / 2),
                       static_cast<Uint16>((static_cast<int>(columns) + 1) * cell),
                       static_cast<Uint16>((static_cast<int>(note_.size()) + 1) * cell)};
    SDL_Rect r = box;
    SDL_FillRect(screen, &r, SDL_MapRGB(screen->format, 0xFF, 0xFF, 0x55));
    r = SDL_Rect{static_cast<Sint16>(box.x + k), static_cast<Sint16>(box.y + k),
                 static_cast<Uint16>(box.w - 2 * k), static_cast<Uint16>(box.h - 2 * k)};
    SDL_FillRect(screen, &r, SDL_MapRGB(screen->format, 0x00, 0x00, 0xAA));
    const Uint32 ink = SDL_MapRGB(screen->format, 0xFF, 0xFF, 0xFF);
    for (std::size_t row = 0; row < note_.size(); ++row) {
        for (std::size_t col = 0; col < note_[row].size(); ++col) {
            const std::uint8_t* glyph = data::kFont8x8[static_cast<std::uint8_t>(note_[row][col])];
            for (int gy = 0; gy < 8; ++gy) {
                for (int gx = 0; gx < 8; ++gx) {
                    if ((glyph[gy] & (0x80 >> gx)) == 0) {
                        continue;
                    }
                    r = SDL_Rect{static_cast<Sint16>(box.x + cell / 2 +
                                                     static_cast<int>(col) * cell + gx * k),
                                 static_cast<Sint16>(box.y + cell / 2 +
                                                     static_cast<int>(row) * cell + gy * k),
                                 static_cast<Uint16>(k), static_cast<Uint16>(k)};
                    SDL_FillRect(screen, &r, ink);
                }
            }
        }
    }
    const int x0 = std::clamp<int>(box.x, 0, screen->w);
    const int y0 = std::clamp<int>(box.y, 0, screen->h);
    const int x1 = std::clamp<int>(box.x + box.w, 0, screen->w);
    const int y1 = std::clamp<int>(box.y + box.h, 0, screen->h);
    if (x1 > x0 && y1 > y0) {
        SDL_UpdateRect(screen, x0, y0, static_cast<Uint32>(x1 - x0), static_cast<Uint32>(y1 - y0));
    }
}

void SdlPlatform::end_note()
{
    if (note_.empty() || ticks_ms() < noteUntilMs_) {
        return;
    }
    note_.clear();
    if (lastPixels_ != nullptr) { // the picture again where the note was
        present(lastPixels_, imageW_, imageH_, 0, imageH_ - 1, 0, imageW_ - 1);
    }
}

} // namespace svc
