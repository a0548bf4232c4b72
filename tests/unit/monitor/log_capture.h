#pragma once
// A debug log that is switched on and writes UTF-8 into an in-memory file, so
// tests can read back every line a piece of the monitor wrote, Japanese texts
// included: its call-site number, whether it started a new time-stamped line
// (kinds 2 and 18) or continued the current one (kind 19), and its two texts
// joined by the one space the log puts between them.

#include <optional>
#include <string>
#include <vector>

#include "diag/debug_log.h"
#include "fakes/fake_files.h"
#include "fakes/fake_log_services.h"
#include "platform/code_page.h"

namespace kivora::test {

class Utf8CodePage final : public platform::CodePage {
 public:
  std::uint32_t GetACP() override { return platform::kCpUtf8; }
  int WideCharToMultiByte(std::uint32_t codePage, const char16_t* wide, int wideCount, char* output,
                          int outputSize) override;
};

struct LogLine {
  bool newLine = false;  // time-stamped (kinds 2 and 18), else a continuation (19)
  unsigned line = 0;
  std::u16string text;  // first text, one space, second text
};

class LogCapture {
 public:
  LogCapture();
  diag::DebugLog& log() { return log_; }

  // Every entry since the start or the last clear(), in order.
  std::vector<LogLine> lines() const;
  std::vector<unsigned> numbers() const;
  // The entry with this call-site number (the first one), if written.
  std::optional<LogLine> find(unsigned line) const;
  bool has(unsigned line, std::u16string_view text) const;
  int count(unsigned line) const;
  void clear();

  fakes::FakeDebugMonitor monitor;  // receives the echoed lines

 private:
  fakes::FakeFiles files_;
  fakes::FakeClock clock_;
  Utf8CodePage codePage_;
  fakes::FakeVersionRecord version_;
  diag::DebugLog log_;
};

}  // namespace kivora::test
