// The settings dialog: every value of Settings the user edits, plus the
// system's logon NumLock. The controls are read into a SettingsForm and
// written from one (settings/settings_form.h decides what a form means); the
// tables below say which control shows which part of the form.

#include <windows.h>
#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <optional>
#include <string>

#include "monitor/ime_control.h"
#include "platform/win32/dpi.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_version.h"
#include "resource_ids.h"
#include "settings/logon_numlock.h"
#include "settings/settings_form.h"
#include "settings/texts.h"
#include "ui/dark_controls.h"
#include "ui/dialog_controls.h"
#include "ui/dialog_dpi.h"
#include "ui/dialog_look.h"
#include "ui/enlarge.h"
#include "ui/settings_dialogs.h"
#include "ui/sound_file_history.h"
#include "ui/texts.h"
#include "ui/tooltips.h"

namespace kivora::ui {

namespace {

using settings::EnabledControls;
using settings::LockKeyChoice;
using settings::SettingsForm;

struct LockKeyControls {
  int modeList;
  int stateList;
  int modeCount;
  LockKeyChoice SettingsForm::*choice;
};
constexpr LockKeyControls kLockKeys[] = {
    {IDC_NUMLOCK_MODE, IDC_NUMLOCK_STATE, settings::kNumLockModeCount, &SettingsForm::numLock},
    {IDC_REMOTE_MODE, IDC_REMOTE_STATE, settings::kOtherLockModeCount,
     &SettingsForm::remoteNumLock},
    {IDC_CAPSLOCK_MODE, IDC_CAPSLOCK_STATE, settings::kOtherLockModeCount, &SettingsForm::capsLock},
    {IDC_SCROLLLOCK_MODE, IDC_SCROLLLOCK_STATE, settings::kOtherLockModeCount,
     &SettingsForm::scrollLock},
};

struct CheckControl {
  int id;
  bool SettingsForm::*field;
};
constexpr CheckControl kChecks[] = {
    {IDC_NOTIFY_WATCHED_DEVICE, &SettingsForm::notifyWatchedDevice},
    {IDC_REMOTE_CHECK, &SettingsForm::remoteCheck},
    {IDC_USE_SCRIPT, &SettingsForm::useScript},
    {IDC_PLAY_SOUND, &SettingsForm::playSound},
    {IDC_NOTIFY_ONLY, &SettingsForm::notifyOnly},
    {IDC_BLOCK_INSERT, &SettingsForm::blockInsert},
    {IDC_SHOW_LOCK_ICON, &SettingsForm::showLockedKeyIcon},
    {IDC_SEND_TK, &SettingsForm::sendTK},
    {IDC_BIG_DIALOG, &SettingsForm::bigDialog},
    {IDC_INSTANT_CHECK, &SettingsForm::instantCheck},
};

// Lists whose index is the stored value.
struct ListControl {
  int id;
  int SettingsForm::*field;
};
constexpr ListControl kLists[] = {
    {IDC_IME_LOCK, &SettingsForm::imeLock},
    {IDC_PAUSE_CLICK, &SettingsForm::enDisTTIcon},
};

// Numbers in an edit with an up-down control, and the up-down's range.
struct NumberControl {
  int id;
  int spin;
  int minimum;
  std::uint32_t SettingsForm::*field;
};
constexpr NumberControl kNumbers[] = {
    {IDC_INTERVAL, IDC_INTERVAL_SPIN, static_cast<int>(settings::kMinimumInterval),
     &SettingsForm::interval},
    {IDC_RETURN_WAIT, IDC_RETURN_WAIT_SPIN, 0, &SettingsForm::returnWait},
};

struct DependentControl {
  int id;
  bool EnabledControls::*enabled;
};
constexpr DependentControl kDependents[] = {
    {IDC_NUMLOCK_STATE, &EnabledControls::numLockState},
    {IDC_WATCHED_DEVICES, &EnabledControls::watchedDevices},
    {IDC_REMOTE_MODE, &EnabledControls::remoteMode},
    {IDC_REMOTE_STATE, &EnabledControls::remoteState},
    {IDC_CAPSLOCK_STATE, &EnabledControls::capsLockState},
    {IDC_SCROLLLOCK_STATE, &EnabledControls::scrollLockState},
    {IDC_SOUND_FILE, &EnabledControls::soundFile},
    {IDC_SOUND_BROWSE, &EnabledControls::soundFile},
    {IDC_RETURN_WAIT, &EnabledControls::returnWait},
    {IDC_RETURN_WAIT_SPIN, &EnabledControls::returnWait},
    {IDC_EDIT_SCRIPT, &EnabledControls::editScript},
};

// Clicks and selections after which the enabled states are worked out again.
bool changesEnabledStates(int id, int code) {
  switch (id) {
    case IDC_PLAY_SOUND:
    case IDC_USE_SCRIPT:
    case IDC_REMOTE_CHECK:
    case IDC_NOTIFY_WATCHED_DEVICE:
    case IDC_NOTIFY_ONLY:
      return code == BN_CLICKED;
    case IDC_NUMLOCK_MODE:
    case IDC_REMOTE_MODE:
    case IDC_CAPSLOCK_MODE:
    case IDC_SCROLLLOCK_MODE:
      return code == CBN_SELCHANGE;
    default:
      return false;
  }
}

constexpr int kSoundFileMaxLength = static_cast<int>(settings::kPathCapacity) - 1;
// The hotkey control turns a key alone or with a single modifier into
// Ctrl+Alt+key.
constexpr WPARAM kInvalidHotkeyCombinations = HKCOMB_NONE | HKCOMB_S | HKCOMB_C | HKCOMB_A;
constexpr WORD kHotkeyReplacement = HOTKEYF_CONTROL | HOTKEYF_ALT;
constexpr int kMaximumNumber = 0x7FFFFFFF;

class SettingsDialog {
 public:
  explicit SettingsDialog(const SettingsDialogContext& context) : context_(context) {}

