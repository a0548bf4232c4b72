#pragma once
// DebugLog: the trace file every part writes through, with an optional live
// echo into the monitor window. Off at start; the debug-log dialog switches it
// on for the current run. One object per process. The user-interface thread
// does nearly all the logging, but the script worker logs the balloons it
// shows, so writing takes a lock; the echo is for the user-interface thread
// (the worker never logs with kLogEcho).

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "platform/debug_monitor.h"
#include "platform/file_access.h"
#include "platform/local_time.h"
#include "platform/version_record.h"

namespace kivora::diag {

// Kind codes: the low four bits select the action, kLogEcho also echoes the
// line into the monitor window.
inline constexpr unsigned kLogStart = 0;
inline constexpr unsigned kLogEnd = 1;
inline constexpr unsigned kLogEntry = 2;         // on a new, time-stamped line
inline constexpr unsigned kLogContinuation = 3;  // appended to the current line
inline constexpr unsigned kLogEcho = 0x10;

// What the log reaches outside itself.
struct DebugLogServices {
  platform::FileAccess& files;
  platform::LocalClock& clock;
  platform::CodePage& codePage;
  platform::VersionRecord& version;
};

class DebugLog {
 public:
  explicit DebugLog(DebugLogServices services);
  ~DebugLog();
  DebugLog(const DebugLog&) = delete;
  DebugLog& operator=(const DebugLog&) = delete;

  // True when logging is off, or when a log file is open after the call (for
  // kLogEnd: when an open file has been closed); false when logging is on but
  // no file is open. line identifies the call site.
  bool log(unsigned kind, unsigned line, std::u16string_view first, std::u16string_view second);

  // The monitor window the echo goes to; null for none. Not owned.
  void attachMonitor(platform::DebugMonitor* monitor) { monitor_ = monitor; }
  bool isFileOpen() const { return file_ != nullptr; }

  // Read first by every call without the lock, so that logging switched off
  // costs one flag test.
  std::atomic<bool> bDebugOut{false};
  std::u16string szDebugOutFileName;  // at most 519 characters; user-interface thread only

 private:
  bool start();
  void write(std::string_view text);
  void closeFile();
  bool echoing(unsigned kind) const;
  std::string startLine();

  DebugLogServices services_;
  std::unique_ptr<platform::AppendFile> file_;
  platform::DebugMonitor* monitor_ = nullptr;
  std::mutex mutex_;
};

}  // namespace kivora::diag
