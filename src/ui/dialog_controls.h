#pragma once
// Small pieces the settings dialogs share: reading and setting controls by
// id, the dialog's icons, and the per-dialog state a dialog procedure keeps
// in DWLP_USER.

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/win32/handles.h"
#include "ui/dialog_look.h"

namespace kivora::ui {

// Registers the common-control classes these dialogs use (hotkey, up-down,
// list view, link); cheap to repeat.
void ensureCommonControls();

void addComboText(HWND dialog, int id, const wchar_t* text);
void addComboText(HWND dialog, int id, std::u16string_view text);
// The selected entry of a combo box, or CB_ERR.
int comboIndex(HWND dialog, int id);
bool isTicked(HWND dialog, int id);
void setTicked(HWND dialog, int id, bool ticked);
void enableControl(HWND dialog, int id, bool enabled);
// The control's whole text.
std::wstring controlText(HWND dialog, int id);
std::wstring windowText(HWND window);

// Icon 107 as the dialog's big and small icon, at the sizes of the DPI the
// dialog is laid out for (apply again after WM_DPICHANGED); the icons go with
// the object.
class DialogIcons {
 public:
  void apply(HWND dialog, HINSTANCE resources);

 private:
  win32::UniqueIcon big_;
  win32::UniqueIcon small_;
};

// The state a dialog procedure keeps: stored at WM_INITDIALOG, found by the
// other messages (null before WM_INITDIALOG).
template <typename State>
State* dialogState(HWND dialog) {
  return reinterpret_cast<State*>(GetWindowLongPtrW(dialog, DWLP_USER));
}
template <typename State>
State* attachDialogState(HWND dialog, LPARAM state) {
  SetWindowLongPtrW(dialog, DWLP_USER, state);
  return reinterpret_cast<State*>(state);
}

// The dialog procedure of a dialog whose State has open(HWND) for
// WM_INITDIALOG, destroyed() for WM_DESTROY and handle(msg, wp, lp) for the
// rest; the shared look answers first.
template <typename State>
INT_PTR CALLBACK statefulDialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  if (auto answered = dialogLookMessage(dialog, msg, wp, lp)) return *answered;
  if (msg == WM_INITDIALOG) {
    attachDialogState<State>(dialog, lp)->open(dialog);
    return TRUE;
  }
  State* state = dialogState<State>(dialog);
  if (!state) return FALSE;
  if (msg == WM_DESTROY) {
    state->destroyed();
    return FALSE;
  }
  return state->handle(msg, wp, lp);
}

}  // namespace kivora::ui
