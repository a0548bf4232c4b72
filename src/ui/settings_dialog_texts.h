#pragma once
// The texts the settings dialogs put into their controls and message boxes,
// in both languages. (The IME list and the per-window rule texts are the
// monitor's: monitor/ime_control.h and monitor/lock_policy.h.)

#include <array>
#include <span>

#include "platform/bilingual.h"
#include "ui/tooltips.h"

namespace kivora::ui::texts {

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

// The device dialog.
inline constexpr Bilingual kDeviceCaption{u"Select keyboard devices", u"キーボードデバイスを選択"};
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

// Help topics.
inline constexpr wchar_t kSettingsHelp[] = L"HLP000017.html";
inline constexpr wchar_t kImeHelp[] = L"HLP000017.html#imehelp";
inline constexpr wchar_t kImeHelpLinkId[] = L"imehelp";
inline constexpr wchar_t kRulesHelp[] = L"HLP000018.html";

// Tooltip tables (ending with id 0).
std::span<const TooltipEntry> settingsTooltips(bool japanese);
std::span<const TooltipEntry> ruleListTooltips(bool japanese);
std::span<const TooltipEntry> ruleEditTooltips(bool japanese);

}  // namespace kivora::ui::texts
