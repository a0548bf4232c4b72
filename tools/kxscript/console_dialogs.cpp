#include "kxscript/console_dialogs.h"

#include "platform/unicode.h"
#include "script/host.h"
#include "script/value.h"

#include <cstdio>
#include <optional>

namespace kivora::kxscript {

namespace {

namespace mb = script::mb;

// One line of standard input without its line end; nothing at the end of input.
std::optional<std::string> readLine() {
  std::fflush(stdout);
  std::string line;
  int c;
  while ((c = std::fgetc(stdin)) != EOF && c != '\n') line.push_back(static_cast<char>(c));
  if (c == EOF && line.empty()) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

int answer(const std::optional<std::string>& line, unsigned type) {
  if (!line) return mb::kIdCancel;
  const std::string word = script::toLowerAscii(*line);
  if (word == "y" || word == "yes" || word == "ok")
    return type == mb::kOkCancel ? mb::kIdOk : mb::kIdYes;
  if (word == "n" || word == "no") return mb::kIdNo;
  return mb::kIdCancel;
}

}  // namespace

void writeOut(const std::string& utf8) { std::fwrite(utf8.data(), 1, utf8.size(), stdout); }

void writeErr(const std::string& utf8) {
  std::fflush(stdout);
  std::fwrite(utf8.data(), 1, utf8.size(), stderr);
  std::fflush(stderr);
}

int consoleMessageBox(const char16_t* text, unsigned flags) {
  writeOut(utf16ToUtf8(text) + "\n");
  const unsigned type = flags & mb::kTypeMask;
  if (type == mb::kOk) return mb::kIdOk;
  return answer(readLine(), type);
}

std::intptr_t consoleInputDialog(script::InputDialogParams& params) {
  writeOut(utf16ToUtf8(params.message) + "\n");
  const std::optional<std::string> line = readLine();
  if (!line) return mb::kIdCancel;
  params.entered = utf8ToUtf16(*line);
  return mb::kIdOk;
}

}  // namespace kivora::kxscript
