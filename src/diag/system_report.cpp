#include "diag/system_report.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/unicode.h"

namespace kivora::diag {

namespace {

constexpr unsigned kReportVersion[] = {1, 3, 1};
constexpr char kReportDate[] = "May 13 2026";

constexpr const char* kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The report is built in UTF-8 with printf formats, then widened once.
class Report {
 public:
  template <typename... Args>
  void format(const char* pattern, Args... args) {
    char buffer[256];
    const int n = std::snprintf(buffer, sizeof buffer, pattern, args...);
    if (n > 0)
      text_.append(buffer, static_cast<std::size_t>(n) < sizeof buffer ? n : sizeof buffer - 1);
  }
  void add(std::string_view s) { text_.append(s); }
  void add(std::u16string_view s) { text_.append(utf16ToUtf8(s)); }
  std::u16string finish() const { return utf8ToUtf16(text_); }

 private:
  std::string text_;
};

const char* platformName(std::uint32_t id) {
  switch (id) {
    case 0:
      return "(Win32s)";
    case 1:
      return "(Win9x)";
    case 2:
      return "(NT)";
    default:
      return "";
  }
}

void addProductType(Report& r, std::uint32_t type) {
  switch (type) {
    case 1:
      r.add("1 (Workstation)");
      break;
    case 2:
      r.add("2 (Domain Controller)");
      break;
    case 3:
      r.add("3 (Server)");
      break;
    default:
      r.format("%u", type);
      break;
  }
}

void addSafeMode(Report& r, int cleanBoot) {
  switch (cleanBoot) {
    case 0:
      r.add("Off");
      break;
    case 1:
      r.add("Fail-safe boot");
      break;
    case 2:
      r.add("Fail-safe with network boot");
      break;
    default:
      r.format("%d", cleanBoot);
      break;
  }
}

void addUac(Report& r, const ReportUac& uac) {
  auto value = [&](const char* label, const std::optional<std::uint32_t>& v) {
    r.add(label);
    if (v) r.format("%u", *v);
  };
  r.add("\r\n[User Account Control]\r\n ");
  value("EnableLUA=", uac.EnableLUA);
  value(", PromptOnSecureDesktop=", uac.PromptOnSecureDesktop);
  value(", ConsentPromptBehaviorAdmin=", uac.ConsentPromptBehaviorAdmin);
  value(", ConsentPromptBehaviorUser=", uac.ConsentPromptBehaviorUser);
}

void addRect(Report& r, const char* pattern, const ReportRect& rect) {
  r.format(pattern, rect.left, rect.top, rect.right, rect.bottom);
}

void addDateTime(Report& r, const platform::SystemTime& t, std::int32_t bias) {
  r.format("%s, %s %d, %d %2d:%02d:%02d", kWeekdays[t.wDayOfWeek % 7],
           kMonths[(t.wMonth + 11) % 12], t.wDay, t.wYear, t.wHour, t.wMinute, t.wSecond);
  const long minutes = std::labs(static_cast<long>(bias));
  r.format(bias < 0 ? "(UTC+%02ld:%02ld)" : "(UTC-%02ld:%02ld)", minutes / 60, minutes % 60);
}

}  // namespace

std::u16string formatSystemReport(const SystemFacts& f) {
  std::uint32_t major = f.majorVersion;
  std::uint32_t minor = f.minorVersion;
  std::uint32_t build = f.buildNumber;
  // Windows 9x packs its version into the top bytes of the build number.
  if (f.platformId != 2 && build > 0xFFFF) {
    major = build >> 24;
    minor = (build >> 16) & 0xFF;
    build &= 0xFFFF;
  }

  Report r;
  r.format("ProbixLite ver.%u.%02u.%02u [%s]\r\n", kReportVersion[0], kReportVersion[1],
           kReportVersion[2], kReportDate);
  r.add("[Windows]");
  r.add("\r\n Platform Id\t: ");
  r.format("%d ", static_cast<int>(f.platformId));
  r.add(platformName(f.platformId));
  r.add("\r\n OS Version  \t: ");
  r.format("%u.%u.%u ", major, minor, build);
  r.add(f.servicePack);
  r.add("\r\n ServicePack\t: ");
  r.format("%u.%u ", f.servicePackMajor, f.servicePackMinor);
  r.add("\r\n Architecture\t: x64");
  r.add("\r\n ProductType\t: ");
  addProductType(r, f.productType);
  if (major > 5) {
    r.add("\r\n ProductInfo.\t: ");
    r.format("0x%08x", f.productInfo);
  }
  r.add("\r\n SuiteMask\t: ");
  r.format("0x%04x", f.suiteMask);
  r.add("\r\n SafeMode\t: ");
  addSafeMode(r, f.cleanBoot);
  r.add("\r\n Locale Info\t: ");
  if (f.country) r.add(*f.country);
  r.add("\r\n Remote Session \t: ");
  r.add(f.remoteSession ? "On" : "Off");
  r.add("\r\n Dark Mode \t: ");
  r.add(f.darkMode ? "On" : "Off");
  if (major > 5 && f.uac) addUac(r, *f.uac);

  r.add("\r\n[Screen]\r\n ");
  r.format("%dx%d (%dbpp) ", f.screenWidth, f.screenHeight, f.bitsPerPixel);
  addRect(r, "[Work Area (%d,%d)-(%d,%d)]", f.workArea);
  r.add("\r\n Virtual Screen: ");
  addRect(r, "(%d,%d)-(%d,%d)", f.virtualScreen);
  r.format(" [Monitors:%d]", f.monitorCount);
  for (const ReportMonitor& m : f.monitors) {
    r.add("\r\n Monitor Info :");
    addRect(r, " (%d,%d)-(%d,%d)", m.monitor);
    addRect(r, " [Workarea (%d,%d)-(%d,%d)]", m.workArea);
    if (m.primary) r.add(" *primary");
  }

  r.add("\r\n[Other]");
  r.add("\r\n Date/Time \t: ");
  addDateTime(r, f.localTime, f.timeZoneBias);
  return r.finish();
}

std::u16string_view fitClipboardBlock(std::u16string_view text, std::size_t blockBytes) {
  const std::size_t room = blockBytes / sizeof(char16_t);
  if (room == 0) return {};
  std::size_t keep = std::min(text.size(), room - 1);
  if (keep < text.size() && keep > 0 && text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF)
    --keep;
  return text.substr(0, keep);
}

}  // namespace kivora::diag
