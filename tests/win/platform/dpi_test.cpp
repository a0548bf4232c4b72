// The DPI functions and the run-time look-ups they stand on. Wine has the
// Windows 10 functions, so the older paths are held against them.

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/dpi.h"
#include "platform/win32/system_functions.h"

namespace win32 = kivora::win32;

namespace {

TEST(Dpi, OlderPathsAgreeWithTheNewerFunctions) {
  EXPECT_EQ(win32::legacy::dpiForSystem(), win32::dpiForSystem());
  const UINT system = win32::dpiForSystem();
  for (const UINT dpi : {system, 96u, 120u, 144u, 192u}) {
    for (const int metric : {SM_CXSMICON, SM_CYSMICON, SM_CXICON, SM_CYICON, SM_CMOUSEBUTTONS}) {
      EXPECT_EQ(win32::legacy::systemMetricsForDpi(metric, dpi),
                win32::systemMetricsForDpi(metric, dpi))
          << "metric " << metric << " at " << dpi;
    }
    LOGFONTW newer = {}, older = {};
    ASSERT_TRUE(win32::systemParametersForDpi(SPI_GETICONTITLELOGFONT, sizeof newer, &newer, dpi));
    ASSERT_TRUE(
        win32::legacy::systemParametersForDpi(SPI_GETICONTITLELOGFONT, sizeof older, &older, dpi));
    EXPECT_EQ(older.lfHeight, newer.lfHeight) << dpi;
  }
  EXPECT_EQ(win32::systemMetricsForDpi(SM_CXSMICON, 96), 16);
  EXPECT_EQ(win32::systemMetricsForDpi(SM_CXSMICON, 144), 24);
  EXPECT_EQ(win32::systemMetricsForDpi(SM_CXSMICON, 192), 32);
}

TEST(Dpi, SystemParametersOnlyForTheActionsThatDependOnIt) {
  NONCLIENTMETRICSW at96 = {}, at192 = {};
  at96.cbSize = at192.cbSize = sizeof(NONCLIENTMETRICSW);
  ASSERT_TRUE(win32::systemParametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof at96, &at96, 96));
  ASSERT_TRUE(win32::systemParametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof at192, &at192, 192));
  EXPECT_NEAR(at192.lfMessageFont.lfHeight, 2 * at96.lfMessageFont.lfHeight, 1);
  EXPECT_NEAR(at192.iCaptionHeight, 2 * at96.iCaptionHeight, 1);

  RECT workArea = {};
  EXPECT_FALSE(win32::systemParametersForDpi(SPI_GETWORKAREA, 0, &workArea, 96));
  EXPECT_FALSE(win32::legacy::systemParametersForDpi(SPI_GETWORKAREA, 0, &workArea, 96));
  EXPECT_FALSE(win32::legacy::systemParametersForDpi(SPI_GETICONTITLELOGFONT, 0, nullptr, 96));
}

TEST(Dpi, WindowsAndMonitorsOfASingleMonitorSession) {
  const UINT system = win32::dpiForSystem();
  EXPECT_GE(system, 96u);
  HWND window = CreateWindowExW(0, L"STATIC", L"dpi", WS_POPUP, 10, 10, 100, 50, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_TRUE(window);
  EXPECT_EQ(win32::dpiForWindow(window), system);
  EXPECT_EQ(win32::dpiForWindow(nullptr), system);
  EXPECT_EQ(win32::dpiForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)), system);
  EXPECT_EQ(win32::dpiForMonitor(nullptr), system);

  RECT newer = {0, 0, 200, 100}, older = newer;
  const DWORD style = WS_OVERLAPPEDWINDOW;
  ASSERT_TRUE(win32::adjustWindowRectExForDpi(newer, style, false, 0, system));
  ASSERT_TRUE(AdjustWindowRectEx(&older, style, FALSE, 0));
  EXPECT_TRUE(EqualRect(&newer, &older));
  {
    win32::UniqueTheme theme = win32::openThemeDataForDpi(window, L"BUTTON", 144);
    win32::ThreadDpiAwareness unaware(DPI_AWARENESS_CONTEXT_UNAWARE);
  }
  DestroyWindow(window);
}

TEST(SystemFunctions, FoundByNameOrNullAndLibrariesFromTheSystemFolder) {
  EXPECT_TRUE(win32::systemFunctionAddress(L"user32.dll", "GetDpiForSystem"));
  EXPECT_TRUE(win32::systemFunctionAddress(L"kernel32.dll", "SetDefaultDllDirectories"));
  EXPECT_FALSE(win32::systemFunctionAddress(L"user32.dll", "NoSuchFunctionInKivora"));
  EXPECT_FALSE(win32::systemFunctionAddress(L"no-such-library-kivora.dll", "Anything"));
  EXPECT_FALSE(win32::systemFunctionAddress(L"..\\shcore.dll", "GetDpiForMonitor"));
  // Not loaded by this program until asked for, then kept.
  EXPECT_FALSE(GetModuleHandleW(L"wtsapi32.dll"));
  EXPECT_TRUE(win32::systemFunctionAddress(L"wtsapi32.dll", "WTSQuerySessionInformationW"));
  EXPECT_TRUE(GetModuleHandleW(L"wtsapi32.dll"));
  EXPECT_TRUE(win32::restrictLibrarySearch());
}

}  // namespace
