#include "ui/message_box.h"

#include <commctrl.h>

#include <string_view>
#include <type_traits>

#include "ui/dialog_look.h"

namespace kivora::ui {

// Callers hand it on where MessageBoxW itself would go.
static_assert(std::is_same_v<MessageBoxFunction, decltype(&MessageBoxW)>);
static_assert(std::is_same_v<decltype(&ThemedMessageBox), decltype(&MessageBoxW)>);

namespace {

constexpr UINT_PTR kDarkBoxSubclass = 0x4B56;  // "KV"

// The hook lives only on the thread that shows the box, and only while it is
// up; nested boxes share it.
thread_local HHOOK boxHook = nullptr;
thread_local int boxDepth = 0;

LRESULT CALLBACK darkBoxProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                             DWORD_PTR) {
  switch (msg) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      if (HBRUSH brush = ControlColours(reinterpret_cast<HDC>(wParam))) {
        return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(box, darkBoxProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(box, msg, wParam, lParam);
}

bool isDialogWindow(HWND window) {
  wchar_t cls[16];
  const int n = GetClassNameW(window, cls, 16);
  return n > 0 && std::wstring_view(cls, n) == L"#32770";
}

LRESULT CALLBACK boxHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND || code == HCBT_ACTIVATE) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (isDialogWindow(window)) {
      // At creation the box has no controls yet; activation comes when it has.
      SetWindowSubclass(window, darkBoxProc, kDarkBoxSubclass, 0);
      if (code == HCBT_ACTIVATE) ThemeDialog(window);
    }
  }
  return CallNextHookEx(boxHook, code, wParam, lParam);
}

class BoxHookScope {
 public:
  BoxHookScope() {
    if (boxDepth++ == 0)
      boxHook = SetWindowsHookExW(WH_CBT, boxHookProc, nullptr, GetCurrentThreadId());
  }
  ~BoxHookScope() {
    if (--boxDepth == 0 && boxHook) {
      UnhookWindowsHookEx(boxHook);
      boxHook = nullptr;
    }
  }
  BoxHookScope(const BoxHookScope&) = delete;
  BoxHookScope& operator=(const BoxHookScope&) = delete;
};

}  // namespace

int WINAPI ThemedMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  if (!darkLook()) return MessageBoxW(owner, text, caption, type);
  BoxHookScope hook;
  return MessageBoxW(owner, text, caption, type);
}

}  // namespace kivora::ui
