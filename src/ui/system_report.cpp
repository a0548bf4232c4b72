#include "ui/system_report.h"

#include "platform/win32/handles.h"
#include "ui/dialog_look.h"
#include "ui/system_library.h"

namespace kivora::ui {

namespace {

constexpr wchar_t kUacKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

template <typename Fn>
Fn procedure(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

// RtlGetVersion tells the truth; GetVersionExW only what the manifest allows.
OSVERSIONINFOEXW readVersion() {
  OSVERSIONINFOEXW v = {};
  v.dwOSVersionInfoSize = sizeof v;
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  win32::UniqueModule ntdll = LoadSystemLibrary(L"ntdll.dll");
  if (auto rtlGetVersion = procedure<RtlGetVersionFn>(ntdll.get(), "RtlGetVersion")) {
    if (rtlGetVersion(&v) == 0) return v;
  }
  v = {};
  v.dwOSVersionInfoSize = sizeof v;
  GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&v));
  return v;
}

std::uint32_t productInfo(const OSVERSIONINFOEXW& v) {
  using GetProductInfoFn = BOOL(WINAPI*)(DWORD, DWORD, DWORD, DWORD, DWORD*);
  auto getProductInfo =
      procedure<GetProductInfoFn>(GetModuleHandleW(L"kernel32.dll"), "GetProductInfo");
  DWORD type = 0;
  if (!getProductInfo || !getProductInfo(v.dwMajorVersion, v.dwMinorVersion, v.wServicePackMajor,
                                         v.wServicePackMinor, &type)) {
    return 0;
  }
  return type;
}

std::optional<std::u16string> country() {
  wchar_t name[128] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SENGCOUNTRY, name, 128) <= 0) return std::nullopt;
  return std::u16string(reinterpret_cast<const char16_t*>(name));
}

std::optional<std::uint32_t> dwordValue(HKEY key, const wchar_t* name) {
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD) {
    return std::nullopt;
  }
  return value;
}

std::optional<diag::ReportUac> uacPolicy() {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUacKey, 0, KEY_READ, &raw) != ERROR_SUCCESS)
    return std::nullopt;
  win32::UniqueKey key(raw);
  return diag::ReportUac{dwordValue(key.get(), L"EnableLUA"),
                         dwordValue(key.get(), L"PromptOnSecureDesktop"),
                         dwordValue(key.get(), L"ConsentPromptBehaviorAdmin"),
                         dwordValue(key.get(), L"ConsentPromptBehaviorUser")};
}

diag::ReportRect reportRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM lParam) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    reinterpret_cast<diag::SystemFacts*>(lParam)->monitors.push_back(
        {reportRect(info.rcMonitor), reportRect(info.rcWork),
         (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  }
  return TRUE;
}

void readScreens(diag::SystemFacts& f) {
  f.screenWidth = GetSystemMetrics(SM_CXSCREEN);
  f.screenHeight = GetSystemMetrics(SM_CYSCREEN);
  {
    win32::WindowDC screen(nullptr);
    f.bitsPerPixel = screen.get() ? GetDeviceCaps(screen.get(), BITSPIXEL) : 0;
  }
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  f.workArea = reportRect(work);
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  f.virtualScreen = {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                     top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  f.monitorCount = GetSystemMetrics(SM_CMONITORS);
  EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&f));
}

}  // namespace

diag::SystemFacts gatherSystemFacts() {
  diag::SystemFacts f;
  const OSVERSIONINFOEXW v = readVersion();
  f.platformId = v.dwPlatformId;
  f.majorVersion = v.dwMajorVersion;
  f.minorVersion = v.dwMinorVersion;
  f.buildNumber = v.dwBuildNumber;
  f.servicePack = reinterpret_cast<const char16_t*>(v.szCSDVersion);
  f.servicePackMajor = v.wServicePackMajor;
  f.servicePackMinor = v.wServicePackMinor;
  f.suiteMask = v.wSuiteMask;
  f.productType = v.wProductType;
  f.productInfo = productInfo(v);
  f.cleanBoot = GetSystemMetrics(SM_CLEANBOOT);
  f.country = country();
  f.remoteSession = GetSystemMetrics(SM_REMOTESESSION) != 0;
  f.darkMode = DarkMode();
  f.uac = uacPolicy();
  readScreens(f);
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  f.localTime = {now.wYear, now.wMonth,  now.wDayOfWeek, now.wDay,
                 now.wHour, now.wMinute, now.wSecond,    now.wMilliseconds};
  TIME_ZONE_INFORMATION zone = {};
  GetTimeZoneInformation(&zone);
  f.timeZoneBias = zone.Bias;
  return f;
}

std::u16string BuildSystemReport() { return diag::formatSystemReport(gatherSystemFacts()); }

}  // namespace kivora::ui
