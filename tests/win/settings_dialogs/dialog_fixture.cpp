#include "win/settings_dialogs/dialog_fixture.h"

#include "platform/win32/window_handle_win32.h"

namespace kivora::test {

namespace {

constexpr wchar_t kKeyboardKey[] = L".DEFAULT\\Control Panel\\Keyboard";
constexpr wchar_t kIndicators[] = L"InitialKeyboardIndicators";

}  // namespace

DialogTest::DialogTest() { shell.window = mainWindow.handle(); }

DialogTest::~DialogTest() {
  UnregisterHotKey(mainWindow.get(), monitor::kInsertBlockHotkeyId);
  UnregisterHotKey(mainWindow.get(), monitor::kPauseHotkeyId);
}

ui::DialogBasics DialogTest::basics(bool japanese) {
  return {GetModuleHandleW(nullptr), japanese, ui::ThemedMessageBox,
          [this](HWND, const wchar_t* topic) {
            helpTopics.emplace_back(topic ? topic : L"");
            return true;
          }};
}

ui::SettingsDialogContext DialogTest::settingsContext(bool japanese) {
  return {basics(japanese),
          settings,
          store(),
          hooks,
          shell,
          devices,
          hotkeys,
          [this] { return scriptRunning; },
          [this] { ++scriptStopRequests; },
          [this] { ++timerRestarts; },
          [this] { ++instantCheckFollows; },
          [this] { ++trayUpdates; },
          scriptEditor,
          &dialogOpen,
          &settingsWindow};
}

std::unique_ptr<settings::Settings> DialogTest::stored() {
  auto fresh = std::make_unique<settings::Settings>();
  fresh->bUseIni = settings.bUseIni;
  settings::LoadSettings(*fresh, store());
  return fresh;
}

bool DialogTest::anythingSaved() { return settings::SettingsExist(store(), settings.bUseIni); }

LogonNumLockGuard::LogonNumLockGuard() : before_(read()) {}

LogonNumLockGuard::~LogonNumLockGuard() {
  if (before_) {
    write(*before_);
    return;
  }
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_USERS, kKeyboardKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueW(key, kIndicators);
    RegCloseKey(key);
  }
}

std::optional<std::wstring> LogonNumLockGuard::read() {
  wchar_t buffer[64] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  if (RegGetValueW(HKEY_USERS, kKeyboardKey, kIndicators,
                   RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, buffer,
                   &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(buffer);
}

void LogonNumLockGuard::write(const std::wstring& text) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_USERS, kKeyboardKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExW(key, kIndicators, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

}  // namespace kivora::test
