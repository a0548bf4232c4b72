// The array builtins. Scripts cannot pass an array to a function, so each takes
// the array's variable name as text (an array variable's own text is its name,
// so passing the variable works too) and works on the variable in place.

#include "script/builtins/handlers.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <string>
#include <vector>

namespace kivora::script::builtins {

namespace {

// The variable a name argument names, or null (after the error report for an
// invalid name) when the builtin has nothing to work on. Never creates it.
struct ArrayTarget {
  bool valid = false;
  std::string name;
  Value* variable = nullptr;
};

ArrayTarget target(BuiltinCall& call, std::string_view functionName) {
  ArrayTarget t;
  t.name = arrayNameArgument(call, 0, functionName, t.valid);
  if (t.valid) t.variable = call.ctx.variables.find(t.name);
  return t;
}

const Value kInvalidName = Value::integer(-1);
const Value kDone = Value::integer(1);
const Value kNothing = Value::integer(0);

// Runs change on the named variable when it exists and is an array.
template <typename Change>
Value onArray(BuiltinCall& call, std::string_view functionName, Change change) {
  ArrayTarget t = target(call, functionName);
  if (!t.valid) return kInvalidName;
  if (!t.variable || !t.variable->isArray) return kNothing;
  return change(*t.variable);
}

// Items are ordered by their text as bytes; an integer compares as its digits.
void sortItems(std::vector<Value>& items, bool descending) {
  std::vector<std::string> keys;
  keys.reserve(items.size());
  for (const Value& v : items) keys.push_back(v.toString());
  std::vector<std::size_t> order(items.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return descending ? keys[b] < keys[a] : keys[a] < keys[b];
  });
  std::vector<Value> sorted;
  sorted.reserve(items.size());
  for (const std::size_t i : order) sorted.push_back(std::move(items[i]));
  items = std::move(sorted);
}

// Lines of text: CR, LF and CR LF each end a line; the rest after the last
// break is always a line, even when empty.
std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && i > 0 && text[i - 1] == '\r') {
      start = i + 1;  // the LF of a CR LF
    } else if (text[i] == '\r' || text[i] == '\n') {
      lines.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  lines.push_back(text.substr(start));
  return lines;
}

// Stores the values as items 0, 1, ... of a variable that is not an array yet
// (or is one, emptied), naming it.
void storeValues(Value& variable, const std::string& name, Arguments values) {
  if (variable.isArray) {
    variable.elements.clear();
  } else {
    variable.strValue = name;
  }
  for (std::size_t k = 0; k < values.size(); ++k) variable.element(k) = *values[k];
}

}  // namespace

Value arraySize(BuiltinCall& call) {
  // The one array builtin that answers an invalid name quietly.
  const std::string name = toUpperAscii(call.text(0));
  if (!isValidVariableName(name)) return Value::integer(-1);
  const Value* variable = call.ctx.variables.find(name);
  if (!variable) return Value::integer(0);
  return Value::integer(static_cast<std::int32_t>(variable->elements.size()));
}

Value multiLineToStringArray(BuiltinCall& call) {
  ArrayTarget t = target(call, "MultiLineToStringArray()");
  if (!t.valid) return kInvalidName;
  if (!t.variable) return kNothing;
  const std::vector<std::string> lines = splitLines(t.variable->toString());
  t.variable->strValue = t.name;
  for (std::size_t k = 0; k < lines.size(); ++k) t.variable->element(k) = Value::string(lines[k]);
  return kDone;
}

Value arrayToMultiLineString(BuiltinCall& call) {
  const std::string sep = call.count() > 1 ? call.text(1) : std::string("\r\n");
  return onArray(call, "ArrayToMultiLineString()", [&sep](Value& v) {
    std::string text;
    for (const Value& item : v.elements) text += item.toString() + sep;
    v.elements.clear();
    v.isArray = 0;
    v.isString = 1;
    v.strValue = std::move(text);
    return kDone;
  });
}

Value sortArray(BuiltinCall& call) {
  return onArray(call, "SortArray()", [](Value& v) {
    sortItems(v.elements, false);
    return kDone;
  });
}

Value sortArrayDesc(BuiltinCall& call) {
  return onArray(call, "SortArrayDesc()", [](Value& v) {
    sortItems(v.elements, true);
    return kDone;
  });
}

Value uniqArray(BuiltinCall& call) {
  return onArray(call, "UniqArray()", [](Value& v) {
    // Only neighbours count: equal items apart from each other all stay.
    const auto same = [](const Value& a, const Value& b) { return a.toString() == b.toString(); };
    v.elements.erase(std::unique(v.elements.begin(), v.elements.end(), same), v.elements.end());
    return kDone;
  });
}

Value delEmptyArray(BuiltinCall& call) {
  return onArray(call, "DelEmptyArray()", [](Value& v) {
    std::erase_if(v.elements, [](const Value& item) { return item.toString().empty(); });
    return kDone;
  });
}

Value delArrayItem(BuiltinCall& call) {
  const std::int64_t i = call.number(1);
  return onArray(call, "DelArrayItem()", [i](Value& v) {
    if (i < 0 || i >= static_cast<std::int64_t>(v.elements.size())) return kNothing;
    v.elements.erase(v.elements.begin() + i);
    return kDone;
  });
}

Value resize(BuiltinCall& call) {
  bool valid = false;
  const std::string name = arrayNameArgument(call, 0, "Resize()", valid);
  if (!valid) return kInvalidName;
  const std::int32_t n = call.number(1);
  if (n <= 0) return kNothing;
  Value& v = call.ctx.variables.at(name);
  if (v.isArray) {
    v.elements.resize(static_cast<std::size_t>(n));
  } else {
    v.strValue = name;
    v.element(static_cast<std::size_t>(n) - 1);
  }
  return kDone;
}

Value arrayInit(BuiltinCall& call) {
  bool valid = false;
  const std::string name = arrayNameArgument(call, 0, "ArrayInit()", valid);
  if (!valid) return kInvalidName;
  const Arguments values = call.args.subspan(1);
  if (values.empty()) {
    // Without values an array becomes the plain integer 0; anything else stays.
    if (Value* v = call.ctx.variables.find(name); v && v->isArray) *v = Value{};
    return kDone;
  }
  storeValues(call.ctx.variables.at(name), name, values);
  return kDone;
}

Value arrayAdd(BuiltinCall& call) {
  bool valid = false;
  const std::string name = arrayNameArgument(call, 0, "ArrayAdd()", valid);
  if (!valid) return kInvalidName;
  const Arguments values = call.args.subspan(1);
  if (values.empty()) return kDone;
  Value& v = call.ctx.variables.at(name);
  if (v.isArray) {
    // Copied first, so exhausted memory leaves the array as it was.
    std::vector<Value> copies;
    copies.reserve(values.size());
    for (const Value* value : values) copies.push_back(*value);
    v.elements.insert(v.elements.end(), std::make_move_iterator(copies.begin()),
                      std::make_move_iterator(copies.end()));
  } else {
    storeValues(v, name, values);
  }
  return kDone;
}

}  // namespace kivora::script::builtins
