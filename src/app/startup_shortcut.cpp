#include "app/startup_shortcut.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <memory>

#include "app/app.h"
#include "app/texts.h"
#include "app/tray_menu.h"
#include "platform/win32/wide.h"
#include "settings/settings.h"
#include "ui/message_box.h"

namespace kivora::app {

namespace {

struct ComRelease {
  void operator()(IUnknown* object) const { object->Release(); }
};
template <typename T>
using ComPtr = std::unique_ptr<T, ComRelease>;

struct IdListFree {
  void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};

struct Outcome {
  std::u16string text;
  UINT icon;
};

// The shortcut's path for the texts that show it.
std::u16string shownPath(const App& app) {
  return win32::fromWide(app.startupShortcutPath.c_str(), app.startupShortcutPath.size());
}

Outcome deleteShortcut(App& app) {
  const std::wstring& path = app.startupShortcutPath;
  if (DeleteFileW(path.c_str())) {
    app.log(1582, u"[Menu]", u"ショートカット削除成功");
    return {fillIn(texts::kShortcutDeleted.pick(app.modeJP), {shownPath(app)}), MB_ICONINFORMATION};
  }
  app.log(1590, u"[Menu]", u"ショートカット削除失敗");
  return {fillIn(texts::kShortcutNotDeleted.pick(app.modeJP), {shownPath(app)}), MB_ICONERROR};
}

Outcome addShortcut(App& app) {
  const std::wstring& path = app.startupShortcutPath;
  const std::u16string self = win32::modulePath(nullptr);
  if (createShortcut(win32::wide(self), path)) {
    app.log(1619, u"[Menu]", u"ショートカット作成成功");
    return {fillIn(texts::kShortcutCreated.pick(app.modeJP), {shownPath(app)}), MB_ICONINFORMATION};
  }
  app.log(1611, u"[Menu]", u"ショートカット作成失敗");
  return {fillIn(texts::kShortcutNotCreated.pick(app.modeJP), {shownPath(app)}), MB_ICONERROR};
}

}  // namespace

std::wstring startupShortcutPath() {
  ITEMIDLIST* raw = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_STARTUP, &raw)) || !raw) return {};
  const std::unique_ptr<ITEMIDLIST, IdListFree> list(raw);
  wchar_t folder[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(list.get(), folder)) return {};
  std::wstring path = std::wstring(folder) + L"\\Kivora.lnk";
  if (path.size() >= settings::kPathCapacity) return {};
  return path;
}

bool createShortcut(const std::wstring& target, const std::wstring& linkPath) {
  IShellLinkW* rawLink = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&rawLink)))) {
    return false;
  }
  const ComPtr<IShellLinkW> link(rawLink);
  link->SetPath(target.c_str());
  link->SetShowCmd(SW_SHOW);
  link->SetWorkingDirectory(L"");
  link->SetIconLocation(L"", 0);
  link->SetHotkey(0);
  link->SetDescription(L"");
  link->SetArguments(L"");
  IPersistFile* rawFile = nullptr;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile))))
    return false;
  const ComPtr<IPersistFile> file(rawFile);
  return file->Save(linkPath.c_str(), TRUE) == S_OK;
}

void toggleStartupShortcut(App& app, HWND owner) {
  const bool exists = fileExists(app.startupShortcutPath);
  const Bilingual& question = exists ? texts::kAskDeleteShortcut : texts::kAskCreateShortcut;
  if (ui::ThemedMessageBox(owner, win32::wide(question, app.modeJP), win32::wide(kCaption),
                           MB_ICONQUESTION | MB_YESNO) != IDYES) {
    return;
  }
  const Outcome outcome = exists ? deleteShortcut(app) : addShortcut(app);
  ui::ThemedMessageBox(owner, win32::wide(outcome.text), win32::wide(kCaption), outcome.icon);
}

}  // namespace kivora::app
