// Integer arithmetic that reports overflow instead of wrapping. Byte counts come from real trees
// and from user input; a wrapped sum would turn an overfull plan into one that looks as if it fits.
#pragma once

#include <type_traits>

namespace Kvetra {

// Stores a + b in *result and returns true when the sum fits in T; returns false otherwise and
// leaves *result unspecified.
template <typename T>
[[nodiscard]] bool CheckedAdd(T a, T b, T* result) {
    static_assert(std::is_integral_v<T>);
    return !__builtin_add_overflow(a, b, result);
}

// Stores a - b in *result and returns true when the difference fits in T; returns false otherwise
// and leaves *result unspecified.
template <typename T>
[[nodiscard]] bool CheckedSub(T a, T b, T* result) {
    static_assert(std::is_integral_v<T>);
    return !__builtin_sub_overflow(a, b, result);
}

// Stores a * b in *result and returns true when the product fits in T; returns false otherwise and
// leaves *result unspecified.
template <typename T>
[[nodiscard]] bool CheckedMul(T a, T b, T* result) {
    static_assert(std::is_integral_v<T>);
    return !__builtin_mul_overflow(a, b, result);
}

}  // namespace Kvetra
