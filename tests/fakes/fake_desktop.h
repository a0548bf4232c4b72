#pragma once
// Windows the test lays out: which one is in front, and each one's title and
// class; and the system metrics the test sets.

#include <map>
#include <string>

#include "platform/desktop.h"

namespace kivora::fakes {

class FakeDesktop final : public platform::Desktop {
 public:
  struct Window {
    std::u16string title;
    std::u16string className;
  };

  platform::WindowHandle GetForegroundWindow() override { return foreground; }
  int GetWindowTextW(platform::WindowHandle window, char16_t* text, int maxCount) override;
  int GetClassNameW(platform::WindowHandle window, char16_t* className, int maxCount) override;
  int GetSystemMetrics(int index) override;

  // Adds (or replaces) a window and returns its handle.
  platform::WindowHandle addWindow(platform::WindowHandle handle, std::u16string title,
                                   std::u16string className = u"FakeClass");
  // Brings a window to the front (kNoWindow: nothing in front).
  void activate(platform::WindowHandle window) { foreground = window; }

  platform::WindowHandle foreground = platform::kNoWindow;
  std::map<platform::WindowHandle, Window> windows;
  std::map<int, int> metrics{{platform::kSmCxFullScreen, 1920},
                             {platform::kSmCyFullScreen, 1017},
                             {platform::kSmRemoteSession, 0}};
};

}  // namespace kivora::fakes
