// Every dialog of Kivora in each of its languages, opened as users see it, at
// the DPI of the Wine prefix this program runs in (ctest runs it at 96, 144
// and 192): the dialog lies in the work area, the text of every label,
// button, check box and radio button fits its control in the control's own
// font, no control overlaps another or leaves the dialog, every control a
// keyboard can use is a tab stop, and no mnemonic is used twice.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "dialog_views.h"
#include "platform/win32/dpi.h"
#include "platform/win32/handles.h"
#include "win/dialog_driver.h"

namespace kivora::tools {
// Test names and failures name the view.
void PrintTo(const DialogView& view, std::ostream* out) {
  for (const wchar_t* c = view.name; *c; ++c) *out << static_cast<char>(*c);
}
}  // namespace kivora::tools

namespace kivora::test {
namespace {

using tools::DialogView;

std::wstring classOf(HWND window) {
  wchar_t cls[64] = {};
  const int n = GetClassNameW(window, cls, 64);
  return std::wstring(cls, n > 0 ? n : 0);
}

struct Control {
  HWND window;
  std::wstring cls;
  LONG style;
  RECT rect;  // in the dialog's client area
  std::wstring text;
};

std::vector<Control> visibleControls(HWND dialog) {
  std::vector<Control> controls;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&r), 2);
    controls.push_back(
        {child, classOf(child), GetWindowLongW(child, GWL_STYLE), r, windowText(child)});
  }
  return controls;
}

std::wstring describe(const Control& c) { return c.cls + L" \"" + c.text + L"\""; }

bool isGroupBox(const Control& c) {
  return c.cls == L"Button" && (c.style & BS_TYPEMASK) == BS_GROUPBOX;
}

bool isCheckOrRadio(const Control& c) {
  switch (c.style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return c.cls == L"Button" && !(c.style & BS_PUSHLIKE);
    default:
      return false;
  }
}

bool isTextStatic(const Control& c) {
  if (c.cls != L"Static") return false;
  switch (c.style & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_LEFTNOWORDWRAP:
    case SS_SIMPLE:
      return true;
    default:
      return false;
  }
}

// The space a control leaves its text: width and height, and whether the
// text may wrap. Check boxes and radio buttons keep the box and its gap (the
// larger of the system's and Kivora's own dark painting); push buttons their
// edges.
struct TextArea {
  int width;
  int height;
  bool wraps;
};

std::optional<TextArea> textAreaOf(const Control& c, UINT dpi) {
  const int width = c.rect.right - c.rect.left;
  const int height = c.rect.bottom - c.rect.top;
  if (c.text.empty()) return std::nullopt;
  if (isTextStatic(c)) {
    const UINT type = c.style & SS_TYPEMASK;
    return TextArea{width, height, type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE};
  }
  if (c.cls != L"Button") return std::nullopt;
  const bool multiline = (c.style & BS_MULTILINE) != 0;
  if (isGroupBox(c)) return TextArea{width - win32::scaleForDpi(12, dpi), height, false};
  if (isCheckOrRadio(c)) {
    const int box =
        std::max(win32::scaleForDpi(18, dpi),
                 win32::systemMetricsForDpi(SM_CXMENUCHECK, dpi) + win32::scaleForDpi(4, dpi));
    return TextArea{width - box, height, multiline};
  }
  const int edgeX = 2 * win32::systemMetricsForDpi(SM_CXEDGE, dpi);
  const int edgeY = win32::systemMetricsForDpi(SM_CYEDGE, dpi);
  return TextArea{width - 2 * edgeX, height - 2 * edgeY, multiline};
}

// The text as DrawTextW lays it out in the control's font within `area`.
SIZE measure(const Control& c, const TextArea& area) {
  win32::WindowDC screen(nullptr);
  win32::MemoryDC dc(screen.get());
  const auto font = reinterpret_cast<HFONT>(SendMessageW(c.window, WM_GETFONT, 0, 0));
  const HGDIOBJ previous = SelectObject(dc.get(), font ? font : GetStockObject(SYSTEM_FONT));
  UINT flags = DT_CALCRECT | DT_EXPANDTABS | (area.wraps ? DT_WORDBREAK : DT_SINGLELINE);
  if (c.cls == L"Static" && (c.style & SS_NOPREFIX)) flags |= DT_NOPREFIX;
  RECT r = {0, 0, std::max(area.width, 1), 0};
  DrawTextW(dc.get(), c.text.c_str(), -1, &r, flags);
  SelectObject(dc.get(), previous);
  return {r.right - r.left, r.bottom - r.top};
}

void expectTextsFit(const std::vector<Control>& controls, UINT dpi) {
  for (const Control& c : controls) {
    const auto area = textAreaOf(c, dpi);
    if (!area) continue;
    const SIZE text = measure(c, *area);
    EXPECT_LE(text.cx, area->width) << describe(c) << " is too wide for its control";
    EXPECT_LE(text.cy, area->height) << describe(c) << " is too tall for its control";
  }
}

