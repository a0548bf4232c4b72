#include "app/start_dialogs.h"

#include <algorithm>
#include <climits>
#include <initializer_list>

#include "app/app.h"
#include "resource_ids.h"
#include "ui/dark_controls.h"
#include "ui/dialog_dpi.h"
#include "ui/dialog_look.h"

namespace kivora::app {

namespace {

void placePictures(HWND dialog, const StartupImages& images) {
  const int controls[] = {IDC_PICTURE_WIN7, IDC_PICTURE_WIN10};
  for (std::size_t i = 0; i < images.pictures.size(); ++i) {
    SendDlgItemMessageW(dialog, controls[i], STM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(images.pictures[i].get()));
  }
}

// The pictures size themselves to their bitmaps, whose size in dialog units
// depends on the dialog font; the controls under them (`below`) move to sit
// just under the taller picture, and the dialog grows or shrinks with them.
void fitBelowPictures(HWND dialog, std::initializer_list<int> below) {
  constexpr int kGap = 10;
  RECT pictures{};
  for (const int id : {IDC_PICTURE_WIN7, IDC_PICTURE_WIN10}) {
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, id), &r);
    pictures.bottom = std::max(pictures.bottom, r.bottom);
  }
  int top = INT_MAX;
  for (const int id : below) {
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, id), &r);
    top = std::min(top, static_cast<int>(r.top));
  }
  if (pictures.bottom == 0 || top == INT_MAX) return;
  const int shift = pictures.bottom + kGap - top;
  for (const int id : below) {
    const HWND control = GetDlgItem(dialog, id);
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(control, nullptr, r.left, r.top + shift, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT window{};
  GetWindowRect(dialog, &window);
  SetWindowPos(dialog, nullptr, window.left, window.top - shift / 2, window.right - window.left,
               window.bottom - window.top + shift, SWP_NOZORDER | SWP_NOACTIVATE);
}

void applyLook(HWND dialog) {
  ui::subclassDarkControls(dialog, nullptr);
  ui::ApplyTitleBar(dialog);
  SendMessageW(dialog, WM_THEMECHANGED, 0, 0);
}

INT_PTR CALLBACK alreadyRunningProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (auto answered = ui::dialogLookMessage(dialog, msg, wParam, lParam)) return *answered;
  switch (msg) {
    case WM_INITDIALOG: {
      const auto& images = *reinterpret_cast<const StartupImages*>(lParam);
      placePictures(dialog, images);
      fitBelowPictures(dialog, {IDM_SETTINGS, IDC_FORCE_EXIT, IDCANCEL});
      SetForegroundWindow(dialog);
      SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(images.appIcon.get()));
      SendMessageW(dialog, WM_SETICON, ICON_SMALL,
                   reinterpret_cast<LPARAM>(images.appIconSmall.get()));
      SendDlgItemMessageW(dialog, IDC_WARNING_ICON, STM_SETICON,
                          reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_EXCLAMATION)), 0);
      MessageBeep(MB_OK);
      applyLook(dialog);
      ui::followDpiChanges(dialog);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_FORCE_EXIT:
          EndDialog(dialog, IDC_FORCE_EXIT);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        case IDM_SETTINGS:
          EndDialog(dialog, IDM_SETTINGS);
          return TRUE;
        default:
          break;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

void closeOpeningDialog(App& app, HWND dialog) {
  if (IsDlgButtonChecked(dialog, IDC_NO_OPENING_DLG) == BST_CHECKED) {
    app.settings.NoOpeningDlg = 1;
    SaveSettings(app.settings, app.store(), app.modeJP, app.shell);
  }
  DestroyWindow(dialog);
}

INT_PTR CALLBACK openingProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (auto answered = ui::dialogLookMessage(dialog, msg, wParam, lParam)) return *answered;
  App* app = reinterpret_cast<App*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      app = reinterpret_cast<App*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      applyLook(dialog);
      placePictures(dialog, app->images);
      fitBelowPictures(dialog, {IDC_NO_OPENING_DLG, IDCANCEL});
      if (app->settings.BIGDIALOG != 0)
        app->openingEnlargement = ui::EnlargeDialog(dialog, ui::kPlaceCentre);
      ui::followDpiChanges(dialog);
      ShowWindow(dialog, SW_SHOW);
      SetForegroundWindow(dialog);
      return TRUE;
    case WM_COMMAND:
      if (app && LOWORD(wParam) == IDCANCEL) {
        closeOpeningDialog(*app, dialog);
        return TRUE;
      }
      break;
    case WM_DESTROY:
      if (app) {
        if (app->openingEnlargement) ui::RestoreDialog(*app->openingEnlargement);
        app->openingEnlargement.reset();
        app->openingDialog = nullptr;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

INT_PTR showAlreadyRunningDialog(HINSTANCE instance, bool japanese, const StartupImages& images) {
  const INT_PTR result = DialogBoxParamW(
      instance, MAKEINTRESOURCEW(japanese ? IDD_ALREADY_RUNNING_JA : IDD_ALREADY_RUNNING_EN),
      nullptr, alreadyRunningProc, reinterpret_cast<LPARAM>(&images));
  // Sent once this dialog is gone: the running instance answers only when
  // its settings dialog closes.
  if (result == IDM_SETTINGS) {
    if (const HWND running = FindWindowW(kMainWindowClass, nullptr))
      SendMessageW(running, MYWM_EXECALL, IDM_SETTINGS, 0);
  }
  return result;
}

HWND createOpeningDialog(App& app) {
  app.openingDialog = CreateDialogParamW(app.instance, MAKEINTRESOURCEW(IDD_OPENING), nullptr,
                                         openingProc, reinterpret_cast<LPARAM>(&app));
  return app.openingDialog;
}

}  // namespace kivora::app
