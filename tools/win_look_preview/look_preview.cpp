// Shows Kivora's icons, pictures, a dialog and a message box as users see
// them, for screenshots (tools/look-screenshots). Each view closes itself
// after the given number of milliseconds.
//
//   look_preview.exe icons|pictures|dialog-light|dialog-dark|box-light|box-dark [ms]

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <string>
#include <vector>

#include "app/png_resource.h"
#include "app/tray_icons.h"
#include "platform/win32/handles.h"
#include "resource_ids.h"
#include "ui/dark_controls.h"
#include "ui/dialog_look.h"
#include "ui/message_box.h"
#include "ui/tooltips.h"

namespace {

namespace app = kivora::app;
namespace ui = kivora::ui;
namespace win32 = kivora::win32;

constexpr UINT_PTR kCloseTimer = 1;
constexpr int kScale = 3;
constexpr int kCell = 16 * kScale + 12;

HMODULE kivoraResources() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (wchar_t* slash = wcsrchr(path, L'\\')) slash[1] = 0;
  wcscat_s(path, L"Kivora.exe");
  return LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

void runLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(GetActiveWindow(), &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

// ---- icons: the single icons, then the 48 composed ones by state, enlarged,
// on a light and a dark taskbar colour.

struct Gallery {
  app::TrayIcons icons;
  win32::UniqueIcon appIcon;
};
Gallery* gallery = nullptr;

constexpr int kGalleryWidth = 16 * kCell + 90;
constexpr int kGalleryHalf = 5 * kCell + 30;

void drawGalleryHalf(HDC dc, int top, COLORREF background, COLORREF text) {
  const int left = 0;
  RECT area = {left, top, kGalleryWidth, top + kGalleryHalf};
  win32::UniqueBrush fill(CreateSolidBrush(background));
  FillRect(dc, &area, fill.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text);
  const HICON singles[] = {gallery->icons.watching.get(),
                           gallery->icons.paused.get(),
                           gallery->icons.keyChange.get(),
                           gallery->icons.deviceWatching.get(),
                           gallery->icons.devicePaused.get(),
                           gallery->icons.keyChangeDevice.get(),
                           gallery->appIcon.get()};
  const wchar_t* names[] = {L"130", L"131", L"129", L"175", L"176", L"174", L"107"};
  for (int i = 0; i < 7; ++i) {
    DrawIconEx(dc, left + 10 + i * kCell, top + 10, singles[i], 16 * kScale, 16 * kScale, 0,
               nullptr, DI_NORMAL);
    TextOutW(dc, left + 10 + i * kCell, top + 12 + 16 * kScale, names[i], 3);
  }
  const wchar_t* rows[] = {L"paused", L"watching", L"flash"};
  for (int i = 0; i < 48; ++i) {
    const int x = left + 10 + (i % 16) * kCell;
    const int y = top + 20 + kCell + (i / 16) * (kCell + 10);
    DrawIconEx(dc, x, y, gallery->icons.lockState[i].get(), 16 * kScale, 16 * kScale, 0, nullptr,
               DI_NORMAL);
    wchar_t label[8];
    const int n = swprintf(label, 8, L"%d", i);
    TextOutW(dc, x, y + 16 * kScale + 1, label, n);
    if (i % 16 == 15)
      TextOutW(dc, x + kCell, y + 16, rows[i / 16], static_cast<int>(wcslen(rows[i / 16])));
  }
}

LRESULT CALLBACK galleryProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      drawGalleryHalf(dc, 0, RGB(0xE8, 0xE8, 0xE8), RGB(0x20, 0x20, 0x20));
      drawGalleryHalf(dc, kGalleryHalf, RGB(0x20, 0x20, 0x20), RGB(0xE8, 0xE8, 0xE8));
      EndPaint(window, &ps);
      return 0;
    }
    case WM_TIMER:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, msg, wp, lp);
  }
}

int showIcons(HMODULE resources, UINT ms) {
  Gallery g;
  g.icons = app::loadTrayIcons(resources, false);
  g.appIcon.reset(static_cast<HICON>(
      LoadImageW(resources, MAKEINTRESOURCEW(IDI_KIVORA), IMAGE_ICON, 16, 16, 0)));
  gallery = &g;
  WNDCLASSW wc = {};
  wc.lpfnWndProc = galleryProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"KivoraIconGallery";
  RegisterClassW(&wc);
  HWND window =
      CreateWindowExW(0, wc.lpszClassName, L"Kivora tray icons", WS_POPUP | WS_VISIBLE, 0, 0,
                      kGalleryWidth, 2 * kGalleryHalf, nullptr, nullptr, wc.hInstance, nullptr);
  SetTimer(window, kCloseTimer, ms, nullptr);
  runLoop();
  gallery = nullptr;
  return 0;
}

// ---- pictures: the two PNG resources in picture controls.

