#pragma once
// The monitor's script worker on the KX-Script engine: the engine as the
// ScriptRunner, and the engine's ScriptThread (a large, known stack) as the
// WorkerThread.

#include <condition_variable>
#include <memory>
#include <mutex>

#include "monitor/script_runner.h"
#include "monitor/worker_thread.h"
#include "script/engine.h"
#include "script/script_thread.h"

namespace kivora::monitor {

class EngineScriptRunner final : public ScriptRunner {
 public:
  // The engine must outlive the runner.
  explicit EngineScriptRunner(script::Engine& engine) : engine_(engine) {}
  int runScript(const char16_t* script, const ScriptRunHost& host) override;

 private:
  script::Engine& engine_;
};

class ScriptThreadWorker final : public WorkerThread {
 public:
  ScriptThreadWorker() = default;
  // Joins the thread: the shell asks a running script to stop and waits for
  // it before the monitor goes; a script that ignores that keeps the process
  // until it ends.
  ~ScriptThreadWorker() override = default;

  bool start(std::function<void()> body) override;
  bool waitFor(unsigned milliseconds) override;

 private:
  // Shared with the body, which reports through it that it has returned.
  struct Progress {
    std::mutex mutex;
    std::condition_variable finished;
    bool running = false;
  };
  std::shared_ptr<Progress> progress_ = std::make_shared<Progress>();
  script::ScriptThread thread_;
};

}  // namespace kivora::monitor
