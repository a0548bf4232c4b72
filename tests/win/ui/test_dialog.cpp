#include "win/ui/test_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "platform/win32/handles.h"
#include "ui/dialog_look.h"

namespace kivora::test {

namespace {

// DLGTEMPLATE and its items, each item DWORD-aligned, as DialogBoxIndirect reads them.
class TemplateWriter {
 public:
  void dialog(DWORD style, short cx, short cy, const wchar_t* title, short itemCount) {
    putDword(style | DS_SETFONT);
    putDword(0);
    putWord(static_cast<WORD>(itemCount));
    putShort(0), putShort(0), putShort(cx), putShort(cy);
    putWord(0);  // no menu
    putWord(0);  // standard class
    putString(title);
    putWord(8);
    putString(L"MS Shell Dlg");
  }
  void item(const wchar_t* cls, const wchar_t* text, WORD id, DWORD style, short x, short y,
            short cx, short cy) {
    align();
    putDword(style | WS_CHILD | WS_VISIBLE);
    putDword(0);
    putShort(x), putShort(y), putShort(cx), putShort(cy);
    putWord(id);
    putString(cls);
    putString(text);
    putWord(0);  // no creation data
  }
  const DLGTEMPLATE* data() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void putWord(WORD w) { words_.push_back(w); }
  void putShort(short s) { words_.push_back(static_cast<WORD>(s)); }
  void putDword(DWORD d) {
    putWord(LOWORD(d));
    putWord(HIWORD(d));
  }
  void putString(const wchar_t* s) {
    for (; *s; ++s) putWord(*s);
    putWord(0);
  }
  void align() {
    if (words_.size() % 2) putWord(0);
  }
  std::vector<WORD> words_;
};

INT_PTR CALLBACK testDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    return TRUE;
  }
  auto* state = reinterpret_cast<TestDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (auto answered = ui::dialogLookMessage(dialog, msg, wParam, lParam)) return *answered;
  switch (msg) {
    case WM_SIZE:
      if (state) {
        ++state->sizeMessages;
        if (state->layout) ui::ApplyLayout(*state->layout);
      }
      return TRUE;
    case WM_GETMINMAXINFO:
      if (state && state->layout) {
        ui::layoutMinMaxInfo(*state->layout, lParam);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

HWND createTestDialog(TestDialogState& state, bool visible) {
  static const bool commonControls = [] {
    INITCOMMONCONTROLSEX icc = {sizeof icc,
                                ICC_WIN95_CLASSES | ICC_LISTVIEW_CLASSES | ICC_HOTKEY_CLASS};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)commonControls;
  TemplateWriter t;
  t.dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | (visible ? WS_VISIBLE : 0), 200,
           120, L"Kivora look test", 9);
  t.item(L"Button", L"OK", kOk, BS_DEFPUSHBUTTON | WS_TABSTOP, 140, 100, 50, 14);
  t.item(L"Static", L"A label", kLabel, SS_LEFT, 7, 7, 100, 10);
  t.item(L"Button", L"Check", kCheck, BS_AUTOCHECKBOX | WS_TABSTOP, 7, 20, 80, 10);
  t.item(L"Button", L"Radio", kRadio, BS_AUTORADIOBUTTON, 7, 32, 80, 10);
  t.item(L"Button", L"Group", kGroup, BS_GROUPBOX, 100, 20, 90, 40);
  t.item(L"Edit", L"", kEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 46, 80, 12);
  t.item(L"SysListView32", L"", kList, LVS_REPORT | WS_BORDER, 7, 62, 120, 30);
  t.item(L"msctls_hotkey32", L"", kHotkey, WS_BORDER | WS_TABSTOP, 130, 62, 60, 12);
  t.item(L"Static", L"Status", kStatus, SS_RIGHT, 100, 100, 30, 10);
  return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t.data(), nullptr, testDialogProc,
                                    reinterpret_cast<LPARAM>(&state));
}

void pumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

int Picture::count(COLORREF colour) const {
  return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
}

int Picture::countIn(COLORREF colour, RECT area) const {
  int n = 0;
  for (int y = std::max(0L, area.top); y < std::min<LONG>(height, area.bottom); ++y) {
    for (int x = std::max(0L, area.left); x < std::min<LONG>(width, area.right); ++x)
      n += at(x, y) == colour;
  }
  return n;
}

Picture printClient(HWND control, COLORREF background) {
  RECT client;
  GetClientRect(control, &client);
  Picture picture;
  picture.width = client.right;
  picture.height = client.bottom;
  win32::WindowDC screen(nullptr);
  win32::MemoryDC dc(screen.get());
  win32::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), picture.width, picture.height));
  HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
  win32::UniqueBrush fill(CreateSolidBrush(background));
  FillRect(dc.get(), &client, fill.get());
  SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()),
               PRF_CLIENT | PRF_ERASEBKGND);
  SelectObject(dc.get(), old);

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> raw(static_cast<size_t>(picture.width) * picture.height);
  GetDIBits(dc.get(), bitmap.get(), 0, picture.height, raw.data(), &info, DIB_RGB_COLORS);
  picture.pixels.reserve(raw.size());
  for (DWORD p : raw) picture.pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
  return picture;
}

}  // namespace kivora::test
