// The settings dialog under Wine, opened through its entry point and driven
// by its controls: what OK saves, what Cancel keeps, which controls the
// switches enable, and the boxes, help topics and sub-dialogs it opens.

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cwctype>
#include <map>
#include <string>
#include <vector>

#include "platform/win32/windows_version.h"
#include "resource_ids.h"
#include "settings/combobox_queue.h"
#include "settings/settings_form.h"
#include "win/settings_dialogs/dialog_fixture.h"
#include "win/settings_dialogs/dialog_robot.h"

namespace kivora::test {
namespace {

constexpr wchar_t kEnglishTitle[] = L"Kivora Settings";
constexpr wchar_t kJapaneseTitle[] = L"Kivora 設定";

class SettingsDialogTest : public DialogTest {
 protected:
  INT_PTR run(bool japanese, const std::function<void(HWND)>& robot) {
    const ui::SettingsDialogContext context = settingsContext(japanese);
    return runWithRobot([&] { return ui::showSettingsDialog(context); },
                        [&] {
                          HWND dialog =
                              waitForWindow(L"#32770", japanese ? kJapaneseTitle : kEnglishTitle);
                          ASSERT_NE(dialog, nullptr) << "the settings dialog did not open";
                          robot(dialog);
                        });
  }
  std::vector<std::u16string> storedHistory() {
    settings::ComboboxQueue queue(store(), u"cbq_wavfile");
    queue.load(settings.bUseIni);
    return queue.entries();
  }
  // Whether another window could take the hotkey now (it cannot while
  // Kivora's main window holds it).
  static bool hotkeyIsFree(UINT modifiers, UINT key) {
    TestWindow other(L"hotkey probe", false);
    if (!RegisterHotKey(other.get(), 77, modifiers, key)) return false;
    UnregisterHotKey(other.get(), 77);
    return true;
  }
};

// Each layout's access keys: a letter used twice would reach only one of its controls.
void expectDistinctAccessKeys(HWND dialog) {
  std::map<wchar_t, std::wstring> owners;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t text[256] = {};
    GetWindowTextW(child, text, 256);
    const std::wstring label = text;
    for (std::size_t at = label.find(L'&'); at != std::wstring::npos && at + 1 < label.size();
         at = label.find(L'&', at + 2)) {
      if (label[at + 1] == L'&') continue;
      const auto [owner, added] = owners.emplace(towupper(label[at + 1]), label);
      EXPECT_TRUE(added) << "\"" << std::string(1, static_cast<char>(label[at + 1]))
                         << "\" is taken twice";
    }
  }
}

class SettingsDialogStores : public SettingsDialogTest, public testing::WithParamInterface<bool> {};

TEST_P(SettingsDialogStores, OkAppliesAndSavesWhatTheControlsShow) {
  settings.bUseIni = GetParam();
  settings::ComboboxQueue history(store(), u"cbq_wavfile");
  history.push(u"C:\\old.wav", settings.bUseIni);

  const INT_PTR result = run(false, [&](HWND dialog) {
    EXPECT_TRUE(dialogOpen);
    EXPECT_EQ(settingsWindow, dialog);
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_NUMLOCK_MODE, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_CAPSLOCK_MODE, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_SOUND_FILE, CB_GETCOUNT, 0, 0), 1);

    choose(dialog, IDC_NUMLOCK_MODE, 1);
    choose(dialog, IDC_NUMLOCK_STATE, 0);
    choose(dialog, IDC_CAPSLOCK_MODE, 2);
    choose(dialog, IDC_CAPSLOCK_STATE, 1);
    tick(dialog, IDC_PLAY_SOUND, true);
    type(dialog, IDC_SOUND_FILE, L"C:\\new.wav");
    choose(dialog, IDC_IME_LOCK, 3);
    choose(dialog, IDC_PAUSE_CLICK, 2);
    type(dialog, IDC_INTERVAL, L"50");
    tick(dialog, IDC_NOTIFY_ONLY, true);
    type(dialog, IDC_RETURN_WAIT, L"3000");
    SendDlgItemMessageW(dialog, IDC_PAUSE_HOTKEY, HKM_SETHOTKEY,
                        MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0);
    tick(dialog, IDC_BLOCK_INSERT, true);
    tick(dialog, IDC_SHOW_LOCK_ICON, true);
    tick(dialog, IDC_SEND_TK, true);
    EXPECT_TRUE(isTicked(dialog, IDC_INSTANT_CHECK));
    tick(dialog, IDC_INSTANT_CHECK, false);
    expectDistinctAccessKeys(dialog);
    pressButton(dialog, IDOK);
    EXPECT_TRUE(waitUntilClosed(dialog));
  });

  EXPECT_EQ(result, IDOK);
  const auto saved = stored();
  for (const settings::Settings* s : {&settings, saved.get()}) {
    EXPECT_EQ(s->NumLockState, 2);
    EXPECT_EQ(s->CapsLockState, 5);
    EXPECT_EQ(s->PlaySound, 1);
    EXPECT_EQ(s->PlaySoundFileName, u"C:\\new.wav");
    EXPECT_EQ(s->ImeLock, 3);
    EXPECT_EQ(s->EnDisTTIcon, 2);
    EXPECT_EQ(s->timer3_interval, 100u);
    EXPECT_EQ(s->NotifyOnly, 1);
    EXPECT_EQ(s->return_waitmsec, 3000);
    EXPECT_EQ(s->HOTKEY_ENDISTTICON, 0x034B);
    EXPECT_EQ(s->BlockInsert, 1);
    EXPECT_EQ(s->ShowLockedKeyIcon, 1);
    EXPECT_EQ(s->SendTK, 1);
    EXPECT_EQ(s->InstantCheck, 0);
  }
  EXPECT_EQ(storedHistory(), (std::vector<std::u16string>{u"C:\\new.wav", u"C:\\old.wav"}));
  EXPECT_FALSE(hotkeyIsFree(0, VK_INSERT));
  EXPECT_FALSE(hotkeyIsFree(MOD_CONTROL | MOD_SHIFT, 'K'));
  EXPECT_EQ(hooks.hotkeyRegistrations, 1);  // the save's, after the dialog's own
  EXPECT_TRUE(hooks.warnings.empty());
  EXPECT_EQ(timerRestarts, 1);
  EXPECT_EQ(instantCheckFollows, 1);
  EXPECT_EQ(trayUpdates, 1);
  EXPECT_FALSE(dialogOpen);
  EXPECT_EQ(settingsWindow, nullptr);
}

