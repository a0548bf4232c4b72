// The look helpers on a real dialog under Wine: colours, theming of list
// views and tooltips, tooltips from tables, anchors, enlargement, the dark
// painting subclasses and the theme change.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/windows_version.h"
#include "ui/dark_controls.h"
#include "ui/dialog_dpi.h"
#include "ui/dialog_look.h"
#include "ui/enlarge.h"
#include "ui/layout.h"
#include "ui/look_rules.h"
#include "ui/tooltips.h"
#include "win/ui/test_dialog.h"

namespace ui = kivora::ui;
namespace win32 = kivora::win32;
using namespace kivora::test;

namespace {

constexpr COLORREF kMarker = RGB(0x12, 0x34, 0x56);

class DialogLook : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::setDarkMode(false);
    dialog_ = createTestDialog(state_);
    ASSERT_TRUE(dialog_);
  }
  void TearDown() override {
    if (dialog_) DestroyWindow(dialog_);
    ui::setDarkMode(false);
    ui::setHighContrast(false);
  }
  HFONT fontOf(int id) const {
    return reinterpret_cast<HFONT>(SendMessageW(item(id), WM_GETFONT, 0, 0));
  }
  HWND item(int id) const { return GetDlgItem(dialog_, id); }
  RECT clientRectOf(int id) const {
    RECT r;
    GetWindowRect(item(id), &r);
    MapWindowPoints(HWND_DESKTOP, dialog_, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  void resizeClient(int width, int height) {
    RECT r = {0, 0, width, height};
    AdjustWindowRectEx(&r, GetWindowLongW(dialog_, GWL_STYLE), FALSE,
                       GetWindowLongW(dialog_, GWL_EXSTYLE));
    SetWindowPos(dialog_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER);
  }

  TestDialogState state_;
  HWND dialog_ = nullptr;
};

COLORREF pixelAfterErase(HWND dialog) {
  win32::WindowDC screen(nullptr);
  win32::MemoryDC dc(screen.get());
  win32::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 8, 8));
  HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
  EXPECT_TRUE(ui::EraseBackground(dialog, dc.get()));
  const COLORREF pixel = GetPixel(dc.get(), 4, 4);
  SelectObject(dc.get(), old);
  return pixel;
}

TEST_F(DialogLook, EraseBackgroundAndControlColoursInBothModes) {
  EXPECT_EQ(pixelAfterErase(dialog_), GetSysColor(COLOR_BTNFACE));
  win32::WindowDC screen(nullptr);
  win32::MemoryDC dc(screen.get());
  SetTextColor(dc.get(), kMarker);
  EXPECT_EQ(ui::ControlColours(dc.get()), nullptr) << "light mode keeps the default colours";
  EXPECT_EQ(GetTextColor(dc.get()), kMarker);

  ui::setDarkMode(true);
  EXPECT_EQ(pixelAfterErase(dialog_), ui::colour::kDialogBackground);
  HBRUSH brush = ui::ControlColours(dc.get());
  ASSERT_NE(brush, nullptr);
  EXPECT_EQ(brush, ui::darkBrush()) << "one brush, kept";
  EXPECT_EQ(GetTextColor(dc.get()), ui::colour::kText);
  EXPECT_EQ(GetBkMode(dc.get()), TRANSPARENT);
  EXPECT_EQ(GetBkColor(dc.get()), ui::colour::kDialogBackground);
  LOGBRUSH lb = {};
  ASSERT_EQ(GetObjectW(brush, sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbColor, ui::colour::kDialogBackground);

  // The dialog procedure answers through dialogLookMessage.
  EXPECT_EQ(SendMessageW(dialog_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                         reinterpret_cast<LPARAM>(item(kLabel))),
            reinterpret_cast<LRESULT>(brush));
  ui::setDarkMode(false);
  EXPECT_NE(SendMessageW(dialog_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                         reinterpret_cast<LPARAM>(item(kLabel))),
            reinterpret_cast<LRESULT>(brush));
}

TEST_F(DialogLook, DarkBrushIsMadeAgainAfterItWasDeleted) {
  HBRUSH first = ui::darkBrush();
  ASSERT_NE(first, nullptr);
  ui::deleteDarkBrush();
  HBRUSH second = ui::darkBrush();
  ASSERT_NE(second, nullptr);
  LOGBRUSH lb = {};
  ASSERT_EQ(GetObjectW(second, sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbColor, ui::colour::kDialogBackground);
}

TEST_F(DialogLook, TooltipsComeFromTheTableUpToItsEnd) {
  const ui::TooltipEntry table[] = {
      {kOk, L"Save settings and close this dialog box."},
      {999, L"no such control: skipped"},
      {kCheck, L"A check box."},
      {0, nullptr},
      {kEdit, L"after the end: ignored"},
  };
  HWND tips = ui::CreateTooltips(dialog_, table);
  ASSERT_TRUE(tips);
  EXPECT_EQ(GetWindow(tips, GW_OWNER), dialog_);
  EXPECT_TRUE(GetWindowLongW(tips, GWL_STYLE) & TTS_ALWAYSTIP);
  EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 2);

  wchar_t text[128] = {};
  TOOLINFOW tool = {};
  tool.cbSize = sizeof tool;
  tool.hwnd = dialog_;
  tool.uId = reinterpret_cast<UINT_PTR>(item(kCheck));
  tool.lpszText = text;
  SendMessageW(tips, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(text, L"A check box.");
  tool.uId = reinterpret_cast<UINT_PTR>(item(kEdit));
  EXPECT_FALSE(SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)));

  DestroyWindow(dialog_);
  dialog_ = nullptr;
  EXPECT_FALSE(IsWindow(tips)) << "the tooltips go with their dialog";
}

