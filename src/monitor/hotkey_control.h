#pragma once
// The main window's two system hotkeys: the Insert block (id 1, Insert
// without modifiers, swallowed while BlockInsert is on) and the pause hotkey
// (id 32777, the key and modifiers of HOTKEY_ENDISTTICON), which toggles
// watching. The shell routes WM_HOTKEY: id kPauseHotkeyId runs IDM_OFF, any
// other id is the Insert block and runs Monitor::pressLockKey(0).

#include "diag/debug_log.h"
#include "monitor/monitor_shell.h"
#include "platform/hotkeys.h"
#include "settings/settings.h"

namespace kivora::monitor {

inline constexpr int kInsertBlockHotkeyId = 1;
inline constexpr int kPauseHotkeyId = 32777;  // the IDM_OFF command's number

// RegisterHotKey modifiers for the hotkey-control modifier byte of
// HOTKEY_ENDISTTICON (Shift, Ctrl, Alt; the extended-key flag is ignored).
std::uint32_t hotkeyModifiers(std::int32_t hotkeyValue);

class HotkeyControl {
 public:
  HotkeyControl(platform::Hotkeys& hotkeys, diag::DebugLog& log, MonitorShell& shell,
                const settings::Settings& settings, bool modeJP)
      : hotkeys_(hotkeys), log_(log), shell_(shell), settings_(settings), modeJP_(modeJP) {}

  // (Re)registers the pause hotkey from HOTKEY_ENDISTTICON, or removes it when
  // no key is set. A key that cannot be registered is reported in a warning
  // balloon. Returns whether a pause hotkey is registered now.
  bool registerPauseHotkey();
  // Registers or removes the Insert block. A failure is not reported: Insert
  // then simply reaches applications.
  bool setInsertBlock(bool on);

  // Shut-down: the Insert block goes, or the log says none was used.
  void removeInsertBlockAtExit();
  // Shut-down, after the settings are saved: the pause hotkey goes.
  void releasePauseHotkeyAtExit();

 private:
  platform::Hotkeys& hotkeys_;
  diag::DebugLog& log_;
  MonitorShell& shell_;
  const settings::Settings& settings_;
  bool modeJP_;
};

}  // namespace kivora::monitor
