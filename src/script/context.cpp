#include "script/context.h"

#include "script/builtins/regex_cache.h"
#include "script/builtins/system_interface.h"
#include "script/messages.h"

#include <algorithm>
#include <stdexcept>

namespace kivora::script {

Value* VariableTable::find(std::string_view name) {
  const auto it = map_.find(name);
  return it != map_.end() && it->second.defined ? &it->second.value : nullptr;
}

const Value* VariableTable::find(std::string_view name) const {
  const auto it = map_.find(name);
  return it != map_.end() && it->second.defined ? &it->second.value : nullptr;
}

Variable& VariableTable::place(std::string_view name) {
  auto it = map_.find(name);
  if (it == map_.end()) it = map_.emplace(std::string(name), Variable{}).first;
  return it->second;
}

void VariableTable::dropEmptyPlaces() noexcept {
  std::erase_if(map_, [](const auto& entry) { return !entry.second.defined; });
}

std::size_t VariableTable::size() const {
  return static_cast<std::size_t>(
      std::count_if(map_.begin(), map_.end(), [](const auto& e) { return e.second.defined; }));
}

ScriptContext::ScriptContext(ScriptSystem& system, std::uint32_t& randomState)
    : system(system), randomState(randomState) {}

ScriptContext::~ScriptContext() = default;

void ScriptContext::reportError(unsigned code, int line, std::string_view text) {
  if (!host.errorCallback) return;
  const std::u16string wide = utf8ToWide(text);
  host.errorCallback(code, line, wide.c_str());
}

void ScriptContext::fail(unsigned code, int line, std::string_view text) {
  reportError(code, line, text);
  state.flowState = kFlowStop;
}

Value ScriptContext::readMissing(std::string_view name, const std::int32_t* constant, int line) {
  if (constant) return Value::integer(*constant);
  if (state.mustVarDef)
    fail(kErrUnassignedVariable, line, messages::unassignedVariable(japanese(), name, line));
  return defaultValueFor(name);
}

int ScriptContext::showHostMessageBox(std::string_view text, std::string_view caption,
                                      unsigned flags) {
  const std::u16string wideText = utf8ToWide(text);
  const std::u16string wideCaption = utf8ToWide(caption);
  if (host.messageBox)
    return host.messageBox(host.ownerWindow, wideText.c_str(), wideCaption.c_str(), flags);
  return system.messageBox(host.ownerWindow, wideText.c_str(), wideCaption.c_str(), flags);
}

void ScriptContext::resetRunState() noexcept {
  functions.clear();
  returnValue_ = Value{};
  flowUnderReturn_ = kFlowRunning;
  savedParameters.clear();
  savedCount = 0;
  regexCache.reset();
  if (state.keepVar) {
    variables.dropEmptyPlaces();
  } else {
    variables.clear();
  }
  state.flowState = kFlowRunning;
  state.exitCode = 0;
  state.callDepth = 0;
  state.mustVarDef = false;
}

void ScriptContext::setStackBase(const void* base, std::size_t budget) noexcept {
  const auto at = reinterpret_cast<std::uintptr_t>(base);
  stackLimit_ = base && at > budget ? at - budget : 0;
}

void ScriptContext::stackExhausted() { throw std::runtime_error(messages::kNestedTooDeeply); }

}  // namespace kivora::script
