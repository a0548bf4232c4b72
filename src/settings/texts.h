#pragma once
// The settings room's user-visible texts in both languages: what a save that
// could not write reports, the script file's load and save messages, and the
// registry accessor's misuse warnings.

#include <string_view>

#include "platform/bilingual.h"

namespace kivora::settings::texts {

// ---- saving the settings

// The message box of a save that could not write everything; its caption is
// "Kivora", its icon a warning.
inline constexpr Bilingual kCannotSaveIni{u"Cannot save settings - .\\.\\Kivora.ini.",
                                          u"設定の一部または全部を.\\Kivora.iniへ保存できません。"};
inline constexpr Bilingual kCannotSaveRegistry{
    u"Cannot save settings - HKCU\\Software\\Orvanta\\Kivora\\CurrentVersion.",
    u"設定の一部または全部を HKCU\\Software\\Orvanta\\Kivora\\CurrentVersionへ保存できません。"};

// One failure of a save's error text: the ini file, its section and the
// value's name; the registry root's name, the key and the value's name.
inline constexpr Bilingual kIniWriteFailure{u"%s[%s] - %s write error.",
                                            u"%sの[%s]セクションの%sに値を書き込めません。"};
inline constexpr Bilingual kKeyOpenFailure{u"Cannot open - %s%s", u"%s%sを開けません。"};
inline constexpr Bilingual kValueWriteFailure{u"Cannot write data - %s%s - %s",
                                              u"%s%s - %sへデータを書き込めません。"};

// ---- the script file

// A script longer than ini mode can keep (the load's bound), refused at the
// script editor's OK. English: the script's length, then the bound; Japanese:
// the bound, then the script's length (both in characters).
inline constexpr Bilingual kScriptTooLongForIni{
    u"This script is too long to be kept in Kivora.ini: it holds %s characters, and at most %s "
    u"can be kept there.\r\nShorten it, or save it to a file.",
    u"スクリプトが長すぎるため Kivora.ini に保存できません。保存できるのは %s 文字まで、"
    u"このスクリプトは %s 文字です。\r\n短くするか、ファイルへ保存してください。"};

inline constexpr Bilingual kScriptCannotOpen{u"Cannot open the file.", u"ファイルを開けません。"};
inline constexpr Bilingual kScriptCannotRead{u"Cannot read the file.",
                                             u"ファイルを読み込めません。"};
inline constexpr Bilingual kScriptOutOfMemory{u"Out of memory.", u"メモリが足りません。"};
inline constexpr Bilingual kScriptNoConverter{
    u"An error occurred while preparing for character code conversion.",
    u"文字コード変換の準備中にエラーになりました。"};
inline constexpr Bilingual kScriptConversionFailed{
    u"An error occurred during character code conversion..",
    u"文字コード変換中にエラーになりました。"};
inline constexpr Bilingual kScriptLoadFailed{u"Unknown error.",
                                             u"不明なエラーによりファイルを読み込めません。"};
inline constexpr Bilingual kScriptSaved{u"The file has been saved in UTF-8 (with BOM).",
                                        u"UTF-8(BOM付き)でファイルに保存しました。"};
inline constexpr Bilingual kScriptCannotCreate{u"Cannot open the file on write mode.",
                                               u"ファイルを書き込みモードで開けません。"};
inline constexpr Bilingual kScriptWriteFailed{u"Cannot write to the file.",
                                              u"ファイルへ書き込めません。"};
inline constexpr Bilingual kScriptCopyOutOfMemory{
    u"Out of memory.", u"ファイル書き込みを行うためのメモリが足りません。"};
inline constexpr Bilingual kScriptSaveFailed{u"Unknown error.",
                                             u"不明なエラーによりファイルに書き込めません。"};
inline constexpr Bilingual kScriptStoreOutOfMemory{
    u"Out of memory.", u"スクリプトを格納するためのメモリが足りません。"};

// ---- REGW's warnings

// The captions, the same in both languages: one for the multi-string
// operations, one for the rest.
inline constexpr std::u16string_view kRegwCaption = u"Registory Class";
inline constexpr std::u16string_view kRegwMultiStringCaption = u"Registry Class";
// Japanese only: the line under every warning.
inline constexpr std::u16string_view kRegwReportLine =
    u"このメッセージが表示されたら、現在編集している/していたダイアログの名前を、"
    u"メッセージの内容と共に正確に作者まで報告して下さい。";

inline constexpr Bilingual kRegwClosedAtEnd{u"An error has occurred in REGW::~REGW().",
                                            u"レジストリを自動クローズしました。"};
inline constexpr Bilingual kRegwOpenedTwice{
    u"An error has occurred in REGW::OpenKey().",
    u"レジストリキーを多重オープンしようとしたので保護しました(REGW::OpenKey())。"};
inline constexpr Bilingual kRegwClosedTwice{
    u"An error has occurred in REGW::CloseKey().",
    u"レジストリを多重クローズしようとしたので保護しました(REGW::CloseKey)。"};
// An operation on no open key; %s is the operation's name below.
inline constexpr Bilingual kRegwNoKey{
    u"An error has occurred in %s.",
    u"開かれていないキーを対象に %s が行われようとしたので保護します。"};
inline constexpr Bilingual kRegwValueExist{u"ValueExistW", u"ValueExistW"};
inline constexpr Bilingual kRegwValueType{u"ValueTypeW", u"ValueTypeW"};
inline constexpr Bilingual kRegwReadString{u"ReadStringW", u"ReadStringW"};
inline constexpr Bilingual kRegwReadInteger{u"ReadIntegerW", u"ReadIntegerW"};
inline constexpr Bilingual kRegwWriteString{u"WriteStringW", u"WriteStringW"};
inline constexpr Bilingual kRegwWriteInteger{u"WriteIntegerW", u"WriteIntegerW"};
inline constexpr Bilingual kRegwDeleteValue{u"REGW::DeleteValue()", u"REGW::DeleteValue"};
inline constexpr Bilingual kRegwNewReadString{u"(new)ReadString", u"(new)RegReadStringW"};
inline constexpr Bilingual kRegwReadMultiString{u"ReadMultiStringW", u"ReadMultiStringW"};
inline constexpr Bilingual kRegwNewReadMultiString{u"(new)ReadMultiStringW",
                                                   u"(new)ReadMultiStringW"};

}  // namespace kivora::settings::texts

namespace kivora::settings {

// The box text for the callers that check SaveSettings' result (the settings
// dialog's OK and the main window's destruction).
inline std::u16string_view cannotSaveSettingsText(bool useIni, bool japanese) {
  return (useIni ? texts::kCannotSaveIni : texts::kCannotSaveRegistry).pick(japanese);
}

}  // namespace kivora::settings
