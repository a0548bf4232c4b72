// The keyboard device dialog: the keyboards the system reports now (kept
// fresh while the dialog is open) beside the names Kivora watches. OK takes
// the watched list into Settings; saving is left to the settings dialog.

#include <windows.h>

#include <new>
#include <string>
#include <vector>

#include "monitor/texts.h"
#include "platform/win32/wide.h"
#include "platform/win32/window_handle_win32.h"
#include "resource_ids.h"
#include "ui/dark_controls.h"
#include "ui/dialog_controls.h"
#include "ui/dialog_dpi.h"
#include "ui/dialog_look.h"
#include "ui/enlarge.h"
#include "ui/settings_dialogs.h"
#include "ui/texts.h"

namespace kivora::ui {

namespace {

constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshInterval = 2000;

class DeviceDialog {
 public:
  explicit DeviceDialog(const DeviceDialogContext& context) : context_(context) {}

  void open(HWND dialog);
  INT_PTR handle(UINT msg, WPARAM wp, LPARAM lp);
  void destroyed();

 private:
  bool japanese() const { return context_.basics.japanese; }
  void error(const Bilingual& text) const {
    context_.basics.messageBox(dialog_, win32::wide(text, japanese()),
                               win32::wide(monitor::texts::kDeviceCaption, japanese()),
                               MB_OK | MB_ICONERROR);
  }
  void fillConnected();
  void onTimer();
  void onAdd();
  void onDelete();
  void onOk();
  std::vector<std::wstring> watchedNames() const;

  const DeviceDialogContext& context_;
  HWND dialog_ = nullptr;
  DialogEnlargement enlargement_;
};

std::wstring listText(HWND dialog, int id, int index) {
  const auto length = SendDlgItemMessageW(dialog, id, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
  const auto copied = SendDlgItemMessageW(dialog, id, LB_GETTEXT, static_cast<WPARAM>(index),
                                          reinterpret_cast<LPARAM>(buffer.data()));
  return copied == LB_ERR ? std::wstring()
                          : std::wstring(buffer.data(), static_cast<std::size_t>(copied));
}

int listCount(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageW(dialog, id, LB_GETCOUNT, 0, 0));
}

void addListText(HWND dialog, int id, const wchar_t* text) {
  SendDlgItemMessageW(dialog, id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void DeviceDialog::open(HWND dialog) {
  dialog_ = dialog;
  subclassDarkControls(dialog, nullptr);
  ApplyTitleBar(dialog);
  SendMessageW(dialog, WM_THEMECHANGED, 0, 0);
  if (context_.settings.BIGDIALOG) enlargement_ = EnlargeDialog(dialog, kPlaceCentre);
  if (!context_.devices.refreshConnectedDevices(win32::handleOf(dialog))) {
    EndDialog(dialog, IDCANCEL);
    return;
  }
  fillConnected();
  for (const auto& name : context_.settings.watchedKeyboards) {
    addListText(dialog, IDC_WATCHED_DEVICE_LIST, win32::wide(name));
  }
  setTicked(dialog, IDC_DEVICE_REVERSE, context_.settings.NOT_WATCH_DEV_NUMLOCK != 0);
  SetTimer(dialog, kRefreshTimer, kRefreshInterval, nullptr);
  followDpiChanges(dialog);
}

void DeviceDialog::fillConnected() {
  for (const auto& name : context_.devices.connectedKeyboards()) {
    addListText(dialog_, IDC_CONNECTED_DEVICES, win32::wide(name));
  }
}

INT_PTR DeviceDialog::handle(UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kRefreshTimer) onTimer();
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wp) != BN_CLICKED) return FALSE;
      switch (LOWORD(wp)) {
        case IDC_DEVICE_ADD:
          onAdd();
          return TRUE;
        case IDC_DEVICE_DELETE:
          onDelete();
          return TRUE;
        case IDOK:
          onOk();
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog_, IDCANCEL);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

void DeviceDialog::onTimer() {
  // With NumLock watched by "Connecting devices" the monitoring tick keeps the
  // device list fresh already.
  if (context_.settings.NumLockState.mode() != settings::WatchMode::WhileDeviceConnected) {
    context_.devices.refreshConnectedDevices(platform::kNoWindow);
  }
  const auto& connected = context_.devices.connectedKeyboards();
  if (static_cast<std::size_t>(listCount(dialog_, IDC_CONNECTED_DEVICES)) == connected.size())
    return;
  SendDlgItemMessageW(dialog_, IDC_CONNECTED_DEVICES, LB_RESETCONTENT, 0, 0);
  fillConnected();
}

std::vector<std::wstring> DeviceDialog::watchedNames() const {
  std::vector<std::wstring> names;
  const int count = listCount(dialog_, IDC_WATCHED_DEVICE_LIST);
  for (int i = 0; i < count; ++i) names.push_back(listText(dialog_, IDC_WATCHED_DEVICE_LIST, i));
  return names;
}

void DeviceDialog::onAdd() {
  const auto selected = SendDlgItemMessageW(dialog_, IDC_CONNECTED_DEVICES, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) {
    error(texts::kNoDeviceToAdd);
    return;
  }
  std::wstring name;
  try {
    name = listText(dialog_, IDC_CONNECTED_DEVICES, static_cast<int>(selected));
  } catch (const std::bad_alloc&) {
    error(texts::kDeviceNameOutOfMemory);
    return;
  }
  // Names differing only in case are different devices, so the list box's
  // own (case-insensitive) search cannot tell.
  for (const auto& watched : watchedNames()) {
    if (watched == name) {
      error(texts::kDeviceAlreadyWatched);
      return;
    }
  }
  addListText(dialog_, IDC_WATCHED_DEVICE_LIST, name.c_str());
}

void DeviceDialog::onDelete() {
  const auto selected = SendDlgItemMessageW(dialog_, IDC_WATCHED_DEVICE_LIST, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) {
    error(texts::kNoDeviceToRemove);
    return;
  }
  SendDlgItemMessageW(dialog_, IDC_WATCHED_DEVICE_LIST, LB_DELETESTRING,
                      static_cast<WPARAM>(selected), 0);
}

void DeviceDialog::onOk() {
  auto& watched = context_.settings.watchedKeyboards;
  watched.clear();
  for (const auto& name : watchedNames())
    watched.push_back(win32::fromWide(name.c_str(), name.size()));
  context_.settings.NOT_WATCH_DEV_NUMLOCK = isTicked(dialog_, IDC_DEVICE_REVERSE) ? 1 : 0;
  EndDialog(dialog_, IDOK);
}

void DeviceDialog::destroyed() {
  KillTimer(dialog_, kRefreshTimer);
  RestoreDialog(enlargement_);
}

}  // namespace

INT_PTR showDeviceDialog(HWND owner, const DeviceDialogContext& context) {
  ensureCommonControls();
  DeviceDialog dialog(context);
  const int templateId = context.basics.japanese ? IDD_DEVICES_JA : IDD_DEVICES_EN;
  return DialogBoxParamW(context.basics.resources, MAKEINTRESOURCEW(templateId), owner,
                         statefulDialogProc<DeviceDialog>, reinterpret_cast<LPARAM>(&dialog));
}

}  // namespace kivora::ui
