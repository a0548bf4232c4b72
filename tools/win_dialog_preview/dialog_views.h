#pragma once
// Every dialog of Kivora, each opened as users see it ("views"), over sample
// settings in a scratch ini file that nothing saves. dialog_preview.exe shows
// them for screenshots; the dialog fit test opens each one and measures it.

#include <windows.h>

#include <span>
#include <string_view>

namespace kivora::tools {

struct DialogView {
  const wchar_t* name;   // "settings-ja", ...
  const wchar_t* title;  // the caption of the window the view opens
};

// All views, every dialog in each of its languages.
std::span<const DialogView> dialogViews();

// Opens the named view on this thread and returns when its dialog has
// closed; 2 for an unknown name. The rule-edit views open the rule list first
// and the edit dialog over it a second later. Besides the dialogs,
// "messagebox-ja" and "messagebox-en" show one of Kivora's message boxes.
int showDialogView(std::wstring_view name);

}  // namespace kivora::tools
