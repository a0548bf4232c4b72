// Kivora's entry point.

#include <windows.h>

#include "app/startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  return kivora::app::runKivora(instance, commandLine);
}
