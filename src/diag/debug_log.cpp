#include "diag/debug_log.h"

#include <array>
#include <span>

#include "diag/narrow_text.h"

namespace kivora::diag {

namespace {

// The log file is written in binary, so line ends are CR LF here and the file
// is the same byte for byte whoever writes it.
constexpr std::string_view kNewLine = "\r\n";
constexpr std::size_t kMonitorTextLimit = 1024;

std::string padded(unsigned value, std::size_t width) {
  std::string digits = std::to_string(value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

// "%04d/%02d/%02d %02d:%02d:%02d.%03d"
std::string timeText(const platform::SystemTime& t) {
  return padded(t.wYear, 4) + "/" + padded(t.wMonth, 2) + "/" + padded(t.wDay, 2) + " " +
         padded(t.wHour, 2) + ":" + padded(t.wMinute, 2) + ":" + padded(t.wSecond, 2) + "." +
         padded(t.wMilliseconds, 3);
}

std::u16string widen(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// Reads "%u.%u.%u.%u" the way sscanf does: parts after the first mismatch stay 0.
std::array<unsigned, 4> versionParts(std::u16string_view text) {
  std::array<unsigned, 4> parts{};
  std::size_t pos = 0;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) {
      if (pos >= text.size() || text[pos] != u'.') break;
      ++pos;
    }
    const std::size_t digitsStart = pos;
    unsigned value = 0;
    while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
      value = value * 10 + static_cast<unsigned>(text[pos] - u'0');
      ++pos;
    }
    if (pos == digitsStart) break;
    parts[i] = value;
  }
  return parts;
}

std::string entryText(unsigned line, const std::string& first, const std::string& second) {
  return " L=" + padded(line, 4) + ":" + first + " " + second;
}

}  // namespace

DebugLog::DebugLog(DebugLogServices services) : services_(services) {}

DebugLog::~DebugLog() = default;

void DebugLog::write(std::string_view text) {
  if (!file_) return;
  file_->write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void DebugLog::closeFile() {
  if (!file_) return;
  file_->flush();
  file_.reset();
}

bool DebugLog::echoing(unsigned kind) const {
  return (kind & kLogEcho) != 0 && monitor_ != nullptr && monitor_->exists() && !monitor_->paused();
}

bool DebugLog::start() {
  if (file_) {
    write("\r\n[END]\r\n");
    closeFile();
  }
  file_ = services_.files.openForAppend(szDebugOutFileName);
  if (!file_) return false;
  write("--- Debug Log Start ---");
  return true;
}

std::string DebugLog::startLine() {
  constexpr std::u16string_view kBlock = u"\\StringFileInfo\\041104b0\\";
  auto& version = services_.version;
  if (!version.readable()) return {};
  const auto fileVersion = version.queryText(std::u16string(kBlock) + u"FileVersion");
  if (!fileVersion) return {};
  const auto parts = versionParts(*fileVersion);
  auto ansiText = [&](std::u16string_view name) {
    const auto text = version.queryText(std::u16string(kBlock) + std::u16string(name));
    return text ? ToAnsi(services_.codePage, *text).value_or(std::string()) : std::string();
  };
  return "[START] Kivora ver." + std::to_string(parts[0]) + "." + std::to_string(parts[1]) +
         std::to_string(parts[2]) + "." + padded(parts[3], 2) + ansiText(u"SpecialBuild") + " [" +
         ansiText(u"PrivateBuild") + "] (x64) ";
}

bool DebugLog::log(unsigned kind, unsigned line, std::u16string_view first,
                   std::u16string_view second) {
  if (!bDebugOut) return true;
  const std::lock_guard lock(mutex_);
  const unsigned action = kind & 0x0F;
  if (action == kLogStart && !start()) return false;

  if (action != kLogContinuation) {
    const std::string stamp = timeText(services_.clock.GetLocalTime());
    if (echoing(kind)) monitor_->setText(u"\n" + widen(stamp));
    write(std::string(kNewLine) + stamp + " ");
  }
  if (action == kLogStart) write(startLine());
  if (action == kLogEntry || action == kLogContinuation) {
    auto& cp = services_.codePage;
    write(entryText(line, ToAnsi(cp, first).value_or(std::string()),
                    ToAnsi(cp, second).value_or(std::string())));
    if (echoing(kind)) {
      monitor_->setText(monitor_->text(kMonitorTextLimit) + u"\r\nL=" + widen(padded(line, 4)) +
                        u":" + std::u16string(first) + u" " + std::u16string(second));
    }
  }
  if (action == kLogEnd) {
    if (!file_) return false;
    write("[END]\r\n");
    closeFile();
    return true;
  }
  return file_ != nullptr;
}

}  // namespace kivora::diag
