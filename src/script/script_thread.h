#pragma once
// The thread a script runs on. Script nesting is bounded by the stack the run
// has, so runs belong on a thread whose stack size is known and large; on any
// other thread the engine assumes a small stack and stops deep scripts early.

#include <cstddef>
#include <functional>
#include <memory>

namespace kivora::script {

inline constexpr std::size_t kScriptThreadStackSize = std::size_t{64} << 20;
// Kept free below the deepest evaluation for builtins, dialogs and callbacks.
inline constexpr std::size_t kScriptStackReserve = std::size_t{1} << 20;
// What the engine assumes on a thread it knows nothing about.
inline constexpr std::size_t kUnknownThreadStackBudget = std::size_t{256} << 10;

// How deep the current thread's script runs may go, in bytes of stack.
std::size_t scriptStackBudget() noexcept;

class ScriptThread {
 public:
  ScriptThread();
  ~ScriptThread();  // waits for the thread
  ScriptThread(const ScriptThread&) = delete;
  ScriptThread& operator=(const ScriptThread&) = delete;

  // Starts body on a new thread with kScriptThreadStackSize of stack; false when
  // a thread is already running or cannot be created.
  bool start(std::function<void()> body);
  // Waits for the thread to end; nothing happens when none was started.
  void join();
  bool joinable() const;
  // Whether the body has been started and has not returned yet.
  bool running() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kivora::script
