#pragma once
// What the engine uses of C++20's library and Debian's emscripten 3.1.6 (libc++ 13) lacks,
// given the standard's meaning; included before every source of the browser build only.
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <type_traits>

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 16000
namespace std {
template <class T>
    requires is_unbounded_array_v<T>
unique_ptr<T> make_unique_for_overwrite(size_t n)
{
    return unique_ptr<T>(new remove_extent_t<T>[n]);
}
template <class T>
    requires(!is_array_v<T>)
unique_ptr<T> make_unique_for_overwrite()
{
    return unique_ptr<T>(new T);
}

template <class To, class From>
    requires(sizeof(To) == sizeof(From) && is_trivially_copyable_v<To> && is_trivially_copyable_v<From>)
constexpr To bit_cast(const From& from) noexcept
{
    return __builtin_bit_cast(To, from);
}

namespace ranges {
// ranges::find over a range with a projection, as the engine calls it.
struct TCompatFind {
    template <class Range, class Value, class Projection = identity>
    constexpr auto operator()(Range&& range, const Value& value, Projection projection = {}) const
    {
        auto it = std::begin(range);
        for (; it != std::end(range); ++it)
            if (std::invoke(projection, *it) == value) break;
        return it;
    }
};
inline constexpr TCompatFind find{};
}  // namespace ranges
}  // namespace std
#endif
