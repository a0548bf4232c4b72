// Libraries lying beside the program or in its current folder are never
// loaded: the help control comes from the system folder even when a file of
// its name waits in both places.

#include <gtest/gtest.h>

#include <cwctype>
#include <filesystem>

#include "e2e/e2e_fixture.h"

namespace kivora::e2e {
namespace {

using SafeLoading = KivoraTest;

std::wstring lowered(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

TEST_F(SafeLoading, HelpNeverLoadsAControlPlantedBesideTheProgramOrInTheCurrentFolder) {
  seedSettings();
  wchar_t system[MAX_PATH] = {};
  ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
  ScratchFolder programFolder;
  ScratchFolder currentFolder;
  // A real library under the control's name: loaded, it would show up with
  // its planted path.
  const std::filesystem::path donor = std::filesystem::path(system) / L"version.dll";
  for (const ScratchFolder* folder : {&programFolder, &currentFolder}) {
    std::filesystem::copy_file(donor, folder->file(L"hhctrl.ocx"));
  }
  const std::wstring exe = programFolder.copyKivora(L"Kivora.exe");
  Kivora kivora({.exe = exe, .directory = currentFolder.path()});
  const HWND window = kivora.waitForMainWindow();
  ASSERT_TRUE(window);
  // Help from the tray menu, as a user opens it.
  PostMessageW(window, WM_APP, 0, WM_RBUTTONUP);
  const HWND popup = kivora.waitForWindow(L"#32768", nullptr, kWait,
                                          [](HWND w) { return IsWindowVisible(w) != FALSE; });
  ASSERT_TRUE(popup) << "no tray menu";
  PostMessageW(popup, WM_CHAR, L'h', 0);
  std::wstring loadedFrom;
  EXPECT_TRUE(waitUntil(
      [&] {
        loadedFrom = kivora.modulePath(L"hhctrl.ocx");
        return !loadedFrom.empty();
      },
      10000))
      << "the help control was not loaded";
  EXPECT_EQ(lowered(loadedFrom), lowered(std::wstring(system) + L"\\hhctrl.ocx"));
}

}  // namespace
}  // namespace kivora::e2e
