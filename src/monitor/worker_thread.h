#pragma once
// The thread the user's script runs on. At most one body runs at a time; the
// monitor starts the next only after the previous one has said it is done.

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace kivora::monitor {

class WorkerThread {
 public:
  virtual ~WorkerThread() = default;
  // Lets go of the previous thread (its body has finished) and starts body on
  // a new one; false when no thread can be created.
  virtual bool start(std::function<void()> body) = 0;
  // Waits at most milliseconds for the current body to return; true when no
  // body is running any more.
  virtual bool waitFor(unsigned milliseconds) = 0;
};

// A WorkerThread over std::thread, with the platform's default stack.
class StdWorkerThread final : public WorkerThread {
 public:
  StdWorkerThread() = default;
  // Joins a finished thread. One still running (a script that ignored the
  // stop request) is left to the end of the process, as the program does
  // when it exits after its 2000 ms wait.
  ~StdWorkerThread() override;
  StdWorkerThread(const StdWorkerThread&) = delete;
  StdWorkerThread& operator=(const StdWorkerThread&) = delete;

  bool start(std::function<void()> body) override;
  bool waitFor(unsigned milliseconds) override;

 private:
  // Shared with the thread, so that one left running outlives this object safely.
  struct Progress {
    std::mutex mutex;
    std::condition_variable finished;
    bool running = false;
  };
  std::shared_ptr<Progress> progress_ = std::make_shared<Progress>();
  std::thread thread_;
};

}  // namespace kivora::monitor
