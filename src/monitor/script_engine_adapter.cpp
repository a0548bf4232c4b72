#include "monitor/script_engine_adapter.h"

#include <chrono>
#include <string_view>
#include <utility>
#include <vector>

namespace kivora::monitor {

int EngineScriptRunner::runScript(const char16_t* script, const ScriptRunHost& host) {
  script::ScriptHost engineHost;
  engineHost.ownerWindow = static_cast<script::HostWindow>(host.ownerWindow);
  if (host.applicationFunction) {
    engineHost.applicationFunction = [&host](script::AppCallInfo* call) {
      std::vector<HostArgument> arguments;
      for (std::int32_t i = 0; i < call->count; ++i) {
        const auto& a = call->arguments[i];
        arguments.push_back({a.isString != 0, a.intValue, a.text});
      }
      host.applicationFunction(call->name ? std::u16string_view(call->name) : std::u16string_view(),
                               arguments);
    };
  }
  if (host.errorCallback) {
    engineHost.errorCallback = [&host](unsigned code, int line, const char16_t* text) {
      host.errorCallback(code, line, text ? std::u16string_view(text) : std::u16string_view());
    };
  }
  engineHost.statementCallback = host.statementCallback;
  engineHost.sleep = host.sleep;
  if (host.messageBox) {
    engineHost.messageBox = [&host](script::HostWindow owner, const char16_t* text,
                                    const char16_t* caption, unsigned flags) {
      return host.messageBox(static_cast<platform::WindowHandle>(owner),
                             text ? std::u16string_view(text) : std::u16string_view(),
                             caption ? std::u16string_view(caption) : std::u16string_view(), flags);
    };
  }
  engineHost.japanese = host.japanese ? 1 : 0;
  return engine_.runScript(script, &engineHost);
}

bool ScriptThreadWorker::start(std::function<void()> body) {
  thread_.join();  // the previous body has returned; its thread goes now
  {
    std::lock_guard lock(progress_->mutex);
    progress_->running = true;
  }
  const bool started = thread_.start([progress = progress_, body = std::move(body)] {
    // Reported done however the body ends.
    struct Done {
      Progress& progress;
      ~Done() {
        std::lock_guard lock(progress.mutex);
        progress.running = false;
        progress.finished.notify_all();
      }
    } done{*progress};
    body();
  });
  if (!started) {
    std::lock_guard lock(progress_->mutex);
    progress_->running = false;
  }
  return started;
}

bool ScriptThreadWorker::waitFor(unsigned milliseconds) {
  std::unique_lock lock(progress_->mutex);
  return progress_->finished.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                      [this] { return !progress_->running; });
}

}  // namespace kivora::monitor
