#pragma once
// The version record of the running program's own file, read once.

#include <cstdint>
#include <vector>

#include "platform/version_record.h"

namespace kivora::win32 {

class Win32VersionRecord final : public platform::VersionRecord {
 public:
  bool readable() override;
  std::optional<std::u16string> queryText(std::u16string_view subBlock) override;

 private:
  const std::vector<std::uint8_t>& record();
  bool loaded_ = false;
  std::vector<std::uint8_t> record_;
};

}  // namespace kivora::win32
