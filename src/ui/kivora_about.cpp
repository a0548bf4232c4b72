#include "ui/kivora_about.h"

#include "platform/win32/wide.h"
#include "resource_ids.h"

namespace kivora::ui {

namespace {

static_assert(sizeof kMakerWebSite / sizeof(wchar_t) <= 48);
static_assert(sizeof kMakerContact / sizeof(wchar_t) + 7 <= 48);  // with "mailto:"

constexpr wchar_t kDescriptionEn[] =
    L" This program is done and the immobilization of the state of the NumLock / CapsLock / "
    L"ScrollLock key, "
    L"Insert key to control of the state.\r\n"
    L" It stays in the notification area and, at every monitoring interval, puts each lock key "
    L"back into "
    L"the state you chose: at start, always, on a remote desktop, while chosen keyboards are "
    L"connected, "
    L"or only while chosen windows are in front. It can also hold the IME open or closed, block "
    L"the "
    L"Insert key, and run a KX-Script program at each monitoring interval.\r\n"
    L"\r\n"
    L"[Terms of use]\r\n"
    L" This program is free of charge for private and business use. It is released under the MIT "
    L"License (License.txt beside the program): you may use, copy, change and hand it on, keeping "
    L"the "
    L"copyright and licence notice.\r\n"
    L" You use it at your own risk. It comes without any warranty, and the maker is not liable for "
    L"any "
    L"damage or loss caused by using it or by being unable to use it.\r\n"
    L" The settings are kept in the registry of the current user or, in portable mode, in "
    L"Kivora.ini "
    L"beside the program. To remove an installed Kivora, uninstall it from the Windows settings "
    L"(Apps); "
    L"to remove a copy from the zip file, delete its folder and, if you wish, the key "
    L"HKEY_CURRENT_USER\\Software\\Orvanta\\Kivora.";

constexpr wchar_t kDescriptionJa[] =
    L"　本ソフトは、NumLock／CapsLock／ScrollLockキーの状態の固定化と、Insertキーの制御を行うソフト"
    L"です。\r\n"
    L"　通知領域に常駐し、監視間隔ごとに各ロックキーを指定した状態に戻します。起動時だけ、常に、"
    L"リモートデスクトップ接続時、特定のキーボード接続時、特定のウィンドウが前面にあるときなど、"
    L"状況に応じた設定ができます。また、IMEのON/OFFの固定、Insertキーの無効化、監視間隔ごとの"
    L"KX-Scriptの実行も行えます。\r\n"
    L"\r\n"
    L"【利用規定】\r\n"
    L"　本ソフトは、個人・法人を問わず無料でご利用いただけます。MITライセンス("
    L"プログラムと同じフォルダの"
    L"License.txt)"
    L"で公開しています。著作権表示とライセンス表示を残せば、使用・複製・改変・再配布は自由です。\r"
    L"\n"
    L"　本ソフトは無保証です。本ソフトの使用または使用できなかったことにより生じたいかなる損害につ"
    L"いても、"
    L"制作元は責任を負いません。ご自身の責任においてご利用下さい。\r\n"
    L"　設定は、現在のユーザーのレジストリ、またはポータブルモードではプログラムと同じフォルダの"
    L"Kivora."
    L"iniに保存されます。インストールした場合は、Windowsの設定の「アプリ」からアンインストールして"
    L"下さい。zipファイルから展開した場合は、そのフォルダを削除し、必要に応じて"
    L"HKEY_CURRENT_USER\\Software\\Orvanta\\Kivora キーを削除して下さい。";

}  // namespace

const wchar_t* KivoraDescription(bool japanese) {
  return japanese ? kDescriptionJa : kDescriptionEn;
}

AboutInfo KivoraAboutInfo(HINSTANCE instance, bool japanese, HWND* windowSlot,
                          MessageBoxFunction messageBox) {
  AboutInfo info;
  info.japanese = japanese ? 1 : 0;
  info.instance = instance;
  info.iconId = IDI_KIVORA;
  info.productName = win32::wide(kCaption);
  info.webSite = kMakerWebSite;
  info.contact = kMakerContact;
  info.contribution = kMakerContribution;
  info.description = KivoraDescription(japanese);
  info.feedback = kMakerFeedback;
  info.extraText = nullptr;
  info.windowSlot = windowSlot;
  info.messageBox = messageBox;
  return info;
}

}  // namespace kivora::ui
