#pragma once
// A processor-fault guard for script runs. Where the platform can catch
// hardware exceptions (Windows), an implementation runs the body and reports
// the exception code instead of letting the fault end the process.

#include <cstdint>

namespace kivora::script {

class FaultGuard {
 public:
  virtual ~FaultGuard() = default;
  // Calls body(context). Returns 0 when it returned, or the code of the
  // processor exception that ended it (the body's frames are abandoned then).
  virtual std::uint32_t run(void (*body)(void*), void* context) noexcept = 0;
};

}  // namespace kivora::script
