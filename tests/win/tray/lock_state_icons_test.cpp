// The 48 lock-state icons composed from the parts in the built Kivora.exe,
// read back pixel by pixel, and the fallback when composition fails.

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/tray_icons.h"
#include "platform/win32/handles.h"
#include "resource_ids.h"
#include "win/test_paths.h"
#include "win/tray/kivora_module.h"

namespace app = kivora::app;
namespace win32 = kivora::win32;

namespace {

// An icon's colour pixels as 4-bit indexes of the standard palette, and its mask.
struct IconImage {
  std::array<BYTE, 128> colour = {};
  std::array<BYTE, 64> mask = {};  // 1 bit a pixel, rows padded to 4 bytes
  int width = 0;

  int index(int x, int y) const {
    const BYTE b = colour[y * 8 + x / 2];
    return x % 2 ? (b & 0x0F) : (b >> 4);
  }
  bool transparent(int x, int y) const { return mask[y * 4 + x / 8] & (0x80 >> (x % 8)); }
};

IconImage readIcon(HICON icon) {
  IconImage image;
  ICONINFO info = {};
  if (!icon || !GetIconInfo(icon, &info)) {
    ADD_FAILURE() << "not an icon";
    return image;
  }
  win32::UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
  BITMAP bm = {};
  GetObjectW(colour.get(), sizeof bm, &bm);
  image.width = bm.bmWidth;
  if (bm.bmWidth != 16 || bm.bmHeight != 16) return image;
  win32::MemoryDC dc(nullptr);
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD palette[16];
  } four = {};
  four.header = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 4, BI_RGB, 0, 0, 0, 16, 0};
  EXPECT_EQ(GetDIBits(dc.get(), colour.get(), 0, 16, image.colour.data(),
                      reinterpret_cast<BITMAPINFO*>(&four), DIB_RGB_COLORS),
            16);
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD palette[2];
  } one = {};
  one.header = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 1, BI_RGB, 0, 0, 0, 2, 0};
  EXPECT_EQ(GetDIBits(dc.get(), mask.get(), 0, 16, image.mask.data(),
                      reinterpret_cast<BITMAPINFO*>(&one), DIB_RGB_COLORS),
            16);
  return image;
}

// Records what a message box would have shown.
struct BoxRecord {
  int calls = 0;
  std::wstring text;
  std::wstring caption;
  UINT type = 0;
};
BoxRecord boxRecord;

int WINAPI recordBox(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
  ++boxRecord.calls;
  boxRecord.text = text ? text : L"";
  boxRecord.caption = caption ? caption : L"";
  boxRecord.type = type;
  return IDOK;
}

class LockStateIcons : public ::testing::Test {
 protected:
  void SetUp() override {
    boxRecord = {};
    parts_ = app::loadLockIconParts(kivora::test::kivoraModule());
    for (HICON part : {parts_.base.get(), parts_.baseDevice.get(), parts_.numLock.get(),
                       parts_.capsLock.get(), parts_.scrollLock.get(), parts_.watching.get(),
                       parts_.paused.get(), parts_.flash.get()}) {
      ASSERT_NE(part, nullptr) << "a part icon is missing from Kivora.exe";
    }
  }
  app::LockIconParts parts_;
};

TEST_F(LockStateIcons, EveryIconIsTheOrOfItsPartsWithTheBaseMask) {
  app::LockStateIcons table;
  ASSERT_TRUE(app::buildLockStateIcons(parts_, table, false, recordBox));
  EXPECT_EQ(boxRecord.calls, 0);

  const IconImage base = readIcon(parts_.base.get()),
                  baseDevice = readIcon(parts_.baseDevice.get());
  const IconImage keys[] = {readIcon(parts_.numLock.get()), readIcon(parts_.capsLock.get()),
                            readIcon(parts_.scrollLock.get())};
  const IconImage states[] = {readIcon(parts_.paused.get()), readIcon(parts_.watching.get()),
                              readIcon(parts_.flash.get())};
  for (int i = 0; i < 48; ++i) {
    const IconImage& b = i & 1 ? baseDevice : base;
    std::array<BYTE, 128> expected = b.colour;
    for (size_t n = 0; n < expected.size(); ++n) {
      expected[n] |= states[i >> 4].colour[n];
      for (int k = 0; k < 3; ++k) {
        if (i & (2 << k)) expected[n] |= keys[k].colour[n];
      }
    }
    const IconImage composed = readIcon(table[i].get());
    EXPECT_EQ(composed.colour, expected) << "icon " << i;
    EXPECT_EQ(composed.mask, b.mask) << "icon " << i;
  }
}

