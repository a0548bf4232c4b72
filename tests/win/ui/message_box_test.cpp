// ThemedMessageBox is a real MessageBoxW: it is found as a "#32770" window,
// answers the colour messages darkly only in the dark look (never in High
// Contrast), and is closed here.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/win32/handles.h"
#include "ui/dialog_look.h"
#include "ui/look_rules.h"
#include "ui/message_box.h"

namespace ui = kivora::ui;
namespace win32 = kivora::win32;

namespace {

HWND waitForWindow(const wchar_t* cls, const wchar_t* title) {
  for (int i = 0; i < 200; ++i) {
    if (HWND w = FindWindowW(cls, title)) return w;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return nullptr;
}

struct BoxRun {
  std::atomic<int> result{-1};
  std::thread thread;
  BoxRun(const wchar_t* caption, UINT type) {
    thread = std::thread([this, caption, type] {
      result = ui::ThemedMessageBox(nullptr, L"Body text", caption, type);
    });
  }
  ~BoxRun() {
    if (thread.joinable()) thread.join();
  }
};

// What the box answers to WM_CTLCOLORSTATIC for its text.
LRESULT staticColourAnswer(HWND box, HDC dc) {
  HWND text = FindWindowExW(box, nullptr, L"Static", L"Body text");
  return SendMessageW(box, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                      reinterpret_cast<LPARAM>(text));
}

class ThemedBox : public ::testing::Test {
 protected:
  void TearDown() override {
    ui::setDarkMode(false);
    ui::setHighContrast(false);
  }
};

TEST_F(ThemedBox, DarkBoxAnswersWithTheDarkColoursAndIsClosedByTheTest) {
  ui::setDarkMode(true);
  BoxRun run(L"Kivora dark box", MB_OK | MB_ICONWARNING);
  HWND box = waitForWindow(L"#32770", L"Kivora dark box");
  ASSERT_TRUE(box) << "the message box did not appear";

  win32::WindowDC screen(nullptr);
  win32::MemoryDC dc(screen.get());
  EXPECT_EQ(staticColourAnswer(box, dc.get()), reinterpret_cast<LRESULT>(ui::darkBrush()));
  EXPECT_EQ(GetTextColor(dc.get()), ui::colour::kText);
  EXPECT_EQ(SendMessageW(box, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc.get()),
                         reinterpret_cast<LPARAM>(box)),
            reinterpret_cast<LRESULT>(ui::darkBrush()));

  PostMessageW(box, WM_COMMAND, IDOK, 0);
  run.thread.join();
  EXPECT_EQ(run.result, IDOK);
}

TEST_F(ThemedBox, LightBoxAndHighContrastKeepTheSystemColours) {
  for (bool dark : {false, true}) {
    ui::setDarkMode(dark);
    ui::setHighContrast(dark);  // dark mode chosen, but High Contrast is on
    BoxRun run(L"Kivora light box", MB_YESNO | MB_ICONQUESTION);
    HWND box = waitForWindow(L"#32770", L"Kivora light box");
    ASSERT_TRUE(box);
    win32::WindowDC screen(nullptr);
    win32::MemoryDC dc(screen.get());
    EXPECT_NE(staticColourAnswer(box, dc.get()), reinterpret_cast<LRESULT>(ui::darkBrush()))
        << dark;
    PostMessageW(box, WM_COMMAND, IDNO, 0);
    run.thread.join();
    EXPECT_EQ(run.result, IDNO);
  }
}

TEST_F(ThemedBox, HookEndsWithTheBox) {
  // After a dark box, dialogs of the same thread are no longer restyled.
  ui::setDarkMode(true);
  std::atomic<LRESULT> laterAnswer{0};
  std::thread thread([&] {
    ui::ThemedMessageBox(nullptr, L"Body text", L"Kivora first box", MB_OK);
    HWND plain = CreateWindowExW(0, L"#32770", L"plain", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    win32::WindowDC screen(nullptr);
    win32::MemoryDC dc(screen.get());
    laterAnswer = SendMessageW(plain, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc.get()),
                               reinterpret_cast<LPARAM>(plain));
    DestroyWindow(plain);
  });
  HWND box = waitForWindow(L"#32770", L"Kivora first box");
  ASSERT_TRUE(box);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  thread.join();
  EXPECT_NE(laterAnswer.load(), reinterpret_cast<LRESULT>(ui::darkBrush()));
}

}  // namespace
