#pragma once
// The tray icon's mouse messages and the tray menu they open.

#include <windows.h>

#include <string>

#include "app/texts.h"

namespace kivora::app {

class App;

// The menu's default (bold) item and the texts of its first two items, which
// show how the tray icon toggles watching (EnDisTTIcon).
struct TrayMenuLook {
  UINT defaultItem;
  Bilingual settings;
  Bilingual pause;
};
TrayMenuLook trayMenuLook(int enDisTTIcon);

// What the menu's check marks show.
struct TrayMenuChecks {
  bool paused = false;           // KBWatchEnabled is 0
  bool debugLog = false;         // the debug log is on
  bool startupShortcut = false;  // the start-up shortcut exists
};

// Sets the first two items' texts and the default item.
void setTrayMenuLook(HMENU menu, int enDisTTIcon, bool japanese);
void setTrayMenuCheck(HMENU menu, UINT item, bool checked);

// Whether a file exists, without the system's critical-error boxes.
bool fileExists(const std::wstring& path);

// WM_APP from the tray icon; lParam is the mouse or balloon message.
void onTrayCallback(App& app, LPARAM event);

}  // namespace kivora::app
