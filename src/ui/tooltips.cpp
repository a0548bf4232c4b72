#include "ui/tooltips.h"

#include <commctrl.h>

#include <string_view>

#include "platform/win32/dpi.h"
#include "ui/dialog_dpi.h"

namespace kivora::ui {

namespace {

// Wide enough for a sentence, narrow enough that long texts wrap; a width
// also lets line breaks in the texts take effect. In pixels at 96 DPI.
constexpr int kMaxTipWidth = 420;

struct TooltipSearch {
  HWND dialog;
  std::vector<HWND> found;
};

BOOL CALLBACK collectTooltip(HWND window, LPARAM lParam) {
  auto& search = *reinterpret_cast<TooltipSearch*>(lParam);
  wchar_t cls[64];
  const int n = GetClassNameW(window, cls, 64);
  if (std::wstring_view(cls, n > 0 ? n : 0) == TOOLTIPS_CLASSW &&
      GetWindow(window, GW_OWNER) == search.dialog) {
    search.found.push_back(window);
  }
  return TRUE;
}

}  // namespace

HWND CreateTooltips(HWND dialog, std::span<const TooltipEntry> table) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
  HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog,
                              nullptr, instance, nullptr);
  if (!tips) return nullptr;
  SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, scaledFor(dialog, kMaxTipWidth));
  for (const TooltipEntry& entry : table) {
    if (entry.id == 0 || !entry.text) break;
    HWND control = GetDlgItem(dialog, entry.id);
    if (!control) continue;
    TOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(entry.text);
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  return tips;
}

std::vector<HWND> tooltipsOf(HWND dialog) {
  TooltipSearch search{dialog, {}};
  EnumThreadWindows(GetWindowThreadProcessId(dialog, nullptr), collectTooltip,
                    reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void rescaleTooltips(HWND dialog, UINT dpi) {
  for (HWND tips : tooltipsOf(dialog)) {
    SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, win32::scaleForDpi(kMaxTipWidth, dpi));
  }
}

}  // namespace kivora::ui
