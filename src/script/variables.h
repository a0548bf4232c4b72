#pragma once
// Every variable of a script, by name. A compiled script refers to a
// variable's place directly, so a name is looked up once per run, not at
// every read; builtins that take a variable by name still find it by name.

#include "script/value.h"

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace kivora::script {

// The place of one name: a variable lives there once something assigned it.
struct Variable {
  Value value;  // int 0 while no variable lives here
  bool defined = false;
};

// Names are ordered by plain byte comparison. A place, once made, stays where
// it is until the table is cleared, whether or not a variable lives in it.
class VariableTable {
 public:
  bool contains(std::string_view name) const { return find(name) != nullptr; }
  // The variable, created as int 0 when missing.
  Value& at(std::string_view name) { return define(place(name)); }
  Value* find(std::string_view name);
  const Value* find(std::string_view name) const;
  // The place of a name, made empty when the table has none.
  Variable& place(std::string_view name);
  // The variable in its place, created as int 0 when missing.
  static Value& define(Variable& variable) noexcept {
    variable.defined = true;
    return variable.value;
  }
  void clear() noexcept { map_.clear(); }
  // Forgets the places no variable lives in; no compiled script may be left.
  void dropEmptyPlaces() noexcept;
  std::size_t size() const;

 private:
  std::map<std::string, Variable, std::less<>> map_;
};

}  // namespace kivora::script
