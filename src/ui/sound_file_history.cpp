#include "ui/sound_file_history.h"

#include <string>

#include "platform/win32/wide.h"

namespace kivora::ui {

SoundFileHistory::SoundFileHistory(HWND combo, const settings::SettingsStore& store,
                                   MessageBoxFunction messageBox)
    : combo_(combo), queue_(store, u"cbq_wavfile") {
  if (GetWindowLongPtrW(combo, GWL_STYLE) & CBS_SORT) {
    messageBox(GetParent(combo), L"Warning: Combobox Control has CBS_SORT style!", L"ComboboxQueue",
               MB_OK | MB_ICONERROR);
  }
}

void SoundFileHistory::load(bool useIni) {
  queue_.load(useIni);
  fillList();
}

void SoundFileHistory::push(std::u16string_view text, bool useIni) {
  if (!queue_.push(text, useIni)) return;
  SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
  fillList();
  SendMessageW(combo_, CB_SETCURSEL, 0, 0);
}

void SoundFileHistory::fillList() {
  for (const auto& entry : queue_.entries()) {
    SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::wide(entry)));
  }
}

}  // namespace kivora::ui
