#include "ui/dark_controls.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "ui/dialog_dpi.h"
#include "ui/dialog_look.h"
#include "ui/look_rules.h"

namespace kivora::ui {

namespace {

constexpr UINT_PTR kDisabledTextSubclass = 0x4B01;
constexpr UINT_PTR kHotkeySubclass = 0x4B02;

// Sizes in pixels at 96 DPI; each control scales them to the DPI it is laid
// out for when it paints.
constexpr int kBoxSize = 14;
constexpr int kBoxTextOffset = 18;
constexpr int kMarkInset = 4;         // the radio's dot and the third state's square
constexpr int kGroupCaptionLeft = 8;  // where a group box's caption starts
constexpr int kGroupCaptionPad = 2;   // the gap on each side of the caption
constexpr int kHotkeyInsetX = 6;
constexpr int kHotkeyInsetY = 2;

// The tick of a ticked box: three points in the 14-pixel box.
constexpr POINT kTick[] = {{3, 7}, {6, 10}, {11, 3}};

using UniquePen = win32::Unique<HPEN, win32::GdiTraits<HPEN>>;

enum class TextKind { None, Label, CheckBox, RadioButton, GroupBox };

TextKind textKindOf(HWND control) {
  wchar_t cls[32];
  const int n = GetClassNameW(control, cls, 32);
  const std::wstring_view name(cls, n > 0 ? n : 0);
  const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
  if (name == L"Static") {
    switch (style & SS_TYPEMASK) {
      case SS_LEFT:
      case SS_CENTER:
      case SS_RIGHT:
        return TextKind::Label;
      default:
        return TextKind::None;
    }
  }
  if (name == L"Button") {
    switch (style & BS_TYPEMASK) {
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
        return TextKind::CheckBox;
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        return TextKind::RadioButton;
      case BS_GROUPBOX:
        return TextKind::GroupBox;
      default:
        return TextKind::None;
    }
  }
  return TextKind::None;
}

std::wstring windowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  const int n = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(n > 0 ? n : 0);
  return text;
}

// Selects an object into a DC for one scope.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~Selected() {
    if (previous_) SelectObject(dc_, previous_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// BeginPaint and EndPaint around one WM_PAINT.
class PaintDC {
 public:
  explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {}
  ~PaintDC() { EndPaint(window_, &ps_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT ps_ = {};
  HDC dc_;
};

HFONT fontOf(HWND window) {
  return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

void paintLabel(HWND control, HDC dc, const RECT& client, const std::wstring& text) {
  const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
  UINT flags = DT_WORDBREAK;
  switch (style & SS_TYPEMASK) {
    case SS_CENTER:
      flags |= DT_CENTER;
      break;
    case SS_RIGHT:
      flags |= DT_RIGHT;
      break;
    default:
      flags |= DT_LEFT;
      break;
  }
  if (style & SS_NOPREFIX) flags |= DT_NOPREFIX;
  RECT measured = client;
  DrawTextW(dc, text.c_str(), -1, &measured, flags | DT_CALCRECT);
  RECT target = client;
  const int spare = (client.bottom - client.top) - (measured.bottom - measured.top);
  target.top += std::max(0, spare / 2);
  DrawTextW(dc, text.c_str(), -1, &target, flags);
}

void paintBoxMark(HWND control, HDC dc, const RECT& box, bool radio) {
  const LRESULT state = SendMessageW(control, BM_GETCHECK, 0, 0);
  if (state == BST_UNCHECKED) return;
  UniquePen pen(CreatePen(PS_SOLID, 2 * lineWidthFor(control), colour::kDisabled));
  win32::UniqueBrush fill(CreateSolidBrush(colour::kDisabled));
  Selected p(dc, pen.get());
  Selected b(dc, fill.get());
  const int inset = scaledFor(control, kMarkInset);
  if (radio) {
    Ellipse(dc, box.left + inset, box.top + inset, box.right - inset, box.bottom - inset);
  } else if (state == BST_INDETERMINATE) {
    Rectangle(dc, box.left + inset, box.top + inset, box.right - inset, box.bottom - inset);
  } else {
    // A check mark, so a disabled ticked box still reads as ticked.
    POINT tick[std::size(kTick)];
    for (std::size_t i = 0; i < std::size(kTick); ++i) {
      tick[i] = {box.left + scaledFor(control, kTick[i].x),
                 box.top + scaledFor(control, kTick[i].y)};
    }
    Polyline(dc, tick, static_cast<int>(std::size(tick)));
  }
}

void paintCheckOrRadio(HWND control, HDC dc, const RECT& client, const std::wstring& text,
                       bool radio) {
  const int boxSize = scaledFor(control, kBoxSize);
  const int top = client.top + ((client.bottom - client.top) - boxSize) / 2;
  const RECT box = {client.left, top, client.left + boxSize, top + boxSize};
  {
    UniquePen outline(CreatePen(PS_SOLID, lineWidthFor(control), colour::kDisabled));
    win32::UniqueBrush fill(CreateSolidBrush(colour::kCheckFill));
    Selected p(dc, outline.get());
    Selected b(dc, fill.get());
    if (radio) {
      Ellipse(dc, box.left, box.top, box.right, box.bottom);
    } else {
      Rectangle(dc, box.left, box.top, box.right, box.bottom);
    }
  }
  paintBoxMark(control, dc, box, radio);
  RECT textRect = client;
  textRect.left += scaledFor(control, kBoxTextOffset);
  OffsetRect(&textRect, 0, 1);
  DrawTextW(dc, text.c_str(), -1, &textRect, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
}

// A group box keeps its frame and its caption at the top; filling it would
// paint over the controls inside.
void paintGroupBox(HWND control, HDC dc, const RECT& client, const std::wstring& text) {
  RECT caption = {0, 0, 0, 0};
  DrawTextW(dc, text.empty() ? L" " : text.c_str(), -1, &caption, DT_SINGLELINE | DT_CALCRECT);
  const int captionHeight = caption.bottom - caption.top;
  {
    UniquePen outline(CreatePen(PS_SOLID, lineWidthFor(control), colour::kDisabled));
    Selected p(dc, outline.get());
    Selected b(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, client.left, client.top + captionHeight / 2, client.right, client.bottom);
  }
  if (text.empty()) return;
  const int left = client.left + scaledFor(control, kGroupCaptionLeft);
  const int pad = scaledFor(control, kGroupCaptionPad);
  RECT label = {left, client.top, left + (caption.right - caption.left) + 2 * pad,
                client.top + captionHeight};
  label.right = std::min(label.right, client.right);
  FillRect(dc, &label, darkBrush());
  label.left += pad;
  DrawTextW(dc, text.c_str(), -1, &label, DT_LEFT | DT_SINGLELINE | DT_TOP);
}

bool paintsDisabled(HWND control) { return darkLook() && !IsWindowEnabled(control); }

void paintDisabledText(HWND control, HDC dc) {
  const TextKind kind = textKindOf(control);
  RECT client;
  GetClientRect(control, &client);
  const std::wstring text = windowText(control);
  if (kind != TextKind::GroupBox) FillRect(dc, &client, darkBrush());
  Selected font(dc, fontOf(control));
  SetTextColor(dc, colour::kDisabled);
  SetBkMode(dc, TRANSPARENT);
  switch (kind) {
    case TextKind::Label:
      paintLabel(control, dc, client, text);
      break;
    case TextKind::CheckBox:
      paintCheckOrRadio(control, dc, client, text, false);
      break;
    case TextKind::RadioButton:
      paintCheckOrRadio(control, dc, client, text, true);
      break;
    case TextKind::GroupBox:
      paintGroupBox(control, dc, client, text);
      break;
    case TextKind::None:
      break;
  }
}

LRESULT CALLBACK disabledTextProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR) {
  switch (msg) {
    case WM_PAINT:
      if (paintsDisabled(control)) {
        PaintDC dc(control);
        paintDisabledText(control, dc.get());
        return 0;
      }
      break;
    case WM_PRINTCLIENT:
      if (paintsDisabled(control)) {
        paintDisabledText(control, reinterpret_cast<HDC>(wParam));
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      if (paintsDisabled(control) && textKindOf(control) != TextKind::GroupBox) return 1;
      break;
    case WM_DPICHANGED_AFTERPARENT:
      if (paintsDisabled(control)) InvalidateRect(control, nullptr, TRUE);
      break;
    case WM_ENABLE:
    case WM_SETTEXT:
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_UPDATEUISTATE: {
      // These make the control draw itself at once, outside WM_PAINT.
      const LRESULT result = DefSubclassProc(control, msg, wParam, lParam);
      if (paintsDisabled(control)) InvalidateRect(control, nullptr, TRUE);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(control, disabledTextProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(control, msg, wParam, lParam);
}

struct HotkeyState {
  std::wstring noneText;
};

// Asks a subclassed hotkey control for its state (nothing answers it otherwise).
UINT hotkeyStateMessage() {
  static const UINT message = RegisterWindowMessageW(L"Kivora.DarkHotkey.State");
  return message;
}

std::u16string keyNameOf(UINT vk, bool extended) {
  const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  const LONG lParam = static_cast<LONG>((scan << 16) | (extended ? (1u << 24) : 0u));
  wchar_t name[64] = {};
  const int n = GetKeyNameTextW(lParam, name, 64);
  return win32::fromWide(name, n > 0 ? static_cast<size_t>(n) : 0);
}

void paintHotkey(HWND control, HDC dc, const HotkeyState& state) {
  RECT client;
  GetClientRect(control, &client);
  FillRect(dc, &client, darkBrush());
  const WORD hotkey = LOWORD(SendMessageW(control, HKM_GETHOTKEY, 0, 0));
  const UINT vk = LOBYTE(hotkey);
  const UINT modifiers = HIBYTE(hotkey);
  const std::u16string text =
      hotkeyText(modifiers, vk != 0, keyNameOf(vk, (modifiers & HOTKEYF_EXT) != 0),
                 std::u16string_view(reinterpret_cast<const char16_t*>(state.noneText.c_str())));
  {
    Selected font(dc, fontOf(control));
    SetTextColor(dc, colour::kText);
    SetBkMode(dc, TRANSPARENT);
    RECT inset = client;
    InflateRect(&inset, -scaledFor(control, kHotkeyInsetX), -scaledFor(control, kHotkeyInsetY));
    DrawTextW(dc, win32::wide(text), -1, &inset,
              DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  win32::UniqueBrush border(
      CreateSolidBrush(GetFocus() == control ? colour::kHotkeyFocused : colour::kHotkeyBorder));
  RECT frame = client;
  for (int line = lineWidthFor(control); line > 0; --line) {
    FrameRect(dc, &frame, border.get());
    InflateRect(&frame, -1, -1);
  }
}

LRESULT CALLBACK hotkeyProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                            DWORD_PTR ref) {
  auto* state = reinterpret_cast<HotkeyState*>(ref);
  if (msg == hotkeyStateMessage() && msg != 0) return reinterpret_cast<LRESULT>(state);
  switch (msg) {
    case WM_PAINT:
      if (darkLook()) {
        PaintDC dc(control);
        paintHotkey(control, dc.get(), *state);
        return 0;
      }
      break;
    case WM_PRINTCLIENT:
      if (darkLook()) {
        paintHotkey(control, reinterpret_cast<HDC>(wParam), *state);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      if (darkLook()) return 1;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const LRESULT result = DefSubclassProc(control, msg, wParam, lParam);
      if (darkLook()) InvalidateRect(control, nullptr, TRUE);  // the border follows the focus
      return result;
    }
    case WM_DPICHANGED_AFTERPARENT:
      InvalidateRect(control, nullptr, TRUE);
      break;
    case WM_NCDESTROY: {
      RemoveWindowSubclass(control, hotkeyProc, id);
      std::unique_ptr<HotkeyState> owned(state);  // the subclass owned it
      break;
    }
    default:
      break;
  }
  return DefSubclassProc(control, msg, wParam, lParam);
}

}  // namespace

void DarkDisabledText(HWND control) {
  if (textKindOf(control) == TextKind::None) return;
  SetWindowSubclass(control, disabledTextProc, kDisabledTextSubclass, 0);
}

void DarkHotkey(HWND control, const wchar_t* noneText) {
  if (auto* existing =
          reinterpret_cast<HotkeyState*>(SendMessageW(control, hotkeyStateMessage(), 0, 0))) {
    existing->noneText = noneText ? noneText : L"";
    InvalidateRect(control, nullptr, TRUE);
    return;
  }
  auto state = std::make_unique<HotkeyState>(HotkeyState{noneText ? noneText : L""});
  // The subclass takes the state over and frees it with the control.
  if (SetWindowSubclass(control, hotkeyProc, kHotkeySubclass,
                        reinterpret_cast<DWORD_PTR>(state.get()))) {
    state.release();
  }
}

void subclassDarkControls(HWND dialog, const wchar_t* hotkeyNoneText) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[32];
    const int n = GetClassNameW(child, cls, 32);
    if (std::wstring_view(cls, n > 0 ? n : 0) == HOTKEY_CLASSW) {
      DarkHotkey(child, hotkeyNoneText);
    } else {
      DarkDisabledText(child);
    }
  }
}

}  // namespace kivora::ui
