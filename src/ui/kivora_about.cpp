#include "ui/kivora_about.h"

#include "platform/win32/wide.h"
#include "resource_ids.h"
#include "ui/texts.h"

namespace kivora::ui {

static_assert(sizeof kMakerWebSite / sizeof(wchar_t) <= 48);
static_assert(sizeof kMakerContact / sizeof(wchar_t) + 7 <= 48);  // with "mailto:"

AboutInfo kivoraAboutInfo(HINSTANCE instance, bool japanese, HWND* windowSlot,
                          MessageBoxFunction messageBox) {
  AboutInfo info;
  info.japanese = japanese ? 1 : 0;
  info.instance = instance;
  info.iconId = IDI_KIVORA;
  info.productName = win32::wide(kCaption);
  info.webSite = kMakerWebSite;
  info.contact = kMakerContact;
  info.contribution = kMakerContribution;
  info.description = win32::wide(texts::kKivoraDescription, japanese);
  info.feedback = kMakerFeedback;
  info.extraText = nullptr;
  info.windowSlot = windowSlot;
  info.messageBox = messageBox;
  return info;
}

}  // namespace kivora::ui
