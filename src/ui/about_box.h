#pragma once
// The About box: a self-contained module that builds its dialog template in
// memory. It shows the program's name, version and legal notice from the
// version record of `instance`, a description, links to the maker's pages,
// and copies ProbixLite, the system report, to the clipboard.
//
//   kivora::ui::ShowAbout(kivora::ui::kivoraAboutInfo(...));   // see kivora_about.h

#include <windows.h>

#include <string>

#include "ui/message_box.h"

namespace kivora::ui {

// The box's controls; its template is built in code.
enum AboutControl : WORD {
  kAboutVersion = 2002,
  kAboutLinks = 2003,
  kAboutDescription = 2004,
  kAboutEnvironment = 2005,
  kAboutContribution = 2006,
  kAboutIcon = 2007,
  kAboutFeedback = 2009,
};

struct AboutInfo {
  int japanese = 0;              // the language flag (modeJP)
  HINSTANCE instance = nullptr;  // its version record and icon
  int iconId = 0;
  const wchar_t* productName = nullptr;
  const wchar_t* webSite = nullptr;  // or nullptr
  // An address not starting with http:// or https:// is an e-mail address.
  const wchar_t* contact = nullptr;       // or nullptr
  const wchar_t* contribution = nullptr;  // or nullptr
  const wchar_t* description = nullptr;
  const wchar_t* feedback = nullptr;   // or nullptr
  const wchar_t* extraText = nullptr;  // or nullptr
  // Holds the box's handle while it is open, nullptr after.
  HWND* windowSlot = nullptr;
  // Every message box of the About box; MessageBoxW when none is given.
  MessageBoxFunction messageBox = nullptr;
};

// Shows the box modally and returns the dialog's result.
INT_PTR ShowAbout(const AboutInfo& info);

// The texts the box is filled with, for a given version record.
struct AboutVersion {
  std::wstring fileVersion;     // "\StringFileInfo\...\FileVersion"
  std::wstring specialBuild;    // "SpecialBuild", may be empty
  std::wstring legalCopyright;  // "LegalCopyright"
};
std::wstring aboutVersionText(const AboutInfo& info, const AboutVersion& version);
std::wstring aboutLinksText(const AboutInfo& info);

}  // namespace kivora::ui
