#include "platform/win32/version_record_win32.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace kivora::win32 {

const std::vector<std::uint8_t>& Win32VersionRecord::record() {
  if (loaded_) return record_;
  loaded_ = true;
  const std::u16string self = modulePath(nullptr);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(wide(self), &ignored);
  if (size == 0) return record_;
  std::vector<std::uint8_t> block(size);
  if (GetFileVersionInfoW(wide(self), 0, size, block.data())) record_ = std::move(block);
  return record_;
}

bool Win32VersionRecord::readable() { return !record().empty(); }

std::optional<std::u16string> Win32VersionRecord::queryText(std::u16string_view subBlock) {
  const auto& block = record();
  if (block.empty()) return std::nullopt;
  const std::u16string path(subBlock);
  void* value = nullptr;
  UINT length = 0;
  // VerQueryValueW only reads the block, whatever its declaration says.
  if (!VerQueryValueW(const_cast<std::uint8_t*>(block.data()), wide(path), &value, &length) ||
      value == nullptr) {
    return std::nullopt;
  }
  const auto* text = static_cast<const wchar_t*>(value);
  std::size_t n = 0;
  while (n < length && text[n] != L'\0') ++n;
  return fromWide(text, n);
}

}  // namespace kivora::win32
