#pragma once
// What a host program hands the engine for one run, and what the engine hands
// back through it. Portable: windows are opaque handles, texts are UTF-16, and
// message-box flags and results carry the Win32 numbers.

#include <cstdint>
#include <functional>
#include <string>

namespace kivora::script {

struct Value;

// An HWND on Windows, passed through untouched.
using HostWindow = std::uintptr_t;

// MessageBoxW flags and results, with their Win32 values.
namespace mb {
inline constexpr unsigned kOk = 0x00;
inline constexpr unsigned kOkCancel = 0x01;
inline constexpr unsigned kYesNoCancel = 0x03;
inline constexpr unsigned kYesNo = 0x04;
inline constexpr unsigned kTypeMask = 0x0F;
inline constexpr unsigned kIconError = 0x10;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconWarning = 0x30;
inline constexpr unsigned kIconInformation = 0x40;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
}  // namespace mb

// One argument (or the result) of an application-provided function call.
struct HostValue {
  std::uint8_t isString = 0;
  std::int32_t intValue = 0;
  std::u16string text;
};

// A CB.Name(...) call as the host's application-function callback sees it.
struct AppCallInfo {
  const char16_t* name = nullptr;  // upper-cased, without "CB."
  HostValue* arguments = nullptr;  // count entries; null when there are none
  std::int32_t count = 0;
  HostValue* result = nullptr;             // int 0 with empty text; the host may fill it
  const Value* engineArguments = nullptr;  // the same arguments as engine values
};

struct ScriptHost {
  // Owner of message boxes, the input dialog and clipboard operations.
  HostWindow ownerWindow = 0;
  // Serves CB. calls; empty: such calls are errors.
  std::function<void(AppCallInfo*)> applicationFunction;
  // Receives every error report; empty: errors are silent.
  std::function<void(unsigned code, int line, const char16_t* text)> errorCallback;
  // Called after every statement (a goto and each turn of a loop with an
  // empty body count as one); returning 1 stops the script.
  std::function<int(int line)> statementCallback;
  // SLEEP's wait of a positive time. The host ends it early when it asks the
  // run to stop, so a stop never waits for a long sleep. Empty: the system's
  // Sleep, which always runs to its end.
  std::function<void(std::uint32_t milliseconds)> sleep;
  // Shaped like MessageBoxW; empty: the system's message box.
  std::function<int(HostWindow owner, const char16_t* text, const char16_t* caption,
                    unsigned flags)>
      messageBox;
  // Non-zero: engine messages in Japanese.
  int japanese = 0;
};

}  // namespace kivora::script
