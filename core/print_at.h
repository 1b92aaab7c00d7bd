// Text at a place: the cursor placed, then one printed statement, as the screens and the core
// write every label and value.
#pragma once

#include <initializer_list>
#include <string_view>

#include "services/services.h"

namespace game {

// Places the text cursor at (row, col) and prints the items, then a line end unless `stay`.
// A failing step is reported at the caller's line.
inline void print_at(svc::Services& sv, int row, int col,
                     std::initializer_list<std::string_view> items, bool stay = false,
                     svc::Here here = svc::Here::current())
{
    sv.locate(row, col, here);
    sv.print_line(items, stay, here);
}

} // namespace game
