#include "script/context.h"

#include "script/builtins/system_interface.h"
#include "script/constants.h"
#include "script/messages.h"

#include <atomic>
#include <stdexcept>

namespace kivora::script {

namespace {

std::uint64_t nextStamp() noexcept {
  static std::atomic<std::uint64_t> counter{0};
  return ++counter;
}

}  // namespace

VariableTable::VariableTable() : identity_(nextStamp()), version_(nextStamp()) {}

void VariableTable::clear() noexcept {
  map_.clear();
  identity_ = nextStamp();
  version_ = nextStamp();
}

Value& VariableTable::at(std::string_view name) {
  auto it = map_.find(name);
  if (it == map_.end()) {
    it = map_.emplace(std::string(name), Value{}).first;
    version_ = nextStamp();
  }
  return it->second;
}

Value& VariableTable::at(std::string_view name, VariableSlot& slot) {
  if (slot.value && slot.stamp == identity_) return *slot.value;
  Value& v = at(name);
  slot = {&v, identity_};
  return v;
}

Value* VariableTable::find(std::string_view name, VariableSlot& slot) {
  if (slot.value) {
    if (slot.stamp == identity_) return slot.value;
  } else if (slot.stamp == version_) {
    return nullptr;
  }
  Value* v = find(name);
  slot = v ? VariableSlot{v, identity_} : VariableSlot{nullptr, version_};
  return v;
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
  ConstantSlot constant;
  return readMissingVariable(name, line, constant);
}

Value ScriptContext::readVariable(std::string_view name, int line, VariableSlot& slot,
                                  ConstantSlot& constant) {
  if (const Value* v = variables.find(name, slot)) return *v;
  return readMissingVariable(name, line, constant);
}

Value ScriptContext::readMissingVariable(std::string_view name, int line, ConstantSlot& constant) {
  if (constant.state == ConstantSlot::kUnknown) {
    const auto found = lookupConstant(toUpperAscii(name));
    constant.state = found ? ConstantSlot::kFound : ConstantSlot::kNone;
    constant.value = found.value_or(0);
  }
  if (constant.state == ConstantSlot::kFound) return Value::integer(constant.value);
  if (state.mustVarDef)
    fail(kErrUnassignedVariable, line, messages::unassignedVariable(japanese(), name, line));
  return defaultValueFor(name);
}

void ScriptContext::startReturn(Value value) noexcept {
  returnValue_ = std::move(value);
  flowUnderReturn_ = state.flowState;
  state.flowState = kFlowReturn;
}

Value ScriptContext::takeReturn() noexcept {
  state.flowState = flowUnderReturn_;
  return std::move(returnValue_);
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
  ++functionsStamp;
  returnValue_ = Value{};
  flowUnderReturn_ = kFlowRunning;
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

void ScriptContext::stackExhausted() { throw std::runtime_error(messages::kNestedTooDeeply); }

}  // namespace kivora::script
