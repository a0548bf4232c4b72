#include "script/engine.h"

#include "script/compiler.h"
#include "script/context.h"
#include "script/fault_guard.h"
#include "script/messages.h"
#include "script/parse_context.h"
#include "script/scanner.h"
#include "script/script_thread.h"

#include <boost/regex/pattern_except.hpp>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace kivora::script {

namespace {

// A report that cannot be delivered (no memory left to build it, a host
// callback that throws) is dropped rather than ending the process.
template <typename MakeText>
void reportSafely(ScriptContext& ctx, unsigned code, MakeText makeText) noexcept {
  try {
    ctx.reportError(code, -1, makeText(ctx.japanese()));
  } catch (...) {
  }
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t newline; (newline = text.find('\n', start)) != std::string::npos;
       start = newline + 1)
    lines.emplace_back(text, start, newline - start);
  if (start < text.size()) lines.emplace_back(text, start);
  return lines;
}

}  // namespace

Engine::Engine(ScriptSystem& system, FaultGuard* guard) : system_(system), guard_(guard) {}

Engine::~Engine() = default;

const VariableTable& Engine::variables() const {
  static const VariableTable empty;
  return context_ ? context_->variables : empty;
}

int Engine::runScript(const char16_t* script, const ScriptHost* host) {
  return enter(script, host, Mode::kRun);
}

int Engine::checkScript(const char16_t* script, const ScriptHost* host) {
  return enter(script, host, Mode::kCheck);
}

int Engine::enter(const char16_t* script, const ScriptHost* host, Mode mode) {
  if (running_.exchange(true)) return -1;
  int result = -1;
  if (guard_) {
    struct Run {
      Engine* engine;
      const char16_t* script;
      const ScriptHost* host;
      Mode mode;
      int result;
    } run{this, script, host, mode, -1};
    const std::uint32_t fault = guard_->run(
        [](void* p) {
          auto& r = *static_cast<Run*>(p);
          r.result = r.engine->runOnce(r.script, r.host, r.mode);
        },
        &run);
    if (fault != 0) {
      recoverFromFault(fault, host);
    } else {
      result = run.result;
    }
  } else {
    result = runOnce(script, host, mode);
  }
  running_ = false;
  return result;
}

void Engine::recoverFromFault(std::uint32_t exceptionCode, const ScriptHost* host) noexcept {
  // The report speaks the run's language, which the script may have changed
  // with DEFINE("RSC_LANG", n) like that of every other engine report.
  const bool japanese = context_ ? context_->japanese() : host && host->japanese != 0;
  // The fault left the run's objects half-done on abandoned frames; the state is
  // given up (never freed, since freeing it could fault again) and the next run
  // starts with a fresh one.
  (void)context_.release();
  if (!host || !host->errorCallback) return;
  try {
    const std::u16string text = utf8ToWide(messages::processorFault(japanese, exceptionCode));
    host->errorCallback(kErrUnknown, -1, text.c_str());
  } catch (...) {
  }
}

int Engine::runOnce(const char16_t* script, const ScriptHost* host, Mode mode) noexcept {
  const char frameMark = 0;
  try {
    if (!context_) context_ = std::make_unique<ScriptContext>(system_, randomState_);
  } catch (...) {
    return -1;
  }
  ScriptContext& ctx = *context_;
  ctx.resetRunState();
  ctx.state.keepVar = false;
  try {
    ctx.host = host ? *host : ScriptHost{};
  } catch (...) {
    ctx.host = ScriptHost{};
    return -1;
  }
  ctx.state.japaneseMessages = host && host->japanese != 0;

  if (!script) {
    reportSafely(ctx, kErrInvalidParameter, messages::invalidParameter);
    ctx.host = ScriptHost{};
    return -1;
  }
  std::string text;
  try {
    std::u16string_view source(script);
    if (!source.empty() && source.front() == u'\uFEFF') source.remove_prefix(1);
    text = wideToUtf8(source);
    text += '\n';  // the last statement always ends with a line end
  } catch (...) {
    reportSafely(ctx, kErrRuntime, messages::outOfMemoryTranslating);
    ctx.host = ScriptHost{};
    return -1;
  }

  bool parsed = false;
  try {
    const std::vector<std::string> lines = splitLines(text);
    Scanner scanner(text);
    ParseContext parse{ctx, scanner, lines, nullptr};
    parsed = parseScript(parse);
    if (parsed && mode == Mode::kRun) {
      const Owned<BlockNode> tree = std::move(parse.root);
      ctx.setStackBase(&frameMark, scriptStackBudget());
      CompiledScript compiled(ctx);
      compiled.compiler.script(*tree)->run(ctx);
      // A return at top level ends the run with its value.
      if (ctx.state.flowState == kFlowReturn) ctx.state.exitCode = ctx.takeReturn().toInt();
    }
  } catch (const GotoException& jump) {
    ctx.state.exitCode = 0;
    reportSafely(ctx, kErrUnknownLabel,
                 [&](bool ja) { return messages::unknownLabel(ja, jump.label); });
  } catch (const boost::regex_error& e) {
    ctx.state.exitCode = 0;
    reportSafely(ctx, kErrRegex, [&](bool ja) { return messages::regexFailure(ja, e.what()); });
  } catch (const std::runtime_error& e) {
    ctx.state.exitCode = 0;
    reportSafely(ctx, kErrRuntime, [&](bool ja) { return messages::runtimeFailure(ja, e.what()); });
  } catch (const std::bad_alloc& e) {
    ctx.state.exitCode = 0;
    reportSafely(ctx, kErrRuntime,
                 [&](bool ja) { return messages::allocationFailure(ja, e.what()); });
  } catch (...) {
    ctx.state.exitCode = 0;
    reportSafely(ctx, kErrUnknown, messages::unknownFailure);
  }
  ctx.setStackBase(nullptr, 0);
  const int result = mode == Mode::kCheck ? (parsed ? 0 : 1) : ctx.state.exitCode;
  ctx.resetRunState();
  ctx.host = ScriptHost{};
  return result;
}

}  // namespace kivora::script
