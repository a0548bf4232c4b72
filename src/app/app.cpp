#include "app/app.h"

#include "platform/win32/wide.h"
#include "ui/message_box.h"

namespace kivora::app {

namespace {

// REGW's warnings about its own misuse: a warning box with no owner.
settings::WarningBox regwWarningBox() {
  return [](const std::u16string& text, const std::u16string& caption) {
    ui::ThemedMessageBox(nullptr, win32::wide(text), win32::wide(caption), MB_ICONWARNING);
  };
}

}  // namespace

App::App(HINSTANCE instance, bool modeJP)
    : instance(instance),
      modeJP(modeJP),
      regw{registry, regwWarningBox(), modeJP},
      debugLog({files, clock, codePage, version}),
      debugMonitor(instance),
      shell(*this),
      engine_(scriptSystem_, &faultGuard_),
      scriptRunner_(engine_) {
  debugLog.attachMonitor(&debugMonitor.view());
}

App::~App() {
  windowEvents.reset();  // its hooks report to the monitor
  monitor_.reset();
  debugLog.attachMonitor(nullptr);
}

void App::createMonitor() {
  monitor_.emplace(settings, store(), debugLog, shell,
                   monitor::MonitorServices{desktop_, keyboard_, sound_, ime_, rawInput_, hotkeys_,
                                            clock, scriptRunner_, scriptThread_},
                   modeJP);
}

monitor::TrayIconSettings App::traySettings() const {
  return {settings.ShowLockedKeyIcon != 0, settings.KBWatchEnabled,
          monitor_ && monitor_->trayDeviceBit()};
}

void App::log(unsigned line, std::u16string_view first, std::u16string_view second) {
  debugLog.log(diag::kLogEntry, line, first, second);
}

}  // namespace kivora::app
