// LoadSystemLibrary loads from the system folder only and leaves the
// process's current folder alone.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "ui/system_library.h"

namespace ui = kivora::ui;
namespace fs = std::filesystem;

namespace {

std::wstring currentFolder() {
  wchar_t buffer[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, buffer);
  return buffer;
}

std::wstring systemFolder() {
  wchar_t buffer[MAX_PATH] = {};
  GetSystemDirectoryW(buffer, MAX_PATH);
  return buffer;
}

TEST(LoadSystemLibrary, LoadsFromTheSystemFolderAndKeepsTheCurrentFolder) {
  const std::wstring before = currentFolder();
  kivora::win32::UniqueModule module = ui::LoadSystemLibrary(L"uxtheme.dll");
  ASSERT_TRUE(module);
  const std::u16string path = kivora::win32::modulePath(module.get());
  const std::wstring folder = systemFolder();
  EXPECT_EQ(
      _wcsnicmp(reinterpret_cast<const wchar_t*>(path.c_str()), folder.c_str(), folder.size()), 0);
  EXPECT_EQ(currentFolder(), before);
}

TEST(LoadSystemLibrary, RefusesPathsAndLibrariesOutsideTheSystemFolder) {
  EXPECT_FALSE(ui::LoadSystemLibrary(L""));
  EXPECT_FALSE(ui::LoadSystemLibrary(nullptr));
  EXPECT_FALSE(ui::LoadSystemLibrary(L"..\\uxtheme.dll"));
  EXPECT_FALSE(ui::LoadSystemLibrary((systemFolder() + L"\\uxtheme.dll").c_str()));
  EXPECT_FALSE(ui::LoadSystemLibrary(L"no-such-library-kivora.dll"));

  // A library planted in the current folder is not picked up, though a plain
  // LoadLibraryW would find it there.
  const fs::path planted = fs::temp_directory_path() / L"kivora-planted";
  fs::create_directories(planted);
  fs::copy_file(fs::path(systemFolder()) / L"version.dll", planted / L"kivora_planted.dll",
                fs::copy_options::overwrite_existing);
  const std::wstring before = currentFolder();
  SetCurrentDirectoryW(planted.c_str());
  EXPECT_FALSE(ui::LoadSystemLibrary(L"kivora_planted.dll"));
  kivora::win32::UniqueModule byName(LoadLibraryW(L"kivora_planted.dll"));
  EXPECT_TRUE(byName) << "the planted copy is there to be found";
  byName.reset();
  SetCurrentDirectoryW(before.c_str());
  std::error_code ignored;
  fs::remove_all(planted, ignored);
}

}  // namespace
