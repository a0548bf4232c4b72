#pragma once
// The state one engine keeps between and during runs, and the operations the
// evaluator and every builtin share: variable reads, error reports, the host's
// message box and the system interface.

#include "script/host.h"
#include "script/nodes.h"
#include "script/value.h"
#include "script/variables.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kivora::script {

struct RegexCache;
class ScriptSystem;

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

// A parameter's value from before a call: a plain integer is kept as just
// that, anything else as the value.
struct SavedParameter {
  Value value;
  std::int32_t integer = 0;
  bool plainInteger = false;
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
  ScriptContext(ScriptSystem& system, std::uint32_t& randomState);
  ~ScriptContext();
  ScriptContext(const ScriptContext&) = delete;
  ScriptContext& operator=(const ScriptContext&) = delete;

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

  // The read of a name that holds no variable: the constant of that name (the
  // compiler looks it up once), else the unassigned rule.
  Value readMissing(std::string_view name, const std::int32_t* constant, int line);

  // A return statement: its value waits here while the flow state carries the
  // return out to the call that takes it (takeReturn), which puts back the
  // flow state the return found.
  void startReturn(Value value) noexcept {
    returnValue_ = std::move(value);
    flowUnderReturn_ = state.flowState;
    state.flowState = kFlowReturn;
  }
  void startReturn(std::int32_t value) noexcept {
    setInteger(returnValue_, value);
    flowUnderReturn_ = state.flowState;
    state.flowState = kFlowReturn;
  }
  Value takeReturn() noexcept {
    state.flowState = flowUnderReturn_;
    return std::move(returnValue_);
  }
  // The value a return left, for a call that needs only its integer or a look.
  const Value& returnedValue() const noexcept { return returnValue_; }
  void endReturn() noexcept { state.flowState = flowUnderReturn_; }

  // The values parameters had before the calls under way, innermost last, in
  // savedParameters[0, savedCount). Entries beyond stay for reuse, so a call
  // moves values in and out without making or freeing any.
  std::vector<SavedParameter> savedParameters;
  std::size_t savedCount = 0;
  // The patterns the regular-expression builtins compiled during this run.
  std::unique_ptr<RegexCache> regexCache;

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
    if (reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)) < stackLimit_)
      stackExhausted();
  }

 private:
  [[noreturn]] static void stackExhausted();
  std::uintptr_t stackLimit_ = 0;
  Value returnValue_;
  int flowUnderReturn_ = kFlowRunning;
};

}  // namespace kivora::script
