#include "ui/dialog_controls.h"

#include <commctrl.h>

#include <vector>

#include "platform/win32/dpi.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"
#include "ui/dialog_dpi.h"

namespace kivora::ui {

void ensureCommonControls() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES |
                                                        ICC_HOTKEY_CLASS | ICC_UPDOWN_CLASS |
                                                        ICC_LISTVIEW_CLASSES | ICC_LINK_CLASS};
  InitCommonControlsEx(&controls);
}

void addComboText(HWND dialog, int id, const wchar_t* text) {
  SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void addComboText(HWND dialog, int id, std::u16string_view text) {
  addComboText(dialog, id, win32::wideString(text).c_str());
}

int comboIndex(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
}

bool isTicked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void setTicked(HWND dialog, int id, bool ticked) {
  CheckDlgButton(dialog, id, ticked ? BST_CHECKED : BST_UNCHECKED);
}

void enableControl(HWND dialog, int id, bool enabled) {
  EnableWindow(GetDlgItem(dialog, id), enabled ? TRUE : FALSE);
}

std::wstring windowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
  const int copied = GetWindowTextW(window, buffer.data(), length + 1);
  return std::wstring(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

std::wstring controlText(HWND dialog, int id) { return windowText(GetDlgItem(dialog, id)); }

namespace {

win32::UniqueIcon loadIcon(HINSTANCE resources, int size) {
  return win32::UniqueIcon(static_cast<HICON>(
      LoadImageW(resources, MAKEINTRESOURCEW(IDI_KIVORA), IMAGE_ICON, size, size, 0)));
}

}  // namespace

void DialogIcons::apply(HWND dialog, HINSTANCE resources) {
  const UINT dpi = layoutDpi(dialog);
  win32::UniqueIcon big = loadIcon(resources, win32::systemMetricsForDpi(SM_CXICON, dpi));
  win32::UniqueIcon small = loadIcon(resources, win32::systemMetricsForDpi(SM_CXSMICON, dpi));
  SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  // The window let go of the icons these replace.
  big_ = std::move(big);
  small_ = std::move(small);
}

}  // namespace kivora::ui
