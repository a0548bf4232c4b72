#pragma once
// The processor-fault guard of script runs on Windows. This header stays free
// of <windows.h> so that portable tools can hold the guard.

#include "script/fault_guard.h"

namespace kivora::win32 {

// Catches access violations, integer faults and the like raised on the thread
// inside run(), through a vectored exception handler: the faulting thread is
// resumed in the guard, which returns the exception code. The engine gives up
// the run's state and runs again afterwards.
class VectoredFaultGuard final : public script::FaultGuard {
 public:
  VectoredFaultGuard();
  ~VectoredFaultGuard() override;
  VectoredFaultGuard(const VectoredFaultGuard&) = delete;
  VectoredFaultGuard& operator=(const VectoredFaultGuard&) = delete;

  std::uint32_t run(void (*body)(void*), void* context) noexcept override;

 private:
  void* handler_;
};

}  // namespace kivora::win32
