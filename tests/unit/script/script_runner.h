#pragma once
// Runs scripts the way a host does, on a script thread, and keeps what the run
// showed: error reports, CB.OUT(...) values, message boxes, statement lines.
// A test that needs the variables afterwards starts its script with
// DEFINE("KeepVar", 1) and reads engine.variables().

#include "platform/unicode.h"
#include "script/engine.h"
#include "script/host.h"
#include "script/script_thread.h"
#include "script/value.h"
#include "unit/script/fake_script_system.h"

#include <string>
#include <string_view>
#include <vector>

namespace kivora::script::testing {

struct Report {
  unsigned code;
  int line;
  std::string text;
};

using Lines = std::vector<std::string>;

// System is the ScriptSystem the builtins reach: the fake here, the real Win32
// one in the Windows tests.
template <typename System>
class BasicScriptRunner {
 public:
  System system;
  Engine engine{system};
  ScriptHost host;

  std::vector<Report> errors;
  // Each CB.OUT argument, typed: "i:12", "s:text".
  Lines out;
  std::vector<int> statementLines;
  std::vector<ShownMessageBox> shown;
  std::vector<int> answers;  // answers of the host's message-box function; IDOK when used up

  BasicScriptRunner() {
    host.ownerWindow = 0x1234;
    host.errorCallback = [this](unsigned code, int line, const char16_t* text) {
      errors.push_back({code, line, utf16ToUtf8(text)});
    };
    host.applicationFunction = [this](AppCallInfo* call) {
      if (std::u16string_view(call->name) != u"OUT") return;
      for (int i = 0; i < call->count; ++i) {
        const HostValue& v = call->arguments[i];
        out.push_back(v.isString ? "s:" + utf16ToUtf8(v.text) : "i:" + std::to_string(v.intValue));
      }
    };
    host.messageBox = [this](HostWindow owner, const char16_t* text, const char16_t* caption,
                             unsigned flags) {
      shown.push_back({owner, text, caption, flags});
      if (answers.empty()) return 1;
      const int a = answers.front();
      answers.erase(answers.begin());
      return a;
    };
  }

  // Runs a UTF-8 script on a script thread; returns runScript's result.
  int run(std::string_view script) {
    const std::u16string text = utf8ToUtf16(script);
    return runWide(text.c_str());
  }
  int runWide(const char16_t* text) {
    int result = -2;
    ScriptThread thread;
    thread.start([&] { result = engine.runScript(text, &host); });
    thread.join();
    return result;
  }
  int check(std::string_view script) {
    const std::u16string text = utf8ToUtf16(script);
    int result = -2;
    ScriptThread thread;
    thread.start([&] { result = engine.checkScript(text.c_str(), &host); });
    thread.join();
    return result;
  }
  void recordStatements() {
    host.statementCallback = [this](int line) {
      statementLines.push_back(line);
      return 0;
    };
  }

  // The value of one expression (CB.OUT's argument), typed as in out.
  std::string eval(std::string_view expression) {
    out.clear();
    run("CB.OUT((" + std::string(expression) + "))\n");
    return out.empty() ? "<none>" : out.back();
  }

  std::vector<unsigned> errorCodes() const {
    std::vector<unsigned> codes;
    for (const Report& r : errors) codes.push_back(r.code);
    return codes;
  }
};

using ScriptRunner = BasicScriptRunner<FakeScriptSystem>;

}  // namespace kivora::script::testing
