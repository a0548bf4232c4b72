// Kivora's entry point.

#include <windows.h>

#include "app/startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  // Libraries loaded by name from now on, ours and those the system loads on
  // our behalf, come from the system folder only: a DLL lying beside the
  // program or in the current folder (a download folder, say) is never
  // picked up. Kivora ships no libraries of its own. Where the call is
  // missing, the current folder is at least taken out of the search.
  if (!SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryW(L"");
  return kivora::app::runKivora(instance, commandLine);
}
