// The keyboard device dialog under Wine, over the real raw-input device
// list: a connected keyboard is added once, a duplicate is refused with its
// message, and only OK changes the watched list.

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "resource_ids.h"
#include "win/settings_dialogs/dialog_fixture.h"
#include "win/settings_dialogs/dialog_robot.h"

namespace kivora::test {
namespace {

constexpr wchar_t kCaption[] = L"Select keyboard devices";

class DeviceDialogTest : public DialogTest {
 protected:
  INT_PTR run(const std::function<void(HWND)>& robot) {
    const ui::DeviceDialogContext context{basics(false), settings, devices};
    return runWithRobot([&] { return ui::showDeviceDialog(mainWindow.get(), context); },
                        [&] {
                          HWND dialog = waitForWindow(L"#32770", kCaption);
                          ASSERT_NE(dialog, nullptr) << "the device dialog did not open";
                          robot(dialog);
                        });
  }
};

int count(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageW(dialog, id, LB_GETCOUNT, 0, 0));
}

std::wstring entry(HWND dialog, int id, int index) {
  std::vector<wchar_t> text(
      static_cast<std::size_t>(SendDlgItemMessageW(dialog, id, LB_GETTEXTLEN, index, 0)) + 1);
  SendDlgItemMessageW(dialog, id, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  return text.data();
}

TEST_F(DeviceDialogTest, AConnectedKeyboardIsAddedOnceAndADuplicateRefused) {
  std::wstring added;
  EXPECT_EQ(run([&](HWND dialog) {
              ASSERT_GE(count(dialog, IDC_CONNECTED_DEVICES), 1) << "Wine reports no keyboard";
              EXPECT_EQ(count(dialog, IDC_WATCHED_DEVICE_LIST), 0);
              pressButton(dialog, IDC_DEVICE_ADD);
              EXPECT_EQ(answerBox(kCaption),
                        L"Please select the item you would like to add from the list above.");

              SendDlgItemMessageW(dialog, IDC_CONNECTED_DEVICES, LB_SETCURSEL, 0, 0);
              added = entry(dialog, IDC_CONNECTED_DEVICES, 0);
              pressButton(dialog, IDC_DEVICE_ADD);
              for (int i = 0; i < 100 && count(dialog, IDC_WATCHED_DEVICE_LIST) == 0; ++i)
                Sleep(20);
              EXPECT_EQ(entry(dialog, IDC_WATCHED_DEVICE_LIST, 0), added);
              pressButton(dialog, IDC_DEVICE_ADD);
              EXPECT_EQ(answerBox(kCaption), L"This device name is already registered.");
              EXPECT_EQ(count(dialog, IDC_WATCHED_DEVICE_LIST), 1);

              tick(dialog, IDC_DEVICE_REVERSE, true);
              pressButton(dialog, IDOK);
              EXPECT_TRUE(waitUntilClosed(dialog));
            }),
            IDOK);
  EXPECT_EQ(settings.watchedKeyboards, std::vector<std::u16string>{win32::fromWide(added.c_str())});
  EXPECT_EQ(settings.NOT_WATCH_DEV_NUMLOCK, 1);
  // The names are those of the device watch, cut at their second '#'.
  const auto& connected = devices.connectedKeyboards();
  EXPECT_NE(std::find(connected.begin(), connected.end(), settings.watchedKeyboards.front()),
            connected.end());
  EXPECT_TRUE(shell.boxes().empty());
}

TEST_F(DeviceDialogTest, WatchedNamesStayWhetherConnectedOrNotAndOnlyOkTakesChanges) {
  const std::vector<std::u16string> watched{u"\\\\?\\HID#gone-keyboard", u"\\\\?\\HID#other"};
  settings.watchedKeyboards = watched;
  run([&](HWND dialog) {
    ASSERT_EQ(count(dialog, IDC_WATCHED_DEVICE_LIST), 2);
    EXPECT_EQ(entry(dialog, IDC_WATCHED_DEVICE_LIST, 1), L"\\\\?\\HID#other");
    EXPECT_FALSE(isTicked(dialog, IDC_DEVICE_REVERSE));
    SendDlgItemMessageW(dialog, IDC_WATCHED_DEVICE_LIST, LB_SETCURSEL, 0, 0);
    pressButton(dialog, IDC_DEVICE_DELETE);
    for (int i = 0; i < 100 && count(dialog, IDC_WATCHED_DEVICE_LIST) != 1; ++i) Sleep(20);
    pressButton(dialog, IDC_DEVICE_DELETE);
    EXPECT_EQ(answerBox(kCaption),
              L"Please select the item you would like to remove from the second list.");
    pressButton(dialog, IDCANCEL);
    EXPECT_TRUE(waitUntilClosed(dialog));
  });
  EXPECT_EQ(settings.watchedKeyboards, watched);

  run([&](HWND dialog) {
    for (int n = 2; n > 0; --n) {
      SendDlgItemMessageW(dialog, IDC_WATCHED_DEVICE_LIST, LB_SETCURSEL, 0, 0);
      pressButton(dialog, IDC_DEVICE_DELETE);
      for (int i = 0; i < 100 && count(dialog, IDC_WATCHED_DEVICE_LIST) != n - 1; ++i) Sleep(20);
    }
    pressButton(dialog, IDOK);
    EXPECT_TRUE(waitUntilClosed(dialog));
  });
  EXPECT_TRUE(settings.watchedKeyboards.empty());
}

}  // namespace
}  // namespace kivora::test
