#pragma once
// Every Kivora message box goes through ThemedMessageBox: MessageBoxW, dark
// in the dark look (dark mode without High Contrast). It has MessageBoxW's shape, so it can be
// handed to anything that takes a message-box function.

#include <windows.h>

namespace kivora::ui {

int WINAPI ThemedMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

using MessageBoxFunction = int(WINAPI*)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

}  // namespace kivora::ui
