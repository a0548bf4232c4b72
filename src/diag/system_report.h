#pragma once
// ProbixLite, the plain-text system report the About box copies to the
// clipboard for inquiries: what the report says, given the facts the About
// box gathers from the system, and how it is fitted into the clipboard block.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/local_time.h"

namespace kivora::diag {

struct ReportRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct ReportMonitor {
  ReportRect monitor;
  ReportRect workArea;
  bool primary = false;
};

// The registry values of the UAC policy key, by their own names.
// NOLINTBEGIN(readability-identifier-naming)
// The four values of the UAC policy key; nullopt when a value is missing or
// not a REG_DWORD.
struct ReportUac {
  std::optional<std::uint32_t> EnableLUA;
  std::optional<std::uint32_t> PromptOnSecureDesktop;
  std::optional<std::uint32_t> ConsentPromptBehaviorAdmin;
  std::optional<std::uint32_t> ConsentPromptBehaviorUser;
};
// NOLINTEND(readability-identifier-naming)

struct SystemFacts {
  // OSVERSIONINFOEXW's fields.
  std::uint32_t platformId = 2;
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
  std::u16string servicePack;  // szCSDVersion
  std::uint32_t servicePackMajor = 0;
  std::uint32_t servicePackMinor = 0;
  std::uint32_t suiteMask = 0;
  std::uint32_t productType = 1;
  std::uint32_t productInfo = 0;          // GetProductInfo, 0 when missing
  int cleanBoot = 0;                      // SM_CLEANBOOT
  std::optional<std::u16string> country;  // LOCALE_SENGCOUNTRY
  bool remoteSession = false;
  bool darkMode = false;
  std::optional<ReportUac> uac;  // nullopt when the policy key cannot be opened
  int screenWidth = 0;
  int screenHeight = 0;
  int bitsPerPixel = 0;
  ReportRect workArea;
  ReportRect virtualScreen;
  int monitorCount = 0;
  std::vector<ReportMonitor> monitors;
  platform::SystemTime localTime;
  std::int32_t timeZoneBias = 0;  // minutes, UTC = local + bias
};

// The report, line by line, starting with "ProbixLite ver.1.03.01 [May 13 2026]".
std::u16string formatSystemReport(const SystemFacts& facts);

// The report's own name and version, shown in its first line.
inline constexpr std::u16string_view kReportName = u"ProbixLite";

// The clipboard block holds this many bytes, terminator included.
inline constexpr std::size_t kClipboardBlockBytes = 16384;

// The part of `text` that fits a block of `blockBytes` bytes with its
// terminating zero: cut, never written past, and never between the two
// halves of a surrogate pair.
std::u16string_view fitClipboardBlock(std::u16string_view text,
                                      std::size_t blockBytes = kClipboardBlockBytes);

}  // namespace kivora::diag
