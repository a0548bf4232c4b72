#pragma once
// How dialogs open the help file: the application hands them its help
// opener (owner window, topic such as L"HLP000024.html", or nullptr for the
// start page), which returns whether the viewer opened.

#include <windows.h>

#include <functional>

namespace kivora::ui {

using HelpOpener = std::function<bool(HWND owner, const wchar_t* topic)>;

}  // namespace kivora::ui