TEST_F(DialogLook, ThemeDialogColoursListsAndTooltipsByMode) {
  HWND list = item(kList);
  ListView_SetExtendedListViewStyle(list, LVS_EX_LABELTIP);
  const ui::TooltipEntry table[] = {{kOk, L"OK"}, {0, nullptr}};
  HWND tips = ui::CreateTooltips(dialog_, table);

  ui::setDarkMode(true);
  ui::ThemeDialog(dialog_);
  EXPECT_EQ(ListView_GetBkColor(list), ui::colour::kListBackground);
  EXPECT_EQ(ListView_GetTextBkColor(list), ui::colour::kListBackground);
  EXPECT_EQ(ListView_GetTextColor(list), ui::colour::kListText);
  const DWORD styles = ListView_GetExtendedListViewStyle(list);
  EXPECT_TRUE(styles & LVS_EX_FULLROWSELECT);
  EXPECT_TRUE(styles & LVS_EX_DOUBLEBUFFER);
  EXPECT_TRUE(styles & LVS_EX_LABELTIP) << "the dialog's own extended styles stay";
  EXPECT_EQ(SendMessageW(tips, TTM_GETTIPBKCOLOR, 0, 0),
            static_cast<LRESULT>(ui::colour::kListBackground));
  EXPECT_EQ(SendMessageW(tips, TTM_GETTIPTEXTCOLOR, 0, 0),
            static_cast<LRESULT>(ui::colour::kListText));

  ui::setDarkMode(false);
  ui::ThemeDialog(dialog_);
  EXPECT_EQ(ListView_GetBkColor(list), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(ListView_GetTextColor(list), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(SendMessageW(tips, TTM_GETTIPBKCOLOR, 0, 0),
            static_cast<LRESULT>(GetSysColor(COLOR_INFOBK)));
  EXPECT_EQ(SendMessageW(tips, TTM_GETTIPTEXTCOLOR, 0, 0),
            static_cast<LRESULT>(GetSysColor(COLOR_INFOTEXT)));
}

TEST_F(DialogLook, AnchoredControlsFollowTheEdgesAfterWmSize) {
  resizeClient(400, 240);
  const std::array<ui::LayoutAnchor, 6> anchors = {{
      {kOk, ui::Anchor::BottomRight},
      {kHotkey, ui::Anchor::Right},
      {kStatus, ui::Anchor::Bottom},
      {kGroup, ui::Anchor::GrowWidth},
      {kList, ui::Anchor::GrowBoth},
      {0, ui::Anchor::None},
  }};
  const RECT ok = clientRectOf(kOk), hotkey = clientRectOf(kHotkey), status = clientRectOf(kStatus);
  const RECT group = clientRectOf(kGroup), list = clientRectOf(kList), label = clientRectOf(kLabel);
  RECT before;
  GetWindowRect(dialog_, &before);
  state_.layout = ui::AttachLayout(dialog_, anchors);

  resizeClient(520, 300);  // 120 wider, 60 taller
  const RECT ok2 = clientRectOf(kOk), hotkey2 = clientRectOf(kHotkey),
             status2 = clientRectOf(kStatus);
  const RECT group2 = clientRectOf(kGroup), list2 = clientRectOf(kList),
             label2 = clientRectOf(kLabel);
  EXPECT_EQ(ok2.left, ok.left + 120);
  EXPECT_EQ(ok2.top, ok.top + 60);
  EXPECT_EQ(ok2.right - ok2.left, ok.right - ok.left);
  EXPECT_EQ(hotkey2.left, hotkey.left + 120);
  EXPECT_EQ(hotkey2.top, hotkey.top);
  EXPECT_EQ(status2.left, status.left);
  EXPECT_EQ(status2.top, status.top + 60);
  EXPECT_EQ(group2.left, group.left);
  EXPECT_EQ(group2.right, group.right + 120);
  EXPECT_EQ(group2.bottom, group.bottom);
  EXPECT_EQ(list2.right, list.right + 120);
  EXPECT_EQ(list2.bottom, list.bottom + 60);
  EXPECT_EQ(label2.left, label.left) << "controls without an anchor stay";
  EXPECT_EQ(label2.right, label.right);

  // WM_GETMINMAXINFO reports the size at attach time as the minimum.
  MINMAXINFO info = {};
  SendMessageW(dialog_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, before.right - before.left);
  EXPECT_EQ(info.ptMinTrackSize.y, before.bottom - before.top);
  // A dialog may change the limits, such as halving the minimum.
  state_.layout->setMinTrackSize(
      {(before.right - before.left) / 2, (before.bottom - before.top) / 2});
  state_.layout->setMaxTrackSize({900, 700});
  info = {};
  SendMessageW(dialog_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, (before.right - before.left) / 2);
  EXPECT_EQ(info.ptMaxTrackSize.x, 900);
  EXPECT_EQ(info.ptMaxTrackSize.y, 700);
}

RECT workAreaOf(HWND window) {
  RECT bounds;
  GetWindowRect(window, &bounds);
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  GetMonitorInfoW(MonitorFromPoint({bounds.left, bounds.top}, MONITOR_DEFAULTTONEAREST), &info);
  return info.rcWork;
}

TEST_F(DialogLook, EnlargeFillsTheWorkAreaAndRestoreGivesTheFontBack) {
  SetWindowPos(dialog_, nullptr, 30, 40, 400, 300, SWP_NOZORDER);
  const RECT work = workAreaOf(dialog_);
  const double factor =
      ui::enlargementFactor({work.right - work.left, work.bottom - work.top}, {400, 300});
  ASSERT_GT(factor, 1.0) << "Xvfb's screen is larger than the dialog";
  const RECT check = clientRectOf(kCheck);
  HFONT original = reinterpret_cast<HFONT>(SendMessageW(item(kCheck), WM_GETFONT, 0, 0));
  LOGFONTW originalFont = {};
  ASSERT_TRUE(GetObjectW(original, sizeof originalFont, &originalFont));

  ui::DialogEnlargement enlarged = ui::EnlargeDialog(dialog_, ui::kPlaceBottomRight);
  EXPECT_DOUBLE_EQ(enlarged.factor(), factor);
  RECT r;
  GetWindowRect(dialog_, &r);
  const int width = ui::scaleLength(400, factor), height = ui::scaleLength(300, factor);
  EXPECT_EQ(r.right - r.left, width);
  EXPECT_EQ(r.bottom - r.top, height);
  EXPECT_EQ(r.right, work.right) << "bottom-right of the work area";
  EXPECT_EQ(r.bottom, work.bottom);

  const RECT check2 = clientRectOf(kCheck);
  EXPECT_EQ(check2.left, ui::scaleLength(check.left, factor));
  EXPECT_EQ(check2.top, ui::scaleLength(check.top, factor));
  EXPECT_EQ(check2.right - check2.left, ui::scaleLength(check.right - check.left, factor));

  HFONT big = reinterpret_cast<HFONT>(SendMessageW(item(kList), WM_GETFONT, 0, 0));
  EXPECT_EQ(big, enlarged.enlargedFont());
  LOGFONTW bigFont = {};
  ASSERT_TRUE(GetObjectW(big, sizeof bigFont, &bigFont));
  EXPECT_EQ(bigFont.lfHeight, ui::scaleLength(originalFont.lfHeight, factor));
  EXPECT_EQ(bigFont.lfWeight, 600);

  ui::RestoreDialog(enlarged);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(item(kList), WM_GETFONT, 0, 0)), original);
  EXPECT_EQ(enlarged.enlargedFont(), nullptr);
}

