// The per-window rule dialogs: the resizable list of rules in priority order
// and the dialog that edits one rule. While the list is open its list view is
// the only copy of the rules; OK hands the rows, in order, to
// saveWindowRules, Cancel forgets them.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "monitor/lock_policy.h"
#include "monitor/window_rules.h"
#include "platform/win32/dpi.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"
#include "ui/dark_controls.h"
#include "ui/dialog_controls.h"
#include "ui/dialog_dpi.h"
#include "ui/dialog_look.h"
#include "ui/enlarge.h"
#include "ui/layout.h"
#include "ui/settings_dialogs.h"
#include "ui/texts.h"
#include "ui/tooltips.h"

namespace kivora::ui {

namespace {

using monitor::LockPolicy;
using monitor::RuleCodes;
using monitor::WindowRule;

constexpr int kCodeColumns = 4;
constexpr int kRuleTitleMaxLength = 2048;

// The code lists of the edit dialog and the code columns of the list, in
// the order NumLock, CapsLock, ScrollLock, IME.
constexpr int kCodeLists[kCodeColumns] = {IDC_RULE_NUMLOCK, IDC_RULE_CAPSLOCK, IDC_RULE_SCROLLLOCK,
                                          IDC_RULE_IME};
constexpr LockPolicy RuleCodes::*kCodeFields[kCodeColumns] = {
    &RuleCodes::numLock, &RuleCodes::capsLock, &RuleCodes::scrollLock, &RuleCodes::ime};

constexpr LayoutAnchor kRuleListAnchors[] = {
    {IDC_RULE_LIST, Anchor::GrowBoth},
    {IDC_RULE_NEW, Anchor::Bottom},
    {IDC_RULE_EDIT, Anchor::Bottom},
    {IDC_RULE_DELETE, Anchor::Bottom},
    {IDC_RULE_UP, Anchor::Bottom},
    {IDC_RULE_DOWN, Anchor::Bottom},
    {IDOK, Anchor::BottomRight},
    {IDCANCEL, Anchor::BottomRight},
    {IDC_HELP_BUTTON, Anchor::BottomRight},
    {0, Anchor::None},
};

// A stored code outside the six shows as the first.
LockPolicy shownCode(LockPolicy code) {
  return code >= 0 && code < monitor::kLockPolicyCount ? code : monitor::kPolicyNone;
}

std::wstring codeText(LockPolicy code, bool japanese) {
  const std::u16string_view text = monitor::lockPolicyText(shownCode(code), japanese);
  return std::wstring(text.begin(), text.end());
}

void applyDialogLook(HWND dialog) {
  subclassDarkControls(dialog, nullptr);
  ApplyTitleBar(dialog);
  SendMessageW(dialog, WM_THEMECHANGED, 0, 0);
}

// ---- the edit dialog

class RuleEditDialog {
 public:
  RuleEditDialog(const DialogBasics& basics, bool bigDialog, WindowRule& rule)
      : basics_(basics), bigDialog_(bigDialog), rule_(rule) {}

  void open(HWND dialog);
  INT_PTR handle(UINT msg, WPARAM wp, LPARAM lp);
  void destroyed() { RestoreDialog(enlargement_); }

 private:
  void onOk();

