#pragma once
// What Kivora tells its About box: the maker's pages (the one place their
// addresses live) and the description and terms of use (ui/texts.h).
//
// The tray's about command:
//   HWND aboutWindow = nullptr;   // the shell's aboutWindow
//   ShowAbout(kivoraAboutInfo(instance, modeJP, &aboutWindow, ThemedMessageBox));

#include <windows.h>

#include "ui/about_box.h"

namespace kivora::ui {

// The maker's pages. Link ids are cut at 48 characters by the link control,
// so every address stays shorter than that.
inline constexpr wchar_t kMakerWebSite[] = L"https://orvanta.example/kivora/";
inline constexpr wchar_t kMakerContact[] = L"kivora-support@orvanta.example";
inline constexpr wchar_t kMakerContribution[] = L"https://orvanta.example/kivora/support.html";
inline constexpr wchar_t kMakerFeedback[] = L"https://orvanta.example/kivora/feedback.html";

AboutInfo kivoraAboutInfo(HINSTANCE instance, bool japanese, HWND* windowSlot,
                          MessageBoxFunction messageBox);

}  // namespace kivora::ui
