// Any bytes as a KX-Script, parsed and run on a script thread, over the
// recording system stand-in (no side effects: nothing reaches the machine).
// The statement callback ends a run after a bounded number of statements, so
// endless loops end; what is left to find is a crash, a sanitizer report, a
// hang inside one statement, or runaway memory.
//
// The bytes are UTF-8 (bad sequences become U+FFFD), or, after an FF FE mark,
// raw UTF-16LE units, lone surrogates included, up to the first zero unit.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <new>
#include <span>
#include <string>
#include <vector>

#include "platform/unicode.h"
#include "script/engine.h"
#include "script/host.h"
#include "script/script_thread.h"
#include "unit/script/fake_script_system.h"

// Exhausted memory is something the engine reports (code 106), not a
// finding: a script may ask for more than any machine has (an array read at
// index 2147483647 asks for 128 GiB). An allocation larger than the fuzzer
// allows in one piece (-malloc_limit_mb) fails here as on a machine without
// that much memory, by throwing std::bad_alloc; the sanitizer's own operator
// new would end the process instead.
namespace {
constexpr std::size_t kLargestAllocation = std::size_t{1} << 30;

void* allocate(std::size_t size) {
  if (size > kLargestAllocation) throw std::bad_alloc();
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
}  // namespace

// Every form, so that what is freed here was also allocated here.
void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return size > kLargestAllocation ? nullptr : std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return size > kLargestAllocation ? nullptr : std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

// Enough for loops, calls and recursion to go deep; few enough for a run to
// take milliseconds.
constexpr int kStatementBound = 20000;
// And a time bound: thousands of statements that are each slow under the
// sanitizers (a regular expression that backtracks to its limit) are not a
// hang. A single statement that runs past the fuzzer's timeout still is.
constexpr std::chrono::seconds kTimeBound{2};

std::u16string scriptText(std::span<const std::uint8_t> bytes) {
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    std::u16string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      const auto unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
      if (unit == 0) break;
      text.push_back(unit);
    }
    return text;
  }
  return kivora::utf8ToUtf16(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// One script thread for the whole fuzzing run. A thread per input would map
// a fresh 64 MB stack every time, and the sanitizer's shadow of those stacks
// grows the process until the fuzzer calls it out of memory.
class RunThread {
 public:
  RunThread() {
    thread_.start([this] { serve(); });
  }
  void run(std::function<void()> job) {
    std::unique_lock lock(mutex_);
    job_ = std::move(job);
    done_ = false;
    changed_.notify_all();
    changed_.wait(lock, [this] { return done_; });
  }

 private:
  void serve() {
    for (;;) {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return job_ != nullptr; });
      const std::function<void()> job = std::move(job_);
      job_ = nullptr;
      lock.unlock();
      job();
      lock.lock();
      done_ = true;
      changed_.notify_all();
    }
  }
  std::mutex mutex_;
  std::condition_variable changed_;
  std::function<void()> job_;
  bool done_ = false;
  kivora::script::ScriptThread thread_;
};

RunThread& runThread() {
  // Never destroyed: the thread serves until the process ends.
  static RunThread* const thread = new RunThread;
  return *thread;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kivora::script;
  const std::u16string text = scriptText({data, size});
  testing::FakeScriptSystem system;
  system.clipboard = u"clipboard text";
  system.cursor = {{10, 20}};
  system.monitors = std::vector<MonitorRect>{{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}};
  system.devices = std::vector<RawInputDevice>{
      {kRimTypeKeyboard, true, u"\\\\?\\HID#VID_1234&PID_5678#1"}, {2, false, u""}};
  system.title = u"Fuzz – window";
  Engine engine(system);
  ScriptHost host;
  host.ownerWindow = 0x1234;
  int statements = 0;
  const auto started = std::chrono::steady_clock::now();
  host.statementCallback = [&](int) {
    return ++statements >= kStatementBound ||
                   std::chrono::steady_clock::now() - started > kTimeBound
               ? 1
               : 0;
  };
  host.errorCallback = [](unsigned, int, const char16_t*) {};
  host.applicationFunction = [](AppCallInfo*) {};
  host.messageBox = [](HostWindow, const char16_t*, const char16_t*, unsigned) { return 1; };
  host.sleep = [](std::uint32_t) {};
  // The first byte also picks the language, so both message tables are used.
  host.japanese = size > 0 && (data[0] & 1) ? 1 : 0;
  runThread().run([&] {
    engine.checkScript(text.c_str(), &host);
    engine.runScript(text.c_str(), &host);
  });
  return 0;
}
