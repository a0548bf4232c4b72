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
#include "win/kivora_module.h"
#include "win/test_paths.h"

namespace app = kivora::app;
namespace win32 = kivora::win32;

namespace {

// An icon's colour pixels as 4-bit indexes of the standard palette, and its
// mask; rows padded to four bytes as GetDIBits hands them out.
struct IconImage {
  int size = 0;
  std::vector<BYTE> colour;
  std::vector<BYTE> mask;

  int colourStride() const { return (size * 4 + 31) / 32 * 4; }
  int maskStride() const { return (size + 31) / 32 * 4; }
  int index(int x, int y) const {
    const BYTE b = colour[y * colourStride() + x / 2];
    return x % 2 ? (b & 0x0F) : (b >> 4);
  }
  bool transparent(int x, int y) const {
    return mask[y * maskStride() + x / 8] & (0x80 >> (x % 8));
  }
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
  if (bm.bmWidth != bm.bmHeight) return image;
  image.size = bm.bmWidth;
  image.colour.resize(image.colourStride() * image.size);
  image.mask.resize(image.maskStride() * image.size);
  win32::MemoryDC dc(nullptr);
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD palette[16];
  } four = {};
  const int n = image.size;
  four.header = {sizeof(BITMAPINFOHEADER), n, -n, 1, 4, BI_RGB, 0, 0, 0, 16, 0};
  EXPECT_EQ(GetDIBits(dc.get(), colour.get(), 0, n, image.colour.data(),
                      reinterpret_cast<BITMAPINFO*>(&four), DIB_RGB_COLORS),
            n);
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD palette[2];
  } one = {};
  one.header = {sizeof(BITMAPINFOHEADER), n, -n, 1, 1, BI_RGB, 0, 0, 0, 2, 0};
  EXPECT_EQ(GetDIBits(dc.get(), mask.get(), 0, n, image.mask.data(),
                      reinterpret_cast<BITMAPINFO*>(&one), DIB_RGB_COLORS),
            n);
  return image;
}

// Every size the icon resources hold an image of.
constexpr int kSizes[] = {16, 20, 24, 32};

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

app::LockIconParts loadParts(int size) {
  app::LockIconParts parts = app::loadLockIconParts(kivora::test::kivoraModule(), size);
  for (HICON part :
       {parts.base.get(), parts.baseDevice.get(), parts.numLock.get(), parts.capsLock.get(),
        parts.scrollLock.get(), parts.watching.get(), parts.paused.get(), parts.flash.get()}) {
    EXPECT_NE(part, nullptr) << "a part icon is missing from Kivora.exe";
  }
  return parts;
}

class LockStateIcons : public ::testing::Test {
 protected:
  void SetUp() override {
    boxRecord = {};
    parts_ = loadParts(16);
  }
  app::LockIconParts parts_;
};

TEST_F(LockStateIcons, EveryIconIsTheOrOfItsPartsWithTheBaseMaskAtEverySize) {
  for (const int size : kSizes) {
    SCOPED_TRACE(size);
    const app::LockIconParts parts = loadParts(size);
    app::LockStateIcons table;
    ASSERT_TRUE(app::buildLockStateIcons(parts, table, false, recordBox));
    EXPECT_EQ(boxRecord.calls, 0);

    const IconImage base = readIcon(parts.base.get()),
                    baseDevice = readIcon(parts.baseDevice.get());
    ASSERT_EQ(base.size, size);
    const IconImage keys[] = {readIcon(parts.numLock.get()), readIcon(parts.capsLock.get()),
                              readIcon(parts.scrollLock.get())};
    const IconImage states[] = {readIcon(parts.paused.get()), readIcon(parts.watching.get()),
                                readIcon(parts.flash.get())};
    for (int i = 0; i < 48; ++i) {
      const IconImage& b = i & 1 ? baseDevice : base;
      std::vector<BYTE> expected = b.colour;
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
}

// Where each part of the drawing is, at each size: x, y.
struct Spots {
  int size;
  int numLamp[2], capsLamp[2], scrollLamp[2], body[2], letter[2], keyboard[2], keyboardKey[2],
      rim[2];
};
constexpr Spots kSpots[] = {
    {16, {2, 2}, {7, 2}, {12, 2}, {8, 11}, {1, 6}, {3, 12}, {4, 13}, {0, 8}},
    {20, {3, 2}, {9, 2}, {16, 2}, {10, 14}, {1, 7}, {3, 15}, {4, 16}, {0, 8}},
    {24, {3, 2}, {11, 2}, {19, 2}, {12, 16}, {1, 8}, {3, 18}, {4, 19}, {0, 8}},
    {32, {5, 4}, {15, 4}, {25, 4}, {16, 22}, {2, 12}, {4, 24}, {5, 25}, {0, 8}},
};

void expectIntendedColours(const app::LockIconParts& parts, const Spots& spots) {
  app::LockStateIcons table;
  ASSERT_TRUE(app::buildLockStateIcons(parts, table, false, recordBox));
  // Indexes of the 16-colour table GetDIBits reads with.
  constexpr int kBlack = 0, kOlive = 3, kNavy = 4, kGrey = 7, kSilver = 8, kGreen = 10,
                kYellow = 11, kBlue = 12;
  constexpr int kWhite = 15;
  const auto& [size, numLamp, capsLamp, scrollLamp, body, letter, keyboard, keyboardKey, rim] =
      spots;

  const IconImage paused = readIcon(table[0].get());
  EXPECT_EQ(paused.index(body[0], body[1]), kSilver);
  EXPECT_EQ(paused.index(letter[0], letter[1]), kGrey);
  EXPECT_EQ(paused.index(rim[0], rim[1]), kGrey);
  EXPECT_EQ(paused.index(numLamp[0], numLamp[1]), kBlack);
  EXPECT_TRUE(paused.transparent(0, 0)) << "rounded corner";
  EXPECT_FALSE(paused.transparent(size / 2, size / 2));

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

TEST_F(LockStateIcons, ComposedColoursAreTheIntendedOnesAtEverySize) {
  for (const Spots& spots : kSpots) {
    SCOPED_TRACE(spots.size);
    expectIntendedColours(loadParts(spots.size), spots);
  }
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
  // A base of another size than its parts cannot be composed, so the very
  // first icon fails.
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
      EXPECT_EQ(readIcon(table[i].get()).size, 32) << i;
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
