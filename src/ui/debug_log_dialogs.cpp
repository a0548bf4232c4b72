#include "ui/debug_log_dialogs.h"

#include <commctrl.h>
#include <commdlg.h>

#include <array>

#include "diag/settings_dump.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"
#include "ui/dark_controls.h"
#include "ui/dialog_dpi.h"
#include "ui/dialog_look.h"
#include "ui/texts.h"

namespace kivora::ui {

namespace {

// Call-site numbers of the dialog's log calls.
constexpr unsigned kStartLine = 3010;
constexpr unsigned kEndLine = 3011;

constexpr wchar_t kHelpTopic[] = L"HLP000020.html";
constexpr int kFileControls[] = {IDC_DEBUGLOG_FILE, IDC_DEBUGLOG_BROWSE, IDC_DEBUGLOG_FILE_LABEL,
                                 IDC_DEBUGLOG_MONITOR};

constexpr LayoutAnchor kMonitorAnchors[] = {{IDC_DEBUG_MONITOR_TEXT, Anchor::GrowBoth},
                                            {0, Anchor::None}};

const DebugLogDialogContext& contextOf(HWND dialog) {
  return *reinterpret_cast<const DebugLogDialogContext*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void error(const DebugLogDialogContext& c, HWND dialog, const Bilingual& text) {
  c.messageBox(dialog, win32::wide(text, c.japanese),
               win32::wide(texts::kDebugLogCaption, c.japanese), MB_OK | MB_ICONERROR);
}

void enableFileControls(HWND dialog, bool enable) {
  for (int id : kFileControls) EnableWindow(GetDlgItem(dialog, id), enable);
}

bool ticked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

std::u16string fileName(HWND dialog) {
  std::array<wchar_t, settings::kPathCapacity> name{};
  GetDlgItemTextW(dialog, IDC_DEBUGLOG_FILE, name.data(), static_cast<int>(name.size()));
  return win32::fromWide(name.data());
}

void browse(HWND dialog, bool japanese) {
  std::array<wchar_t, settings::kPathCapacity> name{};
  GetDlgItemTextW(dialog, IDC_DEBUGLOG_FILE, name.data(), static_cast<int>(name.size()));
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = dialog;
  ofn.lpstrFilter = win32::wide(texts::kDebugLogFileFilter, japanese);
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrTitle = win32::wide(texts::kDebugLogBrowseTitle, japanese);
  ofn.lpstrDefExt = L"log";
  ofn.Flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  if (GetSaveFileNameW(&ofn)) SetDlgItemTextW(dialog, IDC_DEBUGLOG_FILE, name.data());
}

// OK: switches logging on (a new start block, or a restart on another file)
// or off; the dialog stays open when the choice cannot take effect.
void accept(HWND dialog) {
  const DebugLogDialogContext& c = contextOf(dialog);
  diag::DebugLog& log = c.log;
  const bool on = ticked(dialog, IDC_DEBUGLOG_ON);
  const std::u16string name = fileName(dialog);
  if (on && name.empty()) {
    error(c, dialog, texts::kDebugLogNoFileName);
    return;
  }
  log.szDebugOutFileName = name;
  if (!on) {
    log.log(diag::kLogEnd, kEndLine, u"", u"");
    log.bDebugOut = false;
    c.monitor.destroy();
    EndDialog(dialog, IDOK);
    return;
  }
  log.bDebugOut = true;
  if (!log.log(diag::kLogStart, kStartLine, u"", u"")) {
    error(c, dialog, texts::kDebugLogCannotStart);
    log.bDebugOut = false;
    return;
  }
  diag::writeSettingsDump(log, c.settings, {c.japanese, c.timer5Active && c.timer5Active()});
  if (ticked(dialog, IDC_DEBUGLOG_MONITOR)) {
    c.monitor.show(c.mainWindow);
  } else {
    c.monitor.destroy();
  }
  EndDialog(dialog, IDOK);
}

void initDialog(HWND dialog, const DebugLogDialogContext& c) {
  subclassDarkControls(dialog, nullptr);
  ApplyTitleBar(dialog);
  enableFileControls(dialog, false);
  if (c.log.bDebugOut) {
    CheckDlgButton(dialog, IDC_DEBUGLOG_ON, BST_CHECKED);
    enableFileControls(dialog, true);
    if (c.monitor.exists()) CheckDlgButton(dialog, IDC_DEBUGLOG_MONITOR, BST_CHECKED);
  }
  SendDlgItemMessageW(dialog, IDC_DEBUGLOG_FILE, EM_LIMITTEXT, settings::kPathCapacity - 1, 0);
  SetDlgItemTextW(dialog, IDC_DEBUGLOG_FILE, win32::wide(c.log.szDebugOutFileName));
  SendMessageW(dialog, WM_THEMECHANGED, 0, 0);
  followDpiChanges(dialog);
}

INT_PTR CALLBACK settingsProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    initDialog(dialog, *reinterpret_cast<const DebugLogDialogContext*>(lParam));
    return TRUE;
  }
  if (!GetWindowLongPtrW(dialog, DWLP_USER)) return FALSE;
  if (auto answered = dialogLookMessage(dialog, msg, wParam, lParam)) return *answered;
  if (msg != WM_COMMAND) return FALSE;
  const DebugLogDialogContext& c = contextOf(dialog);
  switch (LOWORD(wParam)) {
    case IDC_DEBUGLOG_ON:
      enableFileControls(dialog, ticked(dialog, IDC_DEBUGLOG_ON));
      return TRUE;
    case IDC_DEBUGLOG_BROWSE:
      browse(dialog, c.japanese);
      return TRUE;
    case IDHELP:
      if (c.openHelp) c.openHelp(dialog, kHelpTopic);
      return TRUE;
    case IDOK:
      accept(dialog);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void DebugMonitorDialog::show(HWND owner) {
  if (!exists()) {
    window_ = CreateDialogParamW(resources_, MAKEINTRESOURCEW(IDD_DEBUG_MONITOR), owner, proc,
                                 reinterpret_cast<LPARAM>(this));
  }
  if (window_) ShowWindow(window_, SW_SHOW);
}

void DebugMonitorDialog::destroy() {
  if (exists()) DestroyWindow(window_);
  window_ = nullptr;
}

INT_PTR CALLBACK DebugMonitorDialog::proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<DebugMonitorDialog*>(lParam);
    self->window_ = dialog;
    subclassDarkControls(dialog, nullptr);
    ApplyTitleBar(dialog);
    self->layout_ = AttachLayout(dialog, kMonitorAnchors);
    const SIZE initial = self->layout_->minTrackSize();
    self->layout_->setMinTrackSize({initial.cx / 2, initial.cy / 2});
    SendMessageW(dialog, WM_THEMECHANGED, 0, 0);
    followDpiChanges(dialog);
    return TRUE;
  }
  auto* self = reinterpret_cast<DebugMonitorDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self) return FALSE;
  if (auto answered = dialogLookMessage(dialog, msg, wParam, lParam)) return *answered;
  switch (msg) {
    case WM_SIZE:
      if (self->layout_) ApplyLayout(*self->layout_);
      return TRUE;
    case WM_GETMINMAXINFO:
      if (self->layout_) {
        layoutMinMaxInfo(*self->layout_, lParam);
        return TRUE;
      }
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) {
        DestroyWindow(dialog);
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      DestroyWindow(dialog);
      return TRUE;
    case WM_DESTROY:
      self->layout_.reset();
      if (self->window_ == dialog) self->window_ = nullptr;
      SetWindowLongPtrW(dialog, DWLP_USER, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR showDebugLogDialog(HWND owner, const DebugLogDialogContext& context) {
  return DialogBoxParamW(context.resources, MAKEINTRESOURCEW(IDD_DEBUGLOG), owner, settingsProc,
                         reinterpret_cast<LPARAM>(&context));
}

}  // namespace kivora::ui
