// The per-window rule dialogs under Wine, over rules stored in a scratch
// registry key and a scratch ini file: the list shows them in priority
// order, Up and Delete change the order and length that OK saves, New and
// Edit go through the edit dialog, Cancel changes nothing.

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "monitor/window_rules.h"
#include "resource_ids.h"
#include "win/settings_dialogs/dialog_fixture.h"
#include "win/settings_dialogs/dialog_robot.h"

namespace kivora::test {
namespace {

using monitor::WindowRule;
using Rules = std::vector<WindowRule>;

const Rules kThreeRules{
    {u"Alpha", {1, 0, 0, 0}}, {u"Beta", {0, 2, 0, 0}}, {u"Gamma", {0, 0, 5, 3}}};

class RuleDialogTest : public DialogTest, public testing::WithParamInterface<bool> {
 protected:
  bool ini() const { return GetParam(); }
  void storeRules(const Rules& rules) {
    if (ini()) settings::EnsureIniFile(store());
    ASSERT_TRUE(monitor::saveWindowRules(store(), ini(), false, rules, shell));
  }
  Rules storedRules() { return monitor::loadWindowRules(store(), ini()); }
  INT_PTR run(bool japanese, const std::function<void(HWND)>& robot) {
    const ui::WindowRulesDialogContext context{basics(japanese), store(), ini(), false, shell};
    return runWithRobot([&] { return ui::showWindowRulesDialog(mainWindow.get(), context); },
                        [&] {
                          HWND dialog =
                              waitForWindow(L"#32770", japanese ? L"ウインドウごとに挙動を変える"
                                                                : L"for specific window");
                          ASSERT_NE(dialog, nullptr) << "the rule list did not open";
                          robot(dialog);
                        });
  }
};

HWND listOf(HWND dialog) { return GetDlgItem(dialog, IDC_RULE_LIST); }
int rowCount(HWND dialog) { return ListView_GetItemCount(listOf(dialog)); }
int selectedRow(HWND dialog) { return ListView_GetNextItem(listOf(dialog), -1, LVNI_SELECTED); }
void selectRow(HWND dialog, int row) {
  const UINT mask = LVIS_SELECTED | LVIS_FOCUSED;
  ListView_SetItemState(listOf(dialog), row, mask, mask);
}
std::wstring cell(HWND dialog, int row, int column) {
  wchar_t buffer[300] = {};
  ListView_GetItemText(listOf(dialog), row, column, buffer, 300);
  return buffer;
}

TEST_P(RuleDialogTest, UpRaisesAPriorityAndOkSavesTheListInItsOrder) {
  storeRules(kThreeRules);
  EXPECT_EQ(run(false,
                [&](HWND dialog) {
                  ASSERT_EQ(rowCount(dialog), 3);
                  EXPECT_EQ(selectedRow(dialog), 0);
                  EXPECT_FALSE(isEnabled(dialog, IDC_RULE_UP));
                  EXPECT_TRUE(isEnabled(dialog, IDC_RULE_DOWN));
                  EXPECT_EQ(cell(dialog, 2, 0), L"Gamma");
                  EXPECT_EQ(cell(dialog, 2, 1), L"None");
                  EXPECT_EQ(cell(dialog, 2, 3), L"Don't watch");
                  EXPECT_EQ(cell(dialog, 2, 4), L"OFF (when window is activated)");
                  selectRow(dialog, 2);
                  EXPECT_TRUE(isEnabled(dialog, IDC_RULE_UP));
                  EXPECT_FALSE(isEnabled(dialog, IDC_RULE_DOWN));
                  pressButton(dialog, IDC_RULE_UP);
                  for (int i = 0; i < 100 && selectedRow(dialog) != 1; ++i) Sleep(20);
                  EXPECT_EQ(cell(dialog, 1, 0), L"Gamma");
                  EXPECT_EQ(selectedRow(dialog), 1);
                  pressButton(dialog, IDOK);
                  EXPECT_TRUE(waitUntilClosed(dialog));
                }),
            IDOK);
  EXPECT_EQ(storedRules(), (Rules{kThreeRules[0], kThreeRules[2], kThreeRules[1]}));
}

TEST_P(RuleDialogTest, AShorterListLeavesNoSurplusNumbersBehind) {
  storeRules(kThreeRules);
  run(false, [&](HWND dialog) {
    selectRow(dialog, 1);
    pressButton(dialog, IDC_RULE_DELETE);
    EXPECT_EQ(answerBox(L"Kivora", IDYES), L"Are you sure you want to delete this item? - Beta");
    for (int i = 0; i < 100 && rowCount(dialog) != 2; ++i) Sleep(20);
    EXPECT_EQ(rowCount(dialog), 2);
    pressButton(dialog, IDOK);
    EXPECT_TRUE(waitUntilClosed(dialog));
  });
  EXPECT_EQ(storedRules(), (Rules{kThreeRules[0], kThreeRules[2]}));
  std::u16string title;
  settings::ReadSettingString(store(), ini(), u"00000002_NAME", u"--gone--", title, 260);
  EXPECT_EQ(title, ini() ? u"--gone--" : u"");
}

TEST_P(RuleDialogTest, NewAndEditGoThroughTheEditDialog) {
  storeRules({kThreeRules[0]});
  run(true, [&](HWND dialog) {
    pressButton(dialog, IDC_RULE_NEW);
    HWND edit = waitForWindow(L"#32770", L"新規 - ウィンドウごとに挙動を変える");
    ASSERT_NE(edit, nullptr);
    EXPECT_FALSE(isEnabled(edit, IDOK));
    type(edit, IDC_RULE_TITLE, L"メモ帳");
    EXPECT_TRUE(isEnabled(edit, IDOK));
    choose(edit, IDC_RULE_NUMLOCK, 2);
    choose(edit, IDC_RULE_IME, 4);
    pressButton(edit, IDOK);
    EXPECT_TRUE(waitUntilClosed(edit));
    ASSERT_EQ(rowCount(dialog), 2);
    EXPECT_EQ(selectedRow(dialog), 1);
    EXPECT_EQ(cell(dialog, 1, 1), L"常にONで固定");
    EXPECT_EQ(cell(dialog, 1, 4), L"アプリ切替時ON");

    pressButton(dialog, IDC_RULE_EDIT);
    edit = waitForWindow(L"#32770", L"編集 - ウィンドウごとに挙動を変える");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(itemText(edit, IDC_RULE_TITLE), L"メモ帳");
    EXPECT_EQ(chosen(edit, IDC_RULE_NUMLOCK), 2);
    EXPECT_EQ(chosen(edit, IDC_RULE_IME), 4);
    type(edit, IDC_RULE_TITLE, L"");
    EXPECT_FALSE(isEnabled(edit, IDOK));
    pressButton(edit, IDOK);  // as Enter would
    EXPECT_EQ(answerBox(L"Kivora"),
              L"「アクティブウインドウのタイトル文字列の一部」は空にできません。");
    EXPECT_TRUE(IsWindow(edit));
    type(edit, IDC_RULE_TITLE, L"秀丸");
    choose(edit, IDC_RULE_CAPSLOCK, 1);
    pressButton(edit, IDOK);
    EXPECT_TRUE(waitUntilClosed(edit));
    EXPECT_EQ(cell(dialog, 1, 0), L"秀丸");
    pressButton(dialog, IDOK);
    EXPECT_TRUE(waitUntilClosed(dialog));
  });
  EXPECT_EQ(storedRules(), (Rules{kThreeRules[0], {u"秀丸", {2, 1, 0, 4}}}));
}

TEST_P(RuleDialogTest, CancelAfterEditsLeavesTheStoreUntouched) {
  storeRules(kThreeRules);
  EXPECT_EQ(run(false,
                [&](HWND dialog) {
                  selectRow(dialog, 0);
                  pressButton(dialog, IDC_RULE_DOWN);
                  for (int i = 0; i < 100 && selectedRow(dialog) != 1; ++i) Sleep(20);
                  pressButton(dialog, IDC_RULE_DELETE);
                  answerBox(L"Kivora", IDYES);
                  pressButton(dialog, IDCANCEL);
                  EXPECT_TRUE(waitUntilClosed(dialog));
                }),
            IDCANCEL);
  EXPECT_EQ(storedRules(), kThreeRules);
}

TEST_P(RuleDialogTest, AnEmptyListOffersOnlyNewInButtonsAndMenu) {
  run(false, [&](HWND dialog) {
    EXPECT_EQ(rowCount(dialog), 0);
    EXPECT_TRUE(isEnabled(dialog, IDC_RULE_NEW));
    for (int id : {IDC_RULE_EDIT, IDC_RULE_DELETE, IDC_RULE_UP, IDC_RULE_DOWN}) {
      EXPECT_FALSE(isEnabled(dialog, id)) << id;
    }
    // A right click on the list brings up the same commands, greyed alike.
    static NMHDR click;
    click = {listOf(dialog), IDC_RULE_LIST, static_cast<UINT>(NM_RCLICK)};
    PostMessageW(dialog, WM_NOTIFY, IDC_RULE_LIST, reinterpret_cast<LPARAM>(&click));
    HWND menu = nullptr;
    for (int i = 0; i < 200 && !menu; ++i) {
      menu = FindWindowW(L"#32768", nullptr);
      if (menu && !IsWindowVisible(menu)) menu = nullptr;
      if (!menu) Sleep(20);
    }
    ASSERT_NE(menu, nullptr) << "no context menu";
    auto popup = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
    EXPECT_FALSE(GetMenuState(popup, IDC_RULE_NEW, MF_BYCOMMAND) & MF_GRAYED);
    for (int id : {IDC_RULE_EDIT, IDC_RULE_DELETE, IDC_RULE_UP, IDC_RULE_DOWN}) {
      EXPECT_TRUE(GetMenuState(popup, static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED) << id;
    }
    EXPECT_EQ(GetMenuDefaultItem(popup, FALSE, GMDI_USEDISABLED), static_cast<UINT>(IDC_RULE_EDIT));
    PostMessageW(dialog, WM_CANCELMODE, 0, 0);
    for (int i = 0; i < 100 && IsWindowVisible(menu); ++i) Sleep(20);
    pressButton(dialog, IDCANCEL);
    EXPECT_TRUE(waitUntilClosed(dialog));
  });
}

INSTANTIATE_TEST_SUITE_P(BothStores, RuleDialogTest, testing::Bool(),
                         [](const auto& info) { return info.param ? "Ini" : "Registry"; });

}  // namespace
}  // namespace kivora::test