TEST_F(LockStateIcons, ComposedColoursAreTheIntendedOnes) {
  app::LockStateIcons table;
  ASSERT_TRUE(app::buildLockStateIcons(parts_, table, false, recordBox));
  // Indexes of the 16-colour table GetDIBits reads with.
  constexpr int kBlack = 0, kOlive = 3, kNavy = 4, kGrey = 7, kSilver = 8, kGreen = 10,
                kYellow = 11, kBlue = 12;
  constexpr int kWhite = 15;
  const int numLamp[] = {2, 2}, capsLamp[] = {7, 2}, scrollLamp[] = {12, 2}, body[] = {8, 11},
            letter[] = {1, 6};
  const int keyboard[] = {3, 12}, keyboardKey[] = {4, 13}, rim[] = {0, 8};

  const IconImage paused = readIcon(table[0].get());
  EXPECT_EQ(paused.index(body[0], body[1]), kSilver);
  EXPECT_EQ(paused.index(letter[0], letter[1]), kGrey);
  EXPECT_EQ(paused.index(rim[0], rim[1]), kGrey);
  EXPECT_EQ(paused.index(numLamp[0], numLamp[1]), kBlack);
  EXPECT_TRUE(paused.transparent(0, 0)) << "rounded corner";
  EXPECT_FALSE(paused.transparent(8, 8));

  const IconImage watchingNumScroll = readIcon(table[16 + 8 + 2].get());
  EXPECT_EQ(watchingNumScroll.index(body[0], body[1]), kBlue);
  EXPECT_EQ(watchingNumScroll.index(letter[0], letter[1]), kWhite);
  EXPECT_EQ(watchingNumScroll.index(rim[0], rim[1]), kNavy);
  EXPECT_EQ(watchingNumScroll.index(numLamp[0], numLamp[1]), kGreen);
  EXPECT_EQ(watchingNumScroll.index(capsLamp[0], capsLamp[1]), kBlack);
  EXPECT_EQ(watchingNumScroll.index(scrollLamp[0], scrollLamp[1]), kGreen);

  const IconImage flashCapsDevice = readIcon(table[32 + 4 + 1].get());
  EXPECT_EQ(flashCapsDevice.index(body[0], body[1]), kYellow);
  EXPECT_EQ(flashCapsDevice.index(letter[0], letter[1]), kBlack);
  EXPECT_EQ(flashCapsDevice.index(capsLamp[0], capsLamp[1]), kGreen);
  EXPECT_EQ(flashCapsDevice.index(keyboard[0], keyboard[1]), kOlive);
  EXPECT_EQ(flashCapsDevice.index(keyboardKey[0], keyboardKey[1]), kYellow);

  const IconImage watchingDevice = readIcon(table[17].get());
  EXPECT_EQ(watchingDevice.index(keyboard[0], keyboard[1]), kNavy);
  EXPECT_EQ(readIcon(table[16].get()).index(keyboard[0], keyboard[1]), kBlue)
      << "no keyboard without a device";
}

TEST_F(LockStateIcons, CompositionNeedsADeviceContextAndSmallIcons) {
  EXPECT_FALSE(app::composeLockStateIcon(parts_, nullptr, false, true, false, false, 1));
  win32::MemoryDC dc(nullptr);
  EXPECT_TRUE(app::composeLockStateIcon(parts_, dc.get(), true, true, true, true, 2));
  parts_.capsLock.reset();
  EXPECT_FALSE(app::composeLockStateIcon(parts_, dc.get(), false, false, true, false, 1))
      << "a missing part";
  EXPECT_TRUE(app::composeLockStateIcon(parts_, dc.get(), false, true, false, false, 1))
      << "not needed here";
}

TEST_F(LockStateIcons, FailedCompositionReportsOnceAndUsesCopiesOfTheBases) {
  // A 32 x 32 base cannot be composed, so the very first icon fails.
  parts_.base.reset(static_cast<HICON>(LoadImageW(
      kivora::test::kivoraModule(), MAKEINTRESOURCEW(IDI_KIVORA), IMAGE_ICON, 32, 32, 0)));
  ASSERT_TRUE(parts_.base);
  app::LockStateIcons table;
  EXPECT_FALSE(app::buildLockStateIcons(parts_, table, false, recordBox));
  EXPECT_EQ(boxRecord.calls, 1);
  EXPECT_EQ(boxRecord.caption, L"Kivora");
  EXPECT_EQ(boxRecord.type, static_cast<UINT>(MB_OK | MB_ICONERROR));
  EXPECT_EQ(boxRecord.text,
            L"Custom icon composition failed. The 'Show the lock state of keys on tasktray icon' "
            L"function does not "
            L"work properly.");

  const IconImage device = readIcon(parts_.baseDevice.get());
  for (int i = 0; i < 48; ++i) {
    ASSERT_TRUE(table[i]) << i;
    if (i % 2) {
      EXPECT_NE(table[i].get(), parts_.baseDevice.get()) << "a copy, not the part itself";
      EXPECT_EQ(readIcon(table[i].get()).colour, device.colour) << i;
    } else {
      EXPECT_EQ(readIcon(table[i].get()).width, 32) << i;
    }
  }
  // The copies outlive the parts.
  parts_ = {};
  EXPECT_EQ(readIcon(table[1].get()).colour, device.colour);
}

HWND waitForBox(const wchar_t* caption) {
  for (int i = 0; i < 200; ++i) {
    if (HWND w = FindWindowW(L"#32770", caption)) return w;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return nullptr;
}

TEST_F(LockStateIcons, FailureBoxIsARealMessageBoxInJapanese) {
  parts_.base.reset();
  parts_.baseDevice.reset();
  std::atomic<bool> built{true};
  app::LockStateIcons table;
  std::thread start([&] { built = app::buildLockStateIcons(parts_, table, true); });
  HWND box = waitForBox(L"Kivora");
  ASSERT_TRUE(box);
  wchar_t text[512] = {};
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[16] = {};
    GetClassNameW(child, cls, 16);
    if (std::wstring(cls) == L"Static" && GetWindowTextLengthW(child) > 10)
      GetWindowTextW(child, text, 512);
  }
  EXPECT_STREQ(text,
               L"カスタムアイコンの合成に失敗しました。\r\n"
               L"「通知領域アイコンに各キーのロック状態を表示する」機能はうまく動作しません。");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  start.join();
  EXPECT_FALSE(built);
}

}  // namespace
