#include "ui/enlarge.h"

#include <utility>
#include <vector>

#include "ui/look_rules.h"

namespace kivora::ui {

namespace {

std::vector<HWND> directChildren(HWND dialog) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

Rect toRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

Rect workAreaNear(HWND window) {
  RECT bounds;
  GetWindowRect(window, &bounds);
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  HMONITOR monitor = MonitorFromPoint({bounds.left, bounds.top}, MONITOR_DEFAULTTONEAREST);
  if (!monitor || !GetMonitorInfoW(monitor, &info)) {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return toRect(work);
  }
  return toRect(info.rcWork);
}

HFONT fontOf(HWND window) {
  return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

win32::UniqueFont scaledFont(HFONT font, double factor) {
  LOGFONTW lf = {};
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (GetObjectW(font, sizeof lf, &lf) != sizeof lf) return {};
  lf.lfHeight = scaleLength(lf.lfHeight, factor);
  lf.lfWidth = scaleLength(lf.lfWidth, factor);
  lf.lfWeight = factor > 1.0 ? 600 : FW_NORMAL;
  return win32::UniqueFont(CreateFontIndirectW(&lf));
}

void setFontOnChildren(HWND dialog, HFONT font) {
  for (HWND child : directChildren(dialog)) {
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}

}  // namespace

DialogEnlargement::~DialogEnlargement() {
  if (enlargedFont_ && dialog_ && IsWindow(dialog_)) RestoreDialog(*this);
}

DialogEnlargement::DialogEnlargement(DialogEnlargement&& other) noexcept
    : dialog_(std::exchange(other.dialog_, nullptr)),
      factor_(other.factor_),
      previousFont_(std::exchange(other.previousFont_, nullptr)),
      enlargedFont_(std::move(other.enlargedFont_)) {}

DialogEnlargement& DialogEnlargement::operator=(DialogEnlargement&& other) noexcept {
  if (this != &other) {
    if (enlargedFont_ && dialog_ && IsWindow(dialog_)) RestoreDialog(*this);
    dialog_ = std::exchange(other.dialog_, nullptr);
    factor_ = other.factor_;
    previousFont_ = std::exchange(other.previousFont_, nullptr);
    enlargedFont_ = std::move(other.enlargedFont_);
  }
  return *this;
}

DialogEnlargement EnlargeDialog(HWND dialog, int placement) {
  DialogEnlargement result;
  RECT bounds;
  if (!dialog || !GetWindowRect(dialog, &bounds)) return result;
  const Rect window = toRect(bounds);
  const Rect work = workAreaNear(dialog);
  const double factor =
      enlargementFactor({work.width(), work.height()}, {window.width(), window.height()});
  if (factor <= 0.0) return result;
  result.dialog_ = dialog;
  result.factor_ = factor;

  const Size enlarged{scaleLength(window.width(), factor), scaleLength(window.height(), factor)};
  SetWindowPos(dialog, nullptr, 0, 0, enlarged.width, enlarged.height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  const std::vector<HWND> children = directChildren(dialog);
  for (HWND child : children) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&r), 2);
    const Rect scaled = scaleRect(toRect(r), factor);
    SetWindowPos(child, nullptr, scaled.left, scaled.top, scaled.width(), scaled.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (!children.empty()) {
    result.previousFont_ = fontOf(children.front());
    result.enlargedFont_ = scaledFont(result.previousFont_, factor);
    if (result.enlargedFont_) setFontOnChildren(dialog, result.enlargedFont_.get());
  }

  if (auto place = placeInWorkArea(work, enlarged, placement)) {
    SetWindowPos(dialog, nullptr, place->x, place->y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return result;
}

void RestoreDialog(DialogEnlargement& enlargement) {
  if (!enlargement.enlargedFont_) return;
  if (enlargement.dialog_ && IsWindow(enlargement.dialog_)) {
    setFontOnChildren(enlargement.dialog_, enlargement.previousFont_);
  }
  enlargement.enlargedFont_.reset();
}

}  // namespace kivora::ui
