#pragma once
// The builtin table: one row per name, sorted by name in byte order. Rows of one
// family share a handler.

#include "script/builtins/builtin_call.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace kivora::script {

struct BuiltinEntry {
  const char* name;  // upper-case ASCII
  std::uint16_t minArgs;
  std::uint16_t maxArgs;  // 65535: unbounded
  BuiltinHandler handler;
  // True when the handler reads nothing but its arguments (no variable, no
  // host, no system), so a call may lend it a variable's own value for the
  // duration instead of a copy.
  bool readsOnlyArguments = false;
};

const BuiltinEntry* findBuiltin(std::string_view upperName);
std::span<const BuiltinEntry> builtinTable();

}  // namespace kivora::script
