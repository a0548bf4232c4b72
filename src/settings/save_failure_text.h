#pragma once
// The message box text of a save that could not write everything, for the
// callers that check SaveSettings' result (the settings dialog's OK and the
// main window's destruction); the caption is "Kivora", the icon a warning.

#include <string_view>

namespace kivora::settings {

inline std::u16string_view cannotSaveSettingsText(bool useIni, bool modeJP) {
  if (useIni) {
    return modeJP ? u"設定の一部または全部を.\\Kivora.iniへ保存できません。"
                  : u"Cannot save settings - .\\.\\Kivora.ini.";
  }
  return modeJP ? u"設定の一部または全部を "
                  u"HKCU\\Software\\Orvanta\\Kivora\\CurrentVersionへ保存できません。"
                : u"Cannot save settings - HKCU\\Software\\Orvanta\\Kivora\\CurrentVersion.";
}

}  // namespace kivora::settings
