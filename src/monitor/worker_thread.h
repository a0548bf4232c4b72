#pragma once
// The thread the user's script runs on. At most one body runs at a time; the
// monitor starts the next only after the previous one has said it is done.

#include <functional>

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

}  // namespace kivora::monitor