  void open(HWND dialog);
  INT_PTR handle(UINT msg, WPARAM wp, LPARAM lp);
  void destroyed();

 private:
  bool japanese() const { return context_.basics.japanese; }
  int box(const wchar_t* text, const wchar_t* caption, UINT type) const {
    return context_.basics.messageBox(dialog_, text, caption, type);
  }
  // A box of Kivora's caption.
  int box(const Bilingual& text, UINT type) const {
    return box(win32::wide(text, japanese()), win32::wide(kCaption), type);
  }
  void openHelp(const wchar_t* topic) const {
    if (context_.basics.openHelp) context_.basics.openHelp(dialog_, topic);
  }

  void fillLists();
  void writeForm(const SettingsForm& form);
  SettingsForm readForm() const;
  void placeAtBottomRight();
  void updateEnabledStates();
  void onCommand(int id, int code);
  void onLogonNumLockClick();
  void onBrowse();
  void onDrop(HDROP drop);
  void onOk();
  void applyLogonNumLock();
  void openScriptEditor();

  const SettingsDialogContext& context_;
  HWND dialog_ = nullptr;
  bool hasBigDialogBox_ = false;
  SettingsForm opened_;
  settings::LogonNumLock logonNumLock_;
  std::optional<SoundFileHistory> history_;
  DialogEnlargement enlargement_;
  DialogIcons icons_;
};

void SettingsDialog::open(HWND dialog) {
  dialog_ = dialog;
  hasBigDialogBox_ = GetDlgItem(dialog, IDC_BIG_DIALOG) != nullptr;
  if (context_.dialogOpen) *context_.dialogOpen = true;
  if (context_.settingsWindow) *context_.settingsWindow = dialog;
  CreateTooltips(dialog, texts::settingsTooltips(japanese()));

  const settings::Settings& s = context_.settings;
  history_.emplace(GetDlgItem(dialog, IDC_SOUND_FILE), context_.store, context_.basics.messageBox);
  history_->load(s.bUseIni);

  fillLists();
  SendDlgItemMessageW(dialog, IDC_SOUND_FILE, CB_LIMITTEXT, kSoundFileMaxLength, 0);
  SendDlgItemMessageW(dialog, IDC_PAUSE_HOTKEY, HKM_SETRULES, kInvalidHotkeyCombinations,
                      MAKELPARAM(kHotkeyReplacement, 0));
  opened_ = settings::formFromSettings(s);
  writeForm(opened_);
  placeAtBottomRight();

  logonNumLock_ = settings::readLogonNumLock(context_.store.regw);
  setTicked(dialog, IDC_LOGON_NUMLOCK, logonNumLock_.on);
  if (!logonNumLock_.writable) enableControl(dialog, IDC_LOGON_NUMLOCK, false);

  for (const auto& number : kNumbers) {
    SendDlgItemMessageW(dialog, number.spin, UDM_SETRANGE32, static_cast<WPARAM>(number.minimum),
                        kMaximumNumber);
  }

  updateEnabledStates();
  if (s.BIGDIALOG) enlargement_ = EnlargeDialog(dialog, kPlaceBottomRight);
  SetForegroundWindow(dialog);
  icons_.apply(dialog, context_.basics.resources);
  subclassDarkControls(dialog, win32::wide(texts::kNoHotkey, japanese()));
  ApplyTitleBar(dialog);
  SendMessageW(dialog, WM_THEMECHANGED, 0, 0);
  followDpiChanges(dialog);
}

void SettingsDialog::fillLists() {
  const bool jp = japanese();
  for (const auto& key : kLockKeys) {
    for (int mode = 0; mode < key.modeCount; ++mode) {
      addComboText(dialog_, key.modeList,
                   win32::wide(texts::kWatchModes[static_cast<std::size_t>(mode)], jp));
    }
    for (const auto& state : texts::kWantedStates)
      addComboText(dialog_, key.stateList, win32::wide(state, jp));
  }
  for (int mode = 0; mode < monitor::kImeModeCount; ++mode) {
    addComboText(dialog_, IDC_IME_LOCK, monitor::imeModeText(mode, jp));
  }
  for (const auto& click : texts::kPauseClicks)
    addComboText(dialog_, IDC_PAUSE_CLICK, win32::wide(click, jp));
}

void SettingsDialog::writeForm(const SettingsForm& form) {
  for (const auto& key : kLockKeys) {
    const LockKeyChoice& choice = form.*key.choice;
    SendDlgItemMessageW(dialog_, key.modeList, CB_SETCURSEL, static_cast<WPARAM>(choice.mode), 0);
    SendDlgItemMessageW(dialog_, key.stateList, CB_SETCURSEL, static_cast<WPARAM>(choice.state), 0);
  }
  for (const auto& check : kChecks) setTicked(dialog_, check.id, form.*check.field);
  for (const auto& list : kLists) {
    SendDlgItemMessageW(dialog_, list.id, CB_SETCURSEL, static_cast<WPARAM>(form.*list.field), 0);
  }
  for (const auto& number : kNumbers) SetDlgItemInt(dialog_, number.id, form.*number.field, FALSE);
  SetDlgItemTextW(dialog_, IDC_SOUND_FILE, win32::wide(form.soundFile));
  SendDlgItemMessageW(dialog_, IDC_PAUSE_HOTKEY, HKM_SETHOTKEY,
                      static_cast<WPARAM>(form.hotkey & 0xFFFF), 0);
}

// A list without a selection (its setting was outside the list when the
// dialog opened) keeps the value it had.
SettingsForm SettingsDialog::readForm() const {
  SettingsForm form = opened_;
  for (const auto& key : kLockKeys) {
    LockKeyChoice& choice = form.*key.choice;
    if (const int mode = comboIndex(dialog_, key.modeList); mode != CB_ERR) choice.mode = mode;
    if (const int state = comboIndex(dialog_, key.stateList); state != CB_ERR) choice.state = state;
  }
  for (const auto& check : kChecks) form.*check.field = isTicked(dialog_, check.id);
  for (const auto& list : kLists) {
    if (const int index = comboIndex(dialog_, list.id); index != CB_ERR) form.*list.field = index;
  }
  for (const auto& number : kNumbers) {
    BOOL read = FALSE;
    const UINT value = GetDlgItemInt(dialog_, number.id, &read, FALSE);
    form.*number.field = read ? value : 0;
  }
  form.soundFile = win32::fromWide(controlText(dialog_, IDC_SOUND_FILE).c_str());
  form.hotkey = static_cast<std::int32_t>(
      LOWORD(SendDlgItemMessageW(dialog_, IDC_PAUSE_HOTKEY, HKM_GETHOTKEY, 0, 0)));
  return form;
}

void SettingsDialog::placeAtBottomRight() {
  RECT work{};
  RECT window{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) || !GetWindowRect(dialog_, &window))
    return;
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  const UINT dpi = layoutDpi(dialog_);
  SetWindowPos(dialog_, nullptr,
               work.right - width - win32::systemMetricsForDpi(SM_CXDLGFRAME, dpi),
               work.bottom - height - win32::systemMetricsForDpi(SM_CYDLGFRAME, dpi), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SettingsDialog::updateEnabledStates() {
  const EnabledControls enabled = settings::enabledControls(readForm());
  for (const auto& dependent : kDependents) {
    enableControl(dialog_, dependent.id, enabled.*dependent.enabled);
  }
  DragAcceptFiles(dialog_, enabled.soundFile ? TRUE : FALSE);
}

INT_PTR SettingsDialog::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      onCommand(LOWORD(wp), HIWORD(wp));
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lp);
      if (header->idFrom == IDC_IME_HELP_LINK &&
          (header->code == NM_CLICK || header->code == NM_RETURN)) {
        const auto* link = reinterpret_cast<const NMLINK*>(lp);
        if (std::wstring_view(link->item.szID) == texts::kImeHelpLinkId) openHelp(texts::kImeHelp);
        return TRUE;
      }
      return FALSE;
    }
    case WM_HELP:
      openHelp(texts::kSettingsHelp);
      return TRUE;
    case WM_DROPFILES:
      onDrop(reinterpret_cast<HDROP>(wp));
      return TRUE;
    case WM_DPICHANGED:
      icons_.apply(dialog_, context_.basics.resources);
      return TRUE;
    default:
      return FALSE;
  }
}

