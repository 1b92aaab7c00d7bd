// The text and number functions the game's logic uses, the rounding of values stored into
// integers, and arrays whose subscripts are checked against their declared bounds.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "services/common/errors.h"

namespace svc {

// Texts are byte strings of code page 437; positions are 1-based. Joining and comparing
// texts are the std::string operators. Functions marked "error 5" raise it through
// raise_error and return the result given.

// The 1-byte text of code c; c outside 0..255: error 5 and the empty text.
std::string character_from_code(int c);
// n spaces; n < 0 gives the empty text. Texts are at most kMaxTextLength bytes:
// a longer n raises error 5 and gives the empty text.
std::string spaces(int n);
// n bytes b; n < 0 gives the empty text; b outside 0..255 or n too long: error 5, empty text.
std::string repeated_byte(int n, int b);
// The last n bytes of t; n >= length gives t, n <= 0 the empty text.
std::string right_part(std::string_view t, int n);
// length bytes of t from position start. start < 1 counts as 1 and shortens the length by
// the positions lost; a length past the end is cut there; start beyond the end or a
// length <= 0 gives the empty text.
std::string middle_part(std::string_view t, int start, int length);
// Everything of t from position start (start < 1 counts as 1).
std::string middle_part(std::string_view t, int start);
// t with A..Z made a..z; every other byte unchanged.
std::string lower_case(std::string_view t);
// The code of t's first byte; the empty text: error 5 and 0.
int first_code(std::string_view t);
// The square root; x < 0: error 5 and 0.
double square_root(double x);
// x raised to y. A negative x with a fractional y: error 5 and 0; a result too large for a
// double (0 to a negative power among them): error 6 and 0.
double power(double x, double y);

// The longest text the game's runtime can hold.
inline constexpr int kMaxTextLength = 32767;

// A value stored into a 16-bit integer variable: rounded to nearest, ties to even
// (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). Outside -32768..32767 (or NaN): error 6 and 0.
std::int16_t round_to_int16(double value);

// Inclusive subscript bounds of one dimension, as an array is declared (lower TO upper).
struct Bounds {
    int lower = 0;
    int upper = 0;
    std::size_t count() const { return static_cast<std::size_t>(upper - lower + 1); }
};

// An array of Rank dimensions with declared bounds. Every access checks the subscripts:
// one outside its bounds raises error 9 and yields a scratch element (reset to T{} at each
// such access), so the bad access neither reads nor changes any real element.
// Elements are stored row-major (the last subscript varies fastest).
template <typename T, std::size_t Rank = 1> class CheckedArray {
  public:
    explicit CheckedArray(const std::array<Bounds, Rank>& bounds) : bounds_(bounds)
    {
        std::size_t total = 1;
        for (const Bounds& b : bounds_) {
            total *= b.upper >= b.lower ? b.count() : 0;
        }
        elements_.assign(total, T{});
    }
    // One dimension 0..upper.
    explicit CheckedArray(int upper) requires(Rank == 1)
        : CheckedArray(std::array<Bounds, 1>{Bounds{0, upper}})
    {
    }

    template <typename... I>
    requires(sizeof...(I) == Rank) T& operator()(I... subscripts)
    {
        const std::size_t index = index_of({static_cast<int>(subscripts)...});
        return index < elements_.size() ? elements_[index] : fresh_scratch();
    }
    template <typename... I>
    requires(sizeof...(I) == Rank) const T& operator()(I... subscripts) const
    {
        const std::size_t index = index_of({static_cast<int>(subscripts)...});
        return index < elements_.size() ? elements_[index] : fresh_scratch();
    }

    const Bounds& bounds(std::size_t dimension = 0) const { return bounds_[dimension]; }
    std::size_t size() const { return elements_.size(); }
    void fill(const T& value) { elements_.assign(elements_.size(), value); }
    // All elements in storage order (image buffers are handed to the block services so).
    std::span<T> elements() { return elements_; }
    std::span<const T> elements() const { return elements_; }

  private:
    static_assert(!std::is_same_v<T, bool>, "std::vector<bool> has no element references");

    // The storage index of the subscripts; size() (after raising error 9) when one is
    // outside its bounds.
    std::size_t index_of(const std::array<int, Rank>& s) const
    {
        std::size_t index = 0;
        for (std::size_t d = 0; d < Rank; ++d) {
            if (s[d] < bounds_[d].lower || s[d] > bounds_[d].upper) {
                raise_error(kSubscriptOutOfRange);
                return elements_.size();
            }
            index = index * bounds_[d].count() + static_cast<std::size_t>(s[d] - bounds_[d].lower);
        }
        return index;
    }
    T& fresh_scratch() const
    {
        scratch_ = T{};
        return scratch_;
    }

    std::array<Bounds, Rank> bounds_;
    std::vector<T> elements_;
    mutable T scratch_{};
};

} // namespace svc
