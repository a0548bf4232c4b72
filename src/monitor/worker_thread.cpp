#include "monitor/worker_thread.h"

#include <chrono>
#include <system_error>

namespace kivora::monitor {

StdWorkerThread::~StdWorkerThread() {
  if (!thread_.joinable()) return;
  if (waitFor(0)) {
    thread_.join();
  } else {
    thread_.detach();
  }
}

bool StdWorkerThread::start(std::function<void()> body) {
  if (thread_.joinable()) thread_.join();
  {
    std::lock_guard lock(progress_->mutex);
    progress_->running = true;
  }
  try {
    thread_ = std::thread([progress = progress_, body = std::move(body)] {
      body();
      std::lock_guard lock(progress->mutex);
      progress->running = false;
      progress->finished.notify_all();
    });
  } catch (const std::system_error&) {
    std::lock_guard lock(progress_->mutex);
    progress_->running = false;
    return false;
  }
  return true;
}

bool StdWorkerThread::waitFor(unsigned milliseconds) {
  std::unique_lock lock(progress_->mutex);
  return progress_->finished.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                      [this] { return !progress_->running; });
}

}  // namespace kivora::monitor
