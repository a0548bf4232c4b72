#include "ui/tooltips.h"

#include <commctrl.h>

namespace kivora::ui {

namespace {

// Wide enough for a sentence, narrow enough that long texts wrap; a width
// also lets line breaks in the texts take effect.
constexpr int kMaxTipWidth = 420;

}  // namespace

HWND CreateTooltips(HWND dialog, std::span<const TooltipEntry> table) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
  HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog,
                              nullptr, instance, nullptr);
  if (!tips) return nullptr;
  SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
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

}  // namespace kivora::ui
