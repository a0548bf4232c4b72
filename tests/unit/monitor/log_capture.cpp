#include "unit/monitor/log_capture.h"

#include <algorithm>
#include <cstring>
#include <regex>

#include "platform/unicode.h"

namespace kivora::test {

namespace {
constexpr char16_t kLogPath[] = u"monitor-test.log";
}

int Utf8CodePage::WideCharToMultiByte(std::uint32_t, const char16_t* wide, int wideCount,
                                      char* output, int outputSize) {
  if (wide == nullptr) return 0;
  std::u16string_view text =
      wideCount < 0 ? std::u16string_view(wide) : std::u16string_view(wide, wideCount);
  std::string bytes = utf16ToUtf8(text);
  if (wideCount < 0) bytes.push_back('\0');
  if (outputSize == 0) return static_cast<int>(bytes.size());
  if (static_cast<int>(bytes.size()) > outputSize) return 0;
  // Like WideCharToMultiByte: a terminator only when the input's count included one.
  std::memcpy(output, bytes.data(), bytes.size());  // NOLINT(bugprone-not-null-terminated-result)
  return static_cast<int>(bytes.size());
}

LogCapture::LogCapture() : log_({files_, clock_, codePage_, version_}) {
  log_.szDebugOutFileName = kLogPath;
  log_.bDebugOut = true;
  log_.attachMonitor(&monitor);
  log_.log(diag::kLogStart, 1, u"", u"");
  clear();
}

void LogCapture::clear() { files_.put(kLogPath, {}); }

std::vector<LogLine> LogCapture::lines() const {
  const auto bytes = files_.bytes(kLogPath).value_or(std::vector<std::uint8_t>{});
  const std::string text(bytes.begin(), bytes.end());
  static const std::regex kEntry(
      R"((\r\n\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}\.\d{3} )? L=(\d{4,}):)");
  std::vector<LogLine> found;
  std::vector<std::size_t> bodyStarts;
  std::vector<std::size_t> entryStarts;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), kEntry);
       it != std::sregex_iterator(); ++it) {
    found.push_back({(*it)[1].matched, static_cast<unsigned>(std::stoul((*it)[2].str())), {}});
    entryStarts.push_back(static_cast<std::size_t>(it->position()));
    bodyStarts.push_back(static_cast<std::size_t>(it->position() + it->length()));
  }
  for (std::size_t i = 0; i < found.size(); ++i) {
    std::size_t end = i + 1 < found.size() ? entryStarts[i + 1] : text.size();
    // A time stamp of another kind (the end line) also ends the body.
    const auto stamp = text.find("\r\n", bodyStarts[i]);
    if (stamp != std::string::npos) end = std::min(end, stamp);
    found[i].text = utf8ToUtf16(text.substr(bodyStarts[i], end - bodyStarts[i]));
  }
  return found;
}

std::vector<unsigned> LogCapture::numbers() const {
  std::vector<unsigned> result;
  for (const auto& l : lines()) result.push_back(l.line);
  return result;
}

std::optional<LogLine> LogCapture::find(unsigned line) const {
  for (auto& l : lines())
    if (l.line == line) return l;
  return std::nullopt;
}

bool LogCapture::has(unsigned line, std::u16string_view text) const {
  const auto all = lines();
  return std::any_of(all.begin(), all.end(),
                     [&](const LogLine& l) { return l.line == line && l.text == text; });
}

int LogCapture::count(unsigned line) const {
  const auto all = lines();
  return static_cast<int>(
      std::count_if(all.begin(), all.end(), [&](const LogLine& l) { return l.line == line; }));
}

}  // namespace kivora::test
