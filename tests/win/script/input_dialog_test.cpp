// The INPUT dialog, built in memory, shown for real and answered by a helper
// thread the way a user would: type, then OK or Cancel.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "platform/win32/script_system.h"
#include "platform/win32/wide.h"

namespace {

using kivora::script::InputDialogParams;
using kivora::win32::Win32ScriptSystem;

struct SeenDialog {
  std::wstring message;
  std::wstring cancelText;
};

// Waits for the dialog titled title, notes what it shows, types text and presses button.
std::thread answer(const wchar_t* title, const wchar_t* text, int button, SeenDialog& seen) {
  return std::thread([=, &seen] {
    HWND dialog = nullptr;
    for (int i = 0; i < 500 && !dialog; ++i) {
      dialog = FindWindowW(L"#32770", title);
      if (!dialog) Sleep(10);
    }
    if (!dialog) return;
    wchar_t buffer[256] = {};
    GetDlgItemTextW(dialog, 102, buffer, 256);
    seen.message = buffer;
    GetDlgItemTextW(dialog, IDCANCEL, buffer, 256);
    seen.cancelText = buffer;
    SetDlgItemTextW(dialog, 101, text);
    PostMessageW(dialog, WM_COMMAND, button, 0);
  });
}

TEST(InputDialog, OkHandsBackTheTypedText) {
  Win32ScriptSystem system;
  InputDialogParams params;
  params.message = u"What is your name?";
  params.title = u"Kivora input test";
  SeenDialog seen;
  std::thread helper = answer(L"Kivora input test", L"Ren\u00E9", IDOK, seen);
  const std::intptr_t result = system.inputDialog(0, params);
  helper.join();
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(params.entered, u"Ren\u00E9");
  EXPECT_EQ(seen.message, L"What is your name?");
  EXPECT_EQ(seen.cancelText, L"Cancel");
}

TEST(InputDialog, CancelLeavesTheTextAloneAndSpeaksJapanese) {
  Win32ScriptSystem system;
  InputDialogParams params;
  params.message = u"\u5165\u529B";
  params.title = u"Kivora cancel test";
  params.japanese = true;
  SeenDialog seen;
  std::thread helper = answer(L"Kivora cancel test", L"ignored", IDCANCEL, seen);
  const std::intptr_t result = system.inputDialog(0, params);
  helper.join();
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_TRUE(params.entered.empty());
  EXPECT_EQ(seen.cancelText, L"\u30AD\u30E3\u30F3\u30BB\u30EB");
}

}  // namespace
