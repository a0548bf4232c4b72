#pragma once
// Loads a library of the system by name, only ever from the system folder.

#include <windows.h>

#include "platform/win32/handles.h"

namespace kivora::ui {

// `name` is a plain file name such as L"dwmapi.dll". A copy of that file
// beside the program or in the current folder is never picked up.
win32::UniqueModule LoadSystemLibrary(const wchar_t* name);

}  // namespace kivora::ui
