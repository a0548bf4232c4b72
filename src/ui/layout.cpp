#include "ui/layout.h"

#include "ui/dialog_dpi.h"

namespace kivora::ui {

namespace {

Size clientSize(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

// From the layout's recorded DPI to the dialog's present one.
double scaling(const DialogLayout& layout) {
  return static_cast<double>(layoutDpi(layout.dialog())) / layout.attachedDpi();
}

SIZE scaleSize(SIZE size, double factor) {
  return {scaleLength(size.cx, factor), scaleLength(size.cy, factor)};
}

Rect clientRectOf(HWND dialog, HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

DialogLayout AttachLayout(HWND dialog, std::span<const LayoutAnchor> table) {
  DialogLayout layout;
  layout.dialog_ = dialog;
  layout.attachedDpi_ = layoutDpi(dialog);
  layout.attachedClient_ = clientSize(dialog);
  for (const LayoutAnchor& entry : table) {
    if (entry.id == 0) break;
    HWND control = GetDlgItem(dialog, entry.id);
    if (!control) continue;
    layout.controls_.push_back({control, entry.anchor, clientRectOf(dialog, control)});
  }
  RECT window;
  GetWindowRect(dialog, &window);
  layout.minTrack_ = {window.right - window.left, window.bottom - window.top};
  return layout;
}

void ApplyLayout(const DialogLayout& layout, bool repaint) {
  if (!layout.dialog_ || layout.controls_.empty()) return;
  const Size now = clientSize(layout.dialog_);
  constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE;
  const double factor = scaling(layout);
  const Rect attachedClient =
      scaleRect({0, 0, layout.attachedClient_.width, layout.attachedClient_.height}, factor);
  auto target = [&](const DialogLayout::Control& c) {
    return anchoredRect(c.anchor, scaleRect(c.attached, factor),
                        {attachedClient.width(), attachedClient.height()}, now);
  };
  // One batch moves everything at once; should it fail, the moves it held are
  // lost, so every control is moved on its own instead.
  HDWP batch = BeginDeferWindowPos(static_cast<int>(layout.controls_.size()));
  for (const auto& control : layout.controls_) {
    if (!batch) break;
    const Rect r = target(control);
    batch = DeferWindowPos(batch, control.window, nullptr, r.left, r.top, r.width(), r.height(),
                           kFlags);
  }
  if (!batch || !EndDeferWindowPos(batch)) {
    for (const auto& control : layout.controls_) {
      const Rect r = target(control);
      SetWindowPos(control.window, nullptr, r.left, r.top, r.width(), r.height(), kFlags);
    }
  }
  if (repaint) InvalidateRect(layout.dialog_, nullptr, TRUE);
}

void layoutMinMaxInfo(const DialogLayout& layout, LPARAM minMaxInfo) {
  auto* info = reinterpret_cast<MINMAXINFO*>(minMaxInfo);
  if (!info) return;
  const double factor = scaling(layout);
  const SIZE minimum = scaleSize(layout.minTrackSize(), factor);
  const SIZE maximum = scaleSize(layout.maxTrackSize(), factor);
  if (minimum.cx > 0 && minimum.cy > 0) info->ptMinTrackSize = {minimum.cx, minimum.cy};
  if (maximum.cx > 0 && maximum.cy > 0) info->ptMaxTrackSize = {maximum.cx, maximum.cy};
}

}  // namespace kivora::ui
