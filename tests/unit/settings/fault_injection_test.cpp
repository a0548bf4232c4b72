// Stores that fail part-way through a save: a registry that refuses writes
// after a number of them (a full or lost hive), an ini file that turns
// read-only between two saves. A failed save is reported, and whatever an
// earlier save stored is still there to load.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "fakes/fake_profile.h"
#include "fakes/fake_registry.h"
#include "settings/settings_store.h"

namespace kivora::settings {
namespace {

// Forwards to the fake; every write after the first `allowed` fails.
class FailingRegistry final : public platform::Registry {
 public:
  explicit FailingRegistry(platform::Registry& inner) : inner_(inner) {}
  int allowed = 1 << 30;
  int refused = 0;

  platform::LStatus RegOpenKeyExW(platform::RegKey key, const char16_t* subKey,
                                  std::uint32_t options, platform::RegSam sam,
                                  platform::RegKey* result) override {
    return inner_.RegOpenKeyExW(key, subKey, options, sam, result);
  }
  platform::LStatus RegCreateKeyExW(platform::RegKey key, const char16_t* subKey,
                                    std::uint32_t options, platform::RegSam sam,
                                    platform::RegKey* result, std::uint32_t* disposition) override {
    return inner_.RegCreateKeyExW(key, subKey, options, sam, result, disposition);
  }
  platform::LStatus RegQueryValueExW(platform::RegKey key, const char16_t* name,
                                     std::uint32_t* type, std::uint8_t* data,
                                     std::uint32_t* size) override {
    return inner_.RegQueryValueExW(key, name, type, data, size);
  }
  platform::LStatus RegSetValueExW(platform::RegKey key, const char16_t* name, std::uint32_t type,
                                   const std::uint8_t* data, std::uint32_t size) override {
    if (allowed <= 0) {
      ++refused;
      return 1450;  // ERROR_NO_SYSTEM_RESOURCES
    }
    --allowed;
    return inner_.RegSetValueExW(key, name, type, data, size);
  }
  platform::LStatus RegDeleteValueW(platform::RegKey key, const char16_t* name) override {
    return inner_.RegDeleteValueW(key, name);
  }
  platform::LStatus RegCloseKey(platform::RegKey key) override { return inner_.RegCloseKey(key); }

 private:
  platform::Registry& inner_;
};

class CountingHooks final : public SaveHooks {
 public:
  void showSaveWarning(const std::u16string& text) override { warnings.push_back(text); }
  void registerPauseHotkey() override {}
  std::vector<std::u16string> warnings;
};

// A set of values far from the defaults, so a value lost to its default shows.
void fillFirst(Settings& s) {
  s.use_script = 1;
  s.NumLockState = 3;
  s.CapsLockState = 4;
  s.ScrollLockState = 2;
  s.PlaySound = 1;
  s.PlaySoundFileName = u"C:\\Sounds\\first.wav";
  s.timer3_interval = 250;
  s.watchedKeyboards = {u"KBD#ONE", u"KBD#TWO"};
  s.replaceScript(u"x = 1\r\n");
}
void fillSecond(Settings& s) {
  s.use_script = 0;
  s.NumLockState = 2;
  s.CapsLockState = 5;
  s.ScrollLockState = 3;
  s.PlaySound = 0;
  s.PlaySoundFileName = u"D:\\second.wav";
  s.timer3_interval = 700;
  s.watchedKeyboards = {u"KBD#THREE"};
  s.replaceScript(u"y = 2\r\n");
}

// Every field either as the first save left it or as the second would have.
void expectFromOneOfTheSaves(const Settings& loaded, const Settings& first,
                             const Settings& second) {
#define KIVORA_EITHER(field) \
  EXPECT_TRUE(loaded.field == first.field || loaded.field == second.field) << #field
  KIVORA_EITHER(use_script);
  KIVORA_EITHER(NumLockState);
  KIVORA_EITHER(CapsLockState);
  KIVORA_EITHER(ScrollLockState);
  KIVORA_EITHER(PlaySound);
  KIVORA_EITHER(PlaySoundFileName);
  KIVORA_EITHER(timer3_interval);
  KIVORA_EITHER(watchedKeyboards);
  EXPECT_TRUE(loaded.copyScript() == first.copyScript() ||
              loaded.copyScript() == second.copyScript());
#undef KIVORA_EITHER
}

struct Stores {
  fakes::FakeRegistry fake;
  FailingRegistry registry{fake};
  fakes::FakeFiles files;
  fakes::FakeProfile profile{files};
  RegwContext regw{registry, [](const std::u16string&, const std::u16string&) {}, false};
  SettingsStore store() { return {regw, profile, files, {}}; }
};

// However early the registry gives out, the save says so, no key stays open,
// and every value loads as one of the two saves wrote it: nothing half-written,
// nothing lost to a default.
TEST(SaveFaults, ARegistryThatGivesOutPartWayKeepsEveryValueFromOneOfTheSaves) {
  Settings first, second;
  fillFirst(first);
  fillSecond(second);
  for (int allowed = 0; allowed < 40; ++allowed) {
    Stores stores;
    CountingHooks hooks;
    ASSERT_TRUE(SaveSettings(first, stores.store(), false, hooks));
    stores.registry.allowed = allowed;
    std::u16string errors;
    const bool saved = SaveSettings(second, stores.store(), false, hooks, &errors);
    EXPECT_EQ(saved, stores.registry.refused == 0) << allowed;
    EXPECT_EQ(saved, errors.empty()) << allowed;
    EXPECT_EQ(hooks.warnings.size(), saved ? 0u : 1u) << allowed;
    EXPECT_EQ(stores.fake.openHandleCount(), 0u) << allowed;
    Settings loaded;
    LoadSettings(loaded, stores.store());
    expectFromOneOfTheSaves(loaded, first, second);
  }
}

// An ini file made read-only after a save keeps its bytes through a failed
// save, and loads as that save left it.
TEST(SaveFaults, AnIniFileThatCannotBeWrittenKeepsTheLastSave) {
  Stores stores;
  Settings first, second;
  fillFirst(first);
  fillSecond(second);
  first.bUseIni = second.bUseIni = true;
  CountingHooks hooks;
  ASSERT_TRUE(EnsureIniFile(stores.store()));
  ASSERT_TRUE(SaveSettings(first, stores.store(), false, hooks));
  const auto path = stores.store().location.iniPath;
  const auto before = stores.files.bytes(path);
  stores.files.setReadOnly(path, true);
  std::u16string errors;
  EXPECT_FALSE(SaveSettings(second, stores.store(), true, hooks, &errors));
  EXPECT_FALSE(errors.empty());
  ASSERT_EQ(hooks.warnings.size(), 1u);
  EXPECT_EQ(stores.files.bytes(path), before);
  Settings loaded;
  loaded.bUseIni = true;
  LoadSettings(loaded, stores.store());
  expectFromOneOfTheSaves(loaded, first, first);
}

}  // namespace
}  // namespace kivora::settings
