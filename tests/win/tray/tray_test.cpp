// The tray icon's choice of icon and tooltip, balloons and the companion
// message, against real windows and the real key state under Wine.

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/tray.h"
#include "app/tray_icons.h"
#include "platform/win32/handles.h"
#include "win/kivora_module.h"

namespace app = kivora::app;
namespace monitor = kivora::monitor;

namespace {

struct LogLine {
  unsigned kind;
  unsigned line;
  std::u16string first;
  std::u16string second;
};

class Tray : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = CreateWindowExW(0, L"Static", L"Kivora tray test", WS_POPUP, 0, 0, 10, 10, nullptr,
                              nullptr, nullptr, nullptr);
    ASSERT_TRUE(window_);
    app::setTrayLog([this](unsigned kind, unsigned line, std::u16string_view first,
                           std::u16string_view second) {
      log_.push_back({kind, line, std::u16string(first), std::u16string(second)});
    });
    app::showBalloon(nullptr, nullptr, 0);
  }
  void TearDown() override {
    app::setTrayLog(nullptr);
    app::showBalloon(nullptr, nullptr, 0);
    DestroyWindow(window_);
  }
  HWND window_ = nullptr;
  std::vector<LogLine> log_;
};

TEST(TrayTooltip, FollowsWatchingInBothLanguages) {
  EXPECT_EQ(app::trayTooltip(1, false), u"Kivora:ON");
  EXPECT_EQ(app::trayTooltip(1, true), u"Kivora:動作中");
  EXPECT_EQ(app::trayTooltip(0, false), u"Kivora:OFF");
  EXPECT_EQ(app::trayTooltip(0, true), u"Kivora:一時停止中");
  EXPECT_EQ(app::trayTooltip(2, false), u"Kivora:ON") << "any non-zero value is watching";
}

int WINAPI noBox(HWND, LPCWSTR, LPCWSTR, UINT) {
  ADD_FAILURE() << "no box expected";
  return IDOK;
}

TEST(TrayIcons, EachChoiceHasItsOwnLoadedIcon) {
  const app::TrayIcons icons = app::loadTrayIcons(kivora::test::kivoraModule(), false, noBox);
  using Kind = monitor::TrayIconKind;
  const std::pair<Kind, HICON> singles[] = {
      {Kind::Watching, icons.watching.get()},
      {Kind::Paused, icons.paused.get()},
      {Kind::DeviceWatching, icons.deviceWatching.get()},
      {Kind::DevicePaused, icons.devicePaused.get()},
      {Kind::KeyChange, icons.keyChange.get()},
  };
  for (const auto& [kind, icon] : singles) {
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(app::trayIconFor(icons, {kind}), icon);
  }
  EXPECT_NE(icons.keyChangeDevice.get(), nullptr);
  for (int i = 0; i < 48; ++i)
    EXPECT_EQ(app::trayIconFor(icons, {Kind::LockState, i}), icons.lockState[i].get());
  EXPECT_EQ(app::trayIconFor(icons, {Kind::LockState, 48}), nullptr);
  EXPECT_EQ(app::trayIconFor(icons, {Kind::LockState, -1}), nullptr);
}

int iconWidth(HICON icon) {
  ICONINFO info = {};
  if (!icon || !GetIconInfo(icon, &info)) return 0;
  kivora::win32::UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
  BITMAP bm = {};
  GetObjectW(colour.get(), sizeof bm, &bm);
  return bm.bmWidth;
}

TEST(TrayIcons, MadeAtTheTaskbarsSizeAndMadeAgainWhenItChanges) {
  // One monitor at the session's DPI here.
  const int size = app::trayIconSize();
  EXPECT_EQ(size, GetSystemMetrics(SM_CXSMICON));
  const HINSTANCE module = kivora::test::kivoraModule();
  app::TrayIcons icons = app::loadTrayIcons(module, false, noBox, 24);
  EXPECT_EQ(icons.size, 24);
  EXPECT_EQ(iconWidth(icons.watching.get()), 24);
  EXPECT_EQ(iconWidth(icons.lockState[21].get()), 24);

  EXPECT_TRUE(app::followTrayIconSize(icons, module, false, noBox));
  EXPECT_EQ(icons.size, size);
  EXPECT_EQ(iconWidth(icons.keyChangeDevice.get()), size);
  EXPECT_EQ(iconWidth(icons.lockState[47].get()), size);
  EXPECT_FALSE(app::followTrayIconSize(icons, module, false, noBox)) << "already that size";
}

void pressKey(BYTE vk) {
  keybd_event(vk, 0, 0, 0);
  keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
  MSG msg;
  for (int i = 0; i < 20; ++i) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  }
}

TEST(TrayIcons, CurrentIconFollowsTheRealNumLock) {
  const app::TrayIcons icons = app::loadTrayIcons(kivora::test::kivoraModule(), false, noBox);
  const monitor::TrayIconSettings settings{
      .showLockedKeyIcon = true, .kbWatchEnabled = 1, .showDevice = false};
  const monitor::LockKeys before = app::readLockKeys();
  pressKey(VK_NUMLOCK);
  const monitor::LockKeys after = app::readLockKeys();
  ASSERT_NE(after.numLock, before.numLock) << "NumLock did not toggle";
  const int expected =
      16 + (before.scrollLock ? 8 : 0) + (before.capsLock ? 4 : 0) + (after.numLock ? 2 : 0);
  EXPECT_EQ(app::currentTrayIcon(icons, settings), icons.lockState[expected].get());
  EXPECT_EQ(app::flashTrayIcon(icons, settings, after), icons.lockState[expected + 16].get());
  pressKey(VK_NUMLOCK);
  EXPECT_EQ(app::readLockKeys().numLock, before.numLock);
}

