#pragma once
// What start-up reads before anything else: the command-line switch, the
// language, ini mode by the program's file name and the program's folder.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace kivora::app {

enum class StartSwitch {
  None,      // no switch, or one Kivora does not know
  Pause,     // "/P"  toggle watching
  PauseOff,  // "/P0" watching off
  PauseOn,   // "/P1" watching on
  Ime0,      // "/I0" ... "/I4": ImeLock 0 to 4
  Ime1,
  Ime2,
  Ime3,
  Ime4,
  Exit,           // "/X"
  Ini,            // "/O"  settings in the ini file
  IniToRegistry,  // "/OR"
  RegistryToIni,  // "/RO"
};

// The whole command line compared with each switch, ignoring case; anything
// else (two switches, surrounding spaces) is no switch.
StartSwitch parseStartSwitch(std::wstring_view commandLine);

// The command a switch forwards to the running instance (or runs at the first
// start): IDM_OFF, IDM_OFF_P0, IDM_OFF_P1, IDM_IME0..IDM_IME4. None for the others.
std::optional<UINT> forwardedCommand(StartSwitch s);

// Japanese mode: with KIVORA_LANG set, exactly when it says "JA" (any case);
// without it, when the system's primary language is Japanese.
bool japaneseModeFor(const std::optional<std::wstring>& kivoraLang, LANGID systemLanguage);
// Reads KIVORA_LANG (up to 80 characters) and the system language.
bool chooseJapaneseMode();

// A program file name of more than 7 characters ending in "_o.exe" (any case)
// keeps its settings in the ini file.
bool iniModeByFileName(std::wstring_view modulePath);

// The module path cut at its last backslash; a drive root keeps its backslash.
// Empty when the path has no backslash.
std::wstring programFolder(std::wstring_view modulePath);

}  // namespace kivora::app
