#include "fakes/fake_ime.h"

namespace kivora::fakes {

platform::WindowHandle FakeIme::ImmGetDefaultIMEWnd(platform::WindowHandle window) {
  const auto it = imeWindows.find(window);
  return it == imeWindows.end() ? platform::kNoWindow : it->second;
}

std::intptr_t FakeIme::SendMessageW(platform::WindowHandle window, std::uint32_t message,
                                    std::uintptr_t wParam, std::intptr_t lParam) {
  if (whileWaiting) whileWaiting();
  const auto it = openStatus.find(window);
  if (message != platform::kWmImeControl || it == openStatus.end()) return 0;
  if (wParam == platform::kImcGetOpenStatus) return it->second;
  if (wParam != platform::kImcSetOpenStatus) return 0;
  requests.push_back({window, lParam});
  if (refusing.count(window)) return 1;
  if (!ignoring.count(window)) it->second = lParam != 0 ? 1 : 0;
  return 0;
}

platform::WindowHandle FakeIme::addIme(platform::WindowHandle window, std::intptr_t status) {
  const auto ime =
      static_cast<platform::WindowHandle>(static_cast<std::uintptr_t>(window) + 0x10000);
  imeWindows[window] = ime;
  openStatus[ime] = status;
  return ime;
}

std::intptr_t& FakeIme::status(platform::WindowHandle window) {
  return openStatus[imeWindows.at(window)];
}

}  // namespace kivora::fakes
