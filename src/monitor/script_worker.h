#pragma once
// The user's script on its worker thread: one run at a time, started by the
// tick, stopped on request at the next statement. The running and stop flags
// are the only state the worker shares with the user-interface thread besides
// the script text, which it copies under ScriptTextLock.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/monitor_shell.h"
#include "monitor/script_runner.h"
#include "monitor/worker_thread.h"
#include "settings/settings.h"

namespace kivora::monitor {

class ScriptWorker {
 public:
  ScriptWorker(const settings::Settings& settings, ScriptRunner& runner, WorkerThread& thread,
               MonitorShell& shell, bool modeJP)
      : settings_(settings), runner_(runner), thread_(thread), shell_(shell), modeJP_(modeJP) {}

  // Starts a run unless the script is empty or a run is still going on.
  // Returns whether a worker was started.
  bool startIfIdle();
  // Asks a running script to stop; the engine sees it after the statement it
  // is on, and a SLEEP in progress ends at once.
  void requestStop();
  // Waits at most milliseconds for the worker; true when none runs any more.
  bool waitForEnd(unsigned milliseconds) { return thread_.waitFor(milliseconds); }

  bool scriptRunning() const { return scriptRunning_.load(); }
  bool scriptStopRequest() const { return scriptStopRequest_.load(); }

  // The host callbacks, as the engine calls them on the worker.
  void applicationFunction(std::u16string_view name, const std::vector<HostArgument>& arguments);
  void reportError(std::u16string_view text);
  int statementDone();
  // SLEEP: waits the time out unless a stop is asked for first. The request
  // stays for the statement callback, which ends the run.
  void sleep(std::uint32_t milliseconds);

 private:
  void run(platform::WindowHandle owner);

  const settings::Settings& settings_;
  ScriptRunner& runner_;
  WorkerThread& thread_;
  MonitorShell& shell_;
  bool modeJP_;
  std::atomic<bool> scriptRunning_{false};
  std::atomic<bool> scriptStopRequest_{false};
  // Wakes a sleeping script when a stop is asked for.
  std::mutex stopMutex_;
  std::condition_variable stopRequested_;
};

}  // namespace kivora::monitor
