// What start-up reads first: the switch, the language, ini mode by the
// program's name and the program's folder.

#include "app/command_line.h"

#include <gtest/gtest.h>

#include "app/startup.h"
#include "resource_ids.h"

namespace kivora::app {
namespace {

TEST(StartSwitch, WholeCommandLineComparedIgnoringCase) {
  EXPECT_EQ(parseStartSwitch(L"/p0"), StartSwitch::PauseOff);
  EXPECT_EQ(parseStartSwitch(L"/P"), StartSwitch::Pause);
  EXPECT_EQ(parseStartSwitch(L"/i4"), StartSwitch::Ime4);
  EXPECT_EQ(parseStartSwitch(L"/x"), StartSwitch::Exit);
  EXPECT_EQ(parseStartSwitch(L"/o"), StartSwitch::Ini);
  EXPECT_EQ(parseStartSwitch(L"/Or"), StartSwitch::IniToRegistry);
  EXPECT_EQ(parseStartSwitch(L"/rO"), StartSwitch::RegistryToIni);
  // Anything else, however close, is no switch.
  EXPECT_EQ(parseStartSwitch(L""), StartSwitch::None);
  EXPECT_EQ(parseStartSwitch(L"/O /X"), StartSwitch::None);
  EXPECT_EQ(parseStartSwitch(L" /X"), StartSwitch::None);
  EXPECT_EQ(parseStartSwitch(L"/P2"), StartSwitch::None);
  EXPECT_EQ(parseStartSwitch(L"/I5"), StartSwitch::None);
  EXPECT_EQ(parseStartSwitch(L"-X"), StartSwitch::None);
}

TEST(StartSwitch, ForwardedCommands) {
  EXPECT_EQ(forwardedCommand(StartSwitch::Pause), UINT{IDM_OFF});
  EXPECT_EQ(forwardedCommand(StartSwitch::PauseOff), UINT{IDM_OFF_P0});
  EXPECT_EQ(forwardedCommand(StartSwitch::PauseOn), UINT{IDM_OFF_P1});
  EXPECT_EQ(forwardedCommand(StartSwitch::Ime0), 32786u);
  EXPECT_EQ(forwardedCommand(StartSwitch::Ime3), 32789u);
  EXPECT_EQ(forwardedCommand(StartSwitch::Ime4), 32790u);
  for (auto other : {StartSwitch::None, StartSwitch::Exit, StartSwitch::Ini,
                     StartSwitch::IniToRegistry, StartSwitch::RegistryToIni}) {
    EXPECT_FALSE(forwardedCommand(other).has_value());
  }
}

TEST(Language, KivoraLangDecidesWhenSetOtherwiseTheSystem) {
  const LANGID japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
  const LANGID english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
  EXPECT_TRUE(japaneseModeFor(L"ja", english));
  EXPECT_TRUE(japaneseModeFor(L"JA", english));
  EXPECT_FALSE(japaneseModeFor(L"EN", japanese))
      << "set, and not JA: English even on Japanese Windows";
  EXPECT_FALSE(japaneseModeFor(L"", japanese)) << "set but empty";
  EXPECT_FALSE(japaneseModeFor(L"JAP", japanese));
  EXPECT_TRUE(japaneseModeFor(std::nullopt, japanese));
  EXPECT_FALSE(japaneseModeFor(std::nullopt, english));
}

TEST(Language, ReadsTheEnvironment) {
  SetEnvironmentVariableW(L"KIVORA_LANG", L"ja");
  EXPECT_TRUE(chooseJapaneseMode());
  SetEnvironmentVariableW(L"KIVORA_LANG", std::wstring(100, L'J').c_str());
  EXPECT_FALSE(chooseJapaneseMode()) << "too long to be JA";
  SetEnvironmentVariableW(L"KIVORA_LANG", L"en");
  EXPECT_FALSE(chooseJapaneseMode());
  SetEnvironmentVariableW(L"KIVORA_LANG", nullptr);
  EXPECT_EQ(chooseJapaneseMode(), PRIMARYLANGID(GetSystemDefaultLangID()) == LANG_JAPANESE);
}

TEST(IniModeByName, OSuffixInAnyCase) {
  EXPECT_TRUE(iniModeByFileName(L"C:\\tools\\Kivora_o.exe"));
  EXPECT_TRUE(iniModeByFileName(L"C:\\tools\\KIVORA_O.EXE"));
  EXPECT_TRUE(iniModeByFileName(L"ab_O.Exe"));
  EXPECT_FALSE(iniModeByFileName(L"b_o.exe")) << "7 characters are not enough";
  EXPECT_FALSE(iniModeByFileName(L"C:\\tools\\Kivora.exe"));
  EXPECT_FALSE(iniModeByFileName(L"C:\\tools\\Kivora_o.exe.bak"));
  EXPECT_FALSE(iniModeByFileName(L"C:\\tools\\Kivorao.exe"));
}

TEST(ProgramFolder, CutAtTheLastBackslash) {
  EXPECT_EQ(programFolder(L"C:\\Program Files\\Kivora\\Kivora.exe"), L"C:\\Program Files\\Kivora");
  EXPECT_EQ(programFolder(L"C:\\Kivora.exe"), L"C:\\") << "a drive root keeps its backslash";
  EXPECT_EQ(programFolder(L"\\\\server\\share\\Kivora.exe"), L"\\\\server\\share");
  EXPECT_EQ(programFolder(L"Kivora.exe"), L"");
}

TEST(CopyReport, EachOutcomeInBothLanguages) {
  const auto ok = copyReport(StartSwitch::IniToRegistry, true, false);
  EXPECT_STREQ(ok.text, L"Setting copying from the ini file to the registry has been completed.");
  EXPECT_EQ(ok.icon, UINT{MB_ICONINFORMATION});
  const auto failed = copyReport(StartSwitch::IniToRegistry, false, true);
  EXPECT_STREQ(failed.text, L"iniファイルからレジストリへ設定をコピーできませんでした。");
  EXPECT_EQ(failed.icon, UINT{MB_ICONERROR});
  const auto copied = copyReport(StartSwitch::RegistryToIni, true, true);
  EXPECT_STREQ(copied.text, L"レジストリからiniファイルへ設定をコピーしました。");
  EXPECT_EQ(copied.icon, UINT{MB_ICONINFORMATION});
  // A failure must not look like the success box.
  const auto notCopied = copyReport(StartSwitch::RegistryToIni, false, false);
  EXPECT_STREQ(notCopied.text, L"Setting copying from the registry to the ini file - failed.");
  EXPECT_EQ(notCopied.icon, UINT{MB_ICONERROR});
}

}  // namespace
}  // namespace kivora::app
