#include "settings/device_names.h"

namespace kivora::settings {

void appendDeviceNames(std::u16string_view stored, std::vector<std::u16string>& names) {
  std::size_t start = 0;
  while (start < stored.size()) {
    const std::size_t end = stored.find(u';', start);
    if (end == std::u16string_view::npos) {
      names.emplace_back(stored.substr(start));
      return;
    }
    names.emplace_back(stored.substr(start, end - start));
    start = end + 1;
  }
}

std::u16string joinDeviceNames(const std::vector<std::u16string>& names) {
  std::u16string joined;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) joined += u';';
    joined += names[i];
  }
  return joined;
}

}  // namespace kivora::settings
