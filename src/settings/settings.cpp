#include "settings/settings.h"

namespace kivora::settings {

std::u16string Settings::copyScript() const {
  std::lock_guard lock(ScriptTextLock);
  return kx_script;
}

void Settings::replaceScript(std::u16string text) {
  std::lock_guard lock(ScriptTextLock);
  kx_script = std::move(text);
}

}  // namespace kivora::settings
