#include "script/context.h"

#include "script/builtins/system_interface.h"
#include "script/constants.h"
#include "script/messages.h"

#include <stdexcept>

namespace kivora::script {

Value& VariableTable::at(std::string_view name) {
  auto it = map_.find(name);
  if (it == map_.end()) it = map_.emplace(std::string(name), Value{}).first;
  return it->second;
}

Value* VariableTable::find(std::string_view name) {
  const auto it = map_.find(name);
  return it == map_.end() ? nullptr : &it->second;
}

const Value* VariableTable::find(std::string_view name) const {
  const auto it = map_.find(name);
  return it == map_.end() ? nullptr : &it->second;
}

void ScriptContext::reportError(unsigned code, int line, std::string_view text) {
  if (!host.errorCallback) return;
  const std::u16string wide = utf8ToWide(text);
  host.errorCallback(code, line, wide.c_str());
}

void ScriptContext::fail(unsigned code, int line, std::string_view text) {
  reportError(code, line, text);
  state.flowState = kFlowStop;
}

Value ScriptContext::readVariable(std::string_view name, int line) {
  if (const Value* v = variables.find(name)) return *v;
  if (const auto constant = lookupConstant(toUpperAscii(name))) return Value::integer(*constant);
  if (state.mustVarDef) fail(kErrUnassignedVariable, line, messages::unassignedVariable(japanese(), name, line));
  return defaultValueFor(name);
}

int ScriptContext::showHostMessageBox(std::string_view text, std::string_view caption, unsigned flags) {
  const std::u16string wideText = utf8ToWide(text);
  const std::u16string wideCaption = utf8ToWide(caption);
  if (host.messageBox) return host.messageBox(host.ownerWindow, wideText.c_str(), wideCaption.c_str(), flags);
  return system.messageBox(host.ownerWindow, wideText.c_str(), wideCaption.c_str(), flags);
}

void ScriptContext::resetRunState() noexcept {
  functions.clear();
  if (!state.keepVar) variables.clear();
  state.flowState = kFlowRunning;
  state.exitCode = 0;
  state.callDepth = 0;
  state.mustVarDef = false;
}

void ScriptContext::setStackBase(const void* base, std::size_t budget) noexcept {
  stackBase_ = static_cast<const char*>(base);
  stackBudget_ = budget;
}

void ScriptContext::checkStack() const {
  if (!stackBase_) return;
  // Stacks grow downward on every platform Kivora runs on.
  const char* here = static_cast<const char*>(__builtin_frame_address(0));
  if (here < stackBase_ && static_cast<std::size_t>(stackBase_ - here) > stackBudget_)
    throw std::runtime_error(messages::kNestedTooDeeply);
}

}  // namespace kivora::script
