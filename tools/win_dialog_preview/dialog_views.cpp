#include "dialog_views.h"

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <optional>
#include <string>

#include "app/app.h"
#include "app/png_resource.h"
#include "app/start_dialogs.h"
#include "app/tray_icons.h"
#include "diag/debug_log.h"
#include "monitor/window_rules.h"
#include "platform/win32/code_page_win32.h"
#include "platform/win32/file_access_win32.h"
#include "platform/win32/local_time_win32.h"
#include "platform/win32/monitor_platform_win32.h"
#include "platform/win32/profile_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/script_system.h"
#include "platform/win32/version_record_win32.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"
#include "settings/settings.h"
#include "ui/about_box.h"
#include "ui/debug_log_dialogs.h"
#include "ui/kivora_about.h"
#include "ui/message_box.h"
#include "ui/script_editor.h"
#include "ui/settings_dialogs.h"
#include "ui/texts.h"

namespace kivora::tools {

namespace {

// Runs this thread's messages, through `dialog`'s keyboard handling, for as
// long as `open` says a modeless dialog is up (or until WM_QUIT).
void runWhile(const std::function<bool()>& open, HWND dialog) {
  MSG msg;
  while (open() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!dialog || !IsDialogMessageW(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

constexpr char16_t kSampleScript[] =
    u"# 監視のたびに回数を数え、60回ごとに通知します。\r\n"
    u"DEFINE(\"KeepVar\", 1)\r\n"
    u"count++\r\n"
    u"if count % 60 == 0 {\r\n"
    u"  CB.ShellNotify(\"Kivora: \" + count, 1)\r\n"
    u"}\r\n";

int showEditor(bool japanese) {
  kivora::settings::Settings settings;
  settings.kx_script = kSampleScript;
  ui::ScriptEditorContext context{GetModuleHandleW(nullptr), settings, japanese, nullptr, nullptr,
                                  ui::ThemedMessageBox};
  return static_cast<int>(ui::showScriptEditor(nullptr, context));
}

int showAbout(bool japanese) {
  HWND slot = nullptr;
  return static_cast<int>(ui::ShowAbout(
      ui::kivoraAboutInfo(GetModuleHandleW(nullptr), japanese, &slot, ui::ThemedMessageBox)));
}

struct LogServices {
  win32::Win32FileAccess files;
  win32::Win32LocalClock clock;
  win32::Win32CodePage codePage;
  win32::Win32VersionRecord version;
};

int showDebugLog() {
  LogServices services;
  diag::DebugLog log({services.files, services.clock, services.codePage, services.version});
  log.szDebugOutFileName = u"C:\\users\\Public\\kivora-debug.log";
  kivora::settings::Settings settings;
  ui::DebugMonitorDialog monitor(GetModuleHandleW(nullptr));
  ui::DebugLogDialogContext context{
      GetModuleHandleW(nullptr), log, settings, monitor, nullptr, true, nullptr, nullptr,
      ui::ThemedMessageBox};
  return static_cast<int>(ui::showDebugLogDialog(nullptr, context));
}

int showMonitor() {
  ui::DebugMonitorDialog monitor(GetModuleHandleW(nullptr));
  monitor.show(nullptr);
  SetDlgItemTextW(
      monitor.window(), IDC_DEBUG_MONITOR_TEXT,
      L"\r\n2026/05/13 09:30:00.124\r\nL=1443:WM_RBUTTONUP \r\nL=1550:[Menu] IDM_ABOUT\r\n"
      L"L=1252:[バージョン情報表示] Kivora");
  runWhile([&] { return monitor.exists(); }, monitor.window());
  return 0;
}

// What the settings dialogs reach; nothing here is saved. The settings live
// in a scratch ini file that holds a few sample rules and sound files.
class PreviewShell final : public monitor::MonitorShell, public kivora::settings::SaveHooks {
 public:
  platform::WindowHandle mainWindow() override { return {}; }
  void updateTrayIcon() override {}
  void flashTrayIcon(std::optional<int>) override {}
  void sendKeyStateToCompanion() override {}
  void startTimer(unsigned, unsigned) override {}
  void killTimer(unsigned) override {}
  unsigned noticeDpi() override { return USER_DEFAULT_SCREEN_DPI; }
  void showNotice(const monitor::ScreenNotice&) override {}
  void hideNotice() override {}
  void showNewBalloon(std::u16string_view, monitor::BalloonIcon) override {}
  int messageBox(platform::WindowHandle, std::u16string_view, std::u16string_view,
                 unsigned) override {
    return IDOK;
  }
  void showSaveWarning(const std::u16string&) override {}
  void registerPauseHotkey() override {}
};

struct SettingsPreview {
  SettingsPreview() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    iniPath = std::wstring(temp) + L"kivora-preview.ini";
    DeleteFileW(iniPath.c_str());
    settings.bUseIni = true;
    settings.NumLockState = 3;
    settings.RemoteCheck = 1;
    settings.RM_NumLockState = 2;
    settings.CapsLockState = 2;
    settings.PlaySound = 1;
    settings.PlaySoundFileName = u"C:\\Windows\\Media\\notify.wav";
    settings.use_script = 1;
    settings.ImeLock = 3;
    settings.HOTKEY_ENDISTTICON = 0x0650;
    settings.NotifyOnly = 1;
    settings.return_waitmsec = 5000;
    settings.watchedKeyboards = {u"\\\\?\\HID#VID_046D&PID_C31C&MI_00",
                                 u"\\\\?\\HID#VID_04F2&PID_0402&MI_00"};
    const auto where = store();
    kivora::settings::EnsureIniFile(where);
    monitor::saveWindowRules(
        where, true, false,
        {{u"Excel", {2, 0, 0, 2}}, {u"メモ帳", {3, 1, 0, 4}}, {u"Terminal", {5, 5, 5, 5}}}, shell);
  }
  ~SettingsPreview() { DeleteFileW(iniPath.c_str()); }
  kivora::settings::SettingsStore store() {
    kivora::settings::StoreLocation where;
    where.iniPath = win32::fromWide(iniPath.c_str());
    return {regw, profile, files, where};
  }
  ui::DialogBasics basics(bool japanese) {
    return {GetModuleHandleW(nullptr), japanese, ui::ThemedMessageBox, nullptr};
  }

  std::wstring iniPath;
  kivora::settings::Settings settings;
  PreviewShell shell;
  win32::Win32Registry registry;
  win32::Win32Profile profile;
  win32::Win32FileAccess files;
  kivora::settings::RegwContext regw{registry, {}, false};
  LogServices logServices;
  diag::DebugLog log{
      {logServices.files, logServices.clock, logServices.codePage, logServices.version}};
  win32::Win32RawInput rawInput;
  win32::Win32Hotkeys hotkeyApi;
  monitor::DeviceWatch devices{rawInput, log, shell, false};
  monitor::HotkeyControl hotkeys{hotkeyApi, log, shell, settings, false};
};

int showSettings(bool japanese) {
  SettingsPreview preview;
  const ui::SettingsDialogContext context{preview.basics(japanese),
                                          preview.settings,
                                          preview.store(),
                                          preview.shell,
                                          preview.shell,
                                          preview.devices,
                                          preview.hotkeys,
                                          nullptr,
                                          nullptr,
                                          nullptr,
                                          nullptr,
                                          nullptr,
                                          nullptr,
                                          nullptr,
                                          nullptr};
  return static_cast<int>(ui::showSettingsDialog(context));
}

// With `editFirst` the first rule is opened in the edit dialog as well.
int showRules(bool japanese, bool editFirst) {
  SettingsPreview preview;
  if (editFirst) {
    SetTimer(nullptr, 0, 1000, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      const wchar_t* title = FindWindowW(L"#32770", L"for specific window")
                                 ? L"for specific window"
                                 : L"ウインドウごとに挙動を変える";
      PostMessageW(FindWindowW(L"#32770", title), WM_COMMAND, MAKEWPARAM(IDC_RULE_EDIT, BN_CLICKED),
                   0);
    });
  }
  const ui::WindowRulesDialogContext context{preview.basics(japanese), preview.store(), true, false,
                                             preview.shell};
  return static_cast<int>(ui::showWindowRulesDialog(nullptr, context));
}

int showDevices(bool japanese) {
  SettingsPreview preview;
  const ui::DeviceDialogContext context{preview.basics(japanese), preview.settings,
                                        preview.devices};
  return static_cast<int>(ui::showDeviceDialog(nullptr, context));
}

// The already-running dialog of a second start, with the pictures the program loads.
int showAlreadyRunning(bool japanese) {
  const HINSTANCE self = GetModuleHandleW(nullptr);
  app::StartupImages images;
  images.appIcon.reset(static_cast<HICON>(
      LoadImageW(self, MAKEINTRESOURCEW(IDI_KIVORA), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
  images.appIconSmall = app::loadSmallIcon(self, IDI_KIVORA);
  const app::GdiplusSession gdiplus;
  images.pictures[0] = app::loadPngResource(self, IDP_TRAY_HINT_WIN7);
  images.pictures[1] = app::loadPngResource(self, IDP_TRAY_HINT_WIN10);
  return static_cast<int>(app::showAlreadyRunningDialog(self, japanese, images));
}

// The opening dialog of a Japanese start, over an App whose settings would go
// to an ini file in the temporary folder (the dialog saves only when its box
// is ticked).
int showOpening() {
  const HINSTANCE self = GetModuleHandleW(nullptr);
  app::App app(self, true);
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  app.settings.bUseIni = true;
  app.folder = temp;
  {
    const app::GdiplusSession gdiplus;
    app.images.pictures[0] = app::loadPngResource(self, IDP_TRAY_HINT_WIN7);
    app.images.pictures[1] = app::loadPngResource(self, IDP_TRAY_HINT_WIN10);
  }
  if (!app::createOpeningDialog(app)) return 1;
  runWhile([&] { return app.openingDialog != nullptr; }, app.openingDialog);
  return 0;
}

constexpr DialogView kViews[] = {
    {L"settings-ja", L"Kivora 設定"},
    {L"settings-en", L"Kivora Settings"},
    {L"rules-ja", L"ウインドウごとに挙動を変える"},
    {L"rules-en", L"for specific window"},
    {L"rule-edit-ja", L"編集 - ウィンドウごとに挙動を変える"},
    {L"rule-edit-en", L"Edit - for specific program"},
    {L"devices-ja", L"キーボードデバイスを選択"},
    {L"devices-en", L"Select keyboard devices"},
    {L"editor-ja", L"KX-Script入力"},
    {L"editor-en", L"Edit KX-Script"},
    {L"about-ja", L"バージョン情報"},
    {L"about-en", L"About"},
    {L"debuglog-ja", L"デバッグ情報ログ出力設定 - Kivora"},
    {L"monitor", L"デバッグ情報ログ出力モニタ - Kivora"},
    {L"running-ja", L"Kivora"},
    {L"running-en", L"Kivora"},
    {L"opening", L"Kivora"},
    {L"input-ja", L"KX-Script INPUT"},
    {L"input-en", L"KX-Script INPUT"},
};

}  // namespace

std::span<const DialogView> dialogViews() { return kViews; }

// The dialog of the script's INPUT, with a message a script might give it.
int showInput(bool japanese) {
  script::InputDialogParams params;
  params.title = u"KX-Script INPUT";
  params.message = japanese ? u"通知する回数を入力してください。" : u"How many times to notify?";
  params.japanese = japanese;
  win32::Win32ScriptSystem system;
  return static_cast<int>(system.inputDialog({}, params));
}

// One of Kivora's message boxes: the settings dialog's question before the
// logon NumLock option.
int showMessageBox(bool japanese) {
  return ui::ThemedMessageBox(nullptr, win32::wide(ui::texts::kLogonNumLockQuestion, japanese),
                              win32::wide(kCaption), MB_OKCANCEL | MB_ICONQUESTION);
}

int showDialogView(std::wstring_view view) {
  if (view == L"editor-ja") return showEditor(true);
  if (view == L"editor-en") return showEditor(false);
  if (view == L"about-ja") return showAbout(true);
  if (view == L"about-en") return showAbout(false);
  if (view == L"debuglog-ja") return showDebugLog();
  if (view == L"monitor") return showMonitor();
  if (view == L"settings-ja") return showSettings(true);
  if (view == L"settings-en") return showSettings(false);
  if (view == L"rules-ja") return showRules(true, false);
  if (view == L"rules-en") return showRules(false, false);
  if (view == L"rule-edit-ja") return showRules(true, true);
  if (view == L"rule-edit-en") return showRules(false, true);
  if (view == L"devices-ja") return showDevices(true);
  if (view == L"devices-en") return showDevices(false);
  if (view == L"running-ja") return showAlreadyRunning(true);
  if (view == L"running-en") return showAlreadyRunning(false);
  if (view == L"opening") return showOpening();
  if (view == L"input-ja") return showInput(true);
  if (view == L"input-en") return showInput(false);
  if (view == L"messagebox-ja") return showMessageBox(true);
  if (view == L"messagebox-en") return showMessageBox(false);
  return 2;
}

}  // namespace kivora::tools