INSTANTIATE_TEST_SUITE_P(BothStores, SettingsDialogStores, testing::Bool(),
                         [](const auto& info) { return info.param ? "Ini" : "Registry"; });

TEST_F(SettingsDialogTest, SwitchesEnableTheirControlsAndCancelKeepsEverything) {
  const settings::SettingsForm before = settings::formFromSettings(settings);
  const INT_PTR result = run(true, [&](HWND dialog) {
    RECT window{};
    RECT work{};
    GetWindowRect(dialog, &window);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(window.right, work.right - GetSystemMetrics(SM_CXDLGFRAME));
    EXPECT_EQ(window.bottom, work.bottom - GetSystemMetrics(SM_CYDLGFRAME));

    for (int id : {IDC_NUMLOCK_STATE, IDC_WATCHED_DEVICES, IDC_REMOTE_MODE, IDC_REMOTE_STATE,
                   IDC_CAPSLOCK_STATE, IDC_SCROLLLOCK_STATE, IDC_SOUND_FILE, IDC_SOUND_BROWSE,
                   IDC_RETURN_WAIT, IDC_EDIT_SCRIPT}) {
      EXPECT_FALSE(isEnabled(dialog, id)) << id;
    }
    choose(dialog, IDC_NUMLOCK_MODE, 3);  // "Connecting devices" needs no tick for the devices
    EXPECT_TRUE(isEnabled(dialog, IDC_NUMLOCK_STATE));
    EXPECT_TRUE(isEnabled(dialog, IDC_WATCHED_DEVICES));
    choose(dialog, IDC_NUMLOCK_MODE, 1);
    EXPECT_FALSE(isEnabled(dialog, IDC_WATCHED_DEVICES));
    tick(dialog, IDC_NOTIFY_WATCHED_DEVICE, true);
    EXPECT_TRUE(isEnabled(dialog, IDC_WATCHED_DEVICES));

    tick(dialog, IDC_REMOTE_CHECK, true);
    EXPECT_TRUE(isEnabled(dialog, IDC_REMOTE_MODE));
    EXPECT_FALSE(isEnabled(dialog, IDC_REMOTE_STATE));
    choose(dialog, IDC_REMOTE_MODE, 2);
    EXPECT_TRUE(isEnabled(dialog, IDC_REMOTE_STATE));
    choose(dialog, IDC_SCROLLLOCK_MODE, 1);
    EXPECT_TRUE(isEnabled(dialog, IDC_SCROLLLOCK_STATE));
    EXPECT_FALSE(isEnabled(dialog, IDC_CAPSLOCK_STATE));
    tick(dialog, IDC_PLAY_SOUND, true);
    EXPECT_TRUE(isEnabled(dialog, IDC_SOUND_FILE));
    EXPECT_TRUE(isEnabled(dialog, IDC_SOUND_BROWSE));
    tick(dialog, IDC_NOTIFY_ONLY, true);
    EXPECT_TRUE(isEnabled(dialog, IDC_RETURN_WAIT));
    tick(dialog, IDC_USE_SCRIPT, true);
    EXPECT_TRUE(isEnabled(dialog, IDC_EDIT_SCRIPT));
    tick(dialog, IDC_USE_SCRIPT, false);
    EXPECT_FALSE(isEnabled(dialog, IDC_EDIT_SCRIPT));
    tick(dialog, IDC_INSTANT_CHECK, false);
    expectDistinctAccessKeys(dialog);

    // The rule list and the device dialog open over it, in Japanese too.
    pressButton(dialog, IDC_WINDOW_RULES);
    HWND rules = waitForWindow(L"#32770", L"ウインドウごとに挙動を変える");
    EXPECT_NE(rules, nullptr);
    pressButton(rules, IDCANCEL);
    EXPECT_TRUE(waitUntilClosed(rules));
    pressButton(dialog, IDC_WATCHED_DEVICES);
    HWND devices = waitForWindow(L"#32770", L"キーボードデバイスを選択");
    EXPECT_NE(devices, nullptr);
    pressButton(devices, IDCANCEL);
    EXPECT_TRUE(waitUntilClosed(devices));

    pressButton(dialog, IDCANCEL);
    EXPECT_TRUE(waitUntilClosed(dialog));
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(settings::formFromSettings(settings), before);
  EXPECT_FALSE(anythingSaved());
  EXPECT_EQ(hooks.hotkeyRegistrations, 0);
  EXPECT_EQ(timerRestarts + trayUpdates + instantCheckFollows, 0);
  EXPECT_TRUE(hotkeyIsFree(0, VK_INSERT));
  EXPECT_FALSE(dialogOpen);
}

TEST_F(SettingsDialogTest, TheEnglishLayoutHasNoBigDialogBoxSoOkClearsBigDialog) {
  settings.BIGDIALOG = 1;
  run(false, [&](HWND dialog) {
    EXPECT_EQ(GetDlgItem(dialog, IDC_BIG_DIALOG), nullptr);
    EXPECT_EQ(GetDlgItem(dialog, IDC_IME_HELP_LINK), nullptr);
    // Enlarged: it fills the work area in one direction.
    RECT window{};
    RECT work{};
    GetWindowRect(dialog, &window);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const bool fillsWidth = window.right - window.left >= work.right - work.left - 2;
    const bool fillsHeight = window.bottom - window.top >= work.bottom - work.top - 2;
    EXPECT_TRUE(fillsWidth || fillsHeight);
    pressButton(dialog, IDOK);
    EXPECT_TRUE(waitUntilClosed(dialog));
  });
  EXPECT_EQ(settings.BIGDIALOG, 0);
  EXPECT_EQ(stored()->BIGDIALOG, 0);
}

TEST_F(SettingsDialogTest, SwitchingTheBigDialogBoxInJapaneseIsExplained) {
  run(true, [&](HWND dialog) {
    tick(dialog, IDC_BIG_DIALOG, true);
    pressButton(dialog, IDOK);
    const std::wstring text = answerBox(L"設定画面強制拡大");
    EXPECT_EQ(text.rfind(L"「設定画面強制拡大」はテスト中の機能です。", 0), 0u) << "no explanation";
    EXPECT_TRUE(waitUntilClosed(dialog));
  });
  EXPECT_EQ(stored()->BIGDIALOG, 1);
}

TEST_F(SettingsDialogTest, TheLogonNumLockIsAskedForWrittenOnChangeAndOtherwiseLeftAlone) {
  ASSERT_GE(win32::windowsVersion().major, 10u) << "the test program should see Windows 10";
  LogonNumLockGuard guard;
  LogonNumLockGuard::write(L"0");
  run(false, [&](HWND dialog) {
    EXPECT_FALSE(isTicked(dialog, IDC_LOGON_NUMLOCK));
    ASSERT_TRUE(isEnabled(dialog, IDC_LOGON_NUMLOCK));
    pressButton(dialog, IDC_LOGON_NUMLOCK);
    EXPECT_EQ(
        answerBox(L"Kivora", IDCANCEL).rfind(L"It is known that this setting does not work", 0),
        0u);
    EXPECT_FALSE(isTicked(dialog, IDC_LOGON_NUMLOCK));
    pressButton(dialog, IDC_LOGON_NUMLOCK);
    EXPECT_FALSE(answerBox(L"Kivora", IDOK).empty());
    EXPECT_TRUE(isTicked(dialog, IDC_LOGON_NUMLOCK));
    pressButton(dialog, IDOK);
    EXPECT_TRUE(waitUntilClosed(dialog));
  });
  EXPECT_EQ(LogonNumLockGuard::read(), L"2");

  run(false, [&](HWND dialog) {
    EXPECT_TRUE(isTicked(dialog, IDC_LOGON_NUMLOCK));
    pressButton(dialog, IDC_LOGON_NUMLOCK);  // unticking asks nothing
    for (int i = 0; i < 50 && isTicked(dialog, IDC_LOGON_NUMLOCK); ++i) Sleep(20);
    EXPECT_FALSE(isTicked(dialog, IDC_LOGON_NUMLOCK));
    pressButton(dialog, IDOK);
    EXPECT_TRUE(waitUntilClosed(dialog));
  });
  EXPECT_EQ(LogonNumLockGuard::read(), L"0");

  LogonNumLockGuard::write(L"2147483648");
  run(false, [&](HWND dialog) {
    pressButton(dialog, IDOK);
    EXPECT_TRUE(waitUntilClosed(dialog));
  });
  EXPECT_EQ(LogonNumLockGuard::read(), L"2147483648");
}

TEST_F(SettingsDialogTest, ImeModeFromOutsideScriptSwitchAndEditorButton) {
  settings.use_script = 1;
  scriptRunning = true;
  std::vector<HWND> editorOwners;
  run(false, [&](HWND dialog) {
    ui::selectSettingsImeMode(settingsWindow, 2);
    EXPECT_EQ(chosen(dialog, IDC_IME_LOCK), 2);
    // Without an editor the button says there is none yet.
    pressButton(dialog, IDC_EDIT_SCRIPT);
    EXPECT_EQ(answerBox(L"Kivora"),
              L"The script editor is not available in this version of Kivora yet.");
    tick(dialog, IDC_USE_SCRIPT, false);
    pressButton(dialog, IDC_HELP_BUTTON);
    pressButton(dialog, IDOK);
    EXPECT_TRUE(waitUntilClosed(dialog));
  });
  EXPECT_EQ(settings.ImeLock, 2);
  EXPECT_EQ(settings.use_script, 0);
  EXPECT_EQ(scriptStopRequests, 1);
  EXPECT_EQ(helpTopics, std::vector<std::wstring>{L"HLP000017.html"});

  scriptEditor = [&](HWND owner) { editorOwners.push_back(owner); };
  HWND shown = nullptr;
  run(true, [&](HWND dialog) {
    shown = dialog;
    pressButton(dialog, IDC_EDIT_SCRIPT);
    for (int i = 0; i < 100 && editorOwners.empty(); ++i) Sleep(20);
    // The link to the IME caveats opens its own topic.
    NMLINK link = {};
    link.hdr.hwndFrom = GetDlgItem(dialog, IDC_IME_HELP_LINK);
    link.hdr.idFrom = IDC_IME_HELP_LINK;
    link.hdr.code = NM_CLICK;
    wcscpy(link.item.szID, L"imehelp");
    SendMessageW(dialog, WM_NOTIFY, IDC_IME_HELP_LINK, reinterpret_cast<LPARAM>(&link));
    pressButton(dialog, IDCANCEL);
    EXPECT_TRUE(waitUntilClosed(dialog));
  });
  EXPECT_EQ(editorOwners, std::vector<HWND>{shown});
  EXPECT_EQ(helpTopics.back(), L"HLP000017.html#imehelp");
}

TEST_F(SettingsDialogTest, ADroppedFileBecomesTheSoundFileOnlyWhileSoundIsOn) {
  run(false, [&](HWND dialog) {
    SendMessageW(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop(L"C:\\ignored.wav")), 0);
    EXPECT_EQ(itemText(dialog, IDC_SOUND_FILE), L"");
    tick(dialog, IDC_PLAY_SOUND, true);
    EXPECT_TRUE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    SendMessageW(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop(L"C:\\dropped.wav")), 0);
    EXPECT_EQ(itemText(dialog, IDC_SOUND_FILE), L"C:\\dropped.wav");
    pressButton(dialog, IDOK);
    EXPECT_TRUE(waitUntilClosed(dialog));
  });
  EXPECT_EQ(settings.PlaySoundFileName, u"C:\\dropped.wav");
}

}  // namespace
}  // namespace kivora::test
