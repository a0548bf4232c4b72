// kxscript: runs a KX-Script file from the command line.
//
//   kxscript [--check] [--ja] [--gui] FILE
//
// FILE is a script path or "-" for standard input. --check only parses (exit 0
// when the script parses, 1 when not); --ja gives Japanese messages; --gui (on
// Windows) shows real message boxes and the real input dialog instead of using
// the console. Message boxes, questions and INPUT talk through standard output
// and input; CB.ShellNotify writes to standard output; every error report goes
// to standard error as "error CODE: TEXT". The exit status is the run's result
// modulo 256.

#include "kxscript/console_dialogs.h"
#include "kxscript/script_file.h"
#include "platform/unicode.h"
#include "script/engine.h"
#include "script/script_thread.h"
#include "script/value.h"

#ifdef _WIN32
#include "platform/win32/script_system.h"
#include "platform/win32/vectored_fault_guard.h"
#else
#include "kxscript/posix_system.h"
#endif

#include <cstdio>
#include <string>
#include <vector>

namespace kivora::kxscript {

namespace {

struct Options {
  bool check = false;
  bool japanese = false;
  bool gui = false;
  std::string file;
};

bool parseArguments(const std::vector<std::string>& args, Options& options) {
  bool haveFile = false;
  for (const std::string& a : args) {
    if (a == "--check") {
      options.check = true;
    } else if (a == "--ja") {
      options.japanese = true;
    } else if (a == "--gui") {
      options.gui = true;
    } else if ((a.size() > 1 && a[0] == '-') || haveFile) {
      return false;  // an option kxscript does not know, or a second file
    } else {
      options.file = a;
      haveFile = true;
    }
  }
  return haveFile;
}

std::string trimLineBreaks(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

// The host's CB. functions: ShellNotify prints its text; anything else is reported
// and the run goes on, as in Kivora.
void applicationFunction(script::AppCallInfo* call, bool japanese) {
  const std::string name = utf16ToUtf8(call->name);
  if (script::toUpperAscii(name) == "SHELLNOTIFY" && (call->count == 1 || call->count == 2)) {
    const script::HostValue& text = call->arguments[0];
    writeOut((text.isString ? utf16ToUtf8(text.text) : std::to_string(text.intValue)) + "\n");
    return;
  }
  const std::string detail = "CB." + name + "(args:" + std::to_string(call->count) + ")";
  writeErr(
      (japanese ? "不明なアプリ提供関数呼び出し: " : "Unknown application provided function: ") +
      detail + "\n");
}

#ifdef _WIN32
// The real system, except that INPUT reads the console unless --gui asks for the dialog.
class KxSystem final : public win32::Win32ScriptSystem {
 public:
  explicit KxSystem(bool gui) : gui_(gui) {}
  std::intptr_t inputDialog(script::HostWindow owner, script::InputDialogParams& params) override {
    return gui_ ? Win32ScriptSystem::inputDialog(owner, params) : consoleInputDialog(params);
  }

 private:
  bool gui_;
};
#endif

int runKxScript(const std::vector<std::string>& args) {
  Options options;
  if (!parseArguments(args, options)) {
    writeErr("usage: kxscript [--check] [--ja] [--gui] FILE|-\n");
    return 2;
  }
  const std::optional<std::string> bytes = readScriptBytes(options.file);
  if (!bytes) {
    writeErr("kxscript: cannot read " + options.file + "\n");
    return 2;
  }
  const std::u16string source = decodeScriptBytes(*bytes);

#ifdef _WIN32
  KxSystem system(options.gui);
  win32::VectoredFaultGuard guard;
  script::Engine engine(system, &guard);
#else
  PosixConsoleSystem system;
  script::Engine engine(system);
#endif

  script::ScriptHost host;
  host.japanese = options.japanese ? 1 : 0;
  host.applicationFunction = [&](script::AppCallInfo* call) {
    applicationFunction(call, options.japanese);
  };
  host.errorCallback = [](unsigned code, int, const char16_t* text) {
    writeErr("error " + std::to_string(code) + ": " + trimLineBreaks(utf16ToUtf8(text)) + "\n");
  };
  if (!options.gui) {
    host.messageBox = [](script::HostWindow, const char16_t* text, const char16_t*,
                         unsigned flags) { return consoleMessageBox(text, flags); };
  }

  int result = -1;
  script::ScriptThread thread;
  const bool started = thread.start([&] {
    result = options.check ? engine.checkScript(source.c_str(), &host)
                           : engine.runScript(source.c_str(), &host);
  });
  if (!started) {
    writeErr("kxscript: cannot start the script thread\n");
    return 2;
  }
  thread.join();
  std::fflush(stdout);
  return result & 0xFF;
}

}  // namespace

}  // namespace kivora::kxscript

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  kivora::win32::useBinaryStandardStreams();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i)
    args.push_back(kivora::utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
  return kivora::kxscript::runKxScript(args);
}
#else
int main(int argc, char** argv) {
  return kivora::kxscript::runKxScript(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
