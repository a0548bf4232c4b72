#include "ui/system_library.h"

#include "platform/win32/system_functions.h"

namespace kivora::ui {

// The system folder's copy only, the current folder untouched: other threads
// resolve ".\Kivora.ini" against it.
win32::UniqueModule LoadSystemLibrary(const wchar_t* name) {
  return win32::loadSystemLibrary(name);
}

}  // namespace kivora::ui