TEST_F(DialogLook, EnlargeCentresAndOtherPlacementsLeaveThePosition) {
  SetWindowPos(dialog_, nullptr, 30, 40, 400, 300, SWP_NOZORDER);
  const RECT work = workAreaOf(dialog_);
  {
    ui::DialogEnlargement centred = ui::EnlargeDialog(dialog_, ui::kPlaceCentre);
    RECT r;
    GetWindowRect(dialog_, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    EXPECT_EQ(r.left, work.left + ((work.right - work.left) - width) / 2);
    EXPECT_EQ(r.top, work.top + ((work.bottom - work.top) - height) / 2);
  }  // leaving the scope restores the font
  EXPECT_NE(reinterpret_cast<HFONT>(SendMessageW(item(kOk), WM_GETFONT, 0, 0)), nullptr);

  SetWindowPos(dialog_, nullptr, 30, 40, 400, 300, SWP_NOZORDER);
  ui::DialogEnlargement unplaced = ui::EnlargeDialog(dialog_, 4);
  RECT r;
  GetWindowRect(dialog_, &r);
  EXPECT_EQ(r.left, 30);
  EXPECT_EQ(r.top, 40);
}

TEST_F(DialogLook, DisabledLabelIsGreyOnlyWhenDarkAndDisabled) {
  HWND label = item(kLabel);
  ui::subclassDarkControls(dialog_, L"-None-");
  ui::setDarkMode(true);
  EXPECT_EQ(printClient(label, kMarker).count(ui::colour::kDisabled), 0)
      << "enabled: the control's own painting";

  EnableWindow(label, FALSE);
  const Picture disabled = printClient(label, kMarker);
  EXPECT_GT(disabled.count(ui::colour::kDisabled), 10) << "grey text";
  EXPECT_EQ(disabled.at(disabled.width - 1, 0), ui::colour::kDialogBackground);
  EXPECT_EQ(disabled.count(kMarker), 0) << "the whole label is painted";

  ui::setDarkMode(false);
  EXPECT_NE(printClient(label, kMarker).at(disabled.width - 1, 0), ui::colour::kDialogBackground);
}

TEST_F(DialogLook, DisabledCheckBoxAndRadioDrawTheirBoxAndState) {
  ui::subclassDarkControls(dialog_, L"-None-");
  ui::setDarkMode(true);
  HWND check = item(kCheck);
  HWND radio = item(kRadio);
  EnableWindow(check, FALSE);
  EnableWindow(radio, FALSE);

  const Picture unticked = printClient(check, kMarker);
  const int top = (unticked.height - 14) / 2;
  EXPECT_EQ(unticked.at(0, top), ui::colour::kDisabled) << "box outline";
  EXPECT_EQ(unticked.at(13, top + 13), ui::colour::kDisabled);
  EXPECT_EQ(unticked.at(7, top + 7), ui::colour::kCheckFill) << "box fill";
  const RECT inside = {2, top + 2, 12, top + 12};
  EXPECT_EQ(unticked.countIn(ui::colour::kDisabled, inside), 0);
  EXPECT_GT(unticked.countIn(ui::colour::kDisabled, {18, 0, unticked.width, unticked.height}), 5)
      << "grey text";

  SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
  const Picture ticked = printClient(check, kMarker);
  EXPECT_GT(ticked.countIn(ui::colour::kDisabled, inside), 5)
      << "a disabled ticked box still shows its tick";

  const Picture round = printClient(radio, kMarker);
  EXPECT_EQ(round.at(7, top + 7), ui::colour::kCheckFill);
  EXPECT_NE(round.at(0, top), ui::colour::kDisabled) << "a circle leaves the corner";
  SendMessageW(radio, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(printClient(radio, kMarker).at(7, top + 7), ui::colour::kDisabled)
      << "the dot of a chosen radio";
}

TEST_F(DialogLook, DisabledGroupBoxKeepsItsInsideUntouched) {
  ui::subclassDarkControls(dialog_, L"-None-");
  ui::setDarkMode(true);
  HWND group = item(kGroup);
  EnableWindow(group, FALSE);
  const Picture p = printClient(group, kMarker);
  EXPECT_EQ(p.at(0, p.height - 1), ui::colour::kDisabled) << "frame";
  EXPECT_EQ(p.at(p.width - 1, p.height - 1), ui::colour::kDisabled);
  EXPECT_EQ(p.at(p.width / 2, p.height / 2), kMarker)
      << "controls inside the group are not painted over";
  EXPECT_GT(p.countIn(ui::colour::kDisabled, {8, 0, p.width, p.height / 2}), 10) << "caption";
}

TEST_F(DialogLook, DarkHotkeyPaintsTextAndFocusBorder) {
  HWND hotkey = item(kHotkey);
  SendMessageW(hotkey, HKM_SETHOTKEY, MAKEWORD(VK_F5, HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
  ui::subclassDarkControls(dialog_, L"-None-");

  EXPECT_NE(printClient(hotkey, kMarker).at(0, 0), ui::colour::kHotkeyBorder)
      << "light: the control's own look";

  ui::setDarkMode(true);
  const Picture dark = printClient(hotkey, kMarker);
  EXPECT_EQ(dark.at(0, 0), ui::colour::kHotkeyBorder);
  EXPECT_EQ(dark.at(dark.width - 1, dark.height - 1), ui::colour::kHotkeyBorder);
  EXPECT_EQ(dark.at(2, 2), ui::colour::kDialogBackground);
  EXPECT_GT(dark.count(ui::colour::kText), 10) << "white text";

  SendMessageW(hotkey, HKM_SETHOTKEY, 0, 0);
  const int noneTextPixels = printClient(hotkey, kMarker).count(ui::colour::kText);
  EXPECT_GT(noneTextPixels, 5) << "the none text is shown";
  ui::DarkHotkey(hotkey, L"");  // a second call only changes the text
  EXPECT_EQ(printClient(hotkey, kMarker).count(ui::colour::kText), 0);

  ShowWindow(dialog_, SW_SHOW);
  SetForegroundWindow(dialog_);
  SetFocus(hotkey);
  pumpMessages();
  if (GetFocus() == hotkey) {
    EXPECT_EQ(printClient(hotkey, kMarker).at(0, 0), ui::colour::kHotkeyFocused);
  }
}

TEST_F(DialogLook, HighContrastPaintsNothingDarkAndTheDialogFollowsTheSwitch) {
  HWND list = item(kList);
  const ui::TooltipEntry table[] = {{kOk, L"OK"}, {0, nullptr}};
  HWND tips = ui::CreateTooltips(dialog_, table);
  ui::subclassDarkControls(dialog_, L"-None-");
  EnableWindow(item(kLabel), FALSE);
  ui::setDarkMode(true);
  SendMessageW(dialog_, WM_THEMECHANGED, 0, 0);
  ASSERT_EQ(ListView_GetBkColor(list), ui::colour::kListBackground);

  // High Contrast switched on while the dialog is open.
  ui::setHighContrast(true);
  SendMessageW(dialog_, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  EXPECT_TRUE(ui::DarkMode()) << "the user's choice stays; only the look changes";
  EXPECT_FALSE(ui::darkLook());
  EXPECT_EQ(ListView_GetBkColor(list), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(ListView_GetTextColor(list), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(SendMessageW(tips, TTM_GETTIPBKCOLOR, 0, 0),
            static_cast<LRESULT>(GetSysColor(COLOR_INFOBK)));
  EXPECT_EQ(pixelAfterErase(dialog_), GetSysColor(COLOR_BTNFACE));
  win32::WindowDC screen(nullptr);
  win32::MemoryDC dc(screen.get());
  EXPECT_NE(SendMessageW(dialog_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                         reinterpret_cast<LPARAM>(item(kLabel))),
            reinterpret_cast<LRESULT>(ui::darkBrush()))
      << "the system's colours";
  EXPECT_EQ(printClient(item(kLabel), kMarker).count(ui::colour::kDisabled), 0)
      << "a disabled label is the control's own";
  EXPECT_EQ(printClient(item(kHotkey), kMarker).count(ui::colour::kHotkeyBorder), 0);

  ui::setHighContrast(false);
  SendMessageW(dialog_, WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(ListView_GetBkColor(list), ui::colour::kListBackground) << "dark again";
}

// Wine has one DPI for every monitor and never sends WM_DPICHANGED; the test
// sends what Windows sends when the dialog moves to a monitor at 150 %.
void moveToDpi(HWND dialog, UINT dpi, RECT suggested) {
  SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

TEST_F(DialogLook, ADialogFollowsAMoveToAnotherScalingAndBack) {
  resizeClient(400, 240);
  const std::array<ui::LayoutAnchor, 2> anchors = {
      {{kOk, ui::Anchor::BottomRight}, {0, ui::Anchor::None}}};
  state_.layout = ui::AttachLayout(dialog_, anchors);
  ui::subclassDarkControls(dialog_, L"-None-");
  ui::followDpiChanges(dialog_);
  const UINT dpi = ui::layoutDpi(dialog_);
  const UINT dpi150 = dpi * 3 / 2;
  const auto scaled = [&](LONG v) { return MulDiv(v, static_cast<int>(dpi150), dpi); };
  RECT window;
  GetWindowRect(dialog_, &window);
  RECT client;
  GetClientRect(dialog_, &client);
  const RECT label = clientRectOf(kLabel), ok = clientRectOf(kOk);
  const HFONT font = fontOf(kLabel);
  LOGFONTW logFont = {};
  ASSERT_TRUE(GetObjectW(font, sizeof logFont, &logFont));

  const RECT suggested = {window.left, window.top, window.left + scaled(window.right - window.left),
                          window.top + scaled(window.bottom - window.top)};
  moveToDpi(dialog_, dpi150, suggested);
  RECT now;
  GetWindowRect(dialog_, &now);
  EXPECT_TRUE(EqualRect(&now, &suggested)) << "the window takes the suggested rectangle";
  EXPECT_EQ(ui::layoutDpi(dialog_), dpi150);
  EXPECT_EQ(ui::layoutDpi(item(kCheck)), dpi150) << "its controls are laid out for it too";
  const RECT label150 = clientRectOf(kLabel);
  EXPECT_EQ(label150.left, scaled(label.left));
  EXPECT_EQ(label150.top, scaled(label.top));
  EXPECT_EQ(label150.right, scaled(label.right));
  EXPECT_EQ(label150.bottom, scaled(label.bottom));
  LOGFONTW logFont150 = {};
  ASSERT_TRUE(GetObjectW(fontOf(kLabel), sizeof logFont150, &logFont150));
  EXPECT_EQ(logFont150.lfHeight, scaled(logFont.lfHeight));
  EXPECT_STREQ(logFont150.lfFaceName, logFont.lfFaceName);
  RECT client150;
  GetClientRect(dialog_, &client150);
  EXPECT_NEAR(client150.right - clientRectOf(kOk).right, scaled(client.right - ok.right), 1)
      << "the anchored layout keeps its margins at the new scale";

  // The dark painting takes its sizes from the new DPI: a 21-pixel box at 150 %.
  ui::setDarkMode(true);
  EnableWindow(item(kCheck), FALSE);
  const Picture check = printClient(item(kCheck), kMarker);
  const int box = scaled(14), top = (check.height - box) / 2;
  EXPECT_EQ(check.at(0, top), ui::colour::kDisabled);
  EXPECT_EQ(check.at(box - 1, top + box - 1), ui::colour::kDisabled);
  EXPECT_EQ(check.at(box + 1, top + box / 2), ui::colour::kDialogBackground)
      << "the box ends where its size says";

  moveToDpi(dialog_, dpi, window);
  const RECT back = clientRectOf(kLabel);
  EXPECT_TRUE(EqualRect(&back, &label)) << "back where it was";
  EXPECT_EQ(fontOf(kLabel), font) << "and with the dialog's own font";
}

TEST(HotkeyName, CtrlAltF5ReadsAsTheSystemNamesIt) {
  wchar_t name[32] = {};
  const int n =
      GetKeyNameTextW(static_cast<LONG>(MapVirtualKeyW(VK_F5, MAPVK_VK_TO_VSC) << 16), name, 32);
  ASSERT_GT(n, 0);
  EXPECT_EQ(ui::hotkeyText(HOTKEYF_CONTROL | HOTKEYF_ALT, true, std::u16string(name, name + n),
                           u"-None-"),
            u"Ctrl + Alt + F5");
}

// The user's theme choice under HKCU, put back after the test.
class AppsThemeValue {
 public:
  AppsThemeValue() {
    RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
    DWORD size = sizeof saved_;
    hadValue_ = RegQueryValueExW(key_, L"AppsUseLightTheme", nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(&saved_), &size) == ERROR_SUCCESS;
  }
  ~AppsThemeValue() {
    if (hadValue_) {
      set(saved_);
    } else {
      remove();
    }
    RegCloseKey(key_);
  }
  void set(DWORD value) {
    RegSetValueExW(key_, L"AppsUseLightTheme", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
  }
  void remove() { RegDeleteValueW(key_, L"AppsUseLightTheme"); }

 private:
  static constexpr wchar_t kKey[] =
      L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
  HKEY key_ = nullptr;
  DWORD saved_ = 1;
  bool hadValue_ = false;
};

TEST_F(DialogLook, DetectDarkModeReadsTheUsersThemeChoice) {
  if (win32::windowsVersion().major < 10) GTEST_SKIP() << "dark mode needs Windows 10";
  AppsThemeValue theme;
  theme.set(0);
  EXPECT_TRUE(ui::DetectDarkMode());
  EXPECT_TRUE(ui::DarkMode());
  theme.set(1);
  EXPECT_FALSE(ui::DetectDarkMode());
  theme.remove();
  EXPECT_FALSE(ui::DetectDarkMode()) << "no value means light";
}

TEST_F(DialogLook, ThemeChangeWhileOpenRepaintsInTheNewLook) {
  if (win32::windowsVersion().major < 10) GTEST_SKIP() << "dark mode needs Windows 10";
  AppsThemeValue theme;
  HWND list = item(kList);
  theme.set(0);
  SendMessageW(dialog_, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
  EXPECT_TRUE(ui::DarkMode());
  EXPECT_EQ(ListView_GetBkColor(list), ui::colour::kListBackground);

  theme.set(1);
  SendMessageW(dialog_, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
  EXPECT_TRUE(ui::DarkMode()) << "other setting changes do not re-read the theme";
  SendMessageW(dialog_, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
  EXPECT_FALSE(ui::DarkMode());
  EXPECT_EQ(ListView_GetBkColor(list), GetSysColor(COLOR_WINDOW));
}

}  // namespace
