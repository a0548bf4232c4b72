#pragma once
// The shortcut to Kivora in the user's Startup folder, which starts it at logon.

#include <windows.h>

#include <string>

namespace kivora::app {

class App;

// The Startup folder (CSIDL_STARTUP) joined with "Kivora.lnk"; empty when the
// folder is unknown or the path would not fit 520 characters.
std::wstring startupShortcutPath();

// A shell link to `target` saved at `linkPath` (shown normally, no working
// folder, icon, hotkey, description or arguments). COM must be initialised.
bool createShortcut(const std::wstring& target, const std::wstring& linkPath);

// Asks, then deletes the shortcut when it exists or creates it when it does
// not, and reports the result in a box owned by `owner`.
void toggleStartupShortcut(App& app, HWND owner);

}  // namespace kivora::app