bool contains(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// An up-down control sits on its buddy's edge, as Windows places it.
bool isBuddyPair(const Control& a, const Control& b) {
  const auto buddyOf = [](const Control& c) {
    return c.cls == L"msctls_updown32"
               ? reinterpret_cast<HWND>(SendMessageW(c.window, UDM_GETBUDDY, 0, 0))
               : nullptr;
  };
  return buddyOf(a) == b.window || buddyOf(b) == a.window;
}

// Group boxes frame the controls inside them; anything else shares no pixel.
void expectNoOverlap(HWND dialog, const std::vector<Control>& controls) {
  RECT client;
  GetClientRect(dialog, &client);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const Control& a = controls[i];
    EXPECT_TRUE(contains(client, a.rect)) << describe(a) << " leaves the dialog";
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      const Control& b = controls[j];
      RECT common;
      if (!IntersectRect(&common, &a.rect, &b.rect) || isBuddyPair(a, b)) continue;
      const bool framed = (isGroupBox(a) && contains(a.rect, b.rect)) ||
                          (isGroupBox(b) && contains(b.rect, a.rect));
      EXPECT_TRUE(framed) << describe(a) << " overlaps " << describe(b);
    }
  }
}

bool usedByKeyboard(const Control& c) {
  if (c.cls == L"Button") return !isGroupBox(c);
  return c.cls == L"Edit" || c.cls == L"ComboBox" || c.cls == L"ListBox" ||
         c.cls == L"SysListView32" || c.cls == L"msctls_hotkey32" || c.cls == L"SysLink";
}

void expectTabStops(const std::vector<Control>& controls) {
  for (const Control& c : controls) {
    if (usedByKeyboard(c)) {
      EXPECT_TRUE(c.style & WS_TABSTOP) << describe(c) << " cannot be reached with Tab";
    }
  }
}

// The letter after a single '&' ("&&" is an ampersand), lower-cased.
std::optional<wchar_t> mnemonicOf(const std::wstring& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != L'&') continue;
    if (text[i + 1] == L'&') {
      ++i;
      continue;
    }
    return static_cast<wchar_t>(std::towlower(text[i + 1]));
  }
  return std::nullopt;
}

void expectUniqueMnemonics(const std::vector<Control>& controls) {
  std::map<wchar_t, std::wstring> seen;
  for (const Control& c : controls) {
    if (c.cls != L"Button" && !(isTextStatic(c) && !(c.style & SS_NOPREFIX))) continue;
    const auto letter = mnemonicOf(c.text);
    if (!letter) continue;
    const auto [where, fresh] = seen.emplace(*letter, c.text);
    EXPECT_TRUE(fresh) << "&" << std::wstring(1, *letter) << " in \"" << c.text << "\" and \""
                       << where->second << "\"";
  }
}

void expectInWorkArea(HWND dialog) {
  RECT window;
  GetWindowRect(dialog, &window);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor));
  EXPECT_TRUE(contains(monitor.rcWork, window))
      << "the dialog (" << window.right - window.left << " x " << window.bottom - window.top
      << ") does not lie in the work area (" << monitor.rcWork.right - monitor.rcWork.left << " x "
      << monitor.rcWork.bottom - monitor.rcWork.top << ")";
}

TEST(DialogFitPrefix, RunsAtTheScalingItWasSetUpFor) {
  const char* expected = std::getenv("KIVORA_EXPECTED_DPI");
  if (!expected) GTEST_SKIP() << "run by ctest with the prefix's DPI";
  EXPECT_EQ(win32::dpiForSystem(), static_cast<UINT>(std::atoi(expected)));
}

class DialogFit : public testing::TestWithParam<DialogView> {};

TEST_P(DialogFit, FitsAndWorksFromTheKeyboard) {
  const DialogView& view = GetParam();
  runWithDriver([&] { tools::showDialogView(view.name); },
                [&] {
                  const HWND dialog = waitForWindow(L"#32770", view.title);
                  ASSERT_TRUE(dialog) << "no dialog titled as the view says";
                  const std::vector<Control> controls = visibleControls(dialog);
                  const UINT dpi = win32::dpiForWindow(dialog);
                  expectInWorkArea(dialog);
                  expectTextsFit(controls, dpi);
                  expectNoOverlap(dialog, controls);
                  expectTabStops(controls);
                  expectUniqueMnemonics(controls);
                  // The rule edit dialog's owner, the rule list, closes after it.
                  const HWND owner = GetWindow(dialog, GW_OWNER);
                  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                  if (owner && waitUntilClosed(dialog)) {
                    PostMessageW(owner, WM_COMMAND, IDCANCEL, 0);
                  }
                });
}

std::string viewName(const testing::TestParamInfo<DialogView>& info) {
  std::string name;
  for (const wchar_t* c = info.param.name; *c; ++c) name += std::iswalnum(*c) ? char(*c) : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(EveryDialog, DialogFit, testing::ValuesIn(tools::dialogViews()), viewName);

}  // namespace
}  // namespace kivora::test
