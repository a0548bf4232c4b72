#include "ui/texts.h"

#include "resource_ids.h"
#include "ui/about_box.h"

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
     L"Checks and corrects the keys at once, instead of waiting for the monitoring interval, "
     L"when a lock key is pressed (by you or by another program), another window comes to the "
     L"front or the window in front changes its title, a keyboard is plugged in or pulled out, "
     L"or a session connects or is unlocked."},
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
     L"ロックキーが押されたとき(ほかのプログラムが押した場合も)、前面のウィンドウが"
     L"切り替わったときやそのタイトルが変わったとき、キーボードをつないだり外したり"
     L"したとき、セッションにつないだときやロックを解除したときに、監視間隔を待たずに"
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

constexpr TooltipEntry kScriptEditorEnglish[] = {
    {IDC_SCRIPT_LOAD, L"Load from a file."}, {IDC_SCRIPT_SAVE, L"Save to a file."}, {0, nullptr}};
constexpr TooltipEntry kScriptEditorJapanese[] = {
    {IDC_SCRIPT_LOAD, L"ファイルから読みだして入力欄に設定します"},
    {IDC_SCRIPT_SAVE, L"入力内容をファイルへ保存します"},
    {0, nullptr}};

constexpr TooltipEntry kAboutEnglish[] = {
    {kAboutContribution, L"About contribution"},
    {IDCANCEL, L"Closes this dialog box."},
    {kAboutEnvironment, L"Displays Information of this environment."},
    {kAboutFeedback, L"Opens feedback page."},
    {0, nullptr},
};
constexpr TooltipEntry kAboutJapanese[] = {
    {kAboutContribution, L"開発支援金の受付について詳細を表示します。インターネット接続が必要です"},
    {IDCANCEL, L"このダイアログを閉じます"},
    {kAboutEnvironment,
     L"環境情報を表示します。制作元に質問を出す場合には、これで表示された情報を添付して下さい"},
    {kAboutFeedback,
     L"制作元へ連絡、感想、改善要望あるいは現状維持要望などを気軽に送りたい場合に利用します。インタ"
     L"ーネット接続が必要です"},
    {kAboutLinks, L"ブラウザでサイトを開きます。インターネット接続が必要です"},
    {0, nullptr},
};

}  // namespace

const Bilingual kKivoraDescription{
    u" This program is done and the immobilization of the state of the NumLock / CapsLock / "
    u"ScrollLock key, "
    u"Insert key to control of the state.\r\n"
    u" It stays in the notification area and, at every monitoring interval, puts each lock key "
    u"back into "
    u"the state you chose: at start, always, on a remote desktop, while chosen keyboards are "
    u"connected, "
    u"or only while chosen windows are in front. It can also hold the IME open or closed, block "
    u"the "
    u"Insert key, and run a KX-Script program at each monitoring interval.\r\n"
    u"\r\n"
    u"[Terms of use]\r\n"
    u" This program is free of charge for private and business use. It is released under the MIT "
    u"License (License.txt beside the program): you may use, copy, change and hand it on, keeping "
    u"the "
    u"copyright and licence notice.\r\n"
    u" You use it at your own risk. It comes without any warranty, and the maker is not liable for "
    u"any "
    u"damage or loss caused by using it or by being unable to use it.\r\n"
    u" The settings are kept in the registry of the current user or, in portable mode, in "
    u"Kivora.ini "
    u"beside the program. To remove an installed Kivora, uninstall it from the Windows settings "
    u"(Apps); "
    u"to remove a copy from the zip file, delete its folder and, if you wish, the key "
    u"HKEY_CURRENT_USER\\Software\\Orvanta\\Kivora.",
    u"　本ソフトは、NumLock／CapsLock／ScrollLockキーの状態の固定化と、Insertキーの制御を行うソフト"
    u"です。\r\n"
    u"　通知領域に常駐し、監視間隔ごとに各ロックキーを指定した状態に戻します。起動時だけ、常に、"
    u"リモートデスクトップ接続時、特定のキーボード接続時、特定のウィンドウが前面にあるときなど、"
    u"状況に応じた設定ができます。また、IMEのON/OFFの固定、Insertキーの無効化、監視間隔ごとの"
    u"KX-Scriptの実行も行えます。\r\n"
    u"\r\n"
    u"【利用規定】\r\n"
    u"　本ソフトは、個人・法人を問わず無料でご利用いただけます。MITライセンス("
    u"プログラムと同じフォルダの"
    u"License.txt)"
    u"で公開しています。著作権表示とライセンス表示を残せば、使用・複製・改変・再配布は自由です。\r"
    u"\n"
    u"　本ソフトは無保証です。本ソフトの使用または使用できなかったことにより生じたいかなる損害につ"
    u"いても、"
    u"制作元は責任を負いません。ご自身の責任においてご利用下さい。\r\n"
    u"　設定は、現在のユーザーのレジストリ、またはポータブルモードではプログラムと同じフォルダの"
    u"Kivora."
    u"iniに保存されます。インストールした場合は、Windowsの設定の「アプリ」からアンインストールして"
    u"下さい。zipファイルから展開した場合は、そのフォルダを削除し、必要に応じて"
    u"HKEY_CURRENT_USER\\Software\\Orvanta\\Kivora キーを削除して下さい。"};

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

std::span<const TooltipEntry> scriptEditorTooltips(bool japanese) {
  if (japanese) return kScriptEditorJapanese;
  return kScriptEditorEnglish;
}

std::span<const TooltipEntry> aboutTooltips(bool japanese) {
  if (japanese) return kAboutJapanese;
  return kAboutEnglish;
}

}  // namespace kivora::ui::texts
