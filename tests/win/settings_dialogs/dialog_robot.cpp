#include "win/settings_dialogs/dialog_robot.h"

namespace kivora::test {

namespace {

constexpr DWORD kStep = 20;

struct BoxSearch {
  const std::wstring* caption;
  HWND found;
};

// A message box is a "#32770" window whose message is the static 0xFFFF.
BOOL CALLBACK findBox(HWND window, LPARAM search) {
  auto* s = reinterpret_cast<BoxSearch*>(search);
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (std::wstring(cls) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  if (windowText(window) != *s->caption || !GetDlgItem(window, 0xFFFF)) return TRUE;
  s->found = window;
  return FALSE;
}

}  // namespace

INT_PTR runWithRobot(const std::function<INT_PTR()>& modal, const std::function<void()>& robot) {
  INT_PTR result = 0;
  runWithDriver([&] { result = modal(); }, robot);
  return result;
}

void tick(HWND dialog, int id, bool ticked) {
  SendDlgItemMessageW(dialog, id, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool isTicked(HWND dialog, int id) {
  return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void choose(HWND dialog, int id, int index) {
  SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

int chosen(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
}

void type(HWND dialog, int id, const std::wstring& text) {
  SendDlgItemMessageW(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool isEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

HWND waitForMessageBox(const std::wstring& caption, DWORD timeoutMs) {
  for (DWORD waited = 0; waited <= timeoutMs; waited += kStep) {
    BoxSearch search{&caption, nullptr};
    EnumWindows(findBox, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(kStep);
  }
  return nullptr;
}

std::wstring answerBox(const std::wstring& caption, int button) {
  HWND box = waitForMessageBox(caption);
  if (!box) return {};
  const std::wstring message = messageBoxText(box);
  pressButton(box, button);
  waitUntilClosed(box);
  return message;
}

}  // namespace kivora::test
