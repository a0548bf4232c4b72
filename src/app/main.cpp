// Kivora's entry point.

#include <windows.h>

#include "app/startup.h"
#include "platform/win32/system_functions.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  // Before anything loads a library by name: a DLL lying beside the program
  // or in the current folder (a download folder, say) is never picked up.
  // Kivora ships no libraries of its own.
  kivora::win32::restrictLibrarySearch();
  return kivora::app::runKivora(instance, commandLine);
}
