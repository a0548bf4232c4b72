// Writes the settings fuzzer's seeds: what Kivora itself stores, once as an
// ini file and once as registry values in the fuzzer's record form.
//
//   settings_load_seeds FOLDER

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "fakes/fake_profile.h"
#include "fakes/fake_registry.h"
#include "monitor/window_rules.h"
#include "settings/combobox_queue.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace {

using namespace kivora;

// Forwards to the fake and keeps every value written, in the record form.
class WriteRecorder final : public platform::Registry {
 public:
  explicit WriteRecorder(platform::Registry& inner) : inner_(inner) {}
  std::vector<std::uint8_t> records;

  platform::LStatus RegOpenKeyExW(platform::RegKey key, const char16_t* subKey,
                                  std::uint32_t options, platform::RegSam sam,
                                  platform::RegKey* result) override {
    const auto status = inner_.RegOpenKeyExW(key, subKey, options, sam, result);
    remember(status, subKey, result);
    return status;
  }
  platform::LStatus RegCreateKeyExW(platform::RegKey key, const char16_t* subKey,
                                    std::uint32_t options, platform::RegSam sam,
                                    platform::RegKey* result, std::uint32_t* disposition) override {
    const auto status = inner_.RegCreateKeyExW(key, subKey, options, sam, result, disposition);
    remember(status, subKey, result);
    return status;
  }
  platform::LStatus RegQueryValueExW(platform::RegKey key, const char16_t* name,
                                     std::uint32_t* type, std::uint8_t* data,
                                     std::uint32_t* size) override {
    return inner_.RegQueryValueExW(key, name, type, data, size);
  }
  platform::LStatus RegSetValueExW(platform::RegKey key, const char16_t* name, std::uint32_t type,
                                   const std::uint8_t* data, std::uint32_t size) override {
    const std::u16string n = name ? name : u"";
    records.push_back(specProg_[key] ? 1 : 0);
    records.push_back(0xF0);  // a name of its own
    records.push_back(static_cast<std::uint8_t>(n.size()));
    for (char16_t unit : n.substr(0, 255)) {
      records.push_back(static_cast<std::uint8_t>(unit));
      records.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    records.push_back(static_cast<std::uint8_t>(type & 0x0F));
    const std::uint32_t kept = std::min<std::uint32_t>(size, 0xFFFF);
    records.push_back(static_cast<std::uint8_t>(kept));
    records.push_back(static_cast<std::uint8_t>(kept >> 8));
    records.insert(records.end(), data, data + kept);
    return inner_.RegSetValueExW(key, name, type, data, size);
  }
  platform::LStatus RegDeleteValueW(platform::RegKey key, const char16_t* name) override {
    return inner_.RegDeleteValueW(key, name);
  }
  platform::LStatus RegCloseKey(platform::RegKey key) override { return inner_.RegCloseKey(key); }

 private:
  void remember(platform::LStatus status, const char16_t* subKey, const platform::RegKey* result) {
    if (status == platform::kErrorSuccess && subKey) {
      specProg_[*result] = std::u16string(subKey).ends_with(u"SpecProg");
    }
  }
  platform::Registry& inner_;
  std::map<platform::RegKey, bool> specProg_;
};

class Quiet final : public settings::SaveHooks, public monitor::BalloonShell {
 public:
  void showSaveWarning(const std::u16string&) override {}
  void registerPauseHotkey() override {}
  void showNewBalloon(std::u16string_view, monitor::BalloonIcon) override {}
};

// Everything Kivora stores, with a script and rules that use every field.
std::vector<std::uint8_t> storeAll(bool useIni) {
  fakes::FakeRegistry registry;
  WriteRecorder recorder(registry);
  fakes::FakeFiles files;
  fakes::FakeProfile profile(files);
  settings::RegwContext regw{recorder, [](const std::u16string&, const std::u16string&) {}, false};
  const settings::SettingsStore store{regw, profile, files, {}};
  settings::Settings all;
  all.bUseIni = useIni;
  all.use_script = 1;
  all.replaceScript(u"x = GETACTIVEWINDOWTITLE()\r\nif x == \"a\" {\r\n  SLEEP(10)\r\n}\r\n");
  Quiet quiet;
  settings::EnsureIniFile(store);
  settings::SaveSettings(all, store, false, quiet);
  const std::vector<monitor::WindowRule> rules = {
      {u"Notepad",
       {monitor::kPolicyAlwaysOn, monitor::kPolicyAlwaysOff, monitor::kPolicyDontWatch,
        monitor::kPolicyOnOnSwitch}},
      {u"メモ帳", {}}};
  monitor::saveWindowRules(store, useIni, false, rules, quiet);
  settings::ComboboxQueue sounds(store, u"cbq_wavfile");
  sounds.push(u"C:\\Windows\\Media\\ding.wav", useIni);
  sounds.push(u"chime.wav", useIni);
  if (useIni) {
    std::vector<std::uint8_t> seed = {1};
    const auto bytes = files.bytes(store.location.iniPath).value_or(std::vector<std::uint8_t>{});
    seed.insert(seed.end(), bytes.begin(), bytes.end());
    return seed;
  }
  std::vector<std::uint8_t> seed = {0};
  seed.insert(seed.end(), recorder.records.begin(), recorder.records.end());
  return seed;
}

bool write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: settings_load_seeds FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  return write(folder + "/ini-all", storeAll(true)) &&
                 write(folder + "/registry-all", storeAll(false))
             ? 0
             : 1;
}
