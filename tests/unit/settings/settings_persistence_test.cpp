#include "fakes/fake_registry.h"
#include "platform/unicode.h"
#include "settings/settings_store.h"
#include "unit/settings/store_environment.h"

namespace kivora::test {
namespace {

using namespace settings;

// Every value in table order, as the failure texts and the recorded order name them.
const std::vector<std::u16string> kValueNames{u"use_script",
                                              u"NumLockState",
                                              u"RemoteCheck",
                                              u"RM_NumLockState",
                                              u"NotifyWatchedDevice",
                                              u"CapsLockState",
                                              u"ScrollLockState",
                                              u"KBWatchEnabled",
                                              u"PlaySound",
                                              u"PlaySoundFileName",
                                              u"EnDisTTIcon",
                                              u"NotifyOnly",
                                              u"BlockInsert",
                                              u"ShowLockedKeyIcon",
                                              u"SendTK",
                                              u"ImeLock",
                                              u"timer3_interval",
                                              u"return_waitmsec",
                                              u"NoOpeningDlg",
                                              u"NoNotifyScriptSuspend",
                                              u"HOTKEY_ENDISTTICON",
                                              u"BIGDIALOG",
                                              u"WatchKeyboardDeviceNames",
                                              u"NOT_WATCH_DEV_NUMLOCK",
                                              u"InstantCheck"};

std::u16string joined(const std::vector<std::u16string>& failures) {
  std::u16string text;
  for (const auto& f : failures) text += (text.empty() ? u"" : u"\r\n-----\r\n") + f;
  return text;
}

TEST_P(SettingsPersistence, EmptyStoresLoadEveryDefault) {
  for (bool ini : {false, true}) {
    Settings s;
    s.kx_script = u"kept only while the registry key is missing";
    s.bUseIni = ini;
    LoadSettings(s, store());
    EXPECT_EQ(s.kx_script, ini ? u"" : u"kept only while the registry key is missing");
    EXPECT_EQ(s.NumLockState, 1);
    EXPECT_EQ(s.RM_NumLockState, 1);
    EXPECT_EQ(s.KBWatchEnabled, 1);
    EXPECT_EQ(s.EnDisTTIcon, 1);
    EXPECT_EQ(s.timer3_interval, 1000u);
    EXPECT_EQ(s.InstantCheck, 1);
    EXPECT_EQ(s.use_script + s.RemoteCheck + s.CapsLockState.stored() + s.ScrollLockState.stored() +
                  s.PlaySound + s.NotifyOnly + s.BlockInsert + s.ImeLock + s.return_waitmsec +
                  s.HOTKEY_ENDISTTICON + s.BIGDIALOG + s.NOT_WATCH_DEV_NUMLOCK + s.SendTK +
                  s.ShowLockedKeyIcon,
              0);
    EXPECT_TRUE(s.PlaySoundFileName.empty());
    EXPECT_TRUE(s.watchedKeyboards.empty());
    EXPECT_FALSE(SettingsExist(store(), ini));
  }
  // Only the ini load creates its store, and the new file is an empty UTF-16 text.
  EXPECT_EQ(env->fileBytes(ini()), (std::vector<std::uint8_t>{0xFF, 0xFE, 0x0D, 0x00, 0x0A, 0x00}));
}

TEST_P(SettingsPersistence, LoadClampsAndNormalisesInBothStores) {
  struct Case {
    std::u16string name;
    std::int32_t storedValue;
    std::int32_t Settings::*field;
    std::int32_t loaded;
  };
  struct KeyStateCase {
    std::u16string name;
    std::int32_t storedValue;
    KeyStateSetting Settings::*field;
    std::int32_t loaded;
  };
  const std::vector<KeyStateCase> keyStateCases{
      {u"NumLockState", 8, &Settings::NumLockState, 1},
      {u"RM_NumLockState", 6, &Settings::RM_NumLockState, 1},
      {u"CapsLockState", 6, &Settings::CapsLockState, 0},
      {u"ScrollLockState", -1, &Settings::ScrollLockState, 0},
  };
  const std::vector<Case> cases{
      {u"use_script", 5, &Settings::use_script, 1},
      {u"InstantCheck", -2, &Settings::InstantCheck, 1},
      {u"RemoteCheck", 5, &Settings::RemoteCheck, 5},
      {u"HOTKEY_ENDISTTICON", 0x0241, &Settings::HOTKEY_ENDISTTICON, 0x0641},
      {u"ImeLock", -3, &Settings::ImeLock, -3},
  };
  for (bool ini : {false, true}) {
    for (const auto& c : keyStateCases) stored(ini, c.name, c.storedValue);
    for (const auto& c : cases) stored(ini, c.name, c.storedValue);
    for (std::int32_t interval : {0, 99, 100, -5}) {
      stored(ini, u"timer3_interval", interval);
      Settings s;
      load(s, ini);
      for (const auto& c : keyStateCases)
        EXPECT_EQ(s.*(c.field), c.loaded) << utf16ToUtf8(c.name) << " ini=" << ini;
      for (const auto& c : cases)
        EXPECT_EQ(s.*(c.field), c.loaded) << utf16ToUtf8(c.name) << " ini=" << ini;
      EXPECT_EQ(s.timer3_interval,
                interval < 100 && interval >= 0 ? 100u : static_cast<std::uint32_t>(interval));
    }
    EXPECT_TRUE(SettingsExist(store(), ini));
  }
}

TEST_P(SettingsPersistence, EveryValueRoundTripsThroughBothStores) {
  for (bool ini : {false, true}) {
    Settings out;
    out.bUseIni = ini;
    out.replaceScript(u"x = 1\r\n// 日本語のコメント");
    std::int32_t next = 2;
    for (auto field : {&Settings::RemoteCheck, &Settings::KBWatchEnabled, &Settings::PlaySound,
                       &Settings::EnDisTTIcon, &Settings::NotifyOnly, &Settings::BlockInsert,
                       &Settings::ImeLock, &Settings::return_waitmsec}) {
      out.*field = next++;
    }
    for (auto flag :
         {&Settings::use_script, &Settings::NotifyWatchedDevice, &Settings::ShowLockedKeyIcon,
          &Settings::SendTK, &Settings::NoOpeningDlg, &Settings::NoNotifyScriptSuspend,
          &Settings::BIGDIALOG, &Settings::NOT_WATCH_DEV_NUMLOCK}) {
      out.*flag = 1;
    }
    out.InstantCheck = 0;  // on by default
    out.NumLockState = 7;
    out.RM_NumLockState = 5;
    out.CapsLockState = 3;
    out.ScrollLockState = 2;
    out.timer3_interval = 0xFFFFFFF0u;
    out.HOTKEY_ENDISTTICON = 0x0341;
    out.PlaySoundFileName = u"C:\\音\\ding.wav";
    out.watchedKeyboards = {u"HID Keyboard", u"", u"テンキー"};
    ASSERT_TRUE(SaveSettings(out, store(), false, hooks)) << "ini=" << ini;
    Settings in;
    load(in, ini);
    EXPECT_EQ(in.copyScript(), out.copyScript());
    for (auto field :
         {&Settings::RemoteCheck, &Settings::KBWatchEnabled, &Settings::PlaySound,
          &Settings::EnDisTTIcon, &Settings::NotifyOnly, &Settings::BlockInsert, &Settings::ImeLock,
          &Settings::return_waitmsec, &Settings::use_script, &Settings::NotifyWatchedDevice,
          &Settings::ShowLockedKeyIcon, &Settings::SendTK, &Settings::NoOpeningDlg,
          &Settings::NoNotifyScriptSuspend, &Settings::BIGDIALOG, &Settings::NOT_WATCH_DEV_NUMLOCK,
          &Settings::HOTKEY_ENDISTTICON, &Settings::InstantCheck}) {
      EXPECT_EQ(in.*field, out.*field);
    }
    for (auto field : {&Settings::NumLockState, &Settings::RM_NumLockState,
                       &Settings::CapsLockState, &Settings::ScrollLockState}) {
      EXPECT_EQ(in.*field, out.*field);
    }
    EXPECT_EQ(in.timer3_interval, out.timer3_interval);
    EXPECT_EQ(in.PlaySoundFileName, out.PlaySoundFileName);
    EXPECT_EQ(in.watchedKeyboards, out.watchedKeyboards);
  }
  EXPECT_EQ(hooks.hotkeyRegistrations, 2);
  EXPECT_TRUE(hooks.warnings.empty());
  EXPECT_EQ(getValue(u"WatchKeyboardDeviceNames")->second, [] {
    auto b = utf16le(u"HID Keyboard;;テンキー");
    b.insert(b.end(), {0, 0});
    return b;
  }());
}

TEST_P(SettingsPersistence, DeviceNamesSplitAtSemicolonsAndFlagsLoadFromMemoryDefaults) {
  for (const auto& [storedNames, expected] :
       std::vector<std::pair<std::u16string, std::vector<std::u16string>>>{
           {u"A;B", {u"A", u"B"}},
           {u"A;", {u"A"}},
           {u"A;;B", {u"A", u"", u"B"}},
           {u";A", {u"", u"A"}},
           {u"", {}}}) {
    putText(u"WatchKeyboardDeviceNames", storedNames);
    Settings s;
    s.BIGDIALOG = 1;  // no stored value: the value in memory stays
    s.NOT_WATCH_DEV_NUMLOCK = 1;
    load(s, false);
    EXPECT_EQ(s.watchedKeyboards, expected) << utf16ToUtf8(storedNames);
    EXPECT_EQ(s.BIGDIALOG + s.NOT_WATCH_DEV_NUMLOCK, 2);
  }
}

TEST_P(SettingsPersistence, IniScriptIsStoredAsSizeAndCheckedStruct) {
  Settings s;
  s.bUseIni = true;
  s.kx_script = u"0123456789";
  ASSERT_TRUE(SaveSettings(s, store(), false, hooks));
  EXPECT_EQ(iniValue(u"kx_script_size"), u"22");
  const auto hex = iniValue(u"kx_script");
  ASSERT_TRUE(hex);
  EXPECT_EQ(hex->size(), 46u);
  EXPECT_TRUE(hex->starts_with(u"30003100"));

  const auto loadedWith = [&](const std::u16string& size, const std::u16string& data) {
    putIni(u"kx_script_size", size);
    putIni(u"kx_script", data);
    Settings in;
    load(in, true);
    return in.kx_script;
  };
  EXPECT_EQ(loadedWith(u"22", *hex), u"0123456789");
  EXPECT_EQ(loadedWith(u"2", u"000000"), u"");
  EXPECT_EQ(loadedWith(u"20", *hex), u"");  // length does not match
  std::u16string badSum = *hex;
  badSum.back() = badSum.back() == u'0' ? u'1' : u'0';
  EXPECT_EQ(loadedWith(u"22", badSum), u"");
  // Absurd sizes never reach the allocation.
  EXPECT_EQ(loadedWith(u"-8", *hex), u"");
  EXPECT_EQ(loadedWith(u"2147483647", *hex), u"");
}

// A script the load would refuse as damage must not be stored: the next start
// would read it as empty and that session's save would replace it.
TEST_P(SettingsPersistence, IniScriptOverTheLoadBoundIsRefusedAndTheStoredOneKept) {
  Settings s;
  s.bUseIni = true;
  s.kx_script = u"stored";
  ASSERT_TRUE(SaveSettings(s, store(), false, hooks));
  s.kx_script.assign(kMaxIniScriptLength + 1, u'x');
  s.NumLockState = 3;
  for (const bool japanese : {false, true}) {
    std::u16string errors;
    EXPECT_FALSE(SaveSettings(s, store(), japanese, hooks, &errors));
    EXPECT_EQ(errors, japanese
                          ? u".\\Kivora.iniの[Kivora]セクションのkx_scriptに値を書き込めません。"
                          : u".\\Kivora.ini[Kivora] - kx_script write error.");
  }
  EXPECT_EQ(hooks.warnings.size(), 2u);
  Settings loaded;
  load(loaded, true);
  EXPECT_EQ(loaded.kx_script, u"stored");
  EXPECT_EQ(loaded.NumLockState, 3);  // the other values are still saved
}

TEST_P(SettingsPersistence, RegistryScriptAcceptsMultiStrings) {
  putValue(u"kx_script", platform::kRegMultiSz, utf16le(std::u16string(u"a\0b\0\0", 5)));
  Settings s;
  load(s, false);
  EXPECT_EQ(s.kx_script, u"a\r\nb\r\n");
  putDword(u"kx_script", 5);  // unreadable as text: empty
  load(s, false);
  EXPECT_EQ(s.kx_script, u"");
}

// Records the keys the ini side reads and writes, in order.
class RecordingProfile final : public platform::Profile {
 public:
  explicit RecordingProfile(platform::Profile& inner) : inner_(inner) {}
  std::uint32_t GetPrivateProfileStringW(const char16_t* a, const char16_t* k, const char16_t* d,
                                         char16_t* r, std::uint32_t n, const char16_t* f) override {
    keys.emplace_back(k);
    return inner_.GetPrivateProfileStringW(a, k, d, r, n, f);
  }
  std::uint32_t GetPrivateProfileSectionW(const char16_t* a, char16_t* r, std::uint32_t n,
                                          const char16_t* f) override {
    keys.emplace_back(u"[" + std::u16string(a) + u"]");
    return inner_.GetPrivateProfileSectionW(a, r, n, f);
  }
  std::uint32_t GetPrivateProfileIntW(const char16_t* a, const char16_t* k, std::int32_t d,
                                      const char16_t* f) override {
    keys.emplace_back(k);
    return inner_.GetPrivateProfileIntW(a, k, d, f);
  }
  bool GetPrivateProfileStructW(const char16_t* a, const char16_t* k, void* d, std::uint32_t n,
                                const char16_t* f) override {
    keys.emplace_back(k);
    return inner_.GetPrivateProfileStructW(a, k, d, n, f);
  }
  bool WritePrivateProfileStringW(const char16_t* a, const char16_t* k, const char16_t* t,
                                  const char16_t* f) override {
    keys.emplace_back(k);
    return inner_.WritePrivateProfileStringW(a, k, t, f);
  }
  bool WritePrivateProfileStructW(const char16_t* a, const char16_t* k, const void* d,
                                  std::uint32_t n, const char16_t* f) override {
    keys.emplace_back(k);
    return inner_.WritePrivateProfileStructW(a, k, d, n, f);
  }
  std::vector<std::u16string> keys;

