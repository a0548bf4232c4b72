#pragma once
// Fakes of what the debug log reaches: a clock the test sets, the Western
// European ANSI code page, a version record the test fills, and a monitor
// window that only holds its text.

#include <map>
#include <optional>
#include <string>

#include "platform/code_page.h"
#include "platform/debug_monitor.h"
#include "platform/local_time.h"
#include "platform/version_record.h"

namespace kivora::fakes {

class FakeClock final : public platform::LocalClock {
 public:
  platform::SystemTime GetLocalTime() override { return now; }
  platform::SystemTime now{2024, 3, 5, 7, 8, 9, 10, 11};
};

// Code page 1252 as far as tests need it: ASCII and Latin-1 letters map to
// themselves, everything else becomes '?'. CP_UTF8 converts like kernel32.
class FakeCodePage final : public platform::CodePage {
 public:
  std::uint32_t GetACP() override { return 1252; }
  int WideCharToMultiByte(std::uint32_t codePage, const char16_t* wide, int wideCount, char* output,
                          int outputSize) override;
};

class FakeVersionRecord final : public platform::VersionRecord {
 public:
  bool readable() override { return present; }
  std::optional<std::u16string> queryText(std::u16string_view subBlock) override {
    if (!present) return std::nullopt;
    const auto it = texts.find(std::u16string(subBlock));
    if (it == texts.end()) return std::nullopt;
    return it->second;
  }
  bool present = true;
  std::map<std::u16string, std::u16string> texts;
};

class FakeDebugMonitor final : public platform::DebugMonitor {
 public:
  bool exists() override { return shown; }
  bool paused() override { return pauseTicked; }
  std::u16string text(std::size_t maxChars) override { return contents.substr(0, maxChars); }
  void setText(const std::u16string& text) override { contents = text; }
  bool shown = true;
  bool pauseTicked = false;
  std::u16string contents;
};

}  // namespace kivora::fakes
