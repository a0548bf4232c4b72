#pragma once
// The program's start and end: language, images, the single instance and the
// second-start path, the copy switches, the settings, the main window and the
// message loop, then the clean-up.

#include <windows.h>

#include "app/command_line.h"
#include "ui/message_box.h"

namespace kivora::app {

// Runs Kivora; returns the exit code (the final WM_QUIT's, or 0 when the
// program ends early).
int runKivora(HINSTANCE instance, const wchar_t* commandLine);

// The box that reports a "/OR" or "/RO" copy.
struct CopyReport {
  const wchar_t* text;
  UINT icon;  // MB_ICONINFORMATION or MB_ICONERROR
};
CopyReport copyReport(StartSwitch copy, bool succeeded, bool japanese);

}  // namespace kivora::app
