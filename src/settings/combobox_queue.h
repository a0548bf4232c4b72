#pragma once
// ComboboxQueue: the history behind an editable combo box (the settings
// dialog's sound file). Up to 16 texts, most recent first, kept beside the
// settings: a REG_MULTI_SZ value of the settings key, or an ini section of
// its own whose keys are the positions "0", "1", ... The store is picked by
// the useIni argument at every call, like every other setting.
//
// This is the portable half; ui/sound_file_history.h binds it to the combo.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_store.h"

namespace kivora::settings {

class ComboboxQueue {
 public:
  static constexpr std::size_t kCapacity = 16;
  // An ini value is read into a buffer of this many characters.
  static constexpr std::size_t kIniValueCapacity = 1024;

  // name is the registry value and the ini section ("cbq_wavfile").
  ComboboxQueue(SettingsStore store, std::u16string name)
      : store_(std::move(store)), name_(std::move(name)) {}

  // Replaces the entries with the stored ones; reading stops at the first
  // empty entry or after kCapacity. A missing value, section or key, or a
  // registry value of another type, gives an empty history.
  void load(bool useIni);

  // Puts text in front: an equal entry (case-sensitive) moves there, any
  // other text is added and the oldest entry falls out of a full history.
  // Returns whether the history changed; it is then saved. An entry that
  // already is the first changes nothing, and neither does an empty text: it
  // would end the stored list at once and so lose every entry behind it.
  bool push(std::u16string_view text, bool useIni);

  // Writes the entries over the stored ones. Registry: one REG_MULTI_SZ,
  // the key created when missing. Ini: the section is removed, then keys "0"
  // to count - 1 are written. Returns whether everything was written.
  bool save(bool useIni) const;

  const std::vector<std::u16string>& entries() const { return entries_; }
  const std::u16string& name() const { return name_; }

 private:
  void loadFromRegistry();
  void loadFromIni();
  bool saveToRegistry() const;
  bool saveToIni() const;

  SettingsStore store_;
  std::u16string name_;
  std::vector<std::u16string> entries_;
};

}  // namespace kivora::settings
