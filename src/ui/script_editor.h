#pragma once
// The script editor: a resizable modal dialog (resources 220 Japanese, 221
// English) in which the user writes the KX-Script program, loads it from a
// text file in any common encoding, or saves it as UTF-8 with a mark.
//
//   kivora::ui::ScriptEditorContext context{resources, settings, modeJP, stopScript, openHelp};
//   kivora::ui::showScriptEditor(settingsDialog, context);

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "platform/multi_language.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "ui/help.h"
#include "ui/message_box.h"

namespace kivora::ui {

struct ScriptEditorContext {
  HINSTANCE resources = nullptr;  // the module that holds dialogs 220 and 221
  settings::Settings& settings;   // kx_script (under ScriptTextLock) and BIGDIALOG
  bool japanese = false;          // modeJP
  // Sets the script stop request, so that a running script ends before its
  // text is replaced.
  std::function<void()> requestScriptStop;
  HelpOpener openHelp;
  MessageBoxFunction messageBox = ThemedMessageBox;
  // The multi-language service; null for the system's (MLang).
  platform::MultiLanguageService* multiLanguage = nullptr;
  // The longest script Kivora.ini keeps; a test lowers it, since an edit
  // control holding eight million characters is too slow under Wine.
  std::size_t maxIniScriptLength = settings::kMaxIniScriptLength;
};

// Runs the editor: IDOK (1) after the script text was replaced, IDCANCEL (2)
// when it was left as it was.
INT_PTR showScriptEditor(HWND owner, const ScriptEditorContext& context);

// The one path loading, saving and dropping share, so the last file used is
// offered again; at most 519 characters.
std::u16string scriptFilePath();
void setScriptFilePath(std::u16string_view path);

}  // namespace kivora::ui