int showPictures(HMODULE resources, UINT ms) {
  app::GdiplusSession gdiplus;
  win32::UniqueBitmap first = app::loadPngResource(resources, IDP_TRAY_HINT_WIN7);
  win32::UniqueBitmap second = app::loadPngResource(resources, IDP_TRAY_HINT_WIN10);
  HWND frame = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE | SS_WHITERECT, 0, 0, 520,
                               180, nullptr, nullptr, nullptr, nullptr);
  int x = 10;
  for (HBITMAP bitmap : {first.get(), second.get()}) {
    HWND picture = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_BITMAP, x, 10, 240,
                                   160, frame, nullptr, nullptr, nullptr);
    SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    x += 250;
  }
  SetTimer(nullptr, 0, ms, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
  runLoop();
  DestroyWindow(frame);
  return 0;
}

// ---- a dialog with every kind of control the look treats, in Japanese.

class TemplateWriter {
 public:
  void dialog(const wchar_t* title, short cx, short cy, short items) {
    putDword(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_SETFONT | DS_MODALFRAME);
    putDword(0);
    words_.push_back(static_cast<WORD>(items));
    putShorts({10, 10, cx, cy});
    words_.push_back(0);
    words_.push_back(0);
    putString(title);
    words_.push_back(9);
    putString(L"MS UI Gothic");
  }
  void item(const wchar_t* cls, const wchar_t* text, WORD id, DWORD style, short x, short y,
            short cx, short cy) {
    if (words_.size() % 2) words_.push_back(0);
    putDword(style | WS_CHILD | WS_VISIBLE);
    putDword(0);
    putShorts({x, y, cx, cy});
    words_.push_back(id);
    putString(cls);
    putString(text);
    words_.push_back(0);
  }
  const DLGTEMPLATE* data() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void putDword(DWORD d) {
    words_.push_back(LOWORD(d));
    words_.push_back(HIWORD(d));
  }
  void putShorts(std::initializer_list<short> values) {
    for (short v : values) words_.push_back(static_cast<WORD>(v));
  }
  void putString(const wchar_t* s) {
    for (; *s; ++s) words_.push_back(*s);
    words_.push_back(0);
  }
  std::vector<WORD> words_;
};

enum : WORD {
  kNumLabel = 100,
  kNumList,
  kCapsLabel,
  kCapsList,
  kSound,
  kNotify,
  kRadioOn,
  kRadioOff,
  kGroup,
  kDisabledLabel,
  kDisabledCheck,
  kHotkeyLabel,
  kHotkey,
  kList,
  kEdit,
  kDisabledRadio,
};

INT_PTR CALLBACK previewDialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  if (auto answered = ui::dialogLookMessage(dialog, msg, wp, lp)) return *answered;
  switch (msg) {
    case WM_INITDIALOG: {
      for (WORD id : {kNumList, kCapsList}) {
        for (const wchar_t* text : {L"ON", L"OFF", L"監視しない"}) {
          SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        }
        SendDlgItemMessageW(dialog, id, CB_SETCURSEL, 0, 0);
      }
      CheckDlgButton(dialog, kSound, BST_CHECKED);
      CheckDlgButton(dialog, kDisabledCheck, BST_CHECKED);
      CheckRadioButton(dialog, kRadioOn, kRadioOff, kRadioOn);
      CheckDlgButton(dialog, kDisabledRadio, BST_CHECKED);
      for (WORD id : {kDisabledLabel, kDisabledCheck, kDisabledRadio})
        EnableWindow(GetDlgItem(dialog, id), FALSE);
      SendDlgItemMessageW(dialog, kHotkey, HKM_SETHOTKEY,
                          MAKEWORD(VK_F5, HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
      SetDlgItemTextW(dialog, kEdit, L"メモ帳");
      HWND list = GetDlgItem(dialog, kList);
      LVCOLUMNW column = {};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      const wchar_t* headers[] = {L"ウインドウタイトルの一部", L"NumLock", L"CapsLock"};
      const int widths[] = {150, 70, 70};
      for (int i = 0; i < 3; ++i) {
        column.pszText = const_cast<wchar_t*>(headers[i]);
        column.cx = widths[i];
        ListView_InsertColumn(list, i, &column);
      }
      const wchar_t* rows[][3] = {{L"メモ帳", L"ON", L"OFF"}, {L"Excel", L"OFF", L"なし"}};
      for (int r = 0; r < 2; ++r) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = const_cast<wchar_t*>(rows[r][0]);
        ListView_InsertItem(list, &item);
        for (int c = 1; c < 3; ++c)
          ListView_SetItemText(list, r, c, const_cast<wchar_t*>(rows[r][c]));
      }
      static const ui::TooltipEntry tips[] = {
          {IDOK, L"設定を保存して閉じます。"}, {kSound, L"音で知らせます。"}, {0, nullptr}};
      ui::CreateTooltips(dialog, tips);
      ui::subclassDarkControls(dialog, L"なし");
      ui::ApplyTitleBar(dialog);
      SendMessageW(dialog, WM_THEMECHANGED, 0, 0);
      SetTimer(dialog, kCloseTimer, static_cast<UINT>(lp), nullptr);
      return TRUE;
    }
    case WM_TIMER:
    case WM_CLOSE:
      DestroyWindow(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) DestroyWindow(dialog);
      return TRUE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return TRUE;
    default:
      return FALSE;
  }
}

