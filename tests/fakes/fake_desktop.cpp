#include "fakes/fake_desktop.h"

#include <algorithm>

namespace kivora::fakes {

namespace {

// Copies like the W functions: at most maxCount - 1 characters and a zero.
int copyText(const std::u16string& source, char16_t* buffer, int maxCount) {
  if (buffer == nullptr || maxCount <= 0) return 0;
  const auto count = std::min<std::size_t>(source.size(), static_cast<std::size_t>(maxCount - 1));
  std::copy_n(source.begin(), count, buffer);
  buffer[count] = u'\0';
  return static_cast<int>(count);
}

}  // namespace

int FakeDesktop::GetWindowTextW(platform::WindowHandle window, char16_t* text, int maxCount) {
  const auto it = windows.find(window);
  return copyText(it == windows.end() ? std::u16string() : it->second.title, text, maxCount);
}

int FakeDesktop::GetClassNameW(platform::WindowHandle window, char16_t* className, int maxCount) {
  const auto it = windows.find(window);
  return copyText(it == windows.end() ? std::u16string() : it->second.className, className,
                  maxCount);
}

int FakeDesktop::GetSystemMetrics(int index) {
  const auto it = metrics.find(index);
  return it == metrics.end() ? 0 : it->second;
}

platform::WindowHandle FakeDesktop::addWindow(platform::WindowHandle handle, std::u16string title,
                                              std::u16string className) {
  windows[handle] = {std::move(title), std::move(className)};
  return handle;
}

}  // namespace kivora::fakes