  const DialogBasics& basics_;
  bool bigDialog_;
  WindowRule& rule_;
  HWND dialog_ = nullptr;
  DialogEnlargement enlargement_;
};

void RuleEditDialog::open(HWND dialog) {
  dialog_ = dialog;
  const bool jp = basics_.japanese;
  CreateTooltips(dialog, texts::ruleEditTooltips(jp));
  applyDialogLook(dialog);
  for (int list : kCodeLists) {
    for (const auto text : monitor::lockPolicyTexts(jp)) addComboText(dialog, list, text);
  }
  SendDlgItemMessageW(dialog, IDC_RULE_TITLE, EM_LIMITTEXT, kRuleTitleMaxLength, 0);
  if (rule_.title.empty()) {
    SetWindowTextW(dialog, win32::wide(texts::kNewRuleTitle, jp));
    enableControl(dialog, IDOK, false);
  } else {
    SetWindowTextW(dialog, win32::wide(texts::kEditRuleTitle, jp));
    SetDlgItemTextW(dialog, IDC_RULE_TITLE, win32::wide(rule_.title));
  }
  for (int i = 0; i < kCodeColumns; ++i) {
    SendDlgItemMessageW(dialog, kCodeLists[i], CB_SETCURSEL,
                        static_cast<WPARAM>(shownCode(rule_.codes.*kCodeFields[i])), 0);
  }
  if (bigDialog_) enlargement_ = EnlargeDialog(dialog, kPlaceBottomRight);
  followDpiChanges(dialog);
}

INT_PTR RuleEditDialog::handle(UINT msg, WPARAM wp, LPARAM) {
  if (msg != WM_COMMAND) return FALSE;
  const int id = LOWORD(wp);
  const int code = HIWORD(wp);
  if (id == IDC_RULE_TITLE && code == EN_CHANGE) {
    enableControl(dialog_, IDOK, GetWindowTextLengthW(GetDlgItem(dialog_, IDC_RULE_TITLE)) > 0);
    return TRUE;
  }
  if (code != BN_CLICKED) return FALSE;
  switch (id) {
    case IDOK:
      onOk();
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog_, IDCANCEL);
      return TRUE;
    case IDC_HELP_BUTTON:
      if (basics_.openHelp) basics_.openHelp(dialog_, texts::kRulesHelp);
      return TRUE;
    default:
      return FALSE;
  }
}

void RuleEditDialog::onOk() {
  const std::wstring title = controlText(dialog_, IDC_RULE_TITLE);
  if (title.empty()) {
    basics_.messageBox(dialog_, win32::wide(texts::kEmptyRuleTitle, basics_.japanese),
                       win32::wide(kCaption), MB_OK | MB_ICONERROR);
    return;
  }
  rule_.title =
      win32::fromWide(title.c_str(), std::min<std::size_t>(title.size(), kRuleTitleMaxLength));
  for (int i = 0; i < kCodeColumns; ++i) {
    const int index = comboIndex(dialog_, kCodeLists[i]);
    rule_.codes.*kCodeFields[i] = index == CB_ERR ? monitor::kPolicyNone : index;
  }
  EndDialog(dialog_, IDOK);
}

// ---- the list dialog

class WindowRulesDialog {
 public:
  explicit WindowRulesDialog(const WindowRulesDialogContext& context) : context_(context) {}

  void open(HWND dialog);
  INT_PTR handle(UINT msg, WPARAM wp, LPARAM lp);
  void destroyed();

 private:
  bool japanese() const { return context_.basics.japanese; }
  HWND list() const { return GetDlgItem(dialog_, IDC_RULE_LIST); }
  void error(const Bilingual& text) const {
    context_.basics.messageBox(dialog_, win32::wide(text, japanese()), win32::wide(kCaption),
                               MB_OK | MB_ICONERROR);
  }

  void insertColumns();
  void rescaleColumns();
  int rowCount() const;
  int selectedRow() const;
  void selectRow(int row);
  void insertRow(int row, const WindowRule& rule);
  void writeRow(int row, const WindowRule& rule);
  WindowRule readRow(int row) const;
  std::wstring cellText(int row, int column) const;
  void updateButtons();
  bool onNotify(const NMHDR& header);
  void showContextMenu();
  void onCommand(int id);
  void onNew();
  void onEdit();
  void onDelete();
  void onMove(int step);
  void onOk();
  bool editRule(WindowRule& rule);

