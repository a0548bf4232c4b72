#pragma once
// The sound-file history bound to the settings dialog's editable combo box:
// the stored entries fill the combo's list, and a file confirmed with OK
// goes in front of them.

#include <windows.h>

#include <string_view>

#include "settings/combobox_queue.h"
#include "ui/message_box.h"

namespace kivora::ui {

class SoundFileHistory {
 public:
  // The history's entries would come out in another order from a sorted
  // combo; binding one says so in an error box (the history still works).
  SoundFileHistory(HWND combo, const settings::SettingsStore& store, MessageBoxFunction messageBox);

  // Loads the stored entries and adds them to the combo's list in order.
  void load(bool useIni);
  // Puts text in front of the history; when that changed it, the history is
  // saved and the combo's list refilled with entry 0 selected.
  void push(std::u16string_view text, bool useIni);

  const settings::ComboboxQueue& queue() const { return queue_; }

 private:
  void fillList();

  HWND combo_;
  settings::ComboboxQueue queue_;
};

}  // namespace kivora::ui
