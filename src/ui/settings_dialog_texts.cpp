#include "ui/settings_dialog_texts.h"

#include "resource_ids.h"

namespace kivora::ui::texts {

namespace {

constexpr wchar_t kWatchTip[] =
    L"If 'Constantly monitor' is selected, this program watches at every seconds.";
constexpr wchar_t kStateTip[] =
    L"If this program watched, key state will be changed to this parameter.";
constexpr wchar_t kWatchTipJa[] =
    L"「常に監視し、キーの状態を固定する」を選ぶと、監視間隔ごとにキーの状態を調べます。";
constexpr wchar_t kStateTipJa[] = L"本ソフトがキーの状態を変えるときは、ここで選んだ状態にします。";

constexpr TooltipEntry kSettingsEnglish[] = {
    {IDC_NUMLOCK_MODE, kWatchTip},
    {IDC_REMOTE_MODE, kWatchTip},
    {IDC_CAPSLOCK_MODE, kWatchTip},
    {IDC_SCROLLLOCK_MODE, kWatchTip},
    {IDC_NUMLOCK_STATE, kStateTip},
    {IDC_REMOTE_STATE, kStateTip},
    {IDC_CAPSLOCK_STATE, kStateTip},
    {IDC_SCROLLLOCK_STATE, kStateTip},
    {IDC_WATCHED_DEVICES, L"Specifies keyboard devices."},
    {IDC_REMOTE_CHECK,
     L"Changes a way to watch on a remote desktop environment or a terminal service environment."},
    {IDC_NOTIFY_WATCHED_DEVICE, L"Press button on the right to select the watched devices."},
    {IDC_PLAY_SOUND, L"If this program changes key state, plays this sound file."},
    {IDC_IME_LOCK, L"Watches IME state."},
    {IDC_PAUSE_CLICK,
     L"Sets the function how to change that temporarily disable the functions of the present "
     L"program."},
    {IDC_SOUND_BROWSE, L"Selects from a list of sound files."},
    {IDC_NOTIFY_ONLY, L"Does not change key state."},
    {IDC_BLOCK_INSERT, L"Blocks Insert key with a keyboard hook."},
    {IDC_SHOW_LOCK_ICON, L"Displays key status information on a tasktray icon."},
    {IDC_SEND_TK, L"Send key status to 'Cursor Mate.'"},
    {IDC_INTERVAL,
     L"Specifies the interval in milliseconds monitoring and immobilization of the keyboard "
     L"according to the present software. If you specify a value of less than 100 "
     L"milliseconds, it is corrected to 100 milliseconds."},
    {IDC_INSTANT_CHECK,
     L"When a lock key is pressed, by you or by another program, checks and corrects the keys "
     L"at once instead of waiting for the monitoring interval."},
    {IDC_RETURN_WAIT,
     L"If you specify a non-zero here, after the notification of the state has been changed, "
     L"after a lapse of time that you specify, immobilization of the key is performed."},
    {IDC_LOGON_NUMLOCK, L"When Windows is started, Changes NumLock state to ON."},
    {IDC_WINDOW_RULES, L"Changes the state for each window."},
    {IDOK, L"Saves settings and close this dialog box."},
    {IDCANCEL, L"Closes this dialog box without saving any changes."},
    {IDC_HELP_BUTTON, L"Displays Japanese Help for this dialogbox."},
    {0, nullptr},
};

constexpr TooltipEntry kSettingsJapanese[] = {
    {IDC_NUMLOCK_MODE, kWatchTipJa},
    {IDC_REMOTE_MODE, kWatchTipJa},
    {IDC_CAPSLOCK_MODE, kWatchTipJa},
    {IDC_SCROLLLOCK_MODE, kWatchTipJa},
    {IDC_NUMLOCK_STATE, kStateTipJa},
    {IDC_REMOTE_STATE, kStateTipJa},
    {IDC_CAPSLOCK_STATE, kStateTipJa},
    {IDC_SCROLLLOCK_STATE, kStateTipJa},
    {IDC_WATCHED_DEVICES, L"監視するキーボードデバイスを指定します。"},
    {IDC_REMOTE_CHECK,
     L"リモートデスクトップ環境やターミナルサービス環境で動作しているときの監視方法を変えます。"},
    {IDC_NOTIFY_WATCHED_DEVICE, L"監視するデバイスは右のボタンで選びます。"},
    {IDC_PLAY_SOUND, L"本ソフトがキーの状態を変えたときに、音声ファイルを再生します。"},
    {IDC_SOUND_FILE,
     L"本ソフトが上記3キーの状態を変更した場合に再生する音声ファイルを指定します。"
     L"指定しない場合はデフォルトの警告音が再生されます"},
    {IDC_IME_LOCK, L"IMEの状態を監視します。"},
    {IDC_PAUSE_CLICK, L"本ソフトの機能を一時的に止めたり再開したりする操作の方法を選びます。"},
    {IDC_SOUND_BROWSE, L"音声ファイルを一覧から選びます。"},
    {IDC_NOTIFY_ONLY, L"キーの状態は変えずに、通知だけします。"},
    {IDC_BLOCK_INSERT, L"Insertキーが押されても、アプリケーションへ届かないようにします。"},
    {IDC_SHOW_LOCK_ICON, L"通知領域アイコンに各キーの状態を表示します。"},
    {IDC_SEND_TK, L"各キーの状態を「Cursor Mate」へ送ります。"},
    {IDC_INTERVAL,
     L"本ソフトがキーボードを監視して固定する間隔をミリ秒で指定します。"
     L"100ミリ秒より小さい値を指定すると、100ミリ秒になります。"},
    {IDC_INSTANT_CHECK,
     L"ロックキーが押されたら(ほかのプログラムが押した場合も)、監視間隔を待たずに"
     L"すぐにキーの状態を調べて固定します。"},
    {IDC_RETURN_WAIT,
     L"0以外を指定すると、状態の変化を通知してから指定した時間が経過したときに、キーを固定します"
     L"。"},
    {IDC_LOGON_NUMLOCK, L"Windowsの起動時に、NumLockをONにします。"},
    {IDC_WINDOW_RULES, L"ウィンドウごとにキーの状態の扱いを変えます。"},
    {IDC_BIG_DIALOG, L"設定ダイアログ等を画面いっぱいに開きます(テスト中の機能です)"},
    {IDOK, L"設定を保存して、このダイアログボックスを閉じます。"},
    {IDCANCEL, L"変更を保存せずに、このダイアログボックスを閉じます。"},
    {IDC_HELP_BUTTON, L"このダイアログボックスのヘルプを表示します。"},
    {0, nullptr},
};

constexpr TooltipEntry kRuleListEnglish[] = {
    {IDC_RULE_NEW, L"Adds a new item."},
    {IDC_RULE_EDIT, L"Edits a selected item."},
    {IDC_RULE_DELETE, L"Removes a selected item."},
    {IDC_RULE_UP, L"Raises one priority of the selected item."},
    {IDC_RULE_DOWN, L"Lowers one priority of the selected item."},
    {IDOK, L"Save settings and close this dialog box."},
    {IDCANCEL, L"Close this dialog box without saving any changes."},
    {IDC_HELP_BUTTON, L"Displays Japanese Help for this dialogbox."},
    {0, nullptr},
};

constexpr TooltipEntry kRuleListJapanese[] = {
    {IDC_RULE_NEW, L"項目を追加します。"},
    {IDC_RULE_EDIT, L"選択した項目を編集します。"},
    {IDC_RULE_DELETE, L"選択した項目を削除します。"},
    {IDC_RULE_UP, L"選択した項目の優先度を1つ上げます。"},
    {IDC_RULE_DOWN, L"選択した項目の優先度を1つ下げます。"},
    {IDOK, L"設定を保存して、このダイアログボックスを閉じます。"},
    {IDCANCEL, L"変更を保存せずに、このダイアログボックスを閉じます。"},
    {IDC_HELP_BUTTON, L"このダイアログボックスのヘルプを表示します。"},
    {0, nullptr},
};

constexpr wchar_t kRuleCodeTip[] = L"None: Follows the standard setting.";
constexpr wchar_t kRuleCodeTipJa[] = L"通常設定に従う：本ソフトの標準の設定のとおりにします。";

constexpr TooltipEntry kRuleEditEnglish[] = {
    {IDC_RULE_TITLE,
     L"when the title of the active window contains a string that you specify here, then "
     L"as follows the state of the various keys"},
    {IDC_RULE_NUMLOCK, kRuleCodeTip},
    {IDC_RULE_CAPSLOCK, kRuleCodeTip},
    {IDC_RULE_SCROLLLOCK, kRuleCodeTip},
    {IDC_RULE_IME, kRuleCodeTip},
    {IDOK, L"Save settings and close this dialog box."},
    {IDCANCEL, L"Close this dialog box without saving any changes."},
    {0, nullptr},
};

constexpr TooltipEntry kRuleEditJapanese[] = {
    {IDC_RULE_TITLE,
     L"アクティブウインドウのタイトルにここで指定した文字列が含まれているとき、"
     L"各キーの状態を次のようにします。"},
    {IDC_RULE_NUMLOCK, kRuleCodeTipJa},
    {IDC_RULE_CAPSLOCK, kRuleCodeTipJa},
    {IDC_RULE_SCROLLLOCK, kRuleCodeTipJa},
    {IDC_RULE_IME, kRuleCodeTipJa},
    {IDOK, L"設定を保存して、このダイアログボックスを閉じます。"},
    {IDCANCEL, L"変更を保存せずに、このダイアログボックスを閉じます。"},
    {0, nullptr},
};

}  // namespace

std::span<const TooltipEntry> settingsTooltips(bool japanese) {
  if (japanese) return kSettingsJapanese;
  return kSettingsEnglish;
}

std::span<const TooltipEntry> ruleListTooltips(bool japanese) {
  if (japanese) return kRuleListJapanese;
  return kRuleListEnglish;
}

std::span<const TooltipEntry> ruleEditTooltips(bool japanese) {
  if (japanese) return kRuleEditJapanese;
  return kRuleEditEnglish;
}

}  // namespace kivora::ui::texts
