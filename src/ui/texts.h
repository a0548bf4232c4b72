#pragma once
// The texts the dialogs put into their controls, tooltips and message boxes,
// in both languages. (The IME list and the per-window rule texts are the
// monitor's: monitor/texts.h.)

#include <array>
#include <span>

#include "platform/bilingual.h"
#include "ui/tooltips.h"

namespace kivora::ui::texts {

// ---- the settings dialogs

// The watch-mode lists, in index order; NumLock's has all four entries, the
// others the first three.
inline constexpr std::array<Bilingual, 4> kWatchModes{{
    {u"Do not monitor", u"監視しない"},
    {u"Constantly monitor", u"常に監視し、キーの状態を固定する"},
    {u"Monitor once", u"本ソフト起動時にキーの状態を設定する"},
    {u"Connecting devices", u"特定デバイス接続時にキー状態を固定する"},
}};
inline constexpr std::array<Bilingual, 2> kWantedStates{{
    {u"OFF", u"OFFにする"},
    {u"ON", u"ONにする"},
}};
// EnDisTTIcon 0 to 2.
inline constexpr std::array<Bilingual, 3> kPauseClicks{{
    {u"Menu only", u"メニューからのみ行う"},
    {u"Menu and Click Icon ", u"クリックとメニューから行う"},
    {u"Menu and Double Click Icon", u"ダブルクリックとメニュー"},
}};

// What the hotkey control shows in the dark look when it holds no key.
inline constexpr Bilingual kNoHotkey{u"-None-", u"なし"};

inline constexpr Bilingual kLogonNumLockQuestion{
    u"It is known that this setting does not work in some environments (such as part of the "
    u"environment where Anniversary Update [or later] was applied to Windows 10).",
    u"この設定は、一部の環境(Windows 10にAnniversary Update以降が適用された環境の一部など)"
    u"では機能しないことが分かっています。"};
inline constexpr Bilingual kLogonNumLockNotWritten{
    u"Cannot write to InitialKeyboardIndicators value in registry.",
    u"[OS設定]ログオン時のNumLockの設定をレジストリへ書き込めませんでした。"};

// Japanese layout only: what switching the big-dialog box means.
inline constexpr wchar_t kBigDialogCaption[] = L"設定画面強制拡大";
inline constexpr wchar_t kBigDialogOn[] =
    L"「設定画面強制拡大」はテスト中の機能です。このチェックをONにすると、次回設定画面を開いたとき"
    L"から、"
    L"ダイアログのサイズが強制的に拡大されます。無理やり拡大をしているため、一部表示の乱れる部分が"
    L"あるか"
    L"もしれませんが、テスト中の機能ということで、ご容赦ください。";
inline constexpr wchar_t kBigDialogOff[] = L"次回設定画面を開いたときから、元のサイズに戻ります。";

inline constexpr Bilingual kScriptEditorMissing{
    u"The script editor is not available in this version of Kivora yet.",
    u"このバージョンのKivoraでは、スクリプトエディタはまだ利用できません。"};

// The sound file's browse dialog: the filter (pairs of name and pattern,
// ending with an empty name) and the title.
inline constexpr std::array<Bilingual, 4> kSoundFilter{{
    {u"Sound files(*.wav)", u"音声ファイル(*.wav)"},
    {u"*.wav", u"*.wav"},
    {u"All files(*.*)", u"すべてのファイル(*.*)"},
    {u"*.*", u"*.*"},
}};
inline constexpr Bilingual kSoundBrowseTitle{u"Choose a sound file",
                                             u"キー状態変更時に再生するwavファイル"};

// The rule dialogs.
inline constexpr std::array<Bilingual, 5> kRuleColumns{{
    {u"A part of Window Title", u"ウインドウタイトルの一部"},
    {u"NumLock", u"NumLock"},
    {u"CapsLock", u"CapsLock"},
    {u"ScrollLock", u"ScrollLock"},
    {u"IME", u"IME"},
}};
inline constexpr std::array<int, 5> kRuleColumnWidths{240, 90, 90, 90, 98};
inline constexpr Bilingual kNoRuleToEdit{u"No Selected Items.",
                                         u"編集したい項目を選択して下さい。"};
inline constexpr Bilingual kNoRuleToDelete{u"No Selected Items.",
                                           u"削除したい項目を選択して下さい。"};
inline constexpr Bilingual kNoRuleToRaise{u"No Selected Items.",
                                          u"優先度を上げたい項目を選択して下さい。"};
inline constexpr Bilingual kNoRuleToLower{u"No Selected Items.",
                                          u"優先度を下げたい項目を選択して下さい。"};
// %s is the rule's title part.
inline constexpr Bilingual kAskDeleteRule{u"Are you sure you want to delete this item? - %s",
                                          u"%s を削除してもよろしいですか?"};
inline constexpr Bilingual kNewRuleTitle{u"New - for specific program",
                                         u"新規 - ウィンドウごとに挙動を変える"};
inline constexpr Bilingual kEditRuleTitle{u"Edit - for specific program",
                                          u"編集 - ウィンドウごとに挙動を変える"};
inline constexpr Bilingual kEmptyRuleTitle{
    u"Please input a part of window title.",
    u"「アクティブウインドウのタイトル文字列の一部」は空にできません。"};

// The device dialog (its boxes' caption is monitor::texts::kDeviceCaption).
inline constexpr Bilingual kNoDeviceToAdd{
    u"Please select the item you would like to add from the list above.",
    u"上のリストから追加したい項目を選択してください"};
inline constexpr Bilingual kDeviceNameOutOfMemory{
    u"Out of memory.", u"キーボードデバイスの名前を取得するためのメモリが足りません"};
inline constexpr Bilingual kDeviceAlreadyWatched{u"This device name is already registered.",
                                                 u"このデバイス名は登録済です"};
inline constexpr Bilingual kNoDeviceToRemove{
    u"Please select the item you would like to remove from the second list.",
    u"下のリストから削除したい項目を選択してください"};

// ---- the script editor

// Its file dialogs: the filter (name and pattern pairs, ending with an empty
// name) and the titles.
inline constexpr Bilingual kScriptFileFilter{
    u"Text/Script files(*.txt;*.rsc)\0*.txt;*.rsc\0All files(*.*)\0*.*\0",
    u"テキスト/スクリプトファイル(*.txt;*.rsc)\0*.txt;*.rsc\0すべてのファイル(*.*)\0*.*\0"};
inline constexpr Bilingual kScriptSaveTitle{u"Save to file(UTF-8)", u"ファイルへ保存(UTF-8)"};
inline constexpr Bilingual kScriptOpenTitle{u"Choose a file", u"ファイルを開く"};

// ---- the debug log's dialogs

// The settings dialog's caption, also its message boxes'.
inline constexpr Bilingual kDebugLogCaption{u"Debug Information log setting",
                                            u"デバッグ情報ログ出力設定"};
inline constexpr Bilingual kDebugLogNoFileName{u"You need to enter filename.",
                                               u"デバッグ出力先のファイル名を入力してください。"};
inline constexpr Bilingual kDebugLogCannotStart{u"Cannot output Debug Information Log.",
                                                u"デバッグ情報出力ができません。"};
inline constexpr Bilingual kDebugLogFileFilter{
    u"log files(*.log)\0*.log\0All files(*.*)\0*.*\0",
    u"ログファイル(*.log)\0*.log\0すべてのファイル(*.*)\0*.*\0"};
inline constexpr Bilingual kDebugLogBrowseTitle{u"Save as...",
                                                u"デバッグ情報ログ出力先ファイル名を指定"};

// ---- the About box

inline constexpr Bilingual kAboutTitle{u"About", u"バージョン情報"};
// The face of the box's font (9 points in Japanese, 8 in English).
inline constexpr Bilingual kAboutFont{u"MS Sans Serif", u"MS UI Gothic"};
inline constexpr Bilingual kAboutFeedbackLink{u"<a id=\"feedback\">Feedback</a>",
                                              u"<a id=\"feedback\">フィードバック受付</a>"};
inline constexpr Bilingual kAboutContributionLink{u"<a id=\"kifu\">Contribution</a>",
                                                  u"<a id=\"kifu\">開発支援金の受付について</a>"};
inline constexpr Bilingual kAboutEnvironmentButton{u"&Environment Information",
                                                   u"環境情報の表示(問合せの際にご活用下さい)(&E)"};
inline constexpr Bilingual kAboutCloseButton{u"&Close", u"閉じる(&C)"};
inline constexpr Bilingual kAboutContactLabel{u"[Contact]", u"[連絡先]"};
// Japanese only: below an e-mail contact.
inline constexpr wchar_t kAboutMailNotice[] =
    L"　メールフィルタやサーバによるドメイン着信拒否の対象になっていることがあります。"
    L"質問しているのに返信がなかなか届かない場合は、ごみ箱や迷惑メールフォルダを確認するか、"
    L"フィルタ作成者・サーバ管理者にご相談下さい。";
// %s is the link's address (the English text does not show it).
inline constexpr Bilingual kAboutCannotOpenLink{
    u"Cannot open a browser.", u"%sを開けませんでした。\n上記のURLを直接開いて下さい。"};

// Environment Information: the report's box and the copy's outcome.
inline constexpr Bilingual kReportCaption{u"ProbixLite", u"環境情報の表示(簡易版)"};
inline constexpr Bilingual kReportCopyPrompt{
    u"Please click the [OK] button to copy to clipboard.",
    u"クリップボードにコピーする場合は[OK]ボタンを押して下さい。"};
inline constexpr Bilingual kReportCopied{u"Writing data to the clipboard is complete.",
                                         u"クリップボードへコピーしました。"};
inline constexpr Bilingual kReportCopyRefused{u"Clipboard error.",
                                              u"クリップボードへのコピーに失敗しました。"};
inline constexpr Bilingual kReportCannotEmpty{u"EmptyClipboard error.",
                                              u"クリップボードを空にできません。"};
inline constexpr Bilingual kReportCannotLock{u"GlobalLock error.", u"GlobalLock失敗。"};
inline constexpr Bilingual kReportOutOfMemory{u"Out of memory.", u"作業用のメモリが足りません。"};
inline constexpr Bilingual kReportCannotOpen{u"Cannot open clipboard.",
                                             u"クリップボードを開けません。"};

// Kivora's description and terms of use.
extern const Bilingual kKivoraDescription;

// Help topics.
inline constexpr wchar_t kSettingsHelp[] = L"HLP000017.html";
inline constexpr wchar_t kImeHelp[] = L"HLP000017.html#imehelp";
inline constexpr wchar_t kImeHelpLinkId[] = L"imehelp";
inline constexpr wchar_t kRulesHelp[] = L"HLP000018.html";

// Tooltip tables (ending with id 0).
std::span<const TooltipEntry> settingsTooltips(bool japanese);
std::span<const TooltipEntry> ruleListTooltips(bool japanese);
std::span<const TooltipEntry> ruleEditTooltips(bool japanese);
std::span<const TooltipEntry> scriptEditorTooltips(bool japanese);
std::span<const TooltipEntry> aboutTooltips(bool japanese);

}  // namespace kivora::ui::texts
