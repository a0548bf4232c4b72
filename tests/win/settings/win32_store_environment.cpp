// The store suites against the real registry and real ini files under Wine:
// each test gets a scratch registry key and a scratch current directory, both
// removed when it ends.

#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32/file_access_win32.h"
#include "platform/win32/handles.h"
#include "platform/win32/profile_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/wide.h"
#include "unit/settings/store_environment.h"

namespace kivora::test {
namespace {

constexpr wchar_t kScratchParent[] = L"Software\\Orvanta\\KivoraTests";

std::wstring scratchName() {
  static int counter = 0;
  return std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
}

std::wstring currentDirectory() {
  wchar_t buffer[MAX_PATH + 1] = {};
  GetCurrentDirectoryW(MAX_PATH + 1, buffer);
  return buffer;
}

void removeDirectory(const std::wstring& dir) {
  WIN32_FIND_DATAW found{};
  win32::UniqueFind find(FindFirstFileW((dir + L"\\*").c_str(), &found));
  if (find) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = dir + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path.c_str());
    } while (FindNextFileW(find.get(), &found));
  }
  find.reset();
  RemoveDirectoryW(dir.c_str());
}

class Win32StoreEnvironment final : public StoreEnvironment {
 public:
  Win32StoreEnvironment() : name_(scratchName()), previousDirectory_(currentDirectory()) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    directory_ = std::wstring(temp) + L"kivora-store-" + name_;
    CreateDirectoryW(directory_.c_str(), nullptr);
    SetCurrentDirectoryW(directory_.c_str());
    location_.registryKey = win32::fromWide(
        (std::wstring(kScratchParent) + L"\\" + name_ + L"\\CurrentVersion").c_str());
  }
  ~Win32StoreEnvironment() override {
    writeLock_.reset();
    SetCurrentDirectoryW(previousDirectory_.c_str());
    removeDirectory(directory_);
    RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(kScratchParent) + L"\\" + name_).c_str());
    // Each goes only once it is empty, so Kivora's own key is never touched.
    RegDeleteKeyW(HKEY_CURRENT_USER, kScratchParent);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Orvanta");
  }

  platform::Registry& registry() override { return registry_; }
  platform::Profile& profile() override { return profile_; }
  platform::FileAccess& files() override { return files_; }
  settings::StoreLocation location() override { return location_; }

  std::optional<std::vector<std::uint8_t>> fileBytes(const std::u16string& path) override {
    std::FILE* f = _wfopen(win32::wide(path), L"rb");
    if (f == nullptr) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[4096];
    std::size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
      bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(f);
    return bytes;
  }
  void writeFileBytes(const std::u16string& path, const std::vector<std::uint8_t>& bytes) override {
    ASSERT_TRUE(files_.createFile(path, bytes));
  }
  // Running as root under Wine, the read-only attribute stops nobody; a handle
  // that shares the file for reading only does.
  void writeProtect(const std::u16string& path) override {
    writeLock_.reset(CreateFileW(win32::wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writeLock_);
  }

 private:
  std::wstring name_;
  std::wstring previousDirectory_;
  std::wstring directory_;
  settings::StoreLocation location_;
  win32::Win32Registry registry_;
  win32::Win32Profile profile_;
  win32::Win32FileAccess files_;
  win32::UniqueFile writeLock_;
};

const StoreBackend kWin32{"Win32", [] { return std::make_unique<Win32StoreEnvironment>(); }};

}  // namespace

KIVORA_INSTANTIATE_STORE_SUITES(RealApi, kWin32);

}  // namespace kivora::test
