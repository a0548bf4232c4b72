#include "win/settings_dialogs/dialog_robot.h"

#include <atomic>
#include <thread>
#include <vector>

namespace kivora::test {

namespace {

constexpr DWORD kStep = 20;

BOOL CALLBACK cancelDialog(HWND window, LPARAM) {
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (std::wstring(cls) == L"#32770") PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  return TRUE;
}

}  // namespace

INT_PTR runWithRobot(const std::function<INT_PTR()>& modal, const std::function<void()>& robot) {
  std::atomic<bool> done{false};
  const DWORD dialogThread = GetCurrentThreadId();
  std::thread player([&] {
    robot();
    for (int i = 0; i < 500 && !done; ++i) {
      EnumThreadWindows(dialogThread, cancelDialog, 0);
      Sleep(50);
    }
  });
  const INT_PTR result = modal();
  done = true;
  player.join();
  return result;
}

HWND waitForDialog(const std::wstring& title, DWORD timeoutMs) {
  for (DWORD waited = 0; waited <= timeoutMs; waited += kStep) {
    HWND found = FindWindowW(L"#32770", title.c_str());
    if (found && IsWindowVisible(found)) return found;
    Sleep(kStep);
  }
  return nullptr;
}

bool waitUntilClosed(HWND window, DWORD timeoutMs) {
  for (DWORD waited = 0; waited <= timeoutMs; waited += kStep) {
    if (!IsWindow(window)) return true;
    Sleep(kStep);
  }
  return false;
}

void press(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
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

std::wstring textOf(HWND window) {
  std::vector<wchar_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1);
  const int n = GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
  return std::wstring(buffer.data(), static_cast<std::size_t>(n > 0 ? n : 0));
}

std::wstring itemText(HWND dialog, int id) { return textOf(GetDlgItem(dialog, id)); }

bool isEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

namespace {

struct BoxSearch {
  const std::wstring* caption;
  HWND found;
};

// A message box is a "#32770" window whose message is the static 0xFFFF; a
// dialog may carry the same caption.
BOOL CALLBACK findBox(HWND window, LPARAM search) {
  auto* s = reinterpret_cast<BoxSearch*>(search);
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (std::wstring(cls) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  if (textOf(window) != *s->caption || !GetDlgItem(window, 0xFFFF)) return TRUE;
  s->found = window;
  return FALSE;
}

}  // namespace

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
  const std::wstring message = itemText(box, 0xFFFF);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  waitUntilClosed(box);
  return message;
}

}  // namespace kivora::test
