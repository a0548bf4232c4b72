#pragma once
// Functions of system libraries looked up by name at run time. Kivora runs on
// Windows 7 SP1 and later; a function a later Windows added is never imported,
// or the program would not start at all where it is missing. Each caller keeps
// the pointer it gets (null where this Windows lacks the function) and has a
// fallback.

#include <windows.h>

#include "platform/win32/handles.h"

namespace kivora::win32 {

// Loads a system library by plain file name (L"shcore.dll") from the system
// folder only: a copy beside the program or in the current folder is never
// picked up, and the current folder is left alone. Null for a name with a
// folder in it.
UniqueModule loadSystemLibrary(const wchar_t* name);

// The address of `name` in the system library `library`, or null. A library
// the process has not loaded yet is loaded from the system folder and kept for
// the life of the process, as imported ones are.
void* systemFunctionAddress(const wchar_t* library, const char* name);

template <typename Function>
Function systemFunction(const wchar_t* library, const char* name) {
  return reinterpret_cast<Function>(systemFunctionAddress(library, name));
}

// Libraries loaded by name from now on, ours and those the system loads on our
// behalf, come from the system folder only (SetDefaultDllDirectories). Where
// that is missing (Windows 7 without KB2533623) the current folder is at least
// taken out of the search (SetDllDirectoryW(L"")). Returns whether the strict
// form was taken.
bool restrictLibrarySearch();

}  // namespace kivora::win32
