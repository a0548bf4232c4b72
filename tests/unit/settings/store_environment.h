#pragma once
// One behavioural suite for the settings stores, run natively against the
// fakes and under Wine against the real registry and real ini files. Each test
// gets a fresh environment: an empty scratch registry key and a scratch
// directory without an ini file, both removed afterwards.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_access.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "settings/combobox_queue.h"
#include "settings/regw.h"
#include "settings/settings_store.h"

namespace kivora::fakes {
class FakeRegistry;
}

namespace kivora::test {

class StoreEnvironment {
 public:
  virtual ~StoreEnvironment() = default;
  virtual platform::Registry& registry() = 0;
  virtual platform::Profile& profile() = 0;
  virtual platform::FileAccess& files() = 0;
  // Where this test's settings live. The ini path is ".\Kivora.ini" in both.
  virtual settings::StoreLocation location() = 0;
  virtual std::optional<std::vector<std::uint8_t>> fileBytes(const std::u16string& path) = 0;
  virtual void writeFileBytes(const std::u16string& path,
                              const std::vector<std::uint8_t>& bytes) = 0;
  // Makes every write to the existing file fail for the rest of the test.
  virtual void writeProtect(const std::u16string& path) = 0;
  // Present only where failures can be injected into the registry.
  virtual fakes::FakeRegistry* fakeRegistry() { return nullptr; }
};

struct StoreBackend {
  std::string name;
  std::function<std::unique_ptr<StoreEnvironment>()> make;
};

inline std::string backendName(const testing::TestParamInfo<StoreBackend>& info) {
  return info.param.name;
}

class RecordingHooks final : public settings::SaveHooks {
 public:
  void showSaveWarning(const std::u16string& text) override { warnings.push_back(text); }
  void registerPauseHotkey() override { ++hotkeyRegistrations; }
  std::vector<std::u16string> warnings;
  int hotkeyRegistrations = 0;
};

class StoreTest : public testing::TestWithParam<StoreBackend> {
 protected:
  void SetUp() override {
    env = GetParam().make();
    regw = std::make_unique<settings::RegwContext>(
        settings::RegwContext{env->registry(),
                              [this](const std::u16string& text, const std::u16string& caption) {
                                warnings.emplace_back(text, caption);
                              },
                              false});
  }
  void TearDown() override {
    regw.reset();
    env.reset();
  }

  settings::SettingsStore store() { return {*regw, env->profile(), env->files(), env->location()}; }
  // The settings key itself: its root and path.
  platform::RegKey root() { return env->location().registryRoot; }
  std::u16string keyPath() { return env->location().registryKey; }
  std::u16string ini() { return env->location().iniPath; }

  // Writes a raw value into the settings key (created when missing).
  void putValue(const std::u16string& name, std::uint32_t type,
                const std::vector<std::uint8_t>& data);
  void putDword(const std::u16string& name, std::uint32_t value);
  void putText(const std::u16string& name, std::u16string_view text,
               std::uint32_t type = platform::kRegSz);
  // The value's type and bytes, nullopt when missing.
  std::optional<std::pair<std::uint32_t, std::vector<std::uint8_t>>> getValue(
      const std::u16string& name);
  // An ini key of the settings section as text, nullopt when missing.
  std::optional<std::u16string> iniValue(const std::u16string& key);
  void putIni(const std::u16string& key, const std::u16string& value);

  std::unique_ptr<StoreEnvironment> env;
  std::unique_ptr<settings::RegwContext> regw;
  std::vector<std::pair<std::u16string, std::u16string>> warnings;  // text, caption
};

// One fixture per suite, so each suite is instantiated for every backend.
class RegistryConformance : public StoreTest {};
class ProfileConformance : public StoreTest {};
class RegwStore : public StoreTest {};
class SettingsPersistence : public StoreTest {
 protected:
  void load(settings::Settings& s, bool ini);
  // Stores one raw integer the way the given mode keeps it.
  void stored(bool ini, const std::u16string& name, std::int32_t value);
  RecordingHooks hooks;
};

// The sound-file history (settings/combobox_queue.h) beside the settings.
class SoundFileHistoryStore : public StoreTest {
 protected:
  static constexpr char16_t kHistoryName[] = u"cbq_wavfile";
  std::vector<std::u16string> loadedHistory(bool ini);
  // A key of the history's own ini section.
  void putHistoryIni(const std::u16string& key, const std::u16string& value);
  std::optional<std::u16string> historyIni(const std::u16string& key);
};

#define KIVORA_INSTANTIATE_STORE_SUITES(prefix, backend)                            \
  INSTANTIATE_TEST_SUITE_P(prefix, RegistryConformance, testing::Values(backend),   \
                           kivora::test::backendName);                              \
  INSTANTIATE_TEST_SUITE_P(prefix, ProfileConformance, testing::Values(backend),    \
                           kivora::test::backendName);                              \
  INSTANTIATE_TEST_SUITE_P(prefix, RegwStore, testing::Values(backend),             \
                           kivora::test::backendName);                              \
  INSTANTIATE_TEST_SUITE_P(prefix, SettingsPersistence, testing::Values(backend),   \
                           kivora::test::backendName);                              \
  INSTANTIATE_TEST_SUITE_P(prefix, SoundFileHistoryStore, testing::Values(backend), \
                           kivora::test::backendName)

std::vector<std::uint8_t> utf16le(std::u16string_view text);
// REG_MULTI_SZ data: each string with its terminator, then one more.
std::vector<std::uint8_t> multiSz(const std::vector<std::u16string>& strings);
std::vector<std::uint8_t> le32(std::uint32_t value);

}  // namespace kivora::test
