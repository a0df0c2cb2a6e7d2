// 32-bit game arithmetic that wraps like the 32-bit records instead of overflowing into UB.
#pragma once

#include <cstdint>

namespace velkaran {

// A + B modulo 2^32, as a signed 32-bit value.
constexpr int32_t WrapAdd(int32_t A, int32_t B) {
    return static_cast<int32_t>(static_cast<uint32_t>(A) + static_cast<uint32_t>(B));
}

// A - B modulo 2^32, as a signed 32-bit value.
constexpr int32_t WrapSub(int32_t A, int32_t B) {
    return static_cast<int32_t>(static_cast<uint32_t>(A) - static_cast<uint32_t>(B));
}

// A * B modulo 2^32, as a signed 32-bit value.
constexpr int32_t WrapMul(int32_t A, int32_t B) {
    return static_cast<int32_t>(static_cast<uint32_t>(A) * static_cast<uint32_t>(B));
}

}  // namespace velkaran
