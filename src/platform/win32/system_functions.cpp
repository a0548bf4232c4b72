#include "platform/win32/system_functions.h"

#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kivora::win32 {

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

// A name with a folder in it would leave the system folder.
bool hasFolder(const wchar_t* name) {
  return std::wstring_view(name).find_first_of(L"\\/:") != std::wstring_view::npos;
}

// Libraries loaded for a look-up; they stay until the process ends, so the
// pointers handed out stay valid.
HMODULE keptLibrary(const wchar_t* library) {
  static std::mutex lock;
  static std::vector<std::pair<std::wstring, UniqueModule>> kept;
  const std::lock_guard guard(lock);
  for (const auto& [name, module] : kept) {
    if (name == library) return module.get();
  }
  UniqueModule module = loadSystemLibrary(library);
  const HMODULE handle = module.get();
  if (handle) kept.emplace_back(library, std::move(module));
  return handle;
}

}  // namespace

UniqueModule loadSystemLibrary(const wchar_t* name) {
  if (!name || !*name || hasFolder(name)) return {};
  if (HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    return UniqueModule(module);
  }
  if (GetLastError() != ERROR_INVALID_PARAMETER) return {};
  // A system without the search flags: a full path is at least never looked
  // for beside the program.
  const std::wstring path = systemFolderPath(name);
  if (path.empty()) return {};
  return UniqueModule(LoadLibraryW(path.c_str()));
}

void* systemFunctionAddress(const wchar_t* library, const char* name) {
  if (!library || !name || hasFolder(library)) return nullptr;
  HMODULE module = GetModuleHandleW(library);
  if (!module) module = keptLibrary(library);
  if (!module) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(module, name));
}

bool restrictLibrarySearch() {
  const auto setDefault = systemFunction<decltype(&SetDefaultDllDirectories)>(
      L"kernel32.dll", "SetDefaultDllDirectories");
  if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return true;
  SetDllDirectoryW(L"");
  return false;
}

}  // namespace kivora::win32
