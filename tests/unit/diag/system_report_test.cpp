// The system report's text and its fit into the clipboard block.

#include "diag/system_report.h"

#include <gtest/gtest.h>

#include <string>

namespace kivora::diag {
namespace {

SystemFacts windows10() {
  SystemFacts f;
  f.platformId = 2;
  f.majorVersion = 10;
  f.minorVersion = 0;
  f.buildNumber = 19045;
  f.productType = 1;
  f.productInfo = 0x30;
  f.suiteMask = 0x100;
  f.country = u"Japan";
  f.darkMode = true;
  f.uac = ReportUac{1, 1, 5, std::nullopt};
  f.screenWidth = 1920;
  f.screenHeight = 1080;
  f.bitsPerPixel = 32;
  f.workArea = {0, 0, 1920, 1040};
  f.virtualScreen = {-1280, 0, 1920, 1080};
  f.monitorCount = 2;
  f.monitors = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true},
                {{-1280, 0, 0, 1024}, {-1280, 0, 0, 984}, false}};
  f.localTime = {2026, 5, 3, 13, 9, 5, 7, 0};
  f.timeZoneBias = -540;
  return f;
}

TEST(SystemReport, EveryLineOfAWindows10Report) {
  EXPECT_EQ(formatSystemReport(windows10()),
            u"ProbixLite ver.1.03.01 [May 13 2026]\r\n"
            u"[Windows]"
            u"\r\n Platform Id\t: 2 (NT)"
            u"\r\n OS Version  \t: 10.0.19045 "
            u"\r\n ServicePack\t: 0.0 "
            u"\r\n Architecture\t: x64"
            u"\r\n ProductType\t: 1 (Workstation)"
            u"\r\n ProductInfo.\t: 0x00000030"
            u"\r\n SuiteMask\t: 0x0100"
            u"\r\n SafeMode\t: Off"
            u"\r\n Locale Info\t: Japan"
            u"\r\n Remote Session \t: Off"
            u"\r\n Dark Mode \t: On"
            u"\r\n[User Account Control]\r\n EnableLUA=1, PromptOnSecureDesktop=1, "
            u"ConsentPromptBehaviorAdmin=5, ConsentPromptBehaviorUser="
            u"\r\n[Screen]\r\n 1920x1080 (32bpp) [Work Area (0,0)-(1920,1040)]"
            u"\r\n Virtual Screen: (-1280,0)-(1920,1080) [Monitors:2]"
            u"\r\n Monitor Info : (0,0)-(1920,1080) [Workarea (0,0)-(1920,1040)] *primary"
            u"\r\n Monitor Info : (-1280,0)-(0,1024) [Workarea (-1280,0)-(0,984)]"
            u"\r\n[Other]"
            u"\r\n Date/Time \t: Wed, May 13, 2026  9:05:07(UTC+09:00)");
}

TEST(SystemReport, TimeZonesEastAndWestOfUtc) {
  SystemFacts f = windows10();
  auto tail = [&] {
    const std::u16string report = formatSystemReport(f);
    return report.substr(report.rfind(u'('));
  };
  EXPECT_EQ(tail(), u"(UTC+09:00)");
  f.timeZoneBias = 210;
  EXPECT_EQ(tail(), u"(UTC-03:30)");
  f.timeZoneBias = -345;
  EXPECT_EQ(tail(), u"(UTC+05:45)");
  f.timeZoneBias = 0;
  EXPECT_EQ(tail(), u"(UTC-00:00)");
}

TEST(SystemReport, OlderSystemsAndMissingFacts) {
  SystemFacts f = windows10();
  f.majorVersion = 5;
  f.minorVersion = 1;
  f.buildNumber = 2600;
  f.servicePack = u"Service Pack 3";
  f.servicePackMajor = 3;
  f.productType = 7;
  f.cleanBoot = 2;
  f.country.reset();
  const std::u16string xp = formatSystemReport(f);
  EXPECT_NE(xp.find(u"\r\n OS Version  \t: 5.1.2600 Service Pack 3\r\n ServicePack\t: 3.0 "),
            std::u16string::npos);
  EXPECT_NE(xp.find(u"\r\n ProductType\t: 7\r\n SuiteMask"), std::u16string::npos);
  EXPECT_NE(xp.find(u"\r\n SafeMode\t: Fail-safe with network boot"), std::u16string::npos);
  EXPECT_NE(xp.find(u"\r\n Locale Info\t: \r\n"), std::u16string::npos);
  EXPECT_EQ(xp.find(u"ProductInfo"), std::u16string::npos);
  EXPECT_EQ(xp.find(u"User Account Control"), std::u16string::npos);

  f = windows10();
  f.uac.reset();
  EXPECT_EQ(formatSystemReport(f).find(u"User Account Control"), std::u16string::npos);

  f.platformId = 1;
  f.buildNumber = 0x040A08AE;  // Windows 98 SE
  const std::u16string w98 = formatSystemReport(f);
  EXPECT_NE(w98.find(u"Platform Id\t: 1 (Win9x)"), std::u16string::npos);
  EXPECT_NE(w98.find(u"OS Version  \t: 4.10.2222 "), std::u16string::npos);
}

TEST(ClipboardBlock, LongReportsAreCutToTheBlockNeverPastIt) {
  const std::u16string shortText = u"report";
  EXPECT_EQ(fitClipboardBlock(shortText), shortText);
  const std::u16string exact(8191, u'x');
  EXPECT_EQ(fitClipboardBlock(exact).size(), 8191u);
  const std::u16string longText(20000, u'y');
  EXPECT_EQ(fitClipboardBlock(longText).size(), 8191u);
  EXPECT_EQ(fitClipboardBlock(longText, 8).size(), 3u);
  EXPECT_TRUE(fitClipboardBlock(longText, 1).empty());

  std::u16string pair(8190, u'z');
  pair += u"\U0001F600";  // the pair would straddle the cut
  pair += u"tail";
  EXPECT_EQ(fitClipboardBlock(pair), std::u16string(8190, u'z'));
}

}  // namespace
}  // namespace kivora::diag
