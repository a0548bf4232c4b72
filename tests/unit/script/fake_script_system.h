#pragma once
// A scripted stand-in for the operating system the builtins reach: it records
// what it was asked and answers from queues and fields the test fills in. Each
// operation fails the way its Win32 function fails when nothing is queued.

#include "platform/unicode.h"
#include "script/builtins/system_interface.h"

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kivora::script::testing {

struct ShownMessageBox {
  HostWindow owner;
  std::u16string text;
  std::u16string caption;
  unsigned flags;
};

class FakeScriptSystem : public ScriptSystem {
 public:
  // Message boxes (used when the host gives no function of its own).
  std::vector<ShownMessageBox> messageBoxes;
  std::deque<int> messageBoxAnswers;  // IDOK when empty

  // The input dialog: each answer is the dialog's result and the text entered.
  struct InputAnswer {
    std::intptr_t result;
    std::u16string entered;
  };
  std::vector<InputDialogParams> inputDialogs;
  std::vector<HostWindow> inputOwners;
  std::deque<InputAnswer> inputAnswers;  // the dialog cannot be shown (-1) when empty

  std::uint32_t ticks = 0;
  LocalTime now{};
  std::vector<std::uint32_t> sleeps;
  std::map<int, int> metrics;  // GetSystemMetrics gives 0 for anything else
  std::vector<unsigned> beeps;
  bool beepWorks = true;
  // Names compare without regard to ASCII case, as the platform's do.
  std::map<std::u16string, std::u16string> environment;
  bool environmentWritable = true;

  // The clipboard: its CF_UNICODETEXT, if any; whether it can be opened.
  std::optional<std::u16string> clipboard;
  bool clipboardOpens = true;
  std::vector<HostWindow> clipboardOwners;

  std::optional<std::pair<std::int32_t, std::int32_t>> cursor;  // none: GetCursorPos fails
  bool cursorMovable = true;
  struct MouseEvent {
    std::uint32_t flags;
    std::int32_t dx, dy, data;
    bool operator==(const MouseEvent&) const = default;
  };
  std::vector<MouseEvent> mouseEvents;
  struct KeyEvent {
    std::uint8_t vk, scan;
    std::uint32_t flags;
    bool operator==(const KeyEvent&) const = default;
  };
  std::vector<KeyEvent> keyEvents;
  struct UnicodeInput {
    char16_t unit;
    std::uint32_t flags;
    bool operator==(const UnicodeInput&) const = default;
  };
  std::vector<UnicodeInput> unicodeInputs;
  unsigned sendInputResult = 1;
  std::map<int, std::int16_t> keyStates;

  // The foreground window, its IME window and the IME's open state.
  bool foreground = true;
  bool imeWindow = true;
  std::intptr_t imeOpen = 0;
  std::vector<std::pair<std::uint32_t, std::intptr_t>> imeCommands;
  std::u16string title;

  std::optional<std::vector<MonitorRect>> monitors;    // none: the enumeration fails
  std::optional<std::vector<RawInputDevice>> devices;  // none: the list cannot be read

  int messageBox(HostWindow owner, const char16_t* text, const char16_t* caption,
                 unsigned flags) override {
    messageBoxes.push_back({owner, text, caption, flags});
    if (messageBoxAnswers.empty()) return 1;
    const int answer = messageBoxAnswers.front();
    messageBoxAnswers.pop_front();
    return answer;
  }
  std::intptr_t inputDialog(HostWindow owner, InputDialogParams& params) override {
    inputDialogs.push_back(params);
    inputOwners.push_back(owner);
    if (inputAnswers.empty()) return -1;
    const InputAnswer answer = inputAnswers.front();
    inputAnswers.pop_front();
    if (answer.result == 1) params.entered = answer.entered;
    return answer.result;
  }
  void sleep(std::uint32_t milliseconds) override { sleeps.push_back(milliseconds); }
  LocalTime localTime() override { return now; }
  std::uint32_t tickCount() override { return ticks; }
  int systemMetrics(int index) override {
    const auto it = metrics.find(index);
    return it == metrics.end() ? 0 : it->second;
  }
  bool messageBeep(unsigned type) override {
    beeps.push_back(type);
    return beepWorks;
  }
  std::uint32_t getEnvironmentVariable(const std::u16string& name, std::u16string& value) override {
    const auto it = findVariable(name);
    if (it == environment.end() || it->second.empty()) return 0;
    value = it->second;
    return static_cast<std::uint32_t>(value.size());
  }
  bool setEnvironmentVariable(const std::u16string& name, const std::u16string& value) override {
    if (!environmentWritable || name.empty() || name.find(u'=') != std::u16string::npos)
      return false;
    const auto it = findVariable(name);
    if (it != environment.end()) {
      it->second = value;
    } else {
      environment[name] = value;
    }
    return true;
  }
  bool getClipboardText(HostWindow owner, std::u16string& text) override {
    if (!clipboard || !clipboardOpens) return false;
    clipboardOwners.push_back(owner);
    text = clipboard->substr(0, clipboard->find(u'\0'));
    return true;
  }
  bool setClipboardText(HostWindow owner, const std::u16string& text) override {
    if (!clipboardOpens) return false;
    clipboardOwners.push_back(owner);
    clipboard = text;
    return true;
  }
  bool getCursorPos(std::int32_t& x, std::int32_t& y) override {
    if (!cursor) return false;
    x = cursor->first;
    y = cursor->second;
    return true;
  }
  bool setCursorPos(std::int32_t x, std::int32_t y) override {
    if (!cursorMovable) return false;
    cursor = {x, y};
    return true;
  }
  void mouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                  std::int32_t data) override {
    mouseEvents.push_back({flags, dx, dy, data});
  }
  void keybdEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override {
    keyEvents.push_back({vk, scan, flags});
  }
  unsigned sendUnicodeInput(char16_t unit, std::uint32_t flags) override {
    unicodeInputs.push_back({unit, flags});
    return sendInputResult;
  }
  std::int16_t getKeyState(int vk) override {
    const auto it = keyStates.find(vk);
    return it == keyStates.end() ? 0 : it->second;
  }
  bool foregroundImeControl(std::uint32_t command, std::intptr_t value,
                            std::intptr_t& result) override {
    if (!foreground || !imeWindow) return false;
    imeCommands.emplace_back(command, value);
    if (command == kImcGetOpenStatus) {
      result = imeOpen;
    } else if (command == kImcSetOpenStatus) {
      imeOpen = value;
      result = 0;
    } else {
      result = 0;
    }
    return true;
  }
  bool activeWindowTitle(std::u16string& text) override {
    if (!foreground || title.empty()) return false;
    text = title.substr(0, 2048);
    return true;
  }
  bool enumDisplayMonitors(std::vector<MonitorRect>& list) override {
    if (!monitors) return false;
    list.insert(list.end(), monitors->begin(), monitors->end());
    return true;
  }
  bool rawInputDevices(std::vector<RawInputDevice>& list) override {
    if (!devices) return false;
    list.insert(list.end(), devices->begin(), devices->end());
    return true;
  }

 private:
  std::map<std::u16string, std::u16string>::iterator findVariable(const std::u16string& name) {
    for (auto it = environment.begin(); it != environment.end(); ++it)
      if (equalsIgnoreAsciiCase(it->first, name)) return it;
    return environment.end();
  }
};

}  // namespace kivora::script::testing
