// The dialogs of start-up, run from the program's own resources.

#include "app/start_dialogs.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/png_resource.h"
#include "resource_ids.h"
#include "win/app/app_test_support.h"

namespace kivora::app {
namespace {

std::wstring text(HWND dialog, int id) {
  wchar_t buffer[256] = {};
  GetDlgItemTextW(dialog, id, buffer, 256);
  return buffer;
}

RECT clientRect(HWND dialog, int id) {
  RECT r{};
  GetWindowRect(GetDlgItem(dialog, id), &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The controls under the pictures sit below both and inside the dialog.
void expectFitsUnderThePictures(HWND dialog, std::initializer_list<int> below) {
  RECT client{};
  GetClientRect(dialog, &client);
  for (int picture : {IDC_PICTURE_WIN7, IDC_PICTURE_WIN10}) {
    const RECT p = clientRect(dialog, picture);
    EXPECT_EQ(p.right - p.left, 240) << "the picture shows at its own size";
    EXPECT_EQ(p.bottom - p.top, 160);
    for (int id : below) EXPECT_GE(clientRect(dialog, id).top, p.bottom) << id;
  }
  for (int id : below) EXPECT_LE(clientRect(dialog, id).bottom, client.bottom) << id;
}

class StartDialogs : public testing::Test {
 protected:
  void SetUp() override {
    const HINSTANCE self = GetModuleHandleW(nullptr);
    images_.appIcon.reset(static_cast<HICON>(
        LoadImageW(self, MAKEINTRESOURCEW(IDI_KIVORA), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    images_.appIconSmall = loadSmallIcon(self, IDI_KIVORA);
    const GdiplusSession gdiplus;
    images_.pictures[0] = loadPngResource(self, IDP_TRAY_HINT_WIN7);
    images_.pictures[1] = loadPngResource(self, IDP_TRAY_HINT_WIN10);
    ASSERT_TRUE(images_.pictures[0] && images_.pictures[1]);
  }
  StartupImages images_;
};

TEST_F(StartDialogs, AlreadyRunningShowsThePicturesAndAnswersForceExit) {
  for (bool japanese : {false, true}) {
    INT_PTR result = 0;
    test::runWithDriver(
        [&] { result = showAlreadyRunningDialog(GetModuleHandleW(nullptr), japanese, images_); },
        [&] {
          const HWND dialog = test::waitForDialog(L"Kivora");
          ASSERT_TRUE(dialog);
          EXPECT_TRUE(SendDlgItemMessageW(dialog, IDC_PICTURE_WIN7, STM_GETIMAGE, IMAGE_BITMAP, 0));
          EXPECT_TRUE(
              SendDlgItemMessageW(dialog, IDC_PICTURE_WIN10, STM_GETIMAGE, IMAGE_BITMAP, 0));
          EXPECT_TRUE(SendDlgItemMessageW(dialog, IDC_WARNING_ICON, STM_GETICON, 0, 0));
          EXPECT_TRUE(SendMessageW(dialog, WM_GETICON, ICON_BIG, 0));
          expectFitsUnderThePictures(dialog, {IDM_SETTINGS, IDC_FORCE_EXIT, IDCANCEL});
          EXPECT_EQ(text(dialog, IDC_FORCE_EXIT), japanese ? L"強制終了(&F)" : L"&Force Exit");
          EXPECT_EQ(text(dialog, IDM_SETTINGS), japanese ? L"設定(&S)..." : L"&Settings...");
          EXPECT_EQ(text(dialog, IDCANCEL), japanese ? L"キャンセル" : L"Cancel");
          PostMessageW(dialog, WM_COMMAND, IDC_FORCE_EXIT, 0);
        });
    EXPECT_EQ(result, IDC_FORCE_EXIT) << japanese;
  }
}

std::vector<std::pair<UINT, WPARAM>> received;

LRESULT CALLBACK recordingProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= WM_APP) received.emplace_back(msg, wParam);
  return DefWindowProcW(window, msg, wParam, lParam);
}

TEST_F(StartDialogs, SettingsAsksTheRunningInstanceToOpenItsSettings) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = recordingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kMainWindowClass;
  RegisterClassW(&wc);
  const HWND running = CreateWindowExW(0, kMainWindowClass, L"Kivora", WS_POPUP, 0, 0, 10, 10,
                                       nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(running);
  received.clear();
  INT_PTR result = 0;
  test::runWithDriver(
      [&] { result = showAlreadyRunningDialog(GetModuleHandleW(nullptr), false, images_); },
      [&] {
        const HWND dialog = test::waitForDialog(L"Kivora");
        ASSERT_TRUE(dialog);
        PostMessageW(dialog, WM_COMMAND, IDM_SETTINGS, 0);
      });
  EXPECT_EQ(result, IDM_SETTINGS) << "not Force Exit";
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0], (std::pair<UINT, WPARAM>{MYWM_EXECALL, IDM_SETTINGS}));
  DestroyWindow(running);
  UnregisterClassW(kMainWindowClass, GetModuleHandleW(nullptr));
}

// Runs the modeless opening dialog until it closes.
void runUntilClosed(App& app) {
  MSG msg;
  const ULONGLONG end = GetTickCount64() + 10000;
  while (app.openingDialog && GetTickCount64() < end) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (app.openingDialog && IsDialogMessageW(app.openingDialog, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

TEST_F(StartDialogs, OpeningDialogNotShownAgainWhenTicked) {
  test::TestApp test(true);
  App& app = *test.app;
  app.images = std::move(images_);
  const HWND dialog = createOpeningDialog(app);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(app.openingDialog, dialog);
  EXPECT_TRUE(IsWindowVisible(dialog));
  expectFitsUnderThePictures(dialog, {IDC_NO_OPENING_DLG, IDCANCEL});
  EXPECT_EQ(text(dialog, IDCANCEL), L"閉じる(&C)");
  CheckDlgButton(dialog, IDC_NO_OPENING_DLG, BST_CHECKED);
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  runUntilClosed(app);
  EXPECT_FALSE(app.openingDialog);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(app.settings.NoOpeningDlg, 1);
  EXPECT_EQ(GetPrivateProfileIntW(L"Kivora", L"NoOpeningDlg", -1,
                                  test.folder.file(L"Kivora.ini").c_str()),
            1)
      << "saved at once";
}

TEST_F(StartDialogs, OpeningDialogClosedUntickedSavesNothing) {
  test::TestApp test(true);
  App& app = *test.app;
  app.settings.BIGDIALOG = 1;
  const HWND dialog = createOpeningDialog(app);
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(app.openingEnlargement.has_value());
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  runUntilClosed(app);
  EXPECT_FALSE(app.openingDialog);
  EXPECT_FALSE(app.openingEnlargement.has_value()) << "the enlargement is undone";
  EXPECT_EQ(app.settings.NoOpeningDlg, 0);
  EXPECT_EQ(GetFileAttributesW(test.folder.file(L"Kivora.ini").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace kivora::app