  const WindowRulesDialogContext& context_;
  HWND dialog_ = nullptr;
  DialogEnlargement enlargement_;
  std::optional<DialogLayout> layout_;
  win32::UniqueMenu menu_;
  DialogIcons icons_;
  UINT columnsDpi_ = USER_DEFAULT_SCREEN_DPI;  // what the column widths are for
};

void WindowRulesDialog::open(HWND dialog) {
  dialog_ = dialog;
  if (context_.bigDialog) enlargement_ = EnlargeDialog(dialog, kPlaceBottomRight);
  layout_ = AttachLayout(dialog, kRuleListAnchors);
  CreateTooltips(dialog, texts::ruleListTooltips(japanese()));
  insertColumns();
  const DWORD styles = LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP;
  ListView_SetExtendedListViewStyleEx(list(), styles, styles);

  const auto rules = monitor::loadWindowRules(context_.store, context_.useIni);
  for (std::size_t i = 0; i < rules.size(); ++i) insertRow(static_cast<int>(i), rules[i]);
  if (rowCount() > 0) {
    selectRow(0);
  }
  updateButtons();

  menu_.reset(LoadMenuW(context_.basics.resources,
                        MAKEINTRESOURCEW(japanese() ? IDR_RULE_MENU_JA : IDR_RULE_MENU_EN)));
  icons_.apply(dialog, context_.basics.resources);
  applyDialogLook(dialog);
  followDpiChanges(dialog);
}

void WindowRulesDialog::insertColumns() {
  columnsDpi_ = layoutDpi(dialog_);
  LVCOLUMNW column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  for (std::size_t i = 0; i < texts::kRuleColumns.size(); ++i) {
    column.pszText = const_cast<wchar_t*>(win32::wide(texts::kRuleColumns[i], japanese()));
    column.cx = win32::scaleForDpi(texts::kRuleColumnWidths[i], columnsDpi_);
    column.iSubItem = static_cast<int>(i);
    ListView_InsertColumn(list(), static_cast<int>(i), &column);
  }
}

// The widths as they are, the user's own included, at the dialog's new DPI.
void WindowRulesDialog::rescaleColumns() {
  const UINT dpi = layoutDpi(dialog_);
  for (int i = 0; i < static_cast<int>(texts::kRuleColumns.size()); ++i) {
    const int width = ListView_GetColumnWidth(list(), i);
    ListView_SetColumnWidth(list(), i,
                            MulDiv(width, static_cast<int>(dpi), static_cast<int>(columnsDpi_)));
  }
  columnsDpi_ = dpi;
}

int WindowRulesDialog::rowCount() const { return ListView_GetItemCount(list()); }

int WindowRulesDialog::selectedRow() const {
  return ListView_GetNextItem(list(), -1, LVNI_SELECTED);
}

void WindowRulesDialog::selectRow(int row) {
  const UINT mask = LVIS_SELECTED | LVIS_FOCUSED;
  ListView_SetItemState(list(), row, mask, mask);
  ListView_EnsureVisible(list(), row, FALSE);
}

void WindowRulesDialog::insertRow(int row, const WindowRule& rule) {
  std::wstring title(rule.title.begin(), rule.title.end());
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = title.data();
  const int inserted = ListView_InsertItem(list(), &item);
  if (inserted >= 0) writeRow(inserted, rule);
}

void WindowRulesDialog::writeRow(int row, const WindowRule& rule) {
  std::wstring title(rule.title.begin(), rule.title.end());
  ListView_SetItemText(list(), row, 0, title.data());
  for (int c = 0; c < kCodeColumns; ++c) {
    std::wstring text = codeText(rule.codes.*kCodeFields[c], japanese());
    ListView_SetItemText(list(), row, c + 1, text.data());
  }
}

std::wstring WindowRulesDialog::cellText(int row, int column) const {
  // A title may be longer than any buffer chosen beforehand; grow until it fits.
  std::vector<wchar_t> buffer(kRuleTitleMaxLength + 2);
  for (;;) {
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const auto copied = static_cast<std::size_t>(SendMessageW(
        list(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (copied + 1 < buffer.size()) return std::wstring(buffer.data(), copied);
    buffer.resize(buffer.size() * 2);
  }
}

WindowRule WindowRulesDialog::readRow(int row) const {
  WindowRule rule;
  rule.title = win32::fromWide(cellText(row, 0).c_str());
  for (int c = 0; c < kCodeColumns; ++c) {
    rule.codes.*kCodeFields[c] =
        monitor::lockPolicyCode(win32::fromWide(cellText(row, c + 1).c_str()));
  }
  return rule;
}

void WindowRulesDialog::updateButtons() {
  const int row = selectedRow();
  const bool selected = row >= 0;
  enableControl(dialog_, IDC_RULE_EDIT, selected);
  enableControl(dialog_, IDC_RULE_DELETE, selected);
  enableControl(dialog_, IDC_RULE_UP, selected && row > 0);
  enableControl(dialog_, IDC_RULE_DOWN, selected && row < rowCount() - 1);
}

INT_PTR WindowRulesDialog::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (layout_) ApplyLayout(*layout_);
      return TRUE;
    case WM_GETMINMAXINFO:
      if (layout_) layoutMinMaxInfo(*layout_, lp);
      return TRUE;
    case WM_NOTIFY:
      return onNotify(*reinterpret_cast<const NMHDR*>(lp)) ? TRUE : FALSE;
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) onCommand(LOWORD(wp));
      return TRUE;
    case WM_DPICHANGED:
      rescaleColumns();
      icons_.apply(dialog_, context_.basics.resources);
      return TRUE;
    default:
      return FALSE;
  }
}

bool WindowRulesDialog::onNotify(const NMHDR& header) {
  if (header.idFrom != IDC_RULE_LIST) return false;
  switch (header.code) {
    case LVN_ITEMCHANGED:
      updateButtons();
      return true;
    case NM_RCLICK:
      showContextMenu();
      return true;
    case NM_DBLCLK:
      if (selectedRow() >= 0) onEdit();
      return true;
    default:
      return false;
  }
}

void WindowRulesDialog::showContextMenu() {
  HMENU popup = GetSubMenu(menu_.get(), 0);
  if (!popup) return;
  const int row = selectedRow();
  const bool selected = row >= 0;
  auto grey = [popup](int id, bool enabled) {
    EnableMenuItem(popup, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  };
  grey(IDC_RULE_EDIT, selected);
  grey(IDC_RULE_DELETE, selected);
  grey(IDC_RULE_UP, selected && row > 0);
  grey(IDC_RULE_DOWN, selected && row < rowCount() - 1);
  SetMenuDefaultItem(popup, IDC_RULE_EDIT, FALSE);
  POINT cursor{};
  GetCursorPos(&cursor);
  TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, dialog_, nullptr);
}

void WindowRulesDialog::onCommand(int id) {
  switch (id) {
    case IDC_RULE_NEW:
      onNew();
      break;
    case IDC_RULE_EDIT:
      onEdit();
      break;
    case IDC_RULE_DELETE:
      onDelete();
      break;
    case IDC_RULE_UP:
      onMove(-1);
      break;
    case IDC_RULE_DOWN:
      onMove(+1);
      break;
    case IDOK:
      onOk();
      break;
    case IDCANCEL:
      EndDialog(dialog_, IDCANCEL);
      break;
    case IDC_HELP_BUTTON:
      if (context_.basics.openHelp) context_.basics.openHelp(dialog_, texts::kRulesHelp);
      break;
    default:
      break;
  }
}

bool WindowRulesDialog::editRule(WindowRule& rule) {
  RuleEditDialog edit(context_.basics, context_.bigDialog, rule);
  const int templateId = japanese() ? IDD_RULE_EDIT_JA : IDD_RULE_EDIT_EN;
  return DialogBoxParamW(context_.basics.resources, MAKEINTRESOURCEW(templateId), dialog_,
                         statefulDialogProc<RuleEditDialog>,
                         reinterpret_cast<LPARAM>(&edit)) == IDOK;
}

void WindowRulesDialog::onNew() {
  WindowRule rule;
  if (!editRule(rule)) return;
  const int row = rowCount();
  insertRow(row, rule);
  selectRow(row);
}

void WindowRulesDialog::onEdit() {
  const int row = selectedRow();
  if (row < 0) {
    error(texts::kNoRuleToEdit);
    return;
  }
  WindowRule rule = readRow(row);
  if (editRule(rule)) writeRow(row, rule);
}

void WindowRulesDialog::onDelete() {
  const int row = selectedRow();
  if (row < 0) {
    error(texts::kNoRuleToDelete);
    return;
  }
  const std::wstring cell = cellText(row, 0);
  const std::u16string question =
      fillIn(texts::kAskDeleteRule.pick(japanese()), {win32::fromWide(cell.c_str(), cell.size())});
  if (context_.basics.messageBox(dialog_, win32::wide(question), win32::wide(kCaption),
                                 MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return;
  }
  ListView_DeleteItem(list(), row);
  updateButtons();
}

void WindowRulesDialog::onMove(int step) {
  const int row = selectedRow();
  const int target = row + step;
  if (row < 0 || target < 0 || target >= rowCount()) {
    error(step < 0 ? texts::kNoRuleToRaise : texts::kNoRuleToLower);
    return;
  }
  const WindowRule rule = readRow(row);
  ListView_DeleteItem(list(), row);
  insertRow(target, rule);
  selectRow(target);
  updateButtons();
}

void WindowRulesDialog::onOk() {
  std::vector<WindowRule> rules;
  for (int row = 0; row < rowCount(); ++row) rules.push_back(readRow(row));
  monitor::saveWindowRules(context_.store, context_.useIni, japanese(), rules, context_.balloons);
  EndDialog(dialog_, IDOK);
}

void WindowRulesDialog::destroyed() {
  menu_.reset();
  layout_.reset();
  RestoreDialog(enlargement_);
}

}  // namespace

INT_PTR showWindowRulesDialog(HWND owner, const WindowRulesDialogContext& context) {
  ensureCommonControls();
  WindowRulesDialog dialog(context);
  const int templateId = context.basics.japanese ? IDD_WINDOW_RULES_JA : IDD_WINDOW_RULES_EN;
  return DialogBoxParamW(context.basics.resources, MAKEINTRESOURCEW(templateId), owner,
                         statefulDialogProc<WindowRulesDialog>, reinterpret_cast<LPARAM>(&dialog));
}

}  // namespace kivora::ui
