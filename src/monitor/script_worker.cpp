#include "monitor/script_worker.h"

#include <algorithm>
#include <chrono>
#include <limits>

#include "monitor/log_format.h"
#include "monitor/texts.h"
#include "platform/unicode.h"

namespace kivora::monitor {

namespace {

// C atoi over UTF-16: leading blanks, a sign, then digits; clamped instead of
// overflowing.
std::int32_t atoiText(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  std::int64_t value = 0;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = std::min(value * 10 + (text[i] - u'0'), kLimit);
  }
  if (negative) return static_cast<std::int32_t>(-value);
  return static_cast<std::int32_t>(std::min<std::int64_t>(value, kLimit - 1));
}

std::u16string argumentText(const HostArgument& argument) {
  return argument.isString ? argument.text : decimalText(argument.intValue);
}

BalloonIcon balloonIconFor(const HostArgument& argument) {
  const std::int32_t type = argument.isString ? atoiText(argument.text) : argument.intValue;
  return type >= 1 && type <= 3 ? static_cast<BalloonIcon>(type) : BalloonIcon::None;
}

}  // namespace

bool ScriptWorker::startIfIdle() {
  {
    std::lock_guard lock(settings_.ScriptTextLock);
    if (settings_.kx_script.empty()) return false;
  }
  if (scriptRunning_.load()) return false;
  scriptRunning_ = true;
  scriptStopRequest_ = false;
  const platform::WindowHandle owner = shell_.mainWindow();
  if (!thread_.start([this, owner] { run(owner); })) {
    scriptRunning_ = false;
    return false;
  }
  return true;
}

void ScriptWorker::requestStop() {
  if (!scriptRunning_.load()) return;
  {
    // Set under the lock, so a sleep that has just checked the flag cannot
    // miss the wake-up.
    std::lock_guard lock(stopMutex_);
    scriptStopRequest_ = true;
  }
  stopRequested_.notify_all();
}

void ScriptWorker::sleep(std::uint32_t milliseconds) {
  std::unique_lock lock(stopMutex_);
  stopRequested_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                          [this] { return scriptStopRequest_.load(); });
}

void ScriptWorker::run(platform::WindowHandle owner) {
  ScriptRunHost host;
  host.ownerWindow = owner;
  host.applicationFunction = [this](std::u16string_view name,
                                    const std::vector<HostArgument>& arguments) {
    applicationFunction(name, arguments);
  };
  host.errorCallback = [this](unsigned, int, std::u16string_view text) { reportError(text); };
  host.statementCallback = [this](int) { return statementDone(); };
  host.sleep = [this](std::uint32_t milliseconds) { sleep(milliseconds); };
  host.messageBox = [this](platform::WindowHandle boxOwner, std::u16string_view text,
                           std::u16string_view caption, unsigned flags) {
    return shell_.messageBox(boxOwner, text, caption, flags);
  };
  host.japanese = modeJP_;

  const std::u16string script = settings_.copyScript();
  try {
    runner_.runScript(script.c_str(), host);
  } catch (...) {
    // The engine reports its own failures through the host; whatever still
    // escapes must not end the program from a worker thread.
  }
  scriptRunning_ = false;
}

void ScriptWorker::applicationFunction(std::u16string_view name,
                                       const std::vector<HostArgument>& arguments) {
  const std::size_t count = arguments.size();
  if (equalsIgnoreAsciiCase(name, u"ShellNotify") && (count == 1 || count == 2)) {
    const BalloonIcon icon = count == 2 ? balloonIconFor(arguments[1]) : BalloonIcon::None;
    shell_.showNewBalloon(argumentText(arguments[0]), icon);
    return;
  }
  const std::u16string call = std::u16string(name) + u"(args:" + decimalText(count) + u")";
  shell_.showNewBalloon(texts::kUnknownApplicationFunction.pick(modeJP_) + call,
                        BalloonIcon::Error);
}

void ScriptWorker::reportError(std::u16string_view text) {
  shell_.showNewBalloon(text, BalloonIcon::Error);
}

int ScriptWorker::statementDone() { return scriptStopRequest_.exchange(false) ? 1 : 0; }

}  // namespace kivora::monitor
