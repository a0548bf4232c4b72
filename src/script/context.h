#pragma once
// The state one engine keeps between and during runs, and the operations the
// evaluator and every builtin share: variable reads, error reports, the host's
// message box and the system interface.

#include "script/host.h"
#include "script/nodes.h"
#include "script/value.h"
#include "script/variable_slot.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace kivora::script {

class ScriptSystem;

// Every variable of a script; names ordered by plain byte comparison.
class VariableTable {
 public:
  VariableTable();
  bool contains(std::string_view name) const { return map_.find(name) != map_.end(); }
  // The variable, created as int 0 when missing.
  Value& at(std::string_view name);
  Value* find(std::string_view name);
  const Value* find(std::string_view name) const;
  // The same through a slot. Variables are never removed one by one, so a
  // variable found stays where it is until the table is cleared, and a name
  // found missing stays missing until a variable is added.
  Value& at(std::string_view name, VariableSlot& slot);
  Value* find(std::string_view name, VariableSlot& slot);
  void clear() noexcept;
  std::size_t size() const { return map_.size(); }

 private:
  std::map<std::string, Value, std::less<>> map_;
  // Stamps come from one counter for every table, so no slot can match a
  // table it was not filled from. identity_ changes when the table is
  // cleared, version_ when it is cleared or grows.
  std::uint64_t identity_;
  std::uint64_t version_;
};

using FunctionTable = std::map<std::string, UserFunction, std::less<>>;

// kFlowReturn: a return is on its way to the call (or the runner) that takes
// its value; every block and loop on the way stops, as for kFlowStop.
enum FlowState : int {
  kFlowRunning = 0,
  kFlowBreak = 1,
  kFlowContinue = 2,
  kFlowStop = 3,
  kFlowReturn = 4
};

struct ScriptState {
  int flowState = kFlowRunning;
  int exitCode = 0;
  int callDepth = 0;
  bool keepVar = false;
  bool mustVarDef = false;
  bool japaneseMessages = false;
};

// More nested user calls than this stop the script.
inline constexpr int kMaxCallDepth = 512;

// Error codes the engine reports.
enum ErrorCode : unsigned {
  kErrSyntax = 101,
  kErrDivisionByZero = 102,
  kErrModuloByZero = 103,
  kErrUnknownFunction = 105,
  kErrRuntime = 106,
  kErrInvalidParameter = 107,
  kErrTooManyCalls = 108,
  kErrUnassignedVariable = 109,
  kErrInvalidIndex = 110,
  kErrUnknownLabel = 111,
  kErrRegex = 112,
  kErrAssert = 114,
  kErrInvalidArrayName = 115,
  kErrUnknown = 199,
};

class ScriptContext {
 public:
  ScriptContext(ScriptSystem& system, std::uint32_t& randomState)
      : system(system), randomState(randomState) {}

  VariableTable variables;
  FunctionTable functions;
  ScriptState state;
  // The host of the current run; callbacks are empty when it gave none.
  ScriptHost host;
  ScriptSystem& system;
  // The pseudo-random generator's state; it outlives runs and engines' resets.
  std::uint32_t& randomState;

  bool japanese() const { return state.japaneseMessages; }

  // Delivers a report to the host's error callback, if there is one.
  void reportError(unsigned code, int line, std::string_view text);
  // reportError, then stop the script after the current statement.
  void fail(unsigned code, int line, std::string_view text);

  // A variable read: the variable, else a constant, else the unassigned rule.
  Value readVariable(std::string_view name, int line);
  Value readVariable(std::string_view name, int line, VariableSlot& slot, ConstantSlot& constant);
  // The read of a name that is no variable: the constant, else the unassigned rule.
  Value readMissingVariable(std::string_view name, int line, ConstantSlot& constant);

  // A return statement: its value waits here while the flow state carries the
  // return out to the call that takes it (takeReturn), which puts back the
  // flow state the return found.
  void startReturn(Value value) noexcept;
  Value takeReturn() noexcept;
  // Changes whenever the function table does, so calls may keep what they found in it.
  std::uint64_t functionsStamp = 1;

  // Shows a message box through the host's function (the system's one when the
  // host gives none) and returns its result unchanged.
  int showHostMessageBox(std::string_view text, std::string_view caption, unsigned flags);

  // Clears functions, flow and depth; clears variables unless keepVar is set.
  void resetRunState() noexcept;

  // Deep recursion ends the run with a std::runtime_error long before the
  // thread's stack runs out. The base is taken at the start of each run.
  void setStackBase(const void* base, std::size_t budget) noexcept;
  void checkStack() const {
    // Stacks grow downward on every platform Kivora runs on.
    const char* here = static_cast<const char*>(__builtin_frame_address(0));
    if (stackBase_ && here<stackBase_&& static_cast<std::size_t>(stackBase_ - here)> stackBudget_)
      stackExhausted();
  }

 private:
  [[noreturn]] static void stackExhausted();
  const char* stackBase_ = nullptr;
  std::size_t stackBudget_ = 0;
  Value returnValue_;
  int flowUnderReturn_ = kFlowRunning;
};

}  // namespace kivora::script
