// The browser's key table: KeyboardEvent.code names to the physical keys of the PC keyboard.
#pragma once

#include <string_view>

#include "services/platform/keys.h"

namespace svc {

// The physical key a browser's key code ("KeyA", "ArrowUp", "NumpadEnter" ...) stands for;
// Key::None for codes the table leaves out.
Key translate_code(std::string_view code);

// The modifier bits the page sends with every key, as it reads them from the event.
enum WebModifier : unsigned {
    kWebShift = 1,
    kWebCtrl = 2,
    kWebAlt = 4,
    kWebCapsLock = 8,
    kWebNumLock = 16,
};

// One key press from a code and the page's modifier bits.
KeyPress web_key_press(std::string_view code, unsigned modifiers);

} // namespace svc
