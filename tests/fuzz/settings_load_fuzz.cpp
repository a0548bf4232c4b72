// Loading the settings, the per-window rules and the sound-file history from
// damaged stores, over the in-memory registry and profile fakes.
//
// The first byte picks the store. Ini (odd): the rest is Kivora.ini's bytes
// as they are. Registry (even): the rest is a list of values written into the
// settings key or its SpecProg key before the load:
//   key (1 byte: even settings, odd SpecProg), name (1 byte: below 0xF0 one of
//   the names the loaders ask for, else a length byte and that many UTF-16
//   units), type (1 byte: below 0xF0 its low nibble, else 4 raw bytes),
//   size (2 bytes), data (size bytes).
// Every load must finish, keep its values in range and leave no key open.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "fakes/fake_profile.h"
#include "fakes/fake_registry.h"
#include "fuzz/fuzz_input.h"
#include "monitor/window_rules.h"
#include "settings/combobox_queue.h"
#include "settings/regw.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace {

using namespace kivora;

// Forwards to the fake and keeps every value name a loader asks for.
class NameRecorder final : public platform::Registry {
 public:
  explicit NameRecorder(platform::Registry& inner) : inner_(inner) {}
  std::vector<std::u16string> names;

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
    if (name) {
      std::u16string n(name);
      if (std::find(names.begin(), names.end(), n) == names.end()) names.push_back(std::move(n));
    }
    return inner_.RegQueryValueExW(key, name, type, data, size);
  }
  platform::LStatus RegSetValueExW(platform::RegKey key, const char16_t* name, std::uint32_t type,
                                   const std::uint8_t* data, std::uint32_t size) override {
    return inner_.RegSetValueExW(key, name, type, data, size);
  }
  platform::LStatus RegDeleteValueW(platform::RegKey key, const char16_t* name) override {
    return inner_.RegDeleteValueW(key, name);
  }
  platform::LStatus RegCloseKey(platform::RegKey key) override { return inner_.RegCloseKey(key); }

 private:
  platform::Registry& inner_;
};

class NoBalloons final : public monitor::BalloonShell {
 public:
  void showNewBalloon(std::u16string_view, monitor::BalloonIcon) override {}
};

struct Stores {
  fakes::FakeRegistry registry;
  fakes::FakeFiles files;
  fakes::FakeProfile profile{files};
};

// Everything a start-up and the settings dialog load.
void loadEverything(platform::Registry& registry, Stores& stores, bool useIni) {
  settings::RegwContext regw{registry, [](const std::u16string&, const std::u16string&) {}, false};
  const settings::SettingsStore store{regw, stores.profile, stores.files, {}};
  settings::Settings loaded;
  loaded.bUseIni = useIni;
  settings::LoadSettings(loaded, store);
  monitor::loadWindowRules(store, useIni);
  settings::ComboboxQueue sounds(store, u"cbq_wavfile");
  sounds.load(useIni);
}

// The value names the loaders ask for, found by loading stores that hold
// everything: the defaults saved, two window rules and a sound history.
std::vector<std::u16string> askedNames() {
  Stores stores;
  NameRecorder recorder(stores.registry);
  settings::RegwContext regw{recorder, [](const std::u16string&, const std::u16string&) {}, false};
  const settings::SettingsStore store{regw, stores.profile, stores.files, {}};
  class NoHooks final : public settings::SaveHooks {
    void showSaveWarning(const std::u16string&) override {}
    void registerPauseHotkey() override {}
  } hooks;
  settings::Settings defaults;
  settings::SaveSettings(defaults, store, false, hooks);
  NoBalloons balloons;
  monitor::saveWindowRules(store, false, false, {{u"a", {}}, {u"b", {}}}, balloons);
  settings::ComboboxQueue sounds(store, u"cbq_wavfile");
  sounds.push(u"x.wav", false);
  loadEverything(recorder, stores, false);
  return recorder.names;
}

void writeRegistryValues(fuzz::FuzzInput& in, Stores& stores,
                         const std::vector<std::u16string>& names) {
  const settings::StoreLocation location;
  platform::RegKey keys[2] = {};
  if (stores.registry.RegCreateKeyExW(location.registryRoot, location.registryKey.c_str(), 0,
                                      platform::kKeyAllAccess, &keys[0],
                                      nullptr) != platform::kErrorSuccess ||
      stores.registry.RegCreateKeyExW(location.registryRoot, location.specProgKey().c_str(), 0,
                                      platform::kKeyAllAccess, &keys[1],
                                      nullptr) != platform::kErrorSuccess) {
    std::abort();
  }
  while (!in.empty()) {
    const platform::RegKey key = keys[in.byte() & 1];
    const std::uint8_t nameChoice = in.byte();
    const std::u16string name =
        nameChoice < 0xF0 ? names[nameChoice % names.size()] : in.units(in.byte());
    const std::uint8_t typeChoice = in.byte();
    const std::uint32_t type = typeChoice < 0xF0 ? typeChoice & 0x0F : in.dword();
    const auto data = in.take(in.word());
    stores.registry.RegSetValueExW(key, name.c_str(), type, data.data(),
                                   static_cast<std::uint32_t>(data.size()));
  }
  stores.registry.RegCloseKey(keys[0]);
  stores.registry.RegCloseKey(keys[1]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<std::u16string> names = askedNames();
  fuzz::FuzzInput in({data, size});
  Stores stores;
  const bool useIni = in.byte() & 1;
  if (useIni) {
    const auto bytes = in.rest();
    stores.files.put(settings::StoreLocation{}.iniPath, {bytes.begin(), bytes.end()});
  } else {
    writeRegistryValues(in, stores, names);
  }
  loadEverything(stores.registry, stores, useIni);
  // A load that leaves a key open leaks a handle at every start.
  if (stores.registry.openHandleCount() != 0) std::abort();
  return 0;
}
