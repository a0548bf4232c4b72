#include "app/help.h"

#include <shellapi.h>

#include <mutex>

#include "app/app.h"
#include "app/texts.h"
#include "platform/win32/wide.h"
#include "ui/kivora_about.h"
#include "ui/message_box.h"
#include "ui/system_library.h"

namespace kivora::app {

namespace {

// HtmlHelpW's shape and the two commands Kivora uses.
using HtmlHelpFunction = HWND(WINAPI*)(HWND owner, LPCWSTR file, UINT command, DWORD_PTR data);
constexpr UINT kHhDisplayTopic = 0x0000;
constexpr UINT kHhCloseAll = 0x0012;

struct HtmlHelpControl {
  win32::UniqueModule module;
  HtmlHelpFunction function = nullptr;
};

// Only the system's own control is ever loaded: a hhctrl.ocx lying beside
// the program or in the current folder could be anyone's code.
HtmlHelpControl& htmlHelpControl() {
  static HtmlHelpControl control;
  static std::once_flag loaded;
  std::call_once(loaded, [] {
    control.module = ui::LoadSystemLibrary(L"hhctrl.ocx");
    if (control.module) {
      control.function = reinterpret_cast<HtmlHelpFunction>(
          reinterpret_cast<void*>(GetProcAddress(control.module.get(), "HtmlHelpW")));
    }
  });
  return control;
}

bool htmlHelpLoaded = false;

std::wstring systemFolder() {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

}  // namespace

std::wstring helpPath(const wchar_t* topic) {
  std::wstring path = L".\\Kivora.chm";
  if (topic) path += std::wstring(L"::/_RESOURCE/") + topic;
  return path;
}

bool openHelp(App& app, HWND owner, const wchar_t* topic) {
  const std::wstring path = helpPath(topic);
  app.log(1299, u"[ヘルプ表示]", win32::fromWide(path.c_str()));
  htmlHelpLoaded = true;
  const HtmlHelpFunction htmlHelp = htmlHelpControl().function;
  if (htmlHelp && htmlHelp(owner, path.c_str(), kHhDisplayTopic, 0)) {
    app.log(1302, u"[ヘルプ表示]", u"成功");
    return true;
  }
  app.log(1307, u"[ヘルプ表示]", u"失敗または既に表示中");
  return false;
}

void closeHelp() {
  if (!htmlHelpLoaded) return;
  if (const HtmlHelpFunction htmlHelp = htmlHelpControl().function)
    htmlHelp(nullptr, nullptr, kHhCloseAll, 0);
}

void openFeedbackPage(App& app) {
  const std::wstring system = systemFolder();
  SetCurrentDirectoryW(system.c_str());
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
      app.mainWindow, L"open", ui::kMakerFeedback, nullptr, system.c_str(), SW_SHOWNORMAL));
  if (result <= 32) {
    app.log(1640, u"[Menu]", u"IDM_FEEDBACK失敗");
    const std::u16string text =
        fillIn(texts::kCannotOpenWebPage.pick(app.modeJP), {win32::fromWide(ui::kMakerFeedback)});
    ui::ThemedMessageBox(app.mainWindow, win32::wide(text),
                         win32::wide(texts::kFeedbackCaption, app.modeJP), MB_ICONERROR);
  }
  SetCurrentDirectoryW(app.folder.c_str());
}

}  // namespace kivora::app