TEST_F(Tray, IconIsAddedModifiedAndRemoved) {
  const app::TrayIcons icons = app::loadTrayIcons(kivora::test::kivoraModule(), true, noBox);
  EXPECT_TRUE(app::addTrayIcon(window_, icons.watching.get(), L"Kivora"));
  EXPECT_TRUE(
      app::updateTrayIcon(window_, icons, {.showLockedKeyIcon = false, .kbWatchEnabled = 0}, true));
  EXPECT_TRUE(app::modifyTrayIcon(window_, icons.keyChange.get(), L"Kivora:ON"));
  EXPECT_TRUE(app::removeTrayIcon(window_));
  EXPECT_FALSE(app::modifyTrayIcon(window_, icons.watching.get(), L"gone"))
      << "no icon left to modify";
}

TEST(BalloonData, CarriesTheCutTextTitleIconAndTimeOut) {
  const HWND window = reinterpret_cast<HWND>(0x1234);
  const NOTIFYICONDATAW error =
      app::balloonData(window, {std::u16string(300, u'x'), monitor::kBalloonError});
  EXPECT_EQ(error.cbSize, sizeof(NOTIFYICONDATAW));
  EXPECT_EQ(error.hWnd, window);
  EXPECT_EQ(error.uID, app::kTrayIconId);
  EXPECT_EQ(error.uFlags, static_cast<UINT>(NIF_INFO));
  EXPECT_EQ(std::wstring(error.szInfo), std::wstring(255, L'x'));
  EXPECT_STREQ(error.szInfoTitle, L"Kivora");
  EXPECT_EQ(error.dwInfoFlags, static_cast<DWORD>(NIIF_ERROR));
  EXPECT_EQ(error.uTimeout, 3000u);
  EXPECT_EQ(app::balloonData(window, {u"i", 1}).dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
  EXPECT_EQ(app::balloonData(window, {u"w", 2}).dwInfoFlags, static_cast<DWORD>(NIIF_WARNING));
  EXPECT_EQ(app::balloonData(window, {u"n", 0}).dwInfoFlags, static_cast<DWORD>(NIIF_NONE));
}

TEST_F(Tray, BalloonShowsWhatWasCollectedAndLogsIt) {
  app::showBalloon(nullptr, L"Cannot save NumLockState", monitor::kBalloonWarning);
  EXPECT_TRUE(log_.empty()) << "collecting shows nothing";
  app::showBalloon(window_, L"Cannot save CapsLockState", monitor::kBalloonWarning);
  ASSERT_EQ(log_.size(), 1u);
  EXPECT_EQ(log_[0].kind, 2u);
  EXPECT_EQ(log_[0].line, 895u);
  EXPECT_EQ(log_[0].first, u"[トースト通知]");
  EXPECT_EQ(log_[0].second, u"Cannot save NumLockState\r\n-----\r\nCannot save CapsLockState");
  EXPECT_EQ(app::pendingBalloon().pending().type, monitor::kBalloonWarning);

  app::showBalloon(window_, nullptr, 0);
  ASSERT_EQ(log_.size(), 2u) << "shown again until cleared";
  EXPECT_EQ(log_[1].second, log_[0].second);

  app::showBalloon(nullptr, nullptr, 0);
  app::showBalloon(window_, nullptr, 1);
  EXPECT_EQ(log_.size(), 2u) << "nothing pending after a clear";
}

// A stand-in for the companion program's window.
struct Companion {
  static inline int received = 0;
  static inline ULONG_PTR dataId = 0;
  static inline DWORD bytes = 0;
  static inline std::u16string text;
  static inline HWND sender = nullptr;

  static LRESULT CALLBACK proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COPYDATA) {
      const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lp);
      ++received;
      dataId = copy->dwData;
      bytes = copy->cbData;
      text.assign(static_cast<const char16_t*>(copy->lpData));
      sender = reinterpret_cast<HWND>(wp);
      return TRUE;
    }
    return DefWindowProcW(w, msg, wp, lp);
  }
};

TEST(CompanionText, NamesEachKeyState) {
  EXPECT_EQ(app::companionText({true, false, true}), u"NumLock:ON  CapsLock:OFF  ScrollLock:ON");
  EXPECT_EQ(app::companionText({false, true, false}), u"NumLock:OFF  CapsLock:ON  ScrollLock:OFF");
}

TEST_F(Tray, CompanionGetsTheKeyStatesOnlyWhenItRuns) {
  EXPECT_FALSE(app::sendKeyStateToCompanion(window_));
  EXPECT_TRUE(log_.empty()) << "no companion, nothing logged";

  WNDCLASSW wc = {};
  wc.lpfnWndProc = Companion::proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = app::kCompanionClass;
  ASSERT_TRUE(RegisterClassW(&wc));
  HWND companion = CreateWindowExW(0, app::kCompanionClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                   nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(companion);
  EXPECT_TRUE(app::sendKeyStateToCompanion(window_));
  const std::u16string expected = app::companionText(app::readLockKeys());
  EXPECT_EQ(Companion::received, 1);
  EXPECT_EQ(Companion::dataId, 0x1900Eu);
  EXPECT_EQ(Companion::bytes, (expected.size() + 1) * 2);
  EXPECT_EQ(Companion::text, expected);
  EXPECT_EQ(Companion::sender, window_);
  ASSERT_EQ(log_.size(), 1u);
  EXPECT_EQ(log_[0].line, 246u);
  EXPECT_EQ(log_[0].first, u"[sendtk]");
  EXPECT_EQ(log_[0].second, expected);
  DestroyWindow(companion);
  UnregisterClassW(app::kCompanionClass, wc.hInstance);
}

}  // namespace
