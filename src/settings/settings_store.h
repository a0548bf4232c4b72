#pragma once
// The settings store: where Settings live (the current user's registry key or
// the ini file beside the program), the single-value reads and writes every
// part uses (the per-window rules too), and the load, save and copy of all
// settings. bUseIni is consulted at every call.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_access.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "settings/regw.h"
#include "settings/settings.h"

namespace kivora::settings {

// Where the two stores are. The defaults are Kivora's; tests point them at
// scratch places. The failure texts name exactly these.
struct StoreLocation {
  std::u16string iniPath = u".\\Kivora.ini";
  std::u16string iniSection = u"Kivora";
  platform::RegKey registryRoot = platform::kHkeyCurrentUser;
  std::u16string registryRootName = u"HKEY_CURRENT_USER\\";
  std::u16string registryKey = u"Software\\Orvanta\\Kivora\\CurrentVersion";

  // The subkey of the settings key that holds the per-window rules.
  std::u16string specProgKey() const { return registryKey + u"\\SpecProg"; }
};

// What the store functions reach.
struct SettingsStore {
  RegwContext& regw;
  platform::Profile& profile;
  platform::FileAccess& files;
  StoreLocation location;
};

// Joins the failure texts a save collects.
inline constexpr std::u16string_view kSaveErrorSeparator = u"\r\n-----\r\n";

// The ini file keeps the script as UTF-16LE bytes with a terminator; a stored
// size over kMaxIniScriptBytes loads as damage (an empty script), so a save
// refuses a longer script rather than store one the next start cannot read.
inline constexpr std::size_t kMaxIniScriptBytes = std::size_t{16} * 1024 * 1024;
inline constexpr std::size_t kMaxIniScriptLength = kMaxIniScriptBytes / 2 - 1;

// Appends the failure text of an ini value that could not be written.
void appendIniWriteFailure(const SettingsStore& store, std::u16string_view name,
                           std::u16string& errorText, bool modeJP);

// Makes sure the ini file exists; a new one holds only the UTF-16LE byte-order
// mark and CR LF, so that the profile functions keep it in UTF-16.
bool EnsureIniFile(const SettingsStore& store);

// Ini mode: GetPrivateProfileIntW. Registry mode: REGW::ReadIntegerW, the
// default when the key cannot be opened.
std::int32_t ReadSettingInt(const SettingsStore& store, bool useIni, std::u16string_view name,
                            std::int32_t defaultValue);
// Ini mode: GetPrivateProfileStringW, returns the characters copied.
// Registry mode: the default, replaced by the value when the key opens (a
// missing value then gives an empty text); returns 1 when the value was read,
// else 0. text holds at most capacity - 1 characters.
std::uint32_t ReadSettingString(const SettingsStore& store, bool useIni, std::u16string_view name,
                                std::u16string_view defaultText, std::u16string& text,
                                std::size_t capacity);
// On failure appends one failure text (in the language modeJP picks) to
// errorText, after the separator when it already holds text.
bool WriteSettingInt(const SettingsStore& store, bool useIni, std::u16string_view name,
                     std::int32_t value, std::u16string& errorText, bool modeJP);
// No text deletes the key in ini mode; the registry then gets an empty text.
bool WriteSettingString(const SettingsStore& store, bool useIni, std::u16string_view name,
                        std::optional<std::u16string_view> text, std::u16string& errorText,
                        bool modeJP);

// Ini mode: NumLockState is stored. Registry mode: the settings key opens.
bool SettingsExist(const SettingsStore& store, bool useIni);

// Fills settings from the store bUseIni names. Never fails: what cannot be
// read keeps its default, and out-of-range values are clamped.
void LoadSettings(Settings& settings, const SettingsStore& store);

// What a save asks of the main window.
class SaveHooks {
 public:
  virtual ~SaveHooks() = default;
  // Clears any pending balloon and shows the collected failures as a warning balloon.
  virtual void showSaveWarning(const std::u16string& text) = 0;
  // Registers the pause hotkey again from HOTKEY_ENDISTTICON.
  virtual void registerPauseHotkey() = 0;
};

// Writes every value; a failure does not stop the following ones. Returns
// false when at least one value could not be written; the failures are then
// in saveErrorText (when given) and were shown through hooks.
bool SaveSettings(const Settings& settings, const SettingsStore& store, bool modeJP,
                  SaveHooks& hooks, std::u16string* saveErrorText = nullptr);

// "/OR": everything from the ini file into the registry. Leaves bUseIni false.
bool copyIniToRegistry(Settings& settings, const SettingsStore& store, bool modeJP,
                       SaveHooks& hooks);
// "/RO": everything from the registry into the ini file. Leaves bUseIni true.
bool copyRegistryToIni(Settings& settings, const SettingsStore& store, bool modeJP,
                       SaveHooks& hooks);

}  // namespace kivora::settings
