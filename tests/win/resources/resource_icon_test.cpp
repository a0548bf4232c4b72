// The icon groups of the built Kivora.exe: every tray icon and lock-state
// part holds an image for each scaling the taskbar uses, and the application
// icon the sizes Explorer, Alt+Tab and the installer ask for.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/win32/handles.h"
#include "resource_ids.h"
#include "win/kivora_module.h"

namespace {

#pragma pack(push, 2)
struct GroupEntry {
  BYTE width;  // 0 stands for 256
  BYTE height;
  BYTE colours;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

struct Image {
  int size;
  int bitCount;
  bool png;
};

const void* resourceData(HMODULE module, const wchar_t* name, const wchar_t* type, DWORD* bytes) {
  HRSRC found = FindResourceW(module, name, type);
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  *bytes = SizeofResource(module, found);
  return loaded ? LockResource(loaded) : nullptr;
}

std::vector<Image> groupImages(HMODULE module, int group) {
  DWORD bytes = 0;
  const auto* data = static_cast<const BYTE*>(
      resourceData(module, MAKEINTRESOURCEW(group), RT_GROUP_ICON, &bytes));
  if (!data || bytes < 6) {
    ADD_FAILURE() << "no icon group " << group;
    return {};
  }
  WORD count = 0;
  std::memcpy(&count, data + 4, sizeof count);
  std::vector<Image> images;
  for (WORD i = 0; i < count && 6 + (i + 1) * sizeof(GroupEntry) <= bytes; ++i) {
    GroupEntry entry;
    std::memcpy(&entry, data + 6 + i * sizeof(GroupEntry), sizeof entry);
    DWORD imageBytes = 0;
    const auto* image = static_cast<const BYTE*>(
        resourceData(module, MAKEINTRESOURCEW(entry.id), RT_ICON, &imageBytes));
    const bool png = image && imageBytes >= 8 && std::memcmp(image, "\x89PNG\r\n\x1a\n", 8) == 0;
    images.push_back({entry.width ? entry.width : 256, entry.bitCount, png});
  }
  return images;
}

std::vector<int> sizesOf(const std::vector<Image>& images) {
  std::vector<int> sizes;
  for (const Image& image : images) sizes.push_back(image.size);
  return sizes;
}

TEST(IconGroups, TrayIconsAndLockStatePartsHoldEveryTaskbarSize) {
  const int groups[] = {IDI_KEY_CHANGE,        IDI_WATCHING,         IDI_PAUSED,
                        IDI_KEY_CHANGE_DEVICE, IDI_DEVICE_WATCHING,  IDI_DEVICE_PAUSED,
                        IDI_LOCK_BASE,         IDI_LOCK_BASE_DEVICE, IDI_LOCK_NUMLOCK,
                        IDI_LOCK_CAPSLOCK,     IDI_LOCK_SCROLLLOCK,  IDI_LOCK_WATCHING,
                        IDI_LOCK_PAUSED,       IDI_LOCK_FLASH};
  for (const int group : groups) {
    const std::vector<Image> images = groupImages(kivora::test::kivoraModule(), group);
    EXPECT_EQ(sizesOf(images), (std::vector<int>{16, 20, 24, 32})) << "icon " << group;
    // Composition ORs 4-bit palette indexes.
    for (const Image& image : images) EXPECT_EQ(image.bitCount, 4) << "icon " << group;
  }
}

TEST(IconGroups, ApplicationIconHoldsTheSizesExplorerAsksFor) {
  const std::vector<Image> images = groupImages(kivora::test::kivoraModule(), IDI_KIVORA);
  EXPECT_EQ(sizesOf(images), (std::vector<int>{16, 24, 32, 48, 256}));
  ASSERT_FALSE(images.empty());
  EXPECT_TRUE(images.back().png) << "the 256-pixel image is stored as PNG";
  kivora::win32::UniqueIcon large(static_cast<HICON>(LoadImageW(
      kivora::test::kivoraModule(), MAKEINTRESOURCEW(IDI_KIVORA), IMAGE_ICON, 256, 256, 0)));
  EXPECT_TRUE(large) << "Windows reads the PNG image";
}

}  // namespace