 private:
  platform::Profile& inner_;
};

TEST_P(SettingsPersistence, SaveOrderIsLoadOrderAndWriteProtectionFailsEveryValue) {
  RecordingProfile recording(env->profile());
  SettingsStore recorded{*regw, recording, env->files(), env->location()};
  Settings s;
  s.bUseIni = true;
  s.kx_script = u"abc";
  LoadSettings(s, recorded);
  std::vector<std::u16string> expected{u"kx_script_size"};
  expected.insert(expected.end(), kValueNames.begin(), kValueNames.end());
  EXPECT_EQ(recording.keys, expected);  // an empty size skips the struct read

  recording.keys.clear();
  env->writeProtect(ini());
  std::u16string errors;
  EXPECT_FALSE(SaveSettings(s, recorded, false, hooks, &errors));
  expected.insert(expected.begin() + 1, u"kx_script");
  EXPECT_EQ(recording.keys, expected);
  std::vector<std::u16string> failures;
  for (const auto& name : kValueNames)
    failures.push_back(u".\\Kivora.ini[Kivora] - " + name + u" write error.");
  EXPECT_EQ(errors, joined(failures));
  EXPECT_EQ(hooks.warnings, std::vector<std::u16string>{errors});
  EXPECT_EQ(hooks.hotkeyRegistrations, 1);
  std::u16string japanese;
  EXPECT_FALSE(WriteSettingInt(store(), true, u"PlaySound", 1, japanese, true));
  EXPECT_EQ(japanese, u".\\Kivora.iniの[Kivora]セクションのPlaySoundに値を書き込めません。");
}

TEST_P(SettingsPersistence, RegistryFailureTextsInBothLanguages) {
  auto* fake = env->fakeRegistry();
  if (fake == nullptr) GTEST_SKIP() << "the real registry cannot be made to refuse";
  fake->denyWrites(root(), keyPath());
  Settings s;
  std::u16string errors;
  EXPECT_FALSE(SaveSettings(s, store(), false, hooks, &errors));
  std::vector<std::u16string> failures;
  for (const auto& name : kValueNames) {
    failures.push_back(
        u"Cannot write data - HKEY_CURRENT_USER\\Software\\Orvanta\\Kivora\\CurrentVersion - " +
        name);
  }
  EXPECT_EQ(errors, joined(failures));
  errors.clear();
  EXPECT_FALSE(WriteSettingString(store(), false, u"PlaySoundFileName", u"x", errors, true));
  EXPECT_EQ(errors,
            u"HKEY_CURRENT_USER\\Software\\Orvanta\\Kivora\\CurrentVersion - "
            u"PlaySoundFileNameへデータを書き込めません。");

  fake->denyOpen(root(), keyPath());
  errors = u"earlier";
  EXPECT_FALSE(WriteSettingInt(store(), false, u"PlaySound", 1, errors, false));
  EXPECT_FALSE(WriteSettingInt(store(), false, u"PlaySound", 1, errors, true));
  EXPECT_EQ(
      errors,
      u"earlier\r\n-----\r\nCannot open - "
      u"HKEY_CURRENT_USER\\Software\\Orvanta\\Kivora\\CurrentVersion"
      u"\r\n-----\r\nHKEY_CURRENT_USER\\Software\\Orvanta\\Kivora\\CurrentVersionを開けません。");
  EXPECT_EQ(fake->openHandleCount(), 0u);
  EXPECT_TRUE(warnings.empty());
}

TEST_P(SettingsPersistence, SingleValueReadsAndWrites) {
  std::u16string text;
  std::u16string errors;
  // Registry: the default stands only while the key is missing.
  EXPECT_EQ(ReadSettingString(store(), false, u"PlaySoundFileName", u"dflt", text, 520), 0u);
  EXPECT_EQ(text, u"dflt");
  EXPECT_EQ(ReadSettingInt(store(), false, u"PlaySound", 77), 77);
  ASSERT_TRUE(WriteSettingInt(store(), false, u"PlaySound", -7, errors, false));
  EXPECT_EQ(ReadSettingInt(store(), false, u"PlaySound", 77), -7);
  EXPECT_EQ(ReadSettingString(store(), false, u"PlaySoundFileName", u"dflt", text, 520), 0u);
  EXPECT_EQ(text, u"");
  ASSERT_TRUE(WriteSettingString(store(), false, u"PlaySoundFileName", std::u16string(600, u'w'),
                                 errors, false));
  Settings s;
  load(s, false);
  EXPECT_EQ(s.PlaySoundFileName, std::u16string(519, u'w'));
  // Ini: no text deletes the key, as the per-window rules need.
  ASSERT_TRUE(WriteSettingString(store(), true, u"00000000_NAME", u"Notepad", errors, false));
  EXPECT_EQ(ReadSettingString(store(), true, u"00000000_NAME", u"--def--", text, 260), 7u);
  ASSERT_TRUE(WriteSettingString(store(), true, u"00000000_NAME", std::nullopt, errors, false));
  EXPECT_EQ(ReadSettingString(store(), true, u"00000000_NAME", u"--def--", text, 260), 7u);
  EXPECT_EQ(text, u"--def--");
  EXPECT_TRUE(errors.empty());
}

TEST_P(SettingsPersistence, CopiesBetweenTheStores) {
  // "/OR" without an ini file: the file is created and the defaults reach the registry.
  Settings first;
  EXPECT_TRUE(copyIniToRegistry(first, store(), false, hooks));
  EXPECT_FALSE(first.bUseIni);
  EXPECT_TRUE(env->fileBytes(ini()).has_value());
  EXPECT_EQ(getValue(u"timer3_interval")->second, le32(1000));
  EXPECT_EQ(getValue(u"kx_script")->first, platform::kRegSz);

  // "/RO" carries registry values into the ini file, and "/OR" brings them back.
  putDword(u"NumLockState", 5);
  putDword(u"InstantCheck", 0);
  putText(u"kx_script", u"beep()");
  Settings second;
  EXPECT_TRUE(copyRegistryToIni(second, store(), false, hooks));
  EXPECT_TRUE(second.bUseIni);
  EXPECT_EQ(iniValue(u"NumLockState"), u"5");
  EXPECT_EQ(iniValue(u"InstantCheck"), u"0");
  EXPECT_EQ(iniValue(u"kx_script_size"), u"14");
  putDword(u"NumLockState", 0);
  putDword(u"InstantCheck", 1);
  Settings third;
  EXPECT_TRUE(copyIniToRegistry(third, store(), false, hooks));
  EXPECT_EQ(getValue(u"NumLockState")->second, le32(5));
  EXPECT_EQ(getValue(u"InstantCheck")->second, le32(0));
  Settings check;
  load(check, false);
  EXPECT_EQ(check.kx_script, u"beep()");
}

}  // namespace
}  // namespace kivora::test
