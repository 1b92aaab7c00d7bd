// The status panel's frames: borders, sides and boxes in code page 437 box-drawing bytes.
#pragma once

#include <string_view>

#include "services/services.h"

namespace screens {

// A box side: byte 186.
inline constexpr std::string_view kSide = "\xBA";

// A border of width w (2..14): corner, w - 2 bytes 205, corner; the corners by edge.
enum class Edge { Top, Middle, Bottom };

// A border at a place, then a line end.
void border_at(svc::Services& sv, int row, int col, Edge e, int width);

// A side at each of two columns of a row.
void sides_at(svc::Services& sv, int row, int left, int right);

// The head of a box: top border, the title row between two sides, middle border.
void box_head(svc::Services& sv, int top, int col, int width, std::string_view title);

// A box of five rows: the head, a value row with its two sides, bottom.
void titled_box(svc::Services& sv, int top, int col, int width, std::string_view title);

// The grey box 12 wide of level 10, which has no door and no key: dashes for title and value.
void dashed_box(svc::Services& sv, int top, int col);

} // namespace screens
