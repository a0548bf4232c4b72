#include "kxscript/posix_system.h"

#include "kxscript/console_dialogs.h"
#include "platform/unicode.h"

#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>
#include <unistd.h>

namespace kivora::kxscript {

int PosixConsoleSystem::messageBox(script::HostWindow, const char16_t* text, const char16_t*,
                                   unsigned flags) {
  return consoleMessageBox(text, flags);
}

std::intptr_t PosixConsoleSystem::inputDialog(script::HostWindow,
                                              script::InputDialogParams& params) {
  return consoleInputDialog(params);
}

void PosixConsoleSystem::sleep(std::uint32_t milliseconds) {
  timespec wait{static_cast<time_t>(milliseconds / 1000),
                static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&wait, &wait) != 0) {
  }
}

script::LocalTime PosixConsoleSystem::localTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  script::LocalTime t;
  t.wYear = static_cast<std::uint16_t>(local.tm_year + 1900);
  t.wMonth = static_cast<std::uint16_t>(local.tm_mon + 1);
  t.wDayOfWeek = static_cast<std::uint16_t>(local.tm_wday);
  t.wDay = static_cast<std::uint16_t>(local.tm_mday);
  t.wHour = static_cast<std::uint16_t>(local.tm_hour);
  t.wMinute = static_cast<std::uint16_t>(local.tm_min);
  t.wSecond = static_cast<std::uint16_t>(local.tm_sec);
  t.wMilliseconds = static_cast<std::uint16_t>(now.tv_nsec / 1000000);
  return t;
}

std::uint32_t PosixConsoleSystem::tickCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                                    static_cast<std::uint64_t>(now.tv_nsec) / 1000000u);
}

int PosixConsoleSystem::systemMetrics(int) { return 0; }
bool PosixConsoleSystem::messageBeep(unsigned) { return false; }

namespace {

// The name under which the environment holds a variable: scripts are written
// for Windows, where names ignore case, so a name that differs from the one
// given only in ASCII case is the same variable here too.
std::string environmentName(const std::string& name) {
  if (std::getenv(name.c_str())) return name;
  const std::u16string wanted = utf8ToUtf16(name);
  for (char** entry = environ; *entry; ++entry) {
    const std::string_view text(*entry);
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view existing = text.substr(0, equals);
    if (equalsIgnoreAsciiCase(utf8ToUtf16(existing), wanted)) return std::string(existing);
  }
  return name;
}

}  // namespace

std::uint32_t PosixConsoleSystem::getEnvironmentVariable(const std::u16string& name,
                                                         std::u16string& value) {
  const char* v = std::getenv(environmentName(utf16ToUtf8(name)).c_str());
  if (!v || !*v) return 0;
  value = utf8ToUtf16(v);
  return static_cast<std::uint32_t>(value.size());
}

bool PosixConsoleSystem::setEnvironmentVariable(const std::u16string& name,
                                                const std::u16string& value) {
  // setenv refuses an empty name and one with '=', as SetEnvironmentVariableW does.
  return setenv(environmentName(utf16ToUtf8(name)).c_str(), utf16ToUtf8(value).c_str(), 1) == 0;
}

bool PosixConsoleSystem::getClipboardText(script::HostWindow, std::u16string&) { return false; }
bool PosixConsoleSystem::setClipboardText(script::HostWindow, const std::u16string&) {
  return false;
}
bool PosixConsoleSystem::getCursorPos(std::int32_t&, std::int32_t&) { return false; }
bool PosixConsoleSystem::setCursorPos(std::int32_t, std::int32_t) { return false; }
void PosixConsoleSystem::mouseEvent(std::uint32_t, std::int32_t, std::int32_t, std::int32_t) {}
void PosixConsoleSystem::keybdEvent(std::uint8_t, std::uint8_t, std::uint32_t) {}
unsigned PosixConsoleSystem::sendUnicodeInput(char16_t, std::uint32_t) { return 0; }
std::int16_t PosixConsoleSystem::getKeyState(int) { return 0; }
bool PosixConsoleSystem::foregroundImeControl(std::uint32_t, std::intptr_t, std::intptr_t&) {
  return false;
}
bool PosixConsoleSystem::activeWindowTitle(std::u16string&) { return false; }
bool PosixConsoleSystem::enumDisplayMonitors(std::vector<script::MonitorRect>&) { return false; }
bool PosixConsoleSystem::rawInputDevices(std::vector<script::RawInputDevice>&) { return false; }

}  // namespace kivora::kxscript
