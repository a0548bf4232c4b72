#pragma once
// 32-bit arithmetic of KX-Script: it wraps instead of faulting, and division
// by -1 of the smallest integer keeps that silence.

#include <cstdint>

namespace kivora::script::arithmetic {

using u32 = std::uint32_t;
using i32 = std::int32_t;

inline i32 wrap(u32 v) { return static_cast<i32>(v); }
inline i32 add(i32 a, i32 b) { return wrap(u32(a) + u32(b)); }
inline i32 sub(i32 a, i32 b) { return wrap(u32(a) - u32(b)); }
inline i32 mul(i32 a, i32 b) { return wrap(u32(a) * u32(b)); }
inline i32 neg(i32 a) { return wrap(0u - u32(a)); }
// MININTEGER / -1 has no 32-bit quotient; the wrapped one keeps overflow silent.
inline i32 quotient(i32 a, i32 b) { return b == -1 ? neg(a) : a / b; }
inline i32 remainder(i32 a, i32 b) { return b == -1 ? 0 : a % b; }
inline i32 shiftLeft(i32 a, i32 n) { return wrap(u32(a) << (n & 31)); }
inline i32 shiftRight(i32 a, i32 n) { return a >> (n & 31); }
inline i32 bitOr(i32 a, i32 b) { return a | b; }
inline i32 bitAnd(i32 a, i32 b) { return a & b; }
inline i32 bitXor(i32 a, i32 b) { return a ^ b; }

// a multiplied by itself n times starting from 1; squaring gives the same
// wrapped product without looping two billion times.
inline i32 power(i32 a, i32 n) {
  if (n <= 0) return 1;
  u32 result = 1;
  u32 base = u32(a);
  for (u32 e = u32(n); e != 0; e >>= 1) {
    if (e & 1) result *= base;
    base *= base;
  }
  return wrap(result);
}

}  // namespace kivora::script::arithmetic
