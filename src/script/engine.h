#pragma once
// The KX-Script engine. One Engine holds everything a script sees: variables,
// functions, run state and the scanner of the current run. Kivora keeps one for
// the whole process; tests make fresh ones.
//
//   Engine engine(system);                 // system: the builtins' way to the OS
//   ScriptHost host;                       // callbacks, owner window, language
//   int result = engine.runScript(u"x = 1\n", &host);
//
// runScript belongs on a ScriptThread (script_thread.h): deep scripts are stopped
// by the stack the run has, and only there is that stack known and large.

#include "script/host.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace kivora::script {

class FaultGuard;
class ScriptContext;
class ScriptSystem;
class VariableTable;

class Engine {
 public:
  // The system and the guard (none: no processor-fault guard) must outlive the engine.
  explicit Engine(ScriptSystem& system, FaultGuard* guard = nullptr);
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // Runs a script (UTF-16, NUL-terminated). Returns the run's exit code (0 unless
  // exit n or a top-level return set it), or -1 when the run was refused (one is
  // already going), failed before parsing, or was ended by a processor fault.
  // Errors reach the host only through its error callback. Never throws.
  int runScript(const char16_t* script, const ScriptHost* host);

  // Parses a script without running it: 0 when it parses, 1 after a syntax error
  // (reported like a run's), -1 when refused like runScript.
  int checkScript(const char16_t* script, const ScriptHost* host);

  bool isRunning() const { return running_; }

  // The variables as the last run left them (kept only when it set KeepVar).
  const VariableTable& variables() const;

 private:
  enum class Mode { kRun, kCheck };
  int enter(const char16_t* script, const ScriptHost* host, Mode mode);
  int runOnce(const char16_t* script, const ScriptHost* host, Mode mode) noexcept;
  void recoverFromFault(std::uint32_t exceptionCode, const ScriptHost* host) noexcept;

  ScriptSystem& system_;
  FaultGuard* guard_;
  std::unique_ptr<ScriptContext> context_;
  std::uint32_t randomState_ = 1;
  std::atomic<bool> running_{false};
};

}  // namespace kivora::script