void SettingsDialog::onCommand(int id, int code) {
  if (changesEnabledStates(id, code)) {
    updateEnabledStates();
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDOK:
      onOk();
      break;
    case IDCANCEL:
      EndDialog(dialog_, IDCANCEL);
      break;
    case IDC_HELP_BUTTON:
      openHelp(texts::kSettingsHelp);
      break;
    case IDC_SOUND_BROWSE:
      onBrowse();
      break;
    case IDC_LOGON_NUMLOCK:
      onLogonNumLockClick();
      break;
    case IDC_WINDOW_RULES:
      showWindowRulesDialog(dialog_, {context_.basics, context_.store, context_.settings.bUseIni,
                                      context_.settings.BIGDIALOG != 0, context_.balloons});
      break;
    case IDC_WATCHED_DEVICES:
      showDeviceDialog(dialog_, {context_.basics, context_.settings, context_.devices});
      break;
    case IDC_EDIT_SCRIPT:
      openScriptEditor();
      break;
    default:
      break;
  }
}

void SettingsDialog::openScriptEditor() {
  if (context_.openScriptEditor) {
    context_.openScriptEditor(dialog_);
    return;
  }
  box(texts::kScriptEditorMissing, MB_OK | MB_ICONINFORMATION);
}

void SettingsDialog::onLogonNumLockClick() {
  if (isTicked(dialog_, IDC_LOGON_NUMLOCK)) {
    setTicked(dialog_, IDC_LOGON_NUMLOCK, false);
    return;
  }
  const win32::WindowsVersion version = win32::windowsVersion();
  if (version.major * 100 + version.minor > 999 &&
      box(texts::kLogonNumLockQuestion, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
    return;
  }
  setTicked(dialog_, IDC_LOGON_NUMLOCK, true);
}

void SettingsDialog::onBrowse() {
  wchar_t file[settings::kPathCapacity] = {};
  GetDlgItemTextW(dialog_, IDC_SOUND_FILE, file, static_cast<int>(settings::kPathCapacity));
  std::wstring filter;
  for (const auto& part : texts::kSoundFilter) {
    filter += win32::wide(part, japanese());
    filter.push_back(L'\0');
  }
  OPENFILENAMEW chooser = {};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = dialog_;
  chooser.lpstrFilter = filter.c_str();
  chooser.lpstrFile = file;
  chooser.nMaxFile = static_cast<DWORD>(settings::kPathCapacity);
  chooser.lpstrTitle = win32::wide(texts::kSoundBrowseTitle, japanese());
  chooser.lpstrDefExt = L"wav";
  chooser.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  bool chosen = GetOpenFileNameW(&chooser) != FALSE;
  if (!chosen && CommDlgExtendedError() == FNERR_INVALIDFILENAME) {
    file[0] = L'\0';
    chosen = GetOpenFileNameW(&chooser) != FALSE;
  }
  if (chosen) SetDlgItemTextW(dialog_, IDC_SOUND_FILE, file);
}

void SettingsDialog::onDrop(HDROP drop) {
  if (isTicked(dialog_, IDC_PLAY_SOUND)) {
    wchar_t file[settings::kPathCapacity] = {};
    if (DragQueryFileW(drop, 0, file, static_cast<UINT>(settings::kPathCapacity)) > 0) {
      SetDlgItemTextW(dialog_, IDC_SOUND_FILE, file);
      SetFocus(GetDlgItem(dialog_, IDC_SOUND_FILE));
    }
  }
  DragFinish(drop);
}

void SettingsDialog::onOk() {
  settings::Settings& s = context_.settings;
  const bool bigDialogBefore = s.BIGDIALOG != 0;
  settings::applyForm(readForm(), s, hasBigDialogBox_);

  history_->push(s.PlaySoundFileName, s.bUseIni);
  context_.hotkeys.registerPauseHotkey();
  context_.hotkeys.setInsertBlock(s.BlockInsert != 0);
  if (!s.use_script && context_.scriptRunning && context_.scriptRunning() &&
      context_.requestScriptStop) {
    context_.requestScriptStop();
  }
  if (hasBigDialogBox_ && (s.BIGDIALOG != 0) != bigDialogBefore) {
    box(s.BIGDIALOG ? texts::kBigDialogOn : texts::kBigDialogOff, texts::kBigDialogCaption,
        MB_OK | MB_ICONINFORMATION);
  }
  applyLogonNumLock();
  if (context_.updateTrayIcon) context_.updateTrayIcon();
  if (context_.restartMonitorTimer) context_.restartMonitorTimer();
  if (context_.followInstantCheck) context_.followInstantCheck();
  if (!settings::SaveSettings(s, context_.store, japanese(), context_.saveHooks)) {
    const std::wstring text =
        win32::wideString(settings::cannotSaveSettingsText(s.bUseIni, japanese()));
    box(text.c_str(), win32::wide(kCaption), MB_OK | MB_ICONWARNING);
  }
  EndDialog(dialog_, IDOK);
}

void SettingsDialog::applyLogonNumLock() {
  if (!IsWindowEnabled(GetDlgItem(dialog_, IDC_LOGON_NUMLOCK))) return;
  const bool ticked = isTicked(dialog_, IDC_LOGON_NUMLOCK);
  if (ticked == logonNumLock_.on) return;
  if (!settings::writeLogonNumLock(context_.store.regw, ticked)) {
    box(texts::kLogonNumLockNotWritten, MB_OK | MB_ICONWARNING);
  }
}

void SettingsDialog::destroyed() {
  RestoreDialog(enlargement_);
  history_.reset();
  if (context_.dialogOpen) *context_.dialogOpen = false;
  if (context_.settingsWindow) *context_.settingsWindow = nullptr;
}

}  // namespace

INT_PTR showSettingsDialog(const SettingsDialogContext& context) {
  ensureCommonControls();
  SettingsDialog dialog(context);
  const int templateId = context.basics.japanese ? IDD_SETTINGS_JA : IDD_SETTINGS_EN;
  return DialogBoxParamW(context.basics.resources, MAKEINTRESOURCEW(templateId), nullptr,
                         statefulDialogProc<SettingsDialog>, reinterpret_cast<LPARAM>(&dialog));
}

void selectSettingsImeMode(HWND settingsWindow, int imeMode) {
  SendDlgItemMessageW(settingsWindow, IDC_IME_LOCK, CB_SETCURSEL, static_cast<WPARAM>(imeMode), 0);
}

}  // namespace kivora::ui
