#include "app/command_line.h"

#include <array>

#include "resource_ids.h"

namespace kivora::app {

namespace {

struct SwitchRow {
  const wchar_t* text;
  StartSwitch value;
  UINT command;  // 0: not forwarded
};

constexpr std::array<SwitchRow, 12> kSwitches{{
    {L"/P", StartSwitch::Pause, IDM_OFF},
    {L"/P0", StartSwitch::PauseOff, IDM_OFF_P0},
    {L"/P1", StartSwitch::PauseOn, IDM_OFF_P1},
    {L"/I0", StartSwitch::Ime0, IDM_IME0},
    {L"/I1", StartSwitch::Ime1, IDM_IME1},
    {L"/I2", StartSwitch::Ime2, IDM_IME2},
    {L"/I3", StartSwitch::Ime3, IDM_IME3},
    {L"/I4", StartSwitch::Ime4, IDM_IME4},
    {L"/X", StartSwitch::Exit, 0},
    {L"/O", StartSwitch::Ini, 0},
    {L"/OR", StartSwitch::IniToRegistry, 0},
    {L"/RO", StartSwitch::RegistryToIni, 0},
}};

wchar_t asciiUpper(wchar_t c) {
  return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool equalIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (asciiUpper(a[i]) != asciiUpper(b[i])) return false;
  }
  return true;
}

}  // namespace

StartSwitch parseStartSwitch(std::wstring_view commandLine) {
  for (const auto& row : kSwitches) {
    if (equalIgnoringCase(commandLine, row.text)) return row.value;
  }
  return StartSwitch::None;
}

std::optional<UINT> forwardedCommand(StartSwitch s) {
  for (const auto& row : kSwitches) {
    if (row.value == s && row.command != 0) return row.command;
  }
  return std::nullopt;
}

bool japaneseModeFor(const std::optional<std::wstring>& kivoraLang, LANGID systemLanguage) {
  if (kivoraLang) return equalIgnoringCase(*kivoraLang, L"JA");
  return PRIMARYLANGID(systemLanguage) == LANG_JAPANESE;
}

bool chooseJapaneseMode() {
  constexpr DWORD kCapacity = 81;
  wchar_t value[kCapacity] = {};
  SetLastError(ERROR_SUCCESS);
  const DWORD length = GetEnvironmentVariableW(L"KIVORA_LANG", value, kCapacity);
  std::optional<std::wstring> kivoraLang;
  if (length >= kCapacity) {
    kivoraLang = std::wstring();  // set, but too long to be "JA"
  } else if (length > 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND) {
    kivoraLang = std::wstring(value, length);
  }
  return japaneseModeFor(kivoraLang, GetSystemDefaultLangID());
}

bool iniModeByFileName(std::wstring_view modulePath) {
  constexpr std::wstring_view kSuffix = L"_o.exe";
  return modulePath.size() > 7 &&
         equalIgnoringCase(modulePath.substr(modulePath.size() - kSuffix.size()), kSuffix);
}

std::wstring programFolder(std::wstring_view modulePath) {
  const auto slash = modulePath.rfind(L'\\');
  if (slash == std::wstring_view::npos) return {};
  const bool driveRoot = slash == 2 && modulePath[1] == L':';
  return std::wstring(modulePath.substr(0, driveRoot ? slash + 1 : slash));
}

}  // namespace kivora::app
