// How a fault gets back to the guard
//
// run() marks its place with __builtin_setjmp and publishes a GuardFrame in
// a TLS slot of its thread. A processor fault in the body first reaches
// faultHandler, a vectored handler at the head of the chain, still on the
// faulting thread and on the body's stack (after a stack overflow, on almost
// none). The handler does not jump from there: leaving the system's exception
// dispatch by a jump would abandon the dispatcher's own frames. Instead it
// rewrites the saved processor context so that, when it returns
// EXCEPTION_CONTINUE_EXECUTION, the thread carries on in resumeInGuard on a
// fresh stack position, as if resumeInGuard had just been called. From that
// ordinary context resumeInGuard jumps back into run(), which returns the
// exception code. The body's frames are abandoned, never unwound.

#include "platform/win32/vectored_fault_guard.h"

#include <windows.h>

#include <malloc.h>

namespace kivora::win32 {

namespace {

// One run's place to come back to; it lives in run()'s own frame.
struct GuardFrame {
  // __builtin_setjmp's buffer: frame pointer, resume address, stack pointer
  // and room the compiler may use. The jump only loads these back; unlike
  // the C library's longjmp it walks none of the frames it leaves, which
  // may be in any state after a fault.
  void* jumpBuffer[5] = {};
  // An address inside run()'s frame: everything below it belongs to the body.
  const char* stackMark = nullptr;
  DWORD code = 0;
  // Set only while the body runs; a fault outside it is not the guard's.
  // Volatile: the handler reads it in the middle of whatever the body did.
  volatile bool armed = false;
};

// A native TLS slot: the handler runs inside a fault and must not allocate,
// as the first use of a thread_local variable may.
DWORD guardSlot() {
  static const DWORD slot = TlsAlloc();
  return slot;
}

// Faults of the processor itself. Software exceptions (C++ throws, RPC
// errors, debugger events) pass on to the handlers that expect them.
bool isProcessorFault(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_STACK_OVERFLOW:
      return true;
    default:
      return false;
  }
}

// Where the faulting thread resumes, outside the exception dispatch: back to
// the __builtin_setjmp in run(), which then sees 1.
[[noreturn]] void resumeInGuard() {
  auto* frame = static_cast<GuardFrame*>(TlsGetValue(guardSlot()));
  __builtin_longjmp(frame->jumpBuffer, 1);
}

LONG CALLBACK faultHandler(EXCEPTION_POINTERS* exception) {
  auto* frame = static_cast<GuardFrame*>(TlsGetValue(guardSlot()));
  if (!frame || !frame->armed || !isProcessorFault(exception->ExceptionRecord->ExceptionCode))
    return EXCEPTION_CONTINUE_SEARCH;
  frame->armed = false;
  frame->code = exception->ExceptionRecord->ExceptionCode;
  // The context is the thread's registers at the fault; the system loads
  // them back when the handler asks to continue. Two are changed:
  // - Rsp: resumeInGuard needs stack of its own. The faulting position may
  //   have none left (an overflow), and run()'s frame above the mark must
  //   stay intact for the jump back, so take a page below the mark, in the
  //   body's abandoned stack. Round down to 16 bytes, then take 8 off: at a
  //   function's first instruction the x64 convention has Rsp 8 below a
  //   16-byte boundary, where a call would have pushed its return address.
  // - Rip: the first instruction of resumeInGuard.
  const auto sp = (reinterpret_cast<DWORD64>(frame->stackMark) - 4096) & ~DWORD64{15};
  exception->ContextRecord->Rsp = sp - 8;
  exception->ContextRecord->Rip = reinterpret_cast<DWORD64>(&resumeInGuard);
  return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

VectoredFaultGuard::VectoredFaultGuard() : handler_(AddVectoredExceptionHandler(1, faultHandler)) {
  guardSlot();
}

VectoredFaultGuard::~VectoredFaultGuard() {
  if (handler_) RemoveVectoredExceptionHandler(handler_);
}

std::uint32_t VectoredFaultGuard::run(void (*body)(void*), void* context) noexcept {
  GuardFrame frame;
  volatile char mark = 0;
  frame.stackMark = const_cast<const char*>(&mark);
  // A run may be nested in another run's body; the outer frame comes back after.
  void* const previous = TlsGetValue(guardSlot());
  TlsSetValue(guardSlot(), &frame);
  if (__builtin_setjmp(frame.jumpBuffer) == 0) {
    frame.armed = true;
    body(context);
    frame.armed = false;
    TlsSetValue(guardSlot(), previous);
    return 0;
  }
  // Here through resumeInGuard: the body faulted.
  TlsSetValue(guardSlot(), previous);
  // An overflow used up the stack's guard page; put it back for the next time.
  if (frame.code == EXCEPTION_STACK_OVERFLOW) _resetstkoflw();
  return frame.code;
}

}  // namespace kivora::win32
