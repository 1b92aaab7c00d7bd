// The modal error dialog: what the game's thread asks for, and how the window thread lays
// it out and draws it over the picture (never into the screen image).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace svc {

struct DialogRequest {
    std::string title;
    std::string text;  // lines separated by '\n'
    bool yesNo = true; // false: a single OK button
};

// The dialog's box and buttons over a picture of w x h pixels.
struct DialogLayout {
    static constexpr int kButtonW = 64;
    static constexpr int kButtonH = 20;
    int x, y, w, h;
    int yesX, noX, buttonY; // noX < 0: OK only (at yesX)
};
DialogLayout dialog_layout(const DialogRequest& request, int w, int h);

// Draws the dialog over px, a picture of w x h 0x00RRGGBB pixels.
void draw_dialog(const DialogRequest& request, std::vector<std::uint32_t>& px, int w, int h);

// The button under (x, y): true for Yes (or OK), false for No, nothing off the buttons.
std::optional<bool> dialog_button_at(const DialogLayout& layout, int x, int y);

} // namespace svc
