#pragma once
// How the monitor runs the user's script: one call into the script engine
// with the host record the engine reports through. The application adapts
// the engine to ScriptRunner; tests put a scripted runner in its place.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_handle.h"

namespace kivora::monitor {

// One argument of a CB.Name(...) call, as the engine hands it over.
struct HostArgument {
  bool isString = false;
  std::int32_t intValue = 0;
  std::u16string text;  // empty unless isString
};

struct ScriptRunHost {
  // Owner of the script's message boxes, input dialog and clipboard use.
  platform::WindowHandle ownerWindow = platform::kNoWindow;
  // Serves CB.Name(...) calls; name as the engine delivers it (upper-cased).
  // The call's result stays int 0.
  std::function<void(std::u16string_view name, const std::vector<HostArgument>& arguments)>
      applicationFunction;
  // Every error report of the run.
  std::function<void(unsigned code, int line, std::u16string_view text)> errorCallback;
  // After every statement; 1 stops the run.
  std::function<int(int line)> statementCallback;
  // SLEEP's wait; ends early when a stop is asked for.
  std::function<void(std::uint32_t milliseconds)> sleep;
  // Shaped like MessageBoxW.
  std::function<int(platform::WindowHandle owner, std::u16string_view text,
                    std::u16string_view caption, unsigned flags)>
      messageBox;
  bool japanese = false;
};

class ScriptRunner {
 public:
  virtual ~ScriptRunner() = default;
  // Runs the script to its end on the calling thread; returns its exit code.
  virtual int runScript(const char16_t* script, const ScriptRunHost& host) = 0;
};

}  // namespace kivora::monitor
