#pragma once
// The arithmetic and decisions behind the dialog look, kept free of Win32 so
// they can be checked on their own: the dark-mode decision, the colours, the
// anchor layout, the enlargement of dialogs and the hotkey text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kivora::ui {

// Colours as COLORREF values (0x00BBGGRR); the greys read the same either way.
namespace colour {
inline constexpr std::uint32_t kDialogBackground = 0x383838;
inline constexpr std::uint32_t kText = 0xFFFFFF;
inline constexpr std::uint32_t kListBackground = 0x2D2D2D;
inline constexpr std::uint32_t kListText = 0xFEFEFE;
inline constexpr std::uint32_t kDisabled = 0x7F7F7F;
inline constexpr std::uint32_t kCheckFill = 0x4C4C4C;
inline constexpr std::uint32_t kHotkeyFocused = 0xD77800;  // RGB 0, 120, 215
inline constexpr std::uint32_t kHotkeyBorder = 0x505050;
}  // namespace colour

// `colour`, or where it is the `avoided` colour (a window's transparent one)
// the colour next to it, which no eye tells apart.
std::uint32_t apartFrom(std::uint32_t colour, std::uint32_t avoided);

// Dark when the system is Windows 10 or later and the user's
// AppsUseLightTheme value is 0; a value that could not be read means light.
bool darkModeFor(unsigned majorVersion, std::optional<std::uint32_t> appsUseLightTheme);

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

// How a control follows the edges of its resizable dialog.
enum class Anchor : int {
  None = 0,
  Right = 1,            // keeps its distance to the right edge
  Bottom = 2,           // keeps its distance to the bottom edge
  BottomRight = 3,      // moves with the bottom-right corner
  GrowWidth = 4,        // keeps its right margin by growing in width
  GrowBoth = 5,         // keeps the right and bottom margins by growing
  GrowWidthBottom = 6,  // grows in width and keeps its distance to the bottom
};

// Where a control goes when the client area changes from `attached` (its size
// when the control's rectangle `original` was recorded) to `now`.
Rect anchoredRect(Anchor anchor, Rect original, Size attached, Size now);

// The enlargement factor that makes a window fill as much of the work area as
// it can without changing its shape; 0 when either size is empty.
double enlargementFactor(Size workArea, Size window);

// A rectangle multiplied by the factor, rounded to whole pixels.
Rect scaleRect(Rect r, double factor);
int scaleLength(int length, double factor);

// Where a window of `window` size goes inside the work area:
// 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right, 5 centred.
// Any other placement leaves the window where it is (nullopt).
struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};
std::optional<Point> placeInWorkArea(Rect workArea, Size window, int placement);

// The hotkey control's text: "Ctrl + ", "Shift + ", "Alt + " for the modifiers
// present (HOTKEYF_SHIFT 1, HOTKEYF_CONTROL 2, HOTKEYF_ALT 4) then the key's
// name; `noneText` when there is neither key nor modifier.
std::u16string hotkeyText(unsigned modifiers, bool hasKey, std::u16string_view keyName,
                          std::u16string_view noneText);

}  // namespace kivora::ui
