// A library that calls itself hhctrl.ocx and exports HtmlHelpW, as a planted
// copy beside the program would. Kivora must never load it.

#include <windows.h>

extern "C" __declspec(dllexport) HWND WINAPI HtmlHelpW(HWND, LPCWSTR, UINT, DWORD_PTR) {
  return reinterpret_cast<HWND>(static_cast<INT_PTR>(0x4B56));
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
