// A value's own bits as another type of the same size, as std::bit_cast gives them (the C++
// library of the browser build has no bit_cast yet).
#pragma once

#include <cstring>
#include <type_traits>

namespace svc {

template <class To, class From> To bits_of(const From& value)
{
    static_assert(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<From> &&
                  std::is_trivially_copyable_v<To>);
    To to;
    std::memcpy(&to, &value, sizeof to);
    return to;
}

} // namespace svc
