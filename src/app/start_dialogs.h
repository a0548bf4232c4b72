#pragma once
// The dialogs of start-up: the already-running dialog a second start shows,
// and the opening dialog of a Japanese start.

#include <windows.h>

namespace kivora::app {

class App;
struct StartupImages;

// Modal, no owner. Returns IDC_FORCE_EXIT (6) for "Force Exit", IDCANCEL for
// Cancel; "Settings..." also ends it, after asking the running instance to
// open its settings dialog.
INT_PTR showAlreadyRunningDialog(HINSTANCE instance, bool japanese, const StartupImages& images);

// Creates the modeless opening dialog (resource 169) and remembers it in
// app.openingDialog until it closes. Null when it cannot be created.
HWND createOpeningDialog(App& app);

}  // namespace kivora::app
