#pragma once
// The state one engine keeps between and during runs, and the operations the
// evaluator and every builtin share: variable reads, error reports, the host's
// message box and the system interface.

#include "script/host.h"
#include "script/nodes.h"
#include "script/value.h"

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
  bool contains(std::string_view name) const { return map_.find(name) != map_.end(); }
  // The variable, created as int 0 when missing.
  Value& at(std::string_view name);
  Value* find(std::string_view name);
  const Value* find(std::string_view name) const;
  void clear() noexcept { map_.clear(); }
  std::size_t size() const { return map_.size(); }

 private:
  std::map<std::string, Value, std::less<>> map_;
};

using FunctionTable = std::map<std::string, UserFunction, std::less<>>;

enum FlowState : int { kFlowRunning = 0, kFlowBreak = 1, kFlowContinue = 2, kFlowStop = 3 };

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
  ScriptContext(ScriptSystem& system, std::uint32_t& randomState) : system(system), randomState(randomState) {}

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

  // Shows a message box through the host's function (the system's one when the
  // host gives none) and returns its result unchanged.
  int showHostMessageBox(std::string_view text, std::string_view caption, unsigned flags);

  // Clears functions, flow and depth; clears variables unless keepVar is set.
  void resetRunState() noexcept;

  // Deep recursion ends the run with a std::runtime_error long before the
  // thread's stack runs out. The base is taken at the start of each run.
  void setStackBase(const void* base, std::size_t budget) noexcept;
  void checkStack() const;

 private:
  const char* stackBase_ = nullptr;
  std::size_t stackBudget_ = 0;
};

}  // namespace kivora::script
