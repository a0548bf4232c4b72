#pragma once
// A scripted stand-in for the operating system the builtins reach: it records
// what it was asked and answers from queues and fields the test fills in. Each
// operation fails the way its Win32 function fails when nothing is queued.

#include "script/builtins/system_interface.h"

#include <deque>
#include <map>
#include <string>
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
  std::map<std::u16string, std::u16string> environment;

  int messageBox(HostWindow owner, const char16_t* text, const char16_t* caption, unsigned flags) override {
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
  int systemMetrics(int) override { return 0; }
  bool messageBeep(unsigned) override { return false; }
  std::uint32_t getEnvironmentVariable(const std::u16string& name, std::u16string& value) override {
    const auto it = environment.find(name);
    if (it == environment.end() || it->second.empty()) return 0;
    value = it->second;
    return static_cast<std::uint32_t>(value.size());
  }
  bool setEnvironmentVariable(const std::u16string& name, const std::u16string& value) override {
    environment[name] = value;
    return true;
  }
  bool getClipboardText(HostWindow, std::u16string&) override { return false; }
  bool setClipboardText(HostWindow, const std::u16string&) override { return false; }
  bool getCursorPos(std::int32_t&, std::int32_t&) override { return false; }
  bool setCursorPos(std::int32_t, std::int32_t) override { return false; }
  void mouseEvent(std::uint32_t, std::int32_t, std::int32_t, std::int32_t) override {}
  void keybdEvent(std::uint8_t, std::uint8_t, std::uint32_t) override {}
  unsigned sendUnicodeInput(char16_t, std::uint32_t) override { return 0; }
  std::int16_t getKeyState(int) override { return 0; }
  bool foregroundImeControl(std::uint32_t, std::intptr_t, std::intptr_t&) override { return false; }
  bool activeWindowTitle(std::string&) override { return false; }
  bool enumDisplayMonitors(std::vector<MonitorRect>&) override { return false; }
  bool rawInputDevices(std::vector<RawInputDevice>&) override { return false; }
};

}  // namespace kivora::script::testing
