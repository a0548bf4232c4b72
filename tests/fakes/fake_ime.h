#pragma once
// Input methods of the test's windows: each window may have a default IME
// window with an open status. An IME can be made to ignore open and close
// requests (it answers 0, as if accepted, and stays as it is) or to refuse
// them (it answers non-zero). A send can run the test's code while it
// waits, as a cross-thread SendMessageW lets the caller take messages.

#include <functional>
#include <map>
#include <set>
#include <vector>

#include "platform/ime.h"

namespace kivora::fakes {

class FakeIme final : public platform::Ime {
 public:
  platform::WindowHandle ImmGetDefaultIMEWnd(platform::WindowHandle window) override;
  std::intptr_t SendMessageW(platform::WindowHandle window, std::uint32_t message,
                             std::uintptr_t wParam, std::intptr_t lParam) override;

  // Gives window an IME window (its handle + 0x10000) with the given status.
  platform::WindowHandle addIme(platform::WindowHandle window, std::intptr_t status = 0);
  std::intptr_t& status(platform::WindowHandle window);
  int setRequests() const { return static_cast<int>(requests.size()); }

  std::map<platform::WindowHandle, platform::WindowHandle> imeWindows;
  std::map<platform::WindowHandle, std::intptr_t> openStatus;  // by IME window
  std::set<platform::WindowHandle> ignoring;                   // by IME window
  std::set<platform::WindowHandle> refusing;                   // by IME window
  struct Request {
    platform::WindowHandle imeWindow;
    std::intptr_t open;
  };
  std::vector<Request> requests;  // IMC_SETOPENSTATUS in order
  // Runs inside every send, as the messages a thread takes while it waits
  // for another thread's answer.
  std::function<void()> whileWaiting;
};

}  // namespace kivora::fakes
