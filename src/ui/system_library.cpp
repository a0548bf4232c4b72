#include "ui/system_library.h"

#include <string>
#include <string_view>

namespace kivora::ui {

namespace {

std::wstring systemFolderPath(const wchar_t* name) {
  std::wstring path(MAX_PATH, L'\0');
  UINT length = GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
  if (length >= path.size()) {
    path.resize(length);
    length = GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
  }
  if (length == 0 || length >= path.size()) return {};
  path.resize(length);
  return path + L'\\' + name;
}

}  // namespace

win32::UniqueModule LoadSystemLibrary(const wchar_t* name) {
  if (!name || !*name) return {};
  // A name with a folder in it would leave the system folder.
  if (std::wstring_view(name).find_first_of(L"\\/:") != std::wstring_view::npos) return {};
  // The library and what it depends on come from the system folder only; the
  // process's current folder is left alone (other threads resolve
  // ".\Kivora.ini" against it).
  if (HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    return win32::UniqueModule(module);
  }
  if (GetLastError() != ERROR_INVALID_PARAMETER) return {};
  // A system without the search flags: a full path is at least never looked
  // for beside the program.
  const std::wstring path = systemFolderPath(name);
  if (path.empty()) return {};
  return win32::UniqueModule(LoadLibraryW(path.c_str()));
}

}  // namespace kivora::ui
