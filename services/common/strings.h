// The text and number functions the game's logic uses, and the rounding of values stored into
// integers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "services/common/errors.h"

namespace svc {

// Texts are byte strings of code page 437; positions are 1-based. Joining and comparing
// texts are the std::string operators. Functions marked "error 5" raise it on the sink they
// are given (the services object) and return the result given.

// The longest text the game's runtime can hold.
inline constexpr int kMaxTextLength = 32767;

// The 1-byte text of code c; c outside 0..255: error 5 and the empty text.
std::string character_from_code(ErrorSink& errors, int c);
// n spaces; n < 0 gives the empty text. Texts are at most kMaxTextLength bytes:
// a longer n raises error 5 and gives the empty text.
std::string spaces(ErrorSink& errors, int n);
// n bytes b; n < 0 gives the empty text; b outside 0..255 or n too long: error 5, empty text.
std::string repeated_byte(ErrorSink& errors, int n, int b);
// The last n bytes of t; n >= length gives t, n <= 0 the empty text.
std::string right_part(std::string_view t, int n);
// t with A..Z made a..z; every other byte unchanged.
std::string lower_case(std::string_view t);
// The code of t's first byte; the empty text: error 5 and 0.
int first_code(ErrorSink& errors, std::string_view t);
// The square root; x < 0: error 5 and 0.
double square_root(ErrorSink& errors, double x);
// x raised to y. A negative x with a fractional y: error 5 and 0; a result too large for a
// double (0 to a negative power among them): error 6 and 0.
double power(ErrorSink& errors, double x, double y);

// A value stored into a 16-bit integer variable: rounded to nearest, ties to even
// (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). Outside -32768..32767 (or NaN): error 6 and 0.
std::int16_t round_to_int16(ErrorSink& errors, double value);

} // namespace svc
