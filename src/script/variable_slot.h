#pragma once
// What a syntax-tree node that names a variable remembers between its
// evaluations, so that a loop does not search the variable table (or the
// constant table) for the same name again and again.

#include <cstdint>

namespace kivora::script {

struct Value;

// The variable found last time, or the fact that there was none.
struct VariableSlot {
  Value* value = nullptr;
  // The table's identity when value was found, or its version when the name
  // was found missing; 0 (never a stamp) for nothing remembered.
  std::uint64_t stamp = 0;
};

// The constant table never changes, so what it holds for a name is looked up once.
struct ConstantSlot {
  enum : std::uint8_t { kUnknown, kNone, kFound } state = kUnknown;
  std::int32_t value = 0;
};

}  // namespace kivora::script
