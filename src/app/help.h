#pragma once
// The help file and the feedback page.

#include <windows.h>

#include <string>

namespace kivora::app {

class App;

// ".\Kivora.chm::/_RESOURCE/<topic>", or ".\Kivora.chm" without a topic.
std::wstring helpPath(const wchar_t* topic);

// Opens the help file (relative to the current folder, which is the
// program's) at `topic` through the HTML Help control. Returns whether the
// viewer opened. The control is loaded on first use, from the system folder
// only.
bool openHelp(App& app, HWND owner, const wchar_t* topic);
// Closes the help windows this process opened; at exit.
void closeHelp();

// Opens the feedback page in the browser, or says it could not.
void openFeedbackPage(App& app);

}  // namespace kivora::app
