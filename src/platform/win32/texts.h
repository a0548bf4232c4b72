#pragma once
// The Win32 platform room's user-visible texts in both languages: the parts
// of the script's own dialogs that are not the script's words.

#include "platform/bilingual.h"

namespace kivora::win32::texts {

// The cancel button of INPUTBOX's dialog (its OK is "OK" in both).
inline constexpr Bilingual kInputDialogCancel{u"Cancel", u"キャンセル"};

}  // namespace kivora::win32::texts
