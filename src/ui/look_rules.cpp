#include "ui/look_rules.h"

#include <algorithm>
#include <cmath>

namespace kivora::ui {

bool darkModeFor(unsigned majorVersion, std::optional<std::uint32_t> appsUseLightTheme) {
  return majorVersion > 9 && appsUseLightTheme.has_value() && *appsUseLightTheme == 0;
}

std::uint32_t apartFrom(std::uint32_t colour, std::uint32_t avoided) {
  return colour == avoided ? colour ^ 0x010101u : colour;
}

Rect anchoredRect(Anchor anchor, Rect original, Size attached, Size now) {
  const int rightGap = attached.width - original.right;
  const int bottomGap = attached.height - original.bottom;
  const int width = original.width();
  const int height = original.height();
  Rect r = original;
  auto keepRight = [&] {
    r.right = now.width - rightGap;
    r.left = r.right - width;
  };
  auto keepBottom = [&] {
    r.bottom = now.height - bottomGap;
    r.top = r.bottom - height;
  };
  // A window made smaller than its controls allow must not turn them inside out.
  auto growRight = [&] { r.right = std::max(r.left, now.width - rightGap); };
  auto growBottom = [&] { r.bottom = std::max(r.top, now.height - bottomGap); };
  switch (anchor) {
    case Anchor::None:
      break;
    case Anchor::Right:
      keepRight();
      break;
    case Anchor::Bottom:
      keepBottom();
      break;
    case Anchor::BottomRight:
      keepRight();
      keepBottom();
      break;
    case Anchor::GrowWidth:
      growRight();
      break;
    case Anchor::GrowBoth:
      growRight();
      growBottom();
      break;
    case Anchor::GrowWidthBottom:
      growRight();
      keepBottom();
      break;
  }
  return r;
}

double enlargementFactor(Size workArea, Size window) {
  if (window.width <= 0 || window.height <= 0 || workArea.width <= 0 || workArea.height <= 0) {
    return 0.0;
  }
  return std::min(static_cast<double>(workArea.width) / window.width,
                  static_cast<double>(workArea.height) / window.height);
}

int scaleLength(int length, double factor) {
  return static_cast<int>(std::lround(length * factor));
}

Rect scaleRect(Rect r, double factor) {
  const int left = scaleLength(r.left, factor);
  const int top = scaleLength(r.top, factor);
  return {left, top, left + scaleLength(r.width(), factor), top + scaleLength(r.height(), factor)};
}

std::optional<Point> placeInWorkArea(Rect workArea, Size window, int placement) {
  const int left = workArea.left;
  const int top = workArea.top;
  const int right = workArea.right - window.width;
  const int bottom = workArea.bottom - window.height;
  switch (placement) {
    case 0:
      return Point{left, top};
    case 1:
      return Point{right, top};
    case 2:
      return Point{left, bottom};
    case 3:
      return Point{right, bottom};
    case 5:
      return Point{left + (workArea.width() - window.width) / 2,
                   top + (workArea.height() - window.height) / 2};
    default:
      return std::nullopt;
  }
}

std::u16string hotkeyText(unsigned modifiers, bool hasKey, std::u16string_view keyName,
                          std::u16string_view noneText) {
  constexpr unsigned kShift = 1, kControl = 2, kAlt = 4;
  if (!hasKey && (modifiers & (kShift | kControl | kAlt)) == 0) return std::u16string(noneText);
  std::u16string text;
  if (modifiers & kControl) text += u"Ctrl + ";
  if (modifiers & kShift) text += u"Shift + ";
  if (modifiers & kAlt) text += u"Alt + ";
  if (hasKey) text += keyName;
  return text;
}

}  // namespace kivora::ui