int showDialog(bool dark, UINT ms) {
  ui::setDarkMode(dark);
  TemplateWriter t;
  t.dialog(dark ? L"設定 - ダーク" : L"設定", 250, 200, 18);
  t.item(L"Static", L"NumLock(&N):", kNumLabel, SS_LEFT, 7, 9, 50, 10);
  t.item(L"ComboBox", L"", kNumList, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 60, 7, 70, 60);
  t.item(L"Static", L"CapsLock(&C):", kCapsLabel, SS_LEFT, 7, 25, 50, 10);
  t.item(L"ComboBox", L"", kCapsList, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 60, 23, 70, 60);
  t.item(L"Button", L"キー変更時に音を鳴らす(&S)", kSound, BS_AUTOCHECKBOX | WS_TABSTOP, 7, 42, 120,
         10);
  t.item(L"Button", L"通知のみ(&O)", kNotify, BS_AUTOCHECKBOX | WS_TABSTOP, 7, 55, 120, 10);
  t.item(L"Button", L"IME", kGroup, BS_GROUPBOX, 140, 5, 103, 62);
  t.item(L"Button", L"オン", kRadioOn, BS_AUTORADIOBUTTON | WS_GROUP, 148, 17, 80, 10);
  t.item(L"Button", L"オフ", kRadioOff, BS_AUTORADIOBUTTON, 148, 30, 80, 10);
  t.item(L"Button", L"無効の選択肢", kDisabledRadio, BS_AUTORADIOBUTTON, 148, 43, 80, 10);
  t.item(L"Static", L"無効なラベル (disabled label)", kDisabledLabel, SS_LEFT, 7, 70, 130, 10);
  t.item(L"Button", L"無効なチェック", kDisabledCheck, BS_AUTOCHECKBOX, 148, 70, 95, 10);
  t.item(L"Static", L"一時停止キー(&H):", kHotkeyLabel, SS_LEFT, 7, 88, 70, 10);
  t.item(L"msctls_hotkey32", L"", kHotkey, WS_BORDER | WS_TABSTOP, 80, 86, 90, 13);
  t.item(L"Edit", L"", kEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 175, 86, 68, 13);
  t.item(L"SysListView32", L"", kList, LVS_REPORT | LVS_SINGLESEL | WS_BORDER, 7, 104, 236, 70);
  t.item(L"Button", L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 137, 180, 50, 14);
  t.item(L"Button", L"キャンセル", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 193, 180, 50, 14);
  HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t.data(), nullptr,
                                           previewDialogProc, ms);
  if (!dialog) return 1;
  runLoop();
  return 0;
}

// ---- a message box.

VOID CALLBACK closeBox(HWND, UINT, UINT_PTR id, DWORD) {
  if (HWND box = FindWindowW(L"#32770", L"Kivora")) PostMessageW(box, WM_COMMAND, IDOK, 0);
  KillTimer(nullptr, id);
}

int showBox(bool dark, UINT ms) {
  ui::setDarkMode(dark);
  SetTimer(nullptr, 0, ms, closeBox);
  ui::ThemedMessageBox(
      nullptr,
      L"カスタムアイコンの合成に失敗しました。\r\n"
      L"「通知領域アイコンに各キーのロック状態を表示する」機能はうまく動作しません。",
      L"Kivora", MB_OK | MB_ICONERROR);
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const std::wstring view = argc > 1 ? argv[1] : L"icons";
  const UINT ms = argc > 2 ? static_cast<UINT>(_wtoi(argv[2])) : 4000;
  LocalFree(argv);
  INITCOMMONCONTROLSEX icc = {sizeof icc,
                              ICC_WIN95_CLASSES | ICC_LISTVIEW_CLASSES | ICC_HOTKEY_CLASS};
  InitCommonControlsEx(&icc);
  ui::EnableDarkApp();
  HMODULE resources = kivoraResources();
  if (view == L"icons") return resources ? showIcons(resources, ms) : 1;
  if (view == L"pictures") return resources ? showPictures(resources, ms) : 1;
  if (view == L"dialog-light") return showDialog(false, ms);
  if (view == L"dialog-dark") return showDialog(true, ms);
  if (view == L"box-light") return showBox(false, ms);
  if (view == L"box-dark") return showBox(true, ms);
  return 2;
}
